#include "data/fb/datasetmodel.h"

#include "data/fb/dataset.h"

namespace zf::fb {

DataSetModel::DataSetModel(DataSet* dataSet, std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), m_dataSet(dataSet), m_columns(std::move(columns))
{
    connect(dataSet, &DataSet::aboutToChange, this, [this] {
        if (!m_resetting) {
            m_resetting = true;
            beginResetModel();
        }
    });
    connect(dataSet, &DataSet::changed, this, [this] {
        if (m_resetting) {
            m_resetting = false;
            endResetModel();
        }
    });
}

void DataSetModel::setColumns(std::vector<Column> columns)
{
    beginResetModel();
    m_columns = std::move(columns);
    endResetModel();
}

std::vector<DataSetModel::Column> DataSetModel::effectiveColumns() const
{
    if (!m_columns.empty() || !m_dataSet)
        return m_columns;
    std::vector<Column> all;
    for (const QString& f : m_dataSet->fieldNames())
        all.push_back({f, f});
    return all;
}

int DataSetModel::columnOfField(const QString& field) const
{
    const auto cols = effectiveColumns();
    for (size_t i = 0; i < cols.size(); ++i)
        if (cols[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

int DataSetModel::fieldColumn(int column) const
{
    const auto cols = effectiveColumns();
    if (column < 0 || column >= static_cast<int>(cols.size()) || !m_dataSet)
        return -1;
    return m_dataSet->fieldIndex(cols[static_cast<size_t>(column)].field);
}

int DataSetModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_dataSet || m_resetting)
        return 0;
    return m_dataSet->recordCount();
}

int DataSetModel::columnCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return static_cast<int>(effectiveColumns().size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_dataSet || index.row() >= rowCount())
        return {};
    const int field = fieldColumn(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return field < 0 ? QString() : m_dataSet->displayTextAt(index.row(), field);
    case RawValueRole:
        return field < 0 ? QVariant() : m_dataSet->valueAt(index.row(), field);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(effectiveColumns()[static_cast<size_t>(index.column())].alignment);
    default:
        return {};
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    const auto cols = effectiveColumns();
    if (section < 0 || section >= static_cast<int>(cols.size()))
        return {};
    return cols[static_cast<size_t>(section)].title;
}

} // namespace zf::fb

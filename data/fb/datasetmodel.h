#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QString>

#include <vector>

namespace zf::fb {

class DataSet;

// A grid's view of a list: chosen fields as columns, the list's display texts as cells, and the
// raw value under RawValueRole so that sorting and tests compare values, not texts.
class DataSetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Role { RawValueRole = Qt::UserRole + 1 };

    struct Column
    {
        QString field;
        QString title;
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    };

    explicit DataSetModel(DataSet* dataSet, std::vector<Column> columns = {},
                          QObject* parent = nullptr);

    DataSet* dataSet() const { return m_dataSet; }
    // With no columns given, every field of the list is a column titled by its name.
    void setColumns(std::vector<Column> columns);
    const std::vector<Column>& columns() const { return m_columns; }
    int columnOfField(const QString& field) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    int fieldColumn(int column) const;
    std::vector<Column> effectiveColumns() const;

    QPointer<DataSet> m_dataSet;
    std::vector<Column> m_columns;
    bool m_resetting = false;
};

} // namespace zf::fb

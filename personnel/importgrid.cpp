#include "personnel/importgrid.h"

namespace zf {

const QString ImportGrid::kStatusTitle = QStringLiteral("Zaimportowano?");
const QString ImportGrid::kRemarkTitle = QStringLiteral("Uwagi");
const QString ImportGrid::kStatusOk = QStringLiteral("Ok");
const QString ImportGrid::kStatusErrors = QStringLiteral("Błędy");

ImportGrid::ImportGrid(QObject* parent) : QAbstractTableModel(parent) {}

QString ImportGrid::ColumnTitle(int column)
{
    return QStringLiteral("Kolumna #") + QString::number(column + 1);
}

void ImportGrid::setSheet(QList<QStringList> lines, int columns)
{
    beginResetModel();
    m_lines = std::move(lines);
    m_columns = columns;
    m_status = QStringList(m_lines.size(), QString());
    m_remark = m_status;
    m_loaded = true;
    endResetModel();
}

void ImportGrid::clear()
{
    beginResetModel();
    m_lines.clear();
    m_status.clear();
    m_remark.clear();
    m_columns = 1;
    m_loaded = false;
    endResetModel();
}

QString ImportGrid::cell(int line, int column) const
{
    if (line < 0 || line >= m_lines.size())
        return {};
    return m_lines.at(line).value(column);
}

void ImportGrid::setStatus(int line, const QString& status, const QString& remark)
{
    if (line < 0 || line >= m_lines.size())
        return;
    m_status[line] = status;
    m_remark[line] = remark;
}

void ImportGrid::statusesChanged()
{
    if (m_loaded && !m_lines.isEmpty())
        emit dataChanged(index(1, statusColumn()), index(lineCount(), remarkColumn()));
}

QString ImportGrid::gridText(int row, int column) const
{
    if (!m_loaded)
        return {};
    if (row == 0) {
        if (column < m_columns)
            return ColumnTitle(column);
        return column == statusColumn() ? kStatusTitle : kRemarkTitle;
    }
    const int line = row - 1;
    if (column < m_columns)
        return cell(line, column);
    return column == statusColumn() ? status(line) : remark(line);
}

QList<QStringList> ImportGrid::gridTable() const
{
    QList<QStringList> table;
    table.reserve(rowCount());
    for (int row = 0; row < rowCount(); ++row) {
        QStringList cells;
        cells.reserve(gridColumns());
        for (int column = 0; column < gridColumns(); ++column)
            cells << gridText(row, column);
        table << cells;
    }
    return table;
}

int ImportGrid::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 1 + lineCount();
}

int ImportGrid::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : gridColumns();
}

QVariant ImportGrid::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return gridText(index.row(), index.column());
    // Remarks with an engine's message are longer than their column.
    if (role == Qt::ToolTipRole && m_loaded && index.row() > 0 && index.column() == remarkColumn())
        return remark(index.row() - 1);
    return {};
}

QVariant ImportGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    // The title row doubles as the view's header, and row numbers count the file's lines.
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < columnCount() ? QVariant(gridText(0, section))
                                                       : QVariant();
    return section;
}

} // namespace zf

#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>

namespace zf {

// The sheet grid of the employee import: row 0 holds the titles "Kolumna #1", "Kolumna #2", ...
// and then "Zaimportowano?" and "Uwagi"; row r (from 1) holds line r of the file, one cell per
// field, followed by its status and remark. Before any sheet is loaded it is one empty column.
class ImportGrid : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ImportGrid(QObject* parent = nullptr);

    static const QString kStatusTitle;
    static const QString kRemarkTitle;
    static const QString kStatusOk;
    static const QString kStatusErrors;
    static QString ColumnTitle(int column); // "Kolumna #" + column counted from 1

    // Puts in a loaded sheet with every status emptied.
    void setSheet(QList<QStringList> lines, int columns);
    // Back to the empty one-column grid.
    void clear();

    bool isLoaded() const { return m_loaded; }
    int lineCount() const { return static_cast<int>(m_lines.size()); }
    int sheetColumns() const { return m_columns; }
    // Columns of the grid: the sheet's and the two status columns, or the one empty column.
    int gridColumns() const { return m_loaded ? m_columns + 2 : 1; }
    int statusColumn() const { return m_columns; }
    int remarkColumn() const { return m_columns + 1; }

    // Field `column` (from 0) of line `line` (from 0); empty beyond the line's end.
    QString cell(int line, int column) const;
    const QStringList& lineFields(int line) const { return m_lines.at(line); }
    QString status(int line) const { return m_status.value(line); }
    QString remark(int line) const { return m_remark.value(line); }

    // Status changes are gathered and shown by one statusesChanged().
    void setStatus(int line, const QString& status, const QString& remark);
    void statusesChanged();

    // The whole grid, title row and status columns included, every row as wide as the grid.
    QList<QStringList> gridTable() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString gridText(int row, int column) const;

    QList<QStringList> m_lines;
    QStringList m_status;
    QStringList m_remark;
    int m_columns = 1;
    bool m_loaded = false;
};

} // namespace zf

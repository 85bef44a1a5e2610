#pragma once

#include "data/fb/dataset.h"
#include "util/gridstorage.h"

#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTableView>

#include <memory>
#include <vector>

namespace zf {

namespace fb {
class DataSet;
class DataSetModel;
} // namespace fb

// The columns of any table view for the width storage. It does not own the view and answers
// no columns once the view is gone.
class TTableViewColumns final : public TOVGridColumns
{
public:
    explicit TTableViewColumns(QTableView* view) : m_view(view) {}

    int columnCount() const override;
    int columnWidth(int column) const override;
    void setColumnWidth(int column, int width) override;

private:
    QPointer<QTableView> m_view;
};

struct TDBGridColumn
{
    QString field;
    QString title;
    int width = 64;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
};

// A read-only grid over a list: whole rows selected, columns in their designed order. The
// grid's current row and the list's current row follow each other; while the list's controls
// are disabled the grid stays where it is. The mouse wheel over the grid moves the list one
// row per notch, towards the first row when turned away from the user.
class TDBGrid : public QTableView
{
    Q_OBJECT
public:
    TDBGrid(fb::DataSet* list, std::vector<TDBGridColumn> columns, QWidget* parent = nullptr);
    ~TDBGrid() override;

    fb::DataSet* dataSet() const { return m_list; }
    const std::vector<TDBGridColumn>& columns() const { return m_columns; }
    // The field of a column; empty for a column that does not exist.
    QString columnField(int column) const;

    // The adapter through which TOVGridStorage reaches this grid's widths.
    TOVGridColumns* gridColumns() { return &m_gridColumns; }

    // Titles are black; the title of this field (the sort column) is white. Empty: none.
    void setActiveTitle(const QString& field);
    const QString& activeTitle() const { return m_activeTitle; }

    // The table of the "do CSV" command (see GridCsvTable).
    QList<QStringList> csvTable();

signals:
    // Double click on a row, or Enter/Return.
    void editRequested();
    // A click on a column title; the owner decides whether the list is sorted.
    void titleClicked(const QString& field);

protected:
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    class TitleModel;

    void followList(int row);

    QPointer<fb::DataSet> m_list;
    std::vector<TDBGridColumn> m_columns;
    TitleModel* m_model;
    TTableViewColumns m_gridColumns;
    QString m_activeTitle;
    bool m_following = false;
    int m_wheelRest = 0; // part of a notch left over from high-resolution wheels
};

} // namespace zf

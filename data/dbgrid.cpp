#include "data/dbgrid.h"

#include "data/gridcsv.h"
#include "data/fb/dataset.h"
#include "data/fb/datasetmodel.h"

#include <QBrush>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

namespace zf {

int TTableViewColumns::columnCount() const
{
    return m_view ? m_view->horizontalHeader()->count() : 0;
}

int TTableViewColumns::columnWidth(int column) const
{
    return m_view ? m_view->columnWidth(column) : 0;
}

void TTableViewColumns::setColumnWidth(int column, int width)
{
    if (m_view)
        m_view->setColumnWidth(column, width);
}

// The list's model with the title colours: black, the active title white on a dark ground so
// that it stays readable.
class TDBGrid::TitleModel final : public fb::DataSetModel
{
public:
    using fb::DataSetModel::DataSetModel;

    void setActive(int column, const QBrush& ground)
    {
        m_active = column;
        m_ground = ground;
        if (columnCount() > 0)
            emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && section >= 0 && section < columnCount()) {
            const bool active = section == m_active;
            if (role == Qt::ForegroundRole)
                return QBrush(active ? Qt::white : Qt::black);
            if (role == Qt::BackgroundRole && active)
                return m_ground;
        }
        return fb::DataSetModel::headerData(section, orientation, role);
    }

private:
    int m_active = -1;
    QBrush m_ground;
};

namespace {

std::vector<fb::DataSetModel::Column> modelColumns(const std::vector<TDBGridColumn>& columns)
{
    std::vector<fb::DataSetModel::Column> out;
    out.reserve(columns.size());
    for (const TDBGridColumn& c : columns)
        out.push_back({c.field, c.title, c.alignment});
    return out;
}

constexpr int kNotch = 120; // wheel distance of one notch

} // namespace

TDBGrid::TDBGrid(fb::DataSet* list, std::vector<TDBGridColumn> columns, QWidget* parent)
    : QTableView(parent), m_list(list), m_columns(std::move(columns)),
      m_model(new TitleModel(list, modelColumns(m_columns), this)), m_gridColumns(this)
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

    QHeaderView* titles = horizontalHeader();
    // Columns keep their designed order: a title cannot be dragged to another place.
    titles->setSectionsMovable(false);
    titles->setSectionsClickable(true);
    titles->setHighlightSections(false);
    for (size_t i = 0; i < m_columns.size(); ++i)
        setColumnWidth(static_cast<int>(i), m_columns[i].width);

    connect(titles, &QHeaderView::sectionClicked, this, [this](int column) {
        if (column >= 0 && column < static_cast<int>(m_columns.size()))
            emit titleClicked(m_columns[static_cast<size_t>(column)].field);
    });
    // A reset forgets the view's current index; show the list's row again.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        if (m_list)
            followList(m_list->currentRow());
    });
    if (list) {
        connect(list, &fb::DataSet::currentRowChanged, this, &TDBGrid::followList);
        followList(list->currentRow());
    }
}

TDBGrid::~TDBGrid() = default;

QString TDBGrid::columnField(int column) const
{
    if (column < 0 || column >= static_cast<int>(m_columns.size()))
        return {};
    return m_columns[static_cast<size_t>(column)].field;
}

void TDBGrid::setActiveTitle(const QString& field)
{
    m_activeTitle = field;
    int active = -1;
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (!field.isEmpty() && m_columns[i].field.compare(field, Qt::CaseInsensitive) == 0)
            active = static_cast<int>(i);
    m_model->setActive(active, palette().brush(QPalette::Active, QPalette::Highlight));
}

QList<QStringList> TDBGrid::csvTable()
{
    if (!m_list)
        return {};
    return GridCsvTable(*m_list, m_model->columns());
}

void TDBGrid::followList(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    if (currentIndex().row() == row && selectionModel()->isRowSelected(row, {})) {
        scrollTo(currentIndex());
        return;
    }
    m_following = true;
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const QModelIndex index = m_model->index(row, column);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
    m_following = false;
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (!m_following && m_list && current.isValid() && current.row() != m_list->currentRow())
        m_list->setCurrentRow(current.row());
}

void TDBGrid::wheelEvent(QWheelEvent* event)
{
    const int distance = event->angleDelta().y();
    if (distance == 0) {
        // A sideways wheel scrolls the columns as usual.
        QTableView::wheelEvent(event);
        return;
    }
    event->accept();
    const QPoint at = viewport()->mapTo(this, event->position().toPoint());
    if (!rect().contains(at)) {
        m_wheelRest = 0;
        return;
    }
    if (!m_list || m_list->isEmpty())
        return;
    // Fine-grained wheels send parts of a notch: gather them, so one notch is one row for
    // every wheel; turning back starts afresh.
    if (m_wheelRest != 0 && (m_wheelRest < 0) != (distance < 0))
        m_wheelRest = 0;
    m_wheelRest += distance;
    const int rows = m_wheelRest / kNotch;
    m_wheelRest -= rows * kNotch;
    if (rows == 0)
        return;
    m_list->setCurrentRow(std::clamp(m_list->currentRow() - rows, 0, m_list->recordCount() - 1));
}

void TDBGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        emit editRequested();
        return;
    }
    QTableView::keyPressEvent(event);
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    // Only a row is something to edit; the empty area below the rows is not.
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit editRequested();
}

} // namespace zf

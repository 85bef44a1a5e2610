#include "plans/planconfigwindow.h"

#include "data/dbgrid.h"
#include "data/mydatabase.h"
#include "personnel/cp1250validator.h"
#include "plans/batchedit.h"
#include "plans/daysspinedit.h"
#include "plans/editholidaydays.h"
#include "plans/selectdir.h"
#include "util/widgets.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace zf {

namespace {

// The figures that are information only stand on a yellow ground.
class YellowColumn final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!(option->state & QStyle::State_Selected))
            option->backgroundBrush = QColor(255, 255, 0);
    }
};

QLabel* label(QWidget* parent, const QString& text, QWidget* buddy)
{
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

std::vector<TDBGridColumn> gridColumns()
{
    const auto number = Qt::AlignRight | Qt::AlignVCenter;
    return {{QStringLiteral("EMPLOYEE"), QStringLiteral("Pracownik"), 220},
            {QStringLiteral("LASTYEARDAYS"), QStringLiteral("Zaległy"), 60, number},
            {QStringLiteral("THISYEARDAYS"), QStringLiteral("Wymiar urlopu"), 90, number},
            {QStringLiteral("NURSINGDAYS"), QStringLiteral("Opieka"), 60, number},
            {QStringLiteral("MATERNITYDAYS"), QStringLiteral("Macierz."), 60, number},
            {QStringLiteral("UNPAIDDAYS"), QStringLiteral("Bezpłat."), 60, number},
            {QStringLiteral("SICKDAYS"), QStringLiteral("Choroba"), 60, number},
            {QStringLiteral("OTHERDAYS"), QStringLiteral("Inne"), 50, number},
            {QStringLiteral("OTHERDESCR"), QStringLiteral("Inne: opis"), 150}};
}

} // namespace

TfPlanConfig::TfPlanConfig(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                           QWidget* parent)
    : QDialog(parent), m_db(db), m_logic(db, dialogs, options)
{
    setObjectName(QStringLiteral("TfPlanConfig"));
    setWindowTitle(QStringLiteral("Konfiguracja planu urlopowego"));
    setModal(true);

    auto* title = new QLabel(QStringLiteral("Konfiguruj plan urlopowy / dodaj pracowników"), this);
    title->setObjectName(QStringLiteral("lbTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    m_header = new QLabel(this);
    m_header->setObjectName(QStringLiteral("lbHeader"));

    // Created in the order of the tab chain.
    m_left = new QListWidget(this);
    m_left->setObjectName(QStringLiteral("emploreeToAdd"));
    m_left->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_units = new QComboBox(this);
    m_units->setObjectName(QStringLiteral("fIDDICUNIT"));
    auto* showAll = button(this, "SBPokazWszystkich", QStringLiteral("Pokaż wszystkich pracowników"));
    auto* add = button(this, "SBDodaj", QStringLiteral("Dodaj do planu >>"));
    auto* remove = button(this, "SBUsun", QStringLiteral("<< Usuń z planu"));
    auto* edit = button(this, "SBEdytuj", QStringLiteral("Edytuj wymiar urlopu"));
    m_holidaySize = new TDaysSpinEdit(0, kMaxDays, this);
    m_holidaySize->setObjectName(QStringLiteral("holidaySize"));
    m_holidaySize->setDays(PlanConfig::kDefaultDays);
    auto* batch = button(this, "SBHurtowo", QStringLiteral("Zmień wymiar hurtowo"));
    m_grid = new TDBGrid(&db.DBFEmployeesSettings, gridColumns(), this);
    m_grid->setObjectName(QStringLiteral("calendarGrid"));
    // Every entitlement column stays in sight: the lists on the left give way first.
    {
        int columns = 0;
        for (const TDBGridColumn& c : gridColumns())
            columns += c.width;
        m_grid->setMinimumWidth(columns + 2 * m_grid->frameWidth() +
                                m_grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
    }
    auto* yellow = new YellowColumn(m_grid);
    for (int c = 3; c <= 8; ++c)
        m_grid->setItemDelegateForColumn(c, yellow);
    m_folderPanel = new QFrame(this);
    m_folderPanel->setObjectName(QStringLiteral("panelPlanDir"));
    m_planDir = new QLineEdit(m_folderPanel);
    m_planDir->setObjectName(QStringLiteral("fPLANDIR"));
    m_planDir->setMaxLength(PlanConfig::kMaxFolderLength);
    refuseNonCp1250(m_planDir);
    m_folderButton = button(m_folderPanel, "SBKatalog", QStringLiteral("..."),
                            QStringLiteral("Wskaż lokalizację plików planu urlopowego "
                                           "poszczególnych pracowników"));
    auto* ok = button(this, "SBOK", QStringLiteral("&OK"));

    auto* removeAction = new QAction(QStringLiteral("Usuń pozycję"), m_grid);
    removeAction->setObjectName(QStringLiteral("miUsunPozycje"));
    removeAction->setShortcut(QKeySequence(Qt::Key_Delete));
    removeAction->setShortcutContext(Qt::WidgetShortcut);
    auto* editAction = new QAction(QStringLiteral("Edytuj pozycję"), m_grid);
    editAction->setObjectName(QStringLiteral("miEdytujPozycje"));
    editAction->setShortcut(QKeySequence(Qt::Key_F2));
    editAction->setShortcutContext(Qt::WidgetShortcut);
    m_grid->addAction(removeAction);
    m_grid->addAction(editAction);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);

    m_edit = new TfEditHolidayDays(dialogs, this);
    m_batch = new TfBatchEdit(db, dialogs, this);
    m_selectDir = new TfSelectDir(dialogs, this);

    connect(m_left, &QListWidget::itemDoubleClicked, this, &TfPlanConfig::addSelected);
    connect(m_units, &QComboBox::activated, this, &TfPlanConfig::unitChosen);
    connect(showAll, &QPushButton::clicked, this, &TfPlanConfig::showAll);
    connect(add, &QPushButton::clicked, this, &TfPlanConfig::addSelected);
    connect(remove, &QPushButton::clicked, this, &TfPlanConfig::removeCurrent);
    connect(removeAction, &QAction::triggered, this, &TfPlanConfig::removeCurrent);
    connect(edit, &QPushButton::clicked, this, &TfPlanConfig::editCurrent);
    connect(editAction, &QAction::triggered, this, &TfPlanConfig::editCurrent);
    connect(m_grid, &TDBGrid::editRequested, this, &TfPlanConfig::editCurrent);
    connect(batch, &QPushButton::clicked, this, &TfPlanConfig::batchChange);
    connect(m_folderButton, &QPushButton::clicked, this, &TfPlanConfig::chooseFolder);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(qApp, &QApplication::focusChanged, this, &TfPlanConfig::focusMoved);
    m_left->installEventFilter(this);
    m_grid->installEventFilter(this);

    auto* left = new QVBoxLayout;
    left->addWidget(label(this, QStringLiteral("&Pracownicy nie przypisani do planu:"), m_left));
    left->addWidget(m_left, 1);
    left->addWidget(label(this, QStringLiteral("Pokaż pracowników &zespołu:"), m_units));
    left->addWidget(m_units);
    left->addWidget(showAll);
    auto* middle = new QVBoxLayout;
    middle->addStretch();
    middle->addWidget(add);
    middle->addWidget(remove);
    middle->addSpacing(12);
    middle->addWidget(edit);
    middle->addSpacing(12);
    middle->addWidget(label(this, QStringLiteral("&Domyślny wymiar urlopu:"), m_holidaySize));
    auto* size = new QHBoxLayout;
    size->addWidget(m_holidaySize);
    size->addWidget(new QLabel(QStringLiteral("dni"), this));
    size->addStretch();
    middle->addLayout(size);
    middle->addSpacing(12);
    middle->addWidget(batch);
    middle->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(label(this, QStringLiteral("Pracownicy w planie &urlopowym"), m_grid));
    right->addWidget(m_grid, 1);
    auto* lists = new QHBoxLayout;
    lists->addLayout(left, 2);
    lists->addLayout(middle);
    lists->addLayout(right, 5);

    auto* folder = new QGridLayout(m_folderPanel);
    folder->setContentsMargins(0, 0, 0, 0);
    folder->addWidget(label(m_folderPanel, QStringLiteral("&Lokalizacja plików planu urlopowego"),
                            m_planDir),
                      0, 0, 1, 2);
    folder->addWidget(m_planDir, 1, 0);
    folder->addWidget(m_folderButton, 1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_folderPanel, 1);
    bottom->addSpacing(24);
    bottom->addWidget(ok, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(m_header);
    layout->addLayout(lists, 1);
    layout->addLayout(bottom);
    // Fits a 1366-pixel-wide screen with every column of the grid in view.
    resize(1300, 640);
}

TfPlanConfig::~TfPlanConfig()
{
    // ~QDialog hides the window and so moves the focus: this part of it is gone by then.
    disconnect(qApp, &QApplication::focusChanged, this, &TfPlanConfig::focusMoved);
}

PlanConfigResult TfPlanConfig::Execute(int year, const QString& planDir, int unitFilter)
{
    m_logic.Open(year, planDir, unitFilter);
    // A longer stored path is shown whole rather than cut by the field.
    m_planDir->setMaxLength(std::max<int>(PlanConfig::kMaxFolderLength,
                                          static_cast<int>(planDir.size())));
    // A plan with no folder yet is offered one of its own.
    m_planDir->setText(planDir.trimmed().isEmpty() && !m_logic.proposedFolder().isEmpty()
                           ? m_logic.proposedFolder()
                           : planDir);
    m_header->setText(QStringLiteral("Plan na rok ") + QString::number(year));
    fillUnits();
    rebuildLeftList();
    exec();
    m_result = {m_logic.changed(), m_logic.CloseFolder(m_planDir->text())};
    return m_result;
}

void TfPlanConfig::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_left->setFocus();
}

bool TfPlanConfig::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    // Enter in the left list takes the chosen employees in, as a double click does.
    if (watched == m_left && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        addSelected();
        return true;
    }
    // The menu's keys, also when its shortcuts do not reach the grid.
    if (watched == m_grid && key == Qt::Key_Delete) {
        removeCurrent();
        return true;
    }
    if (watched == m_grid && key == Qt::Key_F2) {
        editCurrent();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfPlanConfig::fillUnits()
{
    m_units->clear();
    const fb::DataSet& units = m_db.DBFUnits;
    const int key = units.fieldIndex(QStringLiteral("IDDICTIONARY"));
    const int text = units.fieldIndex(QStringLiteral("DESCRIPTION"));
    if (units.isOpen() && key >= 0 && text >= 0)
        for (int row = 0; row < units.recordCount(); ++row)
            m_units->addItem(units.valueAt(row, text).toString(), units.valueAt(row, key));
    m_units->setCurrentIndex(m_logic.unitFilter() > 0 ? m_units->findData(m_logic.unitFilter())
                                                      : -1);
}

void TfPlanConfig::rebuildLeftList()
{
    m_left->clear();
    for (const OutsideEmployee& e : m_logic.OutsidePlan()) {
        auto* item = new QListWidgetItem(e.text, m_left);
        item->setData(Qt::UserRole, e.id);
    }
}

void TfPlanConfig::unitChosen(int index)
{
    m_logic.SetUnitFilter(index >= 0 ? m_units->itemData(index).toInt() : 0);
    rebuildLeftList();
}

void TfPlanConfig::showAll()
{
    if (!m_logic.ShowAll(m_planDir->text()))
        m_planDir->setText(m_logic.storedFolder());
    m_units->setCurrentIndex(-1);
    rebuildLeftList();
}

void TfPlanConfig::addSelected()
{
    QStringList ids;
    for (int i = 0; i < m_left->count(); ++i)
        if (m_left->item(i)->isSelected())
            ids << m_left->item(i)->data(Qt::UserRole).toString();
    m_logic.AddEmployees(ids, m_holidaySize->value());
    rebuildLeftList();
}

void TfPlanConfig::removeCurrent()
{
    m_logic.RemoveCurrent();
    rebuildLeftList();
}

void TfPlanConfig::editCurrent()
{
    m_logic.EditCurrent([this](const fb::DataSet& list) -> std::optional<EntitlementData> {
        m_edit->setViewOnly(false);
        m_edit->FillFromCurrentRow(list);
        if (!m_edit->Execute())
            return std::nullopt;
        return m_edit->values();
    });
}

void TfPlanConfig::batchChange()
{
    m_db.OpenSettingsBatch(m_logic.year());
    if (m_batch->Execute(m_logic.year()))
        m_logic.BatchChanged();
}

void TfPlanConfig::chooseFolder()
{
    if (!m_selectDir->Execute(m_planDir->text()))
        return;
    const QString path = QDir::toNativeSeparators(m_selectDir->folder());
    if (m_logic.FolderChosen(path))
        m_planDir->setText(path);
}

void TfPlanConfig::focusMoved(QWidget* from, QWidget* to)
{
    // Only focus moving to another control of this window leaves the panel; another window
    // coming up over it (the folder chooser, a message) does not.
    if (!from || !to || !isVisible() || to->window() != this || from->window() != this)
        return;
    if (!m_folderPanel->isAncestorOf(from) || m_folderPanel->isAncestorOf(to))
        return;
    if (!m_logic.LeaveFolder(m_planDir->text()))
        m_planDir->setText(m_logic.storedFolder());
}

} // namespace zf

// The main window's pages: the start page, the plans, personnel and deadlines pages and the
// buttons of the generic grids.
#include "app/mainwindow.h"

#include "data/dbgrid.h"
#include "data/mydatabase.h"

#include <QAction>
#include <QFont>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

namespace zf {

namespace {

// Plan buttons: object name, caption, hint.
const std::vector<std::tuple<QString, QString, QString>> kPlanButtons = {
    {QStringLiteral("SBStworz"), QStringLiteral("Stwórz nowy"),
     QStringLiteral("Tworzy nowy plan urlopowy")},
    {QStringLiteral("SBSkopiuj"), QStringLiteral("Utwórz z istniejącego"),
     QStringLiteral("Tworzy nowy plan na podstawie zaznaczonego")},
    {QStringLiteral("SBKonfiguruj"), QStringLiteral("Pracownicy w planie"),
     QStringLiteral("Pracownicy biorący udział w planie i ich wymiar urlopu")},
    {QStringLiteral("SBOtworz"), QStringLiteral("Podgląd planu"),
     QStringLiteral("Podgląd całego planu urlopowego")},
    {QStringLiteral("SBEdytujKalendarz"), QStringLiteral("Edytuj dni wolne"),
     QStringLiteral("Dni wolne od pracy w roku planu")},
    {QStringLiteral("SBEksportuj"), QStringLiteral("Wygeneruj do edycji"),
     QStringLiteral("Zapisuje pliki planów urlopowych pracowników")},
    {QStringLiteral("SBImportuj"), QStringLiteral("Wczytaj wypełnione"),
     QStringLiteral("Wczytuje wypełnione pliki planów urlopowych")},
    {QStringLiteral("SBSkasujPlan"), QStringLiteral("Usuń plan"),
     QStringLiteral("Usuwa zaznaczony plan urlopowy")},
    {QStringLiteral("SBOpenDir"), QStringLiteral("Otwórz folder planów"),
     QStringLiteral("Otwiera folder plików planów urlopowych")},
};

// Generic grid buttons: object name, caption.
const std::vector<std::pair<QString, QString>> kGenericButtons = {
    {QStringLiteral("SBPodglad"), QStringLiteral("Podgląd")},
    {QStringLiteral("SBDodaj"), QStringLiteral("Dodaj")},
    {QStringLiteral("SBEdytuj"), QStringLiteral("Edytuj")},
    {QStringLiteral("SBUsun"), QStringLiteral("Usuń")},
    {QStringLiteral("SBKopiuj"), QStringLiteral("Kopiuj")},
    {QStringLiteral("SBSzukaj"), QStringLiteral("Szukaj ")},
    {QStringLiteral("SBdoCSV"), QStringLiteral("do CSV")},
};

} // namespace

QWidget* TfMain::buildStartPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsWstep"));
    auto* title = new QLabel(QStringLiteral("Zefirant PL+"), page);
    title->setObjectName(QStringLiteral("lblProductName"));
    QFont f = title->font();
    f.setPointSizeF(f.pointSizeF() * 3);
    f.setBold(true);
    title->setFont(f);
    title->setStyleSheet(QStringLiteral("color: #3f6fa8;"));
    auto* greeting = new QLabel(QStringLiteral("Witamy w programie ..."), page);
    greeting->setObjectName(QStringLiteral("lblGreeting"));
    QFont g = greeting->font();
    g.setPointSizeF(g.pointSizeF() * 1.5);
    greeting->setFont(g);
    auto* text = new QLabel(
        QStringLiteral("Planowanie urlopów wypoczynkowych, ewidencja pracowników, terminarz i "
                       "notatki.\nWybierz sekcję na pasku u góry okna lub w menu \"Widok\"."),
        page);
    text->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(page);
    layout->addStretch();
    layout->addWidget(title, 0, Qt::AlignCenter);
    layout->addWidget(greeting, 0, Qt::AlignCenter);
    layout->addSpacing(16);
    layout->addWidget(text, 0, Qt::AlignCenter);
    layout->addStretch(2);
    return page;
}

QWidget* TfMain::buildPlansPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsPlany"));
    m_planGrid = new TDBGrid(&m_deps.db.DBFHolidayPlans,
                             {{QStringLiteral("PLANNAME"), QStringLiteral("Nazwa planu"), 300},
                              {QStringLiteral("STATUS"), QStringLiteral("Status"), 260}},
                             page);
    m_planGrid->setObjectName(QStringLiteral("planGrid"));
    // The page has no label over its grid: the grid is named after its section.
    m_planGrid->setAccessibleName(QStringLiteral("Plany urlopowe"));
    connect(m_planGrid, &TDBGrid::editRequested, this,
            [this] { runPlanCommand(QStringLiteral("SBOtworz")); });

    auto* buttons = new QVBoxLayout;
    for (const auto& [name, caption, hint] : kPlanButtons) {
        auto* b = new QPushButton(caption, page);
        b->setObjectName(name);
        b->setToolTip(hint);
        b->setMinimumHeight(28);
        connect(b, &QPushButton::clicked, this, [this, n = name] { runPlanCommand(n); });
        buttons->addWidget(b);
        m_planButtons[name] = b;
    }
    buttons->addStretch();

    m_planContextMenu = new QMenu(m_planGrid);
    m_planContextMenu->setObjectName(QStringLiteral("pmPlany"));
    const std::vector<std::tuple<QString, QString, QString, QKeySequence>> items = {
        {QStringLiteral("pmKonfiguruj"), QStringLiteral("Pracownicy w planie"),
         QStringLiteral("SBKonfiguruj"), {}},
        {QStringLiteral("pmOtworz"), QStringLiteral("Podgląd planu"), QStringLiteral("SBOtworz"),
         {}},
        {QStringLiteral("pmEdytujKalendarz"), QStringLiteral("Edytuj dni wolne"),
         QStringLiteral("SBEdytujKalendarz"), {}},
        {QStringLiteral("pmSkasujPlan"), QStringLiteral("Usuń plan"),
         QStringLiteral("SBSkasujPlan"), QKeySequence(Qt::Key_Delete)},
    };
    for (const auto& [name, caption, command, key] : items) {
        QAction* a = m_planContextMenu->addAction(caption);
        a->setObjectName(name);
        if (!key.isEmpty()) {
            a->setShortcut(key);
            a->setShortcutContext(Qt::WidgetShortcut);
            m_planGrid->addAction(a);
        }
        connect(a, &QAction::triggered, this, [this, c = command] { runPlanCommand(c); });
        m_actions[name] = a;
    }
    m_planGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_planGrid, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        m_planContextMenu->popup(m_planGrid->viewport()->mapToGlobal(p));
    });

    auto* layout = new QHBoxLayout(page);
    layout->addWidget(m_planGrid, 1);
    layout->addLayout(buttons);
    return page;
}

QWidget* TfMain::buildPersonnelPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsPracownicy"));
    m_osobowaGrid =
        new TDBGrid(&m_deps.db.DBFEmployees,
                    {{QStringLiteral("ACT"), QStringLiteral("Zw?"), 36},
                     {QStringLiteral("IDEMPLOYEE"), QStringLiteral("Nr ewid."), 80},
                     {QStringLiteral("NAME_O"), QStringLiteral("Imię i nazwisko"), 220},
                     {QStringLiteral("UNIT_O"), QStringLiteral("Zespół"), 160},
                     {QStringLiteral("FILENAME"), QStringLiteral("Nazwa pliku planu urlopowego"), 220},
                     {QStringLiteral("EMAIL"), QStringLiteral("Email"), 200}},
                    page);
    m_osobowaGrid->setObjectName(QStringLiteral("osobowaGrid"));
    m_osobowaGrid->setAccessibleName(QStringLiteral("Pracownicy"));
    connect(m_osobowaGrid, &TDBGrid::titleClicked, this, [this](const QString& field) {
        m_deps.db.SortEmployeesBy(field);
        m_osobowaGrid->setActiveTitle(m_deps.db.employeesSortColumn);
    });
    attachGenericMenu(m_osobowaGrid);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_osobowaGrid);
    return page;
}

QWidget* TfMain::buildDeadlinesPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tsTerminarz"));
    m_terminarzGrid =
        new TDBGrid(&m_deps.db.DBFScheduler,
                    {{QStringLiteral("SACT"), QStringLiteral("Akt."), 36},
                     {QStringLiteral("DATESINCE"), QStringLiteral("Data od"), 90},
                     {QStringLiteral("CLASSNAME"), QStringLiteral("Rodzaj terminu"), 160},
                     {QStringLiteral("EMPLOYEE"), QStringLiteral("Pracownik"), 220},
                     {QStringLiteral("SDESCRIPTION"), QStringLiteral("Opis"), 240},
                     {QStringLiteral("SOTHER"), QStringLiteral("Inne"), 160}},
                    page);
    m_terminarzGrid->setObjectName(QStringLiteral("terminarzGrid"));
    m_terminarzGrid->setAccessibleName(QStringLiteral("Terminarz"));
    connect(m_terminarzGrid, &TDBGrid::titleClicked, this, [this](const QString& field) {
        m_deps.db.SortSchedulerBy(field);
        m_terminarzGrid->setActiveTitle(m_deps.db.schedulerSortColumn);
    });
    attachGenericMenu(m_terminarzGrid);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_terminarzGrid);
    return page;
}

void TfMain::attachGenericMenu(TDBGrid* grid)
{
    auto* menu = new QMenu(grid);
    menu->setObjectName(grid->objectName() + QStringLiteral("Menu"));
    const std::vector<std::tuple<QString, QString, QKeySequence, void (TfMain::*)()>> items = {
        {QStringLiteral("pmPodglad"), QStringLiteral("Podgląd"), QKeySequence(Qt::CTRL | Qt::Key_O),
         &TfMain::cmdPodglad},
        {QStringLiteral("pmDodaj"), QStringLiteral("Dodaj pozycję"), QKeySequence(Qt::Key_Insert),
         &TfMain::cmdDodaj},
        {QStringLiteral("pmEdytuj"), QStringLiteral("Edytuj pozycję"), QKeySequence(Qt::Key_F2),
         &TfMain::cmdEdytuj},
        {QStringLiteral("pmUsun"), QStringLiteral("Usuń pozycję"), QKeySequence(Qt::Key_Delete),
         &TfMain::cmdUsun},
        {QStringLiteral("pmKopiuj"), QStringLiteral("Kopiuj pozycję"),
         QKeySequence(Qt::CTRL | Qt::Key_C), &TfMain::cmdKopiuj},
        {QStringLiteral("pmSzukaj"), QStringLiteral("Szukaj"), QKeySequence(Qt::CTRL | Qt::Key_F),
         &TfMain::cmdSzukaj},
    };
    for (const auto& [name, caption, key, fn] : items) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetShortcut);
        grid->addAction(a);
        connect(a, &QAction::triggered, this, fn);
    }
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this,
            [grid, menu](const QPoint& p) { menu->popup(grid->viewport()->mapToGlobal(p)); });
    connect(grid, &TDBGrid::editRequested, this, &TfMain::cmdEdytuj);
}

QWidget* TfMain::buildGenericButtons()
{
    auto* row = new QWidget(this);
    row->setObjectName(QStringLiteral("pnlGenericButtons"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const std::map<QString, void (TfMain::*)()> run = {
        {QStringLiteral("SBPodglad"), &TfMain::cmdPodglad},
        {QStringLiteral("SBDodaj"), &TfMain::cmdDodaj},
        {QStringLiteral("SBEdytuj"), &TfMain::cmdEdytuj},
        {QStringLiteral("SBUsun"), &TfMain::cmdUsun},
        {QStringLiteral("SBKopiuj"), &TfMain::cmdKopiuj},
        {QStringLiteral("SBSzukaj"), &TfMain::cmdSzukaj},
        {QStringLiteral("SBdoCSV"), &TfMain::cmdDoCSV},
    };
    for (const auto& [name, caption] : kGenericButtons) {
        auto* b = new QPushButton(caption, row);
        b->setObjectName(name);
        b->setMinimumWidth(80);
        b->setFocusPolicy(Qt::NoFocus); // the grid keeps the focus and its keys
        connect(b, &QPushButton::clicked, this, run.at(name));
        layout->addWidget(b);
        m_genericButtons[name] = b;
    }
    layout->addStretch();
    return row;
}

} // namespace zf

#include "app/mainwindow.h"

#include "app/finddialog.h"
#include "app/manualwindow.h"
#include "app/reportspage.h"
#include "data/dbgrid.h"
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "util/gridstorage.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace zf {

namespace {

// Section buttons, in toolbar and "Widok" order: object name, caption.
const std::vector<std::pair<QString, QString>> kSections = {
    {QStringLiteral("SBPlany"), QStringLiteral("Plany urlopowe")},
    {QStringLiteral("SBTerminarz"), QStringLiteral("Terminarz")},
    {QStringLiteral("SBPracownicy"), QStringLiteral("Pracownicy")},
    {QStringLiteral("SBSlowniki"), QStringLiteral("Słowniki")},
    {QStringLiteral("SBRaporty"), QStringLiteral("Raporty")},
    {QStringLiteral("SBNotatnik"), QStringLiteral("Notatnik")},
    {QStringLiteral("SBFiszka"), QStringLiteral("Fiszka")},
};

const QString kSectionStyle = QStringLiteral(
    "QToolBar#tbSekcje { background-color: #5b8cc8; border: none; spacing: 4px; padding: 4px; }"
    "QToolBar#tbSekcje QToolButton { color: black; font-weight: bold; padding: 6px 12px; "
    "border: 1px solid transparent; border-radius: 4px; }"
    "QToolBar#tbSekcje QToolButton:hover { border-color: #dfe9f5; }"
    "QToolBar#tbSekcje QToolButton[active=\"true\"] { color: white; }"
    // Restricted mode disables sections: they must not look like the ones that work.
    "QToolBar#tbSekcje QToolButton:disabled { color: #a8c0e0; font-weight: normal; }");

} // namespace

TfMain::TfMain(Deps deps, QWidget* parent) : QMainWindow(parent), m_deps(deps)
{
    setObjectName(QStringLiteral("TfMain"));
    setWindowTitle(QStringLiteral("Zefirant PL+"));
    resize(1000, 680);

    buildMenus();
    buildToolbar();

    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("pages"));
    m_startPage = buildStartPage();
    m_plansPage = buildPlansPage();
    m_personnelPage = buildPersonnelPage();
    m_reportsPage = new TReportsPage(m_deps.db.DBFHolidayPlans, m_deps.db.DBFUnits,
                                     m_deps.db.DBFEmployees, this);
    m_deadlinesPage = buildDeadlinesPage();
    for (QWidget* page : {m_startPage, m_plansPage, m_personnelPage,
                          static_cast<QWidget*>(m_reportsPage), m_deadlinesPage})
        m_pages->addWidget(page);
    for (auto* b : {m_reportsPage->SBGrafikMiesiac, m_reportsPage->SBGrafikRok,
                    m_reportsPage->SBZestawienie, m_reportsPage->SBWniosek,
                    m_reportsPage->SBOswiadczenie}) {
        connect(b, &QPushButton::clicked, this, [this, b] {
            const auto it = reportCommands.find(b->objectName());
            if (it != reportCommands.end() && it->second)
                it->second();
        });
    }

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_pages, 1);
    m_buttonRow = buildGenericButtons();
    layout->addWidget(m_buttonRow);
    setCentralWidget(central);

    m_statusDate = new QLabel(this);
    m_statusDate->setObjectName(QStringLiteral("statusDate"));
    m_statusDate->setAlignment(Qt::AlignCenter);
    m_statusDate->setMinimumWidth(120);
    m_statusHint = new QLabel(this);
    m_statusHint->setObjectName(QStringLiteral("statusHint"));
    statusBar()->addWidget(m_statusDate);
    statusBar()->addWidget(m_statusHint, 1);

    m_find = new TFindDialog(this);
    connect(m_find, &TFindDialog::findNext, this, &TfMain::findNext);

    showStartPage();
    setLoggedIn(false);
}

TfMain::~TfMain() = default;

QAction* TfMain::addAction(QMenu* menu, const QString& text, const QString& name,
                           const QKeySequence& key, std::function<void()> fn)
{
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    if (!key.isEmpty())
        a->setShortcut(key);
    connect(a, &QAction::triggered, this, [fn = std::move(fn)] {
        if (fn)
            fn();
    });
    m_actions[name] = a;
    return a;
}

void TfMain::buildMenus()
{
    auto hook = [](std::function<void()>& h) {
        return [&h] {
            if (h)
                h();
        };
    };
    QMenu* program = menuBar()->addMenu(QStringLiteral("&Program"));
    program->setObjectName(QStringLiteral("mnuProgram"));
    addAction(program, QStringLiteral("Opcje"), QStringLiteral("actOpcje"), {}, [this] {
        if (onOptions)
            onOptions();
        showStartPage();
    });
    program->addSeparator();
    addAction(program, QStringLiteral("Zakończ"), QStringLiteral("actZakoncz"), {},
              [this] { close(); });

    m_narzedziaMenu = menuBar()->addMenu(QStringLiteral("&Narzędzia"));
    m_narzedziaMenu->setObjectName(QStringLiteral("mnuNarzedzia"));
    addAction(m_narzedziaMenu, QStringLiteral("Sprawdź terminy"), QStringLiteral("actSprawdzTerminy"),
              {}, hook(onCheckTerms));
    addAction(m_narzedziaMenu, QStringLiteral("Importuj pracowników"),
              QStringLiteral("actImportujPracownikow"), {}, [this] {
                  if (onImportEmployees)
                      onImportEmployees();
                  showPersonnelPage();
              });

    m_toolsMenu = menuBar()->addMenu(QStringLiteral("D&odatki"));
    m_toolsMenu->setObjectName(QStringLiteral("mnuDodatki"));
    addAction(m_toolsMenu, QStringLiteral("Zainstaluj dodatek"), QStringLiteral("actZainstaluj"),
              {}, hook(onInstallAddOn));
    m_toolsMenu->addSeparator();
    for (int slot = 0; slot < 16; ++slot) {
        QAction* a = addAction(m_toolsMenu, QString(), QStringLiteral("actTool%1").arg(slot), {},
                               [this, slot] {
                                   if (onRunTool)
                                       onRunTool(slot);
                               });
        a->setVisible(false);
        m_toolActions.push_back(a);
    }

    QMenu* view = menuBar()->addMenu(QStringLiteral("&Widok"));
    view->setObjectName(QStringLiteral("mnuWidok"));
    addAction(view, QStringLiteral("Wstęp"), QStringLiteral("actWstep"), {},
              [this] { showStartPage(); });
    addAction(view, QStringLiteral("Plany urlopowe"), QStringLiteral("actPlany"),
              QKeySequence(Qt::CTRL | Qt::Key_F1), [this] { showPlansPage(); });
    addAction(view, QStringLiteral("Terminarz"), QStringLiteral("actTerminarz"),
              QKeySequence(Qt::CTRL | Qt::Key_F2), [this] { showDeadlinesPage(); });
    addAction(view, QStringLiteral("Pracownicy"), QStringLiteral("actPracownicy"),
              QKeySequence(Qt::CTRL | Qt::Key_F3), [this] { showPersonnelPage(); });
    addAction(view, QStringLiteral("Słowniki"), QStringLiteral("actSlowniki"),
              QKeySequence(Qt::CTRL | Qt::Key_F4), hook(onDictionaries));
    addAction(view, QStringLiteral("Raporty"), QStringLiteral("actRaporty"),
              QKeySequence(Qt::CTRL | Qt::Key_F5), [this] { showReportsPage(); });
    addAction(view, QStringLiteral("Notatnik"), QStringLiteral("actNotatnik"),
              QKeySequence(Qt::CTRL | Qt::Key_F6), hook(onNotes));
    addAction(view, QStringLiteral("Fiszka"), QStringLiteral("actFiszka"),
              QKeySequence(Qt::CTRL | Qt::Key_F7), hook(onScratchPad));
    view->addSeparator();
    addAction(view, QStringLiteral("Przywróc domyślne szerokości tabel"),
              QStringLiteral("actDomyslneSzerokosci"), {}, [this] {
                  if (m_gridStorage)
                      m_gridStorage->RestoreDefaultWidths();
              });

    QMenu* help = menuBar()->addMenu(QStringLiteral("Pomo&c"));
    help->setObjectName(QStringLiteral("mnuPomoc"));
    addAction(help, QStringLiteral("Pomoc"), QStringLiteral("actPomoc"), QKeySequence(Qt::Key_F1),
              [this] { helpManual(); });
    // F1 in the other windows; the main window's own goes through "Pomoc", which is off
    // until a login.
    qApp->installEventFilter(new TManualKey(
        [this](QWidget* window) {
            if (window != this)
                helpManual(window);
        },
        this));
    addAction(help, QStringLiteral("Pomoc techniczna via Internet"),
              QStringLiteral("actPomocTechniczna"), {}, [this] { helpSupportMail(); });
    addAction(help, QStringLiteral("Otwórz log błędów error.log"), QStringLiteral("actLogBledow"),
              QKeySequence(Qt::Key_F12), [this] { helpErrorLog(); });
    addAction(help, QStringLiteral("Porada dnia"), QStringLiteral("actPoradaDnia"), {},
              [this] { helpTipOfTheDay(); });
    help->addSeparator();
    addAction(help, QStringLiteral("O prog&ramie"), QStringLiteral("actOProgramie"), {},
              [this] { helpAbout(); });
}

void TfMain::buildToolbar()
{
    auto* bar = new QToolBar(QStringLiteral("Sekcje"), this);
    bar->setObjectName(QStringLiteral("tbSekcje"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setStyleSheet(kSectionStyle);
    addToolBar(Qt::TopToolBarArea, bar);
    const std::map<QString, std::function<void()>> run = {
        {QStringLiteral("SBPlany"), [this] { showPlansPage(); }},
        {QStringLiteral("SBTerminarz"), [this] { showDeadlinesPage(); }},
        {QStringLiteral("SBPracownicy"), [this] { showPersonnelPage(); }},
        {QStringLiteral("SBSlowniki"), [this] { if (onDictionaries) onDictionaries(); }},
        {QStringLiteral("SBRaporty"), [this] { showReportsPage(); }},
        {QStringLiteral("SBNotatnik"), [this] { if (onNotes) onNotes(); }},
        {QStringLiteral("SBFiszka"), [this] { if (onScratchPad) onScratchPad(); }},
    };
    for (const auto& [name, caption] : kSections) {
        auto* b = new QToolButton(bar);
        b->setObjectName(name);
        b->setText(caption);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setToolTip(caption);
        connect(b, &QToolButton::clicked, this, run.at(name));
        bar->addWidget(b);
        m_sectionButtons[name] = b;
    }
}

// --- pages --------------------------------------------------------------------------------------

void TfMain::highlight(QToolButton* active)
{
    for (const auto& [name, button] : m_sectionButtons) {
        button->setProperty("active", button == active);
        button->style()->unpolish(button);
        button->style()->polish(button);
    }
}

void TfMain::setGenericFlags(bool shown, bool editable)
{
    m_shownFlag = shown;
    m_editableFlag = editable;
    m_genericButtons.at(QStringLiteral("SBPodglad"))->setEnabled(shown);
    m_genericButtons.at(QStringLiteral("SBSzukaj"))->setEnabled(shown);
    for (const char* name : {"SBDodaj", "SBEdytuj", "SBUsun", "SBKopiuj", "SBdoCSV"})
        m_genericButtons.at(QString::fromLatin1(name))->setEnabled(shown && editable);
}

void TfMain::choosePage(Page page, QWidget* widget, QToolButton* button, bool buttonRow)
{
    m_page = page;
    highlight(button);
    m_pages->setCurrentWidget(widget);
    m_buttonRow->setVisible(buttonRow);
}

void TfMain::showStartPage()
{
    choosePage(Page::Start, m_startPage, nullptr, false);
    setGenericFlags(false, false);
}

void TfMain::showPlansPage()
{
    choosePage(Page::Plans, m_plansPage, m_sectionButtons.at(QStringLiteral("SBPlany")), false);
    m_deps.db.OpenPlans();
    setGenericFlags(true, true);
}

void TfMain::showPersonnelPage()
{
    choosePage(Page::Personnel, m_personnelPage, m_sectionButtons.at(QStringLiteral("SBPracownicy")),
               true);
    m_deps.db.OpenEmployees();
    m_osobowaGrid->setActiveTitle(m_deps.db.employeesSortColumn);
    m_osobowaGrid->setFocus();
    setGenericFlags(true, true);
}

void TfMain::showReportsPage()
{
    choosePage(Page::Reports, m_reportsPage, m_sectionButtons.at(QStringLiteral("SBRaporty")),
               false);
    m_deps.db.OpenPlans();
    m_deps.db.OpenEmployees();
    if (m_deps.db.DBFUnits.isOpen())
        m_deps.db.Reopen(m_deps.db.DBFUnits);
    else
        m_deps.db.OpenUnits();
    setGenericFlags(true, true);
}

void TfMain::showDeadlinesPage()
{
    choosePage(Page::Deadlines, m_deadlinesPage,
               m_sectionButtons.at(QStringLiteral("SBTerminarz")), true);
    m_deps.db.OpenScheduler();
    m_terminarzGrid->setActiveTitle(m_deps.db.schedulerSortColumn);
    m_terminarzGrid->setFocus();
    setGenericFlags(true, true);
}

void TfMain::runPlanCommand(const QString& name)
{
    // Every plan command but "Stwórz nowy" needs a plan; a disabled button does nothing.
    const auto button = m_planButtons.find(name);
    if (button != m_planButtons.end() && !button->second->isEnabled())
        return;
    if (name != QStringLiteral("SBStworz") && m_deps.db.DBFHolidayPlans.isEmpty())
        return;
    const auto it = planCommands.find(name);
    if (it != planCommands.end() && it->second)
        it->second();
}

// --- start-up -----------------------------------------------------------------------------------

void TfMain::setLoggedIn(bool loggedIn)
{
    m_loggedIn = loggedIn;
    for (QAction* menu : menuBar()->actions()) {
        menu->setEnabled(loggedIn);
        // The items too: their shortcuts would work through a disabled menu.
        if (menu->menu())
            for (QAction* item : menu->menu()->actions())
                item->setEnabled(loggedIn);
    }
    for (const auto& [name, button] : m_sectionButtons)
        button->setEnabled(loggedIn);
}

void TfMain::applyRestrictedMode()
{
    if (!m_deps.db.loginState().restricted)
        return;
    for (const char* name : {"actOpcje", "actSlowniki", "actTerminarz", "actPracownicy",
                             "actNotatnik"})
        m_actions.at(QString::fromLatin1(name))->setVisible(false);
    m_toolsMenu->setEnabled(false);
    m_toolsMenu->menuAction()->setEnabled(false);
    m_narzedziaMenu->setEnabled(false);
    m_narzedziaMenu->menuAction()->setEnabled(false);
    for (const char* name : {"pmKonfiguruj", "pmEdytujKalendarz", "pmSkasujPlan"})
        m_actions.at(QString::fromLatin1(name))->setVisible(false);
    for (const char* name : {"SBSlowniki", "SBPracownicy", "SBTerminarz", "SBNotatnik"})
        m_sectionButtons.at(QString::fromLatin1(name))->setEnabled(false);
    for (const char* name : {"SBStworz", "SBSkopiuj", "SBKonfiguruj", "SBEdytujKalendarz",
                             "SBEksportuj", "SBImportuj", "SBSkasujPlan"})
        m_planButtons.at(QString::fromLatin1(name))->setEnabled(false);
}

void TfMain::setDateText(const QString& text)
{
    m_statusDate->setText(text);
}

void TfMain::setHintText(const QString& text)
{
    m_statusHint->setText(text);
}

QString TfMain::hintText() const
{
    return m_statusHint->text();
}

void TfMain::setVersionCaption(const QString& version)
{
    setWindowTitle(QStringLiteral("Zefirant PL+ ") + version);
}

void TfMain::fillToolsMenu(const QStringList& names)
{
    for (int slot = 0; slot < static_cast<int>(m_toolActions.size()); ++slot) {
        const QString name = names.value(slot);
        m_toolActions[slot]->setText(name);
        m_toolActions[slot]->setVisible(!name.isEmpty());
    }
}

void TfMain::registerGrids(TOVGridStorage& storage)
{
    storage.RegisterGrid(m_osobowaGrid->gridColumns(), QStringLiteral("osobowaGrid"));
    storage.RegisterGrid(m_planGrid->gridColumns(), QStringLiteral("planGrid"));
    storage.RegisterGrid(m_terminarzGrid->gridColumns(), QStringLiteral("terminarzGrid"));
    m_gridStorage = &storage;
}

QToolButton* TfMain::sectionButton(const QString& objectName) const
{
    const auto it = m_sectionButtons.find(objectName);
    return it == m_sectionButtons.end() ? nullptr : it->second;
}

QAction* TfMain::action(const QString& objectName) const
{
    const auto it = m_actions.find(objectName);
    return it == m_actions.end() ? nullptr : it->second;
}

void TfMain::closeEvent(QCloseEvent* event)
{
    if (onCloseRequest && !onCloseRequest()) {
        event->ignore();
        return;
    }
    event->accept();
}

void TfMain::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    emit windowResized();
}

} // namespace zf

#pragma once

#include "app/manualwindow.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <map>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QToolButton;
class QWidget;

namespace zf {

class Dialogs;
class TDBGrid;
class TFindDialog;
class TfInstrukcja;
class TOVGridStorage;
class TReportsPage;
class TmyDataBase;
struct ProgramOptions;
class OptionsStore;

// The only long-lived window: section buttons, five pages, the generic grid buttons, the menus
// and the status bar. Commands whose windows belong to other parts of the program are reached
// through hooks; an unset hook does nothing.
class TfMain : public QMainWindow
{
    Q_OBJECT
public:
    enum class Page { Start, Plans, Personnel, Reports, Deadlines };

    struct Deps
    {
        TmyDataBase& db;
        Dialogs& dialogs;
        ProgramOptions& options;
        OptionsStore& store;
        QString programFolder;
        QString dataFolder;
    };

    // What the generic buttons do on a list page.
    struct GridCommands
    {
        std::function<void()> view;
        std::function<void()> add;
        std::function<void()> edit;
        std::function<void()> remove;
    };

    explicit TfMain(Deps deps, QWidget* parent = nullptr);
    ~TfMain() override;

    // --- pages ---------------------------------------------------------------------------------
    void showStartPage();
    void showPlansPage();
    void showPersonnelPage();
    void showReportsPage();
    void showDeadlinesPage();
    Page currentPage() const { return m_page; }

    // --- generic commands --------------------------------------------------------------------
    void cmdPodglad();
    void cmdDodaj();
    void cmdEdytuj();
    void cmdUsun();
    void cmdKopiuj();
    void cmdSzukaj();
    void cmdDoCSV();
    // One "Znajdź następny" of the find dialog on the shown page.
    void findNext(const QString& text);
    bool copyFlag() const { return m_copyFlag; }
    // The add operations read the copy flag and clear it.
    bool takeCopyFlag();
    void setGenericFlags(bool shown, bool editable);

    // --- help commands -------------------------------------------------------------------------
    // The manual at the chapter of `window` (the main window when null).
    void helpManual(QWidget* window = nullptr);
    void helpSupportMail();
    void helpErrorLog();
    void helpTipOfTheDay();
    void helpAbout();

    // --- start-up ---------------------------------------------------------------------------
    // Until a login succeeds the menus and section buttons are disabled: nothing behind them
    // could work without a database.
    void setLoggedIn(bool loggedIn);
    bool loggedIn() const { return m_loggedIn; }
    void applyRestrictedMode();
    void setDateText(const QString& text);
    // The second panel of the status bar: the hint of the control under the mouse.
    void setHintText(const QString& text);
    QString hintText() const;
    void setVersionCaption(const QString& version);
    // The "D&odatki" menu: slot n shows `names[n]` when it is not empty.
    void fillToolsMenu(const QStringList& names);
    // Grids whose column widths are stored, in the order they are registered.
    void registerGrids(TOVGridStorage& storage);
    void setGridStorage(TOVGridStorage* storage) { m_gridStorage = storage; }

    // --- hooks of other parts of the program ------------------------------------------------
    void setPersonnelCommands(GridCommands commands) { m_personnel = std::move(commands); }
    void setSchedulerCommands(GridCommands commands) { m_scheduler = std::move(commands); }
    std::function<void()> onOptions;
    std::function<void()> onCheckTerms;
    std::function<void()> onImportEmployees;
    std::function<void()> onInstallAddOn;
    std::function<void(int slot)> onRunTool;
    std::function<void()> onDictionaries;
    std::function<void()> onNotes;
    std::function<void()> onScratchPad;
    std::function<void()> onTipOfTheDay;
    std::function<void()> onAbout;
    // Plan commands by their button's objectName ("SBStworz", "SBOtworz", ...).
    std::map<QString, std::function<void()>> planCommands;
    // Report commands by their button's objectName.
    std::map<QString, std::function<void()>> reportCommands;
    // Asked before closing; false keeps the window open. Set by start-up.
    std::function<bool()> onCloseRequest;
    // Opening a file, folder or address with the system's default application; `what` names
    // it in the message shown when that fails ("instrukcji obsługi", "logu błędów").
    std::function<void(const QString& pathOrUrl, const QString& what)> openExternally;

    // --- parts other windows and tests reach -------------------------------------------------
    TDBGrid* osobowaGrid() const { return m_osobowaGrid; }
    TDBGrid* planGrid() const { return m_planGrid; }
    TDBGrid* terminarzGrid() const { return m_terminarzGrid; }
    TReportsPage* reportsPage() const { return m_reportsPage; }
    TFindDialog* findDialog() const { return m_find; }
    // The manual's window; null until "Pomoc" is first used.
    TfInstrukcja* manualWindow() const { return m_manual; }
    QToolButton* sectionButton(const QString& objectName) const;
    QAction* action(const QString& objectName) const;

signals:
    void windowResized();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    QWidget* buildStartPage();
    QWidget* buildPlansPage();
    QWidget* buildPersonnelPage();
    QWidget* buildDeadlinesPage();
    QWidget* buildGenericButtons();
    void attachGenericMenu(TDBGrid* grid);
    void highlight(QToolButton* active);
    void choosePage(Page page, QWidget* widget, QToolButton* button, bool buttonRow);
    TDBGrid* shownGrid() const;
    const GridCommands* shownCommands() const;
    void runPlanCommand(const QString& name);
    QAction* addAction(QMenu* menu, const QString& text, const QString& name,
                       const QKeySequence& key, std::function<void()> fn);

    Deps m_deps;
    Page m_page = Page::Start;
    bool m_shownFlag = false;
    bool m_editableFlag = false;
    bool m_copyFlag = false;
    bool m_searchStart = false;
    bool m_loggedIn = false;
    GridCommands m_personnel;
    GridCommands m_scheduler;
    TOVGridStorage* m_gridStorage = nullptr;

    QStackedWidget* m_pages = nullptr;
    QWidget* m_startPage = nullptr;
    QWidget* m_plansPage = nullptr;
    QWidget* m_personnelPage = nullptr;
    QWidget* m_deadlinesPage = nullptr;
    TReportsPage* m_reportsPage = nullptr;
    TDBGrid* m_osobowaGrid = nullptr;
    TDBGrid* m_planGrid = nullptr;
    TDBGrid* m_terminarzGrid = nullptr;
    QWidget* m_buttonRow = nullptr;
    std::map<QString, QPushButton*> m_genericButtons;
    std::map<QString, QPushButton*> m_planButtons;
    std::map<QString, QToolButton*> m_sectionButtons;
    std::map<QString, QAction*> m_actions;
    QMenu* m_toolsMenu = nullptr;
    QMenu* m_narzedziaMenu = nullptr;
    QMenu* m_planContextMenu = nullptr;
    std::vector<QAction*> m_toolActions;
    QLabel* m_statusDate = nullptr;
    QLabel* m_statusHint = nullptr;
    TFindDialog* m_find = nullptr;
    // A child of the modal window F1 was pressed in, so that it can be used beside it.
    QPointer<TfInstrukcja> m_manual;
};

} // namespace zf

#pragma once

#include "app/toolslots.h"
#include "data/programoptions.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace zf {

class AccessibleNames;

class Dialogs;
class QtDialogs;
class SingleInstance;
class TOVGridStorage;
class TOVUtilities;
class TAddOns;
class TPersonnel;
class TScheduler;
class TDMRaporty;
class TReportPreview;
class TPlans;
class TfImportPracownik;
class TfAbout;
class TfOpcjeProgramu;
class TfFiszka;
class TfLogin;
class TfMain;
class TfManageDB;
class TfPoradaDnia;
class TerminationHandler;
class THintHandler;
class TmyDataBase;

// What the start needs from outside; tests replace the folders and the dialogs.
struct StartOptions
{
    QStringList arguments;      // without the program's own name
    QString programFolder;      // empty: the folder of the executable
    QString dataFolder;         // empty: the common data folder + "/Orvantis/Zefirant"
    QString lockFolder;         // empty: the runtime folder
    QStringList installerFolders; // empty: $XDG_CONFIG_DIRS
    Dialogs* dialogs = nullptr; // empty: the program's own windows
    bool splash = true;
    // The first-paint step runs by itself once the event loop turns; tests run it by hand.
    bool scheduleFirstPaint = true;
};

// The program from start to end: it creates every window and the database module once, refuses
// a second copy, runs the show step (options, connection, login, schema update, restricted
// mode) and the first-paint step (tip of the day, reminders), and closes in order.
class TApplication : public QObject
{
    Q_OBJECT
public:
    explicit TApplication(StartOptions options);
    ~TApplication() override;

    // Up to a ready main window; false when the program is to end (see exitCode()).
    bool start();
    int exitCode() const { return m_exitCode; }

    // A request of the system to end (logout, shutdown): close in order without asking.
    void terminationRequested();

    // The steps, also run by tests.
    bool runShowStep();
    void runFirstPaintStep();
    // The closing question and what is saved; false keeps the program open.
    bool closeRequest();
    // An error no window handled: `message` and the class of the object that reported it.
    void handleUnexpectedError(const QString& message, const QString& className);
    // Reminders of the first paint, given the window of due dates (lower, upper]; set by the
    // parts that keep notes and deadlines.
    std::function<void(int lower, int upper)> onRemindNotes;
    std::function<void(int lower, int upper)> onRemindDeadlines;
    // How the program ends at once after a fatal error (tests replace it).
    std::function<void(int code)> terminate;

    TfMain& mainWindow() { return *m_main; }
    TmyDataBase& db() { return *m_db; }
    Dialogs& dialogs() { return *m_dialogs; }
    ProgramOptions& options() { return m_options; }
    OptionsStore& optionsStore() { return *m_store; }
    TfLogin& loginWindow() { return *m_login; }
    TfManageDB& databaseWindow() { return *m_manageDb; }
    TfPoradaDnia& tipWindow() { return *m_tip; }
    TfFiszka& scratchPad() { return *m_fiszka; }
    TfAbout& aboutWindow() { return *m_about; }
    TfOpcjeProgramu& optionsWindow() { return *m_optionsWindow; }
    TAddOns& addOns() { return *m_addOns; }
    TPersonnel& personnel() { return *m_personnel; }
    TPlans& plans() { return *m_plans; }
    TfImportPracownik& importWindow() { return *m_import; }
    TScheduler& scheduler() { return *m_scheduler; }
    TOVGridStorage* gridStorage() { return m_gridStorage.get(); }
    const ToolSlots& toolSlots() const { return m_tools; }
    const QString& programFolder() const { return m_programFolder; }
    const QString& dataFolder() const { return m_dataFolder; }

private:
    void createWindows();
    void wireMainWindow();
    void onMainResized();
    // Hands a file, folder or address to the desktop; a failure is told to the user, `what`
    // naming what could not be opened ("folderu planów").
    void openExternally(const QString& pathOrUrl, const QString& what);
    void showTipOfTheDay();
    void end(int code);

    StartOptions m_start;
    QString m_programFolder;
    QString m_dataFolder;
    int m_exitCode = 0;
    bool m_optionsRead = false;
    bool m_startingUp = true;
    bool m_firstPaintDone = false;

    std::unique_ptr<TOVUtilities> m_utilities;
    std::unique_ptr<SingleInstance> m_single;
    std::unique_ptr<QtDialogs> m_ownDialogs;
    Dialogs* m_dialogs = nullptr;
    std::unique_ptr<TmyDataBase> m_db;
    std::unique_ptr<OptionsStore> m_store;
    ProgramOptions m_options;
    ToolSlots m_tools;
    std::unique_ptr<TOVGridStorage> m_gridStorage;
    std::unique_ptr<TfMain> m_main;
    std::unique_ptr<TfLogin> m_login;
    std::unique_ptr<TfManageDB> m_manageDb;
    std::unique_ptr<TfPoradaDnia> m_tip;
    std::unique_ptr<TfFiszka> m_fiszka;
    std::unique_ptr<TfAbout> m_about;
    std::unique_ptr<TerminationHandler> m_termination;
    std::unique_ptr<THintHandler> m_hints;
    std::unique_ptr<AccessibleNames> m_accessibleNames;
    std::unique_ptr<TfOpcjeProgramu> m_optionsWindow;
    std::unique_ptr<TAddOns> m_addOns;
    std::unique_ptr<TPersonnel> m_personnel;
    std::unique_ptr<TPlans> m_plans;
    std::unique_ptr<TfImportPracownik> m_import;
    // Reports: the report data and its preview.
    std::unique_ptr<TDMRaporty> m_reports;
    std::unique_ptr<TReportPreview> m_reportPreview;
    std::unique_ptr<TScheduler> m_scheduler;
    bool m_terminating = false;
};

} // namespace zf

#include "app/application.h"

#include "app/about.h"
#include "app/addons.h"
#include "app/optionswindow.h"
#include "app/fiszka.h"
#include "app/hints.h"
#include "app/loginwindow.h"
#include "app/mainwindow.h"
#include "app/poradadnia.h"
#include "app/qtdialogs.h"
#include "scheduler/reminders.h"
#include "app/reportspage.h"
#include "app/singleinstance.h"
#include "util/termination.h"
#include "app/tips.h"
#include "data/dbgrid.h"
#include "data/managedbwindow.h"
#include "data/mydatabase.h"
#include "personnel/importwindow.h"
#include "personnel/biblioteka.h"
#include "personnel/personnel.h"
#include "reports/dmraporty.h"
#include "reports/previewwindow.h"
#include "plans/plans.h"
#include "scheduler/terminarz.h"
#include "util/clock.h"
#include "util/dates.h"
#include "util/dialogs.h"
#include "util/gridstorage.h"
#include "util/inifile.h"
#include "util/accessiblenames.h"
#include "util/ovutilities.h"
#include "util/process.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <QSplashScreen>
#include <QTimer>
#include <QUrl>

#include <cerrno>
#include <cstdlib>

namespace zf {

namespace {

const QString kEnableMultiRun = QStringLiteral("ENABLEMULTIRUN");

QString databaseInUseText(const QString& location)
{
    return QStringLiteral(
               "Baza danych %1 jest już otwarta przez inną kopię programu Zefirant PL+ (albo "
               "inny program). Baza lokalna, używana bez serwera, obsługuje "
               "jedną kopię programu naraz. Zamknij tamtą kopię i uruchom program ponownie.\n\n"
               "Jeśli z bazy ma korzystać kilka kopii programu jednocześnie, przenieś ją na "
               "serwer bazy danych biura (skrypt scripts/office-server.sh) i wskaż ją w oknie "
               "konfiguracji bazy danych. Program zostanie zamknięty.")
        .arg(QDir::toNativeSeparators(location));
}

QPixmap splashPicture()
{
    QPixmap pixmap(420, 200);
    pixmap.fill(QColor(0x3f, 0x6f, 0xa8));
    QPainter p(&pixmap);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPointSize(28);
    f.setBold(true);
    p.setFont(f);
    p.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("Zefirant PL+"));
    return pixmap;
}

} // namespace

TApplication::TApplication(StartOptions options) : m_start(std::move(options))
{
    terminate = [](int code) { std::exit(code); };
}

TApplication::~TApplication()
{
    if (m_hints)
        qApp->removeEventFilter(m_hints.get());
    if (m_accessibleNames)
        qApp->removeEventFilter(m_accessibleNames.get());
    if (m_store)
        m_store->setDestroying(true);
    if (m_main && m_gridStorage)
        m_main->setGridStorage(nullptr);
}

void TApplication::end(int code)
{
    m_exitCode = code;
}

bool TApplication::start()
{
    std::unique_ptr<QSplashScreen> splash;
    if (m_start.splash) {
        splash = std::make_unique<QSplashScreen>(splashPicture(), Qt::WindowStaysOnTopHint);
        splash->show();
        QCoreApplication::processEvents();
    }
    QCoreApplication::setApplicationName(QStringLiteral("Zefirant PL+"));

    m_programFolder = m_start.programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                      : m_start.programFolder;
    // Creation step of the main window: the data folder and the date formats first.
    m_utilities = std::make_unique<TOVUtilities>();
    m_utilities->SetDataSubFolder(QStringLiteral("\\Orvantis\\Zefirant"));
    m_dataFolder =
        m_start.dataFolder.isEmpty() ? m_utilities->UserDataFolder() : m_start.dataFolder;
    // The log is written only into an existing folder: make it, as an installation would.
    QDir().mkpath(m_dataFolder + QStringLiteral("/debug"));
    setDateSeparator(systemDateSeparator());

    if (!m_start.dialogs)
        m_ownDialogs = std::make_unique<QtDialogs>();
    m_dialogs = m_start.dialogs ? m_start.dialogs : m_ownDialogs.get();

    if (m_start.arguments.value(0) != kEnableMultiRun) {
        m_single = std::make_unique<SingleInstance>(m_start.lockFolder);
        if (!m_single->acquire()) {
            if (splash)
                splash->close();
            m_dialogs->information(kCaptionInformation,
                                   QStringLiteral("Program Zefirant PL+ jest już uruchomiony!"));
            end(0);
            return false;
        }
    }

    createWindows();
    m_main->show();
    if (splash) {
        // The splash goes once, when the first window is up, after a moment in which it can be
        // read; waiting on a window not yet shown would keep it twice as long.
        QTimer wait;
        wait.setSingleShot(true);
        QEventLoop loop;
        QObject::connect(&wait, &QTimer::timeout, &loop, &QEventLoop::quit);
        wait.start(1000);
        loop.exec();
        splash->close();
    }

    if (!runShowStep())
        return false;
    // After the database library has put its own signal handlers in place.
    m_termination = std::make_unique<TerminationHandler>([this] { terminationRequested(); });
    m_termination->install();
    if (m_start.scheduleFirstPaint)
        QTimer::singleShot(0, this, [this] { runFirstPaintStep(); });
    return true;
}

void TApplication::createWindows()
{
    m_accessibleNames = std::make_unique<AccessibleNames>();
    qApp->installEventFilter(m_accessibleNames.get());
    m_store = std::make_unique<OptionsStore>(m_dataFolder + QStringLiteral("/zefirant.ini"));
    m_db = std::make_unique<TmyDataBase>(
        DatabasePaths{m_dataFolder, m_programFolder, m_start.installerFolders}, *m_dialogs);
    m_main = std::make_unique<TfMain>(TfMain::Deps{*m_db, *m_dialogs, m_options, *m_store,
                                                   m_programFolder, m_dataFolder});
    if (m_ownDialogs)
        m_ownDialogs->setParent(m_main.get());
    ensureTipFile(m_dataFolder, m_programFolder);
    m_tip = std::make_unique<TfPoradaDnia>(tipFilePath(m_dataFolder), m_main.get());
    m_fiszka = std::make_unique<TfFiszka>(m_main.get());
    m_about = std::make_unique<TfAbout>(m_main.get(), [this](const QUrl& url) {
        openExternally(url.toString(), QStringLiteral("adresu"));
    });
    m_login = std::make_unique<TfLogin>(*m_db, m_main.get());
    m_manageDb = std::make_unique<TfManageDB>(*m_db, *m_dialogs, m_programFolder, m_dataFolder,
                                              m_main.get());
    m_login->setConfigureDatabase([this] { m_manageDb->ShowDatabaseManagement(); });
    m_optionsWindow = std::make_unique<TfOpcjeProgramu>(*m_db, *m_dialogs, m_options, *m_store,
                                                         m_main.get());
    m_addOns = std::make_unique<TAddOns>(m_tools, m_store->iniPath(), m_programFolder, *m_dialogs);
    m_personnel = std::make_unique<TPersonnel>(*m_db, *m_dialogs, m_options, m_dataFolder,
                                               m_main.get());
    m_import = std::make_unique<TfImportPracownik>(*m_db, *m_dialogs, m_programFolder, m_dataFolder,
                                                   m_main.get());
    // Reports.
    m_reports = std::make_unique<TDMRaporty>(*m_db, *m_dialogs, m_programFolder);
    m_reports->options = &m_options;
    m_reportPreview = std::make_unique<TReportPreview>(*m_reports, *m_dialogs, m_main.get());
    // Deadlines and notes; "[...]" of the deadline editor opens the kinds.
    m_scheduler = std::make_unique<TScheduler>(
        *m_db, *m_dialogs, m_options,
        [this] { m_personnel->dictionaryWindow().ShowDictionaries(2); }, m_main.get());
    m_plans = std::make_unique<TPlans>(*m_db, *m_dialogs, m_options, m_main.get());
    wireMainWindow();
}

void TApplication::wireMainWindow()
{
    TfMain& w = *m_main;
    w.onScratchPad = [this] {
        m_fiszka->show();
        m_fiszka->raise();
    };
    w.onTipOfTheDay = [this] {
        showTipOfTheDay();
        m_store->WriteOptions(m_options);
    };
    w.onAbout = [this] {
        m_about->setVersion(m_options.version);
        m_about->setEmail(m_options.email);
        m_about->exec();
    };
    w.openExternally = [this](const QString& p, const QString& what) { openExternally(p, what); };
    w.onCloseRequest = [this] { return closeRequest(); };
    w.onOptions = [this] { m_optionsWindow->ShowOptions(); };
    m_addOns->onMenuChanged = [&w](const QStringList& names) { w.fillToolsMenu(names); };
    w.onInstallAddOn = [this] { m_addOns->Install(); };
    w.onRunTool = [this](int slot) { m_addOns->Run(slot); };
    w.setPersonnelCommands({[this] { m_personnel->View(); },
                            [this] { m_personnel->Add(m_main->takeCopyFlag()); },
                            [this] { m_personnel->Edit(); }, [this] { m_personnel->Delete(); }});
    w.onDictionaries = [this] { m_personnel->ShowDictionaries(); };
    w.onImportEmployees = [this] { m_import->ShowEmployeeImport(); };
    w.reportCommands = w.reportsPage()->ReportCommands(*m_reports);
    // Deadlines and notes.
    w.setSchedulerCommands({[this] { m_scheduler->View(); },
                            [this] { m_scheduler->Add(m_main->takeCopyFlag()); },
                            [this] { m_scheduler->Edit(); }, [this] { m_scheduler->Delete(); }});
    w.onCheckTerms = [this] { m_scheduler->CheckTerms(true); };
    w.onNotes = [this] { m_scheduler->EditNotes(); };
    onRemindNotes = [this](int lower, int upper) { m_scheduler->RemindNotes(lower, upper); };
    onRemindDeadlines = [this](int lower, int upper) {
        m_scheduler->RemindDeadlines(lower, upper);
    };
    m_plans->openExternally = [this](const QString& p) {
        openExternally(p, QStringLiteral("folderu planów"));
    };
    w.planCommands = m_plans->Commands();
    connect(&w, &TfMain::windowResized, this, &TApplication::onMainResized);
    m_hints = std::make_unique<THintHandler>([&w](const QString& text) { w.setHintText(text); });
    qApp->installEventFilter(m_hints.get());
}

void TApplication::openExternally(const QString& pathOrUrl, const QString& what)
{
    const bool address = pathOrUrl.contains(QStringLiteral("://")) ||
                         pathOrUrl.startsWith(QStringLiteral("mailto:"));
    const QString shown = address ? pathOrUrl : QDir::toNativeSeparators(pathOrUrl);
    // xdg-open answers through its exit status only; QDesktopServices reports success as soon
    // as it has started it.
    openWithDesktop(pathOrUrl, m_main.get(), [this, what, shown](bool ok) {
        if (!ok)
            m_dialogs->information(
                kCaptionInformation,
                QStringLiteral("Nie udało się otworzyć %1: %2\nSprawdź, czy w systemie jest "
                               "zainstalowany program, który go otwiera, albo otwórz go "
                               "samodzielnie.")
                    .arg(what, shown));
    });
}

void TApplication::showTipOfTheDay()
{
    m_tip->setDontShowAgain(!m_options.pokazujPoradeDnia);
    m_tip->exec();
    m_options.pokazujPoradeDnia = !m_tip->dontShowAgain();
}

bool TApplication::runShowStep()
{
    TmyDataBase& db = *m_db;
    TfMain& w = *m_main;

    // 1. Column widths of the grids.
    m_gridStorage = std::make_unique<TOVGridStorage>(m_store->iniPath());
    w.registerGrids(*m_gridStorage);
    m_gridStorage->RegisterGrid(m_plans->calendarGrid()->gridColumns(),
                                QStringLiteral("calendarGrid"));
    m_gridStorage->LoadWidths();

    // 2. Options.
    m_tools = readToolSlots(IniFile(m_store->iniPath()), m_programFolder);
    m_options = m_store->ReadOptions();
    m_optionsRead = true;

    // 3. Stored size of the main window.
    if (m_options.mainWinWidth >= 0)
        w.resize(m_options.mainWinWidth, qMax(m_options.mainWinHeight, 0));
    m_startingUp = false;

    // 4. Caption.
    w.setVersionCaption(m_options.version);

    // 5. Connection.
    int r = db.ReadConnectionSettingsAndConnect();
    if (r == TmyDataBase::ConnectionFailed && db.DatabaseInUseElsewhere()) {
        // Neither administrator rights nor another database helps here, and a new one made
        // from this copy would leave the office's data behind.
        m_dialogs->information(kCaptionInformation, databaseInUseText(db.location));
        end(0);
        return false;
    }
    if (r == TmyDataBase::ConnectionFailed)
        m_dialogs->information(
            kCaptionInformation,
            QStringLiteral("Nie udało się połączyć z bazą danych. Spróbuj uruchomić program w "
                           "trybie \"Jako Administrator\", zmienić konfigurację bazy danych lub "
                           "sprawdź połączenie z serwerem bazy danych."));
    if (r != TmyDataBase::Connected) {
        m_manageDb->ShowDatabaseManagement();
        r = db.ReadConnectionSettingsAndConnect();
        if (r != TmyDataBase::Connected) {
            m_dialogs->information(
                kCaptionInformation,
                QStringLiteral("Nie udało się połączyć z bazą danych. Sprawdź połączenie z "
                               "serwerem i konfigurację bazdy danych. Program zostanie "
                               "zamknięty. Sprawdź też czy na pewno zainstalowano serwer "
                               "Firebird i czy został on uruchomiony."));
            end(0);
            return false;
        }
    }

    // 6. List state.
    db.ResetListState();

    // 7. Login.
    m_login->setHintsVisible(m_options.cbFirstLog);
    if (!m_login->ShowLogin()) {
        end(0);
        return false;
    }
    w.setLoggedIn(true);
    // 8. The hints are gone from the next start on.
    m_options.cbFirstLog = false;

    // 9. Schema.
    if (!db.UpdateDatabase(2) || !db.UpdateDatabase(4) || !db.UpdateDatabase(5)) {
        end(0);
        return false;
    }

    // 10. Approved-plan lock.
    db.loginState().approvedPlanLock = db.ReadOrCreateParam(QStringLiteral("DISALLOWEDIT"), 1) == 1;

    // 11. Scratch pad.
    m_fiszka->clearLines();
    m_fiszka->addLine(
        QStringLiteral("To jest notatnik, w którym możesz zapisywać informacje tymczasowe."));
    m_fiszka->addLine(
        QStringLiteral("Zawartość tego notatnika czyszczona jest po zakończeniu pracy."));

    // 12. Report filters.
    w.reportsPage()->resetFilters(clock().today());

    // 13. Tools menu, start page, date, generic buttons.
    w.fillToolsMenu(toolMenuNames(m_tools));
    w.showStartPage();
    w.setDateText(clock().today().toString(dateTextFormat()));

    // 14. Notes.
    m_scheduler->LoadNotes();

    // 15. Restricted mode.
    w.applyRestrictedMode();
    m_scheduler->ApplyRestrictedMode(db.loginState().restricted);
    return true;
}

void TApplication::runFirstPaintStep()
{
    if (m_firstPaintDone)
        return;
    m_firstPaintDone = true;
    if (m_options.pokazujPoradeDnia)
        showTipOfTheDay();
    else
        m_tip->setDontShowAgain(true);
    m_store->WriteOptions(m_options);

    const ReminderWindow due =
        reminderWindow(DateToDateNumber(clock().today()), m_options.dataWsteczna,
                       m_options.dataWstecznaMin);
    if (m_db->loginState().restricted)
        return;
    if (m_options.sprawdzajNotatki && onRemindNotes)
        onRemindNotes(due.lower, due.upper);
    if (m_options.sprawdzajTerminy && onRemindDeadlines)
        onRemindDeadlines(due.lower, due.upper);
}

void TApplication::onMainResized()
{
    if (!m_optionsRead)
        return;
    if (!m_startingUp && m_main->windowState() == Qt::WindowNoState) {
        m_options.mainWinWidth = m_main->width();
        m_options.mainWinHeight = m_main->height();
    }
    m_store->WriteWindowSizes(m_options);
}

void TApplication::terminationRequested()
{
    m_terminating = true;
    if (m_main)
        m_main->close();
    QCoreApplication::quit();
}

bool TApplication::closeRequest()
{
    if (m_options.pytajPrzedZamknieciem && !m_terminating &&
        !m_dialogs->question(kCaptionQuestion,
                             QStringLiteral("Czy zakończyć pracę i zamknąć program?")))
        return false;
    QCoreApplication::processEvents();
    m_store->WriteWindowSizes(m_options);
    if (m_gridStorage)
        m_gridStorage->SaveWidths();
    if (m_ownDialogs)
        m_ownDialogs->setEnding(true);
    return true;
}

void TApplication::handleUnexpectedError(const QString& message, const QString& className)
{
    const QString text = message + QStringLiteral(" (") + className + QStringLiteral("; ") +
                         QString::number(errno) + QLatin1Char(')');
    if (!message.contains(QStringLiteral("Transaction is not active"))) {
        m_db->ReportUnexpectedError(text, true, 0);
        return;
    }
    m_db->WriteErrorLog(QStringLiteral("[0000731233]  ") + text);
    if (m_dialogs->question(
            kCaptionError,
            QStringLiteral("Wystąpił nieoczekiwany błąd który może być spowodowany problemami z "
                           "siecią i dostępem do serwera bazy danych. Program może nie działać "
                           "prawidłowo. Zamknij program, sprawdź połączenie z serwerem i "
                           "spróbuj uruchomić go ponownie. Czy chcesz teraz zamknąć program?"))) {
        QCoreApplication::processEvents();
        terminate(1);
    }
}

} // namespace zf

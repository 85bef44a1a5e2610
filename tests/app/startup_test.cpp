// The program's start, login, restricted mode and closing, end to end with real windows and a
// real embedded database in a temporary data folder.
#include "app/application.h"
#include "data/dbgrid.h"
#include "app/loginwindow.h"
#include "app/mainwindow.h"
#include "app/poradadnia.h"
#include "data/managedbwindow.h"
#include "data/mydatabase.h"
#include "tests/app/apprun.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_env.h"
#include "util/gridstorage.h"
#include "util/inifile.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <QToolButton>

using namespace zf;
using test::kQuickCreated;
using test::login;
using test::quickCreate;
using test::Run;


class StartupTest : public QObject
{
    Q_OBJECT

private:
    // A data folder whose INI file points at a database made by a first run.
    void prepareDatabase(const QString& folder)
    {
        Run first(folder);
        quickCreate();
        login(QStringLiteral("admin"), QStringLiteral("zefirant"));
        QVERIFY(first.app->start());
        QCOMPARE(first.dialogs.informationTexts(), QStringList{kQuickCreated});
    }

private slots:
    void firstStartCreatesTheDatabaseAndLogsIn()
    {
        QTemporaryDir dir;
        Run run(dir.path());
        bool hintsShown = false;
        quickCreate();
        test::whenModal<TfLogin>([&](TfLogin* w) {
            hintsShown = w->findChild<QLabel*>(QStringLiteral("lblHintPassword"))->isVisibleTo(w);
            w->findChild<QLineEdit*>(QStringLiteral("edUser"))->setText(QStringLiteral("admin"));
            w->findChild<QLineEdit*>(QStringLiteral("edPassword"))->setText(QStringLiteral("zefirant"));
            w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        });
        QVERIFY(run.app->start());
        QVERIFY(hintsShown);
        TfMain& w = run.app->mainWindow();
        QCOMPARE(w.windowTitle(), QStringLiteral("Zefirant PL+ 2.5"));
        QCOMPARE(w.currentPage(), TfMain::Page::Start);
        QVERIFY(!w.findChild<QWidget*>(QStringLiteral("pnlGenericButtons"))->isVisible());
        QVERIFY(!w.findChild<QPushButton*>(QStringLiteral("SBDodaj"))->isEnabled());
        QVERIFY(run.app->db().IsConnected());
        QVERIFY(run.app->db().location.startsWith(dir.path() + QStringLiteral("/database/db")));
        QVERIFY(run.app->db().loginState().approvedPlanLock);

        // The lists open on the new database.
        w.showPlansPage();
        w.showPersonnelPage();
        w.showDeadlinesPage();
        w.showReportsPage();
        QCOMPARE(run.dialogs.informationTexts(), QStringList{kQuickCreated});

        // First paint: the tip of the day, ticked "do not show again".
        test::whenModal<TfPoradaDnia>([](TfPoradaDnia* t) {
            t->findChild<QCheckBox*>(QStringLiteral("cbNiePokazuj"))->setChecked(true);
            t->accept();
        });
        run.app->runFirstPaintStep();
        const IniFile ini(dir.path() + QStringLiteral("/zefirant.ini"));
        QCOMPARE(ini.readInteger(QStringLiteral("OPTIONS"), QStringLiteral("pokazujPoradeDnia"), 9), 0);
        QCOMPARE(ini.readInteger(QStringLiteral("OPTIONS"), QStringLiteral("cbFirstLog"), 9), 0);
    }

    void secondStartConnectsAtOnceWithoutHints()
    {
        QTemporaryDir dir;
        prepareDatabase(dir.path());
        IniFile(dir.path() + QStringLiteral("/zefirant.ini"))
            .writeString(QStringLiteral("OPTIONS"), QStringLiteral("cbFirstLog"), QStringLiteral("0"));
        Run run(dir.path());
        IniFile(dir.path() + QStringLiteral("/zefirant.ini"))
            .writeString(QStringLiteral("OPTIONS"), QStringLiteral("mainWinWidth"), QStringLiteral("900"));
        IniFile(dir.path() + QStringLiteral("/zefirant.ini"))
            .writeString(QStringLiteral("OPTIONS"), QStringLiteral("mainWinHeight"), QStringLiteral("700"));
        bool hintsShown = true;
        QPoint loginCentre;
        QPoint mainCentre;
        test::whenModal<TfLogin>([&](TfLogin* w) {
            hintsShown = w->findChild<QLabel*>(QStringLiteral("lblHintUser"))->isVisibleTo(w);
            loginCentre = w->frameGeometry().center();
            mainCentre = w->parentWidget()->frameGeometry().center();
            w->findChild<QLineEdit*>(QStringLiteral("edUser"))->setText(QStringLiteral("admin"));
            w->findChild<QLineEdit*>(QStringLiteral("edPassword"))->setText(QStringLiteral("zefirant"));
            w->findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
        });
        QVERIFY(run.app->start());
        QVERIFY(!hintsShown);
        // Centred over the main window, as on the first start.
        QVERIFY2((loginCentre - mainCentre).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2 vs %3,%4").arg(loginCentre.x()).arg(loginCentre.y())
                                .arg(mainCentre.x()).arg(mainCentre.y())));
        QVERIFY(run.dialogs.shown().empty());
    }

    void databaseAtVersionTwoIsOfferedVersionFour()
    {
        QTemporaryDir dir;
        prepareDatabase(dir.path());
        {
            Run probe(dir.path());
            login(QStringLiteral("admin"), QStringLiteral("zefirant"));
            QVERIFY(probe.app->start());
            QVERIFY(probe.app->db().Write(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=2 WHERE ID='DBUPDATEDTO'"), {}, 1));
        }
        Run run(dir.path());
        login(QStringLiteral("admin"), QStringLiteral("zefirant"));
        run.dialogs.answer(true);
        run.dialogs.answer(true);
        QVERIFY(run.app->start());
        QCOMPARE(run.dialogs.questionTexts().size(), 2);
        QVERIFY(run.dialogs.questionTexts()[0].contains(QStringLiteral("do wersji x.4.")));
        QVERIFY(run.dialogs.questionTexts()[1].contains(QStringLiteral("do wersji x.5.")));
        QCOMPARE(run.dialogs.informationTexts(),
                 (QStringList{QStringLiteral("Baza danych została zaktualizowana poprawnie do wersji x.4."),
                              QStringLiteral("Baza danych została zaktualizowana poprawnie do wersji x.5.")}));
    }

    void restrictedLoginHidesAndDisables()
    {
        QTemporaryDir dir;
        prepareDatabase(dir.path());
        Run run(dir.path());
        login(QStringLiteral("pracownik"), QStringLiteral("pracownik"));
        QVERIFY(run.app->start());
        TfMain& w = run.app->mainWindow();
        QVERIFY(run.app->db().loginState().restricted);
        for (const char* name : {"actOpcje", "actSlowniki", "actTerminarz", "actPracownicy", "actNotatnik",
                                 "pmKonfiguruj", "pmEdytujKalendarz", "pmSkasujPlan"})
            QVERIFY2(!w.action(QString::fromLatin1(name))->isVisible(), name);
        QVERIFY(w.action(QStringLiteral("actPlany"))->isVisible());
        QVERIFY(w.action(QStringLiteral("pmOtworz"))->isVisible());
        QVERIFY(!w.findChild<QMenu*>(QStringLiteral("mnuDodatki"))->isEnabled());
        QVERIFY(!w.findChild<QMenu*>(QStringLiteral("mnuNarzedzia"))->isEnabled());
        for (const char* name : {"SBSlowniki", "SBPracownicy", "SBTerminarz", "SBNotatnik"})
            QVERIFY2(!w.sectionButton(QString::fromLatin1(name))->isEnabled(), name);
        QVERIFY(w.sectionButton(QStringLiteral("SBPlany"))->isEnabled());
        for (const char* name : {"SBStworz", "SBSkopiuj", "SBKonfiguruj", "SBEdytujKalendarz",
                                 "SBEksportuj", "SBImportuj", "SBSkasujPlan"})
            QVERIFY2(!w.findChild<QPushButton*>(QString::fromLatin1(name))->isEnabled(), name);
        QVERIFY(w.findChild<QPushButton*>(QStringLiteral("SBOtworz"))->isEnabled());
        QVERIFY(w.findChild<QPushButton*>(QStringLiteral("SBOpenDir"))->isEnabled());
    }

    void threeFailedLoginsEndTheProgram()
    {
        QTemporaryDir dir;
        prepareDatabase(dir.path());
        Run run(dir.path());
        int attempts = 0;
        test::whenModal<TfLogin>([&](TfLogin* w) {
            auto* user = w->findChild<QLineEdit*>(QStringLiteral("edUser"));
            auto* pwd = w->findChild<QLineEdit*>(QStringLiteral("edPassword"));
            auto* ok = w->findChild<QPushButton*>(QStringLiteral("btnOK"));
            for (int i = 0; i < 3 && w->isVisible(); ++i) {
                user->setText(QStringLiteral("admin"));
                pwd->setText(QStringLiteral("zle"));
                ok->click();
                ++attempts;
                QVERIFY(pwd->text().isEmpty());
            }
        });
        QVERIFY(!run.app->start());
        QCOMPARE(attempts, 3);
        QCOMPARE(run.app->loginWindow().attempts(), 3);
    }

    void escapeInTheUserFieldEndsTheProgram()
    {
        QTemporaryDir dir;
        prepareDatabase(dir.path());
        Run run(dir.path());
        test::whenModal<TfLogin>([](TfLogin* w) {
            auto* pwd = w->findChild<QLineEdit*>(QStringLiteral("edPassword"));
            QTest::keyClick(pwd, Qt::Key_Escape);
            QVERIFY(w->isVisible()); // Esc in the password field does nothing
            QTest::keyClick(w->findChild<QLineEdit*>(QStringLiteral("edUser")), Qt::Key_Escape);
        });
        QVERIFY(!run.app->start());
        QVERIFY(run.app->loginWindow().endRequested());
    }

    void aSecondCopyIsRefused()
    {
        QTemporaryDir dir;
        prepareDatabase(dir.path());
        Run first(dir.path(), {});
        login(QStringLiteral("admin"), QStringLiteral("zefirant"));
        QVERIFY(first.app->start());
        Run second(dir.path(), {QStringLiteral("enablemultirun")});
        QVERIFY(!second.app->start());
        QCOMPARE(second.dialogs.informationTexts(),
                 QStringList{QStringLiteral("Program Zefirant PL+ jest już uruchomiony!")});
        Run third(dir.path(), {QStringLiteral("ENABLEMULTIRUN")});
        login(QStringLiteral("admin"), QStringLiteral("zefirant"));
        QVERIFY(third.app->start());
    }

    void aMissingDatabaseOffersTheDatabaseWindowThenEnds()
    {
        QTemporaryDir dir;
        prepareDatabase(dir.path());
        IniFile(dir.path() + QStringLiteral("/zefirant.ini"))
            .writeString(QStringLiteral("DATABASE"), QStringLiteral("lokalizacja"),
                         dir.path() + QStringLiteral("/gone.fdb"));
        Run run(dir.path());
        bool databaseWindowShown = false;
        test::whenModal<TfManageDB>([&](TfManageDB* w) {
            databaseWindowShown = true;
            w->findChild<QPushButton*>(QStringLiteral("btnClose"))->click();
        });
        QVERIFY(!run.app->start());
        QVERIFY(databaseWindowShown);
        const QStringList texts = run.dialogs.informationTexts();
        QCOMPARE(texts.size(), 2);
        QVERIFY(texts[0].startsWith(QStringLiteral("Nie udało się połączyć z bazą danych. Spróbuj uruchomić")));
        QVERIFY(texts[1].contains(QStringLiteral("Program zostanie zamknięty.")));
    }

    void aSecondCopyOnALocalDatabaseIsToldItServesOneCopy()
    {
        QTemporaryDir dir;
        prepareDatabase(dir.path());
        const QString location = IniFile(dir.path() + QStringLiteral("/zefirant.ini"))
                                     .readString(QStringLiteral("DATABASE"),
                                                 QStringLiteral("lokalizacja"));
        // The first copy: another process whose own embedded engine has the file open.
        QProcess first;
        first.start(QStringLiteral("isql-fb"), {QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                                                QStringLiteral("-password"), QStringLiteral("x"),
                                                location});
        QVERIFY2(first.waitForStarted(), "isql-fb (firebird3.0-utils) is missing");
        first.write("SELECT 'ATTACHED' FROM RDB$DATABASE;\n");
        QByteArray said;
        while (!said.contains("ATTACHED") && first.waitForReadyRead(10000))
            said += first.readAllStandardOutput();
        QVERIFY2(said.contains("ATTACHED"), said.constData());

        Run second(dir.path());
        // Watches only while this copy starts; a later test's window is left to that test.
        bool databaseWindowShown = false;
        QTimer watch;
        watch.setInterval(10);
        connect(&watch, &QTimer::timeout, this, [&databaseWindowShown] {
            if (auto* w = qobject_cast<TfManageDB*>(QApplication::activeModalWidget())) {
                databaseWindowShown = true;
                w->reject();
            }
        });
        watch.start();
        QVERIFY(!second.app->start());
        watch.stop();
        QVERIFY(!databaseWindowShown);
        const QStringList texts = second.dialogs.informationTexts();
        QCOMPARE(texts.size(), 1);
        QVERIFY2(texts[0].contains(QStringLiteral("obsługuje jedną kopię programu naraz")) &&
                     texts[0].contains(QStringLiteral("scripts/office-server.sh")) &&
                     texts[0].contains(location),
                 qPrintable(texts[0]));

        // Once the first copy has closed the database, a copy starts on it.
        first.closeWriteChannel();
        QVERIFY(first.waitForFinished());
        Run third(dir.path());
        login(QStringLiteral("admin"), QStringLiteral("zefirant"));
        QVERIFY(third.app->start());
    }

    void damagedSettingsGiveDefaults()
    {
        QTemporaryDir dir;
        prepareDatabase(dir.path());
        QFile ini(dir.path() + QStringLiteral("/zefirant.ini"));
        QVERIFY(ini.open(QIODevice::Append));
        ini.write("\r\n\xff\xfe garbage\r\n[OPTIONS]\r\nmainWinWidth=wide\r\n[VERSION]\r\nmain=3.0\r\n");
        ini.close();
        Run run(dir.path());
        login(QStringLiteral("admin"), QStringLiteral("zefirant"));
        QVERIFY(run.app->start());
        QCOMPARE(run.app->options().mainWinWidth, -1);
        QCOMPARE(run.app->mainWindow().windowTitle(), QStringLiteral("Zefirant PL+ 2.5"));
        QCOMPARE(IniFile(dir.path() + QStringLiteral("/zefirant.ini"))
                     .readString(QStringLiteral("VERSION"), QStringLiteral("main")),
                 QStringLiteral("2.5"));
    }

    void closingAsksAndSavesSizesAndWidths()
    {
        QTemporaryDir dir;
        prepareDatabase(dir.path());
        {
            Run run(dir.path());
            login(QStringLiteral("admin"), QStringLiteral("zefirant"));
            QVERIFY(run.app->start());
            TfMain& w = run.app->mainWindow();
            w.resize(900, 600);
            w.osobowaGrid()->setColumnWidth(2, 333);
            run.dialogs.answer(false);
            QVERIFY(!w.close());
            QVERIFY(w.isVisible());
            run.dialogs.answer(true);
            QVERIFY(w.close());
        }
        const IniFile ini(dir.path() + QStringLiteral("/zefirant.ini"));
        QCOMPARE(ini.readInteger(QStringLiteral("OPTIONS"), QStringLiteral("mainWinWidth"), 0), 900);
        QVERIFY(ini.readString(QStringLiteral("DBGRID"), QStringLiteral("osobowaGrid")).contains(QStringLiteral(",333,")));
        Run again(dir.path());
        login(QStringLiteral("admin"), QStringLiteral("zefirant"));
        QVERIFY(again.app->start());
        QCOMPARE(again.app->mainWindow().width(), 900);
        QCOMPARE(again.app->mainWindow().osobowaGrid()->columnWidth(2), 333);
    }

    void unexpectedErrorsAreReportedOrEndTheProgram()
    {
        QTemporaryDir dir;
        prepareDatabase(dir.path());
        Run run(dir.path());
        login(QStringLiteral("admin"), QStringLiteral("zefirant"));
        QVERIFY(run.app->start());
        run.app->handleUnexpectedError(QStringLiteral("coś poszło źle"), QStringLiteral("TfMain"));
        QVERIFY(run.dialogs.informationTexts().last().startsWith(
            QStringLiteral("Wystąpił nieoczekiwany błąd. Orginalny komunikat: coś poszło źle (TfMain; ")));
        QCOMPARE(run.terminatedWith, -1);
        run.dialogs.answer(false);
        run.app->handleUnexpectedError(QStringLiteral("Transaction is not active"), QStringLiteral("X"));
        QCOMPARE(run.terminatedWith, -1);
        run.dialogs.answer(true);
        run.app->handleUnexpectedError(QStringLiteral("Transaction is not active"), QStringLiteral("X"));
        QCOMPARE(run.terminatedWith, 1);
        QFile log(dir.path() + QStringLiteral("/debug/error.log"));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains("[0000731233]  Transaction is not active (X; "));
    }
};

ZF_QTEST_MAIN(StartupTest)
#include "startup_test.moc"

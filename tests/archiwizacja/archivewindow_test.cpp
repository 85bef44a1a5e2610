// The archiving tool's window offscreen: its controls, the database shown, a backup and a
// restore through its buttons with scripted file choices, refusals and closing mid-run.
#include "archiwizacja/archivewindow.h"
#include "data/databasecreation.h"
#include "data/scriptrunner.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/qtest_main.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_env.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace zf;
using namespace zf::archive;
using Kind = test::ScriptedDialogs::Kind;

class TestArchiveWindow : public QObject
{
    Q_OBJECT

private:
    template <class T> T* child(const char* name)
    {
        auto* w = window->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qWarning("missing control %s", name);
        return w;
    }

    void makeWindow(TfArchiwizacja::Inputs inputs)
    {
        window = std::make_unique<TfArchiwizacja>(*dialogs, std::move(inputs));
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    TfArchiwizacja::Inputs localInputs(bool fromZefirant = true) const
    {
        TfArchiwizacja::Inputs in;
        in.settings = Settings{database, QStringLiteral("SYSDBA"), QStringLiteral("lanternox")};
        in.fromZefirant = fromZefirant;
        return in;
    }

    // Clicks and waits for the run to end; the buttons are off while gbak works.
    Archiver::Result clickAndWait(const char* button)
    {
        QSignalSpy spy(window.get(), &TfArchiwizacja::operationFinished);
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
        if (window->archiver()->isRunning()) {
            running = !child<QPushButton>("SBKopia")->isEnabled() &&
                      !child<QPushButton>("SBOdtworz")->isEnabled() &&
                      child<QProgressBar>("pbPostep")->maximum() == 0;
            // Only a guard against a hung gbak.
            spy.wait(180000);
        }
        if (spy.isEmpty())
            return {};
        return spy.first().first().value<Archiver::Result>();
    }

    std::unique_ptr<QTemporaryDir> scratch;
    std::unique_ptr<test::ScriptedDialogs> dialogs;
    std::unique_ptr<test::FixedClock> fixedClock;
    std::unique_ptr<TfArchiwizacja> window;
    QString database;
    bool running = false;

private slots:
    void initTestCase() { qRegisterMetaType<Archiver::Result>(); }

    void init()
    {
        scratch = std::make_unique<QTemporaryDir>();
        dialogs = std::make_unique<test::ScriptedDialogs>();
        fixedClock = std::make_unique<test::FixedClock>(QDateTime(QDate(2024, 5, 6), QTime(9, 30)));
        database = scratch->path() + QStringLiteral("/kadry.fdb");
        QFile script(DatabaseCreator::CreationScriptPath(test::programFolder()));
        QVERIFY(script.open(QIODevice::ReadOnly));
        DatabaseCreator creator;
        const auto error =
            creator.create(database, QStringLiteral("SYSDBA"), QStringLiteral("lanternox"),
                           decipherScript(script.readAll()));
        QVERIFY2(!error, error ? qPrintable(error->message) : "");
        creator.DB.detach();
        running = false;
    }

    void cleanup()
    {
        window.reset();
        fixedClock.reset();
        dialogs.reset();
        scratch.reset();
    }

    void showsTheDatabaseAndItsButtons()
    {
        makeWindow(localInputs());
        QCOMPARE(window->windowTitle(), QStringLiteral("Archiwizacja bazy danych - Zefirant PL+"));
        QCOMPARE(child<QLineEdit>("fLokalizacja")->text(), database);
        QVERIFY(child<QLineEdit>("fLokalizacja")->isReadOnly());
        QCOMPARE(child<QLineEdit>("fUzytkownik")->text(), QStringLiteral("SYSDBA"));
        QCOMPARE(child<QPushButton>("SBKopia")->text(),
                 QStringLiteral("Wykonaj kopię zapasową..."));
        QCOMPARE(child<QPushButton>("SBOdtworz")->text(),
                 QStringLiteral("Odtwórz bazę z kopii..."));
        QCOMPARE(child<QPushButton>("SBZamknij")->text(), QStringLiteral("Zamknij"));
        QVERIFY(child<QPushButton>("SBKopia")->isEnabled());
        QVERIFY(child<QPushButton>("SBOdtworz")->isEnabled());
        QVERIFY(child<QPlainTextEdit>("mLog")->isReadOnly());
        // Started from the program: the open program holds a local database.
        QVERIFY(child<QLabel>("lUwaga")->text().contains(QStringLiteral("zamknij Zefirant PL+")));
        QVERIFY(dialogs->shown().empty());
    }

    void theHintFollowsWhereTheDatabaseIs()
    {
        makeWindow(localInputs(false));
        QVERIFY(child<QLabel>("lUwaga")->text().contains(
            QStringLiteral("Przed wykonaniem kopii zamknij program Zefirant PL+")));
        window.reset();

        TfArchiwizacja::Inputs server;
        server.settings = Settings{QStringLiteral("serwer-kadr:/var/lib/firebird/kadry.fdb"),
                                   QStringLiteral("SYSDBA"), QStringLiteral("x")};
        server.fromZefirant = true;
        makeWindow(server);
        QCOMPARE(child<QLineEdit>("fLokalizacja")->text(),
                 QStringLiteral("serwer-kadr:/var/lib/firebird/kadry.fdb"));
        QVERIFY(child<QLabel>("lUwaga")->text().contains(QStringLiteral("na serwerze")));
    }

    void theOpenProgramNoteFollowsTheProgramsLock()
    {
        // Started from the program, which has been closed since: the lock is free.
        bool running = true;
        TfArchiwizacja::Inputs in = localInputs(true);
        in.programRunning = [&running] { return running; };
        makeWindow(std::move(in));
        QVERIFY(child<QLabel>("lUwaga")->text().contains(QStringLiteral("jest otwarty")));
        running = false;
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->refreshHint();
        QVERIFY(!child<QLabel>("lUwaga")->text().contains(QStringLiteral("jest otwarty")));
        QVERIFY(child<QLabel>("lUwaga")->text().contains(
            QStringLiteral("Przed wykonaniem kopii zamknij program Zefirant PL+")));
        window.reset();

        // Started on its own while the program is open.
        TfArchiwizacja::Inputs alone = localInputs(false);
        alone.programRunning = [] { return true; };
        makeWindow(std::move(alone));
        QVERIFY(child<QLabel>("lUwaga")->text().contains(QStringLiteral("jest otwarty")));
    }

    void withoutSettingsNothingCanStart()
    {
        TfArchiwizacja::Inputs none;
        none.settingsError = QStringLiteral("Nie znaleziono ustawień programu Zefirant PL+.");
        makeWindow(none);
        QVERIFY(!window->archiver());
        QVERIFY(!child<QPushButton>("SBKopia")->isEnabled());
        QVERIFY(!child<QPushButton>("SBOdtworz")->isEnabled());
        QVERIFY(child<QPushButton>("SBZamknij")->isEnabled());
        QCOMPARE(child<QLineEdit>("fLokalizacja")->text(), QStringLiteral("(brak ustawień)"));
        QTRY_COMPARE(dialogs->shown().size(), size_t(1));
        QCOMPARE(dialogs->shown()[0].caption, QStringLiteral("Błąd"));
        QCOMPARE(dialogs->shown()[0].text, none.settingsError);
    }

    void backupAndRestoreThroughTheButtons()
    {
        makeWindow(localInputs());
        const QString backup = scratch->path() + QStringLiteral("/kopia zapasowa.fbk");
        dialogs->chooseFile(backup);
        const Archiver::Result b = clickAndWait("SBKopia");
        QVERIFY(running);
        QVERIFY2(b.ok, qPrintable(b.message));
        QVERIFY(QFileInfo(backup).size() > 0);
        QCOMPARE(dialogs->shown().size(), size_t(2));
        QCOMPARE(dialogs->shown()[0].kind, Kind::SaveFile);
        QCOMPARE(dialogs->shown()[1].caption, QStringLiteral("Informacja"));
        QCOMPARE(dialogs->shown()[1].text, b.message);
        QVERIFY(child<QPushButton>("SBKopia")->isEnabled());
        QCOMPARE(child<QProgressBar>("pbPostep")->maximum(), 100);
        QCOMPARE(child<QProgressBar>("pbPostep")->value(), 100);
        QCOMPARE(child<QLabel>("lStatus")->text(),
                 QStringLiteral("Kopia zapasowa została zapisana."));
        const QString log = child<QPlainTextEdit>("mLog")->toPlainText();
        QVERIFY2(log.contains(QStringLiteral("gbak:")), qPrintable(log));
        QVERIFY(log.contains(b.message));
        QVERIFY(!log.contains(QStringLiteral("lanternox")));

        dialogs->clear();
        running = false;
        const QString restored = scratch->path() + QStringLiteral("/odtworzona.fdb");
        dialogs->chooseFile(backup);
        dialogs->chooseFile(restored);
        const Archiver::Result r = clickAndWait("SBOdtworz");
        QVERIFY(running);
        QVERIFY2(r.ok, qPrintable(r.message));
        QCOMPARE(r.file, restored);
        QVERIFY(QFileInfo(restored).size() > 0);
        QCOMPARE(dialogs->shown().size(), size_t(3));
        QCOMPARE(dialogs->shown()[0].kind, Kind::OpenFile);
        QCOMPARE(dialogs->shown()[1].kind, Kind::SaveFile);
        QCOMPARE(dialogs->shown()[2].caption, QStringLiteral("Informacja"));
        QCOMPARE(child<QLabel>("lStatus")->text(),
                 QStringLiteral("Baza danych została odtworzona."));
    }

    void refusalsAndFailuresAreShownAndChangeNothing()
    {
        makeWindow(localInputs());
        // Restoring onto an existing file is refused before anything runs.
        const QString existing = scratch->path() + QStringLiteral("/stara.fdb");
        {
            QFile f(existing);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("dane");
        }
        const QString notBackup = scratch->path() + QStringLiteral("/to nie kopia.fbk");
        {
            QFile f(notBackup);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("zwykły tekst");
        }
        dialogs->chooseFile(notBackup);
        dialogs->chooseFile(existing);
        QTest::mouseClick(child<QPushButton>("SBOdtworz"), Qt::LeftButton);
        QVERIFY(!window->archiver()->isRunning());
        QCOMPARE(dialogs->shown().back().caption, QStringLiteral("Uwaga"));
        QVERIFY(dialogs->shown().back().text.contains(QStringLiteral("już istnieje")));
        QVERIFY(child<QPushButton>("SBOdtworz")->isEnabled());
        QFile kept(existing);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("dane"));

        // A file that is no backup reaches gbak, and its answer is told plainly.
        dialogs->clear();
        const QString target = scratch->path() + QStringLiteral("/nowa.fdb");
        dialogs->chooseFile(notBackup);
        dialogs->chooseFile(target);
        const Archiver::Result r = clickAndWait("SBOdtworz");
        QVERIFY(!r.ok);
        QCOMPARE(dialogs->shown().back().caption, QStringLiteral("Błąd"));
        QVERIFY(dialogs->shown().back().text.contains(QStringLiteral("nie jest kopią zapasową")));
        QVERIFY(!QFileInfo::exists(target));
        QCOMPARE(child<QProgressBar>("pbPostep")->value(), 0);
        QCOMPARE(child<QLabel>("lStatus")->text(),
                 QStringLiteral("Nie udało się odtworzyć bazy danych."));

        // A cancelled file choice does nothing at all.
        dialogs->clear();
        dialogs->chooseFile(QString());
        QTest::mouseClick(child<QPushButton>("SBKopia"), Qt::LeftButton);
        QVERIFY(!window->archiver()->isRunning());
        QCOMPARE(dialogs->shown().size(), size_t(1));
    }

    void closingMidRunAsksAndCleansUp()
    {
        makeWindow(localInputs());
        const QString backup = scratch->path() + QStringLiteral("/kopia.fbk");
        dialogs->chooseFile(backup);
        QTest::mouseClick(child<QPushButton>("SBKopia"), Qt::LeftButton);
        QVERIFY(window->archiver()->isRunning());

        dialogs->answer(false);
        QTest::mouseClick(child<QPushButton>("SBZamknij"), Qt::LeftButton);
        QVERIFY(window->isVisible());
        QCOMPARE(dialogs->shown().back().kind, Kind::Question);

        dialogs->answer(true);
        QTest::mouseClick(child<QPushButton>("SBZamknij"), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!window->archiver()->isRunning(), 180000);
        // No message follows the closed window.
        QCOMPARE(dialogs->shown().back().kind, Kind::Question);
        const QStringList left = QDir(scratch->path()).entryList(QDir::Files | QDir::Hidden);
        QCOMPARE(left, QStringList{QStringLiteral("kadry.fdb")});
    }
};

ZF_QTEST_MAIN(TestArchiveWindow)
#include "archivewindow_test.moc"

// The reminders of the first paint and the scheduler's commands of the main window, in a whole
// program run with real windows, a real embedded database and a fixed today.
#include "app/application.h"
#include "app/mainwindow.h"
#include "data/mydatabase.h"
#include "scheduler/notatki.h"
#include "scheduler/schedulerwindow.h"
#include "scheduler/shownotatka.h"
#include "scheduler/sprawdzeniedat.h"
#include "scheduler/terminarz.h"
#include "tests/app/apprun.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/modal.h"
#include "tests/support/qtest_main.h"
#include "util/dates.h"
#include "util/inifile.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace zf;
using test::login;
using test::quickCreate;
using test::Run;

namespace {

using test::click;
using test::onModal;

QString memoText(QWidget* w, const char* memo)
{
    return w->findChild<QPlainTextEdit*>(QString::fromLatin1(memo))->toPlainText();
}

} // namespace

class StartupRemindersTest : public QObject
{
    Q_OBJECT

    // A data folder whose database holds notes and deadlines around 10-03-2024.
    void prepare(const QString& folder, bool withReminders = true)
    {
        Run first(folder);
        quickCreate();
        login(QStringLiteral("admin"), QStringLiteral("zefirant"));
        QVERIFY(first.app->start());
        TmyDataBase& db = first.app->db();
        if (withReminders) {
            const auto deadline = [&db](int id, int date, const QString& description) {
                return db.Write(TmyDataBase::DBFUScheduler.insertSql,
                                {{QStringLiteral("IDTERM"), id},
                                 {QStringLiteral("IDDICCLASS"), 0},
                                 {QStringLiteral("DATESINCE"), date},
                                 {QStringLiteral("IDEMPLOYEE"), QString()},
                                 {QStringLiteral("DESCRIPTION"), description},
                                 {QStringLiteral("OTHER"), QString()},
                                 {QStringLiteral("ACT"), QStringLiteral("T")}},
                                1);
            };
            QVERIFY(deadline(1, 20240315, QStringLiteral("Przegląd gaśnic")));
            QVERIFY(deadline(2, 20240401, QStringLiteral("Za późno na przypomnienie")));
            NoteSlots notes;
            notes[0] = {QStringLiteral("10-03-2024"), QStringLiteral("Zadzwonić do ZUS"), {}};
            notes[1] = {QStringLiteral("20-03-2024"), QStringLiteral("Później"), {}};
            notes[2] = {QStringLiteral("09-03-2024"), QStringLiteral("Wczorajsza"), {}};
            NoteSlotSet all;
            all.set();
            QVERIFY(db.SaveNotes(notes, all));
        }
        IniFile(folder + QStringLiteral("/zefirant.ini"))
            .writeString(QStringLiteral("OPTIONS"), QStringLiteral("pokazujPoradeDnia"),
                         QStringLiteral("0"));
    }

    static QString storedNote(TApplication& app, int id)
    {
        QString result;
        app.db().Utility(1, [&](fb::Statement& st) {
            st.setSql(
                QStringLiteral("SELECT DESCRIPTION FROM GLOBALNOTES WHERE IDNOTE=%1").arg(id));
            st.execute();
            if (st.fetch())
                result = st.value(0).toString();
            st.close();
        });
        return result;
    }

private slots:
    void dueNotesThenDueDeadlinesAtTheFirstPaint()
    {
        test::FixedClock clock(QDateTime(QDate(2024, 3, 10), QTime(8, 0)));
        QTemporaryDir dir;
        prepare(dir.path());
        Run run(dir.path());
        login(QStringLiteral("admin"), QStringLiteral("zefirant"));
        QVERIFY(run.app->start());

        QStringList notes;
        QString deadlines;
        bool deleteShown = false;
        onModal<TfShowNotatka>([&](TfShowNotatka* w) {
            notes << memoText(w, "memoNotatka");
            onModal<TfShowNotatka>([&](TfShowNotatka* second) {
                notes << memoText(second, "memoNotatka");
                deleteShown =
                    second->findChild<QPushButton*>(QStringLiteral("SBUsun"))->isVisible();
                click(second, "SBUsun");
            });
            click(w, "SBOk");
        });
        onModal<TfSprawdzenieDat>([&](TfSprawdzenieDat* w) {
            deadlines = memoText(w, "memoTerminy");
            click(w, "SBOk");
        });
        run.dialogs.answer(true); // "Czy usunąć notatkę?"
        run.app->runFirstPaintStep();

        QCOMPARE(notes,
                 (QStringList{QStringLiteral("Zadzwonić do ZUS"), QStringLiteral("Wczorajsza")}));
        QVERIFY(deleteShown);
        QCOMPARE(deadlines, QStringLiteral("Termin na dzień: ") + DateNumberToText(20240315) +
                                QStringLiteral("\nPrzegląd gaśnic\n\n") +
                                QString(51, QLatin1Char('-')));
        QCOMPARE(run.dialogs.questionTexts(), QStringList{QStringLiteral("Czy usunąć notatkę?")});
        QCOMPARE(storedNote(*run.app, 1), QStringLiteral("Zadzwonić do ZUS"));
        QCOMPARE(storedNote(*run.app, 3), QString());
    }

    void restrictedLoginsAndSwitchedOffOptionsGetNoReminders()
    {
        test::FixedClock clock(QDateTime(QDate(2024, 3, 10), QTime(8, 0)));
        QTemporaryDir dir;
        prepare(dir.path());
        int reminders = 0;
        const auto watch = [&reminders] {
            test::whenModal<QDialog>(
                [&reminders](QDialog* w) {
                    ++reminders;
                    w->reject();
                },
                300);
        };
        {
            Run run(dir.path());
            login(QStringLiteral("pracownik"), QStringLiteral("pracownik"));
            QVERIFY(run.app->start());
            TfShowNotatka& note = run.app->scheduler().noteWindow();
            QVERIFY(!note.findChild<QPushButton*>(QStringLiteral("SBUsun"))->isVisibleTo(&note));
            watch();
            run.app->runFirstPaintStep();
            QTest::qWait(400);
        }
        IniFile ini(dir.path() + QStringLiteral("/zefirant.ini"));
        ini.writeString(QStringLiteral("OPTIONS"), QStringLiteral("sprawdzajNotatki"),
                        QStringLiteral("0"));
        ini.writeString(QStringLiteral("OPTIONS"), QStringLiteral("sprawdzajTerminy"),
                        QStringLiteral("0"));
        {
            Run run(dir.path());
            login(QStringLiteral("admin"), QStringLiteral("zefirant"));
            QVERIFY(run.app->start());
            watch();
            run.app->runFirstPaintStep();
            QTest::qWait(400);
            QVERIFY(run.dialogs.shown().empty());
        }
        QCOMPARE(reminders, 0);
    }

    void theMainWindowReachesTheSchedulerAndTheNotes()
    {
        test::FixedClock clock(QDateTime(QDate(2024, 3, 10), QTime(8, 0)));
        QTemporaryDir dir;
        prepare(dir.path(), false);
        Run run(dir.path());
        login(QStringLiteral("admin"), QStringLiteral("zefirant"));
        QVERIFY(run.app->start());
        TfMain& w = run.app->mainWindow();

        w.action(QStringLiteral("actSprawdzTerminy"))->trigger();
        QCOMPARE(run.dialogs.informationTexts(),
                 QStringList{QStringLiteral("Nie znaleziono żadnych terminów.")});

        w.showDeadlinesPage();
        onModal<TfScheduler>([](TfScheduler* e) {
            e->findChild<QLineEdit*>(QStringLiteral("fDATESINCE"))
                ->setText(QStringLiteral("12-03-2024"));
            e->findChild<QPlainTextEdit*>(QStringLiteral("fDESCRIPTION"))
                ->setPlainText(QStringLiteral("Nowy"));
            click(e, "SBZapisz");
        });
        w.cmdDodaj();
        QCOMPARE(run.app->db().DBFScheduler.recordCount(), 1);
        QCOMPARE(run.app->db().DBFScheduler.asString(QStringLiteral("SDESCRIPTION")),
                 QStringLiteral("Nowy"));

        QString deadlines;
        onModal<TfSprawdzenieDat>([&](TfSprawdzenieDat* r) {
            deadlines = memoText(r, "memoTerminy");
            click(r, "SBOk");
        });
        w.action(QStringLiteral("actSprawdzTerminy"))->trigger();
        QVERIFY(deadlines.contains(QStringLiteral("Nowy")));

        onModal<TfNotatki>([](TfNotatki* n) {
            n->findChild<QPlainTextEdit*>(QStringLiteral("memoNotatka"))
                ->setPlainText(QStringLiteral("Z menu"));
            click(n, "SBOk");
        });
        w.action(QStringLiteral("actNotatnik"))->trigger();
        QCOMPARE(storedNote(*run.app, 1), QStringLiteral("Z menu"));
    }
};

ZF_QTEST_MAIN(StartupRemindersTest)
#include "startup_reminders_test.moc"

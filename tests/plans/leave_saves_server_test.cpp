// Two clerks (or a clerk and "Wczytaj wypełnione") saving one employee's leave at the same moment
// on the server: the stored days are always exactly one save's, never a mixture and never the
// engine's duplicate-key text. Also the plan status written by two copies, and the employee
// import held up by another copy.
#include "tests/data/shared_database.h"

#include "data/fb/connection.h"
#include "data/fb/statement.h"
#include "data/fb/transaction.h"
#include "personnel/importemployees.h"
#include "planfiles/planfile.h"
#include "planfiles/workingwithxml.h"
#include "plans/editcalendar.h"
#include "util/dates.h"

#include <QTemporaryDir>
#include <QThread>

#include <barrier>
#include <functional>
#include <future>
#include <thread>

namespace zf {
namespace {

using servertest::kUser;

constexpr int kYear = 2027;
constexpr int kCode = 4243;
constexpr int kRounds = 24;
const QString kEmployee = QStringLiteral("E1");
const QString kConflict =
    QStringLiteral("Inny użytkownik zmienia w tej chwili te same dane. Spróbuj ponownie.");

// One save's schedule: the leave days and the unchangeable ones.
struct Schedule
{
    QList<int> chosen;
    QList<int> fixed;
    bool operator==(const Schedule&) const = default;
};

// The days `from` to `to` of the plan year (1 is 1 January), the first three unchangeable.
Schedule daysOfYear(int from, int to)
{
    Schedule s;
    for (int d = from; d <= to; ++d)
        s.chosen << AddDays(kYear * 10000 + 101, d - 1);
    s.fixed = s.chosen.mid(0, 3);
    return s;
}

YearDays toYearDays(const Schedule& s)
{
    YearDays days = MakeYearDays(true);
    for (const int n : s.chosen)
        days[MonthPart(n) - 1][DayPart(n) - 1].selected = true;
    for (const int n : s.fixed)
        days[MonthPart(n) - 1][DayPart(n) - 1].unchangeable = true;
    return days;
}

std::string describe(const Schedule& s)
{
    return std::to_string(s.chosen.size()) + " days from " +
           std::to_string(s.chosen.value(0)) + ", " + std::to_string(s.fixed.size()) + " fixed";
}

// What one clerk's save reported in one round.
struct Outcome
{
    bool saved = false;
    QStringList shown;
};

class LeaveSavesTest : public servertest::SharedDatabaseTest
{
protected:
    void SetUp() override
    {
        SharedDatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        TmyDataBase& a = first->db;
        ASSERT_TRUE(a.Write(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) "
                                           "VALUES (2027, 3, :PLANDIR)"),
                            {{QStringLiteral("PLANDIR"), planFolder.path()}}, kCode));
        ASSERT_TRUE(a.Write(TmyDataBase::DBFUEmployees.insertSql,
                            {{QStringLiteral("IDEMPLOYEE"), kEmployee},
                             {QStringLiteral("SURNAME"), QStringLiteral("Kowalska")},
                             {QStringLiteral("NAME"), QStringLiteral("Anna")},
                             {QStringLiteral("IDDICUNIT"), -1},
                             {QStringLiteral("EMAIL"), QString()},
                             {QStringLiteral("FILENAME"), QStringLiteral("anna")},
                             {QStringLiteral("PWD"), QStringLiteral("x")},
                             {QStringLiteral("ACT"), QStringLiteral("T")}},
                            kCode));
        ASSERT_TRUE(a.Write(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, "
                                           "LASTYEARDAYS, THISYEARDAYS) VALUES (2027, 'E1', 200, "
                                           "200)"),
                            {}, kCode));
    }

    Schedule stored()
    {
        Schedule s;
        EXPECT_TRUE(first->db.Utility(kCode, [&](fb::Statement& st) {
            for (const char* table : {"EMPLOYEEHOLIDAYS", "EMPLOYEECONSTDAYS"}) {
                st.setSql(QStringLiteral("SELECT SELECTEDDAY FROM %1 WHERE IDYEAR=2027 AND "
                                         "IDEMPLOYEE='E1' ORDER BY SELECTEDDAY")
                              .arg(QLatin1String(table)));
                st.execute();
                QList<int>& days = QLatin1String(table) == QLatin1String("EMPLOYEEHOLIDAYS")
                                       ? s.chosen
                                       : s.fixed;
                while (st.fetch())
                    days << st.intValue(0);
                st.close();
            }
        }));
        return s;
    }

    // The two saves started together `kRounds` times, each clerk a copy of the program on a
    // thread of its own; after every round the stored schedule must be one of the two.
    void race(const std::function<Schedule(int round, int clerk)>& scheduleOf,
              const std::array<std::function<bool(TmyDataBase&, const Schedule&)>, 2>& saves)
    {
        std::barrier sync(3);
        std::vector<std::array<Outcome, 2>> outcomes(kRounds);
        const auto clerk = [&](int index) {
            servertest::Workstation ws(QStringLiteral("clerk%1").arg(index));
            const bool connected = ws.db.Connect(location, kUser, password);
            for (int round = 0; round < kRounds; ++round) {
                sync.arrive_and_wait();
                ws.dialogs.clear();
                Outcome& o = outcomes[round][index];
                o.saved = connected && saves[index](ws.db, scheduleOf(round, index));
                o.shown = ws.dialogs.informationTexts();
                sync.arrive_and_wait();
            }
        };
        // Threads of Qt's, since each copy's module keeps timers on the thread it lives on.
        std::unique_ptr<QThread> one(QThread::create(clerk, 0));
        std::unique_ptr<QThread> two(QThread::create(clerk, 1));
        one->start();
        two->start();
        int mixtures = 0;
        for (int round = 0; round < kRounds; ++round) {
            sync.arrive_and_wait();
            sync.arrive_and_wait();
            const Schedule now = stored();
            const bool whole = now == scheduleOf(round, 0) || now == scheduleOf(round, 1);
            if (!whole)
                ++mixtures;
            EXPECT_TRUE(whole) << "round " << round << ": " << describe(now);
            for (const Outcome& o : outcomes[round]) {
                EXPECT_TRUE(o.saved) << "round " << round;
                EXPECT_TRUE(o.shown.isEmpty())
                    << "round " << round << ": " << o.shown.join(QLatin1Char('|')).toStdString();
            }
        }
        one->wait();
        two->wait();
        EXPECT_EQ(mixtures, 0);
    }

    static bool editorSave(TmyDataBase& db, const Schedule& s)
    {
        return SaveEditCalendar(db, kYear, kEmployee, toYearDays(s), 0, false) ==
               SaveCalendarResult::Saved;
    }

    QTemporaryDir planFolder;
};

TEST_F(LeaveSavesTest, TwoClerksSavingOneEmployeeStoreOneSaveWhole)
{
    // Disjoint choices in the even rounds, overlapping ones (a day both hold would collide on
    // the key) in the odd rounds.
    const auto scheduleOf = [](int round, int clerk) {
        if (round % 2 == 0)
            return clerk == 0 ? daysOfYear(1, 100) : daysOfYear(101, 200);
        return clerk == 0 ? daysOfYear(1, 100) : daysOfYear(51, 150);
    };
    race(scheduleOf, {editorSave, editorSave});
    expectNothingShown();
}

TEST_F(LeaveSavesTest, AClerkAndTheImportOfTheEmployeesFileStoreOneSaveWhole)
{
    // The employee's file as the editor of the employees left it; the import reads it afresh
    // in every round.
    const Schedule fromFile = daysOfYear(150, 250);
    PlanFileContent c;
    c.year = kYear;
    c.employeeKey = kEmployee;
    c.name = QStringLiteral("Anna");
    c.surname = QStringLiteral("Kowalska");
    c.stamp = 4711;
    c.selectedDays = fromFile.chosen;
    c.unchangeableDays = fromFile.fixed;
    ASSERT_TRUE(WritePlanFileBytes(PlanFilePath(planFolder.path(), QStringLiteral("anna")),
                                   BuildPlanFileBytes(c)));
    const auto scheduleOf = [&](int, int clerk) {
        return clerk == 0 ? daysOfYear(1, 160) : fromFile;
    };
    const auto import = [](TmyDataBase& db, const Schedule&) {
        TWorkingWithXML x(db, kYear);
        return x.ImportPlanFiles({kEmployee}) && !x.lastRun().stopped;
    };
    race(scheduleOf, {editorSave, import});
    expectNothingShown();
}

// Another copy's transaction that has written and not yet committed, on a thread of its own; it
// commits after `hold`, or rolls back when the test ends it.
class HeldWrite
{
public:
    HeldWrite(const QString& location, const QString& password, const QString& sql,
              const QByteArray& parameters = fb::tpb::write(),
              std::optional<std::chrono::milliseconds> hold = std::nullopt)
    {
        std::promise<void> written;
        std::future<void> writtenNow = written.get_future();
        std::future<void> released = m_release.get_future();
        m_thread = std::thread([=, &written, released = std::move(released), this]() mutable {
            bool signalled = false;
            try {
                fb::Connection c;
                c.attach(location, kUser, password);
                {
                    fb::Transaction t(c, parameters);
                    t.start();
                    fb::Statement st(c, &t);
                    st.setSql(sql);
                    st.execute();
                    st.close();
                    signalled = true;
                    written.set_value();
                    if (hold && released.wait_for(*hold) == std::future_status::timeout)
                        t.commit();
                    else
                        released.wait();
                    t.rollbackQuietly();
                }
                c.detach();
            } catch (const std::exception& e) {
                m_error = e.what();
                if (!signalled)
                    written.set_value();
            }
        });
        writtenNow.wait();
    }
    ~HeldWrite() { end(); }

    // Empty, or what went wrong on the other copy.
    std::string end()
    {
        if (m_thread.joinable()) {
            m_release.set_value();
            m_thread.join();
        }
        return m_error;
    }

private:
    std::promise<void> m_release;
    std::thread m_thread;
    std::string m_error;
};

TEST_F(LeaveSavesTest, AStatusWrittenMeanwhileByAnotherCopyDecides)
{
    // Another copy generates the files (status 3) while this one saves a configuration (2):
    // read after the other's commit, 2 becomes 6 instead of undoing the generation.
    ASSERT_TRUE(first->db.Write(QStringLiteral("UPDATE HOLIDAYPLANS SET STATUS=2"), {}, kCode));
    HeldWrite generating(location, password,
                         QStringLiteral("UPDATE HOLIDAYPLANS SET STATUS=3 WHERE IDYEAR=2027"),
                         fb::tpb::write(), std::chrono::milliseconds(800));
    EXPECT_TRUE(second->db.SetPlanStatus(kYear, 2));
    EXPECT_EQ(generating.end(), "");
    QString status;
    EXPECT_TRUE(first->db.Utility(kCode, [&](fb::Statement& st) {
        st.setSql(QStringLiteral("SELECT STATUS FROM HOLIDAYPLANS WHERE IDYEAR=2027"));
        st.execute();
        if (st.fetch())
            status = st.value(0).toString();
        st.close();
    }));
    EXPECT_EQ(status, QStringLiteral("6"));
    expectNothingShown();
}

TEST_F(LeaveSavesTest, ASaveOrImportHeldUpPastTheLockTimeoutIsToldInPolish)
{
    TmyDataBase& b = second->db;
    b.SetLockTimeout(1);
    {
        // A colleague's save of the employee that does not end: the editor's save is refused
        // in Polish and nothing of it stays.
        HeldWrite colleague(location, password,
                            QStringLiteral("UPDATE EMPLOYEESSETTINGS SET THISYEARDAYS=30 WHERE "
                                           "IDYEAR=2027 AND IDEMPLOYEE='E1'"));
        EXPECT_EQ(SaveEditCalendar(b, kYear, kEmployee, toYearDays(daysOfYear(1, 10)), 0, false),
                  SaveCalendarResult::Failed);
        EXPECT_EQ(second->dialogs.informationTexts(), QStringList{kConflict});
        EXPECT_FALSE(b.DBFTransaction.isActive());
        EXPECT_EQ(colleague.end(), "");
    }
    EXPECT_EQ(stored(), Schedule{});

    // The employee import meets a number another copy is adding at this moment.
    QTemporaryDir files;
    const QString sheet = files.path() + QStringLiteral("/s.csv");
    {
        QFile f(sheet);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("N1;Jan;Nowak;;;p;jan1;\r\n");
    }
    EmployeeImport imp(b, second->dialogs, files.path(), b.paths().dataFolder);
    imp.PrepareForShow();
    second->dialogs.clear();
    second->dialogs.answer(false); // no remembered configuration
    ASSERT_TRUE(imp.LoadSheetFile(sheet));
    imp.cb = {1, 2, 3, 4, 5, 6, 7, 8};
    imp.SettingsChanged();
    imp.VerifySheet();
    ASSERT_EQ(imp.grid().status(0), QStringLiteral("Ok")) << imp.grid().remark(0).toStdString();
    // Another copy holds the employees table (a reservation, as a maintenance run takes it).
    QByteArray reserving = fb::tpb::write();
    reserving += char(isc_tpb_lock_write);
    reserving += char(9);
    reserving += "EMPLOYEES";
    reserving += char(isc_tpb_protected);
    HeldWrite holding(location, password,
                      QStringLiteral("DELETE FROM EMPLOYEES WHERE IDEMPLOYEE='nikt'"), reserving);
    second->dialogs.clear();
    second->dialogs.answer(true);
    imp.ImportSheet();
    EXPECT_EQ(imp.grid().status(0), QStringLiteral("Błędy"));
    EXPECT_EQ(imp.grid().remark(0), kConflict);
    EXPECT_EQ(imp.importedCount(), 0);
    EXPECT_EQ(holding.end(), "");
}

} // namespace
} // namespace zf

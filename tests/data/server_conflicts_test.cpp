// Two clerks saving the same rows at once on the server: the second waits for the first and goes
// on, or, when the first holds the rows too long, is told so in Polish; nothing typed is lost.
#include "tests/data/shared_database.h"

#include "data/fb/connection.h"
#include "data/fb/error.h"
#include "data/fb/statement.h"
#include "data/fb/transaction.h"
#include "data/fb/transactionguard.h"
#include "data/programoptions.h"
#include "scheduler/notes.h"

#include <chrono>
#include <future>
#include <sstream>
#include <thread>

namespace zf {
namespace {

using namespace std::chrono_literals;
using servertest::kUser;

constexpr int kCode = 4242;
const QString kConflict =
    QStringLiteral("Inny użytkownik zmienia w tej chwili te same dane. Spróbuj ponownie.");

// Another copy of the program in the middle of a save, on a thread of its own with its own
// attachment: its statements have run in one write transaction whose rows it holds until it
// commits, after `hold` or when released. Held at most kLongest, so that a writer that waits
// without a limit still gets its turn and the test ends.
class PendingSave
{
public:
    static constexpr auto kLongest = 20s;

    PendingSave(const QString& location, const QString& password, const QStringList& statements,
                std::optional<std::chrono::milliseconds> hold = std::nullopt)
    {
        std::future<void> holding = m_holding.get_future();
        std::future<void> released = m_released.get_future();
        m_thread = std::thread(
            [this, location, password, statements, hold, released = std::move(released)] {
                bool signalled = false;
                try {
                    fb::Connection c;
                    c.attach(location, kUser, password);
                    {
                        fb::Transaction t(c, fb::tpb::write());
                        fb::TransactionGuard guard(t);
                        fb::Statement st(c, &t);
                        for (const QString& sql : statements) {
                            st.setSql(sql);
                            st.execute();
                            st.close();
                        }
                        m_holding.set_value();
                        signalled = true;
                        if (hold)
                            std::this_thread::sleep_for(*hold);
                        else
                            released.wait_for(kLongest);
                        guard.commit();
                    }
                    c.detach();
                } catch (const std::exception& e) {
                    m_error = e.what();
                    if (!signalled)
                        m_holding.set_value();
                }
            });
        holding.wait();
    }
    ~PendingSave() { commit(); }
    PendingSave(const PendingSave&) = delete;
    PendingSave& operator=(const PendingSave&) = delete;

    // Lets it commit and waits for that; empty, or what went wrong.
    std::string commit()
    {
        if (m_thread.joinable()) {
            m_released.set_value();
            m_thread.join();
        }
        return m_error;
    }

private:
    std::promise<void> m_holding;
    std::promise<void> m_released;
    std::thread m_thread;
    std::string m_error;
};

std::string codesOf(const fb::Error& e)
{
    std::ostringstream out;
    for (const ISC_STATUS code : e.gdsCodes())
        out << code << ' ';
    return out.str() + "sqlcode " + std::to_string(e.sqlCode()) + ": " + e.message().toStdString();
}

class ConcurrentWritesTest : public servertest::SharedDatabaseTest
{
protected:
    void SetUp() override
    {
        SharedDatabaseTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        TmyDataBase& a = first->db;
        ASSERT_TRUE(a.Write(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) "
                                           "VALUES (2027, 2, '')"),
                            {}, kCode));
        for (const char* id : {"E1", "E2", "E3"}) {
            const QString e = QString::fromLatin1(id);
            ASSERT_TRUE(a.Write(TmyDataBase::DBFUEmployees.insertSql,
                                {{QStringLiteral("IDEMPLOYEE"), e},
                                 {QStringLiteral("SURNAME"), QStringLiteral("Kowalska ") + e},
                                 {QStringLiteral("NAME"), QStringLiteral("Anna")},
                                 {QStringLiteral("IDDICUNIT"), -1},
                                 {QStringLiteral("EMAIL"), QString()},
                                 {QStringLiteral("FILENAME"), e.toLower()},
                                 {QStringLiteral("PWD"), QStringLiteral("x")},
                                 {QStringLiteral("ACT"), QStringLiteral("T")}},
                                kCode));
            ASSERT_TRUE(
                a.Write(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, "
                                       "LASTYEARDAYS, THISYEARDAYS) VALUES (2027, :E, 0, 26)"),
                        {{QStringLiteral("E"), e}}, kCode));
        }
        for (const int day : {20270101, 20270106})
            ASSERT_TRUE(a.Write(
                TmyDataBase::DBFUCalendar.insertSql,
                {{QStringLiteral("IDYEAR"), 2027}, {QStringLiteral("FREEDAY"), day}}, kCode));
    }

    PendingSave* holdEntitlement(const QString& id, int days,
                                 std::optional<std::chrono::milliseconds> hold = std::nullopt)
    {
        pending = std::make_unique<PendingSave>(
            location, password,
            QStringList{QStringLiteral("UPDATE EMPLOYEESSETTINGS SET THISYEARDAYS=%1 WHERE "
                                       "IDYEAR=2027 AND IDEMPLOYEE='%2'")
                            .arg(days)
                            .arg(id)},
            hold);
        return pending.get();
    }

    // The batch change of the entitlements of the three employees, as the module writes it.
    bool batch(TmyDataBase& db, int days)
    {
        return db.Write(QStringLiteral("UPDATE EMPLOYEESSETTINGS SET THISYEARDAYS=:DAYS WHERE "
                                       "IDYEAR=:IDYEAR AND IDEMPLOYEE IN (:E0,:E1,:E2)"),
                        {{QStringLiteral("DAYS"), days},
                         {QStringLiteral("IDYEAR"), 2027},
                         {QStringLiteral("E0"), QStringLiteral("E1")},
                         {QStringLiteral("E1"), QStringLiteral("E2")},
                         {QStringLiteral("E2"), QStringLiteral("E3")}},
                        kCode);
    }

    // The same as a window does it: its own statements on the write transaction, and the
    // engine's text handed to the report.
    bool batchAsTheWindow(TmyDataBase& db, int days)
    {
        try {
            fb::TransactionGuard guard(db.DBFTransaction);
            db.DBFWorkingSQL.close();
            db.DBFWorkingSQL.setSql(QStringLiteral(
                "UPDATE EMPLOYEESSETTINGS SET THISYEARDAYS=:DAYS WHERE IDYEAR=2027"));
            db.DBFWorkingSQL.setParam(QStringLiteral("DAYS"), days);
            db.DBFWorkingSQL.execute();
            guard.commit();
            return true;
        } catch (const Exception& e) {
            db.DBFTransaction.rollbackQuietly();
            db.ReportUnexpectedError(e.message(), true, kCode);
            return false;
        }
    }

    // The non-working days of 2027 saved as the calendar window saves them.
    bool saveCalendar(TmyDataBase& db, const std::vector<int>& days)
    {
        fb::Statement& st = db.DBFWorkingSQL;
        try {
            fb::TransactionGuard guard(db.DBFTransaction);
            st.close();
            st.setSql(TmyDataBase::DBFUCalendar.deleteSql);
            st.setParam(QStringLiteral("IDYEAR"), 2027);
            st.execute();
            st.setSql(TmyDataBase::DBFUCalendar.insertSql);
            for (const int day : days) {
                st.setParam(QStringLiteral("IDYEAR"), 2027);
                st.setParam(QStringLiteral("FREEDAY"), day);
                st.execute();
            }
            st.close();
            guard.commit();
            return true;
        } catch (const Exception& e) {
            st.close();
            db.DBFTransaction.rollbackQuietly();
            db.ReportUnexpectedError(e.message(), true, kCode);
            return false;
        }
    }

    QStringList values(const QString& sql)
    {
        QStringList out;
        EXPECT_TRUE(first->db.Utility(kCode, [&](fb::Statement& st) {
            st.setSql(sql);
            st.execute();
            while (st.fetch())
                out << st.value(0).toString();
        }));
        return out;
    }
    QStringList entitlements()
    {
        return values(QStringLiteral("SELECT THISYEARDAYS FROM EMPLOYEESSETTINGS WHERE "
                                     "IDYEAR=2027 ORDER BY IDEMPLOYEE"));
    }

    std::unique_ptr<PendingSave> pending;
};

TEST_F(ConcurrentWritesTest, TheSecondWriterWaitsForTheFirstAndBothFinish)
{
    TmyDataBase& b = second->db;
    // A single edit of one employee is being saved while the batch covers all three.
    holdEntitlement(QStringLiteral("E2"), 30, 1500ms);
    EXPECT_TRUE(batch(b, 20))
        << second->dialogs.informationTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(pending->commit(), "");
    EXPECT_EQ(entitlements(),
              (QStringList{QStringLiteral("20"), QStringLiteral("20"), QStringLiteral("20")}));

    // Two calendars of the same year: the later one stands whole.
    pending = std::make_unique<PendingSave>(
        location, password,
        QStringList{
            QStringLiteral("DELETE FROM CALENDAR WHERE IDYEAR=2027"),
            QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2027, 20270102)"),
            QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2027, 20270103)"),
            // The status of the plan changes in the same save.
            QStringLiteral("UPDATE HOLIDAYPLANS SET STATUS=6 WHERE IDYEAR=2027")},
        1500ms);
    EXPECT_TRUE(saveCalendar(b, {20270101, 20270103, 20270106}));
    EXPECT_EQ(pending->commit(), "");
    EXPECT_EQ(values(QStringLiteral("SELECT FREEDAY FROM CALENDAR WHERE IDYEAR=2027 ORDER BY 1")),
              (QStringList{QStringLiteral("20270101"), QStringLiteral("20270103"),
                           QStringLiteral("20270106")}));

    // Notes: the other copy changes one note while this one saves another.
    ProgramOptions options;
    Notes mine(b, second->dialogs, options);
    Notes theirs(first->db, first->dialogs, options);
    struct Window final : NotesWindow
    {
        std::function<void(NoteSlots&)> step;
        void editNotes(NoteSlots& notes, int) override { step(notes); }
    } window;
    window.step = [](NoteSlots& s) { s[0].text = QStringLiteral("pierwsza"); };
    theirs.Edit(window); // the thirty rows
    pending = std::make_unique<PendingSave>(
        location, password,
        QStringList{
            QStringLiteral("UPDATE GLOBALNOTES SET DESCRIPTION='czwarta kolegi' WHERE IDNOTE=4")},
        1500ms);
    window.step = [](NoteSlots& s) { s[2].text = QStringLiteral("trzecia moja"); };
    mine.Edit(window);
    EXPECT_EQ(pending->commit(), "");
    EXPECT_EQ(values(QStringLiteral("SELECT DESCRIPTION FROM GLOBALNOTES WHERE IDNOTE IN (1,3,4) "
                                    "ORDER BY IDNOTE")),
              (QStringList{QStringLiteral("pierwsza"), QStringLiteral("trzecia moja"),
                           QStringLiteral("czwarta kolegi")}));
    EXPECT_TRUE(mine.unsaved().none());
    expectNothingShown();
}

TEST_F(ConcurrentWritesTest, AWriterHeldUpPastTheLockTimeoutIsToldInPolish)
{
    TmyDataBase& b = second->db;
    b.SetLockTimeout(1);
    pending = std::make_unique<PendingSave>(
        location, password,
        QStringList{QStringLiteral("UPDATE EMPLOYEESSETTINGS SET THISYEARDAYS=30 WHERE IDYEAR=2027 "
                                   "AND IDEMPLOYEE='E2'"),
                    QStringLiteral("DELETE FROM CALENDAR WHERE FREEDAY=20270106")});
    EXPECT_FALSE(batch(b, 20));
    EXPECT_FALSE(batchAsTheWindow(b, 21));
    EXPECT_FALSE(saveCalendar(b, {20270104}));
    EXPECT_FALSE(b.DBFTransaction.isActive());

    ASSERT_EQ(second->dialogs.shown().size(), 3u);
    for (const auto& shown : second->dialogs.shown()) {
        EXPECT_EQ(shown.caption, QStringLiteral("Błąd"));
        EXPECT_EQ(shown.text, kConflict);
    }
    // The log keeps the engine's own words.
    const QStringList entries = second->logEntries();
    ASSERT_EQ(entries.size(), 3);
    for (const QString& entry : entries) {
        EXPECT_TRUE(entry.startsWith(QStringLiteral("[0000004242]  "))) << entry.toStdString();
        EXPECT_TRUE(entry.contains(QStringLiteral("lock"))) << entry.toStdString();
        EXPECT_FALSE(entry.contains(kConflict)) << entry.toStdString();
    }

    // Nothing of the failed saves stayed. Once the other copy is done, trying again works.
    EXPECT_EQ(pending->commit(), "");
    EXPECT_EQ(entitlements(),
              (QStringList{QStringLiteral("26"), QStringLiteral("30"), QStringLiteral("26")}));
    EXPECT_TRUE(batch(b, 20));
    EXPECT_EQ(entitlements(),
              (QStringList{QStringLiteral("20"), QStringLiteral("20"), QStringLiteral("20")}));
    EXPECT_EQ(second->dialogs.shown().size(), 3u);
}

// The notes window as a clerk uses it: what is typed on each showing.
class TypingWindow final : public NotesWindow
{
public:
    std::vector<std::function<void(NoteSlots&)>> steps;
    std::vector<int> firstSlots;
    std::vector<NoteSlots> seen;

    void editNotes(NoteSlots& notes, int slot) override
    {
        firstSlots.push_back(slot);
        seen.push_back(notes);
        const size_t i = firstSlots.size() - 1;
        if (i < steps.size() && steps[i])
            steps[i](notes);
    }
};

TEST_F(ConcurrentWritesTest, ANoteTypedDuringAConflictStaysInTheWindowUntilSaved)
{
    TmyDataBase& b = second->db;
    ProgramOptions options;
    Notes theirs(first->db, first->dialogs, options);
    TypingWindow start;
    start.steps = {[](NoteSlots& s) { s[0].text = QStringLiteral("pierwsza"); }};
    theirs.Edit(start);

    b.SetLockTimeout(1);
    pending = std::make_unique<PendingSave>(
        location, password,
        QStringList{
            QStringLiteral("UPDATE GLOBALNOTES SET DESCRIPTION='trzecia kolegi' WHERE IDNOTE=3")});
    Notes mine(b, second->dialogs, options);
    TypingWindow window;
    window.steps = {
        [](NoteSlots& s) {
            s[2].date = QStringLiteral("03-03-2027");
            s[2].text = QStringLiteral("trzecia moja");
        },
        // Told to try again, the clerk waits for the colleague and closes the window again.
        [&](NoteSlots&) { EXPECT_EQ(pending->commit(), ""); },
    };
    mine.Edit(window);

    ASSERT_EQ(window.firstSlots, (std::vector<int>{1, 3}))
        << "the window opens again on the typed note";
    EXPECT_EQ(window.seen[1][2].text, QStringLiteral("trzecia moja"));
    EXPECT_EQ(window.seen[1][2].date, QStringLiteral("03-03-2027"));
    ASSERT_EQ(second->dialogs.shown().size(), 1u);
    EXPECT_EQ(second->dialogs.shown()[0].text, kConflict);
    EXPECT_EQ(values(QStringLiteral("SELECT DESCRIPTION FROM GLOBALNOTES WHERE IDNOTE IN (1,3) "
                                    "ORDER BY IDNOTE")),
              (QStringList{QStringLiteral("pierwsza"), QStringLiteral("trzecia moja")}));
    EXPECT_TRUE(mine.unsaved().none());
}

TEST_F(ConcurrentWritesTest, ConflictsOnTheServerAreToldByTheirCodes)
{
    fb::Connection c;
    c.attach(location, kUser, password);
    const auto updateHeldRow = [&](const QByteArray& parameters) -> std::optional<fb::Error> {
        fb::Transaction t(c, parameters);
        try {
            fb::TransactionGuard guard(t);
            fb::Statement st(c, &t);
            st.setSql(QStringLiteral("UPDATE EMPLOYEESSETTINGS SET THISYEARDAYS=1 WHERE "
                                     "IDYEAR=2027 AND IDEMPLOYEE='E2'"));
            st.execute();
            guard.commit();
            return std::nullopt;
        } catch (const fb::Error& e) {
            return e;
        }
    };
    QByteArray noWait;
    for (const int item : {isc_tpb_version3, isc_tpb_write, isc_tpb_nowait, isc_tpb_read_committed,
                           isc_tpb_rec_version})
        noWait += char(item);

    std::vector<fb::Error> conflicts;
    // The other copy commits while this one waits: with rec_version that ends in a conflict.
    holdEntitlement(QStringLiteral("E2"), 30, 1000ms);
    if (auto e = updateHeldRow(fb::tpb::waitReadCommitted()))
        conflicts.push_back(*e);
    else
        ADD_FAILURE() << "no update conflict after the wait";
    EXPECT_EQ(pending->commit(), "");
    // The wait runs out; no waiting at all.
    holdEntitlement(QStringLiteral("E2"), 31);
    for (const QByteArray& parameters : {fb::tpb::write(1), noWait}) {
        if (auto e = updateHeldRow(parameters))
            conflicts.push_back(*e);
        else
            ADD_FAILURE() << "a held row was changed";
    }
    EXPECT_EQ(pending->commit(), "");
    for (const fb::Error& e : conflicts) {
        EXPECT_TRUE(e.isLockConflict()) << codesOf(e);
        EXPECT_TRUE(fb::isLockConflictMessage(e.message())) << codesOf(e);
    }

    // The waiting transaction of the program goes on once the row is free.
    holdEntitlement(QStringLiteral("E2"), 32, 1000ms);
    const auto waited = updateHeldRow(fb::tpb::write());
    EXPECT_FALSE(waited) << codesOf(*waited);
    EXPECT_EQ(pending->commit(), "");

    // A duplicate key of the other copy is no conflict.
    try {
        fb::Transaction t(c, fb::tpb::write());
        fb::TransactionGuard guard(t);
        fb::Statement st(c, &t);
        st.setSql(QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2027, 20270101)"));
        st.execute();
        ADD_FAILURE() << "a duplicate day was stored";
    } catch (const fb::Error& e) {
        EXPECT_TRUE(e.isDuplicateKey()) << codesOf(e);
        EXPECT_FALSE(e.isLockConflict()) << codesOf(e);
        EXPECT_FALSE(fb::isLockConflictMessage(e.message())) << codesOf(e);
    }
    c.detach();
}

} // namespace
} // namespace zf

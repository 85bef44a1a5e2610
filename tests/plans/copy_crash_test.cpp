// "Utwórz z istniejącego" killed by SIGKILL in the middle of the copy: the database holds the
// whole new plan or nothing of it, never an empty plan that blocks the retry.
#include "tests/support/test_database.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace zf {
namespace {

constexpr int kEmployees = 3000; // a multiple of 1000
const QString kFolder = QStringLiteral("/srv/plany");

class CopyCrashTest : public ::testing::Test
{
protected:
    enum class Left
    {
        Nothing,
        WholePlan
    };

    struct Run
    {
        bool finished = false; // the helper ended by itself, successfully
        qint64 ms = 0;         // from the question for the year to the end
        QByteArray output;
    };

    void SetUp() override
    {
        t.exec(QStringLiteral(
            "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2023, 4, '/srv/plany')"));
        for (int from = 0; from < kEmployees; from += 1000)
            t.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, FILENAME) "
                                  "WITH RECURSIVE R (N) AS (SELECT 1 FROM RDB$DATABASE UNION ALL "
                                  "SELECT N + 1 FROM R WHERE N < 1000) "
                                  "SELECT 'K' || LPAD(I, 5, '0'), 'Nowak', 'Jan', 'k' || I FROM "
                                  "(SELECT CAST(N + %1 AS INTEGER) AS I FROM R)")
                       .arg(from));
        t.exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                              "THISYEARDAYS) SELECT 2023, IDEMPLOYEE, 1, 26 FROM EMPLOYEES"));
        // Every hundredth employee copied is recorded in a transaction of its own, which the
        // kill does not undo: so the test knows how far the copy had come.
        t.exec(QStringLiteral("CREATE TABLE COPYPROGRESS (IDEMPLOYEE VARCHAR(20))"));
        t.exec(
            QStringLiteral("CREATE TRIGGER T_PROGRESS FOR EMPLOYEESSETTINGS AFTER INSERT AS BEGIN "
                           "IF (NEW.IDYEAR = 2024 AND NEW.IDEMPLOYEE LIKE '%00') THEN "
                           "IN AUTONOMOUS TRANSACTION DO "
                           "INSERT INTO COPYPROGRESS (IDEMPLOYEE) VALUES (NEW.IDEMPLOYEE); END"));
        // The helper needs the database file for itself.
        t.db().Disconnect();
    }

    // Starts the helper and kills it `killAfterMs` after it was asked for the year (never when
    // negative).
    Run run(int killAfterMs)
    {
        Run r;
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral(ZF_COPY_CHILD),
                {t.path(), QString::fromLatin1(test::TestDatabase::kUser),
                 QString::fromLatin1(test::TestDatabase::kPassword), QStringLiteral("2023"),
                 QStringLiteral("2024"), kFolder, t.folder() + QStringLiteral("/child")});
        while (!r.output.contains("ready\n") && p.waitForReadyRead(60000))
            r.output += p.readAll();
        QElapsedTimer clock;
        clock.start();
        if (killAfterMs >= 0) {
            QThread::msleep(static_cast<unsigned long>(killAfterMs));
            p.kill();
        }
        p.waitForFinished(120000);
        r.ms = clock.elapsed();
        r.output += p.readAll();
        r.finished = p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        return r;
    }

    int count(const QString& table, const QString& where = {})
    {
        return t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM ") + table + where);
    }

    // What the run left of plan 2024; anything but the whole plan or nothing fails the test.
    Left left(const std::string& when)
    {
        const int rows =
            count(QStringLiteral("EMPLOYEESSETTINGS"), QStringLiteral(" WHERE IDYEAR=2024"));
        if (count(QStringLiteral("HOLIDAYPLANS"), QStringLiteral(" WHERE IDYEAR=2024")) == 0) {
            EXPECT_EQ(rows, 0) << when;
            return Left::Nothing;
        }
        EXPECT_EQ(
            t.scalar(QStringLiteral(
                         "SELECT STATUS || ' ' || PLANDIR FROM HOLIDAYPLANS WHERE IDYEAR=2024"))
                .toStdString(),
            "2 " + kFolder.toStdString() + "/Plan urlopowy 2024")
            << when;
        EXPECT_EQ(rows, kEmployees) << when;
        return Left::WholePlan;
    }

    void reset()
    {
        t.exec(QStringLiteral("DELETE FROM HOLIDAYPLANS WHERE IDYEAR=2024"));
        t.exec(QStringLiteral("DELETE FROM COPYPROGRESS"));
    }

    test::TestDatabase t;
};

TEST_F(CopyCrashTest, KilledDuringTheCopyLeavesTheWholePlanOrNothing)
{
    // Undisturbed, the helper makes the whole plan; its time places the kills.
    const Run whole = run(-1);
    ASSERT_TRUE(whole.finished) << whole.output.toStdString();
    ASSERT_EQ(left("undisturbed"), Left::WholePlan);
    reset();

    // A few kills, moved until some fall inside the copy: earlier when the plan was already
    // complete, later when the copy had not begun.
    int inside = 0;
    qint64 delay = whole.ms / 2;
    for (int attempt = 0; attempt < 8 && inside < 3 && !HasFailure(); ++attempt) {
        const std::string when = "kill after " + std::to_string(delay) + " ms";
        const Run killed = run(static_cast<int>(delay));
        const int progress = count(QStringLiteral("COPYPROGRESS"));
        const Left l = left(when + ": " + killed.output.toStdString());
        if (l == Left::WholePlan)
            delay /= 2;
        else if (progress == 0)
            delay = delay * 3 / 2 + 5;
        else {
            ++inside;
            delay = delay * 4 / 5;
        }
        reset();
        // The helper's database stays usable after every kill.
        EXPECT_EQ(count(QStringLiteral("EMPLOYEESSETTINGS")), kEmployees);
    }
    EXPECT_GE(inside, 1) << "no kill fell inside the copy of " << kEmployees << " employees";
}

} // namespace
} // namespace zf

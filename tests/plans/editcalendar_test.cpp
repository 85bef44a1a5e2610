// The leave editor's logic on a real embedded database: loading, the running count and saving
// both day tables as one unit.
#include "plans/editcalendar.h"
#include "plans/nonworkingdays.h"

#include "data/errorlog.h"
#include "data/mydatabase.h"
#include "tests/plans/overview_seed.h"
#include "tests/support/test_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace zf {
namespace {

using test::PlanSeed;
using test::TestDatabase;

DayState& slot(YearDays& t, int month, int day)
{
    return t[static_cast<size_t>(month - 1)][static_cast<size_t>(day - 1)];
}

class EditCalendarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PlanSeed s(t.db());
        s.plan(2014, 4);
        s.plan(2013, 4);
        s.employee(QStringLiteral("P1"), QStringLiteral("Jan"), QStringLiteral("Nowak"));
        s.employee(QStringLiteral("P2"), QStringLiteral("Anna"), QStringLiteral("Kowalska"));
        s.inPlan(2014, QStringLiteral("P1"), 2, 26);
        s.inPlan(2014, QStringLiteral("P2"), 0, 20);
        s.freeDay(2014, 20140101);
        s.freeDay(2014, 20140106);
        s.freeDay(2013, 20140303); // another plan's row on a 2014 date
        s.leave(2014, QStringLiteral("P2"), 20140106);  // since become non-working
        s.leave(2014, QStringLiteral("P2"), 20140303);  // non-working in another plan
        s.leave(2014, QStringLiteral("P2"), 20130107);  // another year
        s.leave(2014, QStringLiteral("P2"), 20140301);  // a Saturday
        s.leave(2014, QStringLiteral("P2"), 20140702);
        s.fixed(2014, QStringLiteral("P2"), 20140702);
        s.fixed(2014, QStringLiteral("P2"), 20140703);  // unchangeable, no leave
        s.fixed(2014, QStringLiteral("P2"), 20140101);  // on a non-working day
        s.commit();
    }
    QStringList days(const char* table, const char* employee)
    {
        QStringList out;
        for (int i = 0;; ++i) {
            const QString v = t.scalar(
                QStringLiteral("SELECT SELECTEDDAY FROM %1 WHERE IDYEAR=2014 AND IDEMPLOYEE='%2' "
                               "ORDER BY SELECTEDDAY ROWS %3 TO %3")
                    .arg(QLatin1String(table), QLatin1String(employee))
                    .arg(i + 1));
            if (v.isEmpty())
                return out;
            out << v;
        }
    }
    TestDatabase t;
};

TEST_F(EditCalendarTest, EmptyScheduleShowsTheWholeEntitlement)
{
    EditCalendarState s;
    ASSERT_TRUE(LoadEditCalendar(t.db(), 2014, QStringLiteral("P1"), s));
    EXPECT_TRUE(s.found);
    EXPECT_EQ(s.employeeText, QStringLiteral("Jan Nowak (P1)"));
    EXPECT_EQ(s.summary(), 28);
    EXPECT_EQ(s.remaining, 28);
    EXPECT_FALSE(slot(s.days, 1, 1).selectable);
    EXPECT_FALSE(slot(s.days, 1, 6).selectable);
    EXPECT_TRUE(slot(s.days, 3, 1).selectable);  // a Saturday not stored as non-working
    EXPECT_TRUE(slot(s.days, 3, 3).selectable);  // stored under 2013 only

    // 29 ticks turn the count to -1.
    int remaining = s.remaining;
    for (int i = 0; i < 29; ++i)
        remaining = CountTick(remaining, true);
    EXPECT_EQ(remaining, -1);
    EXPECT_EQ(CountTick(remaining, false), 0);
}

TEST_F(EditCalendarTest, LeaveOnNonWorkingDaysAndOtherYearsIsNeitherShownNorCounted)
{
    EditCalendarState s;
    ASSERT_TRUE(LoadEditCalendar(t.db(), 2014, QStringLiteral("P2"), s));
    EXPECT_EQ(s.summary(), 20);
    EXPECT_EQ(s.remaining, 18); // 1 March and 2 July
    EXPECT_TRUE(slot(s.days, 3, 1).selected);
    EXPECT_TRUE(slot(s.days, 7, 2).selected);
    EXPECT_FALSE(slot(s.days, 1, 6).selected);
    EXPECT_FALSE(slot(s.days, 3, 3).selected);
    EXPECT_FALSE(slot(s.days, 1, 7).selected);
    EXPECT_TRUE(slot(s.days, 7, 2).unchangeable);
    EXPECT_TRUE(slot(s.days, 7, 3).unchangeable);
    EXPECT_FALSE(slot(s.days, 1, 1).unchangeable);
}

TEST_F(EditCalendarTest, OverTheLimitIsRefusedOnlyWhileTheCheckIsOn)
{
    EditCalendarState s;
    ASSERT_TRUE(LoadEditCalendar(t.db(), 2014, QStringLiteral("P1"), s));
    slot(s.days, 2, 3).selected = true;
    const SaveCalendarResult refused =
        SaveEditCalendar(t.db(), 2014, QStringLiteral("P1"), s.days, -1, true);
    EXPECT_EQ(refused, SaveCalendarResult::OverLimit);
    // The logic only answers; the window tells the user.
    EXPECT_TRUE(t.dialogs().shown().empty());
    EXPECT_EQ(SaveCalendarMessage(refused), kOverLimitMessage);
    EXPECT_TRUE(days("EMPLOYEEHOLIDAYS", "P1").isEmpty());

    EXPECT_EQ(SaveEditCalendar(t.db(), 2014, QStringLiteral("P1"), s.days, -1, false),
              SaveCalendarResult::Saved);
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "P1"), QStringList{QStringLiteral("20140203")});
}

TEST_F(EditCalendarTest, SavingReplacesBothTablesAndDropsHiddenDays)
{
    t.exec(QStringLiteral("UPDATE EMPLOYEESSETTINGS SET CHECKSUM=77 WHERE IDEMPLOYEE='P2'"));
    EditCalendarState s;
    ASSERT_TRUE(LoadEditCalendar(t.db(), 2014, QStringLiteral("P2"), s));
    slot(s.days, 3, 1).selected = false;
    slot(s.days, 12, 31).selected = true;
    slot(s.days, 7, 3).unchangeable = false;
    slot(s.days, 8, 8).unchangeable = true;
    // A slot that is no day never reaches the table.
    slot(s.days, 2, 30).selected = true;
    ASSERT_EQ(SaveEditCalendar(t.db(), 2014, QStringLiteral("P2"), s.days, 18, true),
              SaveCalendarResult::Saved);
    EXPECT_TRUE(SaveCalendarMessage(SaveCalendarResult::Saved).isEmpty());
    EXPECT_TRUE(t.dialogs().shown().empty());
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "P2"),
              (QStringList{QStringLiteral("20140702"), QStringLiteral("20141231")}));
    EXPECT_EQ(days("EMPLOYEECONSTDAYS", "P2"),
              (QStringList{QStringLiteral("20140702"), QStringLiteral("20140808")}));
    // Neither the figures' stamp nor the plan status move.
    EXPECT_EQ(t.scalarInt(QStringLiteral(
                  "SELECT CHECKSUM FROM EMPLOYEESSETTINGS WHERE IDYEAR=2014 AND IDEMPLOYEE='P2'")),
              77);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT STATUS FROM HOLIDAYPLANS WHERE IDYEAR=2014")), 4);
    // The other employee is untouched.
    EXPECT_TRUE(days("EMPLOYEEHOLIDAYS", "P1").isEmpty());
}

// Every day of the year ticked and unchangeable: the longest save there is.
TEST_F(EditCalendarTest, AWholeYearIsSavedAndReadBackExactly)
{
    EditCalendarState s;
    ASSERT_TRUE(LoadEditCalendar(t.db(), 2014, QStringLiteral("P1"), s));
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 31; ++d) {
            slot(s.days, m, d).selected = true;
            slot(s.days, m, d).unchangeable = true;
        }
    ASSERT_EQ(SaveEditCalendar(t.db(), 2014, QStringLiteral("P1"), s.days, -400, false),
              SaveCalendarResult::Saved);
    const QStringList leave = days("EMPLOYEEHOLIDAYS", "P1");
    ASSERT_EQ(leave.size(), 365);
    EXPECT_EQ(leave.front(), QStringLiteral("20140101"));
    EXPECT_EQ(leave.back(), QStringLiteral("20141231"));
    EXPECT_EQ(days("EMPLOYEECONSTDAYS", "P1"), leave);
}

TEST_F(EditCalendarTest, DatabaseErrorKeepsBothTablesAsTheyWere)
{
    const QStringList leaveBefore = days("EMPLOYEEHOLIDAYS", "P2");
    const QStringList fixedBefore = days("EMPLOYEECONSTDAYS", "P2");
    // The second table refuses December, after the first one has been rewritten.
    t.exec(QStringLiteral("ALTER TABLE EMPLOYEECONSTDAYS ADD CONSTRAINT CHK_NO_DECEMBER CHECK "
                          "(SELECTEDDAY < 20141201)"));
    QDir().mkpath(QFileInfo(t.db().errorLog().path()).path());
    EditCalendarState s;
    ASSERT_TRUE(LoadEditCalendar(t.db(), 2014, QStringLiteral("P2"), s));
    slot(s.days, 5, 5).selected = true;
    slot(s.days, 12, 1).unchangeable = true;
    EXPECT_EQ(SaveEditCalendar(t.db(), 2014, QStringLiteral("P2"), s.days, 17, true),
              SaveCalendarResult::Failed);
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "P2"), leaveBefore);
    EXPECT_EQ(days("EMPLOYEECONSTDAYS", "P2"), fixedBefore);
    // Reported once, by the database module; the window adds nothing.
    ASSERT_EQ(t.dialogs().informationTexts().size(), 1);
    EXPECT_TRUE(SaveCalendarMessage(SaveCalendarResult::Failed).isEmpty());
    // The editor keeps the ticks, and the report says what to do with them: the engine's text
    // as the plain statements give it, without where in the save's block it happened.
    const QString& report = t.dialogs().informationTexts()[0];
    EXPECT_TRUE(report.endsWith(kSaveKeptHint));
    EXPECT_TRUE(report.contains(QLatin1String("CHK_NO_DECEMBER"))) << report.toStdString();
    EXPECT_FALSE(report.contains(QLatin1String("At block line"))) << report.toStdString();
    EXPECT_FALSE(report.contains(QLatin1String("ZF_REPLACE_DAYS"))) << report.toStdString();
    QFile log(t.db().errorLog().path());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("[0000151801]"));
    EXPECT_FALSE(t.db().DBFTransaction.isActive());
}

TEST_F(EditCalendarTest, EmployeeTakenOutOfThePlanMeanwhileGetsNothingWritten)
{
    EditCalendarState s;
    ASSERT_TRUE(LoadEditCalendar(t.db(), 2014, QStringLiteral("P1"), s));
    slot(s.days, 4, 4).selected = true;
    t.exec(QStringLiteral("DELETE FROM EMPLOYEESSETTINGS WHERE IDYEAR=2014 AND IDEMPLOYEE='P1'"));
    const SaveCalendarResult refused =
        SaveEditCalendar(t.db(), 2014, QStringLiteral("P1"), s.days, 27, true);
    EXPECT_EQ(refused, SaveCalendarResult::NotInPlan);
    EXPECT_TRUE(t.dialogs().shown().empty());
    EXPECT_EQ(SaveCalendarMessage(refused), kNotInPlanMessage);
    EXPECT_TRUE(days("EMPLOYEEHOLIDAYS", "P1").isEmpty());

    EditCalendarState gone;
    ASSERT_TRUE(LoadEditCalendar(t.db(), 2014, QStringLiteral("P1"), gone));
    EXPECT_FALSE(gone.found);
    EXPECT_EQ(gone.remaining, 0);
}

} // namespace
} // namespace zf

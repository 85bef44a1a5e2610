// The overview's data: the day-of-year mapping, the bulk load against the single employee's
// statements on the same database, the CSV sheet and the editor's lock rules.
#include "plans/overview.h"

#include "data/mydatabase.h"
#include "tests/plans/overview_seed.h"
#include "tests/support/test_database.h"
#include "util/dates.h"

#include <gtest/gtest.h>

#include <random>

namespace zf {
namespace {

using test::PlanSeed;
using test::TestDatabase;

TEST(OverviewDays, MappingInLeapAndCommonYears)
{
    EXPECT_EQ(DaysInYear(2012), 366);
    EXPECT_EQ(DaysInYear(2013), 365);
    EXPECT_EQ(DaysInYear(2000), 366);
    EXPECT_EQ(DaysInYear(2100), 365);
    EXPECT_EQ(PlanDayOfYear(20120101, 2012), 1);
    EXPECT_EQ(PlanDayOfYear(20120229, 2012), 60);
    EXPECT_EQ(PlanDayOfYear(20120301, 2012), 61);
    EXPECT_EQ(PlanDayOfYear(20121231, 2012), 366);
    EXPECT_EQ(PlanDayOfYear(20130301, 2013), 60);
    EXPECT_EQ(PlanDayOfYear(20131231, 2013), 365);
    // Not a day, or a day of another year: nowhere.
    EXPECT_EQ(PlanDayOfYear(20130229, 2013), 0);
    EXPECT_EQ(PlanDayOfYear(20120105, 2013), 0);
    EXPECT_EQ(PlanDayOfYear(0, 2013), 0);
    EXPECT_EQ(PlanDayOfYear(-5, 2013), 0);

    EXPECT_EQ(DayHeaderText(2012, 60), QStringLiteral("29 Lut"));
    EXPECT_EQ(DayHeaderText(2012, 61), QStringLiteral("1 Mar"));
    EXPECT_EQ(DayHeaderText(2013, 60), QStringLiteral("1 Mar"));
    EXPECT_EQ(DayHeaderText(2012, 366), QStringLiteral("31 Gru"));
    EXPECT_EQ(DayHeaderText(2013, 366), QString());
    EXPECT_EQ(DayHeaderText(2013, 1), QStringLiteral("1 Sty"));
    EXPECT_EQ(WeekdayText(2013, 1), QStringLiteral("Wt"));  // 1 January 2013 was a Tuesday
    EXPECT_EQ(WeekdayText(2012, 60), QStringLiteral("Śr")); // 29 February 2012, a Wednesday
    EXPECT_EQ(WeekdayText(2013, 6), QStringLiteral("Nd"));
}

// The day of the year is computed by arithmetic; every number around each year must give what
// the calendar does.
TEST(OverviewDays, DayOfYearAgreesWithTheCalendar)
{
    const auto reference = [](int n, int year) {
        return IsValidDateNumber(n) && YearPart(n) == year ? DayOfYear(n) : 0;
    };
    for (int year : {999, 1000, 1600, 1900, 2000, 2023, 2024, 2100, 9999, 10000}) {
        SCOPED_TRACE(year);
        int days = 0;
        for (int n = year * 10000 - 200; n <= year * 10000 + 1400; ++n) {
            ASSERT_EQ(PlanDayOfYear(n, year), reference(n, year)) << n;
            days += PlanDayOfYear(n, year) > 0;
        }
        EXPECT_EQ(days, year >= 1000 && year <= 9999 ? DaysInYear(year) : 0);
        // The same numbers asked of a neighbouring year belong to none.
        EXPECT_EQ(PlanDayOfYear(year * 10000 + 101, year + 1), 0);
    }
    EXPECT_EQ(PlanDayOfYear(-20240101, -2024), 0);
}

TEST(OverviewDays, RemainingMayGoNegative)
{
    EXPECT_EQ(RemainingDays(26, 2, 0), 28);
    EXPECT_EQ(RemainingDays(26, 2, 29), -1);
    EXPECT_EQ(RemainingDays(26, -30, 0), -4);
}

TEST(OverviewDays, FirstVisibleDayFollowsToday)
{
    // Mid-year: today's column first.
    EXPECT_EQ(FirstVisibleDay(2013, QDate(2024, 3, 1), 20), 60);
    EXPECT_EQ(FirstVisibleDay(2012, QDate(2024, 3, 1), 20), 61);
    // Within the last page: the last page.
    EXPECT_EQ(FirstVisibleDay(2013, QDate(2024, 12, 20), 20), 346);
    EXPECT_EQ(FirstVisibleDay(2013, QDate(2024, 12, 31), 20), 346);
    EXPECT_EQ(FirstVisibleDay(2012, QDate(2024, 12, 31), 20), 347);
    // Just before the last page.
    EXPECT_EQ(FirstVisibleDay(2013, QDate(2024, 12, 12), 20), 346);
    EXPECT_EQ(FirstVisibleDay(2013, QDate(2024, 12, 11), 20), 345);
    // 29 February in a common plan year counts as 28 February.
    EXPECT_EQ(FirstVisibleDay(2013, QDate(2024, 2, 29), 20), 59);
    // More columns than days: the whole year from 1 January.
    EXPECT_EQ(FirstVisibleDay(2013, QDate(2024, 6, 1), 400), 1);
}

TEST(OverviewList, KeepsOrderAndRefusesDuplicates)
{
    THolidayPlans list;
    THolidayPlanEntry a;
    a.IDEMPLOYEE = QStringLiteral("A1");
    a.THISYEARDAYS = 5;
    THolidayPlanEntry b;
    b.IDEMPLOYEE = QStringLiteral("a1"); // another text: another employee
    EXPECT_TRUE(list.Add(a));
    EXPECT_TRUE(list.Add(b));
    a.THISYEARDAYS = 9;
    EXPECT_FALSE(list.Add(a));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(0).THISYEARDAYS, 5);
    EXPECT_EQ(list.IndexOf(QStringLiteral("a1")), 1);
    EXPECT_EQ(list.IndexOf(QStringLiteral("X")), -1);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.IndexOf(QStringLiteral("A1")), -1);
}

TEST(OverviewLocks, EditorReadOnlyRules)
{
    LoginState admin;
    EXPECT_FALSE(EditorReadOnly(admin, false, QStringLiteral("P1")));
    EXPECT_FALSE(EditorReadOnly(admin, true, QStringLiteral("P1")));

    LoginState viewer; // "pracownik"
    viewer.restricted = true;
    viewer.approvedPlanLock = true;
    EXPECT_TRUE(EditorReadOnly(viewer, false, QStringLiteral("P1")));
    EXPECT_TRUE(EditorReadOnly(viewer, false, QString()));

    LoginState byNumber;
    byNumber.restricted = true;
    byNumber.employee = QStringLiteral("P1");
    EXPECT_FALSE(EditorReadOnly(byNumber, false, QStringLiteral("P1")));
    EXPECT_FALSE(EditorReadOnly(byNumber, true, QStringLiteral("P1"))); // lock off
    EXPECT_TRUE(EditorReadOnly(byNumber, false, QStringLiteral("P2")));
    byNumber.approvedPlanLock = true;
    EXPECT_FALSE(EditorReadOnly(byNumber, false, QStringLiteral("P1")));
    EXPECT_TRUE(EditorReadOnly(byNumber, true, QStringLiteral("P1")));
    EXPECT_TRUE(EditorReadOnly(byNumber, true, QStringLiteral("P2")));
}

// The overview loaded one employee at a time: the plan-employee list, then two
// statements per employee. The fast load must give exactly this.
OverviewData loadOneByOne(TmyDataBase& db, int year, int unit)
{
    OverviewData out;
    out.year = year;
    out.unitFilter = unit;
    db.OpenCalendar(year);
    for (int r = 0; r < db.DBFCalendar.recordCount(); ++r) {
        const int day = PlanDayOfYear(db.DBFCalendar.valueAt(r, 0).toInt(), year);
        if (day > 0)
            out.working.reset(day - 1);
    }
    db.OpenSettings(year, unit);
    fb::DataSet& s = db.DBFEmployeesSettings;
    for (int r = 0; r < s.recordCount(); ++r) {
        s.setCurrentRow(r);
        THolidayPlanEntry e;
        e.IDEMPLOYEE = s.asString(QStringLiteral("IDEMPLOYEE"));
        e.NAME = s.asString(QStringLiteral("NAME"));
        e.SURNAME = s.asString(QStringLiteral("SURNAME"));
        e.LASTYEARDAYS = s.asInteger(QStringLiteral("LASTYEARDAYS"));
        e.THISYEARDAYS = s.asInteger(QStringLiteral("THISYEARDAYS"));
        db.OpenChosenDays(year, e.IDEMPLOYEE);
        int counted = 0;
        for (int i = 0; i < db.DBFEmployeeHolidays.recordCount(); ++i) {
            const int day = PlanDayOfYear(db.DBFEmployeeHolidays.valueAt(i, 0).toInt(), year);
            if (day > 0) {
                e.leave.set(day - 1);
                ++counted;
            }
        }
        e.remaining = RemainingDays(e.THISYEARDAYS, e.LASTYEARDAYS, counted);
        db.OpenFixedDays(year, e.IDEMPLOYEE);
        for (int i = 0; i < db.DBFEmployeeConstDays.recordCount(); ++i) {
            const int day = PlanDayOfYear(db.DBFEmployeeConstDays.valueAt(i, 0).toInt(), year);
            if (day > 0)
                e.unchangeable.set(day - 1);
        }
        out.plans.Add(e);
    }
    return out;
}

void expectSame(const OverviewData& bulk, const OverviewData& ref)
{
    EXPECT_EQ(bulk.working, ref.working);
    ASSERT_EQ(bulk.plans.Count(), ref.plans.Count());
    for (int i = 0; i < ref.plans.Count(); ++i) {
        const THolidayPlanEntry& a = bulk.plans.at(i);
        const THolidayPlanEntry& b = ref.plans.at(i);
        SCOPED_TRACE(b.IDEMPLOYEE.toStdString());
        EXPECT_EQ(a.IDEMPLOYEE, b.IDEMPLOYEE);
        EXPECT_EQ(a.NAME, b.NAME);
        EXPECT_EQ(a.SURNAME, b.SURNAME);
        EXPECT_EQ(a.LASTYEARDAYS, b.LASTYEARDAYS);
        EXPECT_EQ(a.THISYEARDAYS, b.THISYEARDAYS);
        EXPECT_EQ(a.remaining, b.remaining);
        EXPECT_EQ(a.leave, b.leave);
        EXPECT_EQ(a.unchangeable, b.unchangeable);
    }
}

// A 2013 plan with the awkward cases, and a 2012 plan beside it.
void seedAwkward(TestDatabase& t)
{
    PlanSeed s(t.db());
    s.plan(2012, 4);
    s.plan(2013, 5);
    s.employee(QStringLiteral("P1"), QStringLiteral("Jan"), QStringLiteral("Nowak"), 1);
    s.employee(QStringLiteral("P2"), QStringLiteral("Anna"), QStringLiteral("Kowalska"), 2);
    s.employee(QStringLiteral("P3"), QStringLiteral("Łucja"), QStringLiteral("Żak"), 1);
    s.employee(QStringLiteral("P4"), QStringLiteral("Ewa"), QStringLiteral("Nowak"), 1);
    s.employee(QStringLiteral("P9"), QStringLiteral("Out"), QStringLiteral("Side"), 1);
    s.inPlan(2013, QStringLiteral("P1"), 2, 26);
    s.inPlan(2013, QStringLiteral("P2"), 0, 20);
    s.inPlan(2013, QStringLiteral("P3"), -40, 26); // negative entitlement
    s.inPlan(2013, QStringLiteral("P4"), 0, 0);
    s.freeDay(2013, 20130101);
    s.freeDay(2013, 20130506);
    s.freeDay(2012, 20130510); // another plan's row naming a 2013 date
    s.freeDay(2013, 20120302); // a day of another year in this plan's calendar
    // P1: ordinary days, a day on a non-working day, and one on the date of another plan's row.
    s.leave(2013, QStringLiteral("P1"), 20130102);
    s.leave(2013, QStringLiteral("P1"), 20130103);
    s.leave(2013, QStringLiteral("P1"), 20130101);
    s.leave(2013, QStringLiteral("P1"), 20130510);
    s.leave(2013, QStringLiteral("P1"), 20131231);
    s.fixed(2013, QStringLiteral("P1"), 20130103);
    s.fixed(2013, QStringLiteral("P1"), 20130104); // unchangeable without leave
    s.fixed(2013, QStringLiteral("P1"), 20130506); // on a non-working day
    // P2: a day of another year and a damaged value.
    s.leave(2013, QStringLiteral("P2"), 20120105);
    s.leave(2013, QStringLiteral("P2"), 20130229);
    s.leave(2013, QStringLiteral("P2"), 20130301);
    // P3 with more days than the entitlement.
    for (int d = 1; d <= 5; ++d)
        s.leave(2013, QStringLiteral("P3"), 20130200 + d);
    // P9 is out of the plan but kept his days; 2012 days of P1 belong to the other plan.
    s.leave(2013, QStringLiteral("P9"), 20130107);
    s.leave(2012, QStringLiteral("P1"), 20120229);
    s.commit();
}

TEST(OverviewLoad, AwkwardRowsAsTheSingleStatementsGiveThem)
{
    TestDatabase t;
    seedAwkward(t);
    OverviewData data;
    ASSERT_TRUE(LoadOverview(t.db(), 2013, 0, data));
    EXPECT_TRUE(data.approved);
    EXPECT_EQ(data.dayCount(), 365);
    EXPECT_FALSE(data.isWorkingDay(1));
    EXPECT_FALSE(data.isWorkingDay(PlanDayOfYear(20130506, 2013)));
    EXPECT_TRUE(data.isWorkingDay(PlanDayOfYear(20130510, 2013))); // another plan's row
    EXPECT_TRUE(data.isWorkingDay(PlanDayOfYear(20130302, 2013)));

    // Ordered by surname, name, number; P9 is not in the plan.
    ASSERT_EQ(data.plans.Count(), 4);
    EXPECT_EQ(data.plans.at(0).IDEMPLOYEE, QStringLiteral("P2"));
    EXPECT_EQ(data.plans.at(1).IDEMPLOYEE, QStringLiteral("P4"));
    EXPECT_EQ(data.plans.at(2).IDEMPLOYEE, QStringLiteral("P1"));
    EXPECT_EQ(data.plans.at(3).IDEMPLOYEE, QStringLiteral("P3"));
    EXPECT_EQ(data.plans.IndexOf(QStringLiteral("P9")), -1);

    const THolidayPlanEntry& p1 = data.plans.at(2);
    // 2, 3 January and 31 December count; 1 January and 10 May are non-working somewhere.
    EXPECT_EQ(p1.remaining, 28 - 3);
    EXPECT_EQ(p1.leave.count(), 3u);
    EXPECT_TRUE(p1.isLeave(2));
    EXPECT_TRUE(p1.isLeave(3));
    EXPECT_TRUE(p1.isLeave(365));
    EXPECT_FALSE(p1.isLeave(1));
    EXPECT_TRUE(p1.isUnchangeable(3));
    EXPECT_TRUE(p1.isUnchangeable(4));
    EXPECT_FALSE(p1.isUnchangeable(PlanDayOfYear(20130506, 2013)));

    EXPECT_EQ(data.plans.at(0).remaining, 19); // only 1 March counts
    EXPECT_EQ(data.plans.at(0).leave.count(), 1u);
    EXPECT_EQ(data.plans.at(3).remaining, -14 - 5);
    EXPECT_EQ(data.plans.at(1).remaining, 0);

    expectSame(data, loadOneByOne(t.db(), 2013, 0));
}

TEST(OverviewLoad, UnitFilterAndLeapYear)
{
    TestDatabase t;
    seedAwkward(t);
    OverviewData data;
    ASSERT_TRUE(LoadOverview(t.db(), 2013, 1, data));
    ASSERT_EQ(data.plans.Count(), 3);
    EXPECT_EQ(data.plans.IndexOf(QStringLiteral("P2")), -1);
    expectSame(data, loadOneByOne(t.db(), 2013, 1));

    ASSERT_TRUE(LoadOverview(t.db(), 2012, 0, data));
    EXPECT_FALSE(data.approved);
    EXPECT_EQ(data.dayCount(), 366);
    EXPECT_EQ(data.plans.Count(), 0);
    EXPECT_TRUE(data.isWorkingDay(PlanDayOfYear(20120302, 2012))); // stored under 2013 only

    // A plan with no rows at all.
    ASSERT_TRUE(LoadOverview(t.db(), 2020, 0, data));
    EXPECT_EQ(data.plans.Count(), 0);
    EXPECT_FALSE(data.approved);
}

TEST(OverviewLoad, ManyEmployeesMatchTheOneByOneLoop)
{
    TestDatabase t;
    std::mt19937 rng(1234);
    {
        PlanSeed s(t.db());
        s.plan(2016, 4);
        s.plan(2015, 4);
        for (int d = 1; d <= 366; ++d)
            if (rng() % 9 == 0)
                s.freeDay(2016, DateOfDayOfYear(d, 2016));
        s.freeDay(2015, 20160704);
        for (int i = 0; i < 60; ++i) {
            const QString id = QStringLiteral("E%1").arg(i, 3, 10, QLatin1Char('0'));
            s.employee(id, QStringLiteral("Imię%1").arg(i % 7), QStringLiteral("Nazwisko%1").arg(i % 11),
                       1 + i % 3);
            if (i % 10 == 9)
                continue; // not in the plan
            s.inPlan(2016, id, static_cast<int>(rng() % 10) - 3, 20 + static_cast<int>(rng() % 7));
            for (int d = 1; d <= 366; ++d) {
                if (rng() % 12 == 0)
                    s.leave(2016, id, DateOfDayOfYear(d, 2016));
                if (rng() % 30 == 0)
                    s.fixed(2016, id, DateOfDayOfYear(d, 2016));
            }
        }
        // Every day of the year, leave and unchangeable: far more than one packed row holds.
        s.employee(QStringLiteral("E999"), QStringLiteral("Cały"), QStringLiteral("Rok"), 2);
        s.inPlan(2016, QStringLiteral("E999"), 0, 26);
        for (int d = 1; d <= 366; ++d) {
            s.leave(2016, QStringLiteral("E999"), DateOfDayOfYear(d, 2016));
            s.fixed(2016, QStringLiteral("E999"), DateOfDayOfYear(d, 2016));
        }
        s.commit();
    }
    for (int unit : {0, 2, 5}) {
        SCOPED_TRACE(unit);
        OverviewData data;
        ASSERT_TRUE(LoadOverview(t.db(), 2016, unit, data));
        if (unit == 0) {
            EXPECT_EQ(data.plans.Count(), 55);
        }
        expectSame(data, loadOneByOne(t.db(), 2016, unit));
    }
}

// The load reads in a snapshot of its own: work pending in the module's helper transaction is
// neither rolled back nor committed by it.
TEST(OverviewLoad, LeavesTheModulesHelperTransactionAlone)
{
    TestDatabase t;
    seedAwkward(t);
    TmyDataBase& db = t.db();
    db.DBFMySqlTransaction.start();
    db.mySQL.setSql(QStringLiteral("UPDATE HOLIDAYPLANS SET PLANDIR='pending' WHERE IDYEAR=2013"));
    db.mySQL.execute();
    OverviewData data;
    ASSERT_TRUE(LoadOverview(db, 2013, 0, data));
    EXPECT_EQ(data.plans.Count(), 4);
    ASSERT_TRUE(db.DBFMySqlTransaction.isActive()) << "the pending change was rolled back";
    db.DBFMySqlTransaction.commit();
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT PLANDIR FROM HOLIDAYPLANS WHERE IDYEAR=2013")),
              QStringLiteral("pending"));
}

TEST(OverviewLoad, DatabaseErrorIsReportedAndLeavesAnEmptyList)
{
    TestDatabase t;
    seedAwkward(t);
    t.db().Disconnect();
    t.dialogs().clear();
    OverviewData data;
    data.plans.Add(THolidayPlanEntry{});
    EXPECT_FALSE(LoadOverview(t.db(), 2013, 0, data));
    EXPECT_EQ(data.plans.Count(), 0);
    EXPECT_EQ(data.year, 2013);
    ASSERT_EQ(t.dialogs().informationTexts().size(), 1);
    EXPECT_TRUE(t.dialogs().informationTexts().front().startsWith(
        QStringLiteral("Wystąpił nieoczekiwany błąd.")));
}

TEST(OverviewSheet, MarksHeadersAndLegend)
{
    TestDatabase t;
    seedAwkward(t);
    OverviewData data;
    ASSERT_TRUE(LoadOverview(t.db(), 2013, 0, data));
    const QList<QStringList> sheet = OverviewSheet(data);
    ASSERT_EQ(sheet.size(), 4 + 2 + 2);
    EXPECT_EQ(sheet[0].size(), 365 + 3);
    EXPECT_EQ(sheet[0].mid(0, 4), (QStringList{QStringLiteral("Nazwisko pracownika"),
                                               QStringLiteral("Należny"), QStringLiteral("Pozost."),
                                               QStringLiteral("1 Sty")}));
    EXPECT_EQ(sheet[0].last(), QStringLiteral("31 Gru"));
    EXPECT_EQ(sheet[1].mid(0, 4),
              (QStringList{QString(), QString(), QString(), QStringLiteral("Wt")}));
    const QStringList& p1 = sheet[2 + 2];
    EXPECT_EQ(p1[0], QStringLiteral("Jan Nowak (P1)"));
    EXPECT_EQ(p1[1], QStringLiteral("26 (2)"));
    EXPECT_EQ(p1[2], QStringLiteral("25"));
    EXPECT_EQ(p1[3 + 0], QStringLiteral("x"));  // 1 January
    EXPECT_EQ(p1[3 + 1], QStringLiteral("v"));  // 2 January
    EXPECT_EQ(p1[3 + 2], QStringLiteral("v!")); // 3 January
    EXPECT_EQ(p1[3 + 3], QStringLiteral("!"));  // 4 January
    EXPECT_EQ(p1[3 + 4], QString());
    EXPECT_EQ(p1[3 + 364], QStringLiteral("v"));
    EXPECT_EQ(sheet[3 + 2][2], QStringLiteral("-19")); // Łucja Żak
    EXPECT_EQ(sheet[6], QStringList{QString()});
    EXPECT_EQ(sheet[7], QStringList{QStringLiteral(
                            "Legenda:\r x dzien wolny\r v urlop\r ! niezmienialny dzien urlopu")});

    OverviewData empty;
    empty.year = 2012;
    const QList<QStringList> bare = OverviewSheet(empty);
    ASSERT_EQ(bare.size(), 4);
    EXPECT_EQ(bare[0].size(), 366 + 3);
    EXPECT_EQ(bare[0][3 + 59], QStringLiteral("29 Lut"));
}

} // namespace
} // namespace zf

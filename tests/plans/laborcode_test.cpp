// The Labour Code's two leave rules against hand-counted plans: rest runs across weekends,
// holidays, 29 February and the year's ends, the entitlement of 9 and 10 days, carried-over
// days of 0 and below, leave on 30 September and on 1 October. Then the same verdicts from the
// overview's load on a real database (and from the leave editor's own load), the "KP" column
// of the sheet and the one question before approval.
#include "plans/laborcode.h"

#include "data/mydatabase.h"
#include "plans/editcalendar.h"
#include "plans/overviewlaborcode.h"
#include "tests/plans/overview_seed.h"
#include "tests/support/test_database.h"
#include "util/dates.h"

#include <gtest/gtest.h>

namespace zf {
namespace {

using test::PlanSeed;
using test::TestDatabase;

// Public holidays as a plan's calendar stores them, beside every Saturday and Sunday.
const QList<int> kHolidays2024 = {20240101, 20240106, 20240331, 20240401, 20240501,
                                  20240503, 20240519, 20240530, 20240815, 20241101,
                                  20241111, 20241225, 20241226};
const QList<int> kHolidays2025 = {20250101, 20250106, 20250420, 20250421, 20250501,
                                  20250503, 20250608, 20250619, 20250815, 20251101,
                                  20251111, 20251224, 20251225, 20251226};

QSet<int> nonWorking(int year, const QList<int>& holidays)
{
    QSet<int> days(holidays.begin(), holidays.end());
    for (int d = 1; d <= DaysInYear(year); ++d) {
        const int n = DateOfDayOfYear(d, year);
        if (DayOfWeekIso(n) >= 6)
            days.insert(n);
    }
    return days;
}

const LaborCodeYear& year2024()
{
    static const LaborCodeYear y = MakeLaborCodeYear(2024, nonWorking(2024, kHolidays2024));
    return y;
}

const LaborCodeYear& year2025()
{
    static const LaborCodeYear y = MakeLaborCodeYear(2025, nonWorking(2025, kHolidays2025));
    return y;
}

// Monday 29 April to Friday 10 May 2024 without Wednesday 1 May and Friday 3 May (holidays):
// with the weekends around, 27 April to 12 May.
const QList<int> kMayBridge = {20240429, 20240430, 20240502, 20240506,
                               20240507, 20240508, 20240509, 20240510};
// Wednesday 17 to Tuesday 30 July 2024: ten working days, 14 calendar days.
const QList<int> kJuly14 = {20240717, 20240718, 20240719, 20240722, 20240723,
                            20240724, 20240725, 20240726, 20240729, 20240730};
// Wednesday 21 February to Tuesday 5 March 2024 over 29 February: 14 calendar days.
const QList<int> kLeapRun = {20240221, 20240222, 20240223, 20240226, 20240227,
                             20240228, 20240229, 20240301, 20240304, 20240305};

int day(int dateNumber)
{
    return PlanDayOfYear(dateNumber, YearPart(dateNumber));
}

RestRun run(int from, int to)
{
    return RestRun{day(from), day(to)};
}

LaborCodeCheck check2024(const QList<int>& leave, int lastYear, int thisYear)
{
    return CheckLaborCode(year2024(), LeaveFlags(2024, leave), lastYear, thisYear);
}

class LaborCodeTexts : public ::testing::Test
{
protected:
    void SetUp() override { setDateSeparator(QLatin1Char('-')); }
};

TEST(LaborCodeRuns, WeekendsAndHolidaysJoinTheLeaveAroundThem)
{
    LaborCodeCheck c = check2024(kMayBridge, 0, 26);
    EXPECT_EQ(c.longestRun, run(20240427, 20240512));
    EXPECT_EQ(c.longestRun.days(), 16);
    EXPECT_TRUE(c.runChecked);
    EXPECT_FALSE(c.broken());

    // Without Thursday 2 May the bridge breaks: 27 April - 1 May and 3 - 12 May.
    QList<int> gap = kMayBridge;
    gap.removeOne(20240502);
    c = check2024(gap, 0, 26);
    EXPECT_EQ(c.longestRun, run(20240503, 20240512));
    EXPECT_EQ(c.longestRun.days(), 10);
    EXPECT_TRUE(c.runBroken);
}

TEST(LaborCodeRuns, FourteenDaysMeetTheRuleAndThirteenDoNot)
{
    LaborCodeCheck c = check2024(kJuly14, 0, 26);
    EXPECT_EQ(c.longestRun, run(20240717, 20240730));
    EXPECT_EQ(c.longestRun.days(), 14);
    EXPECT_FALSE(c.runBroken);

    QList<int> shorter = kJuly14;
    shorter.removeOne(20240730);
    c = check2024(shorter, 0, 26);
    EXPECT_EQ(c.longestRun.days(), 13);
    EXPECT_TRUE(c.runBroken);
    // The earliest of equal runs is named: two separate weeks of 9 days each.
    c = check2024({20240603, 20240604, 20240605, 20240606, 20240607, 20240902, 20240903, 20240904,
                   20240905, 20240906},
                  0, 26);
    EXPECT_EQ(c.longestRun, run(20240601, 20240609));
}

TEST(LaborCodeRuns, ARunOver29February)
{
    const LaborCodeCheck c = check2024(kLeapRun, 0, 26);
    EXPECT_EQ(c.longestRun, (RestRun{52, 65}));
    EXPECT_EQ(c.longestRun, run(20240221, 20240305));
    EXPECT_EQ(c.longestRun.days(), 14);
    EXPECT_FALSE(c.broken());
    // Without the leap day the run stops on 28 February and starts again on 1 March.
    QList<int> noLeapDay = kLeapRun;
    noLeapDay.removeOne(20240229);
    EXPECT_EQ(check2024(noLeapDay, 0, 26).longestRun, run(20240221, 20240228));
}

TEST(LaborCodeRuns, RunsStartOn1JanuaryAndGoOnIntoTheNextYear)
{
    // 1 January (holiday) to Sunday 12 January 2025, over Epiphany: 12 days. 20 to 31 December
    // over Christmas, and on through Thursday 1 January 2026, a holiday of every year even
    // without the next plan: 13 days, the longer one named.
    const QList<int> start = {20250102, 20250103, 20250107, 20250108, 20250109, 20250110};
    const QList<int> end = {20251222, 20251223, 20251229, 20251230, 20251231};
    LaborCodeCheck c = CheckLaborCode(year2025(), LeaveFlags(2025, start), 0, 26);
    EXPECT_EQ(c.longestRun, (RestRun{1, 12}));
    EXPECT_TRUE(c.runBroken);
    c = CheckLaborCode(year2025(), LeaveFlags(2025, start + end), 0, 26);
    EXPECT_EQ(c.longestRun, (RestRun{day(20251220), 366}));
    EXPECT_EQ(c.longestRun.days(), 13);
    EXPECT_TRUE(c.runBroken);

    // A week more before Christmas: 13 December to 1 January.
    const QList<int> week = {20251215, 20251216, 20251217, 20251218, 20251219};
    c = CheckLaborCode(year2025(), LeaveFlags(2025, start + end + week), 0, 26);
    EXPECT_EQ(c.longestRun, (RestRun{347, 366}));
    EXPECT_FALSE(c.runBroken);
    // In a leap year the last day is the 366th: 21 December 2024 to Wednesday 1 January 2025.
    c = check2024({20241223, 20241224, 20241227, 20241230, 20241231}, 0, 26);
    EXPECT_EQ(c.longestRun, (RestRun{day(20241221), 367}));
    EXPECT_EQ(c.longestRun.days(), 12);
}

TEST(LaborCodeRuns, AChristmasRunCountsTheNextPlansDaysOffAndLeave)
{
    // Saturday 20 December 2025 to Thursday 1 January 2026: 13 days, one short.
    const LaborYearFlags leave =
        LeaveFlags(2025, {20251222, 20251223, 20251229, 20251230, 20251231});
    EXPECT_TRUE(CheckLaborCode(year2025(), leave, 0, 26).runBroken);

    // The 2026 plan exists: its weekend 3-4 January and Epiphany on Tuesday 6 January are
    // days off, Friday 2 and Monday 5 January are working days.
    LaborCodeYear y = year2025();
    SetNextYearPlan(y, {20260101, 20260103, 20260104, 20260106, 20260110, 20260111});
    // Without leave in January the run still ends on 1 January.
    LaborCodeCheck c = CheckLaborCode(y, leave, 0, 26);
    EXPECT_EQ(c.longestRun.days(), 13);
    EXPECT_TRUE(c.runBroken);
    // Leave on 2 January: on through the weekend, 20 December to 4 January, 16 days.
    LaborCodeEmployee e;
    e.nextLeave = LeaveFlags(2026, {20260102});
    c = CheckLaborCode(y, leave, 0, 26, e);
    EXPECT_EQ(c.longestRun, (RestRun{day(20251220), 365 + 4}));
    EXPECT_EQ(c.longestRun.days(), 16);
    EXPECT_FALSE(c.runBroken);
    // And on 5 January too: to Epiphany, 18 days.
    e.nextLeave = LeaveFlags(2026, {20260102, 20260105});
    c = CheckLaborCode(y, leave, 0, 26, e);
    EXPECT_EQ(c.longestRun.days(), 18);
    // Leave in the next plan alone makes no run of this year.
    c = CheckLaborCode(y, LaborYearFlags(), 0, 26, e);
    EXPECT_EQ(c.longestRun.days(), 0);
    // The next plan's days are of its own year: a date of 2025 among them is no day of 2026.
    LaborCodeYear wrong = year2025();
    SetNextYearPlan(wrong, {20250102, 20250103});
    EXPECT_EQ(CheckLaborCode(wrong, leave, 0, 26).longestRun.days(), 13);
}

TEST(LaborCodeRuns, NonWorkingDaysAloneMakeNoRun)
{
    // Easter (Saturday 30 March to Monday 1 April) has no leave day; a lone Wednesday does.
    LaborCodeCheck c = check2024({20240717}, 0, 26);
    EXPECT_EQ(c.longestRun, run(20240717, 20240717));
    // No leave at all: no run, and the rule is broken.
    c = check2024({}, 0, 26);
    EXPECT_EQ(c.longestRun.days(), 0);
    EXPECT_TRUE(c.runBroken);
    // A flag on a non-working day is no day of leave.
    c = check2024({20240601, 20240602}, 0, 26);
    EXPECT_EQ(c.longestRun.days(), 0);
    EXPECT_EQ(c.leaveByDeadline, 0);
}

TEST(LaborCodeEntitlement, TheRunRuleAppliesFromTenDays)
{
    EXPECT_FALSE(check2024({}, 0, 9).runChecked);
    EXPECT_FALSE(check2024({}, 0, 9).broken());
    EXPECT_TRUE(check2024({}, 0, 10).runChecked);
    EXPECT_TRUE(check2024({}, 0, 10).runBroken);
    // Carried over and this year's together; a negative carry-over lowers the sum.
    EXPECT_TRUE(check2024(kJuly14, 4, 6).runChecked);
    EXPECT_FALSE(check2024({}, -3, 12).runChecked);
    EXPECT_TRUE(check2024({}, -3, 13).runBroken);
}

TEST(LaborCodeCarryOver, OnlyDaysAboveZeroAreChecked)
{
    for (const int carried : {0, -1, -5}) {
        const LaborCodeCheck c = check2024({}, carried, 26);
        EXPECT_FALSE(c.carryOverBroken) << carried;
        EXPECT_EQ(c.carriedOver, carried);
    }
    const LaborCodeCheck c = check2024(kMayBridge, 8, 20);
    EXPECT_EQ(c.leaveByDeadline, 8);
    EXPECT_FALSE(c.carryOverBroken);
    EXPECT_TRUE(check2024(kMayBridge, 9, 20).carryOverBroken);
}

TEST(LaborCodeCarryOver, MaternityOrSickDaysExcuseTheDeadline)
{
    // 3 days carried over, 1 planned by 30 September.
    const LaborYearFlags leave = LeaveFlags(2024, {20240930, 20241001});
    LaborCodeCheck c = CheckLaborCode(year2024(), leave, 3, 23);
    EXPECT_TRUE(c.carryOverBroken);
    EXPECT_FALSE(c.carryOverExcused);
    LaborCodeEmployee absent;
    absent.absent = true;
    c = CheckLaborCode(year2024(), leave, 3, 23, absent);
    EXPECT_FALSE(c.carryOverBroken);
    EXPECT_TRUE(c.carryOverExcused);
    EXPECT_EQ(c.leaveByDeadline, 1);
    EXPECT_TRUE(c.runBroken); // the other rule still holds
    EXPECT_EQ(LaborCodeShortText(c, QStringLiteral("; ")), kLaborCodeShortRun);
    EXPECT_TRUE(LaborCodeHint(c).endsWith(CarryOverExcusedText(c)));
    EXPECT_TRUE(LaborCodeLineHint(c).contains(CarryOverExcusedText(c)));
    EXPECT_TRUE(CarryOverExcusedText(c).contains(QStringLiteral("1 z 3 dni")));
    // Carried-over leave planned in time needs no excuse.
    c = CheckLaborCode(year2024(), LeaveFlags(2024, {20240930}), 1, 23, absent);
    EXPECT_FALSE(c.carryOverExcused);
    EXPECT_FALSE(c.carryOverBroken);
}

TEST(LaborCodeCarryOver, ThirtiethOfSeptemberCountsAndFirstOfOctoberDoesNot)
{
    // Monday 30 September and Tuesday 1 October 2024 (the 274th and 275th day of a leap year).
    LaborCodeCheck c = check2024({20240930, 20241001}, 1, 0);
    EXPECT_EQ(c.leaveByDeadline, 1);
    EXPECT_FALSE(c.carryOverBroken);
    c = check2024({20240930, 20241001}, 2, 0);
    EXPECT_TRUE(c.carryOverBroken);
    EXPECT_FALSE(c.runChecked);
    EXPECT_TRUE(check2024({20241001}, 1, 0).carryOverBroken);
    // Saturday 28 September is no day of leave.
    EXPECT_EQ(check2024({20240928, 20240930}, 2, 0).leaveByDeadline, 1);
    // In a common year 30 September is the 273rd day.
    c = CheckLaborCode(year2025(), LeaveFlags(2025, {20250930, 20251001}), 2, 0);
    EXPECT_EQ(c.leaveByDeadline, 1);
    EXPECT_TRUE(c.carryOverBroken);
    EXPECT_FALSE(year2025().untilDeadline[273]);
    EXPECT_TRUE(year2025().untilDeadline[272]);
}

TEST(LaborCodeDays, TheSelectorsTableGivesTheSameDays)
{
    for (const int y : {2024, 2025}) {
        const QSet<int> free = nonWorking(y, y == 2024 ? kHolidays2024 : kHolidays2025);
        YearDays table = MakeYearDays(true);
        for (const int n : free)
            table[MonthPart(n) - 1][DayPart(n) - 1].selectable = false;
        const QList<int> leave = {y * 10000 + 228, y * 10000 + 229, y * 10000 + 301,
                                  y * 10000 + 930, y * 10000 + 1231};
        // The slot of 29 February exists in every year's table.
        for (const int n : leave)
            table[n / 100 % 100 - 1][n % 100 - 1].selected = true;
        table[1][30].selected = true; // 31 February is no day
        EXPECT_EQ(TableLeaveFlags(y, table), LeaveFlags(y, leave)) << y;
        EXPECT_EQ(MakeLaborCodeYear(y, TableWorkingFlags(y, table)).working,
                  MakeLaborCodeYear(y, free).working)
            << y;
    }
    // 29 February of a common year is nowhere.
    EXPECT_EQ(LeaveFlags(2025, {20250229, 20240105}).count(), 0u);
    EXPECT_EQ(year2025().days, 365);
    EXPECT_FALSE(year2025().working[365]);
}

TEST_F(LaborCodeTexts, RulesRunsAndTheEditorsLine)
{
    EXPECT_EQ(RestRunText(2024, RestRun{52, 65}),
              QStringLiteral("21-02-2024 – 05-03-2024 (14 dni)"));
    EXPECT_EQ(RestRunText(2024, run(20240717, 20240717)), QStringLiteral("17-07-2024 (1 dzień)"));
    EXPECT_EQ(RestRunText(2024, RestRun{}), QStringLiteral("brak"));
    EXPECT_EQ(RestRunText(2024, RestRun{day(20241221), 367}),
              QStringLiteral("21-12-2024 – 01-01-2025 (12 dni)"));

    const LaborCodeCheck both = check2024({20240930, 20241001}, 3, 23);
    EXPECT_EQ(LaborCodeHint(both),
              QStringLiteral("Brak części urlopu trwającej co najmniej 14 kolejnych dni "
                             "kalendarzowych (art. 162 KP)\nZaległy urlop: zaplanowano 1 z 3 dni "
                             "do 30 września (art. 168 KP)"));
    EXPECT_EQ(LaborCodeShortText(both, QStringLiteral("; ")),
              QStringLiteral("brak 14 dni z rzędu (art. 162 KP); zaległy urlop do 30 września "
                             "(art. 168 KP)"));
    EXPECT_EQ(LaborCodeLineText(2024, both),
              QStringLiteral("Kodeks pracy: brak 14 dni z rzędu (art. 162 KP), zaległy urlop do "
                             "30 września (art. 168 KP); najdłuższy odpoczynek: 28-09-2024 – "
                             "01-10-2024 (4 dni)"));
    EXPECT_TRUE(LaborCodeLineHint(both).startsWith(LaborCodeHint(both) + QLatin1Char('\n')));

    const LaborCodeCheck met = check2024(kLeapRun, 2, 26);
    EXPECT_TRUE(LaborCodeHint(met).isEmpty());
    EXPECT_TRUE(LaborCodeShortText(met, QStringLiteral("; ")).isEmpty());
    EXPECT_EQ(LaborCodeLineText(2024, met),
              QStringLiteral("Kodeks pracy: spełnione; najdłuższy odpoczynek: 21-02-2024 – "
                             "05-03-2024 (14 dni)"));
    EXPECT_TRUE(LaborCodeLineHint(met).contains(QStringLiteral("(art. 168 KP)")));
    // Below 10 days the hint says the run rule does not apply.
    EXPECT_TRUE(LaborCodeLineHint(check2024({}, 0, 9))
                    .startsWith(QStringLiteral("Wymiar urlopu poniżej 10 dni")));
}

// --- the overview's load ------------------------------------------------------------------

constexpr int kYear = 2024;

class LaborCodeOverview : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setDateSeparator(QLatin1Char('-'));
        PlanSeed s(t.db());
        s.plan(kYear);
        for (const int n : nonWorking(kYear, kHolidays2024))
            s.freeDay(kYear, n);
        const auto add = [&](const char* id, const char* surname, int last, int thisYear,
                             const QList<int>& leave) {
            const QString key = QString::fromLatin1(id);
            s.employee(key, QStringLiteral("Ewa"), QString::fromUtf8(surname));
            s.inPlan(kYear, key, last, thisYear);
            for (const int n : leave)
                s.leave(kYear, key, n);
        };
        add("K1", "Adamczyk", 2, 26, kMayBridge);
        add("K2", "Bielska", 0, 9, {20240717});
        // Leave stored on a holiday is left out by the load.
        add("K3", "Cieślak", 0, 10, {20240106});
        add("K4", "Dudek", 3, 23, {20240930, 20241001});
        add("K5", "Ezmann", -2, 12, kJuly14);
        add("K6", "Fijałek", 0, 26, kLeapRun);
        s.commit();
    }

    OverviewData load()
    {
        OverviewData data;
        EXPECT_TRUE(LoadOverview(t.db(), kYear, 0, data));
        return data;
    }
    static const LaborCodeCheck& of(const OverviewData& data,
                                    const std::vector<LaborCodeCheck>& checks, const char* id)
    {
        return checks.at(static_cast<size_t>(data.plans.IndexOf(QString::fromLatin1(id))));
    }

    TestDatabase t;
};

TEST_F(LaborCodeOverview, VerdictsFromTheLoadedDaysMatchTheHandCount)
{
    const OverviewData data = load();
    const std::vector<LaborCodeCheck> checks = CheckLaborCode(data);
    ASSERT_EQ(checks.size(), 6u);
    EXPECT_EQ(of(data, checks, "K1").longestRun, run(20240427, 20240512));
    EXPECT_FALSE(of(data, checks, "K1").broken());
    EXPECT_FALSE(of(data, checks, "K2").broken()); // 9 days
    EXPECT_TRUE(of(data, checks, "K3").runBroken); // 10 days, the holiday is no leave
    EXPECT_EQ(of(data, checks, "K3").longestRun.days(), 0);
    EXPECT_TRUE(of(data, checks, "K4").runBroken);
    EXPECT_TRUE(of(data, checks, "K4").carryOverBroken);
    EXPECT_EQ(of(data, checks, "K4").leaveByDeadline, 1);
    EXPECT_FALSE(of(data, checks, "K5").broken()); // exactly 14, carried over below 0
    EXPECT_EQ(of(data, checks, "K6").longestRun, (RestRun{52, 65}));
    EXPECT_FALSE(of(data, checks, "K6").broken());

    // The leave editor's own load of one employee gives the same verdict.
    for (int i = 0; i < data.plans.Count(); ++i) {
        const QString id = data.plans.at(i).IDEMPLOYEE;
        EditCalendarState state;
        ASSERT_TRUE(LoadEditCalendar(t.db(), kYear, id, state));
        const LaborCodeCheck one = CheckLaborCode(
            MakeLaborCodeYear(kYear, TableWorkingFlags(kYear, state.days)),
            TableLeaveFlags(kYear, state.days), state.lastYearDays, state.thisYearDays);
        const LaborCodeCheck& all = checks[static_cast<size_t>(i)];
        EXPECT_EQ(one.longestRun, all.longestRun) << id.toStdString();
        EXPECT_EQ(one.runBroken, all.runBroken) << id.toStdString();
        EXPECT_EQ(one.carryOverBroken, all.carryOverBroken) << id.toStdString();
        EXPECT_EQ(one.leaveByDeadline, all.leaveByDeadline) << id.toStdString();
    }
}

// The next plan and the absences come from the database in one read for all employees.
TEST_F(LaborCodeOverview, TheNextPlanAndRecordedAbsencesCount)
{
    {
        PlanSeed s(t.db());
        // Christmas 2024: Saturday 21 to Tuesday 31 December, 11 days, and 1 January.
        s.employee(QStringLiteral("K7"), QStringLiteral("Ewa"), QStringLiteral("Gil"));
        s.inPlan(kYear, QStringLiteral("K7"), 0, 26);
        for (const int n : {20241223, 20241224, 20241227, 20241230, 20241231})
            s.leave(kYear, QStringLiteral("K7"), n);
        // As K4, with sick days recorded.
        s.employee(QStringLiteral("K8"), QStringLiteral("Ewa"), QStringLiteral("Hoża"));
        s.inPlan(kYear, QStringLiteral("K8"), 3, 23);
        for (const int n : {20240930, 20241001})
            s.leave(kYear, QStringLiteral("K8"), n);
        s.commit();
    }
    t.exec(QStringLiteral("UPDATE EMPLOYEESSETTINGS SET SICKDAYS=4 WHERE IDEMPLOYEE='K8'"));
    OverviewData data = load();
    std::vector<LaborCodeCheck> checks = CheckLaborCode(t.db(), data);
    EXPECT_EQ(of(data, checks, "K7").longestRun, (RestRun{day(20241221), 367}));
    EXPECT_TRUE(of(data, checks, "K7").runBroken);
    EXPECT_TRUE(of(data, checks, "K4").carryOverBroken);
    EXPECT_FALSE(of(data, checks, "K8").carryOverBroken);
    EXPECT_TRUE(of(data, checks, "K8").carryOverExcused);
    EXPECT_EQ(LaborCodeBreaks(data, checks).size(), 4u); // K3, K4, K7, K8 (art. 162 only)
    EXPECT_EQ(LaborCodeShortText(of(data, checks, "K8"), QStringLiteral("; ")), kLaborCodeShortRun);

    // The 2025 plan: leave on Thursday 2 and Friday 3 January, then the weekend and Epiphany
    // on Monday 6 January: 21 December to 6 January, 17 days. Leave of February is no matter.
    {
        PlanSeed s(t.db());
        s.plan(kYear + 1);
        for (const int n : nonWorking(kYear + 1, kHolidays2025))
            s.freeDay(kYear + 1, n);
        s.inPlan(kYear + 1, QStringLiteral("K7"), 0, 26);
        for (const int n : {20250102, 20250103, 20250203})
            s.leave(kYear + 1, QStringLiteral("K7"), n);
        s.commit();
    }
    data = load();
    checks = CheckLaborCode(t.db(), data);
    EXPECT_EQ(of(data, checks, "K7").longestRun, (RestRun{day(20241221), 366 + 6}));
    EXPECT_EQ(RestRunText(kYear, of(data, checks, "K7").longestRun),
              QStringLiteral("21-12-2024 – 06-01-2025 (17 dni)"));
    EXPECT_FALSE(of(data, checks, "K7").broken());
    // Without the context the plan's own days alone.
    EXPECT_TRUE(of(data, CheckLaborCode(data), "K7").runBroken);
}

TEST_F(LaborCodeOverview, SheetGetsTheKpColumnAfterTheRemainingDays)
{
    const OverviewData data = load();
    const std::vector<LaborCodeCheck> checks = CheckLaborCode(data);
    UnitStaffing unit;
    unit.name = QStringLiteral("Serwis");
    unit.minimum = 1;
    const std::vector<UnitStaffing> rows{unit};
    const QList<QStringList> plain = OverviewSheet(data, rows);
    const QList<QStringList> sheet = WithLaborCodeColumn(plain, checks);
    ASSERT_EQ(sheet.size(), plain.size());
    EXPECT_EQ(sheet[0].mid(0, 5), (QStringList{QStringLiteral("Nazwisko pracownika"),
                                               QStringLiteral("Należny"), QStringLiteral("Pozost."),
                                               QStringLiteral("KP"), QStringLiteral("1 Sty")}));
    EXPECT_EQ(sheet[1][3], QString());
    EXPECT_EQ(sheet[1][4], QStringLiteral("Pn"));
    // Rows in list order: Adamczyk, Bielska, Cieślak, Dudek, ...
    EXPECT_EQ(sheet[2][3], QString());
    EXPECT_EQ(sheet[4][3], QStringLiteral("brak 14 dni z rzędu (art. 162 KP)"));
    EXPECT_EQ(sheet[5][3], QStringLiteral("brak 14 dni z rzędu (art. 162 KP); zaległy urlop do "
                                          "30 września (art. 168 KP)"));
    for (qsizetype r = 0; r < sheet.size() - 2; ++r) {
        QStringList without = sheet[r];
        without.removeAt(3);
        EXPECT_EQ(without, plain[r]) << r;
    }
    // The staffing row gets an empty cell; the empty row and the legend stay as they were.
    EXPECT_EQ(sheet[8][0], QStringLiteral("Obsada: Serwis"));
    EXPECT_EQ(sheet[8][3], QString());
    EXPECT_EQ(sheet.mid(sheet.size() - 2), plain.mid(plain.size() - 2));
}

TEST_F(LaborCodeOverview, OneApprovalQuestionListsBothAndTheFirstTen)
{
    const OverviewData data = load();
    const std::vector<LaborCodeBreak> breaks = LaborCodeBreaks(data, CheckLaborCode(data));
    ASSERT_EQ(breaks.size(), 2u);
    EXPECT_EQ(breaks[0].employee, QStringLiteral("Ewa Cieślak (K3)"));
    EXPECT_EQ(breaks[1].employee, QStringLiteral("Ewa Dudek (K4)"));

    const QString plain = QStringLiteral("Czy na pewno zatwierdzić plan?");
    EXPECT_EQ(PlanApprovalQuestion(kYear, {}, {}), plain);
    const std::vector<StaffingShortfall> shortfalls{{day(20240305), QStringLiteral("Serwis"), 1}};
    EXPECT_EQ(PlanApprovalQuestion(kYear, shortfalls, {}), ApprovalQuestionText(kYear, shortfalls));
    EXPECT_EQ(PlanApprovalQuestion(kYear, {}, breaks, 1).toStdString(),
              QStringLiteral("Plan narusza zasady urlopowe Kodeksu pracy u pracowników:\n"
                             "Ewa Cieślak (K3): brak 14 dni z rzędu (art. 162 KP)\n"
                             "i jeszcze 1 innych.\n\nCzy na pewno zatwierdzić plan?")
                  .toStdString());
    EXPECT_EQ(PlanApprovalQuestion(kYear, shortfalls, breaks).toStdString(),
              QStringLiteral("W planie są dni poniżej minimalnej obsady:\n"
                             "05-03-2024  Serwis (brakuje 1)\n\n"
                             "Plan narusza zasady urlopowe Kodeksu pracy u pracowników:\n"
                             "Ewa Cieślak (K3): brak 14 dni z rzędu (art. 162 KP)\n"
                             "Ewa Dudek (K4): brak 14 dni z rzędu (art. 162 KP); zaległy urlop "
                             "do 30 września (art. 168 KP)\n\nCzy na pewno zatwierdzić plan?")
                  .toStdString());

    // Eleven who break a rule: ten are named.
    std::vector<LaborCodeBreak> many(11, breaks[0]);
    const QString text = PlanApprovalQuestion(kYear, {}, many);
    EXPECT_EQ(text.count(QStringLiteral("Ewa Cieślak (K3)")), 10);
    EXPECT_TRUE(text.contains(QStringLiteral("i jeszcze 1 innych.")));
    EXPECT_EQ(PlanApprovalQuestion(kYear, {}, std::vector<LaborCodeBreak>(10, breaks[0]))
                  .count(QStringLiteral("innych")),
              0);
}

} // namespace
} // namespace zf

// The count and the runs of leave the plan window shows.
#include "planer/planchoice.h"
#include "tests/util/print.h"

#include <gtest/gtest.h>

namespace zf {
namespace {

const QSet<int> kJulyWeekends = {20270703, 20270704, 20270710, 20270711,
                                 20270717, 20270718, 20270724, 20270725};

TEST(PlanChoice, AWeekendOfNonWorkingDaysDoesNotBreakARun)
{
    QList<int> chosen;
    for (const int day : {23, 12, 13, 14, 15, 16, 19, 20, 21, 22}) // out of order on purpose
        chosen << 20270700 + day;
    const QList<LeaveRun> runs = LeaveRuns(chosen, kJulyWeekends);
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs.at(0), (LeaveRun{20270712, 20270723, 10}));
    EXPECT_EQ(LeaveRunText(runs.at(0)),
              QStringLiteral("12-07-2027 – 23-07-2027, 10 dni roboczych"));
}

TEST(PlanChoice, AWorkingDayNotChosenEndsARun)
{
    // Only Sunday is non-working here: the Saturday between splits the days.
    const QSet<int> sundays = {20270718};
    const QList<LeaveRun> runs = LeaveRuns({20270716, 20270719, 20270720, 20270301}, sundays);
    ASSERT_EQ(runs.size(), 3);
    EXPECT_EQ(runs.at(0), (LeaveRun{20270301, 20270301, 1}));
    EXPECT_EQ(runs.at(1), (LeaveRun{20270716, 20270716, 1}));
    EXPECT_EQ(runs.at(2), (LeaveRun{20270719, 20270720, 2}));
    EXPECT_EQ(LeaveRunText(runs.at(0)), QStringLiteral("01-03-2027, 1 dzień roboczy"));
    EXPECT_EQ(LeaveRunText(runs.at(2)), QStringLiteral("19-07-2027 – 20-07-2027, 2 dni robocze"));
    EXPECT_TRUE(LeaveRuns({}, sundays).isEmpty());

    // A run goes on over the turn of a month.
    const QList<LeaveRun> turn = LeaveRuns({20270630, 20270701, 20270705}, {20270703, 20270704});
    ASSERT_EQ(turn.size(), 2);
    EXPECT_EQ(turn.at(0), (LeaveRun{20270630, 20270701, 2}));
    EXPECT_EQ(turn.at(1), (LeaveRun{20270705, 20270705, 1}));
}

TEST(PlanChoice, PolishPluralOfWorkingDays)
{
    const std::pair<int, const char*> cases[] = {
        {1, "1 dzień roboczy"},   {2, "2 dni robocze"},       {4, "4 dni robocze"},
        {5, "5 dni roboczych"},   {11, "11 dni roboczych"},   {12, "12 dni roboczych"},
        {14, "14 dni roboczych"}, {21, "21 dni roboczych"},   {22, "22 dni robocze"},
        {24, "24 dni robocze"},   {112, "112 dni roboczych"}, {123, "123 dni robocze"},
    };
    for (const auto& [n, text] : cases)
        EXPECT_EQ(WorkingDaysText(n), QString::fromUtf8(text)) << n;
}

TEST(PlanChoice, CountGoesBelowZero)
{
    EXPECT_EQ(ChoiceCountText(3, 28), QStringLiteral("Wybrano 3 dni z 28, pozostało 25"));
    EXPECT_EQ(ChoiceCountText(29, 28), QStringLiteral("Wybrano 29 dni z 28, pozostało -1"));
    EXPECT_EQ(ChoiceCountText(0, -2), QStringLiteral("Wybrano 0 dni z -2, pozostało -2"));
}

} // namespace
} // namespace zf

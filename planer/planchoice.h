#pragma once

#include <QList>
#include <QSet>
#include <QString>

// What the employee's choice of days amounts to: the count against the entitlement and the runs
// of leave, as the plan window lists them.
namespace zf {

// One run of leave: the first and the last chosen day (date numbers) and how many days of it
// are chosen. Between two chosen days of a run there are only non-working days.
struct LeaveRun
{
    int first = 0;
    int last = 0;
    int days = 0;

    bool operator==(const LeaveRun&) const = default;
};

// The chosen days (in any order, each once) as runs in date order.
QList<LeaveRun> LeaveRuns(QList<int> chosenDays, const QSet<int>& freeDays);

// "12-07-2027 – 23-07-2027, 10 dni roboczych"; a run of one day names it once.
QString LeaveRunText(const LeaveRun& run);

// "1 dzień roboczy", "2 dni robocze", "5 dni roboczych", "22 dni robocze".
QString WorkingDaysText(int days);

// "Wybrano X dni z Y, pozostało Z".
QString ChoiceCountText(int chosen, int entitlement);

} // namespace zf

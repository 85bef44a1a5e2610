#include "planer/planchoice.h"

#include "util/dates.h"

#include <algorithm>

namespace zf {

namespace {

// True when every day strictly between the two is a non-working day.
bool onlyFreeDaysBetween(int from, int to, const QSet<int>& freeDays)
{
    for (int day = AddDays(from, 1); day != 0 && day < to; day = AddDays(day, 1))
        if (!freeDays.contains(day))
            return false;
    return true;
}

} // namespace

QList<LeaveRun> LeaveRuns(QList<int> chosenDays, const QSet<int>& freeDays)
{
    std::sort(chosenDays.begin(), chosenDays.end());
    QList<LeaveRun> runs;
    for (const int day : chosenDays) {
        if (!runs.isEmpty() && onlyFreeDaysBetween(runs.last().last, day, freeDays)) {
            runs.last().last = day;
            ++runs.last().days;
        } else {
            runs.append(LeaveRun{day, day, 1});
        }
    }
    return runs;
}

QString WorkingDaysText(int days)
{
    if (days == 1)
        return QStringLiteral("1 dzień roboczy");
    const int ones = days % 10;
    const int tens = days % 100 / 10;
    if (ones >= 2 && ones <= 4 && tens != 1)
        return QStringLiteral("%1 dni robocze").arg(days);
    return QStringLiteral("%1 dni roboczych").arg(days);
}

QString LeaveRunText(const LeaveRun& run)
{
    const QString dates =
        run.first == run.last
            ? DateNumberToText(run.first)
            : DateNumberToText(run.first) + QStringLiteral(" – ") + DateNumberToText(run.last);
    return dates + QStringLiteral(", ") + WorkingDaysText(run.days);
}

QString ChoiceCountText(int chosen, int entitlement)
{
    return QStringLiteral("Wybrano %1 dni z %2, pozostało %3")
        .arg(chosen)
        .arg(entitlement)
        .arg(entitlement - chosen);
}

} // namespace zf

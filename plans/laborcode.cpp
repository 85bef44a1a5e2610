#include "plans/laborcode.h"

#include "util/dates.h"

#include <QDate>
#include <QStringList>

namespace zf {

namespace {

// Days past the year's end are days of the next year.
QString dayText(int year, int day)
{
    const int days = QDate::isLeapYear(year) ? 366 : 365;
    return DateNumberToText(day > days ? DateOfDayOfYear(day - days, year + 1)
                                       : DateOfDayOfYear(day, year));
}

QString daysText(int days)
{
    return days == 1 ? QStringLiteral("1 dzień") : QStringLiteral("%1 dni").arg(days);
}

} // namespace

LaborCodeYear MakeLaborCodeYear(int year, const LaborYearFlags& working)
{
    LaborCodeYear y;
    y.year = year;
    y.days = QDate::isLeapYear(year) ? 366 : 365;
    const int deadline = QDate(year, 9, 30).dayOfYear();
    for (int i = 0; i < y.days; ++i) {
        y.working[i] = working[i];
        y.untilDeadline[i] = i < deadline;
    }
    y.nextFree.set(0); // 1 January is a public holiday every year
    return y;
}

void SetNextYearPlan(LaborCodeYear& y, const QSet<int>& nextNonWorkingDays)
{
    for (const int n : nextNonWorkingDays)
        if (IsValidDateNumber(n) && YearPart(n) == y.year + 1)
            y.nextFree.set(DayOfYear(n) - 1);
}

LaborCodeYear MakeLaborCodeYear(int year, const QSet<int>& nonWorkingDays)
{
    LaborYearFlags working;
    working.set();
    for (const int n : nonWorkingDays)
        if (IsValidDateNumber(n) && YearPart(n) == year)
            working.reset(DayOfYear(n) - 1);
    return MakeLaborCodeYear(year, working);
}

namespace {

// `used`: leave on working days only; `nextLeave`: the next plan's leave.
RestRun longestRun(const LaborCodeYear& y, const LaborYearFlags& used,
                   const LaborYearFlags& nextLeave)
{
    RestRun best;
    if (used.none())
        return best;
    int start = 0; // first day of the run under way, 0: none
    bool holdsLeave = false;
    // One step past the last day closes a run that reaches 31 December.
    for (int i = 0; i <= y.days; ++i) {
        if (i < y.days && (used[i] || !y.working[i])) {
            if (start == 0)
                start = i + 1;
            holdsLeave = holdsLeave || used[i];
            continue;
        }
        int last = i;
        if (i == y.days) {
            // A rest reaching 31 December goes on as long as the next year gives days off.
            const LaborYearFlags next = y.nextFree | nextLeave;
            for (int j = 0; j < kLaborYearDays && next[j]; ++j)
                ++last;
        }
        if (start > 0 && holdsLeave && last - start + 1 > best.days())
            best = RestRun{start, last};
        start = 0;
        holdsLeave = false;
    }
    return best;
}

} // namespace

RestRun LongestRestRun(const LaborCodeYear& year, const LaborYearFlags& leave,
                       const LaborYearFlags& nextLeave)
{
    return longestRun(year, leave & year.working, nextLeave);
}

LaborCodeCheck CheckLaborCode(const LaborCodeYear& year, const LaborYearFlags& leave,
                              int lastYearDays, int thisYearDays,
                              const LaborCodeEmployee& employee)
{
    LaborCodeCheck c;
    const LaborYearFlags used = leave & year.working;
    c.longestRun = longestRun(year, used, employee.nextLeave);
    c.runChecked = lastYearDays + thisYearDays >= kRestRunMinEntitlement;
    c.runBroken = c.runChecked && c.longestRun.days() < kRestRunDays;
    c.carriedOver = lastYearDays;
    c.leaveByDeadline = static_cast<int>((used & year.untilDeadline).count());
    const bool late = lastYearDays > 0 && c.leaveByDeadline < lastYearDays;
    c.carryOverBroken = late && !employee.absent;
    c.carryOverExcused = late && employee.absent;
    return c;
}

LaborYearFlags LeaveFlags(int year, const QList<int>& dateNumbers)
{
    LaborYearFlags flags;
    for (const int n : dateNumbers)
        if (IsValidDateNumber(n) && YearPart(n) == year)
            flags.set(DayOfYear(n) - 1);
    return flags;
}

namespace {

template <class Take> LaborYearFlags fromTable(int year, const YearDays& table, Take take)
{
    LaborYearFlags flags;
    int index = 0;
    for (int m = 1; m <= 12; ++m) {
        const int days = QDate(year, m, 1).daysInMonth();
        for (int d = 1; d <= days; ++d, ++index)
            flags[index] = take(table[m - 1][d - 1]);
    }
    return flags;
}

} // namespace

LaborYearFlags TableLeaveFlags(int year, const YearDays& table)
{
    return fromTable(year, table, [](const DayState& s) { return s.selected; });
}

LaborYearFlags TableWorkingFlags(int year, const YearDays& table)
{
    return fromTable(year, table, [](const DayState& s) { return s.selectable; });
}

QString RestRunRuleText()
{
    return QStringLiteral("Brak części urlopu trwającej co najmniej 14 kolejnych dni "
                          "kalendarzowych (art. 162 KP)");
}

QString CarryOverRuleText(const LaborCodeCheck& check)
{
    return QStringLiteral("Zaległy urlop: zaplanowano %1 z %2 dni do 30 września (art. 168 KP)")
        .arg(check.leaveByDeadline)
        .arg(check.carriedOver);
}

QString CarryOverExcusedText(const LaborCodeCheck& check)
{
    return QStringLiteral("Zaległy urlop: zaplanowano %1 z %2 dni do 30 września, ale pracownik "
                          "ma w planie dni urlopu macierzyńskiego lub choroby, a po takiej "
                          "nieobecności zaległy urlop można udzielić później (art. 168 KP)")
        .arg(check.leaveByDeadline)
        .arg(check.carriedOver);
}

QString LaborCodeHint(const LaborCodeCheck& check)
{
    QStringList lines;
    if (check.runBroken)
        lines << RestRunRuleText();
    if (check.carryOverBroken)
        lines << CarryOverRuleText(check);
    else if (check.carryOverExcused)
        lines << CarryOverExcusedText(check);
    return lines.join(QLatin1Char('\n'));
}

QString LaborCodeShortText(const LaborCodeCheck& check, const QString& separator)
{
    QStringList names;
    if (check.runBroken)
        names << kLaborCodeShortRun;
    if (check.carryOverBroken)
        names << kLaborCodeShortCarryOver;
    return names.join(separator);
}

QString RestRunText(int year, const RestRun& run)
{
    if (run.days() == 0)
        return QStringLiteral("brak");
    const QString dates = run.first == run.last ? dayText(year, run.first)
                                                : dayText(year, run.first) + QStringLiteral(" – ") +
                                                      dayText(year, run.last);
    return dates + QStringLiteral(" (") + daysText(run.days()) + QLatin1Char(')');
}

QString LaborCodeLineText(int year, const LaborCodeCheck& check)
{
    const QString verdict = check.broken() ? LaborCodeShortText(check, QStringLiteral(", "))
                                           : QStringLiteral("spełnione");
    return QStringLiteral("Kodeks pracy: ") + verdict +
           QStringLiteral("; najdłuższy odpoczynek: ") + RestRunText(year, check.longestRun);
}

QString LaborCodeLineHint(const LaborCodeCheck& check)
{
    QStringList lines;
    if (check.runBroken)
        lines << RestRunRuleText();
    else if (check.runChecked)
        lines << QStringLiteral("Część urlopu trwa co najmniej 14 kolejnych dni kalendarzowych "
                                "(art. 162 KP)");
    else
        lines << QStringLiteral("Wymiar urlopu poniżej 10 dni: art. 162 KP nie jest sprawdzany");
    if (check.carryOverBroken)
        lines << CarryOverRuleText(check);
    else if (check.carryOverExcused)
        lines << CarryOverExcusedText(check);
    else if (check.carriedOver > 0)
        lines << QStringLiteral("Zaległy urlop zaplanowany do 30 września (art. 168 KP)");
    lines << QStringLiteral("Odpoczynek to kolejne dni urlopu razem z dniami wolnymi od pracy "
                            "między nimi i wokół nich; odpoczynek do 31 grudnia trwa dalej "
                            "w nowym roku (1 stycznia i dni wolne oraz urlop z planu na nowy "
                            "rok).");
    return lines.join(QLatin1Char('\n'));
}

} // namespace zf

#pragma once

#include "plans/calendar/daystate.h"

#include <QList>
#include <QSet>
#include <QString>

#include <bitset>

namespace zf {

// The two leave rules of the Labour Code that decide whether a year plan is lawful, as pure
// functions over one employee's days: the office's overview, its leave editor and the
// employees' zefirant-plan share them, so all three give the same verdict on the same days.
// Nothing here blocks anything: the office decides, the program points.
//
// Days are days of the plan year, 1 January = 1; flag n - 1 stands for day n.
inline constexpr int kLaborYearDays = 366;
using LaborYearFlags = std::bitset<kLaborYearDays>;

// Art. 162: one part of the leave lasts at least this many consecutive calendar days ...
inline constexpr int kRestRunDays = 14;
// ... for an employee entitled to at least this many days (carried over + this year).
inline constexpr int kRestRunMinEntitlement = 10;

// The plan year as the rules see it, built once for all the employees of a plan.
struct LaborCodeYear
{
    int year = 0;
    int days = 0;
    // Working days of the plan; days past the year's end are not set.
    LaborYearFlags working;
    // 1 January to 30 September: art. 168's deadline for carried-over leave.
    LaborYearFlags untilDeadline;
    // Days of the next year (1 January = flag 0) free for everyone: a rest run that reaches
    // 31 December goes on through them. 1 January always; the next plan's non-working days
    // where that plan exists (SetNextYearPlan).
    LaborYearFlags nextFree;
};

// `working`: cleared for the plan's non-working days (bits past the year's end are ignored).
LaborCodeYear MakeLaborCodeYear(int year, const LaborYearFlags& working);
// The same from the non-working days as date numbers; numbers of other years are ignored.
LaborCodeYear MakeLaborCodeYear(int year, const QSet<int>& nonWorkingDays);
// The next year's plan exists: its non-working days (as date numbers of year + 1) continue the
// runs that reach 31 December.
void SetNextYearPlan(LaborCodeYear& year, const QSet<int>& nextNonWorkingDays);

// What the rules know of one employee beyond the plan year's days.
struct LaborCodeEmployee
{
    // Leave days in the next year's plan (1 January = flag 0).
    LaborYearFlags nextLeave;
    // Maternity or sick days are recorded in the plan: art. 168 lets the carried-over leave be
    // granted after such an absence, so its deadline is not checked.
    bool absent = false;
};

// A stretch of consecutive days each of which is a leave day or a non-working day, holding at
// least one leave day of the year; cut at 1 January. One that reaches 31 December goes on into
// the next year, so `last` may be past the year's last day (day 366 or 367 is 1 January).
// first = 0: none.
struct RestRun
{
    int first = 0;
    int last = 0;

    int days() const { return first > 0 ? last - first + 1 : 0; }
    bool operator==(const RestRun&) const = default;
};

// One employee's verdict.
struct LaborCodeCheck
{
    // The longest rest run (the earliest of equal ones).
    RestRun longestRun;
    // Art. 162 applies (entitlement of kRestRunMinEntitlement days or more) and is broken.
    bool runChecked = false;
    bool runBroken = false;
    // Art. 168 applies (carried-over days above 0) and is broken.
    int carriedOver = 0;
    int leaveByDeadline = 0; // leave days on working days, 1 January to 30 September
    bool carryOverBroken = false;
    // Would be broken, but the employee's maternity or sick days excuse it.
    bool carryOverExcused = false;

    bool broken() const { return runBroken || carryOverBroken; }
};

// Both rules in one pass over the days. `leave`: the employee's leave days; a flag on a
// non-working day is not a day of leave (the overview and the editors never set one).
LaborCodeCheck CheckLaborCode(const LaborCodeYear& year, const LaborYearFlags& leave,
                              int lastYearDays, int thisYearDays,
                              const LaborCodeEmployee& employee = {});
RestRun LongestRestRun(const LaborCodeYear& year, const LaborYearFlags& leave,
                       const LaborYearFlags& nextLeave = {});

// Leave days as flags: from date numbers (other years and non-days ignored), and from the
// year calendar selector's table (ticked slots of real days).
LaborYearFlags LeaveFlags(int year, const QList<int>& dateNumbers);
LaborYearFlags TableLeaveFlags(int year, const YearDays& table);
// The selector's table: a real day without a tick box is a non-working day.
LaborYearFlags TableWorkingFlags(int year, const YearDays& table);

// The texts. The rules in plain words (the overview's hint, one line per broken rule and the
// reason a rule is not flagged) ...
QString RestRunRuleText();
QString CarryOverRuleText(const LaborCodeCheck& check);
// Why art. 168 is not flagged for an employee with maternity or sick days.
QString CarryOverExcusedText(const LaborCodeCheck& check);
// ... empty when nothing is broken.
QString LaborCodeHint(const LaborCodeCheck& check);
// The short names of the broken rules ("Uwagi" of the summary, the CSV column), joined by
// `separator`; empty when nothing is broken.
QString LaborCodeShortText(const LaborCodeCheck& check, const QString& separator);
// "12-07-2027 – 25-07-2027 (14 dni)"; "brak" without a run.
QString RestRunText(int year, const RestRun& run);
// The editors' line beside the remaining count.
QString LaborCodeLineText(int year, const LaborCodeCheck& check);
// Its hint: each rule broken, met or not applying, and what a rest run is.
QString LaborCodeLineHint(const LaborCodeCheck& check);

inline const QString kLaborCodeShortRun = QStringLiteral("brak 14 dni z rzędu (art. 162 KP)");
inline const QString kLaborCodeShortCarryOver =
    QStringLiteral("zaległy urlop do 30 września (art. 168 KP)");

} // namespace zf

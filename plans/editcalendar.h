#pragma once

#include "plans/calendar/daystate.h"

#include <QString>

namespace zf {

class TmyDataBase;

// One employee's schedule for a plan year as the leave editor shows it.
struct EditCalendarState
{
    // The employee is in the plan of the year.
    bool found = false;
    QString employeeText; // "Jan Nowak (P1)"
    int lastYearDays = 0;
    int thisYearDays = 0;
    // The sum less the leave days shown; may be negative.
    int remaining = 0;
    YearDays days = MakeYearDays(true);

    int summary() const { return lastYearDays + thisYearDays; }
};

// Builds the state from the database: every slot tickable except the plan's non-working days,
// the leave days ticked and counted and the unchangeable days marked, both without the days
// stored as non-working in any plan and without days outside the plan year. False after a
// reported database error.
bool LoadEditCalendar(TmyDataBase& db, int year, const QString& employee, EditCalendarState& out);

// The running count after one tick change: a ticked day uses one day up, an unticked one gives
// it back.
inline int CountTick(int remaining, bool ticked)
{
    return ticked ? remaining - 1 : remaining + 1;
}

enum class SaveCalendarResult { Saved, OverLimit, NotInPlan, Failed };

// "&Zapisz zmiany": refuses a negative remaining count while `checkRange` is on; otherwise
// replaces the employee's leave and unchangeable days of the year with the ticked and marked
// slots, both tables in one transaction. A database error rolls both back and is reported by
// the database module with 151801 (the window keeps the ticks for another try); an employee no
// longer in the plan gets nothing written. The window tells the user SaveCalendarMessage.
SaveCalendarResult SaveEditCalendar(TmyDataBase& db, int year, const QString& employee,
                                    const YearDays& days, int remaining, bool checkRange);

// What the window tells the user (caption "Informacja") after a refused save; empty after a
// save and after a database error, which the database module has already reported.
QString SaveCalendarMessage(SaveCalendarResult result);

inline const QString kOverLimitMessage =
    QStringLiteral("Wybrano więcej dni urlopu niż przysługujący limit. Popraw grafik.");
inline const QString kNotInPlanMessage =
    QStringLiteral("Pracownika nie ma już w tym planie urlopowym.");

} // namespace zf

#pragma once

#include <QString>
#include <QVariant>

// The plan, calendar and leave-day reads that the database module's lists, the overview, the
// leave editor and the plan files all make, each on statements of their own, with the codes
// their errors are reported under.
namespace zf::leavesql {

inline constexpr int kCodePlans = 41700;
inline constexpr int kCodeCalendar = 41701;
inline constexpr int kCodeSettings = 42102;
inline constexpr int kCodeSingleSettings = 151753;
inline constexpr int kCodeChosenDays = 132034;
inline constexpr int kCodeFixedDays = 92109;

inline const QString kPlanStatus =
    QStringLiteral("SELECT STATUS FROM HOLIDAYPLANS WHERE IDYEAR=:IDYEAR");
inline const QString kCalendar =
    QStringLiteral("SELECT FREEDAY FROM CALENDAR WHERE IDYEAR=:IDYEAR ORDER BY FREEDAY");
inline const QString kSingleSettings = QStringLiteral(
    "SELECT NAME,SURNAME, (NAME || ' ' || SURNAME || ' (' || E.IDEMPLOYEE || ')') AS EMPLOYEE, "
    "LASTYEARDAYS, THISYEARDAYS, CHECKSUM FROM EMPLOYEESSETTINGS AS S, EMPLOYEES AS E WHERE "
    "IDYEAR=:IDYEAR AND S.IDEMPLOYEE=E.IDEMPLOYEE AND E.IDEMPLOYEE=:IDEMPLOYEE");
// One employee's days of a year in EMPLOYEEHOLIDAYS (leave) or EMPLOYEECONSTDAYS (unchangeable),
// without the days stored as non-working in any plan.
inline const QString kEmployeeDays = QStringLiteral(
    "SELECT SELECTEDDAY FROM %1 WHERE IDYEAR=:IDYEAR AND IDEMPLOYEE=:IDEMPLOYEE AND NOT EXISTS "
    "(SELECT * FROM CALENDAR WHERE FREEDAY=SELECTEDDAY) ORDER BY SELECTEDDAY");
inline const QString kChosenDays = kEmployeeDays.arg(QLatin1String("EMPLOYEEHOLIDAYS"));
inline const QString kFixedDays = kEmployeeDays.arg(QLatin1String("EMPLOYEECONSTDAYS"));

} // namespace zf::leavesql

namespace zf {

// A column's value as a whole number; NULL reads as 0.
inline int toInt(const QVariant& v)
{
    return v.isValid() && !v.isNull() ? v.toInt() : 0;
}

} // namespace zf

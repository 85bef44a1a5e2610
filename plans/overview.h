#pragma once

#include "data/logindata.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <bitset>
#include <vector>

namespace zf {

class TmyDataBase;

// Day n of a plan year is index n - 1; a leap year uses all 366.
constexpr int kMaxYearDays = 366;
using YearFlags = std::bitset<kMaxYearDays>;

// One row of the overview: an employee of the plan with his figures and days.
struct THolidayPlanEntry
{
    QString IDEMPLOYEE;
    QString SURNAME;
    QString NAME;
    int LASTYEARDAYS = 0;
    int THISYEARDAYS = 0;
    // The unit (units dictionary), -1 when none; for the staffing rows.
    int IDDICUNIT = -1;
    // THISYEARDAYS + LASTYEARDAYS - leave days that are not non-working days.
    int remaining = 0;
    YearFlags leave;
    YearFlags unchangeable;

    bool isLeave(int day) const { return day >= 1 && day <= kMaxYearDays && leave[day - 1]; }
    bool isUnchangeable(int day) const
    {
        return day >= 1 && day <= kMaxYearDays && unchangeable[day - 1];
    }
};

// The overview's rows in the order they were added; personnel numbers are unique.
class THolidayPlans
{
public:
    int Count() const { return static_cast<int>(m_entries.size()); }
    THolidayPlanEntry Get(int index) const { return m_entries.at(static_cast<size_t>(index)); }
    const THolidayPlanEntry& at(int index) const { return m_entries.at(static_cast<size_t>(index)); }
    THolidayPlanEntry& at(int index) { return m_entries.at(static_cast<size_t>(index)); }
    void Clear();
    // False (and nothing added) when the personnel number is already in the list.
    bool Add(const THolidayPlanEntry& entry);
    // -1 when absent.
    int IndexOf(const QString& employee) const { return m_index.value(employee, -1); }

private:
    std::vector<THolidayPlanEntry> m_entries;
    QHash<QString, int> m_index;
};

// What one load of the overview gives.
struct OverviewData
{
    int year = 0;
    int unitFilter = 0;
    // Cleared for the stored non-working days.
    YearFlags working = YearFlags().set();
    // The plan's status was 5 at the load.
    bool approved = false;
    THolidayPlans plans;

    int dayCount() const;
    bool isWorkingDay(int day) const
    {
        return day < 1 || day > kMaxYearDays || working[day - 1];
    }
};

int DaysInYear(int year);
// The day of `year` (1 January = 1) that a date number stands for; 0 when the number is not a
// real day of that year, so dates of other years and damaged values land nowhere.
int PlanDayOfYear(int dateNumber, int year);
// Remaining days; may be negative.
int RemainingDays(int thisYearDays, int lastYearDays, int leaveDays);

// Loads the year's rows with three statements, whatever the number of employees: the status,
// the non-working days, and the employees of the plan (of one unit when `unitFilter` is above 0,
// ordered by surname, name, number) with all their leave and unchangeable days packed into
// their rows. Leave and unchangeable days on a stored non-working day of any plan are left out,
// and so are days that are not in the plan year. False after a reported database error (`out`
// is then empty).
bool LoadOverview(TmyDataBase& db, int year, int unitFilter, OverviewData& out);
// Those three statements as the engine gets them, for measuring them bare.
QStringList OverviewStatements(int year, int unitFilter);

// Texts of the grid and the sheet.
QString DayHeaderText(int year, int day);  // "1 Sty"
QString WeekdayText(int year, int day);    // "Pn" .. "Nd"
QString EntryNameText(const THolidayPlanEntry& e);        // "Jan Nowak (P1)"
QString EntryEntitlementText(const THolidayPlanEntry& e); // "26 (2)"
// "x" non-working, "v" leave, "v!" unchangeable leave, "!" unchangeable, or empty.
QString DayMarkText(const OverviewData& data, const THolidayPlanEntry& e, int day);

// The CSV sheet: two header rows, one row per entry, an empty row and the legend.
QList<QStringList> OverviewSheet(const OverviewData& data);
inline const QString kOverviewLegend =
    QStringLiteral("Legenda:\r x dzien wolny\r v urlop\r ! niezmienialny dzien urlopu");

// Whether the leave editor opened from the row of `rowEmployee` may only show the schedule:
// restricted mode, except an employee logged in by number on his own row, who may edit unless
// the plan is approved and the approved-plan lock is on.
bool EditorReadOnly(const LoginState& login, bool approved, const QString& rowEmployee);

// The first day (1-based) to show at the left of the day columns so that today's day of the plan
// year is in view: its own column, or the last page when it falls within the last page.
// 29 February in a common year counts as 28 February.
int FirstVisibleDay(int year, const QDate& today, int visibleDayColumns);

} // namespace zf

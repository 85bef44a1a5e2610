#pragma once

#include "plans/calendar/daystate.h"
#include "plans/overview.h"

#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace zf {

class TmyDataBase;

// "Minimalna obsada": the least number of a unit's employees at work on every working day of a
// plan. Units without a threshold (no row, or 0) are left out everywhere, so a plan without
// thresholds looks and behaves as before.
struct UnitThreshold
{
    int unit = -1;
    QString name;
    int minimum = 0;
};
using UnitThresholds = QHash<int, UnitThreshold>;

// The thresholds above 0 with their units' names, in one statement. False after a reported
// database error (`out` is then empty).
bool LoadUnitThresholds(TmyDataBase& db, UnitThresholds& out);
// 0 when the unit has none (or on a reported error).
int ReadUnitThreshold(TmyDataBase& db, int unit);
// Stores the unit's threshold; 0 or below removes it. False after a reported database error.
bool SaveUnitThreshold(TmyDataBase& db, int unit, int minimum);

// One summary row of the overview: the unit's employees shown, counted day by day.
struct UnitStaffing
{
    int unit = -1;
    QString name;
    int minimum = 0;
    int members = 0;
    // Employees of the unit not on leave, per day of the year (index day - 1).
    std::array<std::int16_t, kMaxYearDays> present{};
    // Working days below the minimum.
    YearFlags below;

    int presentOn(int day) const { return day >= 1 && day <= kMaxYearDays ? present[day - 1] : 0; }
    bool isBelow(int day) const { return day >= 1 && day <= kMaxYearDays && below[day - 1]; }
    int missingOn(int day) const { return isBelow(day) ? minimum - presentOn(day) : 0; }
};

// The summary rows of the units that have a threshold and employees among the entries, ordered
// by unit name. Only the loaded entries are looked at: no query per employee.
std::vector<UnitStaffing> ComputeStaffing(const OverviewData& data, const UnitThresholds& thresholds);
// LoadUnitThresholds followed by ComputeStaffing; false (and no rows) after a reported error.
bool LoadStaffing(TmyDataBase& db, const OverviewData& data, std::vector<UnitStaffing>& out);

// Texts of a summary row in the grid, its hint and the CSV sheet.
QString StaffingNameText(const UnitStaffing& s);  // "Obsada: Księgowość"
QString StaffingMinimumText(const UnitStaffing& s); // "min. 2"
// Empty unless the day is below the minimum.
QString StaffingHintText(const UnitStaffing& s, int day);
// "x" for a non-working day, otherwise the number present, with "(brak n)" when below.
QString StaffingCellText(const OverviewData& data, const UnitStaffing& s, int day);

// The overview's CSV sheet with the summary rows after the employees' rows.
QList<QStringList> OverviewSheet(const OverviewData& data, const std::vector<UnitStaffing>& rows);

// Days below a threshold, day by day and unit by unit, for the question before approval.
struct StaffingShortfall
{
    int day = 0;
    QString unitName;
    int missing = 0;
};
std::vector<StaffingShortfall> Shortfalls(const std::vector<UnitStaffing>& rows);
// The question asked once before approving a plan with shortfalls; lists at most `shown` of
// them and how many more there are.
QString ApprovalQuestionText(int year, const std::vector<StaffingShortfall>& shortfalls,
                             int shown = 10);
// Its list without the question, for a question that lists other things too.
QString ShortfallLines(int year, const std::vector<StaffingShortfall>& shortfalls, int shown = 10);

// The leave editor's view of the employee's unit: the others of the unit, counted per day.
struct EditorStaffing
{
    int year = 0;
    int minimum = 0; // 0: no threshold, nothing is marked
    QString unitName;
    YearFlags working = YearFlags().set();
    // The unit's other employees in the plan not on leave, per day.
    std::array<std::int16_t, kMaxYearDays> othersPresent{};
};

// Reads the threshold of the employee's unit and, only when there is one, the unit's schedules
// of the year (with the overview's statements, filtered to the unit). False after a reported
// database error; `out.minimum` is then 0.
bool LoadEditorStaffing(TmyDataBase& db, int year, const QString& employee, EditorStaffing& out);
// The days (of the year, ascending) on which the employee's ticked leave leaves the unit below
// its threshold.
QList<int> EditorBelowDays(const EditorStaffing& staffing, const YearDays& days);
// "Poniżej minimalnej obsady: N dni" and the hint with the dates, one per line.
QString EditorBelowText(const QList<int>& belowDays);
QString EditorBelowHint(const EditorStaffing& staffing, const QList<int>& belowDays);

} // namespace zf

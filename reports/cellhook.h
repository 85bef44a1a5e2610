#pragma once

#include "util/windowscolor.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>

namespace zf {

// One day of an employee's month as the schedules print it.
struct ReportDay
{
    bool working = true;
    bool selected = false;
    bool unchangeable = false;
};
using DayTable = std::array<ReportDay, 31>;

// Cell colours of the schedules (Windows colour values).
inline constexpr unsigned kColorGrey = 8421504;
inline constexpr unsigned kColorWhite = 16777215;

// What the schedules' cell hook works on: the report's year, the month number that cell texts
// switch, and the current day table.
struct ScheduleCellState
{
    int year = 0;
    int month = 0;
    const DayTable* days = nullptr;
};

// The schedules' cell hook on a cell's first line, its fill and its frame (report::FrameLine
// bits). It may change `state.month`.
void ApplyScheduleCellHook(ScheduleCellState& state, QString& firstLine, QColor& fill,
                           unsigned& frame);

// "V", "V!" or "" for a "D" + two-digit-day name on a day table; nullopt-like empty for other
// names is told by `handled`.
QString DayVariable(const DayTable& days, const QString& name, bool* handled);

} // namespace zf

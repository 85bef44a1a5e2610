#pragma once

#include "plans/calendar/daystate.h"

#include <QList>
#include <QString>

namespace zf {

class TmyDataBase;

// The public holidays Polish law gives for `year`, as date numbers in calendar order: the fixed
// feasts, Easter Sunday and Monday, Pentecost and Corpus Christi. Epiphany counts from 2011 and
// Christmas Eve from 2025, the years the law made them days off.
QList<int> StatutoryHolidays(int year);

// Sets Selected on every day of `year` that is a statutory holiday; other marks stay.
void MarkStatutoryHolidays(int year, YearDays& days);

// The day a calendar-file line names, as a date number, or 0 when the line is no date: exactly
// 10 characters, day in characters 1-2, month in 4-5, year in 7-10 (at least 1000), the
// separators not examined, and the day one the month really has.
int CalendarLineDate(const QByteArray& line);

// Adds the days of `year` that a calendar file lists to `days` (Selected). Lines end with LF,
// CR LF or a lone CR; a line longer than any date line is skipped without being held whole.
// False, with `days` unchanged, when the file cannot be opened or read.
bool ReadCalendarFile(const QString& path, int year, YearDays& days);

// The window's table for `year`: every slot selectable, the stored non-working days selected.
// False after a reported database error (the table then holds no marks).
bool LoadNonWorkingDays(TmyDataBase& db, int year, YearDays& days);

// Replaces the stored non-working days of `year` by the selected slots that are real days of
// the year, in one transaction; on an error nothing changes and it is reported (41816) with
// kSaveKeptHint, since the window keeps its ticks for another try.
bool SaveNonWorkingDays(TmyDataBase& db, int year, const YearDays& days);

// Closes the report of a failed save of ticked days: the window stays open with them.
inline const QString kSaveKeptHint = QStringLiteral(
    "Zaznaczenia pozostały w oknie: spróbuj zapisać je ponownie albo anuluj zmiany.");

inline constexpr int kCodeSaveCalendar = 41816;
inline constexpr int kCodeReadCalendarFile = 101854;

} // namespace zf

#pragma once

#include <QChar>
#include <QDate>
#include <QString>
#include <QStringList>

// Dates as the database and the leave-plan files keep them: the date number
// year * 10000 + month * 100 + day, where 0 or below means "no date". A date number is valid
// when it has exactly 8 decimal digits and names a day that exists (20240230 does not).
//
// Helpers that need a real day (AddDays, DayOfWeekIso, DayOfYear, DateOfDayOfYear and the
// conversions to QDate) answer an invalid number with 0 / an invalid QDate instead of failing,
// so a damaged value from a file or an old database shows up as "no date".
class QLocale;

namespace zf {

// ---- Program-wide date text settings, fixed once at start-up. ----

// The separator between day, month and year in every date text; "-" until set.
void setDateSeparator(QChar separator);
QChar dateSeparator();
// The separator the system's short date format uses, when it is "-", "." or "/"; else "-".
QChar systemDateSeparator();
// The separator is read from this locale from now on instead of the default one: the program
// keeps the system's locale here before it makes Polish the default.
void keepDateSeparatorLocale(const QLocale& locale);
// The same choice made from a Qt date format string, e.g. "d.MM.yyyy" gives ".".
QChar dateSeparatorFromFormat(const QString& shortDateFormat);
// "dd-MM-yyyy" with the current separator, as QDate::toString() understands it.
QString dateTextFormat();
// The content of an empty date field: "  -  -    " with the current separator.
QString emptyDateText();

// ---- Name tables. ----

// "Nd", "Pn", ... "Sb": Sunday first, as the program has always indexed them.
const QStringList& dayOfWeekAbbreviations();
// "Sty" ... "Gru": January first.
const QStringList& monthAbbreviations();
// The abbreviation of the day of week of a date number; empty for an invalid number.
QString dayOfWeekAbbreviation(int dateNumber);
// The abbreviation of month 1 to 12; empty for any other number.
QString monthAbbreviation(int month);

// ---- Date numbers. ----

int MakeDateNumber(int day, int month, int year);
bool IsValidDateNumber(int n);
// An invalid QDate for an invalid number.
QDate DateNumberToDate(int n);
// 0 for an invalid date or a year outside 1000-9999 (not 8 digits).
int DateToDateNumber(const QDate& date);

// The date text of n; empty unless n has exactly 8 digits. The digits are not checked against
// the calendar: 20240230 reads "30-02-2024", which IsValidDateText accepts and
// DateTextToDate turns into today.
QString DateNumberToText(int n);
// 10 characters; day, month and year all digits; year >= 1000, month 1-12, day 1-31. The
// separators are not examined and the day is not checked against the month.
bool IsValidDateText(const QString& text);
// Year, month and day read from a 10-character text; 0 when the text has another length or any
// of the 8 places is not a digit.
int DateTextToNumber(const QString& text);
// As DateTextToNumber, with today's date number instead of 0.
int DateTextToNumberOrToday(const QString& text);
// The day a valid text names; today when the text is not valid or the day does not exist.
QDate DateTextToDate(const QString& text);

// The date number k days after n (k may be negative); 0 when n is not valid or the result falls
// outside the years 1000-9999.
int AddDays(int n, int k);
// 1 for Monday up to 7 for Sunday; 0 for an invalid number.
int DayOfWeekIso(int n);
// 1 for 1 January; 0 for an invalid number.
int DayOfYear(int n);
// The date number of day k of the year (1 January is day 1); 0 when the year has no day k or
// is outside 1000-9999.
int DateOfDayOfYear(int k, int year);
// The parts of a valid date number; 1 for an invalid one.
int DayPart(int n);
int MonthPart(int n);
int YearPart(int n);

// Easter Sunday of the Gregorian calendar; 0 for a year outside 1-9999.
int EasterSunday(int year);
// Easter + 49 days and Easter + 60 days.
int PentecostSunday(int year);
int CorpusChristi(int year);

} // namespace zf

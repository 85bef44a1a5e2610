#pragma once

#include "plans/overview.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace zf {

class Dialogs;
class TmyDataBase;

// A continuous run of leave: days of the plan year, first and last both leave days; the
// non-working days between them belong to it.
struct LeaveRun
{
    int firstDay = 0;
    int lastDay = 0;
};

// The employee's runs in order. A gap of working days without leave ends a run; a gap of
// non-working days only does not.
QList<LeaveRun> LeaveRuns(const OverviewData& data, const THolidayPlanEntry& e);

// The same for every plan, employee and run of one database, so a calendar program replaces the
// event it already has instead of adding a second one; `databaseId` keeps another office's
// events, with the same personnel numbers, apart.
QString LeaveRunUid(int year, const QString& employee, const LeaveRun& run,
                    const QString& databaseId);

// The database's own identity for calendar UIDs: 32 hexadecimal digits, random, made by the first
// copy of the program that asks and kept in SYSTEMPARAMS ("DBIDENTITY1" to "DBIDENTITY4").
// Empty when the database failed (reported with kCodeDatabaseIdentity).
QString CalendarDatabaseId(TmyDataBase& db);
inline constexpr int kCodeDatabaseIdentity = 102251;

// A whole calendar (RFC 5545) with one all-day event per run of the listed entries: UTF-8, lines
// ended by CR LF and folded at 75 octets. `stamp` is the creation time written as DTSTAMP.
QByteArray PlanCalendar(const OverviewData& data, const QList<int>& entries, const QDateTime& stamp,
                        const QString& databaseId);

// One text line made safe for a TEXT value (backslash, semicolon, comma, line breaks).
QString EscapeCalendarText(const QString& text);
// The content line folded: no line longer than 75 octets, a UTF-8 character never split.
QByteArray FoldCalendarLine(const QByteArray& line);

// The file name of one employee's calendar in a folder: "Urlop-2024-P1.ics", with characters
// that file names cannot hold replaced.
QString EmployeeCalendarFileName(int year, const QString& employee);
// The names of several employees' files, one each and never two alike (letter case aside, as
// on a shared folder): where replacing characters makes two numbers one name ("A/1", "A:1"),
// the replaced ones carry a short digest of the number, the same at every export.
QStringList EmployeeCalendarFileNames(int year, const QStringList& employees);

// "Eksport do kalendarza (.ics)": asks whether each employee gets a file of his own, then for
// the file or the folder, and writes. Reports the result. False when cancelled or failed.
bool ExportPlanCalendar(TmyDataBase& db, const OverviewData& data, Dialogs& dialogs);

} // namespace zf

#pragma once

#include <QString>
#include <QStringList>

namespace zf {

// What stands at an employee's plan-file name before the export writes there. The export
// replaces silently only a file it wrote itself and nobody saved since; what an employee saved
// and the office has not read is replaced only when the clerk says so; what is not this
// employee's plan file at all is never replaced.
struct ExistingPlanFile
{
    enum State {
        Absent,        // nothing there
        Current,       // this year's file of this employee, with the database's stamp
        Saved,         // saved by the employee since, not read yet
        OtherYear,     // a plan file of another year
        Unreadable,    // a regular file that cannot be read or parsed
        OtherEmployee, // another employee's plan file under this name
        NotAFile,      // a link, a folder or anything else that is not a regular file
    };
    State state = Absent;
    int fileYear = 0; // with OtherYear, when the file names one

    // The file as it was looked at, so that one changed since is not replaced unseen.
    qint64 device = -1;
    qint64 inode = -1;
    qint64 size = -1;
    qint64 modifiedNs = -1;

    // Replaced only when the clerk says so.
    bool needsConsent() const { return state == Saved || state == OtherYear || state == Unreadable; }
    // Never replaced.
    bool leftAlone() const { return state == OtherEmployee || state == NotAFile; }
    // Why it is not replaced silently, as the clerk is told.
    QString reason() const;
};

// Reads the file at `path` with the import's own code and compares it with the employee's key,
// the plan year and the database's stamp.
ExistingPlanFile LookAtPlanFile(const QString& path, const QString& key, int year, int stamp);
// Whether the file at `path` is still the one looked at (or still absent).
bool UnchangedSinceLook(const QString& path, const ExistingPlanFile& looked);

// The first ten of `items`, one a line, then "i jeszcze N innych".
QString FirstTenLines(const QStringList& items);

} // namespace zf

#pragma once

#include "util/planfilename.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include "util/sharedfile.h"

#include <vector>

// The leave-plan file without the database: its path, its clear text, its bytes on
// disk and the reading back. TWorkingWithXML (workingwithxml.h) gathers the data and drives it.
namespace zf {

// Everything a plan file carries, in the order written.
struct PlanFileContent
{
    int year = 0;
    QString employeeKey;
    QString name;
    QString surname;
    QString password;
    int lastYearDays = 0;
    int thisYearDays = 0;
    int stamp = 0;
    QList<int> freeDays;
    QString comment;
    bool checkRange = false;
    QList<int> selectedDays;
    QList<int> unchangeableDays;
};

// What reading a plan file gives.
struct PlanFileData
{
    QByteArray year; // IDYEAR as the file holds it; empty when it has none
    QString employeeKey;
    QString name;
    QString surname;
    int stamp = 0;
    QList<int> selectedDays;
    QList<int> unchangeableDays;
};

inline constexpr const char* kPlanFileExtension = ".zfpn";
// A full year with every day chosen is about 21 KB; a larger file is not a plan file and is
// never read.
inline constexpr qint64 kMaxPlanFileSize = 64 * 1024;

// The plan folder with one trailing separator removed, "/", the file name as stored, ".zfpn".
QString PlanFilePath(const QString& planFolder, const QString& fileName);
// IsSafePlanFileName (util/planfilename.h) tells the names that keep the file in the folder.

// The first text field of the content that holds "</" (such a value could end an element early
// when read back, since only its first "<" is doubled), as the name the window shows it under
// ("Numer ewidencyjny", "Imię", "Nazwisko", "Hasło", "Komentarz"); empty when there is none.
QString FieldThatWouldNotReadBack(const PlanFileContent& content);

// The clear text of the file: the element tree built with TSimpleXMLParser, in
// Windows-1250. Texts must be Windows-1250 encodable (those from the database always are).
QByteArray BuildPlanFileText(const PlanFileContent& content);
// The bytes on disk: the clear text enciphered under the plan-file key.
QByteArray BuildPlanFileBytes(const PlanFileContent& content);

// Parses a deciphered text: IDEMPLOYEE, NAME, SURNAME and CHECKSUM each needed, in this order;
// CHECKSUM a whole number of the INTEGER range (else the file is damaged); SELECTEDDAYS needed,
// UNCHANGEABLEDAYS optional. Of the DAY values only real dates of `planYear` are kept (eight
// digits), each once, in file order. IDYEAR is read on its own into `year`, whatever it holds:
// the caller decides (IsOfPlanYear).
bool ParsePlanFileText(const QByteArray& text, int planYear, PlanFileData& out);
// True when a file's IDYEAR text names the plan year. A file of another year (one left in the
// folder when the plan was made from last year's) must not replace this year's days.
bool IsOfPlanYear(const QByteArray& idYear, int planYear);

// A whole number as CHECKSUM holds it: an optional "-", decimal digits, inside the INTEGER
// range. Nothing else (no blanks, no "+").
bool ParseStamp(const QByteArray& text, int& value);
// A DAY value that is a real date of the year: exactly eight digits naming an existing day.
bool ParseDay(const QByteArray& text, int year, int& day);

// Reading a plan file's bytes: only a regular file of at most kMaxPlanFileSize bytes, never
// through a symbolic link, is read; anything else, or a failed read, is unreadable (false, bytes
// empty).
bool ReadPlanFileBytes(const QString& path, QByteArray& bytes);
// How writing a plan file ended.
enum class PlanFileWrite
{
    Done,
    Failed,    // the old file stays as it was
    NotSynced, // the new file stands at the name, but the disk did not confirm it
};
// Writing a plan file so that a crash or a failure leaves the old file or the new one, never a
// mixture, and who may read it stays: the new bytes go to a temporary beside it ("<name>.<random>")
// that gets the old file's owner, group and mode and replaces it when complete; where the owner
// cannot be kept (another user's file) or the folder cannot be written, the file is written in
// place after its old content was copied beside it. The folder is synced afterwards. Clears the
// file's temporaries left by saves killed over an hour ago. A symbolic link at the path is
// refused, and nothing a link points to is ever written.
PlanFileWrite WritePlanFile(const QString& path, const QByteArray& bytes);
// WritePlanFile(...) == Done.
bool WritePlanFileBytes(const QString& path, const QByteArray& bytes);

// Many plan files made durable together: each is written to a temporary beside its name, then
// commit() syncs the file system once, puts the temporaries in place in the order added and
// syncs their folders. Every file stays whole-or-old, keeps its owner, group and mode as
// WritePlanFile's do, and no link is ever followed.
class PlanFileBatch
{
public:
    PlanFileBatch() = default;
    // Removes the temporaries never put in place.
    ~PlanFileBatch();
    PlanFileBatch(const PlanFileBatch&) = delete;
    PlanFileBatch& operator=(const PlanFileBatch&) = delete;

    // False, with nothing left behind, when the temporary could not be written or a symbolic
    // link stands at the path.
    bool add(const QString& path, const QByteArray& bytes);
    // The number of files put in place, from the first: a failed rename stops there and removes
    // the temporaries after it, leaving their old files. The batch is empty afterwards. A disk
    // that refuses the first sync stops it before any file is replaced (0).
    int commit();
    // False after a commit whose files the disk did not confirm (the count says which are in
    // place, but a crash could still lose them).
    bool synced() const { return m_synced; }
    // Removes every temporary; the old files stay.
    void discard();
    int size() const { return static_cast<int>(m_entries.size()); }

private:
    std::vector<sharedfile::Replacement> m_entries;
    bool m_synced = true;
};

} // namespace zf

// --- the employees' editor ----------------------------------------------------------------------
namespace zf {

// The years a plan can have.
inline constexpr int kMinPlanYear = 1999;
inline constexpr int kMaxPlanYear = 2999;

// Why a clear text is not a plan file the employees' editor can fill in, in the order checked.
enum class PlanFileFault
{
    None,
    NoYear,
    BadYear, // IDYEAR no whole number of kMinPlanYear..kMaxPlanYear
    NoEmployeeKey,
    NoName,
    NoSurname,
    NoPassword,
    NoEntitlement,  // LASTYEARDAYS or THISYEARDAYS missing
    BadEntitlement, // LASTYEARDAYS or THISYEARDAYS no whole number
    NoStamp,
    BadStamp, // CHECKSUM no whole number of the INTEGER range
    NoFreeDays,
    NoComment,
    NoCheckRange,
    BadCheckRange, // CHECKRANGE neither "0" nor "1"
    NoSelectedDays,
    Truncated, // no closing "</ZEFIRANT>" after the last element: the file was cut short
    // The elements are there, but not one after another as the format writes them (a value
    // holding a tag): changing the chosen days could overwrite another element.
    Misplaced,
};

// A plan file read for filling in: everything it carries, and the clear text as read with the
// places of the two values the editor changes, so that the file written back differs from the
// one read only there.
struct EditablePlanFile
{
    PlanFileContent content;
    QByteArray text;
    // CHECKSUM's and SELECTEDDAYS' values: text.mid(begin, end - begin).
    qsizetype stampBegin = 0;
    qsizetype stampEnd = 0;
    qsizetype daysBegin = 0;
    qsizetype daysEnd = 0;
};

// Reads every element the office writes, each search starting after the element before as the
// office's import reads them: the stamp, the chosen and the unchangeable days are found exactly
// where ParsePlanFileText finds them. The DAY values follow ParsePlanFileText's rule, against the
// file's own IDYEAR. `out` is complete only when the answer is None.
PlanFileFault ReadEditablePlanFile(const QByteArray& text, EditablePlanFile& out);

// The file's clear text with another stamp and other chosen days (written ascending as the
// office writes them); every other byte stays as read.
QByteArray RewritePlanFileText(const EditablePlanFile& file, int stamp, QList<int> selectedDays);

// The stamp an edited file gets: one more than the one read, after the largest INTEGER the
// smallest, so that it always differs from the database's value.
int NextPlanFileStamp(int stamp);

} // namespace zf

#pragma once

#include "data/errorlog.h"
#include "data/fb/connection.h"
#include "data/fb/dataset.h"
#include "data/fb/error.h"
#include "data/fb/statement.h"
#include "data/fb/transaction.h"
#include "data/logindata.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <array>
#include <bitset>
#include <functional>
#include <utility>
#include <vector>

namespace zf {

class Dialogs;
class IniFile;

using Params = std::vector<std::pair<QString, QVariant>>;

// The statements of one table's writes.
struct WriteSet
{
    QString insertSql;
    QString updateSql;
    QString deleteSql;
};

// One of the 30 note slots as stored: the date text, the note and the reserved part.
struct NoteSlot
{
    QString date;
    QString text;
    QString reserved;
    bool operator==(const NoteSlot&) const = default;
};
inline constexpr int kNoteSlotCount = 30;
using NoteSlots = std::array<NoteSlot, kNoteSlotCount>;
// Slots by index 0 to 29 (slot number - 1).
using NoteSlotSet = std::bitset<kNoteSlotCount>;

// Where the module finds its files.
struct DatabasePaths
{
    QString dataFolder;    // "zefirant.ini", "config.dat", "debug/error.log"
    QString programFolder; // "data/fb_update10<n>.dat"
    // Folders searched for the installer's "Orvantis/Zefirant/DataBaseDemo.ini"; empty means
    // $XDG_CONFIG_DIRS (default /etc/xdg).
    QStringList installerConfigFolders;
};

// The single, long-lived database module: the connection, its transactions, the shared lists,
// the write sets and the helpers every window uses. Database errors never leave it: they are
// rolled back, reported with the fixed code of the place, and the helper returns its fallback.
class TmyDataBase
{
public:
    TmyDataBase(DatabasePaths paths, Dialogs& dialogs);
    ~TmyDataBase();
    TmyDataBase(const TmyDataBase&) = delete;
    TmyDataBase& operator=(const TmyDataBase&) = delete;

    // --- connection -------------------------------------------------------------------------
    enum ConnectResult { Connected = 0, NoSettings = 1, ConnectionFailed = 2, SettingsUnreadable = 3 };
    int ReadConnectionSettingsAndConnect();
    void SaveConnectionSettings();
    bool Connect(const QString& location, const QString& user, const QString& password);
    bool IsConnected() const { return FBDataBase.isAttached(); }
    // The last Connect failed because another process (another copy of the program, say) has
    // the database file open through its own embedded engine, which serves one process at a time.
    bool DatabaseInUseElsewhere() const { return m_inUseElsewhere; }
    void Disconnect();

    QString location;
    QString user;
    QString password;

    // --- login and schema -------------------------------------------------------------------
    bool CheckLogin(const QString& login, const QString& pwd);
    LoginState& loginState() { return m_login; }
    const LoginState& loginState() const { return m_login; }
    bool UpdateDatabase(int version);
    bool RunScript(const QStringList& lines);
    static QString UpdateScriptPath(const QString& programFolder, int version);

    // --- helpers ----------------------------------------------------------------------------
    void ResetListState();
    int ReadOrCreateParam(const QString& id, int defaultValue);
    int GetKey(int genType);
    bool RecordExists(const QString& value, const QString& table, const QString& column);
    bool LocateByInteger(fb::DataSet& list, const QString& field, int value);
    bool LocateByText(fb::DataSet& list, const QString& field, const QString& value);
    void Reopen(fb::DataSet& list);
    // Writes the plan's status (a requested 2 becomes 6 once the plan was generated). False,
    // with the error reported, when it was not written, also when the plan no longer exists.
    bool SetPlanStatus(int year, int status);
    QString ChosenDaysText(int year, const QString& employee, int month);
    int CountChosenDays(int year, const QString& employee);

    void OpenEmployees();
    void OpenDictionary(const QString& type);
    void OpenUnits();
    void OpenTermClass();
    void OpenEmployeesPrompt();
    void OpenPlans();
    void OpenCalendar(int year);
    void OpenSettings(int year, int unit);
    void OpenSettingsBatch(int year);
    void OpenOutsidePlan(int year, int unit);
    void OpenSingleSettings(int year, const QString& employee);
    void OpenChosenDays(int year, const QString& employee);
    void OpenFixedDays(int year, const QString& employee);
    void OpenSummary(int year, int unit, const QString& employee);
    void OpenScheduler();
    void OpenDeadlineCheck(int upper, int lower);

    // Notes (mydatabase_notes.cpp). LoadNotes reads the 30 slots afresh; on a
    // database error (reported, code 23) `notes` is left as it was. SaveNotes writes only the
    // slots in `changed`, so notes changed meanwhile by other copies of the program stay; a table
    // that does not yet hold the rows 1 to 30 is first completed with the stored notes kept. On a
    // database error (reported, code 22) the table keeps what it held.
    bool LoadNotes(NoteSlots& notes);
    bool SaveNotes(const NoteSlots& notes, const NoteSlotSet& changed);

    // Sorting by a grid's column title: the same column flips the direction, another keeps it.
    void SortEmployeesBy(const QString& column);
    void SortSchedulerBy(const QString& column);

    // The write pattern: one statement in its own write transaction. `onError` may claim an
    // engine error (returning true) before it is reported with `code`. True when committed.
    bool Write(const QString& sql, const Params& params, int code,
               const std::function<bool(const fb::Error&)>& onError = {});
    // The utility pattern on mySQL: `body` runs inside a fresh DBFMySqlTransaction that is
    // committed afterwards. On an error it is rolled back and reported with `code`.
    bool Utility(int code, const std::function<void(fb::Statement&)>& body);
    // The same on mySQL2 and DBFMySqlTransaction2, for a query needed while mySQL is in use.
    bool Utility2(int code, const std::function<void(fb::Statement&)>& body);

    // The unexpected-error report of ErrorLog. A lock conflict with another copy of the program
    // is shown as ErrorLog::kConflictMessage instead, the engine's text going to the log only.
    void ReportUnexpectedError(const QString& message, bool withPrefix, int code);
    // The same for a caught exception: an engine error's status codes tell a lock conflict.
    void ReportUnexpectedError(const Exception& e, int code);
    void WriteErrorLog(const QString& text);
    ErrorLog& errorLog() { return m_log; }
    // Through which the module's users ask what only the user can decide.
    Dialogs& dialogs() { return m_dialogs; }

    const DatabasePaths& paths() const { return m_paths; }
    void setProgramFolder(const QString& folder) { m_paths.programFolder = folder; }
    QString IniPath() const;
    QString ConfigDatPath() const;

    // --- list state -------------------------------------------------------------------------
    QString employeesFilter;
    QString employeesSortColumn;
    bool employeesSortAscending = true;
    QString schedulerFilter1;
    QString schedulerFilter2;
    QString schedulerFilter3;
    QString schedulerSortColumn;
    bool schedulerSortAscending = true;

    // --- connection, transactions, statements ----------------------------------------------
    fb::Connection FBDataBase;
    fb::Transaction FBTransaction;
    fb::Transaction DBFTransaction;
    fb::Transaction DBFMySqlTransaction;
    fb::Transaction DBFMySqlTransaction2;
    fb::Transaction DBFGetKeyTransaction;
    fb::Statement DBFWorkingSQL;
    fb::Statement mySQL;
    fb::Statement mySQL2;
    fb::Statement DBFGetKey;

    // --- shared lists (on FBTransaction) ---------------------------------------------------
    fb::DataSet DBFEmployees;
    fb::DataSet DBFDictionary;
    fb::DataSet DBFUnits;
    fb::DataSet DBFTermClass;
    fb::DataSet DBFEmployeesPrompt;
    fb::DataSet DBFCalendar;
    fb::DataSet DBFHolidayPlans;
    fb::DataSet DBFEmployeesSettings;
    fb::DataSet DBFEmployeesSettingsBatch;
    fb::DataSet DBFEmplOutsidePlan;
    fb::DataSet DBFSingleEmployeeSettings;
    fb::DataSet DBFEmployeeHolidays;
    fb::DataSet DBFEmployeeConstDays;
    fb::DataSet DBFZest;
    fb::DataSet DBFScheduler;
    fb::DataSet DBFCheckScheduler;

    // --- write sets ---------------------------------------------------------------------------
    static const WriteSet DBFUEmployees;
    static const WriteSet DBFUDictionary;
    static const WriteSet DBFUCalendar;
    static const WriteSet DBFUHolidayPlans;
    static const WriteSet DBFUPlanDir;
    static const WriteSet DBFUEmployeesSettings;
    static const WriteSet DBFUEmployeeHolidays;
    static const WriteSet DBFUEmployeeConstDays;
    static const WriteSet DBFUScheduler;

    // Idle time-out of the short transactions.
    static constexpr int kTransactionTimeoutMs = 30000;
    // How long the write transactions wait for rows another copy holds (from their next start).
    void SetLockTimeout(int seconds);

private:
    static constexpr int kVersionUnreadable = -2;
    // "DBUPDATEDTO", -1 when the row is missing, kVersionUnreadable on a reported error.
    int readVersion();
    bool runUtility(fb::Statement& st, fb::Transaction& tr, int code,
                    const std::function<void(fb::Statement&)>& body);
    void openList(fb::DataSet& list, const QString& sql, const Params& params, int code);
    // The lists' statements, one subsystem a source file.
    void installPersonnelStatements();
    void installPlanStatements();
    void installSchedulerStatements();
    static QString SortDirection(bool ascending);
    void installDisplayTexts();
    bool readInstallerSettings();

    DatabasePaths m_paths;
    Dialogs& m_dialogs;
    ErrorLog m_log;
    LoginState m_login;
    bool m_inUseElsewhere = false;
};

// Small text helpers used across the program.
namespace text {
// Length after trimming blanks: the test of every empty field.
int TrimLength(const QString& s);
QString ReplaceChar(const QString& s, QChar from, QChar to);
QString ReplaceFirst(const QString& s, const QString& what, const QString& with);
QString ExcludeTrailingSeparator(const QString& path);
bool DirectoryExists(const QString& path);
} // namespace text

// The text of a plan status 1..6; empty for any other value.
QString PlanStatusName(int status);

} // namespace zf

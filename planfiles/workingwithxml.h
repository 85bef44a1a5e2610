#pragma once

#include "planfiles/existingplanfile.h"
#include "planfiles/planfile.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace zf {

class TmyDataBase;

// Called before each employee of a long run with the employee's place (from 0), the number of
// employees and the employee's text ("Name Surname (key)"); answering false stops the run there,
// between two employees.
using PlanFilesProgress = std::function<bool(int index, int total, const QString& employee)>;

// How the last run of WritePlanFiles, ImportPlanFiles or FindChangedPlanFiles ended.
struct PlanFilesRun
{
    int total = 0;           // employees asked for
    int done = 0;            // files written, plans stored, or files examined
    bool cancelled = false;  // the progress answered false
    bool stopped = false;    // an error ended the run
    QString stoppedAt;       // the employee's text when the run stopped on an employee
    // The export: the files not replaced, each "employee: why", in list order.
    QStringList leftAlone;
};

// One employee of the plan as the runs need it.
struct PlanEmployee
{
    QString key;
    QString text; // "Name Surname (key)"
    QString fileName;
    int stamp = 0;
};

// All work on the leave-plan files of one plan year: gathering an employee's data,
// writing files, reading and parsing them, storing them in the database, finding changed ones.
// Every message goes through ReportUnexpectedError of the database module with the code fixed for that place.
//
// The reads run on statements of their own (prepared once per object, in a read-only,
// read-committed transaction on the module's connection), so the shared lists that the windows
// and the plans page show are never moved. The import's writes go through a PlanStore of the
// run: chunks of employees, each stored by one statement and committed with it.
class TWorkingWithXML
{
public:
    TWorkingWithXML(TmyDataBase& db, int year);
    ~TWorkingWithXML();
    TWorkingWithXML(const TWorkingWithXML&) = delete;
    TWorkingWithXML& operator=(const TWorkingWithXML&) = delete;

    // Error codes of the places that report.
    static constexpr int kCodeWrite = 61101;
    static constexpr int kCodeFolder = 61102;
    static constexpr int kCodeRead = 61103;
    static constexpr int kCodeDamaged = 61104;
    static constexpr int kCodeForeign = 61105;
    static constexpr int kCodeNotReadBack = 61106;
    static constexpr int kCodeImportFolder = 61107;
    static constexpr int kCodeOtherYear = 61108;
    static constexpr int kCodeStore = 61114;

    // The plan folder and the free days; false only when the database could not be read (the
    // error is reported). A plan row no longer found leaves the folder empty.
    bool LoadPlanSettings(const QString& comment, bool checkRange);
    // The employee's data, and with includeDays his chosen and unchangeable days (non-working
    // days left out, ascending). False when the employee is no longer in the plan (nothing of
    // another employee is kept) or the database could not be read.
    bool LoadEmployee(const QString& key, bool includeDays);
    // LoadEmployee, then the file; false (reported) when it was not written. A file the
    // employee saved since, or of another year, is replaced only when the clerk says so; one that
    // is not the employee's plan file is never replaced.
    bool WriteEmployeeFile(const QString& key, bool includeDays);
    // The export run: the plan settings (asking first when the calendar holds no non-working
    // day), the folder check, a look at the files already there (one question for all those
    // that employees saved since or that are of another year), then the files in list order,
    // stopping at the first failure. Nothing is written when two chosen employees' file names
    // differ only in case. True when every file was written but those left alone
    // (lastRun().leftAlone).
    bool WritePlanFiles(const QStringList& keys, const QString& comment, bool includeDays,
                        bool checkRange);

    // Fills key, name, surname, stamp and both day lists from a deciphered text, and keeps the
    // file's IDYEAR for ParsedFileIsOfPlanYear.
    bool ParsePlanFile(const QByteArray& text);
    // Whether the file parsed last is of this plan's year; one of another year is never read.
    bool ParsedFileIsOfPlanYear() const;

    // The import; true when at least one employee's plan was stored. A file of another year is
    // reported, skipped and counted like an unreadable one.
    bool ImportPlanFiles(const QStringList& keys);
    int SkippedCount() const { return m_skipped; }
    // The plan employees whose file carries another stamp than the database, in list order;
    // false when there are none (or the run was cancelled). Files that are unreadable, damaged,
    // of another year or of another employee are counted in SkippedCount.
    bool FindChangedPlanFiles(QStringList& keys);

    void setProgress(PlanFilesProgress progress) { m_progress = std::move(progress); }
    const PlanFilesRun& lastRun() const { return m_run; }

    // --- the data held ------------------------------------------------------------------------
    int year() const { return m_content.year; }
    const QString& planFolder() const { return m_planFolder; }
    const QString& fileName() const { return m_fileName; }
    // The current employee and plan settings as a file carries them.
    const PlanFileContent& content() const { return m_content; }
    // The path of the current employee's file.
    QString EmployeeFilePath() const { return PlanFilePath(m_planFolder, m_fileName); }
    // The employees of the plan in the list order (surname, name, key); empty on a reported
    // database error.
    std::vector<PlanEmployee> PlanEmployees();

private:
    struct Reader;
    struct Stored;
    struct Writer;
    enum LoadResult { Loaded, Missing, Failed };
    // A message not yet shown, with its code.
    struct Failure
    {
        QString message;
        int code = 0;
    };

    LoadResult loadEmployee(const QString& key, bool includeDays);
    // PlanEmployees; false (reported) when they could not be read.
    bool planEmployees(std::vector<PlanEmployee>& list);
    void reportMissingEmployee(const QString& key);
    bool writeLoaded();
    // The file of the current employee, into the batch when given; false with the message.
    bool writeLoaded(PlanFileBatch* batch, Failure& failure);
    // Every plan employee of the year, with his days when asked, in three statements.
    // The stored data of the given employees (those still in the plan): a few are read one by
    // one, more with three reads of the whole plan.
    bool loadEmployees(const QStringList& keys, bool includeDays, QHash<QString, Stored>& out);
    bool loadAllEmployees(bool includeDays, QHash<QString, Stored>& out);
    void setCurrent(const QString& key, const Stored& e);
    // The loaded employee's data, as setCurrent takes it.
    Stored current() const;
    static QString storedText(const QString& key, const Stored& e);
    QString missingEmployeeMessage(const QString& key) const;
    bool loadPlanFolder();
    // Gathers the parsed employee's days and stamp, storing the chunk when it is due; false,
    // with the message shown, when the chunk could not be stored whole.
    bool storePlan(Writer& w, const QString& key);
    // Stores and commits the employees gathered, counting those stored as done; false, with the
    // message shown and the run stopped at the first employee not stored, on a failure.
    bool commitStored(Writer& w);
    void reportOtherYear(const QString& path);
    // The question about files that employees saved and the office has not read, or of another
    // year: one for all of `files` ("employee: why"). Answers Skip, Overwrite or Cancel.
    enum Consent { Skip, Overwrite, Cancel };
    Consent askToReplace(const QStringList& files);
    // Looks at what stands at each employee's file name before anything is written. `keep`
    // receives the keys whose files stay as they are (named in m_run.leftAlone); false when the
    // clerk cancelled or the calendar question was declined.
    bool lookAtExistingFiles(const QStringList& keys, const QHash<QString, Stored>& stored,
                             QHash<QString, ExistingPlanFile>& looked, QSet<QString>& keep);
    // No non-working day in the plan's calendar: asks whether to generate all the same.
    bool mayGenerateWithoutFreeDays();
    bool reportProgress(int index, int total, const QString& employee);
    QString employeeText() const;

    TmyDataBase& m_db;
    std::unique_ptr<Reader> m_reader;
    PlanFileContent m_content;
    QString m_planFolder;
    QString m_fileName;
    QByteArray m_parsedYear; // IDYEAR of the file parsed last
    int m_skipped = 0;
    PlanFilesProgress m_progress;
    PlanFilesRun m_run;
};

} // namespace zf

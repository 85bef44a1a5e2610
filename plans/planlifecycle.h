#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace zf {

class Dialogs;
class TmyDataBase;
struct ProgramOptions;

namespace fb {
class DataSet;
}

// The plan under the cursor of the plans list.
struct PlanRow
{
    int year = 0;
    int status = 0;
    QString planDir;

    // The current row of DBFHolidayPlans; nullopt when the list is closed or empty.
    static std::optional<PlanRow> fromCurrentRow(const fb::DataSet& plans);
};

// What the plans page does with a plan, apart from the windows it opens: creating, copying,
// deleting, the gates before a window opens and the status changes after it closes. Everything
// the user is told or asked goes through the dialogs interface.
class PlanLifecycle
{
public:
    PlanLifecycle(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options);

    // "Utwórz z istniejącego" stores the selected plan as the source of the next creation.
    void setCopySource(int year, const QString& planDir);
    int copySourceYear() const { return m_copyYear; }

    // "Stwórz nowy": asks for a year until a plan is made or the user cancels (askYear gives
    // nullopt). With a stored source the new plan is made as its copy; the source is cleared
    // first so that a later plain creation never copies. A year that exists, or a failed copy,
    // asks for the year again. The new year, or 0.
    int CreatePlan(const std::function<std::optional<int>()>& askYear);

    // "Usuń plan", with the question when the option asks for it. True when deleted.
    bool DeletePlan(int year);

    // "Otwórz folder planów": the message for an empty folder, else `open` with the folder.
    void OpenPlanFolder(const QString& planDir, const std::function<void(const QString&)>& open);

    // The question before changing an approved plan (`question`: one of the three below); true
    // when the command may go on.
    bool MayChangeApproved(int status, const QString& question = kApprovedQuestion);
    // The gates of generating files and reading them back, with their messages.
    bool MayGenerate(int status);
    bool MayImport(int status);

    // After the configuration window: status 2 (6 once generated) when something changed, and
    // the new folder stored. True when something was written and the plans list reopened.
    bool AfterConfiguration(int year, const QString& storedDir, bool changed,
                            const QString& newDir);
    // After the calendar window: a saved calendar of a generated plan moves it to status 6.
    // True when the status was written and the plans list reopened.
    bool AfterCalendar(int year, int status, bool saved);

    // Reopens the plans list and puts the cursor on `year`.
    void ShowPlan(int year);

    static const QString kFolderNotCreated;
    static const QString kDuplicateYear;
    static const QString kDeleteQuestion;
    static const QString kNoFolder;
    static const QString kApprovedQuestion;
    static const QString kApprovedGenerateQuestion;
    static const QString kApprovedImportQuestion;
    static const QString kAddEmployeesFirst;
    static const QString kGenerateFirst;

    static constexpr int kCodeCreate = 31909;
    static constexpr int kCodeCopyBeforeFolder = 2109311;
    static constexpr int kCodeCopyAfterFolder = 2109312;
    static constexpr int kCodeDelete = 31912;
    static constexpr int kCodeFolderUpdate = 261727;

private:
    enum class Insert
    {
        Done,
        Duplicate,
        Failed
    };
    // The plan row of `year`, and with a `source` above 0 the copy of that plan into it, in one
    // transaction: a failure, or the program killed at any moment, leaves all of it or nothing.
    Insert insertPlan(int year, int source, const QString& planDir);
    // The copy's part of that transaction; `code` follows it for the error report.
    void copyPlan(int source, int target, const QString& planDir, int& code);

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    const ProgramOptions& m_options;
    int m_copyYear = 0;
    QString m_copyDir;
};

} // namespace zf

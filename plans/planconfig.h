#pragma once

#include "plans/entitlement.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace zf {

class Dialogs;
class TmyDataBase;
struct ProgramOptions;

namespace fb {
class DataSet;
}

// An active employee outside the plan, as the left list of the configuration window shows him.
struct OutsideEmployee
{
    QString id;
    QString text;
};

// How "Dodaj do planu >>" ended.
struct AddResult
{
    enum Outcome
    {
        Stored,          // committed: `added` new rows, `skipped` already in the plan
        InvalidSize,     // the default entitlement is outside 0 to 365: nothing inserted
        NothingSelected, // nothing to add
        EmployeeGone,    // an employee was deleted meanwhile by another copy: nothing inserted
        Failed,          // another database error, reported: nothing inserted
    };
    Outcome outcome = NothingSelected;
    int added = 0;
    int skipped = 0;
};

// The configuration of one plan: who takes part, with which entitlement, and the plan folder.
// Works on the module's plan-employee and outside-plan lists and writes in its working
// transaction; talks to the user only through the dialogs.
class PlanConfig
{
public:
    PlanConfig(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options);

    // Opening the window: the changed flag cleared, year, stored folder and unit filter taken,
    // both lists reopened.
    void Open(int year, const QString& planDir, int unitFilter);
    // The outside-plan list for the year with the unit filter, the plan-employee list without.
    void Reload();
    // A unit chosen in the filter (0 or below: none); the lists are reloaded.
    void SetUnitFilter(int unit);
    // "Pokaż wszystkich pracowników": the folder text left first when it was edited, then no
    // filter (-1).
    // False when the folder text was not taken (see LeaveFolder).
    bool ShowAll(const QString& folderText);
    // The rows of the outside-plan list.
    std::vector<OutsideEmployee> OutsidePlan() const;

    // "Dodaj do planu >>": one transaction for all; an employee already in the plan is skipped
    // silently, any other error stores nothing. Marks the configuration changed in every case.
    AddResult AddEmployees(const QStringList& ids, int holidaySize);
    // "<< Usuń z planu": the employee under the cursor, after the question when the options ask
    // for one. True when a row was deleted.
    bool RemoveCurrent();
    // "Edytuj wymiar urlopu": `edit` fills and shows the entitlement window from the list whose
    // current row is the employee, and gives the values when it was saved. True when written.
    using EntitlementEditor = std::function<std::optional<EntitlementData>(const fb::DataSet&)>;
    bool EditCurrent(const EntitlementEditor& edit);

    // A folder chosen in the folder chooser; refused with a message when the field could not
    // hold it unchanged, or after the question when another plan uses it and the clerk does not
    // want to share it. When taken, the configuration counts as changed.
    bool FolderChosen(const QString& path);
    // Focus leaving the folder panel: the text becomes the stored folder; a warning when there
    // is no such folder or it cannot be written. False (the stored folder unchanged) when
    // another plan uses it and the clerk, asked, does not want to share it.
    bool LeaveFolder(const QString& folder);
    // A folder of its own proposed for a plan that has none yet (empty when no other plan has a
    // folder to start from).
    const QString& proposedFolder() const { return m_proposedFolder; }
    // The window closing with `folder` in the field: the folder to keep. One used by another
    // plan is asked about (unless already agreed to); the proposed folder is created when its
    // parent exists.
    QString CloseFolder(const QString& folder);

    // A batch change committed in the batch window: the files carry the old figures now, as
    // after a single edit.
    void BatchChanged() { m_changed = true; }

    bool changed() const { return m_changed; }
    int year() const { return m_year; }
    int unitFilter() const { return m_unitFilter; }
    const QString& storedFolder() const { return m_storedFolder; }

    static const QString kInvalidSize;
    static const QString kDeleteQuestion;
    static const QString kEmployeeGone;
    static const QString kMissingFolder;
    static const QString kFolderNotWritable;
    static const QString kFolderTooLong;
    static const QString kNotCp1250;
    static const QString kFolderNotCreated;
    static constexpr int kDefaultDays = 26;
    static constexpr int kMaxFolderLength = 200;
    static constexpr int kCodeAdd = 151011;
    static constexpr int kCodeRemove = 102110;
    static constexpr int kCodeEdit = 102127;

private:
    void reloadKeepingRow();
    // The question about a folder another plan uses, asked once per folder text.
    bool mayUseFolder(const QString& folder);

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    const ProgramOptions& m_options;
    int m_year = 0;
    int m_unitFilter = 0;
    QString m_storedFolder;
    QString m_openedFolder;   // as stored when the window opened
    QString m_proposedFolder;
    QString m_agreedFolder;   // used by another plan, and the clerk chose to share it
    bool m_changed = false;
};

// One figure that the batch window may set, with its column.
struct BatchSeries
{
    QString item;
    QString column;
};
// "Wymiar urlopu", "Ilość urlopu zaległego", ... in the order of the window's list.
const std::vector<BatchSeries>& BatchSeriesList();
// The column of the list item at `index`; anything else means OTHERDAYS.
QString BatchColumn(int index);
// The update of one column for `count` employees bound to E0 .. E(count - 1); a count of 0 or 1
// gives the one parameter E0.
QString BatchStatement(const QString& column, int count);

// "Zastosuj zmiany" of the batch window over the module's batch list.
class BatchEdit
{
public:
    BatchEdit(TmyDataBase& db, Dialogs& dialogs);

    // Sets the figure of `series` to the number in `daysText` for the selected employees (in the
    // grid's selection order), or for the row under the cursor when none is selected. Larger
    // selections go in several statements of one transaction: all are stored or none. True when
    // committed; the plan-employee list is then reopened and "Gotowe!" shown.
    bool Apply(int year, const QString& daysText, int series, const QStringList& selected);

    // Employees per statement (the engine takes at most 1,500 values in one IN list).
    void setChunkSize(int size) { m_chunk = size > 0 ? size : kChunk; }
    static constexpr int kChunk = 1000;

    static const QString kBadNumber;
    static const QString kDone;
    static constexpr int kCodeBatch = 102127;

private:
    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    int m_chunk = kChunk;
};

} // namespace zf

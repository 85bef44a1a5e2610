#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace zf {

class Dialogs;
class TmyDataBase;
struct ProgramOptions;

namespace fb {
class DataSet;
}

// One deadline as the deadline editor shows it.
struct DeadlineData
{
    int kind = 0;        // IDDICTIONARY of a 'TERMT' entry; 0 for none
    QString date;        // the date field: a date text, or the empty date text
    QString employee;    // personnel number; empty for none
    QString description; // as typed; trimmed when saved
    QString other;
    bool active = true;

    bool operator==(const DeadlineData&) const = default;

    // The current row of DBFScheduler (schedulerSetField); an empty list gives a new deadline
    // with the empty date text.
    static DeadlineData fromCurrentRow(const fb::DataSet& list);
    // A new deadline: no kind, active, the empty date text, no employee, no texts.
    static DeadlineData empty();
};

// What the operations need from the deadline editor, so that they run headless against a
// scripted editor.
class DeadlineEditor
{
public:
    virtual ~DeadlineEditor() = default;

    virtual void setData(const DeadlineData& data) = 0;
    virtual DeadlineData data() const = 0;
    // Shows the editor modally with what it holds; true when "&Zapisz" closed it.
    virtual bool showModal() = 0;
    // Viewing (false) or editing (true).
    virtual void setEditable(bool editable) = 0;
    virtual void focusDate() = 0;
};

// The date test of "&Zapisz": a valid date text (IsValidDateText) naming a day that exists, so
// 31-02-2024 is refused as 00-05-2024 is.
bool IsValidDeadlineDate(const QString& text);

// "&Zapisz" of the editor: a refused date is shown ("Uwaga") and the date field focused.
bool ConfirmDeadline(DeadlineEditor& editor, const DeadlineData& data, Dialogs& dialogs);

// One row of the deadline check (DBFCheckScheduler).
struct DueDeadline
{
    int date = 0;
    QString kind;
    QString employee;
    QString description;
};

// The rows of DBFCheckScheduler in their order.
std::vector<DueDeadline> DueDeadlinesOf(const fb::DataSet& check);

// The reminder text, one entry a line: for each deadline the date line, the kind and person
// lines when there is one, the trimmed description (each of its own lines; an empty line when
// there is none), an empty line and 51 hyphens.
QStringList DeadlineReminderLines(const std::vector<DueDeadline>& deadlines);

// Writes the lines to the file as Windows-1250 text, each line ended by CR LF.
bool SaveReminderLines(const QString& path, const QStringList& lines);

// "Zapisz wynik" of the reminder window: asks for the file, writes it and says how it went.
void SaveReminderResult(const QStringList& lines, Dialogs& dialogs);

// The reminder window as checkTerms uses it.
class DeadlineReminder
{
public:
    virtual ~DeadlineReminder() = default;
    // Shows the lines modally.
    virtual void showReminder(const QStringList& lines) = 0;
};

// The deadline scheduler: adding, copying, editing, viewing and deleting deadlines over the
// shared list DBFScheduler, and the check of due deadlines.
class Deadlines
{
public:
    Deadlines(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options);

    // schedulerSetField: both pick lists reopened, the editor filled from the current row.
    void SetField(DeadlineEditor& editor);
    void Add(DeadlineEditor& editor, bool copy);
    void Edit(DeadlineEditor& editor);
    void View(DeadlineEditor& editor);
    void Delete();

    // checkTerms: the window of due dates around today from the options; `report` says
    // "nothing found" when nothing is due (the command), the start-up form stays silent.
    void CheckTerms(bool report, DeadlineReminder& reminder);
    // The same over a given window of due dates: lower < date <= upper.
    void CheckTermsIn(int lower, int upper, bool report, DeadlineReminder& reminder);

    static const QString kInvalidDate;
    static const QString kNoKey;
    static const QString kDeleteQuestion;
    static const QString kNothingFound;

    static constexpr int kCodeAdd = 262110;
    static constexpr int kCodeEdit = 262112;
    static constexpr int kCodeDelete = 262055;

private:
    void reopenPickLists();
    void showDeadline(int key);

    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    const ProgramOptions& m_options;
};

} // namespace zf

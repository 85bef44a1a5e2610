#pragma once

#include "scheduler/deadlines.h"
#include "scheduler/notes.h"

#include <functional>
#include <memory>

class QWidget;

namespace zf {

class Dialogs;
class TfNotatki;
class TfScheduler;
class TfShowNotatka;
class TfSprawdzenieDat;
class TmyDataBase;
struct ProgramOptions;

// The deadlines and the notes as the main window and the start-up reach them: the deadline
// editor, the deadline reminder, the notes window and the note reminder, created once and kept
// for the whole run.
class TScheduler
{
public:
    // `editKinds` opens the dictionary window on the kinds of deadline ("[...]" of the editor).
    TScheduler(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
               std::function<void()> editKinds, QWidget* parent = nullptr);
    ~TScheduler();
    TScheduler(const TScheduler&) = delete;
    TScheduler& operator=(const TScheduler&) = delete;

    // The generic commands of the deadlines page, on the current row of DBFScheduler.
    void View();
    void Add(bool copy);
    void Edit();
    void Delete();

    // checkTerms: "Sprawdź terminy" (report true) and the start-up form over the window of due
    // dates the start-up computed.
    void CheckTerms(bool report);
    void RemindDeadlines(int lower, int upper);

    // The notes: LoadNotes, "Notatnik" and RemindNotes.
    void LoadNotes();
    void EditNotes();
    void RemindNotes(int lower, int upper);

    // Restricted logins do not see the note reminder's delete button.
    void ApplyRestrictedMode(bool restricted);

    Deadlines& deadlines() { return m_deadlines; }
    Notes& notes() { return m_notes; }
    TfScheduler& editor() { return *m_editor; }
    TfSprawdzenieDat& reminderWindow() { return *m_reminder; }
    TfNotatki& notesWindow() { return *m_notesWindow; }
    TfShowNotatka& noteWindow() { return *m_noteWindow; }

private:
    Deadlines m_deadlines;
    Notes m_notes;
    std::unique_ptr<TfScheduler> m_editor;
    std::unique_ptr<TfSprawdzenieDat> m_reminder;
    std::unique_ptr<TfNotatki> m_notesWindow;
    std::unique_ptr<TfShowNotatka> m_noteWindow;
};

} // namespace zf

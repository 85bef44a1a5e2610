#include "scheduler/terminarz.h"

#include "scheduler/notatki.h"
#include "scheduler/schedulerwindow.h"
#include "scheduler/shownotatka.h"
#include "scheduler/sprawdzeniedat.h"

namespace zf {

TScheduler::TScheduler(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options,
                       std::function<void()> editKinds, QWidget* parent)
    : m_deadlines(db, dialogs, options), m_notes(db, dialogs, options),
      m_editor(std::make_unique<TfScheduler>(db, dialogs, std::move(editKinds), parent)),
      m_reminder(std::make_unique<TfSprawdzenieDat>(dialogs, parent)),
      m_notesWindow(std::make_unique<TfNotatki>(dialogs, options, parent)),
      m_noteWindow(std::make_unique<TfShowNotatka>(parent))
{
}

TScheduler::~TScheduler() = default;

void TScheduler::View()
{
    m_deadlines.View(*m_editor);
}

void TScheduler::Add(bool copy)
{
    m_deadlines.Add(*m_editor, copy);
}

void TScheduler::Edit()
{
    m_deadlines.Edit(*m_editor);
}

void TScheduler::Delete()
{
    m_deadlines.Delete();
}

void TScheduler::CheckTerms(bool report)
{
    m_deadlines.CheckTerms(report, *m_reminder);
}

void TScheduler::RemindDeadlines(int lower, int upper)
{
    m_deadlines.CheckTermsIn(lower, upper, false, *m_reminder);
}

void TScheduler::LoadNotes()
{
    m_notes.Load();
}

void TScheduler::EditNotes()
{
    m_notes.Edit(*m_notesWindow);
}

void TScheduler::RemindNotes(int lower, int upper)
{
    m_notes.Remind(lower, upper, *m_noteWindow);
}

void TScheduler::ApplyRestrictedMode(bool restricted)
{
    m_noteWindow->setDeleteVisible(!restricted);
}

} // namespace zf

#include "scheduler/notes.h"

#include "data/programoptions.h"
#include "util/dates.h"
#include "util/dialogs.h"

#include <optional>

namespace zf {

namespace {

constexpr int kDateWidth = 10;
constexpr int kTextWidth = 255;

size_t at(int slotNumber)
{
    return static_cast<size_t>(slotNumber - 1);
}

} // namespace

const QString Notes::kDeleteQuestion = QStringLiteral("Czy usunąć notatkę?");
const QString Notes::kClearQuestion = QStringLiteral("Czy usunąć bieżącą notatkę?");

bool IsFreeNote(const NoteSlot& slot)
{
    return slot.text.trimmed().isEmpty();
}

bool NoteDiffers(const NoteSlot& a, const NoteSlot& b)
{
    if (IsFreeNote(a) && IsFreeNote(b))
        return false;
    return a.text != b.text || a.date != b.date;
}

NoteSlotSet ChangedNotes(const NoteSlots& before, const NoteSlots& after)
{
    NoteSlotSet changed;
    for (size_t i = 0; i < before.size(); ++i)
        changed.set(i, NoteDiffers(before[i], after[i]));
    return changed;
}

NoteSlot StoreNoteFields(const NoteSlot& slot, const QString& dateField, const QString& text)
{
    NoteSlot s = slot;
    if (text.trimmed().isEmpty()) {
        s.text.clear();
        s.date.clear();
        return s;
    }
    const QString date = IsValidDateText(dateField) ? dateField : emptyDateText();
    s.date = date.left(kDateWidth);
    s.text = text.left(kTextWidth);
    return s;
}

void NotesBook::begin(const NoteSlots& notes, int slot)
{
    m_slots = notes;
    m_current = slot >= 1 && slot <= kNoteSlotCount ? slot : 1;
}

void NotesBook::store(const QString& dateField, const QString& text)
{
    NoteSlot& s = m_slots[at(m_current)];
    s = StoreNoteFields(s, dateField, text);
}

void NotesBook::previous()
{
    m_current = m_current <= 1 ? kNoteSlotCount : m_current - 1;
}

void NotesBook::next()
{
    m_current = m_current >= kNoteSlotCount ? 1 : m_current + 1;
}

void NotesBook::clearCurrent()
{
    NoteSlot& s = m_slots[at(m_current)];
    s.text.clear();
    s.date.clear();
}

Notes::Notes(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options)
    : m_db(db), m_dialogs(dialogs), m_options(options)
{
}

NoteSlots Notes::withUnsaved(const NoteSlots& read) const
{
    NoteSlots result = read;
    for (size_t i = 0; i < result.size(); ++i) {
        if (!m_unsaved.test(i))
            continue;
        result[i].date = m_slots[i].date;
        result[i].text = m_slots[i].text;
    }
    return result;
}

bool Notes::Load()
{
    NoteSlots read;
    if (!m_db.LoadNotes(read))
        return false;
    m_slots = withUnsaved(read);
    return true;
}

void Notes::Edit(NotesWindow& window)
{
    // What other copies stored since the last reading is shown; without it nothing is shown or
    // written, so no slot of theirs can be overwritten by a stale one.
    NoteSlots stored;
    if (!m_db.LoadNotes(stored))
        return;
    NoteSlots shown = withUnsaved(stored);
    int slot = 1;
    std::optional<NoteSlots> failed;
    for (;;) {
        NoteSlots edited = shown;
        window.editNotes(edited, slot);
        // Only the slots changed against the reading are written, so a colleague's note saved
        // meanwhile in another slot stays, however often this save is tried again.
        const NoteSlotSet changed = ChangedNotes(stored, edited);
        m_slots = edited;
        m_unsaved = changed;
        if (m_db.SaveNotes(edited, changed)) {
            m_unsaved.reset();
            return;
        }
        // Tried again unchanged and failed again: the user gives up for now, the notes wait in
        // memory rather than keep the window in a loop while the database cannot take them.
        if (failed && *failed == edited)
            return;
        failed = edited;
        shown = edited;
        for (int i = 0; i < kNoteSlotCount; ++i) {
            if (changed.test(at(i + 1))) {
                slot = i + 1;
                break;
            }
        }
    }
}

void Notes::Remind(int lower, int upper, NoteReminder& reminder)
{
    for (int i = 0; i < kNoteSlotCount; ++i) {
        // A delete of an earlier reminder may have read the slots anew.
        const NoteSlot slot = m_slots[static_cast<size_t>(i)];
        if (IsFreeNote(slot))
            continue;
        const int d = slot.date.size() == kDateWidth ? DateTextToNumber(slot.date) : 0;
        if (lower < d && d <= upper)
            reminder.showNote(slot.text, slot.date, [this, i, slot] { DeleteReminded(i, slot); });
    }
}

void Notes::DeleteReminded(int index, const NoteSlot& shown)
{
    if (index < 0 || index >= kNoteSlotCount)
        return;
    if (m_options.pytajPrzedKasowaniem && !m_dialogs.question(kCaptionQuestion, kDeleteQuestion))
        return;
    if (!Load())
        return;
    NoteSlot& slot = m_slots[static_cast<size_t>(index)];
    // Another copy may have put a different note into the slot meanwhile: that one stays.
    if (NoteDiffers(slot, shown))
        return;
    slot.text.clear();
    slot.date.clear();
    NoteSlotSet changed;
    changed.set(static_cast<size_t>(index));
    if (m_db.SaveNotes(m_slots, changed))
        m_unsaved.reset(static_cast<size_t>(index));
}

} // namespace zf

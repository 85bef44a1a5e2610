#pragma once

#include "data/mydatabase.h"

#include <QString>

#include <functional>

namespace zf {

class Dialogs;
struct ProgramOptions;

// A free slot: its text is empty after trimming.
bool IsFreeNote(const NoteSlot& slot);
// Whether two slots hold different notes; two free slots are the same however they are stored.
bool NoteDiffers(const NoteSlot& a, const NoteSlot& b);
// The slots whose notes differ.
NoteSlotSet ChangedNotes(const NoteSlots& before, const NoteSlots& after);

// Storing the fields of the notes window into a slot: a text blank after trimming empties the
// slot's text and date; otherwise a date field that is not a valid date text becomes the empty
// date text, and the date (10 characters) and the text (255) are stored. The reserved part stays.
NoteSlot StoreNoteFields(const NoteSlot& slot, const QString& dateField, const QString& text);

// The 30 slots as the notes window edits them, with the current slot numbered 1 to 30.
class NotesBook
{
public:
    // The slots read for this opening; `slot` (1 to 30) becomes current.
    void begin(const NoteSlots& notes, int slot = 1);
    int current() const { return m_current; }
    const NoteSlot& currentSlot() const { return m_slots[static_cast<size_t>(m_current - 1)]; }
    const NoteSlots& held() const { return m_slots; }

    void store(const QString& dateField, const QString& text);
    // From 1 back to 30, and from 30 on to 1 (the caller stores first).
    void previous();
    void next();
    // "Wyczyść": the slot's text and date are emptied.
    void clearCurrent();

private:
    NoteSlots m_slots;
    int m_current = 1;
};

// The notes window as EditNotes uses it.
class NotesWindow
{
public:
    virtual ~NotesWindow() = default;
    // Shows the slots modally from `slot` (1 to 30); `notes` receives them as the window leaves
    // them.
    virtual void editNotes(NoteSlots& notes, int slot) = 0;
};

// The note reminder window as RemindNotes uses it.
class NoteReminder
{
public:
    virtual ~NoteReminder() = default;
    // Shows the note and its date text modally; its delete button runs `deleteNote` and closes
    // the window.
    virtual void showNote(const QString& text, const QString& date,
                          const std::function<void()>& deleteNote) = 0;
};

// The thirty notes: held in memory for the whole run, edited in the notes window and reminded
// of at start-up. Every copy of the program on the database shares them: the window reads them
// afresh when it opens and writes back only what changed in it; a reminder's delete reads before
// it writes. After a failed read nothing is written. What a failed save did not store is never
// dropped: it stays in memory over what is read, until a save stores it.
class Notes
{
public:
    Notes(TmyDataBase& db, Dialogs& dialogs, const ProgramOptions& options);

    // LoadNotes into memory; false (memory unchanged) on a reported database error.
    bool Load();
    const NoteSlots& held() const { return m_slots; }
    // Slots typed in the window that no save has stored yet.
    const NoteSlotSet& unsaved() const { return m_unsaved; }

    // "Notatnik": the slots read afresh, shown in the window, the changed ones saved. After a
    // failed save (reported) the window opens again on the first changed slot with what was
    // typed, and closing it saves again; when it is closed a second time without a change and
    // that save fails too, the typed notes stay unsaved in memory for the next opening.
    void Edit(NotesWindow& window);
    // RemindNotes: each note in slot order whose date number d is due (lower < d <= upper) is
    // shown, one after another.
    void Remind(int lower, int upper, NoteReminder& reminder);
    // "Usuń" of the reminder for the slot at `index` (0 to 29) that showed `shown`: asks when the
    // options say so, reads the slots afresh and clears the slot when it still holds that note.
    void DeleteReminded(int index, const NoteSlot& shown);

    static const QString kDeleteQuestion;
    static const QString kClearQuestion;

private:
    TmyDataBase& m_db;
    Dialogs& m_dialogs;
    // The slots read, with the unsaved ones over them.
    NoteSlots withUnsaved(const NoteSlots& read) const;

    const ProgramOptions& m_options;
    NoteSlots m_slots;
    NoteSlotSet m_unsaved;
};

} // namespace zf

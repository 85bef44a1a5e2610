// The thirty notes in the table GLOBALNOTES: LoadNotes and SaveNotes of the database module.
//
// Every copy of the program on one database shares the notes, so a copy writes only the slots
// its user changed, each in the row of its number; what other copies changed meanwhile stays.
#include "data/mydatabase.h"

#include "data/fb/transactionguard.h"

#include <optional>

namespace zf {

namespace {

constexpr int kCodeLoadNotes = 23;
constexpr int kCodeSaveNotes = 22;
// The widths of the columns DATA, DESCRIPTION and RESERVED.
constexpr int kDateWidth = 10;
constexpr int kTextWidth = 255;
constexpr int kReservedWidth = 10;

struct StoredNote
{
    int id = 0;
    NoteSlot slot;
};

QString textOf(const QVariant& v)
{
    return v.isValid() && !v.isNull() ? v.toString() : QString();
}

std::vector<StoredNote> readStored(fb::Statement& st)
{
    std::vector<StoredNote> rows;
    st.setSql(QStringLiteral(
        "SELECT IDNOTE, DATA, DESCRIPTION, RESERVED FROM GLOBALNOTES ORDER BY IDNOTE"));
    st.execute();
    while (st.fetch()) {
        const QVariant id = st.value(0);
        rows.push_back({id.isValid() && !id.isNull() ? id.toInt() : 0,
                        {textOf(st.value(1)), textOf(st.value(2)), textOf(st.value(3))}});
    }
    st.close();
    return rows;
}

// Rows 1 to 30 are there, in slot order: each slot can be written in its own row.
bool slotsInPlace(const std::vector<StoredNote>& rows)
{
    if (rows.size() < static_cast<size_t>(kNoteSlotCount))
        return false;
    for (int i = 0; i < kNoteSlotCount; ++i)
        if (rows[static_cast<size_t>(i)].id != i + 1)
            return false;
    return true;
}

void writeNotes(fb::Statement& st, const NoteSlots& notes, const NoteSlotSet& changed)
{
    const std::vector<StoredNote> rows = readStored(st);
    if (slotsInPlace(rows)) {
        // The reserved part stays as stored.
        st.setSql(QStringLiteral(
            "UPDATE GLOBALNOTES SET DATA=:PARAM0, DESCRIPTION=:PARAM1 WHERE IDNOTE=:IDNOTE"));
        for (int i = 0; i < kNoteSlotCount; ++i) {
            if (!changed.test(static_cast<size_t>(i)))
                continue;
            const NoteSlot& s = notes[static_cast<size_t>(i)];
            st.setParam(QStringLiteral("PARAM0"), s.date.left(kDateWidth));
            st.setParam(QStringLiteral("PARAM1"), s.text.left(kTextWidth));
            st.setParam(QStringLiteral("IDNOTE"), i + 1);
            st.execute();
        }
        return;
    }
    // A new table (or one written otherwise): the stored notes by position, as LoadNotes reads
    // them, with the changed slots over them, rewritten as the rows 1 to 30.
    NoteSlots merged;
    for (int i = 0; i < kNoteSlotCount && static_cast<size_t>(i) < rows.size(); ++i)
        merged[static_cast<size_t>(i)] = rows[static_cast<size_t>(i)].slot;
    for (int i = 0; i < kNoteSlotCount; ++i) {
        if (!changed.test(static_cast<size_t>(i)))
            continue;
        merged[static_cast<size_t>(i)].date = notes[static_cast<size_t>(i)].date;
        merged[static_cast<size_t>(i)].text = notes[static_cast<size_t>(i)].text;
    }
    st.setSql(QStringLiteral("DELETE FROM GLOBALNOTES"));
    st.execute();
    for (int i = 0; i < kNoteSlotCount; ++i) {
        const NoteSlot& s = merged[static_cast<size_t>(i)];
        st.setSql(
            QStringLiteral("INSERT INTO GLOBALNOTES (IDNOTE,DATA,DESCRIPTION,RESERVED) VALUES(") +
            QString::number(i + 1) + QStringLiteral(",:PARAM0,:PARAM1,:PARAM2)"));
        st.setParam(QStringLiteral("PARAM0"), s.date.left(kDateWidth));
        st.setParam(QStringLiteral("PARAM1"), s.text.left(kTextWidth));
        st.setParam(QStringLiteral("PARAM2"), s.reserved.left(kReservedWidth));
        st.execute();
    }
}

} // namespace

bool TmyDataBase::LoadNotes(NoteSlots& notes)
{
    NoteSlots read;
    const bool ok = Utility(kCodeLoadNotes, [&read](fb::Statement& st) {
        st.setSql(QStringLiteral("SELECT * FROM GLOBALNOTES ORDER BY IDNOTE"));
        st.execute();
        // The row's position, not its number, decides the slot; slots without a row stay empty.
        for (int i = 0; i < kNoteSlotCount && st.fetch(); ++i) {
            NoteSlot& s = read[static_cast<size_t>(i)];
            s.date = textOf(st.value(QStringLiteral("DATA"))).left(kDateWidth);
            s.text = textOf(st.value(QStringLiteral("DESCRIPTION"))).left(kTextWidth);
            s.reserved = textOf(st.value(QStringLiteral("RESERVED"))).left(kReservedWidth);
        }
        st.close();
    });
    if (ok)
        notes = read;
    return ok;
}

bool TmyDataBase::SaveNotes(const NoteSlots& notes, const NoteSlotSet& changed)
{
    if (changed.none())
        return true;
    // On the write transaction a copy saving at the same moment is waited for, and its notes
    // are read as it stored them. Two copies completing a new table at once still meet on its
    // keys; the second attempt finds the rows in place and writes over them only the changed
    // slots. A lock conflict has already waited its time and is told at once.
    fb::Statement& st = DBFWorkingSQL;
    std::optional<Exception> failure;
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            fb::TransactionGuard guard(DBFTransaction);
            st.setTransaction(&DBFTransaction);
            st.close();
            writeNotes(st, notes, changed);
            st.close();
            guard.commit();
            return true;
        } catch (const fb::Error& e) {
            st.close();
            DBFTransaction.rollbackQuietly();
            if (e.isLockConflict()) {
                ReportUnexpectedError(e, kCodeSaveNotes);
                return false;
            }
            failure.emplace(e.message());
        } catch (const Exception& e) {
            st.close();
            DBFTransaction.rollbackQuietly();
            failure.emplace(e.message());
        }
    }
    ReportUnexpectedError(*failure, kCodeSaveNotes);
    return false;
}

} // namespace zf

// The thirty notes: the storing rules of the notes window, slot navigation, LoadNotes and
// SaveNotes against a real embedded database shared by two copies of the program, and the
// start-up reminder with an injected today.
#include "scheduler/reminders.h"
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "scheduler/notes.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/test_database.h"
#include "tests/support/test_env.h"
#include "util/dates.h"

#include <gtest/gtest.h>

#include <functional>

namespace zf {
namespace {

NoteSlot note(const QString& date, const QString& text, const QString& reserved = {})
{
    return {date, text, reserved};
}

// The notes window: what it does to the slots while it is open.
class ScriptedNotesWindow final : public NotesWindow
{
public:
    explicit ScriptedNotesWindow(std::function<void(NoteSlots&)> step = {})
        : m_step(std::move(step))
    {
    }
    void editNotes(NoteSlots& notes, int slot) override
    {
        ++shown;
        firstSlots.push_back(slot);
        texts.push_back(notes);
        if (m_step)
            m_step(notes);
    }
    int shown = 0;
    // Per showing: the slot shown first and the slots as the window got them.
    std::vector<int> firstSlots;
    std::vector<NoteSlots> texts;

private:
    std::function<void(NoteSlots&)> m_step;
};

// The note reminder: records the notes and presses "Usuń" on those listed.
class ScriptedNoteReminder final : public NoteReminder
{
public:
    void showNote(const QString& text, const QString& date,
                  const std::function<void()>& deleteNote) override
    {
        shown << text;
        dates << date;
        if (deleteTexts.contains(text))
            deleteNote();
    }
    QStringList shown;
    QStringList dates;
    QStringList deleteTexts;
};

// --- the storing rules and navigation -----------------------------------------------------------

TEST(NoteSlotRules, StoringTheFields)
{
    setDateSeparator(QLatin1Char('-'));
    const NoteSlot old =
        note(QStringLiteral("01-02-2024"), QStringLiteral("stara"), QStringLiteral("rez"));
    // Only blanks: the text and the date go, the reserved part stays.
    EXPECT_EQ(StoreNoteFields(old, QStringLiteral("05-05-2024"), QStringLiteral("  \n ")),
              note({}, {}, QStringLiteral("rez")));
    EXPECT_EQ(StoreNoteFields(old, QStringLiteral("05-05-2024"), QStringLiteral("nowa")),
              note(QStringLiteral("05-05-2024"), QStringLiteral("nowa"), QStringLiteral("rez")));
    // Not a valid date text: the empty mask.
    for (const char* bad : {"31-13-2024", "  -  -    ", "00-01-2024", "1-1-2024"})
        EXPECT_EQ(StoreNoteFields(old, QString::fromLatin1(bad), QStringLiteral("x")).date,
                  QStringLiteral("  -  -    "))
            << bad;
    // The module's test: day 1 to 31 whatever the month.
    EXPECT_EQ(StoreNoteFields(old, QStringLiteral("31-02-2024"), QStringLiteral("x")).date,
              QStringLiteral("31-02-2024"));
    EXPECT_EQ(StoreNoteFields(old, QStringLiteral("05-05-2024"), QString(300, QLatin1Char('a')))
                  .text.size(),
              255);
}

TEST(NoteSlotRules, FreeSlotsAreTheSameHoweverStored)
{
    EXPECT_FALSE(
        NoteDiffers(note({}, {}), note(QStringLiteral("  -  -    "), QStringLiteral("  "))));
    EXPECT_TRUE(NoteDiffers(note({}, QStringLiteral("a")), note({}, QStringLiteral("b"))));
    EXPECT_TRUE(NoteDiffers(note(QStringLiteral("01-01-2024"), QStringLiteral("a")),
                            note(QStringLiteral("02-01-2024"), QStringLiteral("a"))));
}

TEST(NoteSlotRules, NavigationWrapsBothWaysAndStoresFirst)
{
    NotesBook book;
    NoteSlots held;
    held[29] = note(QStringLiteral("01-01-2024"), QStringLiteral("trzydziesta"));
    book.begin(held);
    EXPECT_EQ(book.current(), 1);
    book.store(QStringLiteral("10-03-2024"), QStringLiteral("pierwsza"));
    book.previous();
    EXPECT_EQ(book.current(), 30);
    EXPECT_EQ(book.currentSlot().text, QStringLiteral("trzydziesta"));
    book.next();
    EXPECT_EQ(book.current(), 1);
    EXPECT_EQ(book.currentSlot().text, QStringLiteral("pierwsza"));
    book.next();
    EXPECT_EQ(book.current(), 2);
    book.clearCurrent();
    book.previous();
    book.previous();
    book.clearCurrent();
    EXPECT_EQ(book.current(), 30);
    EXPECT_TRUE(IsFreeNote(book.held()[29]));
    EXPECT_EQ(book.held()[0].text, QStringLiteral("pierwsza"));
}

// --- the table, shared by the copies of the program ---------------------------------------------

class NotesTest : public ::testing::Test
{
protected:
    NotesTest() { setDateSeparator(QLatin1Char('-')); }

    QString stored(int id)
    {
        return t.scalar(
            QStringLiteral("SELECT DESCRIPTION FROM GLOBALNOTES WHERE IDNOTE=%1").arg(id));
    }
    int rows() { return t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM GLOBALNOTES")); }

    // A second copy of the program on the same database.
    std::unique_ptr<TmyDataBase> secondCopy()
    {
        auto db = std::make_unique<TmyDataBase>(
            DatabasePaths{test::dataHome() + QStringLiteral("/Orvantis/Zefirant"),
                          test::programFolder(),
                          {t.folder() + QStringLiteral("/no-installer")}},
            otherDialogs);
        EXPECT_TRUE(db->Connect(t.path(), QString::fromLatin1(test::TestDatabase::kUser),
                                QString::fromLatin1(test::TestDatabase::kPassword)));
        return db;
    }

    // Saves a note into slot `n` (1 to 30) through the notes window of copy `notes`.
    static void write(Notes& notes, int n, const QString& date, const QString& text)
    {
        ScriptedNotesWindow w(
            [&](NoteSlots& s) { s[static_cast<size_t>(n - 1)] = note(date, text); });
        notes.Edit(w);
    }

    test::TestDatabase t;
    test::ScriptedDialogs otherDialogs;
    ProgramOptions options;
    Notes notes{t.db(), t.dialogs(), options};
};

TEST_F(NotesTest, ANewTableGivesEmptySlotsAndTheFirstSaveMakesAllThirtyRows)
{
    NoteSlots read;
    read[4] = note(QStringLiteral("x"), QStringLiteral("y"));
    ASSERT_TRUE(t.db().LoadNotes(read));
    for (const NoteSlot& s : read)
        EXPECT_EQ(s, NoteSlot{});
    write(notes, 3, QStringLiteral("10-03-2024"), QStringLiteral("Zadzwonić do ZUS"));
    EXPECT_EQ(rows(), 30);
    EXPECT_EQ(stored(3), QStringLiteral("Zadzwonić do ZUS"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT DATA FROM GLOBALNOTES WHERE IDNOTE=3")),
              QStringLiteral("10-03-2024"));
    ASSERT_TRUE(t.db().LoadNotes(read));
    EXPECT_EQ(read[2], note(QStringLiteral("10-03-2024"), QStringLiteral("Zadzwonić do ZUS")));
}

TEST_F(NotesTest, RowsFillSlotsByPositionAndKeepTheirReservedPart)
{
    t.exec(QStringLiteral("INSERT INTO GLOBALNOTES (IDNOTE,DATA,DESCRIPTION,RESERVED) "
                          "VALUES (7,'01-01-2024','siódma','R7')"));
    t.exec(QStringLiteral("INSERT INTO GLOBALNOTES (IDNOTE,DATA,DESCRIPTION,RESERVED) "
                          "VALUES (40,'','czterdziesta','')"));
    ASSERT_TRUE(notes.Load());
    EXPECT_EQ(notes.held()[0],
              note(QStringLiteral("01-01-2024"), QStringLiteral("siódma"), QStringLiteral("R7")));
    EXPECT_EQ(notes.held()[1].text, QStringLiteral("czterdziesta"));
    // The table is made whole with the stored notes where LoadNotes shows them.
    write(notes, 5, QStringLiteral("  -  -    "), QStringLiteral("piąta"));
    EXPECT_EQ(rows(), 30);
    EXPECT_EQ(stored(1), QStringLiteral("siódma"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT RESERVED FROM GLOBALNOTES WHERE IDNOTE=1")),
              QStringLiteral("R7"));
    EXPECT_EQ(stored(2), QStringLiteral("czterdziesta"));
    EXPECT_EQ(stored(5), QStringLiteral("piąta"));
    // From now on a change writes its own row only; the reserved part stays as stored.
    write(notes, 1, QStringLiteral("02-01-2024"), QStringLiteral("siódma, zmieniona"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT RESERVED FROM GLOBALNOTES WHERE IDNOTE=1")),
              QStringLiteral("R7"));
    EXPECT_EQ(stored(1), QStringLiteral("siódma, zmieniona"));
}

TEST_F(NotesTest, TwoCopiesEachChangingANoteKeepBoth)
{
    auto otherDb = secondCopy();
    Notes other(*otherDb, otherDialogs, options);
    // Both windows open on the same notes; the other copy saves first, this one afterwards.
    ScriptedNotesWindow mine([&](NoteSlots& s) {
        write(other, 5, QStringLiteral("05-05-2024"), QStringLiteral("notatka kolegi"));
        s[2] = note(QStringLiteral("03-03-2024"), QStringLiteral("moja notatka"));
    });
    notes.Edit(mine);
    EXPECT_EQ(mine.shown, 1);
    EXPECT_EQ(stored(3), QStringLiteral("moja notatka"));
    EXPECT_EQ(stored(5), QStringLiteral("notatka kolegi"));

    // And the other way round, once the rows are there.
    ScriptedNotesWindow again([&](NoteSlots& s) {
        write(other, 3, QStringLiteral("03-03-2024"), QStringLiteral("moja notatka, poprawiona"));
        s[4] = note({}, {});
        s[9] = note(QStringLiteral("10-10-2024"), QStringLiteral("dziesiąta"));
    });
    notes.Edit(again);
    EXPECT_EQ(stored(3), QStringLiteral("moja notatka, poprawiona"));
    EXPECT_EQ(stored(5), QString());
    EXPECT_EQ(stored(10), QStringLiteral("dziesiąta"));
    // The window shows what was stored since the last reading.
    ScriptedNotesWindow look(
        [&](NoteSlots& s) { EXPECT_EQ(s[2].text, QStringLiteral("moja notatka, poprawiona")); });
    notes.Edit(look);
    EXPECT_TRUE(t.dialogs().shown().empty());
    EXPECT_TRUE(otherDialogs.shown().empty());
}

TEST_F(NotesTest, AfterAFailedReadNothingIsSaved)
{
    write(notes, 1, QStringLiteral("01-01-2024"), QStringLiteral("pierwsza"));
    write(notes, 2, QStringLiteral("02-01-2024"), QStringLiteral("druga"));
    // Every read of the whole row now fails; writes of the note columns still work.
    t.exec(QStringLiteral("ALTER TABLE GLOBALNOTES ADD BROKEN COMPUTED BY (CAST('x' AS INTEGER))"));
    ScriptedNotesWindow w([](NoteSlots& s) {
        for (NoteSlot& slot : s)
            slot = note(QStringLiteral("09-09-2024"), QStringLiteral("nadpisana"));
    });
    notes.Edit(w);
    EXPECT_EQ(w.shown, 0);
    ASSERT_EQ(t.dialogs().shown().size(), 1u);
    EXPECT_TRUE(t.dialogs().shown()[0].text.startsWith(
        QStringLiteral("Wystąpił nieoczekiwany błąd. Orginalny komunikat: ")));
    // A reminder's delete reads first too.
    options.pytajPrzedKasowaniem = false;
    notes.DeleteReminded(0, note(QStringLiteral("01-01-2024"), QStringLiteral("pierwsza")));
    EXPECT_EQ(stored(1), QStringLiteral("pierwsza"));
    EXPECT_EQ(stored(2), QStringLiteral("druga"));
    EXPECT_EQ(stored(3), QString());
    // The slots held in memory stay as they were.
    EXPECT_EQ(notes.held()[1].text, QStringLiteral("druga"));
}

TEST_F(NotesTest, AFailedSaveLeavesTheTableAsItWas)
{
    write(notes, 1, QStringLiteral("01-01-2024"), QStringLiteral("pierwsza"));
    t.exec(QStringLiteral(
        "ALTER TABLE GLOBALNOTES ADD CONSTRAINT NO_BAD CHECK (DESCRIPTION <> 'zła')"));
    ScriptedNotesWindow w([](NoteSlots& s) {
        s[0] = note(QStringLiteral("05-01-2024"), QStringLiteral("pierwsza, zmieniona"));
        s[1] = note(QStringLiteral("05-01-2024"), QStringLiteral("zła"));
    });
    notes.Edit(w);
    EXPECT_EQ(stored(1), QStringLiteral("pierwsza"));
    EXPECT_EQ(stored(2), QString());
    // The window came back with what was typed and was closed unchanged: tried once more.
    EXPECT_EQ(w.shown, 2);
    ASSERT_EQ(t.dialogs().shown().size(), 2u);
    EXPECT_EQ(t.dialogs().shown()[0].caption, QStringLiteral("Błąd"));
    EXPECT_EQ(t.dialogs().shown()[1].caption, QStringLiteral("Błąd"));
}

TEST_F(NotesTest, AfterAFailedSaveTheWindowComesBackWithWhatWasTyped)
{
    write(notes, 1, QStringLiteral("01-01-2024"), QStringLiteral("pierwsza"));
    t.exec(QStringLiteral(
        "ALTER TABLE GLOBALNOTES ADD CONSTRAINT NO_BAD CHECK (DESCRIPTION <> 'zła')"));
    int showing = 0;
    ScriptedNotesWindow w([&](NoteSlots& s) {
        if (++showing == 1) {
            s[4] = note(QStringLiteral("05-01-2024"), QStringLiteral("zła"));
            s[6] = note(QStringLiteral("07-01-2024"), QStringLiteral("siódma"));
        } else {
            s[4].text = QStringLiteral("piąta, poprawiona"); // what the message was about
        }
    });
    notes.Edit(w);
    ASSERT_EQ(w.shown, 2);
    // Opened again on the first changed note, with both typed notes, not the stored ones.
    EXPECT_EQ(w.firstSlots, (std::vector<int>{1, 5}));
    EXPECT_EQ(w.texts[1][4], note(QStringLiteral("05-01-2024"), QStringLiteral("zła")));
    EXPECT_EQ(w.texts[1][6], note(QStringLiteral("07-01-2024"), QStringLiteral("siódma")));
    EXPECT_EQ(w.texts[1][0].text, QStringLiteral("pierwsza"));
    EXPECT_EQ(t.dialogs().shown().size(), 1u);
    EXPECT_EQ(stored(5), QStringLiteral("piąta, poprawiona"));
    EXPECT_EQ(stored(7), QStringLiteral("siódma"));
    EXPECT_EQ(stored(1), QStringLiteral("pierwsza"));
    EXPECT_TRUE(notes.unsaved().none());
}

TEST_F(NotesTest, NotesAFailedSaveCouldNotStoreAreShownAtTheNextOpening)
{
    write(notes, 1, QStringLiteral("01-01-2024"), QStringLiteral("pierwsza"));
    t.exec(QStringLiteral(
        "ALTER TABLE GLOBALNOTES ADD CONSTRAINT NO_BAD CHECK (DESCRIPTION <> 'zła')"));
    // Closed twice without a change: the user leaves the window, the note is not dropped.
    ScriptedNotesWindow w(
        [](NoteSlots& s) { s[2] = note(QStringLiteral("03-01-2024"), QStringLiteral("zła")); });
    notes.Edit(w);
    EXPECT_EQ(w.shown, 2);
    EXPECT_EQ(t.dialogs().shown().size(), 2u);
    EXPECT_EQ(stored(3), QString());
    EXPECT_TRUE(notes.unsaved().test(2));
    EXPECT_EQ(notes.held()[2].text, QStringLiteral("zła"));

    // Meanwhile the cause is gone and another copy stores a note of its own.
    t.exec(QStringLiteral("ALTER TABLE GLOBALNOTES DROP CONSTRAINT NO_BAD"));
    auto otherDb = secondCopy();
    Notes other(*otherDb, otherDialogs, options);
    write(other, 4, QStringLiteral("04-01-2024"), QStringLiteral("czwarta kolegi"));
    // A reading at start-up keeps it too.
    ASSERT_TRUE(notes.Load());
    EXPECT_EQ(notes.held()[2].text, QStringLiteral("zła"));
    EXPECT_EQ(notes.held()[3].text, QStringLiteral("czwarta kolegi"));

    ScriptedNotesWindow look;
    notes.Edit(look);
    ASSERT_EQ(look.shown, 1);
    EXPECT_EQ(look.texts[0][2], note(QStringLiteral("03-01-2024"), QStringLiteral("zła")));
    EXPECT_EQ(look.texts[0][3].text, QStringLiteral("czwarta kolegi"));
    EXPECT_EQ(stored(3), QStringLiteral("zła"));
    EXPECT_EQ(stored(4), QStringLiteral("czwarta kolegi"));
    EXPECT_EQ(stored(1), QStringLiteral("pierwsza"));
    EXPECT_TRUE(notes.unsaved().none());
    EXPECT_EQ(t.dialogs().shown().size(), 2u);
}

// --- RemindNotes ---------------------------------------------------------------------------------

TEST_F(NotesTest, DueNotesAreRemindedInSlotOrder)
{
    test::FixedClock clock(QDateTime(QDate(2024, 3, 10), QTime(8, 0)));
    ScriptedNotesWindow w([](NoteSlots& s) {
        s[0] = note(QStringLiteral("18-03-2024"), QStringLiteral("za osiem dni"));
        s[1] = note(QStringLiteral("17-03-2024"), QStringLiteral("za siedem dni"));
        s[2] = note(QStringLiteral("10-03-2024"), QStringLiteral("dziś"));
        s[3] = note(QStringLiteral("06-03-2024"), QStringLiteral("cztery dni temu"));
        s[4] = note(QStringLiteral("07-03-2024"), QStringLiteral("trzy dni temu"));
        s[5] = note(QStringLiteral("01-01-2000"), QStringLiteral("dawno"));
        s[6] = note(QStringLiteral("  -  -    "), QStringLiteral("bez daty"));
        s[29] = note(QStringLiteral("11-03-2024"), QStringLiteral("ostatnia"));
    });
    notes.Edit(w);
    const int today = DateToDateNumber(clock.today());

    ScriptedNoteReminder r;
    ReminderWindow due = reminderWindow(today, 7, 0);
    notes.Remind(due.lower, due.upper, r);
    EXPECT_EQ(r.shown,
              (QStringList{QStringLiteral("za siedem dni"), QStringLiteral("dziś"),
                           QStringLiteral("cztery dni temu"), QStringLiteral("trzy dni temu"),
                           QStringLiteral("dawno"), QStringLiteral("ostatnia")}));
    // Each reminder carries its note's own date, not today's.
    EXPECT_EQ(r.dates,
              (QStringList{QStringLiteral("17-03-2024"), QStringLiteral("10-03-2024"),
                           QStringLiteral("06-03-2024"), QStringLiteral("07-03-2024"),
                           QStringLiteral("01-01-2000"), QStringLiteral("11-03-2024")}));
    ScriptedNoteReminder back;
    due = reminderWindow(today, 7, 3);
    notes.Remind(due.lower, due.upper, back);
    EXPECT_EQ(back.shown,
              (QStringList{QStringLiteral("za siedem dni"), QStringLiteral("dziś"),
                           QStringLiteral("trzy dni temu"), QStringLiteral("ostatnia")}));
}

TEST_F(NotesTest, TheReminderDeleteClearsOnlyTheNoteItShowed)
{
    write(notes, 1, QStringLiteral("01-01-2024"), QStringLiteral("pierwsza"));
    write(notes, 2, QStringLiteral("01-01-2024"), QStringLiteral("druga"));
    write(notes, 3, QStringLiteral("01-01-2024"), QStringLiteral("trzecia"));
    ASSERT_TRUE(notes.Load());
    // Meanwhile another copy puts a new note into slot 3.
    auto otherDb = secondCopy();
    Notes other(*otherDb, otherDialogs, options);
    write(other, 3, QStringLiteral("01-01-2024"), QStringLiteral("trzecia kolegi"));

    ScriptedNoteReminder r;
    r.deleteTexts = {QStringLiteral("pierwsza"), QStringLiteral("druga")};
    t.dialogs().answer(false);
    t.dialogs().answer(true);
    notes.Remind(0, 20241231, r);
    // The delete read the slots afresh, so the next reminder shows the colleague's note.
    EXPECT_EQ(r.shown, (QStringList{QStringLiteral("pierwsza"), QStringLiteral("druga"),
                                    QStringLiteral("trzecia kolegi")}));
    EXPECT_EQ(stored(1), QStringLiteral("pierwsza"));
    EXPECT_EQ(stored(2), QString());
    // A reminder of the old third note deletes nothing: the slot holds another note now.
    t.dialogs().answer(true);
    notes.DeleteReminded(2, note(QStringLiteral("01-01-2024"), QStringLiteral("trzecia")));
    EXPECT_EQ(stored(3), QStringLiteral("trzecia kolegi"));
    EXPECT_EQ(t.dialogs().questionTexts(), (QStringList{QStringLiteral("Czy usunąć notatkę?"),
                                                        QStringLiteral("Czy usunąć notatkę?"),
                                                        QStringLiteral("Czy usunąć notatkę?")}));
    EXPECT_TRUE(t.dialogs().allAnswersUsed());
}

} // namespace
} // namespace zf

// The deadline scheduler against a real embedded database, with a scripted editor and a fixed
// today: the editor's date rule, the reminder window's bounds and text, and the writes.
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "scheduler/deadlines.h"
#include "scheduler/reminders.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/test_database.h"
#include "util/dates.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace zf {
namespace {

const QString kHyphens = QString(51, QLatin1Char('-'));

// The editor as a clerk uses it: each showing runs the next step, which may change what the
// editor holds and answers whether "&Zapisz" closed it.
class ScriptedEditor final : public DeadlineEditor
{
public:
    using Step = std::function<bool(DeadlineData&)>;

    void then(Step step) { m_steps.push_back(std::move(step)); }

    void setData(const DeadlineData& data) override { m_held = data; }
    DeadlineData data() const override { return m_held; }
    bool showModal() override
    {
        shownWith.push_back(m_held);
        editableAtShow.push_back(m_editable);
        if (m_steps.empty()) {
            ADD_FAILURE() << "The editor was shown once more than scripted";
            return false;
        }
        const Step step = m_steps.front();
        m_steps.pop_front();
        return step(m_held);
    }
    void setEditable(bool editable) override { m_editable = editable; }
    void focusDate() override { ++dateFocused; }

    bool editable() const { return m_editable; }

    std::vector<DeadlineData> shownWith;
    std::vector<bool> editableAtShow;
    int dateFocused = 0;

private:
    std::deque<Step> m_steps;
    DeadlineData m_held;
    bool m_editable = true;
};

class RecordedReminder final : public DeadlineReminder
{
public:
    void showReminder(const QStringList& lines) override { shown.push_back(lines); }
    std::vector<QStringList> shown;
};

QDateTime day(int y, int m, int d)
{
    return QDateTime(QDate(y, m, d), QTime(9, 0));
}

class DeadlinesTest : public ::testing::Test
{
protected:
    DeadlinesTest() { setDateSeparator(QLatin1Char('-')); }

    TmyDataBase& db() { return t.db(); }

    void addDeadline(int id, int date, const QString& description, bool active = true, int kind = 0,
                     const QString& employee = {})
    {
        ASSERT_TRUE(db().Write(
            TmyDataBase::DBFUScheduler.insertSql,
            {{QStringLiteral("IDTERM"), id},
             {QStringLiteral("IDDICCLASS"), kind},
             {QStringLiteral("DATESINCE"), date},
             {QStringLiteral("IDEMPLOYEE"), employee},
             {QStringLiteral("DESCRIPTION"), description},
             {QStringLiteral("OTHER"), QString()},
             {QStringLiteral("ACT"), active ? QStringLiteral("T") : QStringLiteral("N")}},
            1));
    }

    int kindKey(const QString& description)
    {
        return t.scalarInt(QStringLiteral("SELECT IDDICTIONARY FROM DICTIONARY WHERE "
                                          "IDTYPE='TERMT' AND DESCRIPTION='%1'")
                               .arg(description));
    }

    // The first line of every deadline the check lists.
    QStringList checked(bool report = false)
    {
        RecordedReminder reminder;
        deadlines.CheckTerms(report, reminder);
        QStringList dates;
        for (const QStringList& lines : reminder.shown)
            for (const QString& line : lines)
                if (line.startsWith(QStringLiteral("Termin na dzień: ")))
                    dates << line.mid(17);
        return dates;
    }

    test::TestDatabase t;
    ProgramOptions options;
    Deadlines deadlines{t.db(), t.dialogs(), options};
};

// --- the editor's date rule ------------------------------------------------------------------

TEST(DeadlineDate, OnlyDaysThatExistPass)
{
    setDateSeparator(QLatin1Char('-'));
    for (const char* good : {"29-02-2024", "31-12-2024", "01-01-1000", "31-01-2025"})
        EXPECT_TRUE(IsValidDeadlineDate(QString::fromLatin1(good))) << good;
    for (const char* bad : {"31-02-2024", "29-02-2023", "31-04-2024", "00-05-2024", "15-13-2024",
                            "01-01-0999", "  -  -    ", "1-1-2024", "aa-01-2024"})
        EXPECT_FALSE(IsValidDeadlineDate(QString::fromLatin1(bad))) << bad;
}

TEST(DeadlineDate, ARefusedDateIsShownAndItsFieldFocused)
{
    setDateSeparator(QLatin1Char('-'));
    test::ScriptedDialogs dialogs;
    ScriptedEditor editor;
    DeadlineData d = DeadlineData::empty();
    d.date = QStringLiteral("31-02-2024");
    EXPECT_FALSE(ConfirmDeadline(editor, d, dialogs));
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].caption, QStringLiteral("Uwaga"));
    EXPECT_EQ(dialogs.shown()[0].text,
              QStringLiteral("Niepoprawny format daty terminu. Popraw pole."));
    EXPECT_EQ(editor.dateFocused, 1);
    d.date = QStringLiteral("29-02-2024");
    EXPECT_TRUE(ConfirmDeadline(editor, d, dialogs));
    EXPECT_EQ(dialogs.shown().size(), 1u);
}

// --- the reminder text -------------------------------------------------------------------------

TEST(DeadlineReminderText, LinesOfEachDeadline)
{
    setDateSeparator(QLatin1Char('-'));
    const QStringList lines = DeadlineReminderLines(
        {{20240317, QStringLiteral("Badania okresowe"), QStringLiteral("Nowak Jan (001)"),
          QStringLiteral("  Skierować na badania\nw przychodni \n")},
         {20240310, {}, {}, QStringLiteral("Zamówić papier")},
         {20200101, {}, QStringLiteral("Kowalska Ewa (002)"), {}}});
    const QStringList expected = {
        QStringLiteral("Termin na dzień: 17-03-2024"),
        QStringLiteral("Rodzaj terminu: Badania okresowe"),
        QStringLiteral("Osoba: Nowak Jan (001)"), QStringLiteral("Skierować na badania"),
        QStringLiteral("w przychodni"), QString(), kHyphens,
        // Without kind and employee: four lines.
        QStringLiteral("Termin na dzień: 10-03-2024"), QStringLiteral("Zamówić papier"), QString(),
        kHyphens, QStringLiteral("Termin na dzień: 01-01-2020"),
        QStringLiteral("Osoba: Kowalska Ewa (002)"), QString(), QString(), kHyphens};
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(DeadlineReminderLines({}).isEmpty());
}

TEST(DeadlineReminderText, SavedAsWindows1250WithCrLf)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/SprawdzoneTerminy.txt");
    ASSERT_TRUE(SaveReminderLines(path, {QStringLiteral("Osoba: Żółć"), QString(), kHyphens}));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("Osoba: \xAF\xF3\xB3\xE6\r\n\r\n") + kHyphens.toLatin1() +
                               QByteArray("\r\n"));
    EXPECT_FALSE(SaveReminderLines(dir.path() + QStringLiteral("/brak/plik.txt"), {kHyphens}));
}

TEST(DeadlineReminderText, SavingAsksForTheFileAndTellsTheResult)
{
    QTemporaryDir dir;
    test::ScriptedDialogs dialogs;
    const QString path = dir.path() + QStringLiteral("/wynik.txt");
    dialogs.chooseFile(path);
    SaveReminderResult({QStringLiteral("Termin na dzień: 10-03-2024")}, dialogs);
    dialogs.chooseFile(dir.path() + QStringLiteral("/brak/wynik.txt"));
    SaveReminderResult({kHyphens}, dialogs);
    dialogs.chooseFile(QString()); // cancelled: nothing happens
    SaveReminderResult({kHyphens}, dialogs);
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(dialogs.informationTexts(),
              (QStringList{QStringLiteral("Dane zostały zapisane w pliku: ") + path,
                           QStringLiteral("Zapisywanie danych nie powiodło się")}));
    ASSERT_EQ(dialogs.shown().size(), 5u);
    EXPECT_EQ(dialogs.shown()[0].caption,
              QStringLiteral("Zapisz wynik sprawdzania terminów do pliku tekstowego"));
    EXPECT_TRUE(dialogs.allAnswersUsed());
}

// --- checkTerms: the window of due dates around an injected today -----------------------------

TEST_F(DeadlinesTest, DefaultsListFromSevenDaysAheadBackWithoutEndLatestFirst)
{
    test::FixedClock clock(day(2024, 3, 10));
    addDeadline(1, 20200101, QStringLiteral("dawny"));
    addDeadline(2, 20240317, QStringLiteral("za tydzień"));
    addDeadline(3, 20240318, QStringLiteral("za osiem dni"));
    addDeadline(4, 20240312, QStringLiteral("nieaktywny"), false);
    addDeadline(5, 20240310, QStringLiteral("dziś"));
    EXPECT_EQ(checked(), (QStringList{QStringLiteral("17-03-2024"), QStringLiteral("10-03-2024"),
                                      QStringLiteral("01-01-2020")}));
    options.dataWstecznaMin = 3;
    addDeadline(6, 20240307, QStringLiteral("trzy dni temu"));
    addDeadline(7, 20240306, QStringLiteral("cztery dni temu"));
    EXPECT_EQ(checked(), (QStringList{QStringLiteral("17-03-2024"), QStringLiteral("10-03-2024"),
                                      QStringLiteral("07-03-2024")}));
}

struct WindowCase
{
    const char* name;
    QDate today;
    int dataWsteczna;
    int dataWstecznaMin;
    std::vector<int> listed;
    std::vector<int> notListed;
};

class ReminderBounds : public DeadlinesTest, public ::testing::WithParamInterface<WindowCase>
{
};

TEST_P(ReminderBounds, ListsExactlyTheDatesInTheWindow)
{
    const WindowCase& c = GetParam();
    test::FixedClock clock(QDateTime(c.today, QTime(23, 59)));
    options.dataWsteczna = c.dataWsteczna;
    options.dataWstecznaMin = c.dataWstecznaMin;
    int id = 1;
    QStringList expected;
    for (int d : c.listed) {
        addDeadline(id++, d, QStringLiteral("tak"));
        expected << DateNumberToText(d);
    }
    for (int d : c.notListed)
        addDeadline(id++, d, QStringLiteral("nie"));
    EXPECT_EQ(checked(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bounds, ReminderBounds,
    ::testing::Values(
        WindowCase{"LeapFebruaryAhead", QDate(2024, 2, 26), 7, 0, {20240304, 20240229}, {20240305}},
        WindowCase{
            "CommonFebruaryAhead", QDate(2023, 2, 26), 7, 0, {20230305, 20230228}, {20230306}},
        WindowCase{"MonthEnd", QDate(2024, 1, 31), 7, 0, {20240207}, {20240208}},
        WindowCase{"YearEndAhead", QDate(2024, 12, 28), 7, 0, {20250104, 20241231}, {20250105}},
        WindowCase{"BackAcrossTheYear",
                   QDate(2025, 1, 2),
                   7,
                   3,
                   {20250109, 20241230},
                   {20241229, 20250110}},
        WindowCase{"BackAcrossLeapDay",
                   QDate(2024, 3, 2),
                   0,
                   2,
                   {20240302, 20240229},
                   {20240228, 20240303}},
        WindowCase{
            "BackAcrossCommonFebruary", QDate(2023, 3, 2), 0, 2, {20230228}, {20230227, 20230303}}),
    [](const ::testing::TestParamInfo<WindowCase>& info) { return info.param.name; });

TEST_F(DeadlinesTest, NothingDueIsToldOnlyWhenAskedFor)
{
    test::FixedClock clock(day(2024, 3, 10));
    addDeadline(1, 20240401, QStringLiteral("później"));
    RecordedReminder reminder;
    deadlines.CheckTerms(false, reminder);
    EXPECT_TRUE(t.dialogs().shown().empty());
    deadlines.CheckTerms(true, reminder);
    EXPECT_TRUE(reminder.shown.empty());
    EXPECT_EQ(t.dialogs().informationTexts(),
              QStringList{QStringLiteral("Nie znaleziono żadnych terminów.")});
}

TEST_F(DeadlinesTest, TheReminderNamesTheKindAndThePerson)
{
    test::FixedClock clock(day(2024, 3, 10));
    ASSERT_TRUE(db().Write(TmyDataBase::DBFUEmployees.insertSql,
                           {{QStringLiteral("IDEMPLOYEE"), QStringLiteral("007")},
                            {QStringLiteral("SURNAME"), QStringLiteral("Żak")},
                            {QStringLiteral("NAME"), QStringLiteral("Łucja")},
                            {QStringLiteral("IDDICUNIT"), -1},
                            {QStringLiteral("EMAIL"), QString()},
                            {QStringLiteral("FILENAME"), QStringLiteral("zak")},
                            {QStringLiteral("PWD"), QString()},
                            {QStringLiteral("ACT"), QStringLiteral("T")}},
                           1));
    addDeadline(1, 20240311, QStringLiteral("Badanie"), true,
                kindKey(QStringLiteral("Badania okresowe")), QStringLiteral("007"));
    RecordedReminder reminder;
    deadlines.CheckTerms(false, reminder);
    ASSERT_EQ(reminder.shown.size(), 1u);
    EXPECT_EQ(reminder.shown[0], (QStringList{QStringLiteral("Termin na dzień: 11-03-2024"),
                                              QStringLiteral("Rodzaj terminu: Badania okresowe"),
                                              QStringLiteral("Osoba: Żak Łucja (007)"),
                                              QStringLiteral("Badanie"), QString(), kHyphens}));
}

// --- adding, copying, editing, viewing, deleting ---------------------------------------------

TEST_F(DeadlinesTest, AddStartsEmptyStoresTheEditorAndMakesTheNewRowCurrent)
{
    db().OpenScheduler();
    ScriptedEditor editor;
    const int kind = kindKey(QStringLiteral("Badania okresowe"));
    editor.then([kind](DeadlineData& d) {
        d.kind = kind;
        d.date = QStringLiteral("15-04-2024");
        d.description = QStringLiteral("\n  Badania Nowaka\ndo 15-tego  \r\n");
        d.other = QStringLiteral(" pokój 12 ");
        d.active = false;
        return true;
    });
    deadlines.Add(editor, false);
    ASSERT_EQ(editor.shownWith.size(), 1u);
    EXPECT_EQ(editor.shownWith[0], DeadlineData::empty());
    EXPECT_EQ(editor.shownWith[0].date, QStringLiteral("  -  -    "));
    EXPECT_TRUE(editor.shownWith[0].active);
    ASSERT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM SCHEDULER")), 1);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT DATESINCE FROM SCHEDULER")), 20240415);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT IDDICCLASS FROM SCHEDULER")), kind);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT DESCRIPTION FROM SCHEDULER")),
              QStringLiteral("Badania Nowaka\ndo 15-tego"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT OTHER FROM SCHEDULER")),
              QStringLiteral(" pokój 12 "));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT ACT FROM SCHEDULER")), QStringLiteral("N"));
    EXPECT_EQ(db().DBFScheduler.asInteger(QStringLiteral("IDTERM")),
              t.scalarInt(QStringLiteral("SELECT IDTERM FROM SCHEDULER")));

    // Cancelled: nothing is written.
    editor.then([](DeadlineData&) { return false; });
    deadlines.Add(editor, false);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM SCHEDULER")), 1);
}

TEST_F(DeadlinesTest, CopyStartsFromTheCurrentRowAndAddsANewOne)
{
    addDeadline(40, 20240501, QStringLiteral("Przegląd"), true,
                kindKey(QStringLiteral("Badania okresowe")));
    db().OpenScheduler();
    ScriptedEditor editor;
    editor.then([](DeadlineData& d) {
        d.date = QStringLiteral("01-06-2024");
        return true;
    });
    deadlines.Add(editor, true);
    ASSERT_EQ(editor.shownWith.size(), 1u);
    EXPECT_EQ(editor.shownWith[0].date, QStringLiteral("01-05-2024"));
    EXPECT_EQ(editor.shownWith[0].description, QStringLiteral("Przegląd"));
    EXPECT_EQ(editor.shownWith[0].kind, kindKey(QStringLiteral("Badania okresowe")));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM SCHEDULER")), 2);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT DATESINCE FROM SCHEDULER WHERE IDTERM=40")),
              20240501);
    const int copy = db().DBFScheduler.asInteger(QStringLiteral("IDTERM"));
    EXPECT_NE(copy, 40);
    EXPECT_EQ(db().DBFScheduler.asInteger(QStringLiteral("DATESINCE")), 20240601);
}

TEST_F(DeadlinesTest, EditWritesTheCurrentRowAndViewWritesNothing)
{
    addDeadline(1, 20240501, QStringLiteral("pierwszy"));
    addDeadline(2, 20240502, QStringLiteral("drugi"));
    db().OpenScheduler();
    db().DBFScheduler.last();
    ScriptedEditor editor;
    editor.then([](DeadlineData& d) {
        d.description = QStringLiteral("drugi, poprawiony");
        d.active = false;
        return true;
    });
    deadlines.Edit(editor);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT DESCRIPTION FROM SCHEDULER WHERE IDTERM=2")),
              QStringLiteral("drugi, poprawiony"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT ACT FROM SCHEDULER WHERE IDTERM=2")),
              QStringLiteral("N"));
    EXPECT_EQ(db().DBFScheduler.asInteger(QStringLiteral("IDTERM")), 2);

    editor.then([](DeadlineData& d) {
        d.description = QStringLiteral("tylko podgląd");
        return true;
    });
    deadlines.View(editor);
    EXPECT_EQ(editor.editableAtShow, (std::vector<bool>{true, false}));
    EXPECT_TRUE(editor.editable());
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT DESCRIPTION FROM SCHEDULER WHERE IDTERM=2")),
              QStringLiteral("drugi, poprawiony"));
}

TEST_F(DeadlinesTest, DeleteAsksWhenTheOptionsSaySo)
{
    addDeadline(1, 20240501, QStringLiteral("pierwszy"));
    addDeadline(2, 20240502, QStringLiteral("drugi"));
    db().OpenScheduler();
    t.dialogs().answer(false);
    deadlines.Delete();
    EXPECT_EQ(t.dialogs().questionTexts(),
              QStringList{QStringLiteral("Czy na pewno usunąć zaznaczoną pozycję?")});
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM SCHEDULER")), 2);
    t.dialogs().answer(true);
    deadlines.Delete();
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM SCHEDULER WHERE IDTERM=1")), 0);
    options.pytajPrzedKasowaniem = false;
    deadlines.Delete();
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM SCHEDULER")), 0);
    EXPECT_EQ(t.dialogs().questionTexts().size(), 2);
    deadlines.Delete(); // an empty list: nothing happens
    EXPECT_TRUE(t.dialogs().allAnswersUsed());
}

TEST_F(DeadlinesTest, ThePageSortsByTheClickedTitle)
{
    addDeadline(1, 20240501, QStringLiteral("B"));
    addDeadline(2, 20240601, QStringLiteral("A"));
    addDeadline(3, 20240401, QStringLiteral("C"));
    db().ResetListState();
    db().OpenScheduler();
    const auto keys = [this] {
        std::vector<int> k;
        for (db().DBFScheduler.first(); !db().DBFScheduler.eof(); db().DBFScheduler.next())
            k.push_back(db().DBFScheduler.asInteger(QStringLiteral("IDTERM")));
        return k;
    };
    EXPECT_EQ(keys(), (std::vector<int>{3, 1, 2}));
    db().SortSchedulerBy(QStringLiteral("SDESCRIPTION"));
    EXPECT_EQ(keys(), (std::vector<int>{2, 1, 3}));
    db().SortSchedulerBy(QStringLiteral("SDESCRIPTION"));
    EXPECT_EQ(keys(), (std::vector<int>{3, 1, 2}));
    db().SortSchedulerBy(QStringLiteral("DATESINCE")); // keeps the direction: descending
    EXPECT_EQ(keys(), (std::vector<int>{2, 1, 3}));
}

TEST(Reminders, TheWindowRunsFromLowerExcludedToUpperIncluded)
{
    // Today 10-03-2024, seven days ahead, without end backwards.
    ReminderWindow w = reminderWindow(20240310, 7, 0);
    EXPECT_EQ(w.upper, 20240317);
    EXPECT_EQ(w.lower, 0);
    EXPECT_TRUE(w.isDue(20240317));
    EXPECT_FALSE(w.isDue(20240318));
    EXPECT_TRUE(w.isDue(20000101));
    EXPECT_FALSE(w.isDue(0)) << "no date is never due";
    // Two days back at most.
    w = reminderWindow(20240310, 7, 2);
    EXPECT_TRUE(w.isDue(20240308));
    EXPECT_FALSE(w.isDue(20240307));
    // Across a year's end.
    w = reminderWindow(20241228, 7, 0);
    EXPECT_EQ(w.upper, 20250104);
}

} // namespace
} // namespace zf

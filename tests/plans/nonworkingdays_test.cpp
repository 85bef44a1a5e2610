// Non-working days: the statutory holidays, calendar files and storing a year's set.
#include "data/mydatabase.h"
#include "plans/nonworkingdays.h"
#include "tests/support/test_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace zf {
namespace {

// Easter Sundays from published tables, independent of the program's own computation.
const std::map<int, int> kEaster = {{1999, 404}, {2000, 423}, {2010, 404}, {2011, 424},
                                    {2012, 408}, {2019, 421}, {2024, 331}, {2025, 420},
                                    {2038, 425}, {2100, 328}, {2285, 322}, {2999, 324}};

int addDays(int dateNumber, int k)
{
    const QDate d(dateNumber / 10000, dateNumber / 100 % 100, dateNumber % 100);
    const QDate r = d.addDays(k);
    return r.year() * 10000 + r.month() * 100 + r.day();
}

TEST(StatutoryHolidays, MatchPolishLawForASpreadOfYears)
{
    for (const auto& [year, easterMonthDay] : kEaster) {
        const int easter = year * 10000 + easterMonthDay;
        std::set<int> expected;
        for (int md : {101, 501, 503, 815, 1101, 1111, 1225, 1226})
            expected.insert(year * 10000 + md);
        if (year >= 2011)
            expected.insert(year * 10000 + 106);
        if (year >= 2025)
            expected.insert(year * 10000 + 1224);
        for (int k : {0, 1, 49, 60})
            expected.insert(addDays(easter, k));
        const QList<int> got = StatutoryHolidays(year);
        EXPECT_EQ(std::set<int>(got.begin(), got.end()), expected) << year;
        EXPECT_EQ(static_cast<size_t>(got.size()), expected.size()) << year;
    }
}

TEST(StatutoryHolidays, MarkOnlyAddsToWhatIsMarked)
{
    YearDays days = MakeYearDays(true);
    days[6][14].selected = true; // 15 July stays
    MarkStatutoryHolidays(2024, days);
    EXPECT_TRUE(days[6][14].selected);
    EXPECT_TRUE(days[3][0].selected);  // Easter Monday on 1 April 2024
    EXPECT_TRUE(days[2][30].selected); // Easter Sunday on 31 March
    EXPECT_TRUE(days[4][29].selected); // Corpus Christi 30 May
    EXPECT_FALSE(days[11][23].selected);
    int marked = 0;
    for (const auto& m : days)
        for (const auto& d : m)
            marked += d.selected;
    EXPECT_EQ(marked, 14);
}

TEST(CalendarFile, LineDates)
{
    EXPECT_EQ(CalendarLineDate("01-05-2012"), 20120501);
    EXPECT_EQ(CalendarLineDate("01.05.2012"), 20120501);
    EXPECT_EQ(CalendarLineDate("29/02/2024"), 20240229);
    for (const char* no :
         {"2012-05-01", "1-5-2012", "31-02-2012", "29-02-2023", "00-05-2012", "01-13-2012",
          "01-05-0999", "01-05-2012 ", "", "0a-05-2012", "-1-05-2012"})
        EXPECT_EQ(CalendarLineDate(no), 0) << no;
}

class CalendarFileTest : public ::testing::Test
{
protected:
    QString write(const QByteArray& bytes)
    {
        const QString path = dir.path() + QStringLiteral("/dni.txt");
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }
    std::set<int> read(const QByteArray& bytes, int year = 2012)
    {
        YearDays days = MakeYearDays(true);
        EXPECT_TRUE(ReadCalendarFile(write(bytes), year, days));
        std::set<int> marked;
        for (int m = 0; m < 12; ++m)
            for (int d = 0; d < 31; ++d)
                if (days[m][d].selected)
                    marked.insert(year * 10000 + (m + 1) * 100 + d + 1);
        return marked;
    }
    QTemporaryDir dir;
};

TEST_F(CalendarFileTest, LineEndsEncodingsAndOtherYears)
{
    const std::set<int> expected{20120101, 20120103, 20121225};
    EXPECT_EQ(read("01-01-2012\n03-01-2012\n25-12-2012\n"), expected);
    EXPECT_EQ(read("01-01-2012\r\n03-01-2012\r\n25-12-2012"), expected);
    EXPECT_EQ(read("01-01-2012\r03-01-2012\r25-12-2012\r"), expected);
    EXPECT_EQ(read("\xEF\xBB\xBF"
                   "01-01-2012\r\n03-01-2012\n\n25-12-2012\n"),
              expected);
    EXPECT_EQ(read("01-01-2013\n03-01-2012\nśmieci\n31-02-2012\n"), std::set<int>{20120103});
    EXPECT_TRUE(read("").empty());
}

TEST_F(CalendarFileTest, BinaryAndLongLinesAreSkipped)
{
    QByteArray bytes("03-01-2012");
    bytes.append(QByteArray(10'000'000, 'x')); // glued to the date: one long line
    bytes.append("\n");
    static constexpr char kBinary[] = "\x00\xff\x01\x02-01-2012\n\x00";
    bytes.append(QByteArray(kBinary, sizeof kBinary - 1)); // the literal's own 14 bytes
    bytes.append("\n04-01-2012\n");
    bytes.append(QByteArray(64, '1'));
    EXPECT_EQ(read(bytes), std::set<int>{20120104});
}

TEST_F(CalendarFileTest, AFileThatCannotBeReadLeavesTheTableAlone)
{
    YearDays days = MakeYearDays(true);
    days[0][0].selected = true;
    const YearDays before = days;
    EXPECT_FALSE(ReadCalendarFile(dir.path() + QStringLiteral("/brak.txt"), 2012, days));
    EXPECT_FALSE(ReadCalendarFile(dir.path(), 2012, days)); // a folder
    EXPECT_EQ(days, before);
}

class CalendarStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile::remove(t.db().errorLog().path());
        QDir().mkpath(QFileInfo(t.db().errorLog().path()).absolutePath());
        t.exec(QStringLiteral(
            "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2024, 1, '')"));
        t.exec(QStringLiteral(
            "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2025, 1, '')"));
        t.exec(QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2025, 20250101)"));
    }
    QString stored(int year)
    {
        return t.scalar(QStringLiteral("SELECT LIST(FREEDAY, ',') FROM (SELECT FREEDAY FROM "
                                       "CALENDAR WHERE IDYEAR=%1 ORDER BY FREEDAY)")
                            .arg(year));
    }
    test::TestDatabase t;
};

TEST_F(CalendarStoreTest, SavesRealDaysOnlyAndReadsThemBack)
{
    YearDays days = MakeYearDays(true);
    days[1][28].selected = true; // 29 February 2024
    days[1][29].selected = true; // 30 February: no such day
    days[1][30].selected = true;
    days[11][30].selected = true;
    days[0][0].selected = true;
    ASSERT_TRUE(SaveNonWorkingDays(t.db(), 2024, days));
    EXPECT_EQ(stored(2024), QStringLiteral("20240101,20240229,20241231"));
    EXPECT_EQ(stored(2025), QStringLiteral("20250101"));

    YearDays loaded;
    ASSERT_TRUE(LoadNonWorkingDays(t.db(), 2024, loaded));
    days[1][29].selected = days[1][30].selected = false;
    EXPECT_EQ(loaded, days);

    ASSERT_TRUE(SaveNonWorkingDays(t.db(), 2024, MakeYearDays(true)));
    EXPECT_EQ(stored(2024), QString());
    EXPECT_TRUE(QFile(t.db().errorLog().path()).size() <= 0);
}

TEST_F(CalendarStoreTest, AFailedSaveChangesNothing)
{
    t.exec(QStringLiteral("CREATE EXCEPTION E_REFUSED 'refused'"));
    t.exec(QStringLiteral("CREATE TRIGGER T_REFUSE FOR CALENDAR BEFORE INSERT AS BEGIN "
                          "IF (NEW.FREEDAY = 20250601) THEN EXCEPTION E_REFUSED; END"));
    YearDays days = MakeYearDays(true);
    days[4][0].selected = true;
    days[5][0].selected = true;
    EXPECT_FALSE(SaveNonWorkingDays(t.db(), 2025, days));
    EXPECT_EQ(stored(2025), QStringLiteral("20250101"));
    QFile log(t.db().errorLog().path());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("[0000041816]"));
}

} // namespace
} // namespace zf

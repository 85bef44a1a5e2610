#include "util/clock.h"
#include "util/dates.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

class FixedClock final : public zf::Clock
{
public:
    explicit FixedClock(QDate day) : m_now(day, QTime(10, 30)) {}
    QDateTime now() const override { return m_now; }

private:
    QDateTime m_now;
};

// Today is 5 March 2024 in every test; the separator is "-" unless a test changes it.
class Dates : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zf::setClock(&m_clock);
        zf::setDateSeparator(QLatin1Char('-'));
    }
    void TearDown() override
    {
        zf::setClock(nullptr);
        zf::setDateSeparator(QLatin1Char('-'));
    }

    static constexpr int kToday = 20240305;
    FixedClock m_clock{QDate(2024, 3, 5)};
};

template <typename T> class DatesTable : public ::testing::TestWithParam<T>
{
protected:
    void SetUp() override { zf::setDateSeparator(QLatin1Char('-')); }
};

// ---- Date number to text ----

struct NumberText
{
    int number;
    const char* text;
};

std::ostream& operator<<(std::ostream& os, const NumberText& v)
{
    return os << v.number << " -> \"" << v.text << '"';
}

class NumberToText : public DatesTable<NumberText>
{
};

TEST_P(NumberToText, GivesTheDateText)
{
    EXPECT_EQ(zf::DateNumberToText(GetParam().number), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Dates, NumberToText,
    ::testing::Values(NumberText{20240115, "15-01-2024"}, NumberText{10000101, "01-01-1000"},
                      NumberText{99991231, "31-12-9999"}, NumberText{20241109, "09-11-2024"},
                      // Not checked against the calendar: the digits are shown as they are.
                      NumberText{20240230, "30-02-2024"},
                      // Not exactly 8 digits: no date.
                      NumberText{0, ""}, NumberText{-1, ""}, NumberText{-20240115, ""},
                      NumberText{9991231, ""}, NumberText{100000101, ""}));

TEST_F(Dates, TextUsesTheProgramSeparator)
{
    zf::setDateSeparator(QLatin1Char('.'));
    EXPECT_EQ(zf::DateNumberToText(20240115), QStringLiteral("15.01.2024"));
    EXPECT_EQ(zf::emptyDateText(), QStringLiteral("  .  .    "));
    EXPECT_EQ(zf::dateTextFormat(), QStringLiteral("dd.MM.yyyy"));

    zf::setDateSeparator(QLatin1Char('/'));
    EXPECT_EQ(zf::dateSeparator(), QLatin1Char('/'));
    EXPECT_EQ(zf::emptyDateText(), QStringLiteral("  /  /    "));
    // The format string and DateNumberToText must agree, or typed and shown dates would differ.
    EXPECT_EQ(QDate(2024, 1, 5).toString(zf::dateTextFormat()), zf::DateNumberToText(20240105));
}

TEST_F(Dates, EmptyDateTextHasTheFieldWidth)
{
    EXPECT_EQ(zf::emptyDateText(), QStringLiteral("  -  -    "));
    EXPECT_EQ(zf::emptyDateText().size(), 10);
}

// ---- Separator from the system's short date format ----

struct FormatSeparator
{
    const char* format;
    char separator;
};

std::ostream& operator<<(std::ostream& os, const FormatSeparator& v)
{
    return os << '"' << v.format << "\" -> " << v.separator;
}

class SeparatorFromFormat : public ::testing::TestWithParam<FormatSeparator>
{
};

TEST_P(SeparatorFromFormat, PicksHyphenDotOrSlash)
{
    EXPECT_EQ(zf::dateSeparatorFromFormat(QString::fromUtf8(GetParam().format)),
              QLatin1Char(GetParam().separator));
}

INSTANTIATE_TEST_SUITE_P(
    Dates, SeparatorFromFormat,
    ::testing::Values(FormatSeparator{"d.MM.yyyy", '.'}, FormatSeparator{"M/d/yy", '/'},
                      FormatSeparator{"yyyy-MM-dd", '-'}, FormatSeparator{"yy. M. d.", '.'},
                      FormatSeparator{"d MMM yyyy", '-'}, FormatSeparator{"dd,MM,yyyy", '-'},
                      FormatSeparator{"", '-'},
                      // Quoted literal text is not a separator.
                      FormatSeparator{"d 'r./' MMMM", '-'},
                      FormatSeparator{"d 'de' MMMM/yyyy", '/'}));

// ---- Date text checks ----

struct TextValidity
{
    const char* text;
    bool valid;
};

std::ostream& operator<<(std::ostream& os, const TextValidity& v)
{
    return os << '"' << v.text << "\" -> " << v.valid;
}

class DateTextValidity : public DatesTable<TextValidity>
{
};

TEST_P(DateTextValidity, FollowsTheRules)
{
    EXPECT_EQ(zf::IsValidDateText(QString::fromUtf8(GetParam().text)), GetParam().valid)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Dates, DateTextValidity,
    ::testing::Values(TextValidity{"15-01-2024", true}, TextValidity{"01-12-1000", true},
                      TextValidity{"31-12-9999", true},
                      // Separators are not examined.
                      TextValidity{"15.01.2024", true}, TextValidity{"15x01y2024", true},
                      // The day is not checked against the month.
                      TextValidity{"31-02-2023", true}, TextValidity{"00-01-2024", false},
                      TextValidity{"32-01-2024", false}, TextValidity{"15-00-2024", false},
                      TextValidity{"15-13-2024", false}, TextValidity{"15-01-0999", false},
                      TextValidity{"  -  -    ", false}, TextValidity{"5-01-2024", false},
                      TextValidity{"15-01-20245", false}, TextValidity{"15-01-24", false},
                      TextValidity{"", false}, TextValidity{" 5-01-2024", false},
                      TextValidity{"+5-01-2024", false}, TextValidity{"-5-01-2024", false},
                      TextValidity{"1a-01-2024", false}, TextValidity{"15-01-２０２４", false}));

struct TextNumber
{
    const char* text;
    int number;
};

std::ostream& operator<<(std::ostream& os, const TextNumber& v)
{
    return os << '"' << v.text << "\" -> " << v.number;
}

class DateTextNumber : public DatesTable<TextNumber>
{
};

TEST_P(DateTextNumber, ReadsTheDigits)
{
    EXPECT_EQ(zf::DateTextToNumber(QString::fromUtf8(GetParam().text)), GetParam().number)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Dates, DateTextNumber,
    ::testing::Values(TextNumber{"15-01-2024", 20240115}, TextNumber{"15/01/2024", 20240115},
                      TextNumber{"31-12-9999", 99991231},
                      // Digits only; whether the day exists is the caller's question.
                      TextNumber{"30-02-2024", 20240230}, TextNumber{"15-01-0999", 9990115},
                      TextNumber{"00-00-0000", 0}, TextNumber{"  -  -    ", 0},
                      TextNumber{"15-01-24", 0}, TextNumber{"", 0}, TextNumber{"1a-01-2024", 0},
                      TextNumber{" 5-01-2024", 0}, TextNumber{"15-01-2024 ", 0}));

TEST_F(Dates, NumberOrTodayGivesTodayInsteadOfZero)
{
    EXPECT_EQ(zf::DateTextToNumberOrToday(QStringLiteral("15-01-2024")), 20240115);
    EXPECT_EQ(zf::DateTextToNumberOrToday(zf::emptyDateText()), kToday);
    EXPECT_EQ(zf::DateTextToNumberOrToday(QStringLiteral("1a-01-2024")), kToday);
    EXPECT_EQ(zf::DateTextToNumberOrToday(QString()), kToday);
}

TEST_F(Dates, TextToDateFallsBackToToday)
{
    EXPECT_EQ(zf::DateTextToDate(QStringLiteral("29-02-2024")), QDate(2024, 2, 29));
    EXPECT_EQ(zf::DateTextToDate(QStringLiteral("01.12.1999")), QDate(1999, 12, 1));
    const QDate today(2024, 3, 5);
    EXPECT_EQ(zf::DateTextToDate(QStringLiteral("29-02-2023")), today); // no such day
    EXPECT_EQ(zf::DateTextToDate(QStringLiteral("31-04-2024")), today);
    EXPECT_EQ(zf::DateTextToDate(QStringLiteral("32-01-2024")), today);
    EXPECT_EQ(zf::DateTextToDate(QStringLiteral("15-01-0999")), today);
    EXPECT_EQ(zf::DateTextToDate(zf::emptyDateText()), today);
}

TEST_F(Dates, TextAndNumberRoundTripOverYears)
{
    for (QDate d(1999, 1, 1); d <= QDate(2001, 12, 31); d = d.addDays(1)) {
        const int n = zf::DateToDateNumber(d);
        ASSERT_EQ(zf::DateTextToNumber(zf::DateNumberToText(n)), n);
        ASSERT_EQ(zf::DateTextToDate(zf::DateNumberToText(n)), d);
        ASSERT_EQ(zf::DateNumberToDate(n), d);
    }
}

// ---- Date numbers ----

TEST(DateNumbers, MakeAndSplit)
{
    EXPECT_EQ(zf::MakeDateNumber(15, 1, 2024), 20240115);
    EXPECT_EQ(zf::MakeDateNumber(31, 12, 2999), 29991231);
    EXPECT_EQ(zf::DayPart(20241109), 9);
    EXPECT_EQ(zf::MonthPart(20241109), 11);
    EXPECT_EQ(zf::YearPart(20241109), 2024);
}

class InvalidNumber : public ::testing::TestWithParam<int>
{
};

// Every helper answers a number that is not a real day without failing.
TEST_P(InvalidNumber, EveryHelperGivesItsNoDateAnswer)
{
    const int n = GetParam();
    EXPECT_FALSE(zf::IsValidDateNumber(n));
    EXPECT_FALSE(zf::DateNumberToDate(n).isValid());
    EXPECT_EQ(zf::DayPart(n), 1);
    EXPECT_EQ(zf::MonthPart(n), 1);
    EXPECT_EQ(zf::YearPart(n), 1);
    EXPECT_EQ(zf::AddDays(n, 1), 0);
    EXPECT_EQ(zf::AddDays(n, -1), 0);
    EXPECT_EQ(zf::AddDays(n, 0), 0);
    EXPECT_EQ(zf::DayOfWeekIso(n), 0);
    EXPECT_EQ(zf::DayOfYear(n), 0);
    EXPECT_EQ(zf::dayOfWeekAbbreviation(n), QString());
}

INSTANTIATE_TEST_SUITE_P(DateNumbers, InvalidNumber,
                         ::testing::Values(0, -1, -20240115, 20240230, 20230229, 20240431, 20241301,
                                           20240001, 20240100, 2024011, 9991231, 100000101,
                                           2147483647));

TEST(DateNumbers, QDateConversions)
{
    EXPECT_EQ(zf::DateToDateNumber(QDate(2024, 2, 29)), 20240229);
    EXPECT_EQ(zf::DateNumberToDate(20240229), QDate(2024, 2, 29));
    EXPECT_EQ(zf::DateToDateNumber(QDate(1000, 1, 1)), 10000101);
    EXPECT_EQ(zf::DateToDateNumber(QDate()), 0);
    EXPECT_EQ(zf::DateToDateNumber(QDate(999, 12, 31)), 0);
    EXPECT_EQ(zf::DateToDateNumber(QDate(10000, 1, 1)), 0);
}

struct Addition
{
    int from;
    int days;
    int result;
};

std::ostream& operator<<(std::ostream& os, const Addition& v)
{
    return os << v.from << " + " << v.days << " -> " << v.result;
}

class AddDaysTable : public ::testing::TestWithParam<Addition>
{
};

TEST_P(AddDaysTable, CrossesMonthsAndYears)
{
    EXPECT_EQ(zf::AddDays(GetParam().from, GetParam().days), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    DateNumbers, AddDaysTable,
    ::testing::Values(Addition{20240228, 1, 20240229}, Addition{20230228, 1, 20230301},
                      Addition{20240131, 1, 20240201}, Addition{20241231, 1, 20250101},
                      Addition{20240301, -1, 20240229}, Addition{20250101, -1, 20241231},
                      Addition{20240115, 0, 20240115}, Addition{20240101, 366, 20250101},
                      Addition{20230101, 365, 20240101}, Addition{20240331, 49, 20240519},
                      Addition{20240331, 60, 20240530}, Addition{20240530, -60, 20240331},
                      // Leaving the years a date number can hold gives no date.
                      Addition{99991231, 1, 0}, Addition{10000101, -1, 0}));

struct Weekday
{
    int number;
    int iso;
    const char* abbreviation;
};

std::ostream& operator<<(std::ostream& os, const Weekday& v)
{
    return os << v.number << " -> " << v.iso << ' ' << v.abbreviation;
}

class WeekdayTable : public ::testing::TestWithParam<Weekday>
{
};

TEST_P(WeekdayTable, IsoNumberAndPolishAbbreviation)
{
    EXPECT_EQ(zf::DayOfWeekIso(GetParam().number), GetParam().iso);
    EXPECT_EQ(zf::dayOfWeekAbbreviation(GetParam().number),
              QString::fromUtf8(GetParam().abbreviation));
}

INSTANTIATE_TEST_SUITE_P(DateNumbers, WeekdayTable,
                         ::testing::Values(Weekday{20240101, 1, "Pn"}, Weekday{20240102, 2, "Wt"},
                                           Weekday{20240103, 3, "Śr"}, Weekday{20240104, 4, "Cz"},
                                           Weekday{20240105, 5, "Pt"}, Weekday{20240106, 6, "Sb"},
                                           Weekday{20240107, 7, "Nd"}, Weekday{20000229, 2, "Wt"},
                                           Weekday{19990101, 5, "Pt"}, Weekday{29991231, 2, "Wt"}));

TEST(DateNumbers, NameTablesSundayAndJanuaryFirst)
{
    EXPECT_EQ(zf::dayOfWeekAbbreviations(),
              QStringList({QStringLiteral("Nd"), QStringLiteral("Pn"), QStringLiteral("Wt"),
                           QStringLiteral("Śr"), QStringLiteral("Cz"), QStringLiteral("Pt"),
                           QStringLiteral("Sb")}));
    EXPECT_EQ(zf::monthAbbreviations(),
              QStringList({QStringLiteral("Sty"), QStringLiteral("Lut"), QStringLiteral("Mar"),
                           QStringLiteral("Kwi"), QStringLiteral("Maj"), QStringLiteral("Cze"),
                           QStringLiteral("Lip"), QStringLiteral("Sie"), QStringLiteral("Wrz"),
                           QStringLiteral("Paź"), QStringLiteral("Lis"), QStringLiteral("Gru")}));
    EXPECT_EQ(zf::monthAbbreviation(1), QStringLiteral("Sty"));
    EXPECT_EQ(zf::monthAbbreviation(10), QStringLiteral("Paź"));
    EXPECT_EQ(zf::monthAbbreviation(12), QStringLiteral("Gru"));
    EXPECT_EQ(zf::monthAbbreviation(0), QString());
    EXPECT_EQ(zf::monthAbbreviation(13), QString());
}

TEST(DateNumbers, DayOfYear)
{
    EXPECT_EQ(zf::DayOfYear(20240101), 1);
    EXPECT_EQ(zf::DayOfYear(20240301), 61);
    EXPECT_EQ(zf::DayOfYear(20230301), 60);
    EXPECT_EQ(zf::DayOfYear(20241231), 366);
    EXPECT_EQ(zf::DayOfYear(20231231), 365);
}

struct YearDay
{
    int day;
    int year;
    int number;
};

std::ostream& operator<<(std::ostream& os, const YearDay& v)
{
    return os << "day " << v.day << " of " << v.year << " -> " << v.number;
}

class DateOfDayOfYearTable : public ::testing::TestWithParam<YearDay>
{
};

TEST_P(DateOfDayOfYearTable, CountsFromFirstJanuary)
{
    EXPECT_EQ(zf::DateOfDayOfYear(GetParam().day, GetParam().year), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(DateNumbers, DateOfDayOfYearTable,
                         ::testing::Values(YearDay{1, 2024, 20240101}, YearDay{32, 2024, 20240201},
                                           YearDay{60, 2024, 20240229}, YearDay{60, 2023, 20230301},
                                           YearDay{366, 2024, 20241231},
                                           YearDay{365, 2023, 20231231},
                                           YearDay{365, 2100, 21001231},
                                           // The year has no such day.
                                           YearDay{366, 2023, 0}, YearDay{366, 2100, 0},
                                           YearDay{0, 2024, 0}, YearDay{-1, 2024, 0},
                                           YearDay{1, 999, 0}, YearDay{1, 10000, 0}));

TEST(DateNumbers, DayOfYearAndBackAgreeOverTheYears)
{
    for (QDate d(1999, 1, 1); d <= QDate(2101, 1, 1); d = d.addDays(1)) {
        const int n = zf::DateToDateNumber(d);
        ASSERT_EQ(zf::DateOfDayOfYear(zf::DayOfYear(n), zf::YearPart(n)), n);
        ASSERT_EQ(zf::AddDays(n, 1), zf::DateToDateNumber(d.addDays(1)));
    }
}

// ---- Easter and the feasts that follow it ----

// Meeus/Jones/Butcher, written independently of the program's own formula.
int meeusEaster(int year)
{
    const int a = year % 19;
    const int b = year / 100;
    const int c = year % 100;
    const int d = b / 4;
    const int e = b % 4;
    const int f = (b + 8) / 25;
    const int g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4;
    const int k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    return year * 10000 + month * 100 + day;
}

TEST(Easter, AgreesWithMeeusForEveryPlanYear)
{
    for (int year = 1999; year <= 2999; ++year) {
        const int easter = zf::EasterSunday(year);
        ASSERT_EQ(easter, meeusEaster(year)) << year;
        ASSERT_EQ(zf::DayOfWeekIso(easter), 7) << year;
        ASSERT_GE(easter % 10000, 322) << year;
        ASSERT_LE(easter % 10000, 425) << year;

        const int pentecost = zf::PentecostSunday(year);
        ASSERT_EQ(zf::DateNumberToDate(pentecost), zf::DateNumberToDate(easter).addDays(49));
        ASSERT_EQ(zf::DayOfWeekIso(pentecost), 7) << year;
        const int corpusChristi = zf::CorpusChristi(year);
        ASSERT_EQ(zf::DateNumberToDate(corpusChristi), zf::DateNumberToDate(easter).addDays(60));
        ASSERT_EQ(zf::DayOfWeekIso(corpusChristi), 4) << year;
    }
}

struct KnownEaster
{
    int year;
    int easter;
};

std::ostream& operator<<(std::ostream& os, const KnownEaster& v)
{
    return os << v.year << " -> " << v.easter;
}

class KnownEasterDates : public ::testing::TestWithParam<KnownEaster>
{
};

TEST_P(KnownEasterDates, FromTheCalendar)
{
    EXPECT_EQ(zf::EasterSunday(GetParam().year), GetParam().easter);
}

// Includes the years where the formula's corrections for h = 28 and h = 29 apply (2000, 2011,
// 2019, 2049, 2076) and the earliest and latest possible dates (22 March, 25 April).
INSTANTIATE_TEST_SUITE_P(Easter, KnownEasterDates,
                         ::testing::Values(KnownEaster{1999, 19990404}, KnownEaster{2000, 20000423},
                                           KnownEaster{2008, 20080323}, KnownEaster{2011, 20110424},
                                           KnownEaster{2019, 20190421}, KnownEaster{2024, 20240331},
                                           KnownEaster{2025, 20250420}, KnownEaster{2038, 20380425},
                                           KnownEaster{2049, 20490418}, KnownEaster{2076, 20760419},
                                           KnownEaster{2285, 22850322},
                                           KnownEaster{2999, 29990324}));

TEST(Easter, MovableFeastsOf2024)
{
    EXPECT_EQ(zf::PentecostSunday(2024), 20240519);
    EXPECT_EQ(zf::CorpusChristi(2024), 20240530);
}

TEST(Easter, YearsWithoutADateNumberGiveNoDate)
{
    EXPECT_EQ(zf::EasterSunday(0), 0);
    EXPECT_EQ(zf::EasterSunday(-1), 0);
    EXPECT_EQ(zf::EasterSunday(-2024), 0);
    EXPECT_EQ(zf::EasterSunday(10000), 0);
    EXPECT_EQ(zf::PentecostSunday(0), 0);
    EXPECT_EQ(zf::CorpusChristi(10000), 0);
}

} // namespace

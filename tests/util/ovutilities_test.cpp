#include "util/ovutilities.h"

#include "tests/util/print.h"

#include "tests/support/test_env.h"
#include "util/clock.h"

#include <QDir>
#include <QLocale>

#include <gtest/gtest.h>

namespace zf {
namespace {

// ---- Split ----

struct SplitCase
{
    const char* text;
    QStringList pieces;
};

void PrintTo(const SplitCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class SplitTest : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitTest, GivesThePiecesBetweenSeparators)
{
    const SplitCase& c = GetParam();
    EXPECT_EQ(TOVUtilities::Split(QLatin1Char(','), QString::fromUtf8(c.text)), c.pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTest,
    ::testing::Values(
        SplitCase{"120,80,45", {QStringLiteral("120"), QStringLiteral("80"), QStringLiteral("45")}},
        SplitCase{"a,,b", {QStringLiteral("a"), QString(), QStringLiteral("b")}},
        SplitCase{"a,b,", {QStringLiteral("a"), QStringLiteral("b")}},
        SplitCase{"a,,", {QStringLiteral("a"), QString()}},
        SplitCase{",a", {QString(), QStringLiteral("a")}}, SplitCase{",", {QString()}},
        SplitCase{"", {}}, SplitCase{"ąę; ź", {QStringLiteral("ąę; ź")}}));

// ---- IsDateText and DateFromText ----

struct DateTextCase
{
    const char* text;
    bool isDate;
};

void PrintTo(const DateTextCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class IsDateTextTest : public ::testing::TestWithParam<DateTextCase>
{
};

TEST_P(IsDateTextTest, ChecksShapeAndRanges)
{
    EXPECT_EQ(TOVUtilities::IsDateText(QString::fromUtf8(GetParam().text)), GetParam().isDate);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsDateTextTest,
    ::testing::Values(DateTextCase{"15-06-2024", true}, DateTextCase{"01.01.1000", true},
                      DateTextCase{"31-12-9999", true},
                      DateTextCase{"31-02-2024", true}, // past the month's end
                      DateTextCase{"31-04-2023", true},
                      DateTextCase{"01x01y2000", true}, // separators are not checked
                      DateTextCase{"01-01-0999", false}, DateTextCase{"00-01-2000", false},
                      DateTextCase{"32-01-2000", false}, DateTextCase{"01-00-2000", false},
                      DateTextCase{"01-13-2000", false}, DateTextCase{"0a-01-2000", false},
                      DateTextCase{"01-1 -2000", false}, DateTextCase{"01-01-2O00", false},
                      DateTextCase{"  -  -    ", false},
                      DateTextCase{"٠١-٠١-٢٠٠٠", false}, // digits, but not ASCII ones
                      DateTextCase{"01-01-20000", false}, DateTextCase{"", false}));

TEST(IsDateText, RefusesEveryNineCharacterText)
{
    const QString valid = QStringLiteral("15-06-2024");
    ASSERT_TRUE(TOVUtilities::IsDateText(valid));
    for (int i = 0; i < valid.size(); ++i) {
        QString nine = valid;
        nine.remove(i, 1);
        EXPECT_FALSE(TOVUtilities::IsDateText(nine)) << nine.toStdString();
    }
    EXPECT_FALSE(TOVUtilities::IsDateText(QStringLiteral("1-06-2024")));
    EXPECT_FALSE(TOVUtilities::IsDateText(QStringLiteral("15-06-224")));
}

class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime now) : m_now(std::move(now)) {}
    QDateTime now() const override { return m_now; }

private:
    QDateTime m_now;
};

class DateFromTextTest : public ::testing::Test
{
protected:
    void SetUp() override { setClock(&fixed); }
    void TearDown() override { setClock(nullptr); }

    const QDateTime now{QDate(2023, 3, 7), QTime(14, 25, 31)};
    FixedClock fixed{now};
};

TEST_F(DateFromTextTest, GivesTheDateAtMidnight)
{
    EXPECT_EQ(TOVUtilities::DateFromText(QStringLiteral("29-02-2024")),
              QDateTime(QDate(2024, 2, 29), QTime(0, 0)));
    EXPECT_EQ(TOVUtilities::DateFromText(QStringLiteral("05/11/1999")),
              QDateTime(QDate(1999, 11, 5), QTime(0, 0)));
}

TEST_F(DateFromTextTest, GivesNowForNoDateOrNoRealDate)
{
    EXPECT_EQ(TOVUtilities::DateFromText(QStringLiteral("  -  -    ")), now);
    EXPECT_EQ(TOVUtilities::DateFromText(QStringLiteral("31-02-2024")), now);
    EXPECT_EQ(TOVUtilities::DateFromText(QStringLiteral("29-02-2023")), now);
    EXPECT_EQ(TOVUtilities::DateFromText(QString()), now);
}

// ---- Spaces and TrimmedLength ----

TEST(Spaces, GivesThatManyBlanks)
{
    EXPECT_EQ(TOVUtilities::Spaces(3), QStringLiteral("   "));
    EXPECT_EQ(TOVUtilities::Spaces(0), QString());
    EXPECT_EQ(TOVUtilities::Spaces(-2), QString());
}

struct TrimCase
{
    QString text;
    int length;
};

void PrintTo(const TrimCase& c, std::ostream* os)
{
    PrintTo(c.text, os);
}

class TrimmedLengthTest : public ::testing::TestWithParam<TrimCase>
{
};

TEST_P(TrimmedLengthTest, IgnoresBlanksAndControlsAtBothEnds)
{
    EXPECT_EQ(TOVUtilities::TrimmedLength(GetParam().text), GetParam().length);
}

INSTANTIATE_TEST_SUITE_P(Cases, TrimmedLengthTest,
                         ::testing::Values(TrimCase{QStringLiteral("abc"), 3},
                                           TrimCase{QStringLiteral(" \t ab c\r\n"), 4},
                                           TrimCase{QStringLiteral("\x01x\x1f"), 1},
                                           TrimCase{QStringLiteral("   "), 0},
                                           TrimCase{QString(), 0},
                                           // A non-breaking space is not a blank of 8-bit text.
                                           TrimCase{QStringLiteral(" \u00a0ż "), 2}));

// ---- Masks and date format ----

TEST(DateMasks, FollowTheSeparator)
{
    const TOVUtilities dots(QLatin1Char('.'));
    EXPECT_EQ(dots.DateEditMask(), QStringLiteral("  .  .    "));
    EXPECT_EQ(dots.TimeEditMask(), QStringLiteral("  :  "));
    EXPECT_EQ(QDate(2024, 6, 5).toString(dots.DateFormat()), QStringLiteral("05.06.2024"));

    const TOVUtilities dashes(QLatin1Char('-'));
    EXPECT_EQ(dashes.DateEditMask(), QStringLiteral("  -  -    "));
    const QString text = QDate(1999, 12, 31).toString(dashes.DateFormat());
    EXPECT_EQ(text, QStringLiteral("31-12-1999"));
    EXPECT_EQ(QDate::fromString(text, dashes.DateFormat()), QDate(1999, 12, 31));
    EXPECT_EQ(dashes.DateEditMask().size(), text.size());
}

TEST(DateMasks, SystemSeparatorComesFromTheShortDateFormat)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(TOVUtilities::SystemDateSeparator(), QLatin1Char('.'));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(TOVUtilities::SystemDateSeparator(), QLatin1Char('/'));
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    EXPECT_EQ(TOVUtilities::SystemDateSeparator(), QLatin1Char('-'));
    EXPECT_EQ(TOVUtilities().DateEditMask(), QStringLiteral("  -  -    "));
    QLocale::setDefault(saved);
}

// ---- UserDataFolder ----

class UserDataFolderTest : public ::testing::Test
{
protected:
    void SetUp() override { saved = qgetenv("XDG_DATA_HOME"); }
    void TearDown() override { qputenv("XDG_DATA_HOME", saved); }

    QByteArray saved;
};

TEST_F(UserDataFolderTest, IsTheDataHomeWithTheSubFolder)
{
    TOVUtilities u(QLatin1Char('-'));
    u.SetDataSubFolder(QStringLiteral("\\Orvantis\\Zefirant"));
    EXPECT_EQ(u.UserDataFolder(), test::dataHome() + QStringLiteral("/Orvantis/Zefirant"));

    TOVUtilities trailing(QLatin1Char('-'));
    trailing.SetDataSubFolder(QStringLiteral("\\Orvantis\\Zefirant\\"));
    EXPECT_EQ(trailing.UserDataFolder(), u.UserDataFolder());
}

TEST_F(UserDataFolderTest, IsLookedUpOnce)
{
    TOVUtilities u(QLatin1Char('-'));
    u.SetDataSubFolder(QStringLiteral("\\Orvantis\\Zefirant"));
    const QString first = u.UserDataFolder();

    const QString elsewhere = test::tempRoot() + QStringLiteral("/elsewhere");
    QDir().mkpath(elsewhere);
    qputenv("XDG_DATA_HOME", QFile::encodeName(elsewhere));

    EXPECT_EQ(u.UserDataFolder(), first);
    // A fresh lookup does see the new place, so the answer above came from the store.
    TOVUtilities fresh(QLatin1Char('-'));
    fresh.SetDataSubFolder(QStringLiteral("\\Orvantis\\Zefirant"));
    EXPECT_EQ(fresh.UserDataFolder(), elsewhere + QStringLiteral("/Orvantis/Zefirant"));
}

TEST_F(UserDataFolderTest, NewSubFolderIsLookedUpAgain)
{
    TOVUtilities u(QLatin1Char('-'));
    u.SetDataSubFolder(QStringLiteral("\\A"));
    EXPECT_EQ(u.UserDataFolder(), test::dataHome() + QStringLiteral("/A"));
    u.SetDataSubFolder(QStringLiteral("\\B\\C"));
    EXPECT_EQ(u.UserDataFolder(), test::dataHome() + QStringLiteral("/B/C"));
}

} // namespace
} // namespace zf

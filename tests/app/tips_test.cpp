#include "app/tips.h"

#include "tests/support/test_env.h"
#include "util/textcodec.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <ostream>

namespace zf {
namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

std::string show(const QStringList& list)
{
    return list.join(QStringLiteral(" | ")).toStdString();
}

// Numbers handed out in the given order; the test fails when more are asked for.
class ScriptedRandom
{
public:
    ScriptedRandom() = default;
    explicit ScriptedRandom(std::initializer_list<int> numbers) : m_numbers(numbers) {}

    Tips::RandomSource source()
    {
        return [this](int count) {
            m_counts.push_back(count);
            if (m_numbers.empty()) {
                ADD_FAILURE() << "no scripted number left";
                return 1;
            }
            const int n = m_numbers.front();
            m_numbers.pop_front();
            return n;
        };
    }
    int draws() const { return static_cast<int>(m_counts.size()); }
    const std::vector<int>& counts() const { return m_counts; }

private:
    std::deque<int> m_numbers;
    std::vector<int> m_counts;
};

// --- Reading the tip file ---------------------------------------------------------------------

struct TipFileCase
{
    const char* name;
    QByteArray bytes;
    QStringList tips;
};

void PrintTo(const TipFileCase& c, std::ostream* os)
{
    *os << c.name;
}

class TipFileReading : public ::testing::TestWithParam<TipFileCase>
{
};

TEST_P(TipFileReading, GivesTheTipsOfTheFile)
{
    const TipFileCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(kTipFileName);
    writeFile(path, c.bytes);
    const QStringList tips = readTipFile(path);
    EXPECT_EQ(tips, c.tips) << show(tips);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TipFileReading,
    ::testing::Values(
        TipFileCase{"windows1250_letters",
                    toCp1250(QStringLiteral("Zażółć gęślą jaźń\r\nŁÓDŹ, ŚWIĘTO, ŻÓŁW\r\n")),
                    {QStringLiteral("Zażółć gęślą jaźń"), QStringLiteral("ŁÓDŹ, ŚWIĘTO, ŻÓŁW")}},
        TipFileCase{"cp1250_bytes_not_utf8",
                    QByteArray::fromHex("b9e6eab3f1f39c9fbf0d0a"),
                    {QStringLiteral("ąćęłńóśźż")}},
        TipFileCase{"unix_line_ends",
                    QByteArray("pierwsza\ndruga\n"),
                    {QStringLiteral("pierwsza"), QStringLiteral("druga")}},
        TipFileCase{"no_final_line_end",
                    QByteArray("pierwsza\r\ndruga"),
                    {QStringLiteral("pierwsza"), QStringLiteral("druga")}},
        TipFileCase{"blank_lines_are_no_tips",
                    QByteArray("a\r\n\r\n   \r\nb\r\n\r\n"),
                    {QStringLiteral("a"), QStringLiteral("b")}},
        TipFileCase{"lone_carriage_returns",
                    QByteArray("pierwsza\rdruga\r\rtrzecia"),
                    {QStringLiteral("pierwsza"), QStringLiteral("druga"), QStringLiteral("trzecia")}},
        TipFileCase{"mixed_line_ends", QByteArray("a\r\nb\nc\rd\n\r"),
                    {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}},
        TipFileCase{"empty_file", QByteArray(), {}}),
    [](const ::testing::TestParamInfo<TipFileCase>& info) { return std::string(info.param.name); });

TEST(TipFile, OnlyTheFirst300TipsOfA350LineFileAreRead)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kTipFileName);
    QByteArray bytes;
    for (int i = 1; i <= 350; ++i)
        bytes += "Porada " + QByteArray::number(i) + "\r\n";
    writeFile(path, bytes);

    const QStringList tips = readTipFile(path);
    ASSERT_EQ(tips.size(), 300);
    EXPECT_EQ(tips.first(), QStringLiteral("Porada 1"));
    EXPECT_EQ(tips.last(), QStringLiteral("Porada 300"));

    Tips loaded;
    loaded.load(path);
    EXPECT_EQ(loaded.count(), 300);
}

TEST(TipFile, MissingOrUnreadableFileGivesNoTips)
{
    QTemporaryDir dir;
    EXPECT_TRUE(readTipFile(dir.filePath(QStringLiteral("brak.dat"))).isEmpty());
    // A folder in place of the file cannot be read as one.
    ASSERT_TRUE(QDir(dir.path()).mkdir(kTipFileName));
    EXPECT_TRUE(readTipFile(dir.filePath(kTipFileName)).isEmpty());
}

// --- Choosing the next tip --------------------------------------------------------------------

TEST(TipChoice, FewerThanTwoTipsGiveNothingAndDrawNothing)
{
    for (const QStringList& list : {QStringList(), QStringList{QStringLiteral("jedyna")}}) {
        ScriptedRandom random;
        Tips tips(list, random.source());
        EXPECT_FALSE(tips.next().has_value()) << list.size() << " tips";
        EXPECT_FALSE(tips.next().has_value()) << list.size() << " tips";
        EXPECT_EQ(random.draws(), 0);
        EXPECT_EQ(tips.lastShown(), 0);
    }
}

TEST(TipChoice, ADrawEqualToTheLastShownIsDrawnAgain)
{
    ScriptedRandom random({2, 2, 2, 1});
    Tips tips({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, random.source());

    EXPECT_EQ(tips.next(), QStringLiteral("b"));
    EXPECT_EQ(tips.lastShown(), 2);
    EXPECT_EQ(tips.next(), QStringLiteral("a"));
    EXPECT_EQ(tips.lastShown(), 1);
    EXPECT_EQ(random.draws(), 4);
    // Every draw is asked for a number from 1 to the count of tips.
    EXPECT_EQ(random.counts(), (std::vector<int>{3, 3, 3, 3}));
}

TEST(TipChoice, NumbersOutsideTheRangeAreDrawnAgain)
{
    ScriptedRandom random({0, 4, -1, 3});
    Tips tips({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, random.source());
    EXPECT_EQ(tips.next(), QStringLiteral("c"));
    EXPECT_EQ(random.draws(), 4);
}

TEST(TipChoice, TwoTipsAlternateStrictly)
{
    Tips tips({QStringLiteral("a"), QStringLiteral("b")});
    const QString first = tips.next().value();
    const QString second = first == QStringLiteral("a") ? QStringLiteral("b") : QStringLiteral("a");
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(tips.next(), second) << "step " << i;
        EXPECT_EQ(tips.next(), first) << "step " << i;
    }
}

TEST(TipChoice, NeverTheSameTipTwiceInARowAndEveryTipComesUp)
{
    QStringList list;
    for (int i = 1; i <= 7; ++i)
        list << QStringLiteral("porada %1").arg(i);
    Tips tips(list);
    QSet<QString> seen;
    QString previous;
    for (int i = 0; i < 2000; ++i) {
        const auto tip = tips.next();
        ASSERT_TRUE(tip.has_value());
        ASSERT_NE(*tip, previous) << "draw " << i;
        ASSERT_EQ(list.indexOf(*tip) + 1, tips.lastShown());
        seen.insert(*tip);
        previous = *tip;
    }
    EXPECT_EQ(seen.size(), list.size());
}

TEST(TipChoice, TheClockSeededSourceStaysWithinOneToCount)
{
    auto random = Tips::clockSeededSource();
    QSet<int> seen;
    for (int i = 0; i < 3000; ++i) {
        const int n = random(5);
        ASSERT_GE(n, 1);
        ASSERT_LE(n, 5);
        seen.insert(n);
    }
    EXPECT_EQ(seen.size(), 5);
}

TEST(TipChoice, LoadingForgetsTheLastShownTip)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kTipFileName);
    writeFile(path, "a\r\nb\r\n");
    ScriptedRandom random({2, 2});
    Tips tips(random.source());
    tips.load(path);
    EXPECT_EQ(tips.next(), QStringLiteral("b"));
    tips.load(path);
    EXPECT_EQ(tips.lastShown(), 0);
    // With the memory gone, the same number is a valid pick again.
    EXPECT_EQ(tips.next(), QStringLiteral("b"));
}

TEST(TipChoice, AListGivenDirectlyIsCappedToo)
{
    QStringList list;
    for (int i = 0; i < 320; ++i)
        list << QString::number(i);
    EXPECT_EQ(Tips(list).count(), Tips::kMaxTips);
}

// --- Putting the tip file in place ------------------------------------------------------------

class EnsureTipFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        programFolder = m_root.filePath(QStringLiteral("program"));
        dataFolder = m_root.filePath(QStringLiteral("dane/Orvantis/Zefirant"));
        ASSERT_TRUE(QDir().mkpath(programFolder + QStringLiteral("/data")));
    }

    void ship(const QByteArray& bytes) { writeFile(shippedTipFilePath(programFolder), bytes); }

    QTemporaryDir m_root;
    QString programFolder;
    QString dataFolder;
};

TEST_F(EnsureTipFile, CopiesTheShippedFileIntoANewDataFolder)
{
    ship("pierwsza\r\ndruga\r\n");
    ASSERT_FALSE(QDir(dataFolder).exists());

    EXPECT_TRUE(ensureTipFile(dataFolder, programFolder));
    EXPECT_EQ(tipFilePath(dataFolder), dataFolder + QStringLiteral("/porady.dat"));
    EXPECT_EQ(readFile(tipFilePath(dataFolder)), QByteArray("pierwsza\r\ndruga\r\n"));
}

TEST_F(EnsureTipFile, NeverOverwritesTheFileOfTheDataFolder)
{
    ship("nowa porada\r\n");
    ASSERT_TRUE(QDir().mkpath(dataFolder));
    writeFile(tipFilePath(dataFolder), "moja porada\r\n");

    EXPECT_TRUE(ensureTipFile(dataFolder, programFolder));
    EXPECT_EQ(readFile(tipFilePath(dataFolder)), QByteArray("moja porada\r\n"));
}

TEST_F(EnsureTipFile, WithoutAShippedFileNothingIsCreated)
{
    EXPECT_FALSE(ensureTipFile(dataFolder, programFolder));
    EXPECT_FALSE(QFile::exists(tipFilePath(dataFolder)));
}

// --- The tip file the build ships ---------------------------------------------------------------

TEST(ShippedTips, TheBuiltFileHoldsTheSourceTipsInWindows1250)
{
    QFile source(test::sourceFolder() + QStringLiteral("/app/porady.txt"));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << source.fileName().toStdString();
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    QStringList expected = QString::fromUtf8(source.readAll()).split(lineBreak);
    expected.removeAll(QString());

    const QString built = shippedTipFilePath(test::programFolder());
    const QByteArray bytes = readFile(built);
    ASSERT_FALSE(bytes.isEmpty()) << built.toStdString();
    // Polish letters arrive as single Windows-1250 bytes, not as UTF-8 pairs.
    EXPECT_GT(fromCp1250(bytes).toUtf8().size(), bytes.size());
    EXPECT_FALSE(bytes.contains("\xc5\x82")); // "ł" in UTF-8

    const QStringList tips = readTipFile(built);
    EXPECT_EQ(tips, expected);
    EXPECT_GE(tips.size(), 40);
    EXPECT_LE(tips.size(), Tips::kMaxTips);
    for (const QString& tip : tips)
        EXPECT_LE(tip.size(), 250) << "too long for the tip window: " << tip.toStdString();
}

} // namespace
} // namespace zf

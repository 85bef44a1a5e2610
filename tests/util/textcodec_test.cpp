#include "util/textcodec.h"

#include "tests/util/print.h"

#include <gtest/gtest.h>

namespace zf {
namespace {

struct Cp1250Case
{
    QString text;
    QByteArray bytes;
};

void PrintTo(const Cp1250Case& c, std::ostream* os)
{
    PrintTo(c.text, os);
}

class Cp1250Test : public ::testing::TestWithParam<Cp1250Case>
{
};

TEST_P(Cp1250Test, EncodesToTheCodePageAndBack)
{
    const Cp1250Case& c = GetParam();
    EXPECT_EQ(toCp1250(c.text), c.bytes);
    EXPECT_EQ(fromCp1250(c.bytes), c.text);
    EXPECT_TRUE(isCp1250Encodable(c.text));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Cp1250Test,
    ::testing::Values(
        Cp1250Case{QStringLiteral("ąćęłńóśźż"), QByteArray::fromHex("b9e6eab3f1f39c9fbf")},
        Cp1250Case{QStringLiteral("ĄĆĘŁŃÓŚŹŻ"), QByteArray::fromHex("a5c6caa3d1d38c8faf")},
        Cp1250Case{QStringLiteral("€„”–"), QByteArray::fromHex("80849496")},
        Cp1250Case{QStringLiteral("Plan urlopowy"), QByteArray("Plan urlopowy")},
        Cp1250Case{QString(), QByteArray()}));

TEST(Cp1250, EveryDefinedByteSurvivesTheRoundTrip)
{
    int defined = 0;
    for (int b = 0; b < 256; ++b) {
        const QByteArray byte(1, static_cast<char>(b));
        const QString text = fromCp1250(byte);
        ASSERT_EQ(text.size(), 1) << "byte " << b;
        if (text.at(0) == QChar::ReplacementCharacter)
            continue;
        ++defined;
        EXPECT_EQ(toCp1250(text), byte) << "byte " << b;
    }
    // Windows-1250 leaves five bytes unassigned.
    EXPECT_GE(defined, 251);
}

TEST(Cp1250, CharactersOutsideTheCodePageAreFound)
{
    // Each once, in order of appearance; a character beyond 16 bits counts as one.
    const QString text = QStringLiteral("aЖ€b😀ЖñŁ😀");
    EXPECT_FALSE(isCp1250Encodable(text));
    EXPECT_EQ(nonCp1250Characters(text), QStringLiteral("Ж😀ñ"));
    EXPECT_FALSE(isCp1250Encodable(QStringLiteral("ñ")));
    EXPECT_TRUE(nonCp1250Characters(QStringLiteral("Zażółć gęślą jaźń")).isEmpty());
    EXPECT_TRUE(isCp1250Encodable(QString()));
}

} // namespace
} // namespace zf

#include "util/textcodec.h"

#include "tests/util/print.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

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

// Qt's own converter is the reference: the program's conversion must give what it gives.
QByteArray qtEncode(const QString& text)
{
    QStringEncoder encoder("windows-1250");
    return encoder.encode(text);
}

QString qtDecode(const QByteArray& bytes)
{
    QStringDecoder decoder("windows-1250");
    return decoder.decode(bytes);
}

// The check character by character through Qt's converter, as the program always did it.
QString qtNonCp1250(const QString& text)
{
    QString bad;
    for (int i = 0; i < text.size(); ++i) {
        const int len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString ch = text.mid(i, len);
        const bool c1 = len == 1 && ch.at(0).unicode() >= 0x80 && ch.at(0).unicode() <= 0x9F;
        QStringEncoder encoder("windows-1250", QStringConverter::Flag::Stateless);
        const QByteArray b = encoder.encode(ch);
        if ((c1 || encoder.hasError() || b.size() != 1 || qtDecode(b) != ch) && !bad.contains(ch))
            bad += ch;
        i += len - 1;
    }
    return bad;
}

TEST(Cp1250, EveryByteDecodesAsQtDecodesIt)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        const QByteArray byte(1, static_cast<char>(b));
        EXPECT_EQ(fromCp1250(byte), qtDecode(byte)) << "byte " << b;
        all += byte;
    }
    EXPECT_EQ(fromCp1250(all + all), qtDecode(all + all));
    EXPECT_EQ(fromCp1250(QByteArray("a\0b", 3)).size(), 3);
}

TEST(Cp1250, EveryCodeUnitEncodesAndIsJudgedAsByQt)
{
    // Every UTF-16 code unit, lone surrogates included, alone and between letters: unmappable
    // ones become Qt's substitute or vanish (the default-ignorable ones), exactly as before.
    for (int u = 0; u < 0x10000; ++u) {
        const QString one(QChar(static_cast<char16_t>(u)));
        ASSERT_EQ(toCp1250(one), qtEncode(one)) << "U+" << std::hex << u;
        ASSERT_EQ(nonCp1250Characters(one), qtNonCp1250(one)) << "U+" << std::hex << u;
        ASSERT_EQ(isCp1250Encodable(one), qtNonCp1250(one).isEmpty()) << "U+" << std::hex << u;
        const QString between = QStringLiteral("ą") + one + QStringLiteral("x");
        ASSERT_EQ(toCp1250(between), qtEncode(between)) << "U+" << std::hex << u;
        ASSERT_EQ(nonCp1250Characters(between), qtNonCp1250(between)) << "U+" << std::hex << u;
    }
}

TEST(Cp1250, TextsBeyondSixteenBitsAndBrokenPairsAsQtHasThem)
{
    const QString hi(QChar(char16_t(0xD83D)));
    const QString lo(QChar(char16_t(0xDE00)));
    const QStringList texts = {
        QStringLiteral("Zażółć 😀 gęślą"),
        QStringLiteral("a\U000E0001b\U0001D173c"), // ignorable beyond 16 bits
        QStringLiteral("\u200Bł\uFEFF"),           // ignorable within 16 bits
        QStringLiteral("x") + hi,                  // a pair cut off at the end
        hi + QStringLiteral("x") + lo + lo + hi + hi + lo,
        QStringLiteral("€\u0081\u0098ŁЖ\uFFFD"),
    };
    for (const QString& text : texts) {
        EXPECT_EQ(toCp1250(text), qtEncode(text)) << text.toStdString();
        EXPECT_EQ(nonCp1250Characters(text), qtNonCp1250(text)) << text.toStdString();
        EXPECT_EQ(isCp1250Encodable(text), qtNonCp1250(text).isEmpty()) << text.toStdString();
    }
}

} // namespace
} // namespace zf

#include "cipher/cipher.h"
#include "cipher/ovcrypt.h"
#include "util/textcodec.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>
#include <random>

namespace {

QByteArray bytes(std::initializer_list<unsigned char> values)
{
    QByteArray out;
    for (unsigned char v : values)
        out.append(static_cast<char>(v));
    return out;
}

QByteArray randomBytes(qsizetype size, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> dist(0, 255);
    QByteArray out(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        out[i] = static_cast<char>(dist(gen));
    // A run of zero bytes in the middle, which a C-string path would cut off.
    for (qsizetype i = size / 2; i < size / 2 + 8 && i < size; ++i)
        out[i] = '\0';
    return out;
}

const QString kPolish = QStringLiteral("Zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ");

// ---- Key-stream cipher: answers worked out by hand from the algorithm. ----
//
// Key 38467 = 0x9643. Each output byte is the input XOR the high byte of k; then
// k = (k + output) * 52845 + 22719 mod 65536:
//   'Z' 0x5A ^ 0x96 = 0xCC; k = (38467 + 204) * 52845 + 22719 = 0xBC22 (mod 65536)
//   'e' 0x65 ^ 0xBC = 0xD9; k = 0xC99E
//   'f' 0x66 ^ 0xC9 = 0xAF; k = 0x7188
//   0x00 ^ 0x71 = 0x71
struct KnownAnswer
{
    const char* name;
    QByteArray clear;
    quint16 key;
    QByteArray enciphered;
};

std::ostream& operator<<(std::ostream& os, const KnownAnswer& v)
{
    return os << v.name;
}

class KeyStreamKnownAnswer : public ::testing::TestWithParam<KnownAnswer>
{
};

TEST_P(KeyStreamKnownAnswer, EnciphersAndDeciphersExactly)
{
    const KnownAnswer& v = GetParam();
    EXPECT_EQ(zf::EncryptString(v.clear, v.key).toHex(), v.enciphered.toHex());
    EXPECT_EQ(zf::DecryptString(v.enciphered, v.key).toHex(), v.clear.toHex());
}

INSTANTIATE_TEST_SUITE_P(
    Cipher, KeyStreamKnownAnswer,
    ::testing::Values(
        KnownAnswer{"ProgramKey", bytes({0x5A, 0x65, 0x66, 0x00}), zf::kScriptCipherKey,
                    bytes({0xCC, 0xD9, 0xAF, 0x71})},
        // Key 0: the first byte passes unchanged; k = 65 * 52845 + 22719 = 0xC26C,
        // so 'B' 0x42 ^ 0xC2 = 0x80.
        KnownAnswer{"ZeroKey", QByteArrayLiteral("AB"), 0, bytes({0x41, 0x80})},
        // Key 0xFFFF: (65535 + 255) * 52845 does not fit a signed 32-bit int;
        // modulo 65536 the next k is 0x28E5, then 0x65CB.
        KnownAnswer{"LargestKey", bytes({0x00, 0xFF, 0x00}), 0xFFFF, bytes({0xFF, 0xD7, 0x65})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Cipher, ProgramKeysAreTheFixedOne)
{
    EXPECT_EQ(zf::kScriptCipherKey, 38467);
    EXPECT_EQ(zf::kPlanFileCipherKey, 38467);
    EXPECT_EQ(zf::kSettingsCipherKey, 38467);
}

TEST(Cipher, EmptyTextGivesEmptyText)
{
    EXPECT_TRUE(zf::EncryptString(QByteArray(), 38467).isEmpty());
    EXPECT_TRUE(zf::DecryptString(QByteArray(), 38467).isEmpty());
}

class KeyStreamRoundTrip : public ::testing::TestWithParam<quint16>
{
};

TEST_P(KeyStreamRoundTrip, RandomBytesWithZerosComeBack)
{
    for (qsizetype size : {1, 2, 17, 256, 4099}) {
        const QByteArray clear = randomBytes(size, unsigned(size) * 7919u + GetParam());
        const QByteArray enciphered = zf::EncryptString(clear, GetParam());
        ASSERT_EQ(enciphered.size(), clear.size());
        EXPECT_EQ(zf::DecryptString(enciphered, GetParam()), clear) << "size " << size;
        if (size >= 17) {
            EXPECT_NE(enciphered, clear);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cipher, KeyStreamRoundTrip,
                         ::testing::Values(quint16(0), quint16(1), quint16(38467),
                                           quint16(0xFFFF)));

TEST(Cipher, WrongKeyGivesGarbageOfTheSameLength)
{
    const QByteArray clear = zf::toCp1250(kPolish);
    const QByteArray enciphered = zf::EncryptString(clear, 38467);
    const QByteArray wrong = zf::DecryptString(enciphered, 38466);
    EXPECT_EQ(wrong.size(), clear.size());
    EXPECT_NE(wrong, clear);
}

TEST(Cipher, EqualPrefixesEncipherAlike)
{
    const QByteArray a = QByteArrayLiteral("<PLAN><YEAR>2024</YEAR>");
    const QByteArray b = QByteArrayLiteral("<PLAN><YEAR>2025</YEAR>");
    const qsizetype common = 15; // up to "202"
    const QByteArray ea = zf::EncryptString(a, 38467);
    const QByteArray eb = zf::EncryptString(b, 38467);
    EXPECT_EQ(ea.left(common), eb.left(common));
    EXPECT_NE(ea.at(common), eb.at(common));
}

TEST(Cipher, ZeroByteInTheCipherTextSurvivesAFile)
{
    // The first output byte is the input XOR 0x96, so 0x96 enciphers to 0.
    const QByteArray clear = bytes({0x96, 'a', 'b', 'c'});
    const QByteArray enciphered = zf::EncryptString(clear, 38467);
    ASSERT_EQ(enciphered.size(), 4);
    ASSERT_EQ(enciphered.at(0), '\0');

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("zero.bin"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(enciphered), 4);
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(zf::DecryptString(f.readAll(), 38467), clear);
}

TEST(Cipher, PolishTextThroughWindows1250AndBothCiphers)
{
    const QByteArray cp1250 = zf::toCp1250(kPolish);
    ASSERT_EQ(cp1250.size(), kPolish.size()); // one byte per letter
    EXPECT_EQ(static_cast<unsigned char>(cp1250.at(2)), 0xBF); // ż
    EXPECT_EQ(static_cast<unsigned char>(cp1250.at(20)), 0xAF); // Ż

    const QByteArray stream = zf::EncryptString(cp1250, zf::kPlanFileCipherKey);
    EXPECT_NE(stream, cp1250);
    EXPECT_EQ(zf::fromCp1250(zf::DecryptString(stream, zf::kPlanFileCipherKey)), kPolish);

    zf::TOVCrypt crypt{QByteArray(zf::kPasswordCryptKey)};
    crypt.setCryptogram(cp1250);
    crypt.Encrypt();
    EXPECT_EQ(crypt.cryptogram().size(), cp1250.size());
    EXPECT_NE(crypt.cryptogram(), cp1250);
    crypt.Decrypt();
    EXPECT_EQ(zf::fromCp1250(crypt.cryptogram()), kPolish);
}

// ---- TOVCrypt ----

TEST(OVCrypt, PasswordKeyIsTheFixedTwentyCharacters)
{
    // Zero bytes reveal the key stream: the key, then its first character again.
    zf::TOVCrypt crypt{QByteArray(zf::kPasswordCryptKey)};
    crypt.setCryptogram(QByteArray(21, '\0'));
    crypt.Encrypt();
    EXPECT_EQ(crypt.cryptogram(), QByteArrayLiteral("Qm7#rT!x2@Lp9&Wd4*ZeQ"));
}

TEST(OVCrypt, KnownPassword)
{
    // s+Q = 0x73+0x51, e+m = 0x65+0x6D, c+7 = 0x63+0x37, r+# = 0x72+0x23, e+r, t+T.
    zf::TOVCrypt crypt{QByteArray(zf::kPasswordCryptKey)};
    crypt.setCryptogram(QByteArrayLiteral("secret"));
    crypt.Encrypt();
    EXPECT_EQ(crypt.cryptogram().toHex(), QByteArrayLiteral("c4d29a95d7c8"));
    crypt.Decrypt();
    EXPECT_EQ(crypt.cryptogram(), QByteArrayLiteral("secret"));
}

TEST(OVCrypt, AdditionAndSubtractionWrapAroundAByte)
{
    zf::TOVCrypt crypt(bytes({100}));
    crypt.setCryptogram(bytes({200, 10}));
    crypt.Encrypt();
    EXPECT_EQ(crypt.cryptogram(), bytes({44, 110}));

    crypt.setCryptogram(bytes({10, 44}));
    crypt.Decrypt();
    EXPECT_EQ(crypt.cryptogram(), bytes({166, 200}));
}

TEST(OVCrypt, KeyRepeatsOverALongerText)
{
    zf::TOVCrypt crypt(bytes({1, 2}));
    crypt.setCryptogram(bytes({10, 10, 10, 10, 10}));
    crypt.Encrypt();
    EXPECT_EQ(crypt.cryptogram(), bytes({11, 12, 11, 12, 11}));
}

TEST(OVCrypt, KeyLongerThanTheTextUsesItsBeginning)
{
    zf::TOVCrypt crypt(QByteArrayLiteral("ABCDEF"));
    crypt.setCryptogram(bytes({1, 2}));
    crypt.Encrypt();
    EXPECT_EQ(crypt.cryptogram(), bytes({0x42, 0x44}));
}

TEST(OVCrypt, EmptyKeyOrEmptyTextChangesNothing)
{
    zf::TOVCrypt crypt;
    crypt.setCryptogram(QByteArrayLiteral("haslo"));
    crypt.Encrypt();
    EXPECT_EQ(crypt.cryptogram(), QByteArrayLiteral("haslo"));
    crypt.Decrypt();
    EXPECT_EQ(crypt.cryptogram(), QByteArrayLiteral("haslo"));

    crypt.setKey(QByteArray(zf::kPasswordCryptKey));
    crypt.setCryptogram(QByteArray());
    crypt.Encrypt();
    EXPECT_TRUE(crypt.cryptogram().isEmpty());
}

TEST(OVCrypt, EveryByteValueRoundTripsUnderAHighKey)
{
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));
    zf::TOVCrypt crypt(bytes({0xFF, 0x80, 0x01}));
    crypt.setCryptogram(all);
    crypt.Encrypt();
    EXPECT_NE(crypt.cryptogram(), all);
    crypt.Decrypt();
    EXPECT_EQ(crypt.cryptogram(), all);
}

TEST(OVCrypt, WrongKeyGivesGarbageOfTheSameLength)
{
    zf::TOVCrypt crypt{QByteArray(zf::kPasswordCryptKey)};
    crypt.setCryptogram(QByteArrayLiteral("masterkey"));
    crypt.Encrypt();
    crypt.setKey(QByteArrayLiteral("other"));
    crypt.Decrypt();
    EXPECT_EQ(crypt.cryptogram().size(), 9);
    EXPECT_NE(crypt.cryptogram(), QByteArrayLiteral("masterkey"));
}

} // namespace

#include "cipher/cipher.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

namespace {

// UTF-8 of the source: Polish letters, a CR LF and a lone LF, which must come out unchanged.
const QByteArray kScript = QByteArrayLiteral("SELECT 'Zażółć';\r\nGO\n-- € koniec");
// The same text in Windows-1250, written out by hand: ż BF, ó F3, ł B3, ć E6, € 80.
const QByteArray kScriptCp1250 =
    QByteArrayLiteral("SELECT 'Za\xBF\xF3\xB3\xE6';\r\nGO\n-- \x80 koniec");

TEST(ScriptCipher, EnciphersTheWindows1250BytesWithLineBreaksKept)
{
    const zf::ScriptCipherResult r = zf::encipherScriptText(kScript);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.data, zf::EncryptString(kScriptCp1250, 38467));
    EXPECT_EQ(zf::DecryptString(r.data, 38467), kScriptCp1250);
}

TEST(ScriptCipher, LeadingByteOrderMarkIsDropped)
{
    const zf::ScriptCipherResult r = zf::encipherScriptText("\xEF\xBB\xBF" + kScript);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(zf::DecryptString(r.data, 38467), kScriptCp1250);
}

TEST(ScriptCipher, EmptyTextGivesEmptyOutput)
{
    const zf::ScriptCipherResult r = zf::encipherScriptText(QByteArray());
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.data.isEmpty());
}

TEST(ScriptCipher, DecipherGivesBackTheUtf8Text)
{
    const zf::ScriptCipherResult r = zf::encipherScriptText(kScript);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(zf::decipherScriptText(r.data), kScript);
}

struct Refused
{
    const char* name;
    QByteArray text;
    const char* errorPart; // expected in the message
};

std::ostream& operator<<(std::ostream& os, const Refused& v)
{
    return os << v.name;
}

class ScriptCipherRefuses : public ::testing::TestWithParam<Refused>
{
};

TEST_P(ScriptCipherRefuses, NamesLineAndCharacter)
{
    const zf::ScriptCipherResult r = zf::encipherScriptText(GetParam().text);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.data.isEmpty());
    EXPECT_TRUE(r.error.contains(QLatin1String(GetParam().errorPart)))
        << r.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    ScriptCipher, ScriptCipherRefuses,
    ::testing::Values(
        Refused{"Chinese", QByteArrayLiteral("SELECT 1;\nSELECT '中';\n"), "line 2"},
        Refused{"ChineseCode", QByteArrayLiteral("SELECT '中';"), "U+4E2D"},
        Refused{"Emoji", QByteArrayLiteral("a\r\nb\r\n-- 😀"), "U+1F600"},
        Refused{"EmojiLine", QByteArrayLiteral("a\r\nb\r\n-- 😀"), "line 3"},
        Refused{"Cyrillic", QByteArrayLiteral("-- Жук"), "U+0416"},
        Refused{"InnerByteOrderMark", QByteArrayLiteral("a\n\xEF\xBB\xBF b"), "U+FEFF"},
        Refused{"BrokenUtf8", QByteArrayLiteral("a\nb\nc\xFF"), "line 3: not valid UTF-8"},
        Refused{"CutUtf8", QByteArrayLiteral("za\xC5"), "not valid UTF-8"}),
    [](const auto& info) { return std::string(info.param.name); });

// The build tool itself: a thin shell around the functions above.
class EncipherTool : public ::testing::Test
{
protected:
    int run(const QStringList& args, QByteArray* err = nullptr)
    {
        QProcess p;
        p.start(QStringLiteral(ZF_ENCIPHER_PATH), args);
        if (!p.waitForFinished(60000))
            return -1;
        if (err)
            *err = p.readAllStandardError();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    static bool write(const QString& path, const QByteArray& data)
    {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
    }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

TEST_F(EncipherTool, EnciphersAndDeciphersFiles)
{
    ASSERT_TRUE(write(path("in.sql"), kScript));
    ASSERT_EQ(run({path("in.sql"), path("out.dat")}), 0);
    EXPECT_EQ(read(path("out.dat")), zf::EncryptString(kScriptCp1250, 38467));

    ASSERT_EQ(run({QStringLiteral("--decipher"), path("out.dat"), path("back.sql")}), 0);
    EXPECT_EQ(read(path("back.sql")), kScript);
}

TEST_F(EncipherTool, UnencodableTextFailsWithoutOutput)
{
    ASSERT_TRUE(write(path("in.sql"), QByteArrayLiteral("SELECT 1;\nSELECT '中';\n")));
    QByteArray err;
    EXPECT_NE(run({path("in.sql"), path("out.dat")}, &err), 0);
    EXPECT_TRUE(err.contains("line 2")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(path("out.dat")));
}

TEST_F(EncipherTool, MissingInputOrWrongArgumentsFail)
{
    QByteArray err;
    EXPECT_NE(run({path("none.sql"), path("out.dat")}, &err), 0);
    EXPECT_TRUE(err.contains("none.sql")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(path("out.dat")));
    EXPECT_NE(run({path("only-one.sql")}), 0);
    EXPECT_NE(run({}), 0);
}

} // namespace

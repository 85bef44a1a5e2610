#include "util/inifile.h"

#include "tests/util/print.h"
#include "util/textcodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zf {
namespace {

class IniFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path() const { return dir.filePath(QStringLiteral("zefirant.ini")); }
    void writeRaw(const QByteArray& bytes) const
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray raw() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

TEST_F(IniFileTest, SectionsAndKeysMatchWithoutRegardToCase)
{
    writeRaw("[Options]\r\nPytajPrzedKasowaniem=1\r\n[DBGRID]\r\nosobowaGrid=10,20\r\n");
    IniFile ini(path());
    EXPECT_EQ(ini.readString(QStringLiteral("OPTIONS"), QStringLiteral("pytajprzedkasowaniem")),
              QStringLiteral("1"));
    EXPECT_EQ(ini.readString(QStringLiteral("dbgrid"), QStringLiteral("OSOBOWAGRID")),
              QStringLiteral("10,20"));
    EXPECT_TRUE(ini.keyExists(QStringLiteral("options"), QStringLiteral("PYTAJPRZEDKASOWANIEM")));

    // Writing under another spelling replaces the entry instead of adding a second one.
    ASSERT_TRUE(ini.writeString(QStringLiteral("OPTIONS"), QStringLiteral("PYTAJPRZEDKASOWANIEM"),
                                QStringLiteral("0")));
    EXPECT_EQ(raw().count("=0"), 1);
    EXPECT_EQ(raw().toLower().count("pytajprzedkasowaniem"), 1);
    EXPECT_EQ(ini.sectionKeys(QStringLiteral("Options")).size(), 1);
}

TEST_F(IniFileTest, DeletingAKeyWrittenTwiceRemovesBoth)
{
    writeRaw("[TOOLS]\r\nname3=Pierwszy\r\nNAME3=Drugi\r\nname4=Inny\r\n[INNA]\r\nname3=x\r\n");
    IniFile ini(path());
    ASSERT_TRUE(ini.deleteKey(QStringLiteral("TOOLS"), QStringLiteral("name3")));
    EXPECT_FALSE(ini.keyExists(QStringLiteral("TOOLS"), QStringLiteral("name3")));
    EXPECT_EQ(ini.readString(QStringLiteral("TOOLS"), QStringLiteral("name3"), QStringLiteral("-")),
              QStringLiteral("-"));
    EXPECT_EQ(ini.readString(QStringLiteral("TOOLS"), QStringLiteral("name4")), QStringLiteral("Inny"));
    EXPECT_EQ(ini.readString(QStringLiteral("INNA"), QStringLiteral("name3")), QStringLiteral("x"));
}

TEST_F(IniFileTest, MissingKeysGiveTheDefaults)
{
    IniFile missing(path());
    EXPECT_EQ(missing.readString(QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(missing.readInteger(QStringLiteral("A"), QStringLiteral("b"), 42), 42);
    EXPECT_FALSE(QFile::exists(path())) << "reading must not create the file";

    writeRaw("[A]\r\nnum=12\r\nbad=12x\r\nempty=\r\n");
    IniFile ini(path());
    EXPECT_EQ(ini.readString(QStringLiteral("A"), QStringLiteral("brak"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(ini.readString(QStringLiteral("B"), QStringLiteral("num"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_EQ(ini.readInteger(QStringLiteral("A"), QStringLiteral("num"), 0), 12);
    EXPECT_EQ(ini.readInteger(QStringLiteral("A"), QStringLiteral("bad"), -1), -1);
    EXPECT_EQ(ini.readInteger(QStringLiteral("A"), QStringLiteral("empty"), 7), 7);
    EXPECT_TRUE(ini.readBool(QStringLiteral("A"), QStringLiteral("brak"), true));
    EXPECT_FALSE(ini.readBool(QStringLiteral("A"), QStringLiteral("brak"), false));
}

TEST_F(IniFileTest, GarbageLinesAreIgnoredAndKept)
{
    const QByteArray original = "to nie jest wpis\r\n"
                                "[TOOLS]\r\n"
                                "; komentarz=nie\r\n"
                                "bez znaku rownosci\r\n"
                                "=bez klucza\r\n"
                                "name0=Kalkulator\r\n"
                                "[[dziwne\r\n";
    writeRaw(original);
    IniFile ini(path());
    EXPECT_EQ(ini.readString(QStringLiteral("TOOLS"), QStringLiteral("name0")),
              QStringLiteral("Kalkulator"));
    EXPECT_FALSE(ini.keyExists(QStringLiteral("TOOLS"), QStringLiteral("; komentarz")));
    EXPECT_EQ(ini.sectionKeys(QStringLiteral("TOOLS")), QStringList{QStringLiteral("name0")});

    ASSERT_TRUE(
        ini.writeString(QStringLiteral("TOOLS"), QStringLiteral("dir0"), QStringLiteral("kalk")));
    const QByteArray after = raw();
    for (const QByteArray& line : original.split('\n')) {
        if (!line.isEmpty()) {
            EXPECT_TRUE(after.contains(QByteArray(line + '\n'))) << line.toStdString();
        }
    }
    EXPECT_EQ(ini.readString(QStringLiteral("TOOLS"), QStringLiteral("dir0")),
              QStringLiteral("kalk"));
}

TEST_F(IniFileTest, BooleansAreOneAndZero)
{
    IniFile ini(path());
    ASSERT_TRUE(ini.writeBool(QStringLiteral("OPTIONS"), QStringLiteral("tak"), true));
    ASSERT_TRUE(ini.writeBool(QStringLiteral("OPTIONS"), QStringLiteral("nie"), false));
    EXPECT_TRUE(raw().contains("tak=1\r\n"));
    EXPECT_TRUE(raw().contains("nie=0\r\n"));
    EXPECT_TRUE(ini.readBool(QStringLiteral("OPTIONS"), QStringLiteral("tak"), false));
    EXPECT_FALSE(ini.readBool(QStringLiteral("OPTIONS"), QStringLiteral("nie"), true));

    writeRaw("[OPTIONS]\r\ndwa=2\r\nslowo=prawda\r\n");
    EXPECT_TRUE(ini.readBool(QStringLiteral("OPTIONS"), QStringLiteral("dwa"), false));
    EXPECT_FALSE(ini.readBool(QStringLiteral("OPTIONS"), QStringLiteral("slowo"), false));
}

TEST_F(IniFileTest, FirstWriteCreatesTheFileAndItsFolder)
{
    IniFile ini(dir.filePath(QStringLiteral("Orvantis/Zefirant/zefirant.ini")));
    ASSERT_TRUE(ini.writeInteger(QStringLiteral("VERSION"), QStringLiteral("ver"), 25));
    QFile f(ini.path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[VERSION]\r\nver=25\r\n"));
}

TEST_F(IniFileTest, OtherSectionsAndKeysAreKept)
{
    const QByteArray original = "[DATABASE]\r\nserver=localhost\r\npath=/dane/zf.fdb\r\n\r\n"
                                "[OPTIONS]\r\na=1\r\nb=2\r\n\r\n"
                                "[DBGRID]\r\nplanGrid=5,6\r\n";
    writeRaw(original);
    IniFile ini(path());
    ASSERT_TRUE(
        ini.writeString(QStringLiteral("OPTIONS"), QStringLiteral("a"), QStringLiteral("9")));
    ASSERT_TRUE(
        ini.writeString(QStringLiteral("OPTIONS"), QStringLiteral("c"), QStringLiteral("3")));
    ASSERT_TRUE(
        ini.writeString(QStringLiteral("TOOLS"), QStringLiteral("name1"), QStringLiteral("x")));
    EXPECT_EQ(raw(), QByteArray("[DATABASE]\r\nserver=localhost\r\npath=/dane/zf.fdb\r\n\r\n"
                                "[OPTIONS]\r\na=9\r\nb=2\r\nc=3\r\n\r\n"
                                "[DBGRID]\r\nplanGrid=5,6\r\n\r\n"
                                "[TOOLS]\r\nname1=x\r\n"));

    ASSERT_TRUE(ini.deleteKey(QStringLiteral("OPTIONS"), QStringLiteral("b")));
    ASSERT_TRUE(ini.eraseSection(QStringLiteral("DBGRID")));
    EXPECT_FALSE(ini.sectionExists(QStringLiteral("DBGRID")));
    EXPECT_EQ(ini.sectionKeys(QStringLiteral("OPTIONS")),
              (QStringList{QStringLiteral("a"), QStringLiteral("c")}));
    EXPECT_EQ(ini.readString(QStringLiteral("DATABASE"), QStringLiteral("path")),
              QStringLiteral("/dane/zf.fdb"));
    EXPECT_EQ(ini.readString(QStringLiteral("TOOLS"), QStringLiteral("name1")),
              QStringLiteral("x"));
}

TEST_F(IniFileTest, PolishTextIsStoredAsWindows1250)
{
    const QString text = QStringLiteral("Zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ");
    // The same text written out byte by byte in Windows-1250.
    const QByteArray cp1250 = QByteArray::fromHex("5a61bff3b3e620"
                                                  "67ea9c6cb920"
                                                  "6a619ff120"
                                                  "5a41afd3a3c620"
                                                  "47ca8c4ca520"
                                                  "4a418fd1");
    IniFile ini(path());
    ASSERT_TRUE(ini.writeString(QStringLiteral("TOOLS"), QStringLiteral("name0"), text));
    EXPECT_EQ(raw(), QByteArray("[TOOLS]\r\nname0=") + cp1250 + QByteArray("\r\n"));
    EXPECT_EQ(IniFile(path()).readString(QStringLiteral("tools"), QStringLiteral("NAME0")), text);
}

TEST_F(IniFileTest, FailedWriteLeavesTheOldFileIntact)
{
    const QByteArray original = "[OPTIONS]\r\na=1\r\n";
    writeRaw(original);
    const QString folder = dir.path();
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    QFile probe(dir.filePath(QStringLiteral("probe")));
    const bool enforced = !probe.open(QIODevice::WriteOnly);
    if (!enforced) {
        probe.close();
        probe.remove();
    }
    bool written = true;
    if (enforced) {
        IniFile ini(path());
        written =
            ini.writeString(QStringLiteral("OPTIONS"), QStringLiteral("a"), QStringLiteral("2"));
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!enforced)
        GTEST_SKIP() << "folder permissions are not enforced for this user";
    EXPECT_FALSE(written);
    EXPECT_EQ(raw(), original);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("zefirant.ini")});
}

} // namespace
} // namespace zf

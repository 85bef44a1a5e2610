// The archiving tool's view of the configuration: arguments, the data folder's settings,
// locations and the names it proposes.
#include "archiwizacja/settings.h"
#include "data/configfiles.h"
#include "tests/support/test_env.h"
#include "util/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zf::archive {
namespace {

TEST(ArchiveArguments, ZfMarksTheStartFromTheProgramAndDaneChoosesTheFolder)
{
    EXPECT_FALSE(parseArguments({}).fromZefirant);
    EXPECT_TRUE(parseArguments({}).dataFolder.isEmpty());
    EXPECT_TRUE(parseArguments({QStringLiteral("ZF")}).fromZefirant);

    const auto separate = parseArguments(
        {QStringLiteral("--dane"), QStringLiteral("/tmp/inne dane"), QStringLiteral("ZF")});
    EXPECT_TRUE(separate.fromZefirant);
    EXPECT_EQ(separate.dataFolder, QStringLiteral("/tmp/inne dane"));

    const auto joined = parseArguments({QStringLiteral("--dane=/tmp/dane")});
    EXPECT_FALSE(joined.fromZefirant);
    EXPECT_EQ(joined.dataFolder, QStringLiteral("/tmp/dane"));

    // Something a newer caller might pass does not stop the tool, nor does a dangling option.
    const auto unknown =
        parseArguments({QStringLiteral("--nowe"), QStringLiteral("ZF"), QStringLiteral("--dane")});
    EXPECT_TRUE(unknown.fromZefirant);
    EXPECT_TRUE(unknown.dataFolder.isEmpty());
}

TEST(ArchiveSettings, TheDefaultDataFolderIsTheProgramsOwn)
{
    EXPECT_EQ(defaultDataFolder(), test::dataHome() + QStringLiteral("/Orvantis/Zefirant"));
}

class ArchiveSettingsFolder : public ::testing::Test
{
protected:
    QString ini() const { return dir.path() + QStringLiteral("/zefirant.ini"); }
    QString configDat() const { return dir.path() + QStringLiteral("/config.dat"); }

    QTemporaryDir dir;
};

TEST_F(ArchiveSettingsFolder, ReadsLocationUserAndTheEncipheredPassword)
{
    IniFile f(ini());
    ASSERT_TRUE(f.writeString(QStringLiteral("OPTIONS"), QStringLiteral("x"), QStringLiteral("1")));
    // Section and key names are matched without regard to case, as the program writes them.
    ASSERT_TRUE(f.writeString(QStringLiteral("Database"), QStringLiteral("Lokalizacja"),
                              QStringLiteral("/srv/kadry/Żółta baza.fdb")));
    ASSERT_TRUE(f.writeString(QStringLiteral("DATABASE"), QStringLiteral("uzytkownik"),
                              QStringLiteral("KADRY")));
    QString error;
    ASSERT_TRUE(configdat::write(configDat(), QStringLiteral("hasło#1"), &error));

    const auto s = readSettings(dir.path(), &error);
    ASSERT_TRUE(s) << error.toStdString();
    EXPECT_EQ(s->location, QStringLiteral("/srv/kadry/Żółta baza.fdb"));
    EXPECT_EQ(s->user, QStringLiteral("KADRY"));
    EXPECT_EQ(s->password, QStringLiteral("hasło#1"));
}

TEST_F(ArchiveSettingsFolder, MissingOrIncompleteSettingsAreExplained)
{
    QString error;
    EXPECT_FALSE(readSettings(dir.path(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Nie znaleziono ustawień"))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("zefirant.ini"))) << error.toStdString();

    IniFile f(ini());
    ASSERT_TRUE(f.writeString(QStringLiteral("DATABASE"), QStringLiteral("uzytkownik"),
                              QStringLiteral("SYSDBA")));
    error.clear();
    EXPECT_FALSE(readSettings(dir.path(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("nie wskazują bazy danych"))) << error.toStdString();

    ASSERT_TRUE(f.writeString(QStringLiteral("DATABASE"), QStringLiteral("lokalizacja"),
                              QStringLiteral("/srv/baza.fdb")));
    error.clear();
    EXPECT_FALSE(readSettings(dir.path(), &error)) << "config.dat is missing";
    EXPECT_TRUE(error.contains(QStringLiteral("hasła"))) << error.toStdString();

    QFile damaged(configDat());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("krótki");
    damaged.close();
    error.clear();
    EXPECT_FALSE(readSettings(dir.path(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("uszkodzony"))) << error.toStdString();
}

struct LocationCase
{
    const char* location;
    bool server;
    const char* path;
};

class ArchiveLocations : public ::testing::TestWithParam<LocationCase>
{
};

TEST_P(ArchiveLocations, ServerOrFile)
{
    const auto& c = GetParam();
    const QString location = QString::fromUtf8(c.location);
    EXPECT_EQ(isServerLocation(location), c.server);
    EXPECT_EQ(locationPath(location), QString::fromUtf8(c.path));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ArchiveLocations,
    ::testing::Values(LocationCase{"/home/kadry/baza.fdb", false, "/home/kadry/baza.fdb"},
                      LocationCase{"baza.fdb", false, "baza.fdb"},
                      LocationCase{"/dane/a:b/baza.fdb", false, "/dane/a:b/baza.fdb"},
                      LocationCase{"serwer-kadr:/var/lib/firebird/z.fdb", true,
                                   "/var/lib/firebird/z.fdb"},
                      LocationCase{"192.168.1.5/3051:/dane/z.fdb", true, "/dane/z.fdb"},
                      LocationCase{"inet://serwer/dane/z.fdb", true, "/dane/z.fdb"}));

TEST(ArchiveProposals, BackupNameCarriesTheDatabaseNameDateAndTime)
{
    const QDateTime now(QDate(2024, 3, 5), QTime(8, 7, 30));
    EXPECT_EQ(proposedBackupFile(QStringLiteral("/home/kadry/FB_ZEFIRANT.FDB"),
                                 QStringLiteral("/kopie"), now),
              QStringLiteral("/kopie/FB_ZEFIRANT_2024-03-05_0807.fbk"));
    EXPECT_EQ(proposedBackupFile(QStringLiteral("serwer:/var/lib/firebird/kadry.fdb"),
                                 QStringLiteral("/home/ja"), now),
              QStringLiteral("/home/ja/kadry_2024-03-05_0807.fbk"));
}

TEST(ArchiveProposals, RestoreNameIsNewAndBesideTheDatabase)
{
    QTemporaryDir dir;
    const QString db = dir.path() + QStringLiteral("/kadry.fdb");
    const QDate day(2024, 3, 5);
    const QString first = dir.path() + QStringLiteral("/kadry_odtworzona_2024-03-05.fdb");
    EXPECT_EQ(proposedRestoreLocation(db, day), first);

    // A name already taken, by a file or a dangling link, is never proposed.
    QFile taken(first);
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.close();
    ASSERT_TRUE(QFile::link(dir.path() + QStringLiteral("/nie-ma"),
                            dir.path() + QStringLiteral("/kadry_odtworzona_2024-03-05_2.fdb")));
    EXPECT_EQ(proposedRestoreLocation(db, day),
              dir.path() + QStringLiteral("/kadry_odtworzona_2024-03-05_3.fdb"));

    // On a server the host stays and the path is the server's.
    EXPECT_EQ(proposedRestoreLocation(QStringLiteral("serwer:/var/fb/kadry.fdb"), day),
              QStringLiteral("serwer:/var/fb/kadry_odtworzona_2024-03-05.fdb"));
}

} // namespace
} // namespace zf::archive

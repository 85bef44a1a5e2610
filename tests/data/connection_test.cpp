// Connection settings: the INI file, "config.dat", the installer's settings and Connect.
#include "data/configfiles.h"
#include "cipher/cipher.h"
#include "tests/support/test_database.h"
#include "tests/support/test_env.h"
#include "util/inifile.h"
#include "util/textcodec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zf {
namespace {

const QString kPolish = QStringLiteral("Zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ");

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

TEST(ConfigDat, HoldsThePasswordInOneRecordOf257Bytes)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/config.dat");
    QString error;
    ASSERT_TRUE(configdat::write(path, kPolish, &error)) << error.toStdString();
    const QByteArray record = readAll(path);
    ASSERT_EQ(record.size(), 257);
    const int length = static_cast<unsigned char>(record.at(0));
    EXPECT_EQ(length, toCp1250(kPolish).size());
    EXPECT_EQ(static_cast<unsigned char>(record.at(256)), length);
    EXPECT_NE(record.mid(1, length), toCp1250(kPolish)) << "the password is enciphered";
    EXPECT_EQ(configdat::read(path, &error).value_or(QString()), kPolish);

    ASSERT_TRUE(configdat::write(path, QString(), &error));
    EXPECT_EQ(configdat::read(path, &error).value_or(QStringLiteral("x")), QString());
}

TEST(ConfigDat, RefusesMissingAndDamagedFiles)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/config.dat");
    QString error;
    EXPECT_FALSE(configdat::read(path, &error).has_value());
    EXPECT_FALSE(error.isEmpty());
    for (const int size : {0, 1, 256, 258}) {
        writeAll(path, QByteArray(size, '\x05'));
        error.clear();
        EXPECT_FALSE(configdat::read(path, &error).has_value()) << size;
        EXPECT_FALSE(error.isEmpty());
    }
}

class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::clearDataHome();
        dataFolder = test::dataHome() + QStringLiteral("/Orvantis/Zefirant");
        QDir().mkpath(dataFolder + QStringLiteral("/debug"));
        installerFolder = dir.path() + QStringLiteral("/xdg");
    }

    std::unique_ptr<TmyDataBase> module()
    {
        return std::make_unique<TmyDataBase>(
            DatabasePaths{dataFolder, test::programFolder(), {installerFolder}}, dialogs);
    }

    QString log() { return QString::fromUtf8(readAll(dataFolder + QStringLiteral("/debug/error.log"))); }

    void writeInstallerFile(const QString& location, const QString& user, const QString& pwd)
    {
        QByteArray text = "[DataBaseDemo]\n";
        const QString values[] = {location, user, pwd};
        for (int i = 0; i < 3; ++i) {
            const QByteArray enc = EncryptString(toCp1250(values[i]), kSettingsCipherKey);
            text += "param" + QByteArray::number(i + 1) + "s=" + QByteArray::number(enc.size()) + "\n";
            text += "param" + QByteArray::number(i + 1) + "=" + enc.toHex() + "\n";
        }
        writeAll(installerFolder + QStringLiteral("/Orvantis/Zefirant/DataBaseDemo.ini"), text);
    }

    QTemporaryDir dir;
    QString dataFolder;
    QString installerFolder;
    test::ScriptedDialogs dialogs;
};

TEST_F(SettingsTest, NothingAnywhereMeansNoSettings)
{
    EXPECT_EQ(module()->ReadConnectionSettingsAndConnect(), TmyDataBase::NoSettings);
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(SettingsTest, ALocationWithoutConfigDatIsUnreadable)
{
    IniFile(dataFolder + QStringLiteral("/zefirant.ini"))
        .writeString(QStringLiteral("DATABASE"), QStringLiteral("lokalizacja"), QStringLiteral("/x.fdb"));
    EXPECT_EQ(module()->ReadConnectionSettingsAndConnect(), TmyDataBase::SettingsUnreadable);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].caption, QStringLiteral("Błąd"));
    EXPECT_TRUE(log().contains(QStringLiteral("[0000101749]")));
}

TEST_F(SettingsTest, SavedSettingsConnectAndSurviveGarbageInTheIniFile)
{
    test::TestDatabase database;
    {
        auto m = module();
        m->location = database.path();
        m->user = QStringLiteral("Gęśla_Jaźń"); // the embedded engine takes any user name
        m->password = QString::fromLatin1(test::TestDatabase::kPassword);
        m->SaveConnectionSettings();
    }
    // A clerk's hand edit: junk lines and another section around the keys.
    const QString ini = dataFolder + QStringLiteral("/zefirant.ini");
    writeAll(ini, "garbage line\n[options]\nx=1\n\xff\xfe junk\n" + readAll(ini) + "=nokey\n[[broken\n");
    auto m = module();
    EXPECT_EQ(m->ReadConnectionSettingsAndConnect(), TmyDataBase::Connected) << log().toStdString();
    EXPECT_EQ(m->location, database.path());
    EXPECT_EQ(m->user, QStringLiteral("Gęśla_Jaźń"));
    EXPECT_TRUE(m->IsConnected());
    EXPECT_TRUE(m->FBTransaction.isActive());
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(SettingsTest, AFailedConnectionIsLoggedNotShown)
{
    const QString missing = dir.path() + QStringLiteral("/none.fdb");
    {
        auto m = module();
        m->location = missing;
        m->user = QStringLiteral("SYSDBA");
        m->password = QStringLiteral("x");
        m->SaveConnectionSettings();
    }
    auto m = module();
    EXPECT_EQ(m->ReadConnectionSettingsAndConnect(), TmyDataBase::ConnectionFailed);
    EXPECT_FALSE(m->IsConnected());
    EXPECT_TRUE(dialogs.shown().empty());
    const QStringList lines = log().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << log().toStdString();
    EXPECT_TRUE(lines[0].mid(21).startsWith(QStringLiteral("[0000571413]  log:2 ")));
    EXPECT_EQ(lines[1].mid(21), QStringLiteral("[0000000000]  db source:") + missing);
}

TEST_F(SettingsTest, InstallerSettingsAreTakenOnceAndSaved)
{
    test::TestDatabase database;
    writeInstallerFile(database.path(), QStringLiteral("SYSDBA"), kPolish);
    auto m = module();
    EXPECT_EQ(m->ReadConnectionSettingsAndConnect(), TmyDataBase::Connected) << log().toStdString();
    EXPECT_EQ(m->password, kPolish);
    const IniFile ini(dataFolder + QStringLiteral("/zefirant.ini"));
    EXPECT_EQ(ini.readString(QStringLiteral("database"), QStringLiteral("LOKALIZACJA")), database.path());
    QString error;
    EXPECT_EQ(configdat::read(dataFolder + QStringLiteral("/config.dat"), &error).value_or(QString()), kPolish);
}

TEST_F(SettingsTest, ADamagedInstallerFileIsLoggedAndTheConnectionFails)
{
    writeAll(installerFolder + QStringLiteral("/Orvantis/Zefirant/DataBaseDemo.ini"),
             "[DataBaseDemo]\nparam1s=10\nparam1=zz\n");
    auto m = module();
    EXPECT_EQ(m->ReadConnectionSettingsAndConnect(), TmyDataBase::ConnectionFailed);
    EXPECT_TRUE(log().contains(QStringLiteral("[0020180314]  ")));
    EXPECT_FALSE(QFile::exists(dataFolder + QStringLiteral("/config.dat")));
}

TEST_F(SettingsTest, AnUnwritableConfigDatIsReported)
{
    // A folder where the file should be makes the write fail even for root.
    QDir().mkpath(dataFolder + QStringLiteral("/config.dat"));
    auto m = module();
    m->location = QStringLiteral("/x.fdb");
    m->SaveConnectionSettings();
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(log().contains(QStringLiteral("[0000101756]")));
}

TEST_F(SettingsTest, ConnectReplacesTheConnectionAndKeepsListsUsable)
{
    test::TestDatabase first;
    test::TestDatabase second;
    second.exec(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2030, 1, '')"));
    auto m = module();
    const QString user = QStringLiteral("SYSDBA");
    const QString pwd = QString::fromLatin1(test::TestDatabase::kPassword);
    ASSERT_TRUE(m->Connect(first.path(), user, pwd));
    m->OpenPlans();
    EXPECT_EQ(m->DBFHolidayPlans.recordCount(), 0);
    ASSERT_TRUE(m->Connect(second.path(), user, pwd));
    m->OpenPlans();
    EXPECT_EQ(m->DBFHolidayPlans.recordCount(), 1);
    EXPECT_GT(m->GetKey(1), 0);
    EXPECT_FALSE(m->Connect(dir.path() + QStringLiteral("/nothing.fdb"), user, pwd));
    EXPECT_FALSE(m->IsConnected());
    EXPECT_TRUE(dialogs.shown().empty());
}

} // namespace
} // namespace zf

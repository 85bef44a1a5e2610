// Options saving, the two system parameters of employees' logins and both password changes,
// against a real embedded database.
#include "app/options.h"
#include "data/programoptions.h"
#include "tests/support/test_database.h"
#include "util/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zf {
namespace {

using Result = OptionsLogic::PasswordResult;

const QString kMismatch =
    QStringLiteral("Podane nowe hasło oraz jego powtórka są różne. Popraw pola.");
const QString kTooShort = QStringLiteral("Hasło zbyt krótkie. Popraw pole.");

class OptionsLogicTest : public ::testing::Test
{
protected:
    test::TestDatabase t;
    QTemporaryDir dir;
    QString iniPath = dir.path() + QStringLiteral("/zefirant.ini");
    ProgramOptions options;
    OptionsStore store{iniPath};
    OptionsLogic logic{t.db(), t.dialogs(), options, store};

    QString param(const char* id)
    {
        return t.scalar(
            QStringLiteral("SELECT IVALUE FROM SYSTEMPARAMS WHERE ID='%1'").arg(QLatin1String(id)));
    }
    QString password(const char* login)
    {
        return t.scalar(
            QStringLiteral("SELECT PWD FROM USERS WHERE LOGIN='%1'").arg(QLatin1String(login)));
    }
    // The error log lines of this run; the log is written only when its folder exists.
    QString errorLog()
    {
        QFile f(t.db().errorLog().path());
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }
    void keepErrorLog()
    {
        QDir().mkpath(QFileInfo(t.db().errorLog().path()).absolutePath());
        QFile::remove(t.db().errorLog().path());
    }
};

TEST_F(OptionsLogicTest, LoadShowsTheOptionsTheLockAndTheEmployeeLoginParameter)
{
    options.sprawdzajNotatki = false;
    options.dataWsteczna = 12;
    options.dataWstecznaMin = -2;
    t.db().loginState().approvedPlanLock = false;
    OptionsForm f = logic.Load();
    EXPECT_FALSE(f.sprawdzajNotatki);
    EXPECT_TRUE(f.sprawdzajTerminy);
    EXPECT_EQ(f.dataWsteczna, QStringLiteral("12"));
    EXPECT_EQ(f.dataWstecznaMin, QStringLiteral("-2"));
    EXPECT_FALSE(f.disallowEdit); // from memory, although the database holds 1
    EXPECT_FALSE(f.allowEmplLogin);

    t.exec(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=1 WHERE ID='ALLOWEMPLLOGIN'"));
    EXPECT_TRUE(logic.Load().allowEmplLogin);
    t.exec(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=2 WHERE ID='ALLOWEMPLLOGIN'"));
    EXPECT_FALSE(logic.Load().allowEmplLogin);

    // Without its row, ticking the box changes nothing.
    t.exec(QStringLiteral("DELETE FROM SYSTEMPARAMS WHERE ID='ALLOWEMPLLOGIN'"));
    f.allowEmplLogin = true;
    logic.Save(f);
    EXPECT_EQ(param("ALLOWEMPLLOGIN"), QString());
    EXPECT_FALSE(logic.Load().allowEmplLogin);
}

TEST_F(OptionsLogicTest, NumberFieldsThatAreNotIntegersKeepTheirDays)
{
    const std::pair<QString, int> cases[] = {
        {QStringLiteral("14"), 14},        {QStringLiteral("-3"), -3}, {QStringLiteral(" 5 "), 5},
        {QStringLiteral("x"), 7},          {QStringLiteral(""), 7},    {QStringLiteral("1.5"), 7},
        {QStringLiteral("99999999999"), 7}};
    for (const auto& [text, expected] : cases) {
        options.dataWsteczna = 7;
        OptionsForm f = logic.Load();
        f.dataWsteczna = text;
        logic.Save(f);
        EXPECT_EQ(options.dataWsteczna, expected) << text.toStdString();
        EXPECT_EQ(IniFile(iniPath).readInteger(QStringLiteral("OPTIONS"),
                                               QStringLiteral("dataWsteczna"), -100),
                  expected)
            << text.toStdString();
    }
}

TEST_F(OptionsLogicTest, DatabaseErrorsAreReportedAndTheIniOptionsAreStillSaved)
{
    keepErrorLog();
    t.db().loginState().approvedPlanLock = true;
    t.db().Disconnect();
    OptionsForm f = logic.Load();
    EXPECT_FALSE(f.allowEmplLogin);
    EXPECT_TRUE(errorLog().contains(QStringLiteral("[0000000023]")));

    f.sprawdzajTerminy = false;
    f.disallowEdit = false;
    logic.Save(f);
    EXPECT_TRUE(errorLog().contains(QStringLiteral("[0000101525]")));
    EXPECT_FALSE(store.ReadOptions().sprawdzajTerminy);
    // The lock stays what the database still holds.
    EXPECT_TRUE(t.db().loginState().approvedPlanLock);
    EXPECT_EQ(param("DISALLOWEDIT"), QStringLiteral("1"));
}

TEST_F(OptionsLogicTest, LaborCodeChecksAreOnByDefaultAndFollowTheTickBox)
{
    // No file, or a file without the key: on.
    EXPECT_TRUE(store.ReadOptions().sprawdzajKodeksPracy);
    EXPECT_TRUE(ProgramOptions{}.sprawdzajKodeksPracy);
    EXPECT_TRUE(logic.Load().sprawdzajKodeksPracy);
    IniFile(iniPath).writeString(QStringLiteral("OPTIONS"), QStringLiteral("sprawdzajNotatki"),
                                 QStringLiteral("0"));
    EXPECT_TRUE(store.ReadOptions().sprawdzajKodeksPracy);

    OptionsForm f = logic.Load();
    f.sprawdzajKodeksPracy = false;
    logic.Save(f);
    EXPECT_FALSE(options.sprawdzajKodeksPracy);
    EXPECT_EQ(IniFile(iniPath).readString(QStringLiteral("OPTIONS"),
                                          QStringLiteral("sprawdzajKodeksPracy")),
              QStringLiteral("0"));
    EXPECT_FALSE(store.ReadOptions().sprawdzajKodeksPracy);
    EXPECT_FALSE(logic.Load().sprawdzajKodeksPracy);

    f.sprawdzajKodeksPracy = true;
    logic.Save(f);
    EXPECT_TRUE(store.ReadOptions().sprawdzajKodeksPracy);
}

struct PasswordCase
{
    const char* title;
    QString current;
    QString newPassword;
    QString repeated;
    Result result;
    QString message;
    QString stored; // the administrator's password afterwards
};

TEST_F(OptionsLogicTest, AdministratorPasswordChecksAndChange)
{
    const QString changed = QStringLiteral("Hasło dla administratora zostało zmienione");
    const QString wrong = QStringLiteral("Niepoprawne bieżące hasło");
    const QString initial = QStringLiteral("zefirant");
    const PasswordCase cases[] = {
        {"mismatch", initial, QStringLiteral("abcd"), QStringLiteral("abcD"), Result::Mismatch,
         kMismatch, initial},
        {"two characters", initial, QStringLiteral("ab"), QStringLiteral("ab"), Result::TooShort,
         kTooShort, initial},
        {"two characters in blanks", initial, QStringLiteral("  ab "), QStringLiteral("  ab "),
         Result::TooShort, kTooShort, initial},
        {"wrong current", QStringLiteral("Zefirant"), QStringLiteral("nowe"),
         QStringLiteral("nowe"), Result::WrongCurrent, wrong, initial},
        {"three and a blank", initial, QStringLiteral("abc "), QStringLiteral("abc "),
         Result::Changed, changed, QStringLiteral("abc ")},
        {"needs the new current one", initial, QStringLiteral("xyz"), QStringLiteral("xyz"),
         Result::WrongCurrent, wrong, QStringLiteral("abc ")},
    };
    for (const PasswordCase& c : cases) {
        t.dialogs().clear();
        EXPECT_EQ(logic.ChangeAdminPassword(c.current, c.newPassword, c.repeated), c.result)
            << c.title;
        EXPECT_EQ(t.dialogs().informationTexts(), QStringList{c.message}) << c.title;
        EXPECT_EQ(password("admin"), c.stored) << c.title;
    }
    EXPECT_EQ(t.dialogs().shown().back().caption, QStringLiteral("Informacja"));
    EXPECT_TRUE(t.db().CheckLogin(QStringLiteral("admin"), QStringLiteral("abc ")));
}

TEST_F(OptionsLogicTest, EmployeeUserPasswordNeedsNoCurrentPassword)
{
    EXPECT_EQ(logic.ChangeEmployeePassword(QStringLiteral("abc"), QStringLiteral("abd")),
              Result::Mismatch);
    EXPECT_EQ(logic.ChangeEmployeePassword(QStringLiteral(" x "), QStringLiteral(" x ")),
              Result::TooShort);
    EXPECT_EQ(password("pracownik"), QStringLiteral("pracownik"));
    EXPECT_EQ(logic.ChangeEmployeePassword(QStringLiteral("ząb"), QStringLiteral("ząb")),
              Result::Changed);
    EXPECT_EQ(t.dialogs().informationTexts(),
              (QStringList{kMismatch, kTooShort,
                           QStringLiteral("Hasło dla pracownika zostało zmienione")}));
    EXPECT_TRUE(t.db().CheckLogin(QStringLiteral("pracownik"), QStringLiteral("ząb")));
    EXPECT_EQ(password("admin"), QStringLiteral("zefirant"));

    // Without its row nothing can change, and the user is told so.
    t.exec(QStringLiteral("DELETE FROM USERS WHERE LOGIN='pracownik'"));
    t.dialogs().clear();
    EXPECT_EQ(logic.ChangeEmployeePassword(QStringLiteral("abcd"), QStringLiteral("abcd")),
              Result::NoUser);
    EXPECT_EQ(t.dialogs().shown().at(0).caption, QStringLiteral("Błąd"));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM USERS")), 1);
}

TEST_F(OptionsLogicTest, PasswordDatabaseErrorsCommitNothingAndCarryTheirCodes)
{
    keepErrorLog();
    // Longer than the column holds: the engine refuses the update.
    const QString tooLong(101, QLatin1Char('p'));
    EXPECT_EQ(logic.ChangeAdminPassword(QStringLiteral("zefirant"), tooLong, tooLong),
              Result::DatabaseError);
    EXPECT_EQ(logic.ChangeEmployeePassword(tooLong, tooLong), Result::DatabaseError);
    EXPECT_TRUE(errorLog().contains(QStringLiteral("[0000071803]")));
    EXPECT_TRUE(errorLog().contains(QStringLiteral("[0000082041]")));
    EXPECT_EQ(password("admin"), QStringLiteral("zefirant"));
    EXPECT_EQ(password("pracownik"), QStringLiteral("pracownik"));
    for (const QString& text : t.dialogs().informationTexts())
        EXPECT_FALSE(text.contains(QStringLiteral("zostało zmienione")));
}

} // namespace
} // namespace zf

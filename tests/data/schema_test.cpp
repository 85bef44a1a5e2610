// The creation script, the update scripts and the update procedure on real databases.
#include "data/databasecreation.h"
#include "data/scriptrunner.h"
#include "cipher/cipher.h"
#include "tests/support/test_database.h"
#include "tests/support/test_env.h"
#include "util/textcodec.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zf {
namespace {

const QString kPolish = QStringLiteral("Zażółć gęślą jaźń ZAŻÓŁĆ GĘŚLĄ JAŹŃ");
const QString kOldSchema = QStringLiteral("tests/data/fixtures/schema_v0.sql");

// Table, column, type and nullability of every user column, in a comparable text.
QStringList schemaOf(test::TestDatabase& t)
{
    fb::Connection c;
    c.attach(t.path(), QStringLiteral("SYSDBA"), QStringLiteral("x"));
    fb::Transaction tr(c, fb::tpb::readOnlyReadCommitted());
    tr.start();
    fb::Statement st(c, &tr);
    st.setSql(QStringLiteral(
        "SELECT TRIM(RF.RDB$RELATION_NAME) || '.' || TRIM(RF.RDB$FIELD_NAME) || ' ' || "
        "F.RDB$FIELD_TYPE || '/' || COALESCE(F.RDB$CHARACTER_LENGTH, F.RDB$FIELD_LENGTH) || "
        "' null=' || COALESCE(RF.RDB$NULL_FLAG, 0) FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F "
        "ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE JOIN RDB$RELATIONS R ON R.RDB$RELATION_NAME = "
        "RF.RDB$RELATION_NAME WHERE COALESCE(R.RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1"));
    st.execute();
    QStringList out;
    while (st.fetch())
        out << st.value(0).toString();
    tr.commit();
    return out;
}

QString writeScript(const QString& folder, int version, const QByteArray& clearText)
{
    QDir().mkpath(folder + QStringLiteral("/data"));
    const QString path = TmyDataBase::UpdateScriptPath(folder, version);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(EncryptString(clearText, kScriptCipherKey));
    return path;
}

class SchemaTest : public ::testing::Test
{
protected:
    static QStringList log(test::TestDatabase& t)
    {
        QFile f(t.db().errorLog().path());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = fromCp1250(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (QString& l : lines)
            l = l.mid(21); // without the time stamp
        return lines;
    }
    void SetUp() override
    {
        test::clearDataHome();
        QDir().mkpath(test::dataHome() + QStringLiteral("/Orvantis/Zefirant/debug"));
    }
};

TEST(ScriptStatements, EachMarkerLineEndsOneStatementAndTheTailIsDropped)
{
    const QStringList lines{QStringLiteral("CREATE TABLE A"), QStringLiteral("(X INTEGER);"),
                            QStringLiteral("/* 1 */"), QStringLiteral("/* pusta */"),
                            QStringLiteral("INSERT INTO A VALUES (1); /* w wierszu */"),
                            QStringLiteral("nigdy nie wykonane")};
    EXPECT_EQ(scriptStatements(lines),
              (QStringList{QStringLiteral("CREATE TABLE A\n(X INTEGER);\n"), QString(), QString()}));
    EXPECT_TRUE(scriptStatements({QStringLiteral("bez znacznika")}).isEmpty());
    EXPECT_EQ(decipherScript(encipherScriptText("a\r\nb\rc\n").data),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QString()}));
}

TEST_F(SchemaTest, CreationScriptGivesTheCurrentSchemaAndItsRows)
{
    test::TestDatabase t;
    const QStringList schema = schemaOf(t);
    for (const char* column :
         {"EMPLOYEES.IDEMPLOYEE", "EMPLOYEES.PWD", "EMPLOYEES.ACT", "DICTIONARY.ADDITIONAL2",
          "HOLIDAYPLANS.PLANDIR", "CALENDAR.FREEDAY", "EMPLOYEESSETTINGS.MATERNITYDAYS",
          "EMPLOYEESSETTINGS.OTHERDESCR", "EMPLOYEESSETTINGS.CHECKSUM", "UNITSTAFFING.MINSTAFF",
          "EMPLOYEEHOLIDAYS.SELECTEDDAY", "EMPLOYEECONSTDAYS.SELECTEDDAY", "SCHEDULER.OTHER",
          "SYSTEMPARAMS.IVALUE", "GLOBALNOTES.RESERVED", "USERS.LOGIN"}) {
        const QString prefix = QString::fromLatin1(column) + QLatin1Char(' ');
        EXPECT_TRUE(std::any_of(schema.begin(), schema.end(),
                                [&](const QString& c) { return c.startsWith(prefix); }))
            << column;
    }
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT IVALUE FROM SYSTEMPARAMS WHERE ID=\"DBUPDATEDTO\"")), 5);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT IVALUE FROM SYSTEMPARAMS WHERE ID='DISALLOWEDIT'")), 1);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT IVALUE FROM SYSTEMPARAMS WHERE ID='ALLOWEMPLLOGIN'")), 0);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM USERS WHERE LOGIN IN ('admin', 'pracownik')")), 2);
    EXPECT_GT(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM DICTIONARY WHERE IDTYPE='ZESPO'")), 0);
    EXPECT_GT(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM DICTIONARY WHERE IDTYPE='TERMT'")), 0);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT DESCRIPTION FROM DICTIONARY WHERE DESCRIPTION STARTING WITH 'Ksi'")),
              QStringLiteral("Księgowość"));

    // A new database is offered no update.
    EXPECT_TRUE(t.db().UpdateDatabase(2));
    EXPECT_TRUE(t.db().UpdateDatabase(4));
    EXPECT_TRUE(t.db().UpdateDatabase(5));
    EXPECT_TRUE(t.dialogs().shown().empty());
}

TEST_F(SchemaTest, PolishTextSurvivesTheDatabaseUnchanged)
{
    test::TestDatabase t;
    ASSERT_TRUE(t.db().Write(TmyDataBase::DBFUDictionary.insertSql,
                             {{QStringLiteral("IDDICTIONARY"), 500},
                              {QStringLiteral("IDTYPE"), QStringLiteral("ZESPO")},
                              {QStringLiteral("DESCRIPTION"), kPolish},
                              {QStringLiteral("ADDITIONAL1"), QString()},
                              {QStringLiteral("ADDITIONAL2"), QString()}},
                             1));
    t.db().OpenUnits();
    ASSERT_TRUE(t.db().LocateByInteger(t.db().DBFUnits, QStringLiteral("IDDICTIONARY"), 500));
    EXPECT_EQ(t.db().DBFUnits.asString(QStringLiteral("DESCRIPTION")), kPolish);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT OCTET_LENGTH(DESCRIPTION) FROM DICTIONARY WHERE IDDICTIONARY=500")),
              kPolish.size());
}

TEST_F(SchemaTest, AnOldDatabaseIsBroughtToVersionFourWithItsData)
{
    test::TestDatabase fresh;
    test::TestDatabase t(test::sourceScriptLines(kOldSchema));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, EMAIL, "
                          "FILENAME, PWD, ACT) VALUES ('001', 'Żółkiewska', 'Łucja', 1, 'l@x.pl', "
                          "'zolkiewska', 'tajne', 'T')"));
    t.exec(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2023, 5, '/plany')"));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                          "THISYEARDAYS, NURSINGDAYS, OTHERDAYS, CHECKSUM) VALUES (2023, '001', 3, "
                          "26, 2, 1, 12345)"));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                          "(2023, '001', 20230703)"));
    t.exec(QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2023, 20230101)"));

    // The program has been working: logged in, lists open, statements prepared.
    TmyDataBase& db = t.db();
    ASSERT_TRUE(db.CheckLogin(QStringLiteral("admin"), QStringLiteral("zefirant")));
    db.OpenEmployees();
    db.OpenPlans();
    db.OpenChosenDays(2023, QStringLiteral("001"));
    ASSERT_TRUE(t.dialogs().shown().empty());

    t.dialogs().answer(true);
    ASSERT_TRUE(db.UpdateDatabase(2));
    t.dialogs().answer(true);
    ASSERT_TRUE(db.UpdateDatabase(4)) << log(t).join(QLatin1Char('\n')).toStdString();
    t.dialogs().answer(true);
    ASSERT_TRUE(db.UpdateDatabase(5)) << log(t).join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(t.dialogs().allAnswersUsed());
    EXPECT_EQ(t.dialogs().questionTexts(),
              (QStringList{
                  QStringLiteral("Baza danych na której pracuje program nie została jeszcze "
                                 "zaktualizowana do wersji x.2. Czy zaktualizować ją teraz? "
                                 "Podczas aktualizacji bazy upewnij się, że żaden z użytkowników "
                                 "nie pracuje z programie Zefirant. Czy kontynuować aktualizację?"),
                  QStringLiteral("Baza danych na której pracuje program nie została jeszcze "
                                 "zaktualizowana do wersji x.4. Czy zaktualizować ją teraz? "
                                 "Podczas aktualizacji bazy upewnij się, że żaden z użytkowników "
                                 "nie pracuje z programie Zefirant. Czy kontynuować aktualizację?"),
                  QStringLiteral("Baza danych na której pracuje program nie została jeszcze "
                                 "zaktualizowana do wersji x.5. Czy zaktualizować ją teraz? "
                                 "Podczas aktualizacji bazy upewnij się, że żaden z użytkowników "
                                 "nie pracuje z programie Zefirant. Czy kontynuować aktualizację?")}));
    EXPECT_EQ(t.dialogs().informationTexts(),
              (QStringList{QStringLiteral("Baza danych została zaktualizowana poprawnie do wersji x.2."),
                           QStringLiteral("Baza danych została zaktualizowana poprawnie do wersji x.4."),
                           QStringLiteral("Baza danych została zaktualizowana poprawnie do wersji x.5.")}));
    EXPECT_EQ(log(t), (QStringList{QStringLiteral("[2000001935]  Start aktualizacji do wersji x.2."),
                                   QStringLiteral("[2000001941]  Aktualizacja zakonczona sukcesem."),
                                   QStringLiteral("[2000001935]  Start aktualizacji do wersji x.4."),
                                   QStringLiteral("[2000001941]  Aktualizacja zakonczona sukcesem."),
                                   QStringLiteral("[2000001935]  Start aktualizacji do wersji x.5."),
                                   QStringLiteral("[2000001941]  Aktualizacja zakonczona sukcesem.")}));

    EXPECT_EQ(schemaOf(t), schemaOf(fresh));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT IVALUE FROM SYSTEMPARAMS WHERE ID='DBUPDATEDTO'")), 5);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT NAME || ' ' || SURNAME FROM EMPLOYEES")),
              QStringLiteral("Łucja Żółkiewska"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT LASTYEARDAYS || '/' || THISYEARDAYS || '/' || "
                                      "NURSINGDAYS || '/' || OTHERDAYS || '/' || CHECKSUM || '/' || "
                                      "MATERNITYDAYS || '/' || OTHERDESCR || '.' FROM EMPLOYEESSETTINGS")),
              QStringLiteral("3/26/2/1/12345/0/."));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEEHOLIDAYS")), 1);

    // The module works on the updated database, including what the updates added.
    db.OpenSettings(2023, 0);
    EXPECT_EQ(db.DBFEmployeesSettings.recordCount(), 1);
    EXPECT_GT(db.GetKey(2), 0);
    db.OpenScheduler();
    EXPECT_TRUE(db.DBFScheduler.isOpen());
    // And the rules of the current schema hold: a plan takes its rows with it.
    ASSERT_TRUE(db.Write(TmyDataBase::DBFUHolidayPlans.deleteSql, {{QStringLiteral("IDYEAR"), 2023}}, 1));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEEHOLIDAYS")), 0);
}

TEST_F(SchemaTest, AVersionFourDatabaseIsBroughtToFiveWithItsDataAndThresholdsWork)
{
    test::TestDatabase fresh;
    // A version 4 database as the previous release made it: the old schema brought to 4.
    test::TestDatabase t(test::sourceScriptLines(kOldSchema));
    TmyDataBase& db = t.db();
    t.dialogs().answer(true);
    ASSERT_TRUE(db.UpdateDatabase(2));
    t.dialogs().answer(true);
    ASSERT_TRUE(db.UpdateDatabase(4));
    t.exec(QStringLiteral("INSERT INTO DICTIONARY (IDDICTIONARY, IDTYPE, DESCRIPTION) VALUES (700, 'ZESPO', 'Serwis')"));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT) VALUES ('S1', 'Ślęzak', 'Ewa', 700)"));
    t.exec(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS) VALUES (2024, 5)"));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, THISYEARDAYS, MATERNITYDAYS) VALUES (2024, 'S1', 26, 3)"));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES (2024, 'S1', 20240229)"));
    const int before = t.dialogs().questionTexts().size();

    t.dialogs().answer(true);
    ASSERT_TRUE(db.UpdateDatabase(5)) << log(t).join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(t.dialogs().questionTexts().size(), before + 1);
    EXPECT_TRUE(t.dialogs().questionTexts().back().contains(QStringLiteral("do wersji x.5. Czy")));
    EXPECT_EQ(t.dialogs().informationTexts().back(),
              QStringLiteral("Baza danych została zaktualizowana poprawnie do wersji x.5."));
    EXPECT_EQ(schemaOf(t), schemaOf(fresh));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT IVALUE FROM SYSTEMPARAMS WHERE ID='DBUPDATEDTO'")), 5);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT NAME || ' ' || SURNAME || ' ' || IDDICUNIT FROM EMPLOYEES")),
              QStringLiteral("Ewa Ślęzak 700"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT STATUS || '/' || THISYEARDAYS || '/' || MATERNITYDAYS "
                                      "FROM HOLIDAYPLANS P JOIN EMPLOYEESSETTINGS S ON S.IDYEAR=P.IDYEAR")),
              QStringLiteral("5/26/3"));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT SELECTEDDAY FROM EMPLOYEEHOLIDAYS")), 20240229);

    // The new table takes a threshold and loses it with its unit; the old statements still work.
    t.exec(QStringLiteral("INSERT INTO UNITSTAFFING (IDDICUNIT, MINSTAFF) VALUES (700, 2)"));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT MINSTAFF FROM UNITSTAFFING WHERE IDDICUNIT=700")), 2);
    t.exec(QStringLiteral("UPDATE EMPLOYEES SET IDDICUNIT=-1"));
    ASSERT_TRUE(db.Write(TmyDataBase::DBFUDictionary.deleteSql, {{QStringLiteral("KEYIDDICTIONARY"), 700}}, 1));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM UNITSTAFFING")), 0);
    // Running the update again changes nothing.
    EXPECT_TRUE(db.UpdateDatabase(5));
    QFile f105(TmyDataBase::UpdateScriptPath(test::programFolder(), 5));
    ASSERT_TRUE(f105.open(QIODevice::ReadOnly));
    EXPECT_TRUE(db.RunScript(decipherScript(f105.readAll())));
    EXPECT_EQ(schemaOf(t), schemaOf(fresh));
}

TEST_F(SchemaTest, UpdateScriptsCanRunAgainAfterAnInterruption)
{
    test::TestDatabase fresh;
    test::TestDatabase t(test::sourceScriptLines(kOldSchema));
    QFile f102(TmyDataBase::UpdateScriptPath(test::programFolder(), 2));
    ASSERT_TRUE(f102.open(QIODevice::ReadOnly));
    const QStringList lines = decipherScript(f102.readAll());
    // Only the first half of the update ran before the program stopped.
    const int half = static_cast<int>(lines.size() / 2);
    ASSERT_TRUE(t.db().RunScript(lines.mid(0, half)));
    t.dialogs().answer(true);
    ASSERT_TRUE(t.db().UpdateDatabase(2));
    t.dialogs().answer(true);
    ASSERT_TRUE(t.db().UpdateDatabase(4));
    t.dialogs().answer(true);
    ASSERT_TRUE(t.db().UpdateDatabase(5));
    ASSERT_TRUE(t.db().RunScript(lines)) << "an update run twice does no harm";
    EXPECT_EQ(schemaOf(t), schemaOf(fresh));
}

TEST_F(SchemaTest, DatabaseWithoutVersionIsAskedAboutVersionTwoFirst)
{
    test::TestDatabase t;
    t.exec(QStringLiteral("DELETE FROM SYSTEMPARAMS WHERE ID='DBUPDATEDTO'"));
    t.dialogs().answer(false);
    EXPECT_FALSE(t.db().UpdateDatabase(2));
    ASSERT_EQ(t.dialogs().questionTexts().size(), 1);
    EXPECT_TRUE(t.dialogs().questionTexts()[0].contains(QStringLiteral("do wersji x.2. Czy")));
    EXPECT_EQ(t.dialogs().shown()[0].caption, QStringLiteral("Uwaga"));
    EXPECT_EQ(t.dialogs().informationTexts(),
              QStringList{QStringLiteral("Baza danych nie została zaktualizowana. Ta wersja "
                                         "programu nie może pracować z niezaktualizowaną bazą. "
                                         "Program zostanie zamknięty.")});
    EXPECT_EQ(log(t), QStringList{QStringLiteral(
                          "[2000001091]  Administrator nie wyrazil zgody na zaktualizowanie bazy.")});
}

TEST_F(SchemaTest, DatabaseAtTwoIsAskedOnlyAboutFour)
{
    test::TestDatabase t;
    t.exec(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=2 WHERE ID='DBUPDATEDTO'"));
    EXPECT_TRUE(t.db().UpdateDatabase(2));
    EXPECT_TRUE(t.dialogs().shown().empty());
    t.dialogs().answer(true);
    EXPECT_TRUE(t.db().UpdateDatabase(4));
    EXPECT_TRUE(t.dialogs().questionTexts().value(0).contains(QStringLiteral("x.4.")));
}

TEST_F(SchemaTest, RestrictedLoginCannotUpdate)
{
    test::TestDatabase t;
    t.exec(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=2 WHERE ID='DBUPDATEDTO'"));
    t.db().setProgramFolder(t.folder()); // no scripts there: none may be read
    t.db().loginState().restricted = true;
    EXPECT_FALSE(t.db().UpdateDatabase(4));
    ASSERT_EQ(t.dialogs().shown().size(), 1u);
    EXPECT_EQ(t.dialogs().shown()[0].caption, QStringLiteral("Uwaga"));
    EXPECT_EQ(t.dialogs().shown()[0].text,
              QStringLiteral("Baza danych na której pracuje program nie została jeszcze "
                             "zaktualizowana do wersji x.4. Operację tą może wykonać tylko "
                             "administrator logując się do programu (użytkownik: \"admin\"). "
                             "Program zostanie zamknięty."));
    EXPECT_EQ(log(t), QStringList{QStringLiteral(
                          "[2000001090]  Baza moze byc zaktualizowana tylko przez administratora.")});
}

TEST_F(SchemaTest, MissingScriptIsReported)
{
    test::TestDatabase t;
    t.exec(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=2 WHERE ID='DBUPDATEDTO'"));
    t.db().setProgramFolder(t.folder());
    t.dialogs().answer(true);
    EXPECT_FALSE(t.db().UpdateDatabase(4));
    EXPECT_EQ(t.dialogs().informationTexts(),
              QStringList{QStringLiteral("Wystąpił błąd podczas wczytywania skryptów SQL.")});
    EXPECT_EQ(log(t).value(1),
              QStringLiteral("[0000142053]  Wystąpił błąd podczas wczytywania skryptów SQL."));
}

TEST_F(SchemaTest, FailingStatementStopsTheUpdateAndKeepsWhatWasCommitted)
{
    test::TestDatabase t;
    t.exec(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=2 WHERE ID='DBUPDATEDTO'"));
    QTemporaryDir program;
    writeScript(program.path(), 4,
                "CREATE TABLE KEPT (ID INTEGER)\n/* first */\n"
                "INSERT INTO NO_SUCH_TABLE VALUES (1)\n/* second */\n"
                "UPDATE SYSTEMPARAMS SET IVALUE=4 WHERE ID='DBUPDATEDTO'\n/* last */\n");
    t.db().setProgramFolder(program.path());
    t.dialogs().answer(true);
    EXPECT_FALSE(t.db().UpdateDatabase(4));
    EXPECT_EQ(t.dialogs().informationTexts().value(0),
              QStringLiteral("Aktualizacja bazy zakończyła się niepowodzeniem. Program zostanie zamknięty."));
    EXPECT_EQ(t.dialogs().shown().back().caption, QStringLiteral("Błąd"));
    const QStringList lines = log(t);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("[0000131936]  log:6 ")));
    EXPECT_EQ(lines[2], QStringLiteral("[2000001936]  Aktualizacja nie powiodla sie."));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='KEPT'")), 1);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT IVALUE FROM SYSTEMPARAMS WHERE ID='DBUPDATEDTO'")), 2);
}

TEST_F(SchemaTest, DamagedScriptIsAFailureNotASuccess)
{
    test::TestDatabase t;
    t.exec(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=2 WHERE ID='DBUPDATEDTO'"));
    QTemporaryDir program;
    QByteArray junk(4000, '\0');
    for (char& c : junk)
        c = static_cast<char>(QRandomGenerator::global()->bounded(256));
    QDir().mkpath(program.path() + QStringLiteral("/data"));
    QFile f(TmyDataBase::UpdateScriptPath(program.path(), 4));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(junk);
    f.close();
    t.db().setProgramFolder(program.path());
    t.dialogs().answer(true);
    EXPECT_FALSE(t.db().UpdateDatabase(4));
    EXPECT_EQ(t.dialogs().informationTexts().value(0),
              QStringLiteral("Aktualizacja bazy zakończyła się niepowodzeniem. Program zostanie zamknięty."));
}

TEST_F(SchemaTest, RunScriptRunsOnlyWhatASeparatorCloses)
{
    test::TestDatabase t;
    EXPECT_TRUE(t.db().RunScript({QStringLiteral("CREATE TABLE A1 (ID INTEGER)"),
                                  QStringLiteral("/* ok */"),
                                  QStringLiteral("CREATE TABLE A2 (ID INTEGER)")}));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME IN ('A1','A2')")), 1);
    // Procedure bodies keep their ":variables": they are not parameters.
    EXPECT_TRUE(t.db().RunScript({QStringLiteral("CREATE PROCEDURE P1 (X INTEGER) RETURNS (Y INTEGER) AS"),
                                  QStringLiteral("BEGIN Y = :X + 1; SUSPEND; END"),
                                  QStringLiteral("/* */")}));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT Y FROM P1(41)")), 42);
    EXPECT_FALSE(t.db().RunScript({QStringLiteral("CREATE TABLE A1 (ID INTEGER)"), QStringLiteral("/* dup */")}));
    EXPECT_TRUE(log(t).value(0).startsWith(QStringLiteral("[0000131936]  log:6 ")));
    // After a failure the next script runs normally.
    EXPECT_TRUE(t.db().RunScript({QStringLiteral("CREATE TABLE A3 (ID INTEGER)"), QStringLiteral("/* */")}));
}

TEST_F(SchemaTest, CreatorReportsTheStepThatFailed)
{
    QTemporaryDir dir;
    DatabaseCreator creator;
    const QString path = dir.path() + QStringLiteral("/c.fdb");
    auto error = creator.create(path, QStringLiteral("SYSDBA"), QStringLiteral("lanternox"),
                                {QStringLiteral("CREATE TABLE X (ID INTEGER)"), QStringLiteral("/* */"),
                                 QStringLiteral("BROKEN STATEMENT"), QStringLiteral("/* */")});
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->step, 6);
    EXPECT_TRUE(QFile::exists(path)) << "the created file stays";
    creator.DB.detach();
    // The same name again: the file exists and is not overwritten.
    error = creator.create(path, QStringLiteral("SYSDBA"), QStringLiteral("lanternox"), {});
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->step, 2);
    EXPECT_FALSE(creator.DB.isAttached());
    // A folder that does not exist.
    error = creator.create(dir.path() + QStringLiteral("/no/such/dir/x.fdb"), QStringLiteral("SYSDBA"),
                           QStringLiteral("lanternox"), {});
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->step, 2);
}

} // namespace
} // namespace zf

// The database module's helpers and shared lists on a database made by the creation script.
#include "tests/support/fixed_clock.h"
#include "tests/support/test_database.h"
#include "tests/support/test_env.h"
#include "util/dates.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace zf {
namespace {

using test::ScriptedDialogs;

class ModuleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setDateSeparator(QLatin1Char('-'));
        QDir().mkpath(db().paths().dataFolder + QStringLiteral("/debug"));
        QFile::remove(db().errorLog().path());
    }

    TmyDataBase& db() { return t.db(); }
    ScriptedDialogs& dialogs() { return t.dialogs(); }

    void addEmployee(const QString& id, const QString& surname, const QString& name,
                     int unit = -1, const QString& act = QStringLiteral("T"),
                     const QString& file = QString())
    {
        ASSERT_TRUE(db().Write(TmyDataBase::DBFUEmployees.insertSql,
                               {{QStringLiteral("IDEMPLOYEE"), id},
                                {QStringLiteral("SURNAME"), surname},
                                {QStringLiteral("NAME"), name},
                                {QStringLiteral("IDDICUNIT"), unit},
                                {QStringLiteral("EMAIL"), QString()},
                                {QStringLiteral("FILENAME"), file},
                                {QStringLiteral("PWD"), QStringLiteral("x")},
                                {QStringLiteral("ACT"), act}},
                               1))
            << dialogs().informationTexts().join(QLatin1Char('\n')).toStdString();
    }

    void addPlan(int year, int status = 1)
    {
        t.exec(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (%1, %2, '')")
                   .arg(year)
                   .arg(status));
    }

    void addToPlan(int year, const QString& id)
    {
        t.exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                              "THISYEARDAYS) VALUES (%1, '%2', 2, 26)")
                   .arg(year)
                   .arg(id));
    }

    void addDay(const char* table, int year, const QString& id, int day)
    {
        t.exec(QStringLiteral("INSERT INTO %1 (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES (%2, '%3', %4)")
                   .arg(QString::fromLatin1(table))
                   .arg(year)
                   .arg(id)
                   .arg(day));
    }

    QStringList logLines()
    {
        QFile f(db().errorLog().path());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QStringList column(fb::DataSet& list, const QString& field, bool display = false)
    {
        QStringList out;
        for (int r = 0; r < list.recordCount(); ++r)
            out << (display ? list.displayTextAt(r, list.fieldIndex(field))
                            : list.valueAt(r, list.fieldIndex(field)).toString());
        return out;
    }

    test::TestDatabase t;
};

TEST_F(ModuleTest, UnexpectedErrorIsShownAndLoggedWithItsCode)
{
    test::FixedClock clock(QDateTime(QDate(2024, 3, 5), QTime(7, 8, 9)));
    db().ReportUnexpectedError(QStringLiteral("coś nie tak"), true, 9);
    db().ReportUnexpectedError(QStringLiteral("bez prefiksu"), false, 1234567890);
    ASSERT_EQ(dialogs().shown().size(), 2u);
    EXPECT_EQ(dialogs().shown()[0].caption, QStringLiteral("Błąd"));
    EXPECT_EQ(dialogs().shown()[0].text,
              QStringLiteral("Wystąpił nieoczekiwany błąd. Orginalny komunikat: coś nie tak"));
    EXPECT_EQ(dialogs().shown()[1].text, QStringLiteral("bez prefiksu"));

    QFile f(db().errorLog().path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    // Windows-1250: "ś" is one byte 0x9C.
    EXPECT_EQ(bytes, QByteArray("2024.03.05 07:08:09  [0000000009]  co\x9c nie tak\n"
                                "2024.03.05 07:08:09  [1234567890]  bez prefiksu\n"));
}

TEST_F(ModuleTest, ALockConflictIsToldInPolishAndLoggedWithTheEnginesText)
{
    fb::Status status;
    ISC_STATUS* v = status.data();
    for (const ISC_STATUS item :
         {ISC_STATUS(isc_arg_gds), ISC_STATUS(isc_deadlock), ISC_STATUS(isc_arg_gds),
          ISC_STATUS(isc_update_conflict), ISC_STATUS(isc_arg_gds),
          ISC_STATUS(isc_concurrent_transaction), ISC_STATUS(isc_arg_number), ISC_STATUS(77)})
        *v++ = item;
    *v = isc_arg_end;
    const fb::Error conflict = status.error();
    ASSERT_TRUE(conflict.message().contains(QLatin1Char('\n')));

    // The windows pass on the text, the module's own paths the error itself.
    db().ReportUnexpectedError(conflict.message(), true, 4102);
    db().ReportUnexpectedError(conflict.message(), false, 4103);
    db().ReportUnexpectedError(conflict, 4104);
    db().ReportUnexpectedError(fb::Error(QStringLiteral("inny błąd"), -803, 0), 4105);
    ASSERT_EQ(dialogs().shown().size(), 4u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(dialogs().shown()[i].caption, QStringLiteral("Błąd"));
        EXPECT_EQ(dialogs().shown()[i].text,
                  QStringLiteral("Inny użytkownik zmienia w tej chwili te same dane. Spróbuj "
                                 "ponownie."));
    }
    EXPECT_EQ(dialogs().shown()[3].text,
              QStringLiteral("Wystąpił nieoczekiwany błąd. Orginalny komunikat: inny błąd"));

    // The log keeps what the engine said, on one line per report.
    const QStringList lines = logLines();
    ASSERT_EQ(lines.size(), 4) << lines.join(QLatin1Char('|')).toStdString();
    const QString engine = QString(conflict.message()).replace(QLatin1Char('\n'), QLatin1Char(' '));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(lines[i].endsWith(QStringLiteral("[000000410%1]  ").arg(i + 2) + engine))
            << lines[i].toStdString();
    EXPECT_TRUE(lines[3].contains(QStringLiteral("[0000004105]  inny b")))
        << lines[3].toStdString();
}

TEST_F(ModuleTest, ErrorLogNeverCreatesItsFolderNorFails)
{
    QDir(db().paths().dataFolder + QStringLiteral("/debug")).removeRecursively();
    db().WriteErrorLog(QStringLiteral("lost"));
    EXPECT_FALSE(QFile::exists(db().errorLog().path()));
}

TEST_F(ModuleTest, ReadOrCreateParamInsertsTheDefaultOnce)
{
    t.exec(QStringLiteral("DELETE FROM SYSTEMPARAMS WHERE ID='DISALLOWEDIT'"));
    EXPECT_EQ(db().ReadOrCreateParam(QStringLiteral("DISALLOWEDIT"), 1), 1);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT IVALUE FROM SYSTEMPARAMS WHERE ID='DISALLOWEDIT'")), 1);
    t.exec(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=0 WHERE ID='DISALLOWEDIT'"));
    EXPECT_EQ(db().ReadOrCreateParam(QStringLiteral("DISALLOWEDIT"), 1), 0);
    EXPECT_TRUE(dialogs().shown().empty());
}

TEST_F(ModuleTest, GetKeyHandsOutNewKeysPerGeneratorType)
{
    const int a = db().GetKey(1);
    const int b = db().GetKey(1);
    const int c = db().GetKey(2);
    EXPECT_GT(a, 0);
    EXPECT_GT(b, a);
    EXPECT_GT(c, 0);
    // Keys of type 1 never collide with the dictionary rows the creation script wrote.
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM DICTIONARY WHERE IDDICTIONARY >= %1").arg(a)), 0);

    db().Disconnect();
    EXPECT_EQ(db().GetKey(1), -1);
    ASSERT_EQ(dialogs().shown().size(), 1u);
    EXPECT_TRUE(logLines().value(0).contains(QStringLiteral("[0000079001]")));
}

TEST_F(ModuleTest, RecordExistsCountsAFailureAsFound)
{
    addEmployee(QStringLiteral("001"), QStringLiteral("Kowalski"), QStringLiteral("Jan"));
    EXPECT_TRUE(db().RecordExists(QStringLiteral("001"), QStringLiteral("EMPLOYEES"),
                                  QStringLiteral("IDEMPLOYEE")));
    EXPECT_FALSE(db().RecordExists(QStringLiteral("002"), QStringLiteral("EMPLOYEES"),
                                   QStringLiteral("IDEMPLOYEE")));
    EXPECT_TRUE(db().RecordExists(QStringLiteral("x"), QStringLiteral("NO_TABLE"),
                                  QStringLiteral("IDEMPLOYEE")));
    EXPECT_TRUE(dialogs().shown().empty()) << "a failed look-up is silent";
}

TEST_F(ModuleTest, SetPlanStatusTurnsTwoIntoSixOnceGenerated)
{
    addPlan(2024, 4);
    addPlan(2025, 1);
    db().SetPlanStatus(2024, 2);
    db().SetPlanStatus(2025, 2);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT STATUS FROM HOLIDAYPLANS WHERE IDYEAR=2024")), 6);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT STATUS FROM HOLIDAYPLANS WHERE IDYEAR=2025")), 2);
    db().SetPlanStatus(2025, 5);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT STATUS FROM HOLIDAYPLANS WHERE IDYEAR=2025")), 5);
}

TEST_F(ModuleTest, ChosenDaysTextTakesOneMonthOrAll)
{
    addEmployee(QStringLiteral("7"), QStringLiteral("Nowak"), QStringLiteral("Anna"));
    addPlan(2024);
    addToPlan(2024, QStringLiteral("7"));
    for (int d : {20240402, 20240215, 20240311, 20240305})
        addDay("EMPLOYEEHOLIDAYS", 2024, QStringLiteral("7"), d);
    EXPECT_EQ(db().ChosenDaysText(2024, QStringLiteral("7"), 3),
              QStringLiteral("05-03-2024\r11-03-2024"));
    EXPECT_EQ(db().ChosenDaysText(2024, QStringLiteral("7"), 0),
              QStringLiteral("15-02-2024\r05-03-2024\r11-03-2024\r02-04-2024"));
    EXPECT_EQ(db().ChosenDaysText(2024, QStringLiteral("7"), 6), QString());
    EXPECT_EQ(db().CountChosenDays(2024, QStringLiteral("7")), 4);
    EXPECT_EQ(db().CountChosenDays(2024, QStringLiteral("nobody")), 0);
}

TEST_F(ModuleTest, CheckLoginKnowsUsersAndAllowedEmployees)
{
    addEmployee(QStringLiteral("E1"), QStringLiteral("Nowak"), QStringLiteral("Anna"));
    EXPECT_TRUE(db().CheckLogin(QStringLiteral("admin"), QStringLiteral("zefirant")));
    EXPECT_TRUE(db().loginState().employee.isEmpty());
    EXPECT_TRUE(db().CheckLogin(QStringLiteral("pracownik"), QStringLiteral("pracownik")));
    // The engine compares as SQL does: trailing blanks do not count, letter case does.
    EXPECT_TRUE(db().CheckLogin(QStringLiteral("admin"), QStringLiteral("zefirant ")));
    EXPECT_FALSE(db().CheckLogin(QStringLiteral("admin"), QStringLiteral(" zefirant")));
    EXPECT_FALSE(db().CheckLogin(QStringLiteral("Admin"), QStringLiteral("zefirant")));
    // Employees only when the administrator allows it.
    EXPECT_FALSE(db().CheckLogin(QStringLiteral("E1"), QStringLiteral("x")));
    t.exec(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE=1 WHERE ID='ALLOWEMPLLOGIN'"));
    EXPECT_FALSE(db().CheckLogin(QStringLiteral("E1"), QStringLiteral("wrong")));
    EXPECT_TRUE(db().CheckLogin(QStringLiteral("E1"), QStringLiteral("x")));
    EXPECT_EQ(db().loginState().employee, QStringLiteral("E1"));
    EXPECT_TRUE(db().CheckLogin(QStringLiteral("admin"), QStringLiteral("zefirant")));
    EXPECT_TRUE(db().loginState().employee.isEmpty());
    t.exec(QStringLiteral("DELETE FROM SYSTEMPARAMS WHERE ID='ALLOWEMPLLOGIN'"));
    EXPECT_FALSE(db().CheckLogin(QStringLiteral("E1"), QStringLiteral("x")));

    db().Disconnect();
    EXPECT_FALSE(db().CheckLogin(QStringLiteral("admin"), QStringLiteral("zefirant")));
    EXPECT_TRUE(logLines().value(0).contains(QStringLiteral("[0000261819]")));
}

TEST_F(ModuleTest, EmployeesListShowsItsDisplayTextsAndSortsPolishNames)
{
    const int unit = db().GetKey(1);
    t.exec(QStringLiteral("INSERT INTO DICTIONARY VALUES (%1, 'ZESPO', 'Księgowość', '', '')").arg(unit));
    addEmployee(QStringLiteral("1"), QStringLiteral("Łukasiewicz"), QStringLiteral("Łucja"), unit);
    addEmployee(QStringLiteral("2"), QStringLiteral("Lis"), QStringLiteral("Lucyna"), -1,
                QStringLiteral("N"), QStringLiteral("lis"));
    addEmployee(QStringLiteral("3"), QStringLiteral("Mazur"), QStringLiteral("Marek"), 999999);
    addEmployee(QStringLiteral("4"), QStringLiteral("Zając"), QStringLiteral("Żaneta"));
    addEmployee(QStringLiteral("5"), QStringLiteral("Zieliński"), QStringLiteral("Zenon"));

    db().OpenEmployees();
    auto& list = db().DBFEmployees;
    EXPECT_EQ(column(list, QStringLiteral("NAME_O")),
              (QStringList{QStringLiteral("Lucyna Lis"), QStringLiteral("Łucja Łukasiewicz"),
                           QStringLiteral("Marek Mazur"), QStringLiteral("Zenon Zieliński"),
                           QStringLiteral("Żaneta Zając")}));
    EXPECT_EQ(column(list, QStringLiteral("ACT"), true),
              (QStringList{QStringLiteral("T"), QString(), QString(), QString(), QString()}));
    EXPECT_EQ(column(list, QStringLiteral("FILENAME"), true).first(), QStringLiteral("lis.zfpn"));
    EXPECT_EQ(column(list, QStringLiteral("FILENAME"), true).at(1), QString());
    // A unit that does not exist shows as an empty text.
    EXPECT_EQ(column(list, QStringLiteral("UNIT_O")),
              (QStringList{QString(), QStringLiteral("Księgowość"), QString(), QString(), QString()}));

    db().SortEmployeesBy(QStringLiteral("NAME_O"));
    EXPECT_FALSE(db().employeesSortAscending);
    EXPECT_EQ(list.asString(QStringLiteral("NAME_O")), QStringLiteral("Żaneta Zając"));
    db().SortEmployeesBy(QStringLiteral("IDEMPLOYEE"));
    EXPECT_EQ(db().employeesSortColumn, QStringLiteral("IDEMPLOYEE"));
    EXPECT_FALSE(db().employeesSortAscending) << "another column keeps the direction";
    EXPECT_EQ(list.asString(QStringLiteral("IDEMPLOYEE")), QStringLiteral("5"));
    db().SortEmployeesBy(QStringLiteral("SURNAME; DROP TABLE EMPLOYEES"));
    EXPECT_EQ(db().employeesSortColumn, QStringLiteral("IDEMPLOYEE"));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEES")), 5);
}

TEST_F(ModuleTest, PlanListsFilterByUnitAndEmployee)
{
    const int unit = db().GetKey(1);
    addEmployee(QStringLiteral("1"), QStringLiteral("Adamska"), QStringLiteral("Ewa"), unit);
    addEmployee(QStringLiteral("2"), QStringLiteral("Bednarz"), QStringLiteral("Piotr"));
    addEmployee(QStringLiteral("3"), QStringLiteral("Cichy"), QStringLiteral("Jan"), unit);
    addEmployee(QStringLiteral("4"), QStringLiteral("Dudek"), QStringLiteral("Ola"), unit,
                QStringLiteral("N"));
    addPlan(2024);
    addToPlan(2024, QStringLiteral("1"));
    addToPlan(2024, QStringLiteral("2"));

    db().OpenSettings(2024, 0);
    EXPECT_EQ(column(db().DBFEmployeesSettings, QStringLiteral("IDEMPLOYEE")),
              (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(db().DBFEmployeesSettings.asString(QStringLiteral("EMPLOYEE")),
              QStringLiteral("Ewa Adamska (1)"));
    db().OpenSettings(2024, unit);
    EXPECT_EQ(column(db().DBFEmployeesSettings, QStringLiteral("IDEMPLOYEE")),
              QStringList{QStringLiteral("1")});
    db().OpenSettingsBatch(2024);
    EXPECT_EQ(db().DBFEmployeesSettingsBatch.recordCount(), 2);

    // Outside the plan: active employees only.
    db().OpenOutsidePlan(2024, 0);
    EXPECT_EQ(column(db().DBFEmplOutsidePlan, QStringLiteral("IDEMPLOYEE")),
              QStringList{QStringLiteral("3")});
    db().OpenOutsidePlan(2025, unit);
    EXPECT_EQ(column(db().DBFEmplOutsidePlan, QStringLiteral("IDEMPLOYEE")),
              (QStringList{QStringLiteral("1"), QStringLiteral("3")}));

    db().OpenSummary(2024, 0, QStringLiteral("2"));
    EXPECT_EQ(column(db().DBFZest, QStringLiteral("IDEMPLOYEE")), QStringList{QStringLiteral("2")});
    db().OpenSummary(2024, unit, QStringLiteral("  "));
    EXPECT_EQ(column(db().DBFZest, QStringLiteral("IDEMPLOYEE")), QStringList{QStringLiteral("1")});

    db().OpenSingleSettings(2024, QStringLiteral("2"));
    ASSERT_EQ(db().DBFSingleEmployeeSettings.recordCount(), 1);
    EXPECT_EQ(db().DBFSingleEmployeeSettings.asInteger(QStringLiteral("THISYEARDAYS")), 26);
    EXPECT_TRUE(dialogs().shown().empty());
}

TEST_F(ModuleTest, DayListsHideNonWorkingDays)
{
    addEmployee(QStringLiteral("1"), QStringLiteral("Adamska"), QStringLiteral("Ewa"));
    addPlan(2024, 5);
    addToPlan(2024, QStringLiteral("1"));
    t.exec(QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2024, 20240101)"));
    t.exec(QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2024, 20240506)"));
    for (int d : {20240101, 20240102, 20240103})
        addDay("EMPLOYEEHOLIDAYS", 2024, QStringLiteral("1"), d);
    addDay("EMPLOYEECONSTDAYS", 2024, QStringLiteral("1"), 20240101);
    addDay("EMPLOYEECONSTDAYS", 2024, QStringLiteral("1"), 20240103);

    db().OpenChosenDays(2024, QStringLiteral("1"));
    EXPECT_EQ(column(db().DBFEmployeeHolidays, QStringLiteral("SELECTEDDAY")),
              (QStringList{QStringLiteral("20240102"), QStringLiteral("20240103")}));
    db().OpenFixedDays(2024, QStringLiteral("1"));
    EXPECT_EQ(column(db().DBFEmployeeConstDays, QStringLiteral("SELECTEDDAY")),
              QStringList{QStringLiteral("20240103")});
    // The text of chosen days does not hide them.
    EXPECT_EQ(db().CountChosenDays(2024, QStringLiteral("1")), 3);

    db().OpenCalendar(2024);
    EXPECT_EQ(column(db().DBFCalendar, QStringLiteral("FREEDAY"), true),
              (QStringList{QStringLiteral("01-01-2024 Pn"), QStringLiteral("06-05-2024 Pn")}));
    db().OpenPlans();
    EXPECT_EQ(db().DBFHolidayPlans.asString(QStringLiteral("PLANNAME")),
              QStringLiteral("Plan urlopowy na rok 2024"));
    EXPECT_EQ(db().DBFHolidayPlans.displayText(QStringLiteral("STATUS")),
              QStringLiteral("Grafik zatwierdzony"));
}

TEST_F(ModuleTest, DeadlineCheckTakesTheWindowAboveLowerUpToUpper)
{
    const int kind = db().GetKey(1);
    t.exec(QStringLiteral("INSERT INTO DICTIONARY VALUES (%1, 'TERMT', 'Badania', '', '')").arg(kind));
    int id = 100;
    for (int d : {20240317, 20240318, 20240308, 20240307, 0}) {
        t.exec(QStringLiteral("INSERT INTO SCHEDULER (IDTERM, IDDICCLASS, DATESINCE, IDEMPLOYEE, "
                              "DESCRIPTION, OTHER, ACT) VALUES (%1, %2, %3, 'x', 'd', '', 'T')")
                   .arg(id++)
                   .arg(kind)
                   .arg(d));
    }
    t.exec(QStringLiteral("INSERT INTO SCHEDULER (IDTERM, IDDICCLASS, DATESINCE, IDEMPLOYEE, "
                          "DESCRIPTION, OTHER, ACT) VALUES (200, 0, 20240310, '', '', '', 'N')"));
    db().OpenDeadlineCheck(20240317, 20240307);
    EXPECT_EQ(column(db().DBFCheckScheduler, QStringLiteral("DATESINCE"), true),
              (QStringList{QStringLiteral("17-03-2024"), QStringLiteral("08-03-2024")}));
    EXPECT_EQ(db().DBFCheckScheduler.asString(QStringLiteral("CLASSNAME")), QStringLiteral("Badania"));

    db().OpenScheduler();
    EXPECT_EQ(db().DBFScheduler.recordCount(), 6);
    EXPECT_EQ(db().DBFScheduler.displayText(QStringLiteral("DATESINCE")), QString());
    db().SortSchedulerBy(QStringLiteral("DATESINCE"));
    EXPECT_EQ(db().DBFScheduler.displayText(QStringLiteral("DATESINCE")), QStringLiteral("18-03-2024"));
    EXPECT_EQ(db().DBFScheduler.displayText(QStringLiteral("SACT")), QStringLiteral("T"));
}

TEST_F(ModuleTest, WriteRollsBackAndLetsTheCallerClaimAnError)
{
    addEmployee(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("B"));
    int claimedCode = 0;
    const Params dup{{QStringLiteral("IDEMPLOYEE"), QStringLiteral("1")},
                     {QStringLiteral("SURNAME"), QStringLiteral("C")},
                     {QStringLiteral("NAME"), QStringLiteral("D")},
                     {QStringLiteral("IDDICUNIT"), -1},
                     {QStringLiteral("EMAIL"), QString()},
                     {QStringLiteral("FILENAME"), QString()},
                     {QStringLiteral("PWD"), QString()},
                     {QStringLiteral("ACT"), QStringLiteral("T")}};
    EXPECT_FALSE(db().Write(TmyDataBase::DBFUEmployees.insertSql, dup, 42,
                            [&](const fb::Error& e) {
                                claimedCode = e.sqlCode();
                                return e.isDuplicateKey();
                            }));
    EXPECT_EQ(claimedCode, -803);
    EXPECT_TRUE(dialogs().shown().empty());
    EXPECT_FALSE(db().DBFTransaction.isActive());

    EXPECT_FALSE(db().Write(TmyDataBase::DBFUEmployees.insertSql, dup, 42));
    ASSERT_EQ(dialogs().shown().size(), 1u);
    EXPECT_TRUE(logLines().value(0).contains(QStringLiteral("[0000000042]")));
}

TEST_F(ModuleTest, LocateMovesToTheFirstMatchOrTheEnd)
{
    for (int i = 1; i <= 3; ++i)
        addEmployee(QString::number(i), QStringLiteral("S%1").arg(i), QStringLiteral("N"));
    db().OpenEmployees();
    auto& list = db().DBFEmployees;
    EXPECT_TRUE(db().LocateByText(list, QStringLiteral("SURNAME"), QStringLiteral("S2")));
    EXPECT_EQ(list.asString(QStringLiteral("IDEMPLOYEE")), QStringLiteral("2"));
    EXPECT_FALSE(db().LocateByText(list, QStringLiteral("SURNAME"), QStringLiteral("s2")));
    EXPECT_TRUE(list.eof());
    EXPECT_TRUE(db().LocateByInteger(list, QStringLiteral("IDDICUNIT"), -1));
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_FALSE(db().LocateByInteger(list, QStringLiteral("NOFIELD"), 1));
    EXPECT_TRUE(logLines().value(0).contains(QStringLiteral("[0000002030]")));
}

TEST_F(ModuleTest, EveryListCanBeReopenedBeforeItsFirstOpening)
{
    for (fb::DataSet* list : {&db().DBFEmployees, &db().DBFScheduler, &db().DBFUnits,
                              &db().DBFHolidayPlans, &db().DBFTermClass, &db().DBFEmployeesPrompt}) {
        db().Reopen(*list);
        EXPECT_TRUE(list->isOpen()) << list->name().toStdString();
    }
    EXPECT_TRUE(dialogs().shown().empty());
}

TEST_F(ModuleTest, ListErrorsAreReportedWithTheirCodes)
{
    db().Disconnect();
    db().OpenPlans();
    db().OpenEmployees();
    db().Reopen(db().DBFCalendar);
    const QStringList log = logLines();
    ASSERT_EQ(log.size(), 3);
    EXPECT_TRUE(log[0].contains(QStringLiteral("[0000041700]")));
    EXPECT_TRUE(log[1].contains(QStringLiteral("[0000009001]")));
    EXPECT_TRUE(log[2].contains(QStringLiteral("[0000702011]")));
    EXPECT_TRUE(log[2].endsWith(QStringLiteral(" DBFCalendar")));
    // Reopen reports the message alone, without the prefix.
    EXPECT_FALSE(dialogs().shown().back().text.startsWith(QStringLiteral("Wystąpił")));
    EXPECT_FALSE(db().DBFHolidayPlans.isOpen());
}

TEST_F(ModuleTest, SchemaRulesKeepPlansAndEmployeesConsistent)
{
    addEmployee(QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("B"));
    addEmployee(QStringLiteral("2"), QStringLiteral("C"), QStringLiteral("D"));
    addPlan(2024);
    addPlan(2025);
    for (int year : {2024, 2025}) {
        addToPlan(year, QStringLiteral("1"));
        t.exec(QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (%1, %2)")
                   .arg(year)
                   .arg(year * 10000 + 101));
        addDay("EMPLOYEEHOLIDAYS", year, QStringLiteral("1"), year * 10000 + 102);
        addDay("EMPLOYEECONSTDAYS", year, QStringLiteral("1"), year * 10000 + 102);
    }

    // A plan takes its year's rows with it.
    ASSERT_TRUE(db().Write(TmyDataBase::DBFUHolidayPlans.deleteSql, {{QStringLiteral("IDYEAR"), 2024}}, 1));
    for (const char* table : {"CALENDAR", "EMPLOYEESSETTINGS", "EMPLOYEEHOLIDAYS", "EMPLOYEECONSTDAYS"}) {
        EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE IDYEAR=2024").arg(QString::fromLatin1(table))), 0) << table;
        EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE IDYEAR=2025").arg(QString::fromLatin1(table))), 1) << table;
    }

    // An employee who takes part in a plan cannot be deleted.
    const Params key1{{QStringLiteral("KEYIDEMPLOYEE"), QStringLiteral("1")}};
    EXPECT_FALSE(db().Write(TmyDataBase::DBFUEmployees.deleteSql, key1, 1));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEES WHERE IDEMPLOYEE='1'")), 1);

    // Renumbering carries his plan rows along.
    ASSERT_TRUE(db().Write(TmyDataBase::DBFUEmployees.updateSql,
                           {{QStringLiteral("IDEMPLOYEE"), QStringLiteral("1A")},
                            {QStringLiteral("SURNAME"), QStringLiteral("A")},
                            {QStringLiteral("NAME"), QStringLiteral("B")},
                            {QStringLiteral("IDDICUNIT"), -1},
                            {QStringLiteral("FILENAME"), QString()},
                            {QStringLiteral("EMAIL"), QString()},
                            {QStringLiteral("PWD"), QString()},
                            {QStringLiteral("ACT"), QStringLiteral("T")},
                            {QStringLiteral("KEYIDEMPLOYEE"), QStringLiteral("1")}},
                           1));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEEHOLIDAYS WHERE IDEMPLOYEE='1A'")), 1);

    // Leaving a plan keeps his days; they are there again when he comes back.
    ASSERT_TRUE(db().Write(TmyDataBase::DBFUEmployeesSettings.deleteSql,
                           {{QStringLiteral("IDYEAR"), 2025}, {QStringLiteral("IDEMPLOYEE"), QStringLiteral("1A")}}, 1));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEEHOLIDAYS WHERE IDEMPLOYEE='1A'")), 1);

    // In no plan any more, he can be deleted, and his leftover days go with him.
    ASSERT_TRUE(db().Write(TmyDataBase::DBFUEmployees.deleteSql,
                           {{QStringLiteral("KEYIDEMPLOYEE"), QStringLiteral("1A")}}, 1));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEEHOLIDAYS")), 0);
}

TEST(TextHelpers, BehaveOnEdgeCases)
{
    EXPECT_EQ(text::TrimLength(QStringLiteral("  ab ")), 2);
    EXPECT_EQ(text::TrimLength(QStringLiteral("   ")), 0);
    EXPECT_EQ(text::ReplaceFirst(QStringLiteral("a;b;c"), QStringLiteral(";"), QStringLiteral(",")),
              QStringLiteral("a,b;c"));
    EXPECT_EQ(text::ReplaceFirst(QStringLiteral("abc"), QString(), QStringLiteral("x")),
              QStringLiteral("abc"));
    EXPECT_EQ(text::ReplaceChar(QStringLiteral("a\"b\""), QLatin1Char('"'), QLatin1Char('\'')),
              QStringLiteral("a'b'"));
    EXPECT_EQ(text::ExcludeTrailingSeparator(QStringLiteral("/a/b/")), QStringLiteral("/a/b"));
    EXPECT_EQ(text::ExcludeTrailingSeparator(QString()), QString());
    EXPECT_TRUE(text::DirectoryExists(QDir::tempPath()));
    EXPECT_FALSE(text::DirectoryExists(QString()));
    EXPECT_EQ(PlanStatusName(6), QStringLiteral("Zmieniono konfigurację grafiku"));
    EXPECT_EQ(PlanStatusName(0), QString());
    EXPECT_EQ(PlanStatusName(7), QString());
}

} // namespace
} // namespace zf

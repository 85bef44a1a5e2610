// Writing leave-plan files on a real embedded database: the files' bytes, the whole plan read at
// once or a few employees one by one, and the refusals that protect the files.
#include "tests/planfiles/planfiles_fixture.h"
#include "tests/util/print.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace zf {
namespace {

using test::PlanFilesTest;

TEST_F(PlanFilesTest, ExportWritesTheDatabaseValuesWithoutNonWorkingDays)
{
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(exportAll(x));
    EXPECT_TRUE(messages().isEmpty()) << messages().join(QLatin1Char('|')).toStdString();
    PlanFileContent a;
    a.year = 2024;
    a.employeeKey = QStringLiteral("A1");
    a.name = QStringLiteral("Adam");
    a.surname = QStringLiteral("Adamski");
    a.password = QStringLiteral("pa");
    a.lastYearDays = 3;
    a.thisYearDays = 26;
    a.stamp = 11;
    a.freeDays = {20240101, 20240501};
    a.comment = QStringLiteral("Uwagi");
    a.checkRange = true;
    a.selectedDays = {20240301, 20240702};
    a.unchangeableDays = {20241224};
    EXPECT_EQ(clearText("adam"), BuildPlanFileText(a));
    QByteArray bytes;
    ASSERT_TRUE(ReadPlanFileBytes(path("cezary"), bytes));
    EXPECT_EQ(static_cast<unsigned char>(bytes.at(0)), 0xAA);
    EXPECT_EQ(x.lastRun().done, 3);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT STATUS FROM HOLIDAYPLANS WHERE IDYEAR=2024")), 2)
        << "the caller advances the status, not the export";

    // Without days the lists are empty even for employees with chosen days.
    ASSERT_TRUE(exportAll(x, false));
    EXPECT_TRUE(clearText("adam").contains("<SELECTEDDAYS></SELECTEDDAYS><UNCHANGEABLEDAYS>"
                                           "</UNCHANGEABLEDAYS>"));
}

// A run of many employees reads the whole plan at once, a run of a few and a single employee's
// file read each employee on their own. All give the same bytes, with days of other years, other
// employees and non-working days left out.
TEST_F(PlanFilesTest, ARunWritesTheSameFilesAsEachEmployeeWrittenAlone)
{
    t.exec(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2023, 2, "
                          "'%1/')")
               .arg(folder.path()));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                          "THISYEARDAYS, CHECKSUM) VALUES (2023, 'A1', 9, 9, 9)"));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                          "(2023, 'A1', 20230606)"));
    for (const char* day : {"20240103", "20240102", "20240110"})
        t.exec(QStringLiteral("INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) "
                              "VALUES (2024, 'C3', %1)")
                   .arg(QString::fromLatin1(day)));
    // Enough others for a run of all to read the whole plan.
    QStringList all = {QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3")};
    for (int i = 0; i < 20; ++i) {
        const QString key = QStringLiteral("Z%1").arg(i);
        t.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, NAME, SURNAME, FILENAME, PWD) "
                              "VALUES ('%1', 'Inny', 'Pracownik', 'inny%1', 'x')")
                   .arg(key));
        t.exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                              "THISYEARDAYS, CHECKSUM) VALUES (2024, '%1', 0, 20, 1)")
                   .arg(key));
        t.exec(QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) "
                              "VALUES (2024, '%1', 20240304)")
                   .arg(key));
        all << key;
    }
    const QStringList names = {QStringLiteral("adam"), QStringLiteral("beata"),
                               QStringLiteral("cezary"), QStringLiteral("innyZ0"),
                               QStringLiteral("innyZ19")};
    const QStringList keys = {QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3"),
                              QStringLiteral("Z0"), QStringLiteral("Z19")};
    const auto written = [&] {
        QList<QByteArray> texts;
        for (const QString& name : names)
            texts << clearText(name.toLatin1().constData());
        return texts;
    };
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(x.WritePlanFiles(all, QStringLiteral("Uwagi"), true, true));
    const QList<QByteArray> together = written();
    EXPECT_TRUE(together.at(2).contains("<UNCHANGEABLEDAYS><DAY>20240102</DAY><DAY>20240103"
                                        "</DAY><DAY>20240110</DAY></UNCHANGEABLEDAYS>"))
        << together.at(2).toStdString();
    EXPECT_TRUE(together.at(4).contains("<SELECTEDDAYS><DAY>20240304</DAY></SELECTEDDAYS>"));

    for (const QString& name : names)
        ASSERT_TRUE(QFile::remove(path(name.toLatin1().constData())));
    ASSERT_TRUE(x.WritePlanFiles(keys, QStringLiteral("Uwagi"), true, true));
    EXPECT_EQ(written(), together) << "a few read one by one";

    ASSERT_TRUE(x.LoadPlanSettings(QStringLiteral("Uwagi"), true));
    for (const QString& key : keys)
        ASSERT_TRUE(x.WriteEmployeeFile(key, true));
    EXPECT_EQ(written(), together) << "each alone";
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(QDir(folder.path())
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                  .size(),
              all.size())
        << "no temporary left behind";
}

// A few chosen employees, one of them taken out of the plan meanwhile: the files before it are
// written and the run stops at it with the message, as a run of the whole plan does.
TEST_F(PlanFilesTest, AFewChosenStopAtOneNoLongerInThePlan)
{
    t.exec(QStringLiteral("DELETE FROM EMPLOYEESSETTINGS WHERE IDYEAR=2024 AND IDEMPLOYEE='B2'"));
    TWorkingWithXML x(t.db(), 2024);
    EXPECT_FALSE(exportAll(x));
    EXPECT_TRUE(QFile::exists(path("adam")));
    EXPECT_FALSE(QFile::exists(path("beata")));
    EXPECT_FALSE(QFile::exists(path("cezary")));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(x.lastRun().done, 1);
    EXPECT_EQ(x.lastRun().stoppedAt, QStringLiteral("B2"));
}

TEST_F(PlanFilesTest, ExportRefusesAMissingFolderAndWritesNothing)
{
    t.exec(QStringLiteral("UPDATE HOLIDAYPLANS SET PLANDIR='%1/brak' WHERE IDYEAR=2024")
               .arg(folder.path()));
    TWorkingWithXML x(t.db(), 2024);
    EXPECT_FALSE(exportAll(x));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages().at(0),
              QStringLiteral("Niepoprawna ścieżka zapisu generowanych planów. Sprawdź "
                             "dostępność ścieżki: ") +
                  folder.path() + QStringLiteral("/brak"));
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(PlanFilesTest, ExportKeepsFilesInsideTheFolderAndRefusesCaseTwins)
{
    t.exec(QStringLiteral("UPDATE EMPLOYEES SET FILENAME='../ucieczka' WHERE IDEMPLOYEE='B2'"));
    TWorkingWithXML x(t.db(), 2024);
    EXPECT_FALSE(exportAll(x));
    EXPECT_TRUE(messages().value(0).startsWith(QStringLiteral("Zapis do pliku nie powiódł się.")));
    EXPECT_FALSE(QFile::exists(folder.path() + QStringLiteral("/../ucieczka.zfpn")));
    EXPECT_TRUE(QFile::exists(path("adam"))) << "files before the failure stay";
    EXPECT_FALSE(QFile::exists(path("cezary"))) << "the run stops at the failure";
    EXPECT_EQ(x.lastRun().stoppedAt, QStringLiteral("Beata Bednarz (B2)"));

    QFile::remove(path("adam"));
    t.dialogs().clear();
    t.exec(QStringLiteral("UPDATE EMPLOYEES SET FILENAME='ADAM' WHERE IDEMPLOYEE='B2'"));
    EXPECT_FALSE(exportAll(x));
    EXPECT_EQ(messages().size(), 1);
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty())
        << "nothing is written when two names differ only in case";
}

TEST_F(PlanFilesTest, ExportRefusesValuesThatWouldNotReadBackNamingTheEmployee)
{
    TWorkingWithXML x(t.db(), 2024);
    EXPECT_FALSE(x.WritePlanFiles({QStringLiteral("A1")},
                                  QStringLiteral("<SELECTEDDAYS></SELECTEDDAYS>"), true, false));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().at(0).contains(QStringLiteral("Adam Adamski (A1)")));
    EXPECT_TRUE(messages().at(0).contains(QStringLiteral("Komentarz")));
    EXPECT_FALSE(QFile::exists(path("adam")));

    // A tag of a later element without "</" would break reading too.
    t.dialogs().clear();
    EXPECT_FALSE(x.WritePlanFiles({QStringLiteral("A1")}, QStringLiteral("<SELECTEDDAYS><DAY>"),
                                  true, false));
    EXPECT_TRUE(messages().value(0).contains(QStringLiteral("Adam Adamski (A1)")));
    EXPECT_FALSE(QFile::exists(path("adam")));
}

TEST_F(PlanFilesTest, ExportOfAnEmployeeNoLongerInThePlanFailsWithoutAnotherOnesData)
{
    t.exec(QStringLiteral("DELETE FROM EMPLOYEESSETTINGS WHERE IDEMPLOYEE='B2'"));
    TWorkingWithXML x(t.db(), 2024);
    EXPECT_FALSE(exportAll(x));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().at(0).contains(QStringLiteral("B2")));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("adam.zfpn")});
}

TEST_F(PlanFilesTest, CancelledExportLeavesWholeFilesOfTheEmployeesDone)
{
    TWorkingWithXML x(t.db(), 2024);
    QStringList seen;
    x.setProgress([&](int index, int total, const QString& employee) {
        EXPECT_EQ(total, 3);
        seen << employee;
        return index < 1;
    });
    EXPECT_FALSE(exportAll(x));
    EXPECT_TRUE(x.lastRun().cancelled);
    EXPECT_EQ(x.lastRun().done, 1);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("Adam Adamski (A1)"),
                                 QStringLiteral("Beata Bednarz (B2)")}));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("adam.zfpn")});
}

} // namespace
} // namespace zf

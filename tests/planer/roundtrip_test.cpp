// The editor against the office on a real embedded database: the office's export writes the
// files, the editor's logic opens them, chooses days and saves, and the office's search and
// import find exactly the saved files and store exactly the chosen days, the unchangeable days
// and the stamps. A file opened and closed without changes is not offered; another employee's
// file saved under a name is refused by the import as before.
#include "planer/planeditor.h"
#include "cipher/cipher.h"
#include "planfiles/planfile.h"
#include "planfiles/workingwithxml.h"
#include "tests/planer/planer_files.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/test_database.h"
#include "tests/util/print.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

namespace zf {
namespace {

const QString kComment = QStringLiteral("Plany oddajemy do 15 marca.\nPytania: pokój 12 <kadry>.");

class RoundTripTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString sql[] = {
            QStringLiteral(
                "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2027, 2, '%1')")
                .arg(folder.path()),
            QStringLiteral(
                "INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, FILENAME, PWD) VALUES "
                "('J1', 'Kowalski<Nowak', 'Jan \"Szybki\"', 'jan', 'hasło')"),
            QStringLiteral(
                "INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, FILENAME, PWD) VALUES "
                "('A2', 'Śliwińska', 'Anna', 'anna', '')"),
            QStringLiteral(
                "INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, FILENAME, PWD) VALUES "
                "('M3', 'Ćwik', 'Marek', 'marek', '')"),
            QStringLiteral(
                "INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, FILENAME, PWD) VALUES "
                "('Z4', 'Żak', 'Zofia', 'zofia', '')"),
            QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                           "THISYEARDAYS, CHECKSUM) VALUES (2027, 'J1', -2, 26, 0)"),
            QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                           "THISYEARDAYS, CHECKSUM) VALUES (2027, 'A2', 3, 20, 12)"),
            QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                           "THISYEARDAYS, CHECKSUM) VALUES (2027, 'M3', 0, 26, -7)"),
            QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                           "THISYEARDAYS, CHECKSUM) VALUES (2027, 'Z4', 0, 26, 3)"),
            QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                           "(2027, 'A2', 20270705)"),
            QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                           "(2027, 'A2', 20271224)"),
            QStringLiteral("INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                           "(2027, 'A2', 20271224)"),
            QStringLiteral("INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                           "(2027, 'A2', 20270106)"),
            QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                           "(2027, 'M3', 20270301)"),
        };
        for (const QString& s : sql)
            t.exec(s);
        for (const int day : {20270101, 20270703, 20270704, 20270710, 20270711})
            t.exec(QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2027, %1)")
                       .arg(day));
    }

    QString path(const char* name) const
    {
        return PlanFilePath(folder.path(), QString::fromLatin1(name));
    }
    QString days(const char* table, const char* key)
    {
        return t.scalar(QStringLiteral("SELECT LIST(SELECTEDDAY, ',') FROM (SELECT SELECTEDDAY "
                                       "FROM %1 WHERE IDYEAR=2027 AND IDEMPLOYEE='%2' ORDER BY "
                                       "SELECTEDDAY)")
                            .arg(QString::fromLatin1(table), QString::fromLatin1(key)));
    }
    int stamp(const char* key)
    {
        return t.scalarInt(QStringLiteral("SELECT CHECKSUM FROM EMPLOYEESSETTINGS WHERE "
                                          "IDYEAR=2027 AND IDEMPLOYEE='%1'")
                               .arg(QString::fromLatin1(key)));
    }

    QTemporaryDir folder;
    test::TestDatabase t;
    test::ScriptedDialogs employee; // what the employees' editor shows
};

TEST_F(RoundTripTest, TheOfficeReadsBackExactlyWhatTheEmployeesSaved)
{
    const QStringList all = {QStringLiteral("J1"), QStringLiteral("A2"), QStringLiteral("M3"),
                             QStringLiteral("Z4")};
    {
        TWorkingWithXML office(t.db(), 2027);
        ASSERT_TRUE(office.WritePlanFiles(all, kComment, true, true));
        QStringList changed;
        EXPECT_FALSE(office.FindChangedPlanFiles(changed));
    }

    // Jan: the password, what the office wrote, days chosen over a weekend.
    {
        TPlanEditor jan(employee);
        employee.answerPrompt(QStringLiteral("hasło"));
        ASSERT_EQ(jan.Open(path("jan")), TPlanEditor::OpenResult::Opened);
        const PlanFileContent& p = jan.plan();
        EXPECT_EQ(p.name, QStringLiteral("Jan \"Szybki\""));
        EXPECT_EQ(p.surname, QStringLiteral("Kowalski<Nowak"));
        EXPECT_EQ(p.comment, kComment);
        EXPECT_EQ(p.lastYearDays, -2);
        EXPECT_EQ(jan.entitlement(), 24);
        EXPECT_TRUE(p.checkRange);
        EXPECT_TRUE(jan.isFree(20270710));
        ASSERT_TRUE(jan.SetChosenDays(
            {20270705, 20270706, 20270707, 20270708, 20270709, 20270712, 20270713}));
        ASSERT_TRUE(jan.Save());
    }
    // Anna: her fixed days stay, she saves twice.
    {
        TPlanEditor anna(employee);
        ASSERT_EQ(anna.Open(path("anna")), TPlanEditor::OpenResult::Opened);
        EXPECT_EQ(anna.chosenDays(), (QList<int>{20270705, 20271224}));
        EXPECT_FALSE(anna.SetChosenDays({20270705, 20270802}));
        EXPECT_EQ(anna.chosenDays(), (QList<int>{20270705, 20270802, 20271224}));
        ASSERT_TRUE(anna.Save());
        ASSERT_TRUE(anna.SetChosenDays({20270802, 20270803, 20271224}));
        ASSERT_TRUE(anna.Save());
    }
    // Marek opens his plan and closes it unchanged.
    const QByteArray marekBytes = test::readAll(path("marek"));
    {
        TPlanEditor marek(employee);
        ASSERT_EQ(marek.Open(path("marek")), TPlanEditor::OpenResult::Opened);
        EXPECT_TRUE(marek.ConfirmClose());
    }
    EXPECT_EQ(test::readAll(path("marek")), marekBytes);
    // Zofia's file is replaced by Anna's, which is then filled in under Zofia's name.
    ASSERT_TRUE(QFile::remove(path("zofia")));
    ASSERT_TRUE(QFile::copy(path("anna"), path("zofia")));
    {
        TPlanEditor zofia(employee);
        ASSERT_EQ(zofia.Open(path("zofia")), TPlanEditor::OpenResult::Opened);
        ASSERT_TRUE(zofia.SetChosenDays({20270901, 20271224}));
        ASSERT_TRUE(zofia.Save());
    }
    EXPECT_TRUE(employee.informationTexts().isEmpty())
        << employee.informationTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(employee.questionTexts().isEmpty());

    TWorkingWithXML office(t.db(), 2027);
    QStringList changed;
    ASSERT_TRUE(office.FindChangedPlanFiles(changed));
    std::sort(changed.begin(), changed.end());
    EXPECT_EQ(changed, (QStringList{QStringLiteral("A2"), QStringLiteral("J1")}));
    EXPECT_EQ(office.SkippedCount(), 1) << "Zofia's file holds another employee";

    ASSERT_TRUE(office.ImportPlanFiles(changed));
    EXPECT_TRUE(t.dialogs().informationTexts().isEmpty())
        << t.dialogs().informationTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "J1"),
              QStringLiteral("20270705,20270706,20270707,20270708,20270709,20270712,20270713"));
    EXPECT_EQ(days("EMPLOYEECONSTDAYS", "J1"), QString());
    EXPECT_EQ(stamp("J1"), 1);
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "A2"), QStringLiteral("20270802,20270803,20271224"));
    EXPECT_EQ(days("EMPLOYEECONSTDAYS", "A2"), QStringLiteral("20270106,20271224"));
    EXPECT_EQ(stamp("A2"), 14) << "saved twice";
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "M3"), QStringLiteral("20270301"));
    EXPECT_EQ(stamp("M3"), -7);

    // Now every file is current; Zofia's is still refused, as the import refuses it today.
    EXPECT_FALSE(office.FindChangedPlanFiles(changed));
    EXPECT_FALSE(office.ImportPlanFiles({QStringLiteral("Z4")}));
    EXPECT_EQ(t.dialogs().informationTexts(),
              QStringList{QStringLiteral("Plik planu zawiera niepoprawne dane.")});
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "Z4"), QString());
    EXPECT_EQ(stamp("Z4"), 3);
}

TEST_F(RoundTripTest, TwoEditorsOfOneFileNeverLoseTheLastSave)
{
    const QStringList anna = {QStringLiteral("A2")};
    TWorkingWithXML office(t.db(), 2027);
    ASSERT_TRUE(office.WritePlanFiles(anna, kComment, true, false));
    // The same file open twice (two computers, say), both read stamp 12.
    TPlanEditor first(employee);
    TPlanEditor second(employee);
    ASSERT_EQ(first.Open(path("anna")), TPlanEditor::OpenResult::Opened);
    ASSERT_EQ(second.Open(path("anna")), TPlanEditor::OpenResult::Opened);
    ASSERT_TRUE(second.SetChosenDays({20270705, 20270706, 20271224}));
    ASSERT_TRUE(second.Save()); // stamp 13
    QStringList changed;
    ASSERT_TRUE(office.FindChangedPlanFiles(changed));
    ASSERT_TRUE(office.ImportPlanFiles(changed));
    ASSERT_EQ(stamp("A2"), 13);

    // The first one saves over it: 12 + 1 is the office's stamp now, so it takes the next.
    ASSERT_TRUE(first.SetChosenDays({20270901, 20271224}));
    employee.answer(true);
    ASSERT_TRUE(first.Save());
    EXPECT_EQ(employee.questionTexts().size(), 1);
    ASSERT_TRUE(office.FindChangedPlanFiles(changed));
    EXPECT_EQ(changed, anna);
    ASSERT_TRUE(office.ImportPlanFiles(changed));
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "A2"), QStringLiteral("20270901,20271224"));
    EXPECT_EQ(stamp("A2"), 14);
}

} // namespace
} // namespace zf

// Generating again over a plan folder that holds what employees saved: nothing of theirs is
// replaced without the clerk saying so, and what is not an employee's own file is left alone.
#include "tests/planfiles/planfiles_fixture.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace zf {
namespace {

using test::PlanFilesTest;

enum Choice { Skip = 0, Overwrite = 1, Cancel = 2 };

class ExistingFilesTest : public PlanFilesTest
{
protected:
    QByteArray bytes(const QString& p)
    {
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << p.toStdString();
        return f.readAll();
    }
    // Beata's file as last year's plan left it, Cezary's name a link to a file outside the
    // folder, and a half-written temporary of Adam's beside his file.
    void fillFolderWithStrangers()
    {
        PlanFileContent old;
        old.year = 2023;
        old.employeeKey = QStringLiteral("B2");
        old.name = QStringLiteral("Beata");
        old.surname = QStringLiteral("Bednarz");
        old.stamp = 3;
        old.selectedDays = {20230707};
        ASSERT_TRUE(WritePlanFileBytes(path("beata"), BuildPlanFileBytes(old)));
        ASSERT_TRUE(QFile::remove(path("cezary")));
        {
            QFile f(outside.path() + QStringLiteral("/cezary.txt"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("poza folderem");
        }
        ASSERT_TRUE(QFile::link(outside.path() + QStringLiteral("/cezary.txt"), path("cezary")));
        QFile half(path("adam") + QStringLiteral(".x1y2z3"));
        ASSERT_TRUE(half.open(QIODevice::WriteOnly));
        half.write("\xAA\x01");
    }

    QTemporaryDir outside;
};

// The issue's own case: the employee saved, the clerk generated again and skipped; the file then
// reads back exactly what the employee chose.
TEST_F(ExistingFilesTest, SavedFilesSurviveAGenerationThatSkipsThemAndReadBackExactly)
{
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(exportAll(x));
    fillIn("adam", {20240610, 20240611}, {20241224}, 77);
    fillFolderWithStrangers();
    const QByteArray adam = bytes(path("adam"));
    const QByteArray beata = bytes(path("beata"));
    const QByteArray cezary = bytes(path("cezary"));

    t.dialogs().answerChoice(Skip);
    EXPECT_TRUE(exportAll(x));
    ASSERT_EQ(t.dialogs().choiceTexts().size(), 1) << "one question for the whole run";
    const QString question = t.dialogs().choiceTexts().at(0);
    EXPECT_TRUE(question.contains(QStringLiteral("Liczba takich plików: 2")))
        << question.toStdString();
    EXPECT_TRUE(question.contains(QStringLiteral("Adam Adamski (A1)")));
    EXPECT_TRUE(question.contains(QStringLiteral("Beata Bednarz (B2): plan na rok 2023")));
    EXPECT_FALSE(question.contains(QStringLiteral("Cezary"))) << "a link is not asked about";
    EXPECT_EQ(bytes(path("adam")), adam);
    EXPECT_EQ(bytes(path("beata")), beata);
    EXPECT_TRUE(QFileInfo(path("cezary")).isSymLink());
    EXPECT_EQ(bytes(path("cezary")), cezary);
    EXPECT_TRUE(QFileInfo::exists(path("adam") + QStringLiteral(".x1y2z3")));
    const QStringList left = x.lastRun().leftAlone;
    ASSERT_EQ(left.size(), 3) << left.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(left.at(0).startsWith(QStringLiteral("Adam Adamski (A1): ")));
    EXPECT_TRUE(left.at(2).startsWith(QStringLiteral("Cezary Cichy (C3): ")));
    EXPECT_EQ(x.lastRun().done, 0);
    EXPECT_TRUE(messages().isEmpty()) << messages().join(QLatin1Char('|')).toStdString();

    QStringList changed;
    ASSERT_TRUE(x.FindChangedPlanFiles(changed));
    EXPECT_EQ(changed, QStringList{QStringLiteral("A1")});
    ASSERT_TRUE(x.ImportPlanFiles(changed));
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "A1"), QStringLiteral("20240610,20240611"));
    EXPECT_EQ(days("EMPLOYEECONSTDAYS", "A1"), QStringLiteral("20241224"));
    EXPECT_EQ(stamp("A1"), 77);
    EXPECT_EQ(bytes(path("beata")), beata);

    // Read now, Adam's file is the office's again: generated anew without a question.
    t.dialogs().answerChoice(Skip);
    EXPECT_TRUE(exportAll(x));
    EXPECT_EQ(t.dialogs().choiceTexts().size(), 2) << "Beata's old file is still asked about";
    EXPECT_TRUE(t.dialogs().choiceTexts().at(1).contains(QStringLiteral("Liczba takich plików: 1")));
    EXPECT_EQ(x.lastRun().done, 1);
    EXPECT_TRUE(t.dialogs().allAnswersUsed());
}

TEST_F(ExistingFilesTest, OverwriteReplacesSavedFilesAndCancelWritesNothing)
{
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(exportAll(x));
    const QByteArray generated = bytes(path("adam"));
    fillIn("adam", {20240610}, {}, 77);
    fillFolderWithStrangers();
    const QByteArray saved = bytes(path("adam"));
    const QByteArray beata = bytes(path("beata"));

    t.dialogs().answerChoice(Cancel);
    EXPECT_FALSE(exportAll(x));
    EXPECT_TRUE(x.lastRun().cancelled);
    EXPECT_EQ(bytes(path("adam")), saved);
    EXPECT_EQ(bytes(path("beata")), beata);

    t.dialogs().answerChoice(Overwrite);
    EXPECT_TRUE(exportAll(x));
    EXPECT_EQ(bytes(path("adam")), generated);
    EXPECT_TRUE(clearText("beata").startsWith("<ZEFIRANT><IDYEAR>2024</IDYEAR>"));
    EXPECT_EQ(x.lastRun().done, 2);
    EXPECT_EQ(x.lastRun().leftAlone.size(), 1) << "the link, whatever the answer";
    EXPECT_TRUE(QFileInfo(path("cezary")).isSymLink());
    EXPECT_TRUE(t.dialogs().allAnswersUsed());
}

// The single employee's file asks the same question; another employee's file under his name is
// never replaced.
TEST_F(ExistingFilesTest, ASingleEmployeesFileIsGuardedAlike)
{
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(exportAll(x));
    ASSERT_TRUE(x.LoadPlanSettings(QStringLiteral("Uwagi"), true));
    fillIn("adam", {20240610}, {}, 77);
    const QByteArray saved = bytes(path("adam"));

    t.dialogs().answerChoice(Skip);
    EXPECT_FALSE(x.WriteEmployeeFile(QStringLiteral("A1"), true));
    EXPECT_EQ(bytes(path("adam")), saved);
    ASSERT_EQ(t.dialogs().choiceTexts().size(), 1);
    EXPECT_TRUE(t.dialogs().choiceTexts().at(0).contains(QStringLiteral("Adam Adamski (A1)")));
    t.dialogs().answerChoice(Overwrite);
    EXPECT_TRUE(x.WriteEmployeeFile(QStringLiteral("A1"), true));
    EXPECT_EQ(stamp("A1"), 11);
    EXPECT_TRUE(clearText("adam").contains("<CHECKSUM>11</CHECKSUM>"));

    ASSERT_TRUE(QFile::remove(path("beata")));
    ASSERT_TRUE(QFile::copy(path("cezary"), path("beata")));
    const QByteArray foreign = bytes(path("beata"));
    EXPECT_FALSE(x.WriteEmployeeFile(QStringLiteral("B2"), true));
    EXPECT_EQ(bytes(path("beata")), foreign);
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().at(0).contains(path("beata")));
    EXPECT_TRUE(t.dialogs().allAnswersUsed());
}

// A calendar with no non-working day would offer every Saturday, Sunday and holiday.
TEST_F(ExistingFilesTest, AnEmptyCalendarIsAskedAboutFirst)
{
    t.exec(QStringLiteral("DELETE FROM CALENDAR WHERE IDYEAR=2024"));
    TWorkingWithXML x(t.db(), 2024);
    t.dialogs().answer(false);
    EXPECT_FALSE(exportAll(x));
    EXPECT_TRUE(x.lastRun().cancelled);
    EXPECT_FALSE(QFileInfo::exists(path("adam")));
    ASSERT_EQ(t.dialogs().questionTexts().size(), 1);
    EXPECT_TRUE(t.dialogs().questionTexts().at(0).contains(QStringLiteral("2024")));

    t.dialogs().answer(true);
    EXPECT_TRUE(exportAll(x));
    EXPECT_EQ(x.lastRun().done, 3);
}

} // namespace
} // namespace zf

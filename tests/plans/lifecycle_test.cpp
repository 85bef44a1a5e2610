// The plan lifecycle against a real embedded database: creation, copying, deletion, the gates
// and every status transition.
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "plans/planlifecycle.h"
#include "tests/support/test_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>

namespace zf {
namespace {

class PlanLifecycleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile::remove(t.db().errorLog().path());
        QDir().mkpath(QFileInfo(t.db().errorLog().path()).absolutePath());
    }

    int status(int year)
    {
        return t.scalarInt(
            QStringLiteral("SELECT STATUS FROM HOLIDAYPLANS WHERE IDYEAR=%1").arg(year));
    }
    void plan(int year, int st, const QString& dir = {})
    {
        t.exec(QStringLiteral(
                   "INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (%1, %2, '%3')")
                   .arg(year)
                   .arg(st)
                   .arg(dir));
    }
    void employee(const QString& id, const QString& act = QStringLiteral("T"))
    {
        t.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, FILENAME, ACT) "
                              "VALUES ('%1', 'Nowak', 'Jan', 'plik_%1', '%2')")
                   .arg(id, act));
    }
    void settings(int year, const QString& id, int last, int thisYear, const QString& rest = {})
    {
        t.exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                              "THISYEARDAYS, NURSINGDAYS, MATERNITYDAYS, UNPAIDDAYS, SICKDAYS, "
                              "OTHERDAYS, OTHERDESCR, CHECKSUM) VALUES (%1, '%2', %3, %4, %5, 77)")
                   .arg(year)
                   .arg(id)
                   .arg(last)
                   .arg(thisYear)
                   .arg(rest.isEmpty() ? QStringLiteral("0, 0, 0, 0, 0, ''") : rest));
    }
    void leave(int year, const QString& id, int dateNumber)
    {
        t.exec(QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) "
                              "VALUES (%1, '%2', %3)")
                   .arg(year)
                   .arg(id)
                   .arg(dateNumber));
    }
    QString errorLog()
    {
        QFile f(t.db().errorLog().path());
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }
    // A year window answering the given years in turn, then cancelling.
    std::function<std::optional<int>()> years(std::deque<int> answers)
    {
        return [this, answers]() mutable -> std::optional<int> {
            ++asked;
            if (answers.empty())
                return std::nullopt;
            const int y = answers.front();
            answers.pop_front();
            return y;
        };
    }

    test::TestDatabase t;
    ProgramOptions options;
    PlanLifecycle life{t.db(), t.dialogs(), options};
    int asked = 0;
};

TEST_F(PlanLifecycleTest, CreatesAPlanAndAsksAgainForAYearThatExists)
{
    plan(2024, 3);
    EXPECT_EQ(life.CreatePlan(years({2024, 2025})), 2025);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(t.dialogs().informationTexts(), QStringList{PlanLifecycle::kDuplicateYear});
    EXPECT_EQ(status(2025), 1);
    EXPECT_EQ(status(2024), 3);
    // The list shows the new plan under the cursor.
    EXPECT_EQ(t.db().DBFHolidayPlans.asInteger(QStringLiteral("IDYEAR")), 2025);

    EXPECT_EQ(life.CreatePlan(years({})), 0);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM HOLIDAYPLANS")), 2);
    EXPECT_TRUE(errorLog().isEmpty());
}

TEST_F(PlanLifecycleTest, CopyCarriesOverDaysNotTakenAndNothingElse)
{
    plan(2023, 5, QStringLiteral("/srv/plany"));
    employee(QStringLiteral("A"));
    employee(QStringLiteral("B"));
    employee(QStringLiteral("C"));
    settings(2023, QStringLiteral("A"), 2, 26, QStringLiteral("1, 2, 3, 4, 5, 'szkolenie'"));
    settings(2023, QStringLiteral("B"), -3, 20);
    settings(2023, QStringLiteral("C"), 0, 26);
    // A: 5 leave days, 2 of them on non-working days.
    for (int d : {20230102, 20230103, 20230104, 20230106, 20231225})
        leave(2023, QStringLiteral("A"), d);
    t.exec(QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2023, 20230106)"));
    t.exec(QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2023, 20231225)"));
    // B took more than was due: the carry-over turns negative.
    for (int d = 1; d <= 25; ++d)
        leave(2023, QStringLiteral("B"), 20230300 + d);
    t.exec(QStringLiteral("INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) "
                          "VALUES (2023, 'A', 20230102)"));

    life.setCopySource(2023, QStringLiteral("/srv/plany"));
    EXPECT_EQ(life.CreatePlan(years({2024})), 2024);

    EXPECT_EQ(status(2024), 2);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT PLANDIR FROM HOLIDAYPLANS WHERE IDYEAR=2024")),
              QStringLiteral("/srv/plany/Plan urlopowy 2024"))
        << "a folder of its own: in the source's the two plans would overwrite each other";
    const auto row = [&](const QString& id) {
        return t.scalar(
            QStringLiteral("SELECT LASTYEARDAYS || '|' || THISYEARDAYS || '|' || "
                           "NURSINGDAYS || '|' || MATERNITYDAYS || '|' || UNPAIDDAYS "
                           "|| '|' || SICKDAYS || '|' || OTHERDAYS || '|' || OTHERDESCR "
                           "|| '|' || CHECKSUM FROM EMPLOYEESSETTINGS WHERE IDYEAR=2024 "
                           "AND IDEMPLOYEE='%1'")
                .arg(id));
    };
    EXPECT_EQ(row(QStringLiteral("A")), QStringLiteral("25|26|1|2|3|4|5|szkolenie|0"));
    EXPECT_EQ(row(QStringLiteral("B")), QStringLiteral("-8|20|0|0|0|0|0||0"));
    EXPECT_EQ(row(QStringLiteral("C")), QStringLiteral("26|26|0|0|0|0|0||0"));
    for (const char* table : {"CALENDAR", "EMPLOYEEHOLIDAYS", "EMPLOYEECONSTDAYS"})
        EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE IDYEAR=2024")
                                  .arg(QString::fromLatin1(table))),
                  0)
            << table;
    // The source was used once: the next creation makes an empty plan.
    EXPECT_EQ(life.CreatePlan(years({2025})), 2025);
    EXPECT_EQ(status(2025), 1);
    EXPECT_EQ(
        t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEESSETTINGS WHERE IDYEAR=2025")), 0);
}

// The copy's folder is made beside the source's, named after its own year.
TEST_F(PlanLifecycleTest, ACopyGetsAFolderOfItsOwnBesideTheSources)
{
    QTemporaryDir dir;
    const QString source = dir.path() + QStringLiteral("/urlopy_2023");
    ASSERT_TRUE(QDir().mkdir(source));
    plan(2023, 4, source);
    life.setCopySource(2023, source);
    EXPECT_EQ(life.CreatePlan(years({2024})), 2024);
    const QString own = dir.path() + QStringLiteral("/urlopy_2024");
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT PLANDIR FROM HOLIDAYPLANS WHERE IDYEAR=2024")), own);
    EXPECT_TRUE(QFileInfo(own).isDir());
    EXPECT_TRUE(t.dialogs().shown().empty());
}

TEST_F(PlanLifecycleTest, CancellingTheCopyClearsItsSource)
{
    plan(2023, 2);
    employee(QStringLiteral("A"));
    settings(2023, QStringLiteral("A"), 0, 26);
    life.setCopySource(2023, {});
    EXPECT_EQ(life.CreatePlan(years({})), 0);
    EXPECT_EQ(life.copySourceYear(), 0);
    EXPECT_EQ(life.CreatePlan(years({2024})), 2024);
    EXPECT_EQ(status(2024), 1);
    EXPECT_EQ(
        t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEESSETTINGS WHERE IDYEAR=2024")), 0);
}

TEST_F(PlanLifecycleTest, AFailedCopyLeavesNoPlanAndTheYearIsAskedAgain)
{
    plan(2023, 2);
    employee(QStringLiteral("A"));
    employee(QStringLiteral("B"));
    settings(2023, QStringLiteral("A"), 0, 26);
    settings(2023, QStringLiteral("B"), 0, 26);
    t.exec(QStringLiteral("CREATE EXCEPTION E_REFUSED 'refused'"));
    t.exec(QStringLiteral(
        "CREATE TRIGGER T_REFUSE FOR EMPLOYEESSETTINGS BEFORE INSERT AS BEGIN "
        "IF (NEW.IDEMPLOYEE = 'B' AND NEW.IDYEAR = 2024) THEN EXCEPTION E_REFUSED; END"));
    // No plan can be deleted: only the rollback can take the new row away again.
    t.exec(QStringLiteral(
        "CREATE TRIGGER T_KEEP FOR HOLIDAYPLANS BEFORE DELETE AS BEGIN EXCEPTION E_REFUSED; END"));
    t.dialogs().clear();

    const auto plans = [&](int year) {
        return t.scalarInt(
            QStringLiteral("SELECT COUNT(*) FROM HOLIDAYPLANS WHERE IDYEAR=%1").arg(year));
    };
    const auto rows = [&](int year) {
        return t.scalarInt(
            QStringLiteral("SELECT COUNT(*) FROM EMPLOYEESSETTINGS WHERE IDYEAR=%1").arg(year));
    };
    life.setCopySource(2023, {});
    EXPECT_EQ(life.CreatePlan(years({2024})), 0);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(plans(2024), 0);
    EXPECT_EQ(rows(2024), 0);
    EXPECT_TRUE(errorLog().contains(QStringLiteral("[0002109312]")));
    EXPECT_FALSE(errorLog().contains(QStringLiteral("[0000031912]")));
    EXPECT_EQ(t.dialogs().informationTexts().size(), 1);

    // A folder the column cannot hold fails before the folder is stored.
    life.setCopySource(2023, QString(300, QLatin1Char('x')));
    EXPECT_EQ(life.CreatePlan(years({2026})), 0);
    EXPECT_TRUE(errorLog().contains(QStringLiteral("[0002109311]")));
    EXPECT_EQ(plans(2026), 0);

    // The retry is a new creation, not "already exists".
    t.exec(QStringLiteral("DROP TRIGGER T_REFUSE"));
    t.dialogs().clear();
    life.setCopySource(2023, {});
    EXPECT_EQ(life.CreatePlan(years({2024})), 2024);
    EXPECT_TRUE(t.dialogs().shown().empty());
    EXPECT_EQ(status(2024), 2);
    EXPECT_EQ(rows(2024), 2);
}

TEST_F(PlanLifecycleTest, ACopyIntoAYearThatExistsAsksAgainAndCopiesIntoTheNextYear)
{
    plan(2023, 4, QStringLiteral("/srv/plany"));
    plan(2024, 3, QStringLiteral("/srv/inne"));
    employee(QStringLiteral("A"));
    employee(QStringLiteral("B"));
    settings(2023, QStringLiteral("A"), 1, 26);
    settings(2023, QStringLiteral("B"), 0, 20);
    settings(2024, QStringLiteral("A"), 0, 10);

    life.setCopySource(2023, QStringLiteral("/srv/plany"));
    EXPECT_EQ(life.CreatePlan(years({2024, 2025})), 2025);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(t.dialogs().informationTexts(), QStringList{PlanLifecycle::kDuplicateYear});
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT STATUS || PLANDIR FROM HOLIDAYPLANS WHERE "
                                      "IDYEAR=2024")),
              QStringLiteral("3/srv/inne"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT LIST(IDEMPLOYEE || '=' || THISYEARDAYS) FROM "
                                      "EMPLOYEESSETTINGS WHERE IDYEAR=2024")),
              QStringLiteral("A=10"));
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT STATUS || PLANDIR FROM HOLIDAYPLANS WHERE "
                                      "IDYEAR=2025")),
              QStringLiteral("2/srv/plany/Plan urlopowy 2025"));
    EXPECT_EQ(
        t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEESSETTINGS WHERE IDYEAR=2025")), 2);
    EXPECT_TRUE(errorLog().isEmpty());
}

TEST_F(PlanLifecycleTest, DeletingAsksWhenTheOptionSaysSoAndTakesTheYearsRows)
{
    plan(2024, 4);
    employee(QStringLiteral("A"));
    settings(2024, QStringLiteral("A"), 0, 26);
    leave(2024, QStringLiteral("A"), 20240805);
    t.exec(QStringLiteral("INSERT INTO CALENDAR (IDYEAR, FREEDAY) VALUES (2024, 20240101)"));

    t.dialogs().answer(false);
    EXPECT_FALSE(life.DeletePlan(2024));
    EXPECT_EQ(t.dialogs().questionTexts(), QStringList{PlanLifecycle::kDeleteQuestion});
    EXPECT_EQ(status(2024), 4);

    options.pytajPrzedKasowaniem = false;
    EXPECT_TRUE(life.DeletePlan(2024));
    EXPECT_EQ(t.dialogs().questionTexts().size(), 1);
    for (const char* table : {"HOLIDAYPLANS", "EMPLOYEESSETTINGS", "EMPLOYEEHOLIDAYS", "CALENDAR"})
        EXPECT_EQ(
            t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QString::fromLatin1(table))),
            0)
            << table;
    EXPECT_TRUE(t.db().DBFHolidayPlans.isEmpty());
}

TEST_F(PlanLifecycleTest, GatesOfGeneratingReadingAndChangingAnApprovedPlan)
{
    for (int st = 0; st <= 6; ++st) {
        EXPECT_EQ(life.MayGenerate(st), st >= 2) << st;
        EXPECT_EQ(life.MayImport(st), st >= 3) << st;
    }
    EXPECT_EQ(t.dialogs().informationTexts().count(PlanLifecycle::kAddEmployeesFirst), 2);
    EXPECT_EQ(t.dialogs().informationTexts().count(PlanLifecycle::kGenerateFirst), 3);

    for (int st : {1, 2, 3, 4, 6})
        EXPECT_TRUE(life.MayChangeApproved(st));
    EXPECT_TRUE(t.dialogs().questionTexts().isEmpty());
    t.dialogs().answer(false);
    t.dialogs().answer(true);
    EXPECT_FALSE(life.MayChangeApproved(5));
    EXPECT_TRUE(life.MayChangeApproved(5));
    EXPECT_EQ(t.dialogs().questionTexts(),
              (QStringList{PlanLifecycle::kApprovedQuestion, PlanLifecycle::kApprovedQuestion}));
    // Generating and reading files ask in the same words, naming what they do.
    t.dialogs().answer(false);
    EXPECT_FALSE(life.MayChangeApproved(5, PlanLifecycle::kApprovedGenerateQuestion));
    EXPECT_EQ(t.dialogs().shown().back().caption, kCaptionWarning);
}

TEST_F(PlanLifecycleTest, StatusAfterConfigurationAndCalendar)
{
    // (status before, configuration changed, folder changed) -> status after
    struct Case
    {
        int before;
        bool changed;
        bool folder;
        int after;
    };
    const Case cases[] = {{1, true, false, 2},  {2, true, false, 2},  {3, true, false, 6},
                          {4, false, true, 6},  {5, true, false, 6},  {6, true, true, 6},
                          {1, false, false, 1}, {4, false, false, 4}, {1, false, true, 2}};
    int year = 2000;
    for (const Case& c : cases) {
        plan(++year, c.before, QStringLiteral("/a"));
        const QString dir = c.folder ? QStringLiteral("/b") : QStringLiteral("/a");
        EXPECT_EQ(life.AfterConfiguration(year, QStringLiteral("/a"), c.changed, dir),
                  c.changed || c.folder);
        EXPECT_EQ(status(year), c.after) << c.before << c.changed << c.folder;
        EXPECT_EQ(
            t.scalar(QStringLiteral("SELECT PLANDIR FROM HOLIDAYPLANS WHERE IDYEAR=%1").arg(year)),
            dir);
    }
    // Saving the calendar moves a generated plan to 6 and leaves 1 and 2 alone.
    for (int before = 1; before <= 6; ++before) {
        plan(++year, before);
        EXPECT_EQ(life.AfterCalendar(year, before, true), before >= 3);
        EXPECT_EQ(status(year), before >= 3 ? 6 : before);
        EXPECT_FALSE(life.AfterCalendar(year, before, false));
    }
    // Approval (5) of a changed plan, then a configuration change again gives 6.
    plan(++year, 6);
    t.db().SetPlanStatus(year, 5);
    EXPECT_EQ(status(year), 5);
    life.AfterConfiguration(year, {}, true, {});
    EXPECT_EQ(status(year), 6);
    EXPECT_TRUE(errorLog().isEmpty());
}

TEST_F(PlanLifecycleTest, AStatusThatCannotBeWrittenIsReportedAndNotShown)
{
    plan(2024, 3);
    t.exec(QStringLiteral("CREATE EXCEPTION E_REFUSED 'status zablokowany'"));
    t.exec(QStringLiteral("CREATE TRIGGER T_REFUSE FOR HOLIDAYPLANS BEFORE UPDATE AS BEGIN "
                          "IF (NEW.STATUS <> OLD.STATUS) THEN EXCEPTION E_REFUSED; END"));
    t.dialogs().clear();
    EXPECT_FALSE(t.db().SetPlanStatus(2024, 5));
    EXPECT_FALSE(life.AfterCalendar(2024, 3, true));
    EXPECT_FALSE(life.AfterConfiguration(2024, {}, true, {}));
    // The folder chosen is stored although the status is not, and the list shows it.
    EXPECT_TRUE(life.AfterConfiguration(2024, QStringLiteral("/a"), true, QStringLiteral("/b")));
    EXPECT_EQ(t.db().DBFHolidayPlans.asString(QStringLiteral("PLANDIR")), QStringLiteral("/b"));
    EXPECT_EQ(status(2024), 3);
    EXPECT_EQ(t.dialogs().informationTexts().size(), 4);
    EXPECT_TRUE(
        t.dialogs().informationTexts().value(0).contains(QStringLiteral("status zablokowany")));
    EXPECT_EQ(errorLog().count(QStringLiteral("[0000161800]")), 4);
    t.exec(QStringLiteral("DROP TRIGGER T_REFUSE"));

    // A plan deleted meanwhile is reported, not taken for written.
    t.dialogs().clear();
    t.exec(QStringLiteral("DELETE FROM HOLIDAYPLANS WHERE IDYEAR=2024"));
    EXPECT_FALSE(t.db().SetPlanStatus(2024, 4));
    EXPECT_EQ(t.dialogs().informationTexts().size(), 1);
    EXPECT_TRUE(t.dialogs().informationTexts().value(0).contains(QStringLiteral("2024")));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM HOLIDAYPLANS")), 0);

    plan(2025, 1);
    EXPECT_TRUE(t.db().SetPlanStatus(2025, 2));
    EXPECT_EQ(status(2025), 2);
}

TEST_F(PlanLifecycleTest, OpeningTheFolderNeedsOne)
{
    QStringList opened;
    const auto open = [&](const QString& p) { opened << p; };
    life.OpenPlanFolder({}, open);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(t.dialogs().informationTexts(), QStringList{PlanLifecycle::kNoFolder});
    life.OpenPlanFolder(QStringLiteral("/srv/plany 2024"), open);
    EXPECT_EQ(opened, QStringList{QStringLiteral("/srv/plany 2024")});
}

} // namespace
} // namespace zf

// The configuration of a plan and the batch change on a real embedded database: adding with its
// skips and its all-or-nothing, removing, editing, the batch statement and its splitting.
#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "plans/planconfig.h"
#include "plans/planfolder.h"
#include "tests/support/test_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zf;

namespace {

constexpr int kYear = 2024;

class PlanConfigTest : public ::testing::Test
{
protected:
    test::TestDatabase t;
    ProgramOptions options;
    PlanConfig config{t.db(), t.dialogs(), options};

    void SetUp() override
    {
        // A log of this test alone.
        QDir().mkpath(QFileInfo(t.db().errorLog().path()).path());
        QFile::remove(t.db().errorLog().path());
        t.exec(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (%1, 1, '')")
                   .arg(kYear));
        // Surnames sort the lists: Adamska, Bąk, Cichy, Dudek; Ewa is dismissed.
        employee(QStringLiteral("E1"), QStringLiteral("Bąk"), 7);
        employee(QStringLiteral("E2"), QStringLiteral("Adamska"), 7);
        employee(QStringLiteral("E3"), QStringLiteral("Cichy"), 8);
        employee(QStringLiteral("E4"), QStringLiteral("Dudek"), 8);
        employee(QStringLiteral("E5"), QStringLiteral("Ewa"), 7, QStringLiteral("N"));
        config.Open(kYear, QString(), 0);
    }

    void employee(const QString& id, const QString& surname, int unit,
                  const QString& act = QStringLiteral("T"))
    {
        t.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME, IDDICUNIT, ACT) "
                              "VALUES ('%1', '%2', 'Jan', %3, '%4')")
                   .arg(id, surname)
                   .arg(unit)
                   .arg(act));
    }

    void inPlan(const QString& id, int thisYear = 26, int last = 0, int checksum = 0)
    {
        t.exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, THISYEARDAYS, "
                              "LASTYEARDAYS, CHECKSUM) VALUES (%1, '%2', %3, %4, %5)")
                   .arg(kYear)
                   .arg(id)
                   .arg(thisYear)
                   .arg(last)
                   .arg(checksum));
    }

    QString figure(const QString& column, const QString& id)
    {
        return t.scalar(QStringLiteral("SELECT %1 FROM EMPLOYEESSETTINGS WHERE IDYEAR=%2 AND "
                                       "IDEMPLOYEE='%3'")
                            .arg(column)
                            .arg(kYear)
                            .arg(id));
    }

    int planSize()
    {
        return t.scalarInt(
            QStringLiteral("SELECT COUNT(*) FROM EMPLOYEESSETTINGS WHERE IDYEAR=%1").arg(kYear));
    }

    QStringList outsideIds()
    {
        QStringList ids;
        for (const OutsideEmployee& e : config.OutsidePlan())
            ids << e.id;
        return ids;
    }

    // A trigger that refuses every write of the employee, so that a failure can be put in the
    // middle of a command.
    void refuseWritesOf(const QString& id, const char* when)
    {
        t.exec(QStringLiteral("CREATE EXCEPTION E_REFUSED 'refused'"));
        t.exec(QStringLiteral("CREATE TRIGGER T_REFUSE FOR EMPLOYEESSETTINGS %1 AS BEGIN IF "
                              "(NEW.IDEMPLOYEE = '%2') THEN EXCEPTION E_REFUSED; END")
                   .arg(QString::fromLatin1(when), id));
    }

    QString errorLog()
    {
        QFile f(t.db().errorLog().path());
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }
};

TEST_F(PlanConfigTest, OpensBothListsWithTheUnitFilterOnTheLeftOnly)
{
    inPlan(QStringLiteral("E3"));
    config.Open(kYear, QStringLiteral("/x"), 7);
    EXPECT_EQ(outsideIds(), (QStringList{QStringLiteral("E2"), QStringLiteral("E1")}));
    EXPECT_EQ(t.db().DBFEmployeesSettings.recordCount(), 1);
    EXPECT_EQ(config.OutsidePlan().front().text, QStringLiteral("Jan Adamska (E2)"));
    EXPECT_FALSE(config.changed());
    EXPECT_EQ(config.storedFolder(), QStringLiteral("/x"));

    config.SetUnitFilter(-1);
    EXPECT_EQ(outsideIds(), (QStringList{QStringLiteral("E2"), QStringLiteral("E1"),
                                         QStringLiteral("E4")}));
}

TEST_F(PlanConfigTest, AddsWithTheDefaultEntitlementAndSkipsThoseAddedElsewhere)
{
    // Listed before another copy took E1 into the plan.
    const QStringList listed = outsideIds();
    ASSERT_TRUE(listed.contains(QStringLiteral("E1")));
    inPlan(QStringLiteral("E1"), 20, 3, 77);

    const AddResult r = config.AddEmployees(
        {QStringLiteral("E2"), QStringLiteral("E1"), QStringLiteral("E4")}, 30);
    EXPECT_EQ(r.outcome, AddResult::Stored);
    EXPECT_EQ(r.added, 2);
    EXPECT_EQ(r.skipped, 1);
    EXPECT_TRUE(t.dialogs().shown().empty());
    EXPECT_TRUE(config.changed());
    EXPECT_EQ(figure(QStringLiteral("THISYEARDAYS"), QStringLiteral("E4")), QStringLiteral("30"));
    EXPECT_EQ(figure(QStringLiteral("LASTYEARDAYS"), QStringLiteral("E4")), QStringLiteral("0"));
    EXPECT_EQ(figure(QStringLiteral("OTHERDESCR"), QStringLiteral("E4")), QString());
    // The row added elsewhere is left as it was.
    EXPECT_EQ(figure(QStringLiteral("CHECKSUM"), QStringLiteral("E1")), QStringLiteral("77"));
    EXPECT_EQ(outsideIds(), (QStringList{QStringLiteral("E3")}));
    EXPECT_EQ(t.db().DBFEmployeesSettings.recordCount(), 3);
}

TEST_F(PlanConfigTest, AddsASelectionLargerThanOneStatementTakesAllOrNone)
{
    // 1,500 more employees, B0001 ...: more than one statement's list of employees.
    t.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME) SELECT FIRST 1500 "
                          "'B' || LPAD(ROW_NUMBER() OVER (), 4, '0'), 'Nowak', 'Jan' FROM "
                          "RDB$FIELDS A CROSS JOIN RDB$FIELDS B"));
    QStringList ids;
    for (int i = 1; i <= 1500; ++i)
        ids << QStringLiteral("B%1").arg(i, 4, 10, QLatin1Char('0'));
    ids << QStringLiteral("E2");
    inPlan(QStringLiteral("B1200"), 20, 3, 77);

    AddResult r = config.AddEmployees(ids, 26);
    EXPECT_EQ(r.outcome, AddResult::Stored);
    EXPECT_EQ(r.added, 1500);
    EXPECT_EQ(r.skipped, 1);
    EXPECT_EQ(planSize(), 1501);
    EXPECT_EQ(figure(QStringLiteral("CHECKSUM"), QStringLiteral("B1200")), QStringLiteral("77"));
    EXPECT_EQ(figure(QStringLiteral("THISYEARDAYS"), QStringLiteral("B1500")), QStringLiteral("26"));

    // One deleted in the second part: nothing of the first part stays either.
    t.exec(QStringLiteral("DELETE FROM EMPLOYEESSETTINGS WHERE IDYEAR=%1").arg(kYear));
    t.exec(QStringLiteral("DELETE FROM EMPLOYEES WHERE IDEMPLOYEE='B1400'"));
    t.dialogs().clear();
    r = config.AddEmployees(ids, 26);
    EXPECT_EQ(r.outcome, AddResult::EmployeeGone);
    EXPECT_EQ(planSize(), 0);
    EXPECT_EQ(t.dialogs().informationTexts(),
              QStringList{PlanConfig::kEmployeeGone.arg(QStringLiteral("B1400"))});
}

TEST_F(PlanConfigTest, AddingMarksTheConfigurationChangedWhateverTheOutcome)
{
    EXPECT_EQ(config.AddEmployees({}, 26).outcome, AddResult::NothingSelected);
    EXPECT_TRUE(config.changed());

    for (const int size : {-1, 366}) {
        config.Open(kYear, QString(), 0);
        t.dialogs().clear();
        EXPECT_EQ(config.AddEmployees({QStringLiteral("E1")}, size).outcome,
                  AddResult::InvalidSize);
        EXPECT_EQ(t.dialogs().informationTexts(), QStringList{PlanConfig::kInvalidSize});
        EXPECT_EQ(t.dialogs().shown().front().caption, QStringLiteral("Błąd"));
        EXPECT_TRUE(config.changed());
    }
    EXPECT_EQ(planSize(), 0);
    EXPECT_EQ(config.AddEmployees({QStringLiteral("E1")}, 0).added, 1);
}

TEST_F(PlanConfigTest, AnyOtherErrorStoresNothingOfTheCommand)
{
    refuseWritesOf(QStringLiteral("E4"), "BEFORE INSERT");
    const AddResult r = config.AddEmployees(
        {QStringLiteral("E2"), QStringLiteral("E1"), QStringLiteral("E4")}, 26);
    EXPECT_EQ(r.outcome, AddResult::Failed);
    EXPECT_EQ(r.added, 0);
    EXPECT_EQ(planSize(), 0);
    EXPECT_TRUE(errorLog().contains(QStringLiteral("[0000151011]")));
    ASSERT_EQ(t.dialogs().informationTexts().size(), 1);
    EXPECT_TRUE(t.dialogs().informationTexts().front().startsWith(
        QStringLiteral("Wystąpił nieoczekiwany błąd")));
    // The write transaction is not left open.
    EXPECT_FALSE(t.db().DBFTransaction.isActive());
}

TEST_F(PlanConfigTest, AnEmployeeDeletedMeanwhileIsToldAndNothingIsStored)
{
    const QStringList listed = outsideIds();
    t.exec(QStringLiteral("DELETE FROM EMPLOYEES WHERE IDEMPLOYEE='E1'"));
    const AddResult r = config.AddEmployees(listed, 26);
    EXPECT_EQ(r.outcome, AddResult::EmployeeGone);
    EXPECT_EQ(planSize(), 0);
    EXPECT_EQ(t.dialogs().informationTexts(),
              QStringList{PlanConfig::kEmployeeGone.arg(QStringLiteral("E1"))});
    EXPECT_FALSE(outsideIds().contains(QStringLiteral("E1")));
    // Once the list has caught up, the same command goes through.
    EXPECT_EQ(config.AddEmployees(outsideIds(), 26).added, 3);
}

TEST_F(PlanConfigTest, RemovesTheRowUnderTheCursorAskingOnlyWhenTheOptionSaysSo)
{
    inPlan(QStringLiteral("E1"));
    inPlan(QStringLiteral("E2"));
    config.Reload();
    auto& list = t.db().DBFEmployeesSettings;
    ASSERT_TRUE(t.db().LocateByText(list, QStringLiteral("IDEMPLOYEE"), QStringLiteral("E1")));

    t.dialogs().answer(false);
    EXPECT_FALSE(config.RemoveCurrent());
    EXPECT_EQ(planSize(), 2);
    EXPECT_FALSE(config.changed());
    EXPECT_EQ(t.dialogs().questionTexts(), QStringList{PlanConfig::kDeleteQuestion});

    t.dialogs().answer(true);
    EXPECT_TRUE(config.RemoveCurrent());
    EXPECT_EQ(figure(QStringLiteral("IDEMPLOYEE"), QStringLiteral("E1")), QString());
    EXPECT_TRUE(config.changed());
    EXPECT_TRUE(outsideIds().contains(QStringLiteral("E1")));

    options.pytajPrzedKasowaniem = false;
    t.dialogs().clear();
    EXPECT_TRUE(config.RemoveCurrent());
    EXPECT_EQ(planSize(), 0);
    EXPECT_TRUE(t.dialogs().shown().empty());
    // An empty list: nothing at all.
    EXPECT_FALSE(config.RemoveCurrent());
}

TEST_F(PlanConfigTest, ADismissedEmployeeStaysInThePlanButLeavesTheLeftListWhenRemoved)
{
    inPlan(QStringLiteral("E5"));
    options.pytajPrzedKasowaniem = false;
    config.Reload();
    EXPECT_EQ(t.db().DBFEmployeesSettings.asString(QStringLiteral("IDEMPLOYEE")),
              QStringLiteral("E5"));
    EXPECT_TRUE(config.RemoveCurrent());
    EXPECT_FALSE(outsideIds().contains(QStringLiteral("E5")));
}

TEST_F(PlanConfigTest, EditWritesTheWindowsValuesKeepsTheChecksumAndFindsTheRowAgain)
{
    inPlan(QStringLiteral("E1"), 26, -400, 4242);
    inPlan(QStringLiteral("E2"));
    config.Reload();
    auto& list = t.db().DBFEmployeesSettings;
    ASSERT_TRUE(t.db().LocateByText(list, QStringLiteral("IDEMPLOYEE"), QStringLiteral("E1")));

    // Cancelled: nothing written, nothing changed.
    EXPECT_FALSE(config.EditCurrent([](const fb::DataSet&) { return std::nullopt; }));
    EXPECT_FALSE(config.changed());

    EXPECT_TRUE(config.EditCurrent([](const fb::DataSet& row) -> std::optional<EntitlementData> {
        auto v = EntitlementData::fromCurrentRow(row);
        EXPECT_TRUE(v);
        EXPECT_EQ(v->lastYearDays, -400);
        v->thisYearDays = 20;
        v->sickDays = 4;
        v->otherDescr = QStringLiteral("Żłobek, szkolenie");
        return v;
    }));
    EXPECT_TRUE(config.changed());
    EXPECT_EQ(figure(QStringLiteral("THISYEARDAYS"), QStringLiteral("E1")), QStringLiteral("20"));
    EXPECT_EQ(figure(QStringLiteral("LASTYEARDAYS"), QStringLiteral("E1")), QStringLiteral("-400"));
    EXPECT_EQ(figure(QStringLiteral("SICKDAYS"), QStringLiteral("E1")), QStringLiteral("4"));
    EXPECT_EQ(figure(QStringLiteral("CHECKSUM"), QStringLiteral("E1")), QStringLiteral("4242"));
    EXPECT_EQ(figure(QStringLiteral("OTHERDESCR"), QStringLiteral("E1")),
              QStringLiteral("Żłobek, szkolenie"));
    EXPECT_EQ(list.asString(QStringLiteral("IDEMPLOYEE")), QStringLiteral("E1"));
}

TEST_F(PlanConfigTest, FiguresAreReadFromEitherListOfSettings)
{
    inPlan(QStringLiteral("E1"), 21, -3);
    t.exec(QStringLiteral("UPDATE EMPLOYEESSETTINGS SET SICKDAYS=2, OTHERDESCR='x'"));
    config.Reload();
    EXPECT_EQ(EntitlementData::fromCurrentRow(t.db().DBFEmployeesSettings),
              (EntitlementData{-3, 21, 0, 0, 0, 2, 0, QStringLiteral("x")}));
    // The leave editor's list of one employee has only the two counted figures.
    t.db().OpenSingleSettings(kYear, QStringLiteral("E1"));
    EXPECT_EQ(EntitlementData::fromCurrentRow(t.db().DBFSingleEmployeeSettings),
              (EntitlementData{-3, 21, 0, 0, 0, 0, 0, QString()}));
    t.db().DBFSingleEmployeeSettings.close();
    EXPECT_FALSE(EntitlementData::fromCurrentRow(t.db().DBFSingleEmployeeSettings));
}

TEST_F(PlanConfigTest, AFailedEditIsReportedWithItsCode)
{
    inPlan(QStringLiteral("E1"));
    config.Reload();
    refuseWritesOf(QStringLiteral("E1"), "BEFORE UPDATE");
    EXPECT_FALSE(config.EditCurrent([](const fb::DataSet& row) {
        return EntitlementData::fromCurrentRow(row);
    }));
    EXPECT_FALSE(config.changed());
    EXPECT_TRUE(errorLog().contains(QStringLiteral("[0000102127]")));
}

TEST_F(PlanConfigTest, LeavingTheFolderStoresItAndWarnsAboutAMissingFolder)
{
    QTemporaryDir dir;
    config.LeaveFolder(dir.path());
    EXPECT_TRUE(t.dialogs().shown().empty());
    EXPECT_EQ(config.storedFolder(), dir.path());

    const QString missing = dir.path() + QStringLiteral("/nie ma");
    config.LeaveFolder(missing);
    EXPECT_EQ(config.storedFolder(), missing);
    EXPECT_EQ(t.dialogs().informationTexts(),
              QStringList{QStringLiteral("Podana ścieżka nieistnieje. Podaj poprawną lokalizację")});
    EXPECT_EQ(t.dialogs().shown().front().caption, QStringLiteral("Uwaga"));

    // "Pokaż wszystkich pracowników" leaves an edited folder first, then drops the filter.
    t.dialogs().clear();
    config.SetUnitFilter(7);
    config.ShowAll(missing);
    EXPECT_TRUE(t.dialogs().shown().empty());
    EXPECT_EQ(config.unitFilter(), -1);
    config.ShowAll(dir.path());
    EXPECT_EQ(config.storedFolder(), dir.path());
    EXPECT_FALSE(config.changed());
}

TEST_F(PlanConfigTest, AChosenFolderTheFieldCannotHoldUnchangedIsRefused)
{
    EXPECT_FALSE(config.FolderChosen(QLatin1Char('/') + QString(200, QLatin1Char('a'))));
    EXPECT_FALSE(config.FolderChosen(QStringLiteral("/dane/Пётр")));
    EXPECT_FALSE(config.changed());
    EXPECT_EQ(t.dialogs().informationTexts().size(), 2);
    EXPECT_TRUE(config.FolderChosen(QStringLiteral("/dane/Łódź")));
    EXPECT_TRUE(config.changed());
}

// --- one folder per plan ----------------------------------------------------------------------

TEST(PlanFolderTest, AProposedFolderIsTheOtherPlansWithThisYear)
{
    EXPECT_EQ(ProposedPlanFolder(2025, QStringLiteral("/srv/kadry/urlopy 2024/"), 2024),
              QStringLiteral("/srv/kadry/urlopy 2025"));
    EXPECT_EQ(ProposedPlanFolder(2025, QStringLiteral("/srv/kadry/urlopy"), 2024),
              QStringLiteral("/srv/kadry/urlopy/Plan urlopowy 2025"));
    EXPECT_EQ(ProposedPlanFolder(2025, QString(), 2024), QString());
    EXPECT_TRUE(SameFolder(QStringLiteral("/srv/a/../b/"), QStringLiteral("/srv/b")));
    EXPECT_FALSE(SameFolder(QStringLiteral("/srv/b"), QStringLiteral("/srv/bb")));
}

// Two plans in one folder would overwrite each other's files: a new plan is offered a folder of
// its own, and taking the other plan's folder is asked about, with the reason, once.
TEST_F(PlanConfigTest, ANewPlanGetsAFolderOfItsOwnAndSharingOneIsAskedFirst)
{
    QTemporaryDir dir;
    const QString last = dir.path() + QStringLiteral("/plany 2023");
    ASSERT_TRUE(QDir().mkdir(last));
    t.exec(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2023, 4, "
                          "'%1')")
               .arg(last));
    config.Open(kYear, QString(), 0);
    const QString proposed = dir.path() + QStringLiteral("/plany 2024");
    EXPECT_EQ(config.proposedFolder(), proposed);
    EXPECT_TRUE(config.LeaveFolder(proposed));
    EXPECT_TRUE(t.dialogs().shown().empty()) << "not missing: made when the window closes";
    EXPECT_EQ(config.CloseFolder(proposed), proposed);
    EXPECT_TRUE(QFileInfo(proposed).isDir());

    // Last year's folder, typed with a trailing separator: asked, and refused.
    t.dialogs().answer(false);
    EXPECT_FALSE(config.LeaveFolder(last + QLatin1Char('/')));
    EXPECT_EQ(config.storedFolder(), proposed);
    ASSERT_EQ(t.dialogs().questionTexts().size(), 1);
    EXPECT_TRUE(t.dialogs().questionTexts().at(0).contains(QStringLiteral("na rok 2023")));
    EXPECT_TRUE(t.dialogs().questionTexts().at(0).contains(QStringLiteral("nadpisywałyby")));
    t.dialogs().answer(false);
    EXPECT_FALSE(config.FolderChosen(last));
    EXPECT_EQ(config.CloseFolder(proposed), proposed);

    // Chosen on purpose: asked once, not again when the window closes.
    t.dialogs().answer(true);
    EXPECT_TRUE(config.FolderChosen(last));
    EXPECT_EQ(config.CloseFolder(last), last);
    EXPECT_EQ(t.dialogs().questionTexts().size(), 3);

    // Typed and the window closed at once: asked then; "Nie" keeps the folder it had.
    config.Open(kYear, proposed, 0);
    EXPECT_EQ(config.proposedFolder(), QString()) << "it has a folder";
    t.dialogs().answer(false);
    EXPECT_EQ(config.CloseFolder(last), proposed);
    EXPECT_TRUE(t.dialogs().allAnswersUsed());
}

// --- batch change ------------------------------------------------------------------------------

class BatchEditTest : public PlanConfigTest
{
protected:
    BatchEdit batch{t.db(), t.dialogs()};

    void SetUp() override
    {
        PlanConfigTest::SetUp();
        for (const char* id : {"E1", "E2", "E3", "E4"})
            inPlan(QString::fromLatin1(id), 26, 5);
        t.db().OpenSettingsBatch(kYear);
    }
};

TEST(BatchStatement, ListsOneParameterPerEmployee)
{
    EXPECT_EQ(BatchStatement(QStringLiteral("LASTYEARDAYS"), 3),
              QStringLiteral("UPDATE EMPLOYEESSETTINGS SET LASTYEARDAYS=:DAYS  WHERE IDYEAR=:IDYEAR "
                             "AND IDEMPLOYEE IN(:E0,:E1,:E2)"));
    EXPECT_TRUE(BatchStatement(QStringLiteral("SICKDAYS"), 0).endsWith(QStringLiteral("IN(:E0)")));
    EXPECT_EQ(BatchColumn(0), QStringLiteral("THISYEARDAYS"));
    EXPECT_EQ(BatchColumn(1), QStringLiteral("LASTYEARDAYS"));
    EXPECT_EQ(BatchColumn(-1), QStringLiteral("OTHERDAYS"));
    EXPECT_EQ(BatchColumn(99), QStringLiteral("OTHERDAYS"));
}

TEST_F(BatchEditTest, SetsTheChosenFigureOfExactlyTheSelectedEmployees)
{
    EXPECT_TRUE(batch.Apply(kYear, QStringLiteral("0"), 1,
                            {QStringLiteral("E3"), QStringLiteral("E1"), QStringLiteral("E4")}));
    for (const char* id : {"E1", "E3", "E4"})
        EXPECT_EQ(figure(QStringLiteral("LASTYEARDAYS"), QString::fromLatin1(id)),
                  QStringLiteral("0"));
    EXPECT_EQ(figure(QStringLiteral("LASTYEARDAYS"), QStringLiteral("E2")), QStringLiteral("5"));
    EXPECT_EQ(figure(QStringLiteral("THISYEARDAYS"), QStringLiteral("E1")), QStringLiteral("26"));
    EXPECT_EQ(t.dialogs().informationTexts(), QStringList{BatchEdit::kDone});
    EXPECT_TRUE(t.db().DBFEmployeesSettings.isOpen());
}

TEST_F(BatchEditTest, WithoutASelectionTheRowUnderTheCursorIsChanged)
{
    auto& list = t.db().DBFEmployeesSettingsBatch;
    ASSERT_TRUE(t.db().LocateByText(list, QStringLiteral("IDEMPLOYEE"), QStringLiteral("E4")));
    EXPECT_TRUE(batch.Apply(kYear, QStringLiteral(" 12 "), 5, {}));
    EXPECT_EQ(figure(QStringLiteral("SICKDAYS"), QStringLiteral("E4")), QStringLiteral("12"));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT SUM(SICKDAYS) FROM EMPLOYEESSETTINGS")), 12);
}

TEST_F(BatchEditTest, RefusesWhatIsNotANumberOfDays)
{
    const struct
    {
        const char* text;
        QString message;
    } cases[] = {{"", BatchEdit::kBadNumber},
                 {"abc", BatchEdit::kBadNumber},
                 {"12.5", BatchEdit::kBadNumber},
                 {"-1", kInvalidEntitlement},
                 {"366", kInvalidEntitlement}};
    for (const auto& c : cases) {
        t.dialogs().clear();
        EXPECT_FALSE(batch.Apply(kYear, QString::fromLatin1(c.text), 0, {QStringLiteral("E1")}))
            << c.text;
        EXPECT_EQ(t.dialogs().informationTexts(), QStringList{c.message}) << c.text;
        EXPECT_EQ(t.dialogs().shown().front().caption, QStringLiteral("Błąd"));
    }
    EXPECT_EQ(figure(QStringLiteral("THISYEARDAYS"), QStringLiteral("E1")), QStringLiteral("26"));
    EXPECT_TRUE(batch.Apply(kYear, QStringLiteral("365"), 0, {QStringLiteral("E1")}));
}

TEST_F(BatchEditTest, ALargeSelectionGoesInSeveralStatementsAllOrNothing)
{
    batch.setChunkSize(3);
    const QStringList all = {QStringLiteral("E1"), QStringLiteral("E2"), QStringLiteral("E3"),
                             QStringLiteral("E4")};
    EXPECT_TRUE(batch.Apply(kYear, QStringLiteral("9"), 2, all));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEESSETTINGS WHERE "
                                         "NURSINGDAYS=9")),
              4);

    // A refusal in the second statement takes back the first.
    refuseWritesOf(QStringLiteral("E4"), "BEFORE UPDATE");
    t.dialogs().clear();
    EXPECT_FALSE(batch.Apply(kYear, QStringLiteral("1"), 2, all));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEESSETTINGS WHERE "
                                         "NURSINGDAYS=9")),
              4);
    EXPECT_TRUE(errorLog().contains(QStringLiteral("[0000102127]")));
    EXPECT_FALSE(t.db().DBFTransaction.isActive());
}

TEST_F(BatchEditTest, ThousandsOfSelectedEmployeesInOneCommand)
{
    QStringList ids;
    for (int i = 0; i < 2600; ++i)
        ids << QStringLiteral("B%1").arg(i, 4, 10, QLatin1Char('0'));
    ASSERT_TRUE(t.db().Utility(1, [&](fb::Statement& st) {
        st.setSql(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME) VALUES (:ID, 'X')"));
        for (const QString& id : ids) {
            st.setParam(QStringLiteral("ID"), id);
            st.execute();
        }
    }));
    config.Reload();
    EXPECT_EQ(config.AddEmployees(ids, 26).added, 2600);
    t.db().OpenSettingsBatch(kYear);
    EXPECT_TRUE(batch.Apply(kYear, QStringLiteral("7"), 6, ids));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEESSETTINGS WHERE OTHERDAYS=7")),
              2600);
}

} // namespace

// Reading leave-plan files back on a real embedded database: the rules for missing, damaged,
// foreign, linked, oversized and other years' files, the all-or-nothing store per employee
// committed in groups, another clerk holding an employee, and cancelling between employees.
#include "tests/planfiles/planfiles_fixture.h"
#include "tests/util/print.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "data/errorlog.h"
#include "data/fb/connection.h"
#include "data/fb/statement.h"
#include "data/fb/transaction.h"
#include "planfiles/planstore.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace zf {
namespace {

using test::PlanFilesTest;

// Every day of 2024, as date numbers.
QList<int> wholeYear()
{
    QList<int> days;
    for (QDate d(2024, 1, 1); d.year() == 2024; d = d.addDays(1))
        days << d.year() * 10000 + d.month() * 100 + d.day();
    return days;
}

// As PlanFilesTest::days lists them.
QString listed(const QList<int>& days)
{
    QStringList texts;
    for (const int d : days)
        texts << QString::number(d);
    return texts.join(QLatin1Char(','));
}

TEST_F(PlanFilesTest, ImportStoresChangedFilesAndTheirStampsMakeThemCurrent)
{
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(exportAll(x));
    QStringList changed;
    EXPECT_FALSE(x.FindChangedPlanFiles(changed)) << "right after an export all are current";
    EXPECT_EQ(x.SkippedCount(), 0);

    // Days of another year, impossible days and a repeated day are left out.
    fillIn("adam", {20240805, 20230805, 20240231, 20240806, 20240805}, {}, 12);
    fillIn("cezary", {}, {20240102}, -7); // same stamp: current although its days differ
    EXPECT_TRUE(x.FindChangedPlanFiles(changed));
    EXPECT_EQ(changed, QStringList{QStringLiteral("A1")});

    ASSERT_TRUE(x.ImportPlanFiles(changed));
    EXPECT_TRUE(messages().isEmpty()) << messages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "A1"), QStringLiteral("20240805,20240806"));
    EXPECT_EQ(days("EMPLOYEECONSTDAYS", "A1"), QString()) << "earlier fixed days are deleted";
    EXPECT_EQ(stamp("A1"), 12);
    EXPECT_FALSE(x.FindChangedPlanFiles(changed));
}

TEST_F(PlanFilesTest, ImportSkipsUnreadableFilesAndGoesOn)
{
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(exportAll(x));
    fillIn("adam", {20240610}, {}, 1);
    fillIn("cezary", {20240611}, {}, 2);
    ASSERT_TRUE(QFile::remove(path("beata")));
    ASSERT_TRUE(
        x.ImportPlanFiles({QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3")}));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages().at(0),
              QStringLiteral("Nie powiodła się próba odczytu pliku ") + path("beata") +
                  QStringLiteral(". Plik jest niedostępny lub zablokowany. Plan ten zostanie "
                                 "pominięty. Dalszy import będzie mimo to kontynuowany"));
    EXPECT_EQ(x.SkippedCount(), 1);
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "A1"), QStringLiteral("20240610"));
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "C3"), QStringLiteral("20240611"));

    // An oversized file counts as unreadable, in the import and in the search.
    QFile big(path("cezary"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(kMaxPlanFileSize + 1, 'x'));
    big.close();
    t.dialogs().clear();
    EXPECT_FALSE(x.ImportPlanFiles({QStringLiteral("C3")}));
    EXPECT_EQ(x.SkippedCount(), 1);
    QStringList changed;
    x.FindChangedPlanFiles(changed);
    EXPECT_EQ(x.SkippedCount(), 2) << "beata missing, cezary too big";
}

TEST_F(PlanFilesTest, ScanSkipsAnotherEmployeesFile)
{
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(exportAll(x));
    fillIn("adam", {20240610}, {}, 12);
    // Adam's changed file under Beata's name carries a stamp Beata's row does not have.
    ASSERT_TRUE(QFile::remove(path("beata")));
    ASSERT_TRUE(QFile::copy(path("adam"), path("beata")));
    QStringList changed;
    EXPECT_TRUE(x.FindChangedPlanFiles(changed));
    EXPECT_EQ(changed, QStringList{QStringLiteral("A1")});
    EXPECT_EQ(x.SkippedCount(), 1);
    EXPECT_TRUE(messages().isEmpty()) << "the scan names no skipped file";
}

// "Utwórz z istniejącego" keeps the folder, so last year's files are still there.
TEST_F(PlanFilesTest, FilesOfAnotherYearAreNeitherOfferedNorRead)
{
    t.exec(QStringLiteral("INSERT INTO HOLIDAYPLANS (IDYEAR, STATUS, PLANDIR) VALUES (2023, 5, "
                          "'%1')")
               .arg(folder.path()));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                          "THISYEARDAYS, CHECKSUM) VALUES (2023, 'A1', 0, 26, 5)"));
    t.exec(QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                          "(2023, 'A1', 20230703)"));
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(exportAll(x));
    fillIn("cezary", {20240611}, {}, 2);
    TWorkingWithXML lastYear(t.db(), 2023);
    t.dialogs().answer(true);         // no non-working day in 2023
    t.dialogs().answerChoice(1);      // this year's file replaced by last year's
    ASSERT_TRUE(lastYear.WritePlanFiles({QStringLiteral("A1")}, QString(), true, false));
    ASSERT_TRUE(clearText("adam").startsWith("<ZEFIRANT><IDYEAR>2023</IDYEAR>"));

    QStringList changed;
    EXPECT_TRUE(x.FindChangedPlanFiles(changed));
    EXPECT_EQ(changed, QStringList{QStringLiteral("C3")}) << "stamp 5 of 2023 is not news for 2024";
    EXPECT_EQ(x.SkippedCount(), 1);

    EXPECT_TRUE(
        x.ImportPlanFiles({QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3")}));
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Plik planu ") + path("adam") +
                                      QStringLiteral(" jest planem na rok 2023, a wczytywany jest "
                                                     "plan na rok 2024. Plan ten zostanie "
                                                     "pominięty. Dalszy import będzie mimo to "
                                                     "kontynuowany")});
    EXPECT_EQ(x.SkippedCount(), 1);
    EXPECT_FALSE(x.lastRun().stopped);
    EXPECT_EQ(x.lastRun().done, 2);
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "A1"), QStringLiteral("20240301,20240501,20240702"));
    EXPECT_EQ(days("EMPLOYEECONSTDAYS", "A1"), QStringLiteral("20241224"));
    EXPECT_EQ(stamp("A1"), 11);
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "C3"), QStringLiteral("20240611"));
    EXPECT_EQ(stamp("C3"), 2);

    // A file that names no year is no file of this plan either.
    QByteArray text = clearText("beata");
    text.replace("<IDYEAR>2024</IDYEAR>", "");
    ASSERT_TRUE(WritePlanFileBytes(path("beata"), EncryptString(text, kPlanFileCipherKey)));
    t.dialogs().clear();
    EXPECT_FALSE(x.ImportPlanFiles({QStringLiteral("B2")}));
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Plik planu ") + path("beata") +
                                      QStringLiteral(" nie podaje poprawnego roku planu, a "
                                                     "wczytywany jest plan na rok 2024. Plan ten "
                                                     "zostanie pominięty. Dalszy import będzie "
                                                     "mimo to kontynuowany")});
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "B2"), QStringLiteral("20240805"));
}

// Employees can write in the plan folder: a link there must not lead the office outside it.
TEST_F(PlanFilesTest, LinkedPlanFilesAreNeitherWrittenNorRead)
{
    QTemporaryDir outside;
    const QString target = outside.path() + QStringLiteral("/kadry.txt");
    const QByteArray kept("kadry\0dane", 10);
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kept);
    }
    ASSERT_TRUE(QFile::link(target, path("beata")));
    TWorkingWithXML x(t.db(), 2024);
    EXPECT_TRUE(exportAll(x));
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(x.lastRun().leftAlone.size(), 1) << "the link is left alone and named";
    EXPECT_EQ(x.lastRun().done, 2);
    QFile check(target);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), kept);
    check.close();
    EXPECT_TRUE(QFileInfo(path("beata")).isSymLink());

    // A changed plan of Beata's outside the folder, reached through the link: not offered, and
    // refused as unreadable when asked for.
    ASSERT_TRUE(x.WritePlanFiles({QStringLiteral("C3")}, QString(), true, false));
    fillIn("cezary", {20240611}, {}, 2);
    QByteArray foreign = clearText("cezary");
    foreign.replace("<IDEMPLOYEE>C3</IDEMPLOYEE>", "<IDEMPLOYEE>B2</IDEMPLOYEE>");
    ASSERT_TRUE(QFile::remove(target));
    ASSERT_TRUE(WritePlanFileBytes(target, EncryptString(foreign, kPlanFileCipherKey)));
    QStringList changed;
    EXPECT_TRUE(x.FindChangedPlanFiles(changed));
    EXPECT_EQ(changed, QStringList{QStringLiteral("C3")});
    EXPECT_EQ(x.SkippedCount(), 1) << "beata is a link";
    t.dialogs().clear();
    EXPECT_TRUE(x.ImportPlanFiles({QStringLiteral("B2"), QStringLiteral("C3")}));
    EXPECT_EQ(messages(),
              QStringList{QStringLiteral("Nie powiodła się próba odczytu pliku ") + path("beata") +
                          QStringLiteral(". Plik jest niedostępny lub zablokowany. "
                                         "Plan ten zostanie pominięty. Dalszy import "
                                         "będzie mimo to kontynuowany")});
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "B2"), QStringLiteral("20240805"));
    EXPECT_EQ(stamp("B2"), 0);
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "C3"), QStringLiteral("20240611"));
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), EncryptString(foreign, kPlanFileCipherKey));
}

TEST_F(PlanFilesTest, ImportStopsAtADamagedOrForeignFileKeepingTheStoredOnes)
{
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(exportAll(x));
    fillIn("adam", {20240610}, {}, 1);
    QByteArray text = clearText("beata");
    text.replace("<CHECKSUM>0</CHECKSUM>", "<CHECKSUM>12a</CHECKSUM>");
    ASSERT_TRUE(WritePlanFileBytes(path("beata"), EncryptString(text, kPlanFileCipherKey)));
    fillIn("cezary", {20240611}, {}, 2);
    EXPECT_TRUE(
        x.ImportPlanFiles({QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3")}))
        << "one plan was stored";
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Pojawił się błąd podczas próby wczytywania "
                                                     "planu. Plik planu jest niepoprawny lub "
                                                     "został uszkodzony.")});
    EXPECT_TRUE(x.lastRun().stopped);
    EXPECT_EQ(x.lastRun().stoppedAt, QStringLiteral("Beata Bednarz (B2)"));
    EXPECT_EQ(stamp("A1"), 1);
    EXPECT_EQ(stamp("C3"), -7) << "the run stopped before Cezary";

    // Adam's file under Beata's name: another employee's plan.
    ASSERT_TRUE(QFile::remove(path("beata")));
    ASSERT_TRUE(QFile::copy(path("adam"), path("beata")));
    t.dialogs().clear();
    EXPECT_FALSE(x.ImportPlanFiles({QStringLiteral("B2")}));
    EXPECT_EQ(messages(), QStringList{QStringLiteral("Plik planu zawiera niepoprawne dane.")});
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "B2"), QStringLiteral("20240805"));
}

TEST_F(PlanFilesTest, AFailedStoreLeavesTheEmployeeUntouched)
{
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(exportAll(x));
    // The database refuses one fixed day, after the chosen days were already replaced.
    t.exec(QStringLiteral("ALTER TABLE EMPLOYEECONSTDAYS ADD CONSTRAINT TEST_NO_JULY_4 CHECK "
                          "(SELECTEDDAY <> 20240704)"));
    fillIn("adam", {20240610, 20240611}, {20240704}, 99);
    fillIn("beata", {20240612}, {}, 5);
    EXPECT_FALSE(x.ImportPlanFiles({QStringLiteral("A1"), QStringLiteral("B2")}));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages().at(0).startsWith(
        QStringLiteral("Wystąpił nieoczekiwany błąd. Orginalny komunikat: ")));
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "A1"), QStringLiteral("20240301,20240501,20240702"));
    EXPECT_EQ(days("EMPLOYEECONSTDAYS", "A1"), QStringLiteral("20241224"));
    EXPECT_EQ(stamp("A1"), 11);
    EXPECT_EQ(stamp("B2"), 0) << "the run stops at the failed store";
}

// One employee of a chunk failing: those before him stored, he and those after him untouched,
// and the clerk told what the engine says of the same store outside the chunk's statement. Held
// by another clerk past the lock timeout, he is told so in Polish.
TEST_F(PlanFilesTest, AFailureInsideAChunkKeepsTheEmployeesBeforeIt)
{
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(exportAll(x));
    t.exec(QStringLiteral("ALTER TABLE EMPLOYEECONSTDAYS ADD CONSTRAINT TEST_NO_JULY_4 CHECK "
                          "(SELECTEDDAY <> 20240704)"));
    QString refused;
    try {
        t.exec(QStringLiteral("INSERT INTO EMPLOYEECONSTDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) "
                              "VALUES (2024, 'B2', 20240704)"));
    } catch (const Exception& e) {
        refused = e.message();
    }
    ASSERT_FALSE(refused.isEmpty());
    fillIn("adam", {20240610}, {}, 21);
    fillIn("beata", {20240611}, {20240704}, 22);
    fillIn("cezary", {20240612}, {}, 23);
    const QStringList all{QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3")};
    const auto expectStoppedAtBeata = [&] {
        EXPECT_TRUE(x.lastRun().stopped);
        EXPECT_EQ(x.lastRun().stoppedAt, QStringLiteral("Beata Bednarz (B2)"));
        EXPECT_EQ(x.lastRun().done, 1);
        EXPECT_EQ(stamp("A1"), 21);
        EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "A1"), QStringLiteral("20240610"));
        EXPECT_EQ(stamp("B2"), 0);
        EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "B2"), QStringLiteral("20240805"));
        EXPECT_EQ(stamp("C3"), -7);
        EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "C3"), QString());
    };
    EXPECT_TRUE(x.ImportPlanFiles(all));
    EXPECT_EQ(messages(),
              QStringList{QStringLiteral("Wystąpił nieoczekiwany błąd. Orginalny komunikat: ") +
                          refused});
    expectStoppedAtBeata();

    fillIn("beata", {20240611}, {}, 22);
    t.db().SetLockTimeout(1);
    fb::Connection other;
    other.attach(t.path(), QString::fromLatin1(test::TestDatabase::kUser),
                 QString::fromLatin1(test::TestDatabase::kPassword));
    {
        fb::Transaction held(other, fb::tpb::write());
        held.start();
        fb::Statement st(other, &held);
        st.setSql(QStringLiteral("UPDATE EMPLOYEESSETTINGS SET THISYEARDAYS=27 WHERE "
                                 "IDYEAR=2024 AND IDEMPLOYEE='B2'"));
        st.execute();
        t.dialogs().clear();
        EXPECT_TRUE(x.ImportPlanFiles(all));
        held.rollback();
    }
    other.detach();
    EXPECT_EQ(messages(), QStringList{ErrorLog::kConflictMessage});
    expectStoppedAtBeata();
}

// Employees are committed together, but before every message: while the clerk reads about one
// file, the employees before it are already stored for everybody. A store failing later in the
// run keeps the employees before it and leaves the failing one untouched.
TEST_F(PlanFilesTest, StoredEmployeesAreCommittedBeforeAMessageAndAFailureLaterKeepsThem)
{
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(exportAll(x));
    fillIn("adam", {20240610}, {}, 41);
    fillIn("cezary", {20240611}, {}, 43);
    ASSERT_TRUE(QFile::remove(path("beata")));
    QStringList seenByOthers;
    t.dialogs().whileInformationShows = [&](const QString&) {
        seenByOthers << t.scalar(QStringLiteral(
            "SELECT LIST(CHECKSUM, ',') FROM (SELECT CHECKSUM FROM EMPLOYEESSETTINGS WHERE "
            "IDYEAR=2024 ORDER BY IDEMPLOYEE)"));
    };
    ASSERT_TRUE(
        x.ImportPlanFiles({QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3")}));
    EXPECT_EQ(seenByOthers, QStringList{QStringLiteral("41,0,-7")});
    EXPECT_EQ(x.lastRun().done, 2);
    EXPECT_EQ(stamp("C3"), 43);

    // Now the third employee's store fails: the first two are stored, the third untouched.
    t.dialogs().whileInformationShows = {};
    t.dialogs().clear();
    ASSERT_TRUE(x.WritePlanFiles({QStringLiteral("B2")}, QStringLiteral("Uwagi"), true, true));
    t.exec(QStringLiteral("ALTER TABLE EMPLOYEECONSTDAYS ADD CONSTRAINT TEST_NO_JULY_4 CHECK "
                          "(SELECTEDDAY <> 20240704)"));
    fillIn("adam", {20240612}, {}, 51);
    fillIn("beata", {20240613}, {}, 52);
    fillIn("cezary", {20240614}, {20240704}, 53);
    EXPECT_TRUE(
        x.ImportPlanFiles({QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3")}));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(x.lastRun().done, 2);
    EXPECT_TRUE(x.lastRun().stopped);
    EXPECT_EQ(stamp("A1"), 51);
    EXPECT_EQ(stamp("B2"), 52);
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "B2"), QStringLiteral("20240613"));
    EXPECT_EQ(stamp("C3"), 43);
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "C3"), QStringLiteral("20240611"));
}

// A commit refused in the middle of the run ends it there: the run names the first employee of
// the refused commit, not a later one, and reads nothing after it.
TEST_F(PlanFilesTest, AFailedCommitMidRunStopsAtTheFirstEmployeeNotStored)
{
    {
        TWorkingWithXML before(t.db(), 2024);
        ASSERT_TRUE(exportAll(before));
    }
    fillIn("adam", {20240610}, {}, 51);
    fillIn("beata", {20240613}, {}, 52);
    fillIn("cezary", {20240614}, {}, 53);
    t.exec(QStringLiteral("CREATE EXCEPTION TEST_NO_COMMIT 'zapis odrzucony'"));
    t.exec(QStringLiteral("CREATE TRIGGER TEST_REFUSE_COMMIT ON TRANSACTION COMMIT AS BEGIN IF "
                          "(EXISTS (SELECT * FROM EMPLOYEESSETTINGS WHERE IDYEAR=2024 AND "
                          "IDEMPLOYEE='B2' AND CHECKSUM=52)) THEN EXCEPTION TEST_NO_COMMIT; END"));
    // A connection takes the database's triggers when it attaches.
    t.db().Disconnect();
    ASSERT_TRUE(t.db().Connect(t.path(), QString::fromLatin1(test::TestDatabase::kUser),
                               QString::fromLatin1(test::TestDatabase::kPassword)));
    TWorkingWithXML x(t.db(), 2024);
    // An employee no longer in the plan brings a message, and the stored ones are committed
    // before each message.
    EXPECT_TRUE(x.ImportPlanFiles({QStringLiteral("A1"), QStringLiteral("GONE1"),
                                   QStringLiteral("B2"), QStringLiteral("C3"),
                                   QStringLiteral("GONE2")}));
    EXPECT_TRUE(x.lastRun().stopped);
    EXPECT_EQ(x.lastRun().stoppedAt, QStringLiteral("Beata Bednarz (B2)"));
    EXPECT_EQ(x.lastRun().done, 1);
    ASSERT_EQ(messages().size(), 2) << messages().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(messages().at(0).contains(QStringLiteral("GONE1")));
    EXPECT_TRUE(messages().at(1).contains(QStringLiteral("TEST_NO_COMMIT")) ||
                messages().at(1).contains(QStringLiteral("zapis odrzucony")))
        << messages().at(1).toStdString();
    EXPECT_EQ(stamp("A1"), 51);
    EXPECT_EQ(stamp("B2"), 0);
    EXPECT_EQ(stamp("C3"), -7);

    // The rest can be read again: exactly they are offered.
    QStringList changed;
    ASSERT_TRUE(x.FindChangedPlanFiles(changed));
    EXPECT_EQ(changed, (QStringList{QStringLiteral("B2"), QStringLiteral("C3")}));
}

// More employees than one commit takes, and one with more days than a chunk's slot holds:
// every one of them stored.
TEST_F(PlanFilesTest, AnImportOfManyEmployeesStoresThemAll)
{
    QStringList keys;
    for (int i = 0; i < 130; ++i) {
        const QString key = QStringLiteral("M%1").arg(i, 3, 10, QLatin1Char('0'));
        t.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, NAME, SURNAME, FILENAME, PWD) "
                              "VALUES ('%1', 'Jan', 'Nowak', 'm%1', 'x')")
                   .arg(key));
        t.exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, LASTYEARDAYS, "
                              "THISYEARDAYS, CHECKSUM) VALUES (2024, '%1', 0, 20, 0)")
                   .arg(key));
        keys << key;
    }
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(x.WritePlanFiles(keys, QStringLiteral("Uwagi"), true, true));
    for (int i = 0; i < keys.size(); ++i)
        fillIn(QStringLiteral("m%1").arg(keys.at(i)).toLatin1().constData(), {20240610 + i % 5}, {},
               1000 + i);
    // The whole year chosen, more than a chunk's slot holds, and the first days of each month
    // fixed as well.
    const QList<int> year = wholeYear();
    QList<int> firsts;
    for (const int d : year)
        if (d % 100 <= 3)
            firsts << d;
    fillIn("mM070", year, firsts, 1070);
    ASSERT_TRUE(x.ImportPlanFiles(keys));
    EXPECT_TRUE(messages().isEmpty()) << messages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(x.lastRun().done, 130);
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "M070"), listed(year));
    EXPECT_EQ(days("EMPLOYEECONSTDAYS", "M070"), listed(firsts));
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "M071"), QStringLiteral("20240611"));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM EMPLOYEESSETTINGS WHERE "
                                         "IDYEAR=2024 AND CHECKSUM >= 1000")),
              130);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT SUM(CHECKSUM - 1000) FROM EMPLOYEESSETTINGS "
                                         "WHERE IDYEAR=2024 AND CHECKSUM >= 1000")),
              129 * 130 / 2);
}

// The statements of the store: one per chunk, whatever its employees' days; an employee with more
// days than a slot holds alone; a chunk that fails, one by one up to the employee that fails.
TEST_F(PlanFilesTest, TheStoreRunsOneStatementPerChunk)
{
    // A statement keeps the constraints of the moment it was prepared: refused from the start.
    t.exec(QStringLiteral("ALTER TABLE EMPLOYEEHOLIDAYS ADD CONSTRAINT TEST_NO_JULY_4 CHECK "
                          "(SELECTEDDAY <> 20240704)"));
    PlanStore store(t.db(), 2024);
    const QString a = QStringLiteral("A1"), b = QStringLiteral("B2"), c = QStringLiteral("C3");
    store.add(a, a, 31, {20240610, 20240611}, {20240612});
    store.add(c, c, 33, {}, {20240613});
    PlanStoreResult r = store.flush();
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(r.stored, 2);
    EXPECT_EQ(store.statements(), 1);
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "A1"), QStringLiteral("20240610,20240611"));
    EXPECT_EQ(days("EMPLOYEECONSTDAYS", "A1"), QStringLiteral("20240612"));
    EXPECT_EQ(days("EMPLOYEECONSTDAYS", "C3"), QStringLiteral("20240613"));
    EXPECT_EQ(stamp("C3"), 33);

    const QList<int> year = wholeYear();
    store.add(a, a, 41, {20240614}, {});
    QList<int> yearButJuly4 = year;
    yearButJuly4.removeOne(20240704);
    store.add(b, b, 42, yearButJuly4, year);
    store.add(c, c, 43, {20240615}, {});
    r = store.flush();
    EXPECT_EQ(r.stored, 3);
    EXPECT_EQ(store.statements(), 4) << "Adam, Beata alone, Cezary";
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "B2"), listed(yearButJuly4));
    EXPECT_EQ(days("EMPLOYEECONSTDAYS", "B2"), listed(year));
    EXPECT_EQ(stamp("B2"), 42);

    store.add(a, a, 51, {20240616}, {});
    store.add(b, b, 52, {20240704}, {});
    store.add(c, c, 53, {20240617}, {});
    r = store.flush();
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(r.stored, 1);
    EXPECT_EQ(r.stoppedAt, b);
    EXPECT_TRUE(r.message.contains(QStringLiteral("TEST_NO_JULY_4"))) << r.message.toStdString();
    EXPECT_EQ(store.statements(), 4 + 3) << "the chunk, then Adam and Beata";
    EXPECT_EQ(stamp("A1"), 51);
    EXPECT_EQ(stamp("B2"), 42);
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "B2"), listed(yearButJuly4));
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "C3"), QStringLiteral("20240615"));
}

// Another clerk saving the employee's settings holds the row: the import waits for him and then
// stores the file's plan over his change, instead of failing at once when he commits.
TEST_F(PlanFilesTest, AStoreWaitsForAnotherClerkHoldingTheEmployee)
{
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(exportAll(x));
    fillIn("adam", {20240610}, {}, 5);

    fb::Connection other;
    other.attach(t.path(), QString::fromLatin1(test::TestDatabase::kUser),
                 QString::fromLatin1(test::TestDatabase::kPassword));
    std::string otherError;
    {
        fb::Transaction held(other, fb::tpb::write());
        held.start();
        fb::Statement st(other, &held);
        st.setSql(QStringLiteral("UPDATE EMPLOYEESSETTINGS SET THISYEARDAYS=27 WHERE "
                                 "IDYEAR=2024 AND IDEMPLOYEE='A1'"));
        st.execute();
        std::thread clerk([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(700));
            try {
                held.commit();
            } catch (const std::exception& e) {
                otherError = e.what();
            }
        });
        const bool stored = x.ImportPlanFiles({QStringLiteral("A1")});
        clerk.join();
        EXPECT_TRUE(stored) << messages().join(QLatin1Char('|')).toStdString();
    }
    other.detach();
    EXPECT_EQ(otherError, std::string());
    EXPECT_TRUE(messages().isEmpty()) << messages().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(stamp("A1"), 5);
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "A1"), QStringLiteral("20240610"));
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT THISYEARDAYS FROM EMPLOYEESSETTINGS WHERE "
                                         "IDYEAR=2024 AND IDEMPLOYEE='A1'")),
              27)
        << "the other clerk's change stays";
}

TEST_F(PlanFilesTest, CancelledImportLeavesEveryEmployeeDoneOrUntouched)
{
    TWorkingWithXML x(t.db(), 2024);
    ASSERT_TRUE(exportAll(x));
    fillIn("adam", {20240610}, {}, 1);
    fillIn("beata", {20240612}, {}, 5);
    x.setProgress([](int index, int, const QString&) { return index < 1; });
    EXPECT_TRUE(x.ImportPlanFiles({QStringLiteral("A1"), QStringLiteral("B2")}));
    EXPECT_TRUE(x.lastRun().cancelled);
    EXPECT_EQ(x.lastRun().done, 1);
    EXPECT_EQ(stamp("A1"), 1);
    EXPECT_EQ(stamp("B2"), 0);
    EXPECT_EQ(days("EMPLOYEEHOLIDAYS", "B2"), QStringLiteral("20240805"));
}

} // namespace
} // namespace zf

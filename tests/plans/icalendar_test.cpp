// The calendar export: runs of leave, folding and escaping, and the written files read back by an
// independent parser (Python's icalendar package) event by event.
#include "plans/icalendar.h"

#include "tests/plans/overview_seed.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/test_database.h"
#include "tests/support/test_env.h"
#include "util/dates.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

namespace zf {
namespace {

using test::PlanSeed;
using test::TestDatabase;

constexpr int kYear = 2024;
const QString kLongSurname = QStringLiteral("Żółkiewska-Brzęczyszczykiewicz-Gżegżółka");

int day(int dateNumber)
{
    return PlanDayOfYear(dateNumber, kYear);
}

// Parses `path` with Python's icalendar; the lines UID|DTSTART|DTEND|SUMMARY of its events.
QStringList parsedEvents(const QString& path)
{
    const QString python = QFile::exists(QStringLiteral("/usr/bin/python3"))
                               ? QStringLiteral("/usr/bin/python3")
                               : QStringLiteral("python3");
    QProcess p;
    p.start(python, {test::sourceFolder() + QStringLiteral("/tests/plans/icalendar_check.py"), path});
    EXPECT_TRUE(p.waitForFinished(60000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_EQ(p.exitCode(), 0) << out.toStdString() << p.readAllStandardError().toStdString();
    return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

class CalendarExportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PlanSeed s(t.db());
        s.plan(kYear);
        s.employee(QStringLiteral("P1"), QStringLiteral("Łucja Żaneta"), kLongSurname);
        s.employee(QStringLiteral("K/7 ą"), QStringLiteral("Jan, Maria"), QStringLiteral("Nowak; Kos"));
        s.employee(QStringLiteral("P3"), QStringLiteral("Ola"), QStringLiteral("Pusta"));
        for (const QString& id : {QStringLiteral("P1"), QStringLiteral("K/7 ą"), QStringLiteral("P3")})
            s.inPlan(kYear, id, 0, 26);
        s.freeDay(kYear, 20240511);
        s.freeDay(kYear, 20240512);
        s.freeDay(kYear, 20240101);
        // Across the end of January, across 29 February into March, Friday to Monday over a
        // stored weekend, a Saturday and a Monday around a Sunday not stored as non-working,
        // and the last two days of the year.
        for (int d : {20240131, 20240201, 20240228, 20240229, 20240301, 20240510, 20240513,
                      20240615, 20240617, 20241230, 20241231})
            s.leave(kYear, QStringLiteral("P1"), d);
        // A leave row on a non-working day is no leave: 1 January does not start a run.
        s.leave(kYear, QStringLiteral("K/7 ą"), 20240101);
        s.leave(kYear, QStringLiteral("K/7 ą"), 20240102);
        s.commit();
        ASSERT_TRUE(LoadOverview(t.db(), kYear, 0, data));
        ASSERT_EQ(data.plans.Count(), 3);
    }

    const THolidayPlanEntry& entry(const QString& id) { return data.plans.at(data.plans.IndexOf(id)); }

    TestDatabase t;
    OverviewData data;
    QTemporaryDir dir;
};

TEST_F(CalendarExportTest, RunsJoinOnlyOverNonWorkingDays)
{
    const QList<LeaveRun> runs = LeaveRuns(data, entry(QStringLiteral("P1")));
    const QList<std::pair<int, int>> expected{
        {day(20240131), day(20240201)}, {day(20240228), day(20240301)},
        {day(20240510), day(20240513)}, {day(20240615), day(20240615)},
        {day(20240617), day(20240617)}, {day(20241230), day(20241231)}};
    ASSERT_EQ(runs.size(), expected.size());
    for (qsizetype i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].firstDay, expected[i].first) << i;
        EXPECT_EQ(runs[i].lastDay, expected[i].second) << i;
    }
    EXPECT_TRUE(LeaveRuns(data, entry(QStringLiteral("P3"))).isEmpty());
    // UIDs differ per employee, plan, run and database, and hold nothing that needs escaping.
    const QString id = QStringLiteral("0123456789abcdef0123456789abcdef");
    const QString uid = LeaveRunUid(kYear, QStringLiteral("K/7 ą"), runs[0], id);
    EXPECT_EQ(uid, QStringLiteral("urlop-2024-K%2F7%20%C4%85-20240131@") + id +
                       QStringLiteral(".zefirant"));
    EXPECT_NE(uid, LeaveRunUid(2025, QStringLiteral("K/7 ą"), runs[0], id));
    EXPECT_NE(uid, LeaveRunUid(kYear, QStringLiteral("P1"), runs[0], id));
    EXPECT_NE(uid, LeaveRunUid(kYear, QStringLiteral("K/7 ą"), runs[1], id));
    EXPECT_NE(uid, LeaveRunUid(kYear, QStringLiteral("K/7 ą"), runs[0],
                               QStringLiteral("fedcba9876543210fedcba9876543210")));
}

TEST_F(CalendarExportTest, LinesAreEscapedAndFoldedWithoutSplittingCharacters)
{
    EXPECT_EQ(EscapeCalendarText(QStringLiteral("a,b;c\\d\r\ne\nf")),
              QStringLiteral("a\\,b\\;c\\\\d\\ne\\nf"));
    const QByteArray line = QStringLiteral("SUMMARY:Urlop: ąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąąą x")
                                .toUtf8();
    const QByteArray folded = FoldCalendarLine(line);
    const QList<QByteArray> parts = folded.split('\n');
    ASSERT_GT(parts.size(), 1);
    QByteArray unfolded;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QByteArray p = parts[i];
        if (i + 1 < parts.size()) {
            ASSERT_TRUE(p.endsWith('\r'));
            p.chop(1);
        }
        EXPECT_LE(p.size(), 75);
        if (i > 0) {
            ASSERT_TRUE(p.startsWith(' '));
            p.remove(0, 1);
        }
        // Each piece is whole UTF-8 on its own.
        EXPECT_EQ(QString::fromUtf8(p).toUtf8(), p);
        EXPECT_FALSE(QString::fromUtf8(p).contains(QChar::ReplacementCharacter));
        unfolded += p;
    }
    EXPECT_EQ(unfolded, line);
    EXPECT_EQ(FoldCalendarLine("BEGIN:VEVENT"), QByteArray("BEGIN:VEVENT"));
}

TEST_F(CalendarExportTest, OneFileIsReadBackEventByEventAndAgainWithTheSameUids)
{
    test::FixedClock clockNow(QDateTime(QDate(2024, 1, 15), QTime(10, 0)));
    const QString path = dir.filePath(QStringLiteral("plan.ics"));
    t.dialogs().answer(false); // not one file per employee
    t.dialogs().chooseFile(path);
    ASSERT_TRUE(ExportPlanCalendar(t.db(), data, t.dialogs()));
    EXPECT_EQ(t.dialogs().informationTexts(), QStringList{QStringLiteral("Eksport zakończony poprawnie")});
    EXPECT_EQ(t.dialogs().shown().at(1).text,
              QStringLiteral("Grafik urlopowy %1.ics").arg(data.year)) << "the proposed name";

    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_TRUE(bytes.endsWith("\r\n"));
    for (const QByteArray& l : bytes.split('\n').mid(0, bytes.count('\n'))) {
        EXPECT_TRUE(l.endsWith('\r')) << "a bare line feed";
        EXPECT_LE(l.size() - 1, 75) << l.toStdString();
    }
    EXPECT_TRUE(bytes.contains("\r\n ")) << "the long summary is folded";

    const QString p1Summary = QStringLiteral("Urlop: Łucja Żaneta ") + kLongSurname;
    const QString at = QLatin1Char('@') + CalendarDatabaseId(t.db()) + QStringLiteral(".zefirant");
    const auto p1 = [&](const char* start, const char* end) {
        return QStringLiteral("urlop-2024-P1-%1%4|%1|%2|%3")
            .arg(QLatin1String(start), QLatin1String(end), p1Summary, at);
    };
    const QStringList expected{
        p1("20240131", "20240202"), p1("20240228", "20240302"), p1("20240510", "20240514"),
        p1("20240615", "20240616"), p1("20240617", "20240618"), p1("20241230", "20250101"),
        QStringLiteral("urlop-2024-K%2F7%20%C4%85-20240102") + at +
            QStringLiteral("|20240102|20240103|Urlop: Jan, Maria Nowak; Kos")};
    const QStringList events = parsedEvents(path);
    // Entries come in the overview's order: by surname.
    QStringList sortedEvents = events;
    QStringList sortedExpected = expected;
    sortedEvents.sort();
    sortedExpected.sort();
    EXPECT_EQ(sortedEvents, sortedExpected);

    // A second export later: the same events under the same UIDs.
    test::FixedClock later(QDateTime(QDate(2024, 2, 1), QTime(8, 0)));
    t.dialogs().answer(false);
    t.dialogs().chooseFile(path);
    ASSERT_TRUE(ExportPlanCalendar(t.db(), data, t.dialogs()));
    QStringList again = parsedEvents(path);
    again.sort();
    EXPECT_EQ(again, sortedEvents);
}

TEST_F(CalendarExportTest, OneFilePerEmployeeIntoAFolder)
{
    t.dialogs().answer(true);
    t.dialogs().chooseFile(dir.path());
    ASSERT_TRUE(ExportPlanCalendar(t.db(), data, t.dialogs()));
    QStringList names = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(names, (QStringList{QStringLiteral("Urlop-2024-K_7_ą.ics"), QStringLiteral("Urlop-2024-P1.ics"),
                                  QStringLiteral("Urlop-2024-P3.ics")}));
    EXPECT_EQ(parsedEvents(dir.filePath(QStringLiteral("Urlop-2024-P1.ics"))).size(), 6);
    EXPECT_EQ(parsedEvents(dir.filePath(QStringLiteral("Urlop-2024-K_7_ą.ics"))).size(), 1);
    EXPECT_TRUE(parsedEvents(dir.filePath(QStringLiteral("Urlop-2024-P3.ics"))).isEmpty());

    // Cancelling the folder writes nothing and says nothing.
    t.dialogs().clear();
    t.dialogs().answer(true);
    t.dialogs().chooseFile(QString());
    EXPECT_FALSE(ExportPlanCalendar(t.db(), data, t.dialogs()));
    EXPECT_TRUE(t.dialogs().informationTexts().isEmpty());
    // A folder that cannot be written is reported.
    t.dialogs().answer(true);
    t.dialogs().chooseFile(dir.filePath(QStringLiteral("no/such/folder")));
    EXPECT_FALSE(ExportPlanCalendar(t.db(), data, t.dialogs()));
    EXPECT_EQ(t.dialogs().informationTexts(), QStringList{QStringLiteral("Nie udało się wyeksportować danych")});
}

TEST(CalendarDatabaseId, MadeOnceStoredInTheDatabaseAndOwnToEachDatabase)
{
    TestDatabase office;
    const QString id = CalendarDatabaseId(office.db());
    ASSERT_EQ(id.size(), 32);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$")).match(id).hasMatch()) << id.toStdString();
    EXPECT_EQ(office.scalarInt(QStringLiteral(
                  "SELECT COUNT(*) FROM SYSTEMPARAMS WHERE ID STARTING WITH 'DBIDENTITY'")),
              4);
    // Asked again, and by a new connection to the same file: the same identity.
    EXPECT_EQ(CalendarDatabaseId(office.db()), id);
    TmyDataBase again(office.db().paths(), office.dialogs());
    ASSERT_TRUE(again.Connect(office.path(), QString::fromLatin1(TestDatabase::kUser),
                              QString::fromLatin1(TestDatabase::kPassword)));
    EXPECT_EQ(CalendarDatabaseId(again), id);
    again.Disconnect();
    // What is stored is what is used: a value changed in the table changes the identity.
    office.exec(QStringLiteral("UPDATE SYSTEMPARAMS SET IVALUE = -1 WHERE ID = 'DBIDENTITY2'"));
    EXPECT_EQ(CalendarDatabaseId(office.db()).mid(8, 8), QStringLiteral("ffffffff"));

    TestDatabase otherOffice;
    EXPECT_NE(CalendarDatabaseId(otherOffice.db()), CalendarDatabaseId(office.db()));
    EXPECT_TRUE(office.dialogs().shown().empty());

    // A part already there (another copy was quicker) is kept; only the missing ones are made.
    TestDatabase third;
    third.exec(QStringLiteral("INSERT INTO SYSTEMPARAMS (ID, IVALUE) VALUES ('DBIDENTITY3', 255)"));
    const QString thirdId = CalendarDatabaseId(third.db());
    EXPECT_EQ(thirdId.mid(16, 8), QStringLiteral("000000ff"));
    EXPECT_EQ(third.scalarInt(QStringLiteral(
                  "SELECT COUNT(*) FROM SYSTEMPARAMS WHERE ID STARTING WITH 'DBIDENTITY'")),
              4);
    EXPECT_EQ(CalendarDatabaseId(third.db()), thirdId);
    EXPECT_TRUE(third.dialogs().shown().empty());
}

TEST(CalendarExport, TwoOfficesWithTheSameNumbersNeverShareAnEvent)
{
    QTemporaryDir dir;
    QStringList uids[2];
    for (int office = 0; office < 2; ++office) {
        TestDatabase t;
        PlanSeed s(t.db());
        s.plan(kYear);
        s.employee(QStringLiteral("P1"), QStringLiteral("Ala"), QStringLiteral("Kowalska"));
        s.inPlan(kYear, QStringLiteral("P1"), 0, 26);
        s.leave(kYear, QStringLiteral("P1"), 20240102);
        s.commit();
        OverviewData data;
        ASSERT_TRUE(LoadOverview(t.db(), kYear, 0, data));
        const QString path = dir.filePath(QStringLiteral("biuro%1.ics").arg(office));
        t.dialogs().chooseFile(path); // one employee: no question
        ASSERT_TRUE(ExportPlanCalendar(t.db(), data, t.dialogs()));
        for (const QString& event : parsedEvents(path))
            uids[office] << event.section(QLatin1Char('|'), 0, 0);
    }
    ASSERT_EQ(uids[0].size(), 1);
    ASSERT_EQ(uids[1].size(), 1);
    EXPECT_NE(uids[0], uids[1]);
}

TEST(CalendarFileNames, NumbersThatReplacingMakesOneGetFilesOfTheirOwn)
{
    // No clash: the names as they always were.
    EXPECT_EQ(EmployeeCalendarFileNames(kYear, {QStringLiteral("P1"), QStringLiteral("K/7 ą")}),
              (QStringList{QStringLiteral("Urlop-2024-P1.ics"), QStringLiteral("Urlop-2024-K_7_ą.ics")}));
    const QStringList clash{QStringLiteral("A/1"), QStringLiteral("A:1"), QStringLiteral("A_1"),
                            QStringLiteral("a_1"), QStringLiteral("A 1")};
    const QStringList names = EmployeeCalendarFileNames(kYear, clash);
    ASSERT_EQ(names.size(), clash.size());
    QSet<QString> folded;
    for (const QString& n : names) {
        folded.insert(n.toCaseFolded());
        EXPECT_TRUE(n.startsWith(QStringLiteral("Urlop-2024-"))) << n.toStdString();
        EXPECT_TRUE(n.endsWith(QStringLiteral(".ics"))) << n.toStdString();
        EXPECT_FALSE(n.mid(6).contains(QRegularExpression(QStringLiteral("[/:\\s]")))) << n.toStdString();
    }
    EXPECT_EQ(folded.size(), clash.size()) << names.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(names[2], QStringLiteral("Urlop-2024-A_1.ics")) << "a number needing no change keeps its name";
    // Each number keeps its name whatever the others and their order.
    QStringList reversed = clash;
    std::reverse(reversed.begin(), reversed.end());
    QStringList back = EmployeeCalendarFileNames(kYear, reversed);
    std::reverse(back.begin(), back.end());
    EXPECT_EQ(back.mid(0, 2), names.mid(0, 2));
    EXPECT_EQ(EmployeeCalendarFileNames(kYear, {clash[1], clash[0]}),
              (QStringList{names[1], names[0]}));
}

TEST(CalendarExport, OneFilePerEmployeeNeverOverwritesAnotherEmployeesFile)
{
    TestDatabase t;
    PlanSeed s(t.db());
    s.plan(kYear);
    s.employee(QStringLiteral("A/1"), QStringLiteral("Adam"), QStringLiteral("Ukośnik"));
    s.employee(QStringLiteral("A:1"), QStringLiteral("Anna"), QStringLiteral("Dwukropek"));
    for (const QString& id : {QStringLiteral("A/1"), QStringLiteral("A:1")})
        s.inPlan(kYear, id, 0, 26);
    s.leave(kYear, QStringLiteral("A/1"), 20240102);
    s.leave(kYear, QStringLiteral("A:1"), 20240103);
    s.commit();
    OverviewData data;
    ASSERT_TRUE(LoadOverview(t.db(), kYear, 0, data));
    ASSERT_EQ(data.plans.Count(), 2);
    QTemporaryDir dir;
    t.dialogs().answer(true);
    t.dialogs().chooseFile(dir.path());
    ASSERT_TRUE(ExportPlanCalendar(t.db(), data, t.dialogs()));
    const QStringList files = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 2) << files.join(QLatin1Char(' ')).toStdString();
    QStringList summaries;
    for (const QString& f : files) {
        const QStringList events = parsedEvents(dir.filePath(f));
        ASSERT_EQ(events.size(), 1) << f.toStdString();
        summaries << events[0].section(QLatin1Char('|'), 3);
    }
    summaries.sort();
    EXPECT_EQ(summaries, (QStringList{QStringLiteral("Urlop: Adam Ukośnik"),
                                      QStringLiteral("Urlop: Anna Dwukropek")}));
}

} // namespace
} // namespace zf

// Staffing thresholds on a real database: storing them, the overview's summary rows and their
// sheet, the question before approval and the leave editor's view of the unit.
#include "plans/staffing.h"

#include "data/mydatabase.h"
#include "tests/plans/overview_seed.h"
#include "tests/support/test_database.h"
#include "util/dates.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace zf {
namespace {

using test::PlanSeed;
using test::TestDatabase;

constexpr int kYear = 2024;
constexpr int kService = 900; // threshold 2, employees A, B, C
constexpr int kStore = 901;   // no threshold, employee D

// Dates in a text written with "-", shown with the separator in use.
QString withSeparator(QString text)
{
    static const QRegularExpression date(QStringLiteral("(\\d\\d)-(\\d\\d)-(\\d{4})"));
    const QString sep = QString(dateSeparator());
    return text.replace(date, QStringLiteral("\\1") + sep + QStringLiteral("\\2") + sep + QStringLiteral("\\3"));
}

int day(int dateNumber)
{
    return PlanDayOfYear(dateNumber, kYear);
}

class StaffingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        t.exec(QStringLiteral("INSERT INTO DICTIONARY (IDDICTIONARY, IDTYPE, DESCRIPTION) VALUES (900, 'ZESPO', 'Serwis')"));
        t.exec(QStringLiteral("INSERT INTO DICTIONARY (IDDICTIONARY, IDTYPE, DESCRIPTION) VALUES (901, 'ZESPO', 'Magazyn B')"));
        PlanSeed s(t.db());
        s.plan(kYear);
        s.employee(QStringLiteral("A"), QStringLiteral("Anna"), QStringLiteral("Adamska"), kService);
        s.employee(QStringLiteral("B"), QStringLiteral("Bożena"), QStringLiteral("Bąk"), kService);
        s.employee(QStringLiteral("C"), QStringLiteral("Cezary"), QStringLiteral("Cis"), kService);
        s.employee(QStringLiteral("D"), QStringLiteral("Dawid"), QStringLiteral("Dąb"), kStore);
        s.employee(QStringLiteral("E"), QStringLiteral("Edyta"), QStringLiteral("Ek"));
        for (const char* id : {"A", "B", "C", "D", "E"})
            s.inPlan(kYear, QString::fromLatin1(id), 0, 26);
        // Saturday 9 March is a stored non-working day; Saturday 16 March is not.
        s.freeDay(kYear, 20240309);
        // Two of three away on Tuesday 5 March, one on the 6th.
        s.leave(kYear, QStringLiteral("A"), 20240305);
        s.leave(kYear, QStringLiteral("B"), 20240305);
        s.leave(kYear, QStringLiteral("A"), 20240306);
        // Everybody away on the non-working Saturday and on the working one.
        for (const char* id : {"A", "B", "C"}) {
            s.leave(kYear, QString::fromLatin1(id), 20240309);
            s.leave(kYear, QString::fromLatin1(id), 20240316);
        }
        s.leave(kYear, QStringLiteral("D"), 20240305);
        s.commit();
    }

    OverviewData load(int unitFilter = 0)
    {
        OverviewData data;
        EXPECT_TRUE(LoadOverview(t.db(), kYear, unitFilter, data));
        return data;
    }

    TestDatabase t;
};

TEST_F(StaffingTest, ThresholdsAreStoredReadAndRemoved)
{
    EXPECT_EQ(ReadUnitThreshold(t.db(), kService), 0);
    ASSERT_TRUE(SaveUnitThreshold(t.db(), kService, 2));
    ASSERT_TRUE(SaveUnitThreshold(t.db(), kService, 3)); // replaces, no second row
    EXPECT_EQ(ReadUnitThreshold(t.db(), kService), 3);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM UNITSTAFFING")), 1);
    UnitThresholds all;
    ASSERT_TRUE(LoadUnitThresholds(t.db(), all));
    ASSERT_EQ(all.size(), 1);
    EXPECT_EQ(all.value(kService).name, QStringLiteral("Serwis"));
    EXPECT_EQ(all.value(kService).minimum, 3);

    ASSERT_TRUE(SaveUnitThreshold(t.db(), kService, 0));
    EXPECT_EQ(ReadUnitThreshold(t.db(), kService), 0);
    EXPECT_EQ(t.scalarInt(QStringLiteral("SELECT COUNT(*) FROM UNITSTAFFING")), 0);
    // A unit that is not in the dictionary is refused by the database and reported.
    EXPECT_FALSE(SaveUnitThreshold(t.db(), 4242, 1));
    EXPECT_EQ(t.dialogs().shown().size(), 1u);
}

TEST_F(StaffingTest, TwoOfThreeAwayIsOneDayBelowAndNonWorkingDaysNeverCount)
{
    ASSERT_TRUE(SaveUnitThreshold(t.db(), kService, 2));
    const OverviewData data = load();
    std::vector<UnitStaffing> rows;
    ASSERT_TRUE(LoadStaffing(t.db(), data, rows));
    ASSERT_EQ(rows.size(), 1u) << "only units with a threshold get a row";
    const UnitStaffing& s = rows[0];
    EXPECT_EQ(s.members, 3);
    EXPECT_EQ(s.presentOn(day(20240305)), 1);
    EXPECT_EQ(s.presentOn(day(20240306)), 2);
    EXPECT_EQ(s.presentOn(day(20240307)), 3);
    EXPECT_TRUE(s.isBelow(day(20240305)));
    EXPECT_EQ(s.missingOn(day(20240305)), 1);
    EXPECT_FALSE(s.isBelow(day(20240306)));
    // Nobody at work on both Saturdays; only the one not stored as non-working counts.
    EXPECT_FALSE(s.isBelow(day(20240309)));
    EXPECT_TRUE(s.isBelow(day(20240316)));
    EXPECT_EQ(s.missingOn(day(20240316)), 2);
    EXPECT_EQ(s.below.count(), 2u);

    // A threshold above the unit's size: every working day below, no non-working day.
    ASSERT_TRUE(SaveUnitThreshold(t.db(), kService, 4));
    ASSERT_TRUE(LoadStaffing(t.db(), data, rows));
    EXPECT_EQ(static_cast<int>(rows[0].below.count()), data.dayCount() - 1);
    EXPECT_FALSE(rows[0].isBelow(day(20240309)));
    EXPECT_FALSE(rows[0].isBelow(data.dayCount() + 1));
}

TEST_F(StaffingTest, UnitFilterShowsOnlyItsOwnRowAndUnitsAreOrderedByName)
{
    ASSERT_TRUE(SaveUnitThreshold(t.db(), kService, 2));
    ASSERT_TRUE(SaveUnitThreshold(t.db(), kStore, 1));
    std::vector<UnitStaffing> rows;
    ASSERT_TRUE(LoadStaffing(t.db(), load(), rows));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].name, QStringLiteral("Magazyn B"));
    EXPECT_EQ(rows[1].name, QStringLiteral("Serwis"));
    EXPECT_TRUE(rows[0].isBelow(day(20240305)));

    ASSERT_TRUE(LoadStaffing(t.db(), load(kService), rows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].unit, kService);
}

TEST_F(StaffingTest, SheetGetsTheSummaryRowsOnlyWhenThereIsAThreshold)
{
    const OverviewData data = load();
    std::vector<UnitStaffing> rows;
    ASSERT_TRUE(LoadStaffing(t.db(), data, rows));
    EXPECT_TRUE(rows.empty());
    EXPECT_EQ(OverviewSheet(data, rows), OverviewSheet(data));

    ASSERT_TRUE(SaveUnitThreshold(t.db(), kService, 2));
    ASSERT_TRUE(LoadStaffing(t.db(), data, rows));
    const QList<QStringList> plain = OverviewSheet(data);
    const QList<QStringList> sheet = OverviewSheet(data, rows);
    ASSERT_EQ(sheet.size(), plain.size() + 1);
    // Header, weekdays, five employees, the summary row, then the empty row and the legend.
    const QStringList& row = sheet[7];
    EXPECT_EQ(row.mid(0, 3), (QStringList{QStringLiteral("Obsada: Serwis"), QStringLiteral("min. 2"), QString()}));
    ASSERT_EQ(row.size(), data.dayCount() + 3);
    EXPECT_EQ(row[2 + day(20240305)], QStringLiteral("1 (brak 1)"));
    EXPECT_EQ(row[2 + day(20240306)], QStringLiteral("2"));
    EXPECT_EQ(row[2 + day(20240309)], QStringLiteral("x"));
    EXPECT_EQ(sheet.back(), plain.back());
    EXPECT_EQ(StaffingHintText(rows[0], day(20240305)),
              QStringLiteral("Poniżej minimalnej obsady (2): obecnych 1, brakuje 1"));
    EXPECT_TRUE(StaffingHintText(rows[0], day(20240306)).isEmpty());
}

TEST_F(StaffingTest, ApprovalQuestionListsTheFirstDaysAndUnits)
{
    ASSERT_TRUE(SaveUnitThreshold(t.db(), kService, 2));
    ASSERT_TRUE(SaveUnitThreshold(t.db(), kStore, 1));
    std::vector<UnitStaffing> rows;
    ASSERT_TRUE(LoadStaffing(t.db(), load(), rows));
    const std::vector<StaffingShortfall> f = Shortfalls(rows);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_EQ(f[0].day, day(20240305));
    EXPECT_EQ(f[0].unitName, QStringLiteral("Magazyn B"));
    EXPECT_EQ(f[1].unitName, QStringLiteral("Serwis"));
    EXPECT_EQ(f[2].day, day(20240316));
    const QString text = ApprovalQuestionText(kYear, f, 2);
    EXPECT_EQ(text.toStdString(),
              withSeparator(QStringLiteral("W planie są dni poniżej minimalnej obsady:\n"
                                           "05-03-2024  Magazyn B (brakuje 1)\n"
                                           "05-03-2024  Serwis (brakuje 1)\n"
                                           "i jeszcze 1 innych.\n\nCzy na pewno zatwierdzić plan?"))
                  .toStdString());
}

TEST_F(StaffingTest, EditorCountsTheOthersOfTheUnitAndMarksOnlyTheEmployeesOwnDays)
{
    EditorStaffing none;
    ASSERT_TRUE(LoadEditorStaffing(t.db(), kYear, QStringLiteral("A"), none));
    EXPECT_EQ(none.minimum, 0);
    YearDays days = MakeYearDays(true);
    days[2][4].selected = true; // 5 March
    EXPECT_TRUE(EditorBelowDays(none, days).isEmpty()) << "no threshold, nothing marked";

    ASSERT_TRUE(SaveUnitThreshold(t.db(), kService, 2));
    EditorStaffing s;
    ASSERT_TRUE(LoadEditorStaffing(t.db(), kYear, QStringLiteral("A"), s));
    EXPECT_EQ(s.minimum, 2);
    EXPECT_EQ(s.unitName, QStringLiteral("Serwis"));
    EXPECT_EQ(s.othersPresent[day(20240305) - 1], 1); // B away, C at work
    EXPECT_EQ(s.othersPresent[day(20240306) - 1], 2);
    days[2][5].selected = true;  // 6 March: B and C stay
    days[2][8].selected = true;  // 9 March: non-working
    days[2][15].selected = true; // 16 March: everybody away
    days[1][28].selected = true; // 29 February: all others at work
    days[1][30].selected = true; // 31 February is no day
    const QList<int> below = EditorBelowDays(s, days);
    EXPECT_EQ(below, (QList<int>{day(20240305), day(20240316)}));
    EXPECT_EQ(EditorBelowText(below), QStringLiteral("Poniżej minimalnej obsady: 2 dni"));
    EXPECT_EQ(EditorBelowHint(s, below).toStdString(),
              withSeparator(QStringLiteral("Minimalna obsada zespołu Serwis: 2\n05-03-2024 (obecnych 1)\n"
                                           "16-03-2024 (obecnych 0)"))
                  .toStdString());

    // The employee without a unit threshold sees nothing.
    EditorStaffing d;
    ASSERT_TRUE(LoadEditorStaffing(t.db(), kYear, QStringLiteral("D"), d));
    EXPECT_EQ(d.minimum, 0);
}

} // namespace
} // namespace zf

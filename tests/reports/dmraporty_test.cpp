// The report data on a real embedded database: checks before a report, the variables and
// running totals, the day tables and the data sources, the forms' checks.
#include "reports/dmraporty.h"

#include "data/mydatabase.h"
#include "data/programoptions.h"
#include "tests/reports/reports_seed.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/test_env.h"
#include "util/dates.h"

#include <gtest/gtest.h>

namespace zf {
namespace {

using test::TestDatabase;

class ReportData : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setDateSeparator(QLatin1Char('-'));
        test::seedReportPlan(t);
        dm.show = [this](const report::ReportDocument& doc) {
            ++shown;
            lastPages = doc.pageCount();
            lastText = doc.pageText(0);
        };
    }
    PlanReportFilters plan(int month = 0, int unit = 0) const
    {
        PlanReportFilters f;
        f.year = test::kSeedYear;
        f.month = month;
        f.monthName = month ? QStringLiteral("Styczeń") : QStringLiteral("(Cały rok)");
        f.unit = unit;
        f.unitName = unit ? QStringLiteral("Dział kadr") : QString();
        return f;
    }
    void openSummary()
    {
        t.db().OpenSummary(test::kSeedYear, 0, QString());
        dm.year = test::kSeedYear;
        dm.current = TDMRaporty::Report::Zestawienie;
    }

    TestDatabase t;
    TDMRaporty dm{t.db(), t.dialogs(), test::programFolder()};
    int shown = 0;
    int lastPages = 0;
    QString lastText;
};

TEST_F(ReportData, MissingChoicesStopThePlanReports)
{
    PlanReportFilters none;
    EXPECT_FALSE(dm.GrafikMiesiac(none));
    EXPECT_FALSE(dm.GrafikRok(none));
    EXPECT_FALSE(dm.Zestawienie(none));
    EXPECT_FALSE(dm.GrafikMiesiac(plan(0)));
    const QString noPlan =
        QStringLiteral("Nie wybrano planu uropowego, dla którego ma być generowany raport");
    EXPECT_EQ(t.dialogs().informationTexts(),
              QStringList({noPlan, noPlan, noPlan,
                           QStringLiteral("Nie wybrano w filtrze miesiąca, dla którego ma być "
                                          "generowany raport")}));
    EXPECT_EQ(t.dialogs().shown().front().caption, QStringLiteral("Informacja"));
    EXPECT_EQ(shown, 0);
}

TEST_F(ReportData, SummaryVariablesAndRunningTotals)
{
    openSummary();
    dm.SUM1 = dm.SUM2 = dm.SUM3 = 99;
    dm.first(QStringLiteral("dsZestawienie"));
    EXPECT_EQ(dm.page, 1);
    EXPECT_EQ(dm.SUM1, 0);
    ASSERT_FALSE(dm.eof(QStringLiteral("dsZestawienie")));
    // Kowalska first: 26 + 2 - 3 days (6 January is stored as non-working and does not count).
    EXPECT_EQ(dm.variable(QStringLiteral("EMPLOYEE")), QStringLiteral("Żaneta Kowalska (P1)"));
    EXPECT_EQ(dm.variable(QStringLiteral("THISYEARDAYS")), QStringLiteral("26"));
    EXPECT_EQ(dm.variable(QStringLiteral("LASTYEARDAYS")), QStringLiteral("2"));
    EXPECT_EQ(dm.variable(QStringLiteral("DAYSLEFT")), QStringLiteral("25"));
    EXPECT_EQ(dm.variable(QStringLiteral("DNIURLOPU")),
              QStringLiteral("03-01-2023\r04-01-2023\r10-02-2023"));
    EXPECT_EQ(dm.variable(QStringLiteral("DETALE")),
              QStringLiteral("\r\r    Opis dodatkowych dni urlopu:\r    Pobyt w szpitalu / "
                             "choroba: 2"));
    dm.next(QStringLiteral("dsZestawienie"));
    ASSERT_FALSE(dm.eof(QStringLiteral("dsZestawienie")));
    EXPECT_EQ(dm.variable(QStringLiteral("EMPLOYEE")), QStringLiteral("Jędrzej Nowak (P2)"));
    EXPECT_EQ(dm.variable(QStringLiteral("DETALE")),
              QStringLiteral("\r\r    Opis dodatkowych dni urlopu:\r    Opieka nad dzieckiem: "
                             "1\r    Inne: 3 (szkolenie BHP)"));
    EXPECT_EQ(dm.variable(QStringLiteral("THISYEARDAYS")), QStringLiteral("20"));
    EXPECT_EQ(dm.variable(QStringLiteral("LASTYEARDAYS")), QStringLiteral("0"));
    EXPECT_EQ(dm.variable(QStringLiteral("DAYSLEFT")), QStringLiteral("19"));
    EXPECT_EQ(dm.variable(QStringLiteral("SUM1")), QStringLiteral("46"));
    EXPECT_EQ(dm.variable(QStringLiteral("SUM2")), QStringLiteral("2"));
    EXPECT_EQ(dm.variable(QStringLiteral("SUM3")), QStringLiteral("44"));
    // Each question adds again: a template asks once per row.
    dm.variable(QStringLiteral("THISYEARDAYS"));
    EXPECT_EQ(dm.SUM1, 66);
    dm.next(QStringLiteral("dsZestawienie"));
    EXPECT_TRUE(dm.eof(QStringLiteral("dsZestawienie")));
}

TEST_F(ReportData, RemarksNameTheLabourCodeRulesBroken)
{
    // The article stays on one line of the narrow column: no-break spaces inside it.
    const QString run = QStringLiteral("brak 14 dni z rzędu (art.\u00A0162\u00A0KP)");
    const QString carried = QStringLiteral("zaległy urlop do 30 września (art.\u00A0168\u00A0KP)");
    // Kowalska: 28 days, leave on 3 and 4 January and 10 February (her two carried-over days
    // used in time), nothing near 14 days in a row. Nowak: 20 days, one day in August.
    openSummary();
    dm.first(QStringLiteral("dsZestawienie"));
    EXPECT_EQ(dm.variable(QStringLiteral("UWAGI")), run);
    dm.next(QStringLiteral("dsZestawienie"));
    EXPECT_EQ(dm.variable(QStringLiteral("UWAGI")), run);

    // Four carried over with three days by 30 September, and no sick days that would excuse
    // it; Nowak entitled to 9 days only. The rows are read once per report: a new one reads
    // them again.
    t.exec(QStringLiteral(
        "UPDATE EMPLOYEESSETTINGS SET LASTYEARDAYS=4, SICKDAYS=0 WHERE IDEMPLOYEE='P1'"));
    t.exec(QStringLiteral("UPDATE EMPLOYEESSETTINGS SET THISYEARDAYS=9 WHERE IDEMPLOYEE='P2'"));
    EXPECT_EQ(dm.variable(QStringLiteral("UWAGI")), run);
    TDMRaporty fresh{t.db(), t.dialogs(), test::programFolder()};
    t.db().OpenSummary(test::kSeedYear, 0, QString());
    fresh.year = test::kSeedYear;
    fresh.current = TDMRaporty::Report::Zestawienie;
    fresh.first(QStringLiteral("dsZestawienie"));
    EXPECT_EQ(fresh.variable(QStringLiteral("UWAGI")), run + QChar(13) + carried);
    fresh.next(QStringLiteral("dsZestawienie"));
    EXPECT_EQ(fresh.variable(QStringLiteral("UWAGI")), QString());
    // Her sick days recorded again: art. 168 is no remark.
    t.exec(QStringLiteral("UPDATE EMPLOYEESSETTINGS SET SICKDAYS=2 WHERE IDEMPLOYEE='P1'"));
    TDMRaporty sick{t.db(), t.dialogs(), test::programFolder()};
    t.db().OpenSummary(test::kSeedYear, 0, QString());
    sick.year = test::kSeedYear;
    sick.current = TDMRaporty::Report::Zestawienie;
    sick.first(QStringLiteral("dsZestawienie"));
    EXPECT_EQ(sick.variable(QStringLiteral("UWAGI")), run);

    // With the checks off in the options, no remarks.
    ProgramOptions off;
    off.sprawdzajKodeksPracy = false;
    TDMRaporty quiet{t.db(), t.dialogs(), test::programFolder()};
    quiet.options = &off;
    t.db().OpenSummary(test::kSeedYear, 0, QString());
    quiet.year = test::kSeedYear;
    quiet.current = TDMRaporty::Report::Zestawienie;
    quiet.first(QStringLiteral("dsZestawienie"));
    EXPECT_EQ(quiet.variable(QStringLiteral("UWAGI")), QString());
    // Only the summary answers it.
    quiet.current = TDMRaporty::Report::Grafik;
    off.sprawdzajKodeksPracy = true;
    EXPECT_EQ(quiet.variable(QStringLiteral("UWAGI")), QString());
}

TEST_F(ReportData, LeaveDaysOfTheChosenMonthOnly)
{
    openSummary();
    dm.monthNumber = 2;
    dm.first(QStringLiteral("dsZestawienie"));
    EXPECT_EQ(dm.variable(QStringLiteral("DNIURLOPU")), QStringLiteral("10-02-2023"));
    dm.monthNumber = 1;
    EXPECT_EQ(dm.variable(QStringLiteral("DNIURLOPU")), QStringLiteral("03-01-2023\r04-01-2023"));
}

TEST_F(ReportData, CommonVariables)
{
    dm.current = TDMRaporty::Report::Druki;
    dm.year = 2023;
    dm.monthName = QStringLiteral("Luty");
    dm.unitName = QStringLiteral("Dział kadr");
    dm.page = 3;
    EXPECT_EQ(dm.variable(QStringLiteral("ROK")), QStringLiteral("2023"));
    EXPECT_EQ(dm.variable(QStringLiteral("MIESIAC")), QStringLiteral("Luty"));
    EXPECT_EQ(dm.variable(QStringLiteral("ZESPOL")), QStringLiteral("Zespół: Dział kadr"));
    EXPECT_EQ(dm.variable(QStringLiteral("PAGE")), QStringLiteral("3"));
    dm.pageStarted();
    EXPECT_EQ(dm.variable(QStringLiteral("PAGE")), QStringLiteral("4"));
    EXPECT_EQ(dm.variable(QStringLiteral("REPORTDATE")).size(), 10);
    EXPECT_EQ(dm.variable(QStringLiteral("rok")), QString()); // names are upper case
    EXPECT_EQ(dm.variable(QStringLiteral("NIEZNANA")), QString());
    dm.unitName = QStringLiteral("   ");
    EXPECT_EQ(dm.variable(QStringLiteral("ZESPOL")), QString());
    dm.form.kind = QStringLiteral("Urlopu okolicznościowego");
    EXPECT_TRUE(dm.variable(QStringLiteral("RODZAJURLOPU"))
                    .startsWith(QStringLiteral("Urlopu okolicznościowego z tytułu ....")));
    dm.form.kind = QStringLiteral("Urlopu bezpłatngo");
    EXPECT_EQ(dm.variable(QStringLiteral("RODZAJURLOPU")), QStringLiteral("Urlopu bezpłatngo"));
}

TEST_F(ReportData, MonthlyDayTablesFollowTheRows)
{
    t.db().OpenSummary(test::kSeedYear, 0, QString());
    dm.year = test::kSeedYear;
    dm.monthNumber = 1;
    dm.current = TDMRaporty::Report::Grafik;
    dm.page = 7;
    dm.first(QStringLiteral("dsGrafik"));
    EXPECT_EQ(dm.page, 1);
    EXPECT_EQ(dm.variable(QStringLiteral("D03")), QStringLiteral("V"));
    EXPECT_EQ(dm.variable(QStringLiteral("D04")), QStringLiteral("V!"));
    EXPECT_EQ(dm.variable(QStringLiteral("D05")), QString());
    EXPECT_FALSE(dm.dayTable[5].working); // 6 January
    EXPECT_TRUE(dm.dayTable[4].working);
    // The hook empties and shades the non-working day's cell.
    QStringList lines{QStringLiteral("[D06]")};
    QColor fill;
    unsigned frame = report::FrameAll;
    dm.cellHook(lines, fill, frame);
    EXPECT_TRUE(lines[0].isEmpty());
    EXPECT_EQ(fill, fromWindowsColor(kColorGrey));
    dm.next(QStringLiteral("dsGrafik"));
    EXPECT_EQ(dm.variable(QStringLiteral("EMPLOYEE")), QStringLiteral("Jędrzej Nowak (P2)"));
    EXPECT_EQ(dm.variable(QStringLiteral("D03")), QString());
    dm.next(QStringLiteral("dsGrafik"));
    EXPECT_TRUE(dm.eof(QStringLiteral("dsGrafik")));
}

TEST_F(ReportData, DayTablesUnderTheUnitAndEmployeeFiltersAndAcrossReports)
{
    // One employee: the other's August day never shows; the unit of P1: January as stored.
    PlanReportFilters f = plan(8);
    f.monthName = QStringLiteral("Sierpień");
    f.employee = QStringLiteral("P2");
    ASSERT_TRUE(dm.GrafikMiesiac(f));
    EXPECT_TRUE(lastText.contains(QStringLiteral("Jędrzej Nowak (P2)")));
    EXPECT_FALSE(lastText.contains(QStringLiteral("Kowalska")));
    EXPECT_EQ(lastText.count(QStringLiteral("\nV\n")), 1) << qPrintable(lastText);
    ASSERT_TRUE(dm.GrafikMiesiac(plan(1, test::kSeedUnit)));
    EXPECT_TRUE(lastText.contains(QStringLiteral("\nV!\n")));
    // A day added between two reports is in the second.
    t.exec(QStringLiteral("INSERT INTO EMPLOYEEHOLIDAYS (IDYEAR, IDEMPLOYEE, SELECTEDDAY) VALUES "
                          "(2023, 'P2', 20230816)"));
    ASSERT_TRUE(dm.GrafikMiesiac(f));
    EXPECT_EQ(lastText.count(QStringLiteral("\nV\n")), 2) << qPrintable(lastText);
}

TEST_F(ReportData, YearlySourcesShareTheRowsAndKeepEachMonthsTable)
{
    t.db().OpenSummary(test::kSeedYear, 0, QString());
    dm.year = test::kSeedYear;
    dm.employeeCount = 2;
    dm.current = TDMRaporty::Report::GrafikRok;
    dm.first(QStringLiteral("dsGrafikRok1"));
    EXPECT_EQ(dm.variable(QStringLiteral("mc01D04")), QStringLiteral("V!"));
    dm.next(QStringLiteral("dsGrafikRok1"));
    EXPECT_FALSE(dm.eof(QStringLiteral("dsGrafikRok1")));
    EXPECT_EQ(dm.variable(QStringLiteral("mc01D04")), QString());
    dm.next(QStringLiteral("dsGrafikRok1"));
    EXPECT_TRUE(dm.eof(QStringLiteral("dsGrafikRok1")));

    dm.first(QStringLiteral("dsGrafikRok8"));
    dm.next(QStringLiteral("dsGrafikRok8"));
    EXPECT_EQ(dm.monthTables[7].rowCounter, 2);
    EXPECT_EQ(dm.variable(QStringLiteral("mc08D15")), QStringLiteral("V"));
    EXPECT_EQ(dm.variable(QStringLiteral("mc08EMPLOYEE")), QStringLiteral("Jędrzej Nowak (P2)"));
    // January's table still holds the last January row.
    EXPECT_EQ(dm.monthTables[0].days[3].unchangeable, false);
    EXPECT_EQ(dm.variable(QStringLiteral("mc13D15")), QString());
}

TEST_F(ReportData, ReportsShowWithTheirFilters)
{
    ASSERT_TRUE(dm.GrafikMiesiac(plan(1, test::kSeedUnit)));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(dm.unitName, QStringLiteral("Dział kadr"));
    EXPECT_TRUE(lastText.contains(QStringLiteral("Żaneta Kowalska (P1)")));
    EXPECT_FALSE(lastText.contains(QStringLiteral("Nowak")));
    EXPECT_TRUE(lastText.contains(QStringLiteral("Zespół: Dział kadr")));

    // The yearly schedule keeps a month an earlier summary left at 0, and a unit without
    // employees prints an empty report.
    dm.monthNumber = 0;
    t.exec(QStringLiteral("INSERT INTO DICTIONARY (IDDICTIONARY, IDTYPE, DESCRIPTION) VALUES "
                          "(9002, 'ZESPO', 'Magazyn')"));
    PlanReportFilters empty = plan(0, 9002);
    ASSERT_TRUE(dm.GrafikRok(empty));
    EXPECT_EQ(dm.employeeCount, 0);
    // Twelve column headers do not fit above one page's footer.
    EXPECT_EQ(lastPages, 2);
    EXPECT_FALSE(lastText.contains(QStringLiteral("Kowalska")));
    EXPECT_TRUE(t.dialogs().informationTexts().isEmpty());
}

TEST_F(ReportData, LeaveApplicationChecksItsDates)
{
    FormTexts f;
    f.employee = QStringLiteral("Żaneta Kowalska");
    f.printDate = QStringLiteral("02-01-2023");
    f.kind = QStringLiteral("Urlopu okolicznościowego");
    f.days = QStringLiteral("2");
    f.from = emptyDateText();
    f.to = QStringLiteral("05-01-2023");
    EXPECT_EQ(dm.WniosekUrlopowy(f), TDMRaporty::FormField::From);
    f.from = QStringLiteral("31-02-2023");
    EXPECT_EQ(dm.WniosekUrlopowy(f), TDMRaporty::FormField::From);
    f.from = QStringLiteral("04-01-2023");
    f.to = QStringLiteral("5-01-2023");
    EXPECT_EQ(dm.WniosekUrlopowy(f), TDMRaporty::FormField::To);
    f.to = QStringLiteral("03-01-2023");
    EXPECT_EQ(dm.WniosekUrlopowy(f), TDMRaporty::FormField::To);
    const QStringList texts = t.dialogs().informationTexts();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[0], QStringLiteral("Niepoprawny format daty urlopu (Od). Popraw pole."));
    EXPECT_TRUE(texts[1].contains(QStringLiteral("(Od)")));
    EXPECT_TRUE(texts[1].contains(QStringLiteral("nie ma w kalendarzu")));
    EXPECT_EQ(texts[2], QStringLiteral("Niepoprawny format daty urlopu (Do). Popraw pole."));
    EXPECT_TRUE(texts[3].contains(QStringLiteral("wcześniejsza")));
    EXPECT_EQ(t.dialogs().shown().back().caption, QStringLiteral("Uwaga"));
    EXPECT_EQ(shown, 0);

    // The same day twice is one day of leave.
    f.to = QStringLiteral("04-01-2023");
    EXPECT_EQ(dm.WniosekUrlopowy(f), TDMRaporty::FormField::None);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(lastText.contains(QStringLiteral("Urlopu okolicznościowego z tytułu")));
    EXPECT_TRUE(lastText.contains(QStringLiteral("od dnia 04-01-2023 do dnia 04-01-2023")));
}

TEST_F(ReportData, BothFormsRefuseOnlyATypedPrintDateThatNamesNoDay)
{
    test::FixedClock today(QDateTime(QDate(2025, 12, 29), QTime(9, 0)));
    QString lastTitle;
    dm.show = [&](const report::ReportDocument& doc) {
        ++shown;
        lastText = doc.pageText(0);
        lastTitle = doc.title;
    };
    FormTexts f;
    f.employee = QStringLiteral("Żaneta Kowalska");
    f.printDate = QStringLiteral("3 -  -    ");
    f.kind = QStringLiteral("Urlopu wypoczynkowego");
    f.from = QStringLiteral("04-01-2023");
    f.to = QStringLiteral("05-01-2023");
    EXPECT_EQ(dm.WniosekUrlopowy(f), TDMRaporty::FormField::PrintDate);
    EXPECT_FALSE(dm.OswiadczenieOpiekuna(f.employee, QStringLiteral("30-02-2023")));
    EXPECT_EQ(t.dialogs().informationTexts(),
              QStringList({QStringLiteral("Niepoprawny format daty wydruku. Popraw pole."),
                           QStringLiteral("Data wydruku wskazuje dzień, którego nie ma w "
                                          "kalendarzu. Popraw pole.")}));
    EXPECT_EQ(shown, 0);
    EXPECT_FALSE(TDMRaporty::IsAcceptedPrintDate(QStringLiteral("30-02-2023")));
    EXPECT_TRUE(TDMRaporty::IsAcceptedPrintDate(QStringLiteral("28-02-2023")));

    // Left empty for the pen: both forms print, with a dotted place where the date goes, and
    // the application is named after its leave's year, the statement after today's.
    t.dialogs().clear();
    for (const QString& empty : {emptyDateText(), QString()}) {
        f.printDate = empty;
        EXPECT_EQ(dm.WniosekUrlopowy(f), TDMRaporty::FormField::None);
        EXPECT_TRUE(lastText.contains(QStringLiteral("dnia ....................")));
        EXPECT_EQ(lastTitle, QStringLiteral("Wniosek urlopowy 2023"));
        EXPECT_TRUE(dm.OswiadczenieOpiekuna(f.employee, empty));
        EXPECT_TRUE(lastText.contains(QStringLiteral("dnia ....................")));
        EXPECT_EQ(lastTitle, QStringLiteral("Oświadczenie opiekuna dziecka 2025"));
    }
    EXPECT_EQ(shown, 4);
    // The leave's own dates are still checked.
    f.from = emptyDateText();
    EXPECT_EQ(dm.WniosekUrlopowy(f), TDMRaporty::FormField::From);
    EXPECT_EQ(t.dialogs().informationTexts(),
              QStringList{QStringLiteral("Niepoprawny format daty urlopu (Od). Popraw pole.")});

    EXPECT_TRUE(dm.OswiadczenieOpiekuna(f.employee, QStringLiteral("28-02-2023")));
    EXPECT_EQ(lastTitle, QStringLiteral("Oświadczenie opiekuna dziecka 2023"));
    EXPECT_TRUE(lastText.contains(QStringLiteral("dnia 28-02-2023")));
}

TEST_F(ReportData, AMissingTemplateIsReported)
{
    TDMRaporty elsewhere(t.db(), t.dialogs(), t.folder());
    elsewhere.show = dm.show;
    EXPECT_FALSE(elsewhere.OswiadczenieOpiekuna(QStringLiteral("x"), QStringLiteral("05-01-2023")));
    ASSERT_EQ(t.dialogs().shown().size(), 1u);
    EXPECT_EQ(t.dialogs().shown()[0].caption, QStringLiteral("Błąd"));
    EXPECT_TRUE(t.dialogs().shown()[0].text.contains(QStringLiteral("oswiadczenieopiekuna.frf")));
    EXPECT_EQ(shown, 0);
}

} // namespace
} // namespace zf

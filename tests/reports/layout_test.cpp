// Page breaks of the report engine (column headers without rows, tables kept together) on the
// real yearly schedule and a real embedded database.
#include "reports/dmraporty.h"

#include "data/mydatabase.h"
#include "tests/reports/reports_seed.h"
#include "tests/support/test_env.h"
#include "util/dates.h"

#include <gtest/gtest.h>

namespace zf {
namespace {

using test::TestDatabase;

const QStringList kMonths = {
    QStringLiteral("Styczeń"),  QStringLiteral("Luty"),     QStringLiteral("Marzec"),
    QStringLiteral("Kwiecień"), QStringLiteral("Maj"),      QStringLiteral("Czerwiec"),
    QStringLiteral("Lipiec"),   QStringLiteral("Sierpień"), QStringLiteral("Wrzesień"),
    QStringLiteral("Październik"), QStringLiteral("Listopad"), QStringLiteral("Grudzień")};

class YearlyLayout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setDateSeparator(QLatin1Char('-'));
        test::seedReportPlan(t);
        dm.show = [this](const report::ReportDocument& d) { doc = d; };
    }
    PlanReportFilters plan(int unit = 0) const
    {
        PlanReportFilters f;
        f.year = test::kSeedYear;
        f.unit = unit;
        return f;
    }
    void addEmployees(int count)
    {
        for (int i = 0; i < count; ++i) {
            const QString id = QStringLiteral("Q%1").arg(i);
            t.exec(QStringLiteral("INSERT INTO EMPLOYEES (IDEMPLOYEE, SURNAME, NAME) VALUES "
                                  "('%1', 'Wójcik', 'Anna')")
                       .arg(id));
            t.exec(QStringLiteral("INSERT INTO EMPLOYEESSETTINGS (IDYEAR, IDEMPLOYEE, "
                                  "THISYEARDAYS) VALUES (2023, '%1', 26)")
                       .arg(id));
        }
    }
    // Top of the page footer band, in mm from the page's top.
    double footerTop() const
    {
        double footers = 0;
        for (const auto& b : doc.layout->bands)
            if (b.kind == report::BandKind::PageFooter)
                footers += b.height;
        return doc.pageHeight() - doc.layout->marginBottom - footers;
    }

    TestDatabase t;
    TDMRaporty dm{t.db(), t.dialogs(), test::programFolder()};
    report::ReportDocument doc;
};

TEST_F(YearlyLayout, ColumnHeadersWithoutRowsBreakPagesAboveTheFooter)
{
    t.exec(QStringLiteral("INSERT INTO DICTIONARY (IDDICTIONARY, IDTYPE, DESCRIPTION) VALUES "
                          "(9002, 'ZESPO', 'Magazyn')"));
    ASSERT_TRUE(dm.GrafikRok(plan(9002)));
    ASSERT_EQ(dm.employeeCount, 0);
    ASSERT_TRUE(doc.layout);
    const double top = footerTop();
    int headers = 0;
    for (int p = 0; p < doc.pageCount(); ++p) {
        for (const auto& c : doc.pages[p].cells) {
            if (c.rect.top() >= top - 0.01)
                continue; // the footer itself
            EXPECT_LE(c.rect.bottom(), top + 0.01)
                << "page " << p + 1 << ": " << qPrintable(c.text) << " reaches into the footer";
            if (kMonths.contains(c.text.section(QLatin1Char(' '), 0, 0)))
                ++headers;
        }
    }
    EXPECT_EQ(headers, 12);
    EXPECT_GE(doc.pageCount(), 2);
}

TEST_F(YearlyLayout, AMonthsTableThatFitsIsNeverSplit)
{
    addEmployees(3); // five with the seed's two
    ASSERT_TRUE(dm.GrafikRok(plan()));
    ASSERT_EQ(dm.employeeCount, 5);
    // Cells in drawing order: each month's title is followed by its five rows on the same page.
    for (int p = 0; p < doc.pageCount(); ++p) {
        const QStringList cells = doc.pageText(p).split(QLatin1Char('\n'));
        QString month;
        int rows = 0;
        const auto check = [&] {
            if (!month.isEmpty()) {
                EXPECT_EQ(rows, 5) << qPrintable(month) << " split on page " << p + 1;
            }
        };
        for (const QString& cell : cells) {
            if (cell.endsWith(QStringLiteral(" 2023")) &&
                kMonths.contains(cell.section(QLatin1Char(' '), 0, 0))) {
                check();
                month = cell;
                rows = 0;
            } else if (cell.endsWith(QLatin1Char(')')) && cell.contains(QStringLiteral(" ("))) {
                ++rows;
            }
        }
        check();
    }
    QString all;
    for (int p = 0; p < doc.pageCount(); ++p)
        all += doc.pageText(p);
    EXPECT_EQ(all.count(QStringLiteral("Anna Wójcik (Q2)")), 12);
}

TEST_F(YearlyLayout, ATableLongerThanAPageStillBreaksWithItsHeaderRepeated)
{
    addEmployees(40);
    ASSERT_TRUE(dm.GrafikRok(plan()));
    QString all;
    for (int p = 0; p < doc.pageCount(); ++p)
        all += doc.pageText(p) + QLatin1Char('\n');
    EXPECT_EQ(all.count(QStringLiteral("Anna Wójcik (Q39)")), 12);
    EXPECT_GT(all.count(QStringLiteral("Styczeń 2023")), 1);
    for (int p = 0; p < doc.pageCount(); ++p)
        for (const auto& c : doc.pages[p].cells)
            if (c.rect.top() < footerTop() - 0.01) {
                EXPECT_LE(c.rect.bottom(), footerTop() + 0.01);
            }
}

TEST(TemplateFormat, KeepTogetherIsABandOption)
{
    report::ReportTemplate t;
    QString error;
    ASSERT_TRUE(t.parse(QStringLiteral("pasmo: dane 6 zrodlo=dsGrafikRok1 nie_dziel\n"
                                       "pasmo: dane 6 zrodlo=dsGrafikRok2\n"),
                        &error))
        << qPrintable(error);
    EXPECT_TRUE(t.bands.at(0).keepTogether);
    EXPECT_FALSE(t.bands.at(1).keepTogether);
}

} // namespace
} // namespace zf

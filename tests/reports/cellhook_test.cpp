// The schedules' cell hook, the day variables and the template format.
#include "reports/cellhook.h"
#include "reports/reporttemplate.h"

#include <gtest/gtest.h>

namespace zf {
namespace {

using report::FrameAll;
using report::FrameLeft;
using report::FrameNone;
using report::FrameRight;

struct Cell
{
    QString text;
    QColor fill;
    unsigned frame = FrameAll;
};

Cell hook(ScheduleCellState& s, const QString& text)
{
    Cell c{text, QColor(), FrameAll};
    ApplyScheduleCellHook(s, c.text, c.fill, c.frame);
    return c;
}

const QColor kGrey = fromWindowsColor(kColorGrey);
const QColor kWhite = fromWindowsColor(kColorWhite);

TEST(CellHook, DaysAfterTheMonthEndAreBlankedInCommonAndLeapYears)
{
    DayTable days{};
    ScheduleCellState feb2023{2023, 2, &days};
    for (const QString& t : {QStringLiteral("29"), QStringLiteral("[D29]")}) {
        const Cell c = hook(feb2023, t);
        EXPECT_TRUE(c.text.isEmpty()) << qPrintable(t);
        EXPECT_EQ(c.fill, kWhite);
        // The first day after the end: only the line closing the last day, none on its right.
        EXPECT_EQ(c.frame, FrameLeft);
    }
    for (const QString& t : {QStringLiteral("30"), QStringLiteral("31"), QStringLiteral("[D31]")}) {
        const Cell c = hook(feb2023, t);
        EXPECT_TRUE(c.text.isEmpty());
        EXPECT_EQ(c.frame, FrameNone) << qPrintable(t);
    }
    // 28 February 2023 is a Tuesday: untouched.
    const Cell last = hook(feb2023, QStringLiteral("28"));
    EXPECT_EQ(last.text, QStringLiteral("28"));
    EXPECT_FALSE(last.fill.isValid());
    EXPECT_EQ(last.frame, FrameAll);

    ScheduleCellState feb2024{2024, 2, &days};
    EXPECT_EQ(hook(feb2024, QStringLiteral("29")).text, QStringLiteral("29"));
    EXPECT_EQ(hook(feb2024, QStringLiteral("[D29]")).text, QStringLiteral("[D29]"));
    EXPECT_EQ(hook(feb2024, QStringLiteral("30")).frame, FrameLeft);
    ScheduleCellState feb1900{1900, 2, &days}; // not a leap year
    EXPECT_EQ(hook(feb1900, QStringLiteral("29")).text, QString());
    ScheduleCellState apr{2023, 4, &days};
    EXPECT_EQ(hook(apr, QStringLiteral("30")).text, QStringLiteral("30"));
    EXPECT_EQ(hook(apr, QStringLiteral("31")).frame, FrameLeft);
}

TEST(CellHook, WeekendsAndNonWorkingDaysAreGrey)
{
    DayTable days{};
    days[5].working = false; // 6 August
    ScheduleCellState aug{2023, 8, &days};
    EXPECT_EQ(hook(aug, QStringLiteral("5")).fill, kGrey);  // Saturday
    EXPECT_EQ(hook(aug, QStringLiteral("6")).fill, kGrey);  // Sunday
    EXPECT_FALSE(hook(aug, QStringLiteral("7")).fill.isValid()); // Monday
    // A Saturday in the last days, still inside the month.
    EXPECT_EQ(hook(aug, QStringLiteral("26")).fill, kGrey);
    ScheduleCellState sep{2023, 9, &days};
    EXPECT_EQ(hook(sep, QStringLiteral("30")).fill, kGrey);

    const Cell off = hook(aug, QStringLiteral("[D06]"));
    EXPECT_TRUE(off.text.isEmpty());
    EXPECT_EQ(off.fill, kGrey);
    const Cell on = hook(aug, QStringLiteral("[D05]"));
    EXPECT_EQ(on.text, QStringLiteral("[D05]"));
    EXPECT_FALSE(on.fill.isValid());
    // Texts that are not day cells stay as written.
    EXPECT_EQ(hook(aug, QStringLiteral("[EMPLOYEE]")).text, QStringLiteral("[EMPLOYEE]"));
    EXPECT_EQ(hook(aug, QStringLiteral("Pracownik")).text, QStringLiteral("Pracownik"));
}

TEST(CellHook, MonthPrefixesSwitchTheMonthAndAreRestored)
{
    DayTable days{};
    ScheduleCellState s{2023, 1, &days};
    Cell c = hook(s, QStringLiteral("mc0218"));
    EXPECT_EQ(s.month, 2);
    EXPECT_EQ(c.text, QStringLiteral("18"));
    EXPECT_EQ(c.fill, kGrey); // 18 February 2023, a Saturday
    c = hook(s, QStringLiteral("mc0329"));
    EXPECT_EQ(s.month, 3);
    EXPECT_EQ(c.text, QStringLiteral("29"));
    EXPECT_FALSE(c.fill.isValid()); // Wednesday

    c = hook(s, QStringLiteral("[mc02D18]"));
    EXPECT_EQ(s.month, 2);
    EXPECT_EQ(c.text, QStringLiteral("[mc02D18]"));
    days[17].working = false;
    c = hook(s, QStringLiteral("[mc11D18]"));
    EXPECT_EQ(s.month, 11);
    EXPECT_TRUE(c.text.isEmpty());
    EXPECT_EQ(c.fill, kGrey);
    // Past the end of the chosen month: blanked, not restored.
    c = hook(s, QStringLiteral("[mc02D30]"));
    EXPECT_TRUE(c.text.isEmpty());
    EXPECT_EQ(c.fill, kWhite);
    EXPECT_EQ(s.month, 2);
}

TEST(CellHook, AMonthLeftAtZeroNamesNoDate)
{
    DayTable days{};
    ScheduleCellState s{2023, 0, &days};
    for (const QString& t : {QStringLiteral("29"), QStringLiteral("5"), QStringLiteral("31")}) {
        const Cell c = hook(s, t);
        EXPECT_EQ(c.text, t);
        EXPECT_FALSE(c.fill.isValid());
        EXPECT_EQ(c.frame, FrameAll);
    }
    const Cell c = hook(s, QStringLiteral("mc1329"));
    EXPECT_EQ(c.text, QStringLiteral("29"));
    EXPECT_EQ(s.month, 13);
}

TEST(DayVariables, SelectedAndUnchangeableDays)
{
    DayTable days{};
    days[2].selected = true;
    days[3].selected = true;
    days[3].unchangeable = true;
    bool handled = false;
    EXPECT_EQ(DayVariable(days, QStringLiteral("D03"), &handled), QStringLiteral("V"));
    EXPECT_TRUE(handled);
    EXPECT_EQ(DayVariable(days, QStringLiteral("D04"), &handled), QStringLiteral("V!"));
    EXPECT_EQ(DayVariable(days, QStringLiteral("D05"), &handled), QString());
    EXPECT_TRUE(handled);
    for (const QString& other : {QStringLiteral("D4"), QStringLiteral("D32"),
                                 QStringLiteral("D00"), QStringLiteral("DAY")}) {
        DayVariable(days, other, &handled);
        EXPECT_FALSE(handled) << qPrintable(other);
    }
}

TEST(TemplateFormat, ReadsBandsCellsAndOptions)
{
    report::ReportTemplate t;
    QString error;
    ASSERT_TRUE(t.parse(QStringLiteral(
                            "# komentarz\n"
                            "raport: Próba\n"
                            "strona: A4 pozioma\n"
                            "marginesy: 5 6 7 8,5\n"
                            "czcionka: DejaVu Serif 11\n"
                            "pasmo: naglowek_kolumn 7\n"
                            "komorka: 0 0 20 7 | ramka=LD tlo=#808080 pogrubiona srodek dol | Lp.\n"
                            "pasmo: dane 6 zrodlo=dsGrafik nowa_strona\n"
                            "komorka: 1.5 0 30 6 | rozciagaj rozmiar=7 czcionka=DejaVu_Sans | a\\nb [ROK]\n"
                            "komorka: 40 0 30 6 | |\n"),
                        &error))
        << qPrintable(error);
    EXPECT_EQ(t.name, QStringLiteral("Próba"));
    EXPECT_TRUE(t.landscape);
    EXPECT_DOUBLE_EQ(t.marginBottom, 8.5);
    ASSERT_EQ(t.bands.size(), 2u);
    const auto& head = t.bands[0].cells.at(0);
    EXPECT_EQ(head.frame, report::FrameLeft | report::FrameBottom);
    EXPECT_EQ(head.fill, QColor(0x80, 0x80, 0x80));
    EXPECT_TRUE(head.style.bold);
    EXPECT_EQ(head.style.fontFamily, QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(head.style.align, int(Qt::AlignHCenter | Qt::AlignBottom));
    EXPECT_EQ(t.bands[1].kind, report::BandKind::Data);
    EXPECT_EQ(t.bands[1].source, QStringLiteral("dsGrafik"));
    EXPECT_TRUE(t.bands[1].newPage);
    const auto& body = t.bands[1].cells.at(0);
    EXPECT_EQ(body.text, QStringLiteral("a\nb [ROK]"));
    EXPECT_TRUE(body.style.stretch);
    EXPECT_EQ(body.style.fontFamily, QStringLiteral("DejaVu Sans"));
    EXPECT_DOUBLE_EQ(body.rect.x(), 1.5);
    EXPECT_TRUE(t.bands[1].cells.at(1).text.isEmpty());
}

TEST(TemplateFormat, ErrorsNameTheLine)
{
    const std::pair<QString, QString> bad[] = {
        {QStringLiteral("komorka: 0 0 1 1 | | x"), QStringLiteral("wiersz 1")},
        {QStringLiteral("pasmo: dane 5"), QStringLiteral("źródła")},
        {QStringLiteral("pasmo: tytul 5\nkomorka: 0 0 1 1 | migaj | x"), QStringLiteral("wiersz 2")},
        {QStringLiteral("pasmo: tytul 5\nkomorka: 0 0 1 | | x"), QStringLiteral("wiersz 2")},
        {QStringLiteral("strona: A3 pionowa"), QStringLiteral("A4")},
        {QStringLiteral("pasmo: stopka 5"), QStringLiteral("rodzaju")},
        {QStringLiteral("cokolwiek"), QStringLiteral("nieznany")}};
    for (const auto& [text, expected] : bad) {
        report::ReportTemplate t;
        QString error;
        EXPECT_FALSE(t.parse(text, &error)) << qPrintable(text);
        EXPECT_TRUE(error.contains(expected)) << qPrintable(error);
    }
    report::ReportTemplate t;
    QString error;
    EXPECT_FALSE(t.load(QStringLiteral("/nonexistent/raporty/x.frf"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("x.frf")));
}

} // namespace
} // namespace zf

#include "plans/calendar/calendarselector.h"
#include "plans/calendar/yearcalendarselector.h"
#include "tests/support/qtest_main.h"

#include <QDate>
#include <QImage>
#include <QTest>

#include <vector>

namespace zf {
namespace {

// The month's geometry as the program's documents give it, written out here on purpose so that
// the tests do not take it from the widget they check: the title bar above the panel, the grid
// 3 pixels inside the panel, cells of 40 x 20, the number field at (3, 5) of 22 x 13, the 13 x 13
// box 15 pixels left of the cell's right edge and 7 pixels below its top.
constexpr int kTitle = 17;
constexpr int kGridLeft = 3;
constexpr int kGridTop = kTitle + 3;

// Where a day stands in the grid: column 0 = Monday, week row 0..5.
struct Place
{
    int column;
    int weekRow;
};

Place placeOf(int year, int month, int day)
{
    const int index = QDate(year, month, 1).dayOfWeek() - 1 + day - 1;
    return Place{index % 7, index / 7};
}

QPoint cellTopLeft(int column, int row) // row 0 = header
{
    return QPoint(kGridLeft + 40 * column, kGridTop + 20 * row);
}

QPoint cellTopLeft(Place p)
{
    return cellTopLeft(p.column, p.weekRow + 1);
}

// A point of the cell's background that neither the number nor the box covers.
QPoint backgroundPoint(Place p)
{
    return cellTopLeft(p) + QPoint(2, 2);
}

QRect boxArea(Place p)
{
    return QRect(cellTopLeft(p) + QPoint(40 - 15, 7), QSize(13, 13));
}

QRect numberArea(Place p)
{
    return QRect(cellTopLeft(p) + QPoint(3, 5), QSize(22, 13));
}

QPoint boxPoint(Place p)
{
    return boxArea(p).center();
}

QPoint numberPoint(Place p)
{
    return numberArea(p).center();
}

QImage render(QWidget* w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QString colorAt(const QImage& image, QPoint pt)
{
    return QColor(image.pixel(pt)).name();
}

QString windows(unsigned int bgr)
{
    return CalendarColors::fromWindows(bgr).name();
}

// How many pixels of an area differ from the colour at the cell's background point.
int marksIn(const QImage& image, const QRect& area, QPoint backgroundAt)
{
    const QRgb background = image.pixel(backgroundAt);
    int marks = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            marks += image.pixel(x, y) != background ? 1 : 0;
    return marks;
}

// Whether a tick box shows its tick: dark pixels inside its frame.
bool showsTick(const QImage& image, const QRect& box)
{
    const QRect inside = box.adjusted(3, 3, -3, -3);
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (QColor(image.pixel(x, y)).lightness() < 128)
                return true;
    return false;
}

// A selector shown as its own window, with the table loaded and the ticks counted.
struct Shown
{
    TYearCalendarSelector selector;
    std::vector<bool> calls;
    std::vector<bool> selectedDuringCall;
    int watchMonth = 1;
    int watchDay = 1;

    explicit Shown(int year, const YearDays& days, bool readOnly = false)
    {
        selector.setTickCallback([this](bool ticked) {
            calls.push_back(ticked);
            selectedDuringCall.push_back(selector.GetDays()[watchMonth - 1][watchDay - 1].selected);
        });
        selector.HideMonths();
        selector.SetDays(year, days);
        selector.ShowMonths(readOnly);
    }
    TCalendarSelector* month(int m) { return selector.month(m); }
    DayState slot(int m, int d) const { return selector.GetDays()[m - 1][d - 1]; }
    void clickBox(int m, int d)
    {
        QTest::mouseClick(month(m), Qt::LeftButton, {}, boxPoint(placeOf(selector.year(), m, d)));
    }
    void clickNumber(int m, int d)
    {
        QTest::mouseClick(month(m), Qt::LeftButton, {},
                          numberPoint(placeOf(selector.year(), m, d)));
    }
    QString colorOf(int m, int d)
    {
        return colorAt(render(month(m)), backgroundPoint(placeOf(selector.year(), m, d)));
    }
};

} // namespace

class YearCalendarSelectorTest : public QObject
{
    Q_OBJECT

private slots:
    void windowsColorsConvert()
    {
        QCOMPARE(CalendarColors::fromWindows(0x0000FF), QColor(Qt::red));
        QCOMPARE(CalendarColors::fromWindows(0xFF0000), QColor(Qt::blue));
        QCOMPARE(CalendarColors::fromWindows(0x00FF00), QColor(Qt::green));
        QCOMPARE(CalendarColors::fromWindows(0x00FFFF), QColor(Qt::yellow));
        QCOMPARE(CalendarColors::fromWindows(0xC0A090), QColor(0x90, 0xA0, 0xC0));
        QCOMPARE(CalendarColors::fromWindows(0x60D070), QColor(0x70, 0xD0, 0x60));
    }

    void createdHiddenWithTwelveMonths()
    {
        TYearCalendarSelector selector;
        QVERIFY(!selector.markingMode());
        QVERIFY(!selector.month(0));
        QVERIFY(!selector.month(13));
        for (int m = 1; m <= 12; ++m) {
            QVERIFY(selector.month(m));
            QVERIFY(selector.month(m)->isHidden());
            QCOMPARE(selector.month(m)->monthNumber(), m);
        }
    }

    void monthsStandInThreeRowsOfFour()
    {
        TYearCalendarSelector selector;
        for (int m = 1; m <= 12; ++m) {
            const int c = (m - 1) % 4;
            const int r = (m - 1) / 4;
            QCOMPARE(selector.month(m)->geometry(),
                     QRect(8 + 295 * c, 26 + 173 * r, 286, kTitle + 147));
            QVERIFY(
                QRect(QPoint(0, 0), selector.sizeHint()).contains(selector.month(m)->geometry()));
        }
        QVERIFY(selector.minimumWidth() >= 8 + 295 * 3 + 286);
        QVERIFY(selector.minimumHeight() >= 26 + 173 * 2 + kTitle + 147);
    }

    void texts()
    {
        const QStringList titles = {
            QStringLiteral("Styczeń"),     QStringLiteral("Luty"),     QStringLiteral("Marzec"),
            QStringLiteral("Kwiecień"),    QStringLiteral("Maj"),      QStringLiteral("Czerwiec"),
            QStringLiteral("Lipiec"),      QStringLiteral("Sierpień"), QStringLiteral("Wrzesień"),
            QStringLiteral("Październik"), QStringLiteral("Listopad"), QStringLiteral("Grudzień")};
        for (int m = 1; m <= 12; ++m)
            QCOMPARE(TCalendarSelector::monthTitle(m), titles[m - 1]);
        const QStringList names = {QStringLiteral("Pn"), QStringLiteral("Wt"), QStringLiteral("Śr"),
                                   QStringLiteral("Cz"), QStringLiteral("Pt"), QStringLiteral("Sb"),
                                   QStringLiteral("Nd")};
        for (int d = 1; d <= 7; ++d)
            QCOMPARE(TCalendarSelector::weekdayName(d), names[d - 1]);
    }

    void layout_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("firstColumn");
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("lastColumn");
        QTest::addColumn<int>("lastWeekRow");
        QTest::newRow("Monday, January 2024") << 2024 << 1 << 0 << 31 << 2 << 4;
        QTest::newRow("Tuesday, October 2024") << 2024 << 10 << 1 << 31 << 3 << 4;
        QTest::newRow("Wednesday, May 2024") << 2024 << 5 << 2 << 31 << 4 << 4;
        QTest::newRow("Thursday, leap February 2024") << 2024 << 2 << 3 << 29 << 3 << 4;
        QTest::newRow("Friday, March 2024") << 2024 << 3 << 4 << 31 << 6 << 4;
        QTest::newRow("Saturday, March 2014") << 2014 << 3 << 5 << 31 << 0 << 5;
        QTest::newRow("Sunday, December 2024") << 2024 << 12 << 6 << 31 << 1 << 5;
        QTest::newRow("Sunday, September 2024") << 2024 << 9 << 6 << 30 << 0 << 5;
        QTest::newRow("Sunday, February 2015") << 2015 << 2 << 6 << 28 << 5 << 4;
        QTest::newRow("Monday, February 2010") << 2010 << 2 << 0 << 28 << 6 << 3;
    }

    void layout()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, firstColumn);
        QFETCH(int, days);
        QFETCH(int, lastColumn);
        QFETCH(int, lastWeekRow);

        Shown s(year, MakeYearDays(true));
        TCalendarSelector* m = s.month(month);
        QVERIFY(m->isVisible());

        // The running day number walks the cells row by row from 2 - weekday of the 1st.
        int expected = 1 - firstColumn;
        for (int row = 0; row < 6; ++row)
            for (int column = 0; column < 7; ++column, ++expected)
                QCOMPARE(m->cellDay(column, row), expected >= 1 && expected <= days ? expected : 0);
        QCOMPARE(m->cellDay(firstColumn, 0), 1);
        QCOMPARE(m->cellDay(lastColumn, lastWeekRow), days);

        // Drawn: a number and a box in every day cell, nothing in the cells without a day.
        const QImage image = render(m);
        for (int row = 0; row < 6; ++row) {
            for (int column = 0; column < 7; ++column) {
                const Place p{column, row};
                const bool hasDay = m->cellDay(column, row) != 0;
                QCOMPARE(marksIn(image, numberArea(p), backgroundPoint(p)) > 0, hasDay);
                QCOMPARE(marksIn(image, boxArea(p), backgroundPoint(p)) > 0, hasDay);
                if (hasDay) {
                    QCOMPARE(m->boxRect(m->cellDay(column, row)), boxArea(p));
                    QCOMPARE(m->numberRect(m->cellDay(column, row)), numberArea(p));
                }
            }
        }
    }

    void march2014FillsTheSixthRow()
    {
        Shown s(2014, MakeYearDays(true));
        TCalendarSelector* m = s.month(3);
        QCOMPARE(m->cellDay(5, 0), 1); // Saturday
        QCOMPARE(m->cellDay(6, 4), 30);
        QCOMPARE(m->cellDay(0, 5), 31);
        QCOMPARE(m->cellDay(1, 5), 0);
        s.clickBox(3, 31);
        QVERIFY(s.slot(3, 31).selected);
        QCOMPARE(s.colorOf(3, 31), windows(0x00FFFF));
    }

    void leapFebruary()
    {
        YearDays days = MakeYearDays(true);
        days[1][29].unchangeable = true; // slot 30
        Shown s(2024, days);
        TCalendarSelector* feb = s.month(2);
        QVERIFY(feb->hasTickBox(29));
        QVERIFY(!feb->dayCellRect(29).isNull());
        QVERIFY(feb->dayCellRect(30).isNull());
        QVERIFY(feb->dayCellRect(31).isNull());

        // Every box and every number of the grid, clicked once: the 29 days change, slots 30 and
        // 31 do not.
        for (int row = 0; row < 6; ++row)
            for (int column = 0; column < 7; ++column)
                QTest::mouseClick(feb, Qt::LeftButton, {}, boxPoint(Place{column, row}));
        for (int d = 1; d <= 29; ++d)
            QVERIFY(s.slot(2, d).selected);
        QCOMPARE(s.slot(2, 30), (DayState{30, true, false, true}));
        QCOMPARE(s.slot(2, 31), (DayState{31, true, false, false}));
        for (int row = 0; row < 6; ++row)
            for (int column = 0; column < 7; ++column)
                QTest::mouseClick(feb, Qt::LeftButton, {}, numberPoint(Place{column, row}));
        for (int d = 1; d <= 29; ++d)
            QVERIFY(!s.slot(2, d).selected);
        QCOMPARE(s.slot(2, 30), (DayState{30, true, false, true}));
        QCOMPARE(s.slot(2, 31), (DayState{31, true, false, false}));
        QCOMPARE(s.calls.size(), std::size_t{58});
    }

    void februaryOfACommonYear()
    {
        YearDays days = MakeYearDays(true);
        Shown s(2023, days);
        TCalendarSelector* feb = s.month(2);
        QVERIFY(feb->hasTickBox(28));
        QVERIFY(feb->dayCellRect(29).isNull());
        // 2023 is a common year, 1900 is none of the Gregorian leap years, 2000 is one.
        s.selector.HideMonths();
        s.selector.SetDays(1900, days);
        s.selector.ShowMonths(false);
        QVERIFY(feb->dayCellRect(29).isNull());
        s.selector.HideMonths();
        s.selector.SetDays(2000, days);
        s.selector.ShowMonths(false);
        QVERIFY(!feb->dayCellRect(29).isNull());
    }

    void columnColours()
    {
        Shown s(2024, MakeYearDays(true));
        TCalendarSelector* jan = s.month(1);
        const QImage image = render(jan);
        // January 2024: Monday 1st; the 6th is a Saturday, the 7th a Sunday.
        QCOMPARE(colorAt(image, backgroundPoint(placeOf(2024, 1, 8))), windows(0xFFFFFF));
        QCOMPARE(colorAt(image, backgroundPoint(placeOf(2024, 1, 12))), windows(0xFFFFFF));
        QCOMPARE(colorAt(image, backgroundPoint(placeOf(2024, 1, 6))), windows(0xFFDDDD));
        QCOMPARE(colorAt(image, backgroundPoint(placeOf(2024, 1, 7))), windows(0xDDDDFF));
        QCOMPARE(windows(0xFFDDDD), QStringLiteral("#ddddff"));
        // Cells without a day: white, except in the Saturday and Sunday columns.
        QCOMPARE(colorAt(image, backgroundPoint(Place{4, 5})), windows(0xFFFFFF));
        QCOMPARE(colorAt(image, backgroundPoint(Place{5, 5})), windows(0xFFDDDD));
        QCOMPARE(colorAt(image, backgroundPoint(Place{6, 5})), windows(0xDDDDFF));
        // The header row and the title bar.
        for (int c = 0; c < 7; ++c)
            QCOMPARE(colorAt(image, cellTopLeft(c, 0) + QPoint(1, 1)), windows(0xC0A090));
        QCOMPARE(colorAt(image, QPoint(2, 2)), windows(0xE0C0B0));
        QCOMPARE(colorAt(image, QPoint(283, 14)), windows(0xE0C0B0));
        // Something is written in the title bar and in every header cell.
        QVERIFY(marksIn(image, QRect(0, 0, 286, kTitle), QPoint(2, 2)) > 0);
        for (int c = 0; c < 7; ++c)
            QVERIFY(marksIn(image, QRect(cellTopLeft(c, 0), QSize(40, 20)),
                            cellTopLeft(c, 0) + QPoint(1, 1)) > 0);
    }

    void loadedFlagsColours()
    {
        YearDays days = MakeYearDays(true);
        days[0][9].selected = true;      // Wednesday 10 January
        days[0][10].unchangeable = true; // Thursday 11
        days[0][11].selected = true;     // Friday 12
        days[0][11].unchangeable = true;
        days[0][12].selected = true;                   // Saturday 13
        days[0][14] = DayState{15, false, true, true}; // Monday 15, not selectable
        Shown s(2024, days);
        TCalendarSelector* jan = s.month(1);
        const QImage image = render(jan);
        QCOMPARE(colorAt(image, backgroundPoint(placeOf(2024, 1, 10))), windows(0x00FFFF));
        QCOMPARE(colorAt(image, backgroundPoint(placeOf(2024, 1, 11))), windows(0xAEFFC2));
        QCOMPARE(colorAt(image, backgroundPoint(placeOf(2024, 1, 12))), windows(0x60D070));
        QCOMPARE(colorAt(image, backgroundPoint(placeOf(2024, 1, 13))), windows(0x00FFFF));
        QCOMPARE(colorAt(image, backgroundPoint(placeOf(2024, 1, 15))), windows(0xFFFFFF));
        QVERIFY(!jan->hasTickBox(15));
        QCOMPARE(
            marksIn(image, boxArea(placeOf(2024, 1, 15)), backgroundPoint(placeOf(2024, 1, 15))),
            0);
        QVERIFY(showsTick(image, boxArea(placeOf(2024, 1, 10))));
        QVERIFY(!showsTick(image, boxArea(placeOf(2024, 1, 9))));
        QVERIFY(!showsTick(image, boxArea(placeOf(2024, 1, 11))));
        QVERIFY(showsTick(image, boxArea(placeOf(2024, 1, 12))));
    }

    void tickingCallsBackThenStores()
    {
        Shown s(2024, MakeYearDays(true));
        s.watchMonth = 4;
        s.watchDay = 17;
        QCOMPARE(s.colorOf(4, 17), windows(0xFFFFFF));
        s.clickBox(4, 17);
        QCOMPARE(s.calls, std::vector<bool>{true});
        QCOMPARE(s.selectedDuringCall, std::vector<bool>{false}); // stored after the call
        QVERIFY(s.slot(4, 17).selected);
        QVERIFY(!s.slot(4, 17).unchangeable);
        QCOMPARE(s.colorOf(4, 17), windows(0x00FFFF));

        s.clickNumber(4, 17);
        QCOMPARE(s.calls, (std::vector<bool>{true, false}));
        QCOMPARE(s.selectedDuringCall, (std::vector<bool>{false, true}));
        QVERIFY(!s.slot(4, 17).selected);
        QCOMPARE(s.colorOf(4, 17), windows(0xFFFFFF));

        // Elsewhere in the cell nothing happens.
        const QPoint corner = backgroundPoint(placeOf(2024, 4, 17));
        QTest::mouseClick(s.month(4), Qt::LeftButton, {}, corner);
        QCOMPARE(s.calls.size(), std::size_t{2});
        QVERIFY(!s.slot(4, 17).selected);

        // GetDays gives back the table as loaded with the change.
        YearDays expected = MakeYearDays(true);
        s.clickBox(12, 31);
        expected[11][30].selected = true;
        QCOMPARE(s.selector.GetDays(), expected);
    }

    void aPressAndAReleaseOnDifferentDaysDoNothing()
    {
        Shown s(2024, MakeYearDays(true));
        QTest::mousePress(s.month(6), Qt::LeftButton, {}, boxPoint(placeOf(2024, 6, 3)));
        QTest::mouseRelease(s.month(6), Qt::LeftButton, {}, boxPoint(placeOf(2024, 6, 4)));
        QVERIFY(s.calls.empty());
        QVERIFY(!s.slot(6, 3).selected);
        QVERIFY(!s.slot(6, 4).selected);
    }

    void notSelectableDayCannotBeTicked()
    {
        YearDays days = MakeYearDays(true);
        days[4][2].selectable = false; // 3 May 2024
        Shown s(2024, days);
        TCalendarSelector* may = s.month(5);
        QVERIFY(!may->hasTickBox(3));
        QVERIFY(may->boxRect(3).isNull());
        const Place p = placeOf(2024, 5, 3);
        const QImage image = render(may);
        QCOMPARE(marksIn(image, boxArea(p), backgroundPoint(p)), 0);
        QVERIFY(marksIn(image, numberArea(p), backgroundPoint(p)) > 0);
        s.clickBox(5, 3);
        s.clickNumber(5, 3);
        QVERIFY(s.calls.empty());
        QCOMPARE(s.slot(5, 3), (DayState{3, false, false, false}));
        QCOMPARE(s.colorOf(5, 3), windows(0xFFFFFF));
        s.selector.setMarkingMode(true);
        s.clickBox(5, 3);
        QVERIFY(!s.slot(5, 3).unchangeable);
    }

    void readOnlyIgnoresClicks()
    {
        YearDays days = MakeYearDays(true);
        days[6][9].selected = true; // 10 July 2024
        Shown s(2024, days, true);
        QVERIFY(s.selector.readOnly());
        QVERIFY(s.month(7)->isReadOnly());
        const QImage before = render(s.month(7));
        s.clickBox(7, 9);
        s.clickBox(7, 10);
        s.clickNumber(7, 9);
        s.clickNumber(7, 10);
        QVERIFY(s.calls.empty());
        QCOMPARE(s.selector.GetDays(), days);
        QCOMPARE(render(s.month(7)), before);
        QCOMPARE(s.colorOf(7, 10), windows(0x00FFFF));

        // Redraw shows the months editable again.
        s.selector.Redraw();
        QVERIFY(!s.month(7)->isReadOnly());
        s.clickBox(7, 10);
        QCOMPARE(s.calls, std::vector<bool>{false});
        QVERIFY(!s.slot(7, 10).selected);
    }

    void markingModeMarksUnchangeableDays()
    {
        YearDays days = MakeYearDays(true);
        days[8][18].selected = true; // 19 September 2024
        Shown s(2024, days);
        s.selector.setMarkingMode(true);
        QVERIFY(s.selector.markingMode());

        s.clickBox(9, 18); // not ticked
        QCOMPARE(s.colorOf(9, 18), windows(0xAEFFC2));
        QCOMPARE(s.slot(9, 18), (DayState{18, true, false, true}));
        s.clickBox(9, 19); // ticked
        QCOMPARE(s.colorOf(9, 19), windows(0x60D070));
        QCOMPARE(s.slot(9, 19), (DayState{19, true, true, true}));
        QVERIFY(s.calls.empty());

        // The boxes still show the stored states.
        const QImage image = render(s.month(9));
        QVERIFY(!showsTick(image, boxArea(placeOf(2024, 9, 18))));
        QVERIFY(showsTick(image, boxArea(placeOf(2024, 9, 19))));

        // A second click, here on the numbers, removes the marks.
        s.clickNumber(9, 18);
        s.clickNumber(9, 19);
        QCOMPARE(s.colorOf(9, 18), windows(0xFFFFFF));
        QCOMPARE(s.colorOf(9, 19), windows(0x00FFFF));
        QCOMPARE(s.slot(9, 18), (DayState{18, true, false, false}));
        QCOMPARE(s.slot(9, 19), (DayState{19, true, true, false}));
        QVERIFY(s.calls.empty());

        // Off again: clicks tick.
        s.selector.setMarkingMode(false);
        s.clickBox(9, 18);
        QCOMPARE(s.calls, std::vector<bool>{true});
        QCOMPARE(s.slot(9, 18), (DayState{18, true, true, false}));
    }

    void callbackIsHandedOverByShowMonths()
    {
        TYearCalendarSelector selector;
        int first = 0;
        int second = 0;
        selector.setTickCallback([&first](bool) { ++first; });
        selector.SetDays(2024, MakeYearDays(true));
        selector.ShowMonths(false);
        const QPoint box = boxPoint(placeOf(2024, 1, 2));
        const auto ticked = [&selector] { return selector.GetDays()[0][1].selected; };
        QTest::mouseClick(selector.month(1), Qt::LeftButton, {}, box);
        selector.setTickCallback([&second](bool) { ++second; });
        QTest::mouseClick(selector.month(1), Qt::LeftButton, {}, box);
        QCOMPARE(first, 2);
        selector.Redraw();
        QTest::mouseClick(selector.month(1), Qt::LeftButton, {}, box);
        QCOMPARE(first, 2);
        QCOMPARE(second, 1);
        // No callback at all is fine.
        selector.setTickCallback({});
        selector.Redraw();
        QVERIFY(ticked());
        QTest::mouseClick(selector.month(1), Qt::LeftButton, {}, box);
        QVERIFY(!ticked());
    }

    void hideMonthsHidesAndForgetsTheCells()
    {
        Shown s(2024, MakeYearDays(true));
        QVERIFY(s.selector.isVisible());
        s.selector.HideMonths();
        QVERIFY(s.selector.isHidden());
        for (int m = 1; m <= 12; ++m) {
            QVERIFY(s.month(m)->isHidden());
            for (int row = 0; row < 6; ++row)
                for (int column = 0; column < 7; ++column)
                    QCOMPARE(s.month(m)->cellDay(column, row), 0);
        }
        // The slots stay for GetDays and the next ShowMonths.
        QCOMPARE(s.selector.GetDays(), MakeYearDays(true));
        s.selector.ShowMonths(true);
        QVERIFY(s.selector.isVisible());
        QVERIFY(s.month(12)->isVisible());
        QCOMPARE(s.month(12)->cellDay(6, 0), 1); // December 2024 begins on a Sunday
    }

    void setDaysShowsAfterShowMonths()
    {
        Shown s(2024, MakeYearDays(true));
        YearDays days = MakeYearDays(true);
        days[0][0].selected = true;
        s.selector.HideMonths();
        s.selector.SetDays(2024, days);
        QCOMPARE(s.selector.GetDays(), days);
        s.selector.ShowMonths(false);
        QCOMPARE(s.colorOf(1, 1), windows(0x00FFFF));
    }

    void selectWeekday()
    {
        YearDays days = MakeYearDays(true);
        days[1][29].selected = false; // slots 30 and 31 of February stay as they are
        days[1][30].selected = true;
        days[3][30].selected = false; // 31 April likewise
        Shown s(2024, days);
        s.selector.SelectWeekday(6, true);
        YearDays got = s.selector.GetDays();
        int saturdays = 0;
        for (int m = 1; m <= 12; ++m) {
            const QDate first(2024, m, 1);
            for (int d = 1; d <= 31; ++d) {
                const DayState& slot = got[m - 1][d - 1];
                if (d > first.daysInMonth()) {
                    QCOMPARE(slot, days[m - 1][d - 1]);
                    continue;
                }
                const bool saturday = QDate(2024, m, d).dayOfWeek() == 6;
                QCOMPARE(slot.selected, saturday);
                saturdays += saturday ? 1 : 0;
            }
        }
        QCOMPARE(saturdays, 52);

        // The months show it after a redraw.
        QCOMPARE(s.colorOf(1, 6), windows(0xFFDDDD));
        s.selector.Redraw();
        QCOMPARE(s.colorOf(1, 6), windows(0x00FFFF));
        QCOMPARE(s.colorOf(1, 7), windows(0xDDDDFF));
        QVERIFY(s.calls.empty());

        // Marking twice leaves the same set; false clears.
        s.selector.SelectWeekday(6, true);
        QCOMPARE(s.selector.GetDays(), got);
        s.selector.SelectWeekday(6, false);
        QCOMPARE(s.selector.GetDays(), days);
        // Monday = 1: 1 January 2024.
        s.selector.SelectWeekday(1, true);
        QVERIFY(s.slot(1, 1).selected);
        QVERIFY(!s.slot(1, 2).selected);
        QVERIFY(s.slot(12, 30).selected);
    }

    void keyboardTicksTheFocusedDay()
    {
        Shown s(2024, MakeYearDays(true));
        TCalendarSelector* jan = s.month(1);
        s.selector.activateWindow();
        jan->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(jan->hasFocus());
        QTest::keyClick(jan, Qt::Key_Space); // day 1
        QVERIFY(s.slot(1, 1).selected);
        QTest::keyClick(jan, Qt::Key_Right);
        QTest::keyClick(jan, Qt::Key_Down);
        QTest::keyClick(jan, Qt::Key_Space); // 2 + 7 = 9
        QVERIFY(s.slot(1, 9).selected);
        QTest::keyClick(jan, Qt::Key_Up);
        QTest::keyClick(jan, Qt::Key_Up);
        QTest::keyClick(jan, Qt::Key_Left);
        QTest::keyClick(jan, Qt::Key_Space); // clamped to 1, then 1 again
        QVERIFY(!s.slot(1, 1).selected);
        QCOMPARE(s.calls, (std::vector<bool>{true, true, false}));
    }

    void areaColour()
    {
        Shown s(2024, MakeYearDays(true));
        s.selector.setAreaColor(CalendarColors::fromWindows(0xF0D0C0));
        const QImage image = render(&s.selector);
        QCOMPARE(colorAt(image, QPoint(2, 2)), windows(0xF0D0C0));
        // Between the months, and the months where they stand.
        QCOMPARE(colorAt(image, QPoint(8 + 286 + 4, 100)), windows(0xF0D0C0));
        QCOMPARE(colorAt(image, QPoint(8 + 295 + 2, 26 + 173 + 2)), windows(0xE0C0B0));
        QCOMPARE(colorAt(image, QPoint(8 + 295 * 3 + 5, 26 + 173 * 2 + kTitle + 5)),
                 windows(0xC0A090));
    }
};

} // namespace zf

ZF_QTEST_MAIN(zf::YearCalendarSelectorTest)
#include "yearcalendarselector_test.moc"

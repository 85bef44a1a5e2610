#pragma once

#include "plans/calendar/daystate.h"
#include "util/windowscolor.h"

#include <QColor>

#include <cstdint>
#include <QRect>
#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QPainter;

namespace zf {

// The colours and text colours of a month, kept as QColor; the defaults are the program's own
// Windows colour values (0x00BBGGRR) converted with CalendarColors::fromWindows.
struct CalendarColors
{
    static QColor fromWindows(unsigned int bgr) { return fromWindowsColor(bgr); }

    QColor headerBackground = fromWindows(0xC0A090);
    QColor headerText = fromWindows(0xFFFFFF);
    QColor noDayBackground = fromWindows(0xFFFFFF);
    QColor weekdayBackground = fromWindows(0xFFFFFF);
    QColor weekdayText = fromWindows(0x000000);
    QColor saturdayBackground = fromWindows(0xFFDDDD);
    QColor saturdayText = fromWindows(0x000000);
    QColor sundayBackground = fromWindows(0xDDDDFF);
    QColor sundayText = fromWindows(0x000000);
    QColor tickedBackground = fromWindows(0x00FFFF);
    QColor unchangeableBackground = fromWindows(0xAEFFC2);
    QColor unchangeableTickedBackground = fromWindows(0x60D070);
    QColor titleBackground = fromWindows(0xE0C0B0);
    QColor titleText = fromWindows(0x000000);
};

// A coloured key to the calendar's and the overview's cells (a Windows colour value 0x00BBGGRR).
QLabel* legendBox(const QString& text, unsigned int bgr, QWidget* parent);

// One month of the year selector: a title bar over a panel holding a 7 x 7 grid (a header row
// of weekday names and six week rows, Monday to Sunday). Everything is painted by the widget;
// a selectable day carries a tick box, and its number acts as the box unless the month is
// read-only. Keyboard: the arrow keys move between days, Space clicks the day's box.
class TCalendarSelector : public QWidget
{
    Q_OBJECT
public:
    using TickCallback = std::function<void(bool ticked)>;

    // Geometry in pixels.
    static constexpr int Width = 286;       // title bar and panel
    static constexpr int TitleHeight = 17;  // the title bar, above the panel
    static constexpr int PanelHeight = 147; // the panel holding the grid
    static constexpr int Height = TitleHeight + PanelHeight;
    static constexpr int CellWidth = 40;
    static constexpr int CellHeight = 20;
    static constexpr int Columns = 7;
    static constexpr int WeekRows = 6;
    // The grid's top left corner inside the panel (the panel's frame around it).
    static constexpr int GridLeft = 3;
    static constexpr int GridTop = TitleHeight + 3;
    // Inside a day cell: the number field and the tick box.
    static constexpr int NumberLeft = 3;
    static constexpr int NumberTop = 5;
    static constexpr int NumberHeight = 13;
    static constexpr int NumberWidth = CellWidth - 18;
    static constexpr int BoxSize = 13;
    static constexpr int BoxFromRight = 15;
    static constexpr int BoxTop = (CellHeight - 7 + 1) / 2; // (height - 7) / 2, rounded

    explicit TCalendarSelector(QWidget* parent = nullptr);
    ~TCalendarSelector() override;

    // The month's year, number (1..12) and its 31 day slots, as loaded.
    void setMonth(int year, int month, const MonthDays& days);
    int year() const { return m_year; }
    int monthNumber() const { return m_month; }
    // The 31 slots as loaded and as changed by ticking.
    const MonthDays& days() const { return m_days; }
    MonthDays& days() { return m_days; }

    // Fills the cell table from the slots: the 1st under its weekday in the first week row.
    void layOutCells();
    // Forgets the cell table: no day numbers and no tick boxes until the next layOutCells.
    void clearCells();

    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    void setTickCallback(TickCallback callback) { m_callback = std::move(callback); }
    // Asked on every click whether the marking mode is on; none means off.
    void setMarkingModeQuery(std::function<bool()> query) { m_markingMode = std::move(query); }
    void setColors(const CalendarColors& colors);
    // Days framed as a warning (bit d - 1 for day d), e.g. below a unit's staffing threshold.
    void setWarningDays(std::uint32_t days);
    bool isWarningDay(int day) const { return day >= 1 && day <= 31 && (m_warningDays >> (day - 1)) & 1u; }
    const CalendarColors& colors() const { return m_colors; }

    // The month's title ("Styczeń" ... "Grudzień") and the header's weekday names (1 = Monday).
    static QString monthTitle(int month);
    static QString weekdayName(int weekday);

    // The day number of a week cell (column 0 = Monday, weekRow 0..5); 0 for no day.
    int cellDay(int column, int weekRow) const;
    // The widget rectangle of a grid cell; row 0 is the header, rows 1..6 the weeks.
    static QRect cellRect(int column, int row);
    // Where a day is drawn: its cell, its number field and its tick box (empty rectangles
    // when the day is not in the cell table or, for the box, not selectable).
    QRect dayCellRect(int day) const;
    QRect numberRect(int day) const;
    QRect boxRect(int day) const;
    // Whether the day is shown with a tick box.
    bool hasTickBox(int day) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    struct Cell
    {
        int day = 0; // 0: no day
        bool selectable = false;
        bool selected = false;
        bool unchangeable = false;
    };
    static constexpr int CellCount = Columns * WeekRows;

    int indexOfDay(int day) const;
    // The cell index under a point when it hits a tick box or a clickable number; -1 otherwise.
    int clickTargetAt(const QPoint& pos) const;
    // A click on the tick box of a cell: the box shows the opposite of the cell's state.
    void clickBox(int index);
    void paintCell(QPainter& p, int index) const;

    int m_year = 0;
    int m_month = 0;
    MonthDays m_days{};
    std::array<Cell, CellCount> m_cells{};
    bool m_readOnly = false;
    std::uint32_t m_warningDays = 0;
    TickCallback m_callback;
    std::function<bool()> m_markingMode;
    CalendarColors m_colors;
    int m_pressed = -1; // the cell whose box or number the mouse went down on
    int m_focusDay = 0; // the day the keyboard works on
    bool m_showFocus = false;
};

} // namespace zf

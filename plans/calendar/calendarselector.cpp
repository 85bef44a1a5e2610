#include "plans/calendar/calendarselector.h"

#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace zf {

QLabel* legendBox(const QString& text, unsigned int bgr, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setAutoFillBackground(true);
    QPalette pal = l->palette();
    pal.setColor(QPalette::Window, CalendarColors::fromWindows(bgr));
    pal.setColor(QPalette::WindowText, Qt::black);
    l->setPalette(pal);
    l->setContentsMargins(6, 2, 6, 2);
    return l;
}

TCalendarSelector::TCalendarSelector(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    resize(Width, Height);
}

TCalendarSelector::~TCalendarSelector() = default;

void TCalendarSelector::setMonth(int year, int month, const MonthDays& days)
{
    m_year = year;
    m_month = month;
    m_days = days;
    update();
}

void TCalendarSelector::layOutCells()
{
    m_cells = {};
    m_pressed = -1;
    const QDate first(m_year, m_month, 1);
    if (first.isValid()) {
        const int n = first.daysInMonth();
        int running = 2 - first.dayOfWeek();
        for (Cell& cell : m_cells) {
            if (running >= 1 && running <= n) {
                const DayState& slot = m_days[static_cast<std::size_t>(running - 1)];
                cell = Cell{running, slot.selectable, slot.selected, slot.unchangeable};
            }
            ++running;
        }
    }
    if (indexOfDay(m_focusDay) < 0)
        m_focusDay = 0;
    update();
}

void TCalendarSelector::clearCells()
{
    m_cells = {};
    m_pressed = -1;
    m_focusDay = 0;
    update();
}

void TCalendarSelector::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    update();
}

void TCalendarSelector::setColors(const CalendarColors& colors)
{
    m_colors = colors;
    update();
}

QString TCalendarSelector::monthTitle(int month)
{
    static const QString titles[12] = {
        QStringLiteral("Styczeń"),     QStringLiteral("Luty"),     QStringLiteral("Marzec"),
        QStringLiteral("Kwiecień"),    QStringLiteral("Maj"),      QStringLiteral("Czerwiec"),
        QStringLiteral("Lipiec"),      QStringLiteral("Sierpień"), QStringLiteral("Wrzesień"),
        QStringLiteral("Październik"), QStringLiteral("Listopad"), QStringLiteral("Grudzień")};
    return month >= 1 && month <= 12 ? titles[month - 1] : QString();
}

QString TCalendarSelector::weekdayName(int weekday)
{
    static const QString names[7] = {
        QStringLiteral("Pn"), QStringLiteral("Wt"), QStringLiteral("Śr"), QStringLiteral("Cz"),
        QStringLiteral("Pt"), QStringLiteral("Sb"), QStringLiteral("Nd")};
    return weekday >= 1 && weekday <= 7 ? names[weekday - 1] : QString();
}

int TCalendarSelector::cellDay(int column, int weekRow) const
{
    if (column < 0 || column >= Columns || weekRow < 0 || weekRow >= WeekRows)
        return 0;
    return m_cells[static_cast<std::size_t>(weekRow * Columns + column)].day;
}

QRect TCalendarSelector::cellRect(int column, int row)
{
    return QRect(GridLeft + column * CellWidth, GridTop + row * CellHeight, CellWidth, CellHeight);
}

int TCalendarSelector::indexOfDay(int day) const
{
    if (day < 1)
        return -1;
    for (int i = 0; i < CellCount; ++i)
        if (m_cells[static_cast<std::size_t>(i)].day == day)
            return i;
    return -1;
}

QRect TCalendarSelector::dayCellRect(int day) const
{
    const int i = indexOfDay(day);
    return i < 0 ? QRect() : cellRect(i % Columns, i / Columns + 1);
}

QRect TCalendarSelector::numberRect(int day) const
{
    const QRect cell = dayCellRect(day);
    if (cell.isNull())
        return QRect();
    return QRect(cell.left() + NumberLeft, cell.top() + NumberTop, NumberWidth, NumberHeight);
}

QRect TCalendarSelector::boxRect(int day) const
{
    if (!hasTickBox(day))
        return QRect();
    const QRect cell = dayCellRect(day);
    return QRect(cell.left() + CellWidth - BoxFromRight, cell.top() + BoxTop, BoxSize, BoxSize);
}

bool TCalendarSelector::hasTickBox(int day) const
{
    const int i = indexOfDay(day);
    return i >= 0 && m_cells[static_cast<std::size_t>(i)].selectable;
}

QSize TCalendarSelector::sizeHint() const
{
    return QSize(Width, Height);
}

void TCalendarSelector::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QFont bold = font();
    bold.setBold(true);

    const QRect title(0, 0, Width, TitleHeight);
    p.fillRect(title, m_colors.titleBackground);
    p.setFont(bold);
    p.setPen(m_colors.titleText);
    p.drawText(title, Qt::AlignCenter, monthTitle(m_month));

    // The panel's frame; inside it the owner's background shows around the grid.
    p.setPen(m_colors.headerBackground);
    p.drawRect(QRect(0, TitleHeight, Width - 1, PanelHeight - 1));

    p.setPen(m_colors.headerText);
    for (int c = 0; c < Columns; ++c) {
        const QRect r = cellRect(c, 0);
        p.fillRect(r, m_colors.headerBackground);
        p.drawText(r, Qt::AlignCenter, weekdayName(c + 1));
    }

    for (int i = 0; i < CellCount; ++i)
        paintCell(p, i);

    if (m_showFocus && hasFocus() && m_focusDay > 0) {
        p.setPen(QPen(m_colors.weekdayText, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(dayCellRect(m_focusDay).adjusted(1, 1, -2, -2));
    }
}

void TCalendarSelector::setWarningDays(std::uint32_t days)
{
    if (days == m_warningDays)
        return;
    m_warningDays = days;
    update();
}

void TCalendarSelector::paintCell(QPainter& p, int index) const
{
    const Cell& cell = m_cells[static_cast<std::size_t>(index)];
    const int column = index % Columns;
    const QRect r = cellRect(column, index / Columns + 1);

    QColor background;
    QColor text;
    if (column == 5) {
        background = m_colors.saturdayBackground;
        text = m_colors.saturdayText;
    } else if (column == 6) {
        background = m_colors.sundayBackground;
        text = m_colors.sundayText;
    } else if (cell.day > 0) {
        background = m_colors.weekdayBackground;
        text = m_colors.weekdayText;
    } else {
        background = m_colors.noDayBackground;
    }
    bool bold = false;
    if (cell.day > 0 && cell.selectable) {
        if (cell.selected) {
            background = m_colors.tickedBackground;
            bold = true;
        }
        if (cell.unchangeable)
            background = cell.selected ? m_colors.unchangeableTickedBackground
                                       : m_colors.unchangeableBackground;
    }
    p.fillRect(r, background);
    if (cell.day == 0)
        return;
    if (isWarningDay(cell.day)) {
        p.setPen(QPen(CalendarColors::fromWindows(0x0000FF), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(1, 1, -1, -1));
    }

    QFont f = font();
    f.setBold(bold);
    p.setFont(f);
    p.setPen(text);
    p.drawText(QRect(r.left() + NumberLeft, r.top() + NumberTop, NumberWidth, NumberHeight),
               Qt::AlignRight | Qt::AlignVCenter, QString::number(cell.day) + QLatin1Char(' '));

    if (cell.selectable) {
        QStyleOptionButton box;
        box.initFrom(this);
        box.state &= ~QStyle::State_HasFocus;
        box.state |= cell.selected ? QStyle::State_On : QStyle::State_Off;
        box.rect = QRect(r.left() + CellWidth - BoxFromRight, r.top() + BoxTop, BoxSize, BoxSize);
        style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &p, this);
    }
}

int TCalendarSelector::clickTargetAt(const QPoint& pos) const
{
    const int x = pos.x() - GridLeft;
    const int y = pos.y() - GridTop;
    if (x < 0 || y < CellHeight)
        return -1; // left of the grid, above it or in the header row
    const int column = x / CellWidth;
    const int weekRow = y / CellHeight - 1;
    if (column >= Columns || weekRow >= WeekRows)
        return -1;
    const int index = weekRow * Columns + column;
    const Cell& cell = m_cells[static_cast<std::size_t>(index)];
    if (cell.day == 0 || !cell.selectable)
        return -1;
    if (boxRect(cell.day).contains(pos))
        return index;
    if (!m_readOnly && numberRect(cell.day).contains(pos))
        return index;
    return -1;
}

void TCalendarSelector::clickBox(int index)
{
    if (index < 0 || index >= CellCount)
        return;
    Cell& cell = m_cells[static_cast<std::size_t>(index)];
    if (cell.day == 0 || !cell.selectable)
        return;
    const bool ticked = !cell.selected; // the box shows the opposite state now
    DayState& slot = m_days[static_cast<std::size_t>(cell.day - 1)];
    if (m_markingMode && m_markingMode()) {
        cell.unchangeable = !cell.unchangeable;
        slot.unchangeable = !slot.unchangeable;
    } else if (!m_readOnly) {
        if (m_callback)
            m_callback(ticked);
        cell.selected = ticked;
        slot.selected = ticked;
    }
    update();
}

void TCalendarSelector::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pressed = clickTargetAt(event->position().toPoint());
    if (m_pressed >= 0)
        m_focusDay = m_cells[static_cast<std::size_t>(m_pressed)].day;
    event->accept();
}

void TCalendarSelector::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const int pressed = m_pressed;
    m_pressed = -1;
    if (pressed >= 0 && clickTargetAt(event->position().toPoint()) == pressed)
        clickBox(pressed);
    event->accept();
}

void TCalendarSelector::keyPressEvent(QKeyEvent* event)
{
    int last = 0;
    for (const Cell& cell : m_cells)
        last = std::max(last, cell.day);
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        step = -1;
        break;
    case Qt::Key_Right:
        step = 1;
        break;
    case Qt::Key_Up:
        step = -Columns;
        break;
    case Qt::Key_Down:
        step = Columns;
        break;
    case Qt::Key_Space:
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (last == 0)
        return; // nothing laid out
    m_showFocus = true;
    if (m_focusDay == 0)
        m_focusDay = 1; // the first key finds the 1st; the arrows move from there
    else
        m_focusDay = std::clamp(m_focusDay + step, 1, last);
    if (event->key() == Qt::Key_Space)
        clickBox(indexOfDay(m_focusDay));
    update();
}

void TCalendarSelector::focusInEvent(QFocusEvent* event)
{
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        m_showFocus = true;
    if (m_focusDay == 0 && indexOfDay(1) >= 0)
        m_focusDay = 1;
    QWidget::focusInEvent(event);
    update();
}

void TCalendarSelector::focusOutEvent(QFocusEvent* event)
{
    m_showFocus = false;
    QWidget::focusOutEvent(event);
    update();
}

} // namespace zf

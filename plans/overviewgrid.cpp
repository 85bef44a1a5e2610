#include "plans/overviewgrid.h"

#include "plans/calendar/calendarselector.h"
#include "plans/overviewlaborcode.h"
#include "util/dates.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace zf {

namespace {

constexpr unsigned int kHeaderBack = 0xC0A090;
constexpr unsigned int kHeaderText = 0xFFFFFF;
constexpr unsigned int kWeekdayBack = 0xFFFFFF;
constexpr unsigned int kSaturdayBack = 0xFFDDDD;
constexpr unsigned int kSundayBack = 0xDDDDFF;
constexpr unsigned int kLeaveBack = 0x00FFFF;
constexpr unsigned int kFixedBack = 0x00FF00;
constexpr unsigned int kFreeBack = 0xDDDDDD;
constexpr unsigned int kFreeFrame = 0x808080;
constexpr unsigned int kFreeSaturdayText = 0xCCAAAA;
constexpr unsigned int kFreeSundayText = 0xBBBBDD;
// A working day on which a unit is below its staffing threshold.
constexpr unsigned int kBelowBack = 0x7070FF;
constexpr unsigned int kStaffingBack = 0xEFE4DC;
// Between the cells, as the grid lines of a table.
constexpr unsigned int kGridLine = 0xE8E8E8;

constexpr int kIconWidth = 16;
constexpr int kIconHeight = 13;

QPixmap makeIcon(const std::function<void(QPainter&)>& draw)
{
    QPixmap pm(kIconWidth, kIconHeight);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return pm;
}

} // namespace

QPixmap TOverviewGrid::EditIcon()
{
    // A pencil leaning to the right.
    return makeIcon([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(QColor(240, 180, 40));
        QPolygonF body({QPointF(3, 11), QPointF(11, 3), QPointF(13, 5), QPointF(5, 13)});
        p.drawPolygon(body);
        p.setBrush(QColor(60, 60, 60));
        p.drawPolygon(QPolygonF({QPointF(3, 11), QPointF(5, 13), QPointF(1, 13)}));
    });
}

TOverviewGrid::TOverviewGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    setObjectName(QStringLiteral("DrawGrid"));
    setAccessibleName(QStringLiteral("Grafik urlopowy"));
    m_font = QFont(QStringLiteral("Arial"), 8);
    m_bold = m_font;
    m_bold.setBold(true);
    setFont(m_font);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    horizontalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setSingleStep(1);
    viewport()->setAutoFillBackground(false);

    // A crossed square: no work that day.
    m_freeIcon = makeIcon([](QPainter& p) {
        p.setPen(QPen(QColor(110, 110, 110), 1.5));
        p.drawRect(QRectF(2.5, 1.5, 10, 10));
        p.drawLine(QPointF(4, 3), QPointF(11, 10));
        p.drawLine(QPointF(11, 3), QPointF(4, 10));
    });
    // A small sun: a day of leave.
    m_leaveIcon = makeIcon([](QPainter& p) {
        p.setPen(QPen(QColor(220, 120, 0), 1.2));
        for (int i = 0; i < 8; ++i) {
            const double a = i * 3.14159265 / 4;
            p.drawLine(QPointF(7.5 + 4 * std::cos(a), 6.5 + 4 * std::sin(a)),
                       QPointF(7.5 + 6 * std::cos(a), 6.5 + 6 * std::sin(a)));
        }
        p.setBrush(QColor(255, 150, 0));
        p.drawEllipse(QPointF(7.5, 6.5), 3, 3);
    });
    // A padlock: a day of leave that should not be moved.
    m_fixedLeaveIcon = makeIcon([](QPainter& p) {
        p.setPen(QPen(QColor(40, 40, 40), 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4.5, 1, 7, 8), 0, 180 * 16);
        p.drawLine(QPointF(4.5, 5), QPointF(4.5, 6));
        p.drawLine(QPointF(11.5, 5), QPointF(11.5, 6));
        p.setBrush(QColor(200, 150, 0));
        p.drawRect(QRectF(3, 6, 10, 6));
    });
    m_editIcon = EditIcon();
    // A warning triangle: the employee's plan breaks a rule of the Labour Code.
    m_warningIcon = makeIcon([](QPainter& p) {
        p.setPen(QPen(QColor(160, 30, 0), 1.2));
        p.setBrush(QColor(255, 200, 0));
        p.drawPolygon(QPolygonF({QPointF(8, 0.8), QPointF(15.2, 12.2), QPointF(0.8, 12.2)}));
        p.setPen(QPen(QColor(40, 0, 0), 1.6));
        p.drawLine(QPointF(8, 4), QPointF(8, 8.2));
        p.drawPoint(QPointF(8, 10.4));
    });
}

void TOverviewGrid::setData(const OverviewData* data)
{
    m_data = data;
    updateScrollBars();
    viewport()->update();
}

void TOverviewGrid::setStaffing(const std::vector<UnitStaffing>* rows)
{
    m_staffing = rows;
    updateScrollBars();
    viewport()->update();
}

void TOverviewGrid::setLaborCode(const std::vector<LaborCodeCheck>* checks)
{
    m_laborCode = checks;
    updateScrollBars();
    viewport()->update();
}

int TOverviewGrid::fixedColumns() const
{
    return m_laborCode ? kFixedColumns + 1 : kFixedColumns;
}

int TOverviewGrid::fixedColumnWidth(int column) const
{
    if (!m_laborCode || column < kLaborCodeColumn)
        return kFixedWidths[column];
    return column == kLaborCodeColumn ? kLaborCodeWidth : kFixedWidths[column - 1];
}

int TOverviewGrid::entryCount() const
{
    return m_data ? m_data->plans.Count() : 0;
}

int TOverviewGrid::staffingCount() const
{
    return m_data && m_staffing ? static_cast<int>(m_staffing->size()) : 0;
}

int TOverviewGrid::columnCount() const
{
    return m_data ? m_data->dayCount() + fixedColumns() : fixedColumns();
}

int TOverviewGrid::rowCount() const
{
    return entryCount() + staffingCount() + 1;
}

int TOverviewGrid::fixedWidth() const
{
    int w = 0;
    for (int c = 0; c < fixedColumns(); ++c)
        w += fixedColumnWidth(c);
    return w;
}

int TOverviewGrid::visibleDayColumns() const
{
    return std::max(1, (viewport()->width() - fixedWidth()) / kDayWidth);
}

int TOverviewGrid::firstVisibleDay() const
{
    return horizontalScrollBar()->value() + 1;
}

void TOverviewGrid::setFirstVisibleDay(int day)
{
    horizontalScrollBar()->setValue(day - 1);
}

int TOverviewGrid::firstVisibleRow() const
{
    return verticalScrollBar()->value() + 1;
}

void TOverviewGrid::setFirstVisibleRow(int row)
{
    verticalScrollBar()->setValue(row - 1);
}

void TOverviewGrid::updateScrollBars()
{
    const int days = m_data ? m_data->dayCount() : 0;
    const int visibleDays = visibleDayColumns();
    horizontalScrollBar()->setRange(0, std::max(0, days - visibleDays));
    horizontalScrollBar()->setPageStep(visibleDays);
    const int entries = entryCount() + staffingCount();
    const int visibleRows = std::max(1, viewport()->height() / kRowHeight - 1);
    verticalScrollBar()->setRange(0, std::max(0, entries - visibleRows));
    verticalScrollBar()->setPageStep(visibleRows);
}

void TOverviewGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

int TOverviewGrid::columnLeft(int column) const
{
    if (column < fixedColumns()) {
        int x = 0;
        for (int c = 0; c < column; ++c)
            x += fixedColumnWidth(c);
        return x;
    }
    return fixedWidth() + (column - fixedColumns() - horizontalScrollBar()->value()) * kDayWidth;
}

QRect TOverviewGrid::cellRect(int column, int row) const
{
    if (column < 0 || column >= columnCount() || row < 0 || row >= rowCount())
        return {};
    const int x = columnLeft(column);
    if (column >= fixedColumns() && x < fixedWidth())
        return {};
    int y = 0;
    if (row > 0) {
        const int shown = row - 1 - verticalScrollBar()->value();
        if (shown < 0)
            return {};
        y = (shown + 1) * kRowHeight;
    }
    const int w = column < fixedColumns() ? fixedColumnWidth(column) : kDayWidth;
    const QRect r(x, y, w - 1, kRowHeight - 1);
    return r.intersects(viewport()->rect()) ? r : QRect();
}

QPoint TOverviewGrid::cellAt(const QPoint& pos) const
{
    if (pos.x() < 0 || pos.y() < 0)
        return {-1, -1};
    int column = -1;
    if (pos.x() < fixedWidth()) {
        int x = 0;
        for (int c = 0; c < fixedColumns(); ++c) {
            x += fixedColumnWidth(c);
            if (pos.x() < x) {
                column = c;
                break;
            }
        }
    } else {
        column =
            fixedColumns() + horizontalScrollBar()->value() + (pos.x() - fixedWidth()) / kDayWidth;
    }
    int row = pos.y() / kRowHeight;
    if (row > 0)
        row += verticalScrollBar()->value();
    if (column >= columnCount() || row >= rowCount())
        return {-1, -1};
    return {column, row};
}

void TOverviewGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QAbstractScrollArea::mouseReleaseEvent(event);
    const QPoint cell = cellAt(event->position().toPoint());
    if (cell.x() == editColumn() && cell.y() >= 1 && cell.y() - 1 < entryCount())
        emit editRequested(cell.y() - 1);
}

void TOverviewGrid::wheelEvent(QWheelEvent* event)
{
    QPoint delta = event->angleDelta();
    const bool rowsFit = verticalScrollBar()->maximum() == 0;
    if ((event->modifiers() & Qt::ShiftModifier) || rowsFit) {
        delta.rx() += delta.y();
        delta.ry() = 0;
    }
    if (delta.isNull()) {
        event->ignore();
        return;
    }
    // One notch (120) moves as many columns or rows as the desktop's lines per notch.
    const int perStep = std::max(1, QWheelEvent::DefaultDeltasPerStep /
                                        std::max(1, QApplication::wheelScrollLines()));
    m_wheelRest += delta;
    const int columns = m_wheelRest.x() / perStep;
    const int rows = m_wheelRest.y() / perStep;
    m_wheelRest -= QPoint(columns * perStep, rows * perStep);
    // Turning away from oneself (negative) goes forward: later days, lower rows.
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - columns);
    verticalScrollBar()->setValue(verticalScrollBar()->value() - rows);
    event->accept();
}

bool TOverviewGrid::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QAbstractScrollArea::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QPoint pos = viewport()->mapFrom(this, help->pos());
    const QString hint = hintAt(cellAt(pos));
    if (hint.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), hint, this);
    return true;
}

QString TOverviewGrid::hintAt(const QPoint& cell) const
{
    if (cell.x() < 0 || cell.y() < 0)
        return {};
    if (m_laborCode && cell.x() == kLaborCodeColumn) {
        if (cell.y() == 0)
            return LaborCodeColumnHint();
        const auto entry = static_cast<size_t>(cell.y() - 1);
        return cell.y() - 1 < entryCount() && entry < m_laborCode->size()
                   ? LaborCodeHint((*m_laborCode)[entry])
                   : QString();
    }
    const int row = cell.y() - 1 - entryCount();
    if (row >= 0 && row < staffingCount() && cell.x() >= fixedColumns())
        return StaffingHintText((*m_staffing)[static_cast<size_t>(row)],
                                cell.x() - fixedColumns() + 1);
    return {};
}

void TOverviewGrid::paintStaffingDayCell(QPainter& p, const QRect& r, const UnitStaffing& s,
                                         int day, int weekday)
{
    if (!m_data->isWorkingDay(day)) {
        p.setPen(CalendarColors::fromWindows(kFreeFrame));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(-1, -1, 0, 0));
        p.fillRect(r, CalendarColors::fromWindows(kFreeBack));
        return;
    }
    const bool below = s.isBelow(day);
    p.fillRect(r, CalendarColors::fromWindows(below ? kBelowBack
                                 : weekday == 6 ? kSaturdayBack
                                 : weekday == 7 ? kSundayBack : kStaffingBack));
    p.setFont(below ? m_bold : m_font);
    p.setPen(CalendarColors::fromWindows(0x000000));
    p.drawText(r, Qt::AlignCenter, QString::number(s.presentOn(day)));
}

void TOverviewGrid::paintHeaderCell(QPainter& p, const QRect& r, const QString& text,
                                    Qt::Alignment align)
{
    p.fillRect(r, CalendarColors::fromWindows(kHeaderBack));
    if (text.isEmpty())
        return;
    p.setFont(m_bold);
    p.setPen(CalendarColors::fromWindows(kHeaderText));
    p.drawText(r, align | Qt::AlignVCenter, text);
}

void TOverviewGrid::paintDayCell(QPainter& p, const QRect& r, const THolidayPlanEntry& e, int day,
                                 int weekday, const QString& weekdayText)
{
    QColor back = CalendarColors::fromWindows(weekday == 6 ? kSaturdayBack : weekday == 7 ? kSundayBack : kWeekdayBack);
    QColor text = CalendarColors::fromWindows(0x000000);
    bool bold = false;
    const QPixmap* icon = nullptr;
    if (m_data->isWorkingDay(day)) {
        if (e.isLeave(day)) {
            back = CalendarColors::fromWindows(kLeaveBack);
            bold = true;
            icon = &m_leaveIcon;
            if (e.isUnchangeable(day)) {
                back = CalendarColors::fromWindows(kFixedBack);
                icon = &m_fixedLeaveIcon;
            }
        } else if (e.isUnchangeable(day)) {
            back = CalendarColors::fromWindows(kFixedBack);
        }
    } else {
        p.setPen(CalendarColors::fromWindows(kFreeFrame));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(-1, -1, 0, 0));
        back = CalendarColors::fromWindows(kFreeBack);
        bold = true;
        text = CalendarColors::fromWindows(weekday == 6 ? kFreeSaturdayText : weekday == 7 ? kFreeSundayText : 0);
        icon = &m_freeIcon;
    }
    p.fillRect(r, back);
    if (icon)
        p.drawPixmap(r.left() + 5, r.top() + (r.height() - icon->height() + 1) / 2, *icon);
    p.setFont(bold ? m_bold : m_font);
    p.setPen(text);
    p.drawStaticText(QPointF(r.left() + 26, r.top() + 2), dayText(weekdayText, bold));
}

const QStaticText& TOverviewGrid::dayText(const QString& text, bool bold)
{
    QHash<QString, QStaticText>& cache = m_dayTexts[bold ? 1 : 0];
    auto it = cache.find(text);
    if (it == cache.end()) {
        QStaticText st(text);
        st.setTextFormat(Qt::PlainText);
        st.setPerformanceHint(QStaticText::AggressiveCaching);
        st.prepare(QTransform(), bold ? m_bold : m_font);
        it = cache.insert(text, st);
    }
    return *it;
}

void TOverviewGrid::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    p.fillRect(event->rect(), CalendarColors::fromWindows(kGridLine));
    if (!m_data)
        return;
    const int fixed = fixedWidth();
    const int days = m_data->dayCount();
    const int firstDay = firstVisibleDay();
    const int lastDay = std::min(days, firstDay + (viewport()->width() - fixed) / kDayWidth + 1);
    const int firstEntry = verticalScrollBar()->value();
    const int entries = entryCount();
    const int lastEntry = std::min(entries + staffingCount() - 1,
                                   firstEntry + viewport()->height() / kRowHeight);

    // Day columns first, clipped to their area, so the fixed columns always cover them.
    p.save();
    p.setClipRect(QRect(fixed, 0, viewport()->width() - fixed, viewport()->height()));
    // Weekdays and their names once per column in view, not once per cell.
    std::vector<int> weekdays;
    QStringList weekdayTexts;
    for (int day = firstDay; day <= lastDay; ++day) {
        weekdays.push_back(DayOfWeekIso(DateOfDayOfYear(day, m_data->year)));
        weekdayTexts << WeekdayText(m_data->year, day);
        const int x = fixed + (day - firstDay) * kDayWidth;
        const QRect head(x, 0, kDayWidth - 1, kRowHeight - 1);
        paintHeaderCell(p, head, DayHeaderText(m_data->year, day), Qt::AlignHCenter);
    }
    for (int i = firstEntry; i <= lastEntry; ++i) {
        const int y = (i - firstEntry + 1) * kRowHeight;
        if (i >= entries) {
            const UnitStaffing& s = (*m_staffing)[static_cast<size_t>(i - entries)];
            for (int day = firstDay; day <= lastDay; ++day)
                paintStaffingDayCell(p, QRect(fixed + (day - firstDay) * kDayWidth, y, kDayWidth - 1,
                                              kRowHeight - 1),
                                     s, day, weekdays[static_cast<size_t>(day - firstDay)]);
            continue;
        }
        const THolidayPlanEntry& e = m_data->plans.at(i);
        for (int day = firstDay; day <= lastDay; ++day) {
            const int x = fixed + (day - firstDay) * kDayWidth;
            paintDayCell(p, QRect(x, y, kDayWidth - 1, kRowHeight - 1), e, day,
                         weekdays[static_cast<size_t>(day - firstDay)],
                         weekdayTexts.at(day - firstDay));
        }
    }
    p.restore();

    static const QString titles[kFixedColumns] = {QStringLiteral("Nazwisko pracownika"),
                                                  QStringLiteral("Należny"),
                                                  QStringLiteral("Pozost."), QString()};
    const int editColumnNow = editColumn();
    const auto fixedCell = [&](int c, int y) {
        return QRect(columnLeft(c), y, fixedColumnWidth(c) - 1, kRowHeight - 1);
    };
    for (int c = 0; c < fixedColumns(); ++c)
        paintHeaderCell(p, fixedCell(c, 0),
                        c == editColumnNow                     ? QString()
                        : m_laborCode && c == kLaborCodeColumn ? kLaborCodeColumnTitle
                                                               : titles[c],
                        Qt::AlignHCenter);
    for (int i = firstEntry; i <= lastEntry; ++i) {
        const int y = (i - firstEntry + 1) * kRowHeight;
        const QRect name(0, y, kFixedWidths[0] - 1, kRowHeight - 1);
        if (i >= entries) {
            const UnitStaffing& s = (*m_staffing)[static_cast<size_t>(i - entries)];
            paintHeaderCell(p, name, {}, {});
            p.setFont(m_bold);
            p.setPen(CalendarColors::fromWindows(kHeaderText));
            p.drawText(name.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, StaffingNameText(s));
            paintHeaderCell(p, fixedCell(1, y), StaffingMinimumText(s), Qt::AlignHCenter);
            for (int c = 2; c <= editColumnNow; ++c)
                paintHeaderCell(p, fixedCell(c, y), {}, {});
            continue;
        }
        const THolidayPlanEntry& e = m_data->plans.at(i);
        paintHeaderCell(p, name, {}, {});
        p.setFont(m_bold);
        p.setPen(CalendarColors::fromWindows(kHeaderText));
        p.drawText(name.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, EntryNameText(e));
        paintHeaderCell(p, fixedCell(1, y), EntryEntitlementText(e), Qt::AlignHCenter);
        paintHeaderCell(p, fixedCell(2, y), QString::number(e.remaining), Qt::AlignHCenter);
        if (m_laborCode) {
            const QRect kp = fixedCell(kLaborCodeColumn, y);
            paintHeaderCell(p, kp, {}, {});
            if (static_cast<size_t>(i) < m_laborCode->size() &&
                (*m_laborCode)[static_cast<size_t>(i)].broken())
                p.drawPixmap(kp.left() + (kp.width() - m_warningIcon.width() + 1) / 2,
                             kp.top() + (kp.height() - m_warningIcon.height() + 1) / 2,
                             m_warningIcon);
        }
        const QRect edit = fixedCell(editColumnNow, y);
        paintHeaderCell(p, edit, {}, {});
        p.drawPixmap(edit.left() + 3, edit.top() + (edit.height() - m_editIcon.height() + 1) / 2,
                     m_editIcon);
    }
}

} // namespace zf

#include "plans/calendar/yearcalendarselector.h"

#include "plans/calendar/calendarselector.h"

#include <QDate>
#include <QPalette>

namespace zf {

namespace {

// The owner area keeps this margin right of and below the months.
constexpr int AreaMargin = 8;

} // namespace

TYearCalendarSelector::TYearCalendarSelector(QWidget* parent) : QWidget(parent)
{
    for (int m = 1; m <= 12; ++m) {
        auto* month = new TCalendarSelector(this);
        month->setObjectName(QStringLiteral("month%1").arg(m));
        month->setGeometry(QRect(monthPosition(m), month->sizeHint()));
        month->setMonth(0, m, MonthDays{});
        month->setMarkingModeQuery([this] { return m_markingMode; });
        month->hide();
        m_months[static_cast<std::size_t>(m - 1)] = month;
    }
    setMinimumSize(sizeHint());
}

TYearCalendarSelector::~TYearCalendarSelector() = default;

QPoint TYearCalendarSelector::monthPosition(int month)
{
    const int i = month - 1;
    return QPoint(AreaLeft + ColumnStep * (i % 4), AreaTop + RowStep * (i / 4));
}

QSize TYearCalendarSelector::sizeHint() const
{
    const QPoint last = monthPosition(12);
    return QSize(last.x() + TCalendarSelector::Width + AreaMargin,
                 last.y() + TCalendarSelector::Height + AreaMargin);
}

void TYearCalendarSelector::setWarningDays(const QSet<int>& dateNumbers)
{
    std::array<std::uint32_t, 12> masks{};
    for (int n : dateNumbers) {
        const int month = n / 100 % 100;
        const int day = n % 100;
        if (n / 10000 == m_year && month >= 1 && month <= 12 && day >= 1 && day <= 31)
            masks[static_cast<std::size_t>(month - 1)] |= 1u << (day - 1);
    }
    for (std::size_t m = 0; m < 12; ++m)
        m_months[m]->setWarningDays(masks[m]);
}

TCalendarSelector* TYearCalendarSelector::month(int month) const
{
    return month >= 1 && month <= 12 ? m_months[static_cast<std::size_t>(month - 1)] : nullptr;
}

void TYearCalendarSelector::setAreaColor(const QColor& color)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
    setAutoFillBackground(true);
}

void TYearCalendarSelector::SetDays(int year, const YearDays& days)
{
    m_year = year;
    for (int m = 0; m < 12; ++m)
        m_months[static_cast<std::size_t>(m)]->setMonth(year, m + 1,
                                                        days[static_cast<std::size_t>(m)]);
}

YearDays TYearCalendarSelector::GetDays() const
{
    YearDays days{};
    for (int m = 0; m < 12; ++m)
        days[static_cast<std::size_t>(m)] = m_months[static_cast<std::size_t>(m)]->days();
    return days;
}

void TYearCalendarSelector::ShowMonths(bool readOnly)
{
    m_readOnly = readOnly;
    show();
    for (TCalendarSelector* month : m_months) {
        month->setTickCallback(m_callback);
        month->layOutCells();
        month->setReadOnly(readOnly);
        month->show();
    }
}

void TYearCalendarSelector::HideMonths()
{
    hide();
    for (TCalendarSelector* month : m_months) {
        month->hide();
        month->clearCells();
    }
}

void TYearCalendarSelector::Redraw()
{
    HideMonths();
    ShowMonths(false);
}

void TYearCalendarSelector::SelectWeekday(int weekday, bool value)
{
    for (TCalendarSelector* month : m_months) {
        const QDate first(month->year(), month->monthNumber(), 1);
        if (!first.isValid())
            continue;
        MonthDays& days = month->days();
        // Day d falls on the weekday of the 1st moved on by d - 1 days.
        for (int d = 1; d <= first.daysInMonth(); ++d)
            if ((first.dayOfWeek() - 1 + d - 1) % 7 + 1 == weekday)
                days[static_cast<std::size_t>(d - 1)].selected = value;
    }
}

} // namespace zf

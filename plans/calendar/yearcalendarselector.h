#pragma once

#include "plans/calendar/daystate.h"

#include <QColor>
#include <QSet>
#include <QPoint>
#include <QSize>
#include <QWidget>

#include <array>
#include <functional>

namespace zf {

// One month of the year selector: a 7 x 7 grid (weekday names, six week rows starting on
// Monday) painted by the widget itself; a selectable day carries a tick box.
// Defined in plans/calendar/calendarselector.h.
class TCalendarSelector;

// The whole year as twelve painted months in 3 rows of 4. The owner loads a day-state table,
// lets the user tick and reads the table back; the selector knows nothing of the database.
class TYearCalendarSelector : public QWidget
{
    Q_OBJECT
public:
    using TickCallback = std::function<void(bool ticked)>;

    explicit TYearCalendarSelector(QWidget* parent = nullptr);
    ~TYearCalendarSelector() override;

    void SetDays(int year, const YearDays& days);
    YearDays GetDays() const;
    void ShowMonths(bool readOnly);
    void HideMonths();
    // HideMonths followed by ShowMonths editable.
    void Redraw();
    // Sets Selected to `value` on every day of the year falling on `weekday` (Monday = 1).
    void SelectWeekday(int weekday, bool value);
    // Frames the days (date numbers) as warnings; every other day loses its frame.
    void setWarningDays(const QSet<int>& dateNumbers);

    // Called on every tick change outside the marking mode; set before ShowMonths.
    void setTickCallback(TickCallback callback) { m_callback = std::move(callback); }
    void setMarkingMode(bool on) { m_markingMode = on; }
    bool markingMode() const { return m_markingMode; }
    int year() const { return m_year; }

    // The month widget of `month` (1..12), for tests.
    TCalendarSelector* month(int month) const;

    // The read-only flag of the last ShowMonths.
    bool readOnly() const { return m_readOnly; }
    // The background of the owner area around the months.
    void setAreaColor(const QColor& color);

    // The months stand in 3 rows of 4, from this corner of the owner area and these steps apart.
    static constexpr int AreaLeft = 8;
    static constexpr int AreaTop = 26;
    static constexpr int ColumnStep = 295;
    static constexpr int RowStep = 173;
    // The owner area of the leave editor: four column steps by three row steps.
    static constexpr int AreaWidth = AreaLeft + ColumnStep * 4;
    static constexpr int AreaHeight = AreaTop + RowStep * 3;

    // Where month (1..12) stands in the owner area: column c and row r of 3 rows of 4.
    static QPoint monthPosition(int month);
    // Room for all twelve months; also the selector's minimum size.
    QSize sizeHint() const override;

private:
    std::array<TCalendarSelector*, 12> m_months{};
    TickCallback m_callback;
    bool m_markingMode = false;
    int m_year = 0;
    bool m_readOnly = false;
};

} // namespace zf

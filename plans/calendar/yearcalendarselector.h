#pragma once

#include "plans/calendar/daystate.h"

#include <QColor>
#include <QWidget>

#include <array>
#include <functional>

namespace zf {

// One month of the year selector: a 7 x 7 grid (weekday names, six week rows starting on
// Monday) painted by the widget itself; a selectable day carries a tick box.
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

    // Called on every tick change outside the marking mode; set before ShowMonths.
    void setTickCallback(TickCallback callback) { m_callback = std::move(callback); }
    void setMarkingMode(bool on) { m_markingMode = on; }
    bool markingMode() const { return m_markingMode; }
    int year() const { return m_year; }

    // The month widget of `month` (1..12), for tests.
    TCalendarSelector* month(int month) const;

    // Colours as Windows colour values 0x00BBGGRR.
    static QColor FromWindowsColor(unsigned int bgr);

private:
    std::array<TCalendarSelector*, 12> m_months{};
    TickCallback m_callback;
    bool m_markingMode = false;
    int m_year = 0;
};

} // namespace zf

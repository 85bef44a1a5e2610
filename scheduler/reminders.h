#pragma once

namespace zf {

// The dates whose reminders are shown at start-up: a date number d is due when
// lower < d <= upper. The window reaches "dataWsteczna" days ahead of today and, when
// "dataWstecznaMin" is not 0, that many days back (0: without end).
struct ReminderWindow
{
    int lower = 0;
    int upper = 0;
    bool isDue(int dateNumber) const { return dateNumber > lower && dateNumber <= upper; }
};

ReminderWindow reminderWindow(int today, int dataWsteczna, int dataWstecznaMin);

} // namespace zf

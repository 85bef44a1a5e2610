#include "scheduler/reminders.h"

#include "util/dates.h"

namespace zf {

ReminderWindow reminderWindow(int today, int dataWsteczna, int dataWstecznaMin)
{
    ReminderWindow w;
    w.upper = AddDays(today, dataWsteczna);
    w.lower = dataWstecznaMin != 0 ? AddDays(today, -(dataWstecznaMin + 1)) : 0;
    return w;
}

} // namespace zf

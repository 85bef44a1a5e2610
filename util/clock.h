#pragma once

#include <QDateTime>

namespace zf {

// "Now" is asked of a clock so that tests can fix today's date.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

class SystemClock final : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// The clock in use by the whole program; tests replace it.
Clock& clock();
void setClock(Clock* clock); // nullptr restores the system clock

} // namespace zf

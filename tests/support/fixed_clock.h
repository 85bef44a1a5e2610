#pragma once

#include "util/clock.h"

namespace zf::test {

// Installs a clock that always answers the given moment, for the lifetime of the object.
class FixedClock final : public Clock
{
public:
    explicit FixedClock(QDateTime now) : m_now(std::move(now)) { setClock(this); }
    ~FixedClock() override { setClock(nullptr); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

    QDateTime now() const override { return m_now; }
    void set(const QDateTime& now) { m_now = now; }

private:
    QDateTime m_now;
};

} // namespace zf::test

#pragma once
// The Clock seam: where "now" comes from. The program passes the system
// clock; tests pass a fixed one.

#include "core/date_time.h"

namespace core {

class Clock {
public:
    virtual ~Clock() = default;
    // The current local date and time, to the second.
    virtual DateTime now() const = 0;
};

class SystemClock : public Clock {
public:
    DateTime now() const override;
};

class FixedClock : public Clock {
public:
    explicit FixedClock(DateTime at) : m_at(at) {}
    DateTime now() const override { return m_at; }
    void set(DateTime at) { m_at = at; }
    void advanceSeconds(long long seconds) { m_at = m_at.addSeconds(seconds); }

private:
    DateTime m_at;
};

}  // namespace core

#pragma once

#include <QDate>
#include <QDateTime>

#include <functional>

namespace hostfw {

// "Today" and "now" as the module reads them, replaceable for tests. Values are naive
// calendar values held in UTC, as every date of the system is.
QDateTime Now();
QDate Today();

// Installs a clock; an empty function restores the machine's clock. Returns the
// previous one.
using ClockSource = std::function<QDateTime()>;
ClockSource setClock(ClockSource clock);

// Test seam: the clock stands still at the given moment for as long as it lives.
class FixedClock
{
public:
    explicit FixedClock(const QDateTime& moment);
    explicit FixedClock(const QDate& day);
    ~FixedClock();
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

private:
    ClockSource m_previous;
};

}  // namespace hostfw

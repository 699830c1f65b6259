#include "hostfw/clock.h"

namespace hostfw {

namespace {

ClockSource& currentClock()
{
    static ClockSource clock;
    return clock;
}

QDateTime machineNow()
{
    const QDateTime local = QDateTime::currentDateTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

}  // namespace

QDateTime Now()
{
    const ClockSource& clock = currentClock();
    return clock ? clock() : machineNow();
}

QDate Today()
{
    return Now().date();
}

ClockSource setClock(ClockSource clock)
{
    ClockSource previous = std::move(currentClock());
    currentClock() = std::move(clock);
    return previous;
}

FixedClock::FixedClock(const QDateTime& moment)
{
    const QDateTime naive(moment.date(), moment.time(), Qt::UTC);
    m_previous = setClock([naive] { return naive; });
}

FixedClock::FixedClock(const QDate& day) : FixedClock(QDateTime(day, QTime(0, 0), Qt::UTC)) {}

FixedClock::~FixedClock()
{
    setClock(std::move(m_previous));
}

}  // namespace hostfw

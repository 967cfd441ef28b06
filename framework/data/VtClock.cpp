#include "VtClock.h"

namespace {
std::function<QDateTime()> &Clock()
{
    static std::function<QDateTime()> clock;
    return clock;
}
} // namespace

QDateTime VtClock::Now()
{
    return Clock() ? Clock()() : QDateTime::currentDateTime();
}

QDate VtClock::Today()
{
    return Now().date();
}

void VtClock::SetClock(std::function<QDateTime()> clock)
{
    Clock() = std::move(clock);
}

void VtClock::ResetClock()
{
    Clock() = nullptr;
}

TVtFixedClock::TVtFixedClock(const QDateTime &at) : m_at(at)
{
    VtClock::SetClock([this] { return m_at; });
}

TVtFixedClock::~TVtFixedClock()
{
    VtClock::ResetClock();
}

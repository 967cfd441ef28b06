#pragma once
#include <QDate>
#include <QDateTime>

#include <functional>

// The program's clock: the local date and time every "today" and "now" of
// the program is read from. A test sets a clock of its own and puts the
// system clock back with ResetClock (or when its TVtFixedClock goes).
namespace VtClock {
QDateTime Now();
QDate Today();
void SetClock(std::function<QDateTime()> clock);
void ResetClock();
} // namespace VtClock

// A clock fixed at a moment while it lives; Advance moves it on.
class TVtFixedClock
{
public:
    explicit TVtFixedClock(const QDateTime &at);
    ~TVtFixedClock();
    void Set(const QDateTime &at) { m_at = at; }
    void Advance(int seconds) { m_at = m_at.addSecs(seconds); }

private:
    QDateTime m_at;
};

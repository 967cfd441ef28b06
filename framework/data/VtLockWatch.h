#pragma once
#include <atomic>

class QSqlQuery;

// Bounds how long one statement waits for a row that another user holds:
// if it has not returned within the lock timeout, the engine is asked to
// cancel it, and Fired() tells the caller that the statement failed because
// the row was in use. Nothing is watched when the timeout is zero.
// One watcher thread serves every statement of the program: starting and
// stopping a watch only records and drops its deadline, so a batch of
// thousands of writes pays next to nothing for it.
class TVtLockWatch
{
public:
    explicit TVtLockWatch(const QSqlQuery &query, bool watch = true);
    ~TVtLockWatch();
    TVtLockWatch(const TVtLockWatch &) = delete;
    TVtLockWatch &operator=(const TVtLockWatch &) = delete;

    // Stops watching; true when the statement had been cancelled.
    bool Stop();
    bool Fired() const { return m_fired; }

    // Milliseconds a statement may wait for a lock (from the connection
    // settings); 0 waits without limit.
    static void SetTimeout(int milliseconds);
    static int Timeout();

private:
    unsigned int m_handle = 0;
    long long m_ticket = 0; // 0: not watched, or stopped
    std::atomic<bool> m_fired{false};
};

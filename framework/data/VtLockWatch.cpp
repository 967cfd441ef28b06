#include "VtLockWatch.h"

#include <ibase.h>

#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace {
std::atomic<int> lockTimeout{5000};

using TClock = std::chrono::steady_clock;

void CancelOn(unsigned int handle, unsigned short option)
{
    ISC_STATUS_ARRAY status = {};
    isc_db_handle db = handle;
    fb_cancel_operation(status, &db, option);
}

// The statements being watched, by ticket, and the thread that cancels the
// ones that outlive their deadline. Deadlines come in the order statements
// start (one timeout for all), so the thread is woken only when it was idle;
// otherwise it finds the new deadlines when it wakes for the earliest one
// (a deadline shortened by a new timeout waits at most for that one).
class TWatcher
{
public:
    struct TEntry
    {
        TClock::time_point Deadline;
        unsigned int Handle;
        std::atomic<bool> *Fired;
    };

    static TWatcher &Instance()
    {
        static TWatcher watcher;
        return watcher;
    }

    long long Start(unsigned int handle, std::atomic<bool> *fired)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_thread.joinable())
            m_thread = std::thread([this] { Run(); });
        const long long ticket = ++m_lastTicket;
        m_entries.emplace(ticket, TEntry{TClock::now() + std::chrono::milliseconds(Timeout()), handle, fired});
        if (m_idle) {
            m_idle = false;
            m_wake.notify_one();
        }
        return ticket;
    }

    // Drops the watch; a cancel already raised for it has been raised in
    // full when this returns (it is raised under the same lock).
    void Stop(long long ticket)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_entries.erase(ticket);
    }

    ~TWatcher()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_quit = true;
        }
        m_wake.notify_one();
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    static int Timeout() { return lockTimeout; }

    void Run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_quit) {
            if (m_entries.empty()) {
                m_idle = true;
                m_wake.wait(lock, [this] { return m_quit || !m_idle; });
                continue;
            }
            auto first = m_entries.begin();
            for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
                if (it->second.Deadline < first->second.Deadline)
                    first = it;
            if (TClock::now() < first->second.Deadline) {
                m_wake.wait_until(lock, first->second.Deadline);
                continue;
            }
            first->second.Fired->store(true);
            CancelOn(first->second.Handle, fb_cancel_raise);
            m_entries.erase(first);
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::map<long long, TEntry> m_entries;
    long long m_lastTicket = 0;
    bool m_idle = false, m_quit = false;
    std::thread m_thread;
};
}

void TVtLockWatch::SetTimeout(int milliseconds)
{
    lockTimeout = milliseconds < 0 ? 0 : milliseconds;
}

int TVtLockWatch::Timeout()
{
    return lockTimeout;
}

TVtLockWatch::TVtLockWatch(const QSqlQuery &query, bool watch)
{
    if (!watch || Timeout() <= 0 || !query.driver())
        return;
    const QVariant h = query.driver()->handle();
    if (!h.isValid() || h.metaType().sizeOf() != int(sizeof(isc_db_handle)))
        return;
    m_handle = *static_cast<const isc_db_handle *>(h.constData());
    if (m_handle)
        m_ticket = TWatcher::Instance().Start(m_handle, &m_fired);
}

TVtLockWatch::~TVtLockWatch()
{
    Stop();
}

bool TVtLockWatch::Stop()
{
    if (m_ticket == 0)
        return m_fired;
    TWatcher::Instance().Stop(m_ticket);
    m_ticket = 0;
    if (m_fired) {
        // A cancel that came as the statement ended would hit the next
        // one: clear it.
        CancelOn(m_handle, fb_cancel_disable);
        CancelOn(m_handle, fb_cancel_enable);
    }
    return m_fired;
}

#include "VtLockWatch.h"

#include <ibase.h>

#include <QSqlDriver>
#include <QSqlQuery>
#include <QVariant>

namespace {
std::atomic<int> lockTimeout{5000};

void CancelOn(unsigned int handle, unsigned short option)
{
    ISC_STATUS_ARRAY status = {};
    isc_db_handle db = handle;
    fb_cancel_operation(status, &db, option);
}
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
        m_thread = std::thread([this] { Watch(); });
}

TVtLockWatch::~TVtLockWatch()
{
    Stop();
}

void TVtLockWatch::Watch()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    if (m_wake.wait_for(lock, std::chrono::milliseconds(Timeout()), [this] { return m_done; }))
        return;
    m_fired = true;
    CancelOn(m_handle, fb_cancel_raise);
}

bool TVtLockWatch::Stop()
{
    if (m_thread.joinable()) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        m_thread.join();
        if (m_fired) {
            // A cancel that came as the statement ended would hit the next
            // one: clear it.
            CancelOn(m_handle, fb_cancel_disable);
            CancelOn(m_handle, fb_cancel_enable);
        }
    }
    return m_fired;
}

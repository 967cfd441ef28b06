#include "VtDataAction.h"
#include "VtException.h"
#include "VtGuard.h"
#include "VtMessageDlg.h"

TVtDataAction::TVtDataAction(const QString &caption, QObject *parent) : QAction(caption, parent)
{
    connect(this, &QAction::triggered, this, [this] {
        if (!m_running)
            Execute();
    });
}

bool TVtDataAction::Execute()
{
    if (!isEnabled() || m_running)
        return false;
    m_running = true;
    const bool ok = VtGuard([this] {
        if (OnExecute)
            OnExecute(this);
        else
            ExecuteDefault();
    });
    m_running = false;
    return ok;
}

void TVtDataAction::ExecuteDefault()
{
    if (DefaultExecute)
        DefaultExecute(this);
}

void TVtDataAction::SetLocked(bool on)
{
    m_locked = on;
    UpdateEnabled();
}

void TVtDataAction::SetAvailable(bool on)
{
    m_available = on;
    UpdateEnabled();
}

void TVtDataAction::UpdateEnabled()
{
    setEnabled(m_available && !m_locked);
}

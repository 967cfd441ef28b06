#include "VtAttivazione.h"
#include "VtApgPage.h"
#include "VtGuard.h"
#include "VtException.h"
#include "VtMessageDlg.h"
#include "VtOutlookBar.h"
#include "dmVtAttivazioni.h"

#include <QAction>

TVtAttivazione::TVtAttivazione(TdmVtAttivazioni *owner, const QString &name)
    : QObject(owner), m_owner(owner)
{
    setObjectName(name);
}

TVtAttivazione::~TVtAttivazione()
{
    if (m_page)
        m_page->Detach(this);
    delete m_action.data();
}

void TVtAttivazione::SetParentPage(TVtApgPage *page)
{
    if (m_page == page)
        return;
    if (m_page)
        m_page->Detach(this);
    m_page = page;
    if (m_page)
        m_page->Attach(this);
}

void TVtAttivazione::SetCaption(const QString &caption)
{
    m_caption = caption;
    UpdateAction();
}

void TVtAttivazione::SetHint(const QString &hint)
{
    m_hint = hint;
    UpdateAction();
}

void TVtAttivazione::SetVisible(bool on)
{
    m_visible = on;
    UpdateAction();
}

void TVtAttivazione::SetEnabled(bool on)
{
    m_enabled = on;
    UpdateAction();
}

void TVtAttivazione::UpdateAction()
{
    if (!m_action)
        return;
    const bool available = Available();
    m_action->setText(m_caption);
    m_action->setToolTip(!available ? UnavailableHint() : (m_hint.isEmpty() ? m_caption : m_hint));
    m_action->setVisible(m_visible);
    m_action->setEnabled(m_enabled && available);
}

QString TVtAttivazione::UnavailableHint()
{
    return QStringLiteral("Funzione non ancora disponibile in questa versione del programma.");
}

QAction *TVtAttivazione::Action()
{
    if (!m_action) {
        m_action = new QAction(this);
        m_action->setObjectName(objectName());
        connect(m_action, &QAction::triggered, this, [this] { ExecuteFromUi(); });
        UpdateAction();
    }
    return m_action;
}

bool TVtAttivazione::Execute()
{
    try {
        bool allow = true;
        if (BeforeExecute)
            BeforeExecute(this, allow);
        if (!allow)
            return false;
        if (!DoExecute())
            return false;
        if (AfterExecute)
            AfterExecute(this);
        return true;
    } catch (const EVtAbort &) {
        return false;
    }
}

bool TVtAttivazione::ExecuteFromUi()
{
    bool done = false;
    VtGuard([&] { done = Execute(); });
    return done;
}

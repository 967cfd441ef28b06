#include "VtApgPage.h"
#include "VtAttivazione.h"
#include "VtOutlookBar.h"
#include "dmVtAttivazioni.h"

#include <algorithm>

TVtApgPage::TVtApgPage(TdmVtAttivazioni *owner, const QString &name, const QString &caption, int order, bool sorted,
                       bool inMenu, bool visible)
    : QObject(owner), m_owner(owner), m_caption(caption), m_order(order), m_sorted(sorted), m_inMenu(inMenu),
      m_visible(visible)
{
    setObjectName(name);
    if (owner)
        owner->RegisterPage(this);
}

TVtApgPage::~TVtApgPage()
{
    for (const QPointer<TVtAttivazione> &c : m_commands)
        if (c)
            c->m_page = nullptr;
    if (m_owner)
        m_owner->UnregisterPage(this);
}

void TVtApgPage::Attach(TVtAttivazione *command)
{
    Detach(command);
    m_commands << command;
}

void TVtApgPage::Detach(TVtAttivazione *command)
{
    m_commands.removeIf([command](const QPointer<TVtAttivazione> &c) { return !c || c == command; });
}

QList<TVtAttivazione *> TVtApgPage::Commands() const
{
    QList<TVtAttivazione *> list;
    for (const QPointer<TVtAttivazione> &c : m_commands)
        if (c)
            list << c.data();
    if (m_sorted)
        std::stable_sort(list.begin(), list.end(),
                         [](const TVtAttivazione *a, const TVtAttivazione *b) { return a->Order() < b->Order(); });
    return list;
}

#include "dmVtAttivazioni.h"
#include "VtApgPage.h"
#include "VtAttReport.h"
#include "VtRptTreeView.h"
#include "VtAttivazione.h"
#include "VtOutlookBar.h"

#include <QAction>
#include <QMenu>
#include <algorithm>

TdmVtAttivazioni::TdmVtAttivazioni(QObject *parent)
    : QObject(parent)
{
}

TdmVtAttivazioni::~TdmVtAttivazioni()
{
    ClearBuilt();
}

void TdmVtAttivazioni::SetContainer(TVtOutlookBar *container)
{
    m_container = container;
}

TVtOutlookBar *TdmVtAttivazioni::Container() const
{
    return m_container;
}

void TdmVtAttivazioni::RegisterPage(TVtApgPage *page)
{
    m_pages << page;
}

void TdmVtAttivazioni::UnregisterPage(TVtApgPage *page)
{
    m_pages.removeAll(page);
}

QList<TVtApgPage *> TdmVtAttivazioni::Pages() const
{
    QList<TVtApgPage *> list;
    for (const auto &p : m_pages)
        if (p)
            list << p.data();
    std::stable_sort(list.begin(), list.end(),
                     [](const TVtApgPage *a, const TVtApgPage *b) { return a->Order() < b->Order(); });
    return list;
}

QList<TVtAttivazione *> TdmVtAttivazioni::Commands() const
{
    return findChildren<TVtAttivazione *>(QString(), Qt::FindDirectChildrenOnly);
}

TVtApgPage *TdmVtAttivazioni::FindPage(const QString &name) const
{
    for (TVtApgPage *p : Pages())
        if (p->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return p;
    return nullptr;
}

TVtAttivazione *TdmVtAttivazioni::FindCommand(const QString &name) const
{
    for (TVtAttivazione *c : Commands())
        if (c->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

QWidget *TdmVtAttivazioni::BarPage(const TVtApgPage *page) const
{
    for (const TBuilt &b : m_built)
        if (b.Page == page)
            return b.Content;
    return nullptr;
}

QMenu *TdmVtAttivazioni::Menu(const TVtApgPage *page) const
{
    for (const TBuilt &b : m_built)
        if (b.Page == page)
            return b.Menu;
    return nullptr;
}

void TdmVtAttivazioni::ClearBuilt()
{
    for (const TBuilt &b : m_built) {
        if (b.Content && m_container)
            m_container->RemoveBarPage(b.Content);
        delete b.Menu.data();
    }
    m_built.clear();
}

void TdmVtAttivazioni::Execute()
{
    ClearBuilt();
    if (!m_container)
        return;
    for (TVtApgPage *page : Pages()) {
        if (!page->Visible())
            continue;
        TBuilt built;
        built.Page = page;
        built.Content = m_container->AddBarPage(page->Caption(), page->Order());
        built.Content->setObjectName(page->objectName());
        if (page->InMenu())
            built.Menu = m_container->AddMenu(page->Caption());
        for (TVtAttivazione *cmd : page->Commands()) {
            QAction *action = cmd->Action();
            if (auto *report = qobject_cast<TVtAttReport *>(cmd)) {
                // The report command shows as its tree.
                m_container->AddWidget(built.Content, report->GetRptTreeView());
                if (built.Menu && !cmd->Caption().isEmpty())
                    built.Menu->addAction(action);
                continue;
            }
            if (action->icon().isNull() && cmd->ImageIndex() >= 0)
                action->setIcon(m_container->Image(cmd->ImageIndex()));
            m_container->AddButton(built.Content, action, cmd->ImageIndex());
            if (built.Menu)
                built.Menu->addAction(action);
        }
        m_built << built;
    }
}

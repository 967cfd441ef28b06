#include "EbsFRptSelDateList.h"
#include "VtGuard.h"
#include "VtSQLQuery.h"

#include <QGroupBox>
#include <QListWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
constexpr int GroupRole = Qt::UserRole + 1;
}

TfmEbsRptSelDateList::TfmEbsRptSelDateList(QWidget *parent) : TfmEbsRptSelDate(parent)
{
    setObjectName(u"fmEbsRptSelDateList"_s);
    setWindowTitle(u"Configurazione stampa"_s);
    gbIntervallo = new QGroupBox(u" Intervallo temporale "_s, paClient);
    gbIntervallo->setObjectName(u"gbIntervallo"_s);
    MoveDatesInto(gbIntervallo);
    ClientLayout()->insertWidget(0, gbIntervallo);

    gbComponenti = new QGroupBox(u" &Componenti di causali presenti nella stampa "_s, paClient);
    gbComponenti->setObjectName(u"gbComponenti"_s);
    lbComponenti = new QListWidget(gbComponenti);
    lbComponenti->setObjectName(u"lbComponenti"_s);
    auto *box = new QVBoxLayout(gbComponenti);
    box->addWidget(lbComponenti);
    ClientLayout()->insertWidget(1, gbComponenti, 1);
    connect(lbComponenti, &QListWidget::itemChanged, this,
            [this](QListWidgetItem *item) { VtGuard([this, item] { ItemChanged(item); }); });
    resize(520, 460);
}

int TfmEbsRptSelDateList::GroupCount(int group) const
{
    return group >= 1 && group <= 4 ? m_counts[group] : 0;
}

QListWidgetItem *TfmEbsRptSelDateList::ItemOf(const QVariant &id) const
{
    for (int i = 0; i < lbComponenti->count(); ++i)
        if (lbComponenti->item(i)->data(Qt::UserRole).toString() == id.toString())
            return lbComponenti->item(i);
    return nullptr;
}

void TfmEbsRptSelDateList::LoadComponents()
{
    m_loading = true;
    lbComponenti->clear();
    if (!m_compSQL.isEmpty()) {
        TSQLQuery q;
        q.SQL = m_compSQL;
        for (q.Open(); !q.Eof(); q.Next()) {
            auto *item = new QListWidgetItem(q.Fields(2).toString(), lbComponenti);
            item->setData(Qt::UserRole, q.Fields(0));
            item->setData(GroupRole, q.Fields(1).toInt());
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
        q.Close();
    }
    // The ticks come back on the components still listed, in their order.
    QVariantList kept;
    for (const QVariant &id : std::as_const(m_ticked))
        if (QListWidgetItem *item = ItemOf(id)) {
            item->setCheckState(Qt::Checked);
            kept << id;
        }
    m_ticked = kept;
    m_loading = false;
    Recount();
}

void TfmEbsRptSelDateList::ItemChanged(QListWidgetItem *item)
{
    if (m_loading)
        return;
    const QVariant id = item->data(Qt::UserRole);
    const int at = [&] {
        for (int i = 0; i < m_ticked.size(); ++i)
            if (m_ticked[i].toString() == id.toString())
                return i;
        return -1;
    }();
    const bool on = item->checkState() == Qt::Checked;
    if (on && at < 0)
        m_ticked << id;
    else if (!on && at >= 0)
        m_ticked.removeAt(at);
    else
        return;
    const int group = item->data(GroupRole).toInt();
    if (group >= 1 && group <= 4)
        m_counts[group] += on ? 1 : -1;
}

void TfmEbsRptSelDateList::Recount()
{
    for (int &c : m_counts)
        c = 0;
    for (const QVariant &id : std::as_const(m_ticked)) {
        const int group = ItemOf(id)->data(GroupRole).toInt();
        if (group >= 1 && group <= 4)
            ++m_counts[group];
    }
}

void TfmEbsRptSelDateList::showEvent(QShowEvent *event)
{
    LoadComponents();
    TfmEbsRptSelDate::showEvent(event);
}

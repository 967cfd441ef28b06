#include "EbdURptDataSets.h"
#include "VtQueryCollection.h"
#include "VtfrDBDataSet.h"
#include "dmVtRptFR.h"

TRptDataSetList::~TRptDataSetList()
{
    for (TfrDBDataSet *ds : m_published)
        TdmVtRptFR::WithdrawDataSet(ds);
}

TVtQueryCollection *TRptDataSetList::NewQuery(const QString &name, bool client)
{
    auto *q = new TVtQueryCollection(m_owner);
    q->setObjectName(name);
    q->ReadOnly = true;
    m_dataSets << q;
    if (client)
        m_clientDataSets << q;
    return q;
}

TfrDBDataSet *TRptDataSetList::Publish(const QString &name, TVtQueryCollection *q, bool client, const QString &form)
{
    const auto kind = client ? TfrDBDataSet::dkClientDataSet : TfrDBDataSet::dkStatement;
    TfrDBDataSet *ds = nullptr;
    if (form.isEmpty()) {
        ds = new TfrDBDataSet(name, q, kind, m_owner);
    } else {
        auto *vt = new TVtfrDBDataSet(name, q, kind, m_owner);
        vt->SelectForm = form;
        ds = vt;
    }
    TdmVtRptFR::PublishDataSet(ds);
    m_published << ds;
    return ds;
}

void TRptDataSetList::CloseAll()
{
    for (TVtQueryCollection *q : m_dataSets)
        q->Close();
}

void SetReportParam(TVtQueryCollection *q, const QString &name, QMetaType::Type type, const QVariant &value)
{
    TVtParam *p = q->Params().FindParam(name);
    if (!p)
        p = q->Params().CreateParam(type, name);
    p->SetValue(value);
}

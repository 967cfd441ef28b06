#include "VtBookmark.h"
#include "VtDataSource.h"
#include "VtQueryCollection.h"

TVtBookmark::TVtBookmark(TVtQueryCollection *dataSet) : m_dataSet(dataSet) {}

TVtBookmark::TVtBookmark(TVtDataSource *source) : m_source(source) {}

TVtQueryCollection *TVtBookmark::DataSet() const
{
    return m_source ? m_source->DataSet() : m_dataSet;
}

void TVtBookmark::Push()
{
    Mark m;
    if (TVtQueryCollection *ds = DataSet(); ds && ds->Active() && !ds->IsEmpty()) {
        m.Key = ds->KeyValue();
        m.RecNo = ds->RecNo();
    }
    m_stack.push_back(m);
}

bool TVtBookmark::Pop()
{
    if (m_stack.isEmpty())
        return false;
    const Mark m = m_stack.takeLast();
    TVtQueryCollection *ds = DataSet();
    if (!ds || !ds->Active() || ds->IsEmpty() || m.RecNo < 0)
        return false;
    if (!m.Key.isNull() && ds->KeyValue() == m.Key)
        return true;
    const QString key = ds->KeyFields.isEmpty() ? ds->Fields(0)->FieldName
                                                : ds->KeyFields.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(','), 0, 0);
    if (!m.Key.isNull() && ds->Locate(key.trimmed(), m.Key))
        return true;
    ds->SetRecNo(qMin(m.RecNo, ds->RecordCount() - 1));
    return false;
}

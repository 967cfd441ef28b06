#include "mbaUReport.h"
#include "VtSQLQuery.h"

#include <QDate>

QString TReport::ValueText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate);
    case QMetaType::QDateTime:
        return value.toDate().toString(Qt::ISODate);
    default:
        return value.toString();
    }
}

const TRptParams &TReport::Params()
{
    if (!m_params)
        LoadParams();
    return *m_params;
}

// The value is the first of the four typed columns that is not null.
void TReport::LoadParams()
{
    if (m_params)
        m_params->Clear();
    else
        m_params = std::make_unique<TRptParams>();
    if (iStmcID == 0)
        return;
    TSQLQuery q;
    q.SQL = QStringLiteral("SELECT stmp.istmpid, stmp.sstmpname, stmp.sstmpvalue, stmp.istmpvalue, stmp.fstmpvalue, "
                           "stmp.dstmpvalue FROM tstmp_stampepar stmp WHERE stmp.istmcid = :ISTMCID ORDER BY stmp.istmpid");
    q.Params().CreateParam(QMetaType::Int, QStringLiteral("ISTMCID"))->SetAsInteger(iStmcID);
    for (q.Open(); !q.Eof(); q.Next()) {
        QVariant value;
        for (int column = 2; column <= 5 && value.isNull(); ++column)
            if (!q.Fields(column).isNull())
                value = q.Fields(column);
        m_params->Add(q.Fields(1).toString(), value.isNull() ? QVariant() : QVariant(ValueText(value)));
    }
    q.Close();
}

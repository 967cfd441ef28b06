#include "TestRow.h"
#include "VtSQLConnection.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

TTestRow::TTestRow(const QString &table, const QString &keyColumn) : m_table(table), m_key(keyColumn) {}

int TTestRow::Column(const QString &column) const
{
    for (int i = 0; i < m_values.size(); ++i)
        if (m_values[i].first.compare(column, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TTestRow &TTestRow::Set(const QString &column, const QVariant &value)
{
    const int i = Column(column);
    if (i >= 0)
        m_values[i].second = value;
    else
        m_values.append({column, value});
    return *this;
}

QVariant TTestRow::Value(const QString &column) const
{
    const int i = Column(column);
    return i >= 0 ? m_values[i].second : QVariant();
}

int TTestRow::Insert() const
{
    QSqlDatabase db = qqoVtGlobConn->Database();
    TTestRow row = *this;
    if (Column(m_key) < 0) {
        QSqlQuery next(db);
        if (!next.exec(QStringLiteral("SELECT NEXT VALUE FOR GEN_VTID FROM RDB$DATABASE")) || !next.next())
            qFatal("%s", qPrintable(next.lastError().text()));
        row.Set(m_key, next.value(0).toInt());
    }
    QStringList columns, params;
    for (const auto &value : row.m_values) {
        columns << value.first;
        params << QLatin1Char(':') + value.first;
    }
    QSqlQuery q(db);
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(m_table, columns.join(u", "), params.join(u", "));
    if (!q.prepare(sql))
        qFatal("%s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
    for (const auto &value : row.m_values)
        q.bindValue(QLatin1Char(':') + value.first, value.second);
    if (!q.exec())
        qFatal("%s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
    return row.Value(m_key).toInt();
}

TTestRow TTestRow::Account(int branchId, const QString &number)
{
    return TTestRow(QStringLiteral("TSprIst"), QStringLiteral("iSprIstId"))
        .Set(QStringLiteral("iDwgId"), 1)
        .Set(QStringLiteral("iSprId"), branchId)
        .Set(QStringLiteral("sSprIstNumCc"), number)
        .Set(QStringLiteral("sSprIstIntest"), QStringLiteral("Prova"))
        .Set(QStringLiteral("sSprIstCin"), QStringLiteral("X"))
        .Set(QStringLiteral("sSprIstStato"), QStringLiteral("IT"))
        .Set(QStringLiteral("sSprIstCinInt"), QStringLiteral("60"))
        .Set(QStringLiteral("iSprIstPgm"), 2)
        .Set(QStringLiteral("dStart"), QDate(2018, 1, 1));
}

TTestRow TTestRow::CashRow(int accountId, int financialYear)
{
    return TTestRow(QStringLiteral("TCai_CassaIst"), QStringLiteral("iCaiId"))
        .Set(QStringLiteral("iSprIstId"), accountId)
        .Set(QStringLiteral("iCaiEsercizioFin"), financialYear);
}

TTestRow TTestRow::Movement(int accountId, const QDate &date, const TVtMoney &amount)
{
    return TTestRow(QStringLiteral("TMvm_MovimentiCcp"), QStringLiteral("iMvmId"))
        .Set(QStringLiteral("iSprIstId"), accountId)
        .Set(QStringLiteral("dMvmDataMov"), date)
        .Set(QStringLiteral("lMvmTipo"), 0)
        .Set(QStringLiteral("fMvmImporto"), amount);
}

TTestRow TTestRow::Holder(int pupilId, const QString &name, const QString &iban)
{
    return TTestRow(QStringLiteral("TAcb_AluCoordBan"), QStringLiteral("iAcbId"))
        .Set(QStringLiteral("iAnaId"), pupilId)
        .Set(QStringLiteral("sAcbIntestatario"), name)
        .Set(QStringLiteral("sAcbIBan"), iban.isEmpty() ? QVariant() : QVariant(iban));
}

TTestRow TTestRow::Reason(const QString &shortDesc, const QDate &start, const QDate &end)
{
    return TTestRow(QStringLiteral("TCau_Causali"), QStringLiteral("iCauId"))
        .Set(QStringLiteral("sCauSDesc"), shortDesc)
        .Set(QStringLiteral("sCauLDesc"), shortDesc)
        .Set(QStringLiteral("iDwgId"), 1)
        .Set(QStringLiteral("dStart"), start)
        .Set(QStringLiteral("dEnd"), end);
}

TTestRow TTestRow::Component(const QString &shortDesc, const TVtMoney &amount, const QDate &start, const QDate &end)
{
    return TTestRow(QStringLiteral("TCca_CompCausali"), QStringLiteral("iCcaId"))
        .Set(QStringLiteral("sCcaSDesc"), shortDesc)
        .Set(QStringLiteral("sCcaLDesc"), shortDesc)
        .Set(QStringLiteral("iDwgId"), 1)
        .Set(QStringLiteral("fCcaImportoIst"), amount)
        .Set(QStringLiteral("dStart"), start)
        .Set(QStringLiteral("dEnd"), end);
}

TTestRow TTestRow::ReasonComponent(int reasonId, int componentId)
{
    return TTestRow(QStringLiteral("TCauCca"), QStringLiteral("iCauCcaId"))
        .Set(QStringLiteral("iCauId"), reasonId)
        .Set(QStringLiteral("iCcaId"), componentId);
}

TTestRow TTestRow::HolderReason(int holderId, int reasonId)
{
    return TTestRow(QStringLiteral("TAcbCau"), QStringLiteral("iAcbCauId"))
        .Set(QStringLiteral("iAcbId"), holderId)
        .Set(QStringLiteral("iCauId"), reasonId);
}

TTestRow TTestRow::Instalment(int holderReasonId, int componentId, const TVtMoney &amount, const QDate &due)
{
    return TTestRow(QStringLiteral("TCac_CcaAcbCau"), QStringLiteral("iCacId"))
        .Set(QStringLiteral("iAcbCauId"), holderReasonId)
        .Set(QStringLiteral("iCcaId"), componentId)
        .Set(QStringLiteral("fCacImporto"), amount)
        .Set(QStringLiteral("dCacDataScadenza"), due);
}

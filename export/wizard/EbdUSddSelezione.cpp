#include "EbdUSddSelezione.h"

#include "VtSQLConnection.h"
#include "VtSqlText.h"

#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QVariantMap>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int MaxInList = 1000;

TVtSQLConnection *Connection(TVtSQLConnection *conn)
{
    return conn ? conn : qqoVtGlobConn;
}

// Runs a select with values bound by name and calls row for each row.
void ForEachRow(TVtSQLConnection *conn, const QString &sql, const QVariantMap &values,
                const std::function<void(const QSqlQuery &)> &row)
{
    QSqlQuery q(Connection(conn)->Database());
    q.setForwardOnly(true);
    VtExecSql(q, sql, [&values](const QString &name, QVariant &value) {
        for (auto it = values.begin(); it != values.end(); ++it)
            if (it.key().compare(name, Qt::CaseInsensitive) == 0) {
                value = it.value();
                return true;
            }
        return false;
    });
    while (q.next())
        row(q);
}

QString Text(const QSqlQuery &q, int i)
{
    return q.value(i).toString().trimmed();
}

QList<QList<int>> Chunks(const QList<int> &ids)
{
    QList<QList<int>> out;
    for (int i = 0; i < ids.size(); i += MaxInList)
        out << ids.mid(i, MaxInList);
    return out;
}

// The conditions that read the rows of these ids: lists of at most 1,000;
// for many ids, one pass over the whole table (the caller keeps what it
// asked for), which costs less than many long lists.
QStringList Conditions(const QString &column, const QList<int> &ids)
{
    if (ids.size() > 3 * MaxInList)
        return {column + u" IS NOT NULL"_s};
    QStringList out;
    for (const QList<int> &chunk : Chunks(ids))
        out << SddIdCondition(column, chunk);
    return out;
}

// Tables and conditions shared by the pupils and the instalments. The
// "+ 0" keep the engine off the indexes that match most rows (the year's
// start, the due dates): it drives from the classes and the holders' keys.
QString FromWhere(const TSddFiltro &f)
{
    QString sql =
        u" FROM TAcb_AluCoordBan tacb"
        " INNER JOIN TAna_Anagrafiche tana ON (tana.iAnaId = tacb.iAnaId)"
        " INNER JOIN TSit_Situazioni tsit ON (tsit.iAnaId = tana.iAnaId)"
        " INNER JOIN VAns_AnniScolast ans ON (ans.dAnsVeltoInizio = tsit.dStart AND ans.iAnsId = :iAnsId)"
        " INNER JOIN TAcbCau tacc ON (tacc.iAcbId = tacb.iAcbId)"
        " INNER JOIN TCau_Causali tcau ON (tcau.iCauId = tacc.iCauId AND tcau.dStart + 0 = ans.dAnsVeltoInizio)"
        " INNER JOIN TCauCca tcc ON (tcc.iCauId = tacc.iCauId)"
        " INNER JOIN TCca_CompCausali tcca ON (tcca.iCcaId = tcc.iCcaId AND tcca.dStart + 0 = ans.dAnsVeltoInizio)"
        " INNER JOIN TCac_CcaAcbCau cac ON (cac.iAcbCauId = tacc.iAcbCauId AND cac.iCcaId = tcca.iCcaId)"
        " INNER JOIN TClsPst pst ON (pst.iClsPstId = tsit.iClsPstId)"
        " INNER JOIN VCls_Classi cls ON (cls.iClsId = pst.iClsId AND cls.dStart_Cls + 0 = ans.dAnsVeltoInizio)"
        " INNER JOIN TAna_Anagrafiche tanagen ON (tanagen.iAnaId = tacb.iAnaId_Gen)"
        " WHERE cac.dCacDataPagamento IS NULL AND COALESCE(cac.fCacImporto, 0) > 0"
        " AND cac.dCacDataScadenza IS NOT NULL AND COALESCE(tcau.lCauTipo, 0) <> 1"
        " AND COALESCE(cac.iMpgId, tacb.iMpgId) = :iMpgId"_s;
    if (f.Componenti.isEmpty())
        sql += u" AND cac.dCacDataScadenza + 0 BETWEEN :DataScadenzaDal AND :DataScadenzaAl"_s;
    else
        sql += u" AND "_s + SddIdCondition(u"tcca.iCcaId"_s, f.Componenti);
    return sql;
}

QVariantMap Values(const TSddFiltro &f)
{
    QVariantMap v{{u"iAnsId"_s, f.IdAns}, {u"iMpgId"_s, f.IdMpg}};
    if (f.Componenti.isEmpty()) {
        v.insert(u"DataScadenzaDal"_s, f.Dal);
        v.insert(u"DataScadenzaAl"_s, f.Al);
    }
    return v;
}

void ReadSequenceTypes(QVector<TSddRata> &rate, const TSddFiltro &f, TVtSQLConnection *conn)
{
    QList<int> holders;
    QSet<int> seen;
    for (const TSddRata &r : rate)
        if (!seen.contains(r.IdAcb)) {
            seen.insert(r.IdAcb);
            holders << r.IdAcb;
        }
    QHash<int, QString> types;
    for (const QString &condition : Conditions(u"a.iAcbId"_s, holders))
        ForEachRow(conn,
                   u"SELECT a.iAcbId, s.sSeqTp FROM TAcb_AluCoordBan a"
                   " CROSS JOIN PEbd_SddSeqTp(a.iAcbId, :iSprIstId, :iMpgId) s WHERE "_s + condition,
                   {{u"iSprIstId"_s, f.IdSprIst}, {u"iMpgId"_s, f.IdMpg}},
                   [&types](const QSqlQuery &q) { types.insert(q.value(0).toInt(), Text(q, 1)); });
    for (TSddRata &r : rate)
        r.TipoSequenza = types.value(r.IdAcb, u"FRST"_s);
}

// The first dwelling of each paying parent: the residence first, then the
// domicile, then the others by their number.
void ReadDwellings(QVector<TSddRata> &rate, TVtSQLConnection *conn)
{
    QList<int> parents;
    QSet<int> seen;
    for (const TSddRata &r : rate)
        if (!seen.contains(r.IdAnaGen)) {
            seen.insert(r.IdAnaGen);
            parents << r.IdAnaGen;
        }
    struct TDimora
    {
        QString Indirizzo, Cap, Comune;
    };
    QHash<int, TDimora> dwellings;
    for (const QString &condition : Conditions(u"Aa.iAnaId"_s, parents))
        ForEachRow(conn,
                   u"SELECT Aa.iAnaId, Abt.sAbtIndirizzo, Cap.sCapValue, Cap.sComDesc, Cap.sProSigla,"
                   " IIF(EXISTS (SELECT 1 FROM TAbtLoc Al WHERE Al.iAnaAbtId = Aa.iAnaAbtId AND Al.iLocId = 2), 0,"
                   " IIF(EXISTS (SELECT 1 FROM TAbtLoc Al WHERE Al.iAnaAbtId = Aa.iAnaAbtId AND Al.iLocId = 1), 1, 2)) AS iOrdine,"
                   " Aa.iAnaAbtNum, Aa.iAnaAbtId"
                   " FROM TAnaAbt Aa INNER JOIN TAbt_Abitaz Abt ON (Abt.iAbtId = Aa.iAbtId)"
                   " LEFT OUTER JOIN VComCap Cap ON (Cap.iComCapId = Abt.iComCapId) WHERE "_s
                       + condition + u" ORDER BY 1, 6, 7, 8"_s,
                   {}, [&dwellings](const QSqlQuery &q) {
                       const int parent = q.value(0).toInt();
                       if (dwellings.contains(parent))
                           return;
                       QString town = Text(q, 3);
                       const QString province = Text(q, 4);
                       if (!province.isEmpty())
                           town = town.isEmpty() ? province : town + u' ' + province;
                       dwellings.insert(parent, {Text(q, 1), Text(q, 2), town});
                   });
    for (TSddRata &r : rate) {
        const TDimora d = dwellings.value(r.IdAnaGen);
        r.Indirizzo = d.Indirizzo;
        r.Cap = d.Cap;
        r.Comune = d.Comune;
    }
}

} // namespace

QString TSddCreditore::Iban() const
{
    return Stato + Ckd + Cin + Abi + Cab + Cc.rightJustified(12, u'0');
}

QString TSddSede::Testo() const
{
    return u"%1 %2 - %3 %4"_s.arg(Nome, Indirizzo, Cap, Comune);
}

QString SddIdCondition(const QString &column, const QList<int> &ids)
{
    if (ids.isEmpty())
        return column + u" IN (NULL)"_s;
    QStringList parts;
    for (const QList<int> &chunk : Chunks(ids)) {
        QStringList numbers;
        numbers.reserve(chunk.size());
        for (int id : chunk)
            numbers << QString::number(id);
        parts << u"%1 IN (%2)"_s.arg(column, numbers.join(u','));
    }
    return parts.size() == 1 ? parts.first() : u"("_s + parts.join(u" OR "_s) + u")"_s;
}

QString SddPupilsSql(const TSddFiltro &filtro, TSddPupilOrder order)
{
    return u"SELECT tana.iAnaId, tana.sAnaNome, tana.sAnaCognome, cls.sClsDesc"_s + FromWhere(filtro) + u" AND "_s
        + SddIdCondition(u"cls.iClsId"_s, filtro.Classi)
        + u" GROUP BY tana.iAnaId, tana.sAnaNome, tana.sAnaCognome, cls.sClsDesc"_s
        + (order == TSddPupilOrder::ByName ? u" ORDER BY tana.sAnaCognome, tana.sAnaNome, cls.sClsDesc, tana.iAnaId"_s
                                           : u" ORDER BY cls.sClsDesc, tana.sAnaCognome, tana.sAnaNome, tana.iAnaId"_s);
}

QVector<TSddRata> ReadSddSelection(const TSddFiltro &filtro, TVtSQLConnection *conn)
{
    const QString pupils = filtro.Alunni.isEmpty() ? SddIdCondition(u"cls.iClsId"_s, filtro.Classi)
                                                   : SddIdCondition(u"tana.iAnaId"_s, filtro.Alunni);
    const QString sql =
        u"SELECT cac.iCacId, tacb.iAcbId, tana.iAnaId, tacb.iAnaId_Gen, tcca.iCcaId, tcau.iCauId, tsit.iSitId,"
        " cls.iClsId, tacb.sAcbIntestatario, cac.fCacImporto, tacb.sAcbIBan,"
        // "+ 0": sorted, not walked along the key index from its start for each row.
        " (SELECT FIRST 1 ac.sAnaCagCode FROM TAnaCag ac WHERE ac.iAnaId = tana.iAnaId AND ac.iCagId = 1"
        " ORDER BY ac.iAnaCagId + 0), tcca.sCcaLDesc, cac.dCacDataScadenza, tana.sAnaCognome, tana.sAnaNome,"
        " cls.sClsDesc, tana.dAnaNascita, tacb.dAcbDataMandato"_s
        + FromWhere(filtro) + u" AND "_s + pupils;
    QVector<TSddRata> rate;
    QSet<int> seen;   // a pupil with two placements of the year must not double an instalment
    ForEachRow(conn, sql, Values(filtro), [&](const QSqlQuery &q) {
        const std::optional<qint64> cents = SddCents(q.value(9));
        const int cac = q.value(0).toInt();
        if (!cents || seen.contains(cac))
            return;
        seen.insert(cac);
        TSddRata r;
        r.IdCac = cac;
        r.IdAcb = q.value(1).toInt();
        r.IdAna = q.value(2).toInt();
        r.IdAnaGen = q.value(3).toInt();
        r.IdCca = q.value(4).toInt();
        r.IdCau = q.value(5).toInt();
        r.IdSit = q.value(6).toInt();
        r.IdCls = q.value(7).toInt();
        r.Debitore = Text(q, 8);
        r.Importo = *cents;
        r.Iban = CompactIban(q.value(10).toString());
        r.Matricola = Text(q, 11);
        r.Causale = Text(q, 12);
        r.Scadenza = q.value(13).toDate();
        r.Cognome = Text(q, 14);
        r.Nome = Text(q, 15);
        r.Classe = Text(q, 16);
        r.Nascita = q.value(17).toDate();
        r.DataMandato = q.value(18).toDate();
        rate.append(r);
    });
    // The file's order, sorted here rather than by the engine (whose sort
    // would carry every column): the same binary order of the texts.
    std::sort(rate.begin(), rate.end(), [](const TSddRata &a, const TSddRata &b) {
        if (int c = QString::compare(a.Debitore, b.Debitore); c != 0)
            return c < 0;
        if (int c = QString::compare(a.Cognome, b.Cognome); c != 0)
            return c < 0;
        if (int c = QString::compare(a.Nome, b.Nome); c != 0)
            return c < 0;
        if (a.Scadenza != b.Scadenza)
            return a.Scadenza < b.Scadenza;
        return a.IdCac < b.IdCac;
    });
    ReadSequenceTypes(rate, filtro, conn);
    ReadDwellings(rate, conn);
    return rate;
}

TSddCreditore ReadSddCreditore(int idSprIst, TVtSQLConnection *conn)
{
    TSddCreditore c;
    ForEachRow(conn,
               u"SELECT s.sSprIstStato, s.sSprIstCinInt, s.sSprIstCin, b.sBanAbi, p.sSprCab, s.sSprIstNumCc"
               " FROM TSprIst s INNER JOIN TSpr_SportelliCab p ON (p.iSprId = s.iSprId)"
               " INNER JOIN TBan_Banche b ON (b.iBanId = p.iBanId) WHERE s.iSprIstId = :iSprIstId"_s,
               {{u"iSprIstId"_s, idSprIst}}, [&c](const QSqlQuery &q) {
                   c = {Text(q, 0), Text(q, 1), Text(q, 2), Text(q, 3), Text(q, 4), Text(q, 5)};
               });
    return c;
}

TSddSede ReadSddSede(int idDwg, TVtSQLConnection *conn)
{
    TSddSede s;
    ForEachRow(conn,
               u"SELECT FIRST 1 Sed.sSedNomLDesc, Sed.sSedIndIndirizzo, Cap.sCapValue, Cap.sComDesc,"
               " Sed.sSedNomCodiceFisc FROM VSed_Sedi Sed"
               " LEFT OUTER JOIN VComCap Cap ON (Cap.iComCapId = Sed.iComCapId)"
               " WHERE Sed.iDwgId = :iDwgId AND Sed.lDwgSedMain = 1 ORDER BY Sed.iDwgSedId"_s,
               {{u"iDwgId"_s, idDwg}}, [&s](const QSqlQuery &q) {
                   s = {true, Text(q, 0), Text(q, 1), Text(q, 2), Text(q, 3), Text(q, 4)};
               });
    return s;
}

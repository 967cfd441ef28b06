#include "EbdUDote.h"
#include "EbdUCac.h"
#include "VtDatabaseError.h"
#include "VtException.h"
#include "VtPreparedStatement.h"
#include "VtSQLConnection.h"
#include "VtTransaction.h"

#include <QDate>
#include <QSqlQuery>
#include <QVector>

using namespace Qt::StringLiterals;

namespace {
// The holder's instalments of a school year, in the list's order. Read from
// the holder down: each "+ 0" keeps the engine off an index that would have
// it start from the year's components and visit every instalment of the
// year for each holder.
const QString InstalmentsOfYear =
    u"SELECT cac.iCacId, cac.fCacImporto, cac.fCacImpDaDote, cac.dCacDataScadenza, cac.dCacDataPagamento "
    "FROM TAcbCau ac INNER JOIN TCac_CcaAcbCau cac ON cac.iAcbCauId = ac.iAcbCauId + 0 "
    "INNER JOIN TCca_CompCausali cca ON cac.iCcaId + 0 = cca.iCcaId "
    "WHERE (ac.iAcbId = :iAcbId) AND (cca.dStart + 0 = (SELECT Ans.dAnsVeltoInizio FROM TAns_AnniScolast Ans "
    "WHERE Ans.iAnsId = :iAnsId)) ORDER BY cac.dCacDataScadenza, cca.sCcaLDesc, cac.iCacId"_s;

const QString GrantsOfYear =
    u"SELECT dos.iDosId, dos.fDosImportoResiduo, dos.dDosDataScadenza, dos.dDosData FROM TDos_DoteScuola dos "
    "INNER JOIN VAns_AnniScolast Ans ON dos.dStart BETWEEN Ans.dAnsVeltoInizio AND Ans.dAnsVeltoFine "
    "WHERE dos.iAcbId = :iAcbId AND Ans.iAnsId = :iAnsId AND dos.fDosImportoResiduo > 0 "
    "ORDER BY dos.dDosData, dos.iDosId"_s;

const QString ResidueUpdate = u"UPDATE TDos_DoteScuola SET fDosImportoResiduo = :fDosImportoResiduo WHERE iDosId = :iDosId"_s;

const QString SpreadUpdate =
    u"UPDATE TCac_CcaAcbCau SET fCacImporto = :fCacImporto, fCacImpDaDote = :fCacImpDaDote, dCacDataPagamento = "
    "(CASE WHEN :dCacDataPagamento > 0 THEN dCacDataScadenza ELSE NULL END) WHERE iCacId = :iCacId"_s;

const QString UndoUpdate =
    u"UPDATE TCac_CcaAcbCau SET fCacImporto = :fCacImporto, fCacImpDaDote = :fCacImpDaDote, dCacDataPagamento = NULL "
    "WHERE iCacId = :iCacId"_s;

struct TInstalment
{
    int Id = 0;
    TVtMoney Importo, DaDote;
    QDate Scadenza;
    bool Pagata = false;
};

struct TGrant
{
    int Id = 0;
    TVtMoney Residuo;
    QDate Scadenza, Data;
};

TVtSQLConnection *Conn()
{
    return qqoVtGlobConn;
}

QVector<TInstalment> ReadInstalments(int iAcbId, int iAnsId)
{
    TVtPreparedStatement read(InstalmentsOfYear);
    read.Exec({{u"iAcbId"_s, iAcbId}, {u"iAnsId"_s, iAnsId}});
    QVector<TInstalment> rows;
    while (read.Query().next())
        rows.append({read.Query().value(0).toInt(), EbdCacMoney(read.Query().value(1)), EbdCacMoney(read.Query().value(2)),
                     read.Query().value(3).toDate(), !read.Query().value(4).isNull()});
    return rows;
}

QVector<TGrant> ReadGrants(int iAcbId, int iAnsId)
{
    TVtPreparedStatement read(GrantsOfYear);
    read.Exec({{u"iAcbId"_s, iAcbId}, {u"iAnsId"_s, iAnsId}});
    QVector<TGrant> grants;
    while (read.Query().next()) {
        const TVtMoney residue = EbdCacMoney(read.Query().value(1));
        if (residue > TVtMoney())
            grants.append({read.Query().value(0).toInt(), residue, read.Query().value(2).toDate(), read.Query().value(3).toDate()});
    }
    return grants;
}

// The grant pays the instalment: unpaid, due within the grant's dates.
bool Payable(const TInstalment &cac, const TGrant &grant)
{
    return !cac.Pagata && grant.Data.isValid() && grant.Scadenza.isValid() && cac.Scadenza.isValid()
           && grant.Data <= cac.Scadenza && grant.Scadenza >= cac.Scadenza;
}

// The grant, its holder and its school year (the one whose bounds hold its start).
struct TSpread
{
    int Holder = 0, Year = 0;
    TVtMoney Spread;
};

TSpread ReadSpread(int iDosId)
{
    TVtPreparedStatement read(u"SELECT dos.iAcbId, Ans.iAnsId, dos.fDosImporto, dos.fDosImportoResiduo FROM TDos_DoteScuola dos "
                   "LEFT OUTER JOIN VAns_AnniScolast Ans ON dos.dStart BETWEEN Ans.dAnsVeltoInizio AND Ans.dAnsVeltoFine "
                   "WHERE dos.iDosId = :iDosId"_s);
    read.Exec({{u"iDosId"_s, iDosId}});
    TSpread s;
    if (read.Query().next()) {
        s.Holder = read.Query().value(0).toInt();
        s.Year = read.Query().value(1).toInt();
        s.Spread = EbdCacMoney(read.Query().value(2)) - EbdCacMoney(read.Query().value(3));
    }
    return s;
}

// The writes of an undo, last due first; false (nothing planned) when one
// of them would reopen a collected instalment.
struct TUndoWrite
{
    int Id;
    TVtMoney Importo, DaDote;
};

bool PlanUndo(int iDosId, QVector<TUndoWrite> &writes)
{
    const TSpread s = ReadSpread(iDosId);
    TVtMoney left = s.Spread;
    if (left <= TVtMoney())
        return true;
    const QVector<TInstalment> rows = ReadInstalments(s.Holder, s.Year);
    for (int i = rows.size() - 1; i >= 0 && left > TVtMoney(); --i) {
        const TInstalment &cac = rows[i];
        if (cac.DaDote <= TVtMoney())
            continue;
        if (cac.Pagata && cac.Importo > TVtMoney()) {
            writes.clear();
            return false;
        }
        const TVtMoney back = cac.DaDote < left ? cac.DaDote : left;
        writes.append({cac.Id, cac.Importo + back, cac.DaDote - back});
        left -= back;
    }
    return true;
}
}

TEbdSpreadResult EbdSpalmaDote(int iAcbId, int iAnsId, int onlyCacId)
{
    TEbdSpreadResult result;
    TVtTransaction tr(Conn());
    tr.StartTransaction();
    QVector<TInstalment> rows = ReadInstalments(iAcbId, iAnsId);
    const QVector<TGrant> grants = ReadGrants(iAcbId, iAnsId);
    if (grants.isEmpty()) {
        tr.Commit();
        return result;
    }
    TVtPreparedStatement residue(ResidueUpdate), instalment(SpreadUpdate);
    for (const TGrant &grant : grants) {
        ++result.Grants;
        TVtMoney left = grant.Residuo;
        for (TInstalment &cac : rows) {
            if (left <= TVtMoney())
                break;
            if ((onlyCacId != 0 && cac.Id != onlyCacId) || !Payable(cac, grant))
                continue;
            const TVtMoney covered = cac.Importo < left ? cac.Importo : left;
            left -= covered;
            cac.DaDote += covered;
            cac.Importo -= covered;
            cac.Pagata = cac.Importo.IsZero();
            instalment.Exec({{u"fCacImporto"_s, cac.Importo.ToDouble()},
                             {u"fCacImpDaDote"_s, cac.DaDote.ToDouble()},
                             {u"dCacDataPagamento"_s, cac.Pagata ? 1 : 0},
                             {u"iCacId"_s, cac.Id}});
            ++result.Instalments;
        }
        if (left != grant.Residuo)
            residue.Exec({{u"fDosImportoResiduo"_s, left.ToDouble()}, {u"iDosId"_s, grant.Id}});
    }
    tr.Commit();
    return result;
}

QString EbdSpalmaturaNonAnnullabile(int iDosId)
{
    QVector<TUndoWrite> writes;
    return PlanUndo(iDosId, writes) ? QString() : QString::fromUtf8(EbdDoteSuRateRiscosse);
}

void EbdAnnullaSpalmatura(int iDosId)
{
    QVector<TUndoWrite> writes;
    if (!PlanUndo(iDosId, writes))
        throw EVtException(QString::fromUtf8(EbdDoteSuRateRiscosse));
    TVtPreparedStatement undo(UndoUpdate);
    for (const TUndoWrite &w : writes)
        undo.Exec({{u"fCacImporto"_s, w.Importo.ToDouble()}, {u"fCacImpDaDote"_s, w.DaDote.ToDouble()}, {u"iCacId"_s, w.Id}});
}

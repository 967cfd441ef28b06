#include "EbsMDataSets.h"
#include "EbdMConn.h"

TdmEbsDataSets *dmEbsDataSets = nullptr;

TdmEbsDataSets::TdmEbsDataSets(QObject *parent)
    : QObject(parent), xqcCaus(new TVtQueryCollection(this)), xqcCompCaus(new TVtQueryCollection(this))
{
    // Both collections run on the global connection (Connection left null).
    SetupCaus();
    SetupCompCaus();
    if (!dmEbsDataSets)
        dmEbsDataSets = this;
    // The connection module refreshes them after a change of the fee structure.
    if (dmEbdConn) {
        dmEbdConn->AddCompCausView(xqcCompCaus);
        dmEbdConn->AddCompCausView(xqcCaus);
    }
}

TdmEbsDataSets::~TdmEbsDataSets()
{
    if (dmEbsDataSets == this)
        dmEbsDataSets = nullptr;
}

void TdmEbsDataSets::SetupCaus()
{
    TVtQueryCollection *q = xqcCaus;
    q->CommandText = QStringLiteral(
        " SELECT Cau.iCauId, Cau.sCauLDesc, Cau.sCauSDesc, Cau.iDwgId, Cau.lCauTipo, Cau.lCauVuvez, Cau.dStart, "
        "Cau.dEnd, Cau.iLocked, (SELECT SUM(Cca.fCcaImportoIst)  FROM TCca_CompCausali Cca  INNER JOIN TCauCca Ccc "
        "ON (Ccc.iCcaId = Cca.iCcaId)  WHERE Ccc.iCauId = Cau.iCauId) fCauImportoIst, (SELECT SUM(Cca.fCcaImportoEra)  "
        "FROM TCca_CompCausali Cca  INNER JOIN TCauCca Ccc ON (Ccc.iCcaId = Cca.iCcaId)  WHERE Ccc.iCauId = Cau.iCauId) "
        "fCauImportoEra, Ans.sAnsAnnoDesc  FROM TCau_Causali Cau INNER JOIN VAns_AnniScolast Ans ON "
        "(Ans.dAnsVeltoInizio = Cau.dStart AND Ans.dAnsVeltoFine = Cau.dEnd) WHERE (Ans.iAnsId = :iAnsId) AND "
        "((Cau.lCauVuvez = 1) OR (:ShowAll = 1)) AND (Cau.lCauTipo = :lCauTipo)");
    q->Params().CreateParam(QMetaType::Int, QStringLiteral("iAnsId"), ptInput);
    q->Params().CreateParam(QMetaType::Int, QStringLiteral("ShowAll"), ptInput);
    q->Params().CreateParam(QMetaType::Int, QStringLiteral("lCauTipo"), ptInput);
    q->SQLInsert.Add(QStringLiteral(
        " INSERT INTO TCau_Causali (iCauId, sCauLDesc, sCauSDesc, lCauTipo, lCauVuvez, dStart, dEnd, iDwgId) "
        "VALUES (:VTGENID, :sCauLDesc, :sCauSDesc, :lCauTipo, :lCauVuvez, :dStart, :dEnd, :iDwgId)"));
    q->SQLUpdate.Add(QStringLiteral(" UPDATE TCau_Causali SET sCauLDesc = :sCauLDesc, sCauSDesc = :sCauSDesc WHERE iCauId = :VTCURRID"));
    // Reasons are not deleted from the reasons window: no delete statement.
}

void TdmEbsDataSets::SetupCompCaus()
{
    TVtQueryCollection *q = xqcCompCaus;
    q->CommandText = QStringLiteral(
        " SELECT Cca.iCcaId, Cca.sCcaLDesc, Cca.sCcaSDesc, Cca.iTccId, Cca.iAggId, Cca.iVproId, Cca.iSvoId, Cca.iDwgId, "
        "Cca.fCcaImportoEra, Cca.fCcaImportoIst, Cca.lCcaVuvez, Cca.dStart, Cca.dEnd, Cca.iLocked, Tcc.sTccSDesc, "
        "Ans.sAnsAnnoDesc, Cca.dCcaDataScadenza  FROM TCca_CompCausali Cca INNER JOIN TTcc_TipoCompCaus Tcc ON "
        "(Tcc.iTccId = Cca.iTccId) INNER JOIN VAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cca.dStart AND "
        "Ans.dAnsVeltoFine = Cca.dEnd) WHERE (Ans.iAnsId = :iAnsId) AND ((Cca.lCcaVuvez = 1  AND Cca.lCcaTipo = 0) OR "
        "(:ShowAll = 1)) AND (Cca.lCcaTipo = :lCcaTipo)");
    q->Params().CreateParam(QMetaType::Int, QStringLiteral("iAnsId"), ptInput);
    q->Params().CreateParam(QMetaType::Int, QStringLiteral("ShowAll"), ptInput);
    q->Params().CreateParam(QMetaType::Int, QStringLiteral("lCcaTipo"), ptInput);
    q->SQLInsert.Add(QStringLiteral(
        " INSERT INTO TCca_CompCausali (iCcaId, sCcaLDesc, sCcaSDesc, iTccId, iAggId, iVproId, iSvoId, iDwgId, "
        "fCcaImportoIst, fCcaImportoEra, lCcaVuvez, lCcaTipo, dStart, dEnd, dCcaDataScadenza) VALUES (:VTGENID, "
        ":sCcaLDesc, :sCcaSDesc, :iTccId, :iAggId, :iVproId, :iSvoId, :iDwgId, :fCcaImportoIst, :fCcaImportoEra, "
        ":lCcaVuvez, :lCcaTipo, :dStart, :dEnd, :dCcaDataScadenza)"));
    q->SQLUpdate.Add(QStringLiteral(
        " UPDATE TCca_CompCausali SET sCcaLDesc = :sCcaLDesc, sCcaSDesc = :sCcaSDesc, iTccId = :iTccId, iAggId = :iAggId, "
        "iVproId = :iVproId, iSvoId = :iSvoId, iDwgId = :iDwgId, fCcaImportoIst = :fCcaImportoIst, fCcaImportoEra = "
        ":fCcaImportoEra, lCcaVuvez = :lCcaVuvez, dCcaDataScadenza = :dCcaDataScadenza WHERE iCcaId = :VTCURRID"));
    q->SQLDelete.Add(QStringLiteral(" DELETE FROM TCca_CompCausali  WHERE iCcaId = :VTCURRID"));
}

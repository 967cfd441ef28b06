#include "EbdMConn.h"
#include "dmVtRptFR.h"
#include "EbdUContext.h"
#include "VtGlobalValuesManager.h"
#include "EbdUGlobals.h"
#include "VtException.h"
#include "VtMessageDlg.h"

TdmEbdConn *dmEbdConn = nullptr;

namespace {
const QString AmountFormat = QStringLiteral("#,###.00");

void ShareSettings(TVtQueryCollection *ds, TVtSQLConnection *conn)
{
    ds->Connection = conn;
    ds->Confirmations = xcoTrash | xcoDisable | xcoDelete;
    ds->PostError = false;
    ds->PacketRecords = -1;   // every row at once
    ds->AutoBuildSQL = false;
}

void IntParam(TVtQueryCollection *ds, const char *name)
{
    ds->Params().CreateParam(QMetaType::Int, QString::fromLatin1(name), ptInput);
}
}

namespace {
QList<TdmEbdConn::THookInstaller> &HookInstallers()
{
    static QList<TdmEbdConn::THookInstaller> installers;
    return installers;
}
}

void TdmEbdConn::AddHookInstaller(THookInstaller installer)
{
    HookInstallers() << std::move(installer);
}

TdmEbdConn::TdmEbdConn(QObject *parent)
    : TdmVtConnection(parent),
      xqcSprIst(new TVtQueryCollection(this)),
      xqcCai(new TVtQueryCollection(this)),
      xqcTcc(new TVtQueryCollection(this)),
      qquTmp(new TSQLQuery(this)),
      xqcAluGen(new TVtQueryCollection(this)),
      xqcAcbCau(new TVtQueryCollection(this)),
      xqcCacAcbCau(new TVtQueryCollection(this)),
      xqcDote(new TVtQueryCollection(this)),
      xqcAcconti(new TVtQueryCollection(this))
{
    xqoMain->CodAppl = QStringLiteral("EBD");
    xqoMain->DBVersion = QStringLiteral("6.94.02");
    // Reports reach these collections as "dmEbcConn.xqc...".
    setObjectName(QStringLiteral("dmEbcConn"));
    const QList<QPair<TVtQueryCollection *, const char *>> named{
        {xqcSprIst, "xqcSprIst"}, {xqcCai, "xqcCai"}, {xqcTcc, "xqcTcc"}, {xqcAluGen, "xqcAluGen"},
        {xqcAcbCau, "xqcAcbCau"}, {xqcCacAcbCau, "xqcCacAcbCau"}, {xqcDote, "xqcDote"}, {xqcAcconti, "xqcAcconti"}};
    for (const auto &[ds, name] : named)
        ds->setObjectName(QLatin1String(name));
    TdmVtRptFR::RegisterDataModule(this);

    for (TVtQueryCollection *ds : {xqcSprIst, xqcCai, xqcTcc, xqcAluGen, xqcAcbCau, xqcCacAcbCau, xqcDote, xqcAcconti})
        ShareSettings(ds, xqoMain);
    qquTmp->SQLConnection = xqoMain;

    SetupSprIst();
    SetupCai();
    SetupTcc();
    SetupAluGen();
    SetupAcbCau();
    SetupCacAcbCau();
    SetupDote();
    SetupAcconti();
    for (const THookInstaller &install : HookInstallers())
        install(this);
}

TdmEbdConn::~TdmEbdConn()
{
    // The collections run on xqoMain: close them before the base closes it.
    for (TVtQueryCollection *ds : {xqcAcconti, xqcDote, xqcCacAcbCau, xqcAcbCau, xqcAluGen, xqcTcc, xqcCai, xqcSprIst})
        ds->Close();
    qquTmp->Close();
}

// ---------------------------------------------------------------- accounts

void TdmEbdConn::SetupSprIst()
{
    TVtQueryCollection *q = xqcSprIst;
    q->CommandText = QStringLiteral(
        " SELECT Spi.iSprIstId, Spi.sSprIstStato, Spi.sSprIstCinInt, Spi.sSprIstCin, Spi.sSprIstNumCc, "
        "Spi.sSprIstIntest, Spi.dStart, Spi.dEnd, Spr.iSprId, Spr.sSprCab, Spr.sSprDescS, Spr.sSprIndirizzo || '-' || "
        "Com.sComDesc || ' (' || Pro.sProSigla || ')' sIndCom, Ban.iBanId, Ban.sBanAbi, Ban.sBanDescS, Ban.iCbaId "
        "FROM TSprIst Spi INNER JOIN TSpr_SportelliCab Spr ON (Spr.iSprId = Spi.iSprId) INNER JOIN TBan_Banche Ban ON "
        "(Ban.iBanId = Spr.iBanId) LEFT OUTER JOIN TSrpc ON (Spr.iSrpcId = TSrpc.iSrpcId) LEFT OUTER JOIN TCom_Comuni "
        "Com ON (Com.iComId = TSrpc.iComId) LEFT OUTER JOIN TPro_Province Pro ON (Pro.iProId = TSrpc.iProId) WHERE "
        "(Spi.iDwgId = :iDwgId) AND (Spi.iSprIstPgm = 2) ORDER BY Ban.sBanAbi, Spr.sSprCab");
    IntParam(q, "iDwgId");
    q->TableName = QStringLiteral("TSprIst");
    q->KeyFields = QStringLiteral("ISPRISTID");

    xqcSprIstISPRISTID = q->AddField(QStringLiteral("ISPRISTID"), QMetaType::Int, 0, true);
    xqcSprIstSSPRISTSTATO = q->AddField(QStringLiteral("SSPRISTSTATO"), QMetaType::QString, 2);
    xqcSprIstSSPRISTCININT = q->AddField(QStringLiteral("SSPRISTCININT"), QMetaType::QString, 2);
    xqcSprIstSSPRISTCIN = q->AddField(QStringLiteral("SSPRISTCIN"), QMetaType::QString, 1);
    xqcSprIstSSPRISTNUMCC = q->AddField(QStringLiteral("SSPRISTNUMCC"), QMetaType::QString, 60, true);
    xqcSprIstSSPRISTINTEST = q->AddField(QStringLiteral("SSPRISTINTEST"), QMetaType::QString, 100);
    xqcSprIstDSTART = q->AddField(QStringLiteral("DSTART"), QMetaType::QDate);
    xqcSprIstDEND = q->AddField(QStringLiteral("DEND"), QMetaType::QDate);
    xqcSprIstISPRID = q->AddField(QStringLiteral("ISPRID"), QMetaType::Int, 0, true);
    xqcSprIstSSPRCAB = q->AddField(QStringLiteral("SSPRCAB"), QMetaType::QString, 10, true);
    xqcSprIstSSPRDESCS = q->AddField(QStringLiteral("SSPRDESCS"), QMetaType::QString, 60);
    xqcSprIstSINDCOM = q->AddField(QStringLiteral("SINDCOM"), QMetaType::QString, 262);
    xqcSprIstIBANID = q->AddField(QStringLiteral("IBANID"), QMetaType::Int, 0, true);
    xqcSprIstSBANABI = q->AddField(QStringLiteral("SBANABI"), QMetaType::QString, 10, true);
    xqcSprIstSBANDESCS = q->AddField(QStringLiteral("SBANDESCS"), QMetaType::QString, 60, true);
    xqcSprIstICBAID = q->AddField(QStringLiteral("ICBAID"), QMetaType::Int);
    xqcSprIstsTipoConto = q->AddCalcField(QStringLiteral("sTipoConto"), QMetaType::QString, 25);
    xqcSprIstsTipoConto->DisplayLabel = QStringLiteral("Tipo conto");

    q->SQLInsert.Add(QStringLiteral(
        " INSERT INTO TSprIst (iSprIstId, iDwgId, iSprId, sSprIstNumCc, sSprIstIntest, sSprIstCin, sSprIstStato, "
        "sSprIstCinInt, iSprIstPgm, dStart) VALUES (:VTGENID, :iDwgId, :iSprId, :sSprIstNumCc, :sSprIstIntest, "
        ":sSprIstCin, :sSprIstStato, :sSprIstCinInt, :iSprIstPgm, :dStart)"));
    q->SQLUpdate.Add(QStringLiteral(
        " UPDATE TSprIst SET iSprId = :iSprId, sSprIstNumCc = :sSprIstNumCc, sSprIstIntest = :sSprIstIntest, "
        "sSprIstCin = :sSprIstCin, sSprIstStato = :sSprIstStato, sSprIstCinInt = :sSprIstCinInt, dStart = :dStart, "
        "dEnd = :dEnd WHERE iSprIstId = :VTCURRID"));
    q->SQLUpdate.Add(QStringLiteral(" EXECUTE PROCEDURE PEbc_ContoOnOff(:iSprIstId)"));
    // No delete statement: accounts are closed, not deleted.

    q->OnCalcFields = [this](TVtQueryCollection *ds) { xqcSprIstCalcFields(ds); };
    q->VtBeforeExec = [this](TVtQueryCollection *ds, TVtQueryProp &prop, bool &execute) {
        xqcSprIstVtBeforeExec(ds, prop, execute);
    };
    q->BeforeDelete = [this](TVtQueryCollection *ds) { xqcSprIstBeforeDelete(ds); };
    q->Confirmations &= ~xcoDelete;   // nothing to confirm: the delete is always refused

    // Closed accounts stay hidden until a window switches the filter off.
    q->SetFilter(QStringLiteral("dEnd IS NULL"));
    q->SetFiltered(true);
}

void TdmEbdConn::xqcSprIstCalcFields(TVtQueryCollection *)
{
    xqcSprIstsTipoConto->SetAsString(SprIstKindOf(xqcSprIstICBAID->Value(), xqcSprIstIBANID->Value()));
}

void TdmEbdConn::xqcSprIstVtBeforeExec(TVtQueryCollection *ds, TVtQueryProp &prop, bool &execute)
{
    switch (prop.UpdateKind) {
    case ukInsert:
        prop.FieldValues->Add(QStringLiteral("iDwgId"), TEbdContext::Bindable(TEbdCtx::DwgId));
        prop.FieldValues->Add(QStringLiteral("iSprIstPgm"), 2);
        break;
    case ukModify:
        // The procedure locks or unlocks the account's movements: only when
        // the closing date was set or cleared in this edit.
        if (prop.Index == 1 && !ds->EditFlag(SprIstClosingChanged))
            execute = false;
        break;
    default:   // no delete statement: BeforeDelete refuses it
        break;
    }
}

void TdmEbdConn::xqcSprIstBeforeDelete(TVtQueryCollection *ds)
{
    const QVariant id = ds->FieldByName(QStringLiteral("ISPRISTID"))->Value();
    if (!id.isNull() && id.toInt() == TEbdContext::GetOr0(TEbdCtx::SprIstId))
        VtMessageDlg(QStringLiteral("Impossibile cancellare il conto in quanto è quello di lavoro."), mtWarning, mbOK);
    else
        VtMessageDlg(QStringLiteral("Un conto non si cancella: per non usarlo più indicarne la data di chiusura."),
                     mtWarning, mbOK);
    Abort();
}

// ---------------------------------------------------------------- cash book

void TdmEbdConn::SetupCai()
{
    TVtQueryCollection *q = xqcCai;
    q->AutoBuildSQL = true;
    // Generated statements write TCai_CassaIst by its key (the select's first
    // FROM is the procedure of the current difference, not the table).
    q->TableName = QStringLiteral("TCai_CassaIst");
    q->KeyFields = QStringLiteral("ICAIID");
    q->CommandText = QStringLiteral(
        " SELECT Cai.iCaiId, Cai.iCaiEsercizioFin, Cai.iSprIstId, Cai.fCaiCassaIn, Cai.fCaiSaldoIn, Cai.fCaiSaldoOut, "
        "Cai.fCaiCassaAtt, Cai.fCaiDiffIniz, COALESCE(Cai.dCaiInizioAnno, CAST(cai.ICAIESERCIZIOFIN || '-01-01' AS DATE)) "
        "AS dInizioAnno, COALESCE(Cai.dCaiFineAnno, CAST(cai.ICAIESERCIZIOFIN || '-12-31' AS DATE)) AS dFineAnno, "
        "(SELECT fDiff FROM PEbc_MvmDiff(Cai.iSprIstId,  CAST(Cai.iCaiEsercizioFin AS CHAR(4)) || '/12/31')) fDiff "
        "FROM TCai_CassaIst Cai WHERE (Cai.iSprIstId = :iSprIstId) ORDER BY Cai.iCaiEsercizioFin");
    IntParam(q, "iSprIstId");
    q->SetMaster(xqcSprIst, QStringLiteral("iSprIstId"), QStringLiteral("ISPRISTID"));
    q->AfterOpen = [this](TVtQueryCollection *ds) { xqcCaiAfterOpen(ds); };
}

void TdmEbdConn::xqcCaiAfterOpen(TVtQueryCollection *ds)
{
    // Every amount of the row, so that the totals never show raw floating values.
    for (const char *name : {"fCaiCassaIn", "fCaiCassaAtt", "fCaiSaldoIn", "fCaiSaldoOut", "fCaiDiffIniz", "fDiff"})
        ds->FieldByName(QLatin1String(name))->DisplayFormat = AmountFormat;
}

void TdmEbdConn::SetupTcc()
{
    TVtQueryCollection *q = xqcTcc;
    q->AutoBuildSQL = true;
    // One row per top-level typology with aggregates: there is no table row
    // behind it to write, so the collection only displays.
    q->ReadOnly = true;
    q->KeyFields = QStringLiteral("ITCCID");
    q->CommandText = QStringLiteral(
        " SELECT Tcc.iTccId, Tcc.sTccLDesc, "
        "(SELECT CaiTcc.fCaiTccImportoIniz FROM TCaiTcc CaiTcc INNER JOIN TCai_CassaIst Cai ON "
        "(Cai.iCaiId = CaiTcc.iCaiId) WHERE (CaiTcc.iTccId = Tcc.iTccId) AND (Cai.iSprIstId = :iSprIstId) AND "
        "(Cai.iCaiEsercizioFin = :iCaiEsercizioFin)) fTccImporto_Iniz, "
        "(SELECT COALESCE(SUM(Cac.fCacImporto), 0) FROM TCAC_CCAACBCAU Cac INNER JOIN TCCA_COMPCAUSALI Cca ON "
        "(Cca.iCcaId = Cac.iCcaId) INNER JOIN TAnf_AnniFinanz Anf ON (Cac.dCacDataPagamento BETWEEN Anf.dAnfVeltoInizio "
        "AND Anf.dAnfVeltoFine) INNER JOIN TTCC_TIPOCOMPCAUS TccC ON (TccC.iTccId = Cca.iTccId) WHERE "
        "(Cac.iSprIstId = :iSprIstId) AND (TccC.iTccId_p = Tcc.iTccId) AND (Anf.iAnfvalore = :iCaiEsercizioFin)) "
        "fTccImporto "
        "FROM TTcc_TipoCompCaus Tcc WHERE (Tcc.iTccId = Tcc.iTccId_P)");
    IntParam(q, "iSprIstId");
    IntParam(q, "iCaiEsercizioFin");
    q->AfterOpen = [this](TVtQueryCollection *ds) { xqcTccAfterOpen(ds); };
}

void TdmEbdConn::xqcTccAfterOpen(TVtQueryCollection *ds)
{
    ds->FieldByName(QStringLiteral("fTccImporto"))->DisplayFormat = AmountFormat;
    ds->FieldByName(QStringLiteral("fTccImporto_Iniz"))->DisplayFormat = AmountFormat;
}

// ---------------------------------------------------------------- holders

void TdmEbdConn::SetupAluGen()
{
    TVtQueryCollection *q = xqcAluGen;
    q->CommandText = QStringLiteral(
        " SELECT TAcb.iAcbId, TAcb.iMpgId, TAna.iAnaId, TAcb.iAnaId_Gen, TAcb.sAcbIBan, TAcb.sAcbIntestatario, "
        "TAnaGen.iAnaId AS iAnaId_p, ac.sAnaCagCode, TAnaGen.sAnaCognome || ' ' || TAnaGen.sAnaNome AS sCognomeNomeGen, "
        "TAna.sAnaCognome || ' ' || TAna.sAnaNome AS sCognomeNomeAlu, TMpg.iMpgId, TMpg.sMpgDescL, "
        "VCls_Classi.sClsDesc, TAcb.fAcbPercSconto, TAcb.dAcbDataMandato "
        "FROM TAcb_AluCoordBan TAcb "
        "INNER JOIN TAna_Anagrafiche TAna ON (TAna.iAnaId = TAcb.iAnaId) "
        "INNER JOIN TAnaCag ac ON ((ac.iAnaId = TAna.iAnaId) AND (ac.iCagId = 1)) "
        "INNER JOIN TAna_Anagrafiche TAnaGen ON (TAnaGen.iAnaId = TAcb.iAnaId_gen) "
        "INNER JOIN TSit_Situazioni Sit ON (Sit.iAnaId = TAna.iAnaId) "
        "INNER JOIN TClsPst Pst ON (Pst.iClsPstId = Sit.iClsPstId) "
        "INNER JOIN VCls_Classi ON (VCls_Classi.iClsId = Pst.iClsId) "
        "INNER JOIN VAns_AnniScolast Ans ON (EXTRACT(YEAR FROM VCls_Classi.dStart_Cls) = EXTRACT(YEAR FROM Ans.dAnsVeltoInizio)) "
        "INNER JOIN TMpg_ModPagam TMpg ON (TAcb.iMpgId = TMpg.iMpgId) "
        "WHERE Ans.iAnsId = :iAnsId ORDER BY TAcb.sAcbIntestatario");
    TEbdContext::Bind(q, QStringLiteral("iAnsId"), TEbdCtx::AnsId);
    q->TableName = QStringLiteral("TAcb_AluCoordBan");
    q->KeyFields = QStringLiteral("IACBID");
    q->SQLInsert.Add(QStringLiteral(
        "INSERT INTO TACB_ALUCOORDBAN (IACBID, IMPGID, IANAID, IANAID_GEN, SACBIBAN, SACBINTESTATARIO, fAcbPercSconto, "
        "dAcbDataMandato) VALUES (:VTGENID, :IMPGID, :IANAID, :IANAID_P, :SACBIBAN, :SACBINTESTATARIO, :fAcbPercSconto, "
        ":dAcbDataMandato)"));
    q->SQLUpdate.Add(QStringLiteral(
        "UPDATE TAcb_AluCoordBan SET IMPGID = :IMPGID, IANAID = :IANAID, IANAID_GEN = :IANAID_P, SACBIBAN = :SACBIBAN, "
        "SACBINTESTATARIO = :SACBINTESTATARIO, fAcbPercSconto = :fAcbPercSconto, dAcbDataMandato = :dAcbDataMandato "
        "WHERE IACBID = :VTCURRID"));
    q->SQLDelete.Add(QStringLiteral(" DELETE FROM TAcb_AluCoordBan WHERE iAcbId = :VTCURRID"));
}

void TdmEbdConn::SetupAcbCau()
{
    TVtQueryCollection *q = xqcAcbCau;
    q->CommandText = QStringLiteral(
        "SELECT TAcbCau.iAcbCauId, TCau.iCauId, TCau.sCauLDesc, TCau.sCauSDesc, TAcbCau.bAcbCauNote, "
        "TAcbCau.fAcbCauPercSconto FROM TAcbCau INNER JOIN TCau_Causali TCau ON TAcbCau.iCauId = TCau.iCauId "
        "INNER JOIN VAns_AnniScolast Ans ON TCau.dStart = Ans.dAnsVeltoInizio "
        "WHERE TAcbCau.iAcbId = :iAcbId AND Ans.iAnsId = :iAnsId");
    IntParam(q, "iAcbId");
    TEbdContext::Bind(q, QStringLiteral("iAnsId"), TEbdCtx::CauAnsId);
    q->TableName = QStringLiteral("TAcbCau");
    q->KeyFields = QStringLiteral("IACBCAUID");
    q->SQLInsert.Add(QStringLiteral(
        "INSERT INTO TAcbCau (iAcbCauId, iAcbId, iCauId, bAcbCauNote, fAcbCauPercSconto) "
        "VALUES (:VTGENID, :IACBID, :ICAUID, :bAcbCauNote, :fAcbCauPercSconto)"));
    q->SQLUpdate.Add(QStringLiteral(
        "UPDATE TAcbCau SET iAcbId = :iAcbId, iCauId = :iCauId, bAcbCauNote = :bAcbCauNote, "
        "fAcbCauPercSconto = :fAcbCauPercSconto WHERE iAcbCauId = :VTCURRID"));
    q->SQLDelete.Add(QStringLiteral(" DELETE FROM TAcbCau WHERE iAcbCauId = :VTCURRID "));
}

// ---------------------------------------------------------------- instalments

void TdmEbdConn::SetupCacAcbCau()
{
    TVtQueryCollection *q = xqcCacAcbCau;
    q->CommandText = QStringLiteral(
        "SELECT cac.iCacId, cac.iAcbCauId, cca.iCcaId, cca.sCcaLDesc, cca.sCcaSDesc, cac.fCacImporto, "
        "cac.dCacDataScadenza, cac.dCacDataPagamento, cac.fCacImpSconto, cac.fCacPercSconto, cac.bCacNote, "
        "cca.fCcaImportoIst, ac.iAcbId, fCacImpDaDote, cau.sCauLDesc, cac.iMpgId, cac.iSprIstId FROM TCac_CcaAcbCau cac "
        "INNER JOIN TCca_CompCausali cca ON cac.iCcaId = cca.iCcaId INNER JOIN TAcbCau ac ON cac.iAcbCauId = ac.iAcbCauId "
        "INNER JOIN TCau_Causali cau ON ac.iCauId = cau.iCauId INNER JOIN VAns_AnniScolast Ans ON "
        "cca.dStart = Ans.dAnsVeltoInizio WHERE (ac.iAcbId = :iAcbId) AND (Ans.iAnsId = :iAnsId) "
        "ORDER BY cac.dCacDataScadenza, cca.sCcaLDesc");
    IntParam(q, "iAcbId");
    TEbdContext::Bind(q, QStringLiteral("iAnsId"), TEbdCtx::CauAnsId);
    q->TableName = QStringLiteral("TCac_CcaAcbCau");
    q->KeyFields = QStringLiteral("ICACID");
    // No insert statement: the database creates the instalments when a
    // reason is assigned.
    q->SQLUpdate.Add(QStringLiteral(
        "UPDATE TCac_CcaAcbCau SET fCacImporto = :fCacImporto, dCacDataScadenza = :dCacDataScadenza, "
        "fCacImpSconto = :fCacImpSconto, fCacPercSconto = :fCacPercSconto, dCacDataPagamento = :dCacDataPagamento, "
        "bCacNote = :bCacNote, iSprIstId = :iSprIstId, iMpgId = :iMpgId WHERE iCacId = :VTCURRID"));
    q->SQLDelete.Add(QStringLiteral(" DELETE FROM TCac_CcaAcbCau WHERE iCacId = :VTCURRID "));
}

// ---------------------------------------------------------------- grants and advances

void TdmEbdConn::SetupDote()
{
    TVtQueryCollection *q = xqcDote;
    q->CommandText = QStringLiteral(
        "SELECT iDosId, iAcbId, fDosImporto, dDosData, dDosDataScadenza, fDosImportoResiduo FROM TDos_DoteScuola dos "
        "INNER JOIN VAns_AnniScolast Ans ON dos.dStart BETWEEN Ans.dAnsVeltoInizio AND Ans.dAnsVeltoFine "
        "WHERE iAcbId = :iAcbId AND Ans.iAnsId = :iAnsId ORDER BY dDosData");
    IntParam(q, "iAcbId");
    TEbdContext::Bind(q, QStringLiteral("iAnsId"), TEbdCtx::CauAnsId);
    q->TableName = QStringLiteral("TDos_DoteScuola");
    q->KeyFields = QStringLiteral("IDOSID");
    q->SQLInsert.Add(QStringLiteral(
        "INSERT INTO TDos_DoteScuola (iDosId, iAcbId, fDosImporto, dDosData, dDosDataScadenza, fDosImportoResiduo, "
        "dStart, dEnd) VALUES (:VTGENID, :iAcbId, :fDosImporto, :dDosData, :dDosDataScadenza, :fDosImportoResiduo, "
        ":dStart, :dEnd)"));
    q->SQLUpdate.Add(QStringLiteral(
        "UPDATE TDos_DoteScuola SET fDosImporto = :fDosImporto, dDosData = :dDosData, dDosDataScadenza = "
        ":dDosDataScadenza, fDosImportoResiduo = :fDosImportoResiduo WHERE iDosId = :VTCURRID"));
    // Without a statement a deleted grant would only vanish from the list and
    // come back at the next open: delete the row by its key.
    q->SQLDelete.Add(QStringLiteral(" DELETE FROM TDos_DoteScuola WHERE iDosId = :VTCURRID "));
}

void TdmEbdConn::SetupAcconti()
{
    TVtQueryCollection *q = xqcAcconti;
    q->PacketRecords = 25;
    q->CommandText = QStringLiteral(
        "SELECT iCaaId, iCacId, fCaaImporto, dCaaData, COALESCE((SELECT CASE WHEN dCacDataPagamento IS NULL THEN 0 "
        "ELSE 1 END FROM TCac_CcaAcbCau cac WHERE cac.iCacId = caa.iCacId), 0) AS iLocked FROM TCaa_CacAcconti caa "
        "WHERE iCacId = :iCacId ORDER BY dCaaData");
    IntParam(q, "iCacId");
    // The table the statements write (the select's first FROM belongs to the
    // lock of the instalment).
    q->TableName = QStringLiteral("TCaa_CacAcconti");
    q->KeyFields = QStringLiteral("ICAAID");
    q->SQLInsert.Add(QStringLiteral(
        "INSERT INTO TCaa_CacAcconti (iCaaId, iCacId, fCaaImporto, dCaaData) VALUES (:VTGENID, :iCacId, :fCaaImporto, "
        ":dCaaData)"));
    q->SQLUpdate.Add(QStringLiteral(
        "UPDATE TCaa_CacAcconti SET fCaaImporto = :fCaaImporto, dCaaData = :dCaaData WHERE iCaaId = :VTCURRID"));
    q->SQLDelete.Add(QStringLiteral(" DELETE FROM TCaa_CacAcconti WHERE iCaaId = :VTCURRID "));
}

// ---------------------------------------------------------------- fee data sets

void TdmEbdConn::RefreshCompCaus()
{
    // A list being edited is left alone: a refresh would post its edit.
    for (TVtQueryCollection *q : m_compCausViews)
        if (q && q->State() == dsBrowse)
            q->Refresh();
}

void TdmEbdConn::AddCompCausView(TVtQueryCollection *collection)
{
    m_compCausViews.removeAll(nullptr);
    if (!m_compCausViews.contains(collection))
        m_compCausViews << collection;
}

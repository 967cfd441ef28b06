#include "EbdMReport.h"
#include "EbcFElencoXClassi.h"
#include "EbcFRptSelData.h"
#include "EbdFRptSelAttestazione.h"
#include "EbdFRptSelClsComp.h"
#include "EbdURptSql.h"
#include "EbdUContext.h"
#include "EbdUGlobals.h"
#include "EbsFRptSelDate.h"
#include "EbsMReport.h"
#include "VtExecModal.h"
#include "VtMessageDlg.h"
#include "VtQueryCollection.h"
#include "VtfrDBDataSet.h"
#include "dmVtRptFR.h"
#include "fmVtMultiSelect.h"

#include <QApplication>
#include <memory>

using namespace Qt::StringLiterals;

TdmEbdReport *dmEbdReport = nullptr;

namespace {
// ------------------------------------------------------------ statements
//
// The school year's start joins enrolments, classes, reasons and components;
// "+ 0" on all but the enrolment's keeps the optimiser from joining those
// tables to each other by their dates (a cross product of a year's rows).

// The unpaid instalments due in range A of pupils enrolled in a class of the
// school year, with their payment mode; extra joins go before the WHERE.
QString BankListSQL(const QString &columns, const QString &joins, const QString &conditions)
{
    return u"SELECT "_s + columns
        + u" FROM TMpg_ModPagam TMpg "
          "INNER JOIN TAcb_AluCoordBan Acb ON (Acb.iMpgId = TMpg.iMpgId) "
          "INNER JOIN TSit_Situazioni Sit ON (Sit.iAnaId = Acb.iAnaId) "
          "INNER JOIN TAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Sit.dStart) "
          "INNER JOIN TClsPst Pst ON (Pst.iClsPstId = Sit.iClsPstId) "
          "INNER JOIN VCls_Classi Cls ON (Cls.iClsId = Pst.iClsId AND Cls.dStart_Cls + 0 = Ans.dAnsVeltoInizio) "
          "INNER JOIN TAcbCau Ac ON (Ac.iAcbId = Acb.iAcbId) "
          "INNER JOIN TCau_Causali Cau ON (Cau.iCauId = Ac.iCauId) "
          "INNER JOIN TCauCca Cc ON (Cc.iCauId = Cau.iCauId) "
          "INNER JOIN TCca_CompCausali Cca ON (Cca.iCcaId = Cc.iCcaId) "
          "INNER JOIN TCac_CcaAcbCau Cac ON (Cac.iAcbCauId = Ac.iAcbCauId AND Cac.iCcaId = Cca.iCcaId) "_s
        + joins
        + u"WHERE Cac.dCacDataScadenza BETWEEN :DataScadenzaDal AND :DataScadenzaAl AND Ans.iAnsId = :iAnsId "
          "AND Cac.dCacDataPagamento IS NULL "_s
        + conditions;
}

const QString ModeMarker = u"/*MPG*/"_s;

const QString TipoPagamSQL = BankListSQL(
    u"DISTINCT TMpg.iMpgId, TMpg.sMpgDescS, TMpg.sMpgDescL, Ans.sAnsAnnoDesc"_s, QString(),
    u"AND Cau.dStart + 0 = Ans.dAnsVeltoInizio /*MPG*/ ORDER BY TMpg.sMpgDescL, TMpg.iMpgId"_s);

const QString ClasseSQL = BankListSQL(
    u"DISTINCT Cls.iClsId, Cls.sClsSDesc, Cls.sClsDesc, TMpg.iMpgId, TMpg.sMpgDescL"_s, QString(),
    u"AND TMpg.iMpgId = :iMpgId ORDER BY Cls.sClsDesc, Cls.iClsId"_s);

// A holder record without a paying parent still lists its instalments.
const QString IntestatarioSQL = BankListSQL(
    u"Cac.iCacId, Acb.iAcbId, Acb.sAcbIntestatario, Acb.sAcbIBan, Cac.fCacImporto, TMpg.sMpgDescL, "
    "Gen.sAnaCodFiscale AS sCodFiscaleGen, Sit.dStart AS dSitStart, Cac.dCacDataScadenza, "
    "Alu.sAnaCognome, Alu.sAnaNome, Cau.sCauSDesc, Cca.sCcaSDesc, Cca.sCcaLDesc, Cls.sClsSDesc, Cls.sClsDesc"_s,
    u"INNER JOIN TAna_Anagrafiche Alu ON (Alu.iAnaId = Acb.iAnaId) "
    "LEFT OUTER JOIN TAna_Anagrafiche Gen ON (Gen.iAnaId = Acb.iAnaId_Gen) "_s,
    u"AND TMpg.iMpgId = :iMpgId AND Cls.iClsId = :iClsId "
    "ORDER BY Acb.sAcbIntestatario, Alu.sAnaCognome, Alu.sAnaNome, Cac.dCacDataScadenza, Cca.sCcaSDesc, Cac.iCacId"_s);

const QString ClassiSQL =
    u"SELECT Cls.iClsId, Cls.sClsDesc, Cls.sClsAnnoScol, Cls.sClsSDesc FROM VCls_Classi Cls "
    "INNER JOIN TAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cls.dStart_Cls) "
    "WHERE Ans.iAnsId = :iAnsId /* ONLYMETADATA */ ORDER BY Cls.sClsAnnoScol, Cls.sClsDesc, Cls.iClsId"_s;

const QString ElencoXClasseSQL =
    u"SELECT Cls.iClsId, Cls.sClsSDesc, Cls.sClsDesc, Cls.sSedNomLDesc AS ssednomldesc FROM VCls_Classi Cls "
    "INNER JOIN TAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cls.dStart_Cls) "
    "WHERE Ans.iAnsId = :iAnsId /* ONLYMETADATA */ ORDER BY Cls.sClsSDesc, Cls.sClsDesc, Cls.iClsId"_s;

const QString CompXClsTemplate =
    u"SELECT Acs.sAcsSDesc || Sez.sSezSDesc || COALESCE(' ' || Ind.sIndLDesc, '') || ' (A.S. :' || "
    "EXTRACT(YEAR FROM Cls.dStart) || '/' || (EXTRACT(YEAR FROM Cls.dStart) + 1) || ')' AS sClsDesc, "
    "Cca.sCcaSDesc, Cca.sCcaLDesc, SUM(Cac.fCacImporto) AS importo "
    "FROM TAna_Anagrafiche Ana "
    "INNER JOIN TSit_Situazioni Sit ON (Sit.iAnaId = Ana.iAnaId) "
    "INNER JOIN TAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Sit.dStart) "
    "INNER JOIN TClsPst Pst ON (Pst.iClsPstId = Sit.iClsPstId) "
    "INNER JOIN TCls_Classi Cls ON (Cls.iClsId = Pst.iClsId) "
    "INNER JOIN TAcs_AnniCorso Acs ON (Acs.iAcsId = Cls.iAcsId AND Acs.dDelete IS NULL) "
    "INNER JOIN TSez_Sezioni Sez ON (Sez.iSezId = Cls.iSezId AND Sez.dDelete IS NULL) "
    "LEFT OUTER JOIN TInd_Indirizzo Ind ON (Ind.iIndId = Cls.iIndId AND Ind.dDelete IS NULL) "
    "INNER JOIN TAcb_AluCoordBan Acb ON (Acb.iAnaId = Ana.iAnaId) "
    "INNER JOIN TAcbCau Ac ON (Ac.iAcbId = Acb.iAcbId) "
    "INNER JOIN TCac_CcaAcbCau Cac ON (Cac.iAcbCauId = Ac.iAcbCauId) "
    "INNER JOIN TCca_CompCausali Cca ON (Cca.iCcaId = Cac.iCcaId AND Cca.dStart = Ans.dAnsVeltoInizio) "
    "WHERE Cac.dCacDataScadenza BETWEEN :DataScadenzaDal AND :DataScadenzaAl AND Cac.dCacDataPagamento IS NOT NULL "
    "AND Cls.iClsId = :iClsId AND Cca.iCcaId IN (%1) AND CAST(Acb.iMpgId AS VARCHAR(11)) LIKE :iMpgId "
    "GROUP BY 1, Cca.sCcaSDesc, Cca.sCcaLDesc ORDER BY Cca.sCcaSDesc, Cca.sCcaLDesc"_s;

const QString RicevutaXClasseTemplate =
    u"SELECT cac.iCacId, Ana.iAnaId, Ana.sAnaCognome, Ana.sAnaNome, Ana.sAnaCodFiscale, Cau.sCauSDesc, Cau.sCauLDesc, "
    "cac.dCacDataScadenza, tcca.fCcaImportoIst AS FCCAIMPORTOIST, cac.dCacDataPagamento, Acb.sAcbIntestatario, "
    "Ans.sAnsAnnoDesc, tcca.sCcaSDesc, tcca.sCcaLDesc, TMpg.sMpgDescL, Acb.sAcbIBan, cac.fcacimporto, "
    "vcls_classi.sClsSDesc, vcls_classi.sClsDesc "
    "FROM TMpg_ModPagam TMpg "
    "INNER JOIN TAcb_AluCoordBan Acb ON (Acb.iMpgId = TMpg.iMpgId) "
    "INNER JOIN TAna_Anagrafiche Ana ON (Ana.iAnaId = Acb.iAnaId) "
    "INNER JOIN TSit_Situazioni Sit ON (Sit.iAnaId = Ana.iAnaId) "
    "INNER JOIN TAns_AnniScolast ans ON (ans.dAnsVeltoInizio = Sit.dStart) "
    "INNER JOIN TAcbCau Ac ON (Ac.iAcbId = Acb.iAcbId) "
    "INNER JOIN TCauCca Cc ON (Cc.iCauId = Ac.iCauId) "
    "INNER JOIN TCca_CompCausali tcca ON (tcca.iCcaId = Cc.iCcaId AND tcca.dStart = ans.dAnsVeltoInizio) "
    "INNER JOIN TClsPst Pst ON (Pst.iClsPstId = Sit.iClsPstId) "
    "INNER JOIN VCls_Classi vcls_classi ON (vcls_classi.iClsId = Pst.iClsId AND vcls_classi.dStart_Cls + 0 = ans.dAnsVeltoInizio) "
    "INNER JOIN TCau_Causali Cau ON (Cau.iCauId = Ac.iCauId AND Cau.dStart + 0 = ans.dAnsVeltoInizio) "
    "INNER JOIN TCac_CcaAcbCau cac ON (cac.iAcbCauId = Ac.iAcbCauId AND cac.iCcaId = tcca.iCcaId) "
    "WHERE ans.iansid = :iansid AND vcls_classi.iclsid = :iclsid "
    "AND cac.dCacDataScadenza BETWEEN :DataScadenzaDal AND :DataScadenzaAl %1 %2 "
    "ORDER BY Ana.sAnaCognome, Ana.sAnaNome, Acb.sAcbIntestatario, cac.dCacDataScadenza, tcca.sCcaSDesc, cac.iCacId"_s;

// Every instalment of the school year: those to pay, then those paid.
QString RicevutaTuttoPart(int stato)
{
    return u"SELECT %1 AS iStato, TRIM('%2') AS sStato, Cls.sClsSDesc, Cls.sClsDesc, Ana.iAnaId, Ana.sAnaCognome, Ana.sAnaNome, "
           "Ana.sAnaCodFiscale, Acb.sAcbIntestatario, Cau.sCauSDesc, Cau.sCauLDesc, Cac.iCacId, Cac.dCacDataScadenza, "
           "Cac.fCacImporto, Cac.fCacImpDaDote, Cac.dCacDataPagamento, Ans.sAnsAnnoDesc, Cca.sCcaSDesc, Cca.sCcaLDesc, "
           "Cac.bCacNote "
           "FROM TAcb_AluCoordBan Acb "
           "INNER JOIN TAcbCau Ac ON (Ac.iAcbId = Acb.iAcbId) "
           "INNER JOIN TCauCca Cc ON (Cc.iCauId = Ac.iCauId) "
           "INNER JOIN TCca_CompCausali Cca ON (Cca.iCcaId = Cc.iCcaId) "
           "INNER JOIN TAna_Anagrafiche Ana ON (Ana.iAnaId = Acb.iAnaId) "
           "INNER JOIN TSit_Situazioni Sit ON (Sit.iAnaId = Ana.iAnaId) "
           "INNER JOIN TAns_AnniScolast ans ON (ans.dAnsVeltoInizio = Sit.dStart) "
           "INNER JOIN TClsPst Pst ON (Pst.iClsPstId = Sit.iClsPstId) "
           "INNER JOIN VCls_Classi Cls ON (Cls.iClsId = Pst.iClsId AND Cls.dStart_Cls + 0 = ans.dAnsVeltoInizio) "
           "INNER JOIN TCau_Causali Cau ON (Cau.iCauId = Ac.iCauId AND Cau.dStart + 0 = ans.dAnsVeltoInizio) "
           "INNER JOIN TCac_CcaAcbCau Cac ON (Cac.iAcbCauId = Ac.iAcbCauId AND Cac.iCcaId = Cca.iCcaId) "
           "WHERE ans.iansid = :iansid AND Cac.dCacDataPagamento IS %3 "_s
        .arg(stato)
        .arg(stato == 0 ? u"Da pagare"_s : u"Pagate"_s, stato == 0 ? u"NULL"_s : u"NOT NULL"_s);
}

const QString RicevutaTuttoSQL = RicevutaTuttoPart(0) + u"UNION ALL "_s + RicevutaTuttoPart(1)
    + u"ORDER BY 1, 3, 6, 7, 5, 13, 18"_s;

// The pupils of the school year with their first dwelling; per pupil the
// holder record is the first one (a second one of the other parent would
// list the pupil twice), per holder each record with its payer.
QString RiscontroSQL(bool perHolder)
{
    const QString dwelling =
        FirstDwellingColumn(DwellingAddress(), u"Ana.iAnaId"_s, u"sIndirizzo"_s) + u", "_s
        + FirstDwellingColumn(u"Cap.sCapValue"_s, u"Ana.iAnaId"_s, u"sCapValue"_s) + u", "_s
        + FirstDwellingColumn(u"Cap.sComDesc || COALESCE(' (' || Cap.sProSigla || ')', '')"_s, u"Ana.iAnaId"_s,
                              u"sComune"_s);
    const QString head = perHolder ? u"SELECT Acb.iAcbId, Ana.iAnaId, "_s : u"SELECT Ana.iAnaId, Acb.iAcbId, "_s;
    const QString payer = perHolder ? u"Gen.sAnaCognome AS cognome_gen, Gen.sAnaNome AS nome_gen, "
                                      "Gen.sAnaCodFiscale AS sCodFiscaleGen, "_s
                                    : QString();
    const QString holderJoin =
        perHolder ? u"INNER JOIN TAcb_AluCoordBan Acb ON (Acb.iAnaId = Ana.iAnaId) "
                    "INNER JOIN TAna_Anagrafiche Gen ON (Gen.iAnaId = Acb.iAnaId_Gen) "_s
                  : u"LEFT OUTER JOIN TAcb_AluCoordBan Acb ON (Acb.iAcbId = "
                    "(SELECT MIN(A1.iAcbId) FROM TAcb_AluCoordBan A1 WHERE A1.iAnaId = Ana.iAnaId)) "_s;
    return head + u"Ana.sAnaCognome, Ana.sAnaNome, Cls.sClsSDesc, Cls.sClsDesc, Ana.sAnaCodFiscale, "
                  "Mpg.sMpgDescL, tcag.sAnaCagCode, Acb.sAcbIBan, Acb.sAcbIntestatario, "_s
        + payer + dwelling
        + u" FROM TAna_Anagrafiche Ana "
          "INNER JOIN TAnaCag tcag ON (tcag.iAnaId = Ana.iAnaId AND tcag.iCagId = 1) "
          "INNER JOIN TSit_Situazioni Sit ON (Sit.iAnaId = Ana.iAnaId) "
          "INNER JOIN TAns_AnniScolast ans ON (ans.dAnsVeltoInizio = Sit.dStart) "
          "INNER JOIN TClsPst Pst ON (Pst.iClsPstId = Sit.iClsPstId) "
          "INNER JOIN VCls_Classi Cls ON (Cls.iClsId = Pst.iClsId AND Cls.dStart_Cls + 0 = ans.dAnsVeltoInizio) "_s
        + holderJoin
        + u"LEFT OUTER JOIN TMpg_ModPagam Mpg ON (Mpg.iMpgId = Acb.iMpgId) "
          "WHERE ans.iansid = :iansid /* ONLYMETADATA */ "
          "ORDER BY Cls.sClsDesc, Ana.sAnaCognome, Ana.sAnaNome, Ana.iAnaId"_s
        + (perHolder ? u", Acb.iAcbId"_s : QString());
}

// The instalments of one pupil (or one holder record) of a school year.
QString VersamentiSQL(bool perHolder)
{
    return u"SELECT cac.iCacId, cac.dCacDataScadenza, Cau.sCauSDesc, Cau.sCauLDesc, cac.fCacImporto, cac.fCacImpDaDote, "
           "cac.dCacDataPagamento, Cca.sCcaSDesc, Cca.sCcaLDesc, Mpg.sMpgDescL, cac.bCacNote, Cca.fCcaImportoIst, "
           "Ac.bAcbCauNote, tacb.sAcbIntestatario, "
           "(SELECT SUM(Caa.fCaaImporto) FROM TCaa_CacAcconti Caa WHERE Caa.iCacId = cac.iCacId) AS fAcconti "
           "FROM TAcb_AluCoordBan tacb "
           "LEFT OUTER JOIN TMpg_ModPagam Mpg ON (Mpg.iMpgId = tacb.iMpgId) "
           "INNER JOIN TAcbCau Ac ON (Ac.iAcbId = tacb.iAcbId) "
           "INNER JOIN TCauCca Cc ON (Cc.iCauId = Ac.iCauId) "
           "INNER JOIN TCca_CompCausali Cca ON (Cca.iCcaId = Cc.iCcaId) "
           "INNER JOIN TAna_Anagrafiche tana ON (tana.iAnaId = tacb.iAnaId) "
           "INNER JOIN TCau_Causali Cau ON (Cau.iCauId = Ac.iCauId) "
           "INNER JOIN TAns_AnniScolast ans ON (ans.dAnsVeltoInizio = Cau.dStart) "
           "INNER JOIN TCac_CcaAcbCau cac ON (cac.iAcbCauId = Ac.iAcbCauId AND cac.iCcaId = Cca.iCcaId) "
           "WHERE ans.iansid = :iansid AND "_s
        + (perHolder ? u"tacb.iacbid = :iacbid "_s : u"tana.ianaid = :ianaid "_s)
        + u"ORDER BY cac.dCacDataScadenza, Cca.sCcaSDesc, cac.iCacId"_s;
}

const QString DoteResiduaSQL =
    u"SELECT (SELECT SUM(Dos.fDosImportoResiduo) FROM TDos_DoteScuola Dos "
    "INNER JOIN TAns_AnniScolast A ON (A.iAnsId = :iAnsId) "
    "WHERE Dos.iAcbId = :iAcbId AND Dos.dStart BETWEEN A.dAnsVeltoInizio AND A.dAnsVeltoFine "
    "AND Dos.fDosImportoResiduo > 0) AS fDoteResidua, "
    "(SELECT sAnsAnnoDesc FROM TAns_AnniScolast WHERE iAnsId = :iAnsId) AS sAnsAnnoDesc FROM RDB$DATABASE"_s;

QString AutorizRidSQL()
{
    auto pupil = [](const QString &expr, const QString &alias) {
        return FirstDwellingColumn(expr, u"Alu.iAnaId"_s, alias);
    };
    auto payer = [](const QString &expr, const QString &alias) {
        return FirstDwellingColumn(expr, u"Acb.iAnaId_Gen"_s, alias);
    };
    return u"SELECT Acb.iAcbId, Alu.sAnaCognome, Alu.sAnaNome, Acb.sAcbIntestatario, Cls.sClsDesc, "
           "COALESCE(NULLIF(TRIM(Acb.sAcbIBan), ''), '___________________________________________') AS sAcbIBan, "
           "Alu.sAnaCodFiscale, LPAD(COALESCE(Cag.sAnaCagCode, ''), 16, '0') AS sAnaCagCode, Cls.sClsSDesc, "_s
        + pupil(DwellingAddress(), u"sIndirizzo"_s) + u", "_s + pupil(u"Cap.sCapValue"_s, u"sCapValue"_s) + u", "_s
        + pupil(u"Cap.sComDesc"_s, u"sComDesc"_s) + u", "_s + pupil(u"Cap.sProSigla"_s, u"sProSigla"_s) + u", "_s
        + pupil(u"Sta.sStaDesc"_s, u"sStaDesc"_s) + u", "_s
        + payer(DwellingAddress(), u"sIndirizzoGen"_s) + u", "_s + payer(u"Cap.sCapValue"_s, u"sCapValueGen"_s)
        + u", "_s + payer(u"Cap.sComDesc"_s, u"sComDescGen"_s) + u", "_s + payer(u"Cap.sProSigla"_s, u"sProSiglaGen"_s)
        + u", "_s + payer(u"Sta.sStaDesc"_s, u"sStaDescGen"_s)
        + u", Gen.sAnaCodFiscale AS sCodFiscaleGen, Gen.sAnaCognome AS sCognomeGen, Gen.sAnaNome AS sNomeGen "
          "FROM TAcb_AluCoordBan Acb "
          "INNER JOIN TAna_Anagrafiche Alu ON (Alu.iAnaId = Acb.iAnaId) "
          "INNER JOIN TSit_Situazioni Sit ON (Sit.iAnaId = Alu.iAnaId) "
          "INNER JOIN TAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Sit.dStart) "
          "INNER JOIN TClsPst Pst ON (Pst.iClsPstId = Sit.iClsPstId) "
          "INNER JOIN VCls_Classi Cls ON (Cls.iClsId = Pst.iClsId AND Cls.dStart_Cls + 0 = Ans.dAnsVeltoInizio) "
          "LEFT OUTER JOIN TAnaCag Cag ON (Cag.iAnaId = Alu.iAnaId AND Cag.iCagId = 1) "
          "LEFT OUTER JOIN TAna_Anagrafiche Gen ON (Gen.iAnaId = Acb.iAnaId_Gen) "
          "WHERE Ans.iAnsId = :iAnsId /* ONLYMETADATA */ "
          "ORDER BY Alu.sAnaCognome, Alu.sAnaNome, Acb.iAcbId"_s;
}

// The three sums of a holder record's instalments whose component starts
// within the school year whose id is the financial year's F + shift.
QString SpesometroYearSums(int shift, const QString &suffix)
{
    const QString year = u"CAST(:iAnfId AS INTEGER) %1"_s.arg(shift < 0 ? u"- 1"_s : u"+ 0"_s);
    QString out;
    const QList<QPair<QString, QString>> sums{{u"Cca2.fCcaImportoIst"_s, u"TotaleAS_"_s},
                                              {u"Cac2.fCacImporto"_s, u"PagatoAS_"_s},
                                              {u"Cac2.fCacImpDaDote"_s, u"DoteAS_"_s}};
    for (const auto &[column, name] : sums)
        out += u"(SELECT SUM(%1) FROM TAcbCau Ac2 "
               "INNER JOIN TCac_CcaAcbCau Cac2 ON (Cac2.iAcbCauId = Ac2.iAcbCauId) "
               "INNER JOIN TCca_CompCausali Cca2 ON (Cca2.iCcaId = Cac2.iCcaId) "
               "INNER JOIN TAns_AnniScolast A2 ON (A2.iAnsId = %2) "
               "WHERE Ac2.iAcbId = Acb.iAcbId AND Cca2.dStart BETWEEN A2.dAnsVeltoInizio AND A2.dAnsVeltoFine) AS %3%4, "_s
                   .arg(column, year, name, suffix);
    return out;
}

const QString SpesometroSQL =
    u"SELECT Acb.iAcbId, Alu.iAnaId, Alu.sAnaCognome, Alu.sAnaNome, Alu.sAnaCodFiscale, "
    "Gen.iAnaId AS iAnaId_Gen, Gen.sAnaCognome AS sCognomeGen, Gen.sAnaNome AS sNomeGen, "
    "Gen.sAnaCodFiscale AS sCodFiscaleGen, "
    "SUM(Cca.fCcaImportoIst) AS TotaleAF, SUM(Cac.fCacImporto) AS PagatoAF, SUM(Cac.fCacImpDaDote) AS DoteAF, "_s
    + SpesometroYearSums(-1, u"Ini"_s) + SpesometroYearSums(0, u"Fin"_s)
    + u"(CAST(:iAnfId AS INTEGER) - 1) || '/' || CAST(:iAnfId AS INTEGER) AS AS_ini, "
      "CAST(:iAnfId AS INTEGER) || '/' || (CAST(:iAnfId AS INTEGER) + 1) AS AS_fin "
      "FROM TAcb_AluCoordBan Acb "
      "INNER JOIN TAna_Anagrafiche Alu ON (Alu.iAnaId = Acb.iAnaId) "
      "LEFT OUTER JOIN TAna_Anagrafiche Gen ON (Gen.iAnaId = Acb.iAnaId_Gen) "
      "INNER JOIN TAcbCau Ac ON (Ac.iAcbId = Acb.iAcbId) "
      "INNER JOIN TCac_CcaAcbCau Cac ON (Cac.iAcbCauId = Ac.iAcbCauId) "
      "INNER JOIN TCca_CompCausali Cca ON (Cca.iCcaId = Cac.iCcaId) "
      "INNER JOIN TAnf_AnniFinanz Anf ON (Anf.iAnfId = :iAnfId) "
      "WHERE Cac.dCacDataPagamento BETWEEN Anf.dAnfVeltoInizio AND Anf.dAnfVeltoFine "
      "GROUP BY Acb.iAcbId, Alu.iAnaId, Alu.sAnaCognome, Alu.sAnaNome, Alu.sAnaCodFiscale, "
      "Gen.iAnaId, Gen.sAnaCognome, Gen.sAnaNome, Gen.sAnaCodFiscale "
      "ORDER BY Alu.sAnaCognome, Alu.sAnaNome, Acb.iAcbId"_s;

// Children of the school year with their father (P) and mother (M).
const QString ChildrenOfYear =
    u"FROM TAnaGpt P INNER JOIN TSit_Situazioni SitP ON (SitP.iAnaId = P.iAnaId) "
    "INNER JOIN TAns_AnniScolast AnsP ON (AnsP.dAnsVeltoInizio = SitP.dStart AND AnsP.iAnsId = :iAnsId) "_s;

// A parent pair with more than one child enrolled in the year.
const QString PairCondition =
    u"SELECT 1 FROM TAnaGpt P2 INNER JOIN TAnaGpt M2 ON (M2.iAnaId = P2.iAnaId AND M2.iGptId = 2) "
    "INNER JOIN TSit_Situazioni S2 ON (S2.iAnaId = P2.iAnaId) "
    "INNER JOIN TAns_AnniScolast A2 ON (A2.dAnsVeltoInizio = S2.dStart AND A2.iAnsId = :iAnsId) "
    "WHERE P2.iGptId = 1 AND %1 GROUP BY P2.iAnaId_p, M2.iAnaId_p HAVING COUNT(DISTINCT P2.iAnaId) > 1"_s;

const QString GenitoriSQL =
    u"SELECT 0 AS ord, P.iAnaId_p AS iAnaId_Pad, M.iAnaId_p AS iAnaId_Mad, "
    "Pad.sAnaCognome AS sCognomePad, Pad.sAnaNome AS sNomePad, Mad.sAnaCognome AS sCognomeMad, Mad.sAnaNome AS sNomeMad, "
    "COUNT(DISTINCT P.iAnaId) AS iFigli "_s
    + ChildrenOfYear
    + u"INNER JOIN TAnaGpt M ON (M.iAnaId = P.iAnaId AND M.iGptId = 2) "
      "INNER JOIN TAna_Anagrafiche Pad ON (Pad.iAnaId = P.iAnaId_p) "
      "INNER JOIN TAna_Anagrafiche Mad ON (Mad.iAnaId = M.iAnaId_p) "
      "WHERE P.iGptId = 1 "
      "GROUP BY P.iAnaId_p, M.iAnaId_p, Pad.sAnaCognome, Pad.sAnaNome, Mad.sAnaCognome, Mad.sAnaNome "
      "HAVING COUNT(DISTINCT P.iAnaId) > 1 "
      "UNION ALL "
      "SELECT 1, P.iAnaId_p, 0, Pad.sAnaCognome, Pad.sAnaNome, CAST(NULL AS VARCHAR(60)), CAST(NULL AS VARCHAR(60)), "
      "COUNT(DISTINCT P.iAnaId) "_s
    + ChildrenOfYear
    + u"INNER JOIN TAna_Anagrafiche Pad ON (Pad.iAnaId = P.iAnaId_p) "
      "WHERE P.iGptId = 1 AND NOT EXISTS ("_s
    + PairCondition.arg(u"P2.iAnaId_p = P.iAnaId_p"_s)
    + u") GROUP BY P.iAnaId_p, Pad.sAnaCognome, Pad.sAnaNome HAVING COUNT(DISTINCT P.iAnaId) > 1 "
      "UNION ALL "
      "SELECT 2, 0, P.iAnaId_p, CAST(NULL AS VARCHAR(60)), CAST(NULL AS VARCHAR(60)), Mad.sAnaCognome, Mad.sAnaNome, "
      "COUNT(DISTINCT P.iAnaId) "_s
    + ChildrenOfYear
    + u"INNER JOIN TAna_Anagrafiche Mad ON (Mad.iAnaId = P.iAnaId_p) "
      "WHERE P.iGptId = 2 AND NOT EXISTS ("_s
    + PairCondition.arg(u"M2.iAnaId_p = P.iAnaId_p"_s)
    + u") GROUP BY P.iAnaId_p, Mad.sAnaCognome, Mad.sAnaNome HAVING COUNT(DISTINCT P.iAnaId) > 1 "
      "ORDER BY 1, 4, 5, 6, 7, 2, 3"_s;

// The children of one pair: "%" for a parent stands for any (or none).
const QString FratelliSQL =
    u"SELECT Ana.iAnaId, Ana.sAnaCognome, Ana.sAnaNome, Ana.sAnaCodFiscale, Cls.sClsSDesc, Cls.sClsDesc "
    "FROM TAna_Anagrafiche Ana "
    "INNER JOIN TSit_Situazioni Sit ON (Sit.iAnaId = Ana.iAnaId) "
    "INNER JOIN TAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Sit.dStart) "
    "INNER JOIN TClsPst Pst ON (Pst.iClsPstId = Sit.iClsPstId) "
    "INNER JOIN VCls_Classi Cls ON (Cls.iClsId = Pst.iClsId AND Cls.dStart_Cls + 0 = Ans.dAnsVeltoInizio) "
    "LEFT OUTER JOIN TAnaGpt P ON (P.iAnaId = Ana.iAnaId AND P.iGptId = 1) "
    "LEFT OUTER JOIN TAnaGpt M ON (M.iAnaId = Ana.iAnaId AND M.iGptId = 2) "
    "WHERE Ans.iAnsId = :iAnsId AND COALESCE(CAST(P.iAnaId_p AS VARCHAR(11)), '') LIKE :ianaid_pad "
    "AND COALESCE(CAST(M.iAnaId_p AS VARCHAR(11)), '') LIKE :ianaid_mad "
    "ORDER BY Ana.sAnaCognome, Ana.sAnaNome, Ana.iAnaId"_s;

const QString SediSQL =
    u"SELECT Sed.iSedId, Sed.sSedIndIndirizzo, Sed.sSedFax, Sed.sSedTelefono, Sed.sSedEMail, Sed.sSedCodMecc, "
    "Sed.sSedNomCodiceFisc, Sed.sSedNomSDesc, Sed.sSedNomLDesc, Cap.sCapValue, Cap.sComDesc, Cap.sProSigla, "
    "Cap.sComDesc || COALESCE(' (' || Cap.sProSigla || ')', '') AS sComuneProv, Sed.lDwgSedMain "
    "FROM VSed_Sedi Sed LEFT OUTER JOIN VComCap Cap ON (Cap.iComCapId = Sed.iComCapId) "
    "WHERE Sed.iDwgId = :iDwgId AND (Sed.lDwgSedMain = 1 OR CAST(:All AS INTEGER) = 1) "
    "ORDER BY Sed.lDwgSedMain DESC, Sed.sSedNomSDesc, Sed.iSedId"_s;

// The payments of a calendar year of the chosen payers, with the payer's
// first dwelling (residence first) and the name of the payer's PDF.
const QString AttestazioneTemplate =
    u"SELECT Pag.iAnaId_Gen, Gen.sAnaCognome AS sCognomeGen, Gen.sAnaNome AS sNomeGen, "
    "Gen.sAnaCodFiscale AS sCodFiscaleGen, "_s
    + FirstDwellingColumn(DwellingAddress(), u"Gen.iAnaId"_s, u"sIndirizzoGen"_s, 2) + u", "_s
    + FirstDwellingColumn(u"Cap.sCapValue"_s, u"Gen.iAnaId"_s, u"sCapValueGen"_s, 2) + u", "_s
    + FirstDwellingColumn(u"Cap.sComDesc || COALESCE(' (' || Cap.sProSigla || ')', '')"_s, u"Gen.iAnaId"_s,
                          u"sComuneGen"_s, 2)
    + u", Pag.iAnaId, Alu.sAnaCognome, Alu.sAnaNome, Alu.sAnaCodFiscale, Pag.iCacId, Pag.iCaaId, Pag.lPagTipo, "
      "TRIM(IIF(Pag.lPagTipo = 1, 'Acconto', IIF(Pag.lCauTipo = 1, 'Rimborso', 'Rata'))) AS sTipo, "
      "Pag.dPagData, Pag.fPagImporto, Pag.fPagDote, Pag.sCauLDesc, Pag.sCcaLDesc, "
      "'Attestazione_' || CAST(:iAnno AS INTEGER) || '_' || UPPER(Gen.sAnaCognome) || '_' || UPPER(Gen.sAnaNome) || '_' "
      "|| COALESCE(NULLIF(TRIM(Gen.sAnaCodFiscale), ''), CAST(Gen.iAnaId AS VARCHAR(11))) AS sFileName "
      "FROM VPag_PagamentiFamiglie Pag "
      "INNER JOIN TAna_Anagrafiche Gen ON (Gen.iAnaId = Pag.iAnaId_Gen) "
      "INNER JOIN TAna_Anagrafiche Alu ON (Alu.iAnaId = Pag.iAnaId) "
      "WHERE Pag.dPagData BETWEEN :dDal AND :dAl AND (Pag.iDwgId IS NULL OR Pag.iDwgId = :iDwgId) "
      "AND Pag.iAnaId_Gen IN (%1) "
      "ORDER BY Gen.sAnaCognome, Gen.sAnaNome, Gen.iAnaId, Alu.sAnaCognome, Alu.sAnaNome, Alu.iAnaId, Pag.dPagData, "
      "Pag.iCacId, Pag.iCaaId"_s;

// ------------------------------------------------------------ helpers


void CreateParams(TVtQueryCollection *q, const QList<QPair<QString, QMetaType::Type>> &params)
{
    q->Params().Clear();
    for (const auto &[name, type] : params)
        q->Params().CreateParam(type, name);
}

QVariant Current(TVtQueryCollection *q, const QString &field)
{
    return q->Active() && !q->IsEmpty() ? q->FieldByName(field)->Value() : QVariant();
}

QVariant SchoolYear()
{
    return TEbdContext::Bindable(TEbdCtx::AnsId);
}

// The parent of a siblings' row as the children's statement matches it.
QString ParentPattern(const QVariant &id)
{
    return id.isNull() || id.toInt() == 0 ? u"%"_s : QString::number(id.toInt());
}

template <class T> T *Dialog(QWidget *form)
{
    return qobject_cast<T *>(form);
}
}

// ------------------------------------------------------------ creation

TdmEbdReport::TdmEbdReport(QObject *parent) : QObject(parent)
{
    setObjectName(u"dmEbdReport"_s);
    // Every collection reads through the global connection (none of its own).
    qquClassi = NewQuery(u"qquClassi"_s, true);
    qquCompXCls = NewQuery(u"qquCompXCls"_s, false);
    qquRicevutaXClasse = NewQuery(u"qquRicevutaXClasse"_s, false);
    qquElencoXClasse = NewQuery(u"qquElencoXClasse"_s, true);
    qquTipoPagam = NewQuery(u"qquTipoPagam"_s, false);
    qquClasse = NewQuery(u"qquClasse"_s, false);
    qquIntestatario = NewQuery(u"qquIntestatario"_s, false);
    qquRicevuta_Tutto = NewQuery(u"qquRicevuta_Tutto"_s, false);
    qquRiscontroAlu = NewQuery(u"qquRiscontroAlu"_s, true);
    qquRiscontroAluPag = NewQuery(u"qquRiscontroAluPag"_s, true);
    qquVersamenti = NewQuery(u"qquVersamenti"_s, false);
    qquVersamentiPag = NewQuery(u"qquVersamentiPag"_s, false);
    qquDoteResidua = NewQuery(u"qquDoteResidua"_s, false);
    qquAutorizRid = NewQuery(u"qquAutorizRid"_s, true);
    qquSpesometro = NewQuery(u"qquSpesometro"_s, false);
    qquGenitori = NewQuery(u"qquGenitori"_s, false);
    qquFratelli = NewQuery(u"qquFratelli"_s, false);
    qquSedi = NewQuery(u"qquSedi"_s, false);
    qquAttestazione = NewQuery(u"qquAttestazione"_s, false);
    qquRiscontroAluPag->KeyFields = u"iAcbId"_s;
    qquAutorizRid->KeyFields = u"iAcbId"_s;

    frdClassi = static_cast<TVtfrDBDataSet *>(Publish(u"frdClassi"_s, qquClassi, true, u"TfmEbdRptSelClsComp"_s));
    Publish(u"frdCompXCls"_s, qquCompXCls, false);
    Publish(u"frdRicevutaXClasse"_s, qquRicevutaXClasse, false);
    frbElencoXClasse =
        static_cast<TVtfrDBDataSet *>(Publish(u"frbElencoXClasse"_s, qquElencoXClasse, true, u"TfmEbcElencoXClassi"_s));
    Publish(u"frdTipoPagamento"_s, qquTipoPagam, false);
    Publish(u"frdClasse"_s, qquClasse, false);
    Publish(u"frdIntestatario"_s, qquIntestatario, false);
    Publish(u"frdRicevuta_Tutto"_s, qquRicevuta_Tutto, false);
    frdRiscontroAlu =
        static_cast<TVtfrDBDataSet *>(Publish(u"frdRiscontroAlu"_s, qquRiscontroAlu, true, u"TfmVtMultiSelect"_s));
    frdRiscontroAluPag =
        static_cast<TVtfrDBDataSet *>(Publish(u"frdRiscontroAluPag"_s, qquRiscontroAluPag, true, u"TfmVtMultiSelect"_s));
    Publish(u"frdVersamentiAlu"_s, qquVersamenti, false);
    Publish(u"frdVersamentiPag"_s, qquVersamentiPag, false);
    Publish(u"frdDoteResidua"_s, qquDoteResidua, false);
    frdAutorizRid =
        static_cast<TVtfrDBDataSet *>(Publish(u"frdAutorizRid"_s, qquAutorizRid, true, u"TfmVtMultiSelect"_s));
    Publish(u"frdSpesometro"_s, qquSpesometro, false);
    Publish(u"frdGenitori"_s, qquGenitori, false);
    Publish(u"frdFratelli"_s, qquFratelli, false);
    Publish(u"frdSedi"_s, qquSedi, false);
    frdAttestazione = static_cast<TVtfrDBDataSet *>(
        Publish(u"frdAttestazione"_s, qquAttestazione, false, u"TfmEbdRptSelAttestazione"_s));
    frdAttestazione->OnAfterSelect = [this](TVtfrDBDataSet *, QWidget *form, bool confirmed) {
        if (confirmed)
            AttestazioneAfterSelect(form);
    };

    qquTipoPagam->BeforeOpen = [this](TVtQueryCollection *) { TipoPagamBeforeOpen(); };
    qquTipoPagam->AfterScroll = [this](TVtQueryCollection *) { TipoPagamAfterScroll(); };
    qquClasse->BeforeOpen = [this](TVtQueryCollection *) { ClasseBeforeOpen(); };
    qquClasse->AfterScroll = [this](TVtQueryCollection *) { ClasseAfterScroll(); };
    qquIntestatario->BeforeOpen = [this](TVtQueryCollection *) { IntestatarioBeforeOpen(); };
    frdClassi->OnBeforeSelect = [this](TVtfrDBDataSet *, QWidget *form) { ClassiBeforeSelect(form); };
    frdClassi->OnAfterSelect = [this](TVtfrDBDataSet *, QWidget *form, bool) { ClassiAfterSelect(form); };
    qquClassi->AfterScroll = [this](TVtQueryCollection *) { ClassiAfterScroll(); };
    frbElencoXClasse->OnBeforeSelect = [this](TVtfrDBDataSet *, QWidget *form) { ElencoXClasseBeforeSelect(form); };
    frbElencoXClasse->OnAfterSelect = [this](TVtfrDBDataSet *, QWidget *form, bool confirmed) {
        ElencoXClasseAfterSelect(form, confirmed);
    };
    qquElencoXClasse->AfterScroll = [this](TVtQueryCollection *) { ElencoXClasseAfterScroll(); };
    qquRicevutaXClasse->BeforeOpen = [this](TVtQueryCollection *) { RicevutaXClasseBeforeOpen(); };
    frdRiscontroAlu->OnBeforeSelect = [this](TVtfrDBDataSet *, QWidget *form) { RiscontroBeforeSelect(form, false); };
    frdRiscontroAluPag->OnBeforeSelect = [this](TVtfrDBDataSet *, QWidget *form) { RiscontroBeforeSelect(form, true); };
    qquRiscontroAlu->AfterScroll = [this](TVtQueryCollection *) { RiscontroAluAfterScroll(); };
    qquRiscontroAluPag->AfterScroll = [this](TVtQueryCollection *) { RiscontroAluPagAfterScroll(); };
    frdAutorizRid->OnBeforeSelect = [this](TVtfrDBDataSet *, QWidget *form) { AutorizRidBeforeSelect(form); };
    qquAutorizRid->BeforeOpen = [](TVtQueryCollection *q) { SetReportParam(q, u"iAnsId"_s, QMetaType::Int, SchoolYear()); };
    qquGenitori->AfterScroll = [this](TVtQueryCollection *) { GenitoriAfterScroll(); };
    qquRicevuta_Tutto->BeforeOpen = [](TVtQueryCollection *q) {
        SetReportParam(q, u"iansid"_s, QMetaType::Int, SchoolYear());
    };
    qquSedi->BeforeOpen = [](TVtQueryCollection *q) {
        SetReportParam(q, u"iDwgId"_s, QMetaType::Int, TEbdContext::Bindable(TEbdCtx::DwgId));
        SetReportParam(q, u"All"_s, QMetaType::Int, 0);
    };

    m_ebs = new TdmEbsReport(this);
    dmEbsReport = m_ebs;

    TdmVtRptFR::PublishHandler(u"SetDateAfterSelectForm"_s, [](TfrReport *r, TfrDBDataSet *ds) {
        if (dmEbdReport)
            dmEbdReport->SetDateAfterSelectForm(r, ds);
    });
    TdmVtRptFR::PublishHandler(u"SetSprIstIdBeforeOpen"_s, [](TfrReport *r, TfrDBDataSet *ds) {
        if (dmEbdReport)
            dmEbdReport->SetSprIstIdBeforeOpen(r, ds);
    });
    TdmVtRptFR::PublishHandler(u"SetCommonParamsBeforeOpen"_s, [](TfrReport *r, TfrDBDataSet *ds) {
        if (dmEbdReport)
            dmEbdReport->SetCommonParamsBeforeOpen(r, ds);
    });
    QStringList &declared = TdmVtRptFR::DeclaredVariables();
    for (const QString &name : VariableNames())
        if (!declared.contains(name))
            declared << name;

    dmEbdReport = this;
    gEbdReportModule = this;
}

TdmEbdReport::~TdmEbdReport()
{
    if (m_engine) {
        m_engine->OnGetValue = nullptr;
        m_engine->OnBeginPrint = nullptr;
        m_engine->OnEndPrint = nullptr;
        m_engine->OnDesignerFieldList = nullptr;
    }
    delete m_ebs;
    if (dmEbdReport == this)
        dmEbdReport = nullptr;
    if (gEbdReportModule == this)
        gEbdReportModule = nullptr;
}



// ------------------------------------------------------------ set-up

QString TdmEbdReport::RicevutaXClasseSQL(const QString &first, const QString &second) const
{
    return RicevutaXClasseTemplate.arg(first, second);
}

QString TdmEbdReport::CompXClsSQL(const QString &components) const
{
    return CompXClsTemplate.arg(components);
}

void TdmEbdReport::SetTexts()
{
    using P = QList<QPair<QString, QMetaType::Type>>;
    const auto Int = QMetaType::Int;
    const auto Date = QMetaType::QDate;
    const auto Text = QMetaType::QString;
    const P range{{u"DataScadenzaDal"_s, Date}, {u"DataScadenzaAl"_s, Date}};

    qquClassi->CommandText = ClassiSQL;
    CreateParams(qquClassi, {{u"iAnsId"_s, Int}});
    qquCompXCls->CommandText = CompXClsSQL(InList(m_componentIds));
    CreateParams(qquCompXCls, range + P{{u"iClsId"_s, Int}, {u"iMpgId"_s, Text}});
    qquRicevutaXClasse->CommandText = RicevutaXClasseSQL(QString(), QString());
    CreateParams(qquRicevutaXClasse, range + P{{u"iansid"_s, Int}, {u"iclsid"_s, Int}, {u"iMpgId"_s, Int}});
    qquElencoXClasse->CommandText = ElencoXClasseSQL;
    CreateParams(qquElencoXClasse, {{u"iAnsId"_s, Int}});

    qquTipoPagam->CommandText = QString(TipoPagamSQL).replace(ModeMarker, QString());
    CreateParams(qquTipoPagam, range + P{{u"iAnsId"_s, Int}, {u"iMpgId"_s, Int}});
    qquClasse->CommandText = ClasseSQL;
    CreateParams(qquClasse, range + P{{u"iAnsId"_s, Int}, {u"iMpgId"_s, Int}});
    qquIntestatario->CommandText = IntestatarioSQL;
    CreateParams(qquIntestatario, range + P{{u"iAnsId"_s, Int}, {u"iMpgId"_s, Int}, {u"iClsId"_s, Int}});
    qquRicevuta_Tutto->CommandText = RicevutaTuttoSQL;
    CreateParams(qquRicevuta_Tutto, {{u"iansid"_s, Int}});

    qquRiscontroAlu->CommandText = RiscontroSQL(false);
    CreateParams(qquRiscontroAlu, {{u"iansid"_s, Int}});
    qquRiscontroAluPag->CommandText = RiscontroSQL(true);
    CreateParams(qquRiscontroAluPag, {{u"iansid"_s, Int}});
    qquVersamenti->CommandText = VersamentiSQL(false);
    CreateParams(qquVersamenti, {{u"iansid"_s, Int}, {u"ianaid"_s, Int}});
    qquVersamentiPag->CommandText = VersamentiSQL(true);
    CreateParams(qquVersamentiPag, {{u"iansid"_s, Int}, {u"iacbid"_s, Int}});
    qquDoteResidua->CommandText = DoteResiduaSQL;
    CreateParams(qquDoteResidua, {{u"iAcbId"_s, Int}, {u"iAnsId"_s, Int}});

    qquAutorizRid->CommandText = AutorizRidSQL();
    CreateParams(qquAutorizRid, {{u"iAnsId"_s, Int}});
    qquSpesometro->CommandText = SpesometroSQL;
    CreateParams(qquSpesometro, {{u"iAnfId"_s, Int}});
    qquGenitori->CommandText = GenitoriSQL;
    CreateParams(qquGenitori, {{u"iAnsId"_s, Int}});
    qquFratelli->CommandText = FratelliSQL;
    CreateParams(qquFratelli, {{u"iAnsId"_s, Int}, {u"ianaid_pad"_s, Text}, {u"ianaid_mad"_s, Text}});
    qquAttestazione->CommandText = AttestazioneSQL(QString());
    CreateParams(qquAttestazione, {{u"iAnno"_s, Int}, {u"dDal"_s, Date}, {u"dAl"_s, Date}, {u"iDwgId"_s, Int}});
    qquSedi->CommandText = SediSQL;
    CreateParams(qquSedi, {{u"iDwgId"_s, Int}, {u"All"_s, Int}});

    // Set at once: these follow the working context through Refresh.
    SetReportParam(qquGenitori, u"iAnsId"_s, Int, SchoolYear());
    SetReportParam(qquAutorizRid, u"iAnsId"_s, Int, SchoolYear());
    SetReportParam(qquSpesometro, u"iAnfId"_s, Int, TEbdContext::Bindable(TEbdCtx::AnfId));
}

void TdmEbdReport::Setup()
{
    CloseDataSets();
    SetTexts();
    m_ebs->Setup();
}

void TdmEbdReport::Refresh()
{
    Setup();
}

void TdmEbdReport::RouteEvents(TdmVtRptFR *engine)
{
    m_engine = engine;
    if (!engine)
        return;
    engine->OnGetValue = [this](TfrReport *, const QString &name, QVariant &value, bool &handled) {
        if (GetValue(name, value))
            handled = true;
    };
    engine->OnBeginPrint = [this](TfrReport *report) { m_printing = report; };
    engine->OnEndPrint = [this](TfrReport *, bool completed, const QStringList &files) {
        CloseDataSets();
        m_printing = nullptr;
        TellStatementFiles(completed, files);
    };
    engine->OnDesignerFieldList = [this](TdmVtRptFR *) { PrepareMetadata(); };
}

int TdmEbdReport::BaseRptId() const
{
    if (!m_printing)
        return -1;
    return MapCustomRptId(m_printing->RptId);
}

void TdmEbdReport::SetRidDates(const QDate &start, const QDate &end)
{
    RidStart = start;
    RidEnd = end;
}

QList<TVtQueryCollection *> TdmEbdReport::AllDataSets() const
{
    return m_sets.DataSets() + m_ebs->DataSets();
}

QList<TVtQueryCollection *> TdmEbdReport::AllClientDataSets() const
{
    return m_sets.ClientDataSets() + m_ebs->ClientDataSets();
}

void TdmEbdReport::CloseDataSets()
{
    for (TVtQueryCollection *q : AllDataSets())
        q->Close();
}

void TdmEbdReport::PrepareMetadata()
{
    for (TVtQueryCollection *q : AllClientDataSets())
        TdmVtRptFR::OpenForFieldList(q);
}

// ------------------------------------------------------------ variables

QStringList TdmEbdReport::VariableNames()
{
    return {u"Esercizio finanziario"_s, u"Data inizio"_s, u"Data fine"_s, u"Anno scolastico"_s, u"BarCode"_s,
            u"NumeroCC"_s, u"Conto o Cassa"_s, u"Info conto"_s, u"Tipo conto"_s, u"Numero conto"_s,
            u"dInizioRid"_s, u"dFineRid"_s, u"mpgDesc"_s, u"Anno attestazione"_s};
}

bool TdmEbdReport::GetValue(const QString &name, QVariant &value) const
{
    const int account = TEbdContext::GetOr0(TEbdCtx::SprIstId);
    if (name == u"Esercizio finanziario"_s)
        value = GetCurrentAnfValore();
    else if (name == u"Data inizio"_s)
        value = ReportStart;
    else if (name == u"Data fine"_s)
        value = ReportEnd;
    else if (m_ebs->GetValue(name, value))
        return true;
    else if (name == u"Conto o Cassa"_s)
        value = GetSprIstKind(account) == u"Cassa"_s ? u"CASSA"_s : u"CONTO CORRENTE"_s;
    else if (name == u"Info conto"_s) {
        const QString kind = GetSprIstKind(account);
        value = kind == u"Cassa"_s ? QString() : u"C/C "_s + kind + u" n. "_s + GetSprIstNumCc(account);
    } else if (name == u"Tipo conto"_s)
        value = GetSprIstKind(account);
    else if (name == u"Numero conto"_s)
        value = GetSprIstNumCc(account);
    else if (name == u"dInizioRid"_s)
        value = RidStart;
    else if (name == u"dFineRid"_s)
        value = RidEnd;
    else if (name == u"mpgDesc"_s)
        value = ModeBDesc;
    else if (name == u"Anno attestazione"_s)
        value = m_statementYear;
    else
        return false;
    return true;
}

// ------------------------------------------------------------ generic handlers

void TdmEbdReport::SetDateAfterSelectForm(TfrReport *, TfrDBDataSet *dataSet)
{
    auto *vt = qobject_cast<TVtfrDBDataSet *>(dataSet);
    auto *dates = vt ? qobject_cast<TfmEbsRptSelDate *>(vt->Form()) : nullptr;
    if (!dates || !dataSet->DataSet())
        return;
    ReportStart = dates->StartDate();
    ReportEnd = dates->EndDate();
    SetReportParam(dataSet->DataSet(), u"dInizio"_s, QMetaType::QDate, ReportStart);
    SetReportParam(dataSet->DataSet(), u"dFine"_s, QMetaType::QDate, ReportEnd);
}

void TdmEbdReport::SetSprIstIdBeforeOpen(TfrReport *, TfrDBDataSet *dataSet)
{
    if (dataSet && dataSet->DataSet())
        SetReportParam(dataSet->DataSet(), u"iSprIstId"_s, QMetaType::Int, TEbdContext::Bindable(TEbdCtx::SprIstId));
}

void TdmEbdReport::SetCommonParamsBeforeOpen(TfrReport *report, TfrDBDataSet *dataSet)
{
    SetSprIstIdBeforeOpen(report, dataSet);
    if (dataSet && dataSet->DataSet())
        SetReportParam(dataSet->DataSet(), u"dInizio"_s, QMetaType::QDate, ReportStart);
}

// ------------------------------------------------------------ bank list

void TdmEbdReport::TipoPagamBeforeOpen()
{
    TfmEbcRptSelData dialog(QApplication::activeWindow());
    if (VtExecModal(&dialog) != QDialog::Accepted) {
        if (m_printing)
            m_printing->Cancel();
        RangeAStart = RangeAEnd = QDate();
        return;
    }
    RangeAStart = dialog.StartDate();
    RangeAEnd = dialog.EndDate();
    ModeA = dialog.MpgId();
    qquTipoPagam->CommandText = QString(TipoPagamSQL).replace(
        ModeMarker, ModeA != 0 ? u"AND TMpg.iMpgId = :iMpgId"_s : QString());
    SetReportParam(qquTipoPagam, u"iMpgId"_s, QMetaType::Int, ModeA != 0 ? QVariant(ModeA) : QVariant());
    SetReportParam(qquTipoPagam, u"DataScadenzaDal"_s, QMetaType::QDate, RangeAStart);
    SetReportParam(qquTipoPagam, u"DataScadenzaAl"_s, QMetaType::QDate, RangeAEnd);
    SetReportParam(qquTipoPagam, u"iAnsId"_s, QMetaType::Int, SchoolYear());
}

// A detail already open on the same master row is not read again (the
// engine goes to the first row more than once).
static bool SameParam(TVtQueryCollection *q, const QString &name, const QVariant &value)
{
    const TVtParam *p = q->Params().FindParam(name);
    return q->Active() && p && !value.isNull() && p->Value() == value;
}

void TdmEbdReport::TipoPagamAfterScroll()
{
    const QVariant mode = Current(qquTipoPagam, u"iMpgId"_s);
    if (SameParam(qquClasse, u"iMpgId"_s, mode))
        return;
    qquClasse->Close();
    if (!qquTipoPagam->IsEmpty())
        qquClasse->Open();
}

void TdmEbdReport::ClasseBeforeOpen()
{
    SetReportParam(qquClasse, u"DataScadenzaDal"_s, QMetaType::QDate, RangeAStart);
    SetReportParam(qquClasse, u"DataScadenzaAl"_s, QMetaType::QDate, RangeAEnd);
    SetReportParam(qquClasse, u"iAnsId"_s, QMetaType::Int, SchoolYear());
    SetReportParam(qquClasse, u"iMpgId"_s, QMetaType::Int, Current(qquTipoPagam, u"iMpgId"_s));
}

void TdmEbdReport::ClasseAfterScroll()
{
    if (SameParam(qquIntestatario, u"iClsId"_s, Current(qquClasse, u"iClsId"_s))
        && SameParam(qquIntestatario, u"iMpgId"_s, Current(qquClasse, u"iMpgId"_s)))
        return;
    qquIntestatario->Close();
    if (qquClasse->IsEmpty())
        return;
    SetReportParam(qquIntestatario, u"iMpgId"_s, QMetaType::Int, Current(qquClasse, u"iMpgId"_s));
    SetReportParam(qquIntestatario, u"iClsId"_s, QMetaType::Int, Current(qquClasse, u"iClsId"_s));
    qquIntestatario->Open();
}

void TdmEbdReport::IntestatarioBeforeOpen()
{
    SetReportParam(qquIntestatario, u"DataScadenzaDal"_s, QMetaType::QDate, RangeAStart);
    SetReportParam(qquIntestatario, u"DataScadenzaAl"_s, QMetaType::QDate, RangeAEnd);
    SetReportParam(qquIntestatario, u"iAnsId"_s, QMetaType::Int, SchoolYear());
}

// ------------------------------------------------------------ classes and components

void TdmEbdReport::ClassiBeforeSelect(QWidget *form)
{
    auto *dlg = Dialog<TfmEbdRptSelClsComp>(form);
    if (!dlg)
        return;
    const int base = BaseRptId();
    dlg->SetModPagamVisible(base == 44024);
    dlg->SetCaption(u"Configurazione di stampa"_s);
    dlg->SetCommandText(qquClassi->CommandText);
    dlg->KeyField = u"iClsId"_s;
    dlg->SetParamValue(u"iAnsId"_s, SchoolYear());
    dlg->SetFieldTitle(u"sClsDesc"_s, u"Classe"_s, 300);
    dlg->SetFieldTitle(u"sClsAnnoScol"_s, u"Anno scolastico"_s, 100);
    dlg->SetFieldVisible(u"sClsSDesc"_s, false);
    dlg->AddSortOrder(u"sClsDesc"_s);
    dlg->AddSortOrder(u"sClsAnnoScol;sClsDesc"_s);
}

void TdmEbdReport::ClassiAfterSelect(QWidget *form)
{
    auto *dlg = Dialog<TfmEbdRptSelClsComp>(form);
    if (!dlg)
        return;
    qquClassi->Close();
    SetReportParam(qquClassi, u"iAnsId"_s, QMetaType::Int, SchoolYear());
    m_componentIds.clear();
    for (const QVariant &id : dlg->CompIds())
        m_componentIds << QString::number(id.toInt());
    qquCompXCls->Close();
    qquCompXCls->CommandText = CompXClsSQL(InList(m_componentIds));
    qquRicevutaXClasse->Close();
    qquRicevutaXClasse->CommandText =
        RicevutaXClasseSQL(u"AND tcca.iccaid IN ("_s + InList(m_componentIds) + u")"_s, QString());
    RangeBStart = ReportStart = dlg->StartDate();
    RangeBEnd = ReportEnd = dlg->EndDate();
    const int mode = dlg->MpgId();
    ModeB = mode > 0 ? mode : -1;
    ModeBDesc = mode > 0 ? dlg->MpgDesc() : u"TUTTE"_s;
}

void TdmEbdReport::ClassiAfterScroll()
{
    qquCompXCls->Close();
    qquRicevutaXClasse->Close();
    if (qquClassi->IsEmpty())
        return;
    qquCompXCls->CommandText = CompXClsSQL(InList(m_componentIds));
    SetReportParam(qquCompXCls, u"iClsId"_s, QMetaType::Int, Current(qquClassi, u"iClsId"_s));
    SetReportParam(qquCompXCls, u"DataScadenzaDal"_s, QMetaType::QDate, RangeBStart);
    SetReportParam(qquCompXCls, u"DataScadenzaAl"_s, QMetaType::QDate, RangeBEnd);
    SetReportParam(qquCompXCls, u"iMpgId"_s, QMetaType::QString, ModeB >= 1 ? QString::number(ModeB) : u"%"_s);
    qquCompXCls->Open();
    ModeC = 0;
    SetReportParam(qquRicevutaXClasse, u"iansid"_s, QMetaType::Int, SchoolYear());
    qquRicevutaXClasse->Open();
}

// ------------------------------------------------------------ receipts by class

void TdmEbdReport::ElencoXClasseBeforeSelect(QWidget *form)
{
    auto *dlg = Dialog<TfmEbcElencoXClassi>(form);
    if (!dlg)
        return;
    dlg->SetCaption(u"Selezione classi per Elenco banca"_s);
    dlg->SetCommandText(qquElencoXClasse->CommandText);
    dlg->KeyField = u"iClsId"_s;
    dlg->SetParamValue(u"iAnsId"_s, SchoolYear());
    dlg->SetFieldTitle(u"sClsSDesc"_s, u"Codice"_s, 100);
    dlg->SetFieldTitle(u"sClsDesc"_s, u"Classe"_s, 300);
    dlg->SetFieldTitle(u"ssednomldesc"_s, u"Sede"_s, 300);
    dlg->AddSortOrder(u"sClsSDesc"_s);
    dlg->AddSortOrder(u"sClsDesc"_s);
    dlg->AddSortOrder(u"ssednomldesc"_s);
}

void TdmEbdReport::ElencoXClasseAfterSelect(QWidget *form, bool confirmed)
{
    auto *dlg = Dialog<TfmEbcElencoXClassi>(form);
    if (!dlg)
        return;
    ModeC = dlg->MpgId();
    RangeBStart = dlg->StartDate();
    RangeBEnd = dlg->EndDate();
    if (!confirmed)
        return;
    m_ansElenco = dlg->AnsId();
    qquElencoXClasse->Close();
    SetReportParam(qquElencoXClasse, u"iAnsId"_s, QMetaType::Int, m_ansElenco);
    qquElencoXClasse->Open();
}

void TdmEbdReport::ElencoXClasseAfterScroll()
{
    qquRicevutaXClasse->Close();
    if (qquElencoXClasse->IsEmpty())
        return;
    SetReportParam(qquRicevutaXClasse, u"iansid"_s, QMetaType::Int, m_ansElenco);
    qquRicevutaXClasse->Open();
}

void TdmEbdReport::RicevutaXClasseBeforeOpen()
{
    TVtQueryCollection *q = qquRicevutaXClasse;
    const int base = BaseRptId();
    SetReportParam(q, u"DataScadenzaDal"_s, QMetaType::QDate, RangeBStart);
    SetReportParam(q, u"DataScadenzaAl"_s, QMetaType::QDate, RangeBEnd);
    if (ModeC != 0) {
        q->CommandText = RicevutaXClasseSQL(u" AND TMpg.iMpgId = :iMpgId "_s, u" and cac.dCacDataPagamento is null "_s);
        SetReportParam(q, u"iclsid"_s, QMetaType::Int, Current(qquElencoXClasse, u"iClsId"_s));
        SetReportParam(q, u"iMpgId"_s, QMetaType::Int, ModeC);
        return;
    }
    // 44025 keeps the ticked components; the others list every instalment.
    if (base == 44025)
        q->CommandText = RicevutaXClasseSQL(u"AND tcca.iccaid IN ("_s + InList(m_componentIds) + u")"_s, QString());
    else
        q->CommandText = RicevutaXClasseSQL(QString(), QString());
    TVtQueryCollection *classes = base == 44024 || base == 44025 ? qquClassi : qquElencoXClasse;
    SetReportParam(q, u"iclsid"_s, QMetaType::Int, Current(classes, u"iClsId"_s));
}

// ------------------------------------------------------------ reconciliations

void TdmEbdReport::RiscontroBeforeSelect(QWidget *form, bool perHolder)
{
    auto *dlg = Dialog<TfmVtMultiSelect>(form);
    if (!dlg)
        return;
    TVtQueryCollection *q = perHolder ? qquRiscontroAluPag : qquRiscontroAlu;
    q->Close();
    SetReportParam(q, u"iansid"_s, QMetaType::Int, SchoolYear());
    dlg->SetCommandText(q->CommandText);
    dlg->KeyField = perHolder ? u"iAcbId"_s : u"iAnaId"_s;
    dlg->SetParamValue(u"iansid"_s, SchoolYear());
    dlg->SetCaption(u"Selezione alunni"_s);
    dlg->SetHelpContext(102);
    QStringList shown;
    if (perHolder) {
        dlg->SetDialogWidth(805);
        const QList<QPair<QString, QString>> columns{{u"cognome_gen"_s, u"Cognome Pagante"_s},
                                                     {u"nome_gen"_s, u"Nome Pagante"_s},
                                                     {u"sanacognome"_s, u"Cognome Alunno"_s},
                                                     {u"sananome"_s, u"Nome Alunno"_s},
                                                     {u"sclsdesc"_s, u"Classe"_s}};
        for (const auto &[field, title] : columns) {
            dlg->SetFieldTitle(field, title, 150);
            dlg->AddSortOrder(field);
            shown << field;
        }
    } else {
        const QList<QPair<QString, QString>> columns{
            {u"sanacognome"_s, u"Cognome"_s}, {u"sananome"_s, u"Nome"_s}, {u"sclsdesc"_s, u"Classe"_s}};
        for (const auto &[field, title] : columns) {
            dlg->SetFieldTitle(field, title, field == u"sclsdesc"_s ? 100 : 200);
            dlg->AddSortOrder(field);
            shown << field;
        }
    }
    // Only the columns above are shown.
    const QStringList all{u"iAnaId"_s, u"iAcbId"_s, u"sAnaCognome"_s, u"sAnaNome"_s, u"sClsSDesc"_s, u"sClsDesc"_s,
                          u"sAnaCodFiscale"_s, u"sMpgDescL"_s, u"sAnaCagCode"_s, u"sAcbIBan"_s,
                          u"sAcbIntestatario"_s, u"cognome_gen"_s, u"nome_gen"_s, u"sCodFiscaleGen"_s,
                          u"sIndirizzo"_s, u"sCapValue"_s, u"sComune"_s};
    for (const QString &field : all)
        if (!shown.contains(field, Qt::CaseInsensitive))
            dlg->SetFieldVisible(field, false);
}

void TdmEbdReport::RiscontroAluAfterScroll()
{
    qquVersamenti->Close();
    if (qquRiscontroAlu->IsEmpty())
        return;
    SetReportParam(qquVersamenti, u"iansid"_s, QMetaType::Int, TEbdContext::Bindable(TEbdCtx::CauAnsId));
    SetReportParam(qquVersamenti, u"ianaid"_s, QMetaType::Int, Current(qquRiscontroAlu, u"iAnaId"_s));
    qquVersamenti->Open();
    ReopenDoteResidua(Current(qquRiscontroAlu, u"iAcbId"_s));
}

void TdmEbdReport::RiscontroAluPagAfterScroll()
{
    qquVersamentiPag->Close();
    if (qquRiscontroAluPag->IsEmpty())
        return;
    SetReportParam(qquVersamentiPag, u"iansid"_s, QMetaType::Int, TEbdContext::Bindable(TEbdCtx::CauAnsId));
    SetReportParam(qquVersamentiPag, u"iacbid"_s, QMetaType::Int, Current(qquRiscontroAluPag, u"iAcbId"_s));
    qquVersamentiPag->Open();
    ReopenDoteResidua(Current(qquRiscontroAluPag, u"iAcbId"_s));
}

void TdmEbdReport::ReopenDoteResidua(const QVariant &iAcbId)
{
    qquDoteResidua->Close();
    SetReportParam(qquDoteResidua, u"iAnsId"_s, QMetaType::Int, TEbdContext::Bindable(TEbdCtx::CauAnsId));
    SetReportParam(qquDoteResidua, u"iAcbId"_s, QMetaType::Int, iAcbId);
    qquDoteResidua->Open();
}

// ------------------------------------------------------------ others

void TdmEbdReport::AutorizRidBeforeSelect(QWidget *form)
{
    auto *dlg = Dialog<TfmVtMultiSelect>(form);
    if (!dlg)
        return;
    dlg->SetCommandText(qquAutorizRid->CommandText);
    dlg->KeyField = u"iAcbId"_s;
    dlg->SetParamValue(u"iAnsId"_s, SchoolYear());
    const QList<std::tuple<QString, QString, int>> columns{{u"sAnaCognome"_s, u"Cognome"_s, 100},
                                                          {u"sAnaNome"_s, u"Nome"_s, 100},
                                                          {u"sAcbIntestatario"_s, u"Intestatario"_s, 200},
                                                          {u"sClsDesc"_s, u"Classe alunno"_s, 300}};
    for (const auto &[field, title, width] : columns)
        dlg->SetFieldTitle(field, title, width);
    const QStringList hidden{u"sAcbIBan"_s, u"sAnaCodFiscale"_s, u"sAnaCagCode"_s, u"sClsSDesc"_s, u"sIndirizzo"_s,
                             u"sCapValue"_s, u"sComDesc"_s, u"sProSigla"_s, u"sStaDesc"_s, u"sIndirizzoGen"_s,
                             u"sCapValueGen"_s, u"sComDescGen"_s, u"sProSiglaGen"_s, u"sStaDescGen"_s,
                             u"sCodFiscaleGen"_s, u"sCognomeGen"_s, u"sNomeGen"_s};
    for (const QString &field : hidden)
        dlg->SetFieldVisible(field, false);
}

void TdmEbdReport::GenitoriAfterScroll()
{
    qquFratelli->Close();
    if (qquGenitori->IsEmpty())
        return;
    SetReportParam(qquFratelli, u"ianaid_pad"_s, QMetaType::QString, ParentPattern(Current(qquGenitori, u"iAnaId_Pad"_s)));
    SetReportParam(qquFratelli, u"ianaid_mad"_s, QMetaType::QString, ParentPattern(Current(qquGenitori, u"iAnaId_Mad"_s)));
    SetReportParam(qquFratelli, u"iAnsId"_s, QMetaType::Int, SchoolYear());
    qquFratelli->Open();
}

// ------------------------------------------------------------ yearly statement

QString TdmEbdReport::AttestazioneSQL(const QString &payers)
{
    return AttestazioneTemplate.arg(payers.isEmpty() ? u"NULL"_s : payers);
}

void TdmEbdReport::AttestazioneAfterSelect(QWidget *form)
{
    auto *dlg = Dialog<TfmEbdRptSelAttestazione>(form);
    if (!dlg)
        return;
    m_statementYear = dlg->Anno();
    m_statementOutput = dlg->Uscita();
    m_statementTarget = dlg->Destinazione();
    qquAttestazione->Close();
    qquAttestazione->CommandText = AttestazioneSQL(dlg->SelectedPayers());
    SetReportParam(qquAttestazione, u"iAnno"_s, QMetaType::Int, m_statementYear);
    SetReportParam(qquAttestazione, u"dDal"_s, QMetaType::QDate, TfmEbdRptSelAttestazione::YearStart(m_statementYear));
    SetReportParam(qquAttestazione, u"dAl"_s, QMetaType::QDate, TfmEbdRptSelAttestazione::YearEnd(m_statementYear));
    SetReportParam(qquAttestazione, u"iDwgId"_s, QMetaType::Int, TEbdContext::Bindable(TEbdCtx::DwgId));
    if (!m_printing)
        return;
    if (m_statementOutput == TfmEbdRptSelAttestazione::usPdfPerGenitore)
        m_printing->RedirectToSplit(u"Genitore"_s, m_statementTarget, u"frdAttestazione.SFILENAME"_s);
    else if (m_statementOutput == TfmEbdRptSelAttestazione::usPdfUnico)
        m_printing->RedirectToPdf(m_statementTarget);
}

void TdmEbdReport::TellStatementFiles(bool completed, const QStringList &files)
{
    const int output = m_statementOutput;
    const QString target = m_statementTarget;
    m_statementOutput = TfmEbdRptSelAttestazione::usAnteprima;
    m_statementTarget.clear();
    if (!completed || output == TfmEbdRptSelAttestazione::usAnteprima || target.isEmpty())
        return;
    if (output == TfmEbdRptSelAttestazione::usPdfPerGenitore)
        VtMessageDlg(u"Create %1 attestazioni nella cartella %2."_s.arg(files.size()).arg(target), mtInformation, mbOK);
    else
        VtMessageDlg(u"Creato il file %1."_s.arg(target), mtInformation, mbOK);
    VtMessageService().OpenDocument(target);
}

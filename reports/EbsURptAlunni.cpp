#include "EbsURptAlunni.h"
#include "VtRptFilter.h"

using namespace Qt::StringLiterals;

QString EbsAlunniIscrittiSQL()
{
    return u"SELECT Ana.iAnaId, Ana.sAnaCognome, Ana.sAnaNome, Cag.sAnaCagCode, Cls.sClsSDesc, Cls.iClsId, "
           "Ana.dAnaNascita, COALESCE(ComNas.sComDesc, StaNas.sStaDesc) sLuogoNascita, ProNas.sProSigla sProSiglaNascita, "
           "Ana.sAnaSesso "
           "FROM TAna_Anagrafiche Ana "
           "INNER JOIN TAnaCag Cag ON (Cag.iAnaId = Ana.iAnaId AND Cag.iCagId = 1) "
           "INNER JOIN TSit_Situazioni Sit ON (Sit.iAnaId = Ana.iAnaId) "
           "INNER JOIN TAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Sit.dStart AND Ans.dAnsVeltoFine = Sit.dEnd) "
           "INNER JOIN TClsPst Pst ON (Pst.iClsPstId = Sit.iClsPstId) "
           "INNER JOIN VCls_Classi Cls ON (Cls.iClsId = Pst.iClsId) "
           "LEFT OUTER JOIN TSrpc SrpcNas ON (SrpcNas.iSrpcId = Ana.iSrpcId_Nascita) "
           "LEFT OUTER JOIN TCom_Comuni ComNas ON (ComNas.iComId = SrpcNas.iComId) "
           "LEFT OUTER JOIN TPro_Province ProNas ON (ProNas.iProId = SrpcNas.iProId) "
           "LEFT OUTER JOIN TSta_Stati StaNas ON (StaNas.iStaId = SrpcNas.iStaId) "
           "WHERE (Ans.iAnsId = :iAnsId) AND (Sit.iSitOrdine = 1) "
           "AND (CAST(Cls.iClsId AS VARCHAR(11)) LIKE :iClsId) AND (Cls.iDwgId = :iDwgId) "
           "AND (**MY_FILTER**) /*AND VTRPTFILTER*/ "
           "ORDER BY Ana.sAnaCognome, Ana.sAnaNome, Ana.iAnaId"_s;
}

QString EbsAlunniIscrittiSQL(const QString &myFilter, const QString &condition)
{
    QString sql = EbsAlunniIscrittiSQL();
    sql.replace(QLatin1String(EbsMyFilterMarker), myFilter);
    return TVtRptFilter::ApplyMarkers(sql, condition);
}

-- What each family paid, per paying parent: one row per settled instalment
-- (its settlement date, what was collected and what the grant covered) and
-- one row per advance (on its own date, whether or not the instalment is
-- settled: the instalment's amount is only what was left after it). Refunds
-- (outgoing reasons) are negative. Only holder records with a paying parent.

CREATE VIEW VPag_PagamentiFamiglie (iAnaId_Gen, iAnaId, iAcbId, iCacId, iCaaId, lPagTipo, dPagData, fPagImporto,
                                    fPagDote, iCauId, lCauTipo, sCauLDesc, iCcaId, sCcaLDesc, dCacDataScadenza, iDwgId) AS
  SELECT Acb.iAnaId_Gen, Acb.iAnaId, Acb.iAcbId, Cac.iCacId, CAST(NULL AS INTEGER), CAST(0 AS SMALLINT),
         Cac.dCacDataPagamento,
         IIF(Cau.lCauTipo = 1, -COALESCE(Cac.fCacImporto, 0), COALESCE(Cac.fCacImporto, 0)),
         IIF(Cau.lCauTipo = 1, -COALESCE(Cac.fCacImpDaDote, 0), COALESCE(Cac.fCacImpDaDote, 0)),
         Cau.iCauId, Cau.lCauTipo, Cau.sCauLDesc, Cca.iCcaId, Cca.sCcaLDesc, Cac.dCacDataScadenza, Cau.iDwgId
  FROM TCac_CcaAcbCau Cac
  INNER JOIN TAcbCau Ac ON (Ac.iAcbCauId = Cac.iAcbCauId)
  INNER JOIN TAcb_AluCoordBan Acb ON (Acb.iAcbId = Ac.iAcbId)
  INNER JOIN TCau_Causali Cau ON (Cau.iCauId = Ac.iCauId)
  INNER JOIN TCca_CompCausali Cca ON (Cca.iCcaId = Cac.iCcaId)
  WHERE Cac.dCacDataPagamento IS NOT NULL AND Acb.iAnaId_Gen IS NOT NULL
    AND NOT (COALESCE(Cac.fCacImporto, 0) = 0 AND COALESCE(Cac.fCacImpDaDote, 0) = 0)
  UNION ALL
  SELECT Acb.iAnaId_Gen, Acb.iAnaId, Acb.iAcbId, Cac.iCacId, Caa.iCaaId, CAST(1 AS SMALLINT), Caa.dCaaData,
         IIF(Cau.lCauTipo = 1, -COALESCE(Caa.fCaaImporto, 0), COALESCE(Caa.fCaaImporto, 0)), CAST(0 AS DOUBLE PRECISION),
         Cau.iCauId, Cau.lCauTipo, Cau.sCauLDesc, Cca.iCcaId, Cca.sCcaLDesc, Cac.dCacDataScadenza, Cau.iDwgId
  FROM TCaa_CacAcconti Caa
  INNER JOIN TCac_CcaAcbCau Cac ON (Cac.iCacId = Caa.iCacId)
  INNER JOIN TAcbCau Ac ON (Ac.iAcbCauId = Cac.iAcbCauId)
  INNER JOIN TAcb_AluCoordBan Acb ON (Acb.iAcbId = Ac.iAcbId)
  INNER JOIN TCau_Causali Cau ON (Cau.iCauId = Ac.iCauId)
  INNER JOIN TCca_CompCausali Cca ON (Cca.iCcaId = Cac.iCcaId)
  WHERE Acb.iAnaId_Gen IS NOT NULL;

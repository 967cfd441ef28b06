-- The school year of a class ("2024/2025", nine characters) was typed one
-- character short in VCls_Classi, so that no row of the column could be read.

ALTER VIEW VCls_Classi (iClsId, iAcsId, iSezId, iIndId, iDwgSedId, iDwgId,
                         sAcsSDesc, sSezSDesc, sIndLDesc, sClsSDesc, sClsDesc,
                         sClsAnnoScol, dStart_Cls, dEnd_Cls, dStart, dEnd,
                         sSedNomSDesc, sSedNomLDesc, iLocked) AS
  SELECT Cls.iClsId, Cls.iAcsId, Cls.iSezId, Cls.iIndId, Cls.iDwgSedId, Ds.iDwgId,
         Acs.sAcsSDesc, Sez.sSezSDesc, Ind.sIndLDesc,
         Acs.sAcsSDesc || Sez.sSezSDesc,
         Acs.sAcsSDesc || Sez.sSezSDesc || COALESCE(' ' || Ind.sIndLDesc, ''),
         CAST(CAST(EXTRACT(YEAR FROM Cls.dStart) AS VARCHAR(4)) || '/' ||
           CAST(EXTRACT(YEAR FROM Cls.dStart) + 1 AS VARCHAR(4)) AS VARCHAR(9)),
         Cls.dStart, Cls.dEnd, Cls.dStart, Cls.dEnd,
         Sed.sSedNomSDesc, Sed.sSedNomLDesc, Cls.iLocked
  FROM TCls_Classi Cls
  INNER JOIN TAcs_AnniCorso Acs ON (Acs.iAcsId = Cls.iAcsId)
  INNER JOIN TSez_Sezioni Sez ON (Sez.iSezId = Cls.iSezId)
  LEFT OUTER JOIN TInd_Indirizzo Ind ON (Ind.iIndId = Cls.iIndId)
  LEFT OUTER JOIN TDwgSed Ds ON (Ds.iDwgSedId = Cls.iDwgSedId)
  LEFT OUTER JOIN TSed_Sedi Sed ON (Sed.iSedId = Ds.iSedId);

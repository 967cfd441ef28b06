-- Copy of fee reasons into another school year: PEBS_DUPLICACAUS copies one
-- reason with its components, reusing the components the target year already
-- has; EBS_DUPLICACAUS carries its refusals.

-- A component linked twice to one reason would bill it twice: a repeated
-- link (same reason, same component) is dropped, the first one stays, and
-- from now on the pair is unique.
DELETE FROM TCauCca l
  WHERE EXISTS (SELECT 1 FROM TCauCca f
                WHERE f.iCauId = l.iCauId AND f.iCcaId = l.iCcaId AND f.iCauCcaId < l.iCauCcaId);
COMMIT;
ALTER TABLE TCauCca ADD CONSTRAINT UQ_TCauCca_CauCca UNIQUE (iCauId, iCcaId);

-- The components of a year by code: what the copy looks up for every
-- component it links.
CREATE INDEX IX_TCca_AnnoCodice ON TCca_CompCausali (dStart, dEnd, sCcaSDesc);

CREATE OR ALTER EXCEPTION EBS_DUPLICACAUS 'Duplicazione della causale non possibile.';

-- Copies the reason iCauId into the school year iAnsId, inside the caller's
-- transaction (it never commits). Refused, with nothing written, when the
-- year or the reason is unknown or the year already holds a reason of the
-- same description: same direction, same long description without regard to
-- blanks around it or to case, same owner or one of the two without owner.
-- The copy takes the year's bounds and a new key; each component (in the
-- order of the links) is linked as the year's own component of the same
-- code, description, direction and owner when there is one, otherwise
-- copied with the due date moved by as many years as lie between the two
-- school years (29 February becomes 28 February).
SET TERM ^ ;
CREATE OR ALTER PROCEDURE PEBS_DUPLICACAUS (iAnsId INTEGER, iCauId INTEGER)
AS
  DECLARE VARIABLE sAnno VARCHAR(9);
  DECLARE VARIABLE dInizio DATE;
  DECLARE VARIABLE dFine DATE;
  DECLARE VARIABLE iOrigine INTEGER;
  DECLARE VARIABLE sCauSDesc VARCHAR(20);
  DECLARE VARIABLE sCauLDesc VARCHAR(100);
  DECLARE VARIABLE lCauTipo SMALLINT;
  DECLARE VARIABLE iCauDwg INTEGER;
  DECLARE VARIABLE dOrigine DATE;
  DECLARE VARIABLE nAnni INTEGER;
  DECLARE VARIABLE iNuova INTEGER;
  DECLARE VARIABLE iCca INTEGER;
  DECLARE VARIABLE iDest INTEGER;
  DECLARE VARIABLE sCcaSDesc VARCHAR(20);
  DECLARE VARIABLE sCcaLDesc VARCHAR(100);
  DECLARE VARIABLE iTccId INTEGER;
  DECLARE VARIABLE iAggId INTEGER;
  DECLARE VARIABLE iVproId INTEGER;
  DECLARE VARIABLE iSvoId INTEGER;
  DECLARE VARIABLE iCcaDwg INTEGER;
  DECLARE VARIABLE fImportoIst DOUBLE PRECISION;
  DECLARE VARIABLE fImportoEra DOUBLE PRECISION;
  DECLARE VARIABLE lCcaVuvez SMALLINT;
  DECLARE VARIABLE lCcaTipo SMALLINT;
  DECLARE VARIABLE dScadenza DATE;
BEGIN
  SELECT sAnsAnnoDesc, dAnsVeltoInizio, dAnsVeltoFine
    FROM TAns_AnniScolast
    WHERE iAnsId = :iAnsId
    INTO :sAnno, :dInizio, :dFine;
  IF (dInizio IS NULL) THEN
    EXCEPTION EBS_DUPLICACAUS 'Anno scolastico di destinazione non trovato.';

  SELECT iCauId, sCauSDesc, sCauLDesc, lCauTipo, iDwgId, dStart
    FROM TCau_Causali
    WHERE iCauId = :iCauId
    INTO :iOrigine, :sCauSDesc, :sCauLDesc, :lCauTipo, :iCauDwg, :dOrigine;
  IF (iOrigine IS NULL) THEN
    EXCEPTION EBS_DUPLICACAUS 'Causale da duplicare non trovata.';

  IF (EXISTS (SELECT 1 FROM TCau_Causali c
              WHERE c.dStart = :dInizio AND c.dEnd = :dFine
                AND c.lCauTipo IS NOT DISTINCT FROM :lCauTipo
                AND UPPER(COALESCE(TRIM(c.sCauLDesc), '')) = UPPER(COALESCE(TRIM(:sCauLDesc), ''))
                AND (c.iDwgId = :iCauDwg OR c.iDwgId IS NULL OR :iCauDwg IS NULL))) THEN
    EXCEPTION EBS_DUPLICACAUS 'Nell''anno scolastico ' || sAnno || ' esiste già la causale "'
                              || COALESCE(TRIM(sCauLDesc), '') || '".';

  nAnni = COALESCE(EXTRACT(YEAR FROM dInizio) - EXTRACT(YEAR FROM dOrigine), 0);
  iNuova = NEXT VALUE FOR GEN_VTID;
  INSERT INTO TCau_Causali (iCauId, sCauSDesc, sCauLDesc, lCauTipo, lCauVuvez, dStart, dEnd, iDwgId, iLocked)
    VALUES (:iNuova, :sCauSDesc, :sCauLDesc, :lCauTipo, 1, :dInizio, :dFine, :iCauDwg, 0);

  FOR SELECT ca.iCcaId, ca.sCcaSDesc, ca.sCcaLDesc, ca.iTccId, ca.iAggId, ca.iVproId, ca.iSvoId, ca.iDwgId,
             ca.fCcaImportoIst, ca.fCcaImportoEra, ca.lCcaVuvez, ca.lCcaTipo, ca.dCcaDataScadenza
        FROM TCauCca l
        INNER JOIN TCca_CompCausali ca ON ca.iCcaId = l.iCcaId
        WHERE l.iCauId = :iCauId
        ORDER BY l.iCauCcaId
        INTO :iCca, :sCcaSDesc, :sCcaLDesc, :iTccId, :iAggId, :iVproId, :iSvoId, :iCcaDwg,
             :fImportoIst, :fImportoEra, :lCcaVuvez, :lCcaTipo, :dScadenza
  DO
  BEGIN
    iDest = NULL;
    SELECT FIRST 1 t.iCcaId
      FROM TCca_CompCausali t
      WHERE t.dStart = :dInizio AND t.dEnd = :dFine
        AND t.sCcaSDesc IS NOT DISTINCT FROM :sCcaSDesc
        AND t.sCcaLDesc IS NOT DISTINCT FROM :sCcaLDesc
        AND t.lCcaTipo IS NOT DISTINCT FROM :lCcaTipo
        AND t.iDwgId IS NOT DISTINCT FROM :iCcaDwg
      ORDER BY t.iCcaId
      INTO :iDest;
    IF (iDest IS NULL) THEN
    BEGIN
      iDest = NEXT VALUE FOR GEN_VTID;
      INSERT INTO TCca_CompCausali (iCcaId, sCcaSDesc, sCcaLDesc, iTccId, iAggId, iVproId, iSvoId, iDwgId,
                                    fCcaImportoIst, fCcaImportoEra, lCcaVuvez, lCcaTipo, dStart, dEnd,
                                    dCcaDataScadenza, iLocked)
        VALUES (:iDest, :sCcaSDesc, :sCcaLDesc, :iTccId, :iAggId, :iVproId, :iSvoId, :iCcaDwg,
                :fImportoIst, :fImportoEra, :lCcaVuvez, :lCcaTipo, :dInizio, :dFine,
                DATEADD(:nAnni YEAR TO :dScadenza), 0);
    END
    IF (NOT EXISTS (SELECT 1 FROM TCauCca WHERE iCauId = :iNuova AND iCcaId = :iDest)) THEN
      INSERT INTO TCauCca (iCauCcaId, iCauId, iCcaId, dStart, dEnd, iLocked)
        VALUES (NEXT VALUE FOR GEN_VTID, :iNuova, :iDest, :dInizio, :dFine, 0);
  END

  UPDATE TCau_Causali
    SET lCauVuvez = COALESCE((SELECT MIN(ca.lCcaVuvez)
                              FROM TCauCca l
                              INNER JOIN TCca_CompCausali ca ON ca.iCcaId = l.iCcaId
                              WHERE l.iCauId = :iNuova), 1)
    WHERE iCauId = :iNuova;
END^
SET TERM ; ^

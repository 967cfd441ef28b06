-- Instalments made by the database: assigning a reason to a holder bills
-- each component of the reason as one unpaid instalment; changing the
-- reason of an assignment replaces its instalments, unless one of them
-- carries money.

CREATE OR ALTER EXCEPTION E_ACBCAU_PAGATA 'Impossibile modificare. E'' presente un pagamento per questa causale.';

SET TERM ^ ;
-- One unpaid instalment per component linked to the reason: the component's
-- institute amount (0 when it has none) and due date, less the assignment's
-- percentage where the amount covers it (the rule of the percentage update).
CREATE OR ALTER PROCEDURE PEbd_CreaRate (iAcbCauId INTEGER, iCauId INTEGER, fPercSconto DOUBLE PRECISION)
AS
  DECLARE VARIABLE iCcaId INTEGER;
  DECLARE VARIABLE fImp DOUBLE PRECISION;
  DECLARE VARIABLE dScad DATE;
  DECLARE VARIABLE fPerc DOUBLE PRECISION;
BEGIN
  fPerc = COALESCE(fPercSconto, 0);
  FOR SELECT DISTINCT Cca.iCcaId, COALESCE(Cca.fCcaImportoIst, 0), Cca.dCcaDataScadenza
      FROM TCauCca Ccc
      INNER JOIN TCca_CompCausali Cca ON (Cca.iCcaId = Ccc.iCcaId)
      WHERE Ccc.iCauId = :iCauId
      INTO :iCcaId, :fImp, :dScad
  DO
  BEGIN
    IF (fPerc >= 0 AND fImp >= fImp * fPerc / 100) THEN
      INSERT INTO TCac_CcaAcbCau (iCacId, iAcbCauId, iCcaId, fCacImporto, dCacDataScadenza,
                                  dCacDataPagamento, fCacPercSconto, fCacImpSconto, fCacImpDaDote)
      VALUES (GEN_ID(GEN_VTID, 1), :iAcbCauId, :iCcaId, :fImp - :fImp * :fPerc / 100, :dScad,
              NULL, :fPerc, 0, 0);
    ELSE
      INSERT INTO TCac_CcaAcbCau (iCacId, iAcbCauId, iCcaId, fCacImporto, dCacDataScadenza,
                                  dCacDataPagamento, fCacPercSconto, fCacImpSconto, fCacImpDaDote)
      VALUES (GEN_ID(GEN_VTID, 1), :iAcbCauId, :iCcaId, :fImp, :dScad, NULL, 0, 0, 0);
  END
END^

CREATE OR ALTER TRIGGER TAI_TAcbCau_Rate FOR TAcbCau
ACTIVE AFTER INSERT POSITION 0
AS
BEGIN
  EXECUTE PROCEDURE PEbd_CreaRate(NEW.iAcbCauId, NEW.iCauId, NEW.fAcbCauPercSconto);
END^

-- Changing the reason of an assignment replaces its instalments, unless one
-- of them carries money: a payment date, a grant part that rounds to a
-- whole euro or more, or an advance.
CREATE OR ALTER TRIGGER TAU_TAcbCau_Rate FOR TAcbCau
ACTIVE AFTER UPDATE POSITION 0
AS
BEGIN
  IF (NEW.iCauId IS DISTINCT FROM OLD.iCauId) THEN
  BEGIN
    IF (EXISTS (SELECT 1 FROM TCac_CcaAcbCau Cac
                WHERE Cac.iAcbCauId = OLD.iAcbCauId
                  AND ((Cac.dCacDataPagamento IS NOT NULL)
                       OR (ROUND(COALESCE(Cac.fCacImpDaDote, 0), 0) <> 0)
                       OR EXISTS (SELECT 1 FROM TCaa_CacAcconti Caa WHERE Caa.iCacId = Cac.iCacId)))) THEN
      EXCEPTION E_ACBCAU_PAGATA;
    DELETE FROM TCac_CcaAcbCau WHERE iAcbCauId = OLD.iAcbCauId;
    EXECUTE PROCEDURE PEbd_CreaRate(NEW.iAcbCauId, NEW.iCauId, NEW.fAcbCauPercSconto);
  END
END^

-- A component is billed once per assignment. A database that already holds
-- a component billed twice to one assignment keeps its plain index (its
-- rows are money and stay as they are) and still opens.
EXECUTE BLOCK AS
BEGIN
  IF (NOT EXISTS (SELECT 1 FROM TCac_CcaAcbCau a
                  WHERE EXISTS (SELECT 1 FROM TCac_CcaAcbCau b
                                WHERE b.iAcbCauId = a.iAcbCauId AND b.iCcaId = a.iCcaId AND b.iCacId <> a.iCacId))) THEN
  BEGIN
    EXECUTE STATEMENT 'DROP INDEX IX_TCac_AcbCauCca';
    EXECUTE STATEMENT 'CREATE UNIQUE INDEX IX_TCac_AcbCauCca ON TCac_CcaAcbCau (iAcbCauId, iCcaId)';
  END
END^
SET TERM ; ^

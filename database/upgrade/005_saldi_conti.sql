-- The cash rows keep their outgoing total and current balance from the
-- account's movements: over the row's period (dCaiInizioAnno to
-- dCaiFineAnno, a missing date meaning 1 January or 31 December of its
-- financial year) the outgoing total is the sum of the outgoing movements
-- (lMvmTipo 1), and the current balance the opening balance plus the
-- incoming movements (lMvmTipo 0) less the outgoing total. The incoming
-- total of the fee book (fCaiSaldoIn) is the recalculation's and stays out
-- of the balance. The current difference is then the opening difference
-- plus the collections that no incoming movement has registered yet.

SET TERM ^ ;
-- The totals of one cash row, from its account, year, period and opening balance.
CREATE OR ALTER PROCEDURE PEbc_CaiTotali (iSprIstId INTEGER, iEsercizio INTEGER, dInizio DATE, dFine DATE,
                                          fCassaIn DOUBLE PRECISION)
RETURNS (fSaldoOut DOUBLE PRECISION, fCassaAtt DOUBLE PRECISION)
AS
DECLARE VARIABLE fEntrate DOUBLE PRECISION;
BEGIN
  dInizio = COALESCE(dInizio, CAST(iEsercizio || '-01-01' AS DATE));
  dFine = COALESCE(dFine, CAST(iEsercizio || '-12-31' AS DATE));
  SELECT COALESCE(SUM(IIF(lMvmTipo = 1, fMvmImporto, 0)), 0), COALESCE(SUM(IIF(lMvmTipo = 0, fMvmImporto, 0)), 0)
    FROM TMvm_MovimentiCcp
    WHERE iSprIstId = :iSprIstId AND dMvmDataMov BETWEEN :dInizio AND :dFine
    INTO :fSaldoOut, :fEntrate;
  fCassaAtt = COALESCE(fCassaIn, 0) + fEntrate - fSaldoOut;
  SUSPEND;
END^

-- A new row, a changed opening balance or a moved period is right at once;
-- a direct write of either total is overwritten.
CREATE OR ALTER TRIGGER TBIU_TCai_Totali FOR TCai_CassaIst ACTIVE BEFORE INSERT OR UPDATE POSITION 0
AS
BEGIN
  SELECT fSaldoOut, fCassaAtt
    FROM PEbc_CaiTotali(NEW.iSprIstId, NEW.iCaiEsercizioFin, NEW.dCaiInizioAnno, NEW.dCaiFineAnno, NEW.fCaiCassaIn)
    INTO NEW.fCaiSaldoOut, NEW.fCaiCassaAtt;
END^

-- A movement written, moved or deleted: every cash row whose period holds
-- its old or its new date, of its old or its new account, is computed again.
CREATE OR ALTER TRIGGER TAIUD_TMvm_Totali FOR TMvm_MovimentiCcp ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 0
AS
BEGIN
  IF (UPDATING) THEN
    IF (NEW.iSprIstId = OLD.iSprIstId AND NEW.dMvmDataMov = OLD.dMvmDataMov
        AND NEW.lMvmTipo IS NOT DISTINCT FROM OLD.lMvmTipo AND NEW.fMvmImporto IS NOT DISTINCT FROM OLD.fMvmImporto) THEN
      EXIT;
  IF (NOT INSERTING) THEN
    UPDATE TCai_CassaIst SET fCaiSaldoOut = fCaiSaldoOut
      WHERE iSprIstId = OLD.iSprIstId
        AND OLD.dMvmDataMov BETWEEN COALESCE(dCaiInizioAnno, CAST(iCaiEsercizioFin || '-01-01' AS DATE))
                                AND COALESCE(dCaiFineAnno, CAST(iCaiEsercizioFin || '-12-31' AS DATE));
  IF (NOT DELETING) THEN
    UPDATE TCai_CassaIst SET fCaiSaldoOut = fCaiSaldoOut
      WHERE iSprIstId = NEW.iSprIstId
        AND NEW.dMvmDataMov BETWEEN COALESCE(dCaiInizioAnno, CAST(iCaiEsercizioFin || '-01-01' AS DATE))
                                AND COALESCE(dCaiFineAnno, CAST(iCaiEsercizioFin || '-12-31' AS DATE));
END^

-- The incoming total of the fee book: what was paid into the account on a
-- day of the financial year's calendar dates (NULL when nothing was).
CREATE OR ALTER PROCEDURE PEbc_RicalcSaldoIn (iSprIstId INTEGER, iAnfValore INTEGER)
AS
BEGIN
  UPDATE TCAI_CASSAIST SET FCAISALDOIN = (
      SELECT SUM(cac.FCACIMPORTO) FROM TCAC_CCAACBCAU cac
      INNER JOIN TCca_CompCausali cca ON (cca.iCcaId = cac.iCcaId)
      INNER JOIN TAnf_AnniFinanz anf ON (cac.DCACDATAPAGAMENTO BETWEEN anf.dAnfVeltoInizio AND anf.dAnfVeltoFine)
      WHERE cac.DCACDATAPAGAMENTO IS NOT NULL AND cac.ISPRISTID = :iSprIstId AND anf.iAnfValore = :iAnfValore)
    WHERE ICAIESERCIZIOFIN = :iAnfValore AND ISPRISTID = :iSprIstId;
END^

-- Current difference of an account's cash book for the financial year of a
-- date given as text 'yyyy/mm/dd'; zero without a cash row. One row.
CREATE OR ALTER PROCEDURE PEbc_MvmDiff (iSprIstId INTEGER, sData VARCHAR(10))
RETURNS (fDiff DOUBLE PRECISION)
AS
DECLARE VARIABLE iAnno INTEGER;
BEGIN
  iAnno = CAST(SUBSTRING(sData FROM 1 FOR 4) AS INTEGER);
  fDiff = NULL;
  SELECT COALESCE(fCaiDiffIniz, 0) + COALESCE(fCaiCassaIn, 0) + COALESCE(fCaiSaldoIn, 0)
         - COALESCE(fCaiSaldoOut, 0) - COALESCE(fCaiCassaAtt, 0)
    FROM TCai_CassaIst
    WHERE iSprIstId = :iSprIstId AND iCaiEsercizioFin = :iAnno
    INTO :fDiff;
  fDiff = COALESCE(fDiff, 0);
  SUSPEND;
END^
SET TERM ; ^

-- The rows already there follow their movements from now on.
UPDATE TCai_CassaIst SET fCaiSaldoOut = fCaiSaldoOut;

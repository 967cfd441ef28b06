-- "Verifica saldi": every total of the cash rows of a financial year that
-- differs by half a cent or more from what it is computed from. The
-- incoming total is computed by the same procedure the recalculation
-- writes with, the outgoing total and the balance by the one the triggers
-- use.

SET TERM ^ ;
-- What was paid into the account on a day of the financial year's calendar
-- dates (NULL when nothing was).
CREATE OR ALTER PROCEDURE PEbc_CaiIncassi (iSprIstId INTEGER, iAnfValore INTEGER)
RETURNS (fIncassi DOUBLE PRECISION)
AS
BEGIN
  SELECT SUM(cac.FCACIMPORTO) FROM TCAC_CCAACBCAU cac
    INNER JOIN TCca_CompCausali cca ON (cca.iCcaId = cac.iCcaId)
    INNER JOIN TAnf_AnniFinanz anf ON (cac.DCACDATAPAGAMENTO BETWEEN anf.dAnfVeltoInizio AND anf.dAnfVeltoFine)
    WHERE cac.DCACDATAPAGAMENTO IS NOT NULL AND cac.ISPRISTID = :iSprIstId AND anf.iAnfValore = :iAnfValore
    INTO :fIncassi;
  SUSPEND;
END^

CREATE OR ALTER PROCEDURE PEbc_RicalcSaldoIn (iSprIstId INTEGER, iAnfValore INTEGER)
AS
BEGIN
  UPDATE TCAI_CASSAIST SET FCAISALDOIN = (SELECT fIncassi FROM PEbc_CaiIncassi(:iSprIstId, :iAnfValore))
    WHERE ICAIESERCIZIOFIN = :iAnfValore AND ISPRISTID = :iSprIstId;
END^

CREATE OR ALTER PROCEDURE PEbc_CaiVerifica (iEsercizioFin INTEGER, iDwgId INTEGER)
RETURNS (iCaiId INTEGER, iSprIstId INTEGER, sVoce VARCHAR(20), fRegistrato DOUBLE PRECISION,
         fRicalcolato DOUBLE PRECISION)
AS
DECLARE VARIABLE fCassaIn DOUBLE PRECISION;
DECLARE VARIABLE fSaldoIn DOUBLE PRECISION;
DECLARE VARIABLE fSaldoOut DOUBLE PRECISION;
DECLARE VARIABLE fCassaAtt DOUBLE PRECISION;
DECLARE VARIABLE dInizio DATE;
DECLARE VARIABLE dFine DATE;
DECLARE VARIABLE fCalcOut DOUBLE PRECISION;
DECLARE VARIABLE fCalcAtt DOUBLE PRECISION;
BEGIN
  FOR SELECT Cai.iCaiId, Cai.iSprIstId, COALESCE(Cai.fCaiCassaIn, 0), COALESCE(Cai.fCaiSaldoIn, 0),
             COALESCE(Cai.fCaiSaldoOut, 0), COALESCE(Cai.fCaiCassaAtt, 0), Cai.dCaiInizioAnno, Cai.dCaiFineAnno
      FROM TCai_CassaIst Cai INNER JOIN TSprIst Spr ON (Spr.iSprIstId = Cai.iSprIstId)
      WHERE Cai.iCaiEsercizioFin = :iEsercizioFin AND Spr.iDwgId = :iDwgId AND Spr.iSprIstPgm = 2
      ORDER BY Cai.iSprIstId
      INTO :iCaiId, :iSprIstId, :fCassaIn, :fSaldoIn, :fSaldoOut, :fCassaAtt, :dInizio, :dFine
  DO
  BEGIN
    SELECT COALESCE(SUM(fCaiTccImportoIniz), 0) FROM TCaiTcc WHERE iCaiId = :iCaiId INTO :fRicalcolato;
    IF (ABS(fCassaIn - fRicalcolato) >= 0.005) THEN
    BEGIN
      sVoce = 'Saldo iniziale';
      fRegistrato = fCassaIn;
      SUSPEND;
    END
    SELECT COALESCE(fIncassi, 0) FROM PEbc_CaiIncassi(:iSprIstId, :iEsercizioFin) INTO :fRicalcolato;
    IF (ABS(fSaldoIn - fRicalcolato) >= 0.005) THEN
    BEGIN
      sVoce = 'Saldo entrate';
      fRegistrato = fSaldoIn;
      SUSPEND;
    END
    SELECT fSaldoOut, fCassaAtt FROM PEbc_CaiTotali(:iSprIstId, :iEsercizioFin, :dInizio, :dFine, :fCassaIn)
      INTO :fCalcOut, :fCalcAtt;
    IF (ABS(fSaldoOut - fCalcOut) >= 0.005) THEN
    BEGIN
      sVoce = 'Saldo uscite';
      fRegistrato = fSaldoOut;
      fRicalcolato = fCalcOut;
      SUSPEND;
    END
    IF (ABS(fCassaAtt - fCalcAtt) >= 0.005) THEN
    BEGIN
      sVoce = 'Saldo attuale';
      fRegistrato = fCassaAtt;
      fRicalcolato = fCalcAtt;
      SUSPEND;
    END
  END
END^
SET TERM ; ^

-- Opening a financial year for an account: its cash row with the balance
-- carried forward, its split over typologies 1-4 and the opening
-- difference, locked once done. A year that already has an unlocked row is
-- completed in place. All or nothing: each refusal raises an exception
-- whose text the program shows, and nothing stays written.

CREATE OR ALTER EXCEPTION E_INITANF_CONTO 'Il conto corrente non esiste o è chiuso.';
CREATE OR ALTER EXCEPTION E_INITANF_ANNO 'L''anno finanziario @1 non è definito.';
CREATE OR ALTER EXCEPTION E_INITANF_FATTO 'Le operazioni di inizio anno per l''anno finanziario @1 sono già state fatte.';
CREATE OR ALTER EXCEPTION E_INITANF_SALDO 'Il saldo del conto non corrisponde alla somma delle tipologie.';
CREATE OR ALTER EXCEPTION E_INITANF_DATE 'La data di fine anno dev''essere maggiore della data di inizio.';

SET TERM ^ ;
CREATE OR ALTER PROCEDURE PEBC_INITANNOFIN (
  iEsercizioFin INTEGER, iSprIstId INTEGER,
  fSaldo NUMERIC(18,4), fTasse NUMERIC(18,4), fContributi NUMERIC(18,4), fQuote NUMERIC(18,4),
  fDiversi NUMERIC(18,4), fDifferenze NUMERIC(18,4),
  dInizioAnnoFin DATE, dFineAnnoFin DATE)
AS
DECLARE VARIABLE iCaiId INTEGER;
DECLARE VARIABLE iLocked SMALLINT;
BEGIN
  IF (NOT EXISTS (SELECT 1 FROM TSprIst WHERE iSprIstId = :iSprIstId AND dEnd IS NULL)) THEN
    EXCEPTION E_INITANF_CONTO;
  IF (NOT EXISTS (SELECT 1 FROM TAnf_AnniFinanz WHERE iAnfValore = :iEsercizioFin)) THEN
    EXCEPTION E_INITANF_ANNO USING (iEsercizioFin);
  iCaiId = NULL;
  SELECT iCaiId, COALESCE(iLocked, 0) FROM TCai_CassaIst
    WHERE iSprIstId = :iSprIstId AND iCaiEsercizioFin = :iEsercizioFin
    INTO :iCaiId, :iLocked;
  IF (iCaiId IS NOT NULL AND iLocked <> 0) THEN
    EXCEPTION E_INITANF_FATTO USING (iEsercizioFin);
  IF (COALESCE(fSaldo, 0) <> COALESCE(fTasse, 0) + COALESCE(fContributi, 0) + COALESCE(fQuote, 0)
                             + COALESCE(fDiversi, 0)) THEN
    EXCEPTION E_INITANF_SALDO;
  IF (COALESCE(dFineAnnoFin, CAST(iEsercizioFin || '-12-31' AS DATE))
      <= COALESCE(dInizioAnnoFin, CAST(iEsercizioFin || '-01-01' AS DATE))) THEN
    EXCEPTION E_INITANF_DATE;

  IF (iCaiId IS NULL) THEN
  BEGIN
    iCaiId = GEN_ID(GEN_VTID, 1);
    INSERT INTO TCai_CassaIst (iCaiId, iSprIstId, iCaiEsercizioFin, fCaiCassaIn, fCaiDiffIniz,
                               dCaiInizioAnno, dCaiFineAnno, iLocked)
    VALUES (:iCaiId, :iSprIstId, :iEsercizioFin, :fSaldo, :fDifferenze, :dInizioAnnoFin, :dFineAnnoFin, 1);
  END
  ELSE
    UPDATE TCai_CassaIst SET fCaiCassaIn = :fSaldo, fCaiDiffIniz = :fDifferenze,
                             dCaiInizioAnno = :dInizioAnnoFin, dCaiFineAnno = :dFineAnnoFin, iLocked = 1
      WHERE iCaiId = :iCaiId;
  UPDATE OR INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (:iCaiId, 1, COALESCE(:fTasse, 0))
    MATCHING (iCaiId, iTccId);
  UPDATE OR INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (:iCaiId, 2, COALESCE(:fContributi, 0))
    MATCHING (iCaiId, iTccId);
  UPDATE OR INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (:iCaiId, 3, COALESCE(:fQuote, 0))
    MATCHING (iCaiId, iTccId);
  UPDATE OR INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (:iCaiId, 4, COALESCE(:fDiversi, 0))
    MATCHING (iCaiId, iTccId);
  -- A year opened late counts what was already collected.
  EXECUTE PROCEDURE PEbc_RicalcSaldoIn(:iSprIstId, :iEsercizioFin);
END^
SET TERM ; ^

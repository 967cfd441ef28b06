-- The bank export's log of SEPA direct-debit files and the procedures that
-- decide a debit's sequence type, record the payments of an export and
-- cancel a returned debit. A database created by this version has the
-- tables already (schema/130_export_sdd.sql): each is created here only
-- when it is missing.

CREATE OR ALTER EXCEPTION E_SDD_RATAPAGATA 'Una rata dell''esportazione risulta già pagata o modificata: nessun pagamento è stato registrato.';
CREATE OR ALTER EXCEPTION E_SDD_RATAMODIFICATA 'Una rata della disposizione è stata modificata dopo l''esportazione: storno non eseguito.';
CREATE OR ALTER EXCEPTION E_SDD_STORNATA 'La disposizione è già stata stornata.';

-- The accounts and years whose incoming totals a batch of cancellations
-- computes at its end.
CREATE GLOBAL TEMPORARY TABLE TEbd_SddRicalcolo (
  iSprIstId  INTEGER NOT NULL,
  iAnfValore INTEGER NOT NULL,
  CONSTRAINT PK_TEbd_SddRicalcolo PRIMARY KEY (iSprIstId, iAnfValore)
) ON COMMIT DELETE ROWS;

SET TERM ^ ;
EXECUTE BLOCK AS
BEGIN
  IF (NOT EXISTS (SELECT 1 FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'TACB_ALUCOORDBAN' AND RDB$FIELD_NAME = 'DACBDATAMANDATO')) THEN
    EXECUTE STATEMENT 'ALTER TABLE TAcb_AluCoordBan ADD dAcbDataMandato DATE';
END^
COMMIT^

EXECUTE BLOCK AS
BEGIN
  IF (NOT EXISTS (SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'TESD_ESPORTAZSDD')) THEN
    EXECUTE STATEMENT 'CREATE TABLE TEsd_EsportazSdd (
      iEsdId          INTEGER NOT NULL,
      iSprIstId       INTEGER NOT NULL,
      iDwgId          INTEGER,
      dEsdCreazione   TIMESTAMP NOT NULL,
      sEsdMsgId       VARCHAR(35) NOT NULL,
      sEsdFile        VARCHAR(1024),
      sEsdCreditorId  VARCHAR(35),
      iEsdNumTx       INTEGER NOT NULL,
      iEsdTotCent     BIGINT NOT NULL,
      lEsdPagamenti   SMALLINT DEFAULT 0 NOT NULL,
      CONSTRAINT PK_TEsd_EsportazSdd PRIMARY KEY (iEsdId),
      CONSTRAINT UQ_TEsd_MsgId UNIQUE (sEsdMsgId),
      CONSTRAINT FK_TEsd_SprIst FOREIGN KEY (iSprIstId) REFERENCES TSprIst (iSprIstId)
    )';
END^
COMMIT^

EXECUTE BLOCK AS
BEGIN
  IF (NOT EXISTS (SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'TETX_TRANSAZSDD')) THEN
    EXECUTE STATEMENT 'CREATE TABLE TEtx_TransazSdd (
      iEtxId       INTEGER NOT NULL,
      iEsdId       INTEGER NOT NULL,
      iEtxNum      INTEGER NOT NULL,
      iAnaId_Gen   INTEGER,
      sEtxDebitore VARCHAR(70),
      sEtxIban     VARCHAR(34) NOT NULL,
      sEtxMndtId   VARCHAR(35) NOT NULL,
      sEtxSeqTp    VARCHAR(4) NOT NULL,
      dEtxIncasso  DATE NOT NULL,
      iEtxCent     BIGINT NOT NULL,
      dEtxStorno   TIMESTAMP,
      CONSTRAINT PK_TEtx_TransazSdd PRIMARY KEY (iEtxId),
      CONSTRAINT FK_TEtx_Esd FOREIGN KEY (iEsdId) REFERENCES TEsd_EsportazSdd (iEsdId) ON DELETE CASCADE
    )';
END^
COMMIT^

EXECUTE BLOCK AS
BEGIN
  IF (NOT EXISTS (SELECT 1 FROM RDB$INDICES WHERE RDB$INDEX_NAME = 'IX_TETX_MNDTID')) THEN
    EXECUTE STATEMENT 'CREATE INDEX IX_TEtx_MndtId ON TEtx_TransazSdd (sEtxMndtId)';
END^
COMMIT^

EXECUTE BLOCK AS
BEGIN
  IF (NOT EXISTS (SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'TETXCAC')) THEN
    EXECUTE STATEMENT 'CREATE TABLE TEtxCac (
      iEtxId           INTEGER NOT NULL,
      iCacId           INTEGER NOT NULL,
      iEtxCacCent      BIGINT NOT NULL,
      dEtxCacPagamento DATE,
      iSprIstId_Prec   INTEGER,
      CONSTRAINT PK_TEtxCac PRIMARY KEY (iEtxId, iCacId),
      CONSTRAINT FK_TEtxCac_Etx FOREIGN KEY (iEtxId) REFERENCES TEtx_TransazSdd (iEtxId) ON DELETE CASCADE,
      CONSTRAINT FK_TEtxCac_Cac FOREIGN KEY (iCacId) REFERENCES TCac_CcaAcbCau (iCacId) ON DELETE CASCADE
    )';
END^
COMMIT^

EXECUTE BLOCK AS
BEGIN
  IF (NOT EXISTS (SELECT 1 FROM RDB$INDICES WHERE RDB$INDEX_NAME = 'IX_TETXCAC_CAC')) THEN
    EXECUTE STATEMENT 'CREATE INDEX IX_TEtxCac_Cac ON TEtxCac (iCacId)';
END^
COMMIT^

-- The sequence type of a holder record's next debit from a creditor account:
-- the mandate is the pupil's code; when it was presented from this account
-- (a debit not cancelled of an export whose payments were recorded), RCUR if
-- the last presentation debited the same IBAN, FRST otherwise. Without a
-- presentation in the log, RCUR when the record has an instalment collected
-- in that payment mode after the SEPA start that no logged debit covers.
CREATE OR ALTER PROCEDURE PEbd_SddSeqTp (iAcbId INTEGER, iSprIstId INTEGER, iMpgId INTEGER)
RETURNS (sSeqTp VARCHAR(4))
AS
DECLARE VARIABLE sMandato VARCHAR(35);
DECLARE VARIABLE sIban VARCHAR(34);
DECLARE VARIABLE sUltimo VARCHAR(34);
DECLARE VARIABLE lTrovato SMALLINT;
DECLARE VARIABLE iAcbCauId INTEGER;
DECLARE VARIABLE iMpgAcb INTEGER;
BEGIN
  SELECT FIRST 1 LPAD(NULLIF(TRIM(Cag.sAnaCagCode), ''), 16, '0'), UPPER(REPLACE(TRIM(Acb.sAcbIBan), ' ', ''))
    FROM TAcb_AluCoordBan Acb
    LEFT OUTER JOIN TAnaCag Cag ON (Cag.iAnaId = Acb.iAnaId AND Cag.iCagId = 1)
    WHERE Acb.iAcbId = :iAcbId
    ORDER BY Cag.iAnaCagId
    INTO :sMandato, :sIban;
  lTrovato = 0;
  IF (sMandato IS NOT NULL) THEN
    -- Driven by the mandate ("+ 0": not by the export's many debits).
    SELECT FIRST 1 1, Etx.sEtxIban FROM TEtx_TransazSdd Etx
      INNER JOIN TEsd_EsportazSdd Esd ON (Esd.iEsdId = Etx.iEsdId + 0)
      WHERE Etx.sEtxMndtId = :sMandato AND Esd.iSprIstId + 0 = :iSprIstId AND Esd.lEsdPagamenti = 1
        AND Etx.dEtxStorno IS NULL
      ORDER BY Esd.dEsdCreazione DESC, Etx.iEtxId DESC
      INTO :lTrovato, :sUltimo;
  IF (lTrovato = 1) THEN
    sSeqTp = IIF(sUltimo = sIban, 'RCUR', 'FRST');
  ELSE
  BEGIN
    sSeqTp = 'FRST';
    -- Assignment by assignment, so that each looks its instalments up by key.
    FOR SELECT Ac.iAcbCauId, Acb.iMpgId FROM TAcbCau Ac
        INNER JOIN TAcb_AluCoordBan Acb ON (Acb.iAcbId = Ac.iAcbId)
        WHERE Ac.iAcbId = :iAcbId
        INTO :iAcbCauId, :iMpgAcb
    DO
      IF (sSeqTp = 'FRST' AND EXISTS (
            SELECT 1 FROM TCac_CcaAcbCau Cac
            WHERE Cac.iAcbCauId = :iAcbCauId AND Cac.dCacDataPagamento + 0 > DATE '2014-01-23'
              AND Cac.fCacImporto > 0 AND COALESCE(Cac.iMpgId, :iMpgAcb) = :iMpgId
              AND NOT EXISTS (SELECT 1 FROM TEtxCac Lnk
                              INNER JOIN TEtx_TransazSdd Etx ON (Etx.iEtxId = Lnk.iEtxId)
                              INNER JOIN TEsd_EsportazSdd Esd ON (Esd.iEsdId = Etx.iEsdId)
                              WHERE Lnk.iCacId = Cac.iCacId AND Etx.dEtxStorno IS NULL
                                AND Esd.lEsdPagamenti = 1))) THEN
        sSeqTp = 'RCUR';
  END
  SUSPEND;
END^

-- Records the payments of an export: every instalment of its debits not
-- cancelled is paid on its own due date into the export's account, provided
-- it is still unpaid and of the amount exported (otherwise nothing is
-- recorded); then the incoming totals of the working financial year and of
-- every other year holding one of the payment dates are computed again.
CREATE OR ALTER PROCEDURE PEbd_SddRegistra (iEsdId INTEGER, iAnfValore INTEGER)
RETURNS (iRegistrate INTEGER)
AS
DECLARE VARIABLE iSprIstId INTEGER;
DECLARE VARIABLE iEtxId INTEGER;
DECLARE VARIABLE iCacId INTEGER;
DECLARE VARIABLE iCent BIGINT;
DECLARE VARIABLE lTrovata SMALLINT;
DECLARE VARIABLE dScadenza DATE;
DECLARE VARIABLE dPagamento DATE;
DECLARE VARIABLE fImporto DOUBLE PRECISION;
DECLARE VARIABLE iAnno INTEGER;
BEGIN
  iRegistrate = 0;
  SELECT iSprIstId FROM TEsd_EsportazSdd WHERE iEsdId = :iEsdId INTO :iSprIstId;
  -- What the recording changes, kept for a cancellation (written before the
  -- loop: a loop must not update the rows it walks).
  UPDATE TEtxCac Lnk
    SET dEtxCacPagamento = (SELECT Cac.dCacDataScadenza FROM TCac_CcaAcbCau Cac WHERE Cac.iCacId = Lnk.iCacId),
        iSprIstId_Prec = (SELECT Cac.iSprIstId FROM TCac_CcaAcbCau Cac WHERE Cac.iCacId = Lnk.iCacId)
    WHERE Lnk.iEtxId IN (SELECT Etx.iEtxId FROM TEtx_TransazSdd Etx
                         WHERE Etx.iEsdId = :iEsdId AND Etx.dEtxStorno IS NULL);
  FOR SELECT Lnk.iEtxId, Lnk.iCacId, Lnk.iEtxCacCent FROM TEtxCac Lnk
      INNER JOIN TEtx_TransazSdd Etx ON (Etx.iEtxId = Lnk.iEtxId)
      WHERE Etx.iEsdId = :iEsdId AND Etx.dEtxStorno IS NULL
      INTO :iEtxId, :iCacId, :iCent
  DO
  BEGIN
    lTrovata = 0;
    SELECT 1, dCacDataScadenza, dCacDataPagamento, fCacImporto FROM TCac_CcaAcbCau
      WHERE iCacId = :iCacId
      INTO :lTrovata, :dScadenza, :dPagamento, :fImporto;
    IF (lTrovata = 0 OR dPagamento IS NOT NULL OR dScadenza IS NULL
        OR CAST(ROUND(CAST(COALESCE(fImporto, 0) AS NUMERIC(18,4)), 2) * 100 AS BIGINT) <> iCent) THEN
      EXCEPTION E_SDD_RATAPAGATA;
    UPDATE TCac_CcaAcbCau SET dCacDataPagamento = :dScadenza, iSprIstId = :iSprIstId WHERE iCacId = :iCacId;
    iRegistrate = iRegistrate + 1;
  END
  UPDATE TEsd_EsportazSdd SET lEsdPagamenti = 1 WHERE iEsdId = :iEsdId;
  EXECUTE PROCEDURE PEbc_RicalcSaldoIn(:iSprIstId, :iAnfValore);
  FOR SELECT Anf.iAnfValore FROM TAnf_AnniFinanz Anf
      WHERE Anf.iAnfValore <> :iAnfValore
        AND EXISTS (SELECT 1 FROM TEtxCac Lnk INNER JOIN TEtx_TransazSdd Etx ON (Etx.iEtxId = Lnk.iEtxId)
                    WHERE Etx.iEsdId = :iEsdId AND Etx.dEtxStorno IS NULL
                      AND Lnk.dEtxCacPagamento BETWEEN Anf.dAnfVeltoInizio AND Anf.dAnfVeltoFine)
      INTO :iAnno
  DO
    EXECUTE PROCEDURE PEbc_RicalcSaldoIn(:iSprIstId, :iAnno);
END^

-- Cancels a debit the bank returned: when its export recorded the payments,
-- its instalments are open again on the account they had before (provided
-- nobody changed them since), and the incoming totals of the years of those
-- payments are computed again.
CREATE OR ALTER PROCEDURE PEbd_SddStorno (iEtxId INTEGER)
RETURNS (iRiaperte INTEGER)
AS
DECLARE VARIABLE lTrovata SMALLINT;
DECLARE VARIABLE dStorno TIMESTAMP;
DECLARE VARIABLE iSprIstId INTEGER;
DECLARE VARIABLE lPagamenti SMALLINT;
DECLARE VARIABLE iCacId INTEGER;
DECLARE VARIABLE dPagamento DATE;
DECLARE VARIABLE iPrec INTEGER;
DECLARE VARIABLE iAnno INTEGER;
DECLARE VARIABLE lDifferito SMALLINT;
BEGIN
  iRiaperte = 0;
  lTrovata = 0;
  SELECT 1, Etx.dEtxStorno, Esd.iSprIstId, Esd.lEsdPagamenti FROM TEtx_TransazSdd Etx
    INNER JOIN TEsd_EsportazSdd Esd ON (Esd.iEsdId = Etx.iEsdId)
    WHERE Etx.iEtxId = :iEtxId
    INTO :lTrovata, :dStorno, :iSprIstId, :lPagamenti;
  IF (lTrovata = 0) THEN
    EXIT;
  IF (dStorno IS NOT NULL) THEN
    EXCEPTION E_SDD_STORNATA;
  IF (lPagamenti = 1) THEN
    FOR SELECT iCacId, dEtxCacPagamento, iSprIstId_Prec FROM TEtxCac WHERE iEtxId = :iEtxId
        INTO :iCacId, :dPagamento, :iPrec
    DO
    BEGIN
      UPDATE TCac_CcaAcbCau SET dCacDataPagamento = NULL, iSprIstId = :iPrec
        WHERE iCacId = :iCacId AND dCacDataPagamento = :dPagamento AND iSprIstId = :iSprIstId;
      IF (ROW_COUNT = 0) THEN
        EXCEPTION E_SDD_RATAMODIFICATA;
      iRiaperte = iRiaperte + 1;
    END
  UPDATE TEtx_TransazSdd SET dEtxStorno = CURRENT_TIMESTAMP WHERE iEtxId = :iEtxId;
  -- A batch of cancellations computes the totals once, at its end
  -- (PEbd_SddRicalcola), when it asked for it in its transaction.
  lDifferito = IIF(RDB$GET_CONTEXT('USER_TRANSACTION', 'SDD_RICALCOLO') = 'DIFFERITO', 1, 0);
  IF (lPagamenti = 1) THEN
    FOR SELECT Anf.iAnfValore FROM TAnf_AnniFinanz Anf
        WHERE EXISTS (SELECT 1 FROM TEtxCac Lnk WHERE Lnk.iEtxId = :iEtxId
                        AND Lnk.dEtxCacPagamento BETWEEN Anf.dAnfVeltoInizio AND Anf.dAnfVeltoFine)
        INTO :iAnno
    DO
      IF (lDifferito = 1) THEN
        UPDATE OR INSERT INTO TEbd_SddRicalcolo (iSprIstId, iAnfValore) VALUES (:iSprIstId, :iAnno)
          MATCHING (iSprIstId, iAnfValore);
      ELSE
        EXECUTE PROCEDURE PEbc_RicalcSaldoIn(:iSprIstId, :iAnno);
END^

-- The incoming totals a batch of cancellations put off, computed once each.
CREATE OR ALTER PROCEDURE PEbd_SddRicalcola
AS
DECLARE VARIABLE iSprIstId INTEGER;
DECLARE VARIABLE iAnno INTEGER;
DECLARE VARIABLE iFatto INTEGER;
BEGIN
  FOR SELECT iSprIstId, iAnfValore FROM TEbd_SddRicalcolo INTO :iSprIstId, :iAnno DO
    EXECUTE PROCEDURE PEbc_RicalcSaldoIn(:iSprIstId, :iAnno);
  DELETE FROM TEbd_SddRicalcolo;
  iFatto = RDB$SET_CONTEXT('USER_TRANSACTION', 'SDD_RICALCOLO', NULL);
END^
SET TERM ; ^

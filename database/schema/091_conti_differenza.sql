-- Current difference of an account's cash book for the financial year of a
-- date given as text 'yyyy/mm/dd': opening balance plus incoming total less
-- outgoing total, against the current balance the cash row holds. Zero when
-- the account has no cash row for that year. One row.
SET TERM ^ ;
CREATE OR ALTER PROCEDURE PEbc_MvmDiff (iSprIstId INTEGER, sData VARCHAR(10))
RETURNS (fDiff DOUBLE PRECISION)
AS
DECLARE VARIABLE iAnno INTEGER;
BEGIN
  iAnno = CAST(SUBSTRING(sData FROM 1 FOR 4) AS INTEGER);
  fDiff = NULL;
  SELECT COALESCE(fCaiCassaIn, 0) + COALESCE(fCaiSaldoIn, 0) - COALESCE(fCaiSaldoOut, 0) - COALESCE(fCaiCassaAtt, 0)
    FROM TCai_CassaIst
    WHERE iSprIstId = :iSprIstId AND iCaiEsercizioFin = :iAnno
    INTO :fDiff;
  fDiff = COALESCE(fDiff, 0);
  SUSPEND;
END^
SET TERM ; ^

-- Closing and reopening an institute account. Run after every edit of the
-- account that set or cleared its closing date: a closed account (dEnd set)
-- has all its movements locked, so that they can no longer be inserted,
-- changed or deleted; a reopened one has them unlocked again. The account
-- row carries the same lock flag.
SET TERM ^ ;
CREATE OR ALTER PROCEDURE PEbc_ContoOnOff (iSprIstId INTEGER)
AS
DECLARE VARIABLE dEnd DATE;
DECLARE VARIABLE iLock SMALLINT;
BEGIN
  IF (NOT EXISTS (SELECT 1 FROM TSprIst WHERE iSprIstId = :iSprIstId)) THEN
    EXIT;
  SELECT dEnd FROM TSprIst WHERE iSprIstId = :iSprIstId INTO :dEnd;
  iLock = IIF(dEnd IS NULL, 0, 1);
  UPDATE TMvm_MovimentiCcp SET iLocked = :iLock
    WHERE iSprIstId = :iSprIstId AND COALESCE(iLocked, 0) <> :iLock;
  UPDATE TSprIst SET iLocked = :iLock
    WHERE iSprIstId = :iSprIstId AND COALESCE(iLocked, 0) <> :iLock;
END^
SET TERM ; ^

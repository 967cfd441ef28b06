-- Banks and their branches.
-- iCbaId is the bank category: 7 post office, 8 cash; the cash pseudo-bank
-- (iBanId 3) has the single branch 40299.

CREATE TABLE TBan_Banche (
  iBanId      INTEGER NOT NULL,
  sBanAbi     VARCHAR(10) NOT NULL,
  sBanDescS   VARCHAR(60) NOT NULL,
  sBanDescL   VARCHAR(120),
  iCbaId      INTEGER,
  dStart      DATE,
  dEnd        DATE,
  iLocked     SMALLINT DEFAULT 0,
  CONSTRAINT PK_TBan_Banche PRIMARY KEY (iBanId)
);
CREATE INDEX IX_TBan_Abi ON TBan_Banche (sBanAbi);

CREATE TABLE TSpr_SportelliCab (
  iSprId        INTEGER NOT NULL,
  iBanId        INTEGER NOT NULL,
  sSprCab       VARCHAR(10) NOT NULL,
  sSprDescS     VARCHAR(60),
  sSprIndirizzo VARCHAR(100),
  iSrpcId       INTEGER,
  iComCapId     INTEGER,
  dStart        DATE,
  dEnd          DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TSpr_SportelliCab PRIMARY KEY (iSprId),
  CONSTRAINT FK_TSpr_Ban FOREIGN KEY (iBanId) REFERENCES TBan_Banche (iBanId),
  CONSTRAINT FK_TSpr_Srpc FOREIGN KEY (iSrpcId) REFERENCES TSrpc (iSrpcId),
  CONSTRAINT FK_TSpr_ComCap FOREIGN KEY (iComCapId) REFERENCES TComCap (iComCapId)
);
CREATE INDEX IX_TSpr_Cab ON TSpr_SportelliCab (sSprCab);

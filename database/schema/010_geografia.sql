-- Places: states, provinces, towns, their postcodes.
-- TSrpc is the place of the registry: one row per town (state, province,
-- town); branches, dwellings and births point to it.

CREATE TABLE TSta_Stati (
  iStaId      INTEGER NOT NULL,
  sStaSigla   VARCHAR(3),
  sStaDesc    VARCHAR(60) NOT NULL,
  dStart      DATE,
  dEnd        DATE,
  iLocked     SMALLINT DEFAULT 0,
  CONSTRAINT PK_TSta_Stati PRIMARY KEY (iStaId)
);

CREATE TABLE TPro_Province (
  iProId      INTEGER NOT NULL,
  sProSigla   VARCHAR(2) NOT NULL,
  sProDesc    VARCHAR(60) NOT NULL,
  dStart      DATE,
  dEnd        DATE,
  iLocked     SMALLINT DEFAULT 0,
  CONSTRAINT PK_TPro_Province PRIMARY KEY (iProId)
);

CREATE TABLE TCom_Comuni (
  iComId      INTEGER NOT NULL,
  sComDesc    VARCHAR(60) NOT NULL,
  sComCodCatastale VARCHAR(4),
  dStart      DATE,
  dEnd        DATE,
  iLocked     SMALLINT DEFAULT 0,
  CONSTRAINT PK_TCom_Comuni PRIMARY KEY (iComId)
);

CREATE TABLE TSrpc (
  iSrpcId     INTEGER NOT NULL,
  iStaId      INTEGER,
  iProId      INTEGER,
  iComId      INTEGER,
  dStart      DATE,
  dEnd        DATE,
  iLocked     SMALLINT DEFAULT 0,
  CONSTRAINT PK_TSrpc PRIMARY KEY (iSrpcId),
  CONSTRAINT FK_TSrpc_Sta FOREIGN KEY (iStaId) REFERENCES TSta_Stati (iStaId),
  CONSTRAINT FK_TSrpc_Pro FOREIGN KEY (iProId) REFERENCES TPro_Province (iProId),
  CONSTRAINT FK_TSrpc_Com FOREIGN KEY (iComId) REFERENCES TCom_Comuni (iComId)
);

CREATE TABLE TCap (
  iCapId      INTEGER NOT NULL,
  sCapValue   VARCHAR(5) NOT NULL,
  CONSTRAINT PK_TCap PRIMARY KEY (iCapId)
);

-- Postcodes of a town.
CREATE TABLE TComCap (
  iComCapId   INTEGER NOT NULL,
  iSrpcId     INTEGER NOT NULL,
  iCapId      INTEGER NOT NULL,
  dStart      DATE,
  dEnd        DATE,
  CONSTRAINT PK_TComCap PRIMARY KEY (iComCapId),
  CONSTRAINT FK_TComCap_Srpc FOREIGN KEY (iSrpcId) REFERENCES TSrpc (iSrpcId),
  CONSTRAINT FK_TComCap_Cap FOREIGN KEY (iCapId) REFERENCES TCap (iCapId)
);

CREATE VIEW VComCap (iComCapId, iSrpcId, iCapId, sCapValue, iComId, sComDesc,
                     iProId, sProSigla, sProDesc, dStart, dEnd) AS
  SELECT Cc.iComCapId, Cc.iSrpcId, Cc.iCapId, Cap.sCapValue, Srpc.iComId,
         Com.sComDesc, Srpc.iProId, Pro.sProSigla, Pro.sProDesc, Cc.dStart, Cc.dEnd
  FROM TComCap Cc
  INNER JOIN TCap Cap ON (Cap.iCapId = Cc.iCapId)
  INNER JOIN TSrpc Srpc ON (Srpc.iSrpcId = Cc.iSrpcId)
  LEFT OUTER JOIN TCom_Comuni Com ON (Com.iComId = Srpc.iComId)
  LEFT OUTER JOIN TPro_Province Pro ON (Pro.iProId = Srpc.iProId);

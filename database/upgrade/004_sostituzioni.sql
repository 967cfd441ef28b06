-- The log of the bulk data replace, so that the last run can be undone,
-- also after a restart: one row per run (the field, its new value, who and
-- when, how many records, the statements that check and undo it as they
-- were at that moment) and one row per record the run changed, with the
-- value it had before.

CREATE TABLE TSdt_SostDati (
  iSdtId          INTEGER NOT NULL,
  sSdtXmlCodice   VARCHAR(30) NOT NULL,
  lSdtModo        SMALLINT NOT NULL,
  sSdtNome        VARCHAR(60),
  sSdtCaption     VARCHAR(120),
  sSdtTipo        VARCHAR(20),
  sSdtNuovoValore VARCHAR(255),
  sSdtNuovoTesto  VARCHAR(255),
  sSdtUtente      VARCHAR(60),
  dSdtData        TIMESTAMP DEFAULT CURRENT_TIMESTAMP NOT NULL,
  iSdtNumero      INTEGER DEFAULT 0 NOT NULL,
  bSdtUndoCheck   BLOB SUB_TYPE TEXT,
  bSdtUndoScript  BLOB SUB_TYPE TEXT,
  dSdtAnnullata   TIMESTAMP,
  CONSTRAINT PK_TSdt_SostDati PRIMARY KEY (iSdtId)
);
CREATE DESCENDING INDEX IX_TSdt_Data ON TSdt_SostDati (dSdtData);

CREATE TABLE TSdr_SostDatiRighe (
  iSdrId            INTEGER NOT NULL,
  iSdtId            INTEGER NOT NULL,
  iSdrSelId         INTEGER NOT NULL,
  sSdrVecchioValore VARCHAR(255),
  CONSTRAINT PK_TSdr_SostDatiRighe PRIMARY KEY (iSdrId),
  CONSTRAINT FK_TSdr_Sdt FOREIGN KEY (iSdtId) REFERENCES TSdt_SostDati (iSdtId) ON DELETE CASCADE
);

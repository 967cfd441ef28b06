-- Fee structure: component typologies, payment modes, fee reasons, their
-- components and the reason-component links.
-- Reasons, components and links belong to a school year through dStart/dEnd
-- (equal to the year's dAnsVeltoInizio/dAnsVeltoFine).
-- Typologies: a top-level type is its own parent (iTccId = iTccId_P) and has
-- an id below 100; the four top-level types 1-4 are taxes, contributions,
-- fees and other; subtypes have ids above 100.

CREATE TABLE TTcc_TipoCompCaus (
  iTccId        INTEGER NOT NULL,
  sTccSDesc     VARCHAR(20),
  sTccLDesc     VARCHAR(100),
  iTccId_P      INTEGER,
  dStart        DATE,
  dEnd          DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TTcc_TipoCompCaus PRIMARY KEY (iTccId)
);
CREATE INDEX IX_TTcc_P ON TTcc_TipoCompCaus (iTccId_P);

CREATE TABLE TMpg_ModPagam (
  iMpgId        INTEGER NOT NULL,
  sMpgDescS     VARCHAR(10),
  sMpgDescL     VARCHAR(60),
  lMpgRisc      SMALLINT DEFAULT 0,
  lMpgPag       SMALLINT DEFAULT 0,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TMpg_ModPagam PRIMARY KEY (iMpgId)
);

CREATE TABLE TCau_Causali (
  iCauId        INTEGER NOT NULL,
  sCauSDesc     VARCHAR(20),
  sCauLDesc     VARCHAR(100),
  lCauTipo      SMALLINT DEFAULT 0,
  lCauVuvez     SMALLINT DEFAULT 1,
  dStart        DATE,
  dEnd          DATE,
  iDwgId        INTEGER,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TCau_Causali PRIMARY KEY (iCauId)
);
CREATE INDEX IX_TCau_Anno ON TCau_Causali (dStart, dEnd);

CREATE TABLE TCca_CompCausali (
  iCcaId           INTEGER NOT NULL,
  sCcaSDesc        VARCHAR(20),
  sCcaLDesc        VARCHAR(100),
  iTccId           INTEGER,
  iAggId           INTEGER,
  iVproId          INTEGER,
  iSvoId           INTEGER,
  iDwgId           INTEGER,
  fCcaImportoIst   DOUBLE PRECISION,
  fCcaImportoEra   DOUBLE PRECISION,
  lCcaVuvez        SMALLINT DEFAULT 0,
  lCcaTipo         SMALLINT DEFAULT 0,
  dStart           DATE,
  dEnd             DATE,
  dCcaDataScadenza DATE,
  iLocked          SMALLINT DEFAULT 0,
  CONSTRAINT PK_TCca_CompCausali PRIMARY KEY (iCcaId),
  CONSTRAINT FK_TCca_Tcc FOREIGN KEY (iTccId) REFERENCES TTcc_TipoCompCaus (iTccId),
  CONSTRAINT FK_TCca_Agg FOREIGN KEY (iAggId) REFERENCES TAgg_Aggregati (iAggId),
  CONSTRAINT FK_TCca_Vpro FOREIGN KEY (iVproId) REFERENCES TVpro_VociProgetti (iVproId),
  CONSTRAINT FK_TCca_Svo FOREIGN KEY (iSvoId) REFERENCES TSvo_SottoVoci (iSvoId)
);
CREATE INDEX IX_TCca_Anno ON TCca_CompCausali (dStart, dEnd);

CREATE TABLE TCauCca (
  iCauCcaId     INTEGER NOT NULL,
  iCauId        INTEGER NOT NULL,
  iCcaId        INTEGER NOT NULL,
  dStart        DATE,
  dEnd          DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TCauCca PRIMARY KEY (iCauCcaId),
  CONSTRAINT FK_TCauCca_Cau FOREIGN KEY (iCauId) REFERENCES TCau_Causali (iCauId),
  CONSTRAINT FK_TCauCca_Cca FOREIGN KEY (iCcaId) REFERENCES TCca_CompCausali (iCcaId)
);

-- Budget: cash flows, total types, aggregates, items (voci e progetti) and
-- sub-items, and the budget models that refer to them.
-- iDwgId null = shared by every data owner; dDelete not null = deleted.
-- iCorId is the account kind: 1 competence, 2 residues, 3 both.

CREATE TABLE TFls_FlussoCassa (
  iFlsId        INTEGER NOT NULL,
  sFlsDescL     VARCHAR(60) NOT NULL,
  dDelete       TIMESTAMP,
  CONSTRAINT PK_TFls_FlussoCassa PRIMARY KEY (iFlsId)
);

CREATE TABLE TTito_TipoTotale (
  iTitoId       INTEGER NOT NULL,
  sTitoDescL    VARCHAR(60) NOT NULL,
  dDelete       TIMESTAMP,
  CONSTRAINT PK_TTito_TipoTotale PRIMARY KEY (iTitoId)
);

CREATE TABLE TAgg_Aggregati (
  iAggId        INTEGER NOT NULL,
  iDwgId        INTEGER,
  sAggDescS     VARCHAR(10) NOT NULL,
  sAggDescL     VARCHAR(120),
  iFlsId        INTEGER NOT NULL,
  iTitoId       INTEGER NOT NULL,
  dStart        DATE,
  dEnd          DATE,
  dDelete       TIMESTAMP,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TAgg_Aggregati PRIMARY KEY (iAggId),
  CONSTRAINT FK_TAgg_Fls FOREIGN KEY (iFlsId) REFERENCES TFls_FlussoCassa (iFlsId),
  CONSTRAINT FK_TAgg_Tito FOREIGN KEY (iTitoId) REFERENCES TTito_TipoTotale (iTitoId)
);
CREATE INDEX IX_TAgg_FlsTito ON TAgg_Aggregati (iFlsId, iTitoId);

CREATE TABLE TVpro_VociProgetti (
  iVproId       INTEGER NOT NULL,
  iCorId        INTEGER,
  iAggId        INTEGER,
  iDwgId        INTEGER,
  iTckId        INTEGER,
  sVproCod      VARCHAR(5),
  sVproDescS    VARCHAR(80),
  sVproDescL    VARCHAR(120),
  bVproNote     BLOB SUB_TYPE TEXT,
  lVproDefault  SMALLINT DEFAULT 0,
  dStart        DATE,
  dEnd          DATE,
  dDelete       TIMESTAMP,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TVpro_VociProgetti PRIMARY KEY (iVproId),
  CONSTRAINT FK_TVpro_Agg FOREIGN KEY (iAggId) REFERENCES TAgg_Aggregati (iAggId)
);

CREATE TABLE TSvo_SottoVoci (
  iSvoId        INTEGER NOT NULL,
  iCorId        INTEGER,
  iVproId       INTEGER NOT NULL,
  iDwgId        INTEGER,
  sSvoDescS     VARCHAR(60),
  sSvoDescL     VARCHAR(120),
  lSvoDefault   SMALLINT DEFAULT 0,
  dStart        DATE,
  dEnd          DATE,
  dDelete       TIMESTAMP,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TSvo_SottoVoci PRIMARY KEY (iSvoId),
  CONSTRAINT FK_TSvo_Vpro FOREIGN KEY (iVproId) REFERENCES TVpro_VociProgetti (iVproId)
);

-- Budget models, their approvals and their amounts by item and sub-item.
CREATE TABLE TMpr_ModProgetti (
  iMprId           INTEGER NOT NULL,
  iVproId          INTEGER,
  iDwgId           INTEGER,
  iMprEsercizioFin INTEGER,
  sMprDesc         VARCHAR(120),
  dDelete          TIMESTAMP,
  iLocked          SMALLINT DEFAULT 0,
  CONSTRAINT PK_TMpr_ModProgetti PRIMARY KEY (iMprId),
  CONSTRAINT FK_TMpr_Vpro FOREIGN KEY (iVproId) REFERENCES TVpro_VociProgetti (iVproId)
);

CREATE TABLE TApr_AppProgetti (
  iAprId        INTEGER NOT NULL,
  iMprId        INTEGER NOT NULL,
  dAprData      DATE,
  dDelete       TIMESTAMP,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TApr_AppProgetti PRIMARY KEY (iAprId),
  CONSTRAINT FK_TApr_Mpr FOREIGN KEY (iMprId) REFERENCES TMpr_ModProgetti (iMprId)
);

CREATE TABLE TVoi_VociImporti (
  iVoiId        INTEGER NOT NULL,
  iMprId        INTEGER NOT NULL,
  iAggId        INTEGER,
  iVproId       INTEGER,
  iSvoId        INTEGER,
  fVoiImporto   DOUBLE PRECISION,
  dDelete       TIMESTAMP,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TVoi_VociImporti PRIMARY KEY (iVoiId),
  CONSTRAINT FK_TVoi_Mpr FOREIGN KEY (iMprId) REFERENCES TMpr_ModProgetti (iMprId)
);
CREATE INDEX IX_TVoi_Vpro ON TVoi_VociImporti (iVproId);
CREATE INDEX IX_TVoi_Svo ON TVoi_VociImporti (iSvoId);
CREATE INDEX IX_TVoi_Agg ON TVoi_VociImporti (iAggId);

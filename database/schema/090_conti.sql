-- Institute accounts (post office, bank, cash), their cash book per
-- financial year with the opening split by top-level typology, and the
-- account movements and tax-register payments that use fee reasons.

CREATE TABLE TSprIst (
  iSprIstId     INTEGER NOT NULL,
  iDwgId        INTEGER,
  iSprId        INTEGER NOT NULL,
  sSprIstNumCc  VARCHAR(60) NOT NULL,
  sSprIstIntest VARCHAR(100),
  sSprIstCin    VARCHAR(1),
  sSprIstStato  VARCHAR(2),
  sSprIstCinInt VARCHAR(2),
  iSprIstPgm    INTEGER DEFAULT 2,
  dStart        DATE,
  dEnd          DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TSprIst PRIMARY KEY (iSprIstId),
  CONSTRAINT FK_TSprIst_Spr FOREIGN KEY (iSprId) REFERENCES TSpr_SportelliCab (iSprId)
);
CREATE INDEX IX_TSprIst_Dwg ON TSprIst (iDwgId, iSprIstPgm);

-- One row per account and financial year; iCaiEsercizioFin is the year's
-- value (iAnfValore), not its id. Null dates mean 1 January / 31 December.
CREATE TABLE TCai_CassaIst (
  iCaiId           INTEGER NOT NULL,
  iSprIstId        INTEGER NOT NULL,
  iCaiEsercizioFin INTEGER NOT NULL,
  fCaiCassaIn      DOUBLE PRECISION DEFAULT 0,
  fCaiSaldoIn      DOUBLE PRECISION DEFAULT 0,
  fCaiSaldoOut     DOUBLE PRECISION DEFAULT 0,
  fCaiCassaAtt     DOUBLE PRECISION DEFAULT 0,
  fCaiDiffIniz     DOUBLE PRECISION DEFAULT 0,
  dCaiInizioAnno   DATE,
  dCaiFineAnno     DATE,
  iLocked          SMALLINT DEFAULT 0,
  CONSTRAINT PK_TCai_CassaIst PRIMARY KEY (iCaiId),
  CONSTRAINT UQ_TCai_SprIstAnno UNIQUE (iSprIstId, iCaiEsercizioFin),
  CONSTRAINT FK_TCai_SprIst FOREIGN KEY (iSprIstId) REFERENCES TSprIst (iSprIstId)
);
CREATE INDEX IX_TCai_Esercizio ON TCai_CassaIst (iCaiEsercizioFin);

CREATE TABLE TCaiTcc (
  iCaiId             INTEGER NOT NULL,
  iTccId             INTEGER NOT NULL,
  fCaiTccImportoIniz DOUBLE PRECISION DEFAULT 0,
  CONSTRAINT PK_TCaiTcc PRIMARY KEY (iCaiId, iTccId),
  CONSTRAINT FK_TCaiTcc_Cai FOREIGN KEY (iCaiId) REFERENCES TCai_CassaIst (iCaiId) ON DELETE CASCADE,
  CONSTRAINT FK_TCaiTcc_Tcc FOREIGN KEY (iTccId) REFERENCES TTcc_TipoCompCaus (iTccId)
);

-- Movements of an institute account (lMvmTipo 0 incoming, 1 outgoing).
CREATE TABLE TMvm_MovimentiCcp (
  iMvmId        INTEGER NOT NULL,
  iSprIstId     INTEGER NOT NULL,
  iCauId        INTEGER,
  iCbmId        INTEGER,
  iAnaId        INTEGER,
  iMvmNumero    INTEGER,
  lMvmTipo      SMALLINT DEFAULT 0,
  dMvmDataMov   DATE NOT NULL,
  dMvmDataEC    DATE,
  fMvmImporto   DOUBLE PRECISION DEFAULT 0,
  sMvmDesc      VARCHAR(200),
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TMvm_MovimentiCcp PRIMARY KEY (iMvmId),
  CONSTRAINT FK_TMvm_SprIst FOREIGN KEY (iSprIstId) REFERENCES TSprIst (iSprIstId),
  CONSTRAINT FK_TMvm_Cau FOREIGN KEY (iCauId) REFERENCES TCau_Causali (iCauId)
);
CREATE INDEX IX_TMvm_SprIstData ON TMvm_MovimentiCcp (iSprIstId, dMvmDataMov);
CREATE INDEX IX_TMvm_Data ON TMvm_MovimentiCcp (dMvmDataMov);
CREATE INDEX IX_TMvm_DataEC ON TMvm_MovimentiCcp (dMvmDataEC);

-- Payments on the tax register.
CREATE TABLE TVrs_VersRegTasse (
  iVrsId        INTEGER NOT NULL,
  iCauId        INTEGER,
  iAnaId        INTEGER,
  iDwgId        INTEGER,
  dVrsData      DATE,
  fVrsImporto   DOUBLE PRECISION DEFAULT 0,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TVrs_VersRegTasse PRIMARY KEY (iVrsId),
  CONSTRAINT FK_TVrs_Cau FOREIGN KEY (iCauId) REFERENCES TCau_Causali (iCauId)
);

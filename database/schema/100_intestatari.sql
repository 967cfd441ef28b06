-- Pupils' billing: holder records (who pays for a pupil, on which IBAN, with
-- which payment mode), the fee reasons assigned to them, the instalments
-- (one per component of an assigned reason), advances on an instalment and
-- school grants of a holder.
-- Pupil, parent and payment mode of a holder are nullable: incomplete rows
-- are removed by the program before the list opens.
-- Deleting a holder removes its assignments, instalments, advances and
-- grants; deleting an instalment removes its advances.

CREATE TABLE TAcb_AluCoordBan (
  iAcbId           INTEGER NOT NULL,
  iAnaId           INTEGER,
  iAnaId_Gen       INTEGER,
  sAcbIBan         VARCHAR(34),
  sAcbIntestatario VARCHAR(120),
  iMpgId           INTEGER,
  fAcbPercSconto   DOUBLE PRECISION DEFAULT 0,
  iLocked          SMALLINT DEFAULT 0,
  CONSTRAINT PK_TAcb_AluCoordBan PRIMARY KEY (iAcbId),
  CONSTRAINT FK_TAcb_Ana FOREIGN KEY (iAnaId) REFERENCES TAna_Anagrafiche (iAnaId),
  CONSTRAINT FK_TAcb_AnaGen FOREIGN KEY (iAnaId_Gen) REFERENCES TAna_Anagrafiche (iAnaId),
  CONSTRAINT FK_TAcb_Mpg FOREIGN KEY (iMpgId) REFERENCES TMpg_ModPagam (iMpgId)
);
CREATE INDEX IX_TAcb_Intestatario ON TAcb_AluCoordBan (sAcbIntestatario);

CREATE TABLE TAcbCau (
  iAcbCauId         INTEGER NOT NULL,
  iAcbId            INTEGER NOT NULL,
  iCauId            INTEGER NOT NULL,
  bAcbCauNote       BLOB SUB_TYPE TEXT,
  fAcbCauPercSconto DOUBLE PRECISION DEFAULT 0,
  iLocked           SMALLINT DEFAULT 0,
  CONSTRAINT PK_TAcbCau PRIMARY KEY (iAcbCauId),
  CONSTRAINT FK_TAcbCau_Acb FOREIGN KEY (iAcbId) REFERENCES TAcb_AluCoordBan (iAcbId) ON DELETE CASCADE,
  CONSTRAINT FK_TAcbCau_Cau FOREIGN KEY (iCauId) REFERENCES TCau_Causali (iCauId)
);

CREATE TABLE TCac_CcaAcbCau (
  iCacId            INTEGER NOT NULL,
  iAcbCauId         INTEGER NOT NULL,
  iCcaId            INTEGER NOT NULL,
  fCacImporto       DOUBLE PRECISION DEFAULT 0,
  dCacDataScadenza  DATE,
  dCacDataPagamento DATE,
  fCacPercSconto    DOUBLE PRECISION DEFAULT 0,
  fCacImpSconto     DOUBLE PRECISION DEFAULT 0,
  fCacImpDaDote     DOUBLE PRECISION DEFAULT 0,
  bCacNote          BLOB SUB_TYPE TEXT,
  iSprIstId         INTEGER,
  iMpgId            INTEGER,
  iLocked           SMALLINT DEFAULT 0,
  CONSTRAINT PK_TCac_CcaAcbCau PRIMARY KEY (iCacId),
  CONSTRAINT FK_TCac_AcbCau FOREIGN KEY (iAcbCauId) REFERENCES TAcbCau (iAcbCauId) ON DELETE CASCADE,
  CONSTRAINT FK_TCac_Cca FOREIGN KEY (iCcaId) REFERENCES TCca_CompCausali (iCcaId),
  CONSTRAINT FK_TCac_SprIst FOREIGN KEY (iSprIstId) REFERENCES TSprIst (iSprIstId),
  CONSTRAINT FK_TCac_Mpg FOREIGN KEY (iMpgId) REFERENCES TMpg_ModPagam (iMpgId)
);
CREATE INDEX IX_TCac_Scadenza ON TCac_CcaAcbCau (dCacDataScadenza);
CREATE INDEX IX_TCac_Pagamento ON TCac_CcaAcbCau (dCacDataPagamento);
CREATE INDEX IX_TCac_AcbCauCca ON TCac_CcaAcbCau (iAcbCauId, iCcaId);

CREATE TABLE TCaa_CacAcconti (
  iCaaId        INTEGER NOT NULL,
  iCacId        INTEGER NOT NULL,
  fCaaImporto   DOUBLE PRECISION DEFAULT 0,
  dCaaData      DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TCaa_CacAcconti PRIMARY KEY (iCaaId),
  CONSTRAINT FK_TCaa_Cac FOREIGN KEY (iCacId) REFERENCES TCac_CcaAcbCau (iCacId) ON DELETE CASCADE
);

CREATE TABLE TDos_DoteScuola (
  iDosId             INTEGER NOT NULL,
  iAcbId             INTEGER NOT NULL,
  fDosImporto        DOUBLE PRECISION DEFAULT 0,
  dDosData           DATE,
  dDosDataScadenza   DATE,
  fDosImportoResiduo DOUBLE PRECISION DEFAULT 0,
  dStart             DATE,
  dEnd               DATE,
  iLocked            SMALLINT DEFAULT 0,
  CONSTRAINT PK_TDos_DoteScuola PRIMARY KEY (iDosId),
  CONSTRAINT FK_TDos_Acb FOREIGN KEY (iAcbId) REFERENCES TAcb_AluCoordBan (iAcbId) ON DELETE CASCADE
);
CREATE INDEX IX_TDos_Start ON TDos_DoteScuola (dStart);

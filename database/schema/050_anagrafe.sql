-- People registry: pupils, parents and guardians, staff, other beneficiaries.
-- TAnaCag gives a person a registry category (1 pupil, 2 parent/guardian,
-- 3 staff, 6 adult education) with the registration code of that category.
-- TAnaGpt links a pupil (iAnaId) to a relative (iAnaId_p) with a degree.
-- A person's dwellings: TAbt_Abitaz (the address), TAnaAbt (who lives there,
-- with a running number), TAbtLoc (location kind: 1 domicile, 2 residence).

CREATE TABLE TAna_Anagrafiche (
  iAnaId          INTEGER NOT NULL,
  sAnaCognome     VARCHAR(60) NOT NULL,
  sAnaNome        VARCHAR(60),
  sAnaCodFiscale  VARCHAR(16),
  dAnaNascita     DATE,
  sAnaSesso       VARCHAR(1),
  iSrpcId_Nascita INTEGER,
  sAnaTelefono    VARCHAR(30),
  sAnaEMail       VARCHAR(100),
  dStart          DATE,
  dEnd            DATE,
  iLocked         SMALLINT DEFAULT 0,
  CONSTRAINT PK_TAna_Anagrafiche PRIMARY KEY (iAnaId),
  CONSTRAINT FK_TAna_SrpcNascita FOREIGN KEY (iSrpcId_Nascita) REFERENCES TSrpc (iSrpcId)
);
CREATE INDEX IX_TAna_Cognome ON TAna_Anagrafiche (sAnaCognome, sAnaNome);

CREATE TABLE TCag_CategAna (
  iCagId        INTEGER NOT NULL,
  sCagDesc      VARCHAR(60) NOT NULL,
  CONSTRAINT PK_TCag_CategAna PRIMARY KEY (iCagId)
);

CREATE TABLE TAnaCag (
  iAnaCagId     INTEGER NOT NULL,
  iAnaId        INTEGER NOT NULL,
  iCagId        INTEGER NOT NULL,
  sAnaCagCode   VARCHAR(20),
  dStart        DATE,
  dEnd          DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TAnaCag PRIMARY KEY (iAnaCagId),
  CONSTRAINT FK_TAnaCag_Ana FOREIGN KEY (iAnaId) REFERENCES TAna_Anagrafiche (iAnaId),
  CONSTRAINT FK_TAnaCag_Cag FOREIGN KEY (iCagId) REFERENCES TCag_CategAna (iCagId)
);
CREATE INDEX IX_TAnaCag_Ana ON TAnaCag (iAnaId, iCagId);

CREATE TABLE TGpt_GradoParent (
  iGptId        INTEGER NOT NULL,
  sGptSDesc     VARCHAR(20),
  sGptLDesc     VARCHAR(60) NOT NULL,
  CONSTRAINT PK_TGpt_GradoParent PRIMARY KEY (iGptId)
);

CREATE TABLE TAnaGpt (
  iAnaGptId     INTEGER NOT NULL,
  iAnaId        INTEGER NOT NULL,
  iAnaId_p      INTEGER NOT NULL,
  iGptId        INTEGER NOT NULL,
  dStart        DATE,
  dEnd          DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TAnaGpt PRIMARY KEY (iAnaGptId),
  CONSTRAINT FK_TAnaGpt_Ana FOREIGN KEY (iAnaId) REFERENCES TAna_Anagrafiche (iAnaId),
  CONSTRAINT FK_TAnaGpt_AnaP FOREIGN KEY (iAnaId_p) REFERENCES TAna_Anagrafiche (iAnaId),
  CONSTRAINT FK_TAnaGpt_Gpt FOREIGN KEY (iGptId) REFERENCES TGpt_GradoParent (iGptId)
);
CREATE INDEX IX_TAnaGpt_Ana ON TAnaGpt (iAnaId, iGptId);

CREATE TABLE TAbt_Abitaz (
  iAbtId        INTEGER NOT NULL,
  sAbtIndirizzo VARCHAR(100),
  sAbtCivico    VARCHAR(10),
  iComCapId     INTEGER,
  sAbtTelefono  VARCHAR(30),
  dStart        DATE,
  dEnd          DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TAbt_Abitaz PRIMARY KEY (iAbtId),
  CONSTRAINT FK_TAbt_ComCap FOREIGN KEY (iComCapId) REFERENCES TComCap (iComCapId)
);

CREATE TABLE TAnaAbt (
  iAnaAbtId     INTEGER NOT NULL,
  iAnaId        INTEGER NOT NULL,
  iAbtId        INTEGER NOT NULL,
  iAnaAbtNum    INTEGER DEFAULT 1,
  dStart        DATE,
  dEnd          DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TAnaAbt PRIMARY KEY (iAnaAbtId),
  CONSTRAINT FK_TAnaAbt_Ana FOREIGN KEY (iAnaId) REFERENCES TAna_Anagrafiche (iAnaId),
  CONSTRAINT FK_TAnaAbt_Abt FOREIGN KEY (iAbtId) REFERENCES TAbt_Abitaz (iAbtId)
);

CREATE TABLE TAbtLoc (
  iAbtLocId     INTEGER NOT NULL,
  iAnaAbtId     INTEGER NOT NULL,
  iLocId        INTEGER NOT NULL,
  CONSTRAINT PK_TAbtLoc PRIMARY KEY (iAbtLocId),
  CONSTRAINT FK_TAbtLoc_AnaAbt FOREIGN KEY (iAnaAbtId) REFERENCES TAnaAbt (iAnaAbtId)
);
CREATE INDEX IX_TAbtLoc_AnaAbt ON TAbtLoc (iAnaAbtId, iLocId);

-- Categories of beneficiaries of account movements (1 pupils, 6 adult education, ...).
CREATE TABLE TCbm_CatBenefMvm (
  iCbmId        INTEGER NOT NULL,
  sCbmDesc      VARCHAR(60) NOT NULL,
  iCagId        INTEGER,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TCbm_CatBenefMvm PRIMARY KEY (iCbmId)
);

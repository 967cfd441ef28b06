-- Classes and enrolments.
-- A class is a course year (TAcs_AnniCorso) + a section (TSez_Sezioni) +
-- an address of study (TInd_Indirizzo) at a seat of a data owner, valid for
-- one school year (dStart = the year's dAnsVeltoInizio).
-- An enrolment (TSit_Situazioni) of a pupil in a school year points to a
-- class place (TClsPst), which points to the class; an enrolment without a
-- class place is a new enrolment not yet assigned.

CREATE TABLE TAcs_AnniCorso (
  iAcsId        INTEGER NOT NULL,
  sAcsSDesc     VARCHAR(10) NOT NULL,
  sAcsLDesc     VARCHAR(60),
  dDelete       TIMESTAMP,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TAcs_AnniCorso PRIMARY KEY (iAcsId)
);

CREATE TABLE TSez_Sezioni (
  iSezId        INTEGER NOT NULL,
  sSezSDesc     VARCHAR(10) NOT NULL,
  sSezLDesc     VARCHAR(60),
  dDelete       TIMESTAMP,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TSez_Sezioni PRIMARY KEY (iSezId)
);

CREATE TABLE TInd_Indirizzo (
  iIndId        INTEGER NOT NULL,
  sIndSDesc     VARCHAR(20),
  sIndLDesc     VARCHAR(100) NOT NULL,
  dDelete       TIMESTAMP,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TInd_Indirizzo PRIMARY KEY (iIndId)
);

CREATE TABLE TCls_Classi (
  iClsId        INTEGER NOT NULL,
  iAcsId        INTEGER NOT NULL,
  iSezId        INTEGER NOT NULL,
  iIndId        INTEGER,
  iDwgSedId     INTEGER,
  dStart        DATE NOT NULL,
  dEnd          DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TCls_Classi PRIMARY KEY (iClsId),
  CONSTRAINT FK_TCls_Acs FOREIGN KEY (iAcsId) REFERENCES TAcs_AnniCorso (iAcsId),
  CONSTRAINT FK_TCls_Sez FOREIGN KEY (iSezId) REFERENCES TSez_Sezioni (iSezId),
  CONSTRAINT FK_TCls_Ind FOREIGN KEY (iIndId) REFERENCES TInd_Indirizzo (iIndId),
  CONSTRAINT FK_TCls_DwgSed FOREIGN KEY (iDwgSedId) REFERENCES TDwgSed (iDwgSedId)
);
CREATE INDEX IX_TCls_Start ON TCls_Classi (dStart);

CREATE TABLE TClsPst (
  iClsPstId     INTEGER NOT NULL,
  iClsId        INTEGER NOT NULL,
  iClsPstNum    INTEGER,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TClsPst PRIMARY KEY (iClsPstId),
  CONSTRAINT FK_TClsPst_Cls FOREIGN KEY (iClsId) REFERENCES TCls_Classi (iClsId)
);

CREATE TABLE TSit_Situazioni (
  iSitId        INTEGER NOT NULL,
  iAnaId        INTEGER NOT NULL,
  iClsPstId     INTEGER,
  iSitOrdine    INTEGER DEFAULT 1,
  iPosAttId     INTEGER DEFAULT 1,
  dStart        DATE NOT NULL,
  dEnd          DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TSit_Situazioni PRIMARY KEY (iSitId),
  CONSTRAINT FK_TSit_Ana FOREIGN KEY (iAnaId) REFERENCES TAna_Anagrafiche (iAnaId),
  CONSTRAINT FK_TSit_ClsPst FOREIGN KEY (iClsPstId) REFERENCES TClsPst (iClsPstId)
);
CREATE INDEX IX_TSit_Ana ON TSit_Situazioni (iAnaId, dStart);
CREATE INDEX IX_TSit_Start ON TSit_Situazioni (dStart);

-- Classes with their descriptions: sClsSDesc course + section ("1A"),
-- sClsDesc course + section + blank + address, sClsAnnoScol "2024/2025".
CREATE VIEW VCls_Classi (iClsId, iAcsId, iSezId, iIndId, iDwgSedId, iDwgId,
                         sAcsSDesc, sSezSDesc, sIndLDesc, sClsSDesc, sClsDesc,
                         sClsAnnoScol, dStart_Cls, dEnd_Cls, dStart, dEnd,
                         sSedNomSDesc, sSedNomLDesc, iLocked) AS
  SELECT Cls.iClsId, Cls.iAcsId, Cls.iSezId, Cls.iIndId, Cls.iDwgSedId, Ds.iDwgId,
         Acs.sAcsSDesc, Sez.sSezSDesc, Ind.sIndLDesc,
         Acs.sAcsSDesc || Sez.sSezSDesc,
         Acs.sAcsSDesc || Sez.sSezSDesc || COALESCE(' ' || Ind.sIndLDesc, ''),
         CAST(EXTRACT(YEAR FROM Cls.dStart) AS VARCHAR(4)) || '/' ||
           CAST(EXTRACT(YEAR FROM Cls.dStart) + 1 AS VARCHAR(4)),
         Cls.dStart, Cls.dEnd, Cls.dStart, Cls.dEnd,
         Sed.sSedNomSDesc, Sed.sSedNomLDesc, Cls.iLocked
  FROM TCls_Classi Cls
  INNER JOIN TAcs_AnniCorso Acs ON (Acs.iAcsId = Cls.iAcsId)
  INNER JOIN TSez_Sezioni Sez ON (Sez.iSezId = Cls.iSezId)
  LEFT OUTER JOIN TInd_Indirizzo Ind ON (Ind.iIndId = Cls.iIndId)
  LEFT OUTER JOIN TDwgSed Ds ON (Ds.iDwgSedId = Cls.iDwgSedId)
  LEFT OUTER JOIN TSed_Sedi Sed ON (Sed.iSedId = Ds.iSedId);

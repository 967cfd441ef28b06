-- School years and financial years.
-- A school year's id is its start year (2024 = 2024/2025); dAnsVeltoInizio
-- and dAnsVeltoFine bound it, dAnsInizio and dAnsFine are the lesson days.
-- A financial year is a calendar year; TDWGANF gives each data owner its own
-- dates for it (null = the year's own dates).

CREATE TABLE TAns_AnniScolast (
  iAnsId          INTEGER NOT NULL,
  iAnsValore      INTEGER NOT NULL,
  sAnsAnnoDesc    VARCHAR(9) NOT NULL,
  dAnsVeltoInizio DATE NOT NULL,
  dAnsVeltoFine   DATE NOT NULL,
  dAnsInizio      DATE,
  dAnsFine        DATE,
  iLocked         SMALLINT DEFAULT 0,
  CONSTRAINT PK_TAns_AnniScolast PRIMARY KEY (iAnsId)
);
CREATE INDEX IX_TAns_Velto ON TAns_AnniScolast (dAnsVeltoInizio, dAnsVeltoFine);

CREATE VIEW VAns_AnniScolast (iAnsId, iAnsValore, sAnsAnnoDesc, dAnsVeltoInizio,
                              dAnsVeltoFine, dAnsInizio, dAnsFine, iLocked) AS
  SELECT iAnsId, iAnsValore, sAnsAnnoDesc, dAnsVeltoInizio, dAnsVeltoFine,
         dAnsInizio, dAnsFine, iLocked
  FROM TAns_AnniScolast;

CREATE TABLE TAnf_AnniFinanz (
  iAnfId          INTEGER NOT NULL,
  iAnfValore      INTEGER NOT NULL,
  dAnfVeltoInizio DATE NOT NULL,
  dAnfVeltoFine   DATE NOT NULL,
  iLocked         SMALLINT DEFAULT 0,
  CONSTRAINT PK_TAnf_AnniFinanz PRIMARY KEY (iAnfId),
  CONSTRAINT UQ_TAnf_Valore UNIQUE (iAnfValore)
);
CREATE INDEX IX_TAnf_Velto ON TAnf_AnniFinanz (dAnfVeltoInizio, dAnfVeltoFine);

CREATE TABLE TDWGANF (
  iDwgAnfId       INTEGER NOT NULL,
  iDwgId          INTEGER NOT NULL,
  iAnfId          INTEGER NOT NULL,
  dDwgAnfInizio   DATE,
  dDwgAnfFine     DATE,
  dDelete         TIMESTAMP,
  CONSTRAINT PK_TDWGANF PRIMARY KEY (iDwgAnfId),
  CONSTRAINT FK_TDWGANF_Dwg FOREIGN KEY (iDwgId) REFERENCES TDwg_DataOwnerGrp (iDwgId),
  CONSTRAINT FK_TDWGANF_Anf FOREIGN KEY (iAnfId) REFERENCES TAnf_AnniFinanz (iAnfId)
);
CREATE INDEX IX_TDWGANF_Dwg ON TDWGANF (iDwgId, iAnfId);

-- Data owners (schools) and data-owner groups, with their seats.
-- A TDwg_DataOwnerGrp row is either a school (iDowId set) or a group of
-- schools (iDowId null); TOtgDwg says which schools belong to which group
-- and for which period.

CREATE TABLE TDow_DataOwner (
  iDowId        INTEGER NOT NULL,
  sDowSDesc     VARCHAR(60) NOT NULL,
  sDowLDesc     VARCHAR(200),
  sDowCodMecc   VARCHAR(20),
  sDowCodFiscale VARCHAR(16),
  dStart        DATE,
  dEnd          DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TDow_DataOwner PRIMARY KEY (iDowId)
);

CREATE TABLE TDwg_DataOwnerGrp (
  iDwgId        INTEGER NOT NULL,
  iDowId        INTEGER,
  sDwgDesc      VARCHAR(200),
  dStart        DATE,
  dEnd          DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TDwg_DataOwnerGrp PRIMARY KEY (iDwgId),
  CONSTRAINT FK_TDwg_Dow FOREIGN KEY (iDowId) REFERENCES TDow_DataOwner (iDowId)
);

CREATE TABLE TOtgDwg (
  iOtgDwgId     INTEGER NOT NULL,
  iDwgId_Grp    INTEGER NOT NULL,
  iDwgId        INTEGER NOT NULL,
  dStart        DATE,
  dEnd          DATE,
  CONSTRAINT PK_TOtgDwg PRIMARY KEY (iOtgDwgId),
  CONSTRAINT FK_TOtgDwg_Grp FOREIGN KEY (iDwgId_Grp) REFERENCES TDwg_DataOwnerGrp (iDwgId),
  CONSTRAINT FK_TOtgDwg_Dwg FOREIGN KEY (iDwgId) REFERENCES TDwg_DataOwnerGrp (iDwgId)
);

-- Data owners with their own validity and the validity of their membership
-- of a group; group rows appear too, with iDowId null.
CREATE VIEW VDow_DataOwner (iDwgId, iDowId, sDowSDesc, sDowLDesc, sDowCodMecc,
                            sDowCodFiscale, sDwgDesc, dStart_Dwg, dEnd_Dwg,
                            iDwgId_Grp, dStart_OtgDwg, dEnd_OtgDwg) AS
  SELECT Dwg.iDwgId, Dwg.iDowId, Dow.sDowSDesc, Dow.sDowLDesc, Dow.sDowCodMecc,
         Dow.sDowCodFiscale, Dwg.sDwgDesc, Dwg.dStart, Dwg.dEnd,
         Otg.iDwgId_Grp, Otg.dStart, Otg.dEnd
  FROM TDwg_DataOwnerGrp Dwg
  LEFT OUTER JOIN TDow_DataOwner Dow ON (Dow.iDowId = Dwg.iDowId)
  LEFT OUTER JOIN TOtgDwg Otg ON (Otg.iDwgId = Dwg.iDwgId);

-- Seats (buildings) and their link to a data owner.
CREATE TABLE TSed_Sedi (
  iSedId            INTEGER NOT NULL,
  sSedNomSDesc      VARCHAR(60),
  sSedNomLDesc      VARCHAR(200) NOT NULL,
  sSedIndIndirizzo  VARCHAR(100),
  iComCapId         INTEGER,
  sSedTelefono      VARCHAR(30),
  sSedFax           VARCHAR(30),
  sSedEMail         VARCHAR(100),
  sSedCodMecc       VARCHAR(20),
  sSedNomCodiceFisc VARCHAR(16),
  dStart            DATE,
  dEnd              DATE,
  iLocked           SMALLINT DEFAULT 0,
  CONSTRAINT PK_TSed_Sedi PRIMARY KEY (iSedId),
  CONSTRAINT FK_TSed_ComCap FOREIGN KEY (iComCapId) REFERENCES TComCap (iComCapId)
);

CREATE TABLE TDwgSed (
  iDwgSedId     INTEGER NOT NULL,
  iDwgId        INTEGER NOT NULL,
  iSedId        INTEGER NOT NULL,
  lDwgSedMain   SMALLINT DEFAULT 0,
  dStart        DATE,
  dEnd          DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TDwgSed PRIMARY KEY (iDwgSedId),
  CONSTRAINT FK_TDwgSed_Dwg FOREIGN KEY (iDwgId) REFERENCES TDwg_DataOwnerGrp (iDwgId),
  CONSTRAINT FK_TDwgSed_Sed FOREIGN KEY (iSedId) REFERENCES TSed_Sedi (iSedId)
);

CREATE VIEW VSed_Sedi (iDwgSedId, iDwgId, iSedId, lDwgSedMain, dStart_DwgSed,
                       dEnd_DwgSed, sSedNomSDesc, sSedNomLDesc, sSedIndIndirizzo,
                       iComCapId, sSedTelefono, sSedFax, sSedEMail, sSedCodMecc,
                       sSedNomCodiceFisc, dStart, dEnd) AS
  SELECT Ds.iDwgSedId, Ds.iDwgId, Ds.iSedId, Ds.lDwgSedMain, Ds.dStart, Ds.dEnd,
         Sed.sSedNomSDesc, Sed.sSedNomLDesc, Sed.sSedIndIndirizzo, Sed.iComCapId,
         Sed.sSedTelefono, Sed.sSedFax, Sed.sSedEMail, Sed.sSedCodMecc,
         Sed.sSedNomCodiceFisc, Sed.dStart, Sed.dEnd
  FROM TDwgSed Ds
  INNER JOIN TSed_Sedi Sed ON (Sed.iSedId = Ds.iSedId);

-- Sibling modules of the suite: contacts, citizenships and occupational
-- status of the people registry, document signatories, and the registry
-- category of the other beneficiaries.
--
-- TAnaTel and TAnaEml hold any number of phone numbers and e-mail addresses
-- of a person, each with a free description ("Cellulare", "Ufficio").
-- TAnaCitt holds a person's citizenships (states of TSta_Stati) with their
-- period. TEde_StatoOccup lists the occupational states of adult-education
-- learners; TAnaEde records a learner's state with its period.
-- TKbs_Firme keeps who signs the documents, in which role and period.
-- Other beneficiaries (people or firms that are neither pupils, parents nor
-- staff) are registry people of category 4.

CREATE TABLE TAnaTel (
  iAnaTelId     INTEGER NOT NULL,
  iAnaId        INTEGER NOT NULL,
  sAnaTelNumero VARCHAR(30) NOT NULL,
  sAnaTelDesc   VARCHAR(40),
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TAnaTel PRIMARY KEY (iAnaTelId),
  CONSTRAINT FK_TAnaTel_Ana FOREIGN KEY (iAnaId) REFERENCES TAna_Anagrafiche (iAnaId) ON DELETE CASCADE
);
CREATE INDEX IX_TAnaTel_Ana ON TAnaTel (iAnaId);

CREATE TABLE TAnaEml (
  iAnaEmlId        INTEGER NOT NULL,
  iAnaId           INTEGER NOT NULL,
  sAnaEmlIndirizzo VARCHAR(100) NOT NULL,
  sAnaEmlDesc      VARCHAR(40),
  iLocked          SMALLINT DEFAULT 0,
  CONSTRAINT PK_TAnaEml PRIMARY KEY (iAnaEmlId),
  CONSTRAINT FK_TAnaEml_Ana FOREIGN KEY (iAnaId) REFERENCES TAna_Anagrafiche (iAnaId) ON DELETE CASCADE
);
CREATE INDEX IX_TAnaEml_Ana ON TAnaEml (iAnaId);

CREATE TABLE TAnaCitt (
  iAnaCittId    INTEGER NOT NULL,
  iAnaId        INTEGER NOT NULL,
  iStaId        INTEGER NOT NULL,
  dStart        DATE,
  dEnd          DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TAnaCitt PRIMARY KEY (iAnaCittId),
  CONSTRAINT FK_TAnaCitt_Ana FOREIGN KEY (iAnaId) REFERENCES TAna_Anagrafiche (iAnaId) ON DELETE CASCADE,
  CONSTRAINT FK_TAnaCitt_Sta FOREIGN KEY (iStaId) REFERENCES TSta_Stati (iStaId)
);
CREATE INDEX IX_TAnaCitt_Ana ON TAnaCitt (iAnaId);

CREATE TABLE TEde_StatoOccup (
  iEdeId        INTEGER NOT NULL,
  sEdeDesc      VARCHAR(60) NOT NULL,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TEde_StatoOccup PRIMARY KEY (iEdeId)
);

CREATE TABLE TAnaEde (
  iAnaEdeId     INTEGER NOT NULL,
  iAnaId        INTEGER NOT NULL,
  iEdeId        INTEGER NOT NULL,
  sAnaEdeNote   VARCHAR(100),
  dStart        DATE,
  dEnd          DATE,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TAnaEde PRIMARY KEY (iAnaEdeId),
  CONSTRAINT FK_TAnaEde_Ana FOREIGN KEY (iAnaId) REFERENCES TAna_Anagrafiche (iAnaId) ON DELETE CASCADE,
  CONSTRAINT FK_TAnaEde_Ede FOREIGN KEY (iEdeId) REFERENCES TEde_StatoOccup (iEdeId)
);
CREATE INDEX IX_TAnaEde_Ana ON TAnaEde (iAnaId);

CREATE TABLE TKbs_Firme (
  iKbsId          INTEGER NOT NULL,
  sKbsRuolo       VARCHAR(60) NOT NULL,
  sKbsCognomeNome VARCHAR(100) NOT NULL,
  dStart          DATE NOT NULL,
  dEnd            DATE,
  iLocked         SMALLINT DEFAULT 0,
  CONSTRAINT PK_TKbs_Firme PRIMARY KEY (iKbsId),
  CONSTRAINT CK_TKbs_Firme_Periodo CHECK (dEnd IS NULL OR dEnd >= dStart)
);

-- Reference rows every database needs: the occupational states and the
-- registry category of the other beneficiaries.
INSERT INTO TEde_StatoOccup (iEdeId, sEdeDesc) VALUES (1, 'Occupato');
INSERT INTO TEde_StatoOccup (iEdeId, sEdeDesc) VALUES (2, 'Disoccupato');
INSERT INTO TEde_StatoOccup (iEdeId, sEdeDesc) VALUES (3, 'In cerca di prima occupazione');
INSERT INTO TEde_StatoOccup (iEdeId, sEdeDesc) VALUES (4, 'Studente');
INSERT INTO TEde_StatoOccup (iEdeId, sEdeDesc) VALUES (5, 'Pensionato');
UPDATE OR INSERT INTO TCag_CategAna (iCagId, sCagDesc) VALUES (4, 'Altri beneficiari') MATCHING (iCagId);
COMMIT;

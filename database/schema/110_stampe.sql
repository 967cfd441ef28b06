-- Report templates and their tree, customised copies, print contexts, and
-- the XML archive of definitions (filters, bulk-replace definitions).
-- Templates: iYRptId_P is the parent node of the report tree (null = root);
-- a node without a template blob is a folder. sYAppCode is the application
-- code of the tree ("EBD"), iYAppId its numeric id (44).
-- Customised copies have ids from 1000000 up and name their base template.

CREATE TABLE TYRpt_RptTemplate (
  iYRptId       INTEGER NOT NULL,
  iYRptId_P     INTEGER,
  sYAppCode     VARCHAR(10) NOT NULL,
  iYAppId       INTEGER,
  sYRptName     VARCHAR(60),
  sYRptDesc     VARCHAR(200) NOT NULL,
  iYRptOrdine   INTEGER DEFAULT 0,
  bYRptTemplate BLOB SUB_TYPE TEXT,
  dDelete       TIMESTAMP,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TYRpt_RptTemplate PRIMARY KEY (iYRptId),
  CONSTRAINT FK_TYRpt_P FOREIGN KEY (iYRptId_P) REFERENCES TYRpt_RptTemplate (iYRptId)
);
CREATE INDEX IX_TYRpt_App ON TYRpt_RptTemplate (sYAppCode);

CREATE TABLE TYRpc_RptCustom (
  iYRpcId       INTEGER NOT NULL,
  iYRptId       INTEGER NOT NULL,
  sYRpcDesc     VARCHAR(200),
  bYRpcTemplate BLOB SUB_TYPE TEXT,
  dDelete       TIMESTAMP,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TYRpc_RptCustom PRIMARY KEY (iYRpcId),
  CONSTRAINT FK_TYRpc_Rpt FOREIGN KEY (iYRptId) REFERENCES TYRpt_RptTemplate (iYRptId)
);

-- Print contexts: a category of an application, the templates linked to it
-- and the named parameter values of each link.
CREATE TABLE TScc_StampeCateg (
  iSccId        INTEGER NOT NULL,
  iYAppId       INTEGER NOT NULL,
  sSccName      VARCHAR(60) NOT NULL,
  CONSTRAINT PK_TScc_StampeCateg PRIMARY KEY (iSccId)
);
CREATE INDEX IX_TScc_AppName ON TScc_StampeCateg (iYAppId, sSccName);

CREATE TABLE TStmc_StampeCont (
  iStmcId       INTEGER NOT NULL,
  iSccId        INTEGER NOT NULL,
  iYRptId       INTEGER NOT NULL,
  CONSTRAINT PK_TStmc_StampeCont PRIMARY KEY (iStmcId),
  CONSTRAINT FK_TStmc_Scc FOREIGN KEY (iSccId) REFERENCES TScc_StampeCateg (iSccId),
  CONSTRAINT FK_TStmc_Rpt FOREIGN KEY (iYRptId) REFERENCES TYRpt_RptTemplate (iYRptId)
);

CREATE TABLE TStmp_StampePar (
  iStmpId       INTEGER NOT NULL,
  iStmcId       INTEGER NOT NULL,
  sStmpName     VARCHAR(60) NOT NULL,
  sStmpValue    VARCHAR(200),
  iStmpValue    INTEGER,
  fStmpValue    DOUBLE PRECISION,
  dStmpValue    DATE,
  CONSTRAINT PK_TStmp_StampePar PRIMARY KEY (iStmpId),
  CONSTRAINT FK_TStmp_Stmc FOREIGN KEY (iStmcId) REFERENCES TStmc_StampeCont (iStmcId)
);

-- XML archive: lists (by application) and the documents filed under them.
CREATE TABLE TYXls_XmlLista (
  iYXlsId       INTEGER NOT NULL,
  sYXlsCodice   VARCHAR(20) NOT NULL,
  sYXlsDesc     VARCHAR(100),
  CONSTRAINT PK_TYXls_XmlLista PRIMARY KEY (iYXlsId),
  CONSTRAINT UQ_TYXls_Codice UNIQUE (sYXlsCodice)
);

CREATE TABLE TYXar_XmlArchivio (
  iYXarId       INTEGER NOT NULL,
  iYXlsId       INTEGER NOT NULL,
  sYXarCodice   VARCHAR(40) NOT NULL,
  sYXarDesc     VARCHAR(200),
  bYXarXmlFile  BLOB SUB_TYPE TEXT,
  iLocked       SMALLINT DEFAULT 0,
  CONSTRAINT PK_TYXar_XmlArchivio PRIMARY KEY (iYXarId),
  CONSTRAINT FK_TYXar_Xls FOREIGN KEY (iYXlsId) REFERENCES TYXls_XmlLista (iYXlsId)
);
CREATE INDEX IX_TYXar_Codice ON TYXar_XmlArchivio (sYXarCodice);

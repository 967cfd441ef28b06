-- The log of the SEPA direct-debit files written by the bank export: one row
-- per saved file, one per debit (DrctDbtTxInf) and one per instalment of a
-- debit, with what the payment recording changed so that a returned debit
-- can be cancelled. The mandate's signature date of a holder record.

ALTER TABLE TAcb_AluCoordBan ADD dAcbDataMandato DATE;

CREATE TABLE TEsd_EsportazSdd (
  iEsdId          INTEGER NOT NULL,
  iSprIstId       INTEGER NOT NULL,
  iDwgId          INTEGER,
  dEsdCreazione   TIMESTAMP NOT NULL,
  sEsdMsgId       VARCHAR(35) NOT NULL,
  sEsdFile        VARCHAR(1024),
  sEsdCreditorId  VARCHAR(35),
  iEsdNumTx       INTEGER NOT NULL,
  iEsdTotCent     BIGINT NOT NULL,
  lEsdPagamenti   SMALLINT DEFAULT 0 NOT NULL,
  CONSTRAINT PK_TEsd_EsportazSdd PRIMARY KEY (iEsdId),
  CONSTRAINT UQ_TEsd_MsgId UNIQUE (sEsdMsgId),
  CONSTRAINT FK_TEsd_SprIst FOREIGN KEY (iSprIstId) REFERENCES TSprIst (iSprIstId)
);

CREATE TABLE TEtx_TransazSdd (
  iEtxId       INTEGER NOT NULL,
  iEsdId       INTEGER NOT NULL,
  iEtxNum      INTEGER NOT NULL,
  iAnaId_Gen   INTEGER,
  sEtxDebitore VARCHAR(70),
  sEtxIban     VARCHAR(34) NOT NULL,
  sEtxMndtId   VARCHAR(35) NOT NULL,
  sEtxSeqTp    VARCHAR(4) NOT NULL,
  dEtxIncasso  DATE NOT NULL,
  iEtxCent     BIGINT NOT NULL,
  dEtxStorno   TIMESTAMP,
  CONSTRAINT PK_TEtx_TransazSdd PRIMARY KEY (iEtxId),
  CONSTRAINT FK_TEtx_Esd FOREIGN KEY (iEsdId) REFERENCES TEsd_EsportazSdd (iEsdId) ON DELETE CASCADE
);
CREATE INDEX IX_TEtx_MndtId ON TEtx_TransazSdd (sEtxMndtId);

CREATE TABLE TEtxCac (
  iEtxId           INTEGER NOT NULL,
  iCacId           INTEGER NOT NULL,
  iEtxCacCent      BIGINT NOT NULL,
  dEtxCacPagamento DATE,
  iSprIstId_Prec   INTEGER,
  CONSTRAINT PK_TEtxCac PRIMARY KEY (iEtxId, iCacId),
  CONSTRAINT FK_TEtxCac_Etx FOREIGN KEY (iEtxId) REFERENCES TEtx_TransazSdd (iEtxId) ON DELETE CASCADE,
  CONSTRAINT FK_TEtxCac_Cac FOREIGN KEY (iCacId) REFERENCES TCac_CcaAcbCau (iCacId) ON DELETE CASCADE
);
CREATE INDEX IX_TEtxCac_Cac ON TEtxCac (iCacId);

-- Revision bookkeeping: one row per upgrade script applied to the database.
-- A database without this table is at revision 0 (built by schema/ only).
CREATE TABLE TVT_SCHEMAREV (
  IREVISIONE  INTEGER      NOT NULL,
  SSCRIPT     VARCHAR(100) NOT NULL,
  DAPPLICATO  TIMESTAMP    DEFAULT CURRENT_TIMESTAMP NOT NULL,
  CONSTRAINT PK_TVT_SCHEMAREV PRIMARY KEY (IREVISIONE)
);

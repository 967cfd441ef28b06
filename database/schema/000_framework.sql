-- Objects of the application framework: key generator, schema version,
-- saved parameter values (per user).

CREATE SEQUENCE GEN_VTID;
ALTER SEQUENCE GEN_VTID RESTART WITH 1000000;

-- One row per application that owns the schema; the version row is written
-- by the last script, so a half-built database is never taken for a good one.
CREATE TABLE TVT_SCHEMA (
  SAPPLICAZIONE VARCHAR(20) NOT NULL,
  SVERSIONE     VARCHAR(20) NOT NULL,
  DCREAZIONE    TIMESTAMP DEFAULT CURRENT_TIMESTAMP,
  CONSTRAINT PK_TVT_SCHEMA PRIMARY KEY (SAPPLICAZIONE)
);

-- Values of the parameter dialog, saved as text per user.
CREATE TABLE TVT_PARAMVALORI (
  SUTENTE   VARCHAR(100) NOT NULL,
  SPARNOME  VARCHAR(60)  NOT NULL,
  SVALORE   VARCHAR(1000),
  CONSTRAINT PK_TVT_PARAMVALORI PRIMARY KEY (SUTENTE, SPARNOME)
);

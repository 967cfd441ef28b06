-- Schema version of the application; written last, so a database built only
-- in part carries no version row.
UPDATE OR INSERT INTO TVT_SCHEMA (SAPPLICAZIONE, SVERSIONE)
  VALUES ('EBD', '6.94.02') MATCHING (SAPPLICAZIONE);

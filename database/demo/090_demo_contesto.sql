-- The installation's working context for whoever starts the program on the
-- demo school for the first time (user key '*': the defaults a new user
-- adopts): the group of the two schools, school year 2024/2025, financial
-- year 2025, the bank account, reasons of 2024/2025, the advances shown.
INSERT INTO TVT_PARAMVALORI (SUTENTE, SPARNOME, SVALORE) VALUES ('*', 'VTUP_DWGID', '1');
INSERT INTO TVT_PARAMVALORI (SUTENTE, SPARNOME, SVALORE) VALUES ('*', 'VTUP_ANSID', '2024');
INSERT INTO TVT_PARAMVALORI (SUTENTE, SPARNOME, SVALORE) VALUES ('*', 'EBDP_ANFID', '2025');
INSERT INTO TVT_PARAMVALORI (SUTENTE, SPARNOME, SVALORE) VALUES ('*', 'EBDP_SPRISTID', '2');
INSERT INTO TVT_PARAMVALORI (SUTENTE, SPARNOME, SVALORE) VALUES ('*', 'EBSP_CAUANSID', '2024');
INSERT INTO TVT_PARAMVALORI (SUTENTE, SPARNOME, SVALORE) VALUES ('*', 'EBDP_VIS', '1');

-- Demo rows of the sibling modules: staff and adult-education people,
-- other beneficiaries, phones, e-mail addresses, citizenships, occupational
-- states and the document signatories. Fictional names only.
-- Ids of this script lie between 70000 and 830000, below the key generator.

INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, dAnaNascita, sAnaSesso, iSrpcId_Nascita) VALUES (70001, 'Bellandi', 'Ornella', 'BLLRLL68A41X101K', '1968-01-01', 'F', 2);
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70001, 70001, 3, 'P00001');
INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, dAnaNascita, sAnaSesso, iSrpcId_Nascita) VALUES (70002, 'Caradonna', 'Fabrizio', 'CRDFBR71M12X102P', '1971-08-12', 'M', 3);
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70002, 70002, 3, 'P00002');
INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, dAnaNascita, sAnaSesso, iSrpcId_Nascita) VALUES (70003, 'Ferlini', 'Annalisa', 'FRLNLS75R55X103Q', '1975-10-15', 'F', 4);
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70003, 70003, 3, 'P00003');
INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, dAnaNascita, sAnaSesso, iSrpcId_Nascita) VALUES (70004, 'Guarnaschelli', 'Teodoro', 'GRNTDR66C03X104T', '1966-03-03', 'M', 1);
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70004, 70004, 3, 'P00004');
INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, dAnaNascita, sAnaSesso, iSrpcId_Nascita) VALUES (70005, 'Mazzoleni', 'Ilaria', 'MZZLRI80D47X101B', '1980-04-07', 'F', 2);
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70005, 70005, 3, 'P00005');
INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, dAnaNascita, sAnaSesso, iSrpcId_Nascita) VALUES (70006, 'Pedrazzini', 'Giulio', 'PDRGLI77H21X102C', '1977-06-21', 'M', 3);
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70006, 70006, 3, 'P00006');
INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, dAnaNascita, sAnaSesso) VALUES (70011, 'Achterberg', 'Lina', 'CHTLNI90E50Z330F', '1990-05-10', 'F');
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70007, 70011, 6, 'E00011');
INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, dAnaNascita, sAnaSesso) VALUES (70012, 'Bassani', 'Orlando', 'BSSRLN85B14X103M', '1985-02-14', 'M');
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70008, 70012, 6, 'E00012');
INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, dAnaNascita, sAnaSesso) VALUES (70013, 'Codreanu', 'Mirela', 'CDRMRL92S62Z129G', '1992-11-22', 'F');
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70009, 70013, 6, 'E00013');
INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, dAnaNascita, sAnaSesso) VALUES (70014, 'Elmaghrebi', 'Youssef', 'LMGYSF88L09Z330H', '1988-07-09', 'M');
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70010, 70014, 6, 'E00014');
INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, dAnaNascita, sAnaSesso) VALUES (70015, 'Ferrantini', 'Rosaria', 'FRRRSR60P58X104J', '1960-09-18', 'F');
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70011, 70015, 6, 'E00015');
INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, dAnaNascita, sAnaSesso) VALUES (70016, 'Hoxhalli', 'Arben', 'HXHRBN95T01Z100A', '1995-12-01', 'M');
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70012, 70016, 6, 'E00016');
INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, sAnaTelefono, sAnaEMail) VALUES (70101, 'Cartoleria Il Quaderno s.n.c.', NULL, '01234560157', '0381 200101', 'ordini@ilquaderno.example.it');
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70013, 70101, 4, 'B00001');
INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, sAnaTelefono, sAnaEMail) VALUES (70102, 'Trasporti Valdirame s.r.l.', NULL, '09876540153', '0381 200202', 'amministrazione@trasportivaldirame.example.it');
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70014, 70102, 4, 'B00002');
INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, sAnaTelefono, sAnaEMail) VALUES (70103, 'Lombardelli', 'Cesare', 'LMBCSR58D11X102W', '0381 200303', NULL);
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70015, 70103, 4, 'B00003');
INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome, sAnaCodFiscale, sAnaTelefono, sAnaEMail) VALUES (70104, 'Associazione Genitori Valdirame', NULL, '91000110150', NULL, 'info@genitorivaldirame.example.it');
INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (70016, 70104, 4, 'B00004');

-- Dwellings of the staff and of the adult-education learners.
INSERT INTO TAbt_Abitaz (iAbtId, sAbtIndirizzo, iComCapId) VALUES (70001, 'Via dei Tigli 4', 1);
INSERT INTO TAnaAbt (iAnaAbtId, iAnaId, iAbtId, iAnaAbtNum) VALUES (70001, 70001, 70001, 1);
INSERT INTO TAbtLoc (iAbtLocId, iAnaAbtId, iLocId) VALUES (70001, 70001, 2);
INSERT INTO TAbt_Abitaz (iAbtId, sAbtIndirizzo, iComCapId) VALUES (70002, 'Corso Garibaldi 18', 2);
INSERT INTO TAnaAbt (iAnaAbtId, iAnaId, iAbtId, iAnaAbtNum) VALUES (70002, 70002, 70002, 1);
INSERT INTO TAbtLoc (iAbtLocId, iAnaAbtId, iLocId) VALUES (70002, 70002, 2);
INSERT INTO TAbt_Abitaz (iAbtId, sAbtIndirizzo, iComCapId) VALUES (70003, 'Via Roma 52', 3);
INSERT INTO TAnaAbt (iAnaAbtId, iAnaId, iAbtId, iAnaAbtNum) VALUES (70003, 70003, 70003, 1);
INSERT INTO TAbtLoc (iAbtLocId, iAnaAbtId, iLocId) VALUES (70003, 70003, 2);
INSERT INTO TAbt_Abitaz (iAbtId, sAbtIndirizzo, iComCapId) VALUES (70004, 'Piazza della Pieve 3', 4);
INSERT INTO TAnaAbt (iAnaAbtId, iAnaId, iAbtId, iAnaAbtNum) VALUES (70004, 70004, 70004, 1);
INSERT INTO TAbtLoc (iAbtLocId, iAnaAbtId, iLocId) VALUES (70004, 70004, 2);
INSERT INTO TAbt_Abitaz (iAbtId, sAbtIndirizzo, iComCapId) VALUES (70005, 'Via Molino 9', 1);
INSERT INTO TAnaAbt (iAnaAbtId, iAnaId, iAbtId, iAnaAbtNum) VALUES (70005, 70005, 70005, 1);
INSERT INTO TAbtLoc (iAbtLocId, iAnaAbtId, iLocId) VALUES (70005, 70005, 2);
INSERT INTO TAbt_Abitaz (iAbtId, sAbtIndirizzo, iComCapId) VALUES (70006, 'Viale Europa 21', 2);
INSERT INTO TAnaAbt (iAnaAbtId, iAnaId, iAbtId, iAnaAbtNum) VALUES (70006, 70006, 70006, 1);
INSERT INTO TAbtLoc (iAbtLocId, iAnaAbtId, iLocId) VALUES (70006, 70006, 2);
INSERT INTO TAbt_Abitaz (iAbtId, sAbtIndirizzo, iComCapId) VALUES (70007, 'Via Fornaci 6', 3);
INSERT INTO TAnaAbt (iAnaAbtId, iAnaId, iAbtId, iAnaAbtNum) VALUES (70007, 70011, 70007, 1);
INSERT INTO TAbtLoc (iAbtLocId, iAnaAbtId, iLocId) VALUES (70007, 70007, 2);
INSERT INTO TAbt_Abitaz (iAbtId, sAbtIndirizzo, iComCapId) VALUES (70008, 'Via San Rocco 15', 4);
INSERT INTO TAnaAbt (iAnaAbtId, iAnaId, iAbtId, iAnaAbtNum) VALUES (70008, 70012, 70008, 1);
INSERT INTO TAbtLoc (iAbtLocId, iAnaAbtId, iLocId) VALUES (70008, 70008, 2);
INSERT INTO TAbt_Abitaz (iAbtId, sAbtIndirizzo, iComCapId) VALUES (70009, 'Via Campi 40', 1);
INSERT INTO TAnaAbt (iAnaAbtId, iAnaId, iAbtId, iAnaAbtNum) VALUES (70009, 70013, 70009, 1);
INSERT INTO TAbtLoc (iAbtLocId, iAnaAbtId, iLocId) VALUES (70009, 70009, 2);
INSERT INTO TAbt_Abitaz (iAbtId, sAbtIndirizzo, iComCapId) VALUES (70010, 'Vicolo Stretto 2', 2);
INSERT INTO TAnaAbt (iAnaAbtId, iAnaId, iAbtId, iAnaAbtNum) VALUES (70010, 70014, 70010, 1);
INSERT INTO TAbtLoc (iAbtLocId, iAnaAbtId, iLocId) VALUES (70010, 70010, 2);
INSERT INTO TAbt_Abitaz (iAbtId, sAbtIndirizzo, iComCapId) VALUES (70011, 'Via Marconi 11', 3);
INSERT INTO TAnaAbt (iAnaAbtId, iAnaId, iAbtId, iAnaAbtNum) VALUES (70011, 70015, 70011, 1);
INSERT INTO TAbtLoc (iAbtLocId, iAnaAbtId, iLocId) VALUES (70011, 70011, 2);
INSERT INTO TAbt_Abitaz (iAbtId, sAbtIndirizzo, iComCapId) VALUES (70012, 'Via Borgonuovo 27', 4);
INSERT INTO TAnaAbt (iAnaAbtId, iAnaId, iAbtId, iAnaAbtNum) VALUES (70012, 70016, 70012, 1);
INSERT INTO TAbtLoc (iAbtLocId, iAnaAbtId, iLocId) VALUES (70012, 70012, 2);

-- Occupational states of the adult-education learners.
INSERT INTO TAnaEde (iAnaEdeId, iAnaId, iEdeId, sAnaEdeNote, dStart) VALUES (70001, 70011, 2, 'Iscritta al centro per l''impiego', '2024-09-01');
INSERT INTO TAnaEde (iAnaEdeId, iAnaId, iEdeId, sAnaEdeNote, dStart) VALUES (70002, 70012, 1, 'Magazziniere a tempo parziale', '2024-09-01');
INSERT INTO TAnaEde (iAnaEdeId, iAnaId, iEdeId, sAnaEdeNote, dStart) VALUES (70003, 70013, 3, NULL, '2024-09-01');
INSERT INTO TAnaEde (iAnaEdeId, iAnaId, iEdeId, sAnaEdeNote, dStart) VALUES (70004, 70014, 2, NULL, '2024-09-01');
INSERT INTO TAnaEde (iAnaEdeId, iAnaId, iEdeId, sAnaEdeNote, dStart) VALUES (70005, 70015, 5, NULL, '2024-09-01');
INSERT INTO TAnaEde (iAnaEdeId, iAnaId, iEdeId, sAnaEdeNote, dStart) VALUES (70006, 70016, 4, NULL, '2024-09-01');

-- Citizenships: every learner has one; some hold two.
INSERT INTO TAnaCitt (iAnaCittId, iAnaId, iStaId, dStart) VALUES (790001, 70011, 3, '1990-05-10');
INSERT INTO TAnaCitt (iAnaCittId, iAnaId, iStaId, dStart) VALUES (790002, 70012, 1, '1985-02-14');
INSERT INTO TAnaCitt (iAnaCittId, iAnaId, iStaId, dStart) VALUES (790003, 70013, 3, '1992-11-22');
INSERT INTO TAnaCitt (iAnaCittId, iAnaId, iStaId, dStart) VALUES (790004, 70014, 5, '1988-07-09');
INSERT INTO TAnaCitt (iAnaCittId, iAnaId, iStaId, dStart) VALUES (790005, 70014, 1, '2015-06-30');
INSERT INTO TAnaCitt (iAnaCittId, iAnaId, iStaId, dStart) VALUES (790006, 70015, 1, '1960-09-18');
INSERT INTO TAnaCitt (iAnaCittId, iAnaId, iStaId, dStart) VALUES (790007, 70016, 4, '1995-12-01');
INSERT INTO TAnaCitt (iAnaCittId, iAnaId, iStaId, dStart) VALUES (790008, 70016, 1, '2015-06-30');
-- The pupils, parents and staff of the demo school: Italian citizens, one in
-- thirteen of another state.
INSERT INTO TAnaCitt (iAnaCittId, iAnaId, iStaId, dStart)
  SELECT 800000 + A.iAnaId, A.iAnaId,
         CASE WHEN MOD(A.iAnaId, 13) = 0 THEN 2 + MOD(A.iAnaId, 4) ELSE 1 END, A.dAnaNascita
  FROM TAna_Anagrafiche A
  WHERE A.iAnaId < 70000 OR A.iAnaId BETWEEN 70001 AND 70010;

-- Phones: a mobile number for four people in five, a second one for parents
-- whose id is even; the staff and learners all have one.
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) VALUES (760001, 70001, '320 1234567', 'Cellulare');
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) VALUES (760002, 70002, '321 1242486', 'Cellulare');
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) VALUES (760003, 70003, '322 1250405', 'Cellulare');
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) VALUES (760004, 70004, '323 1258324', 'Cellulare');
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) VALUES (760005, 70005, '324 1266243', 'Cellulare');
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) VALUES (760006, 70006, '325 1274162', 'Cellulare');
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) VALUES (760007, 70011, '326 1282081', 'Cellulare');
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) VALUES (760008, 70012, '327 1290000', 'Cellulare');
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) VALUES (760009, 70013, '328 1297919', 'Cellulare');
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) VALUES (760010, 70014, '329 1305838', 'Cellulare');
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) VALUES (760011, 70015, '330 1313757', 'Cellulare');
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) VALUES (760012, 70016, '331 1321676', 'Cellulare');
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) VALUES (760013, 70101, '0381 200101', 'Ufficio');
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) VALUES (760014, 70102, '0381 200202', 'Ufficio');
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc) VALUES (760015, 70103, '0381 200303', 'Ufficio');
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc)
  SELECT 700000 + A.iAnaId, A.iAnaId,
         '3' || LPAD(CAST(MOD(A.iAnaId * 37, 90) + 10 AS VARCHAR(2)), 2, '0') || ' ' ||
         LPAD(CAST(MOD(A.iAnaId * 7919 + 104729, 10000000) AS VARCHAR(8)), 7, '0'), 'Cellulare'
  FROM TAna_Anagrafiche A
  WHERE A.iAnaId < 70000 AND MOD(A.iAnaId, 5) <> 0;
INSERT INTO TAnaTel (iAnaTelId, iAnaId, sAnaTelNumero, sAnaTelDesc)
  SELECT 720000 + A.iAnaId, A.iAnaId,
         '0381 ' || LPAD(CAST(MOD(A.iAnaId * 4421 + 2203, 1000000) AS VARCHAR(7)), 6, '0'), 'Lavoro'
  FROM TAna_Anagrafiche A
  WHERE A.iAnaId < 70000 AND MOD(A.iAnaId, 2) = 0
    AND EXISTS (SELECT 1 FROM TAnaCag C WHERE C.iAnaId = A.iAnaId AND C.iCagId = 2);

-- E-mail addresses: the one written in the registry, and a work address for
-- the staff.
INSERT INTO TAnaEml (iAnaEmlId, iAnaId, sAnaEmlIndirizzo, sAnaEmlDesc)
  SELECT 740000 + A.iAnaId, A.iAnaId, A.sAnaEMail, 'Personale'
  FROM TAna_Anagrafiche A
  WHERE A.iAnaId < 70000 AND A.sAnaEMail IS NOT NULL;
INSERT INTO TAnaEml (iAnaEmlId, iAnaId, sAnaEmlIndirizzo, sAnaEmlDesc) VALUES (780001, 70001, 'o.bellandi@icvaldirame.example.it', 'Istituto');
INSERT INTO TAnaEml (iAnaEmlId, iAnaId, sAnaEmlIndirizzo, sAnaEmlDesc) VALUES (780002, 70002, 'f.caradonna@icvaldirame.example.it', 'Istituto');
INSERT INTO TAnaEml (iAnaEmlId, iAnaId, sAnaEmlIndirizzo, sAnaEmlDesc) VALUES (780003, 70003, 'a.ferlini@icvaldirame.example.it', 'Istituto');
INSERT INTO TAnaEml (iAnaEmlId, iAnaId, sAnaEmlIndirizzo, sAnaEmlDesc) VALUES (780004, 70004, 't.guarnaschelli@icvaldirame.example.it', 'Istituto');
INSERT INTO TAnaEml (iAnaEmlId, iAnaId, sAnaEmlIndirizzo, sAnaEmlDesc) VALUES (780005, 70005, 'i.mazzoleni@icvaldirame.example.it', 'Istituto');
INSERT INTO TAnaEml (iAnaEmlId, iAnaId, sAnaEmlIndirizzo, sAnaEmlDesc) VALUES (780006, 70006, 'g.pedrazzini@icvaldirame.example.it', 'Istituto');
INSERT INTO TAnaEml (iAnaEmlId, iAnaId, sAnaEmlIndirizzo, sAnaEmlDesc) VALUES (780007, 70101, 'ordini@ilquaderno.example.it', 'Ufficio');
INSERT INTO TAnaEml (iAnaEmlId, iAnaId, sAnaEmlIndirizzo, sAnaEmlDesc) VALUES (780008, 70102, 'amministrazione@trasportivaldirame.example.it', 'Ufficio');
INSERT INTO TAnaEml (iAnaEmlId, iAnaId, sAnaEmlIndirizzo, sAnaEmlDesc) VALUES (780009, 70104, 'info@genitorivaldirame.example.it', 'Ufficio');

-- Signatories of the documents.
INSERT INTO TKbs_Firme (iKbsId, sKbsRuolo, sKbsCognomeNome, dStart, dEnd) VALUES (70001, 'Dirigente scolastico', 'Guarnaschelli Teodoro', '2019-09-01', NULL);
INSERT INTO TKbs_Firme (iKbsId, sKbsRuolo, sKbsCognomeNome, dStart, dEnd) VALUES (70002, 'DSGA', 'Caradonna Fabrizio', '2021-09-01', NULL);
INSERT INTO TKbs_Firme (iKbsId, sKbsRuolo, sKbsCognomeNome, dStart, dEnd) VALUES (70003, 'Dirigente scolastico', 'Mazzanti Loredana', '2012-09-01', '2019-08-31');
COMMIT;

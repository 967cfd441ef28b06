-- Demo school: what the program's shell and the accounts window read beyond
-- the generated scripts: movements of the post, bank and cash accounts in
-- both financial years, the closed account with its movements locked, the
-- cash book of the primary school's account, a customised copy of a report
-- that the report tree hides.
-- Written by hand (not by tools/gen_demo.py). Ids lie below 1000000, where
-- the key generator starts, except the customised report copy, whose ids
-- start at 1000000 by definition.

-- Movements of accounts 1-3 so that each has some in 2024 and in 2025
-- (lMvmTipo 0 incoming, 1 outgoing). They use only reasons that other
-- movements already use, and none falls after 30 September 2025.
INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, iCauId, iCbmId, iMvmNumero, lMvmTipo, dMvmDataMov, dMvmDataEC, fMvmImporto, sMvmDesc) VALUES (8001, 1, 2401, 1, 8, 0, '2024-02-12', '2024-02-14', 120.0, 'Contributi volontari su bollettino');
INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, iCauId, iCbmId, iMvmNumero, lMvmTipo, dMvmDataMov, dMvmDataEC, fMvmImporto, sMvmDesc) VALUES (8002, 1, NULL, 4, 9, 1, '2024-06-28', '2024-06-30', 25.63, 'Spese di tenuta conto primo semestre');
INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, iCauId, iCbmId, iMvmNumero, lMvmTipo, dMvmDataMov, dMvmDataEC, fMvmImporto, sMvmDesc) VALUES (8003, 1, 2403, 1, 10, 0, '2024-10-18', '2024-10-21', 310.0, 'Quote uscita didattica 3A');
INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, iCauId, iCbmId, iMvmNumero, lMvmTipo, dMvmDataMov, dMvmDataEC, fMvmImporto, sMvmDesc) VALUES (8004, 2, NULL, 5, 11, 1, '2024-03-08', '2024-03-11', 412.3, 'Manutenzione fotocopiatrici');
INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, iCauId, iCbmId, iMvmNumero, lMvmTipo, dMvmDataMov, dMvmDataEC, fMvmImporto, sMvmDesc) VALUES (8005, 2, 2401, 2, 12, 0, '2025-01-24', '2025-01-27', 85.0, 'Contributo volontario versato in banca');
INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, iCauId, iCbmId, iMvmNumero, lMvmTipo, dMvmDataMov, dMvmDataEC, fMvmImporto, sMvmDesc) VALUES (8006, 3, NULL, 3, 13, 1, '2024-05-14', '2024-05-14', 18.4, 'Rimborso spese postali anticipate');
INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, iCauId, iCbmId, iMvmNumero, lMvmTipo, dMvmDataMov, dMvmDataEC, fMvmImporto, sMvmDesc) VALUES (8007, 3, 2401, 1, 14, 0, '2025-02-03', '2025-02-03', 40.0, 'Contributo scolastico in contanti');
INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, iCauId, iCbmId, iMvmNumero, lMvmTipo, dMvmDataMov, dMvmDataEC, fMvmImporto, sMvmDesc) VALUES (8008, 3, NULL, 5, 15, 1, '2025-09-12', '2025-09-12', 32.9, 'Acquisto materiale di facile consumo');

-- The account closed on 31 December 2023: its movements precede the closing
-- and are locked, as closing an account leaves them (the account row carries
-- the same flag).
INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, iCauId, iCbmId, iMvmNumero, lMvmTipo, dMvmDataMov, dMvmDataEC, fMvmImporto, sMvmDesc, iLocked) VALUES (8011, 4, NULL, 5, 1, 1, '2023-03-15', '2023-03-17', 640.0, 'Canone assistenza registro elettronico', 1);
INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, iCauId, iCbmId, iMvmNumero, lMvmTipo, dMvmDataMov, dMvmDataEC, fMvmImporto, sMvmDesc, iLocked) VALUES (8012, 4, NULL, 4, 2, 0, '2023-11-20', '2023-11-22', 1500.0, 'Contributo della Fondazione Valdirame', 1);
INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, iCauId, iCbmId, iMvmNumero, lMvmTipo, dMvmDataMov, dMvmDataEC, fMvmImporto, sMvmDesc, iLocked) VALUES (8013, 4, NULL, 4, 3, 1, '2023-12-29', '2023-12-31', 860.0, 'Giroconto di chiusura al conto bancario', 1);
UPDATE TSprIst SET iLocked = 1 WHERE iSprIstId = 4;

-- Cash book of the primary school's account (data owner 2) for 2024 and
-- 2025, with its opening split and two movements; the current balance is
-- the opening balance plus incomings less outgoings. The office closed its
-- 2024 book on 20 December, so 2025 starts on the 21st (and ends, unset, on
-- 31 December); 2025 has not been opened by the year wizard yet.
INSERT INTO TCai_CassaIst (iCaiId, iSprIstId, iCaiEsercizioFin, fCaiCassaIn, fCaiSaldoIn, fCaiSaldoOut, fCaiCassaAtt, fCaiDiffIniz, dCaiInizioAnno, dCaiFineAnno, iLocked) VALUES (8001, 5, 2024, 1250.0, 0.0, 96.5, 1153.5, 0.0, '2024-01-01', '2024-12-20', 1);
INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (8001, 1, 0.0);
INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (8001, 2, 900.0);
INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (8001, 3, 300.0);
INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (8001, 4, 50.0);
INSERT INTO TCai_CassaIst (iCaiId, iSprIstId, iCaiEsercizioFin, fCaiCassaIn, fCaiSaldoIn, fCaiSaldoOut, fCaiCassaAtt, fCaiDiffIniz, dCaiInizioAnno, iLocked) VALUES (8002, 5, 2025, 1153.5, 0.0, 210.0, 943.5, 0.0, '2024-12-21', 0);
INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (8002, 1, 0.0);
INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (8002, 2, 853.5);
INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (8002, 3, 250.0);
INSERT INTO TCaiTcc (iCaiId, iTccId, fCaiTccImportoIniz) VALUES (8002, 4, 50.0);
INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, iCauId, iCbmId, iMvmNumero, lMvmTipo, dMvmDataMov, dMvmDataEC, fMvmImporto, sMvmDesc) VALUES (8021, 5, NULL, 5, 1, 1, '2024-09-20', '2024-09-23', 96.5, 'Materiale per l''accoglienza');
INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, iCauId, iCbmId, iMvmNumero, lMvmTipo, dMvmDataMov, dMvmDataEC, fMvmImporto, sMvmDesc) VALUES (8022, 5, NULL, 5, 2, 1, '2025-04-11', '2025-04-14', 210.0, 'Noleggio pullman per la festa di fine anno');

-- A customised copy of the advances summary, a report the tree hides when
-- the advances are not in use: the tree maps the copy to its base report.
-- Its layout is that of database/reports/44028_ACCONTI.xml, titled as a copy.
INSERT INTO TYRpc_RptCustom (iYRpcId, iYRptId, sYRpcDesc, bYRpcTemplate) VALUES (1900002, 44028, 'Riepilogo acconti (copia dell''istituto)', '<?xml version="1.0" encoding="UTF-8"?>
<Report Name="ACCONTI" Title="Riepilogo acconti (copia dell&apos;istituto)" Paper="A4" Orientation="Portrait" Margins="12 12 12 12" Font="DejaVu Sans" FontSize="8">
  <DataSet Name="qAcconti">
    <Sql>SELECT Acb.iAcbId, Acb.sAcbIntestatario, Alu.sAnaCognome, Alu.sAnaNome, Cau.sCauSDesc, Cca.sCcaSDesc, Cca.sCcaLDesc,
         Caa.iCaaId, Caa.dCaaData, Caa.fCaaImporto, Cac.dCacDataScadenza, Cac.dCacDataPagamento,
         IIF(Cac.dCacDataPagamento IS NULL, Cac.fCacImporto, 0) AS fDaPagare
         FROM TCaa_CacAcconti Caa
         INNER JOIN TCac_CcaAcbCau Cac ON (Cac.iCacId = Caa.iCacId)
         INNER JOIN TAcbCau Ac ON (Ac.iAcbCauId = Cac.iAcbCauId)
         INNER JOIN TAcb_AluCoordBan Acb ON (Acb.iAcbId = Ac.iAcbId)
         INNER JOIN TAna_Anagrafiche Alu ON (Alu.iAnaId = Acb.iAnaId)
         INNER JOIN TCca_CompCausali Cca ON (Cca.iCcaId = Cac.iCcaId)
         INNER JOIN TCau_Causali Cau ON (Cau.iCauId = Ac.iCauId)
         INNER JOIN TAns_AnniScolast Ans ON (Ans.dAnsVeltoInizio = Cau.dStart)
         WHERE Ans.iAnsId = :iAnsId
         ORDER BY Acb.sAcbIntestatario, Acb.iAcbId, Caa.dCaaData, Caa.iCaaId</Sql>
    <Param Name="iAnsId" Type="Integer" Value="[PARAM(''EBSP_CauAnsId'')]"/>
  </DataSet>
  <Band Type="PageHeader" Height="9">
    <Text Left="0" Top="0" Width="146" Height="5" FontStyle="Bold">[frdSedi.SSEDNOMLDESC]</Text>
    <Text Left="146" Top="0" Width="40" Height="5" Align="Right">[Date]</Text>
    <Line Left="0" Top="6" Width="186" Height="0"/>
  </Band>
  <Band Type="ReportTitle" Height="15">
    <Text Left="0" Top="0" Width="186" Height="7" FontSize="12" FontStyle="Bold">[Title]</Text>
    <Text Left="0" Top="8" Width="186" Height="5">Acconti sulle rate delle causali dell''anno scolastico di lavoro</Text>
  </Band>
  <Band Type="Data" Name="Acconti" DataSet="qAcconti" Height="5" Stretch="true">
    <Band Type="Header" Height="6" RepeatOnNewPage="true">
      <Text Left="0" Top="0" Width="40" Height="5" FontStyle="Bold">Alunno</Text>
      <Text Left="41" Top="0" Width="22" Height="5" FontStyle="Bold">Causale</Text>
      <Text Left="64" Top="0" Width="40" Height="5" FontStyle="Bold">Componente</Text>
      <Text Left="105" Top="0" Width="17" Height="5" FontStyle="Bold">Scadenza</Text>
      <Text Left="123" Top="0" Width="17" Height="5" FontStyle="Bold">Data</Text>
      <Text Left="141" Top="0" Width="22" Height="5" FontStyle="Bold" Align="Right">Acconto</Text>
      <Text Left="164" Top="0" Width="22" Height="5" FontStyle="Bold" Align="Right">Da pagare</Text>
      <Line Left="0" Top="5.5" Width="186" Height="0"/>
    </Band>
    <Band Type="GroupHeader" Height="7" Condition="qAcconti.IACBID">
      <Text Left="0" Top="1.5" Width="186" Height="5" FontStyle="Bold">[qAcconti.SACBINTESTATARIO]</Text>
    </Band>
    <Text Left="0" Top="0" Width="40" Height="5" WordWrap="true" Stretch="true">[qAcconti.SANACOGNOME] [qAcconti.SANANOME]</Text>
    <Text Left="41" Top="0" Width="22" Height="5" WordWrap="true" Stretch="true">[qAcconti.SCAUSDESC]</Text>
    <Text Left="64" Top="0" Width="40" Height="5" WordWrap="true" Stretch="true">[qAcconti.SCCALDESC]</Text>
    <Text Left="105" Top="0" Width="17" Height="5" Format="dd/MM/yyyy">[qAcconti.DCACDATASCADENZA]</Text>
    <Text Left="123" Top="0" Width="17" Height="5" Format="dd/MM/yyyy">[qAcconti.DCAADATA]</Text>
    <Text Left="141" Top="0" Width="22" Height="5" Align="Right" Format="#,###.00">[qAcconti.FCAAIMPORTO]</Text>
    <Text Left="164" Top="0" Width="22" Height="5" Align="Right" Format="#,###.00">[qAcconti.FDAPAGARE]</Text>
    <Band Type="GroupFooter" Height="7" Condition="qAcconti.IACBID">
      <Line Left="100" Top="0.5" Width="86" Height="0"/>
      <Text Left="100" Top="1.5" Width="40" Height="5" FontStyle="Bold">Totale intestatario</Text>
      <Text Left="141" Top="1.5" Width="22" Height="5" FontStyle="Bold" Align="Right" Format="#,###.00">[SUM(qAcconti.FCAAIMPORTO)]</Text>
      <Text Left="164" Top="1.5" Width="22" Height="5" FontStyle="Bold" Align="Right" Format="#,###.00">[SUM(qAcconti.FDAPAGARE)]</Text>
    </Band>
  </Band>
  <Band Type="Summary" Height="10">
    <Line Left="100" Top="1" Width="86" Height="0"/>
    <Text Left="60" Top="3" Width="80" Height="5" FontStyle="Bold">Totale generale ([COUNT()] acconti)</Text>
    <Text Left="141" Top="3" Width="22" Height="5" FontStyle="Bold" Align="Right" Format="#,###.00">[SUM(qAcconti.FCAAIMPORTO)]</Text>
    <Text Left="164" Top="3" Width="22" Height="5" FontStyle="Bold" Align="Right" Format="#,###.00">[SUM(qAcconti.FDAPAGARE)]</Text>
  </Band>
  <Band Type="PageFooter" Height="7">
    <Line Left="0" Top="1" Width="186" Height="0"/>
    <Text Left="0" Top="2" Width="186" Height="5" FontSize="7" Align="Right">Pagina [Page] di [TotalPages]</Text>
  </Band>
</Report>');

COMMIT;

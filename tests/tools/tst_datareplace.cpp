#include "EbcUDataReplace.h"
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VtException.h"
#include "VtSQLConnection.h"
#include "VtWaitWindow.h"

#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// The bulk data replace below its wizard: the definition, the preview, the
// run with its log and the undo of the last run, on the demo school.
class TstDataReplace : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void definitionReadsAttributesAndElementsAlike();
    void definitionFaults();
    void reasonsForHolderRecords();
    void holderRecordsForPupils();
    void replacingAFieldOfHolderRecords();
    void previewOutcomes();
    void anEmptyOldValueComparesWithIsNull();
    void aDateWithAnyValueAndATextBeforeExec();
    void aFailingRowWritesNothing();
    void undoPutsTheValuesBack();
    void undoRefusals();
    void undoOfReasonsAndHolderRecords();

private:
    static QVariant Db(const QString &sql, const QVariantList &values = {}) { return TTestDatabase::Scalar(sql, values); }
    static QList<int> Ids(const QString &sql);
    // A run of a field of the demo definition over these records.
    static TEbcReplaceRequest Request(int field, const QList<int> &selected, const QVariant &newValue,
                                      const QVariant &oldValue = QVariant(), bool any = false);

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
};

namespace {
// Payment modes of the demo.
constexpr int Rid = 1, Bollettino = 2, Contanti = 3, Bonifico = 4;
}

void TstDataReplace::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstDataReplace::init()
{
    m_db->Fresh();
    (*m_messages)->Clear();
    TVtWaitWindow::Observer() = nullptr;
}

void TstDataReplace::cleanupTestCase()
{
    m_db.reset();
}

QList<int> TstDataReplace::Ids(const QString &sql)
{
    QList<int> ids;
    for (const QVariant &v : TTestDatabase::Column(sql))
        ids << v.toInt();
    return ids;
}

TEbcReplaceRequest TstDataReplace::Request(int field, const QList<int> &selected, const QVariant &newValue,
                                           const QVariant &oldValue, bool any)
{
    TEbcReplaceRequest r;
    r.Mode = qMin(field, 2);
    r.Field = EbcLoadReplaceDef().FieldAt(field);
    r.Selected = selected;
    for (int id : selected)
        r.Names << u"record %1"_s.arg(id);
    r.NewValue = newValue;
    r.NewText = newValue.toString();
    r.OldValue = oldValue;
    r.Any = any;
    return r;
}

void TstDataReplace::definitionReadsAttributesAndElementsAlike()
{
    const TEbcReplaceDef def = EbcReadReplaceDef(u"PROVA"_s, uR"(<Replace><Other/><Fields>
        <Field Caption="Classe" Name="iClsId" Type="cxenum" KeyFieldNames="iClsId" ListFieldNames="sClsDesc">
          <ValuesQuery>SELECT iClsId, sClsDesc FROM VCls_Classi</ValuesQuery>
          <ListColumns><ListColumn FieldName="sClsDesc" Caption="Classe" MinWidth="120"/>
            <ListColumn><FieldName>sSedNomSDesc</FieldName><Caption>Sede</Caption><MinWidth>80</MinWidth></ListColumn>
          </ListColumns>
          <UpdateScript>UPDATE T SET a = :NEWVALUE WHERE b &lt; 2</UpdateScript>
        </Field>
        <Note>ignorata</Note>
        <Field><Caption>Data</Caption><Name>dData</Name><Type>date</Type></Field>
      </Fields></Replace>)"_s);
    QCOMPARE(def.Fields.size(), 2);
    const TEbcReplaceField &cls = def.Fields.at(0);
    QCOMPARE(cls.Kind(), TEbcReplaceField::kCxEnum);
    QCOMPARE(cls.KeyFieldNames, u"iClsId"_s);
    QCOMPARE(cls.ValuesQuery, u"SELECT iClsId, sClsDesc FROM VCls_Classi"_s);
    QCOMPARE(cls.UpdateScript, u"UPDATE T SET a = :NEWVALUE WHERE b < 2"_s);
    QCOMPARE(cls.ListColumns.size(), 2);
    QCOMPARE(cls.ListColumns.at(1).FieldName, u"sSedNomSDesc"_s);
    QCOMPARE(cls.ListColumns.at(1).MinWidth, 80);
    QCOMPARE(cls.ListColumns.at(0).Caption, u"Classe"_s);
    QCOMPARE(def.Fields.at(1).Caption, u"Data"_s);
    QCOMPARE(def.Fields.at(1).ParamType(), QMetaType::QDate);
    TEbcReplaceField other;
    other.Type = u"altro"_s;
    QCOMPARE(other.ParamType(), QMetaType::QString);

    // The demo's: the two of the holder frame, then two to replace.
    const TEbcReplaceDef demo = EbcLoadReplaceDef();
    QCOMPARE(demo.Fields.size(), 4);
    QVERIFY(demo.Fields.at(0).NewValueOnly() && demo.Fields.at(1).NewValueOnly());
    QVERIFY(!demo.Fields.at(2).NewValueOnly());
    QCOMPARE(demo.Fields.at(3).Caption, u"Sconto predefinito (%)"_s);
    QVERIFY(demo.Fields.at(0).UndoCheck.contains(u"<> 0"_s));
}

void TstDataReplace::definitionFaults()
{
    try {
        EbcLoadReplaceDef(u"NESSUNA"_s);
        QFAIL("a missing definition was read");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), u"XML codice NESSUNA Non trovato nel DB"_s);
    }
    try {
        EbcReadReplaceDef(u"ROTTA"_s, u"<Replace><Fields><Field Caption=\"x\"></Fields></Replace>"_s);
        QFAIL("a malformed definition was read");
    } catch (const EVtException &e) {
        QVERIFY2(e.Message().startsWith(u"La definizione XML ROTTA non è valida: "_s), qPrintable(e.Message()));
    }
    const TEbcReplaceDef one = EbcReadReplaceDef(u"UNO"_s, u"<Replace><Fields><Field Caption=\"x\"/></Fields></Replace>"_s);
    try {
        one.FieldAt(1);
        QFAIL("a field past the end was given");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), u"La definizione XML UNO non contiene il dato n. 2."_s);
    }
}

// Mode 0: a reason for holder records, skipping the one that has it; the
// instalments carry the holder's default discount.
void TstDataReplace::reasonsForHolderRecords()
{
    const int reason = Db(u"SELECT FIRST 1 iCauId FROM TCau_Causali WHERE dStart = '2024-09-01' ORDER BY iCauId"_s).toInt();
    const QList<int> holders = Ids(u"SELECT FIRST 3 iAcbId FROM TAcb_AluCoordBan a WHERE NOT EXISTS (SELECT 1 FROM "
                                   "TAcbCau ac WHERE ac.iAcbId = a.iAcbId AND ac.iCauId = %1) ORDER BY iAcbId"_s.arg(reason));
    const int has = Db(u"SELECT FIRST 1 iAcbId FROM TAcbCau WHERE iCauId = ? ORDER BY iAcbId"_s, {reason}).toInt();
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET fAcbPercSconto = 10 WHERE iAcbId = %1"_s.arg(holders.at(0)));
    QList<int> steps;
    int shown = 0, closed = 0, max = -1;
    TVtWaitWindow::Observer() = [&](const TVtWaitWindow &w, TVtWaitWindow::TEvent e) {
        if (e == TVtWaitWindow::weShow) {
            ++shown;
            max = w.Max();
            QCOMPARE(w.Caption(), u"Sostituzione dati in corso. Attendere ..."_s);
        }
        if (e == TVtWaitWindow::weStep)
            steps << w.Position();
        if (e == TVtWaitWindow::weClose)
            ++closed;
    };
    const int before = Db(u"SELECT COUNT(*) FROM TAcbCau WHERE iAcbId = ? AND iCauId = ?"_s, {has, reason}).toInt();
    QCOMPARE(EbcReplaceRun(Request(0, {holders.at(0), has, holders.at(1), holders.at(2)}, reason)), 3);
    QCOMPARE(shown, 1);
    QCOMPARE(closed, 1);
    QCOMPARE(max, 3);
    QCOMPARE(steps.size(), 4);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcbCau WHERE iAcbId = ? AND iCauId = ?"_s, {has, reason}).toInt(), before);
    const int components = Db(u"SELECT COUNT(DISTINCT iCcaId) FROM TCauCca WHERE iCauId = ?"_s, {reason}).toInt();
    QVERIFY(components > 0);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId "
                "WHERE ac.iAcbId = ? AND ac.iCauId = ?"_s, {holders.at(1), reason}).toInt(), components);
    // 10% off every instalment of the discounted holder.
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId JOIN "
                "TCca_CompCausali cca ON cca.iCcaId = cac.iCcaId WHERE ac.iAcbId = ? AND ac.iCauId = ? AND "
                "cac.fCacPercSconto = 10 AND ABS(cac.fCacImporto - COALESCE(cca.fCcaImportoIst, 0) * 0.9) < 0.00005"_s,
                {holders.at(0), reason}).toInt(), components);
    // The log: the run and the three records it changed.
    const std::optional<TEbcReplaceLog> log = EbcLastReplace();
    QVERIFY(log);
    QCOMPARE(log->Count, 3);
    QCOMPARE(log->Mode, 0);
    QCOMPARE(log->NewValue, QString::number(reason));
    QCOMPARE(log->User, qqoVtGlobConn->UserKey());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TSdr_SostDatiRighe WHERE iSdtId = ?"_s, {log->Id}).toInt(), 3);
    // No picked record: nothing, and 0.
    QCOMPARE(EbcReplaceRun(Request(0, {}, reason)), 0);
}

// Mode 1: a holder record for a pupil, paid by the relative of lowest degree.
void TstDataReplace::holderRecordsForPupils()
{
    const int viola = Db(u"SELECT iAnaId FROM TAna_Anagrafiche WHERE sAnaCognome = 'D''Angelo' AND sAnaNome = 'Viola'"_s).toInt();
    const int bruno = Db(u"SELECT iAnaId FROM TAna_Anagrafiche WHERE sAnaCognome = 'D''Angelo' AND sAnaNome = 'Bruno'"_s).toInt();
    const int other = Db(u"SELECT FIRST 1 iAnaId FROM TAcb_AluCoordBan ORDER BY iAcbId"_s).toInt();
    QCOMPARE(EbcReplaceRun(Request(1, {viola, other}, Bollettino)), 1);
    QCOMPARE(Db(u"SELECT iAnaId_Gen || ' ' || iMpgId || ' ' || sAcbIntestatario FROM TAcb_AluCoordBan WHERE iAnaId = ?"_s,
                {viola}).toString(),
             u"%1 2 D'ANGELO BRUNO"_s.arg(bruno));
}

// Mode 2: the payment mode of holder records, where it was RID or whatever it was.
void TstDataReplace::replacingAFieldOfHolderRecords()
{
    const int rid = Db(u"SELECT FIRST 1 iAcbId FROM TAcb_AluCoordBan WHERE iMpgId = 1 ORDER BY iAcbId"_s).toInt();
    const int cash = Db(u"SELECT FIRST 1 iAcbId FROM TAcb_AluCoordBan WHERE iMpgId = 3 ORDER BY iAcbId"_s).toInt();
    QCOMPARE(EbcReplaceRun(Request(2, {rid, cash}, Bonifico, Rid)), 1);
    QCOMPARE(Db(u"SELECT iMpgId FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {rid}).toInt(), Bonifico);
    QCOMPARE(Db(u"SELECT iMpgId FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {cash}).toInt(), Contanti);
    QCOMPARE(Db(u"SELECT sSdrVecchioValore FROM TSdr_SostDatiRighe WHERE iSdrSelId = ?"_s, {rid}).toString(), u"1"_s);
    QCOMPARE(EbcReplaceRun(Request(2, {rid, cash}, Bollettino, QVariant(), true)), 2);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iAcbId IN (?, ?) AND iMpgId = 2"_s, {rid, cash}).toInt(), 2);
}

void TstDataReplace::previewOutcomes()
{
    const int rid = Db(u"SELECT FIRST 1 iAcbId FROM TAcb_AluCoordBan WHERE iMpgId = 1 ORDER BY iAcbId"_s).toInt();
    const int cash = Db(u"SELECT FIRST 1 iAcbId FROM TAcb_AluCoordBan WHERE iMpgId = 3 ORDER BY iAcbId"_s).toInt();
    const QList<TEbcPreviewRow> rows = EbcReplacePreview(Request(2, {rid, cash}, Bonifico, Rid));
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).Outcome, poModify);
    QCOMPARE(rows.at(0).CurrentText, u"RID"_s);
    QCOMPARE(rows.at(1).Outcome, poUnchanged);
    QCOMPARE(rows.at(1).CurrentText, u"Contanti"_s);
    QCOMPARE(EbcReplacePreview(Request(2, {cash}, Bonifico, Rid, true)).at(0).Outcome, poModify);
    // A discount of 12,5 shown in the Italian way.
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET fAcbPercSconto = 12.5 WHERE iAcbId = %1"_s.arg(rid));
    QCOMPARE(EbcReplacePreview(Request(3, {rid}, 20, 12)).at(0).CurrentText, u"12,5"_s);
    // The reason a holder already has: left out.
    const int has = Db(u"SELECT FIRST 1 iAcbId FROM TAcbCau ORDER BY iAcbId"_s).toInt();
    const int reason = Db(u"SELECT FIRST 1 iCauId FROM TAcbCau WHERE iAcbId = ?"_s, {has}).toInt();
    QCOMPARE(EbcReplacePreview(Request(0, {has}, reason)).at(0).Outcome, poExcluded);
    // The preview writes nothing.
    QCOMPARE(Db(u"SELECT iMpgId FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {rid}).toInt(), Rid);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TSdt_SostDati"_s).toInt(), 0);
}

void TstDataReplace::anEmptyOldValueComparesWithIsNull()
{
    TEbcReplaceRequest r;
    r.Mode = 2;
    r.Field = EbcReadReplaceDef(u"PROVA"_s, uR"(<Replace><Fields><Field Caption="IBAN" Name="sAcbIBan" Type="string">
        <OldValueQuery>SELECT sAcbIBan FROM TAcb_AluCoordBan WHERE iAcbId = :SELECTEDID</OldValueQuery>
        <UpdateScript>UPDATE TAcb_AluCoordBan SET sAcbIBan = :NEWVALUE WHERE iAcbId = :SELECTEDID AND (sAcbIBan = :OLDVALUE OR :ANY = 1)</UpdateScript>
      </Field></Fields></Replace>)"_s).FieldAt(0);
    r.Selected = Ids(u"SELECT FIRST 2 iAcbId FROM TAcb_AluCoordBan WHERE sAcbIBan IS NULL ORDER BY iAcbId"_s)
                 + Ids(u"SELECT FIRST 1 iAcbId FROM TAcb_AluCoordBan WHERE sAcbIBan IS NOT NULL ORDER BY iAcbId"_s);
    r.NewValue = u"IT60X0542811101000000123456"_s;
    QCOMPARE(EbcReplaceScript(r), u"UPDATE TAcb_AluCoordBan SET sAcbIBan = :NEWVALUE WHERE iAcbId = :SELECTEDID AND "
                                  "(sAcbIBan IS NULL OR :ANY = 1)"_s);
    const QList<TEbcPreviewRow> preview = EbcReplacePreview(r);
    QCOMPARE(preview.at(0).Outcome, poModify);
    QCOMPARE(preview.at(2).Outcome, poUnchanged);
    QCOMPARE(EbcReplaceRun(r), 2);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE sAcbIBan = 'IT60X0542811101000000123456'"_s).toInt(), 2);
}

// ANY is a whole number whatever the field's type, and NEWVALUE keeps the
// field's type in BeforeExec.
void TstDataReplace::aDateWithAnyValueAndATextBeforeExec()
{
    TEbcReplaceRequest r;
    r.Mode = 2;
    r.Field = EbcReadReplaceDef(u"PROVA"_s, uR"(<Replace><Fields><Field Caption="Scadenza" Name="dDosDataScadenza" Type="date">
        <UpdateScript>UPDATE TDos_DoteScuola SET dDosDataScadenza = :NEWVALUE WHERE iDosId = :SELECTEDID AND (dDosDataScadenza = :OLDVALUE OR :ANY = 1)</UpdateScript>
      </Field></Fields></Replace>)"_s).FieldAt(0);
    r.Selected = Ids(u"SELECT iDosId FROM TDos_DoteScuola ORDER BY iDosId"_s);
    r.NewValue = QDate(2025, 7, 31);
    r.OldValue = QDate(2000, 1, 1);
    r.Any = true;
    QCOMPARE(EbcReplaceRun(r), r.Selected.size());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TDos_DoteScuola WHERE dDosDataScadenza <> '2025-07-31'"_s).toInt(), 0);
    QCOMPARE(Db(u"SELECT FIRST 1 sSdtNuovoValore FROM TSdt_SostDati"_s).toString(), u"2025-07-31"_s);

    TEbcReplaceRequest t;
    t.Mode = 2;
    t.Field = EbcReadReplaceDef(u"PROVA"_s, uR"(<Replace><Fields><Field Caption="Intestatario" Name="sAcbIntestatario" Type="string">
        <BeforeExec>SELECT iAcbId FROM TAcb_AluCoordBan WHERE iAcbId = :SELECTEDID AND sAcbIntestatario = :NEWVALUE</BeforeExec>
        <UpdateScript>UPDATE TAcb_AluCoordBan SET sAcbIntestatario = :NEWVALUE WHERE iAcbId = :SELECTEDID</UpdateScript>
      </Field></Fields></Replace>)"_s).FieldAt(0);
    t.Selected = Ids(u"SELECT FIRST 2 iAcbId FROM TAcb_AluCoordBan ORDER BY iAcbId"_s);
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET sAcbIntestatario = 'ROSSI MARIO' WHERE iAcbId = %1"_s.arg(t.Selected.at(0)));
    t.NewValue = u"ROSSI MARIO"_s;
    QCOMPARE(EbcReplaceRun(t), 1);
}

void TstDataReplace::aFailingRowWritesNothing()
{
    const QList<int> holders = Ids(u"SELECT FIRST 3 iAcbId FROM TAcb_AluCoordBan WHERE iMpgId = 1 ORDER BY iAcbId"_s);
    TTestDatabase::Exec(u"CREATE EXCEPTION E_PROVA 'rifiutato dalla prova'"_s);
    TTestDatabase::Exec(u"CREATE TRIGGER T_PROVA FOR TAcb_AluCoordBan BEFORE UPDATE AS BEGIN "
                        "IF (NEW.iAcbId = %1) THEN EXCEPTION E_PROVA; END"_s.arg(holders.at(1)));
    bool closed = false;
    TVtWaitWindow::Observer() = [&](const TVtWaitWindow &, TVtWaitWindow::TEvent e) { closed = closed || e == TVtWaitWindow::weClose; };
    TEbcReplaceRequest r = Request(2, holders, Bonifico, Rid);
    r.Names = QStringList{u"Primo"_s, u"Secondo"_s, u"Terzo"_s};
    try {
        EbcReplaceRun(r);
        QFAIL("a refused row was reported done");
    } catch (const EVtException &e) {
        QVERIFY2(e.Message().startsWith(u"Impossibile inserire il dato Tipo di pagamento dell'intestatario per Secondo:\r\n"_s),
                 qPrintable(e.Message()));
        QVERIFY(e.Message().contains(u"rifiutato dalla prova"_s));
        QVERIFY(e.Message().endsWith(u"\r\nNessun dato è stato modificato."_s));
    }
    QVERIFY(closed);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iMpgId = 4 AND iAcbId IN (?, ?, ?)"_s,
                {holders.at(0), holders.at(1), holders.at(2)}).toInt(), 0);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TSdt_SostDati"_s).toInt(), 0);
}

void TstDataReplace::undoPutsTheValuesBack()
{
    const QList<int> holders = Ids(u"SELECT FIRST 2 iAcbId FROM TAcb_AluCoordBan ORDER BY iAcbId"_s);
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET fAcbPercSconto = 12.5 WHERE iAcbId = %1"_s.arg(holders.at(0)));
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET fAcbPercSconto = 0 WHERE iAcbId = %1"_s.arg(holders.at(1)));
    QCOMPARE(EbcReplaceRun(Request(3, holders, 20, QVariant(), true)), 2);
    // After a restart of the connection.
    QString error;
    QVERIFY2(qqoVtGlobConn->Reconnect(&error), qPrintable(error));
    (*m_messages)->Answers = {int(mrYes)};
    QVERIFY(EbcUndoLastReplace());
    QCOMPARE((*m_messages)->Messages.size(), 2);
    QVERIFY2((*m_messages)->Messages.at(0).Text.startsWith(u"Annullare l'ultima sostituzione multipla?\r\nDato: Sconto "
                                                           "predefinito (%)\r\nEseguita il "_s),
             qPrintable((*m_messages)->Messages.at(0).Text));
    QVERIFY((*m_messages)->Messages.at(0).Text.endsWith(u" su 2 alunni"_s));
    QCOMPARE((*m_messages)->LastText(), u"Annullata la sostituzione del dato Sconto predefinito (%) su 2 alunni"_s);
    QCOMPARE(Db(u"SELECT fAcbPercSconto FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {holders.at(0)}).toDouble(), 12.5);
    QCOMPARE(Db(u"SELECT fAcbPercSconto FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {holders.at(1)}).toDouble(), 0.0);
    QVERIFY(EbcLastReplace()->Undone);
    // Once only.
    (*m_messages)->Clear();
    QVERIFY(!EbcUndoLastReplace());
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Nessuna sostituzione multipla da annullare."_s});
}

void TstDataReplace::undoRefusals()
{
    QVERIFY(!EbcUndoLastReplace());   // no run yet
    QCOMPARE((*m_messages)->LastText(), u"Nessuna sostituzione multipla da annullare."_s);
    const QList<int> holders = Ids(u"SELECT FIRST 2 iAcbId FROM TAcb_AluCoordBan WHERE iMpgId = 1 ORDER BY iAcbId"_s);
    QCOMPARE(EbcReplaceRun(Request(2, holders, Contanti, Rid)), 2);
    // One record changed since: nothing is put back.
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET iMpgId = 2 WHERE iAcbId = %1"_s.arg(holders.at(1)));
    (*m_messages)->Clear();
    (*m_messages)->Answers = {int(mrYes)};
    QVERIFY(!EbcUndoLastReplace());
    QCOMPARE((*m_messages)->LastText(), u"Impossibile annullare la sostituzione del dato Tipo di pagamento "
                                        "dell'intestatario: 1 record sono cambiati dopo la sostituzione."_s);
    QCOMPARE(Db(u"SELECT iMpgId FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {holders.at(0)}).toInt(), Contanti);
    // No to the question: nothing.
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET iMpgId = 3 WHERE iAcbId = %1"_s.arg(holders.at(1)));
    (*m_messages)->Clear();
    QVERIFY(!EbcUndoLastReplace());
    QCOMPARE((*m_messages)->Messages.size(), 1);
    QCOMPARE((*m_messages)->Messages.at(0).Buttons & mbDefNo, int(mbDefNo));
    QCOMPARE(Db(u"SELECT iMpgId FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {holders.at(0)}).toInt(), Contanti);
    // Only the newest run: a newer one without an undo statement stops it.
    TEbcReplaceRequest r = Request(2, {holders.at(0)}, Rid, QVariant(), true);
    r.Field.UndoScript.clear();
    QCOMPARE(EbcReplaceRun(r), 1);
    (*m_messages)->Clear();
    QVERIFY(!EbcUndoLastReplace());
    QCOMPARE((*m_messages)->LastText(),
             u"La sostituzione del dato Tipo di pagamento dell'intestatario non può essere annullata."_s);
}

void TstDataReplace::undoOfReasonsAndHolderRecords()
{
    const int reason = Db(u"SELECT FIRST 1 iCauId FROM TCau_Causali WHERE dStart = '2024-09-01' ORDER BY iCauId"_s).toInt();
    const QList<int> holders = Ids(u"SELECT FIRST 2 iAcbId FROM TAcb_AluCoordBan a WHERE NOT EXISTS (SELECT 1 FROM "
                                   "TAcbCau ac WHERE ac.iAcbId = a.iAcbId AND ac.iCauId = %1) ORDER BY iAcbId"_s.arg(reason));
    const int instalments = Db(u"SELECT COUNT(*) FROM TCac_CcaAcbCau"_s).toInt();
    QCOMPARE(EbcReplaceRun(Request(0, holders, reason)), 2);
    // A paid instalment keeps the assignment.
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = '2024-10-01' WHERE iCacId = (SELECT FIRST 1 "
                        "cac.iCacId FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId WHERE "
                        "ac.iAcbId = %1 AND ac.iCauId = %2)"_s.arg(holders.at(0)).arg(reason));
    (*m_messages)->Answers = {int(mrYes)};
    QVERIFY(!EbcUndoLastReplace());
    QVERIFY((*m_messages)->LastText().endsWith(u": 1 record sono cambiati dopo la sostituzione."_s));
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET dCacDataPagamento = NULL WHERE dCacDataPagamento = '2024-10-01' AND "
                        "iAcbCauId IN (SELECT iAcbCauId FROM TAcbCau WHERE iAcbId = %1 AND iCauId = %2)"_s
                            .arg(holders.at(0)).arg(reason));
    (*m_messages)->Answers = {int(mrYes)};
    QVERIFY(EbcUndoLastReplace());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCac_CcaAcbCau"_s).toInt(), instalments);

    // Mode 1: refused once the new holder record has an IBAN.
    const int viola = Db(u"SELECT iAnaId FROM TAna_Anagrafiche WHERE sAnaCognome = 'D''Angelo' AND sAnaNome = 'Viola'"_s).toInt();
    QCOMPARE(EbcReplaceRun(Request(1, {viola}, Bollettino)), 1);
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET sAcbIBan = 'IT60X0542811101000000123456' WHERE iAnaId = %1"_s.arg(viola));
    (*m_messages)->Answers = {int(mrYes)};
    QVERIFY(!EbcUndoLastReplace());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iAnaId = ?"_s, {viola}).toInt(), 1);
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET sAcbIBan = NULL WHERE iAnaId = %1"_s.arg(viola));
    (*m_messages)->Answers = {int(mrYes)};
    QVERIFY(EbcUndoLastReplace());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iAnaId = ?"_s, {viola}).toInt(), 0);
}

QTEST_MAIN(TstDataReplace)
#include "tst_datareplace.moc"

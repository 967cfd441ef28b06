#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VtException.h"
#include "VtQueryCollection.h"
#include "VtTransaction.h"

#include <QSignalSpy>
#include <QTest>

// The collection over a small table of its own: reads, the write statements
// with their hooks, the transaction of a post, filter and packets.
class TstQueryCollection : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void openBindsParamsWithoutRegardToCase();
    void insertRunsStatementsInOrderInOneTransaction();
    void failedStatementRollsBackAndLeavesRowInEdit();
    void hookAbortRollsBackSilently();
    void deleteConfirmationAndSkippedStatement();
    void nullsAndTypes();
    void filterIsNullAndComparisons();
    void packetFetching();
    void refreshKeepsCurrentRow();
    void calculatedFieldsAndDisplayFormat();
    void autoBuiltStatements();
    void cancelRestoresValues();
    void transactionScope();

private:
    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TVtQueryCollection> MakeCollection();
    static int Count(const QString &where = QString())
    {
        return TTestDatabase::Scalar(QStringLiteral("SELECT COUNT(*) FROM TQT_PROVA ") + where).toInt();
    }
};

void TstQueryCollection::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::SchemaOnly, [] {
        TTestDatabase::Exec(QStringLiteral(
            "CREATE TABLE TQT_PROVA (IQTID INTEGER NOT NULL PRIMARY KEY, SQTDESC VARCHAR(40) NOT NULL, "
            "FQTIMPORTO DOUBLE PRECISION, DQTDATA DATE, LQTTIPO SMALLINT, DEND DATE, DDELETE DATE, BQTNOTE BLOB SUB_TYPE TEXT)"));
        TTestDatabase::Exec(QStringLiteral("CREATE TABLE TQT_LOG (ILOGID INTEGER, SLOG VARCHAR(100))"));

        TTestDatabase::Exec(QStringLiteral(
            "INSERT INTO TQT_PROVA (IQTID, SQTDESC, FQTIMPORTO, DQTDATA, LQTTIPO, DEND) VALUES (1, 'Mensa', 1234.5, '2024-09-01', 1, NULL)"));
        TTestDatabase::Exec(QStringLiteral(
            "INSERT INTO TQT_PROVA (IQTID, SQTDESC, FQTIMPORTO, DQTDATA, LQTTIPO, DEND) VALUES (2, 'Gita', 0.5, '2024-10-15', 2, '2025-06-30')"));
        TTestDatabase::Exec(QStringLiteral(
            "INSERT INTO TQT_PROVA (IQTID, SQTDESC, FQTIMPORTO, DQTDATA, LQTTIPO, DEND) VALUES (3, 'Assicurazione', NULL, NULL, 1, NULL)"));
    });
}

void TstQueryCollection::init()
{
    m_db->Fresh();
}

std::unique_ptr<TVtQueryCollection> TstQueryCollection::MakeCollection()
{
    auto c = std::make_unique<TVtQueryCollection>();
    c->CommandText = QStringLiteral("SELECT IQTID, SQTDESC, FQTIMPORTO, DQTDATA, LQTTIPO, DEND, DDELETE, BQTNOTE "
                                    "FROM TQT_PROVA WHERE LQTTIPO >= :lTipoMin ORDER BY IQTID");
    c->Params().CreateParam(QMetaType::Int, QStringLiteral("LTIPOMIN"))->SetAsInteger(0);
    c->Confirmations = xcoTrash | xcoDisable | xcoDelete;
    return c;
}

void TstQueryCollection::openBindsParamsWithoutRegardToCase()
{
    auto c = MakeCollection();
    c->Params().ParamByName(QStringLiteral("ltipomin"))->SetAsInteger(2);
    c->Open();
    QCOMPARE(c->RecordCount(), 1);
    QCOMPARE(c->FieldByName(QStringLiteral("sqtdesc"))->AsString(), QStringLiteral("Gita"));

    // The same name twice, in two cases, binds one value.
    TVtQueryCollection r;
    r.CommandText = QStringLiteral("SELECT IQTID FROM TQT_PROVA WHERE IQTID = :iId OR IQTID = :IID + 1 ORDER BY IQTID");
    r.Params().CreateParam(QMetaType::Int, QStringLiteral("iId"))->SetAsInteger(1);
    r.Open();
    QCOMPARE(r.RecordCount(), 2);

    // A select naming a parameter nobody defined is an error, not a silent null.
    TVtQueryCollection bad;
    bad.CommandText = QStringLiteral("SELECT IQTID FROM TQT_PROVA WHERE IQTID = :iMissing");
    try {
        bad.Open();
        QFAIL("open without parameter");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), QStringLiteral("Parametro 'iMissing' senza valore."));
    }
    QVERIFY(!bad.Active());
}

void TstQueryCollection::insertRunsStatementsInOrderInOneTransaction()
{
    TScopedMessageService messages;
    auto c = MakeCollection();
    c->SQLInsert.Add(QStringLiteral("INSERT INTO TQT_PROVA (IQTID, SQTDESC, FQTIMPORTO, LQTTIPO) VALUES (:VTGENID, :sQtDesc, :fqtimporto, :LQTTIPO)"));
    c->SQLInsert.Add(QStringLiteral("INSERT INTO TQT_LOG (ILOGID, SLOG) VALUES (:vtgenid, :sNota)"));
    QStringList trace;
    QVariant keyAfter;
    c->VtBeforeExec = [&](TVtQueryCollection *, TVtQueryProp &p, bool &) {
        trace << QStringLiteral("before %1 %2").arg(p.Index).arg(p.UpdateKind);
        QVERIFY(p.FieldValues->IndexOf(QStringLiteral("VTGENID")) >= 0);
        if (p.Index == 1)
            p.FieldValues->Add(QStringLiteral("SNOTA"), QStringLiteral("creato"));
    };
    c->VtAfterExec = [&](TVtQueryCollection *, TVtQueryProp &p) {
        trace << QStringLiteral("after %1").arg(p.Index);
        keyAfter = p.FieldValues->GetValues(QStringLiteral("vtgenid"));
    };
    c->Open();
    c->Insert();
    QCOMPARE(c->State(), dsInsert);
    QCOMPARE(c->RecordCount(), 4);
    c->FieldByName(QStringLiteral("SQTDESC"))->SetAsString(QStringLiteral("Laboratorio è già"));
    c->FieldByName(QStringLiteral("FQTIMPORTO"))->SetValue(QStringLiteral("12,75"));
    c->FieldByName(QStringLiteral("LQTTIPO"))->SetAsInteger(1);
    QVERIFY(c->Post());
    QCOMPARE(trace, (QStringList{"before 0 1", "after 0", "before 1 1", "after 1"}));
    QVERIFY(keyAfter.toInt() >= 1000000);
    QCOMPARE(c->FieldByName(QStringLiteral("IQTID"))->AsInteger(), keyAfter.toInt());
    QCOMPARE(c->State(), dsBrowse);
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT SQTDESC FROM TQT_PROVA WHERE IQTID = ?"), {keyAfter}).toString(),
             QStringLiteral("Laboratorio è già"));
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT FQTIMPORTO FROM TQT_PROVA WHERE IQTID = ?"), {keyAfter}).toDouble(), 12.75);
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT SLOG FROM TQT_LOG WHERE ILOGID = ?"), {keyAfter}).toString(),
             QStringLiteral("creato"));
    QVERIFY(messages->Messages.isEmpty());
}

void TstQueryCollection::failedStatementRollsBackAndLeavesRowInEdit()
{
    TScopedMessageService messages;
    auto c = MakeCollection();
    c->SQLUpdate.Add(QStringLiteral("UPDATE TQT_PROVA SET SQTDESC = :SQTDESC WHERE IQTID = :VTCURRID"));
    c->SQLUpdate.Add(QStringLiteral("INSERT INTO TQT_LOG (ILOGID, SLOG) VALUES (:VTCURRID, :sLog)"));
    // The second statement's parameter has no source: the whole post fails.
    c->Open();
    c->Edit();
    c->FieldByName(QStringLiteral("SQTDESC"))->SetAsString(QStringLiteral("Mensa scolastica"));
    QVERIFY(!c->Post());
    QCOMPARE(c->State(), dsEdit);
    QCOMPARE(c->FieldByName(QStringLiteral("SQTDESC"))->AsString(), QStringLiteral("Mensa scolastica"));
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT SQTDESC FROM TQT_PROVA WHERE IQTID = 1")).toString(), QStringLiteral("Mensa"));
    QCOMPARE(messages->Messages.size(), 1);
    QCOMPARE(messages->Messages[0].Type, mtError);
    QCOMPARE(messages->LastText(), QStringLiteral("Impossibile salvare i dati:\r\nParametro 'sLog' senza valore."));

    // A database error (NOT NULL) after a good first statement: same rollback, the engine's text shown.
    messages->Clear();
    c->SQLUpdate.Clear();
    c->SQLUpdate.Add(QStringLiteral("INSERT INTO TQT_LOG (ILOGID, SLOG) VALUES (:VTCURRID, 'prima')"));
    c->SQLUpdate.Add(QStringLiteral("UPDATE TQT_PROVA SET SQTDESC = NULL WHERE IQTID = :VTCURRID"));
    QVERIFY(!c->Post());
    QCOMPARE(c->State(), dsEdit);
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT COUNT(*) FROM TQT_LOG")).toInt(), 0);
    QVERIFY(messages->LastText().startsWith(QStringLiteral("Impossibile salvare i dati:\r\n")));
    QVERIFY2(messages->LastText().contains(QStringLiteral("SQTDESC")), qPrintable(messages->LastText()));

    // Mended, the same edit posts.
    c->SQLUpdate.Clear();
    c->SQLUpdate.Add(QStringLiteral("UPDATE TQT_PROVA SET SQTDESC = :SQTDESC WHERE IQTID = :VTCURRID"));
    QVERIFY(c->Post());
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT SQTDESC FROM TQT_PROVA WHERE IQTID = 1")).toString(),
             QStringLiteral("Mensa scolastica"));

    // With PostError the caller gets the error instead of a message.
    messages->Clear();
    c->PostError = true;
    c->SQLUpdate.Add(QStringLiteral("UPDATE TQT_NONE SET X = 1"));
    c->Edit();
    c->FieldByName(QStringLiteral("SQTDESC"))->SetAsString(QStringLiteral("X"));
    QVERIFY_THROWS_EXCEPTION(EVtException, c->Post());
    QCOMPARE(c->State(), dsEdit);
    QVERIFY(messages->Messages.isEmpty());
    c->Cancel();
}

void TstQueryCollection::hookAbortRollsBackSilently()
{
    TScopedMessageService messages;
    auto c = MakeCollection();
    c->SQLUpdate.Add(QStringLiteral("UPDATE TQT_PROVA SET SQTDESC = :SQTDESC WHERE IQTID = :VTCURRID"));
    c->SQLUpdate.Add(QStringLiteral("INSERT INTO TQT_LOG (ILOGID, SLOG) VALUES (:VTCURRID, 'x')"));
    c->VtAfterExec = [](TVtQueryCollection *, TVtQueryProp &p) {
        if (p.Index == 0) {
            VtMessageDlg(QStringLiteral("Rifiutato."), mtWarning, mbOK);
            Abort();
        }
    };
    c->Open();
    c->Edit();
    c->FieldByName(QStringLiteral("SQTDESC"))->SetAsString(QStringLiteral("Cambiato"));
    QVERIFY(!c->Post());
    QCOMPARE(messages->Texts(), QStringList{QStringLiteral("Rifiutato.")});
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT SQTDESC FROM TQT_PROVA WHERE IQTID = 1")).toString(), QStringLiteral("Mensa"));
    QCOMPARE(c->State(), dsEdit);
}

void TstQueryCollection::deleteConfirmationAndSkippedStatement()
{
    TScopedMessageService messages;
    auto c = MakeCollection();
    c->SQLDelete.Add(QStringLiteral(" DELETE FROM TQT_PROVA WHERE IQTID = :VTCURRID "));
    bool refuse = true;
    c->VtBeforeExec = [&](TVtQueryCollection *ds, TVtQueryProp &p, bool &execute) {
        QCOMPARE(p.UpdateKind, ukDelete);
        QCOMPARE(p.FieldValues->GetValues(QStringLiteral("VTCURRID")).toInt(), ds->FieldByName(QStringLiteral("IQTID"))->AsInteger());
        if (refuse) {
            VtMessageDlg(QStringLiteral("Impossibile cancellare."), mtWarning, mbOK);
            execute = false;
        }
    };
    c->Open();
    c->SetRecNo(1);

    messages->Answers << mrNo;
    QVERIFY(!c->Delete());
    QCOMPARE(messages->Texts(), QStringList{QStringLiteral("Confermi la cancellazione del record?")});
    QCOMPARE(messages->Messages[0].Type, mtConfirmation);
    QCOMPARE(messages->Messages[0].Buttons, mbYes | mbNo);

    messages->Clear();
    messages->Answers << mrYes;
    QVERIFY(!c->Delete());   // skipped by the hook: the row stays, in the view and in the table
    QCOMPARE(messages->Texts().last(), QStringLiteral("Impossibile cancellare."));
    QCOMPARE(c->RecordCount(), 3);
    QCOMPARE(c->FieldByName(QStringLiteral("IQTID"))->AsInteger(), 2);
    QCOMPARE(Count(), 3);

    refuse = false;
    messages->Answers << mrYes;
    QVERIFY(c->Delete());
    QCOMPARE(c->RecordCount(), 2);
    QCOMPARE(Count(), 2);
    QCOMPARE(Count(QStringLiteral("WHERE IQTID = 2")), 0);
    QCOMPARE(c->FieldByName(QStringLiteral("IQTID"))->AsInteger(), 3);   // the next row becomes current
}

void TstQueryCollection::nullsAndTypes()
{
    auto c = MakeCollection();
    c->SQLUpdate.Add(QStringLiteral("UPDATE TQT_PROVA SET FQTIMPORTO = :FQTIMPORTO, DQTDATA = :DQTDATA, BQTNOTE = :BQTNOTE WHERE IQTID = :VTCURRID"));
    c->Open();
    QCOMPARE(c->FieldByName(QStringLiteral("IQTID"))->DataType, QMetaType::Int);
    QCOMPARE(c->FieldByName(QStringLiteral("FQTIMPORTO"))->DataType, QMetaType::Double);
    QCOMPARE(c->FieldByName(QStringLiteral("DQTDATA"))->DataType, QMetaType::QDate);
    QCOMPARE(c->FieldByName(QStringLiteral("LQTTIPO"))->DataType, QMetaType::Int);
    // Text sizes in characters, whatever the connection's character set counts.
    QCOMPARE(c->FieldByName(QStringLiteral("SQTDESC"))->Size, 40);
    QCOMPARE(c->FieldByName(QStringLiteral("BQTNOTE"))->Size, 0);
    QCOMPARE(c->FieldByName(QStringLiteral("BQTNOTE"))->DataType, QMetaType::QString);
    QCOMPARE(c->FieldByName(QStringLiteral("DQTDATA"))->AsDate(), QDate(2024, 9, 1));
    c->Edit();
    c->FieldByName(QStringLiteral("FQTIMPORTO"))->Clear();
    c->FieldByName(QStringLiteral("DQTDATA"))->SetValue(QStringLiteral("31/12/2024"));
    c->FieldByName(QStringLiteral("BQTNOTE"))->SetAsString(QStringLiteral("Nota lunga: perché sì"));
    QVERIFY(c->Post());
    QVERIFY(TTestDatabase::Scalar(QStringLiteral("SELECT FQTIMPORTO FROM TQT_PROVA WHERE IQTID = 1")).isNull());
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT DQTDATA FROM TQT_PROVA WHERE IQTID = 1")).toDate(), QDate(2024, 12, 31));
    c->Refresh();
    QCOMPARE(c->FieldByName(QStringLiteral("BQTNOTE"))->AsString(), QStringLiteral("Nota lunga: perché sì"));
    QVERIFY(c->FieldByName(QStringLiteral("FQTIMPORTO"))->IsNull());

    // Text that is no date is refused at the field, the old value kept.
    c->Edit();
    QVERIFY_THROWS_EXCEPTION(EVtException, c->FieldByName(QStringLiteral("FQTIMPORTO"))->SetValue(QStringLiteral("dodici")));
    QVERIFY(c->FieldByName(QStringLiteral("FQTIMPORTO"))->IsNull());
    c->Cancel();
    // Writing outside an edit is an error.
    QVERIFY_THROWS_EXCEPTION(EVtException, c->FieldByName(QStringLiteral("SQTDESC"))->SetAsString(QStringLiteral("x")));
}

void TstQueryCollection::filterIsNullAndComparisons()
{
    auto c = MakeCollection();
    c->SetFilter(QStringLiteral("dEnd IS NULL"));
    c->SetFiltered(true);
    c->Open();
    QCOMPARE(c->RecordCount(), 2);
    QCOMPARE(c->rowCount(), 2);
    c->SetFiltered(false);
    QCOMPARE(c->RecordCount(), 3);
    c->SetFilter(QStringLiteral("LQTTIPO = 1 AND (SQTDESC <> 'Mensa' OR DEND IS NOT NULL)"));
    c->SetFiltered(true);
    QCOMPARE(c->RecordCount(), 1);
    QCOMPARE(c->FieldByName(QStringLiteral("SQTDESC"))->AsString(), QStringLiteral("Assicurazione"));
    QVERIFY_THROWS_EXCEPTION(EVtException, c->SetFilter(QStringLiteral("DEND IS")));

    // A posted row that leaves the filter leaves the view, not the table.
    c->SQLUpdate.Add(QStringLiteral("UPDATE TQT_PROVA SET DEND = :DEND WHERE IQTID = :VTCURRID"));
    c->SetFilter(QStringLiteral("DEND IS NULL"));
    c->First();
    c->Edit();
    c->FieldByName(QStringLiteral("DEND"))->SetAsDate(QDate(2025, 1, 31));
    QVERIFY(c->Post());
    QCOMPARE(c->RecordCount(), 1);
    QCOMPARE(Count(QStringLiteral("WHERE DEND IS NULL")), 1);
}

void TstQueryCollection::packetFetching()
{
    TTestDatabase::Exec(QStringLiteral(
        "EXECUTE BLOCK AS DECLARE I INTEGER = 10; BEGIN WHILE (I < 70) DO BEGIN "
        "INSERT INTO TQT_PROVA (IQTID, SQTDESC, LQTTIPO) VALUES (:I, 'Riga ' || :I, 3); I = I + 1; END END"));
    auto c = MakeCollection();
    c->PacketRecords = 25;
    c->Open();
    QCOMPARE(c->RecordCount(), 25);
    QVERIFY(!c->AllFetched());
    QVERIFY(c->canFetchMore(QModelIndex()));
    c->SetRecNo(24);
    c->Next();   // crosses into the next packet
    QCOMPARE(c->RecNo(), 25);
    QCOMPARE(c->RecordCount(), 50);
    QVERIFY(!c->Eof());
    QVERIFY(c->Locate(QStringLiteral("IQTID"), 69));
    QCOMPARE(c->RecordCount(), 63);
    QVERIFY(c->AllFetched());
    c->Next();
    QVERIFY(c->Eof());
    QCOMPARE(c->FieldByName(QStringLiteral("IQTID"))->AsInteger(), 69);
}

void TstQueryCollection::refreshKeepsCurrentRow()
{
    auto c = MakeCollection();
    c->Open();
    QVERIFY(c->Locate(QStringLiteral("IQTID"), 3));
    int scrolls = 0;
    c->AfterScroll = [&](TVtQueryCollection *) { ++scrolls; };
    TTestDatabase::Exec(QStringLiteral("INSERT INTO TQT_PROVA (IQTID, SQTDESC, LQTTIPO) VALUES (0, 'Prima', 1)"));
    c->Refresh();
    QCOMPARE(c->RecordCount(), 4);
    QCOMPARE(c->FieldByName(QStringLiteral("IQTID"))->AsInteger(), 3);
    QVERIFY(scrolls > 0);
}

void TstQueryCollection::calculatedFieldsAndDisplayFormat()
{
    auto c = MakeCollection();
    c->AddField(QStringLiteral("IQTID"), QMetaType::Int, 0, true);
    c->AddCalcField(QStringLiteral("sTipo"), QMetaType::QString, 25);
    c->OnCalcFields = [](TVtQueryCollection *ds) {
        ds->FieldByName(QStringLiteral("sTipo"))->SetAsString(ds->FieldByName(QStringLiteral("LQTTIPO"))->AsInteger() == 1
                                                                   ? QStringLiteral("Ingresso") : QStringLiteral("Uscita"));
    };
    c->Open();
    QCOMPARE(c->FieldByName(QStringLiteral("STIPO"))->AsString(), QStringLiteral("Ingresso"));
    c->Next();
    QCOMPARE(c->FieldByName(QStringLiteral("STIPO"))->AsString(), QStringLiteral("Uscita"));
    // Recomputed while editing.
    c->Edit();
    c->FieldByName(QStringLiteral("LQTTIPO"))->SetAsInteger(1);
    QCOMPARE(c->FieldByName(QStringLiteral("STIPO"))->AsString(), QStringLiteral("Ingresso"));
    c->Cancel();
    QCOMPARE(c->FieldByName(QStringLiteral("STIPO"))->AsString(), QStringLiteral("Uscita"));

    TVtField *imp = c->FieldByName(QStringLiteral("FQTIMPORTO"));
    imp->DisplayFormat = QStringLiteral("#,###.00");
    c->First();
    QCOMPARE(imp->DisplayText(), QStringLiteral("1.234,50"));
    const int col = imp->Index;
    QCOMPARE(c->data(c->index(1, col)).toString(), QStringLiteral("0,50"));
    QCOMPARE(c->data(c->index(2, col)).toString(), QString());
    QCOMPARE(c->FieldByName(QStringLiteral("DQTDATA"))->DisplayText(), QStringLiteral("01/09/2024"));
}

void TstQueryCollection::autoBuiltStatements()
{
    TScopedMessageService messages;
    auto c = MakeCollection();
    c->AutoBuildSQL = true;
    c->Open();
    c->Insert();
    c->FieldByName(QStringLiteral("SQTDESC"))->SetAsString(QStringLiteral("Generata"));
    c->FieldByName(QStringLiteral("LQTTIPO"))->SetAsInteger(2);
    QVERIFY(c->Post());
    const int id = c->FieldByName(QStringLiteral("IQTID"))->AsInteger();
    QVERIFY(id >= 1000000);
    QCOMPARE(Count(QStringLiteral("WHERE SQTDESC = 'Generata'")), 1);
    c->Edit();
    c->FieldByName(QStringLiteral("SQTDESC"))->SetAsString(QStringLiteral("Rinominata"));
    QVERIFY(c->Post());
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT SQTDESC FROM TQT_PROVA WHERE IQTID = ?"), {id}).toString(),
             QStringLiteral("Rinominata"));
    messages->Answers << mrYes;
    QVERIFY(c->Delete());
    QCOMPARE(Count(QStringLiteral("WHERE IQTID = %1").arg(id)), 0);

    // A required field left empty refuses the post before any statement.
    c->Insert();
    c->FieldByName(QStringLiteral("SQTDESC"))->Required = true;
    c->FieldByName(QStringLiteral("SQTDESC"))->DisplayLabel = QStringLiteral("Descrizione");
    QVERIFY(!c->Post());
    QCOMPARE(messages->LastText(), QStringLiteral("Il campo 'Descrizione' deve avere un valore."));
    QCOMPARE(c->State(), dsInsert);
    c->Cancel();
    QCOMPARE(c->RecordCount(), 3);
}

void TstQueryCollection::cancelRestoresValues()
{
    auto c = MakeCollection();
    c->Open();
    QSignalSpy states(c.get(), &TVtQueryCollection::StateChanged);
    c->Edit();
    c->FieldByName(QStringLiteral("SQTDESC"))->SetAsString(QStringLiteral("Cambiata"));
    QCOMPARE(c->data(c->index(0, 1)).toString(), QStringLiteral("Cambiata"));
    QVERIFY(c->Modified());
    c->Cancel();
    QCOMPARE(c->FieldByName(QStringLiteral("SQTDESC"))->AsString(), QStringLiteral("Mensa"));
    QCOMPARE(c->data(c->index(0, 1)).toString(), QStringLiteral("Mensa"));
    QCOMPARE(states.count(), 2);
    // Navigation posts a pending edit first (nothing to write here: no statements).
    c->Edit();
    c->FieldByName(QStringLiteral("SQTDESC"))->SetAsString(QStringLiteral("Tenuta"));
    c->Next();
    QCOMPARE(c->State(), dsBrowse);
    c->Prior();
    QCOMPARE(c->FieldByName(QStringLiteral("SQTDESC"))->AsString(), QStringLiteral("Tenuta"));
}

void TstQueryCollection::transactionScope()
{
    {
        TVtTransaction tr;
        tr.StartTransaction();
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TQT_LOG (ILOGID, SLOG) VALUES (1, 'annullata')"));
    }   // released without commit
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT COUNT(*) FROM TQT_LOG")).toInt(), 0);
    {
        TVtTransaction outer;
        outer.StartTransaction();
        auto c = MakeCollection();
        c->SQLUpdate.Add(QStringLiteral("UPDATE TQT_PROVA SET SQTDESC = :SQTDESC WHERE IQTID = :VTCURRID"));
        c->Open();
        c->Edit();
        c->FieldByName(QStringLiteral("SQTDESC"))->SetAsString(QStringLiteral("Dentro"));
        QVERIFY(c->Post());   // joins the outer transaction
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TQT_LOG (ILOGID, SLOG) VALUES (2, 'confermata')"));
        outer.Commit();
    }
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT COUNT(*) FROM TQT_LOG")).toInt(), 1);
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT SQTDESC FROM TQT_PROVA WHERE IQTID = 1")).toString(), QStringLiteral("Dentro"));
}

QTEST_MAIN(TstQueryCollection)
#include "tst_querycollection.moc"

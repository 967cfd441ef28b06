#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VtDBEdit.h"
#include "VtDBLookupEdit.h"
#include "VtDataSource.h"
#include "VtException.h"
#include "VtQueryCollection.h"
#include "VtSqlText.h"
#include "fmVtSearch.h"
#include "frVtDBRWGrid.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {
const QString MpgList = QStringLiteral(
    "SELECT TMpg.iMpgId, TMpg.sMpgDescS, TMpg.sMpgDescL FROM TMpg_ModPagam TMpg WHERE ##WHERE## ORDER BY TMpg.iMpgId");

void AnswerSearchForm(std::function<void(TfmVtSearch *)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto *form = qobject_cast<TfmVtSearch *>(QApplication::activeModalWidget());
        if (!form) {
            QFAIL("no search form shown");
            return;
        }
        answer(form);
    });
}

// A master row (a fee) with its detail rows (the instalments of the fee),
// written by a collection over the detail table that also touches the master.
std::unique_ptr<TVtQueryCollection> Collection(const QString &select, const QString &key)
{
    auto q = std::make_unique<TVtQueryCollection>();
    q->CommandText = select;
    q->KeyFields = key;
    q->PacketRecords = -1;
    return q;
}
}

// What a frame declares instead of writing by hand: named controls in groups,
// lookups that copy their columns and show declared search columns, checked
// field access, edit flags that last one edit, hooks with several
// subscribers, the written table in the statement descriptor, and a detail
// collection that follows its master.
class TstDeclarations : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void statementTable_data();
    void statementTable();
    void descriptorNamesTheTableTheStatementWrites();
    void trashWritesItsMarkWhateverTheUpdateList();
    void hooksTakeSeveralSubscribers();
    void editFlagsLastOneEdit();
    void detailFollowsItsMaster();
    void lookupCopiesAndClearsItsColumns();
    void lookupShowsTheDeclaredSearchColumns();
    void frameDeclaresNamedControlsInGroups();
    void frameFieldAccessIsChecked();

private:
    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_msg;
};

void TstDeclarations::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::SchemaOnly, [] {
        TTestDatabase::Exec(QStringLiteral("CREATE TABLE TDC_QUOTA (IQUOTAID INTEGER NOT NULL PRIMARY KEY, SDESC VARCHAR(40), "
                                           "IMPGID INTEGER, SMPGDESCS VARCHAR(10), SMPGDESCL VARCHAR(60), IRATE INTEGER)"));
        TTestDatabase::Exec(QStringLiteral("CREATE TABLE TDC_RATA (IRATAID INTEGER NOT NULL PRIMARY KEY, IQUOTAID INTEGER, "
                                           "FIMPORTO DOUBLE PRECISION CHECK (FIMPORTO >= 0))"));
        TTestDatabase::Exec(QStringLiteral("CREATE TABLE TDC_VOCE (IVOCEID INTEGER NOT NULL PRIMARY KEY, SDESC VARCHAR(40), "
                                           "DDELETE TIMESTAMP)"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TDC_VOCE (IVOCEID, SDESC) VALUES (1, 'Progetto orto')"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TDC_VOCE (IVOCEID, SDESC) VALUES (2, 'Fondo di riserva')"));
        const char *rows[][3] = {{"1", "RID", "Addebito diretto RID"}, {"2", "BOL", "Bollettino postale"},
                                 {"3", "BON", "Bonifico bancario"}};
        for (const auto &r : rows)
            TTestDatabase::Exec(QStringLiteral("INSERT INTO TMpg_ModPagam (iMpgId, sMpgDescS, sMpgDescL) VALUES (%1, '%2', '%3')")
                                    .arg(QString::fromUtf8(r[0]), QString::fromUtf8(r[1]), QString::fromUtf8(r[2])));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TDC_QUOTA (IQUOTAID, SDESC, IRATE) VALUES (1, 'Mensa', 2)"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TDC_QUOTA (IQUOTAID, SDESC, IRATE) VALUES (2, 'Gita', 1)"));
        for (const char *r : {"(11, 1, 40)", "(12, 1, 40)", "(21, 2, 15)"})
            TTestDatabase::Exec(QStringLiteral("INSERT INTO TDC_RATA (IRATAID, IQUOTAID, FIMPORTO) VALUES %1").arg(QString::fromLatin1(r)));
    });
}

void TstDeclarations::init()
{
    m_db->Fresh();
    m_msg = std::make_unique<TScopedMessageService>();
}

void TstDeclarations::cleanup()
{
    m_msg.reset();
}

void TstDeclarations::statementTable_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("table");
    QTest::newRow("insert") << "INSERT INTO TCau_Causali (iCauId) VALUES (:VTGENID)" << "TCAU_CAUSALI";
    QTest::newRow("update") << "  update TCauCca set fImporto = 1" << "TCAUCCA";
    QTest::newRow("update or insert") << "UPDATE OR INSERT INTO TAcb_Cau (iId) VALUES (1)" << "TACB_CAU";
    QTest::newRow("delete") << "delete\nfrom TDote where iDoteId = :VTCURRID" << "TDOTE";
    QTest::newRow("merge quoted") << "MERGE INTO \"Rate Anno\" R USING x ON 1=1" << "Rate Anno";
    QTest::newRow("procedure") << " EXECUTE PROCEDURE PEbc_ContoOnOff(:iSprIstId)" << "PEBC_CONTOONOFF";
    QTest::newRow("select") << "SELECT * FROM TCau_Causali" << "";
}

void TstDeclarations::statementTable()
{
    QFETCH(QString, sql);
    QFETCH(QString, table);
    QCOMPARE(VtStatementTable(sql), table);
}

// A hook written "for an UPDATE of TDC_QUOTA" fires in a collection whose own
// table is the instalments'.
void TstDeclarations::descriptorNamesTheTableTheStatementWrites()
{
    auto rate = Collection(QStringLiteral("SELECT IRATAID, IQUOTAID, FIMPORTO FROM TDC_RATA ORDER BY IRATAID"),
                           QStringLiteral("IRATAID"));
    rate->TableName = QStringLiteral("TDC_RATA");
    rate->SQLUpdate.Add(QStringLiteral("UPDATE TDC_RATA SET FIMPORTO = :FIMPORTO WHERE IRATAID = :VTCURRID"));
    rate->SQLUpdate.Add(QStringLiteral("UPDATE TDC_QUOTA SET SDESC = :SDESC WHERE IQUOTAID = :IQUOTAID"));
    // A procedure names no table: the descriptor gives the collection's.
    rate->SQLUpdate.Add(QStringLiteral(" EXECUTE PROCEDURE PDC_RICALCOLA(:IQUOTAID)"));
    QStringList seen;
    rate->VtBeforeExec = [&](TVtQueryCollection *, TVtQueryProp &prop, bool &execute) {
        seen << prop.TableName;
        execute = !prop.SQL.contains(QStringLiteral("PROCEDURE"));
        if (prop.UpdateKind == ukModify && prop.TableName == QLatin1String("TDC_QUOTA"))
            prop.FieldValues->Add(QStringLiteral("SDESC"), QStringLiteral("Mensa (rate cambiate)"));
    };
    rate->Open();
    rate->Edit();
    rate->FieldByName(QStringLiteral("FIMPORTO"))->SetValue(45);
    QVERIFY(rate->Post());
    QCOMPARE(seen, (QStringList{QStringLiteral("TDC_RATA"), QStringLiteral("TDC_QUOTA"), QStringLiteral("TDC_RATA")}));
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT SDESC FROM TDC_QUOTA WHERE IQUOTAID = 1")).toString(),
             QStringLiteral("Mensa (rate cambiate)"));
}

// A row trashed through an update list that saves only what the user edits
// gets its mark all the same: gone from the list, marked in the table.
void TstDeclarations::trashWritesItsMarkWhateverTheUpdateList()
{
    auto voci = Collection(QStringLiteral("SELECT IVOCEID, SDESC, DDELETE FROM TDC_VOCE WHERE DDELETE IS NULL ORDER BY IVOCEID"),
                           QStringLiteral("IVOCEID"));
    voci->SQLUpdate.Add(QStringLiteral("UPDATE TDC_VOCE SET SDESC = :SDESC WHERE IVOCEID = :VTCURRID"));
    int updates = 0;
    voci->VtBeforeExec = [&](TVtQueryCollection *, TVtQueryProp &, bool &) { ++updates; };
    voci->Open();
    QVERIFY(voci->Locate(QStringLiteral("IVOCEID"), 2));
    QVERIFY(voci->Trash());
    QCOMPARE(updates, 0);   // the item's own update does not run
    QCOMPARE(voci->RecordCount(), 1);
    voci->Close();
    voci->Open();
    QCOMPARE(voci->RecordCount(), 1);
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT CAST(DDELETE AS DATE) FROM TDC_VOCE WHERE IVOCEID = 2")).toDate(),
             QDate::currentDate());
    QVERIFY(TTestDatabase::Scalar(QStringLiteral("SELECT DDELETE FROM TDC_VOCE WHERE IVOCEID = 1")).isNull());
    // An update list that writes the mark saves it as before, hooks and all.
    voci->SQLUpdate.Clear();
    voci->SQLUpdate.Add(QStringLiteral("UPDATE TDC_VOCE SET SDESC = :SDESC, DDELETE = :DDELETE WHERE IVOCEID = :VTCURRID"));
    QVERIFY(voci->Trash());
    QCOMPARE(updates, 1);
    QCOMPARE(voci->RecordCount(), 0);
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT COUNT(*) FROM TDC_VOCE WHERE DDELETE IS NULL")).toInt(), 0);
}

void TstDeclarations::hooksTakeSeveralSubscribers()
{
    auto quota = Collection(QStringLiteral("SELECT IQUOTAID, SDESC FROM TDC_QUOTA ORDER BY IQUOTAID"), QStringLiteral("IQUOTAID"));
    quota->AutoBuildSQL = true;
    QStringList calls;
    quota->AfterPost = [&](TVtQueryCollection *) { calls << QStringLiteral("modulo"); };
    auto window = std::make_unique<QObject>();
    quota->AfterPost.Add(window.get(), [&](TVtQueryCollection *) { calls << QStringLiteral("finestra"); });
    quota->AfterPost.Add(nullptr, [&](TVtQueryCollection *) { calls << QStringLiteral("altro"); });
    QCOMPARE(quota->AfterPost.Count(), 3);
    quota->Open();
    auto post = [&] {
        quota->Edit();
        quota->FieldByName(QStringLiteral("SDESC"))->SetAsString(QStringLiteral("Mensa %1").arg(calls.size()));
        QVERIFY(quota->Post());
    };
    post();
    QCOMPARE(calls, (QStringList{QStringLiteral("modulo"), QStringLiteral("finestra"), QStringLiteral("altro")}));

    // The window's subscription ends with the window.
    calls.clear();
    window.reset();
    post();
    QCOMPARE(calls, (QStringList{QStringLiteral("modulo"), QStringLiteral("altro")}));

    // Assigning declares the one rule again.
    calls.clear();
    quota->AfterPost = [&](TVtQueryCollection *) { calls << QStringLiteral("solo"); };
    post();
    QCOMPARE(calls, QStringList{QStringLiteral("solo")});
    quota->AfterPost = nullptr;
    QVERIFY(!quota->AfterPost);
}

void TstDeclarations::editFlagsLastOneEdit()
{
    auto rate = Collection(QStringLiteral("SELECT IRATAID, FIMPORTO FROM TDC_RATA ORDER BY IRATAID"), QStringLiteral("IRATAID"));
    rate->AutoBuildSQL = true;
    QList<bool> flagAtWrite;
    rate->VtBeforeExec = [&](TVtQueryCollection *ds, TVtQueryProp &, bool &) {
        flagAtWrite << ds->EditFlag(QStringLiteral("ImportoCambiato"));
    };
    rate->Open();

    rate->Edit();
    rate->SetEditFlag(QStringLiteral("importocambiato"));   // names without regard to case
    rate->FieldByName(QStringLiteral("FIMPORTO"))->SetValue(41);
    QVERIFY(rate->Post());
    QCOMPARE(flagAtWrite, QList<bool>{true});
    QVERIFY(!rate->EditFlag(QStringLiteral("ImportoCambiato")));

    // The next edit starts without it.
    rate->Edit();
    rate->FieldByName(QStringLiteral("FIMPORTO"))->SetValue(42);
    QVERIFY(rate->Post());
    QCOMPARE(flagAtWrite, (QList<bool>{true, false}));

    // A refused write keeps the edit, and the flag with it; cancel ends both.
    rate->Edit();
    rate->SetEditFlag(QStringLiteral("ImportoCambiato"));
    rate->FieldByName(QStringLiteral("FIMPORTO"))->SetValue(-1);
    QVERIFY(!rate->Post());
    QCOMPARE((*m_msg)->Messages.size(), 1);
    QCOMPARE(rate->State(), dsEdit);
    QVERIFY(rate->EditFlag(QStringLiteral("ImportoCambiato")));
    rate->Cancel();
    QVERIFY(!rate->EditFlag(QStringLiteral("ImportoCambiato")));

    rate->Edit();
    rate->SetEditFlag(QStringLiteral("ImportoCambiato"));
    rate->Close();
    QVERIFY(!rate->EditFlag(QStringLiteral("ImportoCambiato")));
    rate->SetEditFlag(QStringLiteral("ImportoCambiato"), true);
    rate->SetEditFlag(QStringLiteral("ImportoCambiato"), false);
    QVERIFY(!rate->EditFlag(QStringLiteral("ImportoCambiato")));
}

void TstDeclarations::detailFollowsItsMaster()
{
    auto quota = Collection(QStringLiteral("SELECT IQUOTAID, SDESC FROM TDC_QUOTA ORDER BY IQUOTAID"), QStringLiteral("IQUOTAID"));
    auto rate = Collection(QStringLiteral("SELECT IRATAID, FIMPORTO FROM TDC_RATA WHERE IQUOTAID = :iQuotaId ORDER BY IRATAID"),
                           QStringLiteral("IRATAID"));
    rate->Params().CreateParam(QMetaType::Int, QStringLiteral("iQuotaId"));
    rate->SetMaster(quota.get(), QStringLiteral("iQuotaId"), QStringLiteral("IQUOTAID"));
    QVERIFY(!rate->Active());

    quota->Open();
    QVERIFY(rate->Active());
    QCOMPARE(rate->RecordCount(), 2);
    quota->Next();
    QCOMPARE(rate->RecordCount(), 1);
    QCOMPARE(rate->FieldByName(QStringLiteral("IRATAID"))->AsInteger(), 21);
    // A new master row has no details yet.
    quota->Insert();
    QCOMPARE(rate->RecordCount(), 0);
    quota->Cancel();
    QCOMPARE(rate->RecordCount(), 1);
    quota->Close();
    QVERIFY(!rate->Active());
}

void TstDeclarations::lookupCopiesAndClearsItsColumns()
{
    auto quota = Collection(QStringLiteral("SELECT IQUOTAID, IMPGID, SMPGDESCS, SMPGDESCL FROM TDC_QUOTA ORDER BY IQUOTAID"),
                            QStringLiteral("IQUOTAID"));
    quota->AutoBuildSQL = true;
    quota->Open();
    TVtDataSource source;
    source.SetDataSet(quota.get());
    TVtDBLookupEdit lookup;
    lookup.ListCommandText = MpgList;
    lookup.KeyField = QStringLiteral("TMpg.iMpgId");
    lookup.ListField = QStringLiteral("TMpg.sMpgDescS");
    lookup.SetCopyFields({QStringLiteral("SMPGDESCS"), QStringLiteral("SMPGDESCL")});
    QVariantList changes;
    lookup.OnChangeFKValue = [&](TVtDBLookupEdit *, const QVariant &key) { changes << key; };
    lookup.Bind(&source, QStringLiteral("IMPGID"));

    QVERIFY(source.Edit());
    QVERIFY(lookup.SetKeyValue(3));
    QCOMPARE(quota->FieldByName(QStringLiteral("SMPGDESCS"))->AsString(), QStringLiteral("BON"));
    QCOMPARE(quota->FieldByName(QStringLiteral("SMPGDESCL"))->AsString(), QStringLiteral("Bonifico bancario"));
    lookup.SetText(QStringLiteral("BOL"));
    QVERIFY(lookup.CommitPending());
    QCOMPARE(quota->FieldByName(QStringLiteral("IMPGID"))->AsInteger(), 2);
    QCOMPARE(quota->FieldByName(QStringLiteral("SMPGDESCL"))->AsString(), QStringLiteral("Bollettino postale"));
    QVERIFY(quota->Post());
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT SMPGDESCL FROM TDC_QUOTA WHERE IQUOTAID = 1")).toString(),
             QStringLiteral("Bollettino postale"));

    // A key that no longer applies goes with its copies, without validation.
    lookup.OnValidate = TVtDBControl::Required(QStringLiteral("Obbligatorio."));
    QVERIFY(source.Edit());
    lookup.ClearKey();
    QVERIFY(quota->FieldByName(QStringLiteral("IMPGID"))->IsNull());
    QVERIFY(quota->FieldByName(QStringLiteral("SMPGDESCS"))->IsNull());
    QVERIFY(quota->FieldByName(QStringLiteral("SMPGDESCL"))->IsNull());
    QCOMPARE(lookup.Text(), QString());
    QCOMPARE(changes, (QVariantList{3, 2, QVariant()}));
    quota->Cancel();

    // A copy column the row lacks is an error naming it, not a crash.
    lookup.SetCopyFields({QStringLiteral("SMPGDESCX")});
    QVERIFY(source.Edit());
    try {
        lookup.SetKeyValue(1);
        QFAIL("a missing copy column passed");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), QStringLiteral("Campo 'SMPGDESCX' non trovato."));
    }
    quota->Cancel();
}

void TstDeclarations::lookupShowsTheDeclaredSearchColumns()
{
    auto quota = Collection(QStringLiteral("SELECT IQUOTAID, IMPGID FROM TDC_QUOTA ORDER BY IQUOTAID"), QStringLiteral("IQUOTAID"));
    quota->Open();
    TVtDataSource source;
    source.SetDataSet(quota.get());
    TVtDBLookupEdit lookup;
    lookup.ListCommandText = MpgList;
    lookup.KeyField = QStringLiteral("TMpg.iMpgId");
    lookup.ListField = QStringLiteral("TMpg.sMpgDescS");
    lookup.SetSearchForm(QStringLiteral("Modalità di pagamento"), 480,
                         {{QStringLiteral("SMPGDESCL"), QStringLiteral("Descrizione"), 300, true}});
    lookup.Bind(&source, QStringLiteral("IMPGID"));
    lookup.show();
    bool answered = false;
    AnswerSearchForm([&answered](TfmVtSearch *f) {
        QCOMPARE(f->Caption(), QStringLiteral("Modalità di pagamento"));
        QCOMPARE(f->width(), 480);
        // Only the declared column is shown: key and code are hidden.
        QCOMPARE(f->GetFields()->FindField(QStringLiteral("IMPGID"))->Visible, false);
        QCOMPARE(f->GetFields()->FindField(QStringLiteral("SMPGDESCS"))->Visible, false);
        TVtSearchField *desc = f->GetFields()->FindField(QStringLiteral("SMPGDESCL"));
        QVERIFY(desc->Visible && desc->Indexed);
        QCOMPARE(desc->Title, QStringLiteral("Descrizione"));
        // The search box looks in the declared column: "bonifico" is not a code.
        f->SetSearchText(QStringLiteral("bonifico"));
        QCOMPARE(f->MatchCount(), 1);
        answered = true;
        f->accept();
    });
    QVERIFY(source.Edit());
    QVERIFY(lookup.ShowSearchForm());
    QVERIFY(answered);
    QCOMPARE(quota->FieldByName(QStringLiteral("IMPGID"))->AsInteger(), 3);
    quota->Cancel();
}

void TstDeclarations::frameDeclaresNamedControlsInGroups()
{
    auto quota = Collection(QStringLiteral("SELECT IQUOTAID, SDESC, IRATE FROM TDC_QUOTA ORDER BY IQUOTAID"),
                            QStringLiteral("IQUOTAID"));
    quota->Open();
    TfrVtDBRWGrid frame;
    frame.SetDataSet(quota.get());
    TVtDBEdit *desc = frame.AddEdit(QStringLiteral("xdeDesc"), QStringLiteral("SDESC"), QStringLiteral("Descrizione"));
    QGroupBox *group = frame.BeginGroup(QStringLiteral("gbRate"), QStringLiteral("Rate"));
    TVtDBEdit *rate = frame.AddEdit(QStringLiteral("xdeRate"), QStringLiteral("IRATE"), QStringLiteral("Numero"));
    frame.EndGroup();
    TVtDBEdit *after = frame.AddEdit(QStringLiteral("xdeDopo"), QStringLiteral("SDESC"), QStringLiteral("Ancora"));
    frame.resize(800, 600);
    frame.show();
    frame.ShowDetail();

    QCOMPARE(frame.findChild<TVtDBEdit *>(QStringLiteral("xdeDesc")), desc);
    QCOMPARE(frame.findChild<QGroupBox *>(QStringLiteral("gbRate")), group);
    QVERIFY(group->isAncestorOf(rate));
    QVERIFY(!group->isAncestorOf(desc) && !group->isAncestorOf(after));
    QCOMPARE(frame.DetailControls(), (QList<TVtDBControl *>{desc, rate, after}));
    QCOMPARE(rate->Text(), QStringLiteral("2"));

    // Hiding a control hides its caption too, inside a group as outside.
    frame.SetDetailVisible(rate, false);
    QVERIFY(!rate->isVisible());
    const auto labels = group->findChildren<QLabel *>();
    QVERIFY(!labels.isEmpty());
    for (QLabel *l : labels)
        if (l->text() == QLatin1String("Numero:"))
            QVERIFY(!l->isVisible());
    frame.SetDetailVisible(rate, true);
    QVERIFY(rate->isVisible());
}

void TstDeclarations::frameFieldAccessIsChecked()
{
    TfrVtDBRWGrid frame;
    try {
        frame.FieldByName(QStringLiteral("SDESC"));
        QFAIL("a frame without collection gave a field");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), QStringLiteral("Campo 'SDESC' non trovato."));
    }
    auto quota = Collection(QStringLiteral("SELECT IQUOTAID, SDESC FROM TDC_QUOTA ORDER BY IQUOTAID"), QStringLiteral("IQUOTAID"));
    quota->Open();
    frame.SetDataSet(quota.get());
    QCOMPARE(frame.FieldByName(QStringLiteral("sdesc"))->AsString(), QStringLiteral("Mensa"));
    try {
        frame.FieldByName(QStringLiteral("SDESCR"));
        QFAIL("a misspelt field name passed");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), QStringLiteral("Campo 'SDESCR' non trovato."));
    }
}

QTEST_MAIN(TstDeclarations)
#include "tst_declarations.moc"

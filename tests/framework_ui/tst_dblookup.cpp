#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VtDBLookupEdit.h"
#include "VtDataSource.h"
#include "VtException.h"
#include "VtFormRegistry.h"
#include "VtQueryCollection.h"
#include "fmVtSearch.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <QTimer>
#include <functional>

namespace {
const QString MpgList = QStringLiteral(
    "SELECT TMpg.iMpgId, TMpg.sMpgDescS, TMpg.sMpgDescL FROM TMpg_ModPagam TMpg WHERE ##WHERE## ORDER BY TMpg.iMpgId");

// A search form of the program's own, registered by name.
class TfmProvaSearch : public TfmVtSearch
{
public:
    using TfmVtSearch::TfmVtSearch;
    static int Activations;

protected:
    void Activate() override { ++Activations; }
};
int TfmProvaSearch::Activations = 0;

// Answers the next modal search form: checks it, then chooses a row or cancels.
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
}

// The lookup edit over the payment modes: the "##WHERE##" conditions, seeking
// and showing a key, searching a typed text with one, several and no rows,
// the search form (its settings, its select, its registered class) and the
// events raised when the key changes.
class TstDBLookup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void whereMarkerIsReplacedByTheCondition();
    void showsAndSeeksTheKey();
    void oneMatchIsTakenAtOnce();
    void severalMatchesOpenTheSearchForm();
    void noMatchLeavesTheMessageAtTheField();
    void searchQueryReplacedAndFormCancelled();
    void searchFormsByClassName();
    void clearingAndRefusingTheKey();
    void listParametersAndRefreshList();

private:
    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TVtQueryCollection> m_coll;
    std::unique_ptr<TVtDataSource> m_source;
    std::unique_ptr<TVtDBLookupEdit> m_lookup;
    std::unique_ptr<TScopedMessageService> m_msg;
    QVariantList m_changes;
};

void TstDBLookup::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::SchemaOnly, [] {
        TTestDatabase::Exec(QStringLiteral("CREATE TABLE TFU_RATE (IFURATAID INTEGER NOT NULL PRIMARY KEY, SFUDESC VARCHAR(40), IMPGID INTEGER)"));
        const char *rows[][3] = {{"1", "RID", "Addebito diretto RID"},
                                 {"2", "BOL", "Bollettino postale"},
                                 {"3", "BON", "Bonifico bancario"},
                                 {"4", "CON", "Contanti"},
                                 {"5", "POS", "Carta di debito (POS)"}};
        for (const auto &r : rows)
            TTestDatabase::Exec(QStringLiteral("INSERT INTO TMpg_ModPagam (iMpgId, sMpgDescS, sMpgDescL) VALUES (%1, '%2', '%3')")
                                    .arg(QString::fromUtf8(r[0]), QString::fromUtf8(r[1]), QString::fromUtf8(r[2])));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TFU_RATE (IFURATAID, SFUDESC, IMPGID) VALUES (1, 'Prima rata', 3)"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TFU_RATE (IFURATAID, SFUDESC, IMPGID) VALUES (2, 'Seconda rata', NULL)"));
    });
}

void TstDBLookup::init()
{
    m_db->Fresh();
    m_msg = std::make_unique<TScopedMessageService>();
    m_coll = std::make_unique<TVtQueryCollection>();
    m_coll->CommandText = QStringLiteral("SELECT IFURATAID, SFUDESC, IMPGID FROM TFU_RATE ORDER BY IFURATAID");
    m_coll->AutoBuildSQL = true;
    m_coll->Open();
    m_source = std::make_unique<TVtDataSource>();
    m_source->SetDataSet(m_coll.get());
    m_lookup = std::make_unique<TVtDBLookupEdit>();
    m_lookup->ListCommandText = MpgList;
    m_lookup->KeyField = QStringLiteral("TMpg.iMpgId");
    m_lookup->ListField = QStringLiteral("TMpg.sMpgDescL");
    m_changes.clear();
    m_lookup->OnChangeFKValue = [this](TVtDBLookupEdit *l, const QVariant &key) {
        QCOMPARE(l, m_lookup.get());
        m_changes << key;
    };
    m_lookup->Bind(m_source.get(), QStringLiteral("IMPGID"));
    m_lookup->show();
}

void TstDBLookup::cleanup()
{
    m_lookup.reset();
    m_source.reset();
    m_coll.reset();
    m_msg.reset();
}

void TstDBLookup::whereMarkerIsReplacedByTheCondition()
{
    QCOMPARE(m_lookup->KeyCondition(), QStringLiteral("(TMpg.iMpgId = :VTLKPKEY)"));
    QCOMPARE(m_lookup->TextCondition(), QStringLiteral("(TMpg.sMpgDescL CONTAINING :VTLKPTEXT)"));
    QCOMPARE(TVtDBLookupEdit::ListSql(QStringLiteral("SELECT A FROM T WHERE (##WHERE## AND (B = 3))"), m_lookup->AllCondition()),
             QStringLiteral("SELECT A FROM T WHERE ((1 = 1) AND (B = 3))"));
    QCOMPARE(TVtDBLookupEdit::ListSql(MpgList, m_lookup->KeyCondition()),
             QStringLiteral("SELECT TMpg.iMpgId, TMpg.sMpgDescS, TMpg.sMpgDescL FROM TMpg_ModPagam TMpg "
                            "WHERE (TMpg.iMpgId = :VTLKPKEY) ORDER BY TMpg.iMpgId"));
    // The listing of the search form has every row.
    TfmVtSearch *form = m_lookup->SearchForm();
    AnswerSearchForm([](TfmVtSearch *f) {
        QCOMPARE(f->CommandText(), TVtDBLookupEdit::ListSql(MpgList, QStringLiteral("(1 = 1)")));
        QCOMPARE(f->MatchCount(), 5);
        f->reject();
    });
    QVERIFY(!m_lookup->ShowSearchForm());
    QCOMPARE(form->GetDataSet()->RecordCount(), 5);
}

void TstDBLookup::showsAndSeeksTheKey()
{
    // The current row's key is shown by its list field, without any event.
    QCOMPARE(m_lookup->Text(), QStringLiteral("Bonifico bancario"));
    QCOMPARE(m_lookup->ListDataSet()->FieldByName(QStringLiteral("sMpgDescS"))->AsString(), QStringLiteral("BON"));
    m_coll->Next();
    QCOMPARE(m_lookup->Text(), QString());
    m_coll->First();
    QCOMPARE(m_lookup->Text(), QStringLiteral("Bonifico bancario"));

    QVERIFY(m_lookup->SeekByID(4));
    QCOMPARE(m_lookup->Text(), QStringLiteral("Contanti"));
    QCOMPARE(m_lookup->ListDataSet()->RecordCount(), 1);
    QVERIFY(!m_lookup->SeekByID(99));
    QCOMPARE(m_lookup->Text(), QString());
    // Seeking shows, it does not write.
    QCOMPARE(m_coll->State(), dsBrowse);
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IMPGID"))->AsInteger(), 3);
    QVERIFY(m_changes.isEmpty());

    // Choosing by key writes the field and raises the event.
    QVERIFY(m_lookup->SetKeyValue(2));
    QCOMPARE(m_coll->State(), dsEdit);
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IMPGID"))->AsInteger(), 2);
    QCOMPARE(m_lookup->Text(), QStringLiteral("Bollettino postale"));
    QCOMPARE(m_changes, QVariantList{2});
    QVERIFY(!m_lookup->SetKeyValue(77));
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IMPGID"))->AsInteger(), 2);
    QVERIFY(m_coll->Post());
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT IMPGID FROM TFU_RATE WHERE IFURATAID = 1")).toInt(), 2);
}

void TstDBLookup::oneMatchIsTakenAtOnce()
{
    m_coll->Last();
    m_lookup->LineEdit()->setFocus();
    QTest::keyClicks(m_lookup->LineEdit(), QStringLiteral("conta"));
    QCOMPARE(m_coll->State(), dsEdit);
    QTest::keyClick(m_lookup->LineEdit(), Qt::Key_Return);
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IMPGID"))->AsInteger(), 4);
    QCOMPARE(m_lookup->Text(), QStringLiteral("Contanti"));
    QCOMPARE(m_changes, QVariantList{4});
    // The chosen row of the list can be read by the handler.
    QCOMPARE(m_lookup->ListDataSet()->FieldByName(QStringLiteral("SMPGDESCS"))->AsString(), QStringLiteral("CON"));
    QVERIFY(!m_lookup->HasError());

    // Several rows contain "bo", one equals the text exactly: F2 takes it.
    m_lookup->SetText(QStringLiteral("bollettino postale"));
    QTest::keyClick(m_lookup->LineEdit(), Qt::Key_F2);
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IMPGID"))->AsInteger(), 2);
    QCOMPARE(m_changes, (QVariantList{4, 2}));
    QVERIFY((*m_msg)->Messages.isEmpty());
}

void TstDBLookup::severalMatchesOpenTheSearchForm()
{
    int shown = 0;
    m_lookup->OnShowSearchForm = [&](TVtDBLookupEdit *l, TfmVtSearch *form) {
        ++shown;
        QCOMPARE(l, m_lookup.get());
        form->SetCaption(QStringLiteral("Modalità di pagamento"));
        form->SetWidth(500);
        QCOMPARE(form->GetFields()->Count(), 3);
        // Defaults: the key hidden, the shown field searched.
        QVERIFY(!form->GetFields()->Items(0)->Visible);
        QVERIFY(form->GetFields()->Items(2)->Indexed);
        form->GetFields()->Items(1)->Title = QStringLiteral("Codice");
        form->GetFields()->Items(1)->Indexed = true;
        form->GetFields()->Items(1)->Width = 60;
        form->GetFields()->Items(2)->Title = QStringLiteral("Tipo Pagamento");
    };
    // "b" is in three descriptions: the form opens with the text in its search box.
    m_lookup->LineEdit()->setFocus();
    m_lookup->LineEdit()->selectAll();
    QTest::keyClicks(m_lookup->LineEdit(), QStringLiteral("b"));
    AnswerSearchForm([](TfmVtSearch *f) {
        QCOMPARE(f->Caption(), QStringLiteral("Modalità di pagamento"));
        QCOMPARE(f->width(), 500);
        QCOMPARE(f->SearchText(), QStringLiteral("b"));
        QCOMPARE(f->grSearch->model()->columnCount(), 2);
        QCOMPARE(f->grSearch->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Codice"));
        QCOMPARE(f->grSearch->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Tipo Pagamento"));
        QCOMPARE(f->grSearch->columnWidth(0), 60);
        // Rows whose code or description holds "b": RID (Addebito), BOL, BON, POS (debito).
        QCOMPARE(f->MatchCount(), 4);
        f->SetSearchText(QStringLiteral("bo"));
        QCOMPARE(f->MatchCount(), 2);
        QVERIFY(f->SelectRow(1));
        QCOMPARE(f->SelectedValue(QStringLiteral("SMPGDESCS")).toString(), QStringLiteral("BON"));
        f->accept();
    });
    QTest::keyClick(m_lookup->LineEdit(), Qt::Key_Return);
    QCOMPARE(shown, 1);
    QCOMPARE(m_changes, QVariantList());   // BON is the key the row had: no change
    QCOMPARE(m_lookup->Text(), QStringLiteral("Bonifico bancario"));

    // Now a different one, through F2 with the text unchanged: every row listed.
    m_coll->Last();
    AnswerSearchForm([](TfmVtSearch *f) {
        QCOMPARE(f->SearchText(), QString());
        QCOMPARE(f->MatchCount(), 5);
        QVERIFY(f->SelectRow(4));
        f->accept();
    });
    m_lookup->LineEdit()->setFocus();
    QTest::keyClick(m_lookup->LineEdit(), Qt::Key_F2);
    QCOMPARE(shown, 2);
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IMPGID"))->AsInteger(), 5);
    QCOMPARE(m_changes, QVariantList{5});
    QCOMPARE(m_lookup->ListDataSet()->FieldByName(QStringLiteral("SMPGDESCS"))->AsString(), QStringLiteral("POS"));
    QVERIFY(m_coll->Post());
    QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT IMPGID FROM TFU_RATE WHERE IFURATAID = 2")).toInt(), 5);
    QVERIFY((*m_msg)->Messages.isEmpty());
}

void TstDBLookup::noMatchLeavesTheMessageAtTheField()
{
    m_lookup->LineEdit()->setFocus();
    m_lookup->SetText(QStringLiteral("assegno"));
    QVERIFY(!m_lookup->CommitPending());
    QCOMPARE(m_lookup->ErrorText(), QStringLiteral("Nessun elemento corrisponde a \"assegno\"."));
    QVERIFY(m_lookup->ErrorLabel()->isVisible());
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IMPGID"))->AsInteger(), 3);
    QVERIFY(m_changes.isEmpty());
    // The post is refused until corrected.
    QVERIFY(!m_source->CommitControls());
    m_lookup->SetText(QStringLiteral("RID"));
    QVERIFY(m_source->CommitControls());
    QVERIFY(!m_lookup->HasError());
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IMPGID"))->AsInteger(), 1);
    QVERIFY((*m_msg)->Messages.isEmpty());
}

void TstDBLookup::searchQueryReplacedAndFormCancelled()
{
    m_lookup->OnSetSearchQuery = [](TVtDBLookupEdit *, QString &sql) {
        QCOMPARE(sql, TVtDBLookupEdit::ListSql(MpgList, QStringLiteral("(1 = 1)")));
        sql = QStringLiteral("SELECT iMpgId, sMpgDescS, sMpgDescL FROM TMpg_ModPagam WHERE iMpgId >= 4 ORDER BY iMpgId");
    };
    AnswerSearchForm([](TfmVtSearch *f) {
        QCOMPARE(f->MatchCount(), 2);
        QCOMPARE(f->GetDataSet()->RecordCount(), 2);
        QVERIFY(f->SelectRow(0));
        QCOMPARE(f->SelectedValue(QStringLiteral("IMPGID")).toInt(), 4);
        f->accept();
    });
    QVERIFY(m_lookup->ShowSearchForm());
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IMPGID"))->AsInteger(), 4);
    QCOMPARE(m_changes, QVariantList{4});

    // Annulla changes nothing and puts the shown text back.
    m_lookup->SetText(QStringLiteral("o"));
    AnswerSearchForm([](TfmVtSearch *f) { f->reject(); });
    QVERIFY(m_lookup->CommitPending());
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IMPGID"))->AsInteger(), 4);
    QCOMPARE(m_lookup->Text(), QStringLiteral("Contanti"));
    QCOMPARE(m_changes, QVariantList{4});
}

void TstDBLookup::searchFormsByClassName()
{
    RegisterVtSearchForm(QStringLiteral("TfmProvaSearch"), [](QWidget *parent) { return new TfmProvaSearch(parent); });
    QVERIFY(IsVtSearchFormRegistered(QStringLiteral("tfmprovasearch")));
    m_lookup->SearchFormClass = QStringLiteral("TfmProvaSearch");
    TfmProvaSearch::Activations = 0;
    TfmVtSearch *form = m_lookup->SearchForm();
    QVERIFY(dynamic_cast<TfmProvaSearch *>(form));
    AnswerSearchForm([](TfmVtSearch *f) {
        QVERIFY(dynamic_cast<TfmProvaSearch *>(f));
        f->reject();
    });
    QVERIFY(!m_lookup->ShowSearchForm());
    QCOMPARE(TfmProvaSearch::Activations, 1);

    UnregisterVtSearchForm(QStringLiteral("TfmProvaSearch"));
    QVERIFY(!IsVtSearchFormRegistered(QStringLiteral("TfmProvaSearch")));
    try {
        delete CreateVtSearchForm(QStringLiteral("TfmProvaSearch"));
        QFAIL("an unregistered class must not be created");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), QStringLiteral("Maschera di ricerca 'TfmProvaSearch' non registrata."));
    }
    std::unique_ptr<TfmVtSearch> plain(CreateVtSearchForm(QStringLiteral("TfmVtSearch")));
    QVERIFY(plain);

    // A search form registered with the program's form registry serves as well;
    // another kind of form registered there does not.
    TVtFormRegistry::RegisterClass<TfmProvaSearch>(QStringLiteral("TfmAltraSearch"));
    std::unique_ptr<TfmVtSearch> other(CreateVtSearchForm(QStringLiteral("TfmAltraSearch")));
    QVERIFY(dynamic_cast<TfmProvaSearch *>(other.get()));
    TVtFormRegistry::RegisterClass<QWidget>(QStringLiteral("TfmNonRicerca"));
    try {
        delete CreateVtSearchForm(QStringLiteral("TfmNonRicerca"));
        QFAIL("a form that is not a search form must be refused");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), QStringLiteral("La classe 'TfmNonRicerca' non è una maschera di ricerca."));
    }
    TVtFormRegistry::UnregisterClass(QStringLiteral("TfmAltraSearch"));
    TVtFormRegistry::UnregisterClass(QStringLiteral("TfmNonRicerca"));
}

void TstDBLookup::clearingAndRefusingTheKey()
{
    m_lookup->OnValidate = [](const QVariant &key, QString &msg) {
        if (key.isNull()) {
            msg = QStringLiteral("Il tipo di pagamento è obbligatorio.");
            return false;
        }
        if (key.toInt() == 4) {
            msg = QStringLiteral("Pagamento in contanti non ammesso per le rate.");
            return false;
        }
        return true;
    };
    m_lookup->SetText(QStringLiteral("contanti"));
    QVERIFY(!m_lookup->CommitPending());
    QCOMPARE(m_lookup->ErrorText(), QStringLiteral("Pagamento in contanti non ammesso per le rate."));
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IMPGID"))->AsInteger(), 3);
    QVERIFY(m_changes.isEmpty());
    QVERIFY(!m_source->CommitControls());

    // Emptying the text clears the key, here refused too.
    m_lookup->SetText(QString());
    QVERIFY(!m_lookup->CommitPending());
    QCOMPARE(m_lookup->ErrorText(), QStringLiteral("Il tipo di pagamento è obbligatorio."));

    m_lookup->OnValidate = nullptr;
    m_lookup->SetText(QString());
    QVERIFY(m_lookup->CommitPending());
    QVERIFY(!m_lookup->HasError());
    QVERIFY(m_coll->FieldByName(QStringLiteral("IMPGID"))->IsNull());
    QCOMPARE(m_changes.size(), 1);
    QVERIFY(m_changes.first().isNull());

    // A read-only lookup opens nothing and takes no text.
    m_coll->Cancel();
    m_lookup->SetReadOnly(true);
    QVERIFY(m_lookup->LineEdit()->isReadOnly());
    QVERIFY(!m_lookup->SearchButton()->isEnabled());
    QVERIFY(!m_lookup->ShowSearchForm());
    QCOMPARE(m_coll->State(), dsBrowse);
}

void TstDBLookup::listParametersAndRefreshList()
{
    // A list narrowed by a parameter and by a value written into the text, as frames do.
    m_lookup->ListCommandText = QStringLiteral(
        "SELECT iMpgId, sMpgDescS, sMpgDescL FROM TMpg_ModPagam WHERE (##WHERE## AND (iMpgId <= :iMax) AND (iMpgId <> %1))").arg(-1);
    m_lookup->KeyField = QStringLiteral("iMpgId");
    m_lookup->ListField = QStringLiteral("sMpgDescL");
    m_lookup->ListParams().CreateParam(QMetaType::Int, QStringLiteral("iMax"))->SetAsInteger(5);
    QVERIFY(m_lookup->RefreshList());
    QCOMPARE(m_lookup->Text(), QStringLiteral("Bonifico bancario"));
    m_lookup->ListCommandText = m_lookup->ListCommandText.replace(QStringLiteral("<> -1"), QStringLiteral("<> 3"));
    QVERIFY(!m_lookup->RefreshList());
    QCOMPARE(m_lookup->Text(), QString());
    // The search form gets the list's parameters too.
    m_lookup->ListParams().ParamByName(QStringLiteral("IMAX"))->SetAsInteger(2);
    AnswerSearchForm([](TfmVtSearch *f) {
        QCOMPARE(f->MatchCount(), 2);
        f->reject();
    });
    QVERIFY(!m_lookup->ShowSearchForm());
    m_lookup->SetText(QStringLiteral("o"));
    AnswerSearchForm([](TfmVtSearch *f) {
        QCOMPARE(f->MatchCount(), 2);   // "Addebito diretto RID" and "Bollettino postale"
        QVERIFY(f->SelectRow(1));
        f->accept();
    });
    QVERIFY(m_lookup->CommitPending());
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IMPGID"))->AsInteger(), 2);
}

QTEST_MAIN(TstDBLookup)
#include "tst_dblookup.moc"

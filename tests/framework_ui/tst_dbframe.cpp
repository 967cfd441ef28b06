#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "VtBookmark.h"
#include "VtDBCheckBox.h"
#include "VtDBComboBox.h"
#include "VtDBDateEdit.h"
#include "VtDBEdit.h"
#include "VtDBGrid.h"
#include "VtDBMemo.h"
#include "VtDBNumEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtException.h"
#include "VtQueryCollection.h"
#include "frVtDBROGrid.h"
#include "frVtDBRWGrid.h"
#include "frVtDoubleListView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

namespace {
const QString CodeMessage = QStringLiteral("Il codice deve avere almeno 3 caratteri.");
const QString DateMessage = QStringLiteral("La data dell'articolo è obbligatoria.");
const QString BadDate = QStringLiteral("Data non valida: scrivere la data nella forma gg/mm/aaaa.");

// A frame as a later window declares one: columns, detail fields, validations.
class TfrProvaArticoli : public TfrVtDBRWGrid
{
public:
    explicit TfrProvaArticoli(TVtQueryCollection *collection)
    {
        SetDataSet(collection);
        AddColumn(QStringLiteral("SFUDESC"), QStringLiteral("Descrizione"), 200);
        AddColumn(QStringLiteral("SFUCODICE"), QStringLiteral("Codice"), 80);
        AddColumn(QStringLiteral("FFUIMPORTO"), QStringLiteral("Importo"), 90);
        xdeDesc = AddEdit(QStringLiteral("xdeDesc"), QStringLiteral("SFUDESC"), QStringLiteral("Descrizione"));
        xdeCodice = AddEdit(QStringLiteral("xdeCodice"), QStringLiteral("SFUCODICE"), QStringLiteral("Codice"));
        xdeCodice->SetCharCase(ecUpperCase);
        xdeCodice->SetFilter(cfLettersDigits);
        xdeCodice->OnValidate = [](const QVariant &v, QString &msg) {
            if (v.toString().size() < 3) {
                msg = CodeMessage;
                return false;
            }
            return true;
        };
        xneImporto = AddNumEdit(QStringLiteral("xneImporto"), QStringLiteral("FFUIMPORTO"), QStringLiteral("Importo"));
        xneImporto->DisplayFormat = QStringLiteral("#,###.00");
        TVtDetailField data;
        data.Kind = dkDate;
        data.FieldName = QStringLiteral("DFUDATA");
        data.Caption = QStringLiteral("Data");
        data.Name = QStringLiteral("xddData");
        data.Validate = [](const QVariant &v, QString &msg) {
            if (v.isNull()) {
                msg = DateMessage;
                return false;
            }
            return true;
        };
        xddData = static_cast<TVtDBDateEdit *>(AddDetailField(data));
        ckAttivo = AddCheckBox(QStringLiteral("ckAttivo"), QStringLiteral("LFUATTIVO"), QStringLiteral("Attivo"));
        xmeNote = AddMemo(QStringLiteral("xmeNote"), QStringLiteral("BFUNOTE"), QStringLiteral("Note"));
        cbTipo = AddComboBox(QStringLiteral("cbTipo"), QStringLiteral("IFUTIPO"), QStringLiteral("Tipo"));
        cbTipo->SetItems({{QStringLiteral("Materiale"), 1}, {QStringLiteral("Servizio"), 2}, {QStringLiteral("Quota"), 3}});
    }

    TVtDBEdit *xdeDesc, *xdeCodice;
    TVtDBNumEdit *xneImporto;
    TVtDBDateEdit *xddData;
    TVtDBCheckBox *ckAttivo;
    TVtDBMemo *xmeNote;
    TVtDBComboBox *cbTipo;
};
}

// A grid-and-detail frame and its data-aware controls driven as a user would,
// on a table of its own; the double list view.
class TstDBFrame : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void insertTypeAndPostWritesTheRow();
    void editThenCancelRestoresValues();
    void typingStartsTheEditAndLeavingTheDetailPosts();
    void failingValidationRefusesThePostAtTheField();
    void malformedTextIsRefusedAtTheField();
    void onExecuteReplacesTheDefaultAndAbortIsSilent();
    void actionsFollowStateAndReadOnly();
    void trashAndDeleteAskFirst();
    void sortedGridEditsTheRowTheUserSees();
    void doubleClickOpensTheDetail();
    void bookmarkFindsTheRowAfterRefresh();
    void italianNumbersAndDates();
    void editFilterCaseAndLength();
    void readOnlyGridFrame();
    void doubleListMoves();

private:
    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TVtQueryCollection> m_coll;
    std::unique_ptr<TfrProvaArticoli> m_frame;
    std::unique_ptr<TScopedMessageService> m_msg;

    static QVariant Db(const QString &sql) { return TTestDatabase::Scalar(sql); }
};

void TstDBFrame::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::SchemaOnly, [] {
        TTestDatabase::Exec(QStringLiteral(
            "CREATE TABLE TFU_ARTICOLI (IFUID INTEGER NOT NULL PRIMARY KEY, SFUDESC VARCHAR(40) NOT NULL, "
            "SFUCODICE VARCHAR(8), FFUIMPORTO DOUBLE PRECISION, DFUDATA DATE, LFUATTIVO SMALLINT, "
            "BFUNOTE BLOB SUB_TYPE TEXT, IFUTIPO INTEGER, DDELETE DATE)"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TFU_ARTICOLI (IFUID, SFUDESC, SFUCODICE, FFUIMPORTO, DFUDATA, LFUATTIVO, IFUTIPO) "
                                           "VALUES (1, 'Zaino', 'ZAI', 35.5, '2024-09-01', 1, 1)"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TFU_ARTICOLI (IFUID, SFUDESC, SFUCODICE, FFUIMPORTO, DFUDATA, LFUATTIVO, IFUTIPO) "
                                           "VALUES (2, 'Astuccio', 'AST', 12, '2024-09-02', 0, 1)"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TFU_ARTICOLI (IFUID, SFUDESC, SFUCODICE, FFUIMPORTO, DFUDATA, LFUATTIVO, IFUTIPO) "
                                           "VALUES (3, 'Mensa', 'MEN', 1200, '2024-09-03', 1, 2)"));
    });
}

void TstDBFrame::init()
{
    m_db->Fresh();
    m_msg = std::make_unique<TScopedMessageService>();
    m_coll = std::make_unique<TVtQueryCollection>();
    m_coll->CommandText = QStringLiteral("SELECT IFUID, SFUDESC, SFUCODICE, FFUIMPORTO, DFUDATA, LFUATTIVO, BFUNOTE, IFUTIPO, DDELETE "
                                         "FROM TFU_ARTICOLI WHERE DDELETE IS NULL ORDER BY IFUID");
    m_coll->KeyFields = QStringLiteral("IFUID");
    m_coll->AutoBuildSQL = true;
    m_coll->Open();
    m_frame = std::make_unique<TfrProvaArticoli>(m_coll.get());
    m_frame->resize(700, 500);
    m_frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_frame.get()));
    m_frame->activateWindow();
}

void TstDBFrame::cleanup()
{
    m_frame.reset();
    m_coll.reset();
    m_msg.reset();
}

void TstDBFrame::insertTypeAndPostWritesTheRow()
{
    auto *f = m_frame.get();
    QCOMPARE(f->pcMain->currentWidget(), f->tsGrid);
    QVERIFY(f->xacInsert->isEnabled());
    f->xacInsert->trigger();
    QCOMPARE(m_coll->State(), dsInsert);
    QCOMPARE(f->pcMain->currentWidget(), f->tsDetail);
    QVERIFY(f->xdeDesc->LineEdit()->text().isEmpty());

    TypeText(f->xdeDesc, QStringLiteral("Diario scolastico"));
    TypeText(f->xdeCodice, QStringLiteral("dia"));
    TypeText(f->xneImporto, QStringLiteral("1.234,5"));
    TypeText(f->xddData, QStringLiteral("15/09/2024"));
    QTest::mouseClick(f->ckAttivo->CheckBox(), Qt::LeftButton);
    f->xmeNote->TextEdit()->setFocus();
    QTest::keyClicks(f->xmeNote->TextEdit(), QStringLiteral("Per le prime"));
    f->cbTipo->SelectId(3);
    // The typed code is upper case already in the editor.
    QCOMPARE(f->xdeCodice->LineEdit()->text(), QStringLiteral("DIA"));

    f->xacPost->trigger();
    QVERIFY2((*m_msg)->Messages.isEmpty(), qPrintable((*m_msg)->Texts().join(QLatin1Char('|'))));
    QCOMPARE(m_coll->State(), dsBrowse);
    QCOMPARE(f->pcMain->currentWidget(), f->tsGrid);
    const QVariant id = m_coll->FieldByName(QStringLiteral("IFUID"))->Value();
    QVERIFY(!id.isNull());
    const QString where = QStringLiteral(" FROM TFU_ARTICOLI WHERE IFUID = %1").arg(id.toInt());
    QCOMPARE(Db(QStringLiteral("SELECT SFUDESC") + where).toString(), QStringLiteral("Diario scolastico"));
    QCOMPARE(Db(QStringLiteral("SELECT SFUCODICE") + where).toString(), QStringLiteral("DIA"));
    QCOMPARE(Db(QStringLiteral("SELECT FFUIMPORTO") + where).toDouble(), 1234.5);
    QCOMPARE(Db(QStringLiteral("SELECT DFUDATA") + where).toDate(), QDate(2024, 9, 15));
    QCOMPARE(Db(QStringLiteral("SELECT LFUATTIVO") + where).toInt(), 1);
    QCOMPARE(Db(QStringLiteral("SELECT BFUNOTE") + where).toString(), QStringLiteral("Per le prime"));
    QCOMPARE(Db(QStringLiteral("SELECT IFUTIPO") + where).toInt(), 3);
    // The controls show the row as stored, the amount in its display format.
    QCOMPARE(f->xneImporto->LineEdit()->text(), QStringLiteral("1.234,50"));
    QCOMPARE(f->xddData->LineEdit()->text(), QStringLiteral("15/09/2024"));
    QCOMPARE(f->grMain->model()->rowCount(), 4);
    QCOMPARE(f->grMain->currentIndex().row(), 3);
    QCOMPARE(f->grMain->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Descrizione"));
    QCOMPARE(f->grMain->model()->columnCount(), 3);
}

void TstDBFrame::editThenCancelRestoresValues()
{
    auto *f = m_frame.get();
    m_coll->Locate(QStringLiteral("IFUID"), 1);
    f->xacEdit->trigger();
    QCOMPARE(m_coll->State(), dsEdit);
    QCOMPARE(f->pcMain->currentWidget(), f->tsDetail);
    QCOMPARE(f->xdeDesc->LineEdit()->text(), QStringLiteral("Zaino"));
    TypeText(f->xdeDesc, QStringLiteral("Zainetto"));
    QTest::keyClick(f->xdeDesc->LineEdit(), Qt::Key_Return);
    QCOMPARE(m_coll->FieldByName(QStringLiteral("SFUDESC"))->AsString(), QStringLiteral("Zainetto"));
    TypeText(f->xneImporto, QStringLiteral("99"));
    QTest::mouseClick(f->ckAttivo->CheckBox(), Qt::LeftButton);
    f->cbTipo->SelectId(2);
    QCOMPARE(m_coll->FieldByName(QStringLiteral("LFUATTIVO"))->AsInteger(), 0);

    f->xacCancel->trigger();
    QCOMPARE(m_coll->State(), dsBrowse);
    QCOMPARE(f->pcMain->currentWidget(), f->tsGrid);
    QCOMPARE(m_coll->FieldByName(QStringLiteral("SFUDESC"))->AsString(), QStringLiteral("Zaino"));
    QCOMPARE(f->xdeDesc->LineEdit()->text(), QStringLiteral("Zaino"));
    QCOMPARE(f->xneImporto->LineEdit()->text(), QStringLiteral("35,50"));
    QVERIFY(f->ckAttivo->CheckBox()->isChecked());
    QCOMPARE(f->cbTipo->ComboBox()->currentText(), QStringLiteral("Materiale"));
    QCOMPARE(Db(QStringLiteral("SELECT SFUDESC FROM TFU_ARTICOLI WHERE IFUID = 1")).toString(), QStringLiteral("Zaino"));
    QVERIFY((*m_msg)->Messages.isEmpty());
}

void TstDBFrame::typingStartsTheEditAndLeavingTheDetailPosts()
{
    auto *f = m_frame.get();
    m_coll->Locate(QStringLiteral("IFUID"), 2);
    f->ShowDetail();
    QCOMPARE(m_coll->State(), dsBrowse);
    TypeText(f->xdeDesc, QStringLiteral("Astuccio grande"));
    QCOMPARE(m_coll->State(), dsEdit);
    QVERIFY(f->xdeDesc->Pending());
    QVERIFY(f->xacPost->isEnabled());
    QVERIFY(!f->xacInsert->isEnabled());
    // Going back to the grid posts the edit, the pending text included.
    f->pcMain->setCurrentWidget(f->tsGrid);
    QCOMPARE(m_coll->State(), dsBrowse);
    QCOMPARE(Db(QStringLiteral("SELECT SFUDESC FROM TFU_ARTICOLI WHERE IFUID = 2")).toString(), QStringLiteral("Astuccio grande"));
}

void TstDBFrame::failingValidationRefusesThePostAtTheField()
{
    auto *f = m_frame.get();
    f->xacInsert->trigger();
    TypeText(f->xdeDesc, QStringLiteral("Quaderno"));
    TypeText(f->xdeCodice, QStringLiteral("QU"));
    QTest::keyClick(f->xdeCodice->LineEdit(), Qt::Key_Return);
    // Refused on commit: shown under the control, not in a message box, and not written.
    QCOMPARE(f->xdeCodice->ErrorText(), CodeMessage);
    QVERIFY(f->xdeCodice->ErrorLabel()->isVisible());
    QCOMPARE(f->xdeCodice->ErrorLabel()->text(), CodeMessage);
    QCOMPARE(f->xdeCodice->LineEdit()->toolTip(), CodeMessage);
    QVERIFY(m_coll->FieldByName(QStringLiteral("SFUCODICE"))->IsNull());
    QCOMPARE(f->xdeCodice->LineEdit()->text(), QStringLiteral("QU"));

    const int before = Db(QStringLiteral("SELECT COUNT(*) FROM TFU_ARTICOLI")).toInt();
    f->xacPost->trigger();
    QCOMPARE(m_coll->State(), dsInsert);
    QCOMPARE(f->pcMain->currentWidget(), f->tsDetail);
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TFU_ARTICOLI")).toInt(), before);
    QCOMPARE(f->xdeCodice->ErrorText(), CodeMessage);

    // Corrected: the message goes; the untouched date is validated at the post.
    TypeText(f->xdeCodice, QStringLiteral("QUA"));
    f->xacPost->trigger();
    QVERIFY(!f->xdeCodice->HasError());
    QVERIFY(f->xdeCodice->ErrorLabel()->isHidden());
    QCOMPARE(f->xddData->ErrorText(), DateMessage);
    QVERIFY(f->xddData->ErrorLabel()->isVisible());
    QCOMPARE(m_coll->State(), dsInsert);
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TFU_ARTICOLI")).toInt(), before);

    TypeText(f->xddData, QStringLiteral("01/10/2024"));
    f->xacPost->trigger();
    QCOMPARE(m_coll->State(), dsBrowse);
    QVERIFY(!f->xddData->HasError());
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TFU_ARTICOLI WHERE SFUCODICE = 'QUA' AND DFUDATA = '2024-10-01'")).toInt(), 1);
    QVERIFY((*m_msg)->Messages.isEmpty());

    // Cancelling an edit with a refused value clears the message.
    f->xacEdit->trigger();
    TypeText(f->xdeCodice, QStringLiteral("X"));
    f->xacPost->trigger();
    QCOMPARE(f->xdeCodice->ErrorText(), CodeMessage);
    f->xacCancel->trigger();
    QVERIFY(!f->xdeCodice->HasError());
    QCOMPARE(f->xdeCodice->LineEdit()->text(), QStringLiteral("QUA"));
}

void TstDBFrame::malformedTextIsRefusedAtTheField()
{
    auto *f = m_frame.get();
    m_coll->Locate(QStringLiteral("IFUID"), 3);
    f->xacEdit->trigger();
    TypeText(f->xddData, QStringLiteral("31/02/2024"));
    f->xacPost->trigger();
    QCOMPARE(f->xddData->ErrorText(), BadDate);
    QCOMPARE(m_coll->State(), dsEdit);
    TypeText(f->xneImporto, QStringLiteral("12,3,4"));
    TypeText(f->xddData, QStringLiteral(""));   // empty is a null date, refused here by the validation
    f->xacPost->trigger();
    QCOMPARE(f->xddData->ErrorText(), DateMessage);
    TypeText(f->xddData, QStringLiteral("3/9/2024"));
    f->xacPost->trigger();
    QCOMPARE(f->xneImporto->ErrorText(), QStringLiteral("Valore numerico non valido."));
    QCOMPARE(m_coll->State(), dsEdit);
    TypeText(f->xneImporto, QStringLiteral("1200,75"));
    f->xacPost->trigger();
    QCOMPARE(m_coll->State(), dsBrowse);
    QCOMPARE(Db(QStringLiteral("SELECT FFUIMPORTO FROM TFU_ARTICOLI WHERE IFUID = 3")).toDouble(), 1200.75);
    QCOMPARE(Db(QStringLiteral("SELECT DFUDATA FROM TFU_ARTICOLI WHERE IFUID = 3")).toDate(), QDate(2024, 9, 3));
    QVERIFY((*m_msg)->Messages.isEmpty());
}

void TstDBFrame::onExecuteReplacesTheDefaultAndAbortIsSilent()
{
    auto *f = m_frame.get();
    int calls = 0;
    f->xacInsert->OnExecute = [&](TVtDataAction *a) {
        ++calls;
        QCOMPARE(a, f->xacInsert);
    };
    f->xacInsert->trigger();
    QCOMPARE(calls, 1);
    QCOMPARE(m_coll->State(), dsBrowse);   // the default did not run

    // A handler that extends the default.
    f->xacInsert->OnExecute = [&](TVtDataAction *a) {
        a->ExecuteDefault();
        m_coll->FieldByName(QStringLiteral("SFUDESC"))->SetAsString(QStringLiteral("Proposta"));
    };
    f->xacInsert->trigger();
    QCOMPARE(m_coll->State(), dsInsert);
    QCOMPARE(f->xdeDesc->LineEdit()->text(), QStringLiteral("Proposta"));
    f->xacCancel->trigger();
    QCOMPARE(m_coll->RecordCount(), 3);

    // Abort refuses silently: nothing shown, nothing deleted.
    m_coll->Locate(QStringLiteral("IFUID"), 2);
    f->xacDelete->OnExecute = [](TVtDataAction *) { Abort(); };
    QVERIFY(f->xacDelete->isEnabled());
    QVERIFY(!f->xacDelete->Execute());
    f->xacDelete->trigger();
    QVERIFY((*m_msg)->Messages.isEmpty());
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TFU_ARTICOLI WHERE IFUID = 2")).toInt(), 1);

    // An error raised by a handler is shown as it is.
    f->xacRefresh->OnExecute = [](TVtDataAction *) { throw EVtException(QStringLiteral("Aggiornamento non disponibile.")); };
    QVERIFY(!f->xacRefresh->Execute());
    QCOMPARE((*m_msg)->Texts(), QStringList{QStringLiteral("Aggiornamento non disponibile.")});
    QCOMPARE((*m_msg)->Messages.first().Type, mtError);
}

void TstDBFrame::actionsFollowStateAndReadOnly()
{
    auto *f = m_frame.get();
    auto enabled = [&] {
        QString s;
        for (TVtDataAction *a : f->Actions())
            s += a->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    };
    // Insert, Edit, Post, Cancel, Trash, Delete, Refresh
    QCOMPARE(enabled(), QStringLiteral("1100111"));
    QCOMPARE(f->xacInsert->text(), QStringLiteral("Nuovo"));
    QCOMPARE(f->xacTrash->text(), QStringLiteral("Elimina"));
    QCOMPARE(f->xacDelete->text(), QStringLiteral("Cancella"));
    f->xacEdit->trigger();
    QCOMPARE(enabled(), QStringLiteral("0011000"));
    f->xacCancel->trigger();

    f->xacEdit->SetLocked(true);
    QCOMPARE(enabled(), QStringLiteral("1000111"));
    f->xacEdit->SetLocked(false);

    // Read-only frame: no write action, controls read-only, typing starts nothing.
    VtSetFramesReadOnly(f, true);
    QVERIFY(m_coll->ReadOnly);
    QCOMPARE(enabled(), QStringLiteral("0000001"));
    QVERIFY(f->xdeDesc->LineEdit()->isReadOnly());
    QVERIFY(!f->ckAttivo->CheckBox()->isEnabled());
    QVERIFY(!f->cbTipo->ComboBox()->isEnabled());
    f->ShowDetail();
    QTest::keyClicks(f->xdeDesc->LineEdit(), QStringLiteral("x"));
    QCOMPARE(m_coll->State(), dsBrowse);
    VtSetFramesReadOnly(f, false);
    QVERIFY(!f->xdeDesc->LineEdit()->isReadOnly());

    // A read-only field makes its control read-only; a control may be made read-only by itself.
    m_coll->FieldByName(QStringLiteral("SFUCODICE"))->ReadOnly = true;
    f->xdsMain->NotifyChange();
    QVERIFY(f->xdeCodice->LineEdit()->isReadOnly());
    f->xneImporto->SetReadOnly(true);
    QVERIFY(f->xneImporto->LineEdit()->isReadOnly());
    QVERIFY(!f->xdeDesc->LineEdit()->isReadOnly());

    // A collection without DDELETE cannot trash; one without delete statements cannot delete.
    TVtQueryCollection other;
    other.CommandText = QStringLiteral("SELECT IFUID, SFUDESC FROM TFU_ARTICOLI");
    other.Open();
    f->SetDataSet(&other);
    QCOMPARE(enabled(), QStringLiteral("1100001"));
    f->SetDataSet(m_coll.get());
}

void TstDBFrame::trashAndDeleteAskFirst()
{
    auto *f = m_frame.get();
    m_coll->Confirmations = xcoTrash | xcoDelete;
    m_coll->Locate(QStringLiteral("IFUID"), 1);
    (*m_msg)->Answers << mrNo;
    f->xacTrash->trigger();
    QVERIFY(Db(QStringLiteral("SELECT DDELETE FROM TFU_ARTICOLI WHERE IFUID = 1")).isNull());
    (*m_msg)->Answers << mrYes;
    f->xacTrash->trigger();
    QCOMPARE(Db(QStringLiteral("SELECT DDELETE FROM TFU_ARTICOLI WHERE IFUID = 1")).toDate(), QDate::currentDate());
    QCOMPARE(m_coll->RecordCount(), 2);
    QCOMPARE(f->grMain->model()->rowCount(), 2);

    m_coll->Locate(QStringLiteral("IFUID"), 3);
    (*m_msg)->Answers << mrYes;
    f->xacDelete->trigger();
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TFU_ARTICOLI WHERE IFUID = 3")).toInt(), 0);
    QCOMPARE((*m_msg)->Texts(), (QStringList{QStringLiteral("Confermi l'eliminazione del record?"),
                                          QStringLiteral("Confermi l'eliminazione del record?"),
                                          QStringLiteral("Confermi la cancellazione del record?")}));
}

void TstDBFrame::sortedGridEditsTheRowTheUserSees()
{
    auto *f = m_frame.get();
    f->grMain->SetSortable(true);
    f->grMain->SortByColumn(0, Qt::AscendingOrder);   // Astuccio, Mensa, Zaino
    QCOMPARE(f->grMain->model()->index(0, 0).data().toString(), QStringLiteral("Astuccio"));
    QCOMPARE(f->grMain->DataSetRow(0), 1);
    QCOMPARE(f->grMain->ViewRow(0), 2);
    // The user clicks the last row shown: "Zaino", first row of the collection.
    QVERIFY(f->grMain->SelectViewRow(2));
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IFUID"))->AsInteger(), 1);
    f->xacEdit->trigger();
    TypeText(f->xdeDesc, QStringLiteral("Zaino blu"));
    f->xacPost->trigger();
    QCOMPARE(Db(QStringLiteral("SELECT SFUDESC FROM TFU_ARTICOLI WHERE IFUID = 1")).toString(), QStringLiteral("Zaino blu"));
    QCOMPARE(Db(QStringLiteral("SELECT SFUDESC FROM TFU_ARTICOLI WHERE IFUID = 2")).toString(), QStringLiteral("Astuccio"));
    // The selection follows the collection when it moves by itself.
    m_coll->Locate(QStringLiteral("IFUID"), 3);
    QCOMPARE(f->grMain->currentIndex().row(), 1);
    QCOMPARE(f->grMain->currentIndex().data().toString(), QStringLiteral("Mensa"));
}

void TstDBFrame::doubleClickOpensTheDetail()
{
    auto *f = m_frame.get();
    QTableView *grid = f->grMain;
    const QRect cell = grid->visualRect(grid->model()->index(1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(f->pcMain->currentWidget(), f->tsDetail);
    QCOMPARE(f->xdeDesc->LineEdit()->text(), QStringLiteral("Astuccio"));
}

void TstDBFrame::bookmarkFindsTheRowAfterRefresh()
{
    TVtBookmark bm(m_frame->xdsMain);
    m_coll->Locate(QStringLiteral("IFUID"), 2);
    bm.Push();
    TTestDatabase::Exec(QStringLiteral("INSERT INTO TFU_ARTICOLI (IFUID, SFUDESC) VALUES (0, 'Agenda')"));
    m_coll->Close();
    m_coll->Open();
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IFUID"))->AsInteger(), 0);
    QVERIFY(bm.Pop());
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IFUID"))->AsInteger(), 2);
    QVERIFY(bm.IsEmpty());

    // Gone: the row at the same position is taken and Pop says so.
    bm.Push();
    const int rec = m_coll->RecNo();
    TTestDatabase::Exec(QStringLiteral("DELETE FROM TFU_ARTICOLI WHERE IFUID = 2"));
    m_frame->xdsMain->Refresh();
    m_coll->First();
    QVERIFY(!bm.Pop());
    QCOMPARE(m_coll->RecNo(), rec);
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IFUID"))->AsInteger(), 3);
    QVERIFY(!bm.Pop());
}

void TstDBFrame::italianNumbersAndDates()
{
    struct NumCase { const char *text; bool ok; QVariant value; };
    const NumCase nums[] = {
        {"1.234,56", true, 1234.56}, {"1234,56", true, 1234.56}, {"12.5", true, 12.5}, {"-3", true, -3.0},
        {"", true, QVariant()}, {"1.234.567", true, 1234567.0}, {"12,3,4", false, QVariant()}, {"1.23,4", false, QVariant()},
        {"-", false, QVariant()},
    };
    for (const auto &c : nums) {
        bool ok = false;
        const QVariant v = TVtDBNumEdit::ParseNumber(QString::fromUtf8(c.text), &ok);
        QVERIFY2(ok == c.ok, c.text);
        if (c.ok)
            QVERIFY2(v.isNull() == c.value.isNull() && (v.isNull() || qFuzzyCompare(v.toDouble(), c.value.toDouble())), c.text);
    }
    struct DateCase { const char *text; bool ok; QDate value; };
    const DateCase dates[] = {
        {"15/09/2024", true, QDate(2024, 9, 15)}, {"5/9/2024", true, QDate(2024, 9, 5)},
        {"15/09/24", true, QDate(2024, 9, 15)}, {"15092024", true, QDate(2024, 9, 15)},
        {"", true, QDate()}, {"29/02/2023", false, QDate()}, {"2024-09-15", false, QDate()}, {"15/9", false, QDate()},
    };
    for (const auto &c : dates) {
        bool ok = false;
        const QDate d = TVtDBDateEdit::ParseDate(QString::fromUtf8(c.text), &ok);
        QVERIFY2(ok == c.ok, c.text);
        QCOMPARE(d, c.value);
    }
}

void TstDBFrame::editFilterCaseAndLength()
{
    auto *f = m_frame.get();
    // The field's size (VARCHAR(8)) limits the edit.
    QCOMPARE(f->xdeCodice->LineEdit()->maxLength(), 8);
    f->xacEdit->trigger();
    TypeText(f->xdeCodice, QStringLiteral("ab-1c d"));
    QCOMPARE(f->xdeCodice->LineEdit()->text(), QStringLiteral("AB1CD"));
    QTest::keyClick(f->xdeCodice->LineEdit(), Qt::Key_Backspace);
    QCOMPARE(f->xdeCodice->LineEdit()->text(), QStringLiteral("AB1C"));
    f->xdeCodice->SetMaxLength(3);
    TypeText(f->xdeCodice, QStringLiteral("xyzw"));
    QCOMPARE(f->xdeCodice->LineEdit()->text(), QStringLiteral("XYZ"));
    f->xacPost->trigger();
    QCOMPARE(Db(QStringLiteral("SELECT SFUCODICE FROM TFU_ARTICOLI WHERE IFUID = 1")).toString(), QStringLiteral("XYZ"));
    // The date edit takes only digits and slashes.
    f->xacEdit->trigger();
    TypeText(f->xddData, QStringLiteral("1a0/1b1/2025"));
    QCOMPARE(f->xddData->LineEdit()->text(), QStringLiteral("10/11/2025"));
    f->xacCancel->trigger();
}

void TstDBFrame::readOnlyGridFrame()
{
    TfrVtDBROGrid ro;
    ro.SetDataSet(m_coll.get());
    ro.AddColumn(QStringLiteral("SFUCODICE"), QStringLiteral("Codice"));
    ro.AddColumn(QStringLiteral("FFUIMPORTO"), QStringLiteral("Importo"));
    int activated = -1;
    ro.OnRowActivated = [&](TfrVtDBROGrid *fr) { activated = fr->DataSet()->FieldByName(QStringLiteral("IFUID"))->AsInteger(); };
    ro.show();
    QCOMPARE(ro.grMain->model()->columnCount(), 2);
    QCOMPARE(ro.grMain->model()->index(2, 1).data().toString(), QStringLiteral("1.200"));
    QCOMPARE(ro.grMain->editTriggers(), QAbstractItemView::NoEditTriggers);
    ro.grMain->SelectViewRow(2);
    QTest::keyClick(ro.grMain, Qt::Key_Return);
    QCOMPARE(activated, 3);
    // Both frames on one collection follow each other.
    QCOMPARE(m_frame->grMain->currentIndex().row(), 2);
}

void TstDBFrame::doubleListMoves()
{
    TfrVtDoubleListView dl;
    dl.SetCaptions(QStringLiteral("Alunni disponibili"), QStringLiteral("Alunni selezionati"));
    dl.SetColumns({QStringLiteral("Alunno"), QStringLiteral("Classe"), QStringLiteral("Intestatario")});
    const char *names[] = {"Bianchi Anna", "Rossi Luca", "Verdi Marco", "Neri Sara"};
    for (int i = 0; i < 4; ++i)
        dl.AddItem(TfrVtDoubleListView::sdLeft, {QString::fromUtf8(names[i]), QStringLiteral("1A"), QStringLiteral("Genitore")}, 10 + i);
    int moves = 0;
    dl.OnMove = [&](TfrVtDoubleListView *) { ++moves; };
    QCOMPARE(dl.LeftCount(), 4);
    QVERIFY(!dl.buMoveRight->isEnabled());
    QCOMPARE(dl.MoveSelected(true), 0);

    dl.Select(TfrVtDoubleListView::sdLeft, {11, 13});
    QCOMPARE(dl.LeftSelCount(), 2);
    QVERIFY(dl.buMoveRight->isEnabled());
    QTest::mouseClick(dl.buMoveRight, Qt::LeftButton);
    QCOMPARE(dl.LeftCount(), 2);
    QCOMPARE(dl.RightCount(), 2);
    QCOMPARE(dl.Items(TfrVtDoubleListView::sdRight), (QVariantList{11, 13}));
    QCOMPARE(dl.Items(TfrVtDoubleListView::sdLeft), (QVariantList{10, 12}));
    QCOMPARE(dl.lvRight->topLevelItem(0)->text(0), QStringLiteral("Rossi Luca"));
    // What moved stays selected on its new side.
    QCOMPARE(dl.RightSelCount(), 2);
    QCOMPARE(dl.LeftSelCount(), 0);

    dl.lvRight->clearSelection();
    dl.Select(TfrVtDoubleListView::sdRight, {13});
    QCOMPARE(dl.Selection(TfrVtDoubleListView::sdRight), QVariantList{13});
    QCOMPARE(dl.MoveSelected(false), 1);
    QCOMPARE(dl.Items(TfrVtDoubleListView::sdLeft), (QVariantList{10, 12, 13}));

    QCOMPARE(dl.MoveAll(true), 3);
    QCOMPARE(dl.LeftCount(), 0);
    QCOMPARE(dl.RightCount(), 4);
    QVERIFY(!dl.buMoveAllRight->isEnabled());
    QTest::mouseClick(dl.buMoveAllLeft, Qt::LeftButton);
    QCOMPARE(dl.LeftCount(), 4);
    QCOMPARE(dl.RightCount(), 0);
    QCOMPARE(moves, 4);
    QCOMPARE(dl.lbLeft->text(), QStringLiteral("Alunni disponibili"));
}

QTEST_MAIN(TstDBFrame)
#include "tst_dbframe.moc"

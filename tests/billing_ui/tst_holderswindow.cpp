#include "EbdFAluGen.h"
#include "EbdMConn.h"
#include "EbdRAcbCau.h"
#include "EbdRAcconti.h"
#include "EbdRAluGen.h"
#include "EbdRCcaAcbCau.h"
#include "EbdUDote.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestRow.h"
#include "TestScreens.h"
#include "VardellaModules.h"
#include "VtDBDateEdit.h"
#include "VtDBEdit.h"
#include "VtDBGrid.h"
#include "VtDBLookupEdit.h"
#include "VtDBMemo.h"
#include "VtDBNumEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtFormRegistry.h"
#include "VtGlobalValuesManager.h"
#include "VtQueryCollection.h"

#include <QAction>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;

// The "Intestatari" window on the demo school: holders, their reasons and
// instalments, edited as the office does.
class TstHoldersWindow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void opensOnTheHoldersOfTheYear();
    void newHolderFromPupilAndParent();
    void holderChecks();
    void assignedReasonShowsItsInstalments();
    void discountEditingRecomputesWhatIsLeft();
    void paidInstalmentsAreMarked();
    void spreadActions();
    void screenshots();

private:
    TVtQueryCollection *Holders() const { return dmEbdConn->xqcAluGen; }
    TVtQueryCollection *Instalments() const { return dmEbdConn->xqcCacAcbCau; }
    static QVariant Db(const QString &sql, const QVariantList &values = {}) { return TTestDatabase::Scalar(sql, values); }
    // A holder of the test's own: a second paying parent of a demo pupil of 2024/2025.
    int OwnHolder();
    int Reason(const QList<QPair<double, QDate>> &components);

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    TfmEbdAluGen *m_window = nullptr;
};

namespace {
const QDate YearStart(2024, 9, 1), YearEnd(2025, 8, 31);
}

void TstHoldersWindow::initTestCase()
{
    RegisterVardellaModules();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstHoldersWindow::init()
{
    (*m_messages)->Clear();
    QVERIFY(OpenBillingModule(*m_db));
    xgvmGlobalVar->SetValues(u"EBDP_Vis"_s, u"0"_s);
    m_window = qobject_cast<TfmEbdAluGen *>(TVtFormRegistry::CreateForm(u"TfmEbdAluGen"_s));
    QVERIFY(m_window);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TstHoldersWindow::cleanup()
{
    delete m_window;
    m_window = nullptr;
    CloseBillingModule();
}

void TstHoldersWindow::cleanupTestCase()
{
    m_db.reset();
}

int TstHoldersWindow::OwnHolder()
{
    const int pupil = Holders()->FieldByName(u"IANAID"_s)->AsInteger();
    const int parent = Holders()->FieldByName(u"IANAID_GEN"_s)->AsInteger();
    const int holder = TTestRow::Holder(pupil, u"Aaa Prova"_s).Set(u"iAnaId_Gen"_s, parent).Set(u"iMpgId"_s, 1)
                           .Set(u"fAcbPercSconto"_s, 10.0).Insert();
    Holders()->Refresh();
    if (!Holders()->Locate(u"IACBID"_s, holder))
        qFatal("holder not listed");
    return holder;
}

int TstHoldersWindow::Reason(const QList<QPair<double, QDate>> &components)
{
    static int n = 0;
    const QString code = u"FIN%1"_s.arg(++n);
    const int reason = TTestRow::Reason(code, YearStart, YearEnd).Set(u"sCauLDesc"_s, u"Corso di nuoto %1"_s.arg(n)).Insert();
    int i = 0;
    for (const auto &[amount, due] : components) {
        const int c = TTestRow::Component(u"%1-%2"_s.arg(code).arg(++i), TVtMoney(amount), YearStart, YearEnd)
                          .Set(u"sCcaLDesc"_s, u"Lezioni di nuoto, rata %1"_s.arg(i))
                          .Set(u"dCcaDataScadenza"_s, due)
                          .Set(u"iTccId"_s, 301)
                          .Insert();
        TTestRow::ReasonComponent(reason, c).Insert();
    }
    return reason;
}

void TstHoldersWindow::opensOnTheHoldersOfTheYear()
{
    QCOMPARE(m_window->windowTitle(), u"Intestatari"_s);
    QCOMPARE(m_window->frEbdAluGen->toolTip(), u"Dati intestatario"_s);
    QCOMPARE(m_window->frEbdAcbCau->toolTip(), u"Causali"_s);
    QCOMPARE(m_window->frEbdCcaAcbCau->toolTip(), u"Componenti"_s);
    QVERIFY(Holders()->Active());
    QCOMPARE(Holders()->RecordCount(),
             Db(u"SELECT COUNT(DISTINCT a.iAcbId) FROM TAcb_AluCoordBan a JOIN TSit_Situazioni s ON s.iAnaId = a.iAnaId JOIN "
                "TClsPst p ON p.iClsPstId = s.iClsPstId JOIN VCls_Classi c ON c.iClsId = p.iClsId WHERE "
                "EXTRACT(YEAR FROM c.dStart_Cls) = 2024"_s).toInt());
    for (TfrVtDBRWGrid *fr : std::initializer_list<TfrVtDBRWGrid *>{m_window->frEbdAluGen, m_window->frEbdAcbCau, m_window->frEbdCcaAcbCau})
        QCOMPARE(fr->pcMain->currentWidget(), fr->tsGrid);
    QVERIFY(dmEbdConn->xqcAcbCau->Active() && !dmEbdConn->xqcAcbCau->IsEmpty());
    QVERIFY(Instalments()->Active() && !Instalments()->IsEmpty());
    // The instalments cannot be created here.
    QVERIFY(!m_window->frEbdCcaAcbCau->xacInsert->isVisible());
    QVERIFY(!m_window->frEbdCcaAcbCau->xacInsert->isEnabled());
    QVERIFY(m_window->frEbdCcaAcbCau->xacInsert->Locked());
    m_window->close();
    for (TVtQueryCollection *q : {Holders(), dmEbdConn->xqcAcbCau, Instalments(), dmEbdConn->xqcDote, dmEbdConn->xqcAcconti})
        QVERIFY(!q->Active());
}

void TstHoldersWindow::newHolderFromPupilAndParent()
{
    TfrEbdAluGen *fr = m_window->frEbdAluGen;
    // A demo pupil and one of its relatives.
    const int pupil = Holders()->FieldByName(u"IANAID"_s)->AsInteger();
    const int parent = Db(u"SELECT FIRST 1 iAnaId_p FROM TAnaGpt WHERE iAnaId = ? ORDER BY iGptId DESC"_s, {pupil}).toInt();
    QVERIFY(parent > 0);
    QVERIFY(fr->xacInsert->Execute());
    QVERIFY(!fr->xdlGenitori->SetKeyValue(parent));   // no pupil yet: no relatives
    QVERIFY(fr->xdlAlunno->SetKeyValue(pupil));
    QCOMPARE(fr->xdeClasse->Text(), Holders()->FieldByName(u"SCLSDESC"_s)->AsString());
    QVERIFY(!fr->xdeClasse->Text().isEmpty());
    QVERIFY(fr->xdlGenitori->SetKeyValue(parent));
    const QString name = Db(u"SELECT sAnaCognome || ' ' || sAnaNome FROM TAna_Anagrafiche WHERE iAnaId = ?"_s, {parent}).toString();
    QCOMPARE(fr->xdeIntestatario->Text(), name);
    QVERIFY(fr->xdlTipoPagamento->SetKeyValue(4));
    TypeText(fr->xdeIBAN, u"it60 x054 2811 1010 0000 0123 456"_s);
    QCOMPARE(fr->xdeIBAN->Text(), u"IT60X0542811101000000123456"_s);   // compact, upper case
    QVERIFY(fr->xacPost->Execute());
    const int id = Holders()->FieldByName(u"IACBID"_s)->AsInteger();
    QCOMPARE(Db(u"SELECT iAnaId_Gen FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {id}).toInt(), parent);
    QCOMPARE(Db(u"SELECT sAcbIntestatario FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {id}).toString(), name);
    // The list was read again: the payment mode's description comes from the database.
    QCOMPARE(Holders()->FieldByName(u"SMPGDESCL"_s)->AsString(), u"Bonifico bancario"_s);
    QCOMPARE(Holders()->FieldByName(u"IACBID"_s)->AsInteger(), id);
}

void TstHoldersWindow::holderChecks()
{
    TfrEbdAluGen *fr = m_window->frEbdAluGen;
    QVERIFY(fr->xacInsert->Execute());
    QVERIFY(!fr->xacPost->Execute());
    QCOMPARE(fr->xdlAlunno->ErrorText(), u"Alunno obbligatorio"_s);
    QVERIFY(fr->xacCancel->Execute());
    // On an existing holder: the IBAN, the parent, the payment mode, the discount.
    QVERIFY(fr->xacEdit->Execute());
    TypeText(fr->xdeIBAN, u"IT00X0542811101000000123456"_s);
    QVERIFY(!fr->xacPost->Execute());
    QCOMPARE(fr->xdeIBAN->ErrorText(), u"Codice IBAN non valido"_s);
    TypeText(fr->xdeIBAN, QString());
    QVERIFY(fr->xdeIBAN->CommitPending());   // an empty IBAN is accepted
    fr->xdlTipoPagamento->SetText(QString());
    QVERIFY(!fr->xacPost->Execute());
    QCOMPARE(fr->xdlTipoPagamento->ErrorText(), u"Tipo pagamento"_s);
    QVERIFY(fr->xdlTipoPagamento->SetKeyValue(1));
    TypeText(fr->xneSconto, u"120"_s);
    QVERIFY(!fr->xacPost->Execute());
    QCOMPARE(fr->xneSconto->ErrorText(), u"La percentuale di sconto deve essere compresa tra 0 e 100."_s);
    TypeText(fr->xneSconto, u"12,5"_s);
    fr->xdlGenitori->SetText(QString());
    QVERIFY(!fr->xacPost->Execute());
    QCOMPARE(fr->xdlGenitori->ErrorText(), u"Genitore obbligatorio"_s);
    QVERIFY(fr->xacCancel->Execute());
}

void TstHoldersWindow::assignedReasonShowsItsInstalments()
{
    const int holder = OwnHolder();
    const int reason = Reason({{100.0, QDate(2024, 10, 15)}, {50.0, QDate(2025, 1, 15)}});
    TfrEbdAcbCau *fr = m_window->frEbdAcbCau;
    QVERIFY(fr->xacInsert->Execute());
    QCOMPARE(fr->xneSconto->Text(), u"10"_s);   // the holder's discount
    QVERIFY(!fr->xacPost->Execute());
    QCOMPARE(fr->xdlCausale->ErrorText(), u"Il campo Causale è obbligatorio."_s);
    QVERIFY(fr->xdlCausale->SetKeyValue(reason));
    fr->xdmNote->Editor()->setFocus();
    QVERIFY(fr->xacPost->Execute());
    QCOMPARE(dmEbdConn->xqcAcbCau->FieldByName(u"SCAUSDESC"_s)->AsString(), Db(u"SELECT sCauSDesc FROM TCau_Causali WHERE iCauId = ?"_s, {reason}).toString());
    QCOMPARE(Instalments()->RecordCount(), 2);
    Instalments()->First();
    QCOMPARE(Instalments()->FieldByName(u"FCACIMPORTO"_s)->AsFloat(), 90.0);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId WHERE ac.iAcbId = ?"_s,
                {holder}).toInt(), 2);
}

void TstHoldersWindow::discountEditingRecomputesWhatIsLeft()
{
    OwnHolder();
    const int reason = Reason({{100.0, QDate(2024, 10, 15)}});
    TTestRow::HolderReason(Holders()->FieldByName(u"IACBID"_s)->AsInteger(), reason).Insert();
    Instalments()->Refresh();
    QCOMPARE(Instalments()->RecordCount(), 1);
    const int cac = Instalments()->FieldByName(u"ICACID"_s)->AsInteger();
    TTestDatabase::Exec(u"INSERT INTO TCaa_CacAcconti (iCaaId, iCacId, fCaaImporto, dCaaData) VALUES (NEXT VALUE FOR GEN_VTID, %1, "
                        "20, '2024-10-01')"_s.arg(cac));
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET fCacImporto = 80 WHERE iCacId = %1"_s.arg(cac));
    Instalments()->Refresh();
    TfrEbdCcaAcbCau *fr = m_window->frEbdCcaAcbCau;
    QVERIFY(fr->xacEdit->Execute());
    QCOMPARE(fr->xneImportoOriginale->Text(), u"100,00"_s);
    TypeText(fr->xnePercSconto, u"10"_s);
    QCOMPARE(fr->xneImportoDaPagare->Text(), u"70,00"_s);   // 100 - 10 - 20 of advances
    TypeText(fr->xneImpSconto, u"5"_s);
    QCOMPARE(fr->xneImportoDaPagare->Text(), u"65,00"_s);
    QVERIFY(fr->xacPost->Execute());
    QCOMPARE(Db(u"SELECT fCacImporto FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {cac}).toDouble(), 65.0);
    // A discount that leaves less than nothing is refused, and nothing is written.
    QVERIFY(fr->xacEdit->Execute());
    TypeText(fr->xneImpSconto, u"75,01"_s);
    QCOMPARE(fr->xneImportoDaPagare->Text(), u"-5,01"_s);
    QVERIFY(!fr->xacPost->Execute());
    QCOMPARE((*m_messages)->LastText(), u"Impossibile modificare. L'importo da pagare andrebbe in negativo."_s);
    QVERIFY(fr->xacCancel->Execute());
    QCOMPARE(Db(u"SELECT fCacImporto FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {cac}).toDouble(), 65.0);
    QVERIFY(fr->xacEdit->Execute());
    TypeText(fr->xneImpSconto, u"-1"_s);
    QVERIFY(!fr->xacPost->Execute());
    QCOMPARE(fr->xneImpSconto->ErrorText(), u"L'importo dello sconto non può essere negativo."_s);
    QVERIFY(fr->xacCancel->Execute());
}

void TstHoldersWindow::paidInstalmentsAreMarked()
{
    OwnHolder();
    const int reason = Reason({{100.0, QDate(2024, 10, 15)}, {100.0, QDate(2025, 1, 15)}});
    TTestRow::HolderReason(Holders()->FieldByName(u"IACBID"_s)->AsInteger(), reason).Insert();
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau cac SET dCacDataPagamento = '2024-10-15' WHERE dCacDataScadenza = '2024-10-15' "
                        "AND EXISTS (SELECT 1 FROM TAcbCau ac WHERE ac.iAcbCauId = cac.iAcbCauId AND ac.iCauId = %1)"_s.arg(reason));
    Instalments()->Refresh();
    TVtDBGrid *grid = m_window->frEbdCcaAcbCau->grMain;
    QCOMPARE(grid->Columns()[4].Title, u"Pagato"_s);
    grid->viewport()->repaint();
    const QImage shot = grid->viewport()->grab().toImage();
    auto marked = [&](int viewRow) {
        const QRect cell = grid->visualRect(grid->model()->index(viewRow, 4));
        // The image's tile sits 12 points in from the left and 2 down.
        const QColor inside = shot.pixelColor(cell.left() + 12 + 2, cell.top() + 2 + 8);
        const QColor outside = shot.pixelColor(cell.left() + 4, cell.top() + 2 + 8);
        return inside != outside;
    };
    QVERIFY(marked(grid->ViewRow(0)));    // paid on 15/10/2024
    QVERIFY(!marked(grid->ViewRow(1)));
    // Sorted by amount, the mark follows its row.
    grid->SortByColumn(2, Qt::DescendingOrder);
    grid->viewport()->repaint();
    const QImage sorted = grid->viewport()->grab().toImage();
    const QRect first = grid->visualRect(grid->model()->index(0, 4));
    QCOMPARE(sorted.pixelColor(first.left() + 14, first.top() + 10) != sorted.pixelColor(first.left() + 4, first.top() + 10),
             Instalments()->RowValue(grid->DataSetRow(0), Instalments()->FieldByName(u"DCACDATAPAGAMENTO"_s)->Index).isValid()
                 && !Instalments()->RowValue(grid->DataSetRow(0), Instalments()->FieldByName(u"DCACDATAPAGAMENTO"_s)->Index).isNull());
}

void TstHoldersWindow::spreadActions()
{
    const int holder = OwnHolder();
    const int reason = Reason({{100.0, QDate(2024, 10, 15)}, {100.0, QDate(2025, 1, 15)}});
    TTestRow::HolderReason(holder, reason).Insert();
    Instalments()->Refresh();
    TfrEbdCcaAcbCau *fr = m_window->frEbdCcaAcbCau;
    QCOMPARE(fr->acTogliDote->text(), u"Spalma dote"_s);
    QCOMPARE(fr->acTogliDoteCca->text(), u"Spalma dote sulla componente selezionata"_s);
    fr->acTogliDote->trigger();
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Nessuna dote da spalmare."_s});
    QCOMPARE((*m_messages)->Messages.last().Type, mtInformation);
    TTestRow(u"TDos_DoteScuola"_s, u"iDosId"_s)
        .Set(u"iAcbId"_s, holder).Set(u"fDosImporto"_s, 150.0).Set(u"fDosImportoResiduo"_s, 150.0)
        .Set(u"dDosData"_s, QDate(2024, 9, 1)).Set(u"dDosDataScadenza"_s, QDate(2025, 6, 30))
        .Set(u"dStart"_s, YearStart).Set(u"dEnd"_s, YearEnd).Insert();
    // On the selected instalment only: the second.
    Instalments()->Last();
    (*m_messages)->Clear();
    fr->acTogliDoteCca->trigger();
    QVERIFY((*m_messages)->Texts().isEmpty());
    QCOMPARE(Instalments()->FieldByName(u"FCACIMPORTO"_s)->AsFloat(), 0.0);
    Instalments()->First();
    QCOMPARE(Instalments()->FieldByName(u"FCACIMPORTO"_s)->AsFloat(), 100.0);
    QVERIFY(dmEbdConn->xqcDote->Active());
    QCOMPARE(dmEbdConn->xqcDote->FieldByName(u"FDOSIMPORTORESIDUO"_s)->AsFloat(), 50.0);   // grants read again too
    fr->acTogliDote->trigger();
    QCOMPARE(Instalments()->FieldByName(u"FCACIMPORTO"_s)->AsFloat(), 50.0);
    QCOMPARE(dmEbdConn->xqcDote->FieldByName(u"FDOSIMPORTORESIDUO"_s)->AsFloat(), 0.0);
    // A spread that fails writes nothing and says so.
    TTestDatabase::Exec(u"CREATE EXCEPTION EX_TEST_DOTE 'rata bloccata dalla prova'"_s);
    TTestDatabase::Exec(u"CREATE TRIGGER TR_TEST_DOTE FOR TCac_CcaAcbCau BEFORE UPDATE AS BEGIN "
                        "IF (NEW.fCacImpDaDote > 60 AND OLD.fCacImpDaDote < 60) THEN EXCEPTION EX_TEST_DOTE; END"_s);
    TTestDatabase::Exec(u"UPDATE TDos_DoteScuola SET fDosImporto = 250, fDosImportoResiduo = 100 WHERE iAcbId = %1"_s.arg(holder));
    (*m_messages)->Clear();
    fr->acTogliDote->trigger();
    QCOMPARE((*m_messages)->Messages.size(), 1);
    QVERIFY((*m_messages)->LastText().startsWith(u"Spalmatura della dote non eseguita: nessuna rata è stata modificata.\r\n"_s));
    QVERIFY2((*m_messages)->LastText().contains(u"rata bloccata dalla prova"_s), qPrintable((*m_messages)->LastText()));
    QCOMPARE(Db(u"SELECT fDosImportoResiduo FROM TDos_DoteScuola WHERE iAcbId = ?"_s, {holder}).toDouble(), 100.0);
    Instalments()->First();
    QCOMPARE(Instalments()->FieldByName(u"FCACIMPORTO"_s)->AsFloat(), 50.0);
}

void TstHoldersWindow::screenshots()
{
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    QDir().mkpath(dir.path());
    // A holder with a discount, a spread grant and a paid instalment.
    const int holder = OwnHolder();
    const int reason = Reason({{120.0, QDate(2024, 10, 15)}, {120.0, QDate(2025, 1, 15)}, {110.0, QDate(2025, 4, 15)}});
    TTestRow::HolderReason(holder, reason).Set(u"fAcbCauPercSconto"_s, 10.0).Insert();
    TTestRow(u"TDos_DoteScuola"_s, u"iDosId"_s)
        .Set(u"iAcbId"_s, holder).Set(u"fDosImporto"_s, 150.0).Set(u"fDosImportoResiduo"_s, 150.0)
        .Set(u"dDosData"_s, QDate(2024, 9, 1)).Set(u"dDosDataScadenza"_s, QDate(2025, 6, 30))
        .Set(u"dStart"_s, YearStart).Set(u"dEnd"_s, YearEnd).Insert();
    EbdSpalmaDote(holder, 2024);
    // With the view mode that shows the advances: all five frames, at the
    // window's own size.
    xgvmGlobalVar->SetValues(u"EBDP_Vis"_s, u"1"_s);
    delete m_window;
    m_window = qobject_cast<TfmEbdAluGen *>(TVtFormRegistry::CreateForm(u"TfmEbdAluGen"_s));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QVERIFY(Holders()->Locate(u"IACBID"_s, holder));
    Instalments()->Locate(u"DCACDATASCADENZA"_s, QDate(2025, 1, 15));
    TTestRow(u"TCaa_CacAcconti"_s, u"iCaaId"_s).Set(u"iCacId"_s, Instalments()->FieldByName(u"ICACID"_s)->Value())
        .Set(u"fCaaImporto"_s, 20.0).Set(u"dCaaData"_s, QDate(2024, 12, 20)).Insert();
    dmEbdConn->xqcAcconti->Refresh();
    QVERIFY(m_window->frEbdAcconti->isVisible());
    QTest::qWait(20);
    QVERIFY(m_window->grab().save(dir.filePath(u"intestatari.png"_s)));
    CheckNothingCut(m_window);
    Instalments()->Last();
    m_window->frEbdCcaAcbCau->ShowDetail();
    QTest::qWait(20);
    QVERIFY(m_window->grab().save(dir.filePath(u"intestatari_rata.png"_s)));
    CheckNothingCut(m_window->frEbdCcaAcbCau);
    // The two-line caption of the payment mode stands whole beside its field.
    auto *form = m_window->frEbdCcaAcbCau->DetailLayout();
    auto *caption = qobject_cast<QLabel *>(form->labelForField(m_window->frEbdCcaAcbCau->xdlTipoPagamento));
    QVERIFY(caption);
    QCOMPARE(caption->text(), u"Tipo di pagamento\n(se diverso dal generale):"_s);
    QVERIFY(caption->height() >= 2 * caption->fontMetrics().height());
}

QTEST_MAIN(TstHoldersWindow)
#include "tst_holderswindow.moc"

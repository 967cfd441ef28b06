#include "AbiUIBAN.h"
#include "EbcRCca.h"
#include "EbdFAluGen.h"
#include "EbdFInitAnf.h"
#include "EbdFMain.h"
#include "EbdFStornoRid.h"
#include "EbdFwExport_Banche.h"
#include "EbdMAtt.h"
#include "EbdMConn.h"
#include "EbdMReport.h"
#include "EbdRAcbCau.h"
#include "EbdRAcconti.h"
#include "EbdRAluGen.h"
#include "EbdRCcaAcbCau.h"
#include "EbdRDote.h"
#include "EbdFRptSelAttestazione.h"
#include "EbdURptForms.h"
#include "EbcFSearchBen.h"
#include "EbcFDataReplace.h"
#include "EbcRDblLstAcbSelect.h"
#include "EbcUReplaceEditor.h"
#include "frVtDoubleListView.h"
#include "EbsFCau.h"
#include "EbsFCca.h"
#include "EbsFDuplicaCausali.h"
#include "EbsMAtt.h"
#include "EbsMDataSets.h"
#include "EbsRCau.h"
#include "EbsRCauCca.h"
#include "PdfTools.h"
#include "ScriptedMessageService.h"
#include "SddFixture.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestRow.h"
#include "VardellaModules.h"
#include "VtAttReport.h"
#include "VtClock.h"
#include "VtDBDateEdit.h"
#include "VtDBEdit.h"
#include "VtDBGrid.h"
#include "VtDBLookupEdit.h"
#include "VtDBMemo.h"
#include "VtDBNumEdit.h"
#include "VtDataAction.h"
#include "VtExecModal.h"
#include "VtGlobalValuesManager.h"
#include "VtMoneyEdit.h"
#include "VtQueryCollection.h"
#include "VtRptTreeView.h"
#include "VtUtils.h"
#include "ebdUSddValidate.h"
#include "fmVtMultiSelect.h"
#include "fmVtParamDlg.h"
#include "EbdMParam.h"
#include "VtParamManager.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using namespace sddfix;

// The road of one direct debit through the program's own windows, as the
// office walks it on the demo school: a reason of three components, the
// paying parent of three siblings, a discount, a grant and an advance, the
// bank file with the payments recorded, a debit the bank returns, the
// prints, the next financial year, the reasons of the next school year and
// a bulk change undone. Each step works on what the steps before left, on
// one database (the embedded file, or the test server's).
class TstRoad : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void aReasonOfThreeComponents();
    void theParentOfThreeSiblings();
    void discountGrantAndAdvance();
    void theBankFileCollects();
    void theSamePeriodAgainFindsNothing();
    void aReturnedDebitIsCancelled();
    void exportedAgainFirstOnlyWhereNotCollected();
    void theCollectionsPrintedToPdf();
    void theNextFinancialYear();
    void reasonsOfTheNextSchoolYear();
    void aBulkChangeUndone();

private:
    // A window opened by its command, found among the main window's children.
    template <class T> T *Open(TVtAttivazione *command, const char *className);
    // Runs a command that opens a modal window and drives the window while
    // it is open; the window is closed after, whatever happened.
    void RunModal(TVtAttivazione *command, const std::function<void(QWidget *)> &drive);
    void RunModal(const std::function<void()> &trigger, const std::function<void(QWidget *)> &drive);
    // "Esporta Rid" for the period: the pupils of the road, the file, the
    // checklist rows; payments recorded. Returns the checklist rows.
    QStringList Export(const QDate &from, const QDate &to, const QString &file, QStringList *classes = nullptr);
    static QStringList ChecklistRows(TfwEbdExport_Banche *w);
    static QByteArray Read(const QString &file);
    static TVtMoney Money(const QString &sql, const QVariantList &values = {});
    // "Saldo entrate" of the working account in 2025.
    static TVtMoney IncomingTotal2025();
    static QVariant Db(const QString &sql, const QVariantList &values = {}) { return TTestDatabase::Scalar(sql, values); }
    TdmVtRptFR *Engine() { return dmEbdAtt->xarReport->GetRptTreeView()->GetfrReport(); }
    QString File(const QString &name) const { return QDir(m_files).filePath(name); }
    // The instalments of the road's three holder records, in pupil order, each
    // in the order of the components.
    QList<int> Instalments(int pupil) const;

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    std::unique_ptr<TVtFixedClock> m_clock;
    TdmEbdReport *m_reports = nullptr;
    QString m_home, m_files;
    bool m_broken = false;

    // The road's rows, as the steps create them.
    QList<int> m_components;
    int m_reason = 0;
    QList<int> m_holders;      // Anna, Bruno, Carlo
    int m_galliHolder = 0;     // another family, collected before and never returned
    int m_firstExport = 0;
    TVtMoney m_saldoBefore;
};

namespace {
// The registry's rows (the people module keeps them): the Ferraris family,
// three siblings in three classes of 2024/2025 with one parent, and the
// Galli family's only child.
int gParent = 0, gGalliParent = 0, gGalliPupil = 0;
QList<int> gPupils;
const QList<int> gClasses{24001, 24003, 24005};
const QString Iban = u"IT60X0542811101000000123456"_s;
const QString GalliIban = u"IT33V0306909606000012345678"_s;
const QString Produced = u"File prodotto con successo. Si vuole aprire la cartella relativa?"_s;
constexpr int Bonifico = 4;
const QDate February(2025, 2, 28), March(2025, 3, 31), April(2025, 4, 30);

void AddRelative(int pupil, int parent)
{
    TTestRow(u"TAnaGpt"_s, u"iAnaGptId"_s).Set(u"iAnaId"_s, pupil).Set(u"iAnaId_p"_s, parent).Set(u"iGptId"_s, 1).Insert();
}

void AddFamilies()
{
    gParent = AddPerson(u"Ferraris"_s, u"Paolo"_s);
    AddDwelling(gParent, u"Via dei Tigli 12"_s, 2, 1);
    gPupils.clear();
    const QStringList names{u"Anna"_s, u"Bruno"_s, u"Carlo"_s};
    for (int i = 0; i < names.size(); ++i) {
        const int pupil = AddPupil(u"Ferraris"_s, names[i], gClasses[i], u"R0000%1"_s.arg(i + 1));
        AddRelative(pupil, gParent);
        gPupils << pupil;
    }
    gGalliParent = AddPerson(u"Galli"_s, u"Elena"_s);
    AddDwelling(gGalliParent, u"Corso Italia 3"_s, 2, 1);
    gGalliPupil = AddPupil(u"Galli"_s, u"Marta"_s, 24001, u"R00009"_s);
    AddRelative(gGalliPupil, gGalliParent);
}
}

// ------------------------------------------------------------------ set-up

void TstRoad::initTestCase()
{
    m_home = QDir(TTestDatabase::WorkDir()).filePath(u"home"_s);
    m_files = QDir(TTestDatabase::WorkDir()).filePath(u"files"_s);
    qputenv("VARDELLA_HOME", m_home.toUtf8());
    qputenv("HOME", QDir(m_home).filePath(u"utente"_s).toUtf8());
    InstallBankFiles(m_home);
    QVERIFY(QDir().mkpath(m_files));
    QVERIFY(QDir().mkpath(QStringLiteral(VARDELLA_SCREENSHOT_DIR)));
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo, AddFamilies);
    m_messages = std::make_unique<TScopedMessageService>();
    m_clock = std::make_unique<TVtFixedClock>(QDateTime(QDate(2025, 1, 10), QTime(10, 30, 5)));

    // The program as it starts: modules, main window, reports module; the
    // working context as the office left it in "Parametri".
    RegisterSearchForms();
    RegisterReportForms();
    RegisterVardellaModules();
    SetWorkingContext(1, 2024, 2025, Account, 2024);
    dmEbdConn = new TdmEbdConn;
    dmEbdConn->Settings = m_db->Settings();
    dmEbdConn->OnCreated = [] { TfwEbdExport_Banche::WriteDemoSettings(); };
    dmEbdAtt = new TdmEbdAtt;
    dmEbdParam->xpmVtuParams->OnShowDialog = [](TfmVtParamDlg *dlg) { QTimer::singleShot(0, dlg, &QDialog::reject); };
    fmEbdMain = new TfmEbdMain;
    fmEbdMain->setWindowTitle(u"Vardella"_s);
    m_reports = new TdmEbdReport;
    fmEbdMain->resize(1600, 1000);
    fmEbdMain->show();
    QVERIFY(QTest::qWaitForWindowExposed(fmEbdMain));
    fmEbdMain->activateWindow();
    QTRY_VERIFY(dmEbdConn->xqoMain->Connected());
    QVERIFY(!fmEbdMain->ConnectionFailed());
    // The bank's settings of the demo school, as the first start writes them.
    TfwEbdExport_Banche::WriteDemoSettings();
    QVERIFY2((*m_messages)->Messages.isEmpty(), qPrintable((*m_messages)->Texts().join(u" | "_s)));
}

// A step runs only on the road the steps before left.
void TstRoad::init()
{
    if (m_broken)
        QSKIP("a step before this one failed");
    (*m_messages)->Clear();
}

void TstRoad::cleanup()
{
    if (QTest::currentTestFailed())
        m_broken = true;
    VtModalRunner() = nullptr;
    if (fmEbdMain)
        fmEbdMain->CloseAllChildren();
}

void TstRoad::cleanupTestCase()
{
    delete fmEbdMain;
    fmEbdMain = nullptr;
    delete m_reports;
    m_reports = nullptr;
    delete dmEbdAtt;
    dmEbdAtt = nullptr;
    delete dmEbdConn;
    dmEbdConn = nullptr;
    m_clock.reset();
    m_db.reset();
}

// ------------------------------------------------------------------ helpers

template <class T> T *TstRoad::Open(TVtAttivazione *command, const char *className)
{
    command->Execute();
    auto *w = qobject_cast<T *>(FindForm(QString::fromLatin1(className)));
    if (w && !QTest::qWaitForWindowExposed(w))
        return nullptr;
    return w;
}

void TstRoad::RunModal(const std::function<void()> &trigger, const std::function<void(QWidget *)> &drive)
{
    bool ran = false;
    QTimer::singleShot(0, this, [&] {
        QWidget *w = QApplication::activeModalWidget();
        if (!w)
            return;
        ran = true;
        drive(w);
        if (auto *dialog = qobject_cast<QDialog *>(w); dialog && dialog->isVisible())
            dialog->reject();
    });
    trigger();
    QVERIFY2(ran, "no modal window opened");
}

void TstRoad::RunModal(TVtAttivazione *command, const std::function<void(QWidget *)> &drive)
{
    RunModal([command] { command->Execute(); }, drive);
}

QStringList TstRoad::ChecklistRows(TfwEbdExport_Banche *w)
{
    QStringList rows;
    for (int r = 0; r < w->grControlli->rowCount(); ++r) {
        QStringList cells;
        for (int c = 1; c < 6; ++c)
            cells << (w->grControlli->item(r, c) ? w->grControlli->item(r, c)->text() : QString());
        rows << cells.join(u" | "_s);
    }
    return rows;
}

QByteArray TstRoad::Read(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TVtMoney TstRoad::Money(const QString &sql, const QVariantList &values)
{
    return TVtMoney::FromVariant(TTestDatabase::Scalar(sql, values));
}

TVtMoney TstRoad::IncomingTotal2025()
{
    return Money(u"SELECT fCaiSaldoIn FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = 2025"_s, {Account});
}

QList<int> TstRoad::Instalments(int pupil) const
{
    QList<int> ids;
    for (const QVariant &v : TTestDatabase::Column(u"SELECT cac.iCacId FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = "
                                                   "cac.iAcbCauId WHERE ac.iAcbId = ? AND ac.iCauId = ? ORDER BY "
                                                   "cac.dCacDataScadenza"_s,
                                                   {m_holders.value(pupil), m_reason}))
        ids << v.toInt();
    return ids;
}

QStringList TstRoad::Export(const QDate &from, const QDate &to, const QString &file, QStringList *classes)
{
    QStringList rows;
    struct TShow
    {
        QStringList &Rows;
        ~TShow()
        {
            if (QTest::currentTestFailed())
                qInfo("checklist: %s", qPrintable(Rows.join(u" // "_s)));
        }
    } show{rows};
    RunModal(dmEbdAtt->xafExportRid, [&](QWidget *window) {
        auto *w = qobject_cast<TfwEbdExport_Banche *>(window);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), u"Export banche"_s);
        // Page 1: the period and the payment mode (RID, as proposed).
        w->deDataDal->setDate(from);
        w->deDataAl->setDate(to);
        QCOMPARE(w->cbModPagam->currentText(), u"RID"_s);
        QVERIFY(w->Next());
        // Page 2: the classes with something to collect, then the pupils.
        QStringList listed;
        for (int i = 0; i < w->lwClassi->count(); ++i) {
            QListWidgetItem *item = w->lwClassi->item(i);
            listed << item->text();
            if (gClasses.contains(item->data(Qt::UserRole).toInt()))
                item->setCheckState(Qt::Checked);
        }
        if (classes)
            *classes = listed;
        const int ana = w->qquAlunni->FieldByName(u"iAnaId"_s)->Index;
        const QList<int> road = gPupils + QList<int>{gGalliPupil};
        int found = 0;
        for (int r = 0; r < w->qquAlunni->RecordCount(); ++r)
            if (road.contains(w->qquAlunni->RowValue(r, ana).toInt())) {
                w->grAlunni->selectionModel()->select(w->grAlunni->model()->index(w->grAlunni->ViewRow(r), 0),
                                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
                ++found;
            }
        QCOMPARE(found, road.size());
        QVERIFY(w->Next());
        // Page 3: the file; page 4: the checklist.
        w->cbBancaFile->setText(file);
        QVERIFY(w->Next());
        rows = ChecklistRows(w);
        rows << w->laProblemi->text() << w->laDaEsportare->text();
        if (!w->buOk->isEnabled())
            return;
        w->ckInsMov->setChecked(true);
        (*m_messages)->Answers << mrNo;   // the folder is not opened
        w->buOk->click();
        rows << w->laDaEsportare->text();
    });
    return rows;
}

// ------------------------------------------------------------------ the road

// "Componenti di causali", then "Causali": the reason of the year with its
// three components, each with amount, typology, due date and budget item.
void TstRoad::aReasonOfThreeComponents()
{
    auto *components = Open<TfmEbsCca>(dmEbsAtt->xafCompCaus, "TfmEbsCca");
    QVERIFY(components);
    QCOMPARE(components->windowTitle(), u"Componenti di causali"_s);
    TfrEbcCca *fc = components->frEbcCca;
    const QList<std::tuple<QString, QString, QString, QDate>> rows{
        {u"Laboratorio teatrale, 1ª rata"_s, u"TEATRO1"_s, u"120,00"_s, February},
        {u"Laboratorio teatrale, 2ª rata"_s, u"TEATRO2"_s, u"85,50"_s, March},
        {u"Laboratorio teatrale, saldo"_s, u"TEATRO3"_s, u"64,35"_s, April}};
    for (const auto &[desc, code, amount, due] : rows) {
        QVERIFY(fc->xacInsert->Execute());
        QCOMPARE(fc->xdeAnsDesc->Text(), u"2024/2025"_s);
        TypeText(fc->xdeDescrizione, desc);
        TypeText(fc->xdeCodice, code);
        QVERIFY(fc->xdlTipo->SetKeyValue(303));          // Quote - Pre e post scuola
        QVERIFY(fc->xdlAggregato->SetKeyValue(3));
        QVERIFY(fc->xdlVoce->SetKeyValue(3));
        fc->xddScadenza->SetDate(due);
        TypeText(fc->xneImportoIst, amount);
        QVERIFY2(fc->xacPost->Execute(), qPrintable((*m_messages)->Texts().join(u" | "_s)));
        m_components << Db(u"SELECT iCcaId FROM TCca_CompCausali WHERE sCcaSDesc = ? AND dStart = '2024-09-01'"_s, {code}).toInt();
    }
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCca_CompCausali WHERE sCcaSDesc STARTING WITH 'TEATRO' AND iTccId = 303 AND iAggId = 3 "
                "AND iVproId = 3 AND iDwgId = 1"_s).toInt(), 3);
    QCOMPARE(Money(u"SELECT SUM(fCcaImportoIst) FROM TCca_CompCausali WHERE sCcaSDesc STARTING WITH 'TEATRO'"_s).Format(),
             u"269,85"_s);
    QVERIFY(components->close());

    auto *reasons = Open<TfmEbsCau>(dmEbsAtt->xafCausali, "TfmEbsCau");
    QVERIFY(reasons);
    QCOMPARE(reasons->windowTitle(), u"Causali"_s);
    QVERIFY(reasons->frEbsCau->xacInsert->Execute());
    TypeText(reasons->frEbsCau->xdeDescrizione, u"Laboratorio teatrale"_s);
    TypeText(reasons->frEbsCau->xdeCodice, u"TEATRO"_s);
    QVERIFY(reasons->frEbsCau->xacPost->Execute());
    m_reason = Db(u"SELECT iCauId FROM TCau_Causali WHERE sCauSDesc = 'TEATRO'"_s).toInt();
    QVERIFY(m_reason > 0);
    // The window asks for the first component at once and will not close without it.
    QVERIFY(!reasons->close());
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Almeno un componente deve essere associato alla causale."_s});
    TfrEbsCauCca *links = reasons->frEbsCauCca;
    for (int i = 0; i < m_components.size(); ++i) {
        if (i > 0)
            QVERIFY(links->xacInsert->Execute());
        QVERIFY(links->xdlCodice->SetKeyValue(m_components[i]));
        QVERIFY(links->xacPost->Execute());
    }
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCauCca WHERE iCauId = ?"_s, {m_reason}).toInt(), 3);
    QCOMPARE(Db(u"SELECT iDwgId FROM TCau_Causali WHERE iCauId = ?"_s, {m_reason}).toInt(), 1);
    // The list shows the reason with the total of its components.
    QVERIFY(dmEbsDataSets->xqcCaus->Locate(u"ICAUID"_s, m_reason));
    QCOMPARE(TVtMoney(dmEbsDataSets->xqcCaus->FieldByName(u"FCAUIMPORTOIST"_s)->AsFloat()).Format(), u"269,85"_s);
    QVERIFY(reasons->close());
    QCOMPARE((*m_messages)->Messages.size(), 1);
}

// "Movimenti": a holder record for each sibling with the same paying parent
// and IBAN, the reason assigned to each; the database bills the components.
void TstRoad::theParentOfThreeSiblings()
{
    QVERIFY(CheckIBAN(Iban));
    xgvmGlobalVar->SetValues(u"EBDP_Vis"_s, u"1"_s);   // grants and advances shown
    auto *w = Open<TfmEbdAluGen>(dmEbdAtt->xafMovimenti, "TfmEbdAluGen");
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), u"Intestatari"_s);
    TfrEbdAluGen *fr = w->frEbdAluGen;
    for (int pupil : gPupils) {
        QVERIFY(fr->xacInsert->Execute());
        QVERIFY(fr->xdlAlunno->SetKeyValue(pupil));
        QVERIFY(fr->xdlGenitori->SetKeyValue(gParent));
        QCOMPARE(fr->xdeIntestatario->Text(), u"Ferraris Paolo"_s);
        QVERIFY(fr->xdlTipoPagamento->SetKeyValue(Rid));
        TypeText(fr->xdeIBAN, u"it60 x054 2811 1010 0000 0123 456"_s);
        fr->xddDataMandato->SetDate(QDate(2024, 9, 12));
        QVERIFY2(fr->xacPost->Execute(), qPrintable((*m_messages)->Texts().join(u" | "_s)));
        QCOMPARE(fr->xdeIBAN->Text(), Iban);
        m_holders << dmEbdConn->xqcAluGen->FieldByName(u"IACBID"_s)->AsInteger();

        TfrEbdAcbCau *assigned = w->frEbdAcbCau;
        QVERIFY(assigned->xacInsert->Execute());
        QVERIFY(assigned->xdlCausale->SetKeyValue(m_reason));
        assigned->xdmNote->Editor()->setFocus();
        QVERIFY2(assigned->xacPost->Execute(), qPrintable((*m_messages)->Texts().join(u" | "_s)));
        QCOMPARE(dmEbdConn->xqcCacAcbCau->RecordCount(), 3);
    }
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iAnaId_Gen = ? AND sAcbIBan = ? AND iMpgId = 1"_s, {gParent, Iban})
                 .toInt(), 3);
    // One instalment per component, of its amount and due date.
    for (int p = 0; p < 3; ++p) {
        const QVariantList billed = TTestDatabase::Column(
            u"SELECT cac.iCcaId || ' ' || CAST(cac.fCacImporto AS NUMERIC(18,2)) || ' ' || cac.dCacDataScadenza FROM "
            "TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId WHERE ac.iAcbId = ? ORDER BY 1"_s,
            {m_holders[p]});
        QCOMPARE(billed, (QVariantList{u"%1 120.00 2025-02-28"_s.arg(m_components[0]),
                                       u"%1 85.50 2025-03-31"_s.arg(m_components[1]),
                                       u"%1 64.35 2025-04-30"_s.arg(m_components[2])}));
    }
    QVERIFY((*m_messages)->Messages.isEmpty());
    // The Galli family pays by RID too (recorded here long ago).
    m_galliHolder = AddHolder(gGalliPupil, gGalliParent, GalliIban, Rid, QDate(2020, 9, 15));
    Assign(m_galliHolder, m_reason);
}

// Anna's first instalment gets a discount, Bruno a grant spread over his
// instalments, Carlo an advance: what is left is the components less them.
void TstRoad::discountGrantAndAdvance()
{
    auto *w = Open<TfmEbdAluGen>(dmEbdAtt->xafMovimenti, "TfmEbdAluGen");
    QVERIFY(w);
    TVtQueryCollection *holders = dmEbdConn->xqcAluGen;
    TVtQueryCollection *instalments = dmEbdConn->xqcCacAcbCau;

    // Anna: 20,00 off the February instalment.
    QVERIFY(holders->Locate(u"IACBID"_s, m_holders[0]));
    QVERIFY(instalments->Locate(u"ICACID"_s, Instalments(0)[0]));
    TfrEbdCcaAcbCau *fi = w->frEbdCcaAcbCau;
    QVERIFY(fi->xacEdit->Execute());
    QCOMPARE(fi->xneImportoOriginale->Text(), u"120,00"_s);
    TypeText(fi->xneImpSconto, u"20"_s);
    QCOMPARE(fi->xneImportoDaPagare->Text(), u"100,00"_s);
    QVERIFY(fi->xacPost->Execute());

    // Bruno: a grant of 50,00, spread.
    QVERIFY(holders->Locate(u"IACBID"_s, m_holders[1]));
    TfrEbdDote *fd = w->frEbdDote;
    QVERIFY(fd->xacInsert->Execute());
    TypeText(fd->xneImporto, u"50"_s);
    fd->xddData->SetDate(QDate(2024, 11, 4));
    fd->xddScadenza->SetDate(QDate(2025, 6, 30));
    QVERIFY2(fd->xacPost->Execute(), qPrintable((*m_messages)->Texts().join(u" | "_s)));
    fi->acTogliDote->trigger();
    QCOMPARE(Money(u"SELECT fDosImportoResiduo FROM TDos_DoteScuola WHERE iAcbId = ?"_s, {m_holders[1]}), TVtMoney());
    QCOMPARE(Money(u"SELECT fCacImporto FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {Instalments(1)[0]}).Format(), u"70,00"_s);

    // Carlo: an advance of 30,00 on February.
    QVERIFY(holders->Locate(u"IACBID"_s, m_holders[2]));
    QVERIFY(instalments->Locate(u"ICACID"_s, Instalments(2)[0]));
    TfrEbdAcconti *fa = w->frEbdAcconti;
    QVERIFY(fa->xacInsert->Execute());
    TypeText(fa->xneImporto, u"30"_s);
    fa->xddData->SetDate(QDate(2025, 1, 8));
    QVERIFY2(fa->xacPost->Execute(), qPrintable((*m_messages)->Texts().join(u" | "_s)));
    QCOMPARE(instalments->FieldByName(u"FCACIMPORTO"_s)->AsFloat(), 90.0);
    QVERIFY((*m_messages)->Messages.isEmpty());

    // 3 x 269,85 = 809,55, less 20 + 50 + 30: 709,55 to pay.
    const QString ours = u" FROM TCac_CcaAcbCau cac JOIN TAcbCau ac ON ac.iAcbCauId = cac.iAcbCauId WHERE ac.iAcbId IN (%1, %2, %3)"_s
                             .arg(m_holders[0]).arg(m_holders[1]).arg(m_holders[2]);
    QCOMPARE(Money(u"SELECT SUM(cac.fCacImporto)"_s + ours).Format(), u"709,55"_s);
    QCOMPARE(Money(u"SELECT SUM(cac.fCacImpSconto)"_s + ours).Format(), u"20,00"_s);
    QCOMPARE(Money(u"SELECT SUM(cac.fCacImpDaDote)"_s + ours).Format(), u"50,00"_s);
    QCOMPARE(Money(u"SELECT SUM(caa.fCaaImporto) FROM TCaa_CacAcconti caa WHERE caa.iCacId IN (SELECT cac.iCacId"_s + ours + u")"_s)
                 .Format(), u"30,00"_s);
}

// "Esporta Rid" for February: one disposition for the parent of the three,
// FRST, a file the bank's schema accepts, the payments recorded into the
// working account and its incoming total computed again.
void TstRoad::theBankFileCollects()
{
    m_saldoBefore = IncomingTotal2025();
    QStringList classes;
    const QStringList rows = Export(QDate(2025, 2, 1), February, File(u"febbraio.xml"_s), &classes);
    for (const QString &c : {u"1A Tempo pieno"_s, u"2A Tempo pieno"_s, u"3A Tempo pieno"_s})
        QVERIFY2(classes.contains(c), qPrintable(classes.join(u", "_s)));
    QCOMPARE(rows, (QStringList{u"Nessun problema rilevato."_s,
                                u"Da esportare: 2 disposizioni per 380,00 €. Escluse: 0."_s,
                                u"Nessuna disposizione da esportare."_s}));
    QCOMPARE((*m_messages)->Texts(), QStringList{Produced});
    const QString file = File(u"febbraio.xml"_s);
    QVERIFY(ValidateCBISDDReqLogMsgFile(file).isEmpty());
    const QByteArray xml = Read(file);
    QCOMPARE(xml.count("<DrctDbtTxInf>"), 2);
    QVERIFY(xml.contains("<Nm>Ferraris Paolo</Nm>"));
    QVERIFY(xml.contains("<InstdAmt Ccy=\"EUR\">260</InstdAmt>"));
    QVERIFY(xml.contains("<InstdAmt Ccy=\"EUR\">120</InstdAmt>"));
    // The siblings, merged, each with what is collected.
    QVERIFY(xml.contains(u"<Ustrd>Laboratorio teatrale, 1a rata - Ferraris Anna 100.00, Ferraris Bruno 70.00, "
                         "Ferraris Carlo 90.00</Ustrd>"_s.toUtf8()));
    QVERIFY(xml.contains("<SeqTp>FRST</SeqTp>"));
    QVERIFY(!xml.contains("<SeqTp>RCUR</SeqTp>"));
    QVERIFY(xml.contains(Iban.toLatin1()));
    // The log: one export, two debits, four instalments.
    m_firstExport = Db(u"SELECT iEsdId FROM TEsd_EsportazSdd WHERE sEsdFile = ?"_s, {file}).toInt();
    QVERIFY(m_firstExport >= 1000000);
    QCOMPARE(Db(u"SELECT lEsdPagamenti FROM TEsd_EsportazSdd WHERE iEsdId = ?"_s, {m_firstExport}).toInt(), 1);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TEtx_TransazSdd WHERE iEsdId = ?"_s, {m_firstExport}).toInt(), 2);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TEtxCac l JOIN TEtx_TransazSdd t ON t.iEtxId = l.iEtxId WHERE t.iEsdId = ?"_s,
                {m_firstExport}).toInt(), 4);
    // Paid on their due date into the working account.
    for (int p = 0; p < 3; ++p) {
        const int february = Instalments(p)[0];
        QCOMPARE(Db(u"SELECT dCacDataPagamento FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {february}).toDate(), February);
        QCOMPARE(Db(u"SELECT iSprIstId FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {february}).toInt(), Account);
        QVERIFY(Db(u"SELECT dCacDataPagamento FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {Instalments(p)[1]}).isNull());
    }
    const TVtMoney saldo = IncomingTotal2025();
    QCOMPARE(saldo - m_saldoBefore, TVtMoney::FromUnits(380));
}

// The same period again: nothing left to collect.
void TstRoad::theSamePeriodAgainFindsNothing()
{
    m_clock->Advance(60);
    QStringList classes;
    bool listedNothing = false;
    RunModal(dmEbdAtt->xafExportRid, [&](QWidget *window) {
        auto *w = qobject_cast<TfwEbdExport_Banche *>(window);
        QVERIFY(w);
        w->deDataDal->setDate(QDate(2025, 2, 1));
        w->deDataAl->setDate(February);
        QVERIFY(w->Next());
        const int ana = w->qquAlunni->FieldByName(u"iAnaId"_s)->Index;
        for (int i = 0; i < w->lwClassi->count(); ++i)
            w->lwClassi->item(i)->setCheckState(Qt::Checked);
        listedNothing = true;
        for (int r = 0; r < w->qquAlunni->RecordCount(); ++r)
            if ((gPupils + QList<int>{gGalliPupil}).contains(w->qquAlunni->RowValue(r, ana).toInt()))
                listedNothing = false;
        for (int i = 0; i < w->lwClassi->count(); ++i)
            classes << w->lwClassi->item(i)->text();
    });
    QVERIFY2(listedNothing, qPrintable(classes.join(u", "_s)));
    QVERIFY((*m_messages)->Messages.isEmpty());
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TEsd_EsportazSdd WHERE iEsdId >= 1000000"_s).toInt(), 1);
}

// "Storno Rid": the bank returned the Ferraris debit; its instalments are
// open again, and the incoming total goes back.
void TstRoad::aReturnedDebitIsCancelled()
{
    m_clock->Set(QDateTime(QDate(2025, 1, 20), QTime(9, 0)));
    const int debit = Db(u"SELECT iEtxId FROM TEtx_TransazSdd WHERE iEsdId = ? AND sEtxDebitore = 'Ferraris Paolo'"_s,
                         {m_firstExport}).toInt();
    QVERIFY(debit > 0);
    RunModal(dmEbdAtt->xafStornoRid, [&](QWidget *window) {
        auto *w = qobject_cast<TfmEbdStornoRid *>(window);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), u"Storno esportazioni Rid"_s);
        QVERIFY(w->SelectExport(m_firstExport));
        // One row per paying parent; the bank returned the first.
        QStringList rows;
        for (int r = 0; r < w->grDisposizioni->model()->rowCount(); ++r) {
            QStringList cells;
            for (int c = 1; c < w->grDisposizioni->model()->columnCount(); ++c)
                cells << w->grDisposizioni->model()->index(r, c).data().toString();
            rows << cells.join(u" | "_s);
        }
        QCOMPARE(rows, (QStringList{u"1 | Ferraris Paolo | %1 | 0000000000R00003 | FRST | 28/02/2025 | 260,00 | "_s.arg(Iban),
                                    u"2 | GALLI ELENA | %1 | 0000000000R00009 | FRST | 28/02/2025 | 120,00 | "_s.arg(GalliIban)}));
        const int row = 0;
        w->SetTicked(row, true);
        (*m_messages)->Answers << mrYes;
        w->buStorna->click();
    });
    QCOMPARE((*m_messages)->Texts(), (QStringList{u"Stornare le disposizioni selezionate (1) per un totale di 260,00 €?\r\nLe rate relative torneranno da pagare."_s,
                                                  u"Storno eseguito: 3 rate riaperte."_s}));
    // Marked with the day it is done on.
    QCOMPARE(Db(u"SELECT CAST(dEtxStorno AS DATE) FROM TEtx_TransazSdd WHERE iEtxId = ?"_s, {debit}).toDate(), QDate::currentDate());
    QVERIFY(Db(u"SELECT dEtxStorno FROM TEtx_TransazSdd WHERE iEsdId = ? AND iEtxId <> ?"_s, {m_firstExport, debit}).isNull());
    for (int p = 0; p < 3; ++p)
        QVERIFY(Db(u"SELECT dCacDataPagamento FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {Instalments(p)[0]}).isNull());
    QCOMPARE(IncomingTotal2025()
                 - m_saldoBefore, TVtMoney::FromUnits(120));
}

// February and March: the Ferraris debit is a first one again (the bank
// never collected), the Galli one recurrent.
void TstRoad::exportedAgainFirstOnlyWhereNotCollected()
{
    const QStringList rows = Export(QDate(2025, 2, 1), March, File(u"febbraio_marzo.xml"_s));
    QCOMPARE(rows, (QStringList{u"Nessun problema rilevato."_s,
                                u"Da esportare: 2 disposizioni per 602,00 €. Escluse: 0."_s,
                                u"Nessuna disposizione da esportare."_s}));
    QCOMPARE((*m_messages)->Texts(), QStringList{Produced});
    const QString file = File(u"febbraio_marzo.xml"_s);
    QVERIFY(ValidateCBISDDReqLogMsgFile(file).isEmpty());
    const QByteArray xml = Read(file);
    QCOMPARE(xml.count("<SeqTp>FRST</SeqTp>"), 1);
    QCOMPARE(xml.count("<SeqTp>RCUR</SeqTp>"), 1);
    const int again = Db(u"SELECT iEsdId FROM TEsd_EsportazSdd WHERE sEsdFile = ?"_s, {file}).toInt();
    QCOMPARE(TTestDatabase::Column(u"SELECT sEtxDebitore || ' ' || sEtxSeqTp || ' ' || CAST(dEtxIncasso AS DATE) FROM "
                                   "TEtx_TransazSdd WHERE iEsdId = ? ORDER BY sEtxDebitore"_s, {again}),
             (QVariantList{u"Ferraris Paolo FRST 2025-03-31"_s, u"GALLI ELENA RCUR 2025-03-31"_s}));
    for (int p = 0; p < 3; ++p)
        for (int i : {0, 1})
            QVERIFY(Db(u"SELECT dCacDataPagamento FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {Instalments(p)[i]}).isValid());
    QCOMPARE(IncomingTotal2025()
                 - m_saldoBefore, TVtMoney::FromUnits(120) + TVtMoney::FromCents(51650 + 8550));
}

// "Attestazione dei pagamenti" of 2025 for the parent, from the report tree,
// into one PDF file: the parent, the three pupils, the amounts.
void TstRoad::theCollectionsPrintedToPdf()
{
    const QString pdf = File(u"attestazione_ferraris.pdf"_s);
    (*m_messages)->SaveNames << pdf;
    VtModalRunner() = [](QDialog *dialog) {
        auto *d = qobject_cast<TfmEbdRptSelAttestazione *>(dialog);
        if (!d)
            return int(QDialog::Rejected);
        d->seAnno->setValue(2025);
        d->cbUscita->setCurrentIndex(TfmEbdRptSelAttestazione::usPdfUnico);
        d->CheckAll(false);
        d->SetCheckedId(gParent, true);
        d->OkClick();
        return d->result();
    };
    TVtRptTreeView *tree = dmEbdAtt->xarReport->GetRptTreeView();
    QVERIFY(tree->SelectRptId(44030));
    QVERIFY(dmEbdAtt->xarReport->Execute());
    QCOMPARE((*m_messages)->Texts(), QStringList{u"Creato il file %1."_s.arg(pdf)});
    const QString text = PdfTools::Text(pdf);
    QVERIFY2(text.contains(u"ATTESTAZIONE DEI PAGAMENTI EFFETTUATI NELL'ANNO 2025"_s), qPrintable(text));
    QVERIFY(text.contains(u"FERRARIS PAOLO"_s, Qt::CaseInsensitive));
    // Each pupil with what was collected, the advance and the grant's part
    // apart; the year's total without the grant.
    const QString flat = text.simplified();
    for (const QString &line : {u"Alunno/a: Ferraris Anna"_s, u"28/02/2025 Laboratorio teatrale Laboratorio teatrale, 1ª rata Rata 100,00 0,00"_s,
                                u"Totale versato per l'alunno/a 185,50"_s, u"Alunno/a: Ferraris Bruno"_s,
                                u"28/02/2025 Laboratorio teatrale Laboratorio teatrale, 1ª rata Rata 70,00 50,00"_s,
                                u"Totale versato per l'alunno/a 155,50"_s, u"Alunno/a: Ferraris Carlo"_s,
                                u"08/01/2025 Laboratorio teatrale Laboratorio teatrale, 1ª rata Acconto 30,00 0,00"_s,
                                u"28/02/2025 Laboratorio teatrale Laboratorio teatrale, 1ª rata Rata 90,00 0,00"_s,
                                u"Totale versato per l'alunno/a 205,50"_s, u"Totale versato nell'anno 2025 546,50"_s})
        QVERIFY2(flat.contains(line), qPrintable(line));
    QVERIFY(!text.contains(u"Galli"_s, Qt::CaseInsensitive));
}

// "Inizio anno finanziario": 2026 opens with the balance of 2025 carried
// forward, split by typology; the road's collections are among the "Quote".
void TstRoad::theNextFinancialYear()
{
    const QString paid2025 = u"SELECT SUM(cac.fCacImporto) FROM TCac_CcaAcbCau cac, TCca_CompCausali cca, TTcc_TipoCompCaus tcc "
                             "WHERE cca.iCcaId = cac.iCcaId AND tcc.iTccId = cca.iTccId AND tcc.iTccId_P = ? AND "
                             "cac.iSprIstId = 2 AND EXTRACT(YEAR FROM cac.dCacDataPagamento) = 2025"_s;
    QList<TVtMoney> shown;
    QStringList labels;
    RunModal(dmEbdAtt->xafInitAnf, [&](QWidget *window) {
        auto *w = qobject_cast<TfmEbdInitAnf *>(window);
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), u"Inizio anno finanziario"_s);
        QCOMPARE(w->cbAnno->currentText(), u"2026"_s);
        w->buNext->click();
        QCOMPARE(w->ActivePageIndex(), int(TfmEbdInitAnf::tsRiporti));
        for (int i = 0; i < w->RowCount(); ++i) {
            labels << w->RowLabel(i)->text();
            shown << w->Row(i)->Value();
        }
        QVERIFY(w->buOk->isEnabled());
        (*m_messages)->Answers << mrYes;
        w->buOk->click();
    });
    QCOMPARE(labels, (QStringList{u"Saldo del conto"_s, u"Tasse"_s, u"Contributi"_s, u"Quote"_s, u"Diversi"_s, u"Differenze"_s}));
    TVtMoney total;
    for (int t = 1; t <= 4; ++t) {
        QCOMPARE(shown[t], Money(paid2025, {t}));
        total += shown[t];
    }
    QCOMPARE(shown[0], total);
    // The road's collections (602,00 and the 120,00 of Galli) are in "Quote".
    const TVtMoney ours = Money(u"SELECT SUM(cac.fCacImporto) FROM TCac_CcaAcbCau cac WHERE cac.iCcaId IN (%1, %2, %3) AND "
                                "cac.dCacDataPagamento IS NOT NULL"_s.arg(m_components[0]).arg(m_components[1]).arg(m_components[2]));
    QCOMPARE(ours.Format(), u"722,00"_s);
    QVERIFY(shown[3] >= ours);
    QCOMPARE((*m_messages)->Texts(), (QStringList{u"Si vuole procedere con la creazione del nuovo anno finanziario?"_s,
                                                  u"Creazione del nuovo anno finanziario conclusa con successo."_s}));
    QCOMPARE(Money(u"SELECT fCaiCassaIn FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = 2026"_s, {Account}), total);
    // 2025 is closed: its rows may no longer change.
    QCOMPARE(Db(u"SELECT iLocked FROM TCai_CassaIst WHERE iSprIstId = ? AND iCaiEsercizioFin = 2025"_s, {Account}).toInt(), 1);
    const QVariantList split = TTestDatabase::Column(
        u"SELECT t.iTccId || '=' || CAST(t.fCaiTccImportoIniz AS NUMERIC(18,2)) FROM TCaiTcc t JOIN TCai_CassaIst c ON "
        "c.iCaiId = t.iCaiId WHERE c.iSprIstId = ? AND c.iCaiEsercizioFin = 2026 ORDER BY t.iTccId"_s,
        {Account});
    QCOMPARE(split.size(), 4);
    QCOMPARE(split[2].toString(), u"3=%1"_s.arg(shown[3].FormatPlain().replace(u"."_s, QString()).replace(u',', u'.')));
}

// The reasons year moves on to 2025/2026 and "Duplica Causali" copies the
// road's reason with its components, due dates a year later.
void TstRoad::reasonsOfTheNextSchoolYear()
{
    SetWorkingContext(1, 2024, 2025, Account, 2025);
    auto *reasons = Open<TfmEbsCau>(dmEbsAtt->xafCausali, "TfmEbsCau");
    QVERIFY(reasons);
    QString summary;
    RunModal([reasons] { reasons->frEbsCau->acDuplica->trigger(); }, [&](QWidget *window) {
        auto *d = qobject_cast<TfmEbsDuplicaCausali *>(window);
        QVERIFY(d);
        QCOMPARE(d->cbAnno->currentText(), u"2024/2025"_s);
        QVERIFY(d->SetTicked(m_reason, true));
        summary = d->lbRiepilogo->text();
        d->OkClick();
    });
    QCOMPARE(summary, u"Causali da creare: 1   Componenti nuovi: 3   Componenti già presenti: 0   Importo istituto totale: 269,85"_s);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TCau_Causali WHERE sCauSDesc = 'TEATRO' AND dStart = '2025-09-01'"_s).toInt(), 1);
    QCOMPARE(TTestDatabase::Column(u"SELECT cca.dCcaDataScadenza FROM TCca_CompCausali cca WHERE cca.dStart = '2025-09-01' AND "
                                   "cca.sCcaSDesc STARTING WITH 'TEATRO' ORDER BY 1"_s),
             (QVariantList{QDate(2026, 2, 28), QDate(2026, 3, 31), QDate(2026, 4, 30)}));
    QVERIFY((*m_messages)->Messages.isEmpty());
    QVERIFY(reasons->close());
    SetWorkingContext(1, 2024, 2025, Account, 2024);
}

// From "Intestatari", the three holder records move to bank transfer in one
// run, with the preview first; then the run is undone.
void TstRoad::aBulkChangeUndone()
{
    auto *w = Open<TfmEbdAluGen>(dmEbdAtt->xafMovimenti, "TfmEbdAluGen");
    QVERIFY(w);
    QString preview;
    RunModal([w] { w->frEbdAluGen->acSostMultiplaDati->trigger(); }, [&](QWidget *window) {
        auto *d = qobject_cast<TfmEbcDataReplace *>(window);
        QVERIFY(d);
        QCOMPARE(d->windowTitle(), u"Sostituzione dati"_s);
        QCOMPARE(d->lbFields->item(0)->text(), u"Tipo di pagamento dell'intestatario"_s);
        d->lbFields->setCurrentRow(0);
        QVERIFY(d->Next());
        QVariantList ids;
        for (int h : m_holders)
            ids << h;
        d->frSelect->Select(TfrVtDoubleListView::sdLeft, ids);
        QCOMPARE(d->frSelect->MoveSelected(true), 3);
        QVERIFY(d->Next());
        QVERIFY(d->edOldValue->Choose(Rid));
        QVERIFY(d->edNewValue->Choose(Bonifico));
        QVERIFY(d->Next());
        preview = d->laPreview->text();
        (*m_messages)->Answers << mrYes;
        d->OkClick();
    });
    QCOMPARE(preview, u"Da modificare: 3 su 3 record selezionati"_s);
    QCOMPARE((*m_messages)->Texts(), (QStringList{u"Confermi l'inserimento del dato ?"_s,
                                                  u"Inserito il dato Tipo di pagamento dell'intestatario a 3 alunni"_s}));
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iAnaId_Gen = ? AND iMpgId = ?"_s, {gParent, Bonifico}).toInt(), 3);
    QCOMPARE(Db(u"SELECT iMpgId FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {m_galliHolder}).toInt(), Rid);

    (*m_messages)->Clear();
    (*m_messages)->Answers << mrYes;
    w->frEbdAluGen->acAnnullaSostMultipla->trigger();
    QCOMPARE((*m_messages)->Messages.size(), 2);
    QVERIFY2((*m_messages)->Messages[0].Text.startsWith(u"Annullare l'ultima sostituzione multipla?\r\nDato: Tipo di pagamento "
                                                        "dell'intestatario"_s),
             qPrintable((*m_messages)->Messages[0].Text));
    QCOMPARE((*m_messages)->LastText(), u"Annullata la sostituzione del dato Tipo di pagamento dell'intestatario su 3 alunni"_s);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iAnaId_Gen = ? AND iMpgId = ?"_s, {gParent, Rid}).toInt(), 3);
    QCOMPARE(dmEbdConn->xqcAluGen->FieldByName(u"IMPGID"_s)->AsInteger(), Rid);
}

QTEST_MAIN(TstRoad)
#include "tst_road.moc"

#include "EbdFwExport_Banche.h"
#include "EbdUSddDataSets.h"
#include "SddFixture.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestScreens.h"
#include "VardellaModules.h"
#include "VtClock.h"
#include "VtDBGrid.h"
#include "VtDataSource.h"
#include "VtFormRegistry.h"
#include "VtQueryCollection.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using namespace sddfix;

// "Export banche" up to the debits: the parameters, the classes and pupils,
// the selection with its rules, the bank's header fields and settings, and
// the debits of the selection.
class TstExportWizard : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void firstPage();
    void classesAndPupils();
    void selectionRules();
    void ownModeDwellingsAndAccounts();
    void manyPupils();
    void everyColumnOfAnInstalment();
    void sequenceTypeOfEveryDemoHolder();
    void shippedBanks();
    void exportPage();
    void supportNameAndFile();
    void demoSettings();
    void demoMandates();
    void screenshots();

private:
    TfwEbdExport_Banche *Open();
    // Through page 2 to page 3, with the given classes ticked.
    void ToExportPage(const QList<int> &classes);
    static void Tick(QListWidget *list, const QList<int> &ids);
    TSddFiltro Filter(const QList<int> &classes) const;

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    std::unique_ptr<TVtFixedClock> m_clock;
    std::unique_ptr<TfwEbdExport_Banche> m_wizard;
    QString m_home;
    // The test's family: two pupils of one parent in class 24001, a reason
    // of three components due 16/12/2024, 15/01/2025 and 15/09/2025.
    int m_anna = 0, m_luca = 0, m_parent = 0, m_holderAnna = 0, m_holderLuca = 0;
    TReason m_reason;
};

namespace {
const QString IbanA = u"IT60X0542811101000000123456"_s, IbanB = u"IT02L1234512345123456789012"_s;
const QDate From(2024, 9, 1), To(2025, 8, 31);
}

void TstExportWizard::initTestCase()
{
    RegisterVardellaModules();
    m_home = QDir(TTestDatabase::WorkDir()).filePath(u"home"_s);
    qputenv("VARDELLA_HOME", m_home.toUtf8());
    qputenv("HOME", QDir(m_home).filePath(u"utente"_s).toUtf8());
    InstallBankFiles(m_home);
    QVERIFY(QDir().mkpath(QStringLiteral(VARDELLA_SCREENSHOT_DIR)));
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstExportWizard::init()
{
    (*m_messages)->Clear();
    m_clock = std::make_unique<TVtFixedClock>(QDateTime(QDate(2025, 1, 10), QTime(10, 30, 5)));
    QFile::remove(TfwEbdExport_Banche::SettingsFileName());
    QVERIFY(OpenBillingModule(*m_db));
    m_anna = AddPupil(u"Zanetti"_s, u"Anna"_s, 24001, u"T00001"_s);
    m_luca = AddPupil(u"Zanetti"_s, u"Luca"_s, 24001, u"T00002"_s);
    m_parent = AddPerson(u"Zanetti"_s, u"Marco"_s);
    AddDwelling(m_parent, u"Via Roma 1"_s, 2, 1);
    m_holderAnna = AddHolder(m_anna, m_parent, IbanA, Rid, QDate(2019, 9, 20));
    m_holderLuca = AddHolder(m_luca, m_parent, IbanA);
    m_reason = AddReason(u"Mensa di prova"_s, {{u"Mensa dicembre"_s, TVtMoney(4.35), QDate(2024, 12, 16)},
                                               {u"Mensa gennaio"_s, TVtMoney(60.0), QDate(2025, 1, 15)},
                                               {u"Mensa settembre"_s, TVtMoney(70.0), QDate(2025, 9, 15)}});
    Assign(m_holderAnna, m_reason.Id);
    Assign(m_holderLuca, m_reason.Id);
}

void TstExportWizard::cleanup()
{
    m_wizard.reset();
    CloseBillingModule();
    m_clock.reset();
}

TfwEbdExport_Banche *TstExportWizard::Open()
{
    m_wizard.reset(qobject_cast<TfwEbdExport_Banche *>(TVtFormRegistry::CreateForm(u"TfwEbdExport_Banche"_s)));
    if (m_wizard)
        m_wizard->show();
    return m_wizard.get();
}

void TstExportWizard::Tick(QListWidget *list, const QList<int> &ids)
{
    for (int i = 0; i < list->count(); ++i)
        if (ids.contains(list->item(i)->data(Qt::UserRole).toInt()))
            list->item(i)->setCheckState(Qt::Checked);
}

void TstExportWizard::ToExportPage(const QList<int> &classes)
{
    TfwEbdExport_Banche *w = m_wizard ? m_wizard.get() : Open();
    w->deDataDal->setDate(From);
    w->deDataAl->setDate(To);
    QVERIFY(w->Next());
    Tick(w->lwClassi, classes);
    QVERIFY(w->Next());
    QCOMPARE(w->ActivePageIndex(), int(TfwEbdExport_Banche::tsExport));
}

TSddFiltro TstExportWizard::Filter(const QList<int> &classes) const
{
    TSddFiltro f;
    f.Dal = From;
    f.Al = To;
    f.IdMpg = Rid;
    f.Classi = classes;
    f.IdAns = 2024;
    f.IdSprIst = Account;
    f.IdDwg = 1;
    return f;
}

void TstExportWizard::firstPage()
{
    TfwEbdExport_Banche *w = Open();
    QCOMPARE(w->windowTitle(), u"Export banche"_s);
    QCOMPARE(w->deDataDal->date(), QDate(2025, 1, 10));
    QCOMPARE(w->deDataAl->date(), QDate(2025, 1, 10));
    QCOMPARE(w->cbModPagam->currentText(), u"RID"_s);
    QCOMPARE(w->cbModPagam->currentData().toInt(), Rid);
    QCOMPARE(w->cbModPagam->count(), 6);
    QVERIFY(!w->ckInsMov->isChecked());
    QCOMPARE(w->ckInsMov->text(), u"Setta il pagamento per i dati esportati"_s);
    // The components of the reasons' year, by text, none ticked.
    const int components = TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TCca_CompCausali WHERE dStart = '2024-09-01'"_s).toInt();
    QCOMPARE(w->lwComponenti->count(), components);
    QStringList texts;
    for (int i = 0; i < w->lwComponenti->count(); ++i) {
        texts << w->lwComponenti->item(i)->text();
        QCOMPARE(w->lwComponenti->item(i)->checkState(), Qt::Unchecked);
    }
    QStringList sorted = texts;
    std::sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QCOMPARE(texts, sorted);
    QVERIFY(w->findChild<QLabel *>(u"laComponenti"_s)->text().startsWith(u"Selezionando le seguenti componenti"_s));
    // The popup's three actions.
    w->lwComponenti->item(0)->setCheckState(Qt::Checked);
    w->CheckListAction(w->lwComponenti, TfwEbdExport_Banche::caInvert);
    QCOMPARE(w->lwComponenti->item(0)->checkState(), Qt::Unchecked);
    QCOMPARE(w->lwComponenti->item(1)->checkState(), Qt::Checked);
    w->CheckListAction(w->lwComponenti, TfwEbdExport_Banche::caClear);
    QCOMPARE(w->Filtro().Componenti.size(), 0);
    w->CheckListAction(w->lwComponenti, TfwEbdExport_Banche::caSelectAll);
    QCOMPARE(w->Filtro().Componenti.size(), components);
}

void TstExportWizard::classesAndPupils()
{
    TfwEbdExport_Banche *w = Open();
    w->deDataDal->setDate(From);
    w->deDataAl->setDate(To);
    QVERIFY(w->Next());
    const int classes = TTestDatabase::Scalar(u"SELECT COUNT(*) FROM VCls_Classi WHERE sClsAnnoScol = '2024/2025'"_s).toInt();
    QCOMPARE(w->lwClassi->count(), classes);
    QCOMPARE(w->qquAlunni->RecordCount(), 0);   // no class ticked
    Tick(w->lwClassi, {24001});
    QStringList names;
    const TVtField *surname = w->qquAlunni->FieldByName(u"sAnaCognome"_s), *name = w->qquAlunni->FieldByName(u"sAnaNome"_s);
    for (int r = 0; r < w->qquAlunni->RecordCount(); ++r)
        names << w->qquAlunni->RowValue(r, surname->Index).toString().trimmed() + u' '
                     + w->qquAlunni->RowValue(r, name->Index).toString().trimmed();
    QVERIFY(names.contains(u"Zanetti Anna"_s));
    QVERIFY(names.contains(u"Zanetti Luca"_s));
    QCOMPARE(names.removeDuplicates(), 0);
    QCOMPARE(w->grAlunni->model()->headerData(0, Qt::Horizontal).toString(), u"Cognome"_s);
    QCOMPARE(w->grAlunni->model()->headerData(2, Qt::Horizontal).toString(), u"Classe"_s);
    // A second class: its pupils come first or after by class text; by
    // surname after a click on the first title.
    Tick(w->lwClassi, {24002});
    const int both = w->qquAlunni->RecordCount();
    QVERIFY(both > names.size());
    const TVtField *cls = w->qquAlunni->FieldByName(u"sClsDesc"_s);
    auto column = [w](const TVtField *f) {
        QStringList out;
        for (int r = 0; r < w->qquAlunni->RecordCount(); ++r)
            out << w->qquAlunni->RowValue(r, f->Index).toString().trimmed();
        return out;
    };
    QStringList byClass = column(cls);
    QVERIFY(std::is_sorted(byClass.begin(), byClass.end()));
    w->grAlunni->horizontalHeader()->sectionClicked(0);
    QStringList bySurname = column(surname);
    QVERIFY(std::is_sorted(bySurname.begin(), bySurname.end()));
    QVERIFY(!std::is_sorted(column(cls).begin(), column(cls).end()) || byClass.size() < 2);
    w->grAlunni->horizontalHeader()->sectionClicked(2);
    byClass = column(cls);
    QVERIFY(std::is_sorted(byClass.begin(), byClass.end()));
    // The popup on the classes reloads the pupils.
    w->CheckListAction(w->lwClassi, TfwEbdExport_Banche::caClear);
    QCOMPARE(w->qquAlunni->RecordCount(), 0);
    // Picked pupils are the ones exported; none picked: all of them.
    Tick(w->lwClassi, {24001});
    QVERIFY(w->Filtro().Alunni.isEmpty());
    w->grAlunni->selectRow(0);
    QCOMPARE(w->Filtro().Alunni.size(), 1);
}

void TstExportWizard::selectionRules()
{
    const int assignment = TTestDatabase::Scalar(u"SELECT iAcbCauId FROM TAcbCau WHERE iAcbId = ?"_s, {m_holderAnna}).toInt();
    QList<int> cac;
    for (int c : m_reason.Components)
        cac << InstalmentOf(assignment, c);
    auto selected = [](const TSddFiltro &f) {
        QList<int> ids;
        for (const TSddRata &r : ReadSddSelection(f))
            ids << r.IdCac;
        return ids;
    };
    TSddFiltro f = Filter({24001});
    f.Alunni = {m_anna};
    QCOMPARE(selected(f), (QList<int>{cac[0], cac[1]}));   // September 2025 is out of range
    // Ticked components ignore the range.
    f.Componenti = {m_reason.Components[2]};
    QCOMPARE(selected(f), (QList<int>{cac[2]}));
    f.Componenti.clear();
    // Paid, zero, below half a cent: never.
    Pay(cac[0], QDate(2024, 12, 16));
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET fCacImporto = 0.004 WHERE iCacId = %1"_s.arg(cac[1]));
    QVERIFY(selected(f).isEmpty());
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET fCacImporto = 0 WHERE iCacId = %1"_s.arg(cac[1]));
    QVERIFY(selected(f).isEmpty());
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET fCacImporto = 0.005 WHERE iCacId = %1"_s.arg(cac[1]));
    const QVector<TSddRata> rate = ReadSddSelection(f);
    QCOMPARE(rate.size(), 1);
    QCOMPARE(rate[0].Importo, qint64(1));
    // Another school year's placement or another payment mode: nothing.
    f.IdMpg = Contanti;
    QVERIFY(selected(f).isEmpty());
}

void TstExportWizard::ownModeDwellingsAndAccounts()
{
    // Luca's January instalment is paid in cash; Luca pays from another
    // account; the parent has a domicile too, numbered first.
    const int lucaAssignment = TTestDatabase::Scalar(u"SELECT iAcbCauId FROM TAcbCau WHERE iAcbId = ?"_s, {m_holderLuca}).toInt();
    const int cash = InstalmentOf(lucaAssignment, m_reason.Components[1]);
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET iMpgId = %1 WHERE iCacId = %2"_s.arg(Contanti).arg(cash));
    AddDwelling(m_parent, u"Via del Domicilio 9"_s, 1, 0);
    TSddFiltro f = Filter({24001});
    f.Alunni = {m_anna, m_luca};
    QVector<TSddRata> rate = ReadSddSelection(f);
    QCOMPARE(rate.size(), 3);   // Anna's two, Luca's December one
    for (const TSddRata &r : rate) {
        QVERIFY(r.IdCac != cash);
        QCOMPARE(r.Indirizzo, u"Via Roma 1"_s);   // the residence, not the domicile
    }
    QCOMPARE(BuildDispositions(rate, {}).size(), 1);
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET sAcbIBan = '%1' WHERE iAcbId = %2"_s.arg(IbanB).arg(m_holderLuca));
    rate = ReadSddSelection(f);
    QCOMPARE(rate.size(), 3);
    const QVector<TSddDisposizione> d = BuildDispositions(rate, {});
    QCOMPARE(d.size(), 2);
    QCOMPARE(d[0].Ultima.Iban + d[1].Ultima.Iban, IbanA + IbanB);
    // The instalment a family pays in cash, on a cash holder, is debited
    // when its own mode is the direct debit.
    TTestDatabase::Exec(u"UPDATE TAcb_AluCoordBan SET iMpgId = %1 WHERE iAcbId = %2"_s.arg(Contanti).arg(m_holderLuca));
    TTestDatabase::Exec(u"UPDATE TCac_CcaAcbCau SET iMpgId = %1 WHERE iCacId = %2"_s.arg(Rid).arg(cash));
    rate = ReadSddSelection(f);
    QCOMPARE(rate.size(), 3);
    QVERIFY(std::any_of(rate.begin(), rate.end(), [cash](const TSddRata &r) { return r.IdCac == cash; }));
}

void TstExportWizard::manyPupils()
{
    const int cls = AddClass();
    const QList<int> pupils = AddManyPupils(cls, 1600, m_reason.Id);
    TSddFiltro f = Filter({cls});
    QCOMPARE(ReadSddSelection(f).size(), 3200);   // every pupil of the class, none picked
    f.Alunni = pupils.mid(0, 1501);
    const QVector<TSddRata> rate = ReadSddSelection(f);
    QCOMPARE(rate.size(), 3002);
    QCOMPARE(BuildDispositions(rate, {}).size(), 1501);
}

void TstExportWizard::everyColumnOfAnInstalment()
{
    TSddFiltro f = Filter({24001});
    f.Alunni = {m_anna};
    const QVector<TSddRata> rate = ReadSddSelection(f);
    QCOMPARE(rate.size(), 2);
    TVtQueryCollection leggi;
    DeclareSddColumns(&leggi);
    FillSddInstalments(&leggi, rate, ReadSddCreditore(Account), ReadSddSede(1));
    QCOMPARE(leggi.RecordCount(), 2);
    auto value = [&leggi](const char *column) { return leggi.RowValue(0, leggi.FieldByName(QString::fromLatin1(column))->Index); };
    const int cac = InstalmentOf(TTestDatabase::Scalar(u"SELECT iAcbCauId FROM TAcbCau WHERE iAcbId = ?"_s, {m_holderAnna}).toInt(),
                                 m_reason.Components[0]);
    QCOMPARE(value("ICACID").toInt(), cac);
    QCOMPARE(value("IMPORTO").toLongLong(), qint64(435));   // 4.35, not 434
    QCOMPARE(value("DEBITORE").toString(), u"ZANETTI MARCO"_s);
    QCOMPARE(value("ORDINAMENTO").toString(), u"ZANETTI MARCO"_s);
    QCOMPARE(value("IBAN_DOMICILIATARIA").toString(), IbanA);
    QCOMPARE(value("ABI_DOMICILIATARIA").toString(), u"05428"_s);
    QCOMPARE(value("CAB_DOMICILIATARIA").toString(), u"11101"_s);
    QCOMPARE(value("CC_DOMICILIATARIA").toString(), u"000000123456"_s);
    QCOMPARE(value("COD_DEBITORE").toString(), u"0000000000T00001"_s);
    QCOMPARE(value("MATRICOLA").toString(), u"T00001"_s);
    QCOMPARE(value("CAUSALE").toString(), u"Mensa dicembre"_s);
    QCOMPARE(value("DATA_SCADENZA").toString(), u"161224"_s);
    QCOMPARE(value("DATA_DEFAULT").toString(), u"010212"_s);
    QCOMPARE(value("DCACDATASCADENZA").toDate(), QDate(2024, 12, 16));
    QCOMPARE(value("IANAID").toInt(), m_anna);
    QCOMPARE(value("IANAID_GEN").toInt(), m_parent);
    QCOMPARE(value("ICCAID").toInt(), m_reason.Components[0]);
    QCOMPARE(value("ICAUID").toInt(), m_reason.Id);
    QCOMPARE(value("ICLSID").toInt(), 24001);
    QCOMPARE(value("SCLSDESC").toString(),
             TTestDatabase::Scalar(u"SELECT TRIM(sClsDesc) FROM VCls_Classi WHERE iClsId = 24001"_s).toString());
    QCOMPARE(value("SANACOGNOME").toString(), u"Zanetti"_s);
    QCOMPARE(value("SANANOME").toString(), u"Anna"_s);
    QCOMPARE(value("ISITID").toInt(),
             TTestDatabase::Scalar(u"SELECT iSitId FROM TSit_Situazioni WHERE iAnaId = ?"_s, {m_anna}).toInt());
    QCOMPARE(value("TIPO_SEQUENZA").toString(), u"FRST"_s);
    QCOMPARE(value("IND_DEBITORE").toString(), u"Via Roma 1"_s);
    QCOMPARE(value("CAP_DEBITORE").toString(),
             TTestDatabase::Scalar(u"SELECT TRIM(sCapValue) FROM VComCap WHERE iComCapId = 1"_s).toString());
    QCOMPARE(value("COM_DEBITORE").toString(),
             TTestDatabase::Scalar(u"SELECT TRIM(sComDesc) || ' ' || TRIM(sProSigla) FROM VComCap WHERE iComCapId = 1"_s).toString());
    // The working account's parts and the seat.
    QCOMPARE(value("IBAN_STATO_RICEVENTE").toString() + value("IBAN_CKD_RICEVENTE").toString() + value("CIN_RICEVENTE").toString()
                 + value("ABI_RICEVENTE").toString() + value("CAB_RICEVENTE").toString() + value("CC_RICEVENTE").toString(),
             u"IT60V0857114031000000004721"_s);
    QVERIFY(value("CREDITORE").toString().startsWith(u"Istituto Comprensivo Valdirame Nord Via delle Scuole 4 - "_s));
    QCOMPARE(value("ICNT").toInt(), 1);
    QVERIFY(value("MITTENTE").isNull());
    QVERIFY(value("CREDITOR_IDENT").isNull());
}

void TstExportWizard::sequenceTypeOfEveryDemoHolder()
{
    QList<int> classes;
    for (const QVariant &v : TTestDatabase::Column(u"SELECT iClsId FROM VCls_Classi WHERE sClsAnnoScol = '2024/2025'"_s))
        classes << v.toInt();
    const QVector<TSddRata> rate = ReadSddSelection(Filter(classes));
    const QString unpaid =
        u"SELECT COUNT(*) FROM TCac_CcaAcbCau c JOIN TAcbCau ac ON ac.iAcbCauId = c.iAcbCauId "
        "JOIN TAcb_AluCoordBan b ON b.iAcbId = ac.iAcbId JOIN TCau_Causali u ON u.iCauId = ac.iCauId "
        "WHERE c.dCacDataPagamento IS NULL AND COALESCE(c.iMpgId, b.iMpgId) = 1 AND c.fCacImporto > 0 "
        "AND c.dCacDataScadenza BETWEEN '2024-09-01' AND '2025-08-31' AND b.iAnaId_Gen IS NOT NULL AND u.lCauTipo %1"_s;
    // Every unpaid debit of the year, the test's four included; refunds
    // (money the school owes) are never debited.
    QCOMPARE(rate.size(), TTestDatabase::Scalar(unpaid.arg(u"= 0"_s)).toInt());
    QVERIFY(TTestDatabase::Scalar(unpaid.arg(u"= 1"_s)).toInt() > 0);
    QVERIFY(rate.size() > 80);
    QSet<int> holders;
    for (const TSddRata &r : rate) {
        if (holders.contains(r.IdAcb))
            continue;
        holders.insert(r.IdAcb);
        QCOMPARE(r.TipoSequenza, TTestDatabase::Scalar(u"SELECT sSeqTp FROM PEbd_SddSeqTp(?, ?, ?)"_s, {r.IdAcb, Account, Rid})
                                     .toString());
    }
    // One row per instalment.
    QSet<int> ids;
    for (const TSddRata &r : rate)
        ids.insert(r.IdCac);
    QCOMPARE(ids.size(), rate.size());
}

// Every shipped bank has a layout whose header fields name inputs of the
// form, and shows the three inputs the file needs.
void TstExportWizard::shippedBanks()
{
    TfwEbdExport_Banche w;
    const QList<TBancaTracciato> banks = LoadBankList();
    QCOMPARE(banks.size(), 4);
    QCOMPARE(banks[0].Banca, u"Credito Cooperativo di Serralta"_s);
    QCOMPARE(banks[0].ABI, u"08571"_s);
    QCOMPARE(banks[3].Banca, u"Poste Italiane"_s);
    for (const TBancaTracciato &b : banks) {
        QVERIFY(!LoadBankLayout(b.CodTracciato).isEmpty());
        QStringList captions;
        for (const TCampoIntestazione &f : LoadHeaderFields(b.CodTracciato)) {
            const QString name = (f.ColType == u"D"_s ? u"de"_s : u"ed"_s) + f.FieldName;
            QWidget *input = w.gbIntestazione->findChild<QWidget *>(name);
            QVERIFY2(input, qPrintable(b.Banca + u": "_s + name));
            QLabel *label = w.gbIntestazione->findChild<QLabel *>(u"la"_s + name);
            QVERIFY2(label && label->buddy() == input, qPrintable(name));
            captions << label->text();
        }
        for (const QString &needed : {u"Codice CUC"_s, u"Creditor Identifier"_s, u"Nome supporto"_s})
            QVERIFY2(captions.contains(needed), qPrintable(b.Banca + u": "_s + needed));
    }
}

void TstExportWizard::exportPage()
{
    QSettings settings(TfwEbdExport_Banche::SettingsFileName(), QSettings::IniFormat);
    settings.setValue(u"Dati/Mittente"_s, u"VALD812C"_s);
    settings.setValue(u"Dati/CreditIdent"_s, u"IT27ZZZ90012340187"_s);
    settings.setValue(u"Dati/Conto_Tesoreria"_s, u"1234567"_s);
    settings.sync();
    TfwEbdExport_Banche *w = Open();
    ToExportPage({24001});
    // No bank in the settings: the one of the account's ABI (08571).
    QCOMPARE(w->cbBanche->count(), 4);
    QCOMPARE(w->cbBanche->currentText(), u"Credito Cooperativo di Serralta"_s);
    QCOMPARE(w->edMittente->text(), u"VALD812C"_s);
    QCOMPARE(w->edCREDITOR_IDENT->text(), u"IT27ZZZ90012340187"_s);
    QCOMPARE(w->edConto_Tesoreria->text(), u"1234567"_s);
    QCOMPARE(w->deData_Creazione->date(), QDate(2025, 1, 10));
    QCOMPARE(w->deDATA_SCADENZA->date(), QDate(2025, 12, 31));
    // The CBI layout shows its four inputs, with their labels.
    QVERIFY(!w->edMittente->isHidden());
    QVERIFY(!w->deData_Creazione->isHidden());
    QVERIFY(!w->edCREDITOR_IDENT->isHidden());
    QVERIFY(w->edConto_Tesoreria->isHidden());
    QVERIFY(w->deData_Valuta->isHidden());
    QVERIFY(w->gbIntestazione->findChild<QLabel *>(u"laedConto_Tesoreria"_s)->isHidden());
    QVERIFY(!w->gbIntestazione->findChild<QLabel *>(u"laedMittente"_s)->isHidden());
    QVERIFY(!w->cbBancaFile->isHidden());
    // The debits: the parent's two pupils merged.
    const QVector<TSddDisposizione> &d = w->Disposizioni();
    QCOMPARE(w->laDisp->text(), u"Totale disposizioni: %1"_s.arg(d.size()));
    QCOMPARE(w->cdsDisp->RecordCount(), d.size());
    auto family = std::find_if(d.begin(), d.end(), [this](const TSddDisposizione &x) { return x.Ultima.IdAnaGen == m_parent; });
    QVERIFY(family != d.end());
    QCOMPARE(family->Cnt, 4);
    QCOMPARE(family->Importo, qint64(435 + 6000 + 435 + 6000));
    QCOMPARE(family->Remittance, u"Mensa gennaio - Zanetti Anna 64.35, Zanetti Luca 64.35"_s);
    QCOMPARE(family->Intestazione.Mittente, u"VALD812C"_s);
    QCOMPARE(family->Intestazione.NomeSupporto, u"SDD20250110"_s);
    QCOMPARE(w->grDisp->model()->headerData(0, Qt::Horizontal).toString(), u"Destinario"_s);
    QCOMPARE(w->grDisp->model()->headerData(1, Qt::Horizontal).toString(), u"Importo in cent."_s);
    const int row = int(family - d.begin());
    QCOMPARE(w->grDisp->model()->index(row, 1).data().toString(), u"12870"_s);
    // Leaving "Codice CUC" rebuilds the debits.
    w->edMittente->setText(u"ALTRO"_s);
    emit w->edMittente->editingFinished();
    QCOMPARE(w->Disposizioni()[row].Intestazione.Mittente, u"ALTRO"_s);
    // The treasury bank asks for more.
    w->cbBanche->setCurrentText(u"Cassa di Risparmio di Borgoreale"_s);
    QVERIFY(!w->edConto_Tesoreria->isHidden());
    QVERIFY(!w->deData_Valuta->isHidden());
    QVERIFY(!w->gbIntestazione->findChild<QLabel *>(u"laedConto_Tesoreria"_s)->isHidden());
    // The bank of the settings wins over the account's.
    settings.setValue(u"Dati/Banca"_s, u"Poste Italiane"_s);
    settings.sync();
    QVERIFY(w->Prior());
    QVERIFY(w->Next());
    QCOMPARE(w->cbBanche->currentText(), u"Poste Italiane"_s);
}

void TstExportWizard::supportNameAndFile()
{
    TfwEbdExport_Banche *w = Open();
    ToExportPage({24001});
    const QString dir = TfwEbdExport_Banche::DefaultExportDir();
    QVERIFY(QFileInfo(dir).isDir());
    QCOMPARE(QDir::fromNativeSeparators(w->cbBancaFile->text()), QDir(dir).filePath(u"SDD20250110.xml"_s));
    w->edNOME_SUPPORTO->setText(u"a/b:c"_s);
    emit w->edNOME_SUPPORTO->editingFinished();
    QCOMPARE(w->edNOME_SUPPORTO->text(), u"abc"_s);
    QCOMPARE(QDir::fromNativeSeparators(w->cbBancaFile->text()), QDir(dir).filePath(u"abc20250110.xml"_s));
    QCOMPARE(w->Disposizioni().first().Intestazione.NomeSupporto, u"SDD20250110"_s);   // until the next refresh
    (*m_messages)->SaveNames << QDir(m_home).filePath(u"altro.xml"_s);
    w->buBancaFile->click();
    QCOMPARE(QDir::fromNativeSeparators(w->cbBancaFile->text()), QDir(m_home).filePath(u"altro.xml"_s));
}

// The demo database's first start leaves the school's bank settings, and
// never replaces the office's own.
void TstExportWizard::demoSettings()
{
    TfwEbdExport_Banche::WriteDemoSettings();
    {
        QSettings settings(TfwEbdExport_Banche::SettingsFileName(), QSettings::IniFormat);
        QCOMPARE(settings.value(u"Dati/Mittente"_s).toString(), u"VALD812C"_s);
        QCOMPARE(settings.value(u"Dati/CreditIdent"_s).toString(), u"IT27ZZZ90012340187"_s);
        QCOMPARE(settings.value(u"Dati/Banca"_s).toString(), u"Credito Cooperativo di Serralta"_s);
        QCOMPARE(settings.value(u"Dati/GiorniPreavviso"_s).toInt(), 14);
        settings.setValue(u"Dati/Mittente"_s, u"ALTRO"_s);
    }
    TfwEbdExport_Banche::WriteDemoSettings();
    QSettings settings(TfwEbdExport_Banche::SettingsFileName(), QSettings::IniFormat);
    QCOMPARE(settings.value(u"Dati/Mittente"_s).toString(), u"ALTRO"_s);
    TfwEbdExport_Banche *w = Open();
    ToExportPage({24001});
    QCOMPARE(w->edMittente->text(), u"ALTRO"_s);
    QCOMPARE(w->cbBanche->currentText(), u"Credito Cooperativo di Serralta"_s);
}

// The demo's RID mandates carry their signature dates, but three.
void TstExportWizard::demoMandates()
{
    const QString rid = u"SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iMpgId = 1 AND sAcbIBan IS NOT NULL AND iAcbId < 900000 "_s;
    QCOMPARE(TTestDatabase::Scalar(rid + u"AND dAcbDataMandato IS NULL"_s).toInt(), 3);
    QVERIFY(TTestDatabase::Scalar(rid).toInt() > 250);
    QCOMPARE(TTestDatabase::Scalar(rid + u"AND dAcbDataMandato NOT BETWEEN '2016-09-01' AND '2024-09-30'"_s).toInt(), 0);
}

void TstExportWizard::screenshots()
{
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    TfwEbdExport_Banche *w = Open();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTest::qWait(20);
    QVERIFY(w->grab().save(dir.filePath(u"export_banche_parametri.png"_s)));
    CheckNothingCut(w);
    w->deDataDal->setDate(From);
    w->deDataAl->setDate(To);
    QVERIFY(w->Next());
    w->CheckListAction(w->lwClassi, TfwEbdExport_Banche::caSelectAll);
    QTest::qWait(20);
    QVERIFY(w->grab().save(dir.filePath(u"export_banche_classi.png"_s)));
    CheckNothingCut(w);
    QVERIFY(w->Next());
    QTest::qWait(20);
    QVERIFY(w->grab().save(dir.filePath(u"export_banche_esporta.png"_s)));
    CheckNothingCut(w);
}

QTEST_MAIN(TstExportWizard)
#include "tst_exportwizard.moc"

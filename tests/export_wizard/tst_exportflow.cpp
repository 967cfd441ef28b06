#include "EbdFwExport_Banche.h"
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
#include "ebdUSddValidate.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using namespace sddfix;

// "Export banche" from the checklist to the file: the problems and their
// exclusion, the file with its log and the payments, and every way the
// export may fail leaving the chosen file as it was and nothing recorded.
class TstExportFlow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void checklist();
    void exportRecordingThePayments();
    void replacingAFile();
    void failuresLeaveNothing();
    void twoExportsInTheSameSecond();
    void screenshot();
    void theDemoSchool();

private:
    // Pages 1 to 4 with the test's pupils picked.
    TfwEbdExport_Banche *ToChecklist();
    QString FileName() const { return QDir(m_files).filePath(u"sdd.xml"_s); }
    // The log rows of the exports made here: the demo school's own log
    // keeps the ids below the program's generator.
    static int Count(const QString &table, const QString &where = QString())
    {
        const QString key = table == u"TEsd_EsportazSdd"_s ? u"iEsdId"_s : u"iEtxId"_s;
        return TTestDatabase::Scalar(u"SELECT COUNT(*) FROM %1 WHERE %2 >= %3%4"_s.arg(table, key).arg(FirstId)
                                     .arg(where.isEmpty() ? QString() : u" AND "_s + where)).toInt();
    }
    static constexpr int FirstId = 1000000;
    static QDate PaidOn(int instalment)
    {
        return TTestDatabase::Scalar(u"SELECT dCacDataPagamento FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {instalment}).toDate();
    }
    QStringList ChecklistRows() const;
    void WriteSettings(const QString &cuc, const QString &creditorId);

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    std::unique_ptr<TVtFixedClock> m_clock;
    std::unique_ptr<TfwEbdExport_Banche> m_wizard;
    QString m_home, m_files;
    TReason m_reason;
    QList<int> m_pupils;
    // Instalments: the good family's (December, January), and those of the
    // holder without IBAN, with a wrong IBAN, of the pupil without a code.
    QList<int> m_good;
    int m_noIban = 0, m_badIban = 0, m_noCode = 0;
};

namespace {
const QString IbanA = u"IT60X0542811101000000123456"_s;
const QString WrongCheck = u"IT61X0542811101000000123456"_s;
const QString Cuc = u"VALD812C"_s, CreditorId = u"IT27ZZZ90012340187"_s;
const QString Success = u"File prodotto con successo. Si vuole aprire la cartella relativa?"_s;
}

void TstExportFlow::initTestCase()
{
    RegisterVardellaModules();
    m_home = QDir(TTestDatabase::WorkDir()).filePath(u"home"_s);
    m_files = QDir(TTestDatabase::WorkDir()).filePath(u"files"_s);
    qputenv("VARDELLA_HOME", m_home.toUtf8());
    qputenv("HOME", QDir(m_home).filePath(u"utente"_s).toUtf8());
    InstallBankFiles(m_home);
    QVERIFY(QDir().mkpath(QStringLiteral(VARDELLA_SCREENSHOT_DIR)));
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstExportFlow::WriteSettings(const QString &cuc, const QString &creditorId)
{
    QSettings settings(TfwEbdExport_Banche::SettingsFileName(), QSettings::IniFormat);
    settings.clear();
    settings.setValue(u"Dati/Mittente"_s, cuc);
    settings.setValue(u"Dati/CreditIdent"_s, creditorId);
    settings.sync();
}

void TstExportFlow::init()
{
    (*m_messages)->Clear();
    m_clock = std::make_unique<TVtFixedClock>(QDateTime(QDate(2025, 1, 10), QTime(10, 30, 5)));
    WriteSettings(Cuc, CreditorId);
    QDir(m_files).removeRecursively();
    QVERIFY(QDir().mkpath(m_files));
    QVERIFY(OpenBillingModule(*m_db));
    m_reason = AddReason(u"Mensa di prova"_s, {{u"Mensa dicembre"_s, TVtMoney(4.35), QDate(2024, 12, 16)},
                                               {u"Mensa gennaio"_s, TVtMoney(60.0), QDate(2025, 1, 27)}});
    auto family = [this](const QString &surname, const QString &code, const QString &iban, const QDate &mandate) {
        const int pupil = AddPupil(surname, u"Anna"_s, 24001, code);
        const int parent = AddPerson(surname, u"Marco"_s);
        AddDwelling(parent, u"Via Roma 1"_s, 2, 1);
        const int assignment = Assign(AddHolder(pupil, parent, iban, Rid, mandate), m_reason.Id);
        m_pupils << pupil;
        return assignment;
    };
    m_pupils.clear();
    const int good = family(u"Albani"_s, u"T00001"_s, IbanA, QDate(2019, 9, 20));
    m_good = {InstalmentOf(good, m_reason.Components[0]), InstalmentOf(good, m_reason.Components[1])};
    m_noIban = InstalmentOf(family(u"Benzi"_s, u"T00002"_s, QString(), QDate(2019, 9, 20)), m_reason.Components[1]);
    m_badIban = InstalmentOf(family(u"Corti"_s, u"T00003"_s, WrongCheck, QDate(2019, 9, 20)), m_reason.Components[1]);
    m_noCode = InstalmentOf(family(u"Dossi"_s, QString(), IbanA, QDate(2019, 9, 20)), m_reason.Components[1]);
    // The three with problems owe only January.
    TTestDatabase::Exec(u"DELETE FROM TCac_CcaAcbCau WHERE iCcaId = %1 AND iCacId <> %2"_s.arg(m_reason.Components[0])
                            .arg(m_good[0]));
}

void TstExportFlow::cleanup()
{
    m_wizard.reset();
    CloseBillingModule();
    m_clock.reset();
}

TfwEbdExport_Banche *TstExportFlow::ToChecklist()
{
    m_wizard.reset(qobject_cast<TfwEbdExport_Banche *>(TVtFormRegistry::CreateForm(u"TfwEbdExport_Banche"_s)));
    TfwEbdExport_Banche *w = m_wizard.get();
    w->show();
    w->deDataDal->setDate(QDate(2024, 9, 1));
    w->deDataAl->setDate(QDate(2025, 8, 31));
    if (!w->Next())
        return nullptr;
    for (int i = 0; i < w->lwClassi->count(); ++i)
        if (w->lwClassi->item(i)->data(Qt::UserRole).toInt() == 24001)
            w->lwClassi->item(i)->setCheckState(Qt::Checked);
    const int ana = w->qquAlunni->FieldByName(u"iAnaId"_s)->Index;
    for (int r = 0; r < w->qquAlunni->RecordCount(); ++r)
        if (m_pupils.contains(w->qquAlunni->RowValue(r, ana).toInt()))
            w->grAlunni->selectionModel()->select(w->grAlunni->model()->index(w->grAlunni->ViewRow(r), 0),
                                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
    w->cbBancaFile->clear();
    if (!w->Next())
        return nullptr;
    w->cbBancaFile->setText(FileName());
    if (!w->Next())
        return nullptr;
    return w;
}

QStringList TstExportFlow::ChecklistRows() const
{
    QStringList rows;
    for (int r = 0; r < m_wizard->grControlli->rowCount(); ++r) {
        QStringList cells;
        for (int c = 1; c < 6; ++c)
            cells << (m_wizard->grControlli->item(r, c) ? m_wizard->grControlli->item(r, c)->text() : QString());
        rows << cells.join(u" | "_s);
    }
    return rows;
}

void TstExportFlow::checklist()
{
    // An earlier export, not recorded, presented the good family FRST.
    const int earlier = LogExport(QDateTime(QDate(2024, 12, 2), QTime(9, 0)), u"SDD20241202090000"_s, false);
    LogTransaction(earlier, 1, Mandate(u"T00001"_s), IbanA, u"FRST"_s, QDate(2024, 12, 16), 435);
    WriteSettings(QString(), u"IT28ZZZ90012340187"_s);
    TfwEbdExport_Banche *w = ToChecklist();
    QVERIFY(w);
    QCOMPARE(w->ActivePageIndex(), int(TfwEbdExport_Banche::tsControlli));
    const QString notice = u"Avviso: Data di incasso %1 con preavviso inferiore a 14 giorni"_s;
    QCOMPARE(ChecklistRows(), (QStringList{
        u"Intestazione del file |  |  |  | Errore: Codice CUC mancante; Errore: Creditor Identifier mancante o non valido"_s,
        u"ALBANI MARCO | 64,35 | 27/01/2025 | FRST | Avviso: FRST già presentato per questo mandato il 02/12/2024"_s,
        u"BENZI MARCO | 60,00 | 27/01/2025 | FRST | Errore: IBAN mancante"_s,
        u"CORTI MARCO | 60,00 | 27/01/2025 | FRST | Errore: IBAN non valido"_s,
        u"DOSSI MARCO | 60,00 | 27/01/2025 | FRST | Errore: Riferimento del mandato mancante"_s}));
    QVERIFY(!w->grControlli->item(0, 0)->flags().testFlag(Qt::ItemIsUserCheckable));
    QVERIFY(w->grControlli->item(1, 0)->flags().testFlag(Qt::ItemIsUserCheckable));
    QCOMPARE(w->laProblemi->text(), u"Disposizioni con problemi: 5 (errori: 4, avvisi: 1)"_s);
    QCOMPARE(w->laDaEsportare->text(), u"Da esportare: 4 disposizioni per 244,35 €. Escluse: 0."_s);
    QVERIFY(!w->buOk->isEnabled());
    // A header error is mended on page 3 only.
    w->buEscludiErrori->click();
    QVERIFY(!w->buOk->isEnabled());
    QCOMPARE(w->laDaEsportare->text(), u"Da esportare: 1 disposizioni per 64,35 €. Escluse: 3."_s);
    QVERIFY(w->Prior());
    w->edMittente->setText(Cuc);
    w->edCREDITOR_IDENT->setText(u" it27 zzz 90012340187"_s);
    QVERIFY(w->Next());
    QCOMPARE(ChecklistRows().size(), 4);   // exclusions kept across the pages
    QCOMPARE(w->grControlli->item(1, 0)->checkState(), Qt::Checked);
    QVERIFY(w->buOk->isEnabled());
    // Notice days: a later date, more warnings; saved with the export.
    w->seGiorniPreavviso->setValue(20);
    QVERIFY(ChecklistRows()[0].endsWith(u"Avviso: FRST già presentato per questo mandato il 02/12/2024; "_s
                                        + notice.arg(u"27/01/2025"_s).replace(u"14"_s, u"20"_s)));
    // Including an erroneous row again disables OK.
    w->grControlli->item(1, 0)->setCheckState(Qt::Unchecked);
    QVERIFY(!w->buOk->isEnabled());
    w->grControlli->item(1, 0)->setCheckState(Qt::Checked);
    QVERIFY(w->buOk->isEnabled());
    (*m_messages)->Answers << mrNo;
    w->buOk->click();
    QVERIFY(QFile::exists(FileName()));
    QSettings settings(TfwEbdExport_Banche::SettingsFileName(), QSettings::IniFormat);
    QCOMPARE(settings.value(u"Dati/GiorniPreavviso"_s).toInt(), 20);
    QCOMPARE(settings.value(u"Dati/Mittente"_s).toString(), Cuc);
    QCOMPARE(settings.value(u"Dati/Banca"_s).toString(), u"Credito Cooperativo di Serralta"_s);
    // The excluded payers are not in the file.
    const QByteArray xml = [this] {
        QFile f(FileName());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    QVERIFY(xml.contains("ALBANI MARCO"));
    QVERIFY(!xml.contains("BENZI") && !xml.contains("CORTI") && !xml.contains("DOSSI"));
    QCOMPARE(Count(u"TEtx_TransazSdd"_s, u"iEsdId <> %1"_s.arg(earlier)), 1);
}

void TstExportFlow::exportRecordingThePayments()
{
    const double saldo2024 = TTestDatabase::Scalar(u"SELECT fCaiSaldoIn FROM TCai_CassaIst WHERE iSprIstId = 2 AND iCaiEsercizioFin = 2024"_s).toDouble();
    const double saldo2025 = TTestDatabase::Scalar(u"SELECT fCaiSaldoIn FROM TCai_CassaIst WHERE iSprIstId = 2 AND iCaiEsercizioFin = 2025"_s).toDouble();
    TfwEbdExport_Banche *w = ToChecklist();
    QVERIFY(w);
    w->ckInsMov->setChecked(true);
    w->buEscludiErrori->click();
    QVERIFY(w->buOk->isEnabled());
    (*m_messages)->Answers << mrYes;
    w->buOk->click();
    QVERIFY(w->isVisible());   // the wizard stays open
    QCOMPARE((*m_messages)->LastText(), Success);
    QCOMPARE((*m_messages)->OpenedDocuments, QStringList{m_files});
    QVERIFY(ValidateCBISDDReqLogMsgFile(FileName()).isEmpty());
    // The log: one export, one debit, two instalments, payments recorded.
    QCOMPARE(Count(u"TEsd_EsportazSdd"_s, u"lEsdPagamenti = 1 AND sEsdMsgId = 'SDD20250110103005'"_s), 1);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT sEsdFile FROM TEsd_EsportazSdd WHERE iEsdId >= ?"_s, {FirstId}).toString(), FileName());
    QCOMPARE(TTestDatabase::Scalar(u"SELECT iEsdTotCent FROM TEsd_EsportazSdd WHERE iEsdId >= ?"_s, {FirstId}).toLongLong(), qint64(6435));
    QCOMPARE(Count(u"TEtx_TransazSdd"_s), 1);
    QCOMPARE(Count(u"TEtxCac"_s), 2);
    // Paid on their own due dates into the working account, in two years.
    QCOMPARE(PaidOn(m_good[0]), QDate(2024, 12, 16));
    QCOMPARE(PaidOn(m_good[1]), QDate(2025, 1, 27));
    QCOMPARE(TTestDatabase::Scalar(u"SELECT iSprIstId FROM TCac_CcaAcbCau WHERE iCacId = ?"_s, {m_good[1]}).toInt(), Account);
    QVERIFY(!PaidOn(m_noIban).isValid() && !PaidOn(m_badIban).isValid() && !PaidOn(m_noCode).isValid());
    const double now2024 = TTestDatabase::Scalar(u"SELECT fCaiSaldoIn FROM TCai_CassaIst WHERE iSprIstId = 2 AND iCaiEsercizioFin = 2024"_s).toDouble();
    const double now2025 = TTestDatabase::Scalar(u"SELECT fCaiSaldoIn FROM TCai_CassaIst WHERE iSprIstId = 2 AND iCaiEsercizioFin = 2025"_s).toDouble();
    QCOMPARE(now2024, saldo2024 + 4.35);
    QCOMPARE(now2025, saldo2025 + 60);
    // A second OK finds nothing more to collect.
    QCOMPARE(w->laDaEsportare->text(), u"Nessuna disposizione da esportare."_s);
    QVERIFY(!w->buOk->isEnabled());
    QVERIFY(w->Prior());
    QCOMPARE(w->laDisp->text(), u"Totale disposizioni: 3"_s);
}

void TstExportFlow::replacingAFile()
{
    QFile old(FileName());
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("contenuto di prima\n");
    old.close();
    TfwEbdExport_Banche *w = ToChecklist();
    QVERIFY(w);
    w->ckInsMov->setChecked(true);
    w->buEscludiErrori->click();
    (*m_messages)->Answers << mrNo;
    w->buOk->click();
    QCOMPARE((*m_messages)->LastText(), u"Il file esiste già. Sostituirlo ?"_s);
    QCOMPARE((*m_messages)->Messages.last().Type, mtWarning);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("contenuto di prima\n"));
    old.close();
    QCOMPARE(Count(u"TEsd_EsportazSdd"_s), 0);
    QVERIFY(!PaidOn(m_good[0]).isValid());
    // Yes: replaced; then its payments are recorded and it may not be replaced.
    (*m_messages)->Answers << mrYes << mrNo;
    w->buOk->click();
    QCOMPARE(Count(u"TEsd_EsportazSdd"_s, u"lEsdPagamenti = 1"_s), 1);
    QCOMPARE(QDir(m_files).entryList(QDir::Files | QDir::Hidden), QStringList{u"sdd.xml"_s});   // nothing left beside it
    const QByteArray recorded = [this] {
        QFile f(FileName());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    // Dossi gets a code: a debit to write, into the same file.
    TTestDatabase::Exec(u"INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (%1, %1, 1, 'T00004')"_s
                            .arg(m_pupils[3]));
    QVERIFY(w->Prior() && w->Prior() && w->Next());
    w->cbBancaFile->setText(FileName());
    QVERIFY(w->Next());
    // Still excluded from the first export, but listed: taken back.
    QCOMPARE(ChecklistRows().last(), u"DOSSI MARCO | 60,00 | 27/01/2025 | FRST | "_s);
    QCOMPARE(w->grControlli->item(2, 0)->checkState(), Qt::Checked);
    QVERIFY(!w->buOk->isEnabled());
    w->grControlli->item(2, 0)->setCheckState(Qt::Unchecked);
    QVERIFY2(w->buOk->isEnabled(), qPrintable(ChecklistRows().join(u'\n')));
    (*m_messages)->Clear();
    w->buOk->click();
    QCOMPARE((*m_messages)->Texts(),
             QStringList{u"Il file %1 contiene un'esportazione i cui pagamenti sono già registrati: scegliere un altro nome."_s
                             .arg(QDir::toNativeSeparators(FileName()))});
    QFile f(FileName());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), recorded);
    QCOMPARE(Count(u"TEsd_EsportazSdd"_s), 1);
    QVERIFY(!PaidOn(m_noCode).isValid());
}

void TstExportFlow::failuresLeaveNothing()
{
    TfwEbdExport_Banche *w = ToChecklist();
    QVERIFY(w);
    w->ckInsMov->setChecked(true);
    w->buEscludiErrori->click();
    // A folder that cannot be written: a file stands where the folder should be.
    QFile blocker(QDir(m_files).filePath(u"bloccata"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    w->Prior();
    w->cbBancaFile->setText(QDir(m_files).filePath(u"bloccata/sdd.xml"_s));
    w->Next();
    w->buOk->click();
    QVERIFY2((*m_messages)->LastText().startsWith(u"Errore in esportazione XML: \r\n"_s), qPrintable((*m_messages)->LastText()));
    QCOMPARE(Count(u"TEsd_EsportazSdd"_s), 0);
    // The bank's schema, installed, rejects the file: nothing saved.
    const QString schema = QDir(m_home).filePath(u"etc/Ebd/exp_banche/CBISDDReqLogMsg.00.01.00.xsd"_s);
    QFile xsd(schema);
    QVERIFY(xsd.open(QIODevice::WriteOnly));
    xsd.write("<?xml version=\"1.0\"?><xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
              "targetNamespace=\"urn:CBI:xsd:CBISDDReqLogMsg.00.01.00\" elementFormDefault=\"qualified\">"
              "<xs:element name=\"Altro\" type=\"xs:string\"/></xs:schema>");
    xsd.close();
    w->Prior();
    w->cbBancaFile->setText(FileName());
    w->Next();
    (*m_messages)->Clear();
    w->buOk->click();
    QFile::remove(schema);
    QVERIFY2((*m_messages)->LastText().startsWith(
                 u"Errore in esportazione XML: \r\nIl file generato non è conforme allo schema:\r\nRiga "_s),
             qPrintable((*m_messages)->LastText()));
    QVERIFY(!QFile::exists(FileName()));
    QCOMPARE(QDir(m_files).entryList(QDir::Files | QDir::Hidden), QStringList{u"bloccata"_s});
    QCOMPARE(Count(u"TEsd_EsportazSdd"_s), 0);
    // An instalment paid after the selection: no file, nothing recorded, the
    // old file intact.
    QFile old(FileName());
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("vecchio");
    old.close();
    Pay(m_good[1], QDate(2025, 1, 9), 1);
    (*m_messages)->Clear();
    (*m_messages)->Answers << mrYes;
    w->buOk->click();
    QVERIFY2((*m_messages)->LastText().startsWith(u"Errore in esportazione XML: \r\n"_s), qPrintable((*m_messages)->LastText()));
    QVERIFY2((*m_messages)->LastText().contains(
                 u"Una rata dell'esportazione risulta già pagata o modificata: nessun pagamento è stato registrato."_s),
             qPrintable((*m_messages)->LastText()));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("vecchio"));
    old.close();
    QCOMPARE(Count(u"TEsd_EsportazSdd"_s), 0);
    QCOMPARE(Count(u"TEtxCac"_s), 0);
    QVERIFY(!PaidOn(m_good[0]).isValid());
    QCOMPARE(QDir(m_files).entryList(QDir::Files | QDir::Hidden).size(), 2);
    // The settings are saved all the same.
    QSettings settings(TfwEbdExport_Banche::SettingsFileName(), QSettings::IniFormat);
    QCOMPARE(settings.value(u"Dati/Banca"_s).toString(), u"Credito Cooperativo di Serralta"_s);
}

void TstExportFlow::twoExportsInTheSameSecond()
{
    TfwEbdExport_Banche *w = ToChecklist();
    QVERIFY(w);
    w->buEscludiErrori->click();
    w->buOk->click();
    w->Prior();
    w->cbBancaFile->setText(QDir(m_files).filePath(u"altro.xml"_s));
    w->Next();
    w->buOk->click();
    QCOMPARE(TTestDatabase::Column(u"SELECT sEsdMsgId FROM TEsd_EsportazSdd WHERE iEsdId >= ? ORDER BY sEsdMsgId"_s, {FirstId}),
             (QVariantList{u"SDD20250110103005"_s, u"SDD20250110103006"_s}));
    QCOMPARE(TTestDatabase::Scalar(u"SELECT dEsdCreazione FROM TEsd_EsportazSdd WHERE sEsdMsgId = 'SDD20250110103006'"_s)
                 .toDateTime(), QDateTime(QDate(2025, 1, 10), QTime(10, 30, 6)));
    QFile f(QDir(m_files).filePath(u"altro.xml"_s));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray xml = f.readAll();
    QVERIFY(xml.contains("<MsgId>SDD20250110103006</MsgId>"));
    QVERIFY(xml.contains("<CreDtTm>2025-01-10T10:30:06</CreDtTm>"));
}

void TstExportFlow::screenshot()
{
    TfwEbdExport_Banche *w = ToChecklist();
    QVERIFY(w);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QTest::qWait(20);
    QVERIFY(w->grab().save(QDir(QStringLiteral(VARDELLA_SCREENSHOT_DIR)).filePath(u"export_banche_controlli.png"_s)));
    CheckNothingCut(w);
}

// The demo school as a new user meets it: the whole school year, every
// class, no pupil picked; the problem rows excluded, the payments recorded.
void TstExportFlow::theDemoSchool()
{
    TTestDatabase::Exec(u"DELETE FROM TAcbCau WHERE iAcbCauId >= %1"_s.arg(FirstId));   // the tests' families owe nothing
    m_wizard.reset(qobject_cast<TfwEbdExport_Banche *>(TVtFormRegistry::CreateForm(u"TfwEbdExport_Banche"_s)));
    TfwEbdExport_Banche *w = m_wizard.get();
    w->show();
    w->deDataDal->setDate(QDate(2024, 9, 1));
    w->deDataAl->setDate(QDate(2025, 8, 31));
    w->ckInsMov->setChecked(true);
    QVERIFY(w->Next());
    w->CheckListAction(w->lwClassi, TfwEbdExport_Banche::caSelectAll);
    QVERIFY(w->Next());
    w->cbBancaFile->setText(FileName());

    // What is left to collect, independently of the wizard: unpaid RID
    // instalments of the year with something to pay, not in cash.
    const QString owed = u"FROM TCac_CcaAcbCau Cac JOIN TAcbCau AcbCau ON AcbCau.iAcbCauId = Cac.iAcbCauId "
                         "JOIN TAcb_AluCoordBan Acb ON Acb.iAcbId = AcbCau.iAcbId "
                         "JOIN TCau_Causali Cau ON Cau.iCauId = AcbCau.iCauId "
                         "WHERE Cac.dCacDataPagamento IS NULL AND Cac.fCacImporto > 0.005 AND Cau.lCauTipo = 0 "
                         "AND COALESCE(Cac.iMpgId, Acb.iMpgId) = 1 "
                         "AND Cac.dCacDataScadenza BETWEEN '2024-09-01' AND '2025-08-31'"_s;
    QCOMPARE(w->Rate().size(), TTestDatabase::Scalar(u"SELECT COUNT(*) "_s + owed).toInt());
    // Cash, the instalments' own mode, keeps two out.
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) "_s + owed.section(u" WHERE "_s, 0, 0)
                                   + u" WHERE Cac.dCacDataPagamento IS NULL AND Cac.iMpgId = 3 AND Acb.iMpgId = 1"_s).toInt(), 2);

    QHash<int, QList<const TSddDisposizione *>> byParent;
    QStringList frst;
    for (const TSddDisposizione &d : w->Disposizioni()) {
        byParent[d.Ultima.IdAnaGen] << &d;
        if (d.Ultima.TipoSequenza == u"FRST"_s)
            frst << d.Ultima.Debitore;
    }
    // One parent pays from two accounts: two debits.
    QStringList twoAccounts;
    for (const auto &debits : std::as_const(byParent))
        if (debits.size() > 1) {
            QVERIFY(debits[0]->Ultima.Iban != debits[1]->Ultima.Iban);
            twoAccounts << debits[0]->Ultima.Debitore;
        }
    QCOMPARE(twoAccounts, QStringList{u"BENEDETTI CLAUDIO"_s});
    // A parent with a domicile besides the residence: each instalment once.
    const QVariantList domiciled = TTestDatabase::Column(
        u"SELECT DISTINCT Acb.iAnaId_Gen FROM TAcb_AluCoordBan Acb JOIN TAnaAbt AnaAbt ON AnaAbt.iAnaId = Acb.iAnaId_Gen "
        "JOIN TAbtLoc AbtLoc ON AbtLoc.iAnaAbtId = AnaAbt.iAnaAbtId WHERE AbtLoc.iLocId = 1 AND Acb.iMpgId = 1"_s);
    int withDomicile = 0;
    for (const QVariant &parent : domiciled) {
        const auto debits = byParent.value(parent.toInt());
        if (debits.isEmpty())
            continue;
        QCOMPARE(debits.size(), 1);
        QCOMPARE(debits[0]->Cnt, TTestDatabase::Scalar(u"SELECT COUNT(*) "_s + owed + u" AND Acb.iAnaId_Gen = ?"_s,
                                                       {parent}).toInt());
        ++withDomicile;
    }
    QVERIFY(withDomicile >= 1);
    // The January file of the log: the payer who changed IBAN since is
    // presented FRST again, the returned debit's instalment is to collect.
    QCOMPARE(frst, QStringList{u"VITALE GRETA"_s});
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TEtx_TransazSdd WHERE sEtxDebitore = 'VITALE GRETA' "
                                   "AND sEtxIban <> ?"_s, {byParent.value(TTestDatabase::Scalar(
                                       u"SELECT iAnaId_Gen FROM TEtx_TransazSdd WHERE sEtxDebitore = 'VITALE GRETA'"_s)
                                       .toInt()).value(0)->Ultima.Iban}).toInt(), 1);
    const QVariant returned = TTestDatabase::Scalar(u"SELECT EtxCac.iCacId FROM TEtxCac EtxCac JOIN TEtx_TransazSdd Etx "
                                                    "ON Etx.iEtxId = EtxCac.iEtxId WHERE Etx.dEtxStorno IS NOT NULL"_s);
    QVERIFY(std::any_of(w->Rate().begin(), w->Rate().end(), [&](const TSddRata &r) { return r.IdCac == returned.toInt(); }));

    // The checklist: the problem rows, and the days the bank does not collect.
    const int debits = w->Disposizioni().size();
    QVERIFY(w->Next());
    const QStringList rows = ChecklistRows();
    for (const QString &problem : {u"Errore: IBAN mancante"_s, u"Errore: IBAN non valido"_s,
                                   u"Errore: Riferimento del mandato mancante"_s,
                                   u"Avviso: Data di incasso 18/04/2025 non lavorativa per TARGET2"_s,
                                   u"Avviso: Data di incasso 01/05/2025 non lavorativa per TARGET2"_s,
                                   u"Avviso: Data di firma del mandato mancante: sarà indicata 01/02/2012"_s})
        QCOMPARE(rows.filter(problem).size(), 1);
    QCOMPARE(rows.filter(u"Errore: "_s).size(), 3);
    QVERIFY(!w->buOk->isEnabled());
    w->buEscludiErrori->click();
    QVERIFY(w->buOk->isEnabled());
    (*m_messages)->Answers << mrNo;
    w->buOk->click();
    QCOMPARE((*m_messages)->LastText(), Success);
    QVERIFY(ValidateCBISDDReqLogMsgFile(FileName()).isEmpty());
    // Every debit but the three written and collected on its due dates
    // into the working account; the cash rows agree with the instalments.
    QCOMPARE(Count(u"TEtx_TransazSdd"_s), debits - 3);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TEtxCac EtxCac JOIN TCac_CcaAcbCau Cac ON Cac.iCacId = EtxCac.iCacId "
                                   "WHERE EtxCac.iEtxId >= ? AND (Cac.dCacDataPagamento IS DISTINCT FROM Cac.dCacDataScadenza "
                                   "OR Cac.iSprIstId IS DISTINCT FROM 2)"_s, {FirstId}).toInt(), 0);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) "_s + owed).toInt(), 3);
    for (int year : {2024, 2025})
        QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM PEbc_CaiVerifica(?, 1)"_s, {year}).toInt(), 0);
}

QTEST_MAIN(TstExportFlow)
#include "tst_exportflow.moc"

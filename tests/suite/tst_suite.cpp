// The suite's sibling modules over the demo school: the people registry with
// its detail tabs, the signatories window and the other beneficiaries.
#include "AnaREMail.h"
#include "AnaRGpt.h"
#include "AnaRTel.h"
#include "BenFBeneficiari.h"
#include "KbaRAnaCitt.h"
#include "KbsFFirme.h"
#include "ModFAnagrafica.h"
#include "ModMAnaAtt.h"
#include "ModUSuite.h"
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "VtAttForm.h"
#include "VtDBComboBox.h"
#include "VtDBDateEdit.h"
#include "VtDBEdit.h"
#include "VtDBGrid.h"
#include "VtDataAction.h"
#include "VtException.h"
#include "VtFormRegistry.h"
#include "VtParams.h"
#include "VtQueryCollection.h"
#include "VtUtils.h"
#include "frVtDBROGrid.h"
#include "frVtDBRWGrid.h"
#include "kbdREdeExtra.h"
#include "kbsMActivations.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QSet>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>

namespace {
using TFrameList = QList<QPair<QString, QString>>;

const QString ReadOnlyText = QStringLiteral("I dati sono in sola lettura.");
const QString DeleteQuestion = QStringLiteral("Confermi la cancellazione del record?");
const QString PeriodText = QStringLiteral("La data di fine non può precedere la data di inizio.");

QVariant Db(const QString &sql, const QVariantList &values = {})
{
    return TTestDatabase::Scalar(sql, values);
}

// Ids of the first column of a select.
QSet<int> Ids(const QString &sql)
{
    QSet<int> ids;
    for (const QVariant &v : TTestDatabase::Column(sql))
        ids << v.toInt();
    return ids;
}

QSet<int> DataSetIds(TVtQueryCollection *ds, const QString &field)
{
    QSet<int> ids;
    for (int r = 0; r < ds->RecordCount(); ++r)
        ids << ds->RowValue(r, ds->FieldByName(field)->Index).toInt();
    return ids;
}

// The frame lists the program's command module gives for a category.
void FramesFor(int category, TFrameList &frames)
{
    const TFrameList common = {{QStringLiteral("TfrAnaTel"), QStringLiteral("Telefoni")},
                               {QStringLiteral("TfrAnaEMail"), QStringLiteral("E-Mail")},
                               {QStringLiteral("TfrAnaAbt"), QStringLiteral("Indirizzi")}};
    if (category == 6)
        frames << qMakePair(QStringLiteral("TfrKbaAnaCitt"), QStringLiteral("Cittadinanze"));
    frames << common;
    if (category == 1)
        frames << qMakePair(QStringLiteral("TfrAnaGpt"), QStringLiteral("Genitori/Tutori"));
    if (category == 6)
        frames << qMakePair(QStringLiteral("TfrkbdEdeExtra"), QStringLiteral("Stato occupazionale"));
}

template <class T>
T *Detail(TfmModAnagrafica *fm)
{
    for (TfrVtDB *f : fm->DetailFrames())
        if (auto *t = qobject_cast<T *>(f))
            return t;
    return nullptr;
}
}

class TstSuite : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fieldChecks_data();
    void fieldChecks();
    void registryListsTheCategoryWithItsTabs();
    void detailFramesFollowTheChosenPerson();
    void detailFramesWriteAndTheReadOnlySwitchRefuses();
    void oneWindowPerCaption();
    void filterSpecificsAreBoundNotPasted();
    void adultEducationTabs();
    void signatoriesInsertEditDelete();
    void otherBeneficiariesListInsertDelete();

private:
    TfmModAnagrafica *OpenRegistry(const QString &caption, int category, const QString &filter = QString());

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TdmModAnaAtt> m_ana;
    QList<int> m_askedCategories;
    QList<QPointer<QWidget>> m_windows;
};

void TstSuite::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_ana = std::make_unique<TdmModAnaAtt>();
    m_ana->SetConnection(m_db->Connection());
    m_ana->OnGetFrameList = [this](int category, TFrameList &frames) {
        m_askedCategories << category;
        FramesFor(category, frames);
    };
}

void TstSuite::init()
{
    m_db->Fresh();
}

void TstSuite::cleanup()
{
    for (const auto &w : m_windows)
        delete w.data();
    m_windows.clear();
    m_askedCategories.clear();
}

TfmModAnagrafica *TstSuite::OpenRegistry(const QString &caption, int category, const QString &filter)
{
    // As the program's command module does for each of its registry commands.
    m_ana->xafAnagrafica->SetCaption(caption);
    m_ana->AdmittedCategories = {category};
    m_ana->HiddenCategories = {};
    m_ana->FilterSpecifics = filter;
    if (!m_ana->xafAnagrafica->Execute())
        return nullptr;
    auto *fm = qobject_cast<TfmModAnagrafica *>(m_ana->xafAnagrafica->Form());
    if (fm)
        m_windows << fm;
    return fm;
}

void TstSuite::fieldChecks_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("message");
    const QString badPhone = QStringLiteral("Numero di telefono non valido: sono ammessi da 5 a 15 cifre, spazi e i segni + / . -");
    const QString badMail = QStringLiteral("Indirizzo e-mail non valido.");
    const QString badCode = QStringLiteral("Il codice fiscale deve avere 16 caratteri, la partita IVA 11 cifre.");
    QTest::newRow("tel mobile") << "tel" << "333 1234567" << true << "";
    QTest::newRow("tel intl") << "tel" << "+39 0381/200101" << true << "";
    QTest::newRow("tel empty") << "tel" << "" << false << "Indicare il numero di telefono.";
    QTest::newRow("tel letters") << "tel" << "0381 abc" << false << badPhone;
    QTest::newRow("tel short") << "tel" << "1234" << false << badPhone;
    QTest::newRow("tel long") << "tel" << "1234567890123456" << false << badPhone;
    QTest::newRow("mail ok") << "mail" << "anna.rossi@scuola.example.it" << true << "";
    QTest::newRow("mail no at") << "mail" << "anna.rossi.example.it" << false << badMail;
    QTest::newRow("mail no domain") << "mail" << "anna@example" << false << badMail;
    QTest::newRow("mail double dot") << "mail" << "anna..rossi@example.it" << false << badMail;
    QTest::newRow("mail empty") << "mail" << "" << false << "Indicare l'indirizzo e-mail.";
    QTest::newRow("cf person") << "cf" << "RGGMHL73P17X101D" << true << "";
    QTest::newRow("cf firm") << "cf" << "01234560157" << true << "";
    QTest::newRow("cf empty") << "cf" << "" << true << "";
    QTest::newRow("cf short") << "cf" << "RGGMHL73P17" << false << badCode;
    QTest::newRow("cf symbols") << "cf" << "RGGMHL73P17X101-" << false << badCode;
    QTest::newRow("period ok") << "period" << "2024-09-01|2025-08-31" << true << "";
    QTest::newRow("period same day") << "period" << "2024-09-01|2024-09-01" << true << "";
    QTest::newRow("period open") << "period" << "2024-09-01|" << true << "";
    QTest::newRow("period reversed") << "period" << "2024-09-01|2024-08-31" << false << PeriodText;
}

void TstSuite::fieldChecks()
{
    QFETCH(QString, kind);
    QFETCH(QString, value);
    QFETCH(bool, ok);
    QFETCH(QString, message);
    QString got;
    bool result = false;
    if (kind == QLatin1String("tel"))
        result = CheckPhoneNumber(value, true, got);
    else if (kind == QLatin1String("mail"))
        result = CheckEMailAddress(value, true, got);
    else if (kind == QLatin1String("cf"))
        result = CheckFiscalCode(value, got);
    else {
        const QStringList p = value.split(QLatin1Char('|'));
        const QVariant end = p[1].isEmpty() ? QVariant() : QVariant(QDate::fromString(p[1], Qt::ISODate));
        result = CheckPeriod(QDate::fromString(p[0], Qt::ISODate), end, got);
    }
    QCOMPARE(result, ok);
    QCOMPARE(got, message);
    // Optional contacts accept an empty value.
    if (value.isEmpty() && kind != QLatin1String("period")) {
        QString none;
        QVERIFY(kind == QLatin1String("tel") ? CheckPhoneNumber(value, false, none) : CheckEMailAddress(value, false, none));
        QVERIFY(none.isEmpty());
    }
}

void TstSuite::registryListsTheCategoryWithItsTabs()
{
    TScopedMessageService msg;
    TfmModAnagrafica *fm = OpenRegistry(QStringLiteral("Alunni"), 1);
    QVERIFY(fm);
    QCOMPARE(TVtFormRegistry::ClassNameOf(fm), QStringLiteral("TfmModAnagrafica"));
    QCOMPARE(fm->windowTitle(), QStringLiteral("Alunni"));
    QCOMPARE(m_askedCategories, QList<int>{1});

    // Every pupil of the demo school, and nobody else.
    const QSet<int> pupils = Ids(QStringLiteral("SELECT iAnaId FROM TAnaCag WHERE iCagId = 1"));
    const QSet<int> parents = Ids(QStringLiteral("SELECT iAnaId FROM TAnaCag WHERE iCagId = 2"));
    QVERIFY(pupils.size() > 100);
    const QSet<int> listed = DataSetIds(fm->xqcAnagrafica, QStringLiteral("IANAID"));
    QCOMPARE(listed, pupils);
    QVERIFY(!listed.intersects(parents));
    QCOMPARE(fm->frAnagrafica->grMain->model()->rowCount(), pupils.size());

    QStringList titles;
    for (int c = 0; c < fm->frAnagrafica->grMain->model()->columnCount(); ++c)
        titles << fm->frAnagrafica->grMain->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(titles, QStringList({QStringLiteral("Cognome"), QStringLiteral("Nome"), QStringLiteral("Codice fiscale"),
                                  QStringLiteral("Data di nascita"), QStringLiteral("Comune")}));
    // Ordered by surname, the town being the one of the first dwelling.
    fm->xqcAnagrafica->First();
    const QString first = fm->xqcAnagrafica->FieldByName(QStringLiteral("SANACOGNOME"))->AsString();
    QCOMPARE(first, Db(QStringLiteral("SELECT MIN(A.sAnaCognome) FROM TAna_Anagrafiche A INNER JOIN TAnaCag C ON C.iAnaId = A.iAnaId AND C.iCagId = 1")).toString());
    QVERIFY(fm->xqcAnagrafica->Locate(QStringLiteral("IANAID"), 3));
    QCOMPARE(fm->xqcAnagrafica->FieldByName(QStringLiteral("SCOMDESC"))->AsString(),
             Db(QStringLiteral("SELECT V.sComDesc FROM TAnaAbt AA INNER JOIN TAbt_Abitaz B ON B.iAbtId = AA.iAbtId "
                               "INNER JOIN VComCap V ON V.iComCapId = B.iComCapId WHERE AA.iAnaId = 3 AND AA.iAnaAbtNum = 1")).toString());
    QCOMPARE(fm->xqcAnagrafica->FieldByName(QStringLiteral("DANANASCITA"))->DisplayText(), QStringLiteral("28/03/2018"));

    // The tabs of the frame list, in its order, each a data frame of the named class.
    QCOMPARE(fm->pcDettagli->count(), 4);
    const QStringList captions = {QStringLiteral("Telefoni"), QStringLiteral("E-Mail"), QStringLiteral("Indirizzi"),
                                  QStringLiteral("Genitori/Tutori")};
    const QStringList classes = {QStringLiteral("TfrAnaTel"), QStringLiteral("TfrAnaEMail"), QStringLiteral("TfrAnaAbt"),
                                 QStringLiteral("TfrAnaGpt")};
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(fm->pcDettagli->tabText(i), captions[i]);
        QCOMPARE(TVtFormRegistry::ClassNameOf(fm->pcDettagli->widget(i)), classes[i]);
        QCOMPARE(fm->DetailFrames()[i], qobject_cast<TfrVtDB *>(fm->pcDettagli->widget(i)));
        QVERIFY(fm->DetailFrames()[i]->DataSet()->Active());
    }
    // A class nobody registered is left out rather than breaking the window.
    auto saved = m_ana->OnGetFrameList;
    m_ana->OnGetFrameList = [](int, TFrameList &frames) {
        frames << qMakePair(QStringLiteral("TfrNonRegistrato"), QStringLiteral("Altro"))
               << qMakePair(QStringLiteral("TfrAnaTel"), QStringLiteral("Telefoni"));
    };
    TfmModAnagrafica *staff = OpenRegistry(QStringLiteral("Personale"), 3);
    m_ana->OnGetFrameList = saved;
    QVERIFY(staff && staff != fm);
    QCOMPARE(staff->pcDettagli->count(), 1);
    QCOMPARE(staff->pcDettagli->tabText(0), QStringLiteral("Telefoni"));
    QCOMPARE(DataSetIds(staff->xqcAnagrafica, QStringLiteral("IANAID")),
             Ids(QStringLiteral("SELECT iAnaId FROM TAnaCag WHERE iCagId = 3")));
    QCOMPARE(staff->xqcAnagrafica->RecordCount(), 6);
    QVERIFY(msg->Messages.isEmpty());
}

void TstSuite::detailFramesFollowTheChosenPerson()
{
    TScopedMessageService msg;
    TfmModAnagrafica *fm = OpenRegistry(QStringLiteral("Alunni"), 1);
    QVERIFY(fm);
    fm->show();
    auto *tel = Detail<TfrAnaTel>(fm);
    auto *gpt = Detail<TfrAnaGpt>(fm);
    auto *eml = Detail<TfrAnaEMail>(fm);
    QVERIFY(tel && gpt && eml);

    // A pupil chosen in the grid as a user would: the tabs show that pupil's rows.
    const int pupil = 3;
    QVERIFY(fm->xqcAnagrafica->Locate(QStringLiteral("IANAID"), pupil));
    const int row = fm->xqcAnagrafica->RecNo();
    fm->xqcAnagrafica->SetRecNo(row == 0 ? 1 : 0);
    QVERIFY(fm->CurrentAnaId().toInt() != pupil);
    QVERIFY(fm->frAnagrafica->grMain->SelectViewRow(fm->frAnagrafica->grMain->ViewRow(row)));
    QCOMPARE(fm->CurrentAnaId().toInt(), pupil);
    QCOMPARE(tel->xqcMain->RecordCount(), Db(QStringLiteral("SELECT COUNT(*) FROM TAnaTel WHERE iAnaId = ?"), {pupil}).toInt());
    QVERIFY(tel->xqcMain->RecordCount() >= 1);
    QCOMPARE(DataSetIds(tel->xqcMain, QStringLiteral("IANAID")), QSet<int>{pupil});
    QCOMPARE(tel->xqcMain->FieldByName(QStringLiteral("SANATELNUMERO"))->AsString(),
             Db(QStringLiteral("SELECT FIRST 1 sAnaTelNumero FROM TAnaTel WHERE iAnaId = ? ORDER BY iAnaTelId"), {pupil}).toString());
    QCOMPARE(DataSetIds(gpt->xqcMain, QStringLiteral("IANAID_P")), Ids(QStringLiteral("SELECT iAnaId_p FROM TAnaGpt WHERE iAnaId = 3")));
    QCOMPARE(gpt->xqcMain->RecordCount(), 2);
    gpt->xqcMain->First();
    QCOMPARE(gpt->xqcMain->FieldByName(QStringLiteral("SGPTLDESC"))->AsString(), QStringLiteral("Padre"));
    QCOMPARE(gpt->xqcMain->FieldByName(QStringLiteral("SANACOGNOME"))->AsString(), QStringLiteral("Ruggieri"));
    QCOMPARE(gpt->xqcMain->FieldByName(QStringLiteral("SANANOME"))->AsString(), QStringLiteral("Michele"));
    gpt->xqcMain->Next();
    QCOMPARE(gpt->xqcMain->FieldByName(QStringLiteral("SGPTLDESC"))->AsString(), QStringLiteral("Madre"));
    QCOMPARE(gpt->xqcMain->FieldByName(QStringLiteral("SANACOGNOME"))->AsString(), QStringLiteral("Negrini"));
    // The parent's contacts come from the registry's phone and e-mail rows.
    QCOMPARE(gpt->xqcMain->FieldByName(QStringLiteral("SANAEMLINDIRIZZO"))->AsString(),
             QStringLiteral("martina.negrini@posta.example.it"));

    // Another pupil: every tab follows.
    const int other = 6;
    fm->xqcAnagrafica->Locate(QStringLiteral("IANAID"), other);
    QCOMPARE(fm->CurrentAnaId().toInt(), other);
    QCOMPARE(DataSetIds(gpt->xqcMain, QStringLiteral("IANAID_P")), Ids(QStringLiteral("SELECT iAnaId_p FROM TAnaGpt WHERE iAnaId = 6")));
    QVERIFY(DataSetIds(gpt->xqcMain, QStringLiteral("IANAID_P")).contains(4));
    QCOMPARE(tel->xqcMain->RecordCount(), Db(QStringLiteral("SELECT COUNT(*) FROM TAnaTel WHERE iAnaId = ?"), {other}).toInt());
    QCOMPARE(eml->xqcMain->RecordCount(), Db(QStringLiteral("SELECT COUNT(*) FROM TAnaEml WHERE iAnaId = ?"), {other}).toInt());
    for (TfrVtDB *f : fm->DetailFrames())
        QCOMPARE(f->DataSet()->Params().ParamByName(QStringLiteral("iAnaId"))->AsInteger(), other);
    QVERIFY(msg->Messages.isEmpty());
}

void TstSuite::detailFramesWriteAndTheReadOnlySwitchRefuses()
{
    TScopedMessageService msg;
    TfmModAnagrafica *fm = OpenRegistry(QStringLiteral("Alunni"), 1);
    QVERIFY(fm);
    fm->show();
    QVERIFY(QTest::qWaitForWindowExposed(fm));
    auto *tel = Detail<TfrAnaTel>(fm);
    fm->pcDettagli->setCurrentWidget(tel);
    fm->xqcAnagrafica->Locate(QStringLiteral("IANAID"), 3);
    const int before = Db(QStringLiteral("SELECT COUNT(*) FROM TAnaTel WHERE iAnaId = 3")).toInt();

    // A wrong number is refused at the field and nothing is written.
    tel->xacInsert->trigger();
    QCOMPARE(tel->xqcMain->State(), dsInsert);
    TypeText(tel->xdeNumero, QStringLiteral("0381-abc"));
    tel->xacPost->trigger();
    QCOMPARE(tel->xdeNumero->ErrorText(),
             QStringLiteral("Numero di telefono non valido: sono ammessi da 5 a 15 cifre, spazi e i segni + / . -"));
    QCOMPARE(tel->xqcMain->State(), dsInsert);
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TAnaTel WHERE iAnaId = 3")).toInt(), before);
    // Corrected, the number is written for the chosen pupil.
    TypeText(tel->xdeNumero, QStringLiteral("0381 998877"));
    TypeText(tel->xdeDesc, QStringLiteral("Nonna"));
    tel->xacPost->trigger();
    QVERIFY2(msg->Messages.isEmpty(), qPrintable(msg->Texts().join(QLatin1Char('|'))));
    QCOMPARE(tel->xqcMain->State(), dsBrowse);
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TAnaTel WHERE iAnaId = 3 AND sAnaTelNumero = '0381 998877' AND sAnaTelDesc = 'Nonna'")).toInt(), 1);
    QCOMPARE(tel->xqcMain->RecordCount(), before + 1);

    // The switch the program's command module applies over the window.
    VtSetFramesReadOnly(fm, true);
    for (TfrVtDB *f : fm->DetailFrames())
        QVERIFY(f->ReadOnly());
    QVERIFY(!tel->xacInsert->isEnabled());
    QVERIFY(!tel->xacEdit->isEnabled());
    QVERIFY(!tel->xacDelete->isEnabled());
    QVERIFY(!tel->xacInsert->Execute());
    QCOMPARE(tel->xqcMain->State(), dsBrowse);
    try {
        tel->xqcMain->Insert();
        QFAIL("insert allowed on a read-only detail");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), ReadOnlyText);
    }
    try {
        tel->xqcMain->Edit();
        QFAIL("edit allowed on a read-only detail");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), ReadOnlyText);
    }
    // Following another person keeps the switch.
    fm->xqcAnagrafica->Locate(QStringLiteral("IANAID"), 6);
    QVERIFY(tel->ReadOnly());
    QVERIFY(!tel->xacInsert->isEnabled());
    QVERIFY(Detail<TfrAnaEMail>(fm)->ReadOnly());
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TAnaTel WHERE iAnaId = 3")).toInt(), before + 1);

    // Deleting (switch off again) asks first.
    VtSetFramesReadOnly(fm, false);
    fm->xqcAnagrafica->Locate(QStringLiteral("IANAID"), 3);
    QVERIFY(tel->xqcMain->Locate(QStringLiteral("SANATELNUMERO"), QStringLiteral("0381 998877")));
    msg->Answers << mrNo;
    tel->xacDelete->trigger();
    QCOMPARE(msg->LastText(), DeleteQuestion);
    QCOMPARE(msg->Messages.last().Type, mtConfirmation);
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TAnaTel WHERE iAnaId = 3")).toInt(), before + 1);
    msg->Answers << mrYes;
    tel->xacDelete->trigger();
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TAnaTel WHERE iAnaId = 3")).toInt(), before);
}

void TstSuite::oneWindowPerCaption()
{
    TScopedMessageService msg;
    TfmModAnagrafica *pupils = OpenRegistry(QStringLiteral("Alunni"), 1);
    QVERIFY(pupils);
    QVERIFY(!OpenRegistry(QStringLiteral("Alunni"), 1));     // refused: brought forward instead
    QCOMPARE(FindForms(QStringLiteral("TfmModAnagrafica")).size(), 1);
    TfmModAnagrafica *parents = OpenRegistry(QStringLiteral("Genitori/tutori"), 2);
    QVERIFY(parents && parents != pupils);
    QCOMPARE(FindForms(QStringLiteral("TfmModAnagrafica")).size(), 2);
    QCOMPARE(m_askedCategories, QList<int>({1, 2}));
    QCOMPARE(parents->windowTitle(), QStringLiteral("Genitori/tutori"));
    QCOMPARE(parents->pcDettagli->count(), 3);
    QCOMPARE(DataSetIds(parents->xqcAnagrafica, QStringLiteral("IANAID")),
             Ids(QStringLiteral("SELECT iAnaId FROM TAnaCag WHERE iCagId = 2")));
    // Hidden categories leave out who also belongs to them.
    TTestDatabase::Exec(QStringLiteral("INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId) VALUES (990001, 1, 3)"));
    m_ana->xafAnagrafica->SetCaption(QStringLiteral("Genitori non dipendenti"));
    m_ana->AdmittedCategories = {2};
    m_ana->HiddenCategories = {3};
    m_ana->xafAnagrafica->Execute();
    auto *hidden = qobject_cast<TfmModAnagrafica *>(m_ana->xafAnagrafica->Form());
    m_windows << hidden;
    QVERIFY(hidden && hidden != parents);
    const QSet<int> shown = DataSetIds(hidden->xqcAnagrafica, QStringLiteral("IANAID"));
    QVERIFY(!shown.contains(1));
    QVERIFY(shown.contains(2));
    QCOMPARE(shown.size(), parents->xqcAnagrafica->RecordCount() - 1);
    QVERIFY(msg->Messages.isEmpty());
}

void TstSuite::filterSpecificsAreBoundNotPasted()
{
    TScopedMessageService msg;
    TfmModAnagrafica *fm = OpenRegistry(QStringLiteral("Alunni Ruggieri"), 1, QStringLiteral("Cognome=rugg"));
    QVERIFY(fm);
    const QSet<int> expected = Ids(QStringLiteral(
        "SELECT A.iAnaId FROM TAna_Anagrafiche A INNER JOIN TAnaCag C ON C.iAnaId = A.iAnaId AND C.iCagId = 1 "
        "WHERE UPPER(A.sAnaCognome) STARTING WITH 'RUGG'"));
    QVERIFY(!expected.isEmpty());
    QCOMPARE(DataSetIds(fm->xqcAnagrafica, QStringLiteral("IANAID")), expected);

    // The school year: only the pupils enrolled in 2025/2026.
    TfmModAnagrafica *year = OpenRegistry(QStringLiteral("Alunni 2025"), 1, QStringLiteral("AnsId=2025"));
    const QSet<int> enrolled = Ids(QStringLiteral(
        "SELECT DISTINCT S.iAnaId FROM TSit_Situazioni S INNER JOIN TAns_AnniScolast Y "
        "ON S.dStart BETWEEN Y.dAnsVeltoInizio AND Y.dAnsVeltoFine "
        "INNER JOIN TAnaCag C ON C.iAnaId = S.iAnaId AND C.iCagId = 1 WHERE Y.iAnsId = 2025"));
    QVERIFY(!enrolled.isEmpty());
    QCOMPARE(DataSetIds(year->xqcAnagrafica, QStringLiteral("IANAID")), enrolled);

    // A quote in the value is a value, not SQL; a non-numeric id is ignored.
    TfmModAnagrafica *odd = OpenRegistry(QStringLiteral("Alunni x"), 1, QStringLiteral("Cognome=x' OR '1'='1;AnsId=abc"));
    QVERIFY(odd);
    QCOMPARE(odd->xqcAnagrafica->RecordCount(), 0);
    TVtParams params;
    const QString sql = TfmModAnagrafica::BuildCommandText({1}, {}, QStringLiteral("Cognome=x' OR '1'='1;AnsId=abc"), params);
    QVERIFY(!sql.contains(QStringLiteral("OR '1'")));
    QCOMPARE(params.Count(), 1);
    QCOMPARE(params.ParamByName(QStringLiteral("sCognome"))->AsString(), QStringLiteral("x' OR '1'='1"));
    QVERIFY(msg->Messages.isEmpty());
}

void TstSuite::adultEducationTabs()
{
    TScopedMessageService msg;
    TfmModAnagrafica *fm = OpenRegistry(QStringLiteral("Eda"), 6);
    QVERIFY(fm);
    fm->show();
    QVERIFY(QTest::qWaitForWindowExposed(fm));
    QCOMPARE(fm->pcDettagli->count(), 5);
    QCOMPARE(fm->pcDettagli->tabText(0), QStringLiteral("Cittadinanze"));
    QCOMPARE(fm->pcDettagli->tabText(4), QStringLiteral("Stato occupazionale"));
    QCOMPARE(DataSetIds(fm->xqcAnagrafica, QStringLiteral("IANAID")), Ids(QStringLiteral("SELECT iAnaId FROM TAnaCag WHERE iCagId = 6")));
    QVERIFY(fm->xqcAnagrafica->RecordCount() >= 5);

    auto *citt = Detail<TfrKbaAnaCitt>(fm);
    auto *ede = Detail<TfrkbdEdeExtra>(fm);
    QVERIFY(citt && ede);
    const int person = Db(QStringLiteral("SELECT FIRST 1 iAnaId FROM TAnaCitt WHERE iAnaId IN (SELECT iAnaId FROM TAnaCag WHERE iCagId = 6) "
                                         "GROUP BY iAnaId HAVING COUNT(*) = 2")).toInt();
    QVERIFY(person > 0);
    QVERIFY(fm->xqcAnagrafica->Locate(QStringLiteral("IANAID"), person));
    QCOMPARE(citt->xqcMain->RecordCount(), 2);
    QCOMPARE(DataSetIds(citt->xqcMain, QStringLiteral("ISTAID")), Ids(QStringLiteral("SELECT iStaId FROM TAnaCitt WHERE iAnaId = %1").arg(person)));
    QCOMPARE(ede->xqcMain->RecordCount(), 1);
    const QString current = ede->xqcMain->FieldByName(QStringLiteral("SEDEDESC"))->AsString();
    QCOMPARE(current, Db(QStringLiteral("SELECT E.sEdeDesc FROM TAnaEde A INNER JOIN TEde_StatoOccup E ON E.iEdeId = A.iEdeId WHERE A.iAnaId = ?"), {person}).toString());

    // A second open state is refused while the first is still open.
    fm->pcDettagli->setCurrentWidget(ede);
    ede->xacInsert->trigger();
    ede->cbStato->SelectId(1);
    TypeText(ede->xddStart, QStringLiteral("01/03/2025"));
    ede->xacPost->trigger();
    QCOMPARE(msg->LastText(), QStringLiteral("Chiudere prima lo stato occupazionale in corso (%1), indicandone la data di fine.").arg(current));
    QCOMPARE(msg->Messages.last().Type, mtError);
    QCOMPARE(ede->xqcMain->State(), dsInsert);
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TAnaEde WHERE iAnaId = ?"), {person}).toInt(), 1);
    ede->xacCancel->trigger();
    // Closing the current one first, then the new one goes in.
    ede->xqcMain->First();
    ede->xacEdit->trigger();
    TypeText(ede->xddEnd, QStringLiteral("28/02/2025"));
    ede->xacPost->trigger();
    QCOMPARE(ede->xqcMain->State(), dsBrowse);
    ede->xacInsert->trigger();
    ede->cbStato->SelectId(1);
    TypeText(ede->xddStart, QStringLiteral("01/03/2025"));
    TypeText(ede->xdeNote, QStringLiteral("Assunta in prova"));
    ede->xacPost->trigger();
    QCOMPARE(ede->xqcMain->State(), dsBrowse);
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TAnaEde WHERE iAnaId = ? AND iEdeId = 1 AND dEnd IS NULL AND sAnaEdeNote = 'Assunta in prova'"), {person}).toInt(), 1);
    QCOMPARE(ede->xqcMain->RecordCount(), 2);
    QVERIFY(DataSetIds(ede->xqcMain, QStringLiteral("IEDEID")).contains(1));

    // A citizenship whose end precedes its start is refused with its message.
    msg->Clear();
    fm->pcDettagli->setCurrentWidget(citt);
    citt->xacInsert->trigger();
    citt->cbStato->SelectId(2);
    TypeText(citt->xddStart, QStringLiteral("01/09/2024"));
    TypeText(citt->xddEnd, QStringLiteral("31/08/2024"));
    citt->xacPost->trigger();
    QCOMPARE(msg->Texts(), QStringList{PeriodText});
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TAnaCitt WHERE iAnaId = ?"), {person}).toInt(), 2);
    citt->xacCancel->trigger();
}

void TstSuite::signatoriesInsertEditDelete()
{
    TScopedMessageService msg;
    TdmkbsActivations kbs;
    QCOMPARE(kbs.xafFirme->Caption(), QStringLiteral("Firme"));
    QCOMPARE(kbs.xafFirme->ClasseForm, QStringLiteral("TfmKbsFirme"));
    QVERIFY(!kbs.xafFirme->ModalForm);
    QVERIFY(!kbs.xafFirme->MultipleInstance);
    QCOMPARE(kbs.Commands(), QList<TVtAttivazione *>{kbs.xafFirme});
    QVERIFY(kbs.xafFirme->Execute());
    auto *fm = qobject_cast<TfmKbsFirme *>(kbs.xafFirme->Form());
    QVERIFY(fm);
    m_windows << fm;
    QVERIFY(QTest::qWaitForWindowExposed(fm));
    QCOMPARE(fm->windowTitle(), QStringLiteral("Firme"));
    QCOMPARE(fm->xqcFirme->RecordCount(), Db(QStringLiteral("SELECT COUNT(*) FROM TKbs_Firme")).toInt());
    QVERIFY(fm->xqcFirme->RecordCount() >= 2);
    // Running it again brings the same window forward.
    QVERIFY(kbs.xafFirme->Execute());
    QCOMPARE(kbs.xafFirme->Form(), fm);

    auto *f = fm->frFirme;
    f->xacInsert->trigger();
    TypeText(fm->xdeRuolo, QStringLiteral("Vicario"));
    f->xacPost->trigger();
    QCOMPARE(fm->xdeCognomeNome->ErrorText(), QStringLiteral("Indicare cognome e nome del firmatario."));
    QCOMPARE(fm->xddStart->ErrorText(), QString());
    TypeText(fm->xdeCognomeNome, QStringLiteral("Ferlini Annalisa"));
    f->xacPost->trigger();
    QCOMPARE(fm->xddStart->ErrorText(), QStringLiteral("Indicare la data da cui vale la firma."));
    TypeText(fm->xddStart, QStringLiteral("01/09/2025"));
    TypeText(fm->xddEnd, QStringLiteral("31/08/2025"));
    f->xacPost->trigger();
    QCOMPARE(msg->Texts(), QStringList{PeriodText});
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TKbs_Firme WHERE sKbsRuolo = 'Vicario'")).toInt(), 0);
    TypeText(fm->xddEnd, QString());
    f->xacPost->trigger();
    QCOMPARE(fm->xqcFirme->State(), dsBrowse);
    QCOMPARE(Db(QStringLiteral("SELECT sKbsCognomeNome FROM TKbs_Firme WHERE sKbsRuolo = 'Vicario'")).toString(), QStringLiteral("Ferlini Annalisa"));
    QCOMPARE(Db(QStringLiteral("SELECT dStart FROM TKbs_Firme WHERE sKbsRuolo = 'Vicario'")).toDate(), QDate(2025, 9, 1));
    QVERIFY(Db(QStringLiteral("SELECT dEnd FROM TKbs_Firme WHERE sKbsRuolo = 'Vicario'")).isNull());

    // Edit: the DSGA leaves at the end of August.
    QVERIFY(fm->xqcFirme->Locate(QStringLiteral("SKBSRUOLO"), QStringLiteral("DSGA")));
    const int dsga = fm->xqcFirme->FieldByName(QStringLiteral("IKBSID"))->AsInteger();
    f->xacEdit->trigger();
    TypeText(fm->xddEnd, QStringLiteral("31/08/2025"));
    f->xacPost->trigger();
    QCOMPARE(fm->xqcFirme->State(), dsBrowse);
    QCOMPARE(Db(QStringLiteral("SELECT dEnd FROM TKbs_Firme WHERE iKbsId = ?"), {dsga}).toDate(), QDate(2025, 8, 31));

    // Delete the new one, after the confirmation.
    QVERIFY(fm->xqcFirme->Locate(QStringLiteral("SKBSRUOLO"), QStringLiteral("Vicario")));
    msg->Clear();
    msg->Answers << mrYes;
    f->xacDelete->trigger();
    QCOMPARE(msg->Texts(), QStringList{DeleteQuestion});
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TKbs_Firme WHERE sKbsRuolo = 'Vicario'")).toInt(), 0);
    QVERIFY(!fm->xqcFirme->Locate(QStringLiteral("SKBSRUOLO"), QStringLiteral("Vicario")));
}

void TstSuite::otherBeneficiariesListInsertDelete()
{
    TScopedMessageService msg;
    QVERIFY(TVtFormRegistry::IsRegistered(QStringLiteral("TfmBeneficiari")));
    auto *fm = qobject_cast<TfmBeneficiari *>(TVtFormRegistry::CreateForm(QStringLiteral("TfmBeneficiari")));
    QVERIFY(fm);
    m_windows << fm;
    fm->show();
    QVERIFY(QTest::qWaitForWindowExposed(fm));
    QCOMPARE(fm->windowTitle(), QStringLiteral("Altri beneficiari"));
    const QSet<int> others = Ids(QStringLiteral("SELECT iAnaId FROM TAnaCag WHERE iCagId = 4"));
    QVERIFY(others.size() >= 3);
    QCOMPARE(DataSetIds(fm->xqcBeneficiari, QStringLiteral("IANAID")), others);
    QVERIFY(!others.intersects(Ids(QStringLiteral("SELECT iAnaId FROM TAnaCag WHERE iCagId IN (1, 2, 3, 6)"))));

    auto *f = fm->frBeneficiari;
    f->xacInsert->trigger();
    TypeText(fm->xdeCodFiscale, QStringLiteral("1234"));
    f->xacPost->trigger();
    QCOMPARE(fm->xdeCognome->ErrorText(), QStringLiteral("Indicare il cognome o la ragione sociale."));
    QCOMPARE(fm->xdeCodFiscale->ErrorText(), QStringLiteral("Il codice fiscale deve avere 16 caratteri, la partita IVA 11 cifre."));
    TypeText(fm->xdeCognome, QStringLiteral("Libreria Scolastica Ponte s.a.s."));
    TypeText(fm->xdeCodFiscale, QStringLiteral("04455660157"));
    TypeText(fm->xdeEMail, QStringLiteral("ponte@"));
    f->xacPost->trigger();
    QCOMPARE(fm->xdeEMail->ErrorText(), QStringLiteral("Indirizzo e-mail non valido."));
    TypeText(fm->xdeEMail, QStringLiteral("ordini@libreriaponte.example.it"));
    TypeText(fm->xdeTelefono, QStringLiteral("0381 445566"));
    f->xacPost->trigger();
    QVERIFY2(msg->Messages.isEmpty(), qPrintable(msg->Texts().join(QLatin1Char('|'))));
    QCOMPARE(fm->xqcBeneficiari->State(), dsBrowse);
    const int id = fm->xqcBeneficiari->FieldByName(QStringLiteral("IANAID"))->AsInteger();
    QVERIFY(id > 0);
    QCOMPARE(Db(QStringLiteral("SELECT sAnaCognome FROM TAna_Anagrafiche WHERE iAnaId = ?"), {id}).toString(),
             QStringLiteral("Libreria Scolastica Ponte s.a.s."));
    QCOMPARE(Db(QStringLiteral("SELECT sAnaCodFiscale FROM TAna_Anagrafiche WHERE iAnaId = ?"), {id}).toString(), QStringLiteral("04455660157"));
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TAnaCag WHERE iAnaId = ? AND iCagId = 4"), {id}).toInt(), 1);
    QCOMPARE(fm->xqcBeneficiari->RecordCount(), others.size() + 1);
    // The new beneficiary is in the registry's category 4, so a registry
    // window of that category lists it too.
    TfmModAnagrafica *reg = OpenRegistry(QStringLiteral("Beneficiari"), 4);
    QVERIFY(DataSetIds(reg->xqcAnagrafica, QStringLiteral("IANAID")).contains(id));

    // Edit, then delete: the category row and the person go together.
    f->xacEdit->trigger();
    TypeText(fm->xdeNome, QStringLiteral("Referente: Paola"));
    f->xacPost->trigger();
    QCOMPARE(Db(QStringLiteral("SELECT sAnaNome FROM TAna_Anagrafiche WHERE iAnaId = ?"), {id}).toString(), QStringLiteral("Referente: Paola"));
    msg->Answers << mrYes;
    f->xacDelete->trigger();
    QCOMPARE(msg->Texts(), QStringList{DeleteQuestion});
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TAna_Anagrafiche WHERE iAnaId = ?"), {id}).toInt(), 0);
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TAnaCag WHERE iAnaId = ?"), {id}).toInt(), 0);
    QCOMPARE(fm->xqcBeneficiari->RecordCount(), others.size());

    // A beneficiary who is also a parent keeps the person when removed from the list.
    TTestDatabase::Exec(QStringLiteral("INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId) VALUES (990002, 2, 4)"));
    fm->xqcBeneficiari->Refresh();
    QVERIFY(fm->xqcBeneficiari->Locate(QStringLiteral("IANAID"), 2));
    msg->Answers << mrYes;
    f->xacDelete->trigger();
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TAnaCag WHERE iAnaId = 2 AND iCagId = 4")).toInt(), 0);
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TAna_Anagrafiche WHERE iAnaId = 2")).toInt(), 1);
    QCOMPARE(Db(QStringLiteral("SELECT COUNT(*) FROM TAnaCag WHERE iAnaId = 2 AND iCagId = 2")).toInt(), 1);
}

QTEST_MAIN(TstSuite)
#include "tst_suite.moc"

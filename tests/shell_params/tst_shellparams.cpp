// The working context on the demo school: the shared functions that read and
// check it, the parameter dialog with its cascades driven as a user drives
// it, the derived globals and the beneficiary search forms.
#include "EbcFSearchBen.h"
#include "EbdMParam.h"
#include "EbdUGlobals.h"
#include "EbsFSearchBen.h"
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VtException.h"
#include "VtGlobalValuesManager.h"
#include "VtParamManager.h"
#include "VtParams.h"
#include "VtQueryCollection.h"
#include "fmVtParamDlg.h"
#include "fmVtSearch.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {
const QString Dwg = QStringLiteral("VTUP_DwgId");
const QString Ans = QStringLiteral("VTUP_AnsId");
const QString Anf = QStringLiteral("EBDP_AnfId");
const QString SprIst = QStringLiteral("EBDP_SprIstId");
const QString CauAns = QStringLiteral("EBSP_CauAnsId");
const QString Vis = QStringLiteral("EBDP_Vis");
const QString CauIn = QStringLiteral("EBSP_CausaleInId");
const QString CauOut = QStringLiteral("EBSP_CausaleOutId");
const QString Branch = QStringLiteral("EBSP_SprCabProvId");
const QString Town = QStringLiteral("EBSP_SprComuneId");

const QString DefaultReasonsText = QStringLiteral(
    "Impostare il parametro causale di ingresso e/o il parametro causale di uscita\r\n"
    "nella categoria 'Valori di default.'");

// A null value removes the saved one.
void SetParam(const QString &name, const QVariant &value)
{
    xgvmGlobalVar->SetValues(name, value);
}

QString Saved(const QString &name)
{
    return xgvmGlobalVar->GetValues(name).toString();
}

void Exec(const QString &sql)
{
    TTestDatabase::Exec(sql);
}

QVariant Db(const QString &sql, const QVariantList &values = {})
{
    return TTestDatabase::Scalar(sql, values);
}

QList<int> Ids(const QComboBox *cb)
{
    QList<int> ids;
    for (int i = 0; i < cb->count(); ++i)
        ids << (cb->itemData(i).isNull() ? 0 : cb->itemData(i).toInt());
    return ids;
}

QStringList Texts(const QComboBox *cb)
{
    QStringList t;
    for (int i = 0; i < cb->count(); ++i)
        t << cb->itemText(i);
    return t;
}

QList<int> Ids(const QList<TVtEnumItem> &items)
{
    QList<int> ids;
    for (const TVtEnumItem &item : items)
        ids << item.Id.toInt();
    return ids;
}

int CurrentId(const QComboBox *cb)
{
    if (cb->currentIndex() < 0 || cb->currentData().isNull())
        return 0;
    return cb->currentData().toInt();
}

// The user picks the item with that id (0: the empty item).
void Choose(QComboBox *cb, int id)
{
    int index = -1;
    for (int i = 0; i < cb->count(); ++i) {
        const QVariant d = cb->itemData(i);
        if ((id == 0 && d.isNull()) || (!d.isNull() && d.toInt() == id)) {
            index = i;
            break;
        }
    }
    QVERIFY2(index >= 0, qPrintable(QStringLiteral("%1: no item %2").arg(cb->objectName()).arg(id)));
    cb->setCurrentIndex(index);
    emit cb->activated(index);
}

QComboBox *Combo(TfmVtParamDlg *dlg, const QString &name)
{
    auto *cb = qobject_cast<QComboBox *>(dlg->Control(name));
    if (!cb)
        qFatal("no combo for %s", qPrintable(name));
    return cb;
}

QLineEdit *Edit(TfmVtParamDlg *dlg, const QString &name)
{
    auto *ed = qobject_cast<QLineEdit *>(dlg->Control(name));
    if (!ed)
        qFatal("no edit for %s", qPrintable(name));
    return ed;
}

// Number of classes of a school year (and of a school when dwg is not 0).
int ClassCount(int ans, int dwg = 0)
{
    QString sql = QStringLiteral(
        "SELECT COUNT(*) FROM TCls_Classi Cls INNER JOIN TDwgSed Ds ON (Ds.iDwgSedId = Cls.iDwgSedId) "
        "INNER JOIN VAns_AnniScolast Ans ON (Cls.dStart BETWEEN Ans.dAnsVeltoInizio AND Ans.dAnsVeltoFine) "
        "WHERE Ans.iAnsId = ?");
    QVariantList values{ans};
    if (dwg != 0) {
        sql += QStringLiteral(" AND Ds.iDwgId = ?");
        values << dwg;
    }
    return Db(sql, values).toInt();
}

// The search over classes a lookup would give the form: by school year, and
// by school when withDwg.
QString ClassSearchSQL(bool withDwg)
{
    QString sql = QStringLiteral(
        "SELECT Cls.iClsId, Cls.dStart, Ds.iDwgId FROM TCls_Classi Cls "
        "INNER JOIN TDwgSed Ds ON (Ds.iDwgSedId = Cls.iDwgSedId) "
        "INNER JOIN VAns_AnniScolast Ans ON (Cls.dStart BETWEEN Ans.dAnsVeltoInizio AND Ans.dAnsVeltoFine) "
        "WHERE Ans.iAnsId = :iAnsId");
    if (withDwg)
        sql += QStringLiteral(" AND Ds.iDwgId = :iDwgId");
    return sql;
}

// Distinct values of a column of the search dataset.
QSet<int> Column(TVtQueryCollection *ds, const QString &field)
{
    QSet<int> values;
    for (int r = 0; r < ds->RecordCount(); ++r)
        values << ds->RowValue(r, ds->FieldByName(field)->Index).toInt();
    return values;
}
}

class TstShellParams : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void derivedGlobalsStartUnset();
    void checkParamsSet_data();
    void checkParamsSet();
    void yearDescriptions();
    void anfDates_data();
    void anfDates();
    void anfDatesWithoutOwnerDates();
    void checkAnfContext();
    void sprIstKind_data();
    void sprIstKind();
    void accountsBranchesReasons();
    void mvmDateBound();
    void causaliList();
    void amountText();
    void dwgList();
    void xmlArchiveAndEnums();
    void customReportIds();
    void formsAndParams();
    void accountList();

    void dialogBuildsTheContext();
    void dialogGroupCascade();
    void dialogAccountAndYearCascade();
    void dialogSchoolYearCascade();
    void dialogReasonAmounts();
    void dialogReasonAmountsUnreadable();
    void dialogBranchAndTown();
    void dialogSavesAndSetsGlobals();

    void searchFormsRegistered();
    void searchSchoolYears();
    void searchSchoolChoice();
    void searchOtherKinds();

private:
    void SetContext(int dwg, int ans, int anf, int account, int cauAns);
    std::unique_ptr<TfmVtParamDlg> OpenDialog();

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    std::unique_ptr<TdmEbdParam> m_params;
};

void TstShellParams::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo, [] {
        // Rows of this test: a school year without classes; financial years in
        // which the accounts of the group were or were not yet open, one with a
        // cash row of the post-office account; an owner row without own dates and
        // a deleted one; a second group with a school of its own; banks without
        // a category.
        Exec(QStringLiteral("INSERT INTO TAns_AnniScolast (iAnsId, iAnsValore, sAnsAnnoDesc, dAnsVeltoInizio, dAnsVeltoFine) "
                            "VALUES (2026, 2026, '2026/2027', '2026-09-01', '2027-08-31')"));
        Exec(QStringLiteral("INSERT INTO TAnf_AnniFinanz (iAnfId, iAnfValore, dAnfVeltoInizio, dAnfVeltoFine) "
                            "VALUES (2004, 2004, '2004-01-01', '2004-12-31')"));
        Exec(QStringLiteral("INSERT INTO TAnf_AnniFinanz (iAnfId, iAnfValore, dAnfVeltoInizio, dAnfVeltoFine) "
                            "VALUES (2012, 2012, '2012-01-01', '2012-12-31')"));
        Exec(QStringLiteral("INSERT INTO TAnf_AnniFinanz (iAnfId, iAnfValore, dAnfVeltoInizio, dAnfVeltoFine) "
                            "VALUES (2015, 2015, '2015-01-01', '2015-12-31')"));
        Exec(QStringLiteral("INSERT INTO TAnf_AnniFinanz (iAnfId, iAnfValore, dAnfVeltoInizio, dAnfVeltoFine) "
                            "VALUES (2030, 2030, '2030-01-01', '2030-12-31')"));
        Exec(QStringLiteral("INSERT INTO TCai_CassaIst (iCaiId, iSprIstId, iCaiEsercizioFin) VALUES (9001, 1, 2012)"));
        Exec(QStringLiteral("INSERT INTO TDWGANF (iDwgAnfId, iDwgId, iAnfId, dDwgAnfInizio, dDwgAnfFine) "
                            "VALUES (9001, 1, 2030, '2030-02-01', '2030-11-30')"));
        Exec(QStringLiteral("INSERT INTO TDWGANF (iDwgAnfId, iDwgId, iAnfId, dDwgAnfInizio, dDwgAnfFine) "
                            "VALUES (9002, 2, 2030, NULL, '2030-10-31')"));
        Exec(QStringLiteral("INSERT INTO TDWGANF (iDwgAnfId, iDwgId, iAnfId, dDwgAnfInizio, dDwgAnfFine, dDelete) "
                            "VALUES (9003, 3, 2030, '2030-03-01', '2030-09-30', CURRENT_TIMESTAMP)"));

        Exec(QStringLiteral("INSERT INTO TDow_DataOwner (iDowId, sDowSDesc, sDowLDesc, dStart) "
                            "VALUES (90, 'Primaria Altrove', 'Scuola Primaria Altrove', '2000-09-01')"));
        Exec(QStringLiteral("INSERT INTO TDow_DataOwner (iDowId, sDowSDesc, sDowLDesc, dStart) "
                            "VALUES (91, 'Media Chiusa', 'Scuola Media Chiusa', '2000-09-01')"));
        Exec(QStringLiteral("INSERT INTO TDow_DataOwner (iDowId, sDowSDesc, sDowLDesc, dStart) "
                            "VALUES (92, 'Infanzia Nuova', 'Scuola Infanzia Nuova', '2025-09-01')"));
        Exec(QStringLiteral("INSERT INTO TDwg_DataOwnerGrp (iDwgId, iDowId, sDwgDesc, dStart) VALUES (90, NULL, 'Istituto Altrove', '2000-09-01')"));
        Exec(QStringLiteral("INSERT INTO TDwg_DataOwnerGrp (iDwgId, iDowId, sDwgDesc, dStart) VALUES (91, 90, 'Primaria Altrove', '2000-09-01')"));
        Exec(QStringLiteral("INSERT INTO TDwg_DataOwnerGrp (iDwgId, iDowId, sDwgDesc, dStart) VALUES (92, 91, 'Media Chiusa', '2000-09-01')"));
        Exec(QStringLiteral("INSERT INTO TDwg_DataOwnerGrp (iDwgId, iDowId, sDwgDesc, dStart) VALUES (93, 92, 'Infanzia Nuova', '2025-09-01')"));
        Exec(QStringLiteral("INSERT INTO TOtgDwg (iOtgDwgId, iDwgId_Grp, iDwgId, dStart) VALUES (90, 90, 91, '2012-09-01')"));
        // Left the group before the school year 2024.
        Exec(QStringLiteral("INSERT INTO TOtgDwg (iOtgDwgId, iDwgId_Grp, iDwgId, dStart, dEnd) VALUES (91, 90, 92, '2012-09-01', '2020-08-31')"));
        // Opened in 2025: a member of the group only from the school year 2025.
        Exec(QStringLiteral("INSERT INTO TOtgDwg (iOtgDwgId, iDwgId_Grp, iDwgId, dStart) VALUES (92, 90, 93, '2025-09-01')"));

        Exec(QStringLiteral("INSERT INTO TBan_Banche (iBanId, sBanAbi, sBanDescS, sBanDescL, iCbaId) VALUES (90, '09990', 'Banca senza categoria', 'Banca senza categoria', NULL)"));
        Exec(QStringLiteral("INSERT INTO TBan_Banche (iBanId, sBanAbi, sBanDescS, sBanDescL, iCbaId) VALUES (91, '09991', 'Banca categoria zero', 'Banca categoria zero', 0)"));
        Exec(QStringLiteral("INSERT INTO TBan_Banche (iBanId, sBanAbi, sBanDescS, sBanDescL, iCbaId) VALUES (92, '09992', 'Banca categoria cinque', 'Banca categoria cinque', 5)"));
        Exec(QStringLiteral("INSERT INTO TSpr_SportelliCab (iSprId, iBanId, sSprCab, sSprDescS, iSrpcId) VALUES (9001, 90, '99901', 'Filiale A', 1)"));
        Exec(QStringLiteral("INSERT INTO TSpr_SportelliCab (iSprId, iBanId, sSprCab, sSprDescS, iSrpcId) VALUES (9002, 91, '99902', 'Filiale B', 1)"));
        Exec(QStringLiteral("INSERT INTO TSpr_SportelliCab (iSprId, iBanId, sSprCab, sSprDescS, iSrpcId) VALUES (9003, 92, '99903', 'Filiale C', 1)"));
        // Accounts of the second group: two open since 2010, one since mid 2015;
        // cash rows 9001: 2012, 2024; 9002: 2024; 9003: 2025.
        Exec(QStringLiteral("INSERT INTO TSprIst (iSprIstId, iDwgId, iSprId, sSprIstNumCc, iSprIstPgm, dStart) "
                            "VALUES (9001, 90, 9001, '99901', 2, '2010-01-01')"));
        Exec(QStringLiteral("INSERT INTO TSprIst (iSprIstId, iDwgId, iSprId, sSprIstNumCc, iSprIstPgm, dStart) "
                            "VALUES (9002, 90, 9002, '99902', 2, '2010-01-01')"));
        Exec(QStringLiteral("INSERT INTO TSprIst (iSprIstId, iDwgId, iSprId, sSprIstNumCc, iSprIstPgm, dStart) "
                            "VALUES (9003, 90, 9003, '99903', 2, '2015-06-01')"));
        Exec(QStringLiteral("INSERT INTO TCai_CassaIst (iCaiId, iSprIstId, iCaiEsercizioFin) VALUES (9101, 9001, 2012)"));
        Exec(QStringLiteral("INSERT INTO TCai_CassaIst (iCaiId, iSprIstId, iCaiEsercizioFin) VALUES (9102, 9001, 2024)"));
        Exec(QStringLiteral("INSERT INTO TCai_CassaIst (iCaiId, iSprIstId, iCaiEsercizioFin) VALUES (9103, 9002, 2024)"));
        Exec(QStringLiteral("INSERT INTO TCai_CassaIst (iCaiId, iSprIstId, iCaiEsercizioFin) VALUES (9104, 9003, 2025)"));

        // A reason of the school year 2026 with one component; a component of no reason.
        Exec(QStringLiteral("INSERT INTO TCau_Causali (iCauId, sCauSDesc, sCauLDesc, lCauTipo, lCauVuvez, dStart, dEnd, iDwgId) "
                            "VALUES (9901, 'PROVA', 'Causale di prova', 0, 0, '2026-09-01', '2027-08-31', 1)"));
        Exec(QStringLiteral("INSERT INTO TCca_CompCausali (iCcaId, sCcaSDesc, sCcaLDesc, fCcaImportoIst, fCcaImportoEra, dStart, dEnd) "
                            "VALUES (9901, 'PROVA', 'Componente di prova', 12.25, 1.5, '2026-09-01', '2027-08-31')"));
        Exec(QStringLiteral("INSERT INTO TCca_CompCausali (iCcaId, sCcaSDesc, sCcaLDesc, fCcaImportoIst, fCcaImportoEra, dStart, dEnd) "
                            "VALUES (9902, 'SOLA', 'Componente senza causale', 3.0, 0.0, '2026-09-01', '2027-08-31')"));
        Exec(QStringLiteral("INSERT INTO TCauCca (iCauCcaId, iCauId, iCcaId, dStart, dEnd) VALUES (9901, 9901, 9901, '2026-09-01', '2027-08-31')"));
    });
    m_messages = std::make_unique<TScopedMessageService>();
    m_params = std::make_unique<TdmEbdParam>();
}

void TstShellParams::init()
{
    m_db->Fresh();
    (*m_messages)->Clear();
    gUseDwgAnfDates = true;
    SetContext(1, 2024, 2025, 2, 2024);
    SetParam(CauIn, QStringLiteral("0"));
    SetParam(CauOut, QStringLiteral("0"));
    SetParam(Branch, QStringLiteral("0"));
    SetParam(Town, QStringLiteral("0"));
    SetParam(Vis, QStringLiteral("0"));
}

void TstShellParams::cleanupTestCase()
{
    m_params.reset();
}

void TstShellParams::SetContext(int dwg, int ans, int anf, int account, int cauAns)
{
    SetParam(Dwg, QString::number(dwg));
    SetParam(Ans, QString::number(ans));
    SetParam(Anf, QString::number(anf));
    SetParam(SprIst, QString::number(account));
    SetParam(CauAns, QString::number(cauAns));
}

std::unique_ptr<TfmVtParamDlg> TstShellParams::OpenDialog()
{
    return m_params->xpmVtuParams->CreateDialog();
}

// ---------------------------------------------------------------------------
void TstShellParams::derivedGlobalsStartUnset()
{
    // Nothing has set them yet in this executable.
    QCOMPARE(gAnfValore, -1);
    QCOMPARE(gDwgId, -1);
    QVERIFY(gAnfInizio.isNull());
    QVERIFY(gAnfFine.isNull());
    QVERIFY(gUseDwgAnfDates);
    QVERIFY(gDwgList.isEmpty());
    QVERIFY(gApplCode.isEmpty());
    QVERIFY(gInizioUtente.isNull());
    QVERIFY(gFineUtente.isNull());
}

void TstShellParams::checkParamsSet_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("unset");     // name=value; value "<null>" removes it
    QTest::addColumn<QString>("message");       // empty: all set

    const QString all = QStringLiteral("VTUP_DwgId,EBDP_SprIstId,EBDP_AnfId,EBSP_CauAnsId");
    QTest::newRow("all set") << all << QStringList() << QString();
    QTest::newRow("group saved as 0") << all << QStringList{"VTUP_DwgId=0"}
                                      << QStringLiteral("E' necessario impostare l'istituto di lavoro.");
    QTest::newRow("account never saved") << all << QStringList{"EBDP_SprIstId=<null>"}
                                         << QStringLiteral("E' necessario impostare il conto.");
    QTest::newRow("year empty, group not a number")
        << QStringLiteral("VTUP_DwgId,EBDP_AnfId") << QStringList{"VTUP_DwgId=abc", "EBDP_AnfId="}
        << QStringLiteral("E' necessario impostare l'istituto di lavoro e l'anno finanziario.");
    QTest::newRow("three unset")
        << all << QStringList{"VTUP_DwgId=0", "EBDP_SprIstId=", "EBSP_CauAnsId=x1"}
        << QStringLiteral("E' necessario impostare l'istituto di lavoro, il conto e l'anno scolastico delle causali.");
    QTest::newRow("four unset, list order")
        << QStringLiteral("EBSP_CauAnsId,EBDP_AnfId,EBDP_SprIstId,VTUP_DwgId")
        << QStringList{"VTUP_DwgId=0", "EBDP_SprIstId=0", "EBDP_AnfId=0", "EBSP_CauAnsId=0"}
        << QStringLiteral("E' necessario impostare l'anno scolastico delle causali, l'anno finanziario, il conto e "
                          "l'istituto di lavoro.");
    QTest::newRow("blanks around names") << QStringLiteral(" VTUP_DwgId , EBDP_AnfId ")
                                         << QStringList{"EBDP_AnfId=0"}
                                         << QStringLiteral("E' necessario impostare l'anno finanziario.");
    QTest::newRow("set parameters are not named")
        << all << QStringList{"EBDP_AnfId=0"} << QStringLiteral("E' necessario impostare l'anno finanziario.");
    QTest::newRow("negative id is set") << QStringLiteral("VTUP_DwgId") << QStringList{"VTUP_DwgId=-3"} << QString();
    // The working school year, which the bank export needs, by its name for the office.
    QTest::newRow("working school year") << QStringLiteral("VTUP_DwgId,VTUP_AnsId")
                                         << QStringList{"VTUP_AnsId=0"}
                                         << QStringLiteral("E' necessario impostare l'anno scolastico di lavoro.");
    // A name without a phrase of its own is named as it is.
    QTest::newRow("other parameter") << QStringLiteral("VTUP_DwgId,EBDP_Altro")
                                     << QStringList{"VTUP_DwgId=0", "EBDP_Altro=0"}
                                     << QStringLiteral("E' necessario impostare l'istituto di lavoro e il parametro EBDP_Altro.");
}

void TstShellParams::checkParamsSet()
{
    QFETCH(QString, list);
    QFETCH(QStringList, unset);
    QFETCH(QString, message);
    for (const QString &entry : unset) {
        const QString name = entry.section(QLatin1Char('='), 0, 0);
        const QString value = entry.section(QLatin1Char('='), 1);
        SetParam(name, value == QLatin1String("<null>") ? QVariant() : QVariant(value));
    }
    const bool ok = CheckParamsSet(list);
    QCOMPARE(ok, message.isEmpty());
    QCOMPARE(ParamsNotSetMessage(list), message);
    if (message.isEmpty()) {
        QVERIFY((*m_messages)->Messages.isEmpty());
    } else {
        QCOMPARE((*m_messages)->Texts(), QStringList{message});
        QCOMPARE((*m_messages)->Messages.first().Type, mtWarning);
        QCOMPARE(int((*m_messages)->Messages.first().Buttons), int(mbOK));
    }
    SetParam(QStringLiteral("EBDP_Altro"), QVariant());
}

void TstShellParams::yearDescriptions()
{
    QCOMPARE(FormatAnsDesc(2023), QStringLiteral("2023/2024"));
    QCOMPARE(GetAnsAnnoDesc(2025), QStringLiteral("2025/2026"));
    QCOMPARE(GetAnsAnnoDesc(1999), QString());

    QCOMPARE(GetCurrentAnsDesc(), QStringLiteral("2024/2025"));
    SetParam(Ans, QStringLiteral("2031"));   // no row needed: the text is built
    QCOMPARE(GetCurrentAnsDesc(), QStringLiteral("2031/2032"));
    SetParam(Ans, QVariant());
    QCOMPARE(GetCurrentAnsDesc(), QString());

    QCOMPARE(GetParamAnsDesc(CauAns), QStringLiteral("2024/2025"));
    SetParam(CauAns, QStringLiteral("1999"));
    QCOMPARE(GetParamAnsDesc(CauAns), QString());
    SetParam(CauAns, QString());
    QCOMPARE(GetParamAnsDesc(CauAns), QString());
    // Only the reasons' year has a description here.
    SetParam(Ans, QStringLiteral("2024"));
    try {
        GetParamAnsDesc(Ans);
        QFAIL("no exception for VTUP_AnsId");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), QStringLiteral("Parametro VTUP_AnsId non definito"));
    }
    QCOMPARE(GetParamAnsDesc(QStringLiteral("EBDP_Mai")), QString());

    QCOMPARE(GetCurrentAnfValore(), QVariant(2025));
    QCOMPARE(GetParamAnfValore(Anf), QVariant(2025));
    SetParam(Anf, QStringLiteral("2012"));
    QCOMPARE(GetCurrentAnfValore().toInt(), 2012);
    SetParam(Anf, QStringLiteral("1990"));
    QVERIFY(GetCurrentAnfValore().isNull());
    SetParam(Anf, QStringLiteral("abc"));
    QVERIFY(GetCurrentAnfValore().isNull());
    SetParam(Anf, QVariant());
    QVERIFY(GetCurrentAnfValore().isNull());
    // The framework's own financial year is its value.
    SetParam(QStringLiteral("VTUP_AnfId"), QStringLiteral("1987"));
    QCOMPARE(GetParamAnfValore(QStringLiteral("VTUP_AnfId")), QVariant(1987));
    SetParam(QStringLiteral("VTUP_AnfId"), QVariant());
    QVERIFY(GetParamAnfValore(QStringLiteral("VTUP_AnfId")).isNull());
}

void TstShellParams::anfDates_data()
{
    QTest::addColumn<int>("valore");
    QTest::addColumn<int>("dwg");
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::newRow("owner's own dates") << 2030 << 1 << QDate(2030, 2, 1) << QDate(2030, 11, 30);
    QTest::newRow("null own start: the year's") << 2030 << 2 << QDate(2030, 1, 1) << QDate(2030, 10, 31);
    QTest::newRow("deleted owner row") << 2030 << 3 << QDate() << QDate();
    QTest::newRow("no owner row") << 2004 << 1 << QDate() << QDate();
    QTest::newRow("no such year") << 1999 << 1 << QDate() << QDate();
    QTest::newRow("demo group") << 2025 << 1 << QDate(2025, 1, 1) << QDate(2025, 12, 31);
    QTest::newRow("demo school, null own dates") << 2024 << 3 << QDate(2024, 1, 1) << QDate(2024, 12, 31);
}

void TstShellParams::anfDates()
{
    QFETCH(int, valore);
    QFETCH(int, dwg);
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QDate s(2000, 1, 1), e(2000, 1, 1);
    GetAnfDates(valore, dwg, s, e);
    QCOMPARE(s, start);
    QCOMPARE(e, end);
}

void TstShellParams::anfDatesWithoutOwnerDates()
{
    gUseDwgAnfDates = false;
    QDate s, e;
    GetAnfDates(2030, 1, s, e);
    QCOMPARE(s, QDate(2030, 1, 1));
    QCOMPARE(e, QDate(2030, 12, 31));
    // No owner row needed.
    GetAnfDates(2004, 77, s, e);
    QCOMPARE(s, QDate(2004, 1, 1));
    QCOMPARE(e, QDate(2004, 12, 31));
    GetAnfDates(1999, 1, s, e);
    QVERIFY(s.isNull() && e.isNull());
    QVERIFY(CheckAnfContext(2004, 1));
    QVERIFY((*m_messages)->Messages.isEmpty());
}

void TstShellParams::checkAnfContext()
{
    QVERIFY(CheckAnfContext(2030, 1));
    QVERIFY((*m_messages)->Messages.isEmpty());

    // A year without a row of the owner: both dates missing.
    QVERIFY(!CheckAnfContext(2004, 1));
    QCOMPARE((*m_messages)->Texts(),
             (QStringList{QStringLiteral("Data di inizio dell'anno finanziario corrente non settata"),
                          QStringLiteral("Data di fine dell'anno finanziario corrente non settata")}));
    for (const auto &m : (*m_messages)->Messages) {
        QCOMPARE(m.Type, mtError);
        QCOMPARE(int(m.Buttons), int(mbOK));
    }

    (*m_messages)->Clear();
    QVERIFY(!CheckAnfContext(-1, -1));
    QCOMPARE((*m_messages)->Texts(),
             (QStringList{QStringLiteral("Anno Finanziario corrente non settato"),
                          QStringLiteral("Istituto corrente non settato"),
                          QStringLiteral("Data di inizio dell'anno finanziario corrente non settata"),
                          QStringLiteral("Data di fine dell'anno finanziario corrente non settata")}));

    (*m_messages)->Clear();
    QVERIFY(!CheckAnfContext(2025, -1));
    QCOMPARE((*m_messages)->Texts().first(), QStringLiteral("Istituto corrente non settato"));
    QCOMPARE((*m_messages)->Messages.size(), 3);
}

void TstShellParams::sprIstKind_data()
{
    QTest::addColumn<int>("account");
    QTest::addColumn<QString>("kind");
    QTest::newRow("post office, category 7") << 1 << QStringLiteral("Postale");
    QTest::newRow("bank, category 1") << 2 << QStringLiteral("Bancario");
    QTest::newRow("cash, category 8") << 3 << QStringLiteral("Cassa");
    QTest::newRow("closed bank account") << 4 << QStringLiteral("Bancario");
    QTest::newRow("bank 1, null category") << 6 << QStringLiteral("Bancario");
    QTest::newRow("other bank, null category") << 9001 << QString();
    QTest::newRow("other bank, category 0") << 9002 << QString();
    QTest::newRow("other category") << 9003 << QStringLiteral("Bancario");
    QTest::newRow("no such account") << 8888 << QString();
}

void TstShellParams::sprIstKind()
{
    QFETCH(int, account);
    QFETCH(QString, kind);
    QCOMPARE(GetSprIstKind(account), kind);
    SetParam(SprIst, QString::number(account));
    QCOMPARE(GetCurrentSprIstKind(), kind);
}

void TstShellParams::accountsBranchesReasons()
{
    QVERIFY(SprIstIsClosed(4));
    QVERIFY(!SprIstIsClosed(2));
    QVERIFY(!SprIstIsClosed(8888));
    QCOMPARE(GetSprIstNumCc(2), QStringLiteral("000000004721"));
    QCOMPARE(GetSprIstNumCc(8888), QString());
    SetParam(SprIst, QStringLiteral("1"));
    QCOMPARE(GetCurrentSprIstNumCc(), QStringLiteral("57836104"));

    // Branch 206 lies in Serralta, province 2.
    QCOMPARE(GetSprProvId(206), 2);
    QCOMPARE(GetSprProvId(101), 2);
    QCOMPARE(GetSprProvId(9999), 0);
    // The post office of the town itself, else one of its province.
    QCOMPARE(GetPostSprId(7), 207);
    QCOMPARE(GetPostSprId(9), 209);
    const int provinceBranch = GetPostSprId(13);   // Vallechiara: no post office of its own
    QVERIFY((QList<int>{201, 202, 203, 204, 205}).contains(provinceBranch));
    QCOMPARE(GetPostSprId(101), 0);                 // abroad: no province

    // A reason is used by a movement or by a tax payment; a component through
    // its reasons, or, without movements, by being linked to any reason.
    QVERIFY(!CauIsUsed(9901));
    QVERIFY(!CcaIsUsed(9901, true));
    QVERIFY(CcaIsUsed(9901, false));
    QVERIFY(!CcaIsUsed(9902, false));
    QVERIFY(!CcaIsUsed(9902, true));
    Exec(QStringLiteral("INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, iCauId, iMvmNumero, lMvmTipo, dMvmDataMov, fMvmImporto) "
                        "VALUES (9201, 9001, 9901, 9201, 0, '2026-10-01', 12.25)"));
    QVERIFY(CauIsUsed(9901));
    QVERIFY(CcaIsUsed(9901, true));
    QVERIFY(!CcaIsUsed(9902, true));
    Exec(QStringLiteral("DELETE FROM TMvm_MovimentiCcp WHERE iMvmId = 9201"));
    QVERIFY(!CauIsUsed(9901));
    Exec(QStringLiteral("INSERT INTO TVrs_VersRegTasse (iVrsId, iCauId, iDwgId, dVrsData, fVrsImporto) "
                        "VALUES (9201, 9901, 1, '2026-10-01', 1.5)"));
    QVERIFY(CauIsUsed(9901));
    QVERIFY(CcaIsUsed(9901, true));
    Exec(QStringLiteral("DELETE FROM TVrs_VersRegTasse WHERE iVrsId = 9201"));
    QVERIFY(!CauIsUsed(9901));
    // The demo's own: a reason with movements, the tax with its payment.
    QVERIFY(CauIsUsed(2403));
    QVERIFY(CauIsUsed(2404));
    QVERIFY(CcaIsUsed(2408, true));
}

void TstShellParams::mvmDateBound()
{
    // Account 9001 has cash rows for 2012 and 2024; movements outside those
    // years (2020, 2026) do not count.
    const QStringList dates{"2012-03-01", "2012-11-15", "2020-01-01", "2024-05-05", "2026-01-10"};
    for (int i = 0; i < dates.size(); ++i)
        Exec(QStringLiteral("INSERT INTO TMvm_MovimentiCcp (iMvmId, iSprIstId, iMvmNumero, lMvmTipo, dMvmDataMov, fMvmImporto) "
                            "VALUES (%1, 9001, %1, 1, '%2', 10.0)")
                 .arg(9301 + i)
                 .arg(dates[i]));
    QCOMPARE(GetMvmDateBound(9001, QStringLiteral("MIN")), QDate(2012, 3, 1));
    QCOMPARE(GetMvmDateBound(9001, QStringLiteral("max")), QDate(2024, 5, 5));
    // A cash row with a period of its own: the period decides.
    Exec(QStringLiteral("UPDATE TCai_CassaIst SET dCaiInizioAnno = '2012-06-01' WHERE iCaiId = 9101"));
    QCOMPARE(GetMvmDateBound(9001, QStringLiteral("MIN")), QDate(2012, 11, 15));
    Exec(QStringLiteral("UPDATE TCai_CassaIst SET dCaiFineAnno = '2024-04-30' WHERE iCaiId = 9102"));
    QCOMPARE(GetMvmDateBound(9001, QStringLiteral("MAX")), QDate(2012, 11, 15));
    Exec(QStringLiteral("UPDATE TCai_CassaIst SET dCaiInizioAnno = NULL, dCaiFineAnno = NULL WHERE iCaiId IN (9101, 9102)"));
    Exec(QStringLiteral("DELETE FROM TMvm_MovimentiCcp WHERE iMvmId BETWEEN 9301 AND 9305"));
    QVERIFY(GetMvmDateBound(9001, QStringLiteral("MIN")).isNull());
    QVERIFY(GetMvmDateBound(9002, QStringLiteral("MAX")).isNull());
    QVERIFY_THROWS_EXCEPTION(EVtException, GetMvmDateBound(1, QStringLiteral("COUNT")));
}

void TstShellParams::causaliList()
{
    QComboBox cb;
    cb.addItem(QStringLiteral("vecchio"), 1);
    LoadCausaliList(&cb, 2024, 0, true);
    QCOMPARE(Texts(&cb), (QStringList{"Contributo scolastico", "Servizio mensa", "Tasse scolastiche",
                                       "Uscita didattica", QString()}));
    QCOMPARE(Ids(&cb), (QList<int>{2401, 2402, 2404, 2403, 0}));
    // Without "all" only the reasons with lCauVuvez = 1.
    LoadCausaliList(&cb, 2024, 0, false);
    QCOMPARE(Ids(&cb), (QList<int>{2401, 2402, 2404, 0}));
    LoadCausaliList(&cb, 2024, 1, true);
    QCOMPARE(Ids(&cb), (QList<int>{2405, 0}));
    LoadCausaliList(&cb, 2025, 0, true);
    QCOMPARE(Ids(&cb), (QList<int>{2501, 2502, 0}));
    LoadCausaliList(&cb, 2026, 0, true);
    QCOMPARE(Ids(&cb), (QList<int>{9901, 0}));
    LoadCausaliList(&cb, 2026, 0, false);
    QCOMPARE(Ids(&cb), (QList<int>{0}));
    LoadCausaliList(&cb, 2023, 0, true);
    QCOMPARE(Ids(&cb), (QList<int>{0}));
}

void TstShellParams::amountText()
{
    QCOMPARE(FormatAmountStr(QStringLiteral("1234,5"), false), QStringLiteral("1234,50"));
    QCOMPARE(FormatAmountStr(QStringLiteral("15.13"), false), QStringLiteral("15,13"));
    QCOMPARE(FormatAmountStr(QStringLiteral("abc"), false), QStringLiteral("0,00"));
    QCOMPARE(FormatAmountStr(QString(), false), QStringLiteral("0,00"));
    QCOMPARE(FormatAmountStr(QStringLiteral("-7"), false), QStringLiteral("-7,00"));
    const QString currency = FormatAmountStr(QStringLiteral("1234,5"), true);
    QVERIFY2(currency.contains(QStringLiteral("1.234,50")), qPrintable(currency));
    QVERIFY2(currency.contains(QStringLiteral("€")), qPrintable(currency));
}

void TstShellParams::dwgList()
{
    QVERIFY(DwgIsGroup(1));
    QVERIFY(!DwgIsGroup(2));
    QVERIFY(DwgIsGroup(90));
    QVERIFY(!DwgIsGroup(8888));

    QList<TVtEnumItem> list{TVtEnumItem{QStringLiteral("vecchio"), 5}};
    QVERIFY(LoadDwgList(list, 1));
    QCOMPARE(list.size(), 2);
    QCOMPARE(list[0].Text, QStringLiteral("Primaria Rita Vallesi"));
    QCOMPARE(list[0].Id.toInt(), 2);
    QCOMPARE(list[1].Text, QStringLiteral("Secondaria Ottavio Brenna"));
    QCOMPARE(list[1].Id.toInt(), 3);

    // A school: its own short description.
    QVERIFY(!LoadDwgList(list, 3));
    QCOMPARE(list.size(), 1);
    QCOMPARE(list[0].Text, QStringLiteral("Secondaria Ottavio Brenna"));
    QCOMPARE(list[0].Id.toInt(), 3);

    // Another group: only its own schools, those valid at the start of the
    // working school year (one left the group, one opens in 2025).
    QVERIFY(LoadDwgList(list, 90));
    QCOMPARE(Ids(list), QList<int>{91});
    SetParam(Ans, QStringLiteral("2025"));
    QVERIFY(LoadDwgList(list, 90));
    QCOMPARE(Ids(list), (QList<int>{93, 91}));   // "Infanzia Nuova" before "Primaria Altrove"

    // Without a working school year a group lists nothing.
    SetParam(Ans, QVariant());
    QVERIFY(LoadDwgList(list, 1));
    QVERIFY(list.isEmpty());
}

void TstShellParams::xmlArchiveAndEnums()
{
    QStringList lines;
    LoadXmlArchivio(lines, QStringLiteral("EBCREPLACE"));
    QVERIFY(!lines.isEmpty());
    QVERIFY(lines.join(QLatin1Char('\n')).contains(QLatin1Char('<')));
    // The list code decides: EBT_ALUFLT belongs to the list "EBT".
    LoadXmlArchivio(lines, QStringLiteral("EBT_ALUFLT"), QStringLiteral("EBT"));
    QVERIFY(!lines.isEmpty());
    try {
        LoadXmlArchivio(lines, QStringLiteral("EBT_ALUFLT"));
        QFAIL("found in the wrong list");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), QStringLiteral("XML codice EBT_ALUFLT Non trovato nel DB"));
    }

    TVtParams params;
    params.CreateParam(QMetaType::Int, QStringLiteral("iProId"))->SetAsInteger(2);
    QList<TVtEnumItem> items{TVtEnumItem{QStringLiteral("vecchio"), 1}};
    LoadEnumFromQuery(items,
                      QStringLiteral("SELECT Srpc.iSrpcId, Com.sComDesc FROM TSrpc Srpc INNER JOIN TCom_Comuni Com "
                                     "ON (Com.iComId = Srpc.iComId) WHERE Srpc.iProId = :iProId ORDER BY Com.sComDesc"),
                      &params);
    QCOMPARE(Ids(items), (QList<int>{7, 8, 6}));
    QCOMPARE(items[0].Text, QStringLiteral("Colle Aurino"));
    QCOMPARE(items[0].Id.typeId(), QMetaType::Int);
}

void TstShellParams::customReportIds()
{
    QCOMPARE(MapCustomRptId(44024), 44024);
    QCOMPARE(MapCustomRptId(1900001), 44024);
    // An unknown custom id stays as it is.
    QCOMPARE(MapCustomRptId(1999999), 1999999);
    QCOMPARE(GetSelectedRptId(nullptr), -1);
}

void TstShellParams::formsAndParams()
{
    // No main window: nothing is open, the parameters may change.
    QVERIFY(CanEditParams());
    QVERIFY((*m_messages)->Messages.isEmpty());

    QWidget shown;
    shown.setWindowTitle(QStringLiteral("Movimenti di prova"));
    shown.show();
    QWidget hidden;
    hidden.setWindowTitle(QStringLiteral("Nascosta"));
    QCOMPARE(FindFormByCaption(QStringLiteral("Movimenti di prova")), &shown);
    QCOMPARE(FindFormByCaption(QStringLiteral("Movimenti")), nullptr);
    QCOMPARE(FindFormByCaption(QStringLiteral("Nascosta")), nullptr);

    TVtParam param(QStringLiteral("iAnsId"), QMetaType::QString, ptInput);
    param.SetAsString(QStringLiteral("x"));
    ClearParam(&param, QMetaType::Int);
    QCOMPARE(param.DataType, QMetaType::Int);
    QVERIFY(param.IsNull());
    QVERIFY(param.Bound);
}

void TstShellParams::accountList()
{
    // Accounts of the program (iSprIstPgm 2) of the group valid in the year:
    // open before its start and not closed by then, or opened within it.
    QCOMPARE(Ids(TdmEbdParam::ReadAccounts(1, 2025)), (QList<int>{3, 2, 1}));
    QCOMPARE(Ids(TdmEbdParam::ReadAccounts(1, 2012)), (QList<int>{3, 4, 1}));
    QCOMPARE(Ids(TdmEbdParam::ReadAccounts(1, 2015)), (QList<int>{3, 2, 4, 1}));
    // None valid in the year: all the group's accounts.
    QCOMPARE(Ids(TdmEbdParam::ReadAccounts(1, 2004)), (QList<int>{3, 2, 4, 1}));
    QCOMPARE(Ids(TdmEbdParam::ReadAccounts(1, 0)), (QList<int>{3, 2, 4, 1}));
    QCOMPARE(Ids(TdmEbdParam::ReadAccounts(2, 2025)), QList<int>{5});
    QVERIFY(TdmEbdParam::ReadAccounts(3, 2025).isEmpty());
}

// ---------------------------------------------------------------------------
// The parameter dialog
// ---------------------------------------------------------------------------
void TstShellParams::dialogBuildsTheContext()
{
    TVtParamManager *pm = m_params->xpmVtuParams;
    QCOMPARE(pm->ApplCodeList, (QStringList{"EBD=", "KBA=1.0", "VT="}));
    QVERIFY(m_params->ShowAggregate());
    QVERIFY(m_params->AllCausali());

    auto dlg = OpenDialog();
    QCOMPARE(CurrentId(Combo(dlg.get(), Dwg)), 1);
    QCOMPARE(CurrentId(Combo(dlg.get(), Ans)), 2024);
    // Groups are offered too (aggregates shown).
    QVERIFY(Ids(Combo(dlg.get(), Dwg)).contains(1));

    QComboBox *account = Combo(dlg.get(), SprIst);
    QComboBox *anf = Combo(dlg.get(), Anf);
    QComboBox *cauAns = Combo(dlg.get(), CauAns);
    QCOMPARE(Ids(account), (QList<int>{3, 2, 1}));
    QCOMPARE(CurrentId(account), 2);
    QCOMPARE(m_params->SprIstId(), 2);
    QCOMPARE(Texts(anf), (QStringList{"2024", "2025"}));
    QCOMPARE(CurrentId(anf), 2025);
    QCOMPARE(Ids(cauAns), (QList<int>{2024, 2025}));
    QCOMPARE(Texts(cauAns), (QStringList{"2024/2025", "2025/2026"}));
    QCOMPARE(CurrentId(cauAns), 2024);
    QComboBox *vis = Combo(dlg.get(), Vis);
    QCOMPARE(Texts(vis), (QStringList{"0", "1"}));
    QCOMPARE(vis->currentIndex(), 0);

    // Combos of the "EBCC_Movimenti" page are 200 pixels wide.
    for (const QString &name : {SprIst, Anf, Vis, CauAns}) {
        TVtXMLParam *p = pm->FindParam(name);
        QVERIFY(p);
        if (p->Category.compare(QStringLiteral("EBCC_Movimenti"), Qt::CaseInsensitive) == 0)
            QCOMPARE(Combo(dlg.get(), name)->maximumWidth(), 200);
    }
    QCOMPARE(pm->FindParam(SprIst)->Category, QStringLiteral("EBCC_Movimenti"));

    // The amount edits are hidden with their captions.
    for (const QString &name : {QStringLiteral("EBSP_ImpIstCauIn"), QStringLiteral("EBSP_ImpEraCauIn"),
                                QStringLiteral("EBSP_ImpIstCauOut")}) {
        QVERIFY2(Edit(dlg.get(), name)->isHidden(), qPrintable(name));
        QVERIFY(dlg->CaptionLabel(name)->isHidden());
    }

    // The account's kind right of its combo.
    QLabel *kind = m_params->KindLabel();
    QVERIFY(kind);
    QCOMPARE(kind->text(), QStringLiteral("Bancario"));
    dlg->pcParams->setCurrentWidget(dlg->Page(QStringLiteral("EBCC_Movimenti")));
    dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
    QCOMPARE(kind->parentWidget(), account->parentWidget());
    QTRY_COMPARE(kind->x(), account->geometry().x() + account->geometry().width() + 5);
    QCOMPARE(kind->y(), account->geometry().y() + 4);
    QVERIFY(kind->isVisible());
    dlg->reject();

    // A saved account outside the list: nothing chosen, the id still kept.
    SetParam(SprIst, QStringLiteral("5"));
    dlg = OpenDialog();
    QCOMPARE(CurrentId(Combo(dlg.get(), SprIst)), 0);
    QCOMPARE(m_params->SprIstId(), 5);
    QCOMPARE(m_params->KindLabel()->text(), QStringLiteral("Postale"));

    // A saved year in which no account of the group is valid: all of them.
    SetContext(1, 2024, 2004, 3, 2024);
    dlg = OpenDialog();
    QCOMPARE(Ids(Combo(dlg.get(), SprIst)), (QList<int>{3, 2, 4, 1}));
    QCOMPARE(CurrentId(Combo(dlg.get(), SprIst)), 3);
    QCOMPARE(m_params->KindLabel()->text(), QStringLiteral("Cassa"));
    // The financial years of the cash account.
    QCOMPARE(Texts(Combo(dlg.get(), Anf)), (QStringList{"2024", "2025"}));
    QCOMPARE(CurrentId(Combo(dlg.get(), Anf)), 0);
}

void TstShellParams::dialogGroupCascade()
{
    auto dlg = OpenDialog();
    QComboBox *group = Combo(dlg.get(), Dwg);
    QComboBox *account = Combo(dlg.get(), SprIst);
    QComboBox *anf = Combo(dlg.get(), Anf);

    // The second group: the years with a cash row of any of its accounts;
    // 2025 stays chosen, so the accounts valid in 2025.
    Choose(group, 90);
    QCOMPARE(Texts(anf), (QStringList{"2012", "2024", "2025"}));
    QCOMPARE(CurrentId(anf), 2025);
    QCOMPARE(Ids(account), (QList<int>{9001, 9002, 9003}));
    QCOMPARE(CurrentId(account), 0);
    QCOMPARE(m_params->KindLabel()->text(), QString());
    QCOMPARE(m_params->SprIstId(), 0);
    // 2012: the account opened in 2015 is not offered.
    Choose(anf, 2012);
    QCOMPARE(Ids(account), (QList<int>{9001, 9002}));
    Choose(account, 9001);
    QCOMPARE(m_params->SprIstId(), 9001);
    QCOMPARE(m_params->KindLabel()->text(), QString());
    // The group changes again: the year kept, the account no longer listed.
    Choose(group, 1);
    QCOMPARE(CurrentId(anf), 2012);
    QCOMPARE(Ids(account), (QList<int>{3, 4, 1}));
    QCOMPARE(CurrentId(account), 0);
    Choose(account, 1);
    QCOMPARE(m_params->KindLabel()->text(), QStringLiteral("Postale"));

    // A school without accounts: no years, no accounts, no year condition.
    Choose(group, 91);
    QVERIFY(Ids(anf).isEmpty());
    QVERIFY(Ids(account).isEmpty());
    QCOMPARE(m_params->KindLabel()->text(), QString());
    // Back to the group without a year: every account of the group.
    Choose(group, 90);
    QCOMPARE(CurrentId(anf), 0);
    QCOMPARE(Ids(account), (QList<int>{9001, 9002, 9003}));

    // The group changes only in the dialog until it is saved.
    QCOMPARE(Saved(Dwg), QStringLiteral("1"));
    QVERIFY((*m_messages)->Messages.isEmpty());
}

void TstShellParams::dialogAccountAndYearCascade()
{
    auto dlg = OpenDialog();
    QComboBox *account = Combo(dlg.get(), SprIst);
    QComboBox *anf = Combo(dlg.get(), Anf);

    // Post office: its years include 2012; the chosen year stays.
    Choose(account, 1);
    QCOMPARE(Texts(anf), (QStringList{"2012", "2024", "2025"}));
    QCOMPARE(CurrentId(anf), 2025);
    QCOMPARE(m_params->SprIstId(), 1);
    QCOMPARE(m_params->KindLabel()->text(), QStringLiteral("Postale"));

    // The year 2012 narrows the accounts to those open then.
    Choose(anf, 2012);
    QCOMPARE(Ids(account), (QList<int>{3, 4, 1}));
    QCOMPARE(CurrentId(account), 1);

    // The cash account has no 2012 row: the year is lost, the account kept.
    Choose(account, 3);
    QCOMPARE(Texts(anf), (QStringList{"2024", "2025"}));
    QCOMPARE(CurrentId(anf), 0);
    QCOMPARE(m_params->KindLabel()->text(), QStringLiteral("Cassa"));

    // The closed account is offered only while its year is; in 2025 it is not.
    Choose(anf, 2025);
    QCOMPARE(Ids(account), (QList<int>{3, 2, 1}));
    QCOMPARE(CurrentId(account), 3);

    m_params->xpmVtuParams->SaveDialog(dlg.get());
    QCOMPARE(Saved(SprIst), QStringLiteral("3"));
    QCOMPARE(Saved(Anf), QStringLiteral("2025"));
    QCOMPARE(GetCurrentSprIstKind(), QStringLiteral("Cassa"));

    // Nothing chosen saves "0".
    dlg = OpenDialog();
    Choose(Combo(dlg.get(), SprIst), 2);
    Combo(dlg.get(), Anf)->setCurrentIndex(-1);
    m_params->xpmVtuParams->SaveDialog(dlg.get());
    QCOMPARE(Saved(SprIst), QStringLiteral("2"));
    QCOMPARE(Saved(Anf), QStringLiteral("0"));
    QVERIFY(!CheckParamsSet(QStringLiteral("EBDP_AnfId")));
    QCOMPARE((*m_messages)->LastText(), QStringLiteral("E' necessario impostare l'anno finanziario."));
}

void TstShellParams::dialogSchoolYearCascade()
{
    // With no default reason saved, no warning.
    auto dlg = OpenDialog();
    QComboBox *ans = Combo(dlg.get(), Ans);
    QComboBox *cauAns = Combo(dlg.get(), CauAns);
    QComboBox *in = Combo(dlg.get(), CauIn);
    QComboBox *out = Combo(dlg.get(), CauOut);
    QCOMPARE(m_params->DlgAnsId(), 0);
    QCOMPARE(m_params->DlgCauAnsId(), 0);
    QCOMPARE(Ids(in), (QList<int>{2401, 2402, 2404, 2403, 0}));
    QCOMPARE(Ids(out), (QList<int>{2405, 0}));
    QCOMPARE(CurrentId(in), 0);

    Choose(ans, 2025);
    QCOMPARE(m_params->DlgAnsId(), 2025);
    QVERIFY((*m_messages)->Messages.isEmpty());
    // The reasons' years follow: 2025 and 2026.
    QCOMPARE(Ids(cauAns), (QList<int>{2025, 2026}));
    QCOMPARE(CurrentId(cauAns), 0);

    // Choosing the reasons' year lists its reasons.
    Choose(cauAns, 2025);
    QCOMPARE(m_params->DlgCauAnsId(), 2025);
    QCOMPARE(Ids(in), (QList<int>{2501, 2502, 0}));
    QCOMPARE(Ids(out), (QList<int>{2505, 0}));
    m_params->xpmVtuParams->SaveDialog(dlg.get());
    QCOMPARE(Saved(Ans), QStringLiteral("2025"));
    QCOMPARE(Saved(CauAns), QStringLiteral("2025"));

    // Saved default reasons: changing the working year asks to set them again.
    SetContext(1, 2024, 2025, 2, 2024);
    SetParam(CauIn, QStringLiteral("2401"));
    dlg = OpenDialog();
    QCOMPARE(CurrentId(Combo(dlg.get(), CauIn)), 2401);
    Choose(Combo(dlg.get(), Ans), 2025);
    QCOMPARE((*m_messages)->Texts(), QStringList{DefaultReasonsText});
    QCOMPARE((*m_messages)->Messages.first().Type, mtWarning);
    // The reasons' year 2024 is no longer offered: nothing chosen, saved "0".
    QCOMPARE(CurrentId(Combo(dlg.get(), CauAns)), 0);
    m_params->xpmVtuParams->SaveDialog(dlg.get());
    QCOMPARE(Saved(CauAns), QStringLiteral("0"));

    (*m_messages)->Clear();
    SetContext(1, 2024, 2025, 2, 2024);
    SetParam(CauIn, QStringLiteral("0"));
    SetParam(CauOut, QStringLiteral("2405"));
    dlg = OpenDialog();
    Choose(Combo(dlg.get(), Ans), 2024);
    QCOMPARE((*m_messages)->Texts(), QStringList{DefaultReasonsText});

    // A reasons' year saved apart from the working year lists its reasons.
    SetContext(1, 2024, 2025, 2, 2025);
    dlg = OpenDialog();
    QCOMPARE(CurrentId(Combo(dlg.get(), CauAns)), 2025);
    QCOMPARE(Ids(Combo(dlg.get(), CauIn)), (QList<int>{2501, 2502, 0}));
}

// A read that fails leaves the amounts empty and says why; it never shows 0.
void TstShellParams::dialogReasonAmountsUnreadable()
{
    // Components too large to add up: the database refuses the sum.
    Exec(QStringLiteral("UPDATE TCca_CompCausali SET fCcaImportoIst = 1e308 "
                        "WHERE iCcaId IN (SELECT iCcaId FROM TCauCca WHERE iCauId = 2401)"));
    auto dlg = OpenDialog();
    QLineEdit *ist = Edit(dlg.get(), QStringLiteral("EBSP_ImpIstCauIn"));
    QLineEdit *era = Edit(dlg.get(), QStringLiteral("EBSP_ImpEraCauIn"));
    (*m_messages)->Clear();
    Choose(Combo(dlg.get(), CauIn), 2401);
    QCOMPARE((*m_messages)->Messages.size(), 1);
    QCOMPARE((*m_messages)->Messages.first().Type, mtError);
    QVERIFY2((*m_messages)->LastText().startsWith(QStringLiteral("Impossibile leggere gli importi della causale:\r\n")),
             qPrintable((*m_messages)->LastText()));
    QCOMPARE(ist->text(), QString());
    QCOMPARE(era->text(), QString());
    // Another reason reads as before.
    Choose(Combo(dlg.get(), CauIn), 2404);
    QCOMPARE(era->text(), QStringLiteral("15,13"));
}

void TstShellParams::dialogReasonAmounts()
{
    auto dlg = OpenDialog();
    QLineEdit *ist = Edit(dlg.get(), QStringLiteral("EBSP_ImpIstCauIn"));
    QLineEdit *era = Edit(dlg.get(), QStringLiteral("EBSP_ImpEraCauIn"));
    QLineEdit *outIst = Edit(dlg.get(), QStringLiteral("EBSP_ImpIstCauOut"));

    // 40 + 8.50 + 6 of the institute, nothing of the treasury.
    Choose(Combo(dlg.get(), CauIn), 2401);
    QCOMPARE(ist->text(), QStringLiteral("54,50"));
    QCOMPARE(era->text(), QStringLiteral("0,00"));
    QCOMPARE(outIst->text(), QString());
    // The tax: the treasury's amount only.
    Choose(Combo(dlg.get(), CauIn), 2404);
    QCOMPARE(ist->text(), QStringLiteral("0,00"));
    QCOMPARE(era->text(), QStringLiteral("15,13"));
    Choose(Combo(dlg.get(), CauOut), 2405);
    QCOMPARE(outIst->text(), QStringLiteral("35,00"));
    QCOMPARE(era->text(), QStringLiteral("15,13"));

    m_params->xpmVtuParams->SaveDialog(dlg.get());
    QCOMPARE(Saved(CauIn), QStringLiteral("2404"));
    QCOMPARE(Saved(CauOut), QStringLiteral("2405"));
    QCOMPARE(Saved(QStringLiteral("EBSP_ImpIstCauIn")), QStringLiteral("0,00"));
    QCOMPARE(Saved(QStringLiteral("EBSP_ImpEraCauIn")), QStringLiteral("15,13"));
    QCOMPARE(Saved(QStringLiteral("EBSP_ImpIstCauOut")), QStringLiteral("35,00"));

    // The empty item clears the reason and its amounts.
    dlg = OpenDialog();
    QCOMPARE(CurrentId(Combo(dlg.get(), CauIn)), 2404);
    QCOMPARE(Edit(dlg.get(), QStringLiteral("EBSP_ImpEraCauIn"))->text(), QStringLiteral("15,13"));
    Choose(Combo(dlg.get(), CauIn), 0);
    QCOMPARE(Edit(dlg.get(), QStringLiteral("EBSP_ImpEraCauIn"))->text(), QStringLiteral("0,00"));
    m_params->xpmVtuParams->SaveDialog(dlg.get());
    QCOMPARE(Saved(CauIn), QStringLiteral("0"));
}

void TstShellParams::dialogBranchAndTown()
{
    auto dlg = OpenDialog();
    QComboBox *branch = Combo(dlg.get(), Branch);
    QComboBox *town = Combo(dlg.get(), Town);
    // Post-office branches as CAB - town, by CAB.
    QCOMPARE(branch->itemText(0), QStringLiteral("11010 - Valdirame"));
    QCOMPARE(Ids(branch).mid(0, 3), (QList<int>{201, 202, 203}));
    QVERIFY(!Ids(branch).contains(101));
    // Every open town, the closed Vallechiara left out.
    QVERIFY(Texts(town).contains(QStringLiteral("Serralta")));
    QVERIFY(Texts(town).contains(QStringLiteral("Valdirame")));
    QVERIFY(!Texts(town).contains(QStringLiteral("Vallechiara")));

    // A branch in Serralta: the towns of its province, then an empty item.
    Choose(branch, 206);
    QCOMPARE(Texts(town), (QStringList{"Colle Aurino", "Montesolaro", "Serralta", QString()}));
    QCOMPARE(CurrentId(town), 0);
    // A town: the post office of its province, its own town's first.
    Choose(town, 8);
    QCOMPARE(CurrentId(branch), 208);
    QCOMPARE(CurrentId(town), 8);
    // Another province: the chosen town is not listed any more.
    Choose(branch, 209);
    QCOMPARE(Texts(town), (QStringList{"Borgoreale", "Fontecava", "San Lirio", "Villanova del Ponte", QString()}));
    QCOMPARE(CurrentId(town), 0);
    // Same province: the town stays.
    Choose(town, 11);
    Choose(branch, 210);
    QCOMPARE(CurrentId(town), 11);

    m_params->xpmVtuParams->SaveDialog(dlg.get());
    QCOMPARE(Saved(Branch), QStringLiteral("210"));
    QCOMPARE(Saved(Town), QStringLiteral("11"));

    // Reading the saved branch lists its province's towns.
    dlg = OpenDialog();
    QCOMPARE(CurrentId(Combo(dlg.get(), Branch)), 210);
    QCOMPARE(Texts(Combo(dlg.get(), Town)),
             (QStringList{"Borgoreale", "Fontecava", "San Lirio", "Villanova del Ponte", QString()}));
    QCOMPARE(CurrentId(Combo(dlg.get(), Town)), 11);
}

void TstShellParams::dialogSavesAndSetsGlobals()
{
    gDwgList.clear();
    auto dlg = OpenDialog();
    Choose(Combo(dlg.get(), Vis), 1);
    m_params->xpmVtuParams->SaveDialog(dlg.get());
    QCOMPARE(Saved(Vis), QStringLiteral("1"));
    QCOMPARE(gVisMode, 1);
    // Saving the group reloads its schools.
    QCOMPARE(Ids(gDwgList), (QList<int>{2, 3}));

    dlg = OpenDialog();
    QCOMPARE(Combo(dlg.get(), Vis)->currentIndex(), 1);
    Choose(Combo(dlg.get(), Vis), 0);
    Choose(Combo(dlg.get(), Dwg), 3);
    m_params->xpmVtuParams->SaveDialog(dlg.get());
    QCOMPARE(Saved(Vis), QStringLiteral("0"));
    QCOMPARE(gVisMode, 0);
    QCOMPARE(Saved(Dwg), QStringLiteral("3"));
    QCOMPARE(Ids(gDwgList), QList<int>{3});
    QCOMPARE(gDwgList.first().Text, QStringLiteral("Secondaria Ottavio Brenna"));
    // The account of the group is no longer offered for the school: "0".
    QCOMPARE(Saved(SprIst), QStringLiteral("0"));

    // The working school year saved in the same dialog decides the schools.
    dlg = OpenDialog();
    Choose(Combo(dlg.get(), Dwg), 90);
    Choose(Combo(dlg.get(), Ans), 2025);
    m_params->xpmVtuParams->SaveDialog(dlg.get());
    QCOMPARE(Ids(gDwgList), (QList<int>{93, 91}));

    // Cancelling saves nothing.
    dlg = OpenDialog();
    Choose(Combo(dlg.get(), Dwg), 1);
    dlg->reject();
    dlg.reset();
    QCOMPARE(Saved(Dwg), QStringLiteral("90"));
    gDwgList.clear();
}

// ---------------------------------------------------------------------------
// Beneficiary search forms
// ---------------------------------------------------------------------------
void TstShellParams::searchFormsRegistered()
{
    RegisterSearchForms();
    QVERIFY(IsVtSearchFormRegistered(QStringLiteral("TfmEbsSearchBen")));
    QVERIFY(IsVtSearchFormRegistered(QStringLiteral("TfmEbcSearchBen")));
    std::unique_ptr<TfmVtSearch> form(CreateVtSearchForm(QStringLiteral("TfmEbcSearchBen")));
    auto *ebc = qobject_cast<TfmEbcSearchBen *>(form.get());
    QVERIFY(ebc);
    QCOMPARE(ebc->Kind(), -1);
    std::unique_ptr<TfmVtSearch> ebs(CreateVtSearchForm(QStringLiteral("TfmEbsSearchBen")));
    QVERIFY(qobject_cast<TfmEbsSearchBen *>(ebs.get()));
    QVERIFY(!qobject_cast<TfmEbcSearchBen *>(ebs.get()));
    UnregisterSearchForms();
    QVERIFY(!IsVtSearchFormRegistered(QStringLiteral("TfmEbcSearchBen")));
    QVERIFY_THROWS_EXCEPTION(EVtException, CreateVtSearchForm(QStringLiteral("TfmEbcSearchBen")));
}

void TstShellParams::searchSchoolYears()
{
    TfmEbsSearchBen fm;
    QCOMPARE(fm.lbAnnoScol->text(), QStringLiteral("&Anno scolastico"));
    QCOMPARE(fm.lbAnnoScol->buddy(), fm.cbAnnoScol);
    QCOMPARE(fm.cbAnnoScol->parentWidget(), fm.TopPanel());
    QCOMPARE(fm.TopPanel()->objectName(), QStringLiteral("paTop"));
    // The years with classes, newest first; 2026 has none.
    QCOMPARE(Texts(fm.cbAnnoScol), (QStringList{"2025/2026", "2024/2025"}));
    QCOMPARE(Ids(fm.cbAnnoScol), (QList<int>{2025, 2024}));
    // Nothing chosen: the working school year.
    QCOMPARE(fm.ChosenAnsId(), 0);
    QCOMPARE(fm.SelectedAnsId(), 2024);
    QVERIFY(!fm.cbAnnoScol->isHidden());

    // Every search reopens with the chosen year.
    fm.SetCommandText(ClassSearchSQL(false));
    QTimer::singleShot(0, &fm, &QDialog::reject);
    fm.Execute();
    QCOMPARE(fm.GetDataSet()->RecordCount(), ClassCount(2024));
    Choose(fm.cbAnnoScol, 2025);
    QCOMPARE(fm.ChosenAnsId(), 2025);
    QCOMPARE(fm.SelectedAnsId(), 2025);
    QVERIFY(fm.GetDataSet()->Active());
    QCOMPARE(fm.GetDataSet()->RecordCount(), ClassCount(2025));
    QCOMPARE(fm.GetDataSet()->Params().FindParam(QStringLiteral("iAnsId"))->Value().toInt(), 2025);

    // The working year decides only while none is chosen.
    SetParam(Ans, QStringLiteral("2025"));
    TfmEbsSearchBen other;
    QCOMPARE(other.SelectedAnsId(), 2025);
    other.LoadAnnoScol(2024);
    QCOMPARE(other.SelectedAnsId(), 2024);
    // A year without classes is not offered: nothing selected.
    other.LoadAnnoScol(2026);
    QCOMPARE(other.ChosenAnsId(), 2026);
    QCOMPARE(other.SelectedAnsId(), 0);
}

void TstShellParams::searchSchoolChoice()
{
    QVERIFY(LoadDwgList(gDwgList, 1));
    QCOMPARE(gDwgList.size(), 2);

    TfmEbcSearchBen fm;
    QCOMPARE(fm.lbIstituto->text(), QStringLiteral("&Istituto"));
    QCOMPARE(fm.cbIstituto->parentWidget(), fm.TopPanel());
    QCOMPARE(Texts(fm.cbIstituto), (QStringList{"Primaria Rita Vallesi", "Secondaria Ottavio Brenna"}));
    QCOMPARE(Ids(fm.cbIstituto), (QList<int>{2, 3}));
    fm.SetKind(1);
    fm.GetDataSet()->Params().CreateParam(QMetaType::Int, QStringLiteral("iDwgId"));
    fm.SetCommandText(ClassSearchSQL(true));

    bool shown = false;
    QTimer::singleShot(0, &fm, [&] {
        shown = !fm.cbIstituto->isHidden() && !fm.lbIstituto->isHidden();
        fm.reject();
    });
    fm.Execute();
    QVERIFY(shown);
    // Before a choice the search covers the school shown in the list.
    QCOMPARE(fm.DwgId(), CurrentId(fm.cbIstituto));
    QCOMPARE(fm.GetDataSet()->RecordCount(), ClassCount(2024, fm.DwgId()));

    // Choosing a school narrows the search to it, in the chosen year.
    Choose(fm.cbIstituto, 3);
    QCOMPARE(fm.DwgId(), 3);
    QCOMPARE(Column(fm.GetDataSet(), QStringLiteral("iDwgId")), QSet<int>{3});
    QCOMPARE(fm.GetDataSet()->RecordCount(), ClassCount(2024, 3));
    fm.ChooseIstituto(2);
    QCOMPARE(CurrentId(fm.cbIstituto), 2);
    QCOMPARE(fm.GetDataSet()->RecordCount(), ClassCount(2024, 2));
    // A year keeps the school.
    Choose(fm.cbAnnoScol, 2025);
    QCOMPARE(fm.GetDataSet()->RecordCount(), ClassCount(2025, 2));
    QCOMPARE(Column(fm.GetDataSet(), QStringLiteral("iDwgId")), QSet<int>{2});

    // A single school: no choice to offer, even for pupils.
    QVERIFY(!LoadDwgList(gDwgList, 3));
    TfmEbcSearchBen single;
    single.SetKind(1);
    single.SetCommandText(ClassSearchSQL(false));
    shown = true;
    QTimer::singleShot(0, &single, [&] {
        shown = !single.cbIstituto->isHidden();
        single.reject();
    });
    single.Execute();
    QVERIFY(!shown);
    // Without a parameter iDwgId the year alone narrows the search.
    QCOMPARE(single.GetDataSet()->RecordCount(), ClassCount(2024));
    Choose(single.cbAnnoScol, 2025);
    QCOMPARE(single.GetDataSet()->RecordCount(), ClassCount(2025));
    gDwgList.clear();
}

void TstShellParams::searchOtherKinds()
{
    QVERIFY(LoadDwgList(gDwgList, 1));
    // Kind 3 of a group: the year narrows, the school choice stays hidden.
    {
        TfmEbcSearchBen fm;
        fm.SetKind(3);
        fm.SetCommandText(ClassSearchSQL(false));
        bool shown = true;
        QTimer::singleShot(0, &fm, [&] {
            shown = !fm.cbIstituto->isHidden();
            fm.reject();
        });
        fm.Execute();
        QVERIFY(!shown);
        QCOMPARE(fm.GetDataSet()->RecordCount(), ClassCount(2024));
        Choose(fm.cbAnnoScol, 2025);
        QCOMPARE(fm.GetDataSet()->RecordCount(), ClassCount(2025));
    }
    // Kind 2: the search stays as the caller built it, whatever the year.
    {
        TfmEbcSearchBen fm;
        fm.SetKind(2);
        fm.GetDataSet()->Params().CreateParam(QMetaType::Int, QStringLiteral("iAnsId"))->SetAsInteger(2025);
        fm.SetCommandText(ClassSearchSQL(false));
        QTimer::singleShot(0, &fm, &QDialog::reject);
        fm.Execute();
        QCOMPARE(fm.SelectedAnsId(), 2024);
        QCOMPARE(fm.GetDataSet()->RecordCount(), ClassCount(2025));
        Choose(fm.cbAnnoScol, 2024);
        QCOMPARE(fm.GetDataSet()->Params().FindParam(QStringLiteral("iAnsId"))->Value().toInt(), 2025);
        QCOMPARE(fm.GetDataSet()->RecordCount(), ClassCount(2025));
        // And shows no school choice.
        bool shown = true;
        QTimer::singleShot(0, &fm, [&] {
            shown = !fm.cbIstituto->isHidden();
            fm.reject();
        });
        fm.Execute();
        QVERIFY(!shown);
    }
    gDwgList.clear();
}

QTEST_MAIN(TstShellParams)
#include "tst_shellparams.moc"

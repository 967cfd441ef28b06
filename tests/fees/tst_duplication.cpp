// Copy of fee reasons into another school year, on the demo school: the
// database's procedure PEBS_DUPLICACAUS called through the program's
// connection, the copy of a selection in one transaction, and the preview
// that tells beforehand what the copy creates. Expected rows are read back
// from the database with selects of their own.
#include "DbScripts.h"
#include "EbsUDuplicaCausali.h"
#include "TestDatabase.h"
#include "TestRow.h"
#include "VtDatabaseCreator.h"
#include "VtDatabaseError.h"
#include "VtEngineError.h"
#include "VtException.h"
#include "VtSQLQuery.h"
#include "VtSchemaUpgrader.h"
#include "VtTransaction.h"

#include <QFile>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {
const QDate Start24(2024, 9, 1), End24(2025, 8, 31), Start25(2025, 9, 1), End25(2026, 8, 31);

int DbInt(const QString &sql, const QVariantList &values = {})
{
    return TTestDatabase::Scalar(sql, values).toInt();
}

QString Text(const QVariant &v)
{
    if (v.isNull())
        return QStringLiteral("NULL");
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(Qt::ISODate);
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble());
    return v.toString();
}

// The rows of a select, each as its columns joined by "|".
QStringList Rows(const QString &sql, const QVariantList &values = {})
{
    QSqlQuery q(qqoVtGlobConn->Database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        qFatal("%s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        qFatal("%s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
    QStringList rows;
    while (q.next()) {
        QStringList columns;
        for (int i = 0; i < q.record().count(); ++i)
            columns << Text(q.value(i));
        rows << columns.join(QLatin1Char('|'));
    }
    return rows;
}

QString Row(const QString &sql, const QVariantList &values = {})
{
    const QStringList rows = Rows(sql, values);
    return rows.size() == 1 ? rows.first() : QStringLiteral("%1 righe").arg(rows.size());
}

// What the fee structure holds, and the key generator.
struct TCounts
{
    int Reasons = 0, Components = 0, Links = 0;
    qint64 Generator = 0;
    bool operator==(const TCounts &o) const
    {
        return Reasons == o.Reasons && Components == o.Components && Links == o.Links && Generator == o.Generator;
    }
};

TCounts Counts()
{
    TCounts c;
    c.Reasons = DbInt(QStringLiteral("SELECT COUNT(*) FROM TCau_Causali"));
    c.Components = DbInt(QStringLiteral("SELECT COUNT(*) FROM TCca_CompCausali"));
    c.Links = DbInt(QStringLiteral("SELECT COUNT(*) FROM TCauCca"));
    c.Generator = TTestDatabase::Scalar(QStringLiteral("SELECT GEN_ID(GEN_VTID, 0) FROM RDB$DATABASE")).toLongLong();
    return c;
}

// The procedure itself, through the program's connection: inside the
// caller's scope when there is one.
void Duplica(int ansId, int cauId)
{
    TSQLQuery q;
    q.SQL = QStringLiteral("EXECUTE PROCEDURE PEBS_DUPLICACAUS(:iAnsId, :iCauId)");
    q.Params().CreateParam(QMetaType::Int, QStringLiteral("iAnsId"))->SetAsInteger(ansId);
    q.Params().CreateParam(QMetaType::Int, QStringLiteral("iCauId"))->SetAsInteger(cauId);
    q.ExecSQL();
}

// The procedure's refusal as the user reads it; "eseguita" when it copied.
QString Refusal(int ansId, int cauId)
{
    try {
        Duplica(ansId, cauId);
    } catch (const EVtDatabaseError &e) {
        if (e.Error().Kind != TVtEngineError::ekRefused)
            return QStringLiteral("altro errore: ") + e.Message();
        if (!e.Message().startsWith(e.Error().Sentence() + TVtEngineError::DetailsMarker()))
            return QStringLiteral("messaggio senza dettagli: ") + e.Message();
        return e.Error().Sentence();
    }
    return QStringLiteral("eseguita");
}

// The text the copy of a selection failed with, before the details;
// "eseguita" when it copied.
QString CopyFailure(int ansId, const QList<int> &ids)
{
    try {
        EbsDuplicaCausali(ansId, ids);
    } catch (const EVtException &e) {
        return e.Message().section(TVtEngineError::DetailsMarker(), 0, 0);
    }
    return QStringLiteral("eseguita");
}

QString Exists(const QString &ans, const QString &desc)
{
    return QStringLiteral("Nell'anno scolastico %1 esiste già la causale \"%2\".").arg(ans, desc);
}

// Reasons of a school year with that long description.
QList<int> ReasonsIn(int ansId, const QString &desc)
{
    QList<int> ids;
    for (const QVariant &v : TTestDatabase::Column(
             QStringLiteral("SELECT c.iCauId FROM TCau_Causali c JOIN TAns_AnniScolast a ON a.dAnsVeltoInizio = c.dStart "
                            "AND a.dAnsVeltoFine = c.dEnd WHERE a.iAnsId = ? AND c.sCauLDesc = ? ORDER BY c.iCauId"),
             {ansId, desc}))
        ids << v.toInt();
    return ids;
}

int ReasonIn(int ansId, const QString &desc)
{
    const QList<int> ids = ReasonsIn(ansId, desc);
    return ids.size() == 1 ? ids.first() : 0;
}

// Components linked to a reason, in link order.
QList<int> LinkedComponents(int cauId)
{
    QList<int> ids;
    for (const QVariant &v : TTestDatabase::Column(
             QStringLiteral("SELECT iCcaId FROM TCauCca WHERE iCauId = ? ORDER BY iCauCcaId"), {cauId}))
        ids << v.toInt();
    return ids;
}

int ComponentsOfYear(const QDate &start)
{
    return DbInt(QStringLiteral("SELECT COUNT(*) FROM TCca_CompCausali WHERE dStart = ?"), {start});
}

const char *ComponentColumns = "SELECT sCcaSDesc, sCcaLDesc, iTccId, iAggId, iVproId, iSvoId, iDwgId, fCcaImportoIst, "
                               "fCcaImportoEra, lCcaVuvez, lCcaTipo, dStart, dEnd, dCcaDataScadenza, iLocked "
                               "FROM TCca_CompCausali WHERE iCcaId = ?";
const char *ReasonColumns = "SELECT sCauSDesc, sCauLDesc, lCauTipo, lCauVuvez, dStart, dEnd, iDwgId, iLocked "
                            "FROM TCau_Causali WHERE iCauId = ?";

int Reason(const QString &code, const QString &desc, const QDate &start, const QDate &end)
{
    return TTestRow::Reason(code, start, end).Set(QStringLiteral("sCauLDesc"), desc).Insert();
}

int Component(const QString &code, const QString &desc, double amount, const QDate &due, const QDate &start,
              const QDate &end)
{
    return TTestRow::Component(code, TVtMoney(amount), start, end)
        .Set(QStringLiteral("sCcaLDesc"), desc)
        .Set(QStringLiteral("iTccId"), 401)
        .Set(QStringLiteral("lCcaVuvez"), 1)
        .Set(QStringLiteral("dCcaDataScadenza"), due)
        .Insert();
}

void Link(int cauId, int ccaId)
{
    TTestRow::ReasonComponent(cauId, ccaId).Set(QStringLiteral("dStart"), Start24).Set(QStringLiteral("dEnd"), End24).Insert();
}

// A school year of the tests' own.
void SchoolYear(int year)
{
    TTestRow(QStringLiteral("TAns_AnniScolast"), QStringLiteral("iAnsId"))
        .Set(QStringLiteral("iAnsId"), year)
        .Set(QStringLiteral("iAnsValore"), year)
        .Set(QStringLiteral("sAnsAnnoDesc"), QStringLiteral("%1/%2").arg(year).arg(year + 1))
        .Set(QStringLiteral("dAnsVeltoInizio"), QDate(year, 9, 1))
        .Set(QStringLiteral("dAnsVeltoFine"), QDate(year + 1, 8, 31))
        .Insert();
}

// Set-ups of 2024 reasons to copy into 2025.
// A reason billing 2024's MENSA1 (2025 has its own), then two components
// that differ from 2025's MENSA1 by owner and by description.
QList<int> ReuseSetup()
{
    const int r = Reason(QStringLiteral("MENSAEST"), QStringLiteral("Mensa estiva"), Start24, End24);
    Link(r, 2404);
    const int noOwner = TTestRow::Component(QStringLiteral("MENSA1"), TVtMoney(99.0), Start24, End24)
                            .Set(QStringLiteral("sCcaLDesc"), QStringLiteral("Mensa primo trimestre"))
                            .Set(QStringLiteral("iTccId"), 301)
                            .Set(QStringLiteral("iDwgId"), QVariant())
                            .Set(QStringLiteral("lCcaVuvez"), 1)
                            .Set(QStringLiteral("dCcaDataScadenza"), QDate(2025, 6, 15))
                            .Insert();
    Link(r, noOwner);
    Link(r, Component(QStringLiteral("MENSA1"), QStringLiteral("Mensa primo trimestre estiva"), 60.0, QDate(2025, 7, 1),
                      Start24, End24));
    return {r, 2403};
}

// Two reasons sharing a component, and one without components.
QList<int> SharedSetup()
{
    const int shared = Component(QStringLiteral("LAB"), QStringLiteral("Laboratorio"), 20.0, QDate(2025, 2, 10), Start24, End24);
    const int material = TTestRow::Component(QStringLiteral("MAT"), TVtMoney(5.5), Start24, End24)
                             .Set(QStringLiteral("sCcaLDesc"), QStringLiteral("Materiale"))
                             .Set(QStringLiteral("iTccId"), 401)
                             .Set(QStringLiteral("lCcaVuvez"), 0)
                             .Set(QStringLiteral("dCcaDataScadenza"), QDate(2025, 3, 1))
                             .Insert();
    const int costumes = Component(QStringLiteral("COST"), QStringLiteral("Costumi"), 7.25, QDate(2025, 4, 1), Start24, End24);
    const int creative = Reason(QStringLiteral("LABCR"), QStringLiteral("Laboratorio creativo"), Start24, End24);
    Link(creative, shared);
    Link(creative, material);
    const int theatre = Reason(QStringLiteral("LABTE"), QStringLiteral("Laboratorio teatrale"), Start24, End24);
    Link(theatre, costumes);
    Link(theatre, shared);
    const int enrolment = TTestRow::Reason(QStringLiteral("ISCR"), Start24, End24)
                              .Set(QStringLiteral("sCauLDesc"), QStringLiteral("Iscrizione"))
                              .Set(QStringLiteral("lCauVuvez"), 0)
                              .Insert();
    return {creative, theatre, enrolment};
}
}

class TstDuplication : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    // The procedure
    void copyKeepsEveryColumn();
    void refusalsTellWhyAndWriteNothing_data();
    void refusalsTellWhyAndWriteNothing();
    void secondCopyIsRefused();
    void sameDescriptionRule_data();
    void sameDescriptionRule();
    void reusesTheTargetYearsComponent();
    void sharedComponentIsCopiedOnce();
    void dueDatesMoveByTheYears();
    void callerRollbackUndoesTheRun();
    void officeUserCopiesThroughTheRole();
    void upgradeOfAnExistingDatabase();

    // The copy of a selection
    void failingCallLeavesNothing();

    // The preview
    void previewOfTheDemoCopy();
    void previewMatchesTheCopy_data();
    void previewMatchesTheCopy();
    void previewTellsReasonsTheYearHas();
    void previewTellsTickedReasonsInConflict();

private:
    std::unique_ptr<TTestDatabase> m_db;
};

void TstDuplication::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
}

void TstDuplication::init()
{
    m_db->Fresh();
}

// 2403 "Uscita didattica" and 2404 "Tasse scolastiche" of 2024 into 2025,
// which has neither: new keys, 2025's bounds, the rest as in 2024, due
// dates one year on.
void TstDuplication::copyKeepsEveryColumn()
{
    const TCounts before = Counts();
    const QStringList sources = Rows(QStringLiteral("SELECT * FROM TCau_Causali WHERE iCauId IN (2403, 2404) ORDER BY iCauId"))
                                + Rows(QStringLiteral("SELECT * FROM TCca_CompCausali WHERE iCcaId IN (2407, 2408) ORDER BY iCcaId"))
                                + Rows(QStringLiteral("SELECT * FROM TCauCca WHERE iCauId IN (2403, 2404) ORDER BY iCauCcaId"));
    {
        TVtTransaction tr;
        tr.StartTransaction();
        Duplica(2025, 2403);
        Duplica(2025, 2404);
        tr.Commit();
    }
    const TCounts after = Counts();
    QCOMPARE(after.Reasons, before.Reasons + 2);
    QCOMPARE(after.Components, before.Components + 2);
    QCOMPARE(after.Links, before.Links + 2);

    const int gita = ReasonIn(2025, QStringLiteral("Uscita didattica"));
    const int tasse = ReasonIn(2025, QStringLiteral("Tasse scolastiche"));
    QVERIFY(gita > before.Generator);
    QVERIFY(tasse > gita);
    QCOMPARE(Row(QString::fromLatin1(ReasonColumns), {gita}),
             QStringLiteral("GITA|Uscita didattica|0|0|2025-09-01|2026-08-31|1|0"));
    QCOMPARE(Row(QString::fromLatin1(ReasonColumns), {tasse}),
             QStringLiteral("TASSE|Tasse scolastiche|0|1|2025-09-01|2026-08-31|NULL|0"));

    const QList<int> gitaComps = LinkedComponents(gita);
    const QList<int> tasseComps = LinkedComponents(tasse);
    QCOMPARE(gitaComps.size(), 1);
    QCOMPARE(tasseComps.size(), 1);
    QVERIFY(gitaComps[0] > before.Generator);
    QVERIFY(tasseComps[0] > before.Generator);
    QCOMPARE(Row(QString::fromLatin1(ComponentColumns), {gitaComps[0]}),
             QStringLiteral("GITA|Uscita didattica di primavera|302|3|3|4|1|35|0|0|0|2025-09-01|2026-08-31|2026-03-20|0"));
    QCOMPARE(Row(QString::fromLatin1(ComponentColumns), {tasseComps[0]}),
             QStringLiteral("TASFREQ|Tassa di frequenza|101|NULL|NULL|NULL|NULL|0|15.13|1|0|2025-09-01|2026-08-31|2025-11-30|0"));
    // The links: keys of their own, the year's bounds, unlocked.
    const QStringList links = Rows(QStringLiteral("SELECT iCauId, iCcaId, dStart, dEnd, iLocked FROM TCauCca "
                                                  "WHERE iCauCcaId > ? ORDER BY iCauCcaId"),
                                   {before.Generator});
    QCOMPARE(links, (QStringList{QStringLiteral("%1|%2|2025-09-01|2026-08-31|0").arg(gita).arg(gitaComps[0]),
                                 QStringLiteral("%1|%2|2025-09-01|2026-08-31|0").arg(tasse).arg(tasseComps[0])}));
    // Every new key is the generator's, each used once.
    const QSet<int> keys{gita, tasse, gitaComps[0], tasseComps[0],
                         DbInt(QStringLiteral("SELECT MIN(iCauCcaId) FROM TCauCca WHERE iCauId = ?"), {gita}),
                         DbInt(QStringLiteral("SELECT MIN(iCauCcaId) FROM TCauCca WHERE iCauId = ?"), {tasse})};
    QCOMPARE(keys.size(), 6);
    QCOMPARE(after.Generator, before.Generator + 6);
    // The source rows are untouched.
    QCOMPARE(Rows(QStringLiteral("SELECT * FROM TCau_Causali WHERE iCauId IN (2403, 2404) ORDER BY iCauId"))
                 + Rows(QStringLiteral("SELECT * FROM TCca_CompCausali WHERE iCcaId IN (2407, 2408) ORDER BY iCcaId"))
                 + Rows(QStringLiteral("SELECT * FROM TCauCca WHERE iCauId IN (2403, 2404) ORDER BY iCauCcaId")),
             sources);
}

void TstDuplication::refusalsTellWhyAndWriteNothing_data()
{
    QTest::addColumn<int>("ansId");
    QTest::addColumn<int>("cauId");
    QTest::addColumn<QString>("text");
    QTest::newRow("unknown year") << 2030 << 2403 << QStringLiteral("Anno scolastico di destinazione non trovato.");
    QTest::newRow("unknown reason") << 2025 << 999999 << QStringLiteral("Causale da duplicare non trovata.");
    QTest::newRow("the year has it") << 2025 << 2402 << Exists(QStringLiteral("2025/2026"), QStringLiteral("Servizio mensa"));
    QTest::newRow("its own year") << 2024 << 2403 << Exists(QStringLiteral("2024/2025"), QStringLiteral("Uscita didattica"));
}

void TstDuplication::refusalsTellWhyAndWriteNothing()
{
    QFETCH(int, ansId);
    QFETCH(int, cauId);
    QFETCH(QString, text);
    const TCounts before = Counts();
    QCOMPARE(Refusal(ansId, cauId), text);
    QCOMPARE(Counts(), before);
    // Inside a scope of the caller, the scope lives on and holds nothing.
    TVtTransaction tr;
    tr.StartTransaction();
    Duplica(2025, 2403);
    QCOMPARE(Refusal(ansId, cauId), text);
    tr.Rollback();
    QCOMPARE(Counts().Reasons, before.Reasons);
    QCOMPARE(Counts().Components, before.Components);
    QCOMPARE(Counts().Links, before.Links);
}

// What stops a second run from doubling a year.
void TstDuplication::secondCopyIsRefused()
{
    EbsDuplicaCausali(2025, {2403});
    const TCounts once = Counts();
    QCOMPARE(ReasonsIn(2025, QStringLiteral("Uscita didattica")).size(), 1);
    QCOMPARE(CopyFailure(2025, {2403}), Exists(QStringLiteral("2025/2026"), QStringLiteral("Uscita didattica")));
    QCOMPARE(Refusal(2025, 2403), Exists(QStringLiteral("2025/2026"), QStringLiteral("Uscita didattica")));
    QCOMPARE(Counts(), once);
    // The copy itself cannot be copied back either.
    QCOMPARE(Refusal(2024, ReasonIn(2025, QStringLiteral("Uscita didattica"))),
             Exists(QStringLiteral("2024/2025"), QStringLiteral("Uscita didattica")));
}

void TstDuplication::sameDescriptionRule_data()
{
    QTest::addColumn<QString>("sourceDesc");
    QTest::addColumn<int>("sourceTipo");
    QTest::addColumn<QVariant>("sourceOwner");
    QTest::addColumn<QString>("targetDesc");
    QTest::addColumn<int>("targetTipo");
    QTest::addColumn<QVariant>("targetOwner");
    QTest::addColumn<bool>("refused");
    const QVariant none;
    QTest::newRow("case and blanks") << QStringLiteral("  Corso di nuoto ") << 0 << QVariant(1)
                                     << QStringLiteral("CORSO DI NUOTO") << 0 << QVariant(1) << true;
    QTest::newRow("blanks in the target") << QStringLiteral("Corso di nuoto") << 0 << QVariant(1)
                                          << QStringLiteral("  corso di Nuoto   ") << 0 << QVariant(1) << true;
    QTest::newRow("blanks inside differ") << QStringLiteral("Corso  di nuoto") << 0 << QVariant(1)
                                          << QStringLiteral("Corso di nuoto") << 0 << QVariant(1) << false;
    QTest::newRow("other description") << QStringLiteral("Corso di nuoto") << 0 << QVariant(1)
                                       << QStringLiteral("Corso di nuoto estivo") << 0 << QVariant(1) << false;
    QTest::newRow("other direction") << QStringLiteral("Corso di nuoto") << 0 << QVariant(1)
                                     << QStringLiteral("Corso di nuoto") << 1 << QVariant(1) << false;
    QTest::newRow("outgoing both") << QStringLiteral("Corso di nuoto") << 1 << QVariant(1)
                                   << QStringLiteral("corso di nuoto") << 1 << QVariant(1) << true;
    QTest::newRow("another school") << QStringLiteral("Corso di nuoto") << 0 << QVariant(2)
                                    << QStringLiteral("Corso di nuoto") << 0 << QVariant(1) << false;
    QTest::newRow("the same school") << QStringLiteral("Corso di nuoto") << 0 << QVariant(2)
                                     << QStringLiteral("Corso di nuoto") << 0 << QVariant(2) << true;
    QTest::newRow("target without owner") << QStringLiteral("Corso di nuoto") << 0 << QVariant(2)
                                          << QStringLiteral("Corso di nuoto") << 0 << none << true;
    QTest::newRow("source without owner") << QStringLiteral("Corso di nuoto") << 0 << none
                                          << QStringLiteral("Corso di nuoto") << 0 << QVariant(1) << true;
    QTest::newRow("neither with owner") << QStringLiteral("Corso di nuoto") << 0 << none
                                        << QStringLiteral("Corso di nuoto") << 0 << none << true;
}

void TstDuplication::sameDescriptionRule()
{
    QFETCH(QString, sourceDesc);
    QFETCH(int, sourceTipo);
    QFETCH(QVariant, sourceOwner);
    QFETCH(QString, targetDesc);
    QFETCH(int, targetTipo);
    QFETCH(QVariant, targetOwner);
    QFETCH(bool, refused);
    const int source = TTestRow::Reason(QStringLiteral("NUOTO"), Start24, End24)
                           .Set(QStringLiteral("sCauLDesc"), sourceDesc)
                           .Set(QStringLiteral("lCauTipo"), sourceTipo)
                           .Set(QStringLiteral("iDwgId"), sourceOwner)
                           .Insert();
    TTestRow::Reason(QStringLiteral("NUOTO25"), Start25, End25)
        .Set(QStringLiteral("sCauLDesc"), targetDesc)
        .Set(QStringLiteral("lCauTipo"), targetTipo)
        .Set(QStringLiteral("iDwgId"), targetOwner)
        .Insert();
    const QString trimmed = sourceDesc.trimmed();

    // The preview foresees what the procedure does.
    const TEbsDuplicaPreview preview = EbsPreviewDuplicaCausali(2025, {source});
    QCOMPARE(preview.ExistingInTarget, refused ? QStringList{trimmed} : QStringList());
    QCOMPARE(preview.NewReasons, refused ? 0 : 1);

    const TCounts before = Counts();
    const int alike = ReasonsIn(2025, sourceDesc).size();
    QCOMPARE(Refusal(2025, source), refused ? Exists(QStringLiteral("2025/2026"), trimmed) : QStringLiteral("eseguita"));
    QCOMPARE(Counts().Reasons, before.Reasons + (refused ? 0 : 1));
    QCOMPARE(ReasonsIn(2025, sourceDesc).size(), alike + (refused ? 0 : 1));
}

// A component the target year already has (same code, description,
// direction and owner) is linked, not copied: its amount and due date stay.
void TstDuplication::reusesTheTargetYearsComponent()
{
    const QList<int> setup = ReuseSetup();
    const QString mensa1 = Row(QStringLiteral("SELECT * FROM TCca_CompCausali WHERE iCcaId = 2504"));
    const int components25 = ComponentsOfYear(Start25);
    EbsDuplicaCausali(2025, {setup[0]});
    const int copy = ReasonIn(2025, QStringLiteral("Mensa estiva"));
    QVERIFY(copy > 0);
    const QList<int> linked = LinkedComponents(copy);
    QCOMPARE(linked.size(), 3);
    QCOMPARE(linked[0], 2504);
    QCOMPARE(Row(QStringLiteral("SELECT * FROM TCca_CompCausali WHERE iCcaId = 2504")), mensa1);
    QCOMPARE(Row(QStringLiteral("SELECT fCcaImportoIst, dCcaDataScadenza FROM TCca_CompCausali WHERE iCcaId = 2504")),
             QStringLiteral("122|2025-10-15"));
    // Another owner (none) and another description: copies of their own.
    QCOMPARE(ComponentsOfYear(Start25), components25 + 2);
    QCOMPARE(Row(QStringLiteral("SELECT sCcaSDesc, sCcaLDesc, iDwgId, fCcaImportoIst, dCcaDataScadenza, dStart "
                                "FROM TCca_CompCausali WHERE iCcaId = ?"), {linked[1]}),
             QStringLiteral("MENSA1|Mensa primo trimestre|NULL|99|2026-06-15|2025-09-01"));
    QCOMPARE(Row(QStringLiteral("SELECT sCcaSDesc, sCcaLDesc, iDwgId, fCcaImportoIst, dCcaDataScadenza, dStart "
                                "FROM TCca_CompCausali WHERE iCcaId = ?"), {linked[2]}),
             QStringLiteral("MENSA1|Mensa primo trimestre estiva|1|60|2026-07-01|2025-09-01"));
    // 2025's own mensa reason still bills only its own components.
    QCOMPARE(LinkedComponents(2502), (QList<int>{2504, 2505, 2506}));
}

// Two reasons sharing a component, copied in one run, share one copy of it;
// a reason without components is copied alone. lCauVuvez is the least of
// the components' (1 without components).
void TstDuplication::sharedComponentIsCopiedOnce()
{
    const QList<int> setup = SharedSetup();
    const TCounts before = Counts();
    EbsDuplicaCausali(2025, setup);
    const TCounts after = Counts();
    QCOMPARE(after.Reasons, before.Reasons + 3);
    QCOMPARE(after.Components, before.Components + 3);
    QCOMPARE(after.Links, before.Links + 4);

    const int creative = ReasonIn(2025, QStringLiteral("Laboratorio creativo"));
    const int theatre = ReasonIn(2025, QStringLiteral("Laboratorio teatrale"));
    const int enrolment = ReasonIn(2025, QStringLiteral("Iscrizione"));
    QCOMPARE(DbInt(QStringLiteral("SELECT COUNT(*) FROM TCca_CompCausali WHERE sCcaSDesc = 'LAB' AND dStart = ?"), {Start25}), 1);
    const int lab = DbInt(QStringLiteral("SELECT iCcaId FROM TCca_CompCausali WHERE sCcaSDesc = 'LAB' AND dStart = ?"), {Start25});
    const QList<int> creativeComps = LinkedComponents(creative);
    const QList<int> theatreComps = LinkedComponents(theatre);
    QCOMPARE(creativeComps.size(), 2);
    QCOMPARE(theatreComps.size(), 2);
    QCOMPARE(creativeComps[0], lab);
    QCOMPARE(theatreComps[1], lab);
    QCOMPARE(Row(QStringLiteral("SELECT sCcaSDesc, fCcaImportoIst, dCcaDataScadenza FROM TCca_CompCausali WHERE iCcaId = ?"),
                 {theatreComps[0]}),
             QStringLiteral("COST|7.25|2026-04-01"));
    QCOMPARE(LinkedComponents(enrolment), QList<int>());
    QCOMPARE(Row(QStringLiteral("SELECT lCauVuvez FROM TCau_Causali WHERE iCauId = ?"), {creative}), QStringLiteral("0"));
    QCOMPARE(Row(QStringLiteral("SELECT lCauVuvez FROM TCau_Causali WHERE iCauId = ?"), {theatre}), QStringLiteral("1"));
    QCOMPARE(Row(QStringLiteral("SELECT lCauVuvez FROM TCau_Causali WHERE iCauId = ?"), {enrolment}), QStringLiteral("1"));
    // No year holds two components of one code for one owner.
    QCOMPARE(DbInt(QStringLiteral("SELECT COUNT(*) FROM (SELECT sCcaSDesc, iDwgId FROM TCca_CompCausali WHERE dStart = ? "
                                  "GROUP BY sCcaSDesc, iDwgId HAVING COUNT(*) > 1)"), {Start25}), 0);
}

// A due date moves by the years between the two school years, as DATEADD
// moves it: 29 February into a year without it becomes 28 February; a copy
// into an earlier year moves it back.
void TstDuplication::dueDatesMoveByTheYears()
{
    SchoolYear(2027);
    SchoolYear(2028);
    const QDate start27(2027, 9, 1), end27(2028, 8, 31);
    const int ski = Reason(QStringLiteral("SCI"), QStringLiteral("Settimana bianca"), start27, end27);
    const int skiComp = Component(QStringLiteral("SCI"), QStringLiteral("Settimana bianca"), 80.0, QDate(2028, 2, 29),
                                  start27, end27);
    TTestRow::ReasonComponent(ski, skiComp).Set(QStringLiteral("dStart"), start27).Set(QStringLiteral("dEnd"), end27).Insert();
    const int sail = Reason(QStringLiteral("VELA"), QStringLiteral("Corso di vela"), Start25, End25);
    const int sailComp = Component(QStringLiteral("VELA"), QStringLiteral("Corso di vela"), 50.0, QDate(2026, 5, 20),
                                   Start25, End25);
    TTestRow::ReasonComponent(sail, sailComp).Set(QStringLiteral("dStart"), Start25).Set(QStringLiteral("dEnd"), End25).Insert();

    struct TCase
    {
        int Year;
        int Source;
        QDate Due;
    };
    const QList<TCase> cases = {{2028, ski, QDate(2029, 2, 28)},    // one year on
                                {2024, ski, QDate(2025, 2, 28)},    // three years back
                                {2024, sail, QDate(2025, 5, 20)}};  // one year back
    for (const TCase &c : cases) {
        const TEbsDuplicaPreview preview = EbsPreviewDuplicaCausali(c.Year, {c.Source});
        QCOMPARE(preview.Rows.size(), 1);
        QCOMPARE(preview.Rows[0].Scadenza, c.Due);
        EbsDuplicaCausali(c.Year, {c.Source});
        const QString desc = c.Source == ski ? QStringLiteral("Settimana bianca") : QStringLiteral("Corso di vela");
        const int copy = ReasonIn(c.Year, desc);
        QVERIFY2(copy > 0, qPrintable(desc));
        const QList<int> linked = LinkedComponents(copy);
        QCOMPARE(linked.size(), 1);
        QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT dCcaDataScadenza FROM TCca_CompCausali WHERE iCcaId = ?"),
                                       {linked[0]}).toDate(),
                 c.Due);
        QCOMPARE(TTestDatabase::Scalar(QStringLiteral("SELECT dStart FROM TCca_CompCausali WHERE iCcaId = ?"), {linked[0]})
                     .toDate(),
                 QDate(c.Year, 9, 1));
    }
}

// The procedure writes in the caller's transaction and never commits on
// its own: the caller's rollback undoes every copy of the run.
void TstDuplication::callerRollbackUndoesTheRun()
{
    const TCounts before = Counts();
    TVtSQLConnection other;
    QString error;
    QVERIFY2(other.Open(m_db->Settings(), &error), qPrintable(error));
    auto othersReasons = [&] {
        QSqlQuery q(other.Database());
        q.exec(QStringLiteral("SELECT COUNT(*) FROM TCau_Causali"));
        return q.next() ? q.value(0).toInt() : -1;
    };
    {
        TVtTransaction tr;
        tr.StartTransaction();
        EbsDuplicaCausali(2025, {2403});
        Duplica(2025, 2404);
        QCOMPARE(Counts().Reasons, before.Reasons + 2);
        QCOMPARE(Counts().Links, before.Links + 2);
        // Nothing is committed yet: another attachment sees none of it.
        QCOMPARE(othersReasons(), before.Reasons);
        tr.Rollback();
    }
    QCOMPARE(Counts().Reasons, before.Reasons);
    QCOMPARE(Counts().Components, before.Components);
    QCOMPARE(Counts().Links, before.Links);
    QVERIFY(ReasonsIn(2025, QStringLiteral("Uscita didattica")).isEmpty());
    // Committed, it is there for everyone.
    EbsDuplicaCausali(2025, {2403, 2404});
    QCOMPARE(othersReasons(), before.Reasons + 2);
    other.Close();
}

// An office user works through the program's role: the procedure and its
// exception are granted to it.
void TstDuplication::officeUserCopiesThroughTheRole()
{
    TTestDatabase::Exec(QStringLiteral("GRANT VARDELLA TO SEGRETERIA"));
    m_db->Connection()->Close();   // the grant counts from the next attachment
    TVtConnectionSettings office = m_db->Settings();
    office.User = QStringLiteral("SEGRETERIA");
    office.Password = QStringLiteral("segreteria");
    TVtSQLConnection conn;
    QString error;
    QVERIFY2(conn.Open(office, &error), qPrintable(error));
    TTestDatabase::TGlobalConnection global(&conn);

    const TEbsDuplicaPreview preview = EbsPreviewDuplicaCausali(2025, {2403});
    QCOMPARE(preview.NewReasons, 1);
    EbsDuplicaCausali(2025, {2403});
    QCOMPARE(ReasonsIn(2025, QStringLiteral("Uscita didattica")).size(), 1);
    QCOMPARE(CopyFailure(2025, {2403}), Exists(QStringLiteral("2025/2026"), QStringLiteral("Uscita didattica")));
    QCOMPARE(Refusal(2025, 999999), QStringLiteral("Causale da duplicare non trovata."));
    conn.Close();
}

// A database of the previous revision, with the demo's fee structure and a
// component linked twice to one reason, takes the upgrade: the repeated
// link goes, a new one is refused, and the copy works.
void TstDuplication::upgradeOfAnExistingDatabase()
{
    TVtConnectionSettings s;
    QString error;
    QVERIFY2(TTestDatabase::CreateAtRevision(QStringLiteral("revisione1.fdb"), 2, &s, &error), qPrintable(error));
    TVtSQLConnection conn;
    TTestDatabase::TGlobalConnection global(&conn);
    QVERIFY2(conn.Open(s, &error), qPrintable(error));
    QCOMPARE(TVtSchemaUpgrader::ReadRevision(conn.Database()), 1);
    TTestDatabase::Exec(QStringLiteral("INSERT INTO TCauCca (iCauCcaId, iCauId, iCcaId, dStart, dEnd) "
                                       "VALUES (900001, 2402, 2404, '2024-09-01', '2025-08-31')"));
    QCOMPARE(LinkedComponents(2402), (QList<int>{2404, 2405, 2406, 2404}));
    conn.Close();

    QVERIFY2(TTestDatabase::UpgradeToShipped(s, &error), qPrintable(error));
    QVERIFY2(conn.Open(s, &error), qPrintable(error));
    QCOMPARE(TVtSchemaUpgrader::ReadRevision(conn.Database()), int(DbScripts::UpgradeScripts().size()));
    QCOMPARE(LinkedComponents(2402), (QList<int>{2404, 2405, 2406}));
    QSqlQuery q(conn.Database());
    QVERIFY(!q.exec(QStringLiteral("INSERT INTO TCauCca (iCauCcaId, iCauId, iCcaId) VALUES (900002, 2402, 2405)")));
    QCOMPARE(TVtEngineError::FromSqlError(q.lastError()).Kind, TVtEngineError::ekDuplicateKey);
    QVERIFY2(q.lastError().text().contains(QStringLiteral("UQ_TCAUCCA_CAUCCA")), qPrintable(q.lastError().text()));
    q.finish();
    EbsDuplicaCausali(2025, {2403});
    QCOMPARE(ReasonsIn(2025, QStringLiteral("Uscita didattica")).size(), 1);
    QCOMPARE(Refusal(2025, 2402), Exists(QStringLiteral("2025/2026"), QStringLiteral("Servizio mensa")));
    conn.Close();
}

// A call that fails in the middle of a selection rolls back the calls
// before it; the message is the procedure's text.
void TstDuplication::failingCallLeavesNothing()
{
    const TCounts before = Counts();
    QCOMPARE(CopyFailure(2025, {2403, 2402, 2404}), Exists(QStringLiteral("2025/2026"), QStringLiteral("Servizio mensa")));
    QCOMPARE(Counts().Reasons, before.Reasons);
    QCOMPARE(Counts().Components, before.Components);
    QCOMPARE(Counts().Links, before.Links);
    QVERIFY(ReasonsIn(2025, QStringLiteral("Uscita didattica")).isEmpty());
    QVERIFY(!qqoVtGlobConn->InTransaction());
    // The error is the engine's, with its details.
    try {
        EbsDuplicaCausali(2025, {2403, 999999});
        QFAIL("an unknown reason was copied");
    } catch (const EVtDatabaseError &e) {
        QCOMPARE(e.Error().Kind, TVtEngineError::ekRefused);
        QCOMPARE(e.Message(), e.Error().Text());
        QCOMPARE(e.Error().Sentence(), QStringLiteral("Causale da duplicare non trovata."));
        QVERIFY2(e.Error().Details.contains(QStringLiteral("EBS_DUPLICACAUS")), qPrintable(e.Error().Details));
    }
    QCOMPARE(Counts().Reasons, before.Reasons);
    // The selection without the refused reason goes through.
    EbsDuplicaCausali(2025, {2403, 2404});
    QCOMPARE(Counts().Reasons, before.Reasons + 2);
}

void TstDuplication::previewOfTheDemoCopy()
{
    const TCounts before = Counts();
    const TEbsDuplicaPreview p = EbsPreviewDuplicaCausali(2025, {2403, 2404});
    QCOMPARE(Counts(), before);   // nothing written
    QCOMPARE(p.AnnoDestinazione, QStringLiteral("2025/2026"));
    QCOMPARE(p.NewReasons, 2);
    QCOMPARE(p.NewComponents, 2);
    QCOMPARE(p.ExistingComponents, 0);
    QCOMPARE(p.Total, TVtMoney::FromCents(3500));
    QCOMPARE(p.Total.Format(), QStringLiteral("35,00"));
    QVERIFY(!p.Refused());
    QVERIFY(p.ExistingInTarget.isEmpty());
    QVERIFY(p.Conflict.isEmpty());
    QCOMPARE(p.Summary(), QStringLiteral("Causali da creare: 2   Componenti nuovi: 2   Componenti già presenti: 0   "
                                         "Importo istituto totale: 35,00"));
    QCOMPARE(p.Rows.size(), 2);
    const TEbsDuplicaRow &gita = p.Rows[0];
    QCOMPARE(gita.CauId, 2403);
    QCOMPARE(gita.Causale, QStringLiteral("Uscita didattica"));
    QCOMPARE(gita.Componente, QStringLiteral("GITA"));
    QCOMPARE(gita.DescComponente, QStringLiteral("Uscita didattica di primavera"));
    QCOMPARE(gita.ImportoIst.toDouble(), 35.0);
    QCOMPARE(gita.Scadenza, QDate(2026, 3, 20));
    QCOMPARE(gita.Stato, QStringLiteral("nuovo"));
    const TEbsDuplicaRow &tasse = p.Rows[1];
    QCOMPARE(tasse.CauId, 2404);
    QCOMPARE(tasse.Causale, QStringLiteral("Tasse scolastiche"));
    QCOMPARE(tasse.Componente, QStringLiteral("TASFREQ"));
    QCOMPARE(tasse.DescComponente, QStringLiteral("Tassa di frequenza"));
    QVERIFY(!tasse.ImportoIst.isNull());
    QCOMPARE(tasse.ImportoIst.toDouble(), 0.0);
    QCOMPARE(tasse.Scadenza, QDate(2025, 11, 30));
    QCOMPARE(tasse.Stato, QStringLiteral("nuovo"));
    // Unknown year or reason: the procedure's texts.
    try {
        EbsPreviewDuplicaCausali(2030, {2403});
        QFAIL("a preview into an unknown year");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), QStringLiteral("Anno scolastico di destinazione non trovato."));
    }
    try {
        EbsPreviewDuplicaCausali(2025, {2403, 999999});
        QFAIL("a preview of an unknown reason");
    } catch (const EVtException &e) {
        QCOMPARE(e.Message(), QStringLiteral("Causale da duplicare non trovata."));
    }
}

void TstDuplication::previewMatchesTheCopy_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("newReasons");
    QTest::addColumn<int>("newComponents");
    QTest::addColumn<int>("existingComponents");
    QTest::addColumn<qint64>("totalCents");
    QTest::newRow("new only") << QStringLiteral("new") << 2 << 2 << 0 << qint64(3500);
    // 122 (2025's MENSA1) + 99 + 60, then 35.
    QTest::newRow("reuse") << QStringLiteral("reuse") << 2 << 3 << 1 << qint64(31600);
    // 20 + 5.50, then 7.25 + 20 (the shared copy, billed again), then nothing.
    QTest::newRow("shared component") << QStringLiteral("shared") << 3 << 3 << 1 << qint64(5275);
    // PRESC of 2024 is 2025's PRESC: linked, 46.00.
    QTest::newRow("unlinked component of the year") << QStringLiteral("presc") << 1 << 1 << 1 << qint64(5200);
}

// The preview's rows, counts and total are what the copy then creates.
void TstDuplication::previewMatchesTheCopy()
{
    QFETCH(QString, setup);
    QFETCH(int, newReasons);
    QFETCH(int, newComponents);
    QFETCH(int, existingComponents);
    QFETCH(qint64, totalCents);
    QList<int> ids;
    if (setup == QLatin1String("new"))
        ids = {2403, 2404};
    else if (setup == QLatin1String("reuse"))
        ids = ReuseSetup();
    else if (setup == QLatin1String("shared"))
        ids = SharedSetup();
    else {
        const int r = Reason(QStringLiteral("PRESCR"), QStringLiteral("Pre-scuola e diario"), Start24, End24);
        Link(r, 2410);
        Link(r, Component(QStringLiteral("DIARIO2"), QStringLiteral("Diario"), 6.0, QDate(2024, 9, 30), Start24, End24));
        ids = {r};
    }

    const TCounts before = Counts();
    QSet<int> known;   // 2025's components before the copy
    for (const QVariant &v : TTestDatabase::Column(QStringLiteral("SELECT iCcaId FROM TCca_CompCausali WHERE dStart = ?"),
                                                   {Start25}))
        known.insert(v.toInt());
    const TEbsDuplicaPreview p = EbsPreviewDuplicaCausali(2025, ids);
    QCOMPARE(Counts(), before);
    QVERIFY(!p.Refused());
    QCOMPARE(p.NewReasons, newReasons);
    QCOMPARE(p.NewComponents, newComponents);
    QCOMPARE(p.ExistingComponents, existingComponents);
    QCOMPARE(p.Total.Cents(), totalCents);

    EbsDuplicaCausali(2025, ids);
    const TCounts after = Counts();
    QCOMPARE(after.Reasons - before.Reasons, p.NewReasons);
    QCOMPARE(after.Components - before.Components, p.NewComponents);
    QCOMPARE(after.Links - before.Links, p.NewComponents + p.ExistingComponents);

    // The new reasons in the order of their keys, which is the order of the
    // calls; their links in link order are the preview's rows.
    const QVariantList copies = TTestDatabase::Column(
        QStringLiteral("SELECT iCauId FROM TCau_Causali WHERE iCauId > ? ORDER BY iCauId"), {before.Generator});
    QCOMPARE(copies.size(), ids.size());
    QStringList expected, actual;
    TVtMoney total;
    for (int i = 0; i < ids.size(); ++i) {
        QSqlQuery q(qqoVtGlobConn->Database());
        q.prepare(QStringLiteral("SELECT ca.iCcaId, ca.sCcaSDesc, ca.sCcaLDesc, ca.fCcaImportoIst, ca.dCcaDataScadenza, "
                                 "cau.sCauLDesc FROM TCau_Causali cau LEFT JOIN TCauCca l ON l.iCauId = cau.iCauId "
                                 "LEFT JOIN TCca_CompCausali ca ON ca.iCcaId = l.iCcaId WHERE cau.iCauId = ? "
                                 "ORDER BY l.iCauCcaId"));
        q.addBindValue(copies[i]);
        QVERIFY(q.exec());
        while (q.next()) {
            QString state;
            if (!q.value(0).isNull()) {
                state = known.contains(q.value(0).toInt()) ? QStringLiteral("già presente") : QStringLiteral("nuovo");
                known.insert(q.value(0).toInt());
                total += TVtMoney::FromVariant(q.value(3));
            } else {
                state = QStringLiteral("nuovo");
            }
            actual << QStringList{QString::number(ids[i]), q.value(5).toString(), q.value(1).toString(), q.value(2).toString(),
                                  Text(q.value(3)), Text(q.value(4)), state}
                          .join(QLatin1Char('|'));
        }
    }
    for (const TEbsDuplicaRow &r : p.Rows)
        expected << QStringList{QString::number(r.CauId), r.Causale, r.Componente, r.DescComponente, Text(r.ImportoIst),
                                Text(r.Scadenza.isValid() ? QVariant(r.Scadenza) : QVariant()), r.Stato}
                        .join(QLatin1Char('|'));
    QCOMPARE(expected, actual);
    QCOMPARE(p.Total, total);
}

// A reason whose description the target year has, under another code: the
// preview marks it and leaves it out of every total; the copy refuses it.
void TstDuplication::previewTellsReasonsTheYearHas()
{
    const int other = Reason(QStringLiteral("MENSA-B"), QStringLiteral("servizio mensa "), Start24, End24);
    Link(other, Component(QStringLiteral("EXTRA"), QStringLiteral("Supplemento"), 10.0, QDate(2024, 12, 1), Start24, End24));
    const TCounts before = Counts();
    const TEbsDuplicaPreview p = EbsPreviewDuplicaCausali(2025, {2403, other});
    QVERIFY(p.Refused());
    QCOMPARE(p.ExistingInTarget, QStringList{QStringLiteral("servizio mensa")});
    QVERIFY(p.Conflict.isEmpty());
    QCOMPARE(p.NewReasons, 1);
    QCOMPARE(p.NewComponents, 1);
    QCOMPARE(p.ExistingComponents, 0);
    QCOMPARE(p.Total.Format(), QStringLiteral("35,00"));
    QCOMPARE(p.Summary(), QStringLiteral("Causali da creare: 1   Componenti nuovi: 1   Componenti già presenti: 0   "
                                         "Importo istituto totale: 35,00   Causali già presenti: 1"));
    QCOMPARE(p.Rows.size(), 2);
    QCOMPARE(p.Rows[0].Stato, QStringLiteral("nuovo"));
    QCOMPARE(p.Rows[1].CauId, other);
    QCOMPARE(p.Rows[1].Causale, QStringLiteral("servizio mensa "));
    QCOMPARE(p.Rows[1].Componente, QStringLiteral("EXTRA"));
    QCOMPARE(p.Rows[1].Stato, QStringLiteral("causale già presente"));
    QCOMPARE(p.Rows[1].Scadenza, QDate(2025, 12, 1));

    QCOMPARE(CopyFailure(2025, {2403, other}), Exists(QStringLiteral("2025/2026"), QStringLiteral("servizio mensa")));
    QCOMPARE(Counts().Reasons, before.Reasons);
    QCOMPARE(Counts().Components, before.Components);
    QCOMPARE(Counts().Links, before.Links);
}

// Two ticked reasons of one description: the later one is refused, as the
// procedure will refuse it once the first is copied.
void TstDuplication::previewTellsTickedReasonsInConflict()
{
    const int other = TTestRow::Reason(QStringLiteral("USCITA2"), Start24, End24)
                          .Set(QStringLiteral("sCauLDesc"), QStringLiteral("USCITA DIDATTICA"))
                          .Set(QStringLiteral("iDwgId"), QVariant())
                          .Insert();
    Link(other, Component(QStringLiteral("PULLMAN"), QStringLiteral("Pullman"), 12.0, QDate(2025, 3, 1), Start24, End24));
    const TCounts before = Counts();
    const TEbsDuplicaPreview p = EbsPreviewDuplicaCausali(2025, {2404, 2403, other});
    QVERIFY(p.Refused());
    QVERIFY(p.ExistingInTarget.isEmpty());
    QCOMPARE(p.Conflict, QStringLiteral("Uscita didattica"));
    QCOMPARE(p.NewReasons, 2);
    QCOMPARE(p.NewComponents, 2);
    QCOMPARE(p.Total.Format(), QStringLiteral("35,00"));
    QCOMPARE(p.Summary(), QStringLiteral("Causali da creare: 2   Componenti nuovi: 2   Componenti già presenti: 0   "
                                         "Importo istituto totale: 35,00   Causali già presenti: 1"));
    QCOMPARE(p.Rows.size(), 3);
    QCOMPARE(p.Rows[2].CauId, other);
    QCOMPARE(p.Rows[2].Stato, QStringLiteral("causale già presente"));
    // In the other order the other one is copied and the demo's is refused.
    const TEbsDuplicaPreview reversed = EbsPreviewDuplicaCausali(2025, {other, 2403});
    QCOMPARE(reversed.Conflict, QStringLiteral("USCITA DIDATTICA"));
    QCOMPARE(reversed.Rows[1].CauId, 2403);
    QCOMPARE(reversed.Rows[1].Stato, QStringLiteral("causale già presente"));
    // The same reason ticked twice conflicts with itself.
    QCOMPARE(EbsPreviewDuplicaCausali(2025, {2403, 2403}).Conflict, QStringLiteral("Uscita didattica"));

    QCOMPARE(CopyFailure(2025, {2404, 2403, other}), Exists(QStringLiteral("2025/2026"), QStringLiteral("USCITA DIDATTICA")));
    QCOMPARE(Counts().Reasons, before.Reasons);
    QCOMPARE(Counts().Components, before.Components);
    QCOMPARE(Counts().Links, before.Links);
}

QTEST_MAIN(TstDuplication)
#include "tst_duplication.moc"

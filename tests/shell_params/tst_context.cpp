#include "EbdMConn.h"
#include "EbdUContext.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "VtGlobalValuesManager.h"
#include "VtQueryCollection.h"

#include <QTest>

// The typed working context: one meaning of "unset", values read once from
// the parameter store and kept until they change, collections bound to the
// context before they open.
class TstContext : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void unsetIsOneThing_data();
    void unsetIsOneThing();
    void valuesAreReadOnceAndFollowChanges();
    void anotherOpeningReadsAgain();
    void collectionsBindTheContextWhenTheyOpen();

private:
    std::unique_ptr<TTestDatabase> m_db;
};

void TstContext::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
}

void TstContext::init()
{
    m_db->Fresh();
    xgvmGlobalVar->SetUserKey(QStringLiteral("contesto@segreteria"));
    for (TEbdCtx p : {TEbdCtx::DwgId, TEbdCtx::AnsId, TEbdCtx::AnfId, TEbdCtx::SprIstId, TEbdCtx::CauAnsId, TEbdCtx::Vis})
        xgvmGlobalVar->Clear(TEbdContext::Name(p));
}

void TstContext::unsetIsOneThing_data()
{
    QTest::addColumn<QVariant>("saved");
    QTest::addColumn<QVariant>("id");     // what an id part reads; null: unset
    QTest::addColumn<int>("vis");         // what the view mode reads
    QTest::newRow("nothing saved") << QVariant() << QVariant() << 0;
    QTest::newRow("empty text") << QVariant(QString()) << QVariant() << 0;
    QTest::newRow("zero") << QVariant(QStringLiteral("0")) << QVariant() << 0;
    QTest::newRow("not a number") << QVariant(QStringLiteral("2023/2024")) << QVariant() << 0;
    QTest::newRow("spaces around") << QVariant(QStringLiteral(" 12 ")) << QVariant(12) << 12;
    QTest::newRow("one") << QVariant(QStringLiteral("1")) << QVariant(1) << 1;
}

void TstContext::unsetIsOneThing()
{
    QFETCH(QVariant, saved);
    QFETCH(QVariant, id);
    QFETCH(int, vis);
    for (TEbdCtx p : {TEbdCtx::SprIstId, TEbdCtx::Vis})
        xgvmGlobalVar->SetValues(TEbdContext::Name(p), saved.isNull() ? QVariant() : QVariant(saved.toString()));
    const std::optional<int> account = TEbdContext::Get(TEbdCtx::SprIstId);
    QCOMPARE(account.has_value(), !id.isNull());
    QCOMPARE(TEbdContext::IsSet(TEbdCtx::SprIstId), !id.isNull());
    QCOMPARE(TEbdContext::GetOr0(TEbdCtx::SprIstId), id.isNull() ? 0 : id.toInt());
    QCOMPARE(TEbdContext::Bindable(TEbdCtx::SprIstId).isNull(), id.isNull());
    QCOMPARE(TEbdContext::GetOr0(TEbdCtx::Vis), vis);
    QVERIFY(TEbdContext::IsSet(TEbdCtx::Vis));
}

void TstContext::valuesAreReadOnceAndFollowChanges()
{
    SetWorkingContext(1, 2024, 2024, 2, 2024);
    const int before = xgvmGlobalVar->ReadCount();
    for (int i = 0; i < 50; ++i)
        QCOMPARE(TEbdContext::GetOr0(TEbdCtx::SprIstId), 2);
    QVERIFY(xgvmGlobalVar->ReadCount() - before <= 1);
    xgvmGlobalVar->SetValues(TEbdContext::Name(TEbdCtx::SprIstId), QStringLiteral("3"));
    QCOMPARE(TEbdContext::GetOr0(TEbdCtx::SprIstId), 3);
    // Written by other means: kept until told.
    TTestDatabase::Exec(QStringLiteral("UPDATE TVT_PARAMVALORI SET SVALORE = '4' WHERE SPARNOME = 'EBDP_SPRISTID' "
                                       "AND SUTENTE = 'contesto@segreteria'"));
    QCOMPARE(TEbdContext::GetOr0(TEbdCtx::SprIstId), 3);
    xgvmGlobalVar->Invalidate();
    QCOMPARE(TEbdContext::GetOr0(TEbdCtx::SprIstId), 4);
    // Another user has a context of its own.
    xgvmGlobalVar->SetUserKey(QStringLiteral("altro@segreteria"));
    QVERIFY(!TEbdContext::IsSet(TEbdCtx::SprIstId));
}

void TstContext::anotherOpeningReadsAgain()
{
    SetWorkingContext(1, 2024, 2024, 2, 2024);
    QCOMPARE(TEbdContext::GetOr0(TEbdCtx::DwgId), 1);
    TTestDatabase::Exec(QStringLiteral("UPDATE TVT_PARAMVALORI SET SVALORE = '7' WHERE SPARNOME = 'VTUP_DWGID' "
                                       "AND SUTENTE = 'contesto@segreteria'"));
    QSqlDatabase::database(m_db->Connection()->ConnectionName()).commit();
    QString error;
    QVERIFY2(m_db->Connection()->Open(m_db->Settings(), &error), qPrintable(error));
    QCOMPARE(TEbdContext::GetOr0(TEbdCtx::DwgId), 7);
}

void TstContext::collectionsBindTheContextWhenTheyOpen()
{
    TdmEbdConn conn;
    qqoVtGlobConn = m_db->Connection();
    SetWorkingContext(1, 2024, 2024, 2, 2024);
    for (TVtQueryCollection *ds : {conn.xqcAluGen, conn.xqcAcbCau, conn.xqcCacAcbCau, conn.xqcDote})
        ds->Connection = m_db->Connection();
    conn.xqcAluGen->Open();
    QCOMPARE(conn.xqcAluGen->Params().ParamByName(QStringLiteral("iAnsId"))->AsInteger(), 2024);
    const int pupils2024 = conn.xqcAluGen->RecordCount();
    conn.xqcAluGen->Close();
    conn.xqcAcbCau->Open();
    QCOMPARE(conn.xqcAcbCau->Params().ParamByName(QStringLiteral("iAnsId"))->AsInteger(), 2024);
    conn.xqcAcbCau->Close();

    // Unset: the parameter is null and the select lists nothing.
    xgvmGlobalVar->Clear(TEbdContext::Name(TEbdCtx::AnsId));
    conn.xqcAluGen->Open();
    QVERIFY(conn.xqcAluGen->Params().ParamByName(QStringLiteral("iAnsId"))->IsNull());
    QCOMPARE(conn.xqcAluGen->RecordCount(), 0);
    conn.xqcAluGen->Close();
    QVERIFY(pupils2024 > 0);
}

QTEST_MAIN(TstContext)
#include "tst_context.moc"

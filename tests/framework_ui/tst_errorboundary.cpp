#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "VtApplication.h"
#include "VtDBEdit.h"
#include "VtDBLookupEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtException.h"
#include "VtQueryCollection.h"
#include "fmVtOkCancDlg.h"
#include "fmVtWizard.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <stdexcept>

namespace {
enum TThrowKind { tkAbort, tkWarning, tkError, tkForeign };

// Throws the kind of failure a hook may raise.
void Throw(TThrowKind kind)
{
    switch (kind) {
    case tkAbort:
        Abort();
    case tkWarning:
        throw EVtException(QStringLiteral("Attenzione!\r\nOperazione non consentita."), TVtSeverity::Warning);
    case tkError:
        throw EVtException(QStringLiteral("Regola violata."));
    case tkForeign:
        throw std::runtime_error("indice fuori intervallo");
    }
}

class TEventThrower : public QObject
{
public:
    TThrowKind Kind = tkForeign;
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User)
            Throw(Kind);
        return QObject::event(e);
    }
};
}

// Every place where the framework calls the program's code (data and state
// changes, control and lookup changes, scrolling, actions, wizard pages, OK
// buttons, and any event at all) turns a failure into the right message and
// leaves the row as it was.
class TstErrorBoundary : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void dataAndStateChange_data() { Kinds(); }
    void dataAndStateChange();
    void controlAndLookupChange_data() { Kinds(); }
    void controlAndLookupChange();
    void afterScroll_data() { Kinds(); }
    void afterScroll();
    void actionRunsAgainAfterAFailure_data() { Kinds(); }
    void actionRunsAgainAfterAFailure();
    void wizardPagesAndOkButtons_data() { Kinds(); }
    void wizardPagesAndOkButtons();
    void lastResortNet_data() { Kinds(); }
    void lastResortNet();

private:
    void Kinds();
    // The one message the kind shows (none for an abort).
    void VerifyMessage(TThrowKind kind);
    static QString StoredDesc(int id)
    {
        return TTestDatabase::Scalar(QStringLiteral("SELECT SEBDESC FROM TEB_RIGHE WHERE IEBID = ?"), {id}).toString();
    }

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_msg;
    std::unique_ptr<TVtQueryCollection> m_coll;
    std::unique_ptr<TVtDataSource> m_source;
};

void TstErrorBoundary::Kinds()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("abort") << int(tkAbort);
    QTest::newRow("warning") << int(tkWarning);
    QTest::newRow("error") << int(tkError);
    QTest::newRow("foreign exception") << int(tkForeign);
}

void TstErrorBoundary::VerifyMessage(TThrowKind kind)
{
    const auto &messages = (*m_msg)->Messages;
    switch (kind) {
    case tkAbort:
        QCOMPARE(messages.size(), 0);
        return;
    case tkWarning:
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].Type, mtWarning);
        QCOMPARE(messages[0].Text, QStringLiteral("Attenzione!\r\nOperazione non consentita."));
        return;
    case tkError:
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].Type, mtError);
        QCOMPARE(messages[0].Text, QStringLiteral("Regola violata."));
        return;
    case tkForeign:
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].Type, mtError);
        QCOMPARE(messages[0].Text, QStringLiteral("Errore imprevisto:\r\nindice fuori intervallo"));
        return;
    }
}

void TstErrorBoundary::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::SchemaOnly, [] {
        TTestDatabase::Exec(QStringLiteral(
            "CREATE TABLE TEB_RIGHE (IEBID INTEGER NOT NULL PRIMARY KEY, SEBDESC VARCHAR(40), IMPGID INTEGER)"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TEB_RIGHE (IEBID, SEBDESC, IMPGID) VALUES (1, 'Mensa', NULL)"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TEB_RIGHE (IEBID, SEBDESC, IMPGID) VALUES (2, 'Gita', NULL)"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TMpg_ModPagam (iMpgId, sMpgDescS, sMpgDescL) VALUES (1, 'RID', 'Addebito diretto')"));
    });
}

void TstErrorBoundary::init()
{
    m_db->Fresh();
    m_msg = std::make_unique<TScopedMessageService>();
    m_coll = std::make_unique<TVtQueryCollection>();
    m_coll->CommandText = QStringLiteral("SELECT IEBID, SEBDESC, IMPGID FROM TEB_RIGHE ORDER BY IEBID");
    m_coll->KeyFields = QStringLiteral("IEBID");
    m_coll->AutoBuildSQL = true;
    m_coll->Open();
    m_source = std::make_unique<TVtDataSource>();
    m_source->SetDataSet(m_coll.get());
}

void TstErrorBoundary::cleanup()
{
    m_source.reset();
    m_coll.reset();
    m_msg.reset();
}

void TstErrorBoundary::dataAndStateChange()
{
    QFETCH(int, kind);
    m_source->OnStateChange = [&](TVtDataSource *) {
        if (m_source->State() == dsEdit)
            Throw(TThrowKind(kind));
    };
    QVERIFY(m_source->Edit());
    VerifyMessage(TThrowKind(kind));
    (*m_msg)->Clear();
    m_source->OnStateChange = nullptr;

    m_source->OnDataChange = [&](TVtDataSource *, TVtField *f) {
        if (f)
            Throw(TThrowKind(kind));
    };
    m_coll->FieldByName(QStringLiteral("SEBDESC"))->SetAsString(QStringLiteral("Pasti"));
    VerifyMessage(TThrowKind(kind));
    // The edit goes on; nothing was stored.
    QCOMPARE(m_coll->State(), dsEdit);
    QCOMPARE(StoredDesc(1), QStringLiteral("Mensa"));
    m_coll->Cancel();
    QCOMPARE(m_coll->FieldByName(QStringLiteral("SEBDESC"))->AsString(), QStringLiteral("Mensa"));
}

void TstErrorBoundary::controlAndLookupChange()
{
    QFETCH(int, kind);
    TVtDBEdit edit;
    edit.Bind(m_source.get(), QStringLiteral("SEBDESC"));
    edit.OnChange = [&](TVtDBControl *) { Throw(TThrowKind(kind)); };
    edit.show();
    TypeText(&edit, QStringLiteral("Pasti"));
    QVERIFY(edit.CommitPending());
    VerifyMessage(TThrowKind(kind));
    QCOMPARE(StoredDesc(1), QStringLiteral("Mensa"));
    m_coll->Cancel();
    (*m_msg)->Clear();

    TVtDBLookupEdit lookup;
    lookup.ListCommandText = QStringLiteral("SELECT TMpg.iMpgId, TMpg.sMpgDescL FROM TMpg_ModPagam TMpg WHERE ##WHERE##");
    lookup.KeyField = QStringLiteral("TMpg.iMpgId");
    lookup.ListField = QStringLiteral("TMpg.sMpgDescL");
    lookup.Bind(m_source.get(), QStringLiteral("IMPGID"));
    lookup.OnChangeFKValue = [&](TVtDBLookupEdit *, const QVariant &) { Throw(TThrowKind(kind)); };
    lookup.show();
    QVERIFY(lookup.SetKeyValue(1));
    VerifyMessage(TThrowKind(kind));
    QCOMPARE(m_coll->FieldByName(QStringLiteral("IMPGID"))->AsInteger(), 1);
    QVERIFY(TTestDatabase::Scalar(QStringLiteral("SELECT IMPGID FROM TEB_RIGHE WHERE IEBID = 1")).isNull());
    m_coll->Cancel();
}

void TstErrorBoundary::afterScroll()
{
    QFETCH(int, kind);
    m_coll->AfterScroll = [&](TVtQueryCollection *) { Throw(TThrowKind(kind)); };
    m_coll->Next();
    VerifyMessage(TThrowKind(kind));
    QCOMPARE(m_coll->RecNo(), 1);
    QCOMPARE(m_coll->FieldByName(QStringLiteral("SEBDESC"))->AsString(), QStringLiteral("Gita"));
}

void TstErrorBoundary::actionRunsAgainAfterAFailure()
{
    QFETCH(int, kind);
    TVtDataAction action(QStringLiteral("Prova"));
    int runs = 0;
    action.OnExecute = [&](TVtDataAction *) {
        ++runs;
        Throw(TThrowKind(kind));
    };
    QVERIFY(!action.Execute());
    VerifyMessage(TThrowKind(kind));
    // A failed run does not leave the action stuck as running.
    QVERIFY(!action.Execute());
    QCOMPARE(runs, 2);
}

void TstErrorBoundary::wizardPagesAndOkButtons()
{
    QFETCH(int, kind);
    TfmVtWizard wizard;
    wizard.AddPage(new QLabel(QStringLiteral("Primo")), QStringLiteral("Primo"));
    wizard.AddPage(new QLabel(QStringLiteral("Secondo")), QStringLiteral("Secondo"));
    wizard.OnPageChanging = [&](TfmVtWizard *, int, int, bool &) { Throw(TThrowKind(kind)); };
    wizard.show();
    QTest::mouseClick(wizard.buNext, Qt::LeftButton);
    VerifyMessage(TThrowKind(kind));
    QCOMPARE(wizard.ActivePageIndex(), 0);
    (*m_msg)->Clear();

    TfmVtOkCancDlg dialog;
    dialog.OnOkClick = [&](TfmVtOkCancDlg *, bool &) { Throw(TThrowKind(kind)); };
    dialog.show();
    QTest::mouseClick(dialog.buOk, Qt::LeftButton);
    VerifyMessage(TThrowKind(kind));
    QVERIFY(dialog.isVisible());
}

void TstErrorBoundary::lastResortNet()
{
    QFETCH(int, kind);
    TEventThrower target;
    target.Kind = TThrowKind(kind);
    QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    VerifyMessage(TThrowKind(kind));
    (*m_msg)->Clear();
    bool ran = false;
    QTimer::singleShot(0, &target, [&] {
        ran = true;
        Throw(TThrowKind(kind));
    });
    QTRY_VERIFY(ran);
    VerifyMessage(TThrowKind(kind));
}

int main(int argc, char *argv[])
{
    TVtApplication app(argc, argv);
    TstErrorBoundary test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_errorboundary.moc"

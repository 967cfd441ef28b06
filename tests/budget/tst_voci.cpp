#include "AbcFVoci.h"
#include "AbcMVproDBQuery.h"
#include "AbcRSottoVoci.h"
#include "AbcRVociProgetti.h"
#include "EbdUGlobals.h"
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "TestScreens.h"
#include "VtDBEdit.h"
#include "VtDBLookupEdit.h"
#include "VtDataAction.h"
#include "VtDataSource.h"
#include "VtQueryCollection.h"
#include "VtSQLConnection.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QTest>

using namespace Qt::StringLiterals;

// The items window on the demo school (2025, owner 1): the slices, the
// save's rules in their order with their exact messages, what a model
// refers to extended but never narrowed, the sub-items, closing.
class TstVoci : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void slices();
    void noRightsNoWriting();
    void insertRules();
    void referencedItemIsExtendedNeverNarrowed();
    void frozenItemKeepsItsCode();
    void aggregateOfAReferencedItemStays();
    void kindsAndDatesOfTheSubItems();
    void boxClickStartsAnEdit();
    void trash();
    void subItems();
    void closing();
    void screenshots();

private:
    TfmVoci *Open(int fls, int tito = 1);
    QStringList Codes(TVtQueryCollection *q, const QString &field) const;
    bool Select(const QString &code);
    QVariant Stored(const QString &sql, const QVariant &id = QVariant()) const;
    QStringList Texts() const { return (*m_msg)->Texts(); }
    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_msg;
    std::unique_ptr<TfmVoci> m_window;
};

namespace {
enum { AggA = 5, AggP = 6, A01 = 4, A02 = 5, P01 = 6, P02 = 7 };
const QString Question = u"Attenzione!\r\nAggiornando l'elemento selezionato \r\nsi aggiorneranno automaticamente anche "
                         "tutti i modelli che fanno riferimento ad esso.\r\nContinuare?"_s;
}

void TstVoci::initTestCase()
{
    QVERIFY(QDir().mkpath(QStringLiteral(VARDELLA_SCREENSHOT_DIR)));
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    new TdmVproDBQuery(qApp);
}

void TstVoci::init()
{
    m_msg = std::make_unique<TScopedMessageService>();
    m_db->Connection()->UserRights = TVtConnectionSettings::AllUserRights;
    gAnfValore = 2025;
    gDwgId = 1;
    gUseDwgAnfDates = false;
}

void TstVoci::cleanup()
{
    if (m_window) {
        for (TVtDataSource *s : {m_window->frFVoci->xdsMain, m_window->frFSottoVoci->xdsMain})
            if (s->Editing())
                s->DataSet()->Cancel();
    }
    m_window.reset();
    m_msg.reset();
}

TfmVoci *TstVoci::Open(int fls, int tito)
{
    m_window.reset();
    gFlsId = fls;
    gTitoId = tito;
    m_window = std::make_unique<TfmVoci>();
    m_window->resize(1400, 900);
    m_window->show();
    return m_window.get();
}

QStringList TstVoci::Codes(TVtQueryCollection *q, const QString &field) const
{
    QStringList codes;
    const int index = q->FieldByName(field)->Index;
    for (int r = 0; r < q->RecordCount(); ++r)
        codes << q->RowValue(r, index).toString().trimmed();
    return codes;
}

bool TstVoci::Select(const QString &code)
{
    return dmVproDBQuery->xqcVoci->Locate(u"SVPROCOD"_s, code);
}

QVariant TstVoci::Stored(const QString &sql, const QVariant &id) const
{
    return id.isValid() ? TTestDatabase::Scalar(sql, {id}) : TTestDatabase::Scalar(sql);
}

void TstVoci::slices()
{
    TfmVoci *w = Open(2);
    QCOMPARE(w->windowTitle(), u"Voci e Progetti"_s);
    QCOMPARE(Codes(dmVproDBQuery->xqcVoci, u"SVPROCOD"_s),
             (QStringList{u"A01"_s, u"A02"_s, u"G03"_s, u"P01"_s, u"P02"_s, u"R98"_s}));
    QCOMPARE(w->frFVoci->laCaption->text(), u"Voci Progetti - Uscite - In totale    Esercizio Finanziario : 2025"_s);
    QVERIFY(!w->frFSottoVoci->isVisible());
    QVERIFY(!w->frFVoci->xacInsert->Locked());
    QVERIFY(Select(u"P01"_s));
    QCOMPARE(dmVproDBQuery->xqcVoci->FieldByName(u"ContoCompetenza"_s)->AsString(), u"SI"_s);
    QCOMPARE(dmVproDBQuery->xqcVoci->FieldByName(u"ContoResidui"_s)->AsString(), u"NO"_s);
    QVERIFY(w->frFVoci->ckCompetenza->isChecked() && !w->frFVoci->ckResidui->isChecked());

    w = Open(1);
    QCOMPARE(Codes(dmVproDBQuery->xqcVoci, u"SVPROCOD"_s), (QStringList{u"01"_s, u"02"_s, u"03"_s, u"04"_s}));
    QCOMPARE(w->frFVoci->laCaption->text(), u"Voci Progetti - Entrate - In totale    Esercizio Finanziario : 2025"_s);
    QVERIFY(w->frFSottoVoci->isVisible());
    for (TVtDataAction *a : {w->frFVoci->xacInsert, w->frFVoci->xacEdit, w->frFVoci->xacTrash})
        QVERIFY(a->Locked());
    QVERIFY(Select(u"01"_s));
    QCOMPARE(Codes(dmVproDBQuery->xqcSottoVoci, u"SSVODESCS"_s), (QStringList{u"001"_s, u"002"_s, u"003"_s}));
    QVERIFY(Select(u"04"_s));
    QCOMPARE(Codes(dmVproDBQuery->xqcSottoVoci, u"SSVODESCS"_s), QStringList{u"001"_s});
    QVERIFY((*m_msg)->Messages.isEmpty());
}

void TstVoci::noRightsNoWriting()
{
    m_db->Connection()->UserRights = 0;
    TfmVoci *w = Open(2);
    QCOMPARE(Texts(), QStringList{u"Attenzione!\r\nL'utente non ha i diritti di scrittura e modifica."_s});
    QCOMPARE((*m_msg)->Messages[0].Type, mtInformation);
    for (TVtDataAction *a : {w->frFVoci->xacInsert, w->frFVoci->xacEdit, w->frFVoci->xacTrash, w->frFVoci->xacPost})
        QVERIFY(a->Locked());
    w->frFVoci->xacInsert->trigger();
    QCOMPARE(dmVproDBQuery->xqcVoci->State(), dsBrowse);
}

// A new item: the dates of the year, the code proposed by the aggregate,
// each rule's message in its order; ITCKID 2 under aggregates 13 and 14.
void TstVoci::insertRules()
{
    TfmVoci *w = Open(2);
    TfrVociProgetti *f = w->frFVoci;
    TVtQueryCollection *q = dmVproDBQuery->xqcVoci;
    f->xacInsert->trigger();
    QCOMPARE(q->State(), dsInsert);
    QCOMPARE(q->FieldByName(u"DSTART"_s)->AsDate(), QDate(2025, 1, 1));
    QCOMPARE(q->FieldByName(u"DEND"_s)->AsDate(), QDate(2025, 12, 31));
    QVERIFY(!f->ckCompetenza->isChecked() && f->ckCompetenza->isEnabled());
    auto refused = [&](const QString &text) {
        (*m_msg)->Clear();
        if (f->PostItem())
            return false;
        return Texts() == QStringList{text} && (*m_msg)->Messages[0].Type == mtError;
    };
    q->FieldByName(u"DSTART"_s)->SetAsDate(QDate(2026, 1, 1));
    QVERIFY(refused(u"Attenzione!\r\nLa data di avvio della voce non può essere accettata \r\nin quanto non rientra "
                    "nell'esercizio finanziario selezionato \r\nData avvio massima: 31/12/2025"_s));
    q->FieldByName(u"DSTART"_s)->SetAsDate(QDate(2024, 12, 31));
    QVERIFY(refused(u"Attenzione!\r\nLa data di avvio della voce non può essere accettata \r\nin quanto non rientra "
                    "nell'esercizio finanziario di inserimento \r\nData avvio minima: 01/01/2025"_s));
    q->FieldByName(u"DSTART"_s)->SetAsDate(QDate(2025, 3, 1));
    q->FieldByName(u"DEND"_s)->SetAsDate(QDate(2025, 1, 1));
    QVERIFY(refused(u"Attenzione!\r\nLa data di chiusura della voce non può essere accettata in quanto non rientra "
                    "nell'esercizio finanziario selezionato.\r\nData chiusura minima: 02/01/2025"_s));
    q->FieldByName(u"DEND"_s)->SetAsDate(QDate(2025, 2, 1));
    QVERIFY(refused(u"Attenzione!\r\nLa data di fine deve essere maggiore o uguale alla data d'inizio"_s));
    q->FieldByName(u"DEND"_s)->Clear();
    QVERIFY(refused(u"Attenzione!\r\nAlmeno un conto deve essere selezionato"_s));
    f->ckCompetenza->setChecked(true);
    QVERIFY(refused(u"Attenzione! \r\nCampo obbligatorio \"Aggregato\""_s));
    QVERIFY(f->xdlAggregato->SetKeyValue(AggA));
    QCOMPARE(q->FieldByName(u"SVPROCOD"_s)->AsString(), u"A03"_s);
    q->FieldByName(u"SVPROCOD"_s)->SetAsString(u"P9"_s);
    QVERIFY(refused(u"Attenzione!\r\nIl codice immesso è errato\r\nCodice consentito: A + numero"_s));
    q->FieldByName(u"SVPROCOD"_s)->SetAsString(u"A01"_s);
    QVERIFY(refused(u"Attenzione!\r\nEsiste una voce o progetto con lo stesso codice.Cambiare codice o data di fine "
                    "del progetto."_s));
    q->FieldByName(u"SVPROCOD"_s)->SetAsString(u"A03"_s);
    q->FieldByName(u"SVPRODESCS"_s)->SetAsString(u"Didattica"_s);
    (*m_msg)->Clear();
    QVERIFY(f->PostItem());
    QVERIFY(Texts().isEmpty());
    const QVariant id = q->FieldByName(u"IVPROID"_s)->Value();
    QCOMPARE(Stored(u"SELECT sVproCod || '|' || iCorId || '|' || iDwgId || '|' || COALESCE(iTckId, -1) FROM "
                    "TVpro_VociProgetti WHERE iVproId = ?"_s, id).toString(), u"A03|1|1|-1"_s);

    // Aggregates 13 and 14 mark their items.
    TTestDatabase::Exec(u"INSERT INTO TAgg_Aggregati (iAggId, sAggDescS, sAggDescL, iFlsId, iTitoId, dStart) "
                        "VALUES (13, 'K', 'Aggregato tredici', 2, 1, '2000-01-01')"_s);
    f->xacInsert->trigger();
    f->ckResidui->setChecked(true);
    QVERIFY(f->xdlAggregato->SetKeyValue(13));
    QCOMPARE(q->FieldByName(u"SVPROCOD"_s)->AsString(), u"K01"_s);
    QVERIFY(f->PostItem());
    QCOMPARE(Stored(u"SELECT iTckId || '|' || iCorId FROM TVpro_VociProgetti WHERE sVproCod = 'K01'"_s).toString(), u"2|2"_s);

    // A code holding a quote and a percent sign is a value like any other.
    TTestDatabase::Exec(u"INSERT INTO TAgg_Aggregati (iAggId, sAggDescS, sAggDescL, iFlsId, iTitoId, dStart) "
                        "VALUES (905, 'O''%', 'Oneri e percentuali', 2, 1, '2000-01-01')"_s);
    w = Open(2);
    f = w->frFVoci;
    q = dmVproDBQuery->xqcVoci;
    f->xacInsert->trigger();
    f->ckCompetenza->setChecked(true);
    QVERIFY(f->xdlAggregato->SetKeyValue(905));
    QCOMPARE(q->FieldByName(u"SVPROCOD"_s)->AsString(), u"O'%01"_s);
    (*m_msg)->Clear();
    QVERIFY2(f->PostItem(), qPrintable(Texts().join(u" / "_s)));
    QVERIFY(Codes(q, u"SVPROCOD"_s).contains(u"O'%01"_s));
    TTestDatabase::Exec(u"DELETE FROM TVpro_VociProgetti WHERE iVproId >= 1000000"_s);
    TTestDatabase::Exec(u"DELETE FROM TAgg_Aggregati WHERE iAggId IN (13, 905)"_s);
}

// P01: models of 2025 and 2026, none frozen.
void TstVoci::referencedItemIsExtendedNeverNarrowed()
{
    TfmVoci *w = Open(2);
    TfrVociProgetti *f = w->frFVoci;
    TVtQueryCollection *q = dmVproDBQuery->xqcVoci;
    QVERIFY(Select(u"P01"_s));
    f->ShowDetail();
    f->xacEdit->trigger();
    QCOMPARE(q->State(), dsEdit);
    q->FieldByName(u"DSTART"_s)->SetAsDate(QDate(2024, 2, 1));
    QVERIFY(!f->PostItem());
    QCOMPARE(Texts(), QStringList{u"Attenzione!\r\nLa data di avvio della voce o progetto non può essere posticipata "
                                  "perchè esistono uno o più modelli che fanno riferimento ad essa"_s});
    q->FieldByName(u"DSTART"_s)->SetAsDate(QDate(2024, 1, 1));
    q->FieldByName(u"DEND"_s)->SetAsDate(QDate(2026, 12, 31));
    (*m_msg)->Clear();
    QVERIFY(!f->PostItem());
    QCOMPARE(Texts(), QStringList{u"Attenzione ! \r\nLa data di chiusura della voce o progetto deve essere posticipata "
                                  "perchè esistono uno o più modelli che fanno riferimento ad essa.\r\nData chiusura "
                                  "minima: 01/01/2027"_s});
    // Extended: a later end and the residues account added, after the question.
    q->FieldByName(u"DEND"_s)->SetAsDate(QDate(2027, 6, 30));
    f->ckResidui->setChecked(true);
    (*m_msg)->Clear();
    (*m_msg)->Answers << mrNo;
    QVERIFY(!f->PostItem());
    QCOMPARE(Texts(), QStringList{Question});
    QCOMPARE((*m_msg)->Messages[0].Title, u"Attenzione !"_s);
    QCOMPARE((*m_msg)->Messages[0].Type, mtWarning);
    QVERIFY(Stored(u"SELECT dEnd FROM TVpro_VociProgetti WHERE iVproId = ?"_s, int(P01)).isNull());
    (*m_msg)->Answers << mrYes;
    QVERIFY(f->PostItem());
    QCOMPARE(Stored(u"SELECT iCorId FROM TVpro_VociProgetti WHERE iVproId = ?"_s, int(P01)).toInt(), 3);
    QCOMPARE(Stored(u"SELECT dEnd FROM TVpro_VociProgetti WHERE iVproId = ?"_s, int(P01)).toDate(), QDate(2027, 6, 30));
    // Narrowed: an account dropped.
    f->xacEdit->trigger();
    f->ckCompetenza->setChecked(false);
    (*m_msg)->Clear();
    QVERIFY(!f->PostItem());
    QCOMPARE(Texts(), QStringList{u"Attenzione!\r\nL'elemento selezionato non può passare da competenza a residuio "
                                  "viceversa, perchè uno o più modelli fanno riferimento ad esso.\r\nE'possibile "
                                  "solamente passare ad entrambi"_s});
    q->Cancel();
    TTestDatabase::Exec(u"UPDATE TVpro_VociProgetti SET iCorId = 1, dEnd = NULL WHERE iVproId = 6"_s);
}

// A01 is in a frozen model: its code stays, its description may change.
void TstVoci::frozenItemKeepsItsCode()
{
    TfmVoci *w = Open(2);
    TfrVociProgetti *f = w->frFVoci;
    TVtQueryCollection *q = dmVproDBQuery->xqcVoci;
    QVERIFY(Select(u"A01"_s));
    f->xacEdit->trigger();
    q->FieldByName(u"SVPROCOD"_s)->SetAsString(u"A09"_s);
    QVERIFY(!f->PostItem());
    QCOMPARE(Texts(), QStringList{u"Attenzione!\r\nL'elemento selezionato non può essere modificato perchè esistono "
                                  "uno o più modelli congelati che fanno riferimento ad esso"_s});
    q->FieldByName(u"SVPROCOD"_s)->SetAsString(u"A01"_s);
    q->FieldByName(u"SVPRODESCS"_s)->SetAsString(u"Funzionamento generale"_s);
    (*m_msg)->Clear();
    (*m_msg)->Answers << mrYes;
    QVERIFY(f->PostItem());
    QCOMPARE(Texts(), QStringList{Question});
    QCOMPARE(Stored(u"SELECT sVproDescS FROM TVpro_VociProgetti WHERE iVproId = ?"_s, int(A01)).toString(),
             u"Funzionamento generale"_s);
}

// Even to an aggregate of the same description: the models' amounts stay
// on the old one.
void TstVoci::aggregateOfAReferencedItemStays()
{
    TTestDatabase::Exec(u"INSERT INTO TAgg_Aggregati (iAggId, sAggDescS, sAggDescL, iFlsId, iTitoId, dStart) "
                        "VALUES (904, 'X', 'Progetti', 2, 1, '2000-01-01')"_s);
    TfmVoci *w = Open(2);
    TfrVociProgetti *f = w->frFVoci;
    TVtQueryCollection *q = dmVproDBQuery->xqcVoci;
    QVERIFY(Select(u"P01"_s));
    f->xacEdit->trigger();
    QVERIFY(f->xdlAggregato->SetKeyValue(904));
    QCOMPARE(q->FieldByName(u"SVPROCOD"_s)->AsString(), u"X01"_s);
    (*m_msg)->Answers << mrYes;
    QVERIFY(!f->PostItem());
    QCOMPARE(Texts(), (QStringList{Question, u"Attenzione!\r\nImpossibile cambiare l'aggregato della voce o progetto "
                                             "perchè ci sono uno o più modelli che fanno riferimento ad essa"_s}));
    q->Cancel();
    QCOMPARE(Stored(u"SELECT iAggId FROM TVpro_VociProgetti WHERE iVproId = ?"_s, int(P01)).toInt(), int(AggP));
    TTestDatabase::Exec(u"DELETE FROM TAgg_Aggregati WHERE iAggId = 904"_s);
}

// The item's save moves its sub-items' dates; their kinds only when the
// item keeps one account.
void TstVoci::kindsAndDatesOfTheSubItems()
{
    TTestDatabase::Exec(u"INSERT INTO TSvo_SottoVoci (iSvoId, iCorId, iVproId, iDwgId, sSvoDescS, sSvoDescL, dStart) "
                        "VALUES (901, 1, 5, 1, '001', 'Prima', '2024-01-01')"_s);
    TTestDatabase::Exec(u"INSERT INTO TSvo_SottoVoci (iSvoId, iCorId, iVproId, iDwgId, sSvoDescS, sSvoDescL, dStart) "
                        "VALUES (902, 2, 5, 1, '002', 'Seconda', '2024-01-01')"_s);
    TfmVoci *w = Open(2);
    TfrVociProgetti *f = w->frFVoci;
    TVtQueryCollection *q = dmVproDBQuery->xqcVoci;
    QVERIFY(Select(u"A02"_s));   // both accounts, no model
    f->xacEdit->trigger();
    q->FieldByName(u"DEND"_s)->SetAsDate(QDate(2026, 8, 31));
    QVERIFY(f->PostItem());
    QCOMPARE(TTestDatabase::Column(u"SELECT dEnd || '|' || iCorId FROM TSvo_SottoVoci WHERE iVproId = 5 ORDER BY iSvoId"_s),
             (QVariantList{u"2026-08-31|1"_s, u"2026-08-31|2"_s}));
    f->xacEdit->trigger();
    f->ckCompetenza->setChecked(false);
    QVERIFY(f->PostItem());
    QCOMPARE(TTestDatabase::Column(u"SELECT iCorId FROM TSvo_SottoVoci WHERE iVproId = 5 ORDER BY iSvoId"_s),
             (QVariantList{2, 2}));
    TTestDatabase::Exec(u"DELETE FROM TSvo_SottoVoci WHERE iSvoId > 900"_s);
    TTestDatabase::Exec(u"UPDATE TVpro_VociProgetti SET iCorId = 3, dEnd = NULL WHERE iVproId = 5"_s);
}

// A box clicked on the detail page starts the edit; Cancel puts it back.
void TstVoci::boxClickStartsAnEdit()
{
    TfmVoci *w = Open(2);
    TfrVociProgetti *f = w->frFVoci;
    TVtQueryCollection *q = dmVproDBQuery->xqcVoci;
    QVERIFY(Select(u"P02"_s));   // competence only
    f->ShowDetail();
    f->ckResidui->click();
    QCOMPARE(q->State(), dsEdit);
    QVERIFY(f->ckResidui->isChecked() && f->ckCompetenza->isChecked());
    f->xacCancel->trigger();
    QCOMPARE(q->State(), dsBrowse);
    QVERIFY(!f->ckResidui->isChecked());
    // Without the rights nothing starts.
    m_db->Connection()->UserRights = 0;
    f->ShowDetail();
    f->ckResidui->click();
    QCOMPARE(q->State(), dsBrowse);
    QVERIFY(!f->ckResidui->isChecked());
    f->xacEdit->trigger();
    f->xacTrash->trigger();
    QCOMPARE(q->State(), dsBrowse);
    QVERIFY(Stored(u"SELECT dDelete FROM TVpro_VociProgetti WHERE iVproId = ?"_s, int(P02)).isNull());
}

void TstVoci::trash()
{
    TfmVoci *w = Open(2);
    TfrVociProgetti *f = w->frFVoci;
    QVERIFY(Select(u"P01"_s));
    f->xacTrash->trigger();
    QCOMPARE(Texts(), QStringList{u"Attenzione!\r\nL'elemento selezionato non può essere eliminato perchè esistono uno "
                                  "o più modelli che fanno riferimento ad esso"_s});
    QVERIFY(Stored(u"SELECT dDelete FROM TVpro_VociProgetti WHERE iVproId = ?"_s, int(P01)).isNull());
    QVERIFY(Select(u"P02"_s));
    (*m_msg)->Clear();
    (*m_msg)->Answers << mrYes;
    f->xacTrash->trigger();
    QVERIFY(!Stored(u"SELECT dDelete FROM TVpro_VociProgetti WHERE iVproId = ?"_s, int(P02)).isNull());
    QVERIFY(!Codes(dmVproDBQuery->xqcVoci, u"SVPROCOD"_s).contains(u"P02"_s));
    TTestDatabase::Exec(u"UPDATE TVpro_VociProgetti SET dDelete = NULL WHERE iVproId = 7"_s);
}

void TstVoci::subItems()
{
    TfmVoci *w = Open(1);
    TfrSottoVoci *s = w->frFSottoVoci;
    TVtQueryCollection *sq = dmVproDBQuery->xqcSottoVoci;
    QVERIFY(Select(u"01"_s));   // both accounts
    s->xacInsert->trigger();
    QCOMPARE(sq->State(), dsInsert);
    QCOMPARE(sq->FieldByName(u"SSVODESCS"_s)->AsString(), u"004"_s);
    QVERIFY(s->ckCompetenza->isEnabled() && !s->ckCompetenza->isChecked() && !s->ckResidui->isChecked());
    QVERIFY(!w->frFVoci->isEnabled());   // the other frame waits
    sq->FieldByName(u"SSVODESCL"_s)->SetAsString(u"Laboratorio teatrale"_s);
    QVERIFY(!s->PostSubItem());
    QCOMPARE(Texts(), QStringList{u"Attenzione!\r\nAlmeno un conto deve essere selezionato"_s});
    s->ckCompetenza->setChecked(true);
    QVERIFY(s->PostSubItem());
    QVERIFY(w->frFVoci->isEnabled());
    QCOMPARE(Stored(u"SELECT iCorId || '|' || iVproId || '|' || dStart FROM TSvo_SottoVoci WHERE sSvoDescS = '004'"_s)
                 .toString(), u"1|1|2024-01-01"_s);
    // The frozen 001 keeps its code; 002, referenced, asks first.
    QVERIFY(sq->Locate(u"SSVODESCS"_s, u"001"_s));
    s->xacEdit->trigger();
    sq->FieldByName(u"SSVODESCS"_s)->SetAsString(u"009"_s);
    (*m_msg)->Clear();
    QVERIFY(!s->PostSubItem());
    QCOMPARE(Texts(), QStringList{u"Attenzione!\r\nL'elemento selezionato non può essere modificato perchè esistono "
                                  "uno o più modelli congelati che fanno riferimento ad esso"_s});
    sq->Cancel();
    s->xacTrash->trigger();
    QCOMPARE(Texts().last(), u"Attenzione!\r\nL'elemento selezionato non può essere eliminato perchè esistono uno o "
                             "più modelli che fanno riferimento ad esso"_s);
    // An item with one account: the boxes are its own, fixed.
    QVERIFY(Select(u"04"_s));
    s->xacInsert->trigger();
    QCOMPARE(sq->FieldByName(u"SSVODESCS"_s)->AsString(), u"002"_s);
    QVERIFY(!s->ckCompetenza->isEnabled() && s->ckCompetenza->isChecked() && !s->ckResidui->isChecked());
    sq->Cancel();
    TTestDatabase::Exec(u"DELETE FROM TSvo_SottoVoci WHERE iSvoId >= 1000000"_s);
}

void TstVoci::closing()
{
    TfmVoci *w = Open(2);
    TVtQueryCollection *q = dmVproDBQuery->xqcVoci;
    const QString ask = u"Salvare le modifiche prima di chiudere?"_s;
    QVERIFY(Select(u"P02"_s));
    w->frFVoci->xacEdit->trigger();
    q->FieldByName(u"SVPRODESCS"_s)->SetAsString(u"Viaggi"_s);
    (*m_msg)->Answers << mrCancel;
    QVERIFY(!w->CloseQuery());
    QCOMPARE(Texts(), QStringList{ask});
    QCOMPARE((*m_msg)->Messages[0].Title, u"Voci e Progetti"_s);
    QCOMPARE((*m_msg)->Messages[0].Buttons, int(mbYes | mbNo | mbCancel));
    QCOMPARE(q->State(), dsEdit);
    // Yes, and the save refused: the window stays, the row in edit.
    q->FieldByName(u"SVPROCOD"_s)->SetAsString(u"A1"_s);
    (*m_msg)->Clear();
    (*m_msg)->Answers << mrYes;
    QVERIFY(!w->CloseQuery());
    QCOMPARE(Texts(), (QStringList{ask, u"Attenzione!\r\nIl codice immesso è errato\r\nCodice consentito: P + numero"_s}));
    QCOMPARE(q->State(), dsEdit);
    // No: discarded.
    (*m_msg)->Clear();
    (*m_msg)->Answers << mrNo;
    QVERIFY(w->CloseQuery());
    QCOMPARE(q->State(), dsBrowse);
    QCOMPARE(Stored(u"SELECT sVproDescS FROM TVpro_VociProgetti WHERE iVproId = ?"_s, int(P02)).toString(),
             u"Viaggi di istruzione e visite guidate"_s);
    // A pending sub-item edit is asked about too.
    w = Open(1);
    QVERIFY(Select(u"01"_s));
    w->frFSottoVoci->xacEdit->trigger();
    dmVproDBQuery->xqcSottoVoci->FieldByName(u"SSVODESCL"_s)->SetAsString(u"Altro"_s);
    (*m_msg)->Clear();
    (*m_msg)->Answers << mrCancel;
    QVERIFY(!w->CloseQuery());
    QCOMPARE(Texts(), QStringList{ask});
}

void TstVoci::screenshots()
{
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    for (int fls : {2, 1}) {
        TfmVoci *w = Open(fls);
        w->resize(1600, 1000);
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QVERIFY(Select(fls == 1 ? u"01"_s : u"P01"_s));
        QTest::qWait(20);
        QVERIFY(w->grab().save(dir.filePath(fls == 1 ? u"voci_entrate.png"_s : u"voci_uscite.png"_s)));
        CheckNothingCut(w);
        QVERIFY(w->frFVoci->xacDelete->Locked() && w->frFSottoVoci->xacDelete->Locked());
        w->frFVoci->ShowDetail();
        QTest::qWait(20);
        QVERIFY(w->grab().save(dir.filePath(fls == 1 ? u"voci_entrate_dettaglio.png"_s : u"voci_uscite_dettaglio.png"_s)));
        CheckNothingCut(w);
    }
}

QTEST_MAIN(TstVoci)
#include "tst_voci.moc"

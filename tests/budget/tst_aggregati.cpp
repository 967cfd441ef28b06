#include "AbcFAggregati.h"
#include "AbcFWFiltro.h"
#include "AbcMVproDBQuery.h"
#include "AbcRAggregati.h"
#include "EbdUGlobals.h"
#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "TestScreens.h"
#include "VtDBEdit.h"
#include "VtDBGrid.h"
#include "VtDataAction.h"
#include "VtQueryCollection.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

// The totals filter and the aggregates window on the demo school: the
// slices of a financial year, the validity of an aggregate that ends,
// nothing written, the rows exported for a spreadsheet.
class TstAggregati : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void filterPages();
    void filterTakesTheChosenIds();
    void filterCancelled();
    void slicesOfAYear_data();
    void slicesOfAYear();
    void yearBoundaries();
    void activationFollowsTheContext();
    void validityAndLockedActions();
    void csvOfTheSlice();
    void screenshots();

private:
    TfmAggregati *Open(int fls, int tito, int year = 2025);
    QStringList Codes() const;
    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_msg;
    std::unique_ptr<TfmAggregati> m_window;
};

void TstAggregati::initTestCase()
{
    QVERIFY(QDir().mkpath(QStringLiteral(VARDELLA_SCREENSHOT_DIR)));
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    new TdmVproDBQuery(qApp);
}

void TstAggregati::init()
{
    m_msg = std::make_unique<TScopedMessageService>();
    gDwgId = 1;
    gUseDwgAnfDates = false;
}

void TstAggregati::cleanup()
{
    m_window.reset();
    m_msg.reset();
}

TfmAggregati *TstAggregati::Open(int fls, int tito, int year)
{
    m_window.reset();
    gAnfValore = year;
    gFlsId = fls;
    gTitoId = tito;
    m_window = std::make_unique<TfmAggregati>();
    m_window->resize(1200, 700);
    m_window->show();
    return m_window.get();
}

QStringList TstAggregati::Codes() const
{
    QStringList codes;
    TVtQueryCollection *q = dmVproDBQuery->xqcAggregati;
    const int code = q->FieldByName(u"SAGGDESCS"_s)->Index;
    for (int r = 0; r < q->RecordCount(); ++r)
        codes << q->RowValue(r, code).toString().trimmed();
    return codes;
}

void TstAggregati::filterPages()
{
    TfmWFiltro w;
    QCOMPARE(w.windowTitle(), QString());
    QCOMPARE(w.ActivePageIndex(), int(TfmWFiltro::tsFlussoCassa));
    QCOMPARE(w.laFlussoCassa->text(), u"Selezione:"_s);
    QCOMPARE(w.lbFlussoCassa->count(), 2);
    QCOMPARE(w.lbFlussoCassa->item(0)->text(), u"ENTRATE"_s);
    QCOMPARE(w.lbFlussoCassa->item(1)->text(), u"USCITE"_s);
    QCOMPARE(w.lbFlussoCassa->currentRow(), 0);
    QCOMPARE(w.lbTipoTotale->item(0)->text(), u"IN TOTALE"_s);
    QCOMPARE(w.lbTipoTotale->item(1)->text(), u"FUORI TOTALE"_s);
    w.lbFlussoCassa->setCurrentRow(1);
    w.lbTipoTotale->setCurrentRow(1);
    QVERIFY(w.Next());
    // Showing page 2 chooses the first total type again.
    QCOMPARE(w.lbTipoTotale->currentRow(), 0);
    QCOMPARE(w.laFiltro->text(), u"USCITE - IN TOTALE"_s);
    w.lbTipoTotale->setCurrentRow(1);
    QCOMPARE(w.laFiltro->text(), u"USCITE - FUORI TOTALE"_s);
    QVERIFY(w.buOk->isEnabled());
}

// The ids of the rows, not their places: with "In totale" deleted, "Fuori
// totale" is the first row and still id 2.
void TstAggregati::filterTakesTheChosenIds()
{
    TTestDatabase::Exec(u"UPDATE TTito_TipoTotale SET dDelete = CURRENT_TIMESTAMP WHERE iTitoId = 1"_s);
    {
        TfmWFiltro w;
        QCOMPARE(w.lbTipoTotale->count(), 1);
        QCOMPARE(w.lbTipoTotale->item(0)->text(), u"FUORI TOTALE"_s);
        w.lbFlussoCassa->setCurrentRow(1);
        QVERIFY(w.Next());
        w.OkClick();
        QCOMPARE(w.result(), int(QDialog::Accepted));
    }
    TTestDatabase::Exec(u"UPDATE TTito_TipoTotale SET dDelete = NULL WHERE iTitoId = 1"_s);
    QCOMPARE(gFlsId, 2);
    QCOMPARE(gTitoId, 2);
}

void TstAggregati::filterCancelled()
{
    gFlsId = 7;
    gTitoId = 8;
    QString caption;
    QTimer::singleShot(0, [&caption] {
        if (auto *w = qobject_cast<TfmWFiltro *>(QApplication::activeModalWidget())) {
            caption = w->windowTitle();
            w->lbFlussoCassa->setCurrentRow(1);
            w->buCancel->click();
        }
    });
    QVERIFY(!RunTotalsFilter(2));
    QCOMPARE(caption, u"Voci e Progetti"_s);
    QCOMPARE(gFlsId, 7);
    QCOMPARE(gTitoId, 8);
}

void TstAggregati::slicesOfAYear_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("fls");
    QTest::addColumn<int>("tito");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("caption");
    QTest::newRow("2025 outgoing in total") << 2025 << 2 << 1 << QStringList{u"A"_s, u"D"_s, u"G"_s, u"P"_s, u"R"_s}
                                            << u"Aggregati - Uscite - In totale"_s;
    QTest::newRow("2025 incoming in total") << 2025 << 1 << 1 << QStringList{u"01"_s, u"03"_s, u"06"_s}
                                            << u"Aggregati - Entrate - In totale"_s;
    QTest::newRow("2025 incoming outside") << 2025 << 1 << 2 << QStringList{u"99"_s} << u"Aggregati - Entrate - Fuori totale"_s;
    QTest::newRow("2025 outgoing outside") << 2025 << 2 << 2 << QStringList{u"Z"_s} << u"Aggregati - Uscite - Fuori totale"_s;
    QTest::newRow("2024 outgoing in total") << 2024 << 2 << 1
                                            << QStringList{u"A"_s, u"D"_s, u"G"_s, u"P"_s, u"Q"_s, u"R"_s}
                                            << u"Aggregati - Uscite - In totale"_s;
}

void TstAggregati::slicesOfAYear()
{
    QFETCH(int, year);
    QFETCH(int, fls);
    QFETCH(int, tito);
    QFETCH(QStringList, codes);
    QFETCH(QString, caption);
    TfmAggregati *w = Open(fls, tito, year);
    QCOMPARE(w->windowTitle(), u"Aggregati"_s);
    QCOMPARE(Codes(), codes);
    QCOMPARE(w->frFAggregati->laCaption->text(), caption + u"    Esercizio Finanziario %1"_s.arg(year));
}

// An aggregate ending on the year's first day is not listed, one starting
// on its last day is; a year that does not start on the first of a month
// keeps an aggregate ending ten days into it (a swapped day and month would
// drop it).
void TstAggregati::yearBoundaries()
{
    TTestDatabase::Exec(u"INSERT INTO TAgg_Aggregati (iAggId, sAggDescS, sAggDescL, iFlsId, iTitoId, dStart, dEnd) "
                        "VALUES (901, 'E', 'Fine al primo giorno', 2, 1, '2000-01-01', '2025-01-01')"_s);
    TTestDatabase::Exec(u"INSERT INTO TAgg_Aggregati (iAggId, sAggDescS, sAggDescL, iFlsId, iTitoId, dStart) "
                        "VALUES (902, 'F', 'Dall''ultimo giorno', 2, 1, '2025-12-31')"_s);
    TTestDatabase::Exec(u"INSERT INTO TAgg_Aggregati (iAggId, sAggDescS, sAggDescL, iFlsId, iTitoId, dStart, dEnd) "
                        "VALUES (903, 'H', 'Fine al 10 febbraio', 2, 1, '2000-01-01', '2025-02-10')"_s);
    Open(2, 1);
    QCOMPARE(Codes(), (QStringList{u"A"_s, u"D"_s, u"F"_s, u"G"_s, u"H"_s, u"P"_s, u"R"_s}));
    const QDate from = TTestDatabase::Scalar(u"SELECT dAnfVeltoInizio FROM TAnf_AnniFinanz WHERE iAnfValore = 2025"_s).toDate();
    const QDate to = TTestDatabase::Scalar(u"SELECT dAnfVeltoFine FROM TAnf_AnniFinanz WHERE iAnfValore = 2025"_s).toDate();
    TTestDatabase::Exec(u"UPDATE TAnf_AnniFinanz SET dAnfVeltoInizio = '2025-02-03', dAnfVeltoFine = '2026-01-31' "
                        "WHERE iAnfValore = 2025"_s);
    Open(2, 1);
    QCOMPARE(gAnfInizio, QDate(2025, 2, 3));
    QVERIFY(Codes().contains(u"H"_s));
    QVERIFY(!Codes().contains(u"E"_s));
    TTestDatabase::Exec(u"UPDATE TAnf_AnniFinanz SET dAnfVeltoInizio = '%1', dAnfVeltoFine = '%2' WHERE iAnfValore = 2025"_s
                            .arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate)));
    TTestDatabase::Exec(u"DELETE FROM TAgg_Aggregati WHERE iAggId > 900"_s);
}

// The first activation only remembers the year; a later one after the
// working year changed shows that year's slice; one without a valid year
// closes the window.
void TstAggregati::activationFollowsTheContext()
{
    TfmAggregati *w = Open(2, 1);
    w->FormActivate();
    QCOMPARE(Codes(), (QStringList{u"A"_s, u"D"_s, u"G"_s, u"P"_s, u"R"_s}));
    gAnfValore = 2024;
    w->FormActivate();
    QVERIFY(Codes().contains(u"Q"_s));
    QCOMPARE(w->frFAggregati->laCaption->text(), u"Aggregati - Uscite - In totale    Esercizio Finanziario 2024"_s);
    gAnfValore = 1990;
    w->FormActivate();
    QTest::qWait(50);
    QVERIFY(!w->isVisible());
    QCOMPARE((*m_msg)->Texts(), (QStringList{u"Data di inizio dell'anno finanziario corrente non settata"_s,
                                             u"Data di fine dell'anno finanziario corrente non settata"_s}));
}

void TstAggregati::validityAndLockedActions()
{
    TfmAggregati *w = Open(2, 1);
    TfrAggregati *f = w->frFAggregati;
    TVtQueryCollection *q = dmVproDBQuery->xqcAggregati;
    QVERIFY(q->Locate(u"SAGGDESCS"_s, u"D"_s));
    f->ShowDetail();
    QVERIFY(f->laDataFine->isVisible() && f->laInizioValidita->isVisible());
    QCOMPARE(f->laDataInizio->text(), u"01/01/2000"_s);
    QCOMPARE(f->laDataFine->text(), u"30/06/2025"_s);
    QVERIFY(q->Locate(u"SAGGDESCS"_s, u"A"_s));
    QVERIFY(!f->laDataFine->isVisible() && !f->laInizioValidita->isVisible() && !f->laDataInizio->isVisible());
    for (TVtDataAction *a : {f->xacInsert, f->xacEdit, f->xacTrash, f->xacDelete, f->xacPost})
        QVERIFY2(a->Locked(), qPrintable(a->objectName()));
    QVERIFY(f->xdeCodice->ReadOnly() && f->xdeDescrizione->ReadOnly());
    const int before = TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TAgg_Aggregati WHERE dDelete IS NULL"_s).toInt();
    f->xacTrash->trigger();
    f->xacDelete->trigger();
    f->xacInsert->trigger();
    QCOMPARE(q->State(), dsBrowse);
    QCOMPARE(TTestDatabase::Scalar(u"SELECT COUNT(*) FROM TAgg_Aggregati WHERE dDelete IS NULL"_s).toInt(), before);
    QCOMPARE(q->RecordCount(), 5);
}

void TstAggregati::csvOfTheSlice()
{
    TfmAggregati *w = Open(2, 1);
    const QString file = QDir(TTestDatabase::WorkDir()).filePath(u"aggregati.csv"_s);
    QFile::remove(file);
    (*m_msg)->SaveNames << file;
    QVERIFY(w->frFAggregati->ExportCsv());
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("\xEF\xBB\xBF" "Codice;Descrizione;Inizio validità;Fine validità\r\n"
                                     "A;Attività amministrativo-didattiche;01/01/2000;\r\n"
                                     "D;Disavanzo di amministrazione presunto;01/01/2000;30/06/2025\r\n"
                                     "G;Gestioni economiche;01/01/2000;\r\n"
                                     "P;Progetti;01/01/2000;\r\n"
                                     "R;Fondo di riserva;01/01/2000;\r\n"));
    QCOMPARE((*m_msg)->LastText(), u"Esportate 5 righe nel file %1"_s.arg(QDir::toNativeSeparators(file)));
}

void TstAggregati::screenshots()
{
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    {
        TfmWFiltro w;
        w.setWindowTitle(u"Aggregati"_s);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(w.grab().save(dir.filePath(u"filtro_flusso.png"_s)));
        CheckNothingCut(&w);
        w.lbFlussoCassa->setCurrentRow(1);
        QVERIFY(w.Next());
        QTest::qWait(20);
        QVERIFY(w.grab().save(dir.filePath(u"filtro_tipo_totale.png"_s)));
        CheckNothingCut(&w);
    }
    TfmAggregati *w = Open(2, 1);
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QVERIFY(dmVproDBQuery->xqcAggregati->Locate(u"SAGGDESCS"_s, u"D"_s));
    QTest::qWait(20);
    QVERIFY(w->grab().save(dir.filePath(u"aggregati_elenco.png"_s)));
    CheckNothingCut(w);
    w->frFAggregati->ShowDetail();
    QTest::qWait(20);
    QVERIFY(w->grab().save(dir.filePath(u"aggregati_dettaglio.png"_s)));
    CheckNothingCut(w);
}

QTEST_MAIN(TstAggregati)
#include "tst_aggregati.moc"

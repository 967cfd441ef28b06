#include "EbdFAluGen.h"
#include "EbdFImportaInt.h"
#include "EbdMConn.h"
#include "EbdRAluGen.h"
#include "ScriptedMessageService.h"
#include "TestBillingModule.h"
#include "TestDatabase.h"
#include "TestInput.h"
#include "TestScreens.h"
#include "VardellaModules.h"
#include "VtFormRegistry.h"
#include "VtQueryCollection.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace Qt::StringLiterals;

// Holder records imported from a CSV file: what the preview says of each
// row, and the writing of the accepted ones, all or nothing.
class TstImportaInt : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase();

    void sampleRowsAndTheirOutcomes();
    void importWritesTheAcceptedRows();
    void aRefusedWriteLeavesEverythingAsItWas();
    void fileShapes_data();
    void fileShapes();
    void theHolderFrameImportsAndRefreshes();
    void screenshot();

private:
    static QVariant Db(const QString &sql, const QVariantList &values = {}) { return TTestDatabase::Scalar(sql, values); }
    static QString Sample() { return QStringLiteral(VARDELLA_SOURCE_DIR "/usr/ebd/import/intestatari_esempio.csv"); }
    QString Write(const QByteArray &content);
    static QStringList Column(const TEbdImportaInt &import, int column);

    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_messages;
    QTemporaryDir m_tmp;
};

void TstImportaInt::initTestCase()
{
    RegisterVardellaModules();
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::Demo);
    m_messages = std::make_unique<TScopedMessageService>();
}

void TstImportaInt::init()
{
    (*m_messages)->Clear();
    QVERIFY(OpenBillingModule(*m_db));
}

void TstImportaInt::cleanup()
{
    CloseBillingModule();
}

void TstImportaInt::cleanupTestCase()
{
    m_db.reset();
}

QString TstImportaInt::Write(const QByteArray &content)
{
    static int n = 0;
    const QString path = m_tmp.filePath(u"righe%1.csv"_s.arg(++n));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QStringList TstImportaInt::Column(const TEbdImportaInt &import, int column)
{
    QStringList out;
    for (const TEbdImportaInt::TRow &row : import.Rows())
        out << (column == 0 ? QString::number(row.Outcome) : row.Reason);
    return out;
}

void TstImportaInt::sampleRowsAndTheirOutcomes()
{
    TfmEbdImportaInt dialog;
    QVERIFY(dialog.LoadFile(Sample()));
    QCOMPARE(dialog.windowTitle(), u"Importazione intestatari"_s);
    QCOMPARE(dialog.buOk->text(), u"Importa"_s);
    const QStringList reasons = {
        u""_s, u""_s, u""_s, u""_s, u""_s, u""_s,
        u"Alunno non trovato"_s,
        u"Genitore non trovato tra i parenti dell'alunno"_s,
        u"Codice IBAN non valido"_s,
        u"Tipo pagamento non trovato"_s,
        u"Alunno senza classe nell'anno scolastico"_s,
        u"Riga ripetuta (riga 2)"_s,
        u"Genitore obbligatorio"_s};
    QCOMPARE(Column(dialog.Import(), 1), reasons);
    QCOMPARE(dialog.grRows->rowCount(), reasons.size());
    QStringList outcomes;
    for (int r = 0; r < dialog.grRows->rowCount(); ++r)
        outcomes << dialog.grRows->item(r, 5)->text();
    QCOMPARE(outcomes.mid(0, 7), (QStringList{u"Nuovo"_s, u"Nuovo"_s, u"Nuovo"_s, u"Nuovo"_s, u"Aggiornato"_s,
                                              u"Aggiornato"_s, u"Scartato"_s}));
    QCOMPARE(dialog.lbCount->text(), u"6 righe accettate, 7 scartate"_s);
    // The names found stand in place of the codes; the IBAN without blanks.
    QCOMPARE(dialog.grRows->item(3, 1)->text(), u"D'Angelo Viola"_s);
    QCOMPARE(dialog.grRows->item(3, 2)->text(), u"Ferri Marta"_s);
    QCOMPARE(dialog.grRows->item(4, 3)->text(), u"IT12U0760111010000000080321"_s);
    QCOMPARE(dialog.grRows->item(4, 4)->text(), u"RID"_s);
    QCOMPARE(dialog.grRows->item(0, 0)->text(), u"2"_s);
    QVERIFY(dialog.buOk->isEnabled());
}

void TstImportaInt::importWritesTheAcceptedRows()
{
    const int holders = Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan"_s).toInt();
    TfmEbdImportaInt dialog;
    QVERIFY(dialog.LoadFile(Sample()));
    const TEbdImportaInt::TRow updated = dialog.Import().Rows().at(4);
    const QVariant name = Db(u"SELECT sAcbIntestatario FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {updated.AcbId});
    const QVariant discount = Db(u"SELECT fAcbPercSconto FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {updated.AcbId});
    dialog.OkClick();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE((*m_messages)->LastText(), u"Importati 6 intestatari: 4 nuovi, 2 aggiornati."_s);
    QCOMPARE((*m_messages)->Messages.last().Type, mtInformation);
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan"_s).toInt(), holders + 4);
    // An update replaces the IBAN and the payment mode, and keeps the rest.
    QCOMPARE(Db(u"SELECT sAcbIBan FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {updated.AcbId}).toString(),
             u"IT12U0760111010000000080321"_s);
    QCOMPARE(Db(u"SELECT iMpgId FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {updated.AcbId}).toInt(), 1);
    QCOMPARE(Db(u"SELECT sAcbIntestatario FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {updated.AcbId}), name);
    QCOMPARE(Db(u"SELECT fAcbPercSconto FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {updated.AcbId}), discount);
    // A new one takes the parent's name, no discount, and no IBAN when none was given.
    const TEbdImportaInt::TRow viola = dialog.Import().Rows().at(3);
    QCOMPARE(Db(u"SELECT sAcbIntestatario || '|' || CAST(fAcbPercSconto AS INTEGER) || '|' || COALESCE(sAcbIBan, '-') "
                "|| '|' || iMpgId FROM TAcb_AluCoordBan WHERE iAnaId = ? AND iAnaId_Gen = ?"_s,
                {viola.AnaId, viola.ParentId}).toString(),
             u"Ferri Marta|0|-|2"_s);
}

void TstImportaInt::aRefusedWriteLeavesEverythingAsItWas()
{
    TfmEbdImportaInt dialog;
    QVERIFY(dialog.LoadFile(Sample()));
    const TEbdImportaInt::TRow updated = dialog.Import().Rows().at(4);
    const QString iban = Db(u"SELECT sAcbIBan FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {updated.AcbId}).toString();
    const int holders = Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan"_s).toInt();
    // The fourth new row (written after the first update) is refused.
    TTestDatabase::Exec(u"CREATE EXCEPTION E_PROVA 'rifiutato dalla prova'"_s);
    TTestDatabase::Exec(u"CREATE TRIGGER T_PROVA FOR TAcb_AluCoordBan BEFORE INSERT AS BEGIN "
                        "IF (NEW.iAnaId = %1) THEN EXCEPTION E_PROVA; END"_s.arg(dialog.Import().Rows().at(3).AnaId));
    dialog.OkClick();
    QVERIFY(dialog.result() != int(QDialog::Accepted));
    QCOMPARE((*m_messages)->Messages.size(), 1);
    QCOMPARE((*m_messages)->Messages.last().Type, mtError);
    QVERIFY2((*m_messages)->LastText().contains(u"rifiutato dalla prova"_s), qPrintable((*m_messages)->LastText()));
    QCOMPARE(Db(u"SELECT COUNT(*) FROM TAcb_AluCoordBan"_s).toInt(), holders);
    QCOMPARE(Db(u"SELECT sAcbIBan FROM TAcb_AluCoordBan WHERE iAcbId = ?"_s, {updated.AcbId}).toString(), iban);
}

void TstImportaInt::fileShapes_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("reasons");
    // @P@ is a holder record's pupil and parent, by key.
    const QByteArray pupil = "@P@";
    QTest::newRow("comma, BOM, quotes, upper-case header")
        << QByteArray("\xEF\xBB\xBF" "ALUNNO,Genitore,IBAN,\"tipo_pagamento\"\r\n" + pupil + ",,\"Contanti\"\r\n\r\n")
        << QString() << QStringList{QString()};
    QTest::newRow("three fields")
        << QByteArray("alunno;genitore;iban;tipo_pagamento\n1;2;3\n") << QString() << QStringList{u"Riga non valida"_s};
    QTest::newRow("an open quote")
        << QByteArray("alunno;genitore;iban;tipo_pagamento\n\"1;2;;RID\n") << QString()
        << QStringList{u"Riga non valida"_s};
    QTest::newRow("no payment mode")
        << QByteArray("alunno;genitore;iban;tipo_pagamento\n" + pupil + ";;\n") << QString()
        << QStringList{u"Tipo pagamento"_s};
    QTest::newRow("other columns")
        << QByteArray("alunno;genitore;iban\n1;2;3\n")
        << u"Il file non ha le colonne attese: alunno;genitore;iban;tipo_pagamento"_s << QStringList{};
    QTest::newRow("empty") << QByteArray() << u"Il file non ha le colonne attese: alunno;genitore;iban;tipo_pagamento"_s
                           << QStringList{};
}

void TstImportaInt::fileShapes()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, error);
    QFETCH(QStringList, reasons);
    const QChar separator = content.contains(';') ? u';' : u',';
    content.replace("@P@", Db(u"SELECT FIRST 1 iAnaId || '%1' || iAnaId_Gen FROM TAcb_AluCoordBan ORDER BY iAcbId"_s
                                  .arg(separator)).toString().toLatin1());
    TfmEbdImportaInt dialog;
    QCOMPARE(dialog.LoadFile(Write(content)), error.isEmpty());
    QCOMPARE((*m_messages)->LastText(), error);
    QCOMPARE(Column(dialog.Import(), 1), reasons);
    QCOMPARE(dialog.buOk->isEnabled(), reasons.contains(QString()));
}

void TstImportaInt::theHolderFrameImportsAndRefreshes()
{
    std::unique_ptr<QWidget> window(TVtFormRegistry::CreateForm(u"TfmEbdAluGen"_s));
    auto *holders = qobject_cast<TfmEbdAluGen *>(window.get());
    QVERIFY(holders);
    holders->show();
    TfrEbdAluGen *frame = holders->frEbdAluGen;
    QCOMPARE(frame->acImportaInt->text(), u"Importa intestatari..."_s);
    const int before = dmEbdConn->xqcAluGen->RecordCount();
    (*m_messages)->OpenNames = QStringList{QString()};   // cancelled: nothing opens
    frame->acImportaInt->trigger();
    QVERIFY(!QApplication::activeModalWidget());
    (*m_messages)->OpenNames = QStringList{Sample()};
    bool shown = false;
    QTimer::singleShot(0, this, [&] {
        if (auto *dialog = qobject_cast<TfmEbdImportaInt *>(QApplication::activeModalWidget())) {
            shown = true;
            dialog->OkClick();
        }
    });
    frame->acImportaInt->trigger();
    QVERIFY(shown);
    // The list shows the four new records of the year's pupils.
    QCOMPARE(dmEbdConn->xqcAluGen->RecordCount(), before + 4);
}

void TstImportaInt::screenshot()
{
    TfmEbdImportaInt dialog;
    QVERIFY(dialog.LoadFile(Sample()));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::qWait(20);
    const QDir dir(QStringLiteral(VARDELLA_SCREENSHOT_DIR));
    QDir().mkpath(dir.path());
    QVERIFY(dialog.grab().save(dir.filePath(u"importazione_intestatari.png"_s)));
    CheckNothingCut(&dialog);
    const QRect table = dialog.grRows->geometry();
    QVERIFY(dialog.lbCount->geometry().top() >= table.bottom());
    QVERIFY(dialog.grRows->horizontalScrollBar()->isHidden() || !dialog.grRows->horizontalScrollBar()->isVisible());
}

QTEST_MAIN(TstImportaInt)
#include "tst_importaint.moc"

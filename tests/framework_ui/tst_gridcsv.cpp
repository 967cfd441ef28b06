#include "ScriptedMessageService.h"
#include "TestDatabase.h"
#include "VtCsv.h"
#include "VtDBGrid.h"
#include "VtDataSource.h"
#include "VtGridCsv.h"
#include "VtQueryCollection.h"

#include <QDir>
#include <QFile>
#include <QTest>

// A grid written for a spreadsheet: its columns, titles and order; amounts
// with their decimals and a comma; dates; quoting; the file written whole
// or not at all, through the message service's file dialog.
class TstGridCsv : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fields_data();
    void fields();
    void gridAsShown();
    void exportThroughTheDialog();

private:
    QByteArray Read(const QString &file) const;
    std::unique_ptr<TTestDatabase> m_db;
    std::unique_ptr<TScopedMessageService> m_msg;
    std::unique_ptr<TVtQueryCollection> m_data;
    TVtDataSource m_source;
    std::unique_ptr<TVtDBGrid> m_grid;
};

void TstGridCsv::initTestCase()
{
    m_db = std::make_unique<TTestDatabase>(TTestDatabase::SchemaOnly, [] {
        TTestDatabase::Exec(QStringLiteral("CREATE TABLE TGC_VOCE (IID INTEGER NOT NULL PRIMARY KEY, SCOD VARCHAR(10), "
                                           "SDESC VARCHAR(60), FIMPORTO DOUBLE PRECISION, DFINE DATE)"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TGC_VOCE VALUES (1, 'B', 'Attività; \"extra\"', 12500, '2025-06-30')"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TGC_VOCE VALUES (2, 'A', 'Mensa', -3.25, NULL)"));
        TTestDatabase::Exec(QStringLiteral("INSERT INTO TGC_VOCE VALUES (3, 'C', NULL, NULL, '2026-01-01')"));
    });
}

void TstGridCsv::init()
{
    m_db->Fresh();
    m_msg = std::make_unique<TScopedMessageService>();
    m_data = std::make_unique<TVtQueryCollection>();
    m_data->CommandText = QStringLiteral("SELECT IID, SCOD, SDESC, FIMPORTO, DFINE FROM TGC_VOCE ORDER BY IID");
    m_data->KeyFields = QStringLiteral("IID");
    m_data->Open();
    m_data->FindField(QStringLiteral("FIMPORTO"))->DisplayFormat = QStringLiteral("#,##0.00");
    m_source.SetDataSet(m_data.get());
    m_grid = std::make_unique<TVtDBGrid>();
    m_grid->SetDataSource(&m_source);
    m_grid->AddColumn(QStringLiteral("SCOD"), QStringLiteral("Codice"));
    m_grid->AddColumn(QStringLiteral("SDESC"), QStringLiteral("Descrizione"));
    m_grid->AddColumn(QStringLiteral("FIMPORTO"), QStringLiteral("Importo"));
    m_grid->AddColumn(QStringLiteral("DFINE"), QStringLiteral("Fine validità"));
}

void TstGridCsv::cleanup()
{
    m_grid.reset();
    m_msg.reset();
}

QByteArray TstGridCsv::Read(const QString &file) const
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TstGridCsv::fields_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("field");
    QTest::newRow("amount") << QVariant(12500.0) << int(QMetaType::Double) << 2 << QStringLiteral("12500,00");
    QTest::newRow("negative") << QVariant(-3.25) << int(QMetaType::Double) << 2 << QStringLiteral("-3,25");
    QTest::newRow("three decimals") << QVariant(2.5) << int(QMetaType::Double) << 3 << QStringLiteral("2,500");
    QTest::newRow("integer") << QVariant(1234567) << int(QMetaType::Int) << 2 << QStringLiteral("1234567");
    QTest::newRow("date") << QVariant(QDate(2025, 2, 3)) << int(QMetaType::QDate) << 2 << QStringLiteral("03/02/2025");
    QTest::newRow("null") << QVariant() << int(QMetaType::Double) << 2 << QString();
    QTest::newRow("semicolon") << QVariant(QStringLiteral("a;b")) << int(QMetaType::QString) << 2 << QStringLiteral("\"a;b\"");
    QTest::newRow("quote") << QVariant(QStringLiteral("il \"G\"")) << int(QMetaType::QString) << 2
                           << QStringLiteral("\"il \"\"G\"\"\"");
    QTest::newRow("line break") << QVariant(QStringLiteral("a\r\nb")) << int(QMetaType::QString) << 2
                                << QStringLiteral("\"a\r\nb\"");
    QTest::newRow("plain") << QVariant(QStringLiteral("Già")) << int(QMetaType::QString) << 2 << QStringLiteral("Già");
}

void TstGridCsv::fields()
{
    QFETCH(QVariant, value);
    QFETCH(int, type);
    QFETCH(int, decimals);
    QFETCH(QString, field);
    QCOMPARE(VtCsvField(value, QMetaType::Type(type), decimals), field);
}

void TstGridCsv::gridAsShown()
{
    QCOMPARE(VtFormatDecimals(QStringLiteral("#,###.000")), 3);
    QCOMPARE(VtFormatDecimals(QStringLiteral("dd/MM/yyyy")), -1);
    int rows = 0;
    QCOMPARE(VtGridCsv(*m_grid, &rows),
             QByteArray("\xEF\xBB\xBF" "Codice;Descrizione;Importo;Fine validità\r\n"
                        "B;\"Attività; \"\"extra\"\"\";12500,00;30/06/2025\r\n"
                        "A;Mensa;-3,25;\r\n"
                        "C;;;01/01/2026\r\n"));
    QCOMPARE(rows, 3);
    // Sorted by the code, as a click on its title sorts the grid.
    m_grid->SetSortable(true);
    m_grid->SortByColumn(0);
    QCOMPARE(VtGridCsv(*m_grid).split('\n').mid(1, 3),
             (QList<QByteArray>{"A;Mensa;-3,25;\r", "B;\"Attività; \"\"extra\"\"\";12500,00;30/06/2025\r",
                                "C;;;01/01/2026\r"}));
}

void TstGridCsv::exportThroughTheDialog()
{
    const QString dir = QDir(TTestDatabase::WorkDir()).filePath(QStringLiteral("csv"));
    QDir(dir).removeRecursively();
    QVERIFY(QDir().mkpath(dir));
    const QString file = QDir(dir).filePath(QStringLiteral("voci.csv"));
    // Cancelled: nothing written, nothing said.
    QVERIFY(!VtExportGridCsv(*m_grid, QStringLiteral("Voci.csv")));
    QVERIFY(!QFile::exists(file));
    QVERIFY((*m_msg)->Messages.isEmpty());
    // Done.
    (*m_msg)->SaveNames << file;
    QVERIFY(VtExportGridCsv(*m_grid, QStringLiteral("Voci.csv")));
    QCOMPARE(Read(file), VtGridCsv(*m_grid));
    QCOMPARE((*m_msg)->LastText(), QStringLiteral("Esportate 3 righe nel file %1").arg(QDir::toNativeSeparators(file)));
    QCOMPARE((*m_msg)->Messages.last().Type, mtInformation);
    // A file that cannot be written (its temporary neighbour's name is too
    // long for the file system, whoever runs the test): the old one stays.
    const QString longName = QDir(dir).filePath(QString(246, QLatin1Char('v')) + QStringLiteral(".csv"));
    {
        QFile old(longName);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("contenuto di prima\r\n");
    }
    (*m_msg)->SaveNames << longName;
    QVERIFY(!VtExportGridCsv(*m_grid, QStringLiteral("Voci.csv")));
    QVERIFY((*m_msg)->LastText().startsWith(QStringLiteral("Impossibile esportare il file %1:\r\n")
                                                .arg(QDir::toNativeSeparators(longName))));
    QCOMPARE((*m_msg)->Messages.last().Type, mtError);
    QCOMPARE(Read(longName), QByteArray("contenuto di prima\r\n"));
}

QTEST_MAIN(TstGridCsv)
#include "tst_gridcsv.moc"

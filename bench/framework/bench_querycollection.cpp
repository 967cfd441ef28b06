// Opens a collection of 20,000 instalment rows joined to their components
// and reasons, and compares it with a bare QSqlQuery loop over the same
// select. Prints times, peak memory and the ratio.
#include "DbScripts.h"
#include "VtDatabaseCreator.h"
#include "VtQueryCollection.h"
#include "VtSQLConnection.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {
const char *kSelect =
    "SELECT FIRST 20000 cac.iCacId, cac.iAcbCauId, cac.iCcaId, cac.fCacImporto, cac.dCacDataScadenza, "
    "cac.dCacDataPagamento, cac.fCacPercSconto, cac.fCacImpSconto, cac.fCacImpDaDote, cac.iSprIstId, cac.iMpgId, "
    "cac.iLocked, cca.sCcaSDesc, cca.sCcaLDesc, cca.fCcaImportoIst, cca.iTccId, cau.iCauId, cau.sCauSDesc, "
    "cau.sCauLDesc, acbcau.iAcbId "
    "FROM TCac_CcaAcbCau cac "
    "INNER JOIN TCca_CompCausali cca ON cca.iCcaId = cac.iCcaId "
    "INNER JOIN TAcbCau acbcau ON acbcau.iAcbCauId = cac.iAcbCauId "
    "INNER JOIN TCau_Causali cau ON cau.iCauId = acbcau.iCauId "
    "WHERE cac.fCacImporto >= :fMin "
    "ORDER BY cac.iCacId";

long PeakKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

bool Exec(TVtSQLConnection &c, const QString &sql)
{
    QSqlQuery q(c.Database());
    if (!q.exec(sql)) {
        std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
        return false;
    }
    return true;
}
}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    QTemporaryDir dir;
    TVtConnectionSettings s;
    s.Database = QDir(dir.path()).filePath(QStringLiteral("bench.fdb"));
    TVtDatabaseCreator creator;
    creator.Scripts = DbScripts::SchemaScripts() + DbScripts::DemoScripts();
    creator.SchemaVersion = QString::fromLatin1(VtSchemaVersion);
    QString error;
    if (!creator.Create(s, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    TVtSQLConnection conn;
    if (!conn.Open(s, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    qqoVtGlobConn = &conn;
    // Copies of the demo's instalments until there are more than 20,000.
    const bool grown = Exec(conn, QStringLiteral(
        "EXECUTE BLOCK AS DECLARE n INTEGER = 0; DECLARE k INTEGER = 2000000; BEGIN "
        "WHILE ((SELECT COUNT(*) FROM TCac_CcaAcbCau) < 20500) DO BEGIN "
        "  INSERT INTO TCac_CcaAcbCau (iCacId, iAcbCauId, iCcaId, fCacImporto, dCacDataScadenza, dCacDataPagamento, "
        "    fCacPercSconto, fCacImpSconto, fCacImpDaDote, iSprIstId, iMpgId, iLocked) "
        "  SELECT iCacId + :k, iAcbCauId, iCcaId, fCacImporto, dCacDataScadenza, dCacDataPagamento, fCacPercSconto, "
        "    fCacImpSconto, fCacImpDaDote, iSprIstId, iMpgId, iLocked FROM TCac_CcaAcbCau WHERE iCacId < 1000000; "
        "  k = k + 1000000; n = n + 1; END END"));
    if (!grown)
        return 1;

    // Bare loop: what the rows cost without the collection.
    QElapsedTimer t;
    t.start();
    int bareRows = 0;
    {
        QSqlQuery q(conn.Database());
        q.setForwardOnly(true);
        q.prepare(QString::fromLatin1(kSelect).replace(QStringLiteral(":fMin"), QStringLiteral("?")));
        q.addBindValue(0.0);
        q.exec();
        const int cols = q.record().count();
        QVector<QVariant> row(cols);
        while (q.next()) {
            for (int i = 0; i < cols; ++i)
                row[i] = q.value(i);
            ++bareRows;
        }
    }
    const double bareMs = t.nsecsElapsed() / 1e6;
    const long kbBefore = PeakKb();

    t.restart();
    TVtQueryCollection c;
    c.CommandText = QString::fromLatin1(kSelect);
    c.Params().CreateParam(QMetaType::Double, QStringLiteral("fMin"))->SetAsFloat(0.0);
    c.Open();
    c.FieldByName(QStringLiteral("fCacImporto"))->DisplayFormat = QStringLiteral("#,###.00");
    const double collMs = t.nsecsElapsed() / 1e6;
    const long kbAfter = PeakKb();

    // A grid over the rows, scrolled from top to bottom a page at a time.
    QTableView view;
    view.setModel(&c);
    view.resize(1200, 800);
    view.show();
    QApplication::processEvents();
    t.restart();
    int pages = 0;
    QScrollBar *bar = view.verticalScrollBar();
    for (int v = 0; v <= bar->maximum(); v += bar->pageStep()) {
        bar->setValue(v);
        view.viewport()->repaint();
        ++pages;
    }
    const double scrollMs = t.nsecsElapsed() / 1e6;

    std::printf("rows: collection %d, bare loop %d\n", c.RecordCount(), bareRows);
    std::printf("bare QSqlQuery loop:      %8.1f ms\n", bareMs);
    std::printf("TVtQueryCollection open:  %8.1f ms\n", collMs);
    std::printf("ratio collection / bare:  %8.2f  (target <= 1.5)\n", collMs / bareMs);
    std::printf("peak memory: %ld KiB before the collection, %ld KiB after (+%ld KiB)\n", kbBefore, kbAfter,
                kbAfter - kbBefore);
    std::printf("grid scroll: %d pages in %.1f ms (%.2f ms per page)\n", pages, scrollMs, scrollMs / qMax(1, pages));
    return 0;
}

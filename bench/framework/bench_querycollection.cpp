// Opens a collection of 20,000 instalment rows joined to their components
// and reasons, and compares it with a bare QSqlQuery loop over the same
// select. Every measure runs in a fresh process of its own (same binary,
// "--measure"), so one measure's memory does not slow the next; each is
// taken three times and the best counts. Prints times, memory and ratios.
#include "BenchDatabase.h"
#include "BenchFigure.h"
#include "DbScripts.h"
#include "VtDatabaseCreator.h"
#include "VtQueryCollection.h"
#include "VtSQLConnection.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QScrollBar>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>
#include <unistd.h>

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

// Resident memory of this process in KiB.
long ResidentKb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

bool Open(TVtSQLConnection &conn, const QString &path)
{
    if (!BenchOpen(conn, path))
        return false;
    qqoVtGlobConn = &conn;
    return true;
}

int BareLoop(TVtSQLConnection &conn, bool keep)
{
    QVector<QVector<QVariant>> rows;
    QSqlQuery q(conn.Database());
    q.setForwardOnly(true);
    q.prepare(QString::fromLatin1(kSelect).replace(QStringLiteral(":fMin"), QStringLiteral("?")));
    q.addBindValue(0.0);
    q.exec();
    const int cols = q.record().count();
    QVector<QVariant> row(cols);
    int n = 0;
    while (q.next()) {
        for (int i = 0; i < cols; ++i)
            row[i] = q.value(i);
        if (keep)
            rows.push_back(row);
        ++n;
    }
    return n;
}

void OpenCollection(TVtQueryCollection &c)
{
    c.CommandText = QString::fromLatin1(kSelect);
    c.Params().CreateParam(QMetaType::Double, QStringLiteral("fMin"))->SetAsFloat(0.0);
    c.Open();
    c.FieldByName(QStringLiteral("fCacImporto"))->DisplayFormat = QStringLiteral("#,###.00");
}

// Child process: one measure, printed as "<ms> <KiB held> <rows>".
int Measure(const QString &what, const QString &path)
{
    TVtSQLConnection conn;
    if (!Open(conn, path))
        return 1;
    BareLoop(conn, false);   // warm-up: the database pages in the cache
    QElapsedTimer t;
    const long kb0 = ResidentKb();
    int rows = 0;
    TVtQueryCollection c;
    t.start();
    if (what == QLatin1String("coll")) {
        OpenCollection(c);
        rows = c.RecordCount();
    } else {
        rows = BareLoop(conn, what == QLatin1String("kept"));
    }
    const double ms = t.nsecsElapsed() / 1e6;
    std::printf("%.1f %ld %d\n", ms, ResidentKb() - kb0, rows);
    return 0;
}

int Prepare(const QString &path)
{
    if (!BenchCreateDatabase(path, TBenchSchool::Demo))
        return 1;
    TVtSQLConnection conn;
    if (!Open(conn, path))
        return 1;
    // Copies of the demo's instalments until there are more than 20,000.
    QSqlQuery q(conn.Database());
    if (!q.exec(QStringLiteral(
            "EXECUTE BLOCK AS DECLARE k INTEGER = 2000000; BEGIN "
            "WHILE ((SELECT COUNT(*) FROM TCac_CcaAcbCau) < 20500) DO BEGIN "
            "  INSERT INTO TCac_CcaAcbCau (iCacId, iAcbCauId, iCcaId, fCacImporto, dCacDataScadenza, dCacDataPagamento, "
            "    fCacPercSconto, fCacImpSconto, fCacImpDaDote, iSprIstId, iMpgId, iLocked) "
            "  SELECT iCacId + :k, iAcbCauId, iCcaId, fCacImporto, dCacDataScadenza, dCacDataPagamento, fCacPercSconto, "
            "    fCacImpSconto, fCacImpDaDote, iSprIstId, iMpgId, iLocked FROM TCac_CcaAcbCau WHERE iCacId < 1000000; "
            "  k = k + 1000000; END END"))) {
        std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
        return 1;
    }
    return 0;
}

// Child process: a grid over the collection scrolled a page at a time.
int Scroll(const QString &path)
{
    TVtSQLConnection conn;
    if (!Open(conn, path))
        return 1;
    TVtQueryCollection c;
    OpenCollection(c);
    QTableView view;
    view.setModel(&c);
    view.resize(1200, 800);
    view.show();
    QApplication::processEvents();
    QElapsedTimer t;
    t.start();
    int pages = 0;
    QScrollBar *bar = view.verticalScrollBar();
    for (int v = 0; v <= bar->maximum(); v += bar->pageStep()) {
        bar->setValue(v);
        view.viewport()->repaint();
        ++pages;
    }
    const double ms = t.nsecsElapsed() / 1e6;
    std::printf("%d %.1f\n", pages, ms);
    return 0;
}

QStringList RunChild(const QStringList &args)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), args);
    p.waitForFinished(-1);
    if (p.exitCode() != 0) {
        std::fprintf(stderr, "%s", p.readAllStandardError().constData());
        return {};
    }
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed().split(QLatin1Char(' '));
}
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--measure"))
        return Measure(args[2], args[3]);
    if (args.size() == 3 && args[1] == QLatin1String("--prepare"))
        return Prepare(args[2]);
    if (args.size() == 3 && args[1] == QLatin1String("--scroll"))
        return Scroll(args[2]);

    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("bench.fdb"));
    if (RunChild({QStringLiteral("--prepare"), path}).isEmpty() && !QFile::exists(path))
        return 1;
    struct Best { double ms = 1e9; long kb = 0; int rows = 0; };
    Best bare, kept, coll;
    for (int round = 0; round < 3; ++round) {
        for (auto [name, best] : {std::pair{"bare", &bare}, std::pair{"kept", &kept}, std::pair{"coll", &coll}}) {
            const QStringList r = RunChild({QStringLiteral("--measure"), QString::fromLatin1(name), path});
            if (r.size() != 3)
                return 1;
            if (r[0].toDouble() < best->ms)
                *best = {r[0].toDouble(), r[1].toLong(), r[2].toInt()};
        }
    }
    const QStringList scroll = RunChild({QStringLiteral("--scroll"), path});
    std::printf("rows: %d (instalments joined to components and reasons)\n", coll.rows);
    std::printf("bare QSqlQuery loop, values dropped:  %8.1f ms\n", bare.ms);
    std::printf("bare QSqlQuery loop, rows kept:       %8.1f ms   %6ld KiB held\n", kept.ms, kept.kb);
    std::printf("TVtQueryCollection open:              %8.1f ms   %6ld KiB held\n", coll.ms, coll.kb);
    std::printf("ratio collection / bare loop:         %8.2f  (target <= 1.5)\n", coll.ms / bare.ms);
    BenchFigure("query collection / bare loop", coll.ms / bare.ms, "x", "<=", 1.5);
    std::printf("ratio collection / loop keeping rows: %8.2f\n", coll.ms / kept.ms);
    if (scroll.size() == 2)
        std::printf("grid scroll: %s pages in %s ms (%.2f ms per page)\n", qPrintable(scroll[0]), qPrintable(scroll[1]),
                    scroll[1].toDouble() / qMax(1, scroll[0].toInt()));
    return 0;
}

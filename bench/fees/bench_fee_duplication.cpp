// Copy of a school year's fee reasons into the next one: 200 income reasons
// of 10 components each (2,000 components, each its own, and 2,000 links).
// Measures the preview of the whole selection, the copy (one transaction,
// one procedure call per reason) and a second copy of the same selection,
// which the procedure refuses. Each measure is taken on three fresh copies
// of the database and the best counts. Prints times and the rows created.
#include "BenchDatabase.h"
#include "BenchFigure.h"
#include "DbScripts.h"
#include "EbsUDuplicaCausali.h"
#include "VtDatabaseCreator.h"
#include "VtException.h"
#include "VtSQLConnection.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

namespace {
constexpr int Reasons = 200;
constexpr int ComponentsPerReason = 10;
constexpr int SourceYear = 2024;
constexpr int TargetYear = 2025;

bool Exec(QSqlDatabase db, const QString &sql)
{
    QSqlQuery q(db);
    if (q.exec(sql))
        return true;
    std::fprintf(stderr, "%s\n%s\n", qPrintable(q.lastError().text()), qPrintable(sql.left(200)));
    return false;
}

int Count(TVtSQLConnection &conn)
{
    QSqlQuery q(conn.Database());
    q.exec(QStringLiteral("SELECT (SELECT COUNT(*) FROM TCau_Causali) + (SELECT COUNT(*) FROM TCca_CompCausali) + "
                          "(SELECT COUNT(*) FROM TCauCca) FROM RDB$DATABASE"));
    return q.next() ? q.value(0).toInt() : -1;
}

bool Open(TVtSQLConnection &conn, const QString &path)
{
    if (!BenchOpen(conn, path))
        return false;
    qqoVtGlobConn = &conn;
    return true;
}

// The database with the program's scripts (schema and upgrades, no demo),
// two school years and the source year's reasons.
bool Prepare(const QString &path)
{
    if (!BenchCreateDatabase(path, TBenchSchool::Empty))
        return false;
    TVtSQLConnection conn;
    if (!Open(conn, path))
        return false;
    bool ok = true;
    {
        QSqlDatabase db = conn.Database();
        for (int y : {SourceYear, TargetYear})
            if (!Exec(db, QStringLiteral("INSERT INTO TAns_AnniScolast (iAnsId, iAnsValore, sAnsAnnoDesc, dAnsVeltoInizio, "
                                         "dAnsVeltoFine) VALUES (%1, %1, '%1/%2', '%1-09-01', '%2-08-31')")
                                  .arg(y).arg(y + 1)))
                return false;
        ok = Exec(db, QStringLiteral(
            "EXECUTE BLOCK AS DECLARE r INTEGER = 0; DECLARE c INTEGER; DECLARE k INTEGER; BEGIN "
            "WHILE (r < %1) DO BEGIN "
            "  r = r + 1; "
            "  INSERT INTO TCau_Causali (iCauId, sCauSDesc, sCauLDesc, lCauTipo, lCauVuvez, dStart, dEnd, iDwgId) "
            "    VALUES (:r, 'CAU' || :r, 'Causale numero ' || :r, 0, 1, '%3-09-01', '%4-08-31', 1); "
            "  c = 0; "
            "  WHILE (c < %2) DO BEGIN "
            "    c = c + 1; k = r * 100 + c; "
            "    INSERT INTO TCca_CompCausali (iCcaId, sCcaSDesc, sCcaLDesc, fCcaImportoIst, fCcaImportoEra, lCcaVuvez, "
            "      lCcaTipo, dStart, dEnd, dCcaDataScadenza, iDwgId) "
            "      VALUES (:k, 'C' || :r || '_' || :c, 'Componente ' || :c || ' della causale ' || :r, 10 + :c, 0, 1, 0, "
            "      '%3-09-01', '%4-08-31', DATEADD(:c MONTH TO DATE '%3-09-15'), 1); "
            "    INSERT INTO TCauCca (iCauCcaId, iCauId, iCcaId, dStart, dEnd) VALUES (:k, :r, :k, '%3-09-01', '%4-08-31'); "
            "  END "
            "END END").arg(Reasons).arg(ComponentsPerReason).arg(SourceYear).arg(SourceYear + 1));
    }
    conn.Close();
    return ok;
}

struct TMeasure
{
    double Ms = 1e9;
    int Rows = 0;
    void Take(double ms, int rows)
    {
        if (ms < Ms) {
            Ms = ms;
            Rows = rows;
        }
    }
};
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString base = QDir(dir.path()).filePath(QStringLiteral("bench.fdb"));
    if (!Prepare(base))
        return 1;
    QList<int> ids;
    for (int r = 1; r <= Reasons; ++r)
        ids << r;

    TMeasure preview, copy, again;
    int previewNew = 0;
    for (int run = 0; run < 3; ++run) {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("run%1.fdb").arg(run));
        QFile::remove(path);
        if (!QFile::copy(base, path))
            return 1;
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        TVtSQLConnection conn;
        if (!Open(conn, path))
            return 1;
        try {
            QElapsedTimer t;
            t.start();
            const TEbsDuplicaPreview p = EbsPreviewDuplicaCausali(TargetYear, ids);
            preview.Take(t.nsecsElapsed() / 1e6, p.Rows.size());
            previewNew = p.NewReasons + p.NewComponents;

            const int before = Count(conn);
            t.restart();
            EbsDuplicaCausali(TargetYear, ids);
            const double copyMs = t.nsecsElapsed() / 1e6;
            const int created = Count(conn) - before;
            copy.Take(copyMs, created);

            const int beforeAgain = Count(conn);
            t.restart();
            bool refused = false;
            try {
                EbsDuplicaCausali(TargetYear, ids);
            } catch (const EVtException &) {
                refused = true;
            }
            const double againMs = t.nsecsElapsed() / 1e6;
            if (!refused) {
                std::fprintf(stderr, "the second copy was not refused\n");
                return 1;
            }
            again.Take(againMs, Count(conn) - beforeAgain);
        } catch (const EVtException &e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
            return 1;
        }
        conn.Close();
        QFile::remove(path);
    }
    std::printf("source: %d income reasons of %d components each (%d components, %d links)\n", Reasons,
                ComponentsPerReason, Reasons * ComponentsPerReason, Reasons * ComponentsPerReason);
    std::printf("preview of all %d reasons:     %8.1f ms   %5d rows (%d reasons and components to create)  (target < 200 ms)\n",
                Reasons, preview.Ms, preview.Rows, previewNew);
    std::printf("copy, one transaction:         %8.1f ms   %5d rows created (reasons + components + links)  (target < 1000 ms)\n",
                copy.Ms, copy.Rows);
    BenchFigure("fee duplication: preview", preview.Ms, "ms", "<", 200);
    BenchFigure("fee duplication: copy", copy.Ms, "ms", "<", 1000);
    std::printf("second copy, refused:          %8.1f ms   %5d rows created\n", again.Ms, again.Rows);
    return 0;
}

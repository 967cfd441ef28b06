// The bulk data replace over 5,000 holder records of one school year, all
// paying by RID, on the embedded engine:
//   definition  reading EBCREPLACE from the archive;
//   preview     the preview of field 3 (the holder's payment mode) for the
//               5,000, RID to "Bonifico bancario";
//   run         that replacement through the function the wizard's OK
//               calls: one transaction, the wait window (offscreen), the
//               log of every record, committed;
//   undo        the undo of that run.
// The database is built as the program builds it, with the demo school (its
// payment modes and definition), and 5,000 pupils of 2025/2026 each with a
// parent, a class and a holder record. Each measure is taken three times,
// each on a fresh copy of the prepared file, and the best counts.
#include "BenchDatabase.h"
#include "BenchFigure.h"
#include "DbScripts.h"
#include "EbcUDataReplace.h"
#include "VtDatabaseCreator.h"
#include "VtSQLConnection.h"
#include "VtTransaction.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {
constexpr int Holders = 5000;
constexpr int Base = 600000;   // pupils Base + n, parents Base + Holders + n, holder records Base + n
constexpr int Rid = 1, Bonifico = 4;
constexpr double TargetMs = 2000;

bool Exec(QSqlDatabase db, const QString &sql)
{
    QSqlQuery q(db);
    if (q.exec(sql))
        return true;
    std::fprintf(stderr, "%s\n%s\n", qPrintable(sql), qPrintable(q.lastError().text()));
    return false;
}

bool Open(TVtSQLConnection &conn, const QString &path)
{
    if (!BenchOpen(conn, path))
        return false;
    qqoVtGlobConn = &conn;
    return true;
}

// 5,000 pupils and parents, 200 classes of 25 in 2025/2026, the holder records.
bool FillHolders(QSqlDatabase db)
{
    QSqlQuery q(db);
    auto batch = [&](const QString &sql, int count, const std::function<QVariantList(int)> &values) {
        if (!q.prepare(sql))
            return false;
        for (int n = 0; n < count; ++n) {
            const QVariantList v = values(n);
            for (int i = 0; i < v.size(); ++i)
                q.bindValue(i, v.at(i));
            if (!q.exec()) {
                std::fprintf(stderr, "%s\n", qPrintable(q.lastError().text()));
                return false;
            }
        }
        return true;
    };
    const QString person = QStringLiteral("INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome) VALUES (?, ?, ?)");
    return batch(person, Holders, [](int n) { return QVariantList{Base + n, QStringLiteral("Prova%1").arg(n), QStringLiteral("Alunno")}; })
           && batch(person, Holders, [](int n) { return QVariantList{Base + Holders + n, QStringLiteral("Prova%1").arg(n), QStringLiteral("Genitore")}; })
           && batch(QStringLiteral("INSERT INTO TAnaGpt (iAnaGptId, iAnaId, iAnaId_p, iGptId) VALUES (?, ?, ?, 1)"), Holders,
                    [](int n) { return QVariantList{Base + n, Base + n, Base + Holders + n}; })
           && batch(QStringLiteral("INSERT INTO TCls_Classi (iClsId, iAcsId, iSezId, dStart, dEnd) VALUES (?, 1, 1, '2025-09-01', '2026-08-31')"),
                    Holders / 25, [](int n) { return QVariantList{Base + n}; })
           && batch(QStringLiteral("INSERT INTO TClsPst (iClsPstId, iClsId, iClsPstNum) VALUES (?, ?, ?)"), Holders,
                    [](int n) { return QVariantList{Base + n, Base + n / 25, n % 25 + 1}; })
           && batch(QStringLiteral("INSERT INTO TSit_Situazioni (iSitId, iAnaId, iClsPstId, dStart, dEnd) VALUES (?, ?, ?, '2025-09-01', '2026-08-31')"),
                    Holders, [](int n) { return QVariantList{Base + n, Base + n, Base + n}; })
           && batch(QStringLiteral("INSERT INTO TAcb_AluCoordBan (iAcbId, iAnaId, iAnaId_Gen, sAcbIntestatario, iMpgId, fAcbPercSconto) "
                                   "VALUES (?, ?, ?, ?, 1, 0)"),
                    Holders, [](int n) { return QVariantList{Base + n, Base + n, Base + Holders + n, QStringLiteral("PROVA%1 GENITORE").arg(n)}; });
}

bool Prepare(const QString &path)
{
    if (!BenchCreateDatabase(path, TBenchSchool::Demo))
        return false;
    TVtSQLConnection conn;
    if (!Open(conn, path))
        return false;
    QSqlDatabase db = conn.Database();
    db.transaction();
    const bool ok = FillHolders(db);
    ok ? db.commit() : db.rollback();
    conn.Close();
    return ok;
}

TEbcReplaceRequest Request()
{
    TEbcReplaceRequest r;
    r.Mode = 2;
    r.Field = EbcLoadReplaceDef().FieldAt(2);
    for (int n = 0; n < Holders; ++n) {
        r.Selected << Base + n;
        r.Names << QStringLiteral("Prova%1 Alunno").arg(n);
    }
    r.NewValue = Bonifico;
    r.NewText = QStringLiteral("Bonifico bancario");
    r.OldValue = Rid;
    return r;
}

int Count(const QString &sql)
{
    QSqlQuery q(qqoVtGlobConn->Database());
    return q.exec(sql) && q.next() ? q.value(0).toInt() : -1;
}

struct TFigures
{
    qint64 Definition = -1, Preview = -1, Run = -1, Undo = -1;
    int Changed = -1, Left = -1, Modify = 0;
};

// One pass on a fresh copy.
bool Measure(const QString &prepared, const QString &copy, TFigures &f)
{
    QFile::remove(copy);
    if (!QFile::copy(prepared, copy))
        return false;
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    TVtSQLConnection conn;
    if (!Open(conn, copy))
        return false;
    QElapsedTimer t;
    t.start();
    const TEbcReplaceDef def = EbcLoadReplaceDef();
    f.Definition = t.nsecsElapsed() / 1000;   // microseconds
    const TEbcReplaceRequest request = Request();
    t.restart();
    const QList<TEbcPreviewRow> preview = EbcReplacePreview(request);
    f.Preview = t.elapsed();
    for (const TEbcPreviewRow &row : preview)
        f.Modify += row.Outcome == poModify ? 1 : 0;
    t.restart();
    f.Changed = EbcReplaceRun(request);
    f.Run = t.elapsed();
    const std::optional<TEbcReplaceLog> log = EbcLastReplace();
    if (!log)
        return false;
    t.restart();
    EbcUndoReplace(*log);
    f.Undo = t.elapsed();
    f.Left = Count(QStringLiteral("SELECT COUNT(*) FROM TAcb_AluCoordBan WHERE iMpgId = 4 AND iAcbId >= %1").arg(Base));
    conn.Close();
    return def.Fields.size() >= 3;
}

const char *Verdict(qint64 ms)
{
    return ms >= 0 && ms < TargetMs ? "met" : "MISSED";
}
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString prepared = QDir(dir.path()).filePath(QStringLiteral("prepared.fdb"));
    const QString copy = QDir(dir.path()).filePath(QStringLiteral("copy.fdb"));
    std::printf("preparing %d holder records...\n", Holders);
    std::fflush(stdout);
    if (!Prepare(prepared))
        return 1;
    TFigures best;
    for (int pass = 0; pass < 3; ++pass) {
        TFigures f;
        try {
            if (!Measure(prepared, copy, f))
                return 1;
        } catch (const std::exception &) {
            std::fprintf(stderr, "pass %d failed\n", pass + 1);
            return 1;
        }
        auto keep = [](qint64 &b, qint64 v) { b = b < 0 ? v : qMin(b, v); };
        keep(best.Definition, f.Definition);
        keep(best.Preview, f.Preview);
        keep(best.Run, f.Run);
        keep(best.Undo, f.Undo);
        best.Changed = f.Changed;
        best.Left = f.Left;
        best.Modify = f.Modify;
    }
    std::printf("definition  %lld us\n", static_cast<long long>(best.Definition));
    std::printf("preview     %lld ms  (%d of %d to change), target < %.0f ms: %s\n",
                static_cast<long long>(best.Preview), best.Modify, Holders, TargetMs, Verdict(best.Preview));
    std::printf("run         %lld ms  (%d rows changed, logged), target < %.0f ms: %s\n",
                static_cast<long long>(best.Run), best.Changed, TargetMs, Verdict(best.Run));
    std::printf("undo        %lld ms  (%d left with the new mode), target < %.0f ms: %s\n",
                static_cast<long long>(best.Undo), best.Left, TargetMs, Verdict(best.Undo));
    BenchFigure("data replace: preview", double(best.Preview), "ms", "<", TargetMs);
    BenchFigure("data replace: run", double(best.Run), "ms", "<", TargetMs);
    BenchFigure("data replace: undo", double(best.Undo), "ms", "<", TargetMs);
    return 0;
}

// The bank export of a large school: 10,000 paying parents, 2,000 of them
// paying for two siblings (12,000 pupils in 60 classes of 2024/2025), with
// 30,000 unpaid RID instalments due on 10 dates; half of the mandates were
// presented before from the working account, so the file has 20 payment
// blocks. The wizard's own code runs headless: the pupils of every class,
// the selection and the debits of page 3, the checks of page 4, and OK
// (checks again, build, SEPA cleaning, validation, log rows, the file).
// Separately: the recording of the 30,000 payments over two financial years,
// the cancellation of all 10,000 debits, and the message model alone.
// Each figure is the best of three runs, each in a fresh process on a
// fresh copy of the prepared database.
#include "BenchDatabase.h"
#include "BenchFigure.h"
#include "DbScripts.h"
#include "EbdFwExport_Banche.h"
#include "EbdMConn.h"
#include "EbdUContext.h"
#include "VardellaModules.h"
#include "VtClock.h"
#include "VtDatabaseCreator.h"
#include "VtGlobalValuesManager.h"
#include "VtMessageDlg.h"
#include "VtSQLConnection.h"
#include "VtTransaction.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <map>

namespace {

constexpr int Parents = 10000, Siblings = 2000, Classes = 60;

class TQuietService : public IVtMessageService
{
public:
    QStringList Texts;
    int MessageDlg(const QString &text, TVtMsgDlgType, TVtMsgDlgButtons buttons, const QString &) override
    {
        Texts << text;
        return buttons & mbNo ? mrNo : mrOk;   // no folder opened, no file replaced
    }
    bool OpenDocument(const QString &) override { return false; }
    QString SaveFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString OpenFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString ExistingDirectory(const QString &, const QString &) override { return {}; }
};

bool Exec(QSqlDatabase db, const QString &sql)
{
    QSqlQuery q(db);
    if (q.exec(sql))
        return true;
    std::fprintf(stderr, "%s\n%s\n", qPrintable(q.lastError().text()), qPrintable(sql.left(300)));
    return false;
}

// Ids from 5,000,000 on, above the demo's and the generator's start.
bool AddSchool(QSqlDatabase db)
{
    // Ten components due on the 15th from October to July, in four reasons
    // of three, two, three and two components.
    QStringList sql;
    sql << QStringLiteral("EXECUTE BLOCK AS DECLARE i INTEGER = 0; BEGIN WHILE (i < %1) DO BEGIN "
                          "INSERT INTO TCls_Classi (iClsId, iAcsId, iSezId, iIndId, iDwgSedId, dStart, dEnd) "
                          "SELECT 5000000 + :i, iAcsId, iSezId, iIndId, iDwgSedId, dStart, dEnd FROM TCls_Classi "
                          "WHERE iClsId = 24001; i = i + 1; END END")
               .arg(Classes);
    for (int r = 0; r < 4; ++r)
        sql << QStringLiteral("INSERT INTO TCau_Causali (iCauId, sCauSDesc, sCauLDesc, lCauTipo, iDwgId, dStart, dEnd) "
                              "VALUES (%1, 'Prova %2', 'Prova %2', 0, 1, DATE '2024-09-01', DATE '2025-08-31')")
                   .arg(5100000 + r)
                   .arg(r);
    const int reasonOf[10] = {0, 0, 0, 1, 1, 2, 2, 2, 3, 3};
    for (int c = 0; c < 10; ++c) {
        const QDate due = QDate(2024, 10, 15).addMonths(c);
        sql << QStringLiteral("INSERT INTO TCca_CompCausali (iCcaId, sCcaSDesc, sCcaLDesc, iDwgId, fCcaImportoIst, "
                              "dCcaDataScadenza, dStart, dEnd) VALUES (%1, 'Rata %2', 'Mensa rata %2', 1, %3, DATE '%4', "
                              "DATE '2024-09-01', DATE '2025-08-31')")
                   .arg(5200000 + c)
                   .arg(c + 1)
                   .arg(40 + c * 2.35, 0, 'f', 2)
                   .arg(due.toString(Qt::ISODate));
        sql << QStringLiteral("INSERT INTO TCauCca (iCauCcaId, iCauId, iCcaId) VALUES (%1, %2, %3)")
                   .arg(5300000 + c)
                   .arg(5100000 + reasonOf[c])
                   .arg(5200000 + c);
    }
    // Parent p pays for pupil p and, for the first 2,000, for pupil 10,000 + p.
    sql << QStringLiteral(
               "EXECUTE BLOCK AS DECLARE i INTEGER = 0; DECLARE p INTEGER; DECLARE a INTEGER; DECLARE g INTEGER; "
               "BEGIN WHILE (i < %1) DO BEGIN "
               "p = MOD(i, %2); a = 6000000 + i; g = 7000000 + p; "
               "IF (i < %2) THEN INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome) "
               "  VALUES (:g, 'Famiglia ' || :p, 'Genitore'); "
               "INSERT INTO TAna_Anagrafiche (iAnaId, sAnaCognome, sAnaNome) VALUES (:a, 'Famiglia ' || :p, 'Alunno ' || :i); "
               "INSERT INTO TAnaCag (iAnaCagId, iAnaId, iCagId, sAnaCagCode) VALUES (:a, :a, 1, 'B' || :i); "
               "INSERT INTO TClsPst (iClsPstId, iClsId, iClsPstNum) VALUES (:a, 5000000 + MOD(:i, %3), :i); "
               "INSERT INTO TSit_Situazioni (iSitId, iAnaId, iClsPstId, dStart, dEnd) "
               "  VALUES (:a, :a, :a, DATE '2024-09-01', DATE '2025-08-31'); "
               "INSERT INTO TAcb_AluCoordBan (iAcbId, iAnaId, iAnaId_Gen, sAcbIBan, sAcbIntestatario, iMpgId, "
               "  fAcbPercSconto, dAcbDataMandato) VALUES (:a, :a, :g, 'IT60X0542811101000000123456', "
               "  'FAMIGLIA ' || :p, 1, 0, DATE '2020-09-01'); "
               "INSERT INTO TAcbCau (iAcbCauId, iAcbId, iCauId, fAcbCauPercSconto) VALUES (:a, :a, 5100000 + MOD(:i, 4), 0); "
               "i = i + 1; END END")
               .arg(Parents + Siblings)
               .arg(Parents)
               .arg(Classes);
    // Half of the mandates presented before, from the working account.
    sql << QStringLiteral("INSERT INTO TEsd_EsportazSdd (iEsdId, iSprIstId, iDwgId, dEsdCreazione, sEsdMsgId, sEsdFile, "
                          "iEsdNumTx, iEsdTotCent, lEsdPagamenti) VALUES (5400000, 2, 1, TIMESTAMP '2024-06-03 10:00:00', "
                          "'SDD20240603100000', '/tmp/SDD20240603.xml', %1, 0, 1)")
               .arg(Parents / 2);
    sql << QStringLiteral("INSERT INTO TEtx_TransazSdd (iEtxId, iEsdId, iEtxNum, sEtxIban, sEtxMndtId, sEtxSeqTp, dEtxIncasso, "
                          "iEtxCent) SELECT 5500000 + Acb.iAcbId - 6000000, 5400000, Acb.iAcbId - 5999999, "
                          "'IT60X0542811101000000123456', LPAD(Cag.sAnaCagCode, 16, '0'), 'FRST', DATE '2024-06-15', 1000 "
                          "FROM TAcb_AluCoordBan Acb JOIN TAnaCag Cag ON Cag.iAnaId = Acb.iAnaId "
                          "WHERE Acb.iAcbId BETWEEN 6000000 AND 6000000 + %1 - 1 AND MOD(Acb.iAcbId, 2) = 0")
               .arg(Parents + Siblings);
    for (const QString &s : sql)
        if (!Exec(db, s))
            return false;
    return true;
}

bool Prepare(const QString &path)
{
    if (!BenchCreateDatabase(path, TBenchSchool::Demo))
        return false;
    TVtSQLConnection conn;
    if (!BenchOpen(conn, path))
        return false;
    QSqlDatabase db = conn.Database();
    db.transaction();
    const bool ok = AddSchool(db);
    ok ? db.commit() : db.rollback();
    QSqlQuery count(db);
    count.exec(QStringLiteral("SELECT COUNT(*) FROM TCac_CcaAcbCau WHERE iCcaId >= 5200000 AND dCacDataPagamento IS NULL"));
    count.next();
    std::printf("prepared: %d pupils, %d parents, %d unpaid instalments of the bench\n", Parents + Siblings, Parents,
                count.value(0).toInt());
    conn.Close();
    return ok;
}

long StatusKb(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toLong();
    return -1;
}

// One measured run, in this process; prints "name=value" lines.
int Measure(const QString &file, const QString &mode, const QString &dir)
{
    QApplication::setQuitOnLastWindowClosed(false);
    RegisterVardellaModules();
    auto messages = std::make_shared<TQuietService>();
    SetVtMessageService(messages);
    qputenv("HOME", dir.toUtf8());
    TVtFixedClock clock(QDateTime(QDate(2024, 9, 20), QTime(9, 0, 0)));
    dmEbdConn = new TdmEbdConn;
    TVtConnectionSettings settings;
    settings.Database = file;
    dmEbdConn->Settings = settings;
    if (!dmEbdConn->OpenConnection())
        return 1;
    for (const auto &[name, value] : std::map<QString, QString>{{QStringLiteral("VTUP_DwgId"), QStringLiteral("1")},
                                                                 {QStringLiteral("VTUP_AnsId"), QStringLiteral("2024")},
                                                                 {QStringLiteral("EBDP_AnfId"), QStringLiteral("2025")},
                                                                 {QStringLiteral("EBDP_SprIstId"), QStringLiteral("2")},
                                                                 {QStringLiteral("EBSP_CauAnsId"), QStringLiteral("2024")}})
        xgvmGlobalVar->SetValues(name, value);
    std::map<QString, qint64> ms;
    int result = 0;
    {
        TfwEbdExport_Banche w;
        w.show();
        w.deDataDal->setDate(QDate(2024, 9, 1));
        w.deDataAl->setDate(QDate(2025, 8, 31));
        QElapsedTimer t;
        t.start();
        w.Next();
        w.CheckListAction(w.lwClassi, TfwEbdExport_Banche::caSelectAll);
        ms["pupils"] = t.restart();
        w.Next();
        ms["selection"] = t.restart();
        w.edMittente->setText(QStringLiteral("VALD812C"));
        w.edCREDITOR_IDENT->setText(QStringLiteral("IT27ZZZ90012340187"));
        w.cbBancaFile->setText(QDir(dir).filePath(QStringLiteral("sdd.xml")));
        t.restart();
        w.Next();
        w.ExcludeErrors();
        ms["checks"] = t.restart();
        if (mode == QStringLiteral("record"))
            w.ckInsMov->setChecked(false);
        w.Export();
        ms["ok"] = t.restart();
        std::printf("rate=%d\ndisposizioni=%d\nscritte=%d\nfile=%lld\n", int(w.Rate().size()), int(w.Disposizioni().size()),
                    w.UltimoEsito().NumTx, static_cast<long long>(QFileInfo(w.cbBancaFile->text()).size()));
        if (!w.UltimoEsito().Scritto) {
            std::fprintf(stderr, "nothing written: %s\n", qPrintable(messages->Texts.join(QLatin1Char('/'))));
            result = 1;
        }
        if (mode == QStringLiteral("record") || mode == QStringLiteral("storno")) {
            QSqlQuery q(qqoVtGlobConn->Database());
            t.restart();
            {
                TVtTransaction tr;
                tr.StartTransaction();
                QSqlQuery *p = qqoVtGlobConn->TransactionStatement(QStringLiteral("EXECUTE PROCEDURE PEbd_SddRegistra(?, 2025)"));
                p->addBindValue(w.UltimoEsito().IdEsd);
                if (!p->exec() || !p->next())
                    result = 1;
                else
                    std::printf("registrate=%d\n", p->value(0).toInt());
                tr.Commit();
            }
            ms["record"] = t.restart();
            if (mode == QStringLiteral("storno")) {
                QList<int> ids;
                q.exec(QStringLiteral("SELECT iEtxId FROM TEtx_TransazSdd WHERE iEsdId = %1").arg(w.UltimoEsito().IdEsd));
                while (q.next())
                    ids << q.value(0).toInt();
                q.finish();
                t.restart();
                TVtTransaction tr;
                tr.StartTransaction();
                QSqlQuery *defer = qqoVtGlobConn->TransactionStatement(
                    QStringLiteral("SELECT RDB$SET_CONTEXT('USER_TRANSACTION', 'SDD_RICALCOLO', 'DIFFERITO') FROM RDB$DATABASE"));
                defer->exec();
                defer->next();
                int reopened = 0;
                for (int id : ids) {
                    QSqlQuery *p = qqoVtGlobConn->TransactionStatement(QStringLiteral("EXECUTE PROCEDURE PEbd_SddStorno(?)"));
                    p->addBindValue(id);
                    if (!p->exec() || !p->next()) {
                        result = 1;
                        break;
                    }
                    reopened += p->value(0).toInt();
                }
                qqoVtGlobConn->TransactionStatement(QStringLiteral("EXECUTE PROCEDURE PEbd_SddRicalcola"))->exec();
                tr.Commit();
                ms["storno"] = t.restart();
                std::printf("riaperte=%d\nstornate=%d\n", reopened, int(ids.size()));
            }
        }
    }
    for (const auto &[k, v] : ms)
        std::printf("%s=%lld\n", qPrintable(k), static_cast<long long>(v));
    std::printf("hwm=%ld\n", StatusKb("VmHWM:"));
    delete dmEbdConn;
    dmEbdConn = nullptr;
    return result;
}

using TRun = std::map<QString, QString>;

bool RunChild(const QString &self, const QString &prepared, const QString &mode, const QString &dir, TRun &out)
{
    const QString copy = QDir(dir).filePath(QStringLiteral("copia.fdb"));
    QFile::remove(copy);
    QDir(QDir(dir).filePath(QStringLiteral("run"))).removeRecursively();
    QDir().mkpath(QDir(dir).filePath(QStringLiteral("run")));
    if (!QFile::copy(prepared, copy))
        return false;
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(self, {QStringLiteral("--measure"), copy, mode, QDir(dir).filePath(QStringLiteral("run"))});
    if (!p.waitForFinished(600000) || p.exitCode() != 0)
        return false;
    for (const QByteArray &line : p.readAllStandardOutput().split('\n')) {
        const int eq = line.indexOf('=');
        if (eq > 0)
            out[QString::fromUtf8(line.left(eq))] = QString::fromUtf8(line.mid(eq + 1));
    }
    return true;
}

qint64 Num(const TRun &r, const char *key)
{
    auto it = r.find(QString::fromLatin1(key));
    return it == r.end() ? -1 : it->second.toLongLong();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QStringLiteral("--measure"))
        return Measure(args[2], args[3], args[4]);
    if (args.size() == 3 && args[1] == QStringLiteral("--prepare"))
        return Prepare(args[2]) ? 0 : 1;

    QTemporaryDir dir;
    // The installation: the shipped bank files in a folder of the run.
    const QDir banks(QStringLiteral(VARDELLA_SOURCE_DIR "/etc/Ebd/exp_banche"));
    const QDir home(QDir(dir.path()).filePath(QStringLiteral("home/etc/Ebd/exp_banche")));
    QDir().mkpath(home.path());
    for (const QString &name : banks.entryList(QDir::Files))
        QFile::copy(banks.filePath(name), home.filePath(name));
    qputenv("VARDELLA_HOME", QDir(dir.path()).filePath(QStringLiteral("home")).toUtf8());
    const QString prepared = QDir(dir.path()).filePath(QStringLiteral("preparato.fdb"));
    std::printf("preparing the school...\n");
    std::fflush(stdout);
    if (!Prepare(prepared))
        return 1;
    QStringList modes{QStringLiteral("export"), QStringLiteral("record"), QStringLiteral("storno")};
    if (args.size() > 1)
        modes = args.mid(1);
    for (const QString &mode : modes) {
        TRun best;
        for (int pass = 0; pass < 3; ++pass) {
            TRun run;
            if (!RunChild(app.applicationFilePath(), prepared, mode, dir.path(), run)) {
                std::fprintf(stderr, "%s: run %d failed\n", qPrintable(mode), pass + 1);
                return 1;
            }
            const char *key = mode == QStringLiteral("export") ? "ok" : mode == QStringLiteral("record") ? "record" : "storno";
            const auto total = [key, &mode](const TRun &r) {
                return mode == QStringLiteral("export") ? Num(r, "pupils") + Num(r, "selection") + Num(r, "checks") + Num(r, "ok")
                                                        : Num(r, key);
            };
            if (best.empty() || total(run) < total(best))
                best = run;
        }
        if (mode == QStringLiteral("export")) {
            const qint64 total = Num(best, "pupils") + Num(best, "selection") + Num(best, "checks") + Num(best, "ok");
            std::printf("export of %lld instalments, %lld debits (%lld written), file %lld bytes\n", Num(best, "rate"),
                        Num(best, "disposizioni"), Num(best, "scritte"), Num(best, "file"));
            std::printf("  pupils of every class:                    %6lld ms\n", Num(best, "pupils"));
            std::printf("  page 3 (selection, debits):               %6lld ms\n", Num(best, "selection"));
            std::printf("  page 4 (checks):                          %6lld ms\n", Num(best, "checks"));
            std::printf("  OK (checks, build, clean, validate, log): %6lld ms\n", Num(best, "ok"));
            std::printf("  total:                                    %6lld ms (target < 2000: %s)\n", total,
                        total < 2000 ? "met" : "MISSED");
            std::printf("  peak memory (VmHWM):                      %6lld kB (target < 150 MB: %s)\n", Num(best, "hwm"),
                        Num(best, "hwm") < 150 * 1024 ? "met" : "MISSED");
            BenchFigure("bank export: total", double(total), "ms", "<", 2000);
            BenchFigure("bank export: peak memory", Num(best, "hwm") / 1024.0, "MB", "<", 150);
        } else if (mode == QStringLiteral("record")) {
            std::printf("recording %lld payments over two financial years: %lld ms (aim < 1000: %s)\n",
                        Num(best, "registrate"), Num(best, "record"), Num(best, "record") < 1000 ? "met" : "missed");
            BenchFigure("bank export: payments recorded", double(Num(best, "record")), "ms", "<", 1000);
        } else {
            std::printf("cancelling %lld debits (%lld instalments reopened): %lld ms\n", Num(best, "stornate"),
                        Num(best, "riaperte"), Num(best, "storno"));
        }
        std::fflush(stdout);
    }
    // The message model alone, as its own benchmark measures it.
    const QString model = QDir(QFileInfo(app.applicationFilePath()).absolutePath()).filePath(QStringLiteral("bench_sdd_message"));
    if (QFileInfo::exists(model)) {
        QProcess p;
        p.start(model, {});
        p.waitForFinished(120000);
        std::printf("model alone (bench_sdd_message):\n%s", p.readAllStandardOutput().constData());
    }
    return 0;
}

#include "DbScripts.h"
#include "VtApplication.h"
#include "VtDatabaseCreator.h"
#include "VtMessageDlg.h"
#include "VtPaths.h"
#include "VtSQLConnection.h"
#include "dmVtConnection.h"

#include "EbcFSearchBen.h"
#include "EbdFMain.h"
#include "EbdMAtt.h"
#include "EbdMConn.h"
#include "EbdMReport.h"
#include "EbdURptForms.h"
#include "EbdFwExport_Banche.h"
#include "VardellaModules.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// vardella --create-db FILE [--demo]: builds an empty or a demo database.
int CommandLine(QCoreApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vardella: conti correnti e contributi delle famiglie"));
    parser.addHelpOption();
    QCommandLineOption createOpt(QStringLiteral("create-db"), QStringLiteral("Crea un database vuoto nel file indicato."),
                                 QStringLiteral("file"));
    QCommandLineOption demoOpt(QStringLiteral("demo"), QStringLiteral("Con --create-db: aggiunge la scuola dimostrativa."));
    QCommandLineOption userOpt(QStringLiteral("user"),
                               QStringLiteral("Utente del server (se manca: quello delle impostazioni di connessione)."),
                               QStringLiteral("utente"));
    QCommandLineOption passwordOpt(QStringLiteral("password"),
                                   QStringLiteral("Password del server (se manca: quella delle impostazioni di connessione)."),
                                   QStringLiteral("password"));
    parser.addOption(createOpt);
    parser.addOption(demoOpt);
    parser.addOption(userOpt);
    parser.addOption(passwordOpt);
    parser.process(app);
    if (!parser.isSet(createOpt))
        parser.showHelp(2);
    QString folderError;
    if (!VtPaths::PrepareDataDir(&folderError))
        std::fprintf(stderr, "%s\n", qPrintable(folderError));

    // The credentials come from the options or from the connection
    // settings; there is no password of the program's own.
    TVtConnectionSettings s = TVtConnectionSettings::Load();
    s.Problem.clear();
    s.Database = parser.value(createOpt);
    if (parser.isSet(userOpt))
        s.User = parser.value(userOpt);
    if (parser.isSet(passwordOpt))
        s.Password = parser.value(passwordOpt);
    if (s.IsServer() && (s.User.isEmpty() || s.Password.isEmpty())) {
        std::fprintf(stderr, "%s\n",
                     qPrintable(QStringLiteral("Per creare un database sul server indicare utente e password con --user e "
                                               "--password, oppure scriverli nelle impostazioni di connessione %1.")
                                    .arg(TVtConnectionSettings::DefaultFileName())));
        return 2;
    }
    TVtDatabaseCreator creator;
    creator.Scripts = DbScripts::SchemaScripts();
    if (parser.isSet(demoOpt))
        creator.Scripts += DbScripts::DemoScripts();
    creator.UpgradeScripts = DbScripts::UpgradeScripts();
    creator.SchemaVersion = QString::fromLatin1(VtSchemaVersion);
    creator.OnProgress = [](const QString &script, int i, int n) {
        std::fprintf(stdout, "[%d/%d] %s\n", i + 1, n, qPrintable(script.section(QLatin1Char('/'), -1)));
    };
    QString error;
    if (!creator.Create(s, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::fprintf(stdout, "Database creato: %s\n", qPrintable(s.FilePath()));
    return 0;
}

// Termination signals (logout, kill, Ctrl+C) end the program. The embedded
// database engine, once loaded, handles them first: it shuts itself down
// (rolling back what was not committed) and then calls the handler that was
// there before it, this one. With the engine gone nothing more can be read
// or written, so the program leaves at once.
int gSignalPipe[2] = {-1, -1};

void OnTerminationSignal(int sig)
{
    const char c = char(sig);
    (void)!::write(gSignalPipe[0], &c, 1);
}

void QuitOnTerminationSignals(QApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, gSignalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(gSignalPipe[1], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
        char sig = 0;
        (void)!::read(gSignalPipe[1], &sig, 1);
        std::fflush(nullptr);
        ::_exit(128 + sig);
    });
    struct sigaction sa = {};
    sa.sa_handler = OnTerminationSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &sa, nullptr);
}

bool IsCommandLineRun(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--create-db") == 0 || qstrcmp(argv[i], "--help") == 0 || qstrcmp(argv[i], "-h") == 0)
            return true;
    return false;
}
}

int main(int argc, char *argv[])
{
    if (IsCommandLineRun(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Vardella"));
        return CommandLine(app);
    }

    TVtApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vardella"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vardella"));
    QuitOnTerminationSignals(app);
    // An installed program writes in the user's data folder: made on first
    // start, with the shipped files the user does not have yet.
    QString folderError;
    if (!VtPaths::PrepareDataDir(&folderError))
        VtMessageDlg(folderError, mtWarning, mbOK);

    // Creation order: connection module, command module (with the parameter
    // and fee-structure modules), main window, billing-reports module (with
    // the fee-structure reports module).
    RegisterSearchForms();
    RegisterReportForms();
    RegisterVardellaModules();
    dmEbdConn = new TdmEbdConn;
    dmEbdConn->CreateScripts = DbScripts::SchemaScripts() + DbScripts::DemoScripts();
    dmEbdConn->UpgradeScripts = DbScripts::UpgradeScripts();
    // The demo school's bank settings, for a first export.
    dmEbdConn->OnCreated = [] { TfwEbdExport_Banche::WriteDemoSettings(); };
    dmEbdAtt = new TdmEbdAtt;
    fmEbdMain = new TfmEbdMain;
    fmEbdMain->setWindowTitle(QStringLiteral("Vardella"));
    auto *reports = new TdmEbdReport;
    fmEbdMain->show();
    const int rc = app.exec();
    const bool failed = fmEbdMain->ConnectionFailed();
    delete fmEbdMain;
    delete reports;
    delete dmEbdAtt;
    delete dmEbdConn;
    UnregisterSearchForms();
    return failed ? 1 : rc;
}

#include "DbScripts.h"
#include "VtDatabaseCreator.h"
#include "VtSQLConnection.h"
#include "dmVtConnection.h"

#include "EbcFSearchBen.h"
#include "EbdFMain.h"
#include "EbdMAtt.h"
#include "EbdMConn.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

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
    parser.addOption(createOpt);
    parser.addOption(demoOpt);
    parser.process(app);
    if (!parser.isSet(createOpt))
        parser.showHelp(2);

    TVtConnectionSettings s;
    s.Database = parser.value(createOpt);
    TVtDatabaseCreator creator;
    creator.Scripts = DbScripts::SchemaScripts();
    if (parser.isSet(demoOpt))
        creator.Scripts += DbScripts::DemoScripts();
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

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vardella"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vardella"));

    // Creation order: connection module, command module (with the parameter
    // and fee-structure modules), main window.
    RegisterSearchForms();
    dmEbdConn = new TdmEbdConn;
    dmEbdConn->CreateScripts = DbScripts::SchemaScripts() + DbScripts::DemoScripts();
    dmEbdAtt = new TdmEbdAtt;
    fmEbdMain = new TfmEbdMain;
    fmEbdMain->setWindowTitle(QStringLiteral("Vardella"));
    fmEbdMain->show();
    const int rc = app.exec();
    const bool failed = fmEbdMain->ConnectionFailed();
    delete fmEbdMain;
    delete dmEbdAtt;
    delete dmEbdConn;
    UnregisterSearchForms();
    return failed ? 1 : rc;
}

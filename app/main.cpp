#include "DbScripts.h"
#include "VtDatabaseCreator.h"
#include "VtSQLConnection.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLabel>
#include <QMainWindow>
#include <cstdio>

namespace {
// vardella --create-db PATH [--demo]: builds an empty or a demo database.
int CreateDatabase(const QString &path, bool demo)
{
    TVtConnectionSettings s;
    s.Database = path;
    TVtDatabaseCreator creator;
    creator.Scripts = DbScripts::SchemaScripts();
    if (demo)
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
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vardella"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vardella"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Vardella: conti correnti e contributi delle famiglie"));
    parser.addHelpOption();
    QCommandLineOption createOpt(QStringLiteral("create-db"), QStringLiteral("Crea un database vuoto nel file indicato."),
                                 QStringLiteral("file"));
    QCommandLineOption demoOpt(QStringLiteral("demo"), QStringLiteral("Con --create-db: aggiunge la scuola dimostrativa."));
    parser.addOption(createOpt);
    parser.addOption(demoOpt);
    parser.process(app);
    if (parser.isSet(createOpt))
        return CreateDatabase(parser.value(createOpt), parser.isSet(demoOpt));

    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Vardella"));
    w.setCentralWidget(new QLabel(QStringLiteral("Vardella")));
    w.show();
    return app.exec();
}

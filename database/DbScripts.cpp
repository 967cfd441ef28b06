#include "DbScripts.h"

#include <QDir>
#include <QFile>

namespace {
QStringList ListScripts(const QString &folder)
{
    QDir dir(QStringLiteral(":/database/") + folder);
    QStringList result;
    const QStringList names = dir.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name);
    for (const QString &name : names)
        result << dir.filePath(name);
    return result;
}
}

namespace DbScripts {
QStringList SchemaScripts() { return ListScripts(QStringLiteral("schema")); }
QStringList UpgradeScripts() { return ListScripts(QStringLiteral("upgrade")); }
QStringList DemoScripts() { return ListScripts(QStringLiteral("demo")); }

QString ScriptText(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(f.readAll());
}
}

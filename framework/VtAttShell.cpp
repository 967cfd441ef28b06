#include "VtAttShell.h"
#include "VtMessageDlg.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

TVtAttShell::TVtAttShell(TdmVtAttivazioni *owner, const QString &name)
    : TVtAttivazione(owner, name)
{
}

QString TVtAttShell::FullPath() const
{
    QString dir = Directory;
    dir.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString file = FileName;
    file.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (file.isEmpty())
        return QDir::cleanPath(dir);
    if (QFileInfo(file).isAbsolute() || dir.isEmpty())
        return QDir::cleanPath(file);
    return QDir::cleanPath(QDir(dir).filePath(file));
}

bool TVtAttShell::DoExecute()
{
    const QString path = FullPath();
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        VtMessageDlg(QStringLiteral("Impossibile trovare il file %1.").arg(QDir::toNativeSeparators(path)), mtError, mbOK);
        return false;
    }
    static const QStringList programSuffixes = {QString(), QStringLiteral("exe"), QStringLiteral("sh"),
                                                QStringLiteral("bat"), QStringLiteral("cmd"), QStringLiteral("com")};
    if (info.isFile() && info.isExecutable() && programSuffixes.contains(info.suffix().toLower())) {
        const QStringList args = QProcess::splitCommand(Parameters);
        if (WaitEndOfProcess)
            QProcess::execute(path, args);
        else
            QProcess::startDetached(path, args);
        return true;
    }
    if (!VtMessageService().OpenDocument(path)) {
        VtMessageDlg(QStringLiteral("Impossibile aprire il file %1.").arg(QDir::toNativeSeparators(path)), mtError, mbOK);
        return false;
    }
    return true;
}

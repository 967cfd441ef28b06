#include "VtLink.h"
#include "VtMessageDlg.h"
#include "VtParamManager.h"
#include "VtPaths.h"

#include <QDir>
#include <QFileInfo>

TVtLink::TVtLink(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("xlkMain"));
}

QString TVtLink::ReleaseNotesPath() const
{
    if (ReleaseNotesFileName.isEmpty())
        return QString();
    QString name = ReleaseNotesFileName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QFileInfo(name).isAbsolute())
        return QDir::cleanPath(name);
    return QDir::cleanPath(QDir(VtPaths::EtcDir()).filePath(name));
}

bool TVtLink::ShowReleaseNotes()
{
    const QString path = ReleaseNotesPath();
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        VtMessageDlg(QStringLiteral("Impossibile trovare il file %1.").arg(QDir::toNativeSeparators(path)), mtError, mbOK);
        return false;
    }
    return VtMessageService().OpenDocument(path);
}

bool TVtLink::EditParams(QWidget *parent)
{
    return Parametri && Parametri->Execute(parent);
}

#include "VtXmlFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString native(const QString &fileName)
{
    return QDir::toNativeSeparators(fileName);
}

bool fail(QString *errorText, const QString &text)
{
    if (errorText)
        *errorText = text;
    return false;
}

} // namespace

QString VtSideCopySuffix()
{
    return QStringLiteral(".old");
}

bool VtRemoveSideCopy(const QString &fileName, QString *errorText)
{
    const QString oldName = fileName + VtSideCopySuffix();
    const QFileInfo info(oldName);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile old(oldName);
    if (old.remove())
        return true;
    return fail(errorText, QStringLiteral("Impossibile eliminare il file \"%1\": %2")
                               .arg(native(oldName), old.errorString()));
}

bool VtRewriteFileLines(const QString &fileName, const TVtLineTransform &transform, QString *errorText)
{
    const QString oldName = fileName + VtSideCopySuffix();
    if (!VtRemoveSideCopy(fileName, errorText))
        return false;

    {
        QFile current(fileName);
        if (!current.rename(oldName)) {
            return fail(errorText, QStringLiteral("Impossibile rinominare il file \"%1\" in \"%2\": %3")
                                       .arg(native(fileName), native(oldName), current.errorString()));
        }
    }

    QString reason;
    {
        QFile in(oldName);
        // Written under a temporary name and put in place by commit(): until
        // then fileName does not exist, and a failure leaves nothing behind.
        QSaveFile out(fileName);
        if (!in.open(QIODevice::ReadOnly)) {
            reason = QStringLiteral("Impossibile leggere il file \"%1\": %2").arg(native(oldName), in.errorString());
        } else if (!out.open(QIODevice::WriteOnly)) {
            reason = QStringLiteral("Impossibile scrivere il file \"%1\": %2").arg(native(fileName), out.errorString());
        } else {
            while (reason.isEmpty() && !in.atEnd()) {
                QByteArray line = in.readLine();
                if (in.error() != QFileDevice::NoError) {
                    reason = QStringLiteral("Impossibile leggere il file \"%1\": %2")
                                 .arg(native(oldName), in.errorString());
                } else if (!transform(line, &reason)) {
                    if (reason.isEmpty())
                        reason = QStringLiteral("Riscrittura del file \"%1\" interrotta").arg(native(fileName));
                } else if (out.write(line) != line.size()) {
                    reason = QStringLiteral("Impossibile scrivere il file \"%1\": %2")
                                 .arg(native(fileName), out.errorString());
                }
            }
            if (reason.isEmpty() && !out.commit()) {
                reason = QStringLiteral("Impossibile scrivere il file \"%1\": %2")
                             .arg(native(fileName), out.errorString());
            }
        }
        if (!reason.isEmpty())
            out.cancelWriting();
    }

    if (!reason.isEmpty()) {
        QFile old(oldName);
        if (!old.rename(fileName)) {
            reason += QStringLiteral("\r\nImpossibile ripristinare il file \"%1\" dalla copia \"%2\": %3")
                          .arg(native(fileName), native(oldName), old.errorString());
        }
        return fail(errorText, reason);
    }

    QFile::remove(oldName);
    return true;
}

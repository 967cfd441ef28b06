#include "PdfTools.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {
QByteArray Run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return {};
    return p.readAllStandardOutput();
}
}

QString PdfTools::Text(const QString &pdf)
{
    return QString::fromUtf8(Run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                                               QStringLiteral("UTF-8"), pdf, QStringLiteral("-")}));
}

QString PdfTools::Info(const QString &pdf, const QString &field)
{
    const QString out = QString::fromUtf8(Run(QStringLiteral("pdfinfo"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf}));
    const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(QRegularExpression::escape(field)),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = line.match(out);
    return m.hasMatch() ? m.captured(1).trimmed() : QString();
}

int PdfTools::PageCount(const QString &pdf)
{
    bool ok = false;
    const int n = Info(pdf, QStringLiteral("Pages")).toInt(&ok);
    return ok ? n : -1;
}

QImage PdfTools::Page(const QString &pdf, int n, int dpi)
{
    QTemporaryDir dir;
    const QString prefix = QDir(dir.path()).filePath(QStringLiteral("page"));
    Run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QString::number(dpi),
                                     QStringLiteral("-f"), QString::number(n), QStringLiteral("-l"), QString::number(n),
                                     QStringLiteral("-singlefile"), pdf, prefix});
    return QImage(prefix + QStringLiteral(".png"));
}

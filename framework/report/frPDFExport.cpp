#include "frPDFExport.h"
#include "VtException.h"
#include "frExpression.h"
#include "frPreparedReport.h"

#include <QDir>
#include <QPdfWriter>
#include <QSaveFile>

namespace {
// An expression over the rows current when a group began.
class TGroupRowContext : public TfrExpression::TContext
{
public:
    explicit TGroupRowContext(const TfrPreparedReport::TGroupStart &start) : m_start(start) {}
    QVariant Field(const QString &dataSet, const QString &field) override
    {
        return m_start.Rows.value(dataSet.toUpper()).value(field.toUpper());
    }
    QVariant Variable(const QString &) override { return QVariant(); }
    QVariant FormProperty(const QString &) override { return QVariant(); }
    QVariant Param(const QString &) override { return QVariant(); }
    QVariant Aggregate(const TfrExpression::TNode &) override { return QVariant(); }

private:
    const TfrPreparedReport::TGroupStart &m_start;
};
}

bool TfrPDFExport::Export(const TfrPreparedReport &report, const QString &fileName)
{
    return ExportPages(report, fileName, 0, report.PageCount - 1, report.Title);
}

bool TfrPDFExport::ExportPages(const TfrPreparedReport &report, const QString &fileName, int from, int to,
                               const QString &title)
{
    ErrorText.clear();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        ErrorText = WriteError(fileName, file.errorString());
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(int(TfrPreparedReport::MeasureDpi));
        writer.setTitle(title);
        writer.setCreator(Creator);
        report.Print(&writer, from, to);
    }
    if (!file.commit()) {
        ErrorText = WriteError(fileName, file.errorString());
        return false;
    }
    return true;
}

QString TfrPDFExport::SafeFileName(const QString &text)
{
    QString out;
    for (const QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        if ((c.isLetterOrNumber() && c.unicode() < 128) || c == QLatin1Char('_') || c == QLatin1Char('-') || c == QLatin1Char('.'))
            out += c;
        else if (c.isSpace())
            out += QLatin1Char('_');
    }
    return out;
}

bool TfrPDFExport::SplitByGroup(const TfrPreparedReport &report, const QString &groupBand, const QString &folder,
                                const QString &fileNameExpression, QStringList *written)
{
    ErrorText.clear();
    QList<const TfrPreparedReport::TGroupStart *> starts;
    for (const TfrPreparedReport::TGroupStart &g : report.Groups)
        if (g.Band.compare(groupBand, Qt::CaseInsensitive) == 0)
            starts << &g;
    if (starts.isEmpty()) {
        ErrorText = QStringLiteral("Il gruppo %1 non è nella stampa.").arg(groupBand);
        return false;
    }
    TfrExpression name;
    try {
        name = TfrExpression(fileNameExpression);
    } catch (const EVtException &e) {
        ErrorText = e.Message();
        return false;
    }
    QDir().mkpath(folder);
    QSet<QString> used;
    for (int i = 0; i < starts.size(); ++i) {
        const int from = starts[i]->Page;
        const int to = i + 1 < starts.size() ? qMax(from, starts[i + 1]->Page - 1) : report.PageCount - 1;
        if (i + 1 < starts.size() && starts[i + 1]->Page == from)
            continue;   // a group that shares its page with the next goes with it
        TGroupRowContext context(*starts[i]);
        QString base = SafeFileName(name.Evaluate(context).toString());
        if (base.isEmpty())
            base = QStringLiteral("stampa");
        QString candidate = base;
        for (int n = 2; used.contains(candidate.toLower()); ++n)
            candidate = base + QStringLiteral("_%1").arg(n);
        used.insert(candidate.toLower());
        const QString file = QDir(folder).filePath(candidate + QStringLiteral(".pdf"));
        if (!ExportPages(report, file, from, to, report.Title))
            return false;
        if (written)
            *written << file;
    }
    return true;
}

#include "ebdUSddText.h"

QString SddAmountText(qint64 cents)
{
    const bool negative = cents < 0;
    const quint64 c = negative ? quint64(-cents) : quint64(cents);
    QString text = QString::number(c / 100);
    if (c % 100 != 0) {
        text += QLatin1Char('.') + QStringLiteral("%1").arg(c % 100, 2, 10, QLatin1Char('0'));
        if (text.endsWith(QLatin1Char('0')))
            text.chop(1);
    }
    return negative ? QLatin1Char('-') + text : text;
}

namespace {
bool Allowed(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9')
        || QStringLiteral("/-?:().,'+ ").contains(c);
}
}

QString SepaText(const QString &text, int maxLength)
{
    QString out;
    for (const QChar ch : text) {
        QString piece;
        if (ch == QChar(0x20AC))
            piece = QStringLiteral("EUR");
        else if (ch == QChar(0x2019) || ch == QChar(0x2018) || ch == u'`' || ch == QChar(0x00B4))
            piece = QStringLiteral("'");
        else {
            const QString d = QString(ch).normalized(QString::NormalizationForm_D);
            piece = d.isEmpty() ? QString(ch) : QString(d[0]);
            if (!Allowed(piece[0]))
                piece = QStringLiteral(" ");
        }
        for (const QChar p : piece)
            if (!(p == u' ' && (out.isEmpty() || out.endsWith(u' '))))
                out += p;
    }
    out = out.trimmed();
    if (maxLength >= 0 && out.size() > maxLength)
        out = out.left(maxLength).trimmed();
    return out;
}

bool IsSepaText(const QString &text)
{
    for (const QChar c : text)
        if (!Allowed(c))
            return false;
    return true;
}

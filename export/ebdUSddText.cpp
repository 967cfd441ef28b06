#include "ebdUSddText.h"

#include <QList>

namespace {

bool isSepaChar(char32_t c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    switch (c) {
    case '/': case '-': case '?': case ':': case '(': case ')':
    case '.': case ',': case '\'': case '+': case ' ':
        return true;
    default:
        return false;
    }
}

bool isApostrophe(char32_t c)
{
    return c == 0x2019 || c == 0x2018 || c == 0x0060 || c == 0x00B4;
}

// Appends the SEPA form of one character that is not in the set.
void appendReplacement(QString &out, char32_t c)
{
    if (isApostrophe(c)) {
        out += QLatin1Char('\'');
        return;
    }
    if (c == 0x20AC) {
        out += QLatin1String("EUR");
        return;
    }
    // Decomposed, an accented letter is its base letter followed by
    // combining marks: keep the letter, drop the marks.
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD);
    bool kept = false;
    for (const char32_t part : decomposed.toUcs4()) {
        if (isSepaChar(part)) {
            out += QChar(char16_t(part));
            kept = true;
        } else if (QChar::category(part) == QChar::Mark_NonSpacing
                   || QChar::category(part) == QChar::Mark_SpacingCombining
                   || QChar::category(part) == QChar::Mark_Enclosing) {
            continue;
        } else if (isApostrophe(part)) {
            out += QLatin1Char('\'');
            kept = true;
        } else {
            out += QLatin1Char(' ');
            kept = true;
        }
    }
    if (!kept)
        out += QLatin1Char(' ');
}

} // namespace

QString SddAmountText(qint64 cents)
{
    // Unsigned, so that the most negative value has a magnitude too.
    const bool negative = cents < 0;
    const quint64 magnitude = negative ? quint64(0) - quint64(cents) : quint64(cents);
    QString text = QString::number(magnitude / 100);
    const unsigned rest = unsigned(magnitude % 100);
    if (rest != 0) {
        text += QLatin1Char('.');
        text += QLatin1Char(char('0' + rest / 10));
        if (rest % 10 != 0)
            text += QLatin1Char(char('0' + rest % 10));
    }
    if (negative)
        text.prepend(QLatin1Char('-'));
    return text;
}

QString SepaText(const QString &text, int maxLength)
{
    QString mapped;
    mapped.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && text.at(i + 1).isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text.at(++i).unicode());
        if (isSepaChar(c))
            mapped += QChar(char16_t(c));
        else
            appendReplacement(mapped, c);
    }

    QString out;
    out.reserve(mapped.size());
    for (const QChar c : std::as_const(mapped)) {
        if (c == QLatin1Char(' ') && (out.isEmpty() || out.endsWith(QLatin1Char(' '))))
            continue;
        out += c;
    }
    if (maxLength >= 0 && out.size() > maxLength)
        out.truncate(maxLength);
    while (out.endsWith(QLatin1Char(' ')))
        out.chop(1);
    return out;
}

bool IsSepaText(const QString &text)
{
    for (const QChar c : text)
        if (!isSepaChar(c.unicode()))
            return false;
    return true;
}

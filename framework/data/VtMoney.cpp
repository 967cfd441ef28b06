#include "VtMoney.h"
#include "VtException.h"

#include <QLocale>
#include <cmath>

namespace {
using Wide = __int128;

[[noreturn]] void OutOfRange()
{
    throw EVtException(QStringLiteral("Importo fuori dall'intervallo ammesso (massimo %1 unità).")
                           .arg(TVtMoney::MaxUnits));
}

qint64 Checked(Wide raw)
{
    if (raw > TVtMoney::MaxRaw || raw < -TVtMoney::MaxRaw)
        OutOfRange();
    return qint64(raw);
}

// a / b rounded half away from zero.
Wide DivRound(Wide a, Wide b)
{
    Wide q = a / b;
    const Wide r = a % b;
    const Wide absR = r < 0 ? -r : r;
    const Wide absB = b < 0 ? -b : b;
    if (2 * absR >= absB)
        q += ((a < 0) == (b < 0)) ? 1 : -1;
    return q;
}

bool AllDigits(const QString &s)
{
    for (const QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

// Integer part written with Italian thousands dots ("1.234.567") or none.
bool ItalianInteger(const QString &s, QString *digits)
{
    const QStringList groups = s.split(QLatin1Char('.'));
    for (int i = 0; i < groups.size(); ++i) {
        const QString &g = groups[i];
        if (!AllDigits(g))
            return false;
        if (groups.size() > 1 && (i == 0 ? (g.isEmpty() || g.size() > 3) : g.size() != 3))
            return false;
    }
    *digits = groups.join(QString());
    return true;
}

// Integer and fraction digits to ten-thousandths, rounding the fifth
// decimal half up in magnitude; false when the amount is too large.
bool DigitsToRaw(QString intDigits, const QString &fracDigits, qint64 *raw)
{
    while (intDigits.size() > 1 && intDigits.startsWith(QLatin1Char('0')))
        intDigits.remove(0, 1);
    if (intDigits.size() > 14)
        return false;
    Wide value = 0;
    for (const QChar c : intDigits)
        value = value * 10 + (c.unicode() - '0');
    for (int i = 0; i < 4; ++i)
        value = value * 10 + (i < fracDigits.size() ? fracDigits[i].unicode() - '0' : 0);
    if (fracDigits.size() > 4 && fracDigits[4] >= QLatin1Char('5'))
        ++value;
    if (value > TVtMoney::MaxRaw)
        return false;
    *raw = qint64(value);
    return true;
}

QString GroupedUnits(qint64 units, bool grouping)
{
    QString text = QString::number(units);
    if (grouping)
        for (int i = text.size() - 3; i > 0; i -= 3)
            text.insert(i, QLatin1Char('.'));
    return text;
}

QString TwoDecimals(qint64 cents, bool grouping, QChar decimalPoint)
{
    const qint64 absCents = cents < 0 ? -cents : cents;
    QString text = GroupedUnits(absCents / 100, grouping) + decimalPoint
                   + QStringLiteral("%1").arg(absCents % 100, 2, 10, QLatin1Char('0'));
    return cents < 0 ? QLatin1Char('-') + text : text;
}
}

TVtMoney::TVtMoney(double value)
{
    if (!std::isfinite(value))
        throw EVtException(QStringLiteral("Importo non valido."));
    if (value == 0.0)
        return;
    // The shortest decimal that reads back as the same double, such as
    // "2.345e+00": rounding works on the digits the user wrote, not on the
    // binary neighbour just below them.
    const QString text = QString::number(std::fabs(value), 'e', QLocale::FloatingPointShortest);
    const int e = text.indexOf(QLatin1Char('e'));
    QString digits = text.left(e);
    digits.remove(QLatin1Char('.'));
    const int exponent = text.mid(e + 1).toInt();
    // value = d0.d1d2... * 10^exponent; ten-thousandths = digits * 10^shift.
    const int shift = exponent + 4 - (int(digits.size()) - 1);
    Wide raw = 0;
    if (shift >= 0) {
        if (digits.size() + shift > 18)
            OutOfRange();
        for (const QChar c : digits)
            raw = raw * 10 + (c.unicode() - '0');
        for (int i = 0; i < shift; ++i)
            raw *= 10;
    } else {
        const int keep = int(digits.size()) + shift;
        for (int i = 0; i < keep; ++i)
            raw = raw * 10 + (digits[i].unicode() - '0');
        if (keep >= 0 && digits[keep] >= QLatin1Char('5'))
            ++raw;
    }
    m_raw = Checked(value < 0 ? -raw : raw);
}

TVtMoney TVtMoney::FromRaw(qint64 tenThousandths)
{
    TVtMoney m;
    m.m_raw = Checked(tenThousandths);
    return m;
}

TVtMoney TVtMoney::FromCents(qint64 cents)
{
    return FromRaw(Checked(Wide(cents) * (Scale / 100)));
}

TVtMoney TVtMoney::FromUnits(qint64 units)
{
    return FromRaw(Checked(Wide(units) * Scale));
}

TVtMoney TVtMoney::FromVariant(const QVariant &value, bool *isNull)
{
    const bool null = !value.isValid() || value.isNull();
    if (isNull)
        *isNull = null;
    if (null)
        return TVtMoney();
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::Short:
        return FromUnits(value.toLongLong());
    case QMetaType::QString: {
        bool ok = false;
        const TVtMoney m = Parse(value.toString(), &ok);
        if (!ok)
            throw EVtException(QStringLiteral("Importo non valido: %1").arg(value.toString()));
        return m;
    }
    default:
        return TVtMoney(value.toDouble());
    }
}

qint64 TVtMoney::Cents() const
{
    return qint64(DivRound(m_raw, Scale / 100));
}

QList<TVtMoney> TVtMoney::Split(int n) const
{
    if (n < 1)
        throw EVtException(QStringLiteral("Impossibile dividere un importo in %1 parti.").arg(n));
    const qint64 total = Cents();
    const qint64 part = total / n;
    const qint64 rest = total % n;       // same sign as the total
    const qint64 step = rest < 0 ? -1 : 1;
    const qint64 extra = rest < 0 ? -rest : rest;
    QList<TVtMoney> parts;
    parts.reserve(n);
    for (int i = 0; i < n; ++i)
        parts << FromCents(part + (i < extra ? step : 0));
    return parts;
}

TVtMoney TVtMoney::Percent(double percentage) const
{
    const TVtMoney p(percentage);
    return FromRaw(Checked(DivRound(Wide(m_raw) * p.m_raw, Wide(100) * Scale)));
}

TVtMoney TVtMoney::Parse(const QString &text, bool *ok)
{
    if (ok)
        *ok = false;
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t.startsWith(QLatin1Char('-'));
        t.remove(0, 1);
    }
    if (t.isEmpty())
        return TVtMoney();
    QString intDigits, fracDigits;
    const int comma = int(t.indexOf(QLatin1Char(',')));
    if (comma >= 0) {
        fracDigits = t.mid(comma + 1);
        if (fracDigits.isEmpty() || !AllDigits(fracDigits) || !ItalianInteger(t.left(comma), &intDigits))
            return TVtMoney();
    } else if (!ItalianInteger(t, &intDigits)) {
        // No comma and not Italian thousands: one decimal point, as in "1234.56".
        const int dot = int(t.indexOf(QLatin1Char('.')));
        if (dot < 0 || t.indexOf(QLatin1Char('.'), dot + 1) >= 0)
            return TVtMoney();
        intDigits = t.left(dot);
        fracDigits = t.mid(dot + 1);
        if (fracDigits.isEmpty() || !AllDigits(intDigits) || !AllDigits(fracDigits))
            return TVtMoney();
    }
    if (intDigits.isEmpty() && fracDigits.isEmpty())
        return TVtMoney();
    if (intDigits.isEmpty())
        intDigits = QStringLiteral("0");
    qint64 raw = 0;
    if (!DigitsToRaw(intDigits, fracDigits, &raw))
        return TVtMoney();
    if (ok)
        *ok = true;
    return FromRaw(negative ? -raw : raw);
}

QString TVtMoney::Format() const
{
    return TwoDecimals(Cents(), true, QLatin1Char(','));
}

QString TVtMoney::FormatPlain() const
{
    return TwoDecimals(Cents(), false, QLatin1Char(','));
}

QString TVtMoney::ToFileText() const
{
    return TwoDecimals(Cents(), false, QLatin1Char('.'));
}

QString TVtMoney::ToShortFileText() const
{
    QString text = ToFileText();
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text;
}

TVtMoney TVtMoney::operator-() const
{
    return FromRaw(-m_raw);
}

TVtMoney TVtMoney::operator+(const TVtMoney &other) const
{
    return FromRaw(Checked(Wide(m_raw) + other.m_raw));
}

TVtMoney TVtMoney::operator-(const TVtMoney &other) const
{
    return FromRaw(Checked(Wide(m_raw) - other.m_raw));
}

TVtMoney TVtMoney::operator*(qint64 factor) const
{
    return FromRaw(Checked(Wide(m_raw) * factor));
}

TVtMoney TVtMoney::operator/(qint64 divisor) const
{
    if (divisor == 0)
        throw EVtException(QStringLiteral("Divisione di un importo per zero."));
    return FromRaw(Checked(DivRound(m_raw, divisor)));
}

TVtMoney VtSum(const QList<TVtMoney> &amounts)
{
    TVtMoney total;
    for (const TVtMoney &m : amounts)
        total += m;
    return total;
}

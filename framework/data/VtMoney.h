#pragma once
#include <QList>
#include <QString>
#include <QVariant>
#include <QtGlobal>

// An amount of money in fixed point: a 64-bit count of ten-thousandths of a
// unit (four decimals, the precision the database's procedures take currency
// values with). Rounding is always half away from zero: 2.345 gives 2.35 and
// -2.345 gives -2.35 when rounded to cents.
//
// The magnitude is limited to MaxUnits units (just under 10^14); building a
// larger amount, from a double, text or arithmetic, raises EVtException.
class TVtMoney
{
public:
    static constexpr qint64 Scale = 10000;               // ten-thousandths per unit
    static constexpr qint64 MaxRaw = 999999999999999999; // 10^18 - 1
    static constexpr qint64 MaxUnits = MaxRaw / Scale;

    constexpr TVtMoney() = default;
    // The double's shortest decimal form rounded half away from zero to four
    // decimals (0.00005 gives 0.0001). NaN and infinities are refused.
    explicit TVtMoney(double value);

    static TVtMoney FromRaw(qint64 tenThousandths);
    static TVtMoney FromCents(qint64 cents);
    static TVtMoney FromUnits(qint64 units);
    // A database value: null (or invalid) gives zero, and *isNull tells it.
    static TVtMoney FromVariant(const QVariant &value, bool *isNull = nullptr);

    qint64 Raw() const { return m_raw; }
    // Whole cents, rounded half away from zero.
    qint64 Cents() const;
    double ToDouble() const { return double(m_raw) / double(Scale); }
    QVariant ToVariant() const { return QVariant(ToDouble()); }
    bool IsZero() const { return m_raw == 0; }
    bool IsNegative() const { return m_raw < 0; }

    TVtMoney RoundedToCents() const { return FromCents(Cents()); }

    // Splits the amount rounded to cents into n parts that add up to it
    // exactly: each part is the quotient in whole cents, and the cents left
    // over go one each to the first parts (100.00 in 3: 33.34, 33.33, 33.33;
    // a negative amount splits the same way with every part negative).
    // n below 1 raises EVtException.
    QList<TVtMoney> Split(int n) const;

    // The amount times a percentage (10 for 10%), rounded to four decimals.
    TVtMoney Percent(double percentage) const;

    // Text typed by the user in the Italian locale: "1.234,56", "1234,5",
    // "-0,01", ",5"; thousands dots must group by three. Without a comma, a
    // single dot not followed by exactly three digits is read as a decimal
    // point ("1234.56", "15.13"); "1.234" stays one thousand two hundred
    // thirty-four. More than four decimals are rounded. Anything else gives
    // zero with *ok false.
    static TVtMoney Parse(const QString &text, bool *ok = nullptr);

    // Display format "#,###.00" of the Italian locale, rounded to cents:
    // "1.234,56", "0,50", "-7,00".
    QString Format() const;
    // The same without thousands separators: "1234,56".
    QString FormatPlain() const;
    // Two decimals with a dot and no separators, for files: "1234.56".
    QString ToFileText() const;
    // Cents as the shortest decimal with a dot: "150", "12.5", "12.34".
    QString ToShortFileText() const;

    TVtMoney operator-() const;
    TVtMoney operator+(const TVtMoney &other) const;
    TVtMoney operator-(const TVtMoney &other) const;
    TVtMoney &operator+=(const TVtMoney &other) { return *this = *this + other; }
    TVtMoney &operator-=(const TVtMoney &other) { return *this = *this - other; }
    TVtMoney operator*(qint64 factor) const;
    // Division by a whole number, rounded half away from zero to four
    // decimals; a zero divisor raises EVtException.
    TVtMoney operator/(qint64 divisor) const;

    bool operator==(const TVtMoney &o) const { return m_raw == o.m_raw; }
    bool operator!=(const TVtMoney &o) const { return m_raw != o.m_raw; }
    bool operator<(const TVtMoney &o) const { return m_raw < o.m_raw; }
    bool operator<=(const TVtMoney &o) const { return m_raw <= o.m_raw; }
    bool operator>(const TVtMoney &o) const { return m_raw > o.m_raw; }
    bool operator>=(const TVtMoney &o) const { return m_raw >= o.m_raw; }

private:
    qint64 m_raw = 0;
};

// Sum of amounts.
TVtMoney VtSum(const QList<TVtMoney> &amounts);

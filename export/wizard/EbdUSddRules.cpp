#include "EbdUSddRules.h"

#include "VtMoney.h"
#include "ebdUSddText.h"

#include <QHash>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

std::optional<qint64> SddCents(const QVariant &amount)
{
    if (amount.isNull() || !amount.isValid())
        return std::nullopt;
    const qint64 cents = TVtMoney::FromVariant(amount).Cents();
    if (cents <= 0)
        return std::nullopt;
    return cents;
}

QString CompactIban(const QString &iban)
{
    QString out;
    out.reserve(iban.size());
    for (const QChar c : iban)
        if (!c.isSpace())
            out += c.toUpper();
    return out;
}

QString TSddRata::CodDebitore() const
{
    const QString code = Matricola.trimmed();
    return code.isEmpty() ? QString() : code.rightJustified(16, u'0', true);
}

QString TSddDisposizione::Chiave() const
{
    return QString::number(Ultima.IdAnaGen) + u'|' + Ultima.Iban;
}

namespace {

QString ShareText(qint64 cents)
{
    return u"%1.%2"_s.arg(qlonglong(cents / 100)).arg(qlonglong(cents % 100), 2, 10, QLatin1Char('0'));
}

// The pupils of a debit in the order they first appear, with their shares.
QList<TSddQuota> Shares(const QVector<TSddRata> &rate, const QVector<int> &positions)
{
    QList<TSddQuota> quote;
    QHash<int, int> index;   // pupil -> position in quote
    for (int p : positions) {
        const TSddRata &r = rate[p];
        auto it = index.find(r.IdAna);
        if (it == index.end()) {
            it = index.insert(r.IdAna, quote.size());
            quote.append({r.Cognome, r.Nome, 0});
        }
        quote[*it].Cents += r.Importo;
    }
    return quote;
}

} // namespace

QString SiblingsRemittance(const QString &causale, const QList<TSddQuota> &quote)
{
    if (quote.size() <= 1)
        return causale;
    QStringList full, firstNames;
    for (const TSddQuota &q : quote) {
        full << u"%1 %2 %3"_s.arg(q.Cognome.trimmed(), q.Nome.trimmed(), ShareText(q.Cents));
        firstNames << u"%1 %2"_s.arg(q.Nome.trimmed(), ShareText(q.Cents));
    }
    constexpr int Max = 140;
    for (const QString &candidate : {causale.trimmed() + u" - "_s + full.join(u", "_s), full.join(u", "_s)}) {
        const QString clean = SepaText(candidate);
        if (clean.size() <= Max)
            return clean;
    }
    return SepaText(firstNames.join(u", "_s), Max);
}

QVector<TSddDisposizione> BuildDispositions(const QVector<TSddRata> &rate, const TSddIntestazione &intestazione,
                                            const QStringList &escluse)
{
    // Walking the selection from its last row, a key's first row is its
    // last instalment; each new debit goes before the ones found so far.
    QVector<TSddDisposizione> reversed;
    QHash<QString, int> byKey;
    for (int i = rate.size() - 1; i >= 0; --i) {
        const TSddRata &r = rate[i];
        const QString key = QString::number(r.IdAnaGen) + u'|' + r.Iban;
        auto it = byKey.find(key);
        if (it == byKey.end()) {
            TSddDisposizione d;
            d.Ultima = r;
            d.Intestazione = intestazione;
            it = byKey.insert(key, reversed.size());
            reversed.append(d);
        }
        TSddDisposizione &d = reversed[*it];
        d.Importo += r.Importo;
        ++d.Cnt;
        d.Rate.prepend(i);
    }
    std::reverse(reversed.begin(), reversed.end());
    const QSet<QString> excluded(escluse.begin(), escluse.end());
    for (TSddDisposizione &d : reversed) {
        d.Remittance = SiblingsRemittance(d.Ultima.Causale, Shares(rate, d.Rate));
        d.Esclusa = excluded.contains(d.Chiave());
    }
    return reversed;
}

QVector<TSddGruppo> PaymentGroups(const QVector<TSddDisposizione> &disposizioni)
{
    QVector<TSddGruppo> groups;
    for (const TSddDisposizione &d : disposizioni) {
        if (d.Esclusa)
            continue;
        const TSddGruppo g{d.Ultima.Scadenza, d.Ultima.TipoSequenza};
        if (!groups.contains(g))
            groups.append(g);
    }
    std::sort(groups.begin(), groups.end(), [](const TSddGruppo &a, const TSddGruppo &b) {
        if (a.Incasso != b.Incasso)
            return a.Incasso < b.Incasso;
        return (a.TipoSequenza == u"FRST"_s ? 0 : 1) < (b.TipoSequenza == u"FRST"_s ? 0 : 1);
    });
    return groups;
}

QDate EasterSunday(int year)
{
    // Anonymous Gregorian algorithm (Meeus/Jones/Butcher).
    const int a = year % 19, b = year / 100, c = year % 100, d = b / 4, e = b % 4;
    const int f = (b + 8) / 25, g = (b - f + 1) / 3, h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4, l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31, day = (h + l - 7 * m + 114) % 31 + 1;
    return QDate(year, month, day);
}

bool IsTarget2Closed(const QDate &date)
{
    if (!date.isValid())
        return false;
    if (date.dayOfWeek() >= 6)
        return true;
    const int m = date.month(), d = date.day();
    if ((m == 1 && d == 1) || (m == 5 && d == 1) || (m == 12 && (d == 25 || d == 26)))
        return true;
    const QDate easter = EasterSunday(date.year());
    return date == easter.addDays(-2) || date == easter.addDays(1);
}

QString CompactCreditorIdentifier(const QString &text)
{
    return CompactIban(text);
}

bool CheckCreditorIdentifier(const QString &text)
{
    const QString id = CompactCreditorIdentifier(text);
    if (id.size() < 8 || id.size() > 35 || !id.startsWith(u"IT"_s) || !id[2].isDigit() || !id[3].isDigit())
        return false;
    // The national identifier, then the country and the check digits; the
    // business code is left out.
    const QString moved = id.mid(7) + id.left(4);
    int rest = 0;
    for (const QChar c : moved) {
        int value;
        if (c >= u'0' && c <= u'9')
            value = c.unicode() - '0';
        else if (c >= u'A' && c <= u'Z')
            value = c.unicode() - 'A' + 10;
        else
            return false;
        rest = (value >= 10 ? rest * 100 + value : rest * 10 + value) % 97;
    }
    return rest == 1;
}

QString CleanSupportName(const QString &name)
{
    QString out;
    for (const QChar c : name)
        if (!u"/\\:*?\"<>|"_s.contains(c))
            out += c;
    return out;
}

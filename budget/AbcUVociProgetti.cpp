#include "AbcUVociProgetti.h"
#include "EbdUGlobals.h"
#include "VtSQLQuery.h"

#include <QVariantMap>
#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

std::optional<qlonglong> WholeNumber(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    return ok ? std::optional<qlonglong>(n) : std::nullopt;
}

// The highest of the codes that are whole numbers; 0 when none is.
qlonglong HighestNumber(const QStringList &codes)
{
    qlonglong highest = 0;
    for (const QString &code : codes)
        if (const std::optional<qlonglong> n = WholeNumber(code); n && *n > highest)
            highest = *n;
    return highest;
}

void ForEach(const QString &sql, const QVariantMap &values, const std::function<void(const TSQLQuery &)> &row)
{
    TSQLQuery q;
    q.SQL = sql;
    for (auto it = values.begin(); it != values.end(); ++it)
        q.Params().CreateParam(QMetaType::Type(it.value().typeId()), it.key())->SetValue(it.value());
    q.Open();
    for (; !q.Eof(); q.Next())
        row(q);
    q.Close();
}

QVariant Scalar(const QString &sql, const QVariantMap &values)
{
    QVariant v;
    ForEach(sql, values, [&v](const TSQLQuery &q) { v = q.Fields(0); });
    return v;
}

QStringList Texts(const QString &sql, const QVariantMap &values)
{
    QStringList texts;
    ForEach(sql, values, [&texts](const TSQLQuery &q) { texts << q.Fields(0).toString().trimmed(); });
    return texts;
}

// Models (not deleted) that name the item, or that hold an amount of it.
const QString ModelsOfItem =
    u" FROM TMpr_ModProgetti Mpr WHERE Mpr.dDelete IS NULL AND (Mpr.iVproId = :iVproId"
    " OR EXISTS (SELECT 1 FROM TVoi_VociImporti Voi WHERE Voi.iMprId = Mpr.iMprId AND Voi.iVproId = :iVproId))"_s;
const QString Frozen =
    u" AND EXISTS (SELECT 1 FROM TApr_AppProgetti Apr WHERE Apr.iMprId = Mpr.iMprId AND Apr.iLocked = 1"
    " AND Apr.dDelete IS NULL)"_s;
const QString Approved =
    u" AND EXISTS (SELECT 1 FROM TApr_AppProgetti Apr WHERE Apr.iMprId = Mpr.iMprId AND Apr.dDelete IS NULL)"_s;

bool Any(const QString &sql, const QVariantMap &values)
{
    return !Scalar(u"SELECT FIRST 1 1"_s + sql, values).isNull();
}

const QString AmountsOfSubItem =
    u" FROM TVoi_VociImporti Voi JOIN TMpr_ModProgetti Mpr ON Mpr.iMprId = Voi.iMprId AND Mpr.dDelete IS NULL"
    " WHERE Voi.iSvoId = :iSvoId"_s;
const QString AmountsOfAggregate =
    u" FROM TVoi_VociImporti Voi JOIN TMpr_ModProgetti Mpr ON Mpr.iMprId = Voi.iMprId AND Mpr.dDelete IS NULL"
    " WHERE Voi.iAggId = :iAggId"_s;

} // namespace

bool CodeMatchesPrefix(const QString &code, const QString &prefix)
{
    return code.startsWith(prefix) && WholeNumber(code.mid(prefix.size())).has_value();
}

QString NextVproCodeAfter(const QString &prefix, const QStringList &codes)
{
    const bool numericPrefix = WholeNumber(prefix).has_value();
    qlonglong highest = 0;
    for (const QString &code : codes) {
        std::optional<qlonglong> n;
        if (numericPrefix)
            n = WholeNumber(code);
        else if (code.contains(prefix))
            n = WholeNumber(QString(code).remove(prefix));
        if (n && *n > highest)
            highest = *n;
    }
    const qlonglong next = highest + 1;
    const QString number = u"%1"_s.arg(next, 2, 10, QLatin1Char('0'));
    if (numericPrefix)
        return number;
    return next < 99 ? prefix + number : prefix + QString::number(next);
}

QString NextSvoCodeAfter(const QStringList &codes)
{
    return u"%1"_s.arg(HighestNumber(codes) + 1, 3, 10, QLatin1Char('0'));
}

QString DefaultVproCode(int aggregate, int item)
{
    const QString prefix = Scalar(u"SELECT sAggDescS FROM TAgg_Aggregati WHERE iAggId = :iAggId"_s,
                                  {{u"iAggId"_s, aggregate}}).toString().trimmed();
    const QStringList codes = Texts(
        u"SELECT sVproCod FROM TVpro_VociProgetti WHERE iAggId = :iAggId AND iVproId <> :iVproId"
        " AND (iDwgId = :iDwgId OR iDwgId IS NULL) AND dDelete IS NULL"
        " AND dStart <= :dFine AND (dEnd IS NULL OR dEnd >= :dInizio)"_s,
        {{u"iAggId"_s, aggregate}, {u"iVproId"_s, item}, {u"iDwgId"_s, gDwgId}, {u"dInizio"_s, gAnfInizio},
         {u"dFine"_s, gAnfFine}});
    return NextVproCodeAfter(prefix, codes);
}

QString NextSvoCode(int item)
{
    return NextSvoCodeAfter(Texts(u"SELECT sSvoDescS FROM TSvo_SottoVoci WHERE iVproId = :iVproId"
                                  " AND (iDwgId = :iDwgId OR iDwgId IS NULL) AND dDelete IS NULL"_s,
                                  {{u"iVproId"_s, item}, {u"iDwgId"_s, gDwgId}}));
}

bool VproCodeIsFree(int item, int aggregate, const QString &code, const QDate &start, const QDate &end)
{
    QString sql = u" FROM TVpro_VociProgetti WHERE iVproId <> :iVproId AND iAggId = :iAggId"
                  " AND (iDwgId = :iDwgId OR iDwgId IS NULL) AND sVproCod = :sVproCod AND dDelete IS NULL"_s;
    QVariantMap values{{u"iVproId"_s, item}, {u"iAggId"_s, aggregate}, {u"iDwgId"_s, gDwgId},
                       {u"sVproCod"_s, code}, {u"dStart"_s, start}};
    if (end.isValid()) {
        sql += u" AND ((dStart < :dEnd AND dEnd IS NULL) OR (dEnd > :dStart AND dStart < :dEnd))"_s;
        values.insert(u"dEnd"_s, end);
    } else {
        sql += u" AND (dEnd IS NULL OR dEnd > :dStart)"_s;
    }
    return !Any(sql, values);
}

bool VproIsReferenced(int item)
{
    return Any(ModelsOfItem, {{u"iVproId"_s, item}});
}

bool VproIsFrozen(int item)
{
    return Any(ModelsOfItem + Frozen, {{u"iVproId"_s, item}});
}

QDate VproMaxModelEnd(int item)
{
    const QVariant year = Scalar(u"SELECT MAX(Mpr.iMprEsercizioFin)"_s + ModelsOfItem, {{u"iVproId"_s, item}});
    if (year.isNull())
        return QDate();
    QDate start, end;
    GetAnfDates(year.toInt(), gDwgId, start, end);
    return end;
}

bool SvoIsReferenced(int subItem)
{
    return Any(AmountsOfSubItem, {{u"iSvoId"_s, subItem}});
}

bool SvoIsFrozen(int subItem)
{
    return Any(AmountsOfSubItem + Frozen, {{u"iSvoId"_s, subItem}});
}

bool AggIsReferenced(int aggregate)
{
    return Any(AmountsOfAggregate + Approved, {{u"iAggId"_s, aggregate}});
}

bool AggIsFrozen(int aggregate)
{
    return Any(AmountsOfAggregate + Frozen, {{u"iAggId"_s, aggregate}});
}

QString NextAggCode()
{
    const QStringList codes = Texts(u"SELECT sAggDescS FROM TAgg_Aggregati WHERE iFlsId = 1"
                                    " AND (iDwgId = :iDwgId OR iDwgId IS NULL)"_s,
                                    {{u"iDwgId"_s, gDwgId}});
    return u"%1"_s.arg(HighestNumber(codes) + 1, 2, 10, QLatin1Char('0'));
}

#include "VtRptFilter.h"
#include "VtDBDateEdit.h"
#include "VtException.h"

#include <QDomDocument>
#include <QDomElement>
#include <QRegularExpression>
#include <QXmlStreamWriter>

using namespace Qt::StringLiterals;

namespace {
struct TOperator
{
    QString Key;
    QString Caption;
    QString Sql;
};

const QList<TOperator> &AllOperators()
{
    static const QList<TOperator> all = {
        {u"eq"_s, u"uguale a"_s, u"="_s},
        {u"ne"_s, u"diverso da"_s, u"<>"_s},
        {u"lt"_s, u"minore di"_s, u"<"_s},
        {u"le"_s, u"minore o uguale a"_s, u"<="_s},
        {u"gt"_s, u"maggiore di"_s, u">"_s},
        {u"ge"_s, u"maggiore o uguale a"_s, u">="_s},
        {u"starts"_s, u"inizia con"_s, u"STARTING WITH"_s},
        {u"contains"_s, u"contiene"_s, u"CONTAINING"_s},
        {u"empty"_s, u"è vuoto"_s, QString()},
    };
    return all;
}

const TOperator *FindOperator(const QString &key)
{
    for (const TOperator &o : AllOperators())
        if (o.Key == key)
            return &o;
    return nullptr;
}

QString WholeNumber(const TVtRptFilter::TRow &row)
{
    static const QRegularExpression re(QRegularExpression::anchoredPattern(u"[+-]?[0-9]{1,18}"_s));
    const QString v = row.Value.trimmed();
    if (!re.match(v).hasMatch())
        throw EVtException(u"Il valore di \"%1\" deve essere un numero intero."_s.arg(row.Field.Caption));
    return QString::number(v.toLongLong());
}

QString DateLiteral(const TVtRptFilter::TRow &row)
{
    bool ok = false;
    const QDate d = TVtDBDateEdit::ParseDate(row.Value, &ok);
    if (!ok || !d.isValid())
        throw EVtException(u"Il valore di \"%1\" deve essere una data."_s.arg(row.Field.Caption));
    return u"'%1'"_s.arg(d.toString(u"MM/dd/yyyy"_s));
}

QString Literal(const TVtRptFilter::TRow &row)
{
    switch (row.Field.Type) {
    case TVtRptFilterDef::ftEnum:
    case TVtRptFilterDef::ftInteger:
        return WholeNumber(row);
    case TVtRptFilterDef::ftDate:
        return DateLiteral(row);
    case TVtRptFilterDef::ftString:
        break;
    }
    return TVtRptFilter::Quoted(row.Value);
}

QString JoinName(TVtRptFilter::TJoin join)
{
    return join == TVtRptFilter::jnAny ? u"OR"_s : u"AND"_s;
}

// The row of a saved condition; false when its field or operator is unknown.
bool ReadRow(const QDomElement &e, const TVtRptFilterDef &def, TVtRptFilter::TRow *row)
{
    const TVtRptFilterDef::TField *field = def.FindField(e.attribute(u"Field"_s));
    if (e.tagName() != "Condition"_L1 || !field
        || !TVtRptFilter::Operators(field->Type).contains(e.attribute(u"Operator"_s)))
        return false;
    *row = {*field, e.attribute(u"Operator"_s), e.attribute(u"Value"_s)};
    return true;
}
}

QStringList TVtRptFilter::Operators(TVtRptFilterDef::TType type)
{
    switch (type) {
    case TVtRptFilterDef::ftString:
        return {u"eq"_s, u"ne"_s, u"starts"_s, u"contains"_s, u"empty"_s};
    case TVtRptFilterDef::ftEnum:
        return {u"eq"_s, u"ne"_s};
    case TVtRptFilterDef::ftInteger:
    case TVtRptFilterDef::ftDate:
        break;
    }
    return {u"eq"_s, u"ne"_s, u"lt"_s, u"le"_s, u"gt"_s, u"ge"_s};
}

QString TVtRptFilter::OperatorCaption(const QString &key)
{
    const TOperator *o = FindOperator(key);
    return o ? o->Caption : QString();
}

bool TVtRptFilter::HasValue(const QString &key)
{
    return key != "empty"_L1;
}

QString TVtRptFilter::Quoted(const QString &text)
{
    return u"'%1'"_s.arg(QString(text).replace(u"'"_s, u"''"_s));
}

QString TVtRptFilter::RowCondition(const TRow &row)
{
    const QString &name = row.Field.Name;
    if (!TVtRptFilterDef::IsFieldName(name) || !Operators(row.Field.Type).contains(row.Operator))
        throw EVtException(u"La condizione su \"%1\" non è valida."_s.arg(row.Field.Caption));
    if (!HasValue(row.Operator))
        return u"%1 IS NULL OR %1 = ''"_s.arg(name);
    return u"%1 %2 %3"_s.arg(name, FindOperator(row.Operator)->Sql, Literal(row));
}

QString TVtRptFilter::BuildCondition(const QList<TRow> &rows, TJoin join)
{
    QStringList parts;
    for (const TRow &row : rows)
        parts << u"(%1)"_s.arg(RowCondition(row));
    return parts.join(u" %1 "_s.arg(JoinName(join)));
}

QByteArray TVtRptFilter::ToXml(const QString &code) const
{
    QByteArray xml;
    QXmlStreamWriter w(&xml);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartDocument();
    w.writeStartElement(u"SavedFilter"_s);
    w.writeAttribute(u"Definition"_s, code);
    w.writeAttribute(u"Join"_s, JoinName(Join));
    for (const TRow &row : Rows) {
        w.writeEmptyElement(u"Condition"_s);
        w.writeAttribute(u"Field"_s, row.Field.Name);
        w.writeAttribute(u"Operator"_s, row.Operator);
        w.writeAttribute(u"Value"_s, row.Value);
    }
    w.writeEndDocument();
    return xml;
}

bool TVtRptFilter::FromXml(const QByteArray &xml, const TVtRptFilterDef &def, TVtRptFilter *filter)
{
    QDomDocument doc;
    if (!doc.setContent(xml))
        return false;
    const QDomElement root = doc.documentElement();
    const QString join = root.attribute(u"Join"_s);
    if (root.tagName() != "SavedFilter"_L1 || root.attribute(u"Definition"_s) != def.Code()
        || (join != "AND"_L1 && join != "OR"_L1))
        return false;
    TVtRptFilter read;
    read.Join = join == "OR"_L1 ? jnAny : jnAll;
    for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        TRow row;
        if (!ReadRow(e, def, &row))
            return false;
        read.Rows << row;
    }
    *filter = read;
    return true;
}

QString TVtRptFilter::ApplyMarkers(const QString &sql, const QString &condition)
{
    QString text = sql;
    if (condition.isEmpty())
        return text;
    text.replace(u"/*ONLY VTRPTFILTER*/"_s, u'(' + condition + u')', Qt::CaseSensitive);
    text.replace(u"/*AND VTRPTFILTER*/"_s, u"AND ("_s + condition + u')', Qt::CaseSensitive);
    text.replace(u"/*OR VTRPTFILTER*/"_s, u"OR ("_s + condition + u')', Qt::CaseSensitive);
    return text;
}

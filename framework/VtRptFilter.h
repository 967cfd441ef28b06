#pragma once
#include "VtRptFilterDef.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The conditions composed on the fields of a filter definition, and the SQL
// condition they stand for. Operators are known by key:
//   "eq" =, "ne" <>, "lt" <, "le" <=, "gt" >, "ge" >=,
//   "starts" STARTING WITH, "contains" CONTAINING, "empty" (null or '').
// The condition is written only from checked parts: column names that are
// identifiers, operators of the field's type, and values quoted (texts),
// checked as whole numbers (integers, enums) or read as dates.
class TVtRptFilter
{
public:
    enum TJoin { jnAll, jnAny };   // AND, OR
    struct TRow
    {
        TVtRptFilterDef::TField Field;
        QString Operator;
        // As typed: a text, a whole number, the id of an enum value, a
        // date in the form gg/mm/aaaa.
        QString Value;
    };

    TJoin Join = jnAll;
    QList<TRow> Rows;

    // The operators of a field type, in the order they are offered.
    static QStringList Operators(TVtRptFilterDef::TType type);
    static QString OperatorCaption(const QString &key);
    // False for the operators without a value ("empty").
    static bool HasValue(const QString &key);

    // Each row in parentheses, joined by AND or OR; empty without rows.
    // Throws EVtException naming the field when a value does not fit it.
    static QString BuildCondition(const QList<TRow> &rows, TJoin join);
    static QString RowCondition(const TRow &row);
    // A text as an SQL literal: in quotes, inner quotes doubled.
    static QString Quoted(const QString &text);
    QString Condition() const { return BuildCondition(Rows, Join); }

    // A statement with a condition at its filter markers: "/*ONLY
    // VTRPTFILTER*/" becomes "(" C ")", "/*AND VTRPTFILTER*/" "AND (" C ")"
    // and "/*OR VTRPTFILTER*/" "OR (" C ")", every occurrence, matched with
    // case. Without a condition the markers stay as comments.
    static QString ApplyMarkers(const QString &sql, const QString &condition);

    // The saved form of the rows: the definition's code, the join and, per
    // row, the field's name, the operator's key and the value.
    QByteArray ToXml(const QString &code) const;
    // Reads a saved form into filter; false, leaving filter as it was, when
    // the text is not well-formed or names another definition, a field the
    // definition lacks or an operator the field's type lacks.
    static bool FromXml(const QByteArray &xml, const TVtRptFilterDef &def, TVtRptFilter *filter);
};

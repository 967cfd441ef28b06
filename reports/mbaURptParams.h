#pragma once
#include <QList>
#include <QString>
#include <QVariant>

// One named parameter of a print.
class TRptParam
{
public:
    TRptParam(const QString &name, const QVariant &value) : Name(name), Value(value) {}
    QString Name;
    QVariant Value;
    // "Name: %s Value: %s;"
    QString Text() const;
};

// An ordered list of parameters; names are found without regard to case.
class TRptParams
{
public:
    void Add(const QString &name, const QVariant &value) { m_items << TRptParam(name, value); }
    void Clear() { m_items.clear(); }
    int Count() const { return int(m_items.size()); }
    const TRptParam &Items(int i) const { return m_items[i]; }
    // The first with that name; null when none.
    const TRptParam *FindByName(const QString &name) const;
    // "Lista parametri: (n)", then "\n\r" and each parameter's text.
    QString Text() const;

    // Whether two values are equal the way a print's parameters compare:
    // as numbers when both read as numbers (with a comma or a point), else as
    // dates when one is a date and the other reads as one, else as texts
    // (letter case counts).
    static bool SameValue(const QVariant &a, const QVariant &b);

private:
    QList<TRptParam> m_items;
};

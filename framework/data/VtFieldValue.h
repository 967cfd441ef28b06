#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// Values handed to a write statement besides the row's own fields.
class TVtFieldValue
{
public:
    // Adds a value, or replaces the one with the same name.
    void Add(const QString &name, const QVariant &value);
    // Position of a name (without regard to case), -1 when absent.
    int IndexOf(const QString &name) const;
    // Value by name; null when absent.
    QVariant GetValues(const QString &name) const;
    // Values of several names separated by ";" or ",", in that order.
    QVariantList GetValByNames(const QString &names) const;
    int Count() const { return m_names.size(); }
    QString Name(int i) const { return m_names[i]; }
    QVariant Value(int i) const { return m_values[i]; }
    void Clear();

private:
    QStringList m_names;
    QVector<QVariant> m_values;
};

enum TVtUpdateKind { ukModify = 0, ukInsert = 1, ukDelete = 2 };

// Descriptor of one write statement, handed to the before/after hooks.
class TVtQueryProp
{
public:
    TVtFieldValue *FieldValues = nullptr;  // shared by every statement of one post
    QString TableName;
    TVtUpdateKind UpdateKind = ukModify;
    int Index = 0;                         // position in its statement list
    QString SQL;
};

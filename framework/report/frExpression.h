#pragma once
#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

// An expression of a report template, as it stands between brackets:
//   numbers, 'text' ('' for a quote), fields ds.FIELD or ds."field name",
//   variables (Page, Title, SelectForm.Property, any other name or "a name
//   with blanks", asked of the program), PARAM('name'), the operators
//   + - * / (+ joins text), = <> < > <= >=, AND OR NOT, and the functions
//   IIF(c, a, b), SUM(e), COUNT().
// A null reads as empty text, as 0 in arithmetic, and as equal to ''.
// Parsing raises EVtException with the text and the place of the fault.
class TfrExpression
{
public:
    enum TKind { ekNumber, ekText, ekField, ekVariable, ekFormProperty, ekParam, ekUnary, ekBinary, ekIif, ekSum, ekCount };

    struct TNode
    {
        TKind Kind = ekNumber;
        QVariant Value;          // ekNumber, ekText
        QString DataSet;         // ekField
        QString Name;            // ekField: the field; ekVariable, ekFormProperty, ekParam: the name
        QString Op;              // ekUnary, ekBinary, upper case
        QList<std::shared_ptr<TNode>> Args;
        int AggregateId = -1;    // ekSum, ekCount: set by who keeps the totals
    };
    using TNodePtr = std::shared_ptr<TNode>;

    // What an expression reads while it is evaluated.
    class TContext
    {
    public:
        virtual ~TContext() = default;
        virtual QVariant Field(const QString &dataSet, const QString &field) = 0;
        virtual QVariant Variable(const QString &name) = 0;
        virtual QVariant FormProperty(const QString &name) = 0;
        virtual QVariant Param(const QString &name) = 0;
        virtual QVariant Aggregate(const TNode &node) = 0;
    };

    TfrExpression() = default;
    explicit TfrExpression(const QString &text);

    bool IsEmpty() const { return !m_root; }
    QString Text() const { return m_text; }
    const TNodePtr &Root() const { return m_root; }
    QVariant Evaluate(TContext &context) const;

    // Every node of the tree, depth first (the aggregates, the fields read).
    QList<TNode *> Nodes() const;

    static QVariant Evaluate(const TNode &node, TContext &context);
    // The truth of a value: false for null, 0, '' and false.
    static bool IsTrue(const QVariant &value);
    static bool IsNumber(const QVariant &value);
    // Equality and order as the operators read them.
    static int Compare(const QVariant &a, const QVariant &b);

private:
    QString m_text;
    TNodePtr m_root;
};

// A text of a template: literal text with [expression] parts ("[[" is a
// literal bracket).
class TfrTextTemplate
{
public:
    TfrTextTemplate() = default;
    explicit TfrTextTemplate(const QString &text);

    struct TPart
    {
        QString Literal;          // when Expression is empty
        TfrExpression Expression;
    };
    const QList<TPart> &Parts() const { return m_parts; }
    bool IsConstant() const;
    // Every expression part's nodes.
    QList<TfrExpression::TNode *> Nodes() const;

private:
    QList<TPart> m_parts;
};

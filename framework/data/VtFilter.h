#pragma once
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

// A client-side filter over the rows of a collection, written as in SQL:
//   dEnd IS NULL
//   lCauTipo = 1 AND (sCauSDesc <> 'X' OR dEnd IS NOT NULL)
class TVtFilter
{
public:
    using TGetter = std::function<QVariant(const QString &field)>;

    // Throws EVtException on a malformed expression.
    static TVtFilter Parse(const QString &text);
    TVtFilter();
    bool IsEmpty() const { return !m_root; }
    bool Matches(const TGetter &get) const;

    struct Node;

private:
    std::shared_ptr<Node> m_root;
};

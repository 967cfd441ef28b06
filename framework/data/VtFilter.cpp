#include "VtFilter.h"
#include "VtException.h"

#include <QDate>
#include <QStringList>

struct TVtFilter::Node
{
    enum Kind { And, Or, Not, IsNull, IsNotNull, Compare } kind;
    std::shared_ptr<Node> left, right;
    QString field, op;
    QVariant literal;
};

namespace {
struct Token
{
    enum Kind { Ident, Number, String, Op, LParen, RParen, End } kind;
    QString text;
};

QVector<Token> Tokenize(const QString &s)
{
    QVector<Token> tokens;
    int i = 0;
    const int n = s.size();
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace()) { ++i; continue; }
        if (c == QLatin1Char('(')) { tokens.push_back({Token::LParen, QStringLiteral("(")}); ++i; continue; }
        if (c == QLatin1Char(')')) { tokens.push_back({Token::RParen, QStringLiteral(")")}); ++i; continue; }
        if (c == QLatin1Char('\'')) {
            QString text;
            ++i;
            while (i < n) {
                if (s[i] == QLatin1Char('\'')) {
                    if (i + 1 < n && s[i + 1] == QLatin1Char('\'')) { text += QLatin1Char('\''); i += 2; continue; }
                    break;
                }
                text += s[i++];
            }
            if (i >= n)
                throw EVtException(QStringLiteral("Filtro non valido: testo non chiuso."));
            ++i;
            tokens.push_back({Token::String, text});
            continue;
        }
        if (c.isDigit() || (c == QLatin1Char('-') && i + 1 < n && s[i + 1].isDigit())) {
            int j = i + 1;
            while (j < n && (s[j].isDigit() || s[j] == QLatin1Char('.')))
                ++j;
            tokens.push_back({Token::Number, s.mid(i, j - i)});
            i = j;
            continue;
        }
        if (c.isLetter() || c == QLatin1Char('_')) {
            int j = i + 1;
            while (j < n && (s[j].isLetterOrNumber() || s[j] == QLatin1Char('_') || s[j] == QLatin1Char('.')))
                ++j;
            tokens.push_back({Token::Ident, s.mid(i, j - i)});
            i = j;
            continue;
        }
        static const QStringList ops = {QStringLiteral("<>"), QStringLiteral("!="), QStringLiteral("<="),
                                        QStringLiteral(">="), QStringLiteral("="), QStringLiteral("<"),
                                        QStringLiteral(">")};
        bool matched = false;
        for (const QString &op : ops) {
            if (s.mid(i, op.size()) == op) {
                tokens.push_back({Token::Op, op});
                i += op.size();
                matched = true;
                break;
            }
        }
        if (!matched)
            throw EVtException(QStringLiteral("Filtro non valido: carattere '%1' inatteso.").arg(c));
    }
    tokens.push_back({Token::End, QString()});
    return tokens;
}

class Parser
{
public:
    explicit Parser(const QString &text) : m_tokens(Tokenize(text)) {}

    std::shared_ptr<TVtFilter::Node> Run()
    {
        auto node = Expr();
        if (Peek().kind != Token::End)
            Fail();
        return node;
    }

private:
    using NodeP = std::shared_ptr<TVtFilter::Node>;
    QVector<Token> m_tokens;
    int m_pos = 0;

    const Token &Peek() const { return m_tokens[m_pos]; }
    Token Take() { return m_tokens[m_pos++]; }
    bool IsWord(const char *w) const
    {
        return Peek().kind == Token::Ident && Peek().text.compare(QLatin1String(w), Qt::CaseInsensitive) == 0;
    }
    [[noreturn]] void Fail() const
    {
        throw EVtException(QStringLiteral("Filtro non valido vicino a '%1'.").arg(Peek().text));
    }
    static NodeP Make(TVtFilter::Node::Kind kind, NodeP l = nullptr, NodeP r = nullptr)
    {
        auto n = std::make_shared<TVtFilter::Node>();
        n->kind = kind;
        n->left = std::move(l);
        n->right = std::move(r);
        return n;
    }

    NodeP Expr()
    {
        NodeP left = Term();
        while (IsWord("OR")) {
            Take();
            left = Make(TVtFilter::Node::Or, left, Term());
        }
        return left;
    }
    NodeP Term()
    {
        NodeP left = Factor();
        while (IsWord("AND")) {
            Take();
            left = Make(TVtFilter::Node::And, left, Factor());
        }
        return left;
    }
    NodeP Factor()
    {
        if (IsWord("NOT")) {
            Take();
            return Make(TVtFilter::Node::Not, Factor());
        }
        if (Peek().kind == Token::LParen) {
            Take();
            NodeP inner = Expr();
            if (Peek().kind != Token::RParen)
                Fail();
            Take();
            return inner;
        }
        if (Peek().kind != Token::Ident)
            Fail();
        const QString field = Take().text;
        if (IsWord("IS")) {
            Take();
            bool negate = false;
            if (IsWord("NOT")) { Take(); negate = true; }
            if (!IsWord("NULL"))
                Fail();
            Take();
            NodeP n = Make(negate ? TVtFilter::Node::IsNotNull : TVtFilter::Node::IsNull);
            n->field = field;
            return n;
        }
        if (Peek().kind != Token::Op)
            Fail();
        const QString op = Take().text;
        NodeP n = Make(TVtFilter::Node::Compare);
        n->field = field;
        n->op = op == QLatin1String("!=") ? QStringLiteral("<>") : op;
        const Token lit = Take();
        if (lit.kind == Token::Number)
            n->literal = lit.text.toDouble();
        else if (lit.kind == Token::String)
            n->literal = lit.text;
        else
            Fail();
        return n;
    }
};

int CompareValues(const QVariant &a, const QVariant &b)
{
    if (b.typeId() == QMetaType::Double) {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.typeId() == QMetaType::QDate) {
        QDate d = QDate::fromString(b.toString(), QStringLiteral("dd/MM/yyyy"));
        if (!d.isValid())
            d = QDate::fromString(b.toString(), Qt::ISODate);
        const QDate x = a.toDate();
        return x < d ? -1 : (x > d ? 1 : 0);
    }
    return QString::compare(a.toString(), b.toString(), Qt::CaseSensitive);
}

bool Eval(const TVtFilter::Node &n, const TVtFilter::TGetter &get)
{
    switch (n.kind) {
    case TVtFilter::Node::And: return Eval(*n.left, get) && Eval(*n.right, get);
    case TVtFilter::Node::Or: return Eval(*n.left, get) || Eval(*n.right, get);
    case TVtFilter::Node::Not: return !Eval(*n.left, get);
    case TVtFilter::Node::IsNull: return get(n.field).isNull();
    case TVtFilter::Node::IsNotNull: return !get(n.field).isNull();
    case TVtFilter::Node::Compare: {
        const QVariant v = get(n.field);
        if (v.isNull())
            return false;  // as in SQL, a null compares to nothing
        const int c = CompareValues(v, n.literal);
        if (n.op == QLatin1String("=")) return c == 0;
        if (n.op == QLatin1String("<>")) return c != 0;
        if (n.op == QLatin1String("<")) return c < 0;
        if (n.op == QLatin1String(">")) return c > 0;
        if (n.op == QLatin1String("<=")) return c <= 0;
        return c >= 0;
    }
    }
    return false;
}
}

TVtFilter::TVtFilter() = default;

TVtFilter TVtFilter::Parse(const QString &text)
{
    TVtFilter f;
    if (!text.trimmed().isEmpty())
        f.m_root = Parser(text).Run();
    return f;
}

bool TVtFilter::Matches(const TGetter &get) const
{
    return !m_root || Eval(*m_root, get);
}

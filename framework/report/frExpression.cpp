#include "frExpression.h"
#include "VtException.h"

#include <QDate>
#include <QDateTime>
#include <cmath>
#include <functional>
#include <QLocale>

namespace {
struct TToken
{
    enum TType { tkEnd, tkNumber, tkText, tkName, tkQuoted, tkOp, tkLParen, tkRParen, tkComma, tkDot } Type = tkEnd;
    QString Text;
    int Pos = 0;
};

class TParser
{
public:
    explicit TParser(const QString &text) : m_text(text) { Advance(); }

    TfrExpression::TNodePtr Parse()
    {
        auto node = ParseOr();
        if (m_tok.Type != TToken::tkEnd)
            Fail(QStringLiteral("testo inatteso \"%1\"").arg(m_tok.Text));
        return node;
    }

private:
    using TNode = TfrExpression::TNode;
    using TNodePtr = TfrExpression::TNodePtr;

    [[noreturn]] void Fail(const QString &what) const
    {
        throw EVtException(QStringLiteral("Espressione non valida \"%1\" (posizione %2): %3.")
                               .arg(m_text).arg(m_tok.Pos + 1).arg(what));
    }

    bool IsKeyword(const char *word) const
    {
        return m_tok.Type == TToken::tkName && m_tok.Text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }

    void Advance()
    {
        const int n = int(m_text.size());
        while (m_pos < n && m_text[m_pos].isSpace())
            ++m_pos;
        m_tok = TToken();
        m_tok.Pos = m_pos;
        if (m_pos >= n)
            return;
        const QChar c = m_text[m_pos];
        if (c.isDigit() || (c == QLatin1Char('.') && m_pos + 1 < n && m_text[m_pos + 1].isDigit())) {
            int end = m_pos;
            while (end < n && (m_text[end].isDigit() || m_text[end] == QLatin1Char('.')))
                ++end;
            m_tok.Type = TToken::tkNumber;
            m_tok.Text = m_text.mid(m_pos, end - m_pos);
            m_pos = end;
            return;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString value;
            int i = m_pos + 1;
            for (;; ++i) {
                if (i >= n)
                    Fail(QStringLiteral("virgolette non chiuse"));
                if (m_text[i] == c) {
                    if (i + 1 < n && m_text[i + 1] == c) {
                        value += c;
                        ++i;
                        continue;
                    }
                    break;
                }
                value += m_text[i];
            }
            m_tok.Type = c == QLatin1Char('\'') ? TToken::tkText : TToken::tkQuoted;
            m_tok.Text = value;
            m_pos = i + 1;
            return;
        }
        if (c.isLetter() || c == QLatin1Char('_')) {
            int end = m_pos;
            while (end < n && (m_text[end].isLetterOrNumber() || m_text[end] == QLatin1Char('_') || m_text[end] == QLatin1Char('$')))
                ++end;
            m_tok.Type = TToken::tkName;
            m_tok.Text = m_text.mid(m_pos, end - m_pos);
            m_pos = end;
            return;
        }
        static const QStringList twoChar{QStringLiteral("<>"), QStringLiteral("<="), QStringLiteral(">=")};
        const QString two = m_text.mid(m_pos, 2);
        if (twoChar.contains(two)) {
            m_tok.Type = TToken::tkOp;
            m_tok.Text = two;
            m_pos += 2;
            return;
        }
        ++m_pos;
        m_tok.Text = c;
        switch (c.unicode()) {
        case '+': case '-': case '*': case '/': case '=': case '<': case '>':
            m_tok.Type = TToken::tkOp;
            return;
        case '(':
            m_tok.Type = TToken::tkLParen;
            return;
        case ')':
            m_tok.Type = TToken::tkRParen;
            return;
        case ',':
            m_tok.Type = TToken::tkComma;
            return;
        case '.':
            m_tok.Type = TToken::tkDot;
            return;
        default:
            Fail(QStringLiteral("carattere \"%1\" non ammesso").arg(c));
        }
    }

    TNodePtr Binary(const QString &op, TNodePtr a, TNodePtr b)
    {
        auto node = std::make_shared<TNode>();
        node->Kind = TfrExpression::ekBinary;
        node->Op = op;
        node->Args = {std::move(a), std::move(b)};
        return node;
    }

    TNodePtr ParseOr()
    {
        auto node = ParseAnd();
        while (IsKeyword("OR")) {
            Advance();
            node = Binary(QStringLiteral("OR"), node, ParseAnd());
        }
        return node;
    }

    TNodePtr ParseAnd()
    {
        auto node = ParseNot();
        while (IsKeyword("AND")) {
            Advance();
            node = Binary(QStringLiteral("AND"), node, ParseNot());
        }
        return node;
    }

    TNodePtr ParseNot()
    {
        if (IsKeyword("NOT")) {
            Advance();
            auto node = std::make_shared<TNode>();
            node->Kind = TfrExpression::ekUnary;
            node->Op = QStringLiteral("NOT");
            node->Args = {ParseNot()};
            return node;
        }
        return ParseCompare();
    }

    TNodePtr ParseCompare()
    {
        auto node = ParseAdd();
        static const QStringList ops{QStringLiteral("="), QStringLiteral("<>"), QStringLiteral("<"), QStringLiteral(">"),
                                     QStringLiteral("<="), QStringLiteral(">=")};
        if (m_tok.Type == TToken::tkOp && ops.contains(m_tok.Text)) {
            const QString op = m_tok.Text;
            Advance();
            node = Binary(op, node, ParseAdd());
        }
        return node;
    }

    TNodePtr ParseAdd()
    {
        auto node = ParseMul();
        while (m_tok.Type == TToken::tkOp && (m_tok.Text == QLatin1String("+") || m_tok.Text == QLatin1String("-"))) {
            const QString op = m_tok.Text;
            Advance();
            node = Binary(op, node, ParseMul());
        }
        return node;
    }

    TNodePtr ParseMul()
    {
        auto node = ParseUnary();
        while (m_tok.Type == TToken::tkOp && (m_tok.Text == QLatin1String("*") || m_tok.Text == QLatin1String("/"))) {
            const QString op = m_tok.Text;
            Advance();
            node = Binary(op, node, ParseUnary());
        }
        return node;
    }

    TNodePtr ParseUnary()
    {
        if (m_tok.Type == TToken::tkOp && m_tok.Text == QLatin1String("-")) {
            Advance();
            auto node = std::make_shared<TNode>();
            node->Kind = TfrExpression::ekUnary;
            node->Op = QStringLiteral("-");
            node->Args = {ParseUnary()};
            return node;
        }
        return ParsePrimary();
    }

    void Expect(TToken::TType type, const char *what)
    {
        if (m_tok.Type != type)
            Fail(QStringLiteral("atteso %1").arg(QLatin1String(what)));
        Advance();
    }

    QList<TNodePtr> ParseArgs()
    {
        QList<TNodePtr> args;
        Expect(TToken::tkLParen, "\"(\"");
        if (m_tok.Type != TToken::tkRParen) {
            args << ParseOr();
            while (m_tok.Type == TToken::tkComma) {
                Advance();
                args << ParseOr();
            }
        }
        Expect(TToken::tkRParen, "\")\"");
        return args;
    }

    TNodePtr ParsePrimary()
    {
        auto node = std::make_shared<TNode>();
        switch (m_tok.Type) {
        case TToken::tkNumber: {
            bool ok = false;
            const double v = m_tok.Text.toDouble(&ok);
            if (!ok)
                Fail(QStringLiteral("numero \"%1\" non valido").arg(m_tok.Text));
            node->Kind = TfrExpression::ekNumber;
            node->Value = m_tok.Text.contains(QLatin1Char('.')) ? QVariant(v) : QVariant(qlonglong(v));
            Advance();
            return node;
        }
        case TToken::tkText:
            node->Kind = TfrExpression::ekText;
            node->Value = m_tok.Text;
            Advance();
            return node;
        case TToken::tkQuoted:
            node->Kind = TfrExpression::ekVariable;
            node->Name = m_tok.Text;
            Advance();
            return node;
        case TToken::tkLParen: {
            Advance();
            auto inner = ParseOr();
            Expect(TToken::tkRParen, "\")\"");
            return inner;
        }
        case TToken::tkName:
            break;
        default:
            Fail(m_tok.Type == TToken::tkEnd ? QStringLiteral("espressione incompleta")
                                             : QStringLiteral("testo inatteso \"%1\"").arg(m_tok.Text));
        }
        const QString name = m_tok.Text;
        Advance();
        if (m_tok.Type == TToken::tkLParen) {
            const QString fn = name.toUpper();
            const QList<TNodePtr> args = ParseArgs();
            if (fn == QLatin1String("IIF") && args.size() == 3)
                node->Kind = TfrExpression::ekIif;
            else if (fn == QLatin1String("SUM") && args.size() == 1)
                node->Kind = TfrExpression::ekSum;
            else if (fn == QLatin1String("COUNT") && args.isEmpty())
                node->Kind = TfrExpression::ekCount;
            else if (fn == QLatin1String("PARAM") && args.size() == 1 && args[0]->Kind == TfrExpression::ekText) {
                node->Kind = TfrExpression::ekParam;
                node->Name = args[0]->Value.toString();
                return node;
            } else
                Fail(QStringLiteral("funzione %1 sconosciuta o con argomenti errati").arg(name));
            node->Args = args;
            return node;
        }
        if (m_tok.Type == TToken::tkDot) {
            Advance();
            if (m_tok.Type != TToken::tkName && m_tok.Type != TToken::tkQuoted)
                Fail(QStringLiteral("atteso il nome di un campo"));
            const QString member = m_tok.Text;
            Advance();
            if (name.compare(QLatin1String("SelectForm"), Qt::CaseInsensitive) == 0) {
                node->Kind = TfrExpression::ekFormProperty;
                node->Name = member;
            } else {
                node->Kind = TfrExpression::ekField;
                node->DataSet = name;
                node->Name = member;
            }
            return node;
        }
        node->Kind = TfrExpression::ekVariable;
        node->Name = name;
        return node;
    }

    QString m_text;
    int m_pos = 0;
    TToken m_tok;
};

bool IsText(const QVariant &v)
{
    return v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray;
}

bool IsDate(const QVariant &v)
{
    return v.typeId() == QMetaType::QDate || v.typeId() == QMetaType::QDateTime;
}

double Number(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return 0;
    if (IsText(v)) {
        bool ok = false;
        const double d = v.toString().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        return ok ? d : 0;
    }
    return v.toDouble();
}

bool IsInteger(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::LongLong: case QMetaType::UInt: case QMetaType::ULongLong:
    case QMetaType::Short: case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

QString TextOf(const QVariant &v)
{
    if (!v.isValid() || v.isNull())
        return QString();
    if (v.typeId() == QMetaType::QDate)
        return v.toDate().toString(QStringLiteral("dd/MM/yyyy"));
    if (v.typeId() == QMetaType::Double)
        return QLocale(QLocale::Italian, QLocale::Italy).toString(v.toDouble(), 'g', 15);
    return v.toString();
}
}

// An expression may also be written as a text holding only it: "[q.IID]".
QString WithoutBrackets(const QString &text)
{
    if (!text.startsWith(QLatin1Char('[')) || !text.endsWith(QLatin1Char(']')) || text.startsWith(QLatin1String("[[")))
        return text;
    int depth = 0;
    QChar quote;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
            quote = c;
        else if (c == QLatin1Char('['))
            ++depth;
        else if (c == QLatin1Char(']') && --depth == 0 && i != text.size() - 1)
            return text;   // "[a] + [b]" is not one bracketed expression
    }
    return text.mid(1, text.size() - 2).trimmed();
}

TfrExpression::TfrExpression(const QString &text) : m_text(WithoutBrackets(text.trimmed()))
{
    if (!m_text.isEmpty())
        m_root = TParser(m_text).Parse();
}

QVariant TfrExpression::Evaluate(TContext &context) const
{
    return m_root ? Evaluate(*m_root, context) : QVariant();
}

QList<TfrExpression::TNode *> TfrExpression::Nodes() const
{
    QList<TNode *> nodes;
    std::function<void(TNode *)> walk = [&](TNode *n) {
        nodes << n;
        for (const TNodePtr &a : n->Args)
            walk(a.get());
    };
    if (m_root)
        walk(m_root.get());
    return nodes;
}

bool TfrExpression::IsNumber(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return false;
    switch (value.typeId()) {
    case QMetaType::Double: case QMetaType::Float: case QMetaType::Int: case QMetaType::LongLong:
    case QMetaType::UInt: case QMetaType::ULongLong: case QMetaType::Short: case QMetaType::Bool:
        return true;
    default:
        return false;
    }
}

bool TfrExpression::IsTrue(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return false;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (IsNumber(value))
        return value.toDouble() != 0;
    if (IsText(value)) {
        const QString t = value.toString().trimmed();
        return !t.isEmpty() && t != QLatin1String("0") && t.compare(QLatin1String("false"), Qt::CaseInsensitive) != 0;
    }
    return true;
}

int TfrExpression::Compare(const QVariant &a, const QVariant &b)
{
    const bool aNull = !a.isValid() || a.isNull(), bNull = !b.isValid() || b.isNull();
    if (aNull && bNull)
        return 0;
    if (IsDate(a) || IsDate(b)) {
        const QDateTime x = aNull ? QDateTime() : a.toDateTime(), y = bNull ? QDateTime() : b.toDateTime();
        return x == y ? 0 : (x < y ? -1 : 1);
    }
    if ((IsNumber(a) || aNull) && (IsNumber(b) || bNull)) {
        const double x = Number(a), y = Number(b);
        return x == y ? 0 : (x < y ? -1 : 1);
    }
    const int c = TextOf(a).compare(TextOf(b));
    return c == 0 ? 0 : (c < 0 ? -1 : 1);
}

QVariant TfrExpression::Evaluate(const TNode &node, TContext &context)
{
    switch (node.Kind) {
    case ekNumber:
    case ekText:
        return node.Value;
    case ekField:
        return context.Field(node.DataSet, node.Name);
    case ekVariable:
        return context.Variable(node.Name);
    case ekFormProperty:
        return context.FormProperty(node.Name);
    case ekParam:
        return context.Param(node.Name);
    case ekSum:
    case ekCount:
        return context.Aggregate(node);
    case ekIif:
        return IsTrue(Evaluate(*node.Args[0], context)) ? Evaluate(*node.Args[1], context) : Evaluate(*node.Args[2], context);
    case ekUnary: {
        const QVariant v = Evaluate(*node.Args[0], context);
        if (node.Op == QLatin1String("NOT"))
            return !IsTrue(v);
        return IsInteger(v) ? QVariant(-v.toLongLong()) : QVariant(-Number(v));
    }
    case ekBinary:
        break;
    }
    const QString &op = node.Op;
    if (op == QLatin1String("AND"))
        return IsTrue(Evaluate(*node.Args[0], context)) && IsTrue(Evaluate(*node.Args[1], context));
    if (op == QLatin1String("OR"))
        return IsTrue(Evaluate(*node.Args[0], context)) || IsTrue(Evaluate(*node.Args[1], context));
    const QVariant a = Evaluate(*node.Args[0], context), b = Evaluate(*node.Args[1], context);
    if (op == QLatin1String("+") && (IsText(a) || IsText(b) || IsDate(a) || IsDate(b)))
        return TextOf(a) + TextOf(b);
    if (op == QLatin1String("+") || op == QLatin1String("-") || op == QLatin1String("*")) {
        if ((IsInteger(a) || !a.isValid() || a.isNull()) && (IsInteger(b) || !b.isValid() || b.isNull())) {
            const qlonglong x = a.toLongLong(), y = b.toLongLong();
            return op == QLatin1String("+") ? x + y : op == QLatin1String("-") ? x - y : x * y;
        }
        const double x = Number(a), y = Number(b);
        return op == QLatin1String("+") ? x + y : op == QLatin1String("-") ? x - y : x * y;
    }
    if (op == QLatin1String("/")) {
        const double y = Number(b);
        return y == 0 ? QVariant() : QVariant(Number(a) / y);
    }
    const int c = Compare(a, b);
    if (op == QLatin1String("="))
        return c == 0;
    if (op == QLatin1String("<>"))
        return c != 0;
    if (op == QLatin1String("<"))
        return c < 0;
    if (op == QLatin1String(">"))
        return c > 0;
    if (op == QLatin1String("<="))
        return c <= 0;
    return c >= 0;
}

TfrTextTemplate::TfrTextTemplate(const QString &text)
{
    QString literal;
    const int n = int(text.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('[')) {
            literal += c;
            continue;
        }
        if (i + 1 < n && text[i + 1] == QLatin1Char('[')) {
            literal += c;
            ++i;
            continue;
        }
        // The expression runs to the matching bracket, quotes respected.
        int depth = 1, j = i + 1;
        QChar quote;
        for (; j < n; ++j) {
            const QChar d = text[j];
            if (!quote.isNull()) {
                if (d == quote)
                    quote = QChar();
                continue;
            }
            if (d == QLatin1Char('\'') || d == QLatin1Char('"'))
                quote = d;
            else if (d == QLatin1Char('['))
                ++depth;
            else if (d == QLatin1Char(']') && --depth == 0)
                break;
        }
        if (j >= n)
            throw EVtException(QStringLiteral("Espressione non chiusa nel testo \"%1\".").arg(text));
        if (!literal.isEmpty()) {
            m_parts << TPart{literal, {}};
            literal.clear();
        }
        m_parts << TPart{QString(), TfrExpression(text.mid(i + 1, j - i - 1))};
        i = j;
    }
    if (!literal.isEmpty())
        m_parts << TPart{literal, {}};
}

bool TfrTextTemplate::IsConstant() const
{
    for (const TPart &p : m_parts)
        if (!p.Expression.IsEmpty())
            return false;
    return true;
}

QList<TfrExpression::TNode *> TfrTextTemplate::Nodes() const
{
    QList<TfrExpression::TNode *> nodes;
    for (const TPart &p : m_parts)
        nodes << p.Expression.Nodes();
    return nodes;
}

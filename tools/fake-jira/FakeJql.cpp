#include "FakeJql.h"

#include <QDateTime>
#include <QJsonValue>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

// A clause as written and, once checked, as it is evaluated; or AND, OR or NOT over others.
struct FakeJql::Node
{
    enum class Kind { And, Or, Not, Clause };
    enum class Field {
        Unknown,
        Assignee,
        Reporter,
        Status,
        StatusCategory,
        Project,
        Resolution,
        Key,
        Text,
        Summary,
        Description,
        Watcher
    };
    enum class Op {
        Equals,
        NotEquals,
        Like,
        NotLike,
        Less,
        Greater,
        LessOrEqual,
        GreaterOrEqual,
        In,
        NotIn,
        Is,
        IsNot
    };

    struct Operand
    {
        enum class Kind { Value, Empty, Function, List };
        Kind kind = Kind::Value;
        QString text; // the value, or the function's name
        int arguments = 0;
        std::vector<Operand> items; // a list's
        QString written; // as it stands in the query, for the messages
    };

    Kind kind = Kind::Clause;
    std::vector<Node> children;

    QString fieldName; // as written
    Op op = Op::Equals;
    Operand operand;

    Field field = Field::Unknown;
    // != , NOT IN, IS NOT and !~: the clause matches an issue whose field holds a value, none of these.
    bool negative = false;
    // The operand names EMPTY (or, for the resolution, Unresolved).
    bool matchesEmpty = false;
    QSet<QString> values; // case-folded: login names, status names, category keys, project keys, ...
    QStringList words; // case-folded, for the text fields
};

namespace {

using Node = FakeJql::Node;
using Field = Node::Field;
using Op = Node::Op;
using Operand = Node::Operand;

struct Token
{
    enum class Kind { End, Word, String, LeftParen, RightParen, Comma, Operator, Bang, And, Or };
    Kind kind = Kind::End;
    QString text; // a word's or string's value with its escapes read; an operator
    QString written; // as it stands in the query
    int line = 1;
    int column = 1;
    qsizetype start = 0;
    qsizetype end = 0;
};

const QString syntaxPrefix = u"Error in the JQL Query: "_s;
const QString validOperators =
    u"The valid operators are '=', '!=', '<', '>', '<=', '>=', '~', '!~', 'IN', 'NOT IN', 'IS' and 'IS NOT'."_s;
const QString validEscapes = u"The valid escape sequences are \\', \\\", \\t, \\n, \\r, \\\\, '\\ ' and \\uXXXX."_s;

QString where(int line, int column)
{
    return u" (line %1, character %2)"_s.arg(line).arg(column);
}

// Characters Jira keeps for itself: outside quotes they must be escaped.
bool isReserved(QChar c)
{
    return u"{}[]*/%+^$#@?;"_s.contains(c);
}

// Characters that end a word because they start something else.
bool endsWord(QChar c)
{
    return c.isSpace() || u"\"'()=,!~<>&|"_s.contains(c);
}

bool mustBeEscaped(QChar c)
{
    return c.category() == QChar::Other_Control && c != u'\t' && c != u'\n' && c != u'\r';
}

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

QString escapeOf(QChar c)
{
    return u"\\u"_s + u"%1"_s.arg(uint(c.unicode()), 4, 16, QChar(u'0'));
}

class Lexer
{
public:
    explicit Lexer(const QString &text)
        : m_text(text)
    { }

    // The whole query as tokens, the last one End; or nothing, and `error` says why.
    std::optional<QList<Token>> run(QString *error)
    {
        QList<Token> tokens;
        while (!m_error) {
            while (m_at < m_text.size() && m_text.at(m_at).isSpace())
                step();
            Token token;
            token.line = m_line;
            token.column = m_column;
            token.start = m_at;
            if (m_at >= m_text.size()) {
                token.end = m_at;
                tokens.append(token);
                return tokens;
            }
            if (!next(&token))
                break;
            token.end = m_at;
            token.written = m_text.mid(token.start, token.end - token.start);
            tokens.append(token);
        }
        *error = *m_error;
        return std::nullopt;
    }

private:
    void step()
    {
        if (m_text.at(m_at) == u'\n') {
            ++m_line;
            m_column = 1;
        } else {
            ++m_column;
        }
        ++m_at;
    }

    bool fail(const QString &message, int line, int column)
    {
        m_error = syntaxPrefix + message + where(line, column);
        return false;
    }

    bool failAtEnd(const QString &message)
    {
        m_error = syntaxPrefix + message;
        return false;
    }

    void skipSpaces()
    {
        while (more() && peek().isSpace())
            step();
    }

    // What stands next, for a message: a run of word characters, or one other character.
    [[nodiscard]] QString nextText() const
    {
        qsizetype end = m_at;
        while (end < m_text.size() && !endsWord(m_text.at(end)) && m_text.at(end) != u']')
            ++end;
        return end > m_at ? m_text.mid(m_at, end - m_at) : m_text.mid(m_at, 1);
    }

    [[nodiscard]] bool more() const { return m_at < m_text.size(); }
    [[nodiscard]] QChar peek(qsizetype ahead = 0) const
    {
        return m_at + ahead < m_text.size() ? m_text.at(m_at + ahead) : QChar();
    }

    bool next(Token *token)
    {
        const QChar c = peek();
        const auto symbol = [&](Token::Kind kind, qsizetype length) {
            token->kind = kind;
            token->text = m_text.mid(m_at, length);
            for (qsizetype i = 0; i < length; ++i)
                step();
            return true;
        };
        switch (c.unicode()) {
        case '(':
            return symbol(Token::Kind::LeftParen, 1);
        case ')':
            return symbol(Token::Kind::RightParen, 1);
        case ',':
            return symbol(Token::Kind::Comma, 1);
        case '=':
        case '~':
            return symbol(Token::Kind::Operator, 1);
        case '!':
            if (peek(1) == u'=' || peek(1) == u'~')
                return symbol(Token::Kind::Operator, 2);
            return symbol(Token::Kind::Bang, 1);
        case '<':
        case '>':
            return symbol(Token::Kind::Operator, peek(1) == u'=' ? 2 : 1);
        case '&':
            return symbol(Token::Kind::And, peek(1) == u'&' ? 2 : 1);
        case '|':
            return symbol(Token::Kind::Or, peek(1) == u'|' ? 2 : 1);
        case '"':
        case '\'':
            token->kind = Token::Kind::String;
            return quoted(token);
        default:
            token->kind = Token::Kind::Word;
            return word(token);
        }
    }

    bool quoted(Token *token)
    {
        const QChar quote = peek();
        step();
        QString value;
        for (;;) {
            if (!more()) {
                // Shown on one line, as Jira shows it.
                QString shown = value;
                shown.replace(u'\n', u' ').replace(u'\r', u' ');
                return fail(shown.isEmpty() ? u"The quoted string has not been completed."_s
                                            : u"The quoted string '"_s + shown + u"' has not been completed."_s,
                            token->line, token->column);
            }
            const QChar c = peek();
            if (c == quote) {
                step();
                break;
            }
            if (c == u'\\') {
                if (!escape(&value))
                    return false;
                continue;
            }
            if (mustBeEscaped(c))
                return unescaped(c);
            value += c;
            step();
        }
        token->text = value;
        return true;
    }

    bool word(Token *token)
    {
        QString value;
        while (more() && !endsWord(peek())) {
            const QChar c = peek();
            if (c == u'[' && value.compare("cf"_L1, Qt::CaseInsensitive) == 0)
                return customField(token);
            if (isReserved(c)) {
                return fail(u"The character '"_s + c +
                                u"' is a reserved JQL character. You must enclose it in a "
                                "string or use the escape '"_s +
                                escapeOf(c) + u"' instead."_s,
                            m_line, m_column);
            }
            if (mustBeEscaped(c))
                return unescaped(c);
            if (c == u'\\') {
                if (!escape(&value))
                    return false;
                continue;
            }
            value += c;
            step();
        }
        token->text = value;
        return true;
    }

    // Jira names a custom field by its id, cf[10001]: one name, though it holds a reserved character.
    bool customField(Token *token)
    {
        step();
        skipSpaces();
        const QString expectingId = u"Expecting a custom field id (a positive number)"_s;
        if (!more())
            return failAtEnd(expectingId + u" before the end of the query."_s);
        const QString id = nextText();
        static const QRegularExpression digits(u"^[0-9]{1,18}$"_s);
        if (!digits.match(id).hasMatch())
            return fail(expectingId + u" but got '"_s + id + u"'."_s, m_line, m_column);
        for (qsizetype i = 0; i < id.size(); ++i)
            step();
        skipSpaces();
        if (!more())
            return failAtEnd(u"Expecting ']' before the end of the query."_s);
        if (peek() != u']')
            return fail(u"Expecting ']' but got '"_s + nextText() + u"'."_s, m_line, m_column);
        step();
        token->text = u"cf["_s + QString::number(id.toLongLong()) + u']';
        return true;
    }

    bool unescaped(QChar c)
    {
        const QString code = u"%1"_s.arg(uint(c.unicode()), 4, 16, QChar(u'0'));
        return fail(u"The character 'U+%1' on line %2 at position %3 must be escaped. Use the escape '%4' instead."_s
                        .arg(code.toUpper())
                        .arg(m_line)
                        .arg(m_column)
                        .arg(escapeOf(c)),
                    m_line, m_column);
    }

    // A backslash and what follows it, read into `value`.
    bool escape(QString *value)
    {
        const int line = m_line;
        const int column = m_column;
        step();
        if (!more())
            return fail(u"The escape sequence has not been completed. "_s + validEscapes, line, column);
        const QChar c = peek();
        const auto illegal = [&](const QString &sequence) {
            return fail(u"'"_s + sequence + u"' is an illegal JQL escape sequence. "_s + validEscapes, line, column);
        };
        switch (c.unicode()) {
        case '\'':
        case '"':
        case '\\':
        case ' ':
            *value += c;
            break;
        case 't':
            *value += u'\t';
            break;
        case 'n':
            *value += u'\n';
            break;
        case 'r':
            *value += u'\r';
            break;
        case 'u': {
            QString sequence = u"\\u"_s;
            step();
            for (int i = 0; i < 4; ++i) {
                if (!more())
                    return illegal(sequence);
                const QChar digit = peek();
                sequence += digit;
                if (!isHexDigit(digit))
                    return illegal(sequence);
                step();
            }
            *value += QChar(char16_t(sequence.mid(2).toUShort(nullptr, 16)));
            return true;
        }
        default:
            return illegal(u"\\"_s + c);
        }
        step();
        return true;
    }

    const QString &m_text;
    qsizetype m_at = 0;
    int m_line = 1;
    int m_column = 1;
    std::optional<QString> m_error;
};

struct WrittenSortKey
{
    QString field;
    bool descending = false;
};

class Parser
{
public:
    Parser(const QString &text, QList<Token> tokens)
        : m_text(text)
        , m_tokens(std::move(tokens))
    { }

    // The query's condition (none when it has none) and its ORDER BY.
    bool run(std::optional<Node> *condition, QList<WrittenSortKey> *order)
    {
        if (!atEnd() && !isKeyword(current(), "order"_L1)) {
            Node node;
            if (!parseOr(&node, 0))
                return false;
            *condition = std::move(node);
            if (!atEnd() && !isKeyword(current(), "order"_L1))
                return expectingAndOr();
        }
        if (isKeyword(current(), "order"_L1))
            return parseOrder(order);
        return true;
    }

    [[nodiscard]] QString error() const { return m_error; }

private:
    [[nodiscard]] const Token &current() const { return m_tokens.at(m_at); }
    [[nodiscard]] bool atEnd() const { return current().kind == Token::Kind::End; }
    void advance()
    {
        if (!atEnd())
            ++m_at;
    }

    static bool isKeyword(const Token &token, QLatin1StringView keyword)
    {
        return token.kind == Token::Kind::Word && token.written.compare(keyword, Qt::CaseInsensitive) == 0;
    }

    static bool isAnyKeyword(const Token &token)
    {
        for (const auto keyword : {"and"_L1, "or"_L1, "not"_L1, "in"_L1, "is"_L1, "empty"_L1, "null"_L1, "order"_L1,
                                   "by"_L1, "asc"_L1, "desc"_L1}) {
            if (isKeyword(token, keyword))
                return true;
        }
        return false;
    }

    // A field's or a value's name: a word that is no keyword, or a quoted string.
    static bool isName(const Token &token)
    {
        return token.kind == Token::Kind::String || (token.kind == Token::Kind::Word && !isAnyKeyword(token));
    }

    bool fail(const QString &message)
    {
        m_error = syntaxPrefix + message;
        return false;
    }

    bool failAt(const QString &message, const Token &token) { return fail(message + where(token.line, token.column)); }

    bool got(const QString &expecting)
    {
        return failAt(expecting + u" but got '"_s + current().written + u"'."_s, current());
    }

    // For a keyword or a sign where a name or value belongs: Jira's hint to quote it.
    bool gotUnquoted(const QString &expecting, const QString &use)
    {
        const QString seen = current().written;
        return failAt(expecting + u" but got '"_s + seen + u"'. You must surround '"_s + seen +
                          u"' in quotation marks to use it as "_s + use + u"."_s,
                      current());
    }

    bool expectingAndOr() { return got(u"Expecting either 'OR' or 'AND'"_s); }

    bool tooDeep()
    {
        return failAt(
            u"The query is nested more than %1 levels deep (parentheses, NOT and lists)."_s.arg(FakeJql::maxDepth),
            current());
    }

    bool parseOr(Node *out, int depth) { return parseChain(out, depth, Node::Kind::Or); }

    // OR over ANDs, AND over NOTs: a chain of any length is one node, so that only nesting deepens the tree.
    bool parseChain(Node *out, int depth, Node::Kind kind)
    {
        const auto parseItem = [&](Node *item) {
            return kind == Node::Kind::Or ? parseChain(item, depth, Node::Kind::And) : parseNot(item, depth);
        };
        const auto atJoin = [&] {
            const Token &token = current();
            return kind == Node::Kind::Or ? token.kind == Token::Kind::Or || isKeyword(token, "or"_L1)
                                          : token.kind == Token::Kind::And || isKeyword(token, "and"_L1);
        };
        Node first;
        if (!parseItem(&first))
            return false;
        if (!atJoin()) {
            *out = std::move(first);
            return true;
        }
        out->kind = kind;
        out->children.push_back(std::move(first));
        while (atJoin()) {
            advance();
            Node item;
            if (!parseItem(&item))
                return false;
            out->children.push_back(std::move(item));
        }
        return true;
    }

    bool parseNot(Node *out, int depth)
    {
        if (current().kind == Token::Kind::Bang || isKeyword(current(), "not"_L1)) {
            if (depth >= FakeJql::maxDepth)
                return tooDeep();
            advance();
            Node inner;
            if (!parseNot(&inner, depth + 1))
                return false;
            out->kind = Node::Kind::Not;
            out->children.push_back(std::move(inner));
            return true;
        }
        if (current().kind == Token::Kind::LeftParen) {
            if (depth >= FakeJql::maxDepth)
                return tooDeep();
            advance();
            if (!parseOr(out, depth + 1))
                return false;
            if (current().kind == Token::Kind::RightParen) {
                advance();
                return true;
            }
            if (atEnd())
                return fail(u"Expecting ')' before the end of the query."_s);
            return expectingAndOr();
        }
        return parseClause(out, depth);
    }

    bool parseClause(Node *out, int depth)
    {
        const Token field = current();
        if (atEnd())
            return fail(u"Expecting a field name at the end of the query."_s);
        if (field.kind == Token::Kind::String && field.text.isEmpty())
            return failAt(u"A field name cannot be empty."_s, field);
        if (!isName(field))
            return gotUnquoted(u"Expecting a field name"_s, u"a field name"_s);
        advance();
        out->kind = Node::Kind::Clause;
        out->fieldName = field.text;
        return parseOperator(&out->op) && parseOperand(&out->operand, depth);
    }

    bool parseOperator(Op *op)
    {
        const Token token = current();
        if (atEnd())
            return fail(u"Expecting operator before the end of the query. "_s + validOperators);
        if (token.kind == Token::Kind::Operator) {
            const std::pair<QLatin1StringView, Op> operators[] {
                {"="_L1, Op::Equals},       {"!="_L1, Op::NotEquals},
                {"~"_L1, Op::Like},         {"!~"_L1, Op::NotLike},
                {"<"_L1, Op::Less},         {">"_L1, Op::Greater},
                {"<="_L1, Op::LessOrEqual}, {">="_L1, Op::GreaterOrEqual},
            };
            for (const auto &[text, which] : operators) {
                if (token.text == text)
                    *op = which;
            }
            advance();
            return true;
        }
        if (isKeyword(token, "in"_L1)) {
            *op = Op::In;
            advance();
            return true;
        }
        if (isKeyword(token, "not"_L1)) {
            advance();
            if (isKeyword(current(), "in"_L1)) {
                *op = Op::NotIn;
                advance();
                return true;
            }
            if (atEnd())
                return fail(u"Expecting 'IN' before the end of the query."_s);
            return got(u"Expecting 'IN'"_s);
        }
        if (isKeyword(token, "is"_L1)) {
            advance();
            if (isKeyword(current(), "not"_L1)) {
                *op = Op::IsNot;
                advance();
                return true;
            }
            if (current().kind == Token::Kind::Bang)
                return got(u"Expecting 'NOT'"_s);
            *op = Op::Is;
            return true;
        }
        return failAt(u"Expecting operator but got '"_s + token.written + u"'. "_s + validOperators, token);
    }

    // A value, EMPTY, a function or a list of these (lists may hold lists, as in Jira).
    bool parseOperand(Operand *out, int depth)
    {
        const Token first = current();
        if (atEnd())
            return fail(u"Expecting either a value, list or function before the end of the query."_s);
        if (first.kind == Token::Kind::LeftParen) {
            if (depth >= FakeJql::maxDepth)
                return tooDeep();
            advance();
            out->kind = Operand::Kind::List;
            for (;;) {
                Operand item;
                if (!parseOperand(&item, depth + 1))
                    return false;
                out->items.push_back(std::move(item));
                if (current().kind == Token::Kind::Comma) {
                    advance();
                    continue;
                }
                if (current().kind == Token::Kind::RightParen) {
                    advance();
                    break;
                }
                if (atEnd())
                    return fail(u"Expecting ')' before the end of the query."_s);
                return got(u"Expecting ')'"_s);
            }
        } else if (isKeyword(first, "empty"_L1) || isKeyword(first, "null"_L1)) {
            out->kind = Operand::Kind::Empty;
            advance();
        } else if (isName(first)) {
            advance();
            out->text = first.text;
            if (current().kind == Token::Kind::LeftParen) {
                if (first.kind == Token::Kind::String && first.text.isEmpty())
                    return failAt(u"A function name cannot be empty."_s, first);
                out->kind = Operand::Kind::Function;
                if (!parseArguments(&out->arguments))
                    return false;
            }
        } else {
            return gotUnquoted(u"Expecting either a value, list or function"_s, u"a value"_s);
        }
        out->written = m_text.mid(first.start, m_tokens.at(m_at - 1).end - first.start);
        return true;
    }

    // From the '(' after a function's name to its ')': the arguments are only counted, as no function
    // here takes any.
    bool parseArguments(int *count)
    {
        advance();
        if (current().kind == Token::Kind::RightParen) {
            advance();
            return true;
        }
        if (atEnd())
            return fail(u"Expecting ')' before the end of the query."_s);
        if (current().kind == Token::Kind::Comma)
            return got(u"Expecting ')'"_s);
        for (;;) {
            const Token argument = current();
            if (atEnd())
                return fail(u"Expecting a function argument at the end of the query."_s);
            if (argument.kind == Token::Kind::Comma || argument.kind == Token::Kind::RightParen)
                return failAt(u"Function argument must be specified."_s, argument);
            if (argument.kind != Token::Kind::Word && argument.kind != Token::Kind::String)
                return gotUnquoted(u"Expecting a function argument"_s, u"an argument"_s);
            ++*count;
            advance();
            if (current().kind == Token::Kind::Comma) {
                advance();
                continue;
            }
            if (current().kind == Token::Kind::RightParen) {
                advance();
                return true;
            }
            if (atEnd())
                return fail(u"Expecting ')' before the end of the query."_s);
            return got(u"Expecting ')' or ','"_s);
        }
    }

    bool parseOrder(QList<WrittenSortKey> *order)
    {
        advance();
        if (atEnd())
            return fail(u"Expecting 'by' before the end of the query."_s);
        if (!isKeyword(current(), "by"_L1))
            return got(u"Expecting 'by'"_s);
        advance();
        for (;;) {
            const Token field = current();
            if (atEnd())
                return fail(u"Expecting a field name at the end of the query."_s);
            if (field.kind == Token::Kind::String && field.text.isEmpty())
                return failAt(u"A field name cannot be empty."_s, field);
            if (!isName(field))
                return gotUnquoted(u"Expecting a field name"_s, u"a field name"_s);
            advance();
            WrittenSortKey key {field.text, false};
            const bool directed = isKeyword(current(), "asc"_L1) || isKeyword(current(), "desc"_L1);
            if (directed) {
                key.descending = isKeyword(current(), "desc"_L1);
                advance();
            }
            order->append(key);
            if (atEnd())
                return true;
            if (current().kind != Token::Kind::Comma)
                return got(directed ? u"Expecting ','"_s : u"Expecting either 'ASC' or 'DESC'"_s);
            advance();
        }
    }

    const QString &m_text;
    QList<Token> m_tokens;
    qsizetype m_at = 0;
    QString m_error;
};

const std::pair<QLatin1StringView, Field> fieldNames[] {
    {"assignee"_L1, Field::Assignee},
    {"reporter"_L1, Field::Reporter},
    {"status"_L1, Field::Status},
    {"statusCategory"_L1, Field::StatusCategory},
    {"project"_L1, Field::Project},
    {"resolution"_L1, Field::Resolution},
    {"key"_L1, Field::Key},
    {"issuekey"_L1, Field::Key},
    {"text"_L1, Field::Text},
    {"summary"_L1, Field::Summary},
    {"description"_L1, Field::Description},
    {"watcher"_L1, Field::Watcher},
};

Field fieldOf(const QString &name)
{
    for (const auto &[known, field] : fieldNames) {
        if (name.compare(known, Qt::CaseInsensitive) == 0)
            return field;
    }
    return Field::Unknown;
}

QString operatorText(Op op)
{
    switch (op) {
    case Op::Equals:
        return u"="_s;
    case Op::NotEquals:
        return u"!="_s;
    case Op::Like:
        return u"~"_s;
    case Op::NotLike:
        return u"!~"_s;
    case Op::Less:
        return u"<"_s;
    case Op::Greater:
        return u">"_s;
    case Op::LessOrEqual:
        return u"<="_s;
    case Op::GreaterOrEqual:
        return u">="_s;
    case Op::In:
        return u"in"_s;
    case Op::NotIn:
        return u"not in"_s;
    case Op::Is:
        return u"is"_s;
    case Op::IsNot:
        return u"is not"_s;
    }
    return {};
}

bool isTextField(Field field)
{
    return field == Field::Text || field == Field::Summary || field == Field::Description;
}

bool supports(Field field, Op op)
{
    switch (field) {
    case Field::Text:
        return op == Op::Like;
    case Field::Summary:
    case Field::Description:
        return op == Op::Like || op == Op::NotLike || op == Op::Is || op == Op::IsNot;
    case Field::Unknown:
        return false;
    default:
        return op == Op::Equals || op == Op::NotEquals || op == Op::In || op == Op::NotIn || op == Op::Is ||
            op == Op::IsNot;
    }
}

// Fields that can be empty: an issue may have no assignee, no reporter, no resolution, no description.
bool canBeEmpty(Field field)
{
    return field == Field::Assignee || field == Field::Reporter || field == Field::Resolution ||
        field == Field::Summary || field == Field::Description;
}

template<typename Visit> void forEachLeaf(const Operand &operand, const Visit &visit)
{
    if (operand.kind != Operand::Kind::List) {
        visit(operand);
        return;
    }
    for (const Operand &item : operand.items)
        forEachLeaf(item, visit);
}

QString folded(const QJsonValue &value)
{
    return value.toString().toCaseFolded();
}

// Checks what the clauses name against the catalog, and turns the names into what the issues hold.
class Checker
{
public:
    explicit Checker(const FakeJqlCatalog &catalog)
        : m_catalog(catalog)
    {
        // Jira's four categories, also when no status of the data uses one.
        m_categories = {
            QJsonObject {{u"id"_s, 1}, {u"key"_s, u"undefined"_s}, {u"name"_s, u"No Category"_s}},
            QJsonObject {{u"id"_s, 2}, {u"key"_s, u"new"_s}, {u"name"_s, u"To Do"_s}},
            QJsonObject {{u"id"_s, 4}, {u"key"_s, u"indeterminate"_s}, {u"name"_s, u"In Progress"_s}},
            QJsonObject {{u"id"_s, 3}, {u"key"_s, u"done"_s}, {u"name"_s, u"Done"_s}},
        };
        for (const QJsonObject &status : catalog.statuses)
            m_categories.append(status.value("statusCategory"_L1).toObject());
    }

    void check(Node &node, QStringList *errors) const
    {
        if (node.kind != Node::Kind::Clause) {
            for (Node &child : node.children)
                check(child, errors);
            return;
        }
        checkClause(node, errors);
    }

    [[nodiscard]] std::optional<FakeJql::SortKey> sortKey(const WrittenSortKey &written, QStringList *errors) const
    {
        using Sorted = FakeJql::SortKey::Field;
        const QString name = written.field;
        if (name.compare("updated"_L1, Qt::CaseInsensitive) == 0)
            return FakeJql::SortKey {Sorted::Updated, written.descending};
        if (name.compare("created"_L1, Qt::CaseInsensitive) == 0)
            return FakeJql::SortKey {Sorted::Created, written.descending};
        const std::pair<Field, Sorted> sortable[] {
            {Field::Key, Sorted::Key},           {Field::Summary, Sorted::Summary},
            {Field::Assignee, Sorted::Assignee}, {Field::Reporter, Sorted::Reporter},
            {Field::Status, Sorted::Status},     {Field::StatusCategory, Sorted::StatusCategory},
            {Field::Project, Sorted::Project},   {Field::Resolution, Sorted::Resolution},
        };
        const Field field = fieldOf(name);
        for (const auto &[from, to] : sortable) {
            if (field == from)
                return FakeJql::SortKey {to, written.descending};
        }
        if (field == Field::Unknown)
            add(errors, doesNotExist(name));
        else
            add(errors, u"Field '"_s + name + u"' does not support sorting."_s);
        return std::nullopt;
    }

private:
    static void add(QStringList *errors, const QString &message)
    {
        if (!errors->contains(message))
            errors->append(message);
    }

    static QString doesNotExist(const QString &field)
    {
        return u"Field '"_s + field + u"' does not exist or you do not have permission to view it."_s;
    }

    void checkClause(Node &node, QStringList *errors) const
    {
        const QString &name = node.fieldName;
        node.field = fieldOf(name);
        if (node.field == Field::Unknown) {
            add(errors, doesNotExist(name));
            return;
        }
        bool functionsKnown = true;
        forEachLeaf(node.operand, [&](const Operand &leaf) {
            if (leaf.kind != Operand::Kind::Function)
                return;
            if (leaf.text.compare("currentUser"_L1, Qt::CaseInsensitive) != 0) {
                add(errors, u"Unable to find JQL function '"_s + leaf.text + u"()'."_s);
                functionsKnown = false;
            } else if (leaf.arguments > 0) {
                add(errors, u"Function 'currentUser' expected '0' arguments but received '%1'."_s.arg(leaf.arguments));
                functionsKnown = false;
            }
        });
        if (!functionsKnown)
            return;
        const Op op = node.op;
        if (!supports(node.field, op)) {
            add(errors,
                u"The operator '"_s + operatorText(op) + u"' is not supported by the '"_s + name + u"' field."_s);
            return;
        }
        const bool list = node.operand.kind == Operand::Kind::List;
        if ((op == Op::In || op == Op::NotIn) && !list) {
            add(errors,
                u"Operator '"_s + operatorText(op) + u"' does not support the non-list value '"_s +
                    node.operand.written + u"' for field '"_s + name + u"'."_s);
            return;
        }
        if (op != Op::In && op != Op::NotIn && list) {
            add(errors,
                u"Operator '"_s + operatorText(op) + u"' does not support the list value '"_s + node.operand.written +
                    u"' for field '"_s + name + u"'."_s);
            return;
        }
        if ((op == Op::Is || op == Op::IsNot) && node.operand.kind != Operand::Kind::Empty) {
            add(errors, u"The operator '"_s + operatorText(op) + u"' only supports searching for EMPTY values."_s);
            return;
        }
        node.negative = op == Op::NotEquals || op == Op::NotIn || op == Op::IsNot || op == Op::NotLike;
        forEachLeaf(node.operand, [&](const Operand &leaf) { checkValue(node, leaf, errors); });
    }

    void checkValue(Node &node, const Operand &leaf, QStringList *errors) const
    {
        const QString &name = node.fieldName;
        const bool text = isTextField(node.field);
        if (leaf.kind == Operand::Kind::Empty) {
            // The text fields take EMPTY only with IS: "~ EMPTY" would be a search for nothing.
            if (canBeEmpty(node.field) && (!text || node.op == Op::Is || node.op == Op::IsNot))
                node.matchesEmpty = true;
            else
                add(errors, u"The field '"_s + name + u"' does not support searching for EMPTY values."_s);
            return;
        }
        // A watcher names the issues that person watches: the clause is one on their keys.
        if (node.field == Field::Watcher) {
            const QStringList people = leaf.kind == Operand::Kind::Function
                ? QStringList {m_catalog.currentUser.toCaseFolded()}
                : resolve(Field::Assignee, leaf.text);
            if (people.isEmpty())
                add(errors, u"The value '"_s + leaf.text + u"' does not exist for the field '"_s + name + u"'."_s);
            for (auto it = m_catalog.watchers.cbegin(); it != m_catalog.watchers.cend(); ++it) {
                for (const QString &watcher : it.value())
                    if (people.contains(watcher.toCaseFolded()))
                        node.values.insert(it.key().toCaseFolded());
            }
            return;
        }
        if (leaf.kind == Operand::Kind::Function) {
            if (node.field == Field::Assignee || node.field == Field::Reporter)
                node.values.insert(m_catalog.currentUser.toCaseFolded());
            else
                add(errors,
                    u"A value provided by the function 'currentUser' is invalid for the field '"_s + name + u"'."_s);
            return;
        }
        const QString value = leaf.text;
        if (text) {
            node.words = value.toCaseFolded().split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts);
            if (node.words.isEmpty())
                add(errors, u"The field '"_s + name + u"' does not support searching for an empty string."_s);
            return;
        }
        if (node.field == Field::Resolution && value.compare("Unresolved"_L1, Qt::CaseInsensitive) == 0) {
            node.matchesEmpty = true;
            return;
        }
        const QStringList found = resolve(node.field, value);
        if (!found.isEmpty()) {
            for (const QString &identity : found)
                node.values.insert(identity);
        } else if (node.field == Field::Key) {
            add(errors, u"An issue with key '"_s + value + u"' does not exist for field '"_s + name + u"'."_s);
        } else {
            add(errors, u"The value '"_s + value + u"' does not exist for the field '"_s + name + u"'."_s);
        }
    }

    // What a value names, the way the issues hold it (case-folded); nothing for an unknown value.
    [[nodiscard]] QStringList resolve(Field field, const QString &value) const
    {
        const QString wanted = value.toCaseFolded();
        const auto is = [&wanted](const QJsonValue &own) {
            return (own.isString() && own.toString().toCaseFolded() == wanted) ||
                (own.isDouble() && QString::number(own.toInteger()) == wanted);
        };
        QStringList found;
        const auto take = [&found](const QString &identity) {
            if (!identity.isEmpty() && !found.contains(identity))
                found.append(identity);
        };
        switch (field) {
        case Field::Assignee:
        case Field::Reporter:
            // Jira finds a person by login name, key, e-mail address or full name.
            for (const QJsonObject &user : m_catalog.users) {
                if (is(user.value("name"_L1)) || is(user.value("key"_L1)) || is(user.value("emailAddress"_L1)) ||
                    is(user.value("displayName"_L1)))
                    take(folded(user.value("name"_L1)));
            }
            break;
        case Field::Status:
            for (const QJsonObject &status : m_catalog.statuses) {
                if (is(status.value("name"_L1)) || is(status.value("id"_L1)))
                    take(folded(status.value("name"_L1)));
            }
            break;
        case Field::StatusCategory:
            for (const QJsonObject &category : m_categories) {
                if (is(category.value("key"_L1)) || is(category.value("name"_L1)) || is(category.value("id"_L1)))
                    take(folded(category.value("key"_L1)));
            }
            break;
        case Field::Project:
            for (const QJsonObject &project : m_catalog.projects) {
                if (is(project.value("key"_L1)) || is(project.value("name"_L1)) || is(project.value("id"_L1)))
                    take(folded(project.value("key"_L1)));
            }
            break;
        case Field::Resolution:
            for (const QString &resolution : m_catalog.resolutions) {
                if (is(resolution))
                    take(resolution.toCaseFolded());
            }
            break;
        case Field::Key:
            for (const QString &key : m_catalog.issueKeys) {
                if (is(key))
                    take(key.toCaseFolded());
            }
            break;
        default:
            break;
        }
        return found;
    }

    const FakeJqlCatalog &m_catalog;
    QList<QJsonObject> m_categories;
};

// What an issue holds for a field that is not text, the way Checker::resolve names it; empty when it holds
// nothing.
QString identityOf(Field field, const QJsonObject &issue)
{
    const QJsonObject fields = issue.value("fields"_L1).toObject();
    switch (field) {
    case Field::Assignee:
        return folded(fields.value("assignee"_L1).toObject().value("name"_L1));
    case Field::Reporter:
        return folded(fields.value("reporter"_L1).toObject().value("name"_L1));
    case Field::Status:
        return folded(fields.value("status"_L1).toObject().value("name"_L1));
    case Field::StatusCategory:
        return folded(fields.value("status"_L1).toObject().value("statusCategory"_L1).toObject().value("key"_L1));
    case Field::Project:
        return folded(fields.value("project"_L1).toObject().value("key"_L1));
    case Field::Resolution: {
        // Any resolution at all makes the issue resolved, also one the data names oddly.
        const QJsonValue resolution = fields.value("resolution"_L1);
        if (resolution.isString())
            return resolution.toString().isEmpty() ? QString() : folded(resolution);
        if (!resolution.isObject())
            return {};
        const QJsonObject object = resolution.toObject();
        for (const auto key : {"name"_L1, "id"_L1}) {
            if (object.value(key).isString() && !object.value(key).toString().isEmpty())
                return folded(object.value(key));
        }
        return u"\u0001"_s;
    }
    case Field::Key:
    case Field::Watcher: // the keys of the issues watched
        return folded(issue.value("key"_L1));
    default:
        return {};
    }
}

QString textOf(Field field, const QJsonObject &issue)
{
    const QJsonObject fields = issue.value("fields"_L1).toObject();
    const QString summary = fields.value("summary"_L1).toString();
    const QString description = fields.value("description"_L1).toString();
    switch (field) {
    case Field::Summary:
        return summary;
    case Field::Description:
        return description;
    default:
        return summary + u'\n' + description;
    }
}

bool clauseMatches(const Node &node, const QJsonObject &issue, bool negative)
{
    bool empty = false;
    bool hit = false;
    if (isTextField(node.field)) {
        const QString text = textOf(node.field, issue);
        empty = text.trimmed().isEmpty();
        const QString haystack = text.toCaseFolded();
        hit = !node.words.isEmpty() &&
            std::all_of(node.words.begin(), node.words.end(),
                        [&haystack](const QString &word) { return haystack.contains(word); });
    } else {
        const QString identity = identityOf(node.field, issue);
        empty = identity.isEmpty();
        hit = node.values.contains(identity);
    }
    // As in Jira, a negative clause never matches an empty field: "assignee != x" leaves out the unassigned.
    if (negative)
        return !empty && !hit;
    return empty ? node.matchesEmpty : hit;
}

// NOT is carried down to the clauses, turning their operators around, the way Jira reads it.
bool evaluate(const Node &node, const QJsonObject &issue, bool negated)
{
    const auto any = [&](bool childNegated) {
        return std::any_of(node.children.begin(), node.children.end(),
                           [&](const Node &child) { return evaluate(child, issue, childNegated); });
    };
    const auto all = [&](bool childNegated) {
        return std::all_of(node.children.begin(), node.children.end(),
                           [&](const Node &child) { return evaluate(child, issue, childNegated); });
    };
    switch (node.kind) {
    case Node::Kind::And:
        return negated ? any(true) : all(false);
    case Node::Kind::Or:
        return negated ? all(true) : any(false);
    case Node::Kind::Not:
        return evaluate(node.children.front(), issue, !negated);
    case Node::Kind::Clause:
        return clauseMatches(node, issue, node.negative != negated);
    }
    return false;
}

// "2026-12-05T16:42:00.000+0000" (any offset) in milliseconds since the epoch.
std::optional<qint64> momentOf(const QJsonValue &value)
{
    static const QRegularExpression pattern(
        u"^([0-9]{4})-([0-9]{2})-([0-9]{2})T([0-9]{2}):([0-9]{2}):([0-9]{2})(?:\\.([0-9]{3}))?([+-])([0-9]{2}):?([0-9]{2})$"_s);
    const QRegularExpressionMatch match = pattern.match(value.toString());
    if (!match.hasMatch())
        return std::nullopt;
    const auto number = [&match](int group) { return match.captured(group).toInt(); };
    const QDate date(number(1), number(2), number(3));
    const QTime time(number(4), number(5), number(6), number(7));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    const int offset = (match.captured(8) == "-"_L1 ? -1 : 1) * (number(9) * 3600 + number(10) * 60);
    return QDateTime(date, time, Qt::OffsetFromUTC, offset).toMSecsSinceEpoch();
}

struct SortValue
{
    bool empty = true;
    QString text;
    qint64 number = 0;
};

SortValue sortValueOf(FakeJql::SortKey::Field field, const QJsonObject &issue)
{
    using Sorted = FakeJql::SortKey::Field;
    const QJsonObject fields = issue.value("fields"_L1).toObject();
    SortValue value;
    const auto byText = [&value](const QString &text) {
        value.empty = text.isEmpty();
        value.text = text.toCaseFolded();
        return value;
    };
    switch (field) {
    case Sorted::Updated:
    case Sorted::Created: {
        const std::optional<qint64> moment =
            momentOf(fields.value(field == Sorted::Updated ? "updated"_L1 : "created"_L1));
        value.empty = !moment;
        value.number = moment.value_or(0);
        return value;
    }
    case Sorted::Key: {
        // PLAT-9 before PLAT-10: the project, then the number.
        const QString key = issue.value("key"_L1).toString();
        const qsizetype dash = key.lastIndexOf(u'-');
        value.empty = key.isEmpty();
        value.text = key.left(dash).toCaseFolded();
        value.number = key.mid(dash + 1).toLongLong();
        return value;
    }
    case Sorted::Summary:
        return byText(fields.value("summary"_L1).toString());
    case Sorted::Assignee:
        return byText(fields.value("assignee"_L1).toObject().value("displayName"_L1).toString());
    case Sorted::Reporter:
        return byText(fields.value("reporter"_L1).toObject().value("displayName"_L1).toString());
    case Sorted::Status:
        return byText(fields.value("status"_L1).toObject().value("name"_L1).toString());
    case Sorted::StatusCategory:
        return byText(
            fields.value("status"_L1).toObject().value("statusCategory"_L1).toObject().value("name"_L1).toString());
    case Sorted::Project:
        return byText(fields.value("project"_L1).toObject().value("name"_L1).toString());
    case Sorted::Resolution:
        return byText(fields.value("resolution"_L1).toObject().value("name"_L1).toString());
    }
    return value;
}

// Empty values after all others going up, before them going down.
int compare(const SortValue &a, const SortValue &b)
{
    if (a.empty || b.empty)
        return a.empty == b.empty ? 0 : (a.empty ? 1 : -1);
    if (const int byText = a.text.compare(b.text); byText != 0)
        return byText;
    return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
}

} // namespace

std::optional<FakeJql> FakeJql::parse(const QString &text, const FakeJqlCatalog &catalog, QStringList *errors)
{
    errors->clear();
    if (text.size() > maxLength) {
        errors->append(syntaxPrefix +
                       u"The query is %1 characters long; at most %2 are read."_s.arg(text.size()).arg(maxLength));
        return std::nullopt;
    }
    QString error;
    std::optional<QList<Token>> tokens = Lexer(text).run(&error);
    if (!tokens) {
        errors->append(error);
        return std::nullopt;
    }
    Parser parser(text, std::move(*tokens));
    std::optional<Node> condition;
    QList<WrittenSortKey> order;
    if (!parser.run(&condition, &order)) {
        errors->append(parser.error());
        return std::nullopt;
    }

    const Checker checker(catalog);
    if (condition)
        checker.check(*condition, errors);
    FakeJql query;
    for (const WrittenSortKey &written : std::as_const(order)) {
        if (const std::optional<SortKey> key = checker.sortKey(written, errors))
            query.m_order.append(*key);
    }
    if (!errors->isEmpty())
        return std::nullopt;
    if (condition)
        query.m_where = std::make_shared<const Node>(std::move(*condition));
    return query;
}

bool FakeJql::matches(const QJsonObject &issue) const
{
    return !m_where || evaluate(*m_where, issue, false);
}

void FakeJql::sort(QList<QJsonObject> &issues) const
{
    if (m_order.isEmpty())
        return;
    // Each issue's values once, rather than once for every comparison.
    std::vector<std::pair<QList<SortValue>, QJsonObject>> keyed;
    keyed.reserve(size_t(issues.size()));
    for (QJsonObject &issue : issues) {
        QList<SortValue> values;
        for (const SortKey &key : m_order)
            values.append(sortValueOf(key.field, issue));
        keyed.emplace_back(std::move(values), std::move(issue));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [this](const auto &a, const auto &b) {
        for (qsizetype i = 0; i < m_order.size(); ++i) {
            const int order = compare(a.first.at(i), b.first.at(i));
            if (order != 0)
                return m_order.at(i).descending ? order > 0 : order < 0;
        }
        return false;
    });
    issues.clear();
    for (auto &[values, issue] : keyed)
        issues.append(std::move(issue));
}

#include "SqlTokens.h"

#include "runtime/RuntimeError.h"

#include <QSet>

namespace data::sql {

void syntaxError(const QString& description) {
    throw runtime::RuntimeError(runtime::err::DatabaseError, description);
}

SqlToken word(const QString& text) {
    return {SqlToken::Word, text};
}
SqlToken symbol(const QString& text) {
    return {SqlToken::Symbol, text};
}

bool isWord(const SqlToken& t, QLatin1String w) {
    return t.kind == SqlToken::Word && t.text.compare(w, Qt::CaseInsensitive) == 0;
}
bool isSymbol(const SqlToken& t, QLatin1String s) {
    return t.kind == SqlToken::Symbol && t.text == s;
}
bool isName(const SqlToken& t) {
    return t.kind == SqlToken::Word || t.kind == SqlToken::Quoted;
}

bool isComparison(const SqlToken& t) {
    static const QSet<QString> ops = {QStringLiteral("="), QStringLiteral("<>"), QStringLiteral("<"),
                                      QStringLiteral(">"), QStringLiteral("<="), QStringLiteral(">="),
                                      QStringLiteral("!=")};
    return (t.kind == SqlToken::Symbol && ops.contains(t.text)) || isWord(t, QLatin1String("like"));
}

bool isKeyword(const SqlToken& t) {
    static const QSet<QString> keywords = {
        QStringLiteral("select"),     QStringLiteral("from"),  QStringLiteral("where"),
        QStringLiteral("group"),      QStringLiteral("order"), QStringLiteral("by"),
        QStringLiteral("having"),     QStringLiteral("as"),    QStringLiteral("and"),
        QStringLiteral("or"),         QStringLiteral("not"),   QStringLiteral("on"),
        QStringLiteral("union"),      QStringLiteral("join"),  QStringLiteral("left"),
        QStringLiteral("right"),      QStringLiteral("inner"), QStringLiteral("outer"),
        QStringLiteral("between"),    QStringLiteral("in"),    QStringLiteral("is"),
        QStringLiteral("like"),       QStringLiteral("when"),  QStringLiteral("then"),
        QStringLiteral("else"),       QStringLiteral("end"),   QStringLiteral("case"),
        QStringLiteral("distinct"),   QStringLiteral("all"),   QStringLiteral("into"),
        QStringLiteral("values"),     QStringLiteral("set"),   QStringLiteral("asc"),
        QStringLiteral("desc"),       QStringLiteral("null"),  QStringLiteral("top"),
        QStringLiteral("distinctrow")};
    return t.kind == SqlToken::Word && keywords.contains(t.text.toLower());
}

bool isCall(const Tokens& t, int i) {
    return t[i].kind == SqlToken::Word && !isKeyword(t[i]) && i + 1 < t.size() &&
           isSymbol(t[i + 1], QLatin1String("(")) &&
           !(i > 0 && (isSymbol(t[i - 1], QLatin1String(".")) || isWord(t[i - 1], QLatin1String("into"))));
}

int matchingParen(const Tokens& t, int at) {
    const int step = isSymbol(t[at], QLatin1String(")")) ? -1 : 1;
    const QLatin1String opens = step > 0 ? QLatin1String("(") : QLatin1String(")");
    const QLatin1String closes = step > 0 ? QLatin1String(")") : QLatin1String("(");
    int depth = 0;
    for (int i = at; i >= 0 && i < t.size(); i += step) {
        if (isSymbol(t[i], opens))
            ++depth;
        else if (isSymbol(t[i], closes) && --depth == 0)
            return i;
    }
    return -1;
}

int operandBegin(const Tokens& t, int end) {
    if (end < 0) return -1;
    int b = end;
    if (isSymbol(t[b], QLatin1String(")"))) {
        b = matchingParen(t, b);
        if (b > 0 && t[b - 1].kind == SqlToken::Word && !isKeyword(t[b - 1])) --b;
        return b;
    }
    while (b >= 2 && isSymbol(t[b - 1], QLatin1String(".")) && isName(t[b - 2]))
        b -= 2;
    return b;
}

int operandEnd(const Tokens& t, int begin) {
    if (begin >= t.size()) return begin;
    if (isSymbol(t[begin], QLatin1String("-")) || isSymbol(t[begin], QLatin1String("+")))
        return operandEnd(t, begin + 1);
    int open = -1;
    if (isSymbol(t[begin], QLatin1String("(")))
        open = begin;
    else if (t[begin].kind == SqlToken::Word && begin + 1 < t.size() &&
             isSymbol(t[begin + 1], QLatin1String("(")))
        open = begin + 1;
    if (open >= 0) {
        const int close = matchingParen(t, open);
        return close < 0 ? int(t.size()) : close + 1;
    }
    int e = begin + 1;
    while (e + 1 < t.size() && isSymbol(t[e], QLatin1String(".")) && isName(t[e + 1]))
        e += 2;
    return e;
}

QVector<Tokens> splitTopLevel(const Tokens& t, int begin, int end, QLatin1String separator) {
    QVector<Tokens> parts(1);
    int depth = 0;
    for (int i = begin; i < end; ++i) {
        if (isSymbol(t[i], QLatin1String("(")))
            ++depth;
        else if (isSymbol(t[i], QLatin1String(")")))
            --depth;
        if (depth == 0 && isSymbol(t[i], separator)) {
            parts.append(Tokens());
            continue;
        }
        parts.last().append(t[i]);
    }
    return parts;
}

Tokens joined(const QVector<Tokens>& parts, const QString& separator) {
    Tokens out;
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0) out.append(symbol(separator));
        out += parts[i];
    }
    return out;
}

Tokens withoutOuterParens(Tokens e) {
    while (e.size() >= 2 && isSymbol(e.first(), QLatin1String("(")) && matchingParen(e, 0) == e.size() - 1)
        e = e.mid(1, e.size() - 2);
    return e;
}

Tokens call(const QString& function, const Tokens& arguments) {
    Tokens out{word(function), symbol(QStringLiteral("("))};
    out += arguments;
    out << symbol(QStringLiteral(")"));
    return out;
}

int depthAfter(const SqlToken& t, int depth) {
    return isSymbol(t, QLatin1String("(")) ? depth + 1 : isSymbol(t, QLatin1String(")")) ? depth - 1 : depth;
}

QVector<Tokens> splitUnions(const Tokens& t, QVector<Tokens>& unions) {
    QVector<Tokens> parts(1);
    int depth = 0;
    for (int i = 0; i < t.size(); ++i) {
        depth = depthAfter(t[i], depth);
        if (depth == 0 && isWord(t[i], QLatin1String("union"))) {
            Tokens u{t[i]};
            if (i + 1 < t.size() && isWord(t[i + 1], QLatin1String("all"))) u.append(t[++i]);
            unions.append(u);
            parts.append(Tokens());
            continue;
        }
        parts.last().append(t[i]);
    }
    return parts;
}

namespace {

bool endsSelectList(const SqlToken& t) {
    static const QLatin1String clauses[] = {QLatin1String("from"), QLatin1String("where"),
                                            QLatin1String("group"), QLatin1String("having"),
                                            QLatin1String("order")};
    for (const QLatin1String& clause : clauses)
        if (isWord(t, clause)) return true;
    return false;
}

} // namespace

SelectList selectList(const Tokens& select) {
    SelectList s;
    int begin = select.isEmpty() || !isWord(select[0], QLatin1String("select")) ? 0 : 1;
    if (begin == 1 && begin < select.size() &&
        (isWord(select[1], QLatin1String("distinct")) || isWord(select[1], QLatin1String("all")) ||
         isWord(select[1], QLatin1String("distinctrow"))))
        ++begin;
    s.head = select.mid(0, begin);
    int end = begin;
    for (int depth = 0; end < select.size(); ++end) {
        if (depth == 0 && endsSelectList(select[end])) break;
        depth = depthAfter(select[end], depth);
    }
    s.items = splitTopLevel(select, begin, end, QLatin1String(","));
    s.tail = select.mid(end);
    return s;
}

namespace {

// Whether the name at i stands where a FROM clause names a table.
bool namesTable(const Tokens& t, int begin, int end, int i) {
    if (!isName(t[i]) || isKeyword(t[i]) || i == begin) return false;
    const SqlToken& prev = t[i - 1];
    if (!(isWord(prev, QLatin1String("from")) || isWord(prev, QLatin1String("join")) ||
          isSymbol(prev, QLatin1String("(")) || isSymbol(prev, QLatin1String(","))))
        return false;
    return !(i + 1 < end && isSymbol(t[i + 1], QLatin1String(".")));
}

} // namespace

Tables fromTables(const Tokens& t, int begin, int end) {
    Tables tables;
    for (int i = begin; i < end; ++i) {
        if (!namesTable(t, begin, end, i)) continue;
        QString alias = t[i].text;
        int next = i + 1;
        if (next < end && isWord(t[next], QLatin1String("as"))) ++next;
        if (next < end && isName(t[next]) && !isKeyword(t[next])) alias = t[next].text;
        tables.insert(t[i].text.toLower(), t[i].text);
        tables.insert(alias.toLower(), t[i].text);
    }
    return tables;
}

} // namespace data::sql

#include "JetSql.h"

#include "JetFunctions.h"
#include "SqlTokens.h"

#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"

#include <QRegularExpression>

#include <optional>

namespace data {

using runtime::Variant;
using namespace sql;

namespace sql {

void syntaxError(const QString& description) {
    throw runtime::RuntimeError(runtime::err::DatabaseError, description);
}

} // namespace sql

namespace {

// #yyyy-mm-dd#, #m/d/yyyy# and #hh:nn[:ss] [AM|PM]#, alone or a date followed by a time.
std::optional<double> parseDateLiteral(const QString& text) {
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*(?:(\d{4})-(\d{1,2})-(\d{1,2})|(\d{1,2})/(\d{1,2})/(\d{2,4}))?\s*)"
                       R"((?:(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*([AaPp][Mm])?)?\s*$)"));
    const auto m = re.match(text);
    if (!m.hasMatch() || text.trimmed().isEmpty()) return std::nullopt;
    double serial = 0;
    if (!m.captured(1).isEmpty() || !m.captured(4).isEmpty()) {
        int year, month, day;
        if (!m.captured(1).isEmpty()) {
            year = m.captured(1).toInt();
            month = m.captured(2).toInt();
            day = m.captured(3).toInt();
        } else {
            month = m.captured(4).toInt();
            day = m.captured(5).toInt();
            year = m.captured(6).toInt();
            if (m.captured(6).size() == 2) year += year < 30 ? 2000 : 1900;
        }
        if (!QDate::isValid(year, month, day)) return std::nullopt;
        serial = runtime::dateSerial(year, month, day);
    }
    if (!m.captured(7).isEmpty()) {
        int hour = m.captured(7).toInt();
        const int minute = m.captured(8).toInt();
        const int second = m.captured(9).isEmpty() ? 0 : m.captured(9).toInt();
        const QString ampm = m.captured(10).toUpper();
        if (!ampm.isEmpty()) {
            if (hour < 1 || hour > 12) return std::nullopt;
            hour = hour % 12 + (ampm == QLatin1String("PM") ? 12 : 0);
        }
        if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
        serial += runtime::timeSerial(hour, minute, second);
    }
    return serial;
}

bool isIdentChar(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' ||
           u >= 0x80;
}

} // namespace

namespace sql {

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

// Index of the parenthesis that closes the one at open, or -1.
int closingParen(const Tokens& t, int open) {
    int depth = 0;
    for (int i = open; i < t.size(); ++i) {
        if (isSymbol(t[i], QLatin1String("(")))
            ++depth;
        else if (isSymbol(t[i], QLatin1String(")")) && --depth == 0)
            return i;
    }
    return -1;
}

int openingParen(const Tokens& t, int close) {
    int depth = 0;
    for (int i = close; i >= 0; --i) {
        if (isSymbol(t[i], QLatin1String(")")))
            ++depth;
        else if (isSymbol(t[i], QLatin1String("(")) && --depth == 0)
            return i;
    }
    return -1;
}

// Splits t[begin, end) at the separators that lie outside parentheses.
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

} // namespace sql

namespace {

// Where an operand of "&" stops: a comma, a comparison or a keyword.
bool endsOperand(const SqlToken& t) {
    return isSymbol(t, QLatin1String(",")) || isSymbol(t, QLatin1String(";")) || isComparison(t) ||
           (isKeyword(t) && !isWord(t, QLatin1String("null")));
}

// Jet functions that SQLite lacks or has with other semantics; registered under these names.
QString sqliteFunction(const QString& jetName) {
    static const QHash<QString, QString> names = {
        {QStringLiteral("first"), QStringLiteral("jet_first")},
        {QStringLiteral("last"), QStringLiteral("jet_last")},
        {QStringLiteral("val"), QStringLiteral("jet_val")},
        {QStringLiteral("hour"), QStringLiteral("jet_hour")},
        {QStringLiteral("datevalue"), QStringLiteral("jet_datevalue")},
        {QStringLiteral("instr"), QStringLiteral("jet_instr")}};
    return names.value(jetName.toLower());
}

// isnull(x) with one argument becomes ((x) IS NULL); Jet functions get their SQLite names.
Tokens rewriteFunctions(const Tokens& in) {
    Tokens out;
    for (int i = 0; i < in.size(); ++i) {
        const SqlToken& t = in[i];
        const bool call = t.kind == SqlToken::Word && i + 1 < in.size() &&
                          isSymbol(in[i + 1], QLatin1String("(")) &&
                          (i == 0 || !isSymbol(in[i - 1], QLatin1String(".")));
        if (call && t.text.compare(QLatin1String("isnull"), Qt::CaseInsensitive) == 0) {
            const int close = closingParen(in, i + 1);
            if (close > i + 2 && splitTopLevel(in, i + 2, close, QLatin1String(",")).size() == 1) {
                out << symbol(QStringLiteral("(")) << symbol(QStringLiteral("("));
                out += rewriteFunctions(in.mid(i + 2, close - i - 2));
                out << symbol(QStringLiteral(")")) << word(QStringLiteral("IS"))
                    << word(QStringLiteral("NULL")) << symbol(QStringLiteral(")"));
                i = close;
                continue;
            }
        }
        const QString renamed = call ? sqliteFunction(t.text) : QString();
        out.append(renamed.isEmpty() ? t : word(renamed));
    }
    return out;
}

// a & b & c becomes jet_cat(a, b, c): Jet joins texts with "&", a Null joining as empty.
// "&" binds more loosely than arithmetic and more tightly than comparisons.
Tokens rewriteJoins(Tokens t) {
    for (;;) {
        int amp = -1;
        for (int i = 0; i < t.size() && amp < 0; ++i)
            if (isSymbol(t[i], QLatin1String("&"))) amp = i;
        if (amp < 0) return t;
        int begin = amp;
        while (begin > 0) {
            const SqlToken& p = t[begin - 1];
            if (isSymbol(p, QLatin1String(")"))) {
                begin = openingParen(t, begin - 1);
                if (begin < 0) syntaxError(QStringLiteral("Syntax error in query expression."));
                continue;
            }
            if (isSymbol(p, QLatin1String("(")) || endsOperand(p)) break;
            --begin;
        }
        int end = amp + 1;
        while (end < t.size()) {
            const SqlToken& p = t[end];
            if (isSymbol(p, QLatin1String("("))) {
                end = closingParen(t, end);
                if (end < 0) syntaxError(QStringLiteral("Syntax error in query expression."));
                ++end;
                continue;
            }
            if (isSymbol(p, QLatin1String(")")) || endsOperand(p)) break;
            ++end;
        }
        const QVector<Tokens> operands = splitTopLevel(t, begin, end, QLatin1String("&"));
        for (const Tokens& operand : operands)
            if (operand.isEmpty())
                syntaxError(QStringLiteral("Syntax error (missing operator) in query expression."));
        Tokens call;
        call << word(QStringLiteral("jet_cat")) << symbol(QStringLiteral("("));
        call += joined(operands, QStringLiteral(","));
        call << symbol(QStringLiteral(")"));
        t = t.mid(0, begin) + call + t.mid(end);
    }
}

} // namespace

namespace sql {

Tables fromTables(const Tokens& t, int begin, int end) {
    Tables tables;
    for (int i = begin; i < end; ++i) {
        if (!isName(t[i]) || isKeyword(t[i]) || i == begin) continue;
        const SqlToken& prev = t[i - 1];
        if (!(isWord(prev, QLatin1String("from")) || isWord(prev, QLatin1String("join")) ||
              isSymbol(prev, QLatin1String("(")) || isSymbol(prev, QLatin1String(","))))
            continue;
        if (i + 1 < end && isSymbol(t[i + 1], QLatin1String("."))) continue;
        QString alias = t[i].text;
        int next = i + 1;
        if (next < end && isWord(t[next], QLatin1String("as"))) ++next;
        if (next < end && isName(t[next]) && !isKeyword(t[next])) alias = t[next].text;
        tables.insert(t[i].text.toLower(), t[i].text);
        tables.insert(alias.toLower(), t[i].text);
    }
    return tables;
}

Tokens withoutOuterParens(Tokens e) {
    while (e.size() >= 2 && isSymbol(e.first(), QLatin1String("(")) && closingParen(e, 0) == e.size() - 1)
        e = e.mid(1, e.size() - 2);
    return e;
}

} // namespace sql

namespace {

// Whether an expression of the select list yields a date: a date column or literal, DateValue,
// a date plus something, or Max/Min/First/Last of a date.
bool isDateExpression(const Tokens& expression, const Tables& tables, const DateColumnLookup& isDateColumn) {
    const Tokens e = withoutOuterParens(expression);
    if (e.isEmpty()) return false;
    if (e.size() == 1 && e[0].kind == SqlToken::Param) return e[0].isDate;
    if (e.size() >= 3 && e[0].kind == SqlToken::Word && isSymbol(e[1], QLatin1String("(")) &&
        closingParen(e, 1) == e.size() - 1) {
        const QString name = e[0].text.toLower();
        if (name == QLatin1String("jet_datevalue") || name == QLatin1String("tsql_datetime") ||
            name == QLatin1String("tsql_datesum"))
            return true;
        if (name == QLatin1String("max") || name == QLatin1String("min") ||
            name == QLatin1String("jet_first") || name == QLatin1String("jet_last"))
            return isDateExpression(e.mid(2, e.size() - 3), tables, isDateColumn);
        return false;
    }
    const QVector<Tokens> terms = splitTopLevel(e, 0, e.size(), QLatin1String("+"));
    if (terms.size() > 1) {
        bool anyDate = false;
        for (const Tokens& term : terms) {
            if (term.isEmpty()) return false;
            anyDate = anyDate || isDateExpression(term, tables, isDateColumn);
        }
        return anyDate;
    }
    if (!isDateColumn) return false;
    if (e.size() == 3 && isName(e[0]) && isSymbol(e[1], QLatin1String(".")) && isName(e[2]))
        return isDateColumn(tables.value(e[0].text.toLower(), e[0].text), e[2].text);
    if (e.size() == 1 && isName(e[0])) {
        for (const QString& table : QSet<QString>(tables.cbegin(), tables.cend()))
            if (isDateColumn(table, e[0].text)) return true;
    }
    return false;
}

struct Clauses {
    int from = -1, where = -1, groupBy = -1, having = -1, orderBy = -1;
};

Clauses findClauses(const Tokens& t) {
    Clauses c;
    int depth = 0;
    for (int i = 0; i < t.size(); ++i) {
        if (isSymbol(t[i], QLatin1String("(")))
            ++depth;
        else if (isSymbol(t[i], QLatin1String(")")))
            --depth;
        if (depth != 0 || t[i].kind != SqlToken::Word) continue;
        const bool byFollows = i + 1 < t.size() && isWord(t[i + 1], QLatin1String("by"));
        if (isWord(t[i], QLatin1String("from")) && c.from < 0)
            c.from = i;
        else if (isWord(t[i], QLatin1String("where")) && c.where < 0)
            c.where = i;
        else if (isWord(t[i], QLatin1String("group")) && byFollows && c.groupBy < 0)
            c.groupBy = i;
        else if (isWord(t[i], QLatin1String("having")) && c.having < 0)
            c.having = i;
        else if (isWord(t[i], QLatin1String("order")) && byFollows && c.orderBy < 0)
            c.orderBy = i;
    }
    return c;
}

int firstOf(std::initializer_list<int> positions, int fallback) {
    int best = fallback;
    for (int p : positions)
        if (p >= 0 && p < best) best = p;
    return best;
}

struct SelectItem {
    Tokens expression;
    QString alias; // empty without AS
};

// One SELECT of a query: alias references in its select list, constants in its GROUP BY,
// and, when asked, the rowid as first column.
Tokens rewriteSelect(const Tokens& part, bool first, bool wantRowid, SqliteText& result,
                     const DateColumnLookup& isDateColumn) {
    if (part.isEmpty() || !isWord(part[0], QLatin1String("select"))) return part;
    const Clauses c = findClauses(part);
    int listBegin = 1;
    bool distinct = false;
    if (listBegin < part.size() && (isWord(part[listBegin], QLatin1String("distinct")) ||
                                    isWord(part[listBegin], QLatin1String("all")) ||
                                    isWord(part[listBegin], QLatin1String("distinctrow")))) {
        distinct = !isWord(part[listBegin], QLatin1String("all"));
        ++listBegin;
    }
    const int listEnd = firstOf({c.from, c.where, c.groupBy, c.having, c.orderBy}, part.size());

    QVector<SelectItem> items;
    for (const Tokens& raw : splitTopLevel(part, listBegin, listEnd, QLatin1String(","))) {
        SelectItem item{raw, {}};
        const int n = raw.size();
        if (n >= 3 && isWord(raw[n - 2], QLatin1String("as")) && isName(raw[n - 1])) {
            item.alias = raw[n - 1].text;
            item.expression = raw.mid(0, n - 2);
        }
        items.append(item);
    }

    // Jet lets an expression name another column's alias ([monto]*[SumOfcantidad]).
    QHash<QString, int> aliases;
    for (int i = 0; i < items.size(); ++i)
        if (!items[i].alias.isEmpty() && !aliases.contains(items[i].alias.toLower()))
            aliases.insert(items[i].alias.toLower(), i);
    QVector<Tokens> list;
    for (int i = 0; i < items.size(); ++i) {
        Tokens expression;
        const Tokens& e = items[i].expression;
        for (int j = 0; j < e.size(); ++j) {
            const int owner = isName(e[j]) && !isKeyword(e[j]) ? aliases.value(e[j].text.toLower(), -1) : -1;
            const bool qualified = (j > 0 && isSymbol(e[j - 1], QLatin1String("."))) ||
                                   (j + 1 < e.size() && (isSymbol(e[j + 1], QLatin1String(".")) ||
                                                         isSymbol(e[j + 1], QLatin1String("("))));
            const Tokens& target = owner >= 0 ? items[owner].expression : Tokens();
            const bool sameColumn = !target.isEmpty() && isName(target.last()) &&
                                    target.last().text.compare(e[j].text, Qt::CaseInsensitive) == 0;
            if (owner >= 0 && owner != i && !qualified && !sameColumn) {
                expression << symbol(QStringLiteral("("));
                expression += target;
                expression << symbol(QStringLiteral(")"));
            } else {
                expression.append(e[j]);
            }
        }
        if (!items[i].alias.isEmpty()) {
            if (first &&
                isDateExpression(expression,
                                 fromTables(part, c.from < 0 ? part.size() : c.from,
                                            firstOf({c.where, c.groupBy, c.having, c.orderBy}, part.size())),
                                 isDateColumn))
                result.dateAliases.insert(items[i].alias.toLower());
            expression << word(QStringLiteral("AS")) << SqlToken{SqlToken::Quoted, items[i].alias};
        }
        list.append(expression);
    }

    Tokens out = part.mid(0, listBegin);
    if (wantRowid && !distinct && c.groupBy < 0) {
        out << word(QStringLiteral("_rowid_")) << symbol(QStringLiteral(","));
        result.hasRowid = true;
    }
    out += joined(list, QStringLiteral(","));
    if (c.groupBy < 0) {
        out += part.mid(listEnd);
        return out;
    }
    out += part.mid(listEnd, c.groupBy - listEnd);
    // Jet groups by constants as by nothing; SQLite reads an integer there as a column number.
    const int groupEnd = firstOf({c.having, c.orderBy}, part.size());
    QVector<Tokens> keys;
    for (const Tokens& key : splitTopLevel(part, c.groupBy + 2, groupEnd, QLatin1String(","))) {
        const Tokens bare = withoutOuterParens(key);
        const bool constant =
            (bare.size() == 1 && bare[0].kind == SqlToken::Param) ||
            (bare.size() == 2 && bare[1].kind == SqlToken::Param &&
             (isSymbol(bare[0], QLatin1String("-")) || isSymbol(bare[0], QLatin1String("+"))));
        if (!constant) keys.append(key);
    }
    if (!keys.isEmpty()) {
        out << word(QStringLiteral("GROUP")) << word(QStringLiteral("BY"));
        out += joined(keys, QStringLiteral(","));
    }
    out += part.mid(groupEnd);
    return out;
}

// A whole query: its subqueries first, then each SELECT of a UNION.
Tokens rewriteQuery(Tokens t, bool top, bool wantRowid, SqliteText& result,
                    const DateColumnLookup& isDateColumn) {
    for (int i = 0; i + 1 < t.size(); ++i) {
        if (!isSymbol(t[i], QLatin1String("(")) || !isWord(t[i + 1], QLatin1String("select"))) continue;
        const int close = closingParen(t, i);
        if (close < 0) break;
        SqliteText ignored;
        const Tokens inner = rewriteQuery(t.mid(i + 1, close - i - 1), false, false, ignored, isDateColumn);
        t = t.mid(0, i + 1) + inner + t.mid(close);
        i += inner.size();
    }
    QVector<Tokens> parts(1);
    QVector<Tokens> unions;
    int depth = 0;
    for (int i = 0; i < t.size(); ++i) {
        if (isSymbol(t[i], QLatin1String("(")))
            ++depth;
        else if (isSymbol(t[i], QLatin1String(")")))
            --depth;
        if (depth == 0 && isWord(t[i], QLatin1String("union"))) {
            Tokens u{t[i]};
            if (i + 1 < t.size() && isWord(t[i + 1], QLatin1String("all"))) u.append(t[++i]);
            unions.append(u);
            parts.append(Tokens());
            continue;
        }
        parts.last().append(t[i]);
    }
    Tokens out;
    for (int p = 0; p < parts.size(); ++p) {
        if (p > 0) out += unions[p - 1];
        out += rewriteSelect(parts[p], top && p == 0, top && wantRowid && parts.size() == 1, result,
                             isDateColumn);
    }
    return out;
}

QString literalText(const Variant& v) {
    if (v.isString())
        return QLatin1Char('\'') + QString(v.rawString()).replace(QLatin1Char('\''), QLatin1String("''")) +
               QLatin1Char('\'');
    return QString::number(v.rawNumber(), 'g', 17);
}

} // namespace

JetText parseJet(const QString& sql, bool withTokens) {
    JetText out;
    const int n = sql.size();
    const auto* text = reinterpret_cast<const char16_t*>(sql.constData());
    if (withTokens) out.tokens.reserve(n / 4);
    out.literals.reserve(16);
    // The text as it is, but for its literals and its runs of blanks: text[segment, i) is still
    // to be copied. A literal's mark (two characters) may be longer than the literal.
    QString shape(2 * n, Qt::Uninitialized);
    char16_t* const shapeBegin = reinterpret_cast<char16_t*>(shape.data());
    char16_t* w = shapeBegin;
    int segment = 0;
    int i = 0;
    auto copyText = [&] {
        std::copy(text + segment, text + i, w);
        w += i - segment;
    };
    // The statement's kind, from its first word past any opening parentheses.
    auto firstWord = [&out](QStringView token) {
        if (out.verb.isEmpty() && token != u"(") out.verb = token.toString().toLower();
    };
    auto addParam = [&](const Variant& value, bool isText, bool isDate, int end) {
        SqlToken t{SqlToken::Param, {}, int(out.literals.size()), isText, isDate};
        out.literals.append(value);
        if (withTokens) out.tokens.append(t);
        if (out.verb.isEmpty()) firstWord(u"?");
        copyText();
        *w++ = u'\x01';
        *w++ = isText ? u's' : isDate ? u'd' : u'n';
        segment = end;
    };
    auto isDigit = [](char16_t c) { return c >= u'0' && c <= u'9'; };
    while (i < n) {
        const char16_t c = text[i];
        if (QChar::isSpace(c)) {
            int j = i + 1;
            while (j < n && QChar::isSpace(text[j]))
                ++j;
            const bool inside = (w != shapeBegin || i > segment) && j < n;
            if (inside && c == u' ' && j == i + 1) { // stays as it is, in the text still to copy
                i = j;
                continue;
            }
            copyText();
            if (inside) *w++ = u' ';
            i = segment = j;
            continue;
        }
        if (c == u'\'' || c == u'"') {
            QString value;
            int j = i + 1;
            bool closed = false;
            for (int quote; (quote = int(sql.indexOf(QChar(c), j))) >= 0;) {
                value += QStringView(sql).mid(j, quote - j);
                j = quote + 1;
                if (j < n && text[j] == c) { // a doubled quote stands for one
                    value += QChar(c);
                    ++j;
                    continue;
                }
                closed = true;
                break;
            }
            if (!closed)
                syntaxError(
                    QStringLiteral("Syntax error in string in query expression '%1'.").arg(sql.mid(i)));
            addParam(Variant(value), true, false, j);
            i = j;
            continue;
        }
        if (c == u'[') {
            const int j = sql.indexOf(QLatin1Char(']'), i + 1);
            if (j < 0) syntaxError(QStringLiteral("Invalid bracketing of name '%1'.").arg(sql.mid(i)));
            if (withTokens) out.tokens.append({SqlToken::Quoted, sql.mid(i + 1, j - i - 1)});
            if (out.verb.isEmpty()) firstWord(u"[");
            i = j + 1;
            continue;
        }
        if (c == u'#') {
            const int j = sql.indexOf(QLatin1Char('#'), i + 1);
            const auto serial = j < 0 ? std::nullopt : parseDateLiteral(sql.mid(i + 1, j - i - 1));
            if (!serial)
                syntaxError(QStringLiteral("Syntax error in date in query expression '%1'.")
                                .arg(j < 0 ? sql.mid(i) : sql.mid(i, j - i + 1)));
            addParam(Variant::date(*serial), false, true, j + 1);
            i = j + 1;
            continue;
        }
        if (isDigit(c) || (c == u'.' && i + 1 < n && isDigit(text[i + 1]))) {
            int j = i;
            bool whole = true;
            quint64 integer = 0; // exact up to 18 digits
            while (j < n && isDigit(text[j])) {
                integer = integer * 10 + (text[j] - u'0');
                ++j;
            }
            if (j < n && text[j] == u'.') {
                whole = false;
                ++j;
                while (j < n && isDigit(text[j]))
                    ++j;
            }
            if (j < n && (text[j] == u'e' || text[j] == u'E')) {
                int k = j + 1;
                if (k < n && (text[k] == u'+' || text[k] == u'-')) ++k;
                if (k < n && isDigit(text[k])) {
                    whole = false;
                    j = k;
                    while (j < n && isDigit(text[j]))
                        ++j;
                }
            }
            const QStringView digits = QStringView(sql).mid(i, j - i);
            bool fits = whole && digits.size() <= 18;
            if (whole && !fits) integer = quint64(digits.toLongLong(&fits));
            addParam(fits ? Variant(std::int64_t(integer)) : Variant(digits.toDouble()), false, false, j);
            i = j;
            continue;
        }
        if (isIdentChar(QChar(c))) {
            int j = i;
            while (j < n && isIdentChar(QChar(text[j])))
                ++j;
            const QStringView name = QStringView(sql).mid(i, j - i);
            if (withTokens) out.tokens.append(word(name.toString()));
            if (out.verb.isEmpty()) firstWord(name);
            i = j;
            continue;
        }
        const char16_t second = i + 1 < n ? text[i + 1] : 0;
        const bool pair = (c == '<' && (second == '>' || second == '=')) ||
                          ((c == '>' || c == '!') && second == '=') || (c == '|' && second == '|');
        const QStringView symbolText = QStringView(sql).mid(i, pair ? 2 : 1);
        if (withTokens) out.tokens.append(symbol(symbolText.toString()));
        if (out.verb.isEmpty()) firstWord(symbolText);
        i += symbolText.size();
    }
    copyText();
    shape.truncate(w - shapeBegin);
    out.shape = std::move(shape);
    out.query = out.verb == QLatin1String("select");
    return out;
}

bool isQuery(const QVector<SqlToken>& tokens) {
    for (const SqlToken& t : tokens) {
        if (isSymbol(t, QLatin1String("("))) continue;
        return isWord(t, QLatin1String("select"));
    }
    return false;
}

SqliteText translateJet(const QVector<SqlToken>& tokens, bool wantRowid,
                        const DateColumnLookup& isDateColumn) {
    return translateSql(tokens, wantRowid, isDateColumn,
                        [](const Tokens& t) { return rewriteJoins(rewriteFunctions(t)); });
}

SqliteText translateSql(const QVector<SqlToken>& input, bool wantRowid, const DateColumnLookup& isDateColumn,
                        const DialectRewrite& dialect) {
    Tokens t = input;
    while (!t.isEmpty() && isSymbol(t.last(), QLatin1String(";")))
        t.removeLast();
    for (int i = 0; i < t.size(); ++i) {
        if (isSymbol(t[i], QLatin1String(";")))
            syntaxError(QStringLiteral("Characters found after end of SQL statement."));
        if (isWord(t[i], QLatin1String("in")) && i + 2 < t.size() && isSymbol(t[i + 1], QLatin1String("(")) &&
            isSymbol(t[i + 2], QLatin1String(")")))
            syntaxError(QStringLiteral("Syntax error (missing operator) in query expression '%1in ()'.")
                            .arg(i > 0 && isName(t[i - 1]) ? t[i - 1].text + QLatin1Char(' ') : QString()));
    }
    SqliteText result;
    t = dialect(t);
    t = rewriteQuery(t, true, wantRowid, result, isDateColumn);

    // DML takes its literals as parameters; other statements (DDL) cannot, so they keep them.
    const QString verb = t.isEmpty() ? QString() : t[0].text.toLower();
    const bool parameters = isQuery(t) || verb == QLatin1String("insert") ||
                            verb == QLatin1String("update") || verb == QLatin1String("delete");
    QStringList out;
    for (int i = 0; i < t.size(); ++i) {
        const SqlToken& token = t[i];
        switch (token.kind) {
        case SqlToken::Word:
            out << token.text;
            break;
        case SqlToken::Quoted:
            out << QLatin1Char('"') + QString(token.text).replace(QLatin1Char('"'), QLatin1String("\"\"")) +
                       QLatin1Char('"');
            break;
        case SqlToken::Param:
            out << (parameters ? QStringLiteral("?%1").arg(token.param + 1)
                               : QStringLiteral("\x01%1\x01").arg(token.param));
            // Jet compares texts without regard to letter case.
            if (token.isText &&
                ((i > 0 && isComparison(t[i - 1])) || (i + 1 < t.size() && isComparison(t[i + 1]))))
                out << QStringLiteral("COLLATE ") + QLatin1String(jetNoCaseCollation);
            break;
        case SqlToken::Symbol:
            out << (token.text == QLatin1String("!=") ? QStringLiteral("<>") : token.text);
            break;
        }
    }
    result.sql = out.join(QLatin1Char(' '));
    result.inlineLiterals = !parameters;
    return result;
}

QString inlineLiterals(const QString& sql, const QVector<runtime::Variant>& literals) {
    QString out;
    int i = 0;
    while (i < sql.size()) {
        const int start = sql.indexOf(QChar(1), i);
        if (start < 0) {
            out += sql.mid(i);
            break;
        }
        const int end = sql.indexOf(QChar(1), start + 1);
        out += sql.mid(i, start - i);
        out += literalText(literals.value(sql.mid(start + 1, end - start - 1).toInt()));
        i = end + 1;
    }
    return out;
}

} // namespace data

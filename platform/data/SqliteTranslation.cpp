#include "SqliteTranslation_p.h"

#include "TextComparisons_p.h"

namespace data {

using runtime::Variant;
using namespace sql;

namespace {

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
        int* clause = nullptr;
        if (isWord(t[i], QLatin1String("from")))
            clause = &c.from;
        else if (isWord(t[i], QLatin1String("where")))
            clause = &c.where;
        else if (isWord(t[i], QLatin1String("group")) && byFollows)
            clause = &c.groupBy;
        else if (isWord(t[i], QLatin1String("having")))
            clause = &c.having;
        else if (isWord(t[i], QLatin1String("order")) && byFollows)
            clause = &c.orderBy;
        if (clause && *clause < 0) *clause = i;
    }
    return c;
}

int firstOf(std::initializer_list<int> positions, int fallback) {
    int best = fallback;
    for (int p : positions)
        if (p >= 0 && p < best) best = p;
    return best;
}

bool isConstant(const Tokens& key) {
    const Tokens bare = withoutOuterParens(key);
    return (bare.size() == 1 && bare[0].kind == SqlToken::Param) ||
           (bare.size() == 2 && bare[1].kind == SqlToken::Param &&
            (isSymbol(bare[0], QLatin1String("-")) || isSymbol(bare[0], QLatin1String("+"))));
}

struct SelectItem {
    Tokens expression;
    QString alias; // empty without AS
};

// The shared rewrite of the SELECTs of one statement.
class SelectRewriter {
public:
    SelectRewriter(const SqlDialect& dialect, const Typer& typer, SqliteText& result)
        : m_dialect(dialect), m_typer(typer), m_result(result) {}

    // A whole query: its subqueries first, then each SELECT of a UNION.
    Tokens query(Tokens t, bool top, bool wantRowid) {
        t = subqueries(std::move(t));
        QVector<Tokens> unions;
        const QVector<Tokens> parts = splitUnions(t, unions);
        const bool dedupe = unions.size() > 0;
        Tokens out;
        for (int p = 0; p < parts.size(); ++p) {
            if (p > 0) out += unions[p - 1];
            out += select(parts[p], top && p == 0, top && wantRowid && parts.size() == 1, dedupe);
        }
        return out;
    }

private:
    Tokens subqueries(Tokens t) {
        for (int i = 0; i + 1 < t.size(); ++i) {
            if (!isSymbol(t[i], QLatin1String("(")) || !isWord(t[i + 1], QLatin1String("select"))) continue;
            const int close = matchingParen(t, i);
            if (close < 0) break;
            SqliteText ignored;
            const Tokens inner =
                SelectRewriter(m_dialect, m_typer, ignored).query(t.mid(i + 1, close - i - 1), false, false);
            t = t.mid(0, i + 1) + inner + t.mid(close);
            i += int(inner.size());
        }
        return t;
    }

    // One SELECT: alias references in its select list, constants in its GROUP BY, texts
    // compared in the collation when its rows are made distinct, and, when asked, the rowid
    // as first column.
    Tokens select(const Tokens& part, bool first, bool wantRowid, bool dedupe) {
        if (part.isEmpty() || !isWord(part[0], QLatin1String("select"))) return part;
        const SelectList s = selectList(part);
        const bool distinct = s.head.size() == 2 && !isWord(s.head[1], QLatin1String("all"));
        const Clauses c = findClauses(s.tail);
        const QVector<Tokens> list = rewriteList(items(s.items), first, dedupe || distinct);

        Tokens out = s.head;
        if (wantRowid && !distinct && c.groupBy < 0) {
            out << word(QStringLiteral("_rowid_")) << symbol(QStringLiteral(","));
            m_result.hasRowid = true;
        }
        out += joined(list, QStringLiteral(","));
        if (c.groupBy < 0) return out + s.tail;
        out += s.tail.mid(0, c.groupBy);
        const int groupEnd = firstOf({c.having, c.orderBy}, int(s.tail.size()));
        out += groupBy(s.tail, c.groupBy + 2, groupEnd);
        return out + s.tail.mid(groupEnd);
    }

    static QVector<SelectItem> items(const QVector<Tokens>& raws) {
        QVector<SelectItem> items;
        for (const Tokens& raw : raws) {
            SelectItem item{raw, {}};
            const int n = int(raw.size());
            if (n >= 3 && isWord(raw[n - 2], QLatin1String("as")) && isName(raw[n - 1])) {
                item.alias = raw[n - 1].text;
                item.expression = raw.mid(0, n - 2);
            }
            items.append(item);
        }
        return items;
    }

    QVector<Tokens> rewriteList(const QVector<SelectItem>& list, bool first, bool dedupe) {
        QHash<QString, int> aliases;
        for (int i = 0; i < list.size(); ++i)
            if (!list[i].alias.isEmpty() && !aliases.contains(list[i].alias.toLower()))
                aliases.insert(list[i].alias.toLower(), i);
        QVector<Tokens> out;
        for (int i = 0; i < list.size(); ++i) {
            Tokens expression = resolveAliases(list, aliases, i);
            QString name = list[i].alias;
            if (dedupe && name.isEmpty() && !expression.isEmpty() && isName(expression.last()) &&
                m_typer.of(expression) == Type::Text)
                name = expression.last().text;
            if (first && !list[i].alias.isEmpty() && m_typer.of(expression) == Type::Date)
                m_result.dateAliases.insert(list[i].alias.toLower());
            if (!name.isEmpty()) {
                // Rows made distinct compare their texts in the collation; the column keeps its name.
                if (dedupe && m_typer.of(expression) == Type::Text)
                    expression << word(QStringLiteral("COLLATE")) << word(m_dialect.collation());
                expression << word(QStringLiteral("AS")) << SqlToken{SqlToken::Quoted, name};
            }
            out.append(expression);
        }
        return out;
    }

    // Whether e[j] names another column's alias: not qualified, not a call, not the column the
    // alias itself names.
    static bool refersToAlias(const Tokens& e, int j, const Tokens& target) {
        const bool qualified = (j > 0 && isSymbol(e[j - 1], QLatin1String("."))) ||
                               (j + 1 < e.size() && (isSymbol(e[j + 1], QLatin1String(".")) ||
                                                     isSymbol(e[j + 1], QLatin1String("("))));
        const bool sameColumn = !target.isEmpty() && isName(target.last()) &&
                                target.last().text.compare(e[j].text, Qt::CaseInsensitive) == 0;
        return !qualified && !sameColumn;
    }

    // An expression of the select list with the aliases it names replaced by their expressions
    // ([monto]*[SumOfcantidad]), where the dialect allows it.
    Tokens resolveAliases(const QVector<SelectItem>& list, const QHash<QString, int>& aliases, int i) {
        Tokens expression;
        const Tokens& e = list[i].expression;
        for (int j = 0; j < e.size(); ++j) {
            const int owner = isName(e[j]) && !isKeyword(e[j]) ? aliases.value(e[j].text.toLower(), -1) : -1;
            if (owner < 0 || owner == i || !refersToAlias(e, j, list[owner].expression)) {
                expression.append(e[j]);
                continue;
            }
            if (!m_dialect.accepts(SelectConstruct::AliasReference)) {
                if (!m_typer.isColumn(e[j].text))
                    m_dialect.refuse(SelectConstruct::AliasReference, e[j].text);
                expression.append(e[j]);
                continue;
            }
            expression << symbol(QStringLiteral("("));
            expression += list[owner].expression;
            expression << symbol(QStringLiteral(")"));
        }
        return expression;
    }

    // The GROUP BY clause of keys t[begin, end). A constant groups by nothing where the dialect
    // accepts it (SQLite reads an integer there as a column number).
    Tokens groupBy(const Tokens& t, int begin, int end) const {
        QVector<Tokens> keys;
        for (const Tokens& key : splitTopLevel(t, begin, end, QLatin1String(","))) {
            if (!isConstant(key)) {
                keys.append(key);
                continue;
            }
            if (!m_dialect.accepts(SelectConstruct::GroupByConstant))
                m_dialect.refuse(SelectConstruct::GroupByConstant, QString());
        }
        if (keys.isEmpty()) return {};
        Tokens out{word(QStringLiteral("GROUP")), word(QStringLiteral("BY"))};
        return out + joined(keys, QStringLiteral(","));
    }

    const SqlDialect& m_dialect;
    const Typer& m_typer;
    SqliteText& m_result;
};

QString literalText(const Variant& v) {
    if (v.isString())
        return QLatin1Char('\'') + QString(v.rawString()).replace(QLatin1Char('\''), QLatin1String("''")) +
               QLatin1Char('\'');
    return QString::number(v.rawNumber(), 'g', 17);
}

// Rejects what no dialect runs: text after the closing ";" and an empty IN list.
Tokens checked(Tokens t) {
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
    return t;
}

QString render(const Tokens& t, bool parameters) {
    QStringList out;
    for (const SqlToken& token : t) {
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
            break;
        case SqlToken::Symbol:
            out << (token.text == QLatin1String("!=") ? QStringLiteral("<>") : token.text);
            break;
        }
    }
    return out.join(QLatin1Char(' '));
}

} // namespace

SqliteText translate(const QVector<SqlToken>& tokens, bool wantRowid, const SqlDialect& dialect,
                     const ColumnTypeLookup& declaredType) {
    Tokens t = dialect.rewrite(checked(tokens), declaredType);
    const Typer typer(t, declaredType);
    SqliteText result;
    t = SelectRewriter(dialect, typer, result).query(t, true, wantRowid);
    t = collateTexts(t, typer, dialect.collation());

    // DML takes its literals as parameters; other statements (DDL) cannot, so they keep them.
    const QString verb = t.isEmpty() ? QString() : t[0].text.toLower();
    const bool parameters = isQuery(t) || verb == QLatin1String("insert") ||
                            verb == QLatin1String("update") || verb == QLatin1String("delete");
    result.sql = render(t, parameters);
    result.inlineLiterals = !parameters;
    return result;
}

QString inlineLiterals(const QString& sql, const QVector<runtime::Variant>& literals) {
    QString out;
    int i = 0;
    while (i < sql.size()) {
        const int start = int(sql.indexOf(QChar(1), i));
        if (start < 0) {
            out += sql.mid(i);
            break;
        }
        const int end = int(sql.indexOf(QChar(1), start + 1));
        out += sql.mid(i, start - i);
        out += literalText(literals.value(sql.mid(start + 1, end - start - 1).toInt()));
        i = end + 1;
    }
    return out;
}

bool isQuery(const QVector<SqlToken>& tokens) {
    for (const SqlToken& t : tokens) {
        if (isSymbol(t, QLatin1String("("))) continue;
        return isWord(t, QLatin1String("select"));
    }
    return false;
}

} // namespace data

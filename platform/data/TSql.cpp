#include "TSql_p.h"

#include "SqliteHandle_p.h"
#include "TSqlFunctions_p.h"
#include "TextCollation_p.h"

#include <QSet>

#include <sqlite3.h>

namespace data {

using namespace sql;

namespace {

// Functions kept as they are: SQLite has them with SQL Server's meaning.
bool isPlainFunction(const QString& lower) {
    static const QSet<QString> names = {
        QStringLiteral("coalesce"), QStringLiteral("sum"), QStringLiteral("min"),      QStringLiteral("max"),
        QStringLiteral("count"),    QStringLiteral("avg"), QStringLiteral("substring")};
    return names.contains(lower);
}

QString conversionTo(Type type) {
    switch (type) {
    case Type::Date:
        return QStringLiteral("tsql_datetime");
    case Type::Int:
        return QStringLiteral("tsql_int");
    case Type::Float:
        return QStringLiteral("tsql_float");
    default:
        return {};
    }
}

// SQL Server's functions as the SQLite functions that give their results; every other call
// is rejected as a function SQL Server does not know.
class FunctionRewriter {
public:
    explicit FunctionRewriter(const Typer& typer) : m_typer(typer) {}

    Tokens rewrite(const Tokens& in) const {
        Tokens out;
        for (int i = 0; i < in.size(); ++i) {
            if (!isCall(in, i)) {
                out.append(in[i]);
                continue;
            }
            const int close = matchingParen(in, i + 1);
            if (close < 0) syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(in[i].text));
            QVector<Tokens> arguments = splitTopLevel(in, i + 2, close, QLatin1String(","));
            for (Tokens& argument : arguments)
                argument = rewrite(argument);
            out += function(in[i].text, arguments);
            i = close;
        }
        return out;
    }

private:
    static void typeArgument(const QString& name, const QVector<Tokens>& arguments, QLatin1String expected) {
        if (arguments.size() != 2 || arguments[0].size() != 1 || !isWord(arguments[0][0], expected))
            syntaxError(QStringLiteral("%1 is supported here only as %1(%2, expression).")
                            .arg(name.toUpper(), expected));
    }

    Tokens function(const QString& name, const QVector<Tokens>& arguments) const {
        const QString lower = name.toLower();
        if (lower == QLatin1String("convert")) {
            typeArgument(name, arguments, QLatin1String("date"));
            return call(QStringLiteral("tsql_date"), arguments[1]);
        }
        if (lower == QLatin1String("datepart")) {
            typeArgument(name, arguments, QLatin1String("hour"));
            return call(QStringLiteral("tsql_hour"), arguments[1]);
        }
        if (lower == QLatin1String("charindex")) {
            if (arguments.size() < 2 || arguments.size() > 3)
                syntaxError(QStringLiteral("The charindex function requires 2 to 3 arguments."));
            return call(QStringLiteral("tsql_charindex"), joined(arguments, QStringLiteral(",")));
        }
        if (lower == QLatin1String("isnull")) return isnull(arguments);
        if (isPlainFunction(lower)) return call(name, joined(arguments, QStringLiteral(",")));
        syntaxError(QStringLiteral("'%1' is not a recognized built-in function name.").arg(name));
    }

    // isnull(a, b) takes the type of a: b is converted to it (a number to int loses its fraction).
    Tokens isnull(QVector<Tokens> arguments) const {
        if (arguments.size() != 2) syntaxError(QStringLiteral("The isnull function requires 2 argument(s)."));
        const Type type = m_typer.of(arguments[0]);
        const QString conversion = conversionTo(type);
        if (!conversion.isEmpty() && (type != Type::Date || m_typer.of(arguments[1]) != Type::Date))
            arguments[1] = call(conversion, arguments[1]);
        return call(QStringLiteral("ifnull"), joined(arguments, QStringLiteral(",")));
    }

    const Typer& m_typer;
};

// datetime + datetime and datetime - datetime count both from SQL Server's day 0.
Tokens rewriteDateArithmetic(Tokens t, const Typer& typer) {
    for (int i = 1; i + 1 < t.size(); ++i) {
        const bool plus = isSymbol(t[i], QLatin1String("+"));
        if (!plus && !isSymbol(t[i], QLatin1String("-"))) continue;
        const int begin = operandBegin(t, i - 1);
        if (begin < 0 || (i > 0 && (isKeyword(t[i - 1]) || isSymbol(t[i - 1], QLatin1String("("))))) continue;
        const int end = operandEnd(t, i + 1);
        const Tokens left = t.mid(begin, i - begin);
        const Tokens right = t.mid(i + 1, end - i - 1);
        if (typer.of(left) != Type::Date || typer.of(right) != Type::Date) continue;
        const Tokens result = call(plus ? QStringLiteral("tsql_datesum") : QStringLiteral("tsql_datediff"),
                                   joined({left, right}, QStringLiteral(",")));
        t = t.mid(0, begin) + result + t.mid(end);
        i = begin;
    }
    return t;
}

// Text literals compared with a typed expression, between its bounds, in its IN list, among the
// arguments of coalesce or inserted into a typed column take that type.
class LiteralConverter {
public:
    LiteralConverter(const Tokens& t, const Typer& typer, const ColumnTypeLookup& declaredType)
        : m_t(t), m_typer(typer), m_declaredType(declaredType) {}

    Tokens run() {
        for (int i = 0; i < m_t.size(); ++i) {
            if (m_t[i].kind == SqlToken::Param && m_t[i].isText)
                compared(i);
            else if (isWord(m_t[i], QLatin1String("between")))
                between(i);
            else if (isWord(m_t[i], QLatin1String("in")))
                inList(i);
            else if ((isWord(m_t[i], QLatin1String("coalesce")) || isWord(m_t[i], QLatin1String("ifnull"))) &&
                     i + 1 < m_t.size() && isSymbol(m_t[i + 1], QLatin1String("(")))
                coalesce(i);
        }
        if (!m_t.isEmpty() && isWord(m_t[0], QLatin1String("insert"))) insertValues();
        return output();
    }

private:
    void convert(int index, Type type) {
        if (index >= 0 && index < m_t.size() && m_t[index].kind == SqlToken::Param && m_t[index].isText &&
            !conversionTo(type).isEmpty())
            m_converted.insert(index, type);
    }
    Type typeBefore(int end) const {
        const int begin = operandBegin(m_t, end);
        return begin < 0 ? Type::Unknown : m_typer.of(m_t.mid(begin, end + 1 - begin));
    }

    void compared(int i) {
        if (i >= 2 && isComparison(m_t[i - 1])) convert(i, typeBefore(i - 2));
        if (i + 2 < m_t.size() && isComparison(m_t[i + 1]))
            convert(i, m_typer.of(m_t.mid(i + 2, operandEnd(m_t, i + 2) - i - 2)));
    }

    void between(int i) {
        if (i == 0 || i + 3 >= m_t.size()) return;
        const Type type = typeBefore(i - 1);
        convert(i + 1, type);
        if (isWord(m_t[i + 2], QLatin1String("and"))) convert(i + 3, type);
    }

    // x IN ('a', 'b'): each literal takes the type of x.
    void inList(int i) {
        if (i == 0 || i + 1 >= m_t.size() || !isSymbol(m_t[i + 1], QLatin1String("("))) return;
        const int before = isWord(m_t[i - 1], QLatin1String("not")) ? i - 2 : i - 1;
        const Type type = typeBefore(before);
        const int close = matchingParen(m_t, i + 1);
        for (int j = i + 2; j < close; ++j)
            if (isSymbol(m_t[j - 1], QLatin1String(",")) || j == i + 2) convert(j, type);
    }

    void coalesce(int i) {
        const Type type = m_typer.of(m_t.mid(i, operandEnd(m_t, i) - i));
        const int close = matchingParen(m_t, i + 1);
        for (int j = i + 2, depth = 0; j < close; ++j) {
            depth += isSymbol(m_t[j], QLatin1String("(")) ? 1 : isSymbol(m_t[j], QLatin1String(")")) ? -1 : 0;
            if (depth == 0 && (isSymbol(m_t[j - 1], QLatin1String(",")) || j == i + 2) &&
                (isSymbol(m_t[j + 1], QLatin1String(",")) || j + 1 == close))
                convert(j, type);
        }
    }

    // insert into table (columns) values (values)
    void insertValues() {
        const int at = m_t.size() > 1 && isWord(m_t[1], QLatin1String("into")) ? 2 : 1;
        const int open = at + 1;
        if (open >= m_t.size() || !isSymbol(m_t[open], QLatin1String("(")) || !m_declaredType) return;
        const int close = matchingParen(m_t, open);
        const int valuesOpen = close + 2;
        if (close < 0 || valuesOpen >= m_t.size() || !isWord(m_t[close + 1], QLatin1String("values")) ||
            !isSymbol(m_t[valuesOpen], QLatin1String("(")))
            return;
        int j = valuesOpen + 1;
        for (const Tokens& column : splitTopLevel(m_t, open + 1, close, QLatin1String(","))) {
            if (j + 1 < m_t.size() &&
                (isSymbol(m_t[j + 1], QLatin1String(",")) || isSymbol(m_t[j + 1], QLatin1String(")"))) &&
                column.size() == 1)
                convert(j, typeOfDeclared(m_declaredType(m_t[at].text, column[0].text)));
            j = operandEnd(m_t, j) + 1;
        }
    }

    Tokens output() const {
        if (m_converted.isEmpty()) return m_t;
        Tokens out;
        for (int i = 0; i < m_t.size(); ++i) {
            const auto it = m_converted.constFind(i);
            if (it == m_converted.constEnd())
                out.append(m_t[i]);
            else
                out += call(conversionTo(*it), {m_t[i]});
        }
        return out;
    }

    const Tokens& m_t;
    const Typer& m_typer;
    const ColumnTypeLookup& m_declaredType;
    QHash<int, Type> m_converted;
};

// A number facing a datetime becomes a datetime; an alias stays.
Tokens asDatetime(const Tokens& item, const Typer& typer) {
    const int n = int(item.size());
    const bool aliased = n >= 3 && isWord(item[n - 2], QLatin1String("as"));
    const Tokens expression = aliased ? item.mid(0, n - 2) : item;
    const Type type = typer.of(expression);
    if (type != Type::Int && type != Type::Float) return item;
    return call(QStringLiteral("tsql_datetime"), expression) + (aliased ? item.mid(n - 2) : Tokens());
}

// In a UNION, a number facing a datetime column becomes a datetime, as SQL Server converts the
// column to its type of highest precedence (0 AS PREPARACION is 1900-01-01).
Tokens convertUnionColumns(const Tokens& t, const Typer& typer) {
    QVector<Tokens> unions;
    const QVector<Tokens> parts = splitUnions(t, unions);
    if (parts.size() < 2) return t;
    QVector<SelectList> selects;
    for (const Tokens& part : parts)
        selects.append(selectList(part));
    for (int c = 0; c < selects[0].items.size(); ++c) {
        bool date = false;
        for (const SelectList& s : selects)
            date = date || (c < s.items.size() && typer.of(s.items[c]) == Type::Date);
        for (SelectList& s : selects)
            if (date && c < s.items.size()) s.items[c] = asDatetime(s.items[c], typer);
    }
    Tokens out;
    for (int p = 0; p < selects.size(); ++p) {
        if (p > 0) out += unions[p - 1];
        out += selects[p].head + joined(selects[p].items, QStringLiteral(",")) + selects[p].tail;
    }
    return out;
}

// The body of a scalar function created with "RETURNS type AS [BEGIN] RETURN expression [END]"
// and the names of its parameters, the literals of its text written as SQL.
struct ScalarFunction {
    QStringList parameters;
    Tokens body;
};

SqlToken literalWord(const runtime::Variant& v) {
    if (v.isString())
        return word(QLatin1Char('\'') +
                    QString(v.rawString()).replace(QLatin1Char('\''), QLatin1String("''")) +
                    QLatin1Char('\''));
    return word(QString::number(v.rawNumber(), 'g', 17));
}

std::optional<ScalarFunction> scalarFunction(const QString& definition) {
    const SqlText text = tokenize(definition);
    Tokens t = text.tokens;
    for (SqlToken& token : t)
        if (token.kind == SqlToken::Param) token = literalWord(text.literals[token.param]);
    int open = 0;
    while (open < t.size() && !isSymbol(t[open], QLatin1String("(")))
        ++open;
    const int close = open < t.size() ? matchingParen(t, open) : -1;
    if (close < 0) return std::nullopt;
    ScalarFunction f;
    for (int i = open + 1; i + 1 < close; ++i)
        if (isSymbol(t[i], QLatin1String("@"))) f.parameters << t[i + 1].text.toLower();
    int body = close + 1;
    while (body < t.size() && !isWord(t[body], QLatin1String("return")))
        ++body;
    if (body >= t.size()) return std::nullopt;
    const bool block = isWord(t[body - 1], QLatin1String("begin"));
    f.body = t.mid(body + 1, int(t.size()) - body - 1 - (block ? 1 : 0));
    return f;
}

// The function's body with its parameters replaced by the arguments of the call.
Tokens expanded(const ScalarFunction& f, const QVector<Tokens>& arguments) {
    Tokens out{symbol(QStringLiteral("("))};
    for (int i = 0; i < f.body.size(); ++i) {
        const int parameter = isSymbol(f.body[i], QLatin1String("@")) && i + 1 < f.body.size()
                                  ? int(f.parameters.indexOf(f.body[i + 1].text.toLower()))
                                  : -1;
        if (parameter < 0 || parameter >= arguments.size()) {
            out.append(f.body[i]);
            continue;
        }
        out << symbol(QStringLiteral("(")) << arguments[parameter] << symbol(QStringLiteral(")"));
        ++i;
    }
    out << symbol(QStringLiteral(")"));
    return out;
}

class TSqlDialect : public SqlDialect {
public:
    void attach(sqlite3* db) override {
        m_db = db;
        registerTSqlFunctions(db);
        registerTextCollation(db, collation().toUtf8().constData(), TextRules::SqlServer);
    }
    QString collation() const override { return QStringLiteral("tsql_text"); }
    void readLiterals(SqlText&) const override {}

    Tokens rewrite(const Tokens& in, const ColumnTypeLookup& declaredType) const override {
        for (const SqlToken& t : in) {
            if (t.kind == SqlToken::Param && t.isDate)
                syntaxError(QStringLiteral("Incorrect syntax near '#'."));
            if (isSymbol(t, QLatin1String("&")))
                syntaxError(QStringLiteral(
                    "The data types varchar and varchar are incompatible in the '&' operator."));
        }
        Tokens t = userFunctions(in);
        const Typer typer(t, declaredType);
        t = FunctionRewriter(typer).rewrite(t);
        t = rewriteDateArithmetic(t, typer);
        t = convertUnionColumns(t, typer);
        return LiteralConverter(t, typer, declaredType).run();
    }

    bool accepts(SelectConstruct) const override { return false; }
    void refuse(SelectConstruct construct, const QString& name) const override {
        if (construct == SelectConstruct::AliasReference)
            syntaxError(QStringLiteral("Invalid column name '%1'.").arg(name));
        syntaxError(QStringLiteral(
            "Each GROUP BY expression must contain at least one column that is not an outer reference."));
    }

    runtime::Variant stored(const runtime::Variant& value, Kind kind) const override {
        const runtime::Variant v = coerce(value, kind);
        return kind == Kind::Date && !v.isNull() ? runtime::Variant::date(datetimePrecision(v.toDate())) : v;
    }

    bool executeOwn(const SqlText& text, const QString& sql) const override {
        if (text.verb == QLatin1String("create")) {
            const Tokens tokens = tokenize(sql).tokens;
            if (tokens.size() > 1 && isWord(tokens[1], QLatin1String("function"))) {
                createFunction(tokens, sql);
                return true;
            }
        }
        if (!text.query && text.verb != QLatin1String("insert") && text.verb != QLatin1String("update") &&
            text.verb != QLatin1String("delete"))
            syntaxError(
                QStringLiteral("The embedded SQL Server engine runs queries, INSERT, UPDATE, DELETE and "
                               "CREATE FUNCTION only: '%1'.")
                    .arg(sql.left(40)));
        return false;
    }

private:
    // schema.name(arguments): a function created on the database, its body in place of the call.
    Tokens userFunctions(const Tokens& in) const {
        Tokens out;
        for (int i = 0; i < in.size(); ++i) {
            const bool call = i + 3 < in.size() && isName(in[i]) && isSymbol(in[i + 1], QLatin1String(".")) &&
                              isName(in[i + 2]) && isSymbol(in[i + 3], QLatin1String("(")) &&
                              !(i > 0 && isSymbol(in[i - 1], QLatin1String(".")));
            if (!call) {
                out.append(in[i]);
                continue;
            }
            const int close = matchingParen(in, i + 3);
            const auto function = scalarFunction(definition(in[i + 2].text));
            if (!function || close < 0)
                syntaxError(QStringLiteral("Cannot find either column \"%1\" or the user-defined function or "
                                           "aggregate \"%1.%2\", or the name is ambiguous.")
                                .arg(in[i].text, in[i + 2].text));
            QVector<Tokens> arguments = splitTopLevel(in, i + 4, close, QLatin1String(","));
            for (Tokens& argument : arguments)
                argument = userFunctions(argument);
            if (arguments.size() != function->parameters.size())
                syntaxError(
                    QStringLiteral("An insufficient number of arguments were supplied for the procedure or "
                                   "function %1.%2.")
                        .arg(in[i].text, in[i + 2].text));
            out += expanded(*function, arguments);
            i = close;
        }
        return out;
    }

    // The text that created a function, null when there is none.
    QString definition(const QString& name) const {
        if (sqlite3_table_column_metadata(m_db, nullptr, tsqlFunctionsTable, "definition", nullptr, nullptr,
                                          nullptr, nullptr, nullptr) != SQLITE_OK)
            return {};
        Statement s;
        const QByteArray utf8 = name.toUtf8();
        if (s.prepare(m_db, QByteArrayLiteral("SELECT definition FROM tsql_functions WHERE name = ?1")) !=
            SQLITE_OK)
            return {};
        sqlite3_bind_text(s.get(), 1, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
        return s.step() == SQLITE_ROW ? columnText(s.get(), 0) : QString();
    }

    void run(const QByteArray& sql, const QStringList& values = {}) const {
        Statement s;
        int rc = s.prepare(m_db, sql);
        for (int i = 0; rc == SQLITE_OK && i < values.size(); ++i)
            rc = bindValue(s.get(), i + 1, runtime::Variant(values[i]));
        if (rc == SQLITE_OK) rc = s.step();
        if (rc != SQLITE_DONE && rc != SQLITE_ROW) syntaxError(QString::fromUtf8(sqlite3_errmsg(m_db)));
    }

    // Records the function in the file, so that a second creation fails as on a server.
    void createFunction(const Tokens& tokens, const QString& sql) const {
        QString name;
        for (int i = 2; i < tokens.size() && !isSymbol(tokens[i], QLatin1String("(")); ++i)
            if (isName(tokens[i])) name = tokens[i].text;
        if (name.isEmpty()) syntaxError(QStringLiteral("Incorrect syntax near 'FUNCTION'."));
        run(QByteArrayLiteral(
            "CREATE TABLE IF NOT EXISTS tsql_functions (name TEXT PRIMARY KEY COLLATE NOCASE, "
            "definition TEXT)"));
        if (!definition(name).isNull())
            syntaxError(QStringLiteral("There is already an object named '%1' in the database.").arg(name));
        run(QByteArrayLiteral("INSERT INTO tsql_functions (name, definition) VALUES (?1, ?2)"), {name, sql});
    }

    sqlite3* m_db = nullptr;
};

} // namespace

std::unique_ptr<SqlDialect> tsqlDialect() {
    return std::make_unique<TSqlDialect>();
}

} // namespace data

#include "TSql.h"

#include "SqlTokens.h"
#include "SqliteValues.h"
#include "runtime/DateSerial.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

#include <sqlite3.h>

#include <optional>

namespace data {

using namespace sql;

namespace {

// SQL Server's day 0, 1900-01-01, as a date serial.
constexpr double sqlServerEpoch = 2;

// The types SQL Server converts between in the texts; a comparison or coalesce converts to
// the one of higher precedence.
enum class Type { Unknown, Text, Int, Float, Date };

Type typeOfDeclared(const QString& declared) {
    switch (kindOf(declared)) {
    case Kind::Plain:
        return Type::Unknown;
    case Kind::Date:
        return Type::Date;
    case Kind::Boolean:
    case Kind::SmallInt:
    case Kind::Integer:
        return Type::Int;
    case Kind::Currency:
    case Kind::Double:
        return Type::Float;
    case Kind::Text:
    case Kind::Memo:
        return Type::Text;
    }
    return Type::Unknown;
}

// Functions kept as they are: SQLite has them with SQL Server's meaning.
bool isPlainFunction(const QString& lower) {
    static const QSet<QString> names = {
        QStringLiteral("coalesce"), QStringLiteral("sum"), QStringLiteral("min"),      QStringLiteral("max"),
        QStringLiteral("count"),    QStringLiteral("avg"), QStringLiteral("substring")};
    return names.contains(lower);
}

// The first index of the operand that ends at end (inclusive): a name, a qualified name, a
// literal, a parenthesized expression or a function call.
int operandBegin(const Tokens& t, int end) {
    if (end < 0) return -1;
    int b = end;
    if (isSymbol(t[b], QLatin1String(")"))) {
        b = openingParen(t, b);
        if (b > 0 && t[b - 1].kind == SqlToken::Word && !isKeyword(t[b - 1])) --b;
        return b;
    }
    while (b >= 2 && isSymbol(t[b - 1], QLatin1String(".")) && isName(t[b - 2]))
        b -= 2;
    return b;
}

// The index past the operand that starts at begin.
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
        const int close = closingParen(t, open);
        return close < 0 ? int(t.size()) : close + 1;
    }
    int e = begin + 1;
    while (e + 1 < t.size() && isSymbol(t[e], QLatin1String(".")) && isName(t[e + 1]))
        e += 2;
    return e;
}

class Typer {
public:
    Typer(const Tokens& statement, const ColumnTypeLookup& lookup)
        : m_tables(fromTables(statement, 0, int(statement.size()))), m_lookup(lookup) {}

    Type of(const Tokens& expression) const {
        const Tokens e = withoutOuterParens(expression);
        if (e.isEmpty()) return Type::Unknown;
        if (e.size() == 1 && e[0].kind == SqlToken::Param) return e[0].isText ? Type::Text : Type::Int;
        if (e.size() >= 3 && e[0].kind == SqlToken::Word && isSymbol(e[1], QLatin1String("(")) &&
            closingParen(e, 1) == e.size() - 1) {
            const QString name = e[0].text.toLower();
            if (name == QLatin1String("jet_datevalue") || name == QLatin1String("tsql_datetime") ||
                name == QLatin1String("tsql_datesum"))
                return Type::Date;
            if (name == QLatin1String("jet_hour") || name == QLatin1String("jet_instr") ||
                name == QLatin1String("tsql_int") || name == QLatin1String("count"))
                return Type::Int;
            if (name == QLatin1String("tsql_float")) return Type::Float;
            if (isPlainFunction(name) || name == QLatin1String("ifnull")) {
                Type best = Type::Unknown;
                for (const Tokens& argument : splitTopLevel(e, 2, int(e.size()) - 1, QLatin1String(",")))
                    best = std::max(best, of(argument));
                return best;
            }
            return Type::Unknown;
        }
        if (operandEnd(e, 0) == e.size()) return column(e);
        // Terms joined by arithmetic: the type of highest precedence among them.
        Type best = Type::Unknown;
        for (int i = 0;;) {
            const int end = operandEnd(e, i);
            if (end <= i) return Type::Unknown;
            best = std::max(best, of(e.mid(i, end - i)));
            if (end >= e.size()) return best;
            if (!(isSymbol(e[end], QLatin1String("+")) || isSymbol(e[end], QLatin1String("-")) ||
                  isSymbol(e[end], QLatin1String("*")) || isSymbol(e[end], QLatin1String("/"))))
                return Type::Unknown;
            i = end + 1;
        }
    }

    Type column(const Tokens& e) const {
        if (!m_lookup) return Type::Unknown;
        if (e.size() == 3 && isName(e[0]) && isName(e[2]))
            return typeOfDeclared(m_lookup(m_tables.value(e[0].text.toLower(), e[0].text), e[2].text));
        if (e.size() != 1 || !isName(e[0])) return Type::Unknown;
        for (const QString& table : QSet<QString>(m_tables.cbegin(), m_tables.cend())) {
            const QString declared = m_lookup(table, e[0].text);
            if (!declared.isNull()) return typeOfDeclared(declared);
        }
        return Type::Unknown;
    }

private:
    Tables m_tables;
    const ColumnTypeLookup& m_lookup;
};

Tokens call(const QString& function, const Tokens& arguments) {
    Tokens out{word(function), symbol(QStringLiteral("("))};
    out += arguments;
    out << symbol(QStringLiteral(")"));
    return out;
}

// SQL Server's functions as the SQLite functions that give their results; every other call
// is rejected as a function SQL Server does not know.
Tokens rewriteFunctions(const Tokens& in) {
    Tokens out;
    for (int i = 0; i < in.size(); ++i) {
        const SqlToken& t = in[i];
        const bool isCall =
            t.kind == SqlToken::Word && !isKeyword(t) && i + 1 < in.size() &&
            isSymbol(in[i + 1], QLatin1String("(")) &&
            !(i > 0 && (isSymbol(in[i - 1], QLatin1String(".")) || isWord(in[i - 1], QLatin1String("into"))));
        if (!isCall) {
            out.append(t);
            continue;
        }
        const int close = closingParen(in, i + 1);
        if (close < 0) syntaxError(QStringLiteral("Incorrect syntax near '%1'.").arg(t.text));
        const QString name = t.text.toLower();
        QVector<Tokens> arguments = splitTopLevel(in, i + 2, close, QLatin1String(","));
        for (Tokens& argument : arguments)
            argument = rewriteFunctions(argument);
        auto typeArgument = [&](QLatin1String expected) {
            if (arguments.size() != 2 || arguments[0].size() != 1 || !isWord(arguments[0][0], expected))
                syntaxError(QStringLiteral("%1 is supported here only as %1(%2, expression).")
                                .arg(t.text.toUpper(), expected));
        };
        if (name == QLatin1String("convert")) {
            typeArgument(QLatin1String("date"));
            out += call(QStringLiteral("jet_datevalue"), arguments[1]);
        } else if (name == QLatin1String("datepart")) {
            typeArgument(QLatin1String("hour"));
            out += call(QStringLiteral("jet_hour"), arguments[1]);
        } else if (name == QLatin1String("charindex")) {
            if (arguments.size() < 2 || arguments.size() > 3)
                syntaxError(QStringLiteral("The charindex function requires 2 to 3 arguments."));
            const Tokens start = arguments.size() == 3 ? arguments[2] : Tokens{word(QStringLiteral("1"))};
            out += call(QStringLiteral("jet_instr"),
                        joined({start, arguments[1], arguments[0]}, QStringLiteral(",")));
        } else if (name == QLatin1String("isnull")) {
            if (arguments.size() != 2)
                syntaxError(QStringLiteral("The isnull function requires 2 argument(s)."));
            out += call(QStringLiteral("ifnull"), joined(arguments, QStringLiteral(",")));
        } else if (isPlainFunction(name)) {
            out += call(t.text, joined(arguments, QStringLiteral(",")));
        } else {
            syntaxError(QStringLiteral("'%1' is not a recognized built-in function name.").arg(t.text));
        }
        i = close;
    }
    return out;
}

// datetime + datetime counts both from SQL Server's day 0.
Tokens rewriteDateSums(Tokens t, const Typer& typer) {
    for (int i = 1; i + 1 < t.size(); ++i) {
        if (!isSymbol(t[i], QLatin1String("+"))) continue;
        const int begin = operandBegin(t, i - 1);
        const int end = operandEnd(t, i + 1);
        if (begin < 0) continue;
        const Tokens left = t.mid(begin, i - begin);
        const Tokens right = t.mid(i + 1, end - i - 1);
        if (typer.of(left) != Type::Date || typer.of(right) != Type::Date) continue;
        const Tokens sum = call(QStringLiteral("tsql_datesum"), joined({left, right}, QStringLiteral(",")));
        t = t.mid(0, begin) + sum + t.mid(end);
        i = begin;
    }
    return t;
}

// Text literals compared with a typed expression, between its bounds, among the arguments of
// coalesce or inserted into a typed column take that type.
Tokens convertLiterals(const Tokens& t, const Typer& typer, const ColumnTypeLookup& declaredType) {
    QHash<int, Type> converted;
    auto convert = [&](int index, Type type) {
        if (index >= 0 && index < t.size() && t[index].kind == SqlToken::Param && t[index].isText &&
            (type == Type::Date || type == Type::Int || type == Type::Float))
            converted.insert(index, type);
    };
    for (int i = 0; i < t.size(); ++i) {
        if (t[i].kind == SqlToken::Param && t[i].isText) {
            if (i >= 2 && isComparison(t[i - 1])) {
                const int begin = operandBegin(t, i - 2);
                if (begin >= 0) convert(i, typer.of(t.mid(begin, i - 1 - begin)));
            }
            if (i + 2 < t.size() && isComparison(t[i + 1]))
                convert(i, typer.of(t.mid(i + 2, operandEnd(t, i + 2) - i - 2)));
        } else if (isWord(t[i], QLatin1String("between")) && i > 0 && i + 3 < t.size()) {
            const int begin = operandBegin(t, i - 1);
            if (begin < 0) continue;
            const Type type = typer.of(t.mid(begin, i - begin));
            convert(i + 1, type);
            if (isWord(t[i + 2], QLatin1String("and"))) convert(i + 3, type);
        } else if ((isWord(t[i], QLatin1String("coalesce")) || isWord(t[i], QLatin1String("ifnull"))) &&
                   i + 1 < t.size() && isSymbol(t[i + 1], QLatin1String("("))) {
            const Type type = typer.of(t.mid(i, operandEnd(t, i) - i));
            const int close = closingParen(t, i + 1);
            for (int j = i + 2, depth = 0; j < close; ++j) {
                depth += isSymbol(t[j], QLatin1String("(")) ? 1 : isSymbol(t[j], QLatin1String(")")) ? -1 : 0;
                if (depth == 0 && (isSymbol(t[j - 1], QLatin1String(",")) || j == i + 2) &&
                    (isSymbol(t[j + 1], QLatin1String(",")) || j + 1 == close))
                    convert(j, type);
            }
        }
    }
    // insert into table (columns) values (values)
    if (!t.isEmpty() && isWord(t[0], QLatin1String("insert"))) {
        int at = 1;
        if (at < t.size() && isWord(t[at], QLatin1String("into"))) ++at;
        const int open = at + 1;
        if (open < t.size() && isSymbol(t[open], QLatin1String("("))) {
            const QString table = t[at].text;
            const int close = closingParen(t, open);
            const int valuesOpen = close + 2;
            if (close > 0 && valuesOpen < t.size() && isWord(t[close + 1], QLatin1String("values")) &&
                isSymbol(t[valuesOpen], QLatin1String("("))) {
                const QVector<Tokens> columns = splitTopLevel(t, open + 1, close, QLatin1String(","));
                int j = valuesOpen + 1;
                for (const Tokens& column : columns) {
                    if (j + 1 < t.size() &&
                        (isSymbol(t[j + 1], QLatin1String(",")) || isSymbol(t[j + 1], QLatin1String(")"))) &&
                        column.size() == 1 && declaredType)
                        convert(j, typeOfDeclared(declaredType(table, column[0].text)));
                    j = operandEnd(t, j) + 1;
                }
            }
        }
    }
    if (converted.isEmpty()) return t;
    Tokens out;
    for (int i = 0; i < t.size(); ++i) {
        const auto it = converted.constFind(i);
        if (it == converted.constEnd()) {
            out.append(t[i]);
            continue;
        }
        const QString function = *it == Type::Date  ? QStringLiteral("tsql_datetime")
                                 : *it == Type::Int ? QStringLiteral("tsql_int")
                                                    : QStringLiteral("tsql_float");
        out += call(function, {t[i]});
    }
    return out;
}

Tokens rewriteTSql(const Tokens& in, const ColumnTypeLookup& declaredType) {
    for (const SqlToken& t : in) {
        if (t.kind == SqlToken::Param && t.isDate) syntaxError(QStringLiteral("Incorrect syntax near '#'."));
        if (isSymbol(t, QLatin1String("&")))
            syntaxError(
                QStringLiteral("The data types varchar and varchar are incompatible in the '&' operator."));
    }
    Tokens t = rewriteFunctions(in);
    const Typer typer(t, declaredType);
    t = rewriteDateSums(t, typer);
    return convertLiterals(t, typer, declaredType);
}

QString textOf(sqlite3_value* v) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
}

// A text argument converted by convert, numbers and Null as they are.
template <typename Convert> void convertText(sqlite3_context* ctx, sqlite3_value* v, Convert convert) {
    if (sqlite3_value_type(v) != SQLITE_TEXT) {
        sqlite3_result_value(ctx, v);
        return;
    }
    convert(textOf(v).trimmed());
}

void tsqlDateTimeFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    convertText(ctx, argv[0], [ctx](const QString& text) {
        if (const auto serial = tsqlDateTime(text))
            sqlite3_result_double(ctx, *serial);
        else
            sqlite3_result_error(
                ctx, "Conversion failed when converting date and/or time from character string.", -1);
    });
}

void tsqlIntFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    convertText(ctx, argv[0], [ctx](const QString& text) {
        bool ok = text.isEmpty();
        const qlonglong value = ok ? 0 : text.toLongLong(&ok);
        if (ok && value >= INT32_MIN && value <= INT32_MAX) {
            sqlite3_result_int64(ctx, value);
            return;
        }
        const QByteArray message =
            QStringLiteral("Conversion failed when converting the varchar value '%1' to data type int.")
                .arg(text)
                .toUtf8();
        sqlite3_result_error(ctx, message.constData(), int(message.size()));
    });
}

void tsqlFloatFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    convertText(ctx, argv[0], [ctx](const QString& text) {
        bool ok = text.isEmpty();
        const double value = ok ? 0 : QLocale::c().toDouble(text, &ok);
        if (ok)
            sqlite3_result_double(ctx, value);
        else
            sqlite3_result_error(ctx, "Error converting data type varchar to float.", -1);
    });
}

void tsqlDateSum(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_double(ctx,
                          sqlite3_value_double(argv[0]) + sqlite3_value_double(argv[1]) - sqlServerEpoch);
}

} // namespace

SqliteText translateTSql(const QVector<SqlToken>& tokens, bool wantRowid,
                         const ColumnTypeLookup& declaredType) {
    return translateSql(
        tokens, wantRowid,
        [&declaredType](const QString& table, const QString& column) {
            return typeOfDeclared(declaredType(table, column)) == Type::Date;
        },
        [&declaredType](const Tokens& t) { return rewriteTSql(t, declaredType); });
}

std::optional<double> tsqlDateTime(const QString& text) {
    static const QRegularExpression re(QStringLiteral(
        R"(^(?:(\d{4})-?(\d{2})-?(\d{2}))?\s*(?:(\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,3}))?)?)?$)"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    double serial = sqlServerEpoch;
    if (!m.captured(1).isEmpty()) {
        const int year = m.captured(1).toInt(), month = m.captured(2).toInt(), day = m.captured(3).toInt();
        if (!QDate::isValid(year, month, day) || year < 1753) return std::nullopt;
        serial = runtime::dateSerial(year, month, day);
    }
    if (!m.captured(4).isEmpty()) {
        const int hour = m.captured(4).toInt(), minute = m.captured(5).toInt(),
                  second = m.captured(6).toInt();
        if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
        serial += runtime::timeSerial(hour, minute, second) +
                  m.captured(7).leftJustified(3, QLatin1Char('0')).toInt() / 86400000.0;
    }
    return serial;
}

void registerTSqlFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "tsql_datetime", 1, flags, nullptr, tsqlDateTimeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_int", 1, flags, nullptr, tsqlIntFunction, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_float", 1, flags, nullptr, tsqlFloatFunction, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_datesum", 2, flags, nullptr, tsqlDateSum, nullptr, nullptr);
}

} // namespace data

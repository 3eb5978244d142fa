#include "SqlTypes.h"

#include "SqliteValues.h"

#include <QSet>

#include <algorithm>

namespace data::sql {

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

namespace {

// The result types of the functions the translated texts call; Unknown for those whose result
// is their arguments' type.
std::optional<Type> functionType(const QString& lower) {
    static const QHash<QString, Type> types = {
        {QStringLiteral("jet_datevalue"), Type::Date}, {QStringLiteral("tsql_datetime"), Type::Date},
        {QStringLiteral("tsql_date"), Type::Date},     {QStringLiteral("tsql_datesum"), Type::Date},
        {QStringLiteral("tsql_datediff"), Type::Date}, {QStringLiteral("jet_hour"), Type::Int},
        {QStringLiteral("tsql_hour"), Type::Int},      {QStringLiteral("jet_instr"), Type::Int},
        {QStringLiteral("tsql_charindex"), Type::Int}, {QStringLiteral("tsql_int"), Type::Int},
        {QStringLiteral("count"), Type::Int},          {QStringLiteral("tsql_float"), Type::Float},
        {QStringLiteral("jet_cat"), Type::Text},       {QStringLiteral("substring"), Type::Text},
        {QStringLiteral("coalesce"), Type::Unknown},   {QStringLiteral("ifnull"), Type::Unknown},
        {QStringLiteral("min"), Type::Unknown},        {QStringLiteral("max"), Type::Unknown},
        {QStringLiteral("sum"), Type::Unknown},        {QStringLiteral("avg"), Type::Unknown},
        {QStringLiteral("jet_first"), Type::Unknown},  {QStringLiteral("jet_last"), Type::Unknown}};
    const auto it = types.constFind(lower);
    if (it == types.constEnd()) return std::nullopt;
    return *it;
}

bool isArithmetic(const SqlToken& t) {
    return isSymbol(t, QLatin1String("+")) || isSymbol(t, QLatin1String("-")) ||
           isSymbol(t, QLatin1String("*")) || isSymbol(t, QLatin1String("/"));
}

} // namespace

Typer::Typer(const Tokens& statement, const ColumnTypeLookup& lookup)
    : m_tables(fromTables(statement, 0, int(statement.size()))), m_lookup(lookup) {
    const QSet<QString> names(m_tables.cbegin(), m_tables.cend());
    m_tableNames = QVector<QString>(names.cbegin(), names.cend());
}

Type Typer::of(const Tokens& expression) const {
    const Tokens e = withoutOuterParens(expression);
    if (e.isEmpty()) return Type::Unknown;
    if (e.size() == 1 && e[0].kind == SqlToken::Param)
        return e[0].isText ? Type::Text : e[0].isDate ? Type::Date : Type::Int;
    if (e.size() >= 3 && e[0].kind == SqlToken::Word && isSymbol(e[1], QLatin1String("(")) &&
        matchingParen(e, 1) == e.size() - 1)
        return ofCall(e);
    if (operandEnd(e, 0) == e.size()) return column(e);
    return ofTerms(e);
}

Type Typer::ofCall(const Tokens& e) const {
    const auto type = functionType(e[0].text.toLower());
    if (!type) return Type::Unknown;
    if (*type != Type::Unknown) return *type;
    Type best = Type::Unknown;
    for (const Tokens& argument : splitTopLevel(e, 2, int(e.size()) - 1, QLatin1String(",")))
        best = std::max(best, of(argument));
    return best;
}

// Terms joined by arithmetic: the type of highest precedence among them.
Type Typer::ofTerms(const Tokens& e) const {
    Type best = Type::Unknown;
    for (int i = 0;;) {
        const int end = operandEnd(e, i);
        if (end <= i) return Type::Unknown;
        best = std::max(best, of(e.mid(i, end - i)));
        if (end >= e.size()) return best;
        if (!isArithmetic(e[end])) return Type::Unknown;
        i = end + 1;
    }
}

Type Typer::column(const Tokens& e) const {
    if (!m_lookup) return Type::Unknown;
    if (e.size() == 3 && isName(e[0]) && isName(e[2]))
        return typeOfDeclared(m_lookup(m_tables.value(e[0].text.toLower(), e[0].text), e[2].text));
    if (e.size() != 1 || !isName(e[0])) return Type::Unknown;
    for (const QString& table : m_tableNames) {
        const QString declared = m_lookup(table, e[0].text);
        if (!declared.isNull()) return typeOfDeclared(declared);
    }
    return Type::Unknown;
}

bool Typer::isColumn(const QString& name) const {
    if (!m_lookup) return false;
    for (const QString& table : m_tableNames)
        if (!m_lookup(table, name).isNull()) return true;
    return false;
}

} // namespace data::sql

#pragma once

#include "SqlTokens.h"

#include <functional>

namespace data {

// The declared type of a table's column, null when the table has no such column.
using ColumnTypeLookup = std::function<QString(const QString& table, const QString& column)>;

namespace sql {

// The types an expression of a statement is known to have; a conversion between two goes to
// the later one.
enum class Type { Unknown, Text, Int, Float, Date };

Type typeOfDeclared(const QString& declared);
// A type the statement knows for certain is no text.
inline bool isNonText(Type type) {
    return type == Type::Int || type == Type::Float || type == Type::Date;
}

// The type of the expressions of one statement, from the declared types of the columns of the
// tables it names and the results of the functions the translations call.
class Typer {
public:
    Typer(const Tokens& statement, const ColumnTypeLookup& lookup);
    Type of(const Tokens& expression) const;
    // A plain or qualified column name.
    Type column(const Tokens& e) const;
    // Whether a name is a column of one of the statement's tables.
    bool isColumn(const QString& name) const;

private:
    Type ofCall(const Tokens& e) const;
    Type ofTerms(const Tokens& e) const;

    Tables m_tables;
    QVector<QString> m_tableNames;
    const ColumnTypeLookup& m_lookup;
};

} // namespace sql
} // namespace data

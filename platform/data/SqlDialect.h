#pragma once

#include "SqlTypes.h"
#include "SqliteValues.h"

struct sqlite3;

namespace data {

// Constructs of a SELECT that one dialect accepts and another refuses.
enum class SelectConstruct {
    AliasReference, // the select list names another column's alias
    GroupByConstant // a constant among the GROUP BY keys
};

// One SQL dialect run on SQLite by the embedded engine (SqliteProvider): what its texts mean,
// how its texts are compared and ordered, and what its database refuses.
class SqlDialect {
public:
    virtual ~SqlDialect() = default;
    // On a file just opened: checks what the database checks when it is opened and registers the
    // functions, the text collation and LIKE that the translated texts use. A dialect serves the
    // one connection it is attached to.
    virtual void attach(sqlite3* db) = 0;
    // The name of the collation attach registered: every comparison and ordering of texts uses it.
    virtual QString collation() const = 0;
    // Reads the #...# literals the tokenizer left as texts.
    virtual void readLiterals(SqlText& text) const = 0;
    // The dialect's own rewrite, before the shared one: its functions, literals and operators.
    virtual QVector<SqlToken> rewrite(const QVector<SqlToken>& tokens,
                                      const ColumnTypeLookup& declaredType) const = 0;
    // Whether the dialect accepts a construct (see SelectConstruct); refuse fails the statement in
    // the dialect's words.
    virtual bool accepts(SelectConstruct construct) const = 0;
    [[noreturn]] virtual void refuse(SelectConstruct construct, const QString& name) const = 0;
    // A value as a column of that kind stores it; a column without declared type (Kind::Plain)
    // stores every value as it is.
    virtual runtime::Variant stored(const runtime::Variant& value, Kind kind) const {
        return coerce(value, kind);
    }
    // Runs a statement the dialect handles itself, or refuses one its database would not run
    // here; false lets the engine run it.
    virtual bool executeOwn(const SqlText& text, const QString& sql) const = 0;
};

} // namespace data

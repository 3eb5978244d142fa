#pragma once

#include "runtime/Variant.h"

#include <QSet>
#include <QString>
#include <QVector>

#include <functional>

namespace data {

// One token of a Jet SQL text. Literals (texts, numbers, #date# values) are taken out of the
// text and replaced by a parameter token, so texts that differ only in their literals share
// one shape and one prepared statement.
struct SqlToken {
    enum Kind { Word, Quoted, Param, Symbol };
    Kind kind = Symbol;
    QString text;        // the word, the bracketed name without brackets, or the symbol
    int param = -1;      // Param: index into the literals
    bool isText = false; // Param: a text literal
    bool isDate = false; // Param: a #date# literal
};

// A Jet text split into its literal-free shape and its literals.
struct JetText {
    QString shape; // the text with its literals marked by kind and its runs of blanks as one
    QVector<SqlToken> tokens;
    QVector<runtime::Variant> literals;
    QString verb;       // the first word past opening parentheses, lower case
    bool query = false; // a SELECT
};

// Tokenizes a Jet SQL text; throws a database error for an unterminated literal or a
// #date# that is no date. Without tokens only the shape, the literals and the kind are
// taken: enough to find a statement prepared for the same shape.
JetText parseJet(const QString& sql, bool withTokens = true);

// The SQLite text of a tokenized Jet statement, with the literals as numbered parameters
// (?1 is the first literal).
struct SqliteText {
    QString sql;
    bool hasRowid = false;       // the first result column is the row's rowid
    bool inlineLiterals = false; // DDL: the literals are written into the text (see inlineLiterals)
    QSet<QString> dateAliases;   // lower-case names of computed columns that hold dates
};

// Answers whether a table's column is declared as a date or time.
using DateColumnLookup = std::function<bool(const QString& table, const QString& column)>;

// Rewrites a tokenized Jet statement for SQLite: Jet functions, "&" joins, GROUP BY
// constants, select-list alias references, case-insensitive comparison of texts; rejects
// "IN ()". With wantRowid a single-table SELECT also returns the rowid first.
SqliteText translateJet(const QVector<SqlToken>& tokens, bool wantRowid,
                        const DateColumnLookup& isDateColumn);

// The rewrites of one dialect into SQLite's, run before the shared ones of translateSql.
using DialectRewrite = std::function<QVector<SqlToken>(const QVector<SqlToken>&)>;

// A statement of any dialect for SQLite: the dialect's rewrite, then select-list alias
// references, GROUP BY constants, the rowid and text comparison without regard to case;
// rejects "IN ()" and text after the closing ";".
SqliteText translateSql(const QVector<SqlToken>& tokens, bool wantRowid, const DateColumnLookup& isDateColumn,
                        const DialectRewrite& dialect);

// The text of a translated DDL statement with its literals written in.
QString inlineLiterals(const QString& sql, const QVector<runtime::Variant>& literals);

// Whether a statement reads rows (SELECT) rather than changing the database.
bool isQuery(const QVector<SqlToken>& tokens);

} // namespace data

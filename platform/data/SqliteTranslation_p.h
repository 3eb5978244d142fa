#pragma once

#include "SqlDialect.h"

#include <QSet>

namespace data {

// The SQLite text of a tokenized statement, with the literals as numbered parameters (?1 is
// the first literal).
struct SqliteText {
    QString sql;
    bool hasRowid = false;       // the first result column is the row's rowid
    bool inlineLiterals = false; // DDL: the literals are written into the text (see inlineLiterals)
    QSet<QString> dateAliases;   // lower-case names of computed columns that hold dates
};

// A statement of a dialect for SQLite: the dialect's rewrite, then the shared one (select-list
// alias references, GROUP BY constants, the rowid, every comparison and ordering of texts in
// the dialect's collation); rejects "IN ()" and text after the closing ";". With wantRowid a
// single-table SELECT also returns the rowid first.
SqliteText translate(const QVector<SqlToken>& tokens, bool wantRowid, const SqlDialect& dialect,
                     const ColumnTypeLookup& declaredType);

// The text of a translated DDL statement with its literals written in.
QString inlineLiterals(const QString& sql, const QVector<runtime::Variant>& literals);

// Whether a statement reads rows (SELECT) rather than changing the database.
bool isQuery(const QVector<SqlToken>& tokens);

} // namespace data

#pragma once

#include "JetSql.h"

#include <QHash>
#include <QLatin1String>

// The token helpers the dialect translators share.
namespace data::sql {

using Tokens = QVector<SqlToken>;

// Fails the statement with a database error of that text.
[[noreturn]] void syntaxError(const QString& description);

SqlToken word(const QString& text);
SqlToken symbol(const QString& text);
bool isWord(const SqlToken& t, QLatin1String w);
bool isSymbol(const SqlToken& t, QLatin1String s);
bool isName(const SqlToken& t); // a word or a bracketed name
bool isComparison(const SqlToken& t);
bool isKeyword(const SqlToken& t);

// Index of the parenthesis that closes the one at open (opens the one at close), or -1.
int closingParen(const Tokens& t, int open);
int openingParen(const Tokens& t, int close);
// Splits t[begin, end) at the separators that lie outside parentheses.
QVector<Tokens> splitTopLevel(const Tokens& t, int begin, int end, QLatin1String separator);
Tokens joined(const QVector<Tokens>& parts, const QString& separator);
Tokens withoutOuterParens(Tokens e);

// Table names of a FROM clause, by the lower-case name or alias that qualifies their columns.
using Tables = QHash<QString, QString>;
Tables fromTables(const Tokens& t, int begin, int end);

} // namespace data::sql

#pragma once

#include "SqlTokenizer.h"

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
// Whether t[i] is the name of a function called there (not a qualified name's last part).
bool isCall(const Tokens& t, int i);

// Index of the parenthesis that matches the one at at (closes a "(", opens a ")"), or -1.
int matchingParen(const Tokens& t, int at);
// The first index of the operand that ends at end (inclusive): a name, a qualified name, a
// literal, a parenthesized expression or a function call; -1 for none.
int operandBegin(const Tokens& t, int end);
// The index past the operand that starts at begin.
int operandEnd(const Tokens& t, int begin);
// Splits t[begin, end) at the separators that lie outside parentheses.
QVector<Tokens> splitTopLevel(const Tokens& t, int begin, int end, QLatin1String separator);
Tokens joined(const QVector<Tokens>& parts, const QString& separator);
Tokens withoutOuterParens(Tokens e);
// function(arguments)
Tokens call(const QString& function, const Tokens& arguments);

// The SELECTs joined at the top level of a statement by UNION [ALL], and the joins between them.
QVector<Tokens> splitUnions(const Tokens& t, QVector<Tokens>& unions);
// A SELECT split at its select list: "SELECT [DISTINCT|ALL|DISTINCTROW]", the items of the list
// and the clauses after it.
struct SelectList {
    Tokens head;
    QVector<Tokens> items;
    Tokens tail;
};
SelectList selectList(const Tokens& select);

// Table names of a FROM clause, by the lower-case name or alias that qualifies their columns.
using Tables = QHash<QString, QString>;
Tables fromTables(const Tokens& t, int begin, int end);

} // namespace data::sql

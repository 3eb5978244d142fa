#pragma once

#include "runtime/Variant.h"

#include <QString>
#include <QVector>

namespace data {

// One token of a SQL text. Literals (texts, numbers, #...# values) are taken out of the text
// and replaced by a parameter token, so texts that differ only in their literals share one
// shape and one prepared statement.
struct SqlToken {
    enum Kind { Word, Quoted, Param, Symbol };
    Kind kind = Symbol;
    QString text;        // the word, the bracketed name without brackets, or the symbol
    int param = -1;      // Param: index into the literals
    bool isText = false; // Param: a text literal
    bool isDate = false; // Param: a #...# literal
};

// A SQL text split into its literal-free shape and its literals.
struct SqlText {
    QString shape; // the text with its literals marked by kind and its runs of blanks as one
    QVector<SqlToken> tokens;
    // Texts and numbers as their values; a #...# literal as the text between the marks, for the
    // dialect to read (see SqlDialect::readLiterals).
    QVector<runtime::Variant> literals;
    QVector<int> dateLiterals; // indexes of the #...# literals
    QString verb;              // the first word past opening parentheses, lower case
    bool query = false;        // a SELECT
    // Where each number that stands as a literal lies in the text, by literal: a text that differs
    // only in those numbers has the same shape.
    struct Number {
        int literal;
        int begin, end;
    };
    QVector<Number> numbers;
};

// Tokenizes a SQL text; throws a database error for an unterminated literal or bracketed
// name. Without tokens only the shape, the literals and the kind are taken: enough to find a
// statement prepared for the same shape.
SqlText tokenize(const QString& sql, bool withTokens = true);

// The literals of a text that differs from a known one (tokenized from knownSql) only in the
// numbers that stand as its literals, as tokenize would read them: the known literals with this
// text's numbers. False when the text differs in anything else.
bool literalsLike(const QString& sql, const QString& knownSql, const SqlText& known,
                  QVector<runtime::Variant>& literals);

} // namespace data

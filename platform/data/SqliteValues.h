#pragma once

#include "Provider.h"
#include "runtime/Variant.h"

#include <QByteArray>
#include <QString>

#include <vector>

struct sqlite3_stmt;
struct sqlite3_value;

namespace data {

// How a declared column type reads and stores values.
enum class Kind { Plain, Date, Boolean, Currency, SmallInt, Integer, Double, Text, Memo };

// The kind of a declared type, by the words Jet and SQLite schemas use ("DATETIME", "CURRENCY", ...).
Kind kindOf(const QString& declared);
// The type code of a kind (data::adType).
int typeCode(Kind kind);
// The type code (data::adType) of a value stored in a column without declared type.
int storageTypeCode(sqlite3_stmt* s, int column);

QString columnText(sqlite3_stmt* s, int column);
// A function argument as a text.
QString valueText(sqlite3_value* v);
// A result column as a Variant of the column's kind: dates as Date, booleans as Boolean...
runtime::Variant readValue(sqlite3_stmt* s, int column, Kind kind);

// Result rows kept compactly in one block of bytes: each value a tag and as few bytes as it needs,
// made into a Variant of its column's kind only when read.
class KeptRows {
public:
    // Copies count columns of the statement's row from first on, and its key when withKey (column
    // 0, copied just before them); returns where the copied columns start.
    size_t add(sqlite3_stmt* s, int first, int count, bool withKey);
    // A column of the row copied at `at`, as readValue gives it.
    runtime::Variant value(size_t at, int column, Kind kind) const;
    // The key of a row copied with it.
    qint64 key(size_t at) const;
    // Lets go of every row, keeping the room they took.
    void clear();

private:
    std::vector<char> m_bytes;
};
// A value as the column's declared type stores it.
runtime::Variant coerce(const runtime::Variant& v, Kind kind);
// The UTF-8 of the texts bound to a statement, held until the statement is reset: short texts
// side by side in one block, longer ones each in an array of its own.
class BoundTexts {
public:
    BoundTexts() = default;
    BoundTexts(const BoundTexts&) = delete;
    BoundTexts& operator=(const BoundTexts&) = delete;
    // The UTF-8 of text, valid while this lives.
    QByteArrayView store(const QString& text);

private:
    char m_block[2048];
    qsizetype m_used = 0;
    std::vector<QByteArray> m_own;
};

// Binds a value to a statement's parameter (1-based); returns SQLite's result code. A text
// is bound from texts, which the caller keeps until the statement is reset; without texts
// SQLite takes a copy.
int bindValue(sqlite3_stmt* s, int index, const runtime::Variant& v, BoundTexts* texts = nullptr);

} // namespace data

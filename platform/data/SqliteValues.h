#pragma once

#include "Provider.h"
#include "runtime/Variant.h"

#include <QString>

struct sqlite3_stmt;

namespace data {

// How a declared column type reads and stores values.
enum class Kind { Plain, Date, Boolean, Currency, SmallInt, Integer, Double, Text, Memo };

// The kind of a declared type, by the words Jet and SQLite schemas use ("DATETIME", "CURRENCY", ...).
Kind kindOf(const QString& declared);
// The ADO type code of a kind (data::adType).
int typeCode(Kind kind);
// The ADO type code of a value stored in a column without declared type.
int storageTypeCode(sqlite3_stmt* s, int column);

QString columnText(sqlite3_stmt* s, int column);
// A result column as a Variant of the column's kind: dates as Date, booleans as Boolean...
runtime::Variant readValue(sqlite3_stmt* s, int column, Kind kind);
// A value as the column's declared type stores it.
runtime::Variant coerce(const runtime::Variant& v, Kind kind);
// Binds a value to a statement's parameter (1-based); returns SQLite's result code. A text
// is bound from text, which the caller keeps unchanged until the statement is reset; without
// text SQLite takes a copy.
int bindValue(sqlite3_stmt* s, int index, const runtime::Variant& v, QByteArray* text = nullptr);

} // namespace data

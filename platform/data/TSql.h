#pragma once

#include "JetSql.h"

#include <functional>
#include <optional>

struct sqlite3;

namespace data {

// The declared type of a table's column, null when the table has no such column.
using ColumnTypeLookup = std::function<QString(const QString& table, const QString& column)>;

// Rewrites a tokenized SQL Server statement for SQLite with SQL Server's semantics: text
// literals compared with, or stored into, a date or number column are converted to its type
// ('20261208', '17:45:03' as datetime, '' as 0), datetime + datetime adds from 1900-01-01,
// CONVERT(date, x), DATEPART(hour, x), CHARINDEX and isnull with two arguments. Anything else
// the texts of the programs do not use (#date# literals, "&", other functions) is rejected
// with SQL Server's message.
SqliteText translateTSql(const QVector<SqlToken>& tokens, bool wantRowid,
                         const ColumnTypeLookup& declaredType);

// The SQLite functions the translated texts call: tsql_datetime, tsql_int and tsql_float
// (SQL Server's conversions of a text) and tsql_datesum (datetime + datetime).
void registerTSqlFunctions(sqlite3* db);

// The serial of a text as SQL Server converts it to datetime: 'yyyymmdd', 'yyyy-mm-dd',
// either followed by a time, or a time alone on 1900-01-01; empty on failure.
std::optional<double> tsqlDateTime(const QString& text);

} // namespace data

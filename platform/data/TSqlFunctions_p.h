#pragma once

#include <QString>

#include <optional>

struct sqlite3;

namespace data {

// A date serial at SQL Server's datetime precision: whole days and 1/300 s ticks, rounded.
double datetimePrecision(double serial);

// The serial of a text as SQL Server converts it to datetime: 'yyyymmdd', 'yyyy-mm-dd',
// either followed by a time (its fraction rounded to 1/300 s), or a time alone on 1900-01-01;
// empty on failure.
std::optional<double> tsqlDateTime(const QString& text);

// Registers on a SQLite connection the SQL Server functions that the translated texts call:
// tsql_datetime, tsql_int and tsql_float (SQL Server's conversions of a value), tsql_date
// (CONVERT(date, x)) and tsql_hour (DATEPART(hour, x)), both truncating, tsql_datesum and
// tsql_datediff (datetime + and - datetime) and tsql_charindex.
void registerTSqlFunctions(sqlite3* db);

} // namespace data

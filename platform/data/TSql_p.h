#pragma once

#include "SqlDialect.h"

#include <memory>

namespace data {

// The table in which the SQL Server engine records the functions created on its file.
inline constexpr const char* tsqlFunctionsTable = "tsql_functions";

// The SQL Server dialect with SQL Server's semantics: text literals compared with, or stored
// into, a date or number column are converted to its type ('20261208', '17:45:03' as datetime,
// '' as 0); datetime + and - datetime count from 1900-01-01; CONVERT(date, x) and
// DATEPART(hour, x) truncate; datetime keeps 1/300 s; CHARINDEX, isnull with two arguments
// typed by the first, scalar functions created with CREATE FUNCTION and called as dbo.name(...);
// texts compared and ordered as Modern_Spanish_CI_AS compares them. Anything else the programs'
// texts do not use (#date# literals, "&", other functions, select-list alias references,
// GROUP BY constants, DDL) is refused with SQL Server's message.
std::unique_ptr<SqlDialect> tsqlDialect();

} // namespace data

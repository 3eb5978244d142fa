#pragma once

#include "ConnectionString.h"
#include "Provider.h"

#include <memory>

namespace data {

// Whether a Provider= value names a SQL Server client (SQLOLEDB, SQLNCLI*, MSOLEDBSQL).
bool isSqlServerProvider(const QString& provider);

// Opens a SQL Server connection string: one that attaches a file (AttachDbFilename) on the
// embedded engine, any other through ODBC and FreeTDS. Throws a database error when it
// cannot connect.
std::unique_ptr<Provider> openSqlServer(const ConnectionString& parts);

} // namespace data

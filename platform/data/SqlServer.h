#pragma once

#include "ConnectionString.h"
#include "Provider.h"

#include <memory>

namespace data {

// Whether a Provider= value names a SQL Server client (SQLOLEDB, SQLNCLI*, MSOLEDBSQL).
bool isSqlServerProvider(const QString& provider);

// What the FreeTDS ODBC driver needs of a SQL Server connection string.
struct FreeTdsLogin {
    QString connectionString; // for SQLDriverConnect
    int loginTimeout = 15;    // seconds
    QString server;           // the Data Source as written
};

// Maps the keys of a SQLOLEDB/SQLNCLI/MSOLEDBSQL connection string to FreeTDS's: Data Source
// (server, server\instance, server,port, tcp: prefix, "(local)"), the database name, the file
// to attach, User ID, Password, Connect Timeout; the values reach the server as the string
// holds them. Integrated Security is refused: FreeTDS has no Windows login here.
FreeTdsLogin freeTdsLogin(const ConnectionString& parts);

// Opens a SQL Server connection string: one that attaches a file the embedded engine reads (a
// SQLite database, AttachDbFilename) on that engine, any other through ODBC and FreeTDS.
// Throws a database error when it cannot connect.
std::unique_ptr<Provider> openSqlServer(const ConnectionString& parts);

} // namespace data

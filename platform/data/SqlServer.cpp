#include "SqlServer.h"

#include "TSqlProvider.h"
#include "runtime/RuntimeError.h"

namespace data {

bool isSqlServerProvider(const QString& provider) {
    for (const char* name : {"SQLOLEDB", "SQLNCLI", "MSOLEDBSQL"})
        if (provider.startsWith(QLatin1String(name), Qt::CaseInsensitive)) return true;
    return false;
}

std::unique_ptr<Provider> openSqlServer(const ConnectionString& parts) {
    const QString attached = parts.value(QStringLiteral("AttachDbFilename"));
    if (!attached.isEmpty()) return std::make_unique<TSqlProvider>(attached);
    throw runtime::RuntimeError(
        runtime::err::DatabaseError,
        QStringLiteral("[DBNETLIB][ConnectionOpen (Connect()).]SQL Server does not exist or access denied."));
}

} // namespace data

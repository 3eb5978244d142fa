#include "SqlServer.h"

#include "OdbcProvider.h"
#include "SqliteProvider.h"
#include "runtime/RuntimeError.h"

namespace data {

namespace {

[[noreturn]] void refuse(const QString& description) {
    throw runtime::RuntimeError(runtime::err::DatabaseError, description);
}

// The value of the first of these keys present (keys compare without regard to case).
QString valueOf(const ConnectionString& parts, std::initializer_list<const char*> keys) {
    for (const char* key : keys)
        if (parts.contains(QLatin1String(key))) return parts.value(QLatin1String(key));
    return {};
}

bool isTrue(const QString& value) {
    const QString v = value.trimmed().toLower();
    return v == QLatin1String("sspi") || v == QLatin1String("true") || v == QLatin1String("yes");
}

// A value as an ODBC connection string holds it: braced when it has a separator or brace.
QString odbcValue(const QString& value) {
    if (!value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('{')) &&
        !value.contains(QLatin1Char('}')) && value.trimmed() == value)
        return value;
    return QLatin1Char('{') + QString(value).replace(QLatin1Char('}'), QLatin1String("}}")) +
           QLatin1Char('}');
}

} // namespace

bool isSqlServerProvider(const QString& provider) {
    for (const char* name : {"SQLOLEDB", "SQLNCLI", "MSOLEDBSQL"})
        if (provider.startsWith(QLatin1String(name), Qt::CaseInsensitive)) return true;
    return false;
}

FreeTdsLogin freeTdsLogin(const ConnectionString& parts) {
    if (isTrue(valueOf(parts, {"integrated security", "trusted_connection"})))
        refuse(QStringLiteral(
            "Integrated Security (a Windows login) is not available through FreeTDS: give User ID "
            "and Password in CONNSTRING."));
    FreeTdsLogin login;
    login.server = valueOf(parts, {"data source", "server", "address", "addr", "network address"}).trimmed();
    QString host = login.server;
    if (host.startsWith(QLatin1String("tcp:"), Qt::CaseInsensitive)) host = host.mid(4);
    QString port;
    if (const int comma = host.indexOf(QLatin1Char(',')); comma >= 0) {
        port = host.mid(comma + 1).trimmed();
        host = host.left(comma).trimmed();
    }
    QString instance;
    if (const int slash = host.indexOf(QLatin1Char('\\')); slash >= 0) {
        instance = host.mid(slash + 1);
        host = host.left(slash);
    }
    if (host.isEmpty() || host == QLatin1String(".") ||
        host.compare(QLatin1String("(local)"), Qt::CaseInsensitive) == 0)
        host = QStringLiteral("localhost");
    if (login.server.isEmpty())
        refuse(QStringLiteral(
            "[DBNETLIB][ConnectionOpen (Connect()).]SQL Server does not exist or access denied."));

    QStringList pairs{QStringLiteral("Driver={FreeTDS}"),
                      QStringLiteral("Server=") +
                          odbcValue(instance.isEmpty() ? host : host + QLatin1Char('\\') + instance)};
    if (!port.isEmpty()) pairs << QStringLiteral("Port=") + odbcValue(port);
    const QString database = valueOf(parts, {"initial catalog", "database"});
    if (!database.isEmpty()) pairs << QStringLiteral("Database=") + odbcValue(database);
    pairs << QStringLiteral("UID=") + odbcValue(valueOf(parts, {"user id", "uid", "user"}))
          << QStringLiteral("PWD=") + odbcValue(valueOf(parts, {"password", "pwd"}))
          << QStringLiteral("TDS_Version=7.4") << QStringLiteral("ClientCharset=UTF-8");
    login.connectionString = pairs.join(QLatin1Char(';'));
    bool ok = false;
    const int timeout =
        valueOf(parts, {"connect timeout", "connection timeout", "timeout"}).trimmed().toInt(&ok);
    if (ok && timeout > 0) login.loginTimeout = std::min(timeout, 300);
    return login;
}

std::unique_ptr<Provider> openSqlServer(const ConnectionString& parts) {
    const QString attached = parts.value(QStringLiteral("AttachDbFilename"));
    if (!attached.isEmpty()) return openSqlServerFile(attached);
    const FreeTdsLogin login = freeTdsLogin(parts);
    return std::make_unique<OdbcProvider>(login.connectionString, login.loginTimeout, login.server);
}

} // namespace data

#include "SqlServer.h"

#include "OdbcProvider.h"
#include "SqliteProvider_p.h"
#include "runtime/FileSystem.h"
#include "runtime/RuntimeError.h"

#include <QFile>

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

// A value as FreeTDS's ODBC driver reads it from a connection string: as written up to the next
// ";" (blanks, "=" and braces included), or, when it starts with "{", from there up to the first
// "};", with nothing undoubled. So a value is braced only when it holds ";" or starts with "{",
// and one that holds "};" cannot be given.
QString odbcValue(const char* key, const QString& value) {
    if (!value.contains(QLatin1Char(';')) && !value.startsWith(QLatin1Char('{'))) return value;
    if (value.contains(QLatin1String("};")))
        refuse(QStringLiteral("The value of %1 in CONNSTRING holds \"};\", which cannot be passed to the "
                              "FreeTDS driver.")
                   .arg(QLatin1String(key)));
    return QLatin1Char('{') + value + QLatin1Char('}');
}

// Whether a file is one the embedded engine reads: a SQLite database.
bool isEmbeddedDatabase(const QString& file) {
    QFile f(runtime::localPath(file));
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3", 16);
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

    QStringList pairs{
        QStringLiteral("Driver={FreeTDS}"),
        QStringLiteral("Server=") +
            odbcValue("Data Source", instance.isEmpty() ? host : host + QLatin1Char('\\') + instance)};
    if (!port.isEmpty()) pairs << QStringLiteral("Port=") + odbcValue("Data Source", port);
    const QString database = valueOf(parts, {"initial catalog", "database"});
    if (!database.isEmpty()) pairs << QStringLiteral("Database=") + odbcValue("Database", database);
    const QString attached = parts.value(QStringLiteral("AttachDbFilename"));
    if (!attached.isEmpty())
        pairs << QStringLiteral("AttachDbFilename=") + odbcValue("AttachDbFilename", attached);
    pairs << QStringLiteral("UID=") + odbcValue("User ID", valueOf(parts, {"user id", "uid", "user"}))
          << QStringLiteral("PWD=") + odbcValue("Password", valueOf(parts, {"password", "pwd"}))
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
    if (!attached.isEmpty() && isEmbeddedDatabase(attached)) return openSqlServerFile(attached);
    const FreeTdsLogin login = freeTdsLogin(parts);
    return std::make_unique<OdbcProvider>(login.connectionString, login.loginTimeout, login.server);
}

} // namespace data

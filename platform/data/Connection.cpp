#include "Connection.h"

#include "ConnectionString.h"
#include "SqlServer.h"
#include "SqliteProvider_p.h"
#include "runtime/RuntimeError.h"

#include <algorithm>
#include <utility>

namespace data {

Connection::~Connection() = default;

void Connection::open(const QString& connectionString, const QString& /*user*/, const QString& /*password*/,
                      long /*options*/) {
    if (m_provider) runtime::raise(runtime::err::ObjectOpen);
    m_connectionString = connectionString;
    const ConnectionString parts(connectionString);
    const QString provider = parts.value(QStringLiteral("Provider"));
    if (provider.startsWith(QLatin1String("Microsoft.Jet.OLEDB"), Qt::CaseInsensitive)) {
        m_provider = openJetFile(parts.value(QStringLiteral("Data Source")),
                                 parts.value(QStringLiteral("Jet OLEDB:Database Password")));
        return;
    }
    if (isSqlServerProvider(provider)) {
        m_provider = openSqlServer(parts);
        return;
    }
    if (provider.isEmpty()) runtime::raise(runtime::err::NoDataSourceName);
    runtime::raise(runtime::err::ProviderNotFound);
}

void Connection::execute(const QString& sql, long* recordsAffected) {
    if (!m_provider) runtime::raise(runtime::err::ObjectClosed);
    const long changed = provider().execute(sql);
    if (recordsAffected) *recordsAffected = changed;
}

void Connection::close() {
    m_provider.reset();
}

void Connection::beginTrans() {
    provider().beginTransaction();
}

void Connection::commitTrans() {
    provider().commitTransaction();
}

bool Connection::tryBeginWriteTrans(std::chrono::milliseconds wait) {
    return provider().beginWriteTransaction(int(std::max<std::chrono::milliseconds::rep>(wait.count(), 0)));
}

void Connection::relaxDurability() {
    provider().relaxDurability();
}

CommitScope::CommitScope(ConnectionPtr connection) {
    if (!connection) runtime::raise(runtime::err::ObjectNotSet);
    connection->beginTrans();
    m_connection = std::move(connection);
}

CommitScope::~CommitScope() {
    try {
        if (m_connection && m_connection->isOpen()) m_connection->commitTrans();
    } catch (const runtime::RuntimeError&) {
    }
}

bool CommitScope::tryBeginWrite(ConnectionPtr connection, std::chrono::milliseconds wait) {
    if (m_connection) return true;
    if (!connection) runtime::raise(runtime::err::ObjectNotSet);
    if (!connection->tryBeginWriteTrans(wait)) return false;
    m_connection = std::move(connection);
    return true;
}

void CommitScope::commit() {
    const ConnectionPtr connection = std::exchange(m_connection, nullptr);
    if (connection) connection->commitTrans();
}

QString Connection::property(int index) const {
    return index == 0 && m_provider ? m_provider->dataSource() : QString();
}

Provider& Connection::provider() {
    if (!m_provider) runtime::raise(runtime::err::ConnectionNotUsable);
    return *m_provider;
}

} // namespace data

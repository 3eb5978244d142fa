#pragma once

#include "Provider.h"

#include <QString>

#include <chrono>
#include <memory>

namespace data {

enum CursorLocation { adUseServer = 2, adUseClient = 3 };
enum CursorType { adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3 };
enum LockType { adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3 };

// A connection to a database through the provider its connection string names
// ("Microsoft.Jet.OLEDB.4.0": a database file). Held by shared pointer: copies of the
// pointer are the same connection.
class Connection {
public:
    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setCursorLocation(CursorLocation location) { m_location = location; }
    CursorLocation cursorLocation() const { return m_location; }

    void open(const QString& connectionString, const QString& user = {}, const QString& password = {},
              long options = -1);
    void execute(const QString& sql, long* recordsAffected = nullptr);
    // Closing a connection that is not open does nothing.
    void close();
    bool isOpen() const { return m_provider != nullptr; }
    // Properties(index).Value as text: index 0 is the data source while open, else empty.
    QString property(int index) const;
    QString connectionString() const { return m_connectionString; }

    // BeginTrans/CommitTrans: the writes between them are one unit; nested pairs join the outer one.
    void beginTrans();
    void commitTrans();
    // BeginTrans that takes the database's write lock at once, waiting up to wait while another
    // connection (another program) holds it; false, with nothing begun, when it is still held.
    bool tryBeginWriteTrans(std::chrono::milliseconds wait);
    // The database is the program's own scratch: its writes need not reach the disk before
    // they return (a crash may lose them).
    void relaxDurability();

    // The open provider; raises 3709 when the connection is not open.
    Provider& provider();

private:
    CursorLocation m_location = adUseServer;
    QString m_connectionString;
    std::unique_ptr<Provider> m_provider;
};

using ConnectionPtr = std::shared_ptr<Connection>;

// Groups a connection's writes in its scope into one transaction that is committed however the
// scope ends, never rolled back: commit() when the work is done; the destructor commits what an
// early return or an error left, without throwing. A connection closed meanwhile (the program's
// exit) has dropped them: nothing is committed then.
class CommitScope {
public:
    // Nothing begun until tryBeginWrite succeeds.
    CommitScope() = default;
    // Begins a transaction on the connection.
    explicit CommitScope(ConnectionPtr connection);
    ~CommitScope();
    CommitScope(const CommitScope&) = delete;
    CommitScope& operator=(const CommitScope&) = delete;

    // Begins a transaction that holds the connection's write lock (Connection::tryBeginWriteTrans).
    bool tryBeginWrite(ConnectionPtr connection, std::chrono::milliseconds wait);
    void commit();

private:
    ConnectionPtr m_connection;
};

} // namespace data

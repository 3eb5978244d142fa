#pragma once

#include <QByteArray>

#include <memory>

#include <sqlite3.h>

namespace data {

struct SqliteClose {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct SqliteFinalize {
    void operator()(sqlite3_stmt* stmt) const { sqlite3_finalize(stmt); }
};

// An open SQLite connection, closed with its owner.
using SqliteDb = std::unique_ptr<sqlite3, SqliteClose>;

// A prepared statement, finalized with its owner.
class Statement {
public:
    Statement() = default;
    // Prepares sql on db; returns SQLite's result code (the statement stays empty on failure).
    int prepare(sqlite3* db, const QByteArray& sql) {
        sqlite3_stmt* stmt = nullptr;
        const int rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
        m_stmt.reset(stmt);
        return rc;
    }
    sqlite3_stmt* get() const { return m_stmt.get(); }
    explicit operator bool() const { return m_stmt != nullptr; }
    int step() { return sqlite3_step(m_stmt.get()); }
    // Ready for the next run: its rows done with and its parameters unbound.
    void reset() {
        sqlite3_reset(m_stmt.get());
        sqlite3_clear_bindings(m_stmt.get());
    }

private:
    std::unique_ptr<sqlite3_stmt, SqliteFinalize> m_stmt;
};

// Resets a statement however the reading of its rows ends.
class ResetGuard {
public:
    explicit ResetGuard(Statement& statement) : m_statement(statement) {}
    ~ResetGuard() { m_statement.reset(); }
    ResetGuard(const ResetGuard&) = delete;
    ResetGuard& operator=(const ResetGuard&) = delete;

private:
    Statement& m_statement;
};

} // namespace data

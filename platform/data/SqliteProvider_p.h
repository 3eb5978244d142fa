#pragma once

#include "Provider.h"
#include "SqlDialect.h"
#include "SqliteHandle_p.h"
#include "SqliteTranslation_p.h"

#include <QHash>

#include <array>
#include <memory>

namespace data {

// The embedded engine: the file named as data source is a SQLite database that runs the texts
// of one SQL dialect (Jet or SQL Server). Texts are translated once per shape (the text with its
// literals taken out) and their prepared statements kept for reuse. The file is opened as it
// is: its journal mode and other settings stay the file's own, and nothing the dialect needs to
// compare texts is stored in it.
class SqliteProvider : public Provider {
public:
    // Opens the file (a path as the program writes it) for the dialect; throws a database error
    // when it is missing, is no database (an empty file included), is locked or the dialect
    // refuses it (a password that does not match).
    SqliteProvider(const QString& file, std::unique_ptr<SqlDialect> dialect);
    ~SqliteProvider() override;
    SqliteProvider(const SqliteProvider&) = delete;
    SqliteProvider& operator=(const SqliteProvider&) = delete;

    QString dataSource() const override { return m_file; }
    QueryResult query(const QString& sql, bool updatable) override;
    long execute(const QString& sql) override;
    void updateRow(const QString& table, qint64 rowid, const ColumnValues& values) override;
    qint64 insertRow(const QString& table, const ColumnValues& values) override;
    QVector<runtime::Variant> readRow(const QString& table, qint64 rowid,
                                      const QVector<ColumnInfo>& columns) override;
    void beginTransaction() override;
    void commitTransaction() override;
    // Another connection's write transaction (another program's) is waited for up to waitMs here;
    // every other statement waits for a locked file up to busyTimeoutMs.
    bool beginWriteTransaction(int waitMs) override;
    void relaxDurability() override;

    static constexpr int busyTimeoutMs = 5000;

private:
    struct Prepared;
    struct RowStatement;
    class Cursor;
    enum class RowVerb { Insert, Update, Read };
    // The SQLite text of a statement of the provider's dialect.
    SqliteText translate(const QVector<SqlToken>& tokens, bool wantRowid);
    // The declared type of a table's column: null when there is no such column.
    QString declaredType(const QString& table, const QString& column) const;
    [[noreturn]] void fail() const;
    // A text met lately: its shape, and the statements prepared for it.
    struct Known {
        QString sql;
        SqlText text;
        std::array<std::shared_ptr<Prepared>, 2> statements; // read only, updatable
    };
    // The entry of a text's kind (its beginning), tokenized without tokens and its literals read by
    // the dialect, or recognised as the entry's text with other numbers; its literals in literals.
    Known& known(const QString& sql, QVector<runtime::Variant>& literals);
    SqlText shapeOf(const QString& sql);
    long execute(const QString& sql, const SqlText& text);
    // The statement prepared for the text's shape; a text of a new shape is translated (and
    // tokenized) once.
    std::shared_ptr<Prepared> prepared(const QString& sql, const SqlText& text, bool updatable);
    std::shared_ptr<Prepared> prepare(const QString& sql, bool updatable);
    RowStatement& rowStatement(RowVerb verb, const QString& table, const ColumnValues& values,
                               const QVector<ColumnInfo>& columns);
    QVector<runtime::Variant> runRowStatement(RowStatement& s, const ColumnValues& values, qint64 rowid);
    QString lookUpDeclaredType(const QString& table, const QString& column) const;
    // Throws the connection's last error unless rc tells of success.
    void check(int rc) const;
    void run(const char* sql);
    void bindLiterals(Statement& statement, const QVector<runtime::Variant>& literals);
    // Reads the rest of every open cursor before a write changes what they would read.
    void settleCursors();
    void clearCaches();

    QString m_file;
    std::unique_ptr<SqlDialect> m_dialect;
    SqliteDb m_db;
    int m_transactions = 0;
    QHash<QString, std::shared_ptr<Prepared>> m_translated; // by shape
    QHash<size_t, Known> m_known;                           // by the hash of the text's beginning
    QHash<size_t, std::shared_ptr<RowStatement>> m_rows;    // by verb, table and columns
    std::shared_ptr<RowStatement> m_lastRow[3];             // the last one used, by verb
    mutable QHash<QString, QString> m_declared;             // declared column types
    QVector<Cursor*> m_cursors;                             // open cursors
};

// The engine on a Jet file (a password stored in it must match) and on a SQL Server file.
std::unique_ptr<Provider> openJetFile(const QString& file, const QString& password);
std::unique_ptr<Provider> openSqlServerFile(const QString& file);

} // namespace data

#pragma once

#include "JetSql.h"
#include "Provider.h"

#include <QHash>

#include <memory>

struct sqlite3;
struct sqlite3_stmt;

namespace data {

// The Jet 4.0 provider: the file named as data source is a SQLite database; Jet texts are
// translated once per shape and their prepared statements kept for reuse. A password stored
// in the file's MSysPassword table must match the one of the connection string.
class JetProvider : public Provider {
public:
    // Opens the file (a path as the program writes it); throws a database error when it is
    // missing, is no database or the password does not match.
    JetProvider(const QString& file, const QString& password);
    ~JetProvider() override;
    JetProvider(const JetProvider&) = delete;
    JetProvider& operator=(const JetProvider&) = delete;

    QString dataSource() const override { return m_file; }
    QueryResult query(const QString& sql, bool updatable) override;
    long execute(const QString& sql) override;
    void updateRow(const QString& table, qint64 rowid, const ColumnValues& values) override;
    qint64 insertRow(const QString& table, const ColumnValues& values) override;
    QVector<runtime::Variant> readRow(const QString& table, qint64 rowid,
                                      const QVector<ColumnInfo>& columns) override;
    // The write returns the row it wrote (RETURNING): one statement instead of two.
    qint64 insertRow(const QString& table, const ColumnValues& values, const QVector<ColumnInfo>& columns,
                     QVector<runtime::Variant>& row) override;
    void updateRow(const QString& table, qint64 rowid, const ColumnValues& values,
                   const QVector<ColumnInfo>& columns, QVector<runtime::Variant>& row) override;

    // The table that holds the database password.
    static constexpr const char* passwordTable = "MSysPassword";

protected:
    // The SQLite text of a statement of the provider's dialect.
    virtual SqliteText translate(const QVector<SqlToken>& tokens, bool wantRowid);
    // The declared type of a table's column: null when there is no such column.
    QString declaredType(const QString& table, const QString& column) const;
    sqlite3* handle() const { return m_db; }
    [[noreturn]] void fail() const;

private:
    struct Prepared;
    struct RowStatement;
    enum class RowVerb { Insert, Update, Read };
    Prepared& prepared(const JetText& text, bool updatable);
    RowStatement& rowStatement(RowVerb verb, const QString& table, const ColumnValues& values,
                               const QVector<ColumnInfo>& columns);
    QVector<runtime::Variant> runRowStatement(RowStatement& s, const ColumnValues& values, qint64 rowid);
    QString lookUpDeclaredType(const QString& table, const QString& column) const;
    void clearCaches();

    QString m_file;
    sqlite3* m_db = nullptr;
    QHash<QString, std::shared_ptr<Prepared>> m_translated; // by shape
    QHash<QString, std::shared_ptr<RowStatement>> m_rows;   // by verb, table and columns
    mutable QHash<QString, QString> m_declared;             // declared column types
};

} // namespace data

#pragma once

#include "Provider.h"

#include <QHash>

namespace data {

// A database reached through unixODBC and the driver an ODBC connection string names
// (FreeTDS for SQL Server). Texts go to the server as they are; values written through a
// recordset are bound as parameters. Result columns come back as the Variant types of their
// SQL types: date and time types as Date, money as Currency, decimal and float as Double,
// bit as Boolean. A query's rows are read whole before it returns: a server connection without
// multiple active result sets serves one statement at a time. Failures raise a database error with the
// driver's or the server's text.
class OdbcProvider : public Provider {
public:
    // Connects; loginTimeout bounds the wait for the server, in seconds.
    OdbcProvider(const QString& connectionString, int loginTimeout, const QString& dataSource);
    ~OdbcProvider() override;
    OdbcProvider(const OdbcProvider&) = delete;
    OdbcProvider& operator=(const OdbcProvider&) = delete;

    QString dataSource() const override { return m_dataSource; }
    QueryResult query(const QString& sql, bool updatable) override;
    long execute(const QString& sql) override;
    void updateRow(const QString& table, qint64 rowid, const ColumnValues& values) override;
    qint64 insertRow(const QString& table, const ColumnValues& values) override;
    QVector<runtime::Variant> readRow(const QString& table, qint64 rowid,
                                      const QVector<ColumnInfo>& columns) override;
    void beginTransaction() override;
    void commitTransaction() override;
    void relaxDurability() override {}

private:
    class Statement;
    // A row read or written through a recordset, as the server holds it: what finds it again.
    struct KnownRow {
        QString table;
        QVector<QString> columns;
        QVector<runtime::Variant> values;
    };
    void setKnown(KnownRow& row, const ColumnValues& values);

    void* m_env = nullptr;
    void* m_dbc = nullptr;
    QString m_dataSource;
    int m_transactions = 0;
    QHash<qint64, KnownRow> m_rows;
    qint64 m_nextRow = 1;
};

// The table of a SELECT of "*" or plain columns from one table, else empty.
QString plainTable(const QString& sql);

} // namespace data

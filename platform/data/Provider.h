#pragma once

#include "runtime/Variant.h"

#include <QString>
#include <QVector>

namespace data {

// ADO-like field type codes.
namespace adType {
constexpr int Empty = 0;
constexpr int SmallInt = 2;
constexpr int Integer = 3;
constexpr int Double = 5;
constexpr int Currency = 6;
constexpr int Date = 7;
constexpr int Boolean = 11;
constexpr int VarWChar = 202;
constexpr int LongVarWChar = 203;
} // namespace adType

// One column of a result: its name and type, and where it comes from when it is a plain
// column of a table.
struct ColumnInfo {
    QString name;
    int type = adType::VarWChar;
    QString declaredType; // as the table declares it; empty for computed columns
    QString baseColumn;   // the table column it reads, if any
};

// The rows a query returned, read whole. When every column comes from one table, the rows
// can be changed: rowids holds each row's key and table that table.
struct QueryResult {
    QVector<ColumnInfo> columns;
    QVector<QVector<runtime::Variant>> rows;
    QString table;          // non-empty when the rows can be updated
    QVector<qint64> rowids; // one per row when table is set
};

// A named column and the value to store in it.
using ColumnValues = QVector<QPair<QString, runtime::Variant>>;

// What a connection needs of a database engine. Failures throw runtime::RuntimeError.
class Provider {
public:
    virtual ~Provider() = default;
    virtual QString dataSource() const = 0;
    // Runs a query of the provider's dialect; with updatable the rows are keyed when possible.
    virtual QueryResult query(const QString& sql, bool updatable) = 0;
    // Runs a statement; returns the number of rows it changed.
    virtual long execute(const QString& sql) = 0;
    // Writes values into the row of table with that key.
    virtual void updateRow(const QString& table, qint64 rowid, const ColumnValues& values) = 0;
    // Adds a row; returns its key.
    virtual qint64 insertRow(const QString& table, const ColumnValues& values) = 0;
    // Reads the named columns of one row back, as a query of them would give them.
    virtual QVector<runtime::Variant> readRow(const QString& table, qint64 rowid,
                                              const QVector<ColumnInfo>& columns) = 0;

    // The same writes followed by the read of the row they wrote; a provider may do both in one step.
    virtual qint64 insertRow(const QString& table, const ColumnValues& values,
                             const QVector<ColumnInfo>& columns, QVector<runtime::Variant>& row) {
        const qint64 rowid = insertRow(table, values);
        row = readRow(table, rowid, columns);
        return rowid;
    }
    virtual void updateRow(const QString& table, qint64 rowid, const ColumnValues& values,
                           const QVector<ColumnInfo>& columns, QVector<runtime::Variant>& row) {
        updateRow(table, rowid, values);
        row = readRow(table, rowid, columns);
    }
};

} // namespace data

#pragma once

#include "runtime/Variant.h"

#include <QString>
#include <QVector>

#include <memory>

namespace data {

class ColumnNames;

// Field type codes, the numbers Field::type gives.
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

// The rows of a query, moved through in order. The row moved to is read a column at a time, each
// value made when it is asked for; a row kept is read later through its handle, after the cursor
// has moved on.
class RowCursor {
public:
    virtual ~RowCursor() = default;
    // Moves to the next row; false after the last.
    virtual bool next() = 0;
    // A column of the row moved to.
    virtual runtime::Variant value(int column) = 0;
    // The key of the row moved to when the rows can be updated; -1 otherwise.
    virtual qint64 rowid() = 0;
    // Keeps the row moved to; gives the handle to read it by.
    virtual size_t keep() = 0;
    // Lets go of every row kept: their handles mean nothing after.
    virtual void forget() = 0;
    virtual runtime::Variant keptValue(size_t row, int column) const = 0;
    virtual qint64 keptRowid(size_t row) const = 0;
    // The type a column without declared type takes from its first non-null value, once passed.
    virtual int columnType(int column) const = 0;
};

// A query's columns and a cursor over its rows. When every column comes from one table, the
// rows can be changed: table names that table and the cursor gives each row's key.
struct QueryResult {
    QVector<ColumnInfo> columns;
    std::unique_ptr<RowCursor> rows;
    QString table; // non-empty when the rows can be updated
    std::shared_ptr<const ColumnNames> names;
};

// A named column and the value to store in it.
using ColumnValues = QVector<QPair<QString, runtime::Variant>>;

// What a connection needs of a database engine. Failures throw runtime::RuntimeError.
class Provider {
public:
    virtual ~Provider() = default;
    virtual QString dataSource() const = 0;
    // Runs a query of the provider's dialect; with updatable the rows are keyed when possible.
    // A statement that is no query runs and gives no columns.
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

    // Groups the writes that follow into one unit, until as many commits as begins; nested
    // begins join the outer one.
    virtual void beginTransaction() = 0;
    virtual void commitTransaction() = 0;
    // Begins a transaction that holds the database's write lock from its start, waiting up to
    // waitMs for another connection to release it; false, with nothing begun, when it does not.
    // Inside a transaction it joins it. A provider without such a lock just begins.
    virtual bool beginWriteTransaction(int /*waitMs*/) {
        beginTransaction();
        return true;
    }
    // The file is the program's own scratch: a write need not reach the disk before it returns.
    virtual void relaxDurability() = 0;
};

} // namespace data

#pragma once

#include "Connection.h"
#include "Provider.h"

#include <QHash>
#include <QVector>

#include <climits>

#include <vector>

namespace data {

class Recordset;

// One column of a recordset, seen at the recordset's current row.
class Field {
public:
    Field(Recordset* recordset, int index) : m_recordset(recordset), m_index(index) {}

    QString name() const;
    // The current row's value: a Date for columns declared as dates or times.
    runtime::Variant value() const;
    // Assigns the value on the new row (AddNew) or on the current row; Update stores it.
    void setValue(const runtime::Variant& value);
    // Its type code (data::adType).
    int type() const;

private:
    Recordset* m_recordset;
    int m_index;
};

// The rows of a query, read as they are walked with a current row (whole when counted or
// moved to the last); a recordset opened with a lock other than read-only on a single-table
// query adds and updates rows of that table.
class Recordset {
public:
    Recordset() = default;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    void open(const QString& source, ConnectionPtr connection, CursorType cursorType = adOpenForwardOnly,
              LockType lockType = adLockReadOnly, long options = -1);
    bool eof() const;
    bool bof() const;
    void moveFirst();
    void moveLast();
    void moveNext();
    // The number of rows; -1 for a forward-only or dynamic cursor on the server side.
    long recordCount() const;
    // GetRows: [field][row], from the current row on (at most rows of them when rows >= 0).
    QVector<QVector<runtime::Variant>> getRows(long rows = -1);
    int fieldCount() const;
    // By name without regard to case (the first of equal names), or by position.
    Field& fields(const QString& name);
    Field& fields(int index);
    void addNew();
    void update();
    void close();
    bool isOpen() const { return m_open; }

private:
    friend class Field;
    runtime::Variant fieldValue(int index) const;
    void setFieldValue(int index, const runtime::Variant& value);
    void requireOpen() const;
    void finishEdit();
    // Reads rows until the one at index is there or there are no more.
    void fetch(int index) const;
    void fetchAll() const { fetch(INT_MAX - 1); }
    bool hasRow() const;
    // Makes values of the last row the cursor moved to, if they are not made yet.
    void readMovedTo() const;
    // The row at the current position (which must be one), read back if it was written.
    const QVector<runtime::Variant>& currentRow() const;

    enum class Edit { None, Changed, Adding };

    ConnectionPtr m_connection;
    bool m_open = false;
    bool m_countable = false;
    bool m_updatable = false;
    QVector<ColumnInfo> m_columns;
    QString m_table;
    mutable std::unique_ptr<RowCursor> m_cursor;       // the rows not read yet
    mutable QVector<QVector<runtime::Variant>> m_rows; // an empty row is read back when needed
    mutable QVector<qint64> m_rowids;
    mutable bool m_unread = false; // the last row is the cursor's, not read yet
    std::shared_ptr<const ColumnNames> m_names;
    std::vector<Field> m_fields; // sized at open: references to them stay valid while open
    int m_position = 0;
    Edit m_edit = Edit::None;
    QVector<runtime::Variant> m_buffer;
    QVector<bool> m_changed;
    ColumnValues m_values; // the values an update writes
};

} // namespace data

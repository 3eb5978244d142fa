#pragma once

#include "Connection.h"
#include "Provider.h"

#include <QHash>
#include <QSet>
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
    void setValue(runtime::Variant&& value);
    // Its type code (data::adType).
    int type() const;

private:
    Recordset* m_recordset;
    int m_index;
};

// The rows of a query, read as they are walked: the cursor moves on when a row past those it has
// passed is asked for, and a value is made when it is read. The rows passed are kept compactly, so
// a recordset moves back to them (and counts them) without making values of each. A recordset
// opened with a lock other than read-only on a single-table query adds and updates rows of that
// table.
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
    int columnType(int index) const;
    void setFieldValue(int index, runtime::Variant&& value);
    void requireOpen() const;
    void finishEdit();
    // Moves the cursor on until the row at index is there or there are no more.
    void fetch(int index) const;
    void fetchAll() const { fetch(INT_MAX - 1); }
    // The rows there so far: those passed, the one the cursor is on, those added.
    int rowCount() const { return m_passed + (m_onRow ? 1 : 0) + int(m_added.size()); }
    bool hasRow() const;
    // A column of the row at a position that is there, read when first asked for.
    const runtime::Variant& valueAt(int position, int column) const;
    qint64 rowidAt(int position) const;

    enum class Edit { None, Changed, Adding };

    ConnectionPtr m_connection;
    bool m_open = false;
    bool m_countable = false;
    bool m_updatable = false;
    QVector<ColumnInfo> m_columns;
    QString m_table;
    mutable std::unique_ptr<RowCursor> m_cursor; // holds the rows passed, also after the last
    mutable bool m_ended = false;                // the cursor is past its last row
    mutable int m_passed = 0;                    // rows the cursor has moved past and kept
    mutable std::vector<size_t> m_kept;          // the handle of each
    mutable bool m_onRow = false;                // the cursor is on the row after them
    QVector<qint64> m_added;                     // keys of the rows added, after the query's rows
    QSet<int> m_written;                         // query rows updated: read back from the table
    // The values of one row as they are read: its position, the values, whether each is made.
    mutable int m_rowAt = -1;
    mutable QVector<runtime::Variant> m_row;
    mutable std::vector<quint32> m_made; // a value is made when its entry is the generation
    mutable quint32 m_generation = 1;    // of the row's values, one more at each row
    std::shared_ptr<const ColumnNames> m_names;
    std::vector<Field> m_fields; // sized at open: references to them stay valid while open
    int m_position = 0;
    Edit m_edit = Edit::None;
    QVector<runtime::Variant> m_buffer;
    QVector<bool> m_changed;
    ColumnValues m_values;       // the values an update writes
    QVector<int> m_valueColumns; // the columns they go to
};

} // namespace data

#include "Recordset.h"

#include "ColumnNames_p.h"
#include "runtime/RuntimeError.h"

namespace data {

using runtime::Variant;

void Recordset::open(const QString& source, ConnectionPtr connection, CursorType cursorType,
                     LockType lockType, long /*options*/) {
    if (m_open) runtime::raise(runtime::err::ObjectOpen);
    if (!connection || !connection->isOpen()) runtime::raise(runtime::err::ConnectionNotUsable);
    const bool client = connection->cursorLocation() == adUseClient;
    m_updatable = lockType != adLockReadOnly;
    QueryResult result = connection->provider().query(source, m_updatable);
    if (result.columns.isEmpty()) return; // a statement that returns no rows leaves the recordset closed
    m_connection = std::move(connection);
    m_columns = std::move(result.columns);
    m_table = std::move(result.table);
    m_cursor = std::move(result.rows);
    m_ended = false;
    m_passed = 0;
    m_kept.clear();
    m_onRow = false;
    m_added.clear();
    m_written.clear();
    m_values.clear();
    m_valueColumns.clear();
    m_rowAt = -1;
    m_row.resize(m_columns.size());
    m_made.assign(size_t(m_columns.size()), 0);
    m_generation = 1;
    m_countable = client || cursorType == adOpenStatic || cursorType == adOpenKeyset;
    m_fields.clear();
    m_fields.reserve(m_columns.size());
    for (int i = 0; i < m_columns.size(); ++i)
        m_fields.emplace_back(this, i);
    m_names = result.names ? std::move(result.names) : std::make_shared<const ColumnNames>(m_columns);
    m_position = 0;
    m_edit = Edit::None;
    m_open = true;
}

void Recordset::fetch(int index) const {
    while (!m_ended && index >= rowCount()) {
        if (m_onRow) {
            m_kept.push_back(m_cursor->keep());
            ++m_passed;
            m_onRow = false;
        }
        m_onRow = m_cursor->next();
        m_ended = !m_onRow;
    }
}

bool Recordset::hasRow() const {
    fetch(m_position);
    return m_position >= 0 && m_position < rowCount();
}

void Recordset::requireOpen() const {
    if (!m_open) runtime::raise(runtime::err::ObjectClosed);
}

bool Recordset::eof() const {
    requireOpen();
    if (m_edit == Edit::Adding) return false;
    fetch(m_position);
    return m_position >= rowCount();
}

bool Recordset::bof() const {
    requireOpen();
    if (m_edit == Edit::Adding) return false;
    fetch(0);
    return m_position < 0 || rowCount() == 0;
}

void Recordset::finishEdit() {
    if (m_edit != Edit::None) update();
}

void Recordset::moveFirst() {
    requireOpen();
    finishEdit();
    fetch(0);
    if (rowCount() == 0) runtime::raise(runtime::err::NoCurrentRecord);
    m_position = 0;
}

void Recordset::moveLast() {
    requireOpen();
    finishEdit();
    fetchAll();
    if (rowCount() == 0) runtime::raise(runtime::err::NoCurrentRecord);
    m_position = rowCount() - 1;
}

void Recordset::moveNext() {
    requireOpen();
    finishEdit();
    fetch(m_position);
    if (m_position >= rowCount()) runtime::raise(runtime::err::NoCurrentRecord);
    ++m_position;
}

long Recordset::recordCount() const {
    requireOpen();
    if (!m_countable) return -1;
    fetchAll();
    return long(rowCount());
}

QVector<QVector<Variant>> Recordset::getRows(long rows) {
    requireOpen();
    finishEdit();
    if (!hasRow()) runtime::raise(runtime::err::NoCurrentRecord);
    if (rows < 0 || rows > INT_MAX - 1 - m_position)
        fetchAll();
    else
        fetch(int(m_position + rows - 1));
    long available = long(rowCount()) - m_position;
    if (rows >= 0 && rows < available) available = rows;
    QVector<QVector<Variant>> block(m_columns.size(), QVector<Variant>(available));
    for (long r = 0; r < available; ++r, ++m_position)
        for (int c = 0; c < m_columns.size(); ++c)
            block[c][r] = valueAt(m_position, c);
    return block;
}

int Recordset::fieldCount() const {
    requireOpen();
    return m_columns.size();
}

Field& Recordset::fields(const QString& name) {
    requireOpen();
    const int index = m_names->indexOf(name);
    if (index < 0) runtime::raise(runtime::err::ItemNotFound);
    return m_fields[index];
}

Field& Recordset::fields(int index) {
    requireOpen();
    if (index < 0 || index >= m_columns.size()) runtime::raise(runtime::err::ItemNotFound);
    return m_fields[index];
}

int Recordset::columnType(int index) const {
    requireOpen();
    fetchAll(); // a column without declared type takes the type of its first value
    return m_cursor ? m_cursor->columnType(index) : m_columns[index].type;
}

Variant Recordset::fieldValue(int index) const {
    requireOpen();
    if (m_edit == Edit::None && m_rowAt == m_position && m_made[size_t(index)] == m_generation)
        return m_row[index];
    if (m_edit != Edit::None && (m_edit == Edit::Adding || m_changed[index])) return m_buffer[index];
    if (!hasRow()) runtime::raise(runtime::err::NoCurrentRecord);
    return valueAt(m_position, index);
}

void Recordset::setFieldValue(int index, Variant&& value) {
    requireOpen();
    if (!m_updatable) runtime::raise(runtime::err::NotUpdatable);
    if (m_table.isEmpty()) runtime::raise(runtime::err::NotAnUpdatableQuery);
    if (m_edit == Edit::None) {
        if (!hasRow()) runtime::raise(runtime::err::NoCurrentRecord);
        // Only the columns set are written and read from the buffer; the others from the row.
        m_buffer.resize(m_columns.size());
        m_changed.resize(m_columns.size());
        m_changed.fill(false);
        m_edit = Edit::Changed;
    }
    m_buffer[index] = std::move(value);
    m_changed[index] = true;
}

void Recordset::addNew() {
    requireOpen();
    if (!m_updatable) runtime::raise(runtime::err::NotUpdatable);
    if (m_table.isEmpty()) runtime::raise(runtime::err::NotAnUpdatableQuery);
    finishEdit();
    // The buffers of the last new row are reused: a build adds rows one after another.
    m_buffer.resize(m_columns.size());
    m_buffer.fill(Variant::null());
    m_changed.resize(m_buffer.size());
    m_changed.fill(false);
    m_edit = Edit::Adding;
}

void Recordset::update() {
    requireOpen();
    if (m_edit == Edit::None) return;
    const Edit edit = m_edit;
    m_edit = Edit::None; // a failed update is dropped, not retried on the next move
    ColumnValues& values = m_values;
    // A build writes the same columns row after row: their names stay, their values change.
    int count = 0;
    bool same = true;
    for (int i = 0; i < m_buffer.size(); ++i)
        if (m_changed[i]) same = same && count < m_valueColumns.size() && m_valueColumns[count++] == i;
    if (same && count == m_valueColumns.size()) {
        for (int k = 0; k < count; ++k)
            values[k].second = std::move(m_buffer[m_valueColumns[k]]); // spent
    } else {
        values.clear();
        m_valueColumns.clear();
        for (int i = 0; i < m_buffer.size(); ++i)
            if (m_changed[i]) {
                values.emplaceBack(m_columns[i].baseColumn, std::move(m_buffer[i]));
                m_valueColumns.append(i);
            }
    }
    Provider& provider = m_connection->provider();
    // The row is read back as stored when it is next looked at.
    if (edit == Edit::Adding) {
        fetchAll(); // the new row comes after every row of the query
        m_added.append(provider.insertRow(m_table, values));
        m_position = rowCount() - 1;
    } else {
        provider.updateRow(m_table, rowidAt(m_position), values);
        m_written.insert(m_position);
    }
    if (m_rowAt == m_position) m_rowAt = -1;
}

qint64 Recordset::rowidAt(int position) const {
    if (position < m_passed) return m_cursor->keptRowid(m_kept[size_t(position)]);
    if (position == m_passed && m_onRow) return m_cursor->rowid();
    return m_added[position - m_passed];
}

const Variant& Recordset::valueAt(int position, int column) const {
    if (m_rowAt != position) {
        m_rowAt = position;
        if (++m_generation == 0) { // flags of rows long gone could match again
            std::fill(m_made.begin(), m_made.end(), 0);
            m_generation = 1;
        }
    }
    if (m_made[size_t(column)] != m_generation) {
        const bool onCursor = position < m_passed + (m_onRow ? 1 : 0);
        if (!onCursor || m_written.contains(position)) {
            // A row written: every column as stored.
            m_row = m_connection->provider().readRow(m_table, rowidAt(position), m_columns);
            std::fill(m_made.begin(), m_made.end(), m_generation);
        } else {
            m_row[column] = position < m_passed ? m_cursor->keptValue(m_kept[size_t(position)], column)
                                                : m_cursor->value(column);
            m_made[size_t(column)] = m_generation;
        }
    }
    return m_row[column];
}

void Recordset::close() {
    requireOpen();
    m_open = false;
    m_edit = Edit::None;
    m_cursor.reset();
    m_ended = false;
    m_passed = 0;
    m_kept.clear();
    m_onRow = false;
    m_added = {};
    m_written = {};
    m_rowAt = -1;
    m_row.clear(); // its room serves the next query
    m_columns = {};
    m_names.reset();
    m_connection.reset();
}

QString Field::name() const {
    m_recordset->requireOpen();
    return m_recordset->m_columns[m_index].name;
}

runtime::Variant Field::value() const {
    return m_recordset->fieldValue(m_index);
}

void Field::setValue(const runtime::Variant& value) {
    m_recordset->setFieldValue(m_index, runtime::Variant(value));
}

void Field::setValue(runtime::Variant&& value) {
    m_recordset->setFieldValue(m_index, std::move(value));
}

int Field::type() const {
    return m_recordset->columnType(m_index);
}

} // namespace data

#include "Recordset.h"

#include "runtime/RuntimeError.h"

namespace data {

using runtime::Variant;

void Recordset::open(const QString& source, ConnectionPtr connection, CursorType cursorType,
                     LockType lockType, long /*options*/) {
    if (m_open) runtime::raise(runtime::err::ObjectOpen);
    if (!connection || !connection->isOpen()) runtime::raise(runtime::err::ConnectionNotUsable);
    const bool client = connection->cursorLocation() == adUseClient;
    m_updatable = lockType != adLockReadOnly;
    m_result = connection->provider().query(source, m_updatable);
    if (m_result.columns.isEmpty()) return; // a statement that returns no rows leaves the recordset closed
    m_connection = std::move(connection);
    m_countable = client || cursorType == adOpenStatic || cursorType == adOpenKeyset;
    m_fields.clear();
    for (int i = 0; i < m_result.columns.size(); ++i)
        m_fields.emplace_back(this, i);
    m_position = 0;
    m_edit = Edit::None;
    m_open = true;
}

void Recordset::requireOpen() const {
    if (!m_open) runtime::raise(runtime::err::ObjectClosed);
}

bool Recordset::eof() const {
    requireOpen();
    return m_edit != Edit::Adding && m_position >= m_result.rows.size();
}

bool Recordset::bof() const {
    requireOpen();
    return m_edit != Edit::Adding && (m_position < 0 || m_result.rows.isEmpty());
}

void Recordset::finishEdit() {
    if (m_edit != Edit::None) update();
}

void Recordset::moveFirst() {
    requireOpen();
    finishEdit();
    if (m_result.rows.isEmpty()) runtime::raise(runtime::err::NoCurrentRecord);
    m_position = 0;
}

void Recordset::moveLast() {
    requireOpen();
    finishEdit();
    if (m_result.rows.isEmpty()) runtime::raise(runtime::err::NoCurrentRecord);
    m_position = m_result.rows.size() - 1;
}

void Recordset::moveNext() {
    requireOpen();
    finishEdit();
    if (m_position >= m_result.rows.size()) runtime::raise(runtime::err::NoCurrentRecord);
    ++m_position;
}

long Recordset::recordCount() const {
    requireOpen();
    return m_countable ? long(m_result.rows.size()) : -1;
}

QVector<QVector<Variant>> Recordset::getRows(long rows) {
    requireOpen();
    finishEdit();
    if (m_position < 0 || m_position >= m_result.rows.size()) runtime::raise(runtime::err::NoCurrentRecord);
    long available = long(m_result.rows.size()) - m_position;
    if (rows >= 0 && rows < available) available = rows;
    QVector<QVector<Variant>> block(m_result.columns.size(), QVector<Variant>(available));
    for (long r = 0; r < available; ++r)
        for (int c = 0; c < m_result.columns.size(); ++c)
            block[c][r] = m_result.rows[m_position + r][c];
    m_position += available;
    return block;
}

int Recordset::fieldCount() const {
    requireOpen();
    return m_result.columns.size();
}

Field& Recordset::fields(const QString& name) {
    requireOpen();
    for (int i = 0; i < m_result.columns.size(); ++i)
        if (m_result.columns[i].name.compare(name, Qt::CaseInsensitive) == 0) return m_fields[i];
    runtime::raise(runtime::err::ItemNotFound);
}

Field& Recordset::fields(int index) {
    requireOpen();
    if (index < 0 || index >= m_result.columns.size()) runtime::raise(runtime::err::ItemNotFound);
    return m_fields[index];
}

Variant Recordset::fieldValue(int index) const {
    requireOpen();
    if (m_edit != Edit::None && (m_edit == Edit::Adding || m_changed[index])) return m_buffer[index];
    if (m_position < 0 || m_position >= m_result.rows.size()) runtime::raise(runtime::err::NoCurrentRecord);
    return m_result.rows[m_position][index];
}

void Recordset::setFieldValue(int index, const Variant& value) {
    requireOpen();
    if (!m_updatable) runtime::raise(runtime::err::NotUpdatable);
    if (m_result.table.isEmpty()) runtime::raise(runtime::err::NotAnUpdatableQuery);
    if (m_edit == Edit::None) {
        if (m_position < 0 || m_position >= m_result.rows.size())
            runtime::raise(runtime::err::NoCurrentRecord);
        m_buffer = m_result.rows[m_position];
        m_changed = QVector<bool>(m_buffer.size(), false);
        m_edit = Edit::Changed;
    }
    m_buffer[index] = value;
    m_changed[index] = true;
}

void Recordset::addNew() {
    requireOpen();
    if (!m_updatable) runtime::raise(runtime::err::NotUpdatable);
    if (m_result.table.isEmpty()) runtime::raise(runtime::err::NotAnUpdatableQuery);
    finishEdit();
    m_buffer = QVector<Variant>(m_result.columns.size(), Variant::null());
    m_changed = QVector<bool>(m_buffer.size(), false);
    m_edit = Edit::Adding;
}

void Recordset::update() {
    requireOpen();
    if (m_edit == Edit::None) return;
    const Edit edit = m_edit;
    m_edit = Edit::None; // a failed update is dropped, not retried on the next move
    ColumnValues values;
    for (int i = 0; i < m_buffer.size(); ++i)
        if (m_changed[i]) values.append({m_result.columns[i].baseColumn, m_buffer[i]});
    Provider& provider = m_connection->provider();
    if (edit == Edit::Adding) {
        QVector<Variant> row;
        const qint64 rowid = provider.insertRow(m_result.table, values, m_result.columns, row);
        m_result.rows.append(row);
        m_result.rowids.append(rowid);
        m_position = m_result.rows.size() - 1;
    } else {
        const qint64 rowid = m_result.rowids[m_position];
        provider.updateRow(m_result.table, rowid, values, m_result.columns, m_result.rows[m_position]);
    }
}

void Recordset::close() {
    requireOpen();
    m_open = false;
    m_edit = Edit::None;
    m_result = QueryResult();
    m_connection.reset();
}

} // namespace data

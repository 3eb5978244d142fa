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
    m_rows.clear();
    m_rowids.clear();
    m_unread = false;
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
    while (m_cursor && index >= m_rows.size()) {
        readMovedTo();
        if (!m_cursor->next()) {
            // Written only where it changed: the columns are shared with the provider's copy.
            for (int i = 0; i < m_columns.size(); ++i)
                if (const int type = m_cursor->columnType(i); m_columns.at(i).type != type)
                    const_cast<QVector<ColumnInfo>&>(m_columns)[i].type = type;
            m_cursor.reset();
            break;
        }
        m_rows.append(QVector<Variant>());
        m_rowids.append(-1);
        m_unread = true;
    }
}

void Recordset::readMovedTo() const {
    if (!m_unread) return;
    m_unread = false;
    m_cursor->read(m_rows.last(), m_rowids.last());
}

bool Recordset::hasRow() const {
    fetch(m_position);
    return m_position >= 0 && m_position < m_rows.size();
}

void Recordset::requireOpen() const {
    if (!m_open) runtime::raise(runtime::err::ObjectClosed);
}

bool Recordset::eof() const {
    requireOpen();
    if (m_edit == Edit::Adding) return false;
    fetch(m_position);
    return m_position >= m_rows.size();
}

bool Recordset::bof() const {
    requireOpen();
    if (m_edit == Edit::Adding) return false;
    fetch(0);
    return m_position < 0 || m_rows.isEmpty();
}

void Recordset::finishEdit() {
    if (m_edit != Edit::None) update();
}

void Recordset::moveFirst() {
    requireOpen();
    finishEdit();
    fetch(0);
    if (m_rows.isEmpty()) runtime::raise(runtime::err::NoCurrentRecord);
    m_position = 0;
}

void Recordset::moveLast() {
    requireOpen();
    finishEdit();
    fetchAll();
    if (m_rows.isEmpty()) runtime::raise(runtime::err::NoCurrentRecord);
    m_position = m_rows.size() - 1;
}

void Recordset::moveNext() {
    requireOpen();
    finishEdit();
    fetch(m_position);
    if (m_position >= m_rows.size()) runtime::raise(runtime::err::NoCurrentRecord);
    ++m_position;
}

long Recordset::recordCount() const {
    requireOpen();
    if (!m_countable) return -1;
    fetchAll();
    return long(m_rows.size());
}

QVector<QVector<Variant>> Recordset::getRows(long rows) {
    requireOpen();
    finishEdit();
    if (!hasRow()) runtime::raise(runtime::err::NoCurrentRecord);
    if (rows < 0 || rows > INT_MAX - 1 - m_position)
        fetchAll();
    else
        fetch(int(m_position + rows - 1));
    long available = long(m_rows.size()) - m_position;
    if (rows >= 0 && rows < available) available = rows;
    QVector<QVector<Variant>> block(m_columns.size(), QVector<Variant>(available));
    for (long r = 0; r < available; ++r, ++m_position)
        for (int c = 0; c < m_columns.size(); ++c)
            block[c][r] = currentRow()[c];
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

Variant Recordset::fieldValue(int index) const {
    requireOpen();
    if (m_edit != Edit::None && (m_edit == Edit::Adding || m_changed[index])) return m_buffer[index];
    if (!hasRow()) runtime::raise(runtime::err::NoCurrentRecord);
    return currentRow()[index];
}

void Recordset::setFieldValue(int index, const Variant& value) {
    requireOpen();
    if (!m_updatable) runtime::raise(runtime::err::NotUpdatable);
    if (m_table.isEmpty()) runtime::raise(runtime::err::NotAnUpdatableQuery);
    if (m_edit == Edit::None) {
        if (!hasRow()) runtime::raise(runtime::err::NoCurrentRecord);
        m_buffer = currentRow();
        m_changed = QVector<bool>(m_buffer.size(), false);
        m_edit = Edit::Changed;
    }
    m_buffer[index] = value;
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
    values.clear();
    for (int i = 0; i < m_buffer.size(); ++i)
        if (m_changed[i]) values.emplaceBack(m_columns[i].baseColumn, std::move(m_buffer[i])); // spent
    Provider& provider = m_connection->provider();
    // The row is read back as stored when it is next looked at.
    if (edit == Edit::Adding) {
        fetchAll(); // the new row comes after every row of the query
        m_rowids.append(provider.insertRow(m_table, values));
        m_rows.append(QVector<Variant>());
        m_position = m_rows.size() - 1;
    } else {
        provider.updateRow(m_table, m_rowids[m_position], values);
        m_rows[m_position] = {};
    }
}

const QVector<Variant>& Recordset::currentRow() const {
    if (m_position == m_rows.size() - 1) readMovedTo();
    QVector<Variant>& row = m_rows[m_position];
    if (row.isEmpty() && !m_columns.isEmpty())
        row = m_connection->provider().readRow(m_table, m_rowids[m_position], m_columns);
    return row;
}

void Recordset::close() {
    requireOpen();
    m_open = false;
    m_edit = Edit::None;
    m_cursor.reset();
    m_unread = false;
    m_rows = {};
    m_rowids = {};
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
    m_recordset->setFieldValue(m_index, value);
}

int Field::type() const {
    m_recordset->requireOpen();
    m_recordset->fetchAll(); // a column without declared type takes the type of its first value
    return m_recordset->m_columns[m_index].type;
}

} // namespace data

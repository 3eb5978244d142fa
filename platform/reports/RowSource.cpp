#include "RowSource.h"

namespace reports {

MemoryRowSource::MemoryRowSource(QStringList columns, QVector<Row> rows)
    : m_columns(std::move(columns)), m_rows(std::move(rows)) {}

bool MemoryRowSource::next() {
    if (m_current >= m_rows.size()) return false;
    m_last = m_current;
    ++m_current;
    return m_current < m_rows.size();
}

runtime::Variant MemoryRowSource::valueOf(qsizetype row, int column) const {
    if (row < 0 || row >= m_rows.size() || column >= m_rows[row].size()) return {};
    return m_rows[row][column];
}

} // namespace reports

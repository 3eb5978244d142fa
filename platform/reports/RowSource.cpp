#include "RowSource.h"

namespace reports {

MemoryRowSource::MemoryRowSource(QStringList columns, QVector<Row> rows)
    : m_columns(std::move(columns)), m_rows(std::move(rows)) {}

bool MemoryRowSource::next(Row& row) {
    if (m_next >= m_rows.size()) return false;
    row = m_rows[m_next++];
    return true;
}

} // namespace reports

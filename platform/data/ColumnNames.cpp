#include "ColumnNames.h"

#include "Provider.h"

namespace data {

size_t qHash(const ColumnNames::Name& name, size_t seed) {
    size_t h = seed;
    for (const QChar c : name.text)
        h = h * 31 + c.toCaseFolded().unicode();
    return h;
}

ColumnNames::ColumnNames(const QVector<ColumnInfo>& columns) {
    m_index.reserve(columns.size());
    for (int i = 0; i < columns.size(); ++i)
        if (!m_index.contains(Name{columns[i].name})) m_index.insert(Name{columns[i].name}, i);
}

int ColumnNames::indexOf(const QString& name) const {
    return m_index.value(Name{name}, -1);
}

} // namespace data

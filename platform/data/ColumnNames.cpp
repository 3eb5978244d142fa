#include "ColumnNames_p.h"

#include "Provider.h"

#include <iterator>

namespace data {

namespace {

// Simple case folding, without a table look-up for ASCII.
char16_t folded(char16_t u) {
    if (u < 0x80) return u >= 'A' && u <= 'Z' ? char16_t(u + ('a' - 'A')) : u;
    return QChar(u).toCaseFolded().unicode();
}

} // namespace

bool ColumnNames::Name::operator==(const Name& other) const {
    const qsizetype n = text.size();
    if (other.text.size() != n) return false;
    const auto* a = reinterpret_cast<const char16_t*>(text.constData());
    const auto* b = reinterpret_cast<const char16_t*>(other.text.constData());
    for (qsizetype i = 0; i < n; ++i)
        if (a[i] != b[i] && folded(a[i]) != folded(b[i])) return false;
    return true;
}

size_t qHash(const ColumnNames::Name& name, size_t seed) {
    size_t h = seed;
    const auto* u = reinterpret_cast<const char16_t*>(name.text.constData());
    for (qsizetype i = 0, n = name.text.size(); i < n; ++i)
        h = h * 31 + folded(u[i]);
    return h;
}

ColumnNames::ColumnNames(const QVector<ColumnInfo>& columns) {
    m_index.reserve(columns.size());
    for (int i = 0; i < columns.size(); ++i)
        if (!m_index.contains(Name{columns[i].name})) m_index.insert(Name{columns[i].name}, i);
}

int ColumnNames::indexOf(const QString& name) const {
    Recent& recent = m_recent[(quintptr(name.constData()) / sizeof(QChar)) % std::size(m_recent)];
    if (recent.name.constData() == name.constData() && recent.name.size() == name.size()) return recent.index;
    const int index = m_index.value(Name{name}, -1);
    recent = {name, index};
    return index;
}

} // namespace data

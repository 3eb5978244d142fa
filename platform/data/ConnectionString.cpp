#include "ConnectionString.h"

namespace data {

ConnectionString::ConnectionString(const QString& text) {
    int i = 0;
    const int n = text.size();
    while (i < n) {
        const int equals = text.indexOf(QLatin1Char('='), i);
        if (equals < 0) break;
        const QString key = text.mid(i, equals - i).trimmed();
        int j = equals + 1;
        while (j < n && text[j] == QLatin1Char(' '))
            ++j;
        QString value;
        if (j < n && (text[j] == QLatin1Char('"') || text[j] == QLatin1Char('\''))) {
            // A quoted value keeps its blanks and separators; its quote doubled stands for itself.
            const QChar quote = text[j];
            for (++j; j < n; ++j) {
                if (text[j] == quote) {
                    if (j + 1 < n && text[j + 1] == quote)
                        ++j;
                    else
                        break;
                }
                value += text[j];
            }
            const int semicolon = text.indexOf(QLatin1Char(';'), j);
            i = semicolon < 0 ? n : semicolon + 1;
        } else {
            const int semicolon = text.indexOf(QLatin1Char(';'), j);
            value = text.mid(j, (semicolon < 0 ? n : semicolon) - j).trimmed();
            i = semicolon < 0 ? n : semicolon + 1;
        }
        if (!key.isEmpty()) m_pairs.append({key, value});
    }
}

QString ConnectionString::value(const QString& key) const {
    for (const auto& pair : m_pairs)
        if (pair.first.compare(key, Qt::CaseInsensitive) == 0) return pair.second;
    return QString();
}

bool ConnectionString::contains(const QString& key) const {
    for (const auto& pair : m_pairs)
        if (pair.first.compare(key, Qt::CaseInsensitive) == 0) return true;
    return false;
}

} // namespace data

#include "Strings.h"

namespace runtime {

QStringList Split(const QString& text, const QString& delimiter) {
    if (text.isEmpty()) return {};
    if (delimiter.isEmpty()) return {text};
    return text.split(delimiter);
}

QString Mid(const QString& text, int start, int length) {
    if (start < 1) start = 1;
    return text.mid(start - 1, length);
}

} // namespace runtime

#pragma once

#include <QString>
#include <QStringList>

namespace runtime {

// The pieces of a text between delimiters; an empty text gives no pieces at all.
QStringList Split(const QString& text, const QString& delimiter);

// Mid(text, start[, length]) with 1-based start.
QString Mid(const QString& text, int start, int length = -1);

} // namespace runtime

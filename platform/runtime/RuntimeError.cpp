#include "RuntimeError.h"

#include <QHash>

#include <cmath>

namespace runtime {

RuntimeError::RuntimeError(long number, QString description, QString source)
    : m_number(number),
      m_description(description.isEmpty() ? errorDescription(number) : std::move(description)),
      m_source(std::move(source)) {
    m_what = QStringLiteral("Error %1 (%2)").arg(m_number).arg(m_description).toStdString();
}

QString errorDescription(long number) {
    static const QHash<long, QString> descriptions = {
        {3, QStringLiteral("Return without GoSub")},
        {5, QStringLiteral("Invalid procedure call or argument")},
        {6, QStringLiteral("Overflow")},
        {7, QStringLiteral("Out of memory")},
        {9, QStringLiteral("Subscript out of range")},
        {11, QStringLiteral("Division by zero")},
        {13, QStringLiteral("Type mismatch")},
        {52, QStringLiteral("Bad file name or number")},
        {53, QStringLiteral("File not found")},
        {57, QStringLiteral("Device I/O error")},
        {61, QStringLiteral("Disk full")},
        {62, QStringLiteral("Input past end of file")},
        {70, QStringLiteral("Permission denied")},
        {75, QStringLiteral("Path/File access error")},
        {76, QStringLiteral("Path not found")},
        {91, QStringLiteral("Object variable or With block variable not set")},
        {94, QStringLiteral("Invalid use of Null")},
        {380, QStringLiteral("Invalid property value")},
        {424, QStringLiteral("Object required")},
        {438, QStringLiteral("Object doesn't support this property or method")},
        {3265, QStringLiteral("Item cannot be found in the collection corresponding to the requested name or "
                              "ordinal.")},
        {3704, QStringLiteral("Operation is not allowed when the object is closed.")},
        {32755, QStringLiteral("Cancel was selected.")},
    };
    return descriptions.value(number, QStringLiteral("Application-defined or object-defined error"));
}

void raise(long number) {
    throw RuntimeError(number);
}

void raise(long number, const QString& description) {
    throw RuntimeError(number, description);
}

double checkedDouble(double value) {
    if (!std::isfinite(value)) raise(err::Overflow);
    return value;
}

} // namespace runtime

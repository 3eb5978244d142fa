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
    static const QHash<long, QString> descriptions = [] {
        QHash<long, QString> table;
        for (const Error& error :
             {err::ReturnWithoutGoSub,   err::InvalidProcedureCall, err::Overflow,
              err::OutOfMemory,          err::SubscriptOutOfRange,  err::InternalError,
              err::DivisionByZero,       err::TypeMismatch,         err::BadFileNameOrNumber,
              err::FileNotFound,         err::DeviceIOError,        err::DiskFull,
              err::InputPastEndOfFile,   err::PermissionDenied,     err::PathFileAccessError,
              err::PathNotFound,         err::ObjectNotSet,         err::InvalidUseOfNull,
              err::InvalidPropertyValue, err::ObjectRequired,       err::NotSupported,
              err::ItemNotFound,         err::ObjectClosed,         err::CancelError})
            table.insert(error.number, QString::fromUtf8(error.description));
        return table;
    }();
    return descriptions.value(number, QStringLiteral("Application-defined or object-defined error"));
}

void raise(const Error& error) {
    throw RuntimeError(error.number, QString::fromUtf8(error.description));
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

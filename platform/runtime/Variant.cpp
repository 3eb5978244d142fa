#include "Variant.h"

#include "DateSerial.h"
#include "Regional.h"
#include "RuntimeError.h"

#include <cmath>
#include <limits>

namespace runtime {

Variant::Variant(bool b) : m_type(Type::Boolean), m_number(b ? -1.0 : 0.0) {}

Variant::Variant(int v) : m_type(Type::Long), m_number(v) {}

Variant::Variant(std::int64_t v) : m_type(Type::Long), m_number(static_cast<double>(v)) {
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        m_type = Type::Double;
}

Variant::Variant(double v) : m_type(Type::Double), m_number(v) {}

Variant::Variant(const QString& s) : m_type(Type::String), m_string(s) {}

Variant::Variant(const char* s) : m_type(Type::String), m_string(QString::fromUtf8(s)) {}

Variant Variant::typed(Type type, double number) {
    Variant v;
    v.m_type = type;
    v.m_number = number;
    return v;
}

Variant Variant::null() {
    return typed(Type::Null, 0.0);
}

Variant Variant::integer(int value) {
    return typed(Type::Integer, value);
}

Variant Variant::currency(double value) {
    return typed(Type::Currency, std::round(value * 10000.0) / 10000.0);
}

Variant Variant::date(double serial) {
    return typed(Type::Date, serial);
}

bool Variant::isNumber() const {
    switch (m_type) {
    case Type::Boolean:
    case Type::Integer:
    case Type::Long:
    case Type::Double:
    case Type::Currency:
        return true;
    default:
        return false;
    }
}

QString Variant::toString() const {
    switch (m_type) {
    case Type::Empty:
        return {};
    case Type::Null:
        raise(err::InvalidUseOfNull);
    case Type::Boolean:
        return m_number != 0 ? QStringLiteral("True") : QStringLiteral("False");
    case Type::Integer:
    case Type::Long:
        return QString::number(static_cast<qlonglong>(m_number));
    case Type::Double:
    case Type::Currency:
        // A whole number of fewer than 16 digits reads the same without the general format.
        if (std::trunc(m_number) == m_number && std::fabs(m_number) < 1e15)
            return QString::number(static_cast<qlonglong>(m_number));
        return numberText(m_number);
    case Type::Date:
        return generalDate(m_number);
    case Type::String:
        return m_string;
    }
    return {};
}

QString Variant::toText() const {
    return m_type == Type::Null ? QString() : toString();
}

double Variant::toDouble() const {
    switch (m_type) {
    case Type::Empty:
        return 0.0;
    case Type::Null:
        raise(err::InvalidUseOfNull);
    case Type::String: {
        if (auto number = parseNumber(m_string)) return *number;
        raise(err::TypeMismatch);
    }
    default:
        return m_number;
    }
}

namespace {

// Rounds half to even (2.5 gives 2, 3.5 gives 4), as conversions to whole numbers round.
double bankersRound(double v) {
    double floor = std::floor(v);
    double diff = v - floor;
    if (diff > 0.5) return floor + 1;
    if (diff < 0.5) return floor;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

} // namespace

std::int32_t Variant::toLong() const {
    double v = bankersRound(toDouble());
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        raise(err::Overflow);
    return static_cast<std::int32_t>(v);
}

std::int16_t Variant::toInteger() const {
    double v = bankersRound(toDouble());
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
        raise(err::Overflow);
    return static_cast<std::int16_t>(v);
}

bool Variant::toBool() const {
    switch (m_type) {
    case Type::Empty:
        return false;
    case Type::Null:
        raise(err::InvalidUseOfNull);
    case Type::String: {
        QString text = m_string.trimmed();
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
        if (auto number = parseNumber(text)) return *number != 0;
        raise(err::TypeMismatch);
    }
    default:
        return m_number != 0;
    }
}

double Variant::toDate() const {
    switch (m_type) {
    case Type::Empty:
        return 0.0;
    case Type::Null:
        raise(err::InvalidUseOfNull);
    case Type::String: {
        if (auto serial = parseDate(m_string)) return *serial;
        if (auto number = parseNumber(m_string)) {
            if (!isDateSerial(*number)) raise(err::Overflow);
            return *number;
        }
        raise(err::TypeMismatch);
    }
    default:
        if (!isDateSerial(m_number)) raise(err::Overflow);
        return m_number;
    }
}

namespace {

bool numericLike(const Variant& v) {
    return v.isNumber() || v.isDate();
}

int sign(double d) {
    return d < 0 ? -1 : (d > 0 ? 1 : 0);
}

} // namespace

int Variant::compare(const Variant& other) const {
    const Variant& a = *this;
    const Variant& b = other;
    bool aMissing = a.isNull() || a.isEmpty();
    bool bMissing = b.isNull() || b.isEmpty();
    if (a.isNull() || b.isNull()) return a.isNull() && b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    if (aMissing && bMissing) return 0;
    if (numericLike(a) && numericLike(b)) return sign(a.m_number - b.m_number);
    if (a.isString() && b.isString()) return sign(a.m_string.compare(b.m_string));
    // One side is a number (or Empty): a numeric text compares as a number, other text is greater.
    if (a.isEmpty()) return b.isString() ? sign(QString().compare(b.m_string)) : sign(0.0 - b.m_number);
    if (b.isEmpty()) return a.isString() ? sign(a.m_string.compare(QString())) : sign(a.m_number);
    if (a.isString()) {
        auto number = parseNumber(a.m_string);
        return number ? sign(*number - b.m_number) : 1;
    }
    auto number = parseNumber(b.m_string);
    return number ? sign(a.m_number - *number) : -1;
}

bool Variant::equals(const Variant& other) const {
    if (isNull() || other.isNull()) return false;
    return compare(other) == 0;
}

} // namespace runtime

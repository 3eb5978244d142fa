#pragma once

#include <QString>

#include <cstdint>

namespace runtime {

// A value of any of the program's types: Empty, Null, Boolean, Integer, Long, Double,
// Currency, Date or String, with its conversions under the regional settings of the process.
// Conversions that cannot be made raise a RuntimeError (13 type mismatch, 94 invalid use of
// Null, 6 overflow).
class Variant {
public:
    enum class Type { Empty, Null, Boolean, Integer, Long, Double, Currency, Date, String };

    Variant() = default; // Empty
    Variant(bool b);
    Variant(int v);          // Long (32-bit)
    Variant(std::int64_t v); // Double when it does not fit a Long
    Variant(double v);
    Variant(const QString& s);
    Variant(const char* s);

    static Variant null();
    static Variant integer(int v);      // 16-bit Integer
    static Variant currency(double v);  // Currency, four decimals
    static Variant date(double serial); // Date: days since 30 December 1899

    Type type() const { return m_type; }
    bool isEmpty() const { return m_type == Type::Empty; }
    bool isNull() const { return m_type == Type::Null; }
    bool isNumber() const; // Boolean, Integer, Long, Double, Currency
    bool isDate() const { return m_type == Type::Date; }
    bool isString() const { return m_type == Type::String; }

    // CStr: text of the value (Null raises 94; Empty gives ""; Boolean "True"/"False";
    // numbers with the regional decimal separator, up to 15 significant digits;
    // a Date the regional general date).
    QString toString() const;
    // The value joined with an empty text ("" & v): like toString, but Null gives "".
    QString toText() const;
    // CDbl: numbers as they are, Boolean -1/0, Date its serial, text read under the
    // regional settings (13 when it is no number), Empty 0, Null raises 94.
    double toDouble() const;
    // CLng / CInt: rounded half to even; 6 on overflow.
    std::int32_t toLong() const;
    std::int16_t toInteger() const;
    // CBool: numbers are true unless 0; "True"/"False" and numeric texts; 13 otherwise.
    bool toBool() const;
    // CDate: the date serial of a Date, number, or a text the regional settings read as
    // a date or time; 13 otherwise.
    double toDate() const;

    // Equality as "=" tests it: numbers compare as numbers,
    // texts as texts (binary), a number against a numeric text as numbers. Any Null
    // makes the comparison not true.
    bool equals(const Variant& other) const;
    // Three-way comparison for sorting and "<": -1, 0, 1. Null and Empty sort first.
    int compare(const Variant& other) const;

    // The stored payload, without conversion.
    double rawNumber() const { return m_number; }
    const QString& rawString() const { return m_string; }

private:
    static Variant typed(Type type, double number);

    Type m_type = Type::Empty;
    double m_number = 0.0;
    QString m_string;
};

// Text joining with the rule that a Null reads as empty: "" & v.
inline QString operator&(const QString& a, const Variant& b) {
    return a + b.toText();
}

} // namespace runtime

#include "SqliteValues.h"

#include "runtime/DateSerial.h"

#include <QDateTime>
#include <QVarLengthArray>

#include <cstring>

#include <sqlite3.h>

namespace data {

using runtime::Variant;

Kind kindOf(const QString& declared) {
    const QString t = declared.toUpper();
    if (t.isEmpty()) return Kind::Plain;
    if (t.contains(QLatin1String("DATE")) || t.contains(QLatin1String("TIME"))) return Kind::Date;
    if (t.contains(QLatin1String("BOOL")) || t.contains(QLatin1String("BIT")) ||
        t.contains(QLatin1String("YESNO")))
        return Kind::Boolean;
    if (t.contains(QLatin1String("CURRENCY")) || t.contains(QLatin1String("MONEY"))) return Kind::Currency;
    if (t.contains(QLatin1String("MEMO")) || t.contains(QLatin1String("CLOB")) ||
        t.contains(QLatin1String("LONGTEXT")))
        return Kind::Memo;
    if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("TEXT")) ||
        t.contains(QLatin1String("STRING")))
        return Kind::Text;
    if (t.contains(QLatin1String("SMALLINT")) || t.contains(QLatin1String("SHORT")) ||
        t.contains(QLatin1String("TINYINT")) || t.contains(QLatin1String("BYTE")))
        return Kind::SmallInt;
    if (t.contains(QLatin1String("INT")) || t.contains(QLatin1String("COUNTER")) ||
        t.contains(QLatin1String("LONG")))
        return Kind::Integer;
    if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) ||
        t.contains(QLatin1String("DOUB")) || t.contains(QLatin1String("NUM")) ||
        t.contains(QLatin1String("DEC")) || t.contains(QLatin1String("SINGLE")))
        return Kind::Double;
    return Kind::Plain;
}

int typeCode(Kind kind) {
    switch (kind) {
    case Kind::Date:
        return adType::Date;
    case Kind::Boolean:
        return adType::Boolean;
    case Kind::Currency:
        return adType::Currency;
    case Kind::SmallInt:
        return adType::SmallInt;
    case Kind::Integer:
        return adType::Integer;
    case Kind::Double:
        return adType::Double;
    case Kind::Memo:
        return adType::LongVarWChar;
    default:
        return adType::VarWChar;
    }
}

int storageTypeCode(sqlite3_stmt* s, int column) {
    switch (sqlite3_column_type(s, column)) {
    case SQLITE_INTEGER:
        return adType::Integer;
    case SQLITE_FLOAT:
        return adType::Double;
    default:
        return adType::VarWChar;
    }
}

QString columnText(sqlite3_stmt* s, int column) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, column)),
                             sqlite3_column_bytes(s, column));
}

QString valueText(sqlite3_value* v) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_value_text(v)), sqlite3_value_bytes(v));
}

namespace {

Variant number(qint64 value) {
    return value >= INT32_MIN && value <= INT32_MAX ? Variant(int(value)) : Variant(std::int64_t(value));
}

Variant integerValue(qint64 v, Kind kind) {
    switch (kind) {
    case Kind::Date:
        return Variant::date(double(v));
    case Kind::Boolean:
        return Variant(v != 0);
    case Kind::Currency:
        return Variant::currency(double(v));
    case Kind::SmallInt:
        return v >= -32768 && v <= 32767 ? Variant::integer(int(v)) : number(v);
    case Kind::Double:
        return Variant(double(v));
    default:
        return number(v);
    }
}

Variant realValue(double v, Kind kind) {
    switch (kind) {
    case Kind::Date:
        return Variant::date(v);
    case Kind::Boolean:
        return Variant(v != 0);
    case Kind::Currency:
        return Variant::currency(v);
    default:
        return Variant(v);
    }
}

Variant textValue(const char* utf8, qsizetype bytes, Kind kind) {
    const QString text = QString::fromUtf8(utf8, bytes);
    if (kind == Kind::Date) {
        const QDateTime iso = QDateTime::fromString(text, Qt::ISODate);
        if (iso.isValid()) return Variant::date(runtime::toSerial(iso));
        const QDate day = QDate::fromString(text, Qt::ISODate);
        if (day.isValid()) return Variant::date(runtime::toSerial(day));
    }
    return Variant(text);
}

} // namespace

Variant readValue(sqlite3_stmt* s, int i, Kind kind) {
    // The column's value read through one call into the statement (the connection serves one
    // thread, so the unprotected value may be read directly).
    sqlite3_value* v = sqlite3_column_value(s, i);
    switch (sqlite3_value_type(v)) {
    case SQLITE_NULL:
        return Variant::null();
    case SQLITE_INTEGER:
        return integerValue(sqlite3_value_int64(v), kind);
    case SQLITE_FLOAT:
        return realValue(sqlite3_value_double(v), kind);
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
        return textValue(text, sqlite3_value_bytes(v), kind);
    }
    }
}

namespace {

// The tags of kept values: what follows each.
enum Tag : char {
    Null,     // nothing
    Int8,     // 1 byte
    Int32,    // 4 bytes
    Int64,    // 8 bytes
    Real,     // 8 bytes
    ShortText // 1 byte of length, the UTF-8
};
constexpr char LongText = ShortText + 1; // 4 bytes of length, the UTF-8

template <class T> T get(const char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// The bytes a kept value takes after its tag.
size_t payload(const char* at) {
    switch (*at) {
    case Int8:
        return 1;
    case Int32:
        return 4;
    case Int64:
    case Real:
        return 8;
    case ShortText:
        return 1 + size_t(quint8(at[1]));
    case LongText:
        return 4 + get<quint32>(at + 1);
    default:
        return 0;
    }
}

} // namespace

size_t KeptRows::add(sqlite3_stmt* s, int first, int count, bool withKey) {
    // The row's size first, so that it is written in place with the block grown once.
    QVarLengthArray<sqlite3_value*, 64> values(count);
    size_t size = withKey ? sizeof(qint64) : 0;
    for (int c = 0; c < count; ++c) {
        sqlite3_value* v = values[c] = sqlite3_column_value(s, first + c);
        switch (sqlite3_value_type(v)) {
        case SQLITE_NULL:
            size += 1;
            break;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            size += 9;
            break;
        default: {
            sqlite3_value_text(v); // the UTF-8 form, whose size follows
            const int bytes = sqlite3_value_bytes(v);
            size += (bytes < 256 ? 2 : 5) + size_t(bytes);
        }
        }
    }
    if (m_bytes.capacity() == 0) m_bytes.reserve(1024);
    const size_t begin = m_bytes.size();
    m_bytes.resize(begin + size);
    char* out = m_bytes.data() + begin;
    auto write = [&out](const auto& value) {
        std::memcpy(out, &value, sizeof value);
        out += sizeof value;
    };
    if (withKey) write(qint64(sqlite3_column_int64(s, 0)));
    const size_t start = size_t(out - m_bytes.data());
    for (sqlite3_value* v : values) {
        switch (sqlite3_value_type(v)) {
        case SQLITE_NULL:
            *out++ = Null;
            break;
        case SQLITE_INTEGER: {
            const qint64 n = sqlite3_value_int64(v);
            if (n >= INT8_MIN && n <= INT8_MAX) {
                *out++ = Int8;
                *out++ = char(n);
            } else if (n >= INT32_MIN && n <= INT32_MAX) {
                *out++ = Int32;
                write(qint32(n));
            } else {
                *out++ = Int64;
                write(n);
            }
            break;
        }
        case SQLITE_FLOAT:
            *out++ = Real;
            write(sqlite3_value_double(v));
            break;
        default: {
            const int bytes = sqlite3_value_bytes(v);
            if (bytes < 256) {
                *out++ = ShortText;
                *out++ = char(bytes);
            } else {
                *out++ = LongText;
                write(quint32(bytes));
            }
            std::memcpy(out, sqlite3_value_text(v), size_t(bytes));
            out += bytes;
        }
        }
    }
    m_bytes.resize(size_t(out - m_bytes.data())); // integers may take less than planned
    return start;
}

Variant KeptRows::value(size_t at, int column, Kind kind) const {
    const char* p = m_bytes.data() + at;
    for (int i = 0; i < column; ++i)
        p += 1 + payload(p);
    switch (*p) {
    case Int8:
        return integerValue(qint8(p[1]), kind);
    case Int32:
        return integerValue(get<qint32>(p + 1), kind);
    case Int64:
        return integerValue(get<qint64>(p + 1), kind);
    case Real:
        return realValue(get<double>(p + 1), kind);
    case ShortText:
        return textValue(p + 2, quint8(p[1]), kind);
    case LongText:
        return textValue(p + 5, get<quint32>(p + 1), kind);
    default:
        return Variant::null();
    }
}

qint64 KeptRows::key(size_t at) const {
    return get<qint64>(m_bytes.data() + at - sizeof(qint64));
}

void KeptRows::clear() {
    m_bytes.clear();
}

Variant coerce(const Variant& v, Kind kind) {
    if (v.isNull() || v.isEmpty()) return Variant::null();
    switch (kind) {
    case Kind::Date:
        return Variant::date(v.toDate());
    case Kind::Boolean:
        return Variant(v.toBool());
    case Kind::Currency:
    case Kind::Double:
        return Variant(v.toDouble());
    case Kind::SmallInt:
        return Variant(int(v.toInteger()));
    case Kind::Integer:
        return Variant(int(v.toLong()));
    case Kind::Text:
    case Kind::Memo:
        return v.isString() ? v : Variant(v.toString());
    case Kind::Plain:
        return v;
    }
    return v;
}

QByteArrayView BoundTexts::store(const QString& text) {
    // Written here unless a character takes more than one UTF-16 unit or the block is full.
    const qsizetype n = text.size();
    if (n * 3 <= qsizetype(sizeof m_block) - m_used) {
        char* const begin = m_block + m_used;
        char* out = begin;
        bool plain = true;
        for (const QChar qc : text) {
            const char16_t c = qc.unicode();
            if (c < 0x80) {
                *out++ = char(c);
            } else if (c < 0x800) {
                *out++ = char(0xC0 | (c >> 6));
                *out++ = char(0x80 | (c & 0x3F));
            } else if (QChar::isSurrogate(c)) {
                plain = false;
                break;
            } else {
                *out++ = char(0xE0 | (c >> 12));
                *out++ = char(0x80 | ((c >> 6) & 0x3F));
                *out++ = char(0x80 | (c & 0x3F));
            }
        }
        if (plain) {
            m_used += out - begin;
            return QByteArrayView(begin, out - begin);
        }
    }
    m_own.push_back(text.toUtf8());
    return m_own.back();
}

int bindValue(sqlite3_stmt* s, int index, const Variant& v, BoundTexts* texts) {
    switch (v.type()) {
    case Variant::Type::Empty:
    case Variant::Type::Null:
        return sqlite3_bind_null(s, index);
    case Variant::Type::Boolean:
        return sqlite3_bind_int64(s, index, v.rawNumber() != 0 ? -1 : 0);
    case Variant::Type::Integer:
    case Variant::Type::Long:
        return sqlite3_bind_int64(s, index, qint64(v.rawNumber()));
    case Variant::Type::Double:
    case Variant::Type::Currency:
    case Variant::Type::Date:
        return sqlite3_bind_double(s, index, v.rawNumber());
    case Variant::Type::String: {
        if (texts) {
            const QByteArrayView utf8 = texts->store(v.rawString());
            return sqlite3_bind_text(s, index, utf8.data(), int(utf8.size()), SQLITE_STATIC);
        }
        const QByteArray utf8 = v.rawString().toUtf8();
        return sqlite3_bind_text(s, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    }
    return SQLITE_OK;
}

} // namespace data

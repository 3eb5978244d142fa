#include "TSqlFunctions_p.h"

#include "SqliteValues.h"
#include "runtime/DateSerial.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

#include <sqlite3.h>

#include <cmath>

namespace data {

namespace {

// SQL Server's day 0, 1900-01-01, as a date serial.
constexpr double sqlServerEpoch = 2;
// datetime keeps the time of day in ticks of 1/300 s.
constexpr qint64 ticksPerSecond = 300;
constexpr qint64 ticksPerDay = 86400 * ticksPerSecond;

// A serial as its day and its ticks since the day's midnight (a serial below 0 holds its time
// of day as a positive fraction, as date serials do).
struct DayTicks {
    double day;
    qint64 ticks;
};

DayTicks dayTicks(double serial) {
    DayTicks t{std::trunc(serial), std::llround(std::fabs(serial - std::trunc(serial)) * ticksPerDay)};
    if (t.ticks == ticksPerDay) {
        t.day += 1;
        t.ticks = 0;
    }
    return t;
}

bool anyNull(int argc, sqlite3_value** argv, sqlite3_context* ctx) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return true;
        }
    }
    return false;
}

void resultError(sqlite3_context* ctx, const QString& message) {
    const QByteArray utf8 = message.toUtf8();
    sqlite3_result_error(ctx, utf8.constData(), int(utf8.size()));
}

// The datetime of a value: a text as SQL Server reads it, a number as days from 1900-01-01
// when convertNumbers, else as the serial it is; false after setting the error.
bool datetimeOf(sqlite3_context* ctx, sqlite3_value* v, bool convertNumbers, double& serial) {
    if (sqlite3_value_type(v) != SQLITE_TEXT) {
        serial = datetimePrecision(sqlite3_value_double(v) + (convertNumbers ? sqlServerEpoch : 0));
        return true;
    }
    if (const auto parsed = tsqlDateTime(valueText(v).trimmed())) {
        serial = *parsed;
        return true;
    }
    sqlite3_result_error(ctx, "Conversion failed when converting date and/or time from character string.",
                         -1);
    return false;
}

void tsqlDateTimeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    double serial;
    if (!anyNull(argc, argv, ctx) && datetimeOf(ctx, argv[0], true, serial))
        sqlite3_result_double(ctx, serial);
}

void tsqlDate(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    double serial;
    if (!anyNull(argc, argv, ctx) && datetimeOf(ctx, argv[0], false, serial))
        sqlite3_result_double(ctx, dayTicks(serial).day);
}

void tsqlHour(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    double serial;
    if (!anyNull(argc, argv, ctx) && datetimeOf(ctx, argv[0], false, serial))
        sqlite3_result_int(ctx, int(dayTicks(serial).ticks / (3600 * ticksPerSecond)));
}

void tsqlIntFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv, ctx)) return;
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) { // a number converted to int loses its fraction
        sqlite3_result_int64(ctx, qint64(std::trunc(sqlite3_value_double(argv[0]))));
        return;
    }
    const QString text = valueText(argv[0]).trimmed();
    bool ok = text.isEmpty();
    const qlonglong value = ok ? 0 : text.toLongLong(&ok);
    if (ok && value >= INT32_MIN && value <= INT32_MAX) {
        sqlite3_result_int64(ctx, value);
        return;
    }
    resultError(ctx,
                QStringLiteral("Conversion failed when converting the varchar value '%1' to data type int.")
                    .arg(text));
}

void tsqlFloatFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv, ctx)) return;
    if (sqlite3_value_type(argv[0]) != SQLITE_TEXT) {
        sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
        return;
    }
    const QString text = valueText(argv[0]).trimmed();
    bool ok = text.isEmpty();
    const double value = ok ? 0 : QLocale::c().toDouble(text, &ok);
    if (ok)
        sqlite3_result_double(ctx, value);
    else
        sqlite3_result_error(ctx, "Error converting data type varchar to float.", -1);
}

// datetime + datetime and datetime - datetime count both from SQL Server's day 0.
template <int sign> void tsqlDateArithmetic(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv, ctx)) return;
    const double a = sqlite3_value_double(argv[0]), b = sqlite3_value_double(argv[1]);
    sqlite3_result_double(ctx, datetimePrecision(a + sign * b - sign * sqlServerEpoch));
}

// CHARINDEX(sought, text[, start]): 1-based, 0 when absent, letters compared without regard to
// case; a start below 1 searches from the beginning.
void tsqlCharIndex(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (anyNull(argc, argv, ctx)) return;
    const QString sought = valueText(argv[0]);
    const QString text = valueText(argv[1]);
    const qint64 start = argc == 3 ? std::max<qint64>(sqlite3_value_int64(argv[2]), 1) : 1;
    if (sought.isEmpty() || start > text.size()) {
        sqlite3_result_int(ctx, 0);
        return;
    }
    sqlite3_result_int(ctx, int(text.indexOf(sought, start - 1, Qt::CaseInsensitive)) + 1);
}

} // namespace

double datetimePrecision(double serial) {
    const DayTicks t = dayTicks(serial);
    const double time = double(t.ticks) / ticksPerDay;
    return t.day < 0 ? t.day - time : t.day + time;
}

std::optional<double> tsqlDateTime(const QString& text) {
    static const QRegularExpression re(QStringLiteral(
        R"(^(?:(\d{4})-?(\d{2})-?(\d{2}))?\s*(?:(\d{1,2}):(\d{2})(?::(\d{2})(?:\.(\d{1,3}))?)?)?$)"));
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    double serial = sqlServerEpoch;
    if (!m.captured(1).isEmpty()) {
        const int year = m.captured(1).toInt(), month = m.captured(2).toInt(), day = m.captured(3).toInt();
        if (!QDate::isValid(year, month, day) || year < 1753) return std::nullopt;
        serial = runtime::dateSerial(year, month, day);
    }
    if (!m.captured(4).isEmpty()) {
        const int hour = m.captured(4).toInt(), minute = m.captured(5).toInt(),
                  second = m.captured(6).toInt();
        if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
        serial += runtime::timeSerial(hour, minute, second) +
                  m.captured(7).leftJustified(3, QLatin1Char('0')).toInt() / 86400000.0;
    }
    return datetimePrecision(serial);
}

void registerTSqlFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "tsql_datetime", 1, flags, nullptr, tsqlDateTimeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_date", 1, flags, nullptr, tsqlDate, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_hour", 1, flags, nullptr, tsqlHour, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_int", 1, flags, nullptr, tsqlIntFunction, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_float", 1, flags, nullptr, tsqlFloatFunction, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_datesum", 2, flags, nullptr, tsqlDateArithmetic<1>, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_datediff", 2, flags, nullptr, tsqlDateArithmetic<-1>, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_charindex", 2, flags, nullptr, tsqlCharIndex, nullptr, nullptr);
    sqlite3_create_function(db, "tsql_charindex", 3, flags, nullptr, tsqlCharIndex, nullptr, nullptr);
}

} // namespace data

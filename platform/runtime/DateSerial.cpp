#include "DateSerial.h"

#include "RuntimeError.h"

#include <cmath>

namespace runtime {

namespace {

const QDate& epoch() {
    static const QDate day(1899, 12, 30);
    return day;
}

QDateTime systemClock() {
    return QDateTime::currentDateTime();
}

QDateTime (*g_clock)() = systemClock;

constexpr qint64 SecondsPerDay = 86400;
constexpr qint64 FirstDay = -657434; // 1 January 100
constexpr qint64 LastDay = 2958465;  // 31 December 9999

// Whole days and seconds of the day of a serial, the time rounded to the second.
void split(double serial, qint64& days, qint64& seconds) {
    if (!isDateSerial(serial)) raise(err::Overflow);
    double whole = std::trunc(serial);
    double fraction = std::fabs(serial - whole);
    days = static_cast<qint64>(whole);
    seconds = std::llround(fraction * SecondsPerDay);
    if (seconds >= SecondsPerDay) {
        seconds -= SecondsPerDay;
        days += serial < 0 ? -1 : 1;
    }
}

} // namespace

bool isDateSerial(double serial) {
    // Rounded to the second as the conversions round it.
    return serial > FirstDay - 1 + 0.5 / SecondsPerDay && serial < LastDay + 1 - 0.5 / SecondsPerDay;
}

double dateSerial(int year, int month, int day) {
    QDate first(year, 1, 1);
    QDate date = first.addMonths(month - 1).addDays(day - 1);
    return static_cast<double>(epoch().daysTo(date));
}

double timeSerial(int hour, int minute, int second) {
    return static_cast<double>(hour * 3600 + minute * 60 + second) / SecondsPerDay;
}

double toSerial(const QDate& date) {
    return static_cast<double>(epoch().daysTo(date));
}

double toSerial(const QTime& time) {
    return static_cast<double>(time.msecsSinceStartOfDay()) / (SecondsPerDay * 1000.0);
}

double toSerial(const QDateTime& dateTime) {
    double days = toSerial(dateTime.date());
    double time = toSerial(dateTime.time());
    // Before the epoch the time of day still counts forward from the day's start.
    return days < 0 ? days - time : days + time;
}

QDate toDate(double serial) {
    qint64 days, seconds;
    split(serial, days, seconds);
    return epoch().addDays(days);
}

QTime toTime(double serial) {
    qint64 days, seconds;
    split(serial, days, seconds);
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(seconds * 1000));
}

QDateTime toDateTime(double serial) {
    return QDateTime(toDate(serial), toTime(serial));
}

double datePart(double serial) {
    return toSerial(toDate(serial));
}

double timePart(double serial) {
    return toSerial(toTime(serial));
}

double now() {
    QDateTime clock = g_clock();
    return toSerial(QDateTime(clock.date(), QTime(0, 0).addSecs(clock.time().msecsSinceStartOfDay() / 1000)));
}

double today() {
    return toSerial(g_clock().date());
}

void setClock(QDateTime (*clock)()) {
    g_clock = clock ? clock : systemClock;
}

} // namespace runtime

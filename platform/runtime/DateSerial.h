#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace runtime {

// Dates as serial doubles: days since 30 December 1899 in the integer part and the time
// of day as the fraction. Conversions to calendar values round to the nearest second, so
// 19:00 stored as a double never reads as 18:59:59. A serial outside the years 100 to 9999
// (infinities and NaN included) raises 6 Overflow when it is converted.

// Whether a serial lies in the range of the date type.
bool isDateSerial(double serial);

double dateSerial(int year, int month, int day); // DateSerial; month and day may overflow
double timeSerial(int hour, int minute, int second);
double toSerial(const QDate& date);
double toSerial(const QDateTime& dateTime);
double toSerial(const QTime& time); // a time alone lies on 30 December 1899

QDateTime toDateTime(double serial); // rounded to the second
QDate toDate(double serial);
QTime toTime(double serial);

// Parts of a serial: whole day and time of day, each as a serial.
double datePart(double serial);
double timePart(double serial);

double now();   // Now
double today(); // Date

// The clock the runtime reads; tests pin it.
void setClock(QDateTime (*clock)());

} // namespace runtime

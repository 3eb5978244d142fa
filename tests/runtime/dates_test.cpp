#include "runtime/DateSerial.h"

#include <gtest/gtest.h>

using namespace runtime;

TEST(DateSerial, CalendarValuesRoundTripToTheSecond) {
    EXPECT_EQ(dateSerial(1899, 12, 30), 0.0);
    EXPECT_EQ(dateSerial(2026, 12, 8), 46364.0);
    EXPECT_EQ(dateSerial(2026, 13, 1), dateSerial(2027, 1, 1)); // month overflow carries
    EXPECT_EQ(dateSerial(2026, 3, 0), dateSerial(2026, 2, 28));

    QDateTime moment(QDate(2026, 12, 8), QTime(17, 45, 9));
    EXPECT_EQ(toDateTime(toSerial(moment)), moment);
    EXPECT_DOUBLE_EQ(toSerial(QTime(10, 30)), 0.4375);
    EXPECT_EQ(toDate(0.4375), QDate(1899, 12, 30)); // a time alone lies on the epoch day
}

TEST(DateSerial, NineteenHundredHoursNeverReadsAsTheSecondBefore) {
    // 19:00 as a stored double is a hair below 19/24.
    double stored = 46364.0 + 19.0 / 24.0 - 1e-10;
    EXPECT_EQ(toTime(stored), QTime(19, 0, 0));
    EXPECT_EQ(toTime(timeSerial(19, 0, 0)), QTime(19, 0, 0));
    // 23:59:59.6 rounds into the next day rather than to an invalid time.
    EXPECT_EQ(toDateTime(46364.0 + 86399.6 / 86400.0), QDateTime(QDate(2026, 12, 9), QTime(0, 0)));
}

TEST(DateSerial, DatesBeforeTheEpochKeepTheirTimeOfDay) {
    QDateTime before(QDate(1899, 12, 29), QTime(6, 0));
    EXPECT_DOUBLE_EQ(toSerial(before), -1.25);
    EXPECT_EQ(toDateTime(-1.25), before);
}

TEST(DateSerial, PartsSplitDayAndTime) {
    double serial = dateSerial(2026, 3, 5) + timeSerial(9, 7, 0);
    EXPECT_EQ(datePart(serial), dateSerial(2026, 3, 5));
    EXPECT_NEAR(timePart(serial), timeSerial(9, 7, 0), 1e-9);
}

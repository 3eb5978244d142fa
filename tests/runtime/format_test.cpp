#include "runtime/DateSerial.h"
#include "runtime/Format.h"
#include "runtime/Regional.h"
#include "runtime/RuntimeError.h"
#include "support/LocaleScope.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace runtime;

namespace {

Variant moment() {
    return Variant::date(dateSerial(2026, 3, 5) + timeSerial(9, 7, 4));
}

} // namespace

TEST(Format, DatePicturesReadMonthsAndMinutesByPosition) {
    LocaleScope locale("es_AR.UTF-8");
    EXPECT_EQ(Format(moment(), "yyyy-mm-dd"), "2026-03-05");
    EXPECT_EQ(Format(moment(), "yyyymmdd"), "20260305");
    EXPECT_EQ(Format(moment(), "YYYY/MM/DD"), "2026/03/05");
    EXPECT_EQ(Format(moment(), "HH:NN:SS"), "09:07:04");
    EXPECT_EQ(Format(moment(), "HH:MM"), "09:07"); // MM after HH is minutes
    EXPECT_EQ(Format(moment(), "HH:nn"), "09:07");
    EXPECT_EQ(Format(moment(), "h:mm"), "9:07");
    EXPECT_EQ(Format(moment(), "DD/MM/YY HH:MM"), "05/03/26 09:07");
    EXPECT_EQ(Format(moment(), "dd/mm/yy"), "05/03/26");
    EXPECT_EQ(Format(moment(), "d-mmm-yy"), "5-mar-26");
    EXPECT_EQ(Format(moment(), "d-mmm"), "5-mar");
    EXPECT_EQ(Format(moment(), "m"), "3");
    EXPECT_EQ(Format(moment(), "DDMMYY"), "050326");
}

TEST(Format, DatePicturesUseTheRegionalSeparators) {
    LocaleScope locale("de_DE.UTF-8");
    EXPECT_EQ(Format(moment(), "dd/mm/yy"), "05.03.26");
    EXPECT_EQ(Format(moment(), "YYYY/MM/DD"), "2026.03.05");
}

TEST(Format, NumbersAndTextsUnderADatePicture) {
    LocaleScope locale("en_US.UTF-8");
    EXPECT_EQ(Format(Variant(46364.75), "yyyy-mm-dd HH:NN"), "2026-12-08 18:00"); // a number is a serial
    EXPECT_EQ(Format(Variant("12/8/2026"), "yyyymmdd"), "20261208");
    EXPECT_EQ(Format(Variant("abc"), "yyyy-mm-dd"), "abc");
    EXPECT_EQ(Format(Variant::null(), "HH:MM"), "");
    // 19:00 stored as a double a hair short still shows 19:00.
    EXPECT_EQ(Format(Variant(19.0 / 24.0 - 1e-11), "HH:MM"), "19:00");
}

// Without a LocaleScope: the process runs under the locale it started with, and the suite
// runs once under a comma-decimal and once under a point-decimal locale.
TEST(Format, NumbersUnderTheLocaleTheProcessStartedWith) {
    const Regional& r = Regional::current();
    const QString thousands(r.thousandsSeparator), decimal(r.decimalSeparator);
    EXPECT_EQ(Format(Variant(4690), "#,##0.00"), "4" + thousands + "690" + decimal + "00");
    EXPECT_EQ(Format(Variant(29702390.0), "$#,##0"), "$29" + thousands + "702" + thousands + "390");
    EXPECT_EQ(parseNumber("4345" + decimal + "40"), 4345.4);
    EXPECT_EQ(val("4345.40"), 4345.4);
}

TEST(Format, NumberPictures) {
    {
        LocaleScope locale("en_US.UTF-8");
        EXPECT_EQ(Format(Variant(3.456), "0.00"), "3.46");
        EXPECT_EQ(Format(Variant(2.675), "0.00"), "2.68"); // half away from zero on the decimal digits
        EXPECT_EQ(Format(Variant(2.5), "0"), "3");
        EXPECT_EQ(Format(Variant(0.05), "0.0"), "0.1");
        EXPECT_EQ(Format(Variant(0.25), "0.0"), "0.3");
        EXPECT_EQ(Format(Variant(42), "00000000"), "00000042");
        EXPECT_EQ(Format(Variant(1234567.891), "#,##0"), "1,234,568");
        EXPECT_EQ(Format(Variant(1234567.891), "#,##0.00"), "1,234,567.89");
        EXPECT_EQ(Format(Variant(0.4), "#,##0"), "0");
        EXPECT_EQ(Format(Variant(1500), "$#,##0"), "$1,500");
        EXPECT_EQ(Format(Variant(-1500), "$#,##0"), "-$1,500");
        EXPECT_EQ(Format(Variant(-0.001), "0.00"), "0.00");
        EXPECT_EQ(Format(Variant(999.999), "0.00"), "1000.00");
        EXPECT_EQ(Format(Variant("12.5"), "0.00"), "12.50");
        EXPECT_EQ(Format(Variant(true), "0"), "-1");
    }
    {
        LocaleScope locale("es_AR.UTF-8");
        EXPECT_EQ(Format(Variant(3.456), "0.00"), "3,46");
        EXPECT_EQ(Format(Variant(1234567.891), "#,##0.00"), "1.234.567,89");
        EXPECT_EQ(Format(Variant(0.0), "0.0"), "0,0");
    }
}

// A serial outside the years 100 to 9999 raises Overflow wherever it becomes a calendar date.
TEST(Format, SerialsOutsideTheCalendarOverflow) {
    LocaleScope locale("es_AR.UTF-8");
    const double inf = std::numeric_limits<double>::infinity();
    const double outside[] = {1e13,
                              -1e13,
                              inf,
                              -inf,
                              std::numeric_limits<double>::quiet_NaN(),
                              dateSerial(9999, 12, 31) + 1,
                              dateSerial(100, 1, 1) - 1};
    const char* pictures[] = {"d-mmm-yy", "h:mm", "yyyy-mm-dd", "yyyymmdd", "HH:NN:SS", "DD/MM/YY HH:MM",
                              "DDMMYY",   "dddd", "ddd",        "mmmm",     "mmm",      "m",
                              "d",        "yy",   "s",          "n"};
    auto overflows = [](const std::function<void()>& conversion) {
        try {
            conversion();
        } catch (const RuntimeError& error) {
            return error.number() == err::Overflow;
        }
        return false;
    };
    for (double serial : outside) {
        for (const char* picture : pictures) {
            EXPECT_TRUE(overflows([&] { Format(Variant::date(serial), picture); }))
                << serial << " " << picture;
            EXPECT_TRUE(overflows([&] { Format(Variant(serial), picture); })) << serial << " " << picture;
        }
        EXPECT_TRUE(overflows([&] { Variant(serial).toDate(); })) << serial;         // CDate
        EXPECT_TRUE(overflows([&] { Variant::date(serial).toString(); })) << serial; // CStr
        EXPECT_TRUE(overflows([&] { toDate(serial); })) << serial;
        EXPECT_TRUE(overflows([&] { timePart(serial); })) << serial;
    }
    EXPECT_TRUE(overflows([] { Format(Variant("1E+13"), "d-mmm-yy"); }));
    EXPECT_FALSE(isDateText("1/1/10000"));
    EXPECT_EQ(Format(Variant::date(dateSerial(9999, 12, 31) + timeSerial(23, 59, 59)), "d-mmm-yyyy h:mm"),
              "31-dic-9999 23:59");
    EXPECT_EQ(Format(Variant::date(dateSerial(100, 1, 1)), "d-mmm-yyyy"), "1-ene-100");
}

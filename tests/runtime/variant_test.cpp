#include "runtime/DateSerial.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"
#include "support/LocaleScope.h"

#include <gtest/gtest.h>

using namespace runtime;

namespace {

long errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

TEST(Variant, TextOfValuesUnderBothLocales) {
    {
        LocaleScope locale("en_US.UTF-8");
        EXPECT_EQ(Variant(true).toString(), "True");
        EXPECT_EQ(Variant(false).toString(), "False");
        EXPECT_EQ(Variant(3.0).toString(), "3"); // a whole double prints without decimals
        EXPECT_EQ(Variant(3.25).toString(), "3.25");
        EXPECT_EQ(Variant(0.1 + 0.2).toString(), "0.3"); // fifteen significant digits
        EXPECT_EQ(Variant(std::int64_t(5000000000)).toString(), "5000000000");
        EXPECT_EQ(Variant::date(dateSerial(2026, 12, 8)).toString(), "12/8/2026");
        EXPECT_EQ(Variant::date(dateSerial(2026, 12, 8) + timeSerial(17, 45, 0)).toString(),
                  "12/8/2026 5:45:00 PM");
    }
    {
        LocaleScope locale("es_AR.UTF-8");
        EXPECT_EQ(Variant(3.25).toString(), "3,25");
        EXPECT_EQ(Variant::date(dateSerial(2026, 12, 8)).toString(), "8/12/2026");
        EXPECT_EQ(Variant::date(timeSerial(7, 5, 9)).toString(), "07:05:09");
    }
}

TEST(Variant, NullJoinsAsEmptyButHasNoText) {
    EXPECT_EQ(QString("a") & Variant::null(), "a");
    EXPECT_EQ(Variant().toText(), "");
    EXPECT_EQ(errorOf([] { Variant::null().toString(); }), err::InvalidUseOfNull);
    EXPECT_EQ(errorOf([] { Variant::null().toDouble(); }), err::InvalidUseOfNull);
}

TEST(Variant, NumbersFromTextFollowTheRegionalSeparators) {
    {
        LocaleScope locale("es_AR.UTF-8");
        EXPECT_DOUBLE_EQ(Variant("3,5").toDouble(), 3.5);
        EXPECT_DOUBLE_EQ(Variant("1.234,5").toDouble(), 1234.5);
        EXPECT_DOUBLE_EQ(Variant("3.5").toDouble(), 35.0); // the point groups thousands here
    }
    {
        LocaleScope locale("en_US.UTF-8");
        EXPECT_DOUBLE_EQ(Variant(" -3.5 ").toDouble(), -3.5);
        EXPECT_DOUBLE_EQ(Variant("1,234.5").toDouble(), 1234.5);
        EXPECT_DOUBLE_EQ(Variant("2E3").toDouble(), 2000.0);
    }
    EXPECT_EQ(errorOf([] { Variant("abc").toDouble(); }), err::TypeMismatch);
    EXPECT_EQ(errorOf([] { Variant("").toDouble(); }), err::TypeMismatch);
    EXPECT_DOUBLE_EQ(Variant(true).toDouble(), -1.0);
    EXPECT_DOUBLE_EQ(Variant().toDouble(), 0.0);
}

TEST(Variant, ConversionsToWholeNumbersRoundHalfToEven) {
    EXPECT_EQ(Variant(2.5).toLong(), 2);
    EXPECT_EQ(Variant(3.5).toLong(), 4);
    EXPECT_EQ(Variant(-2.5).toLong(), -2);
    EXPECT_EQ(errorOf([] { Variant(40000.0).toInteger(); }), err::Overflow);
    EXPECT_EQ(errorOf([] { Variant(3e9).toLong(); }), err::Overflow);
}

TEST(Variant, TruthOfTexts) {
    LocaleScope locale("en_US.UTF-8");
    EXPECT_FALSE(Variant("0").toBool());
    EXPECT_TRUE(Variant("1").toBool());
    EXPECT_TRUE(Variant("-1").toBool());
    EXPECT_TRUE(Variant("true").toBool());
    EXPECT_FALSE(Variant("False").toBool());
    EXPECT_EQ(errorOf([] { Variant("si").toBool(); }), err::TypeMismatch);
}

TEST(Variant, ComparisonOfMixedValues) {
    EXPECT_TRUE(Variant(1).equals(Variant(1.0)));
    EXPECT_TRUE(Variant(1).equals(Variant("1")));   // a numeric text compares as a number
    EXPECT_FALSE(Variant(true).equals(Variant(1))); // True is -1
    EXPECT_FALSE(Variant::null().equals(Variant::null()));
    EXPECT_FALSE(Variant("abc").equals(Variant("ABC"))); // binary comparison
    EXPECT_LT(Variant(2).compare(Variant(10)), 0);
    EXPECT_GT(Variant("b").compare(Variant("a")), 0);
    EXPECT_GT(Variant("x").compare(Variant(5)), 0); // other text is greater than a number
    EXPECT_LT(Variant::null().compare(Variant(0)), 0);
}

TEST(Variant, DatesFromText) {
    {
        LocaleScope locale("es_AR.UTF-8");
        EXPECT_EQ(Variant("08/12/2026").toDate(), dateSerial(2026, 12, 8));
        EXPECT_EQ(Variant("8-12-2026 17:45").toDate(), dateSerial(2026, 12, 8) + timeSerial(17, 45, 0));
        EXPECT_DOUBLE_EQ(Variant("10:30:00 a.m.").toDate(), 0.4375);
        EXPECT_DOUBLE_EQ(Variant("10:30:00 p.m.").toDate(), timeSerial(22, 30, 0));
        EXPECT_EQ(Variant("8-dic-26").toDate(), dateSerial(2026, 12, 8));
    }
    {
        LocaleScope locale("en_US.UTF-8");
        EXPECT_EQ(Variant("12/08/2026").toDate(), dateSerial(2026, 12, 8));
        EXPECT_EQ(Variant("2026-12-08").toDate(), dateSerial(2026, 12, 8));
        EXPECT_DOUBLE_EQ(Variant("9:30 AM").toDate(), timeSerial(9, 30, 0));
        EXPECT_EQ(errorOf([] { Variant("24:00:00").toDate(); }), err::TypeMismatch);
        EXPECT_EQ(errorOf([] { Variant("2/30/2026").toDate(); }), err::TypeMismatch);
        EXPECT_EQ(errorOf([] { Variant("hello").toDate(); }), err::TypeMismatch);
    }
}

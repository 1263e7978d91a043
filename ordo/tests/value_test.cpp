#include "ordo/value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "ordo/tests/test_support.h"

namespace ORDO {
namespace {

using Testing::Failure;
using Testing::FailureOf;

struct Parsed {
    double number;
    size_t used;
    bool operator==(const Parsed&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Parsed& parsed)
{
    return out << parsed.number << " using " << parsed.used;
}

Parsed Parse(std::string_view text)
{
    double number = 42;
    const char* const next = ParseNumber(text.data(), text.data() + text.size(), number);
    return {number, size_t(next - text.data())};
}

std::string Format(double number, int precision = 13)
{
    std::string text = "<";
    FormatNumber(text, precision, number);
    return text.substr(1);
}

TEST(ValueTest, ParseNumberReadsTheLongestNumber)
{
    EXPECT_EQ(Parse("-x"), (Parsed{0, 0}));
    EXPECT_EQ(Parse("-"), (Parsed{0, 0}));
    EXPECT_EQ(Parse("+5"), (Parsed{5, 2}));
    EXPECT_EQ(Parse("-2.5e1"), (Parsed{-25, 6}));
    EXPECT_EQ(Parse("5."), (Parsed{5, 2}));
    EXPECT_EQ(Parse("."), (Parsed{0, 0}));
    EXPECT_EQ(Parse(".5"), (Parsed{0.5, 2}));
    EXPECT_EQ(Parse("-.5"), (Parsed{-0.5, 3}));
    EXPECT_EQ(Parse("1e"), (Parsed{1, 1}));
    EXPECT_EQ(Parse("1e+"), (Parsed{1, 1}));
    EXPECT_EQ(Parse("1e+x"), (Parsed{1, 1}));
    EXPECT_EQ(Parse("1E-2"), (Parsed{0.01, 4}));
    EXPECT_EQ(Parse("2e3x"), (Parsed{2000, 3}));
    EXPECT_EQ(Parse("12abc"), (Parsed{12, 2}));
    EXPECT_EQ(Parse(""), (Parsed{0, 0}));
}

TEST(ValueTest, HugeExponentsSaturate)
{
    EXPECT_EQ(Parse("1e400").number, std::numeric_limits<double>::infinity());
    EXPECT_EQ(Parse("1e99999999999999999999").number, std::numeric_limits<double>::infinity());
    EXPECT_EQ(Parse("1e-99999999999999999999"), (Parsed{0, 23}));
    // 10^(2^32 + 1) must not wrap to 10^1.
    EXPECT_EQ(Parse("1e4294967297").number, std::numeric_limits<double>::infinity());
}

TEST(ValueTest, FormatNumberExamples)
{
    EXPECT_EQ(Format(0.5), "0.5");
    EXPECT_EQ(Format(100), "100");
    EXPECT_EQ(Format(-2.25), "-2.25");
    EXPECT_EQ(Format(1.0 / 3), "0.3333333333333");
    EXPECT_EQ(Format(2.0 / 3), "0.6666666666667");
    EXPECT_EQ(Format(0.000002), "2e-6");
    EXPECT_EQ(Format(0.001), "0.001");
    EXPECT_EQ(Format(1e9), "1000000000");
    EXPECT_EQ(Format(1e10), "1e+10");
    EXPECT_EQ(Format(1e-301), "0");
    EXPECT_EQ(Format(0), "0");
    EXPECT_EQ(Format(-0.0), "0");
    EXPECT_EQ(Format(7), "7");
    EXPECT_EQ(Format(-1e-301), "0");
}

TEST(ValueTest, FormatNumberRoundsWithCarries)
{
    EXPECT_EQ(Format(9.99999999999999), "10");
    EXPECT_EQ(Format(0.0999999999999999), "0.1");
    EXPECT_EQ(Format(0.000999999999999999), "0.001");
    EXPECT_EQ(Format(9999999999.99999), "10000000000");
    EXPECT_EQ(Format(123.456), "123.456");
    EXPECT_EQ(Format(0.1 + 0.2), "0.3");
    EXPECT_EQ(Format(1234567.891234567), "1234567.891235");
    EXPECT_EQ(Format(2.5, 1), "3");
}

TEST(ValueTest, FormatNumberUsesExponentsOutsideThePlainRange)
{
    EXPECT_EQ(Format(1e-5), "1e-5");
    EXPECT_EQ(Format(1.5e-5), "0.000015");
    EXPECT_EQ(Format(-9e-6), "-9e-6");
    EXPECT_EQ(Format(2e-300), "2e-300");
    EXPECT_EQ(Format(-1e10), "-1e+10");
    EXPECT_EQ(Format(123456789012.0), "1.23456789012e+11");
    EXPECT_EQ(Format(1.5e100), "1.5e+100");
    EXPECT_EQ(Format(1e308), "1e+308");
    EXPECT_EQ(Format(1.0 / 3 * 1e-7), "3.333333333333e-8");
    EXPECT_EQ(Format(1e21 * (1 - 1e-15)), "1e+21");
    // Fewer significant digits than integer digits turn to exponent notation.
    EXPECT_EQ(Format(12345, 3), "1.23e+4");
}

TEST(ValueTest, FormatNumberWritesInfinitiesAndNaN)
{
    EXPECT_EQ(Format(std::numeric_limits<double>::infinity()), "inf");
    EXPECT_EQ(Format(-std::numeric_limits<double>::infinity()), "-inf");
    EXPECT_EQ(Format(std::nan("")), "nan");
    EXPECT_EQ(Format(1e300 * 1e300), "inf");
}

TEST(ValueTest, FormatNumberWritesWholeNumbersExactly)
{
    std::mt19937_64 random(7);
    for (int i = 0; i < 100000; ++i) {
        const int64_t whole = int64_t(random() % 10000000000) * (i % 2 == 0 ? 1 : -1);
        ASSERT_EQ(Format(double(whole)), std::to_string(whole));
        // Nine digits with nine significant ones: the digit generation itself.
        ASSERT_EQ(Format(double(whole / 10), 9), std::to_string(whole / 10));
    }
    EXPECT_EQ(Format(9999999999), "9999999999");
    EXPECT_EQ(Format(10000000000), "1e+10");
    EXPECT_EQ(Format(100, 2), "1e+2");
    // With more digits than a double holds, the generated digits show its inexact scaling.
    EXPECT_EQ(Format(-9428473197, 14), "-9428473197");
    EXPECT_EQ(Format(-9428473197, 15), "-9428473197.00001");
    EXPECT_EQ(Format(37468, 19), "37468.00000000001241");
}

TEST(ValueTest, FormatNumberAppends)
{
    std::string text = "x=";
    FormatNumber(text, 13, 2);
    EXPECT_EQ(text, "x=2");
}

TEST(ValueTest, ToNumberNeedsOneWholeNumber)
{
    EXPECT_EQ(ToNumber("-2.5"), -2.5);
    EXPECT_EQ(ToNumber("1e3"), 1000);
    for (const char* text : {" 5", "5 ", "", "inf", "nan", "-inf", "1e", "0x10", "5px"})
        EXPECT_EQ(FailureOf([&] { ToNumber(text); }), (Failure{"run-time", "Invalid number", ""})) << text;
}

TEST(ValueTest, ToIntegerWrapsWithoutOverflow)
{
    EXPECT_EQ(ToInteger("-17"), -17);
    EXPECT_EQ(ToInteger("+8"), 8);
    EXPECT_EQ(ToInteger("007"), 7);
    EXPECT_EQ(ToInteger("2147483647"), 2147483647);
    EXPECT_EQ(ToInteger("-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ToInteger("2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(ToInteger("4294967297"), 1);
    EXPECT_EQ(ToInteger("99999999999999999999"), 1661992959); // modulo 2^32
    EXPECT_EQ(ToInteger("-4294967295"), 1);
    for (const char* text : {"1.0", "+", "-", "", " 1", "1 ", "--1", "+-1", "1e3", "x"})
        EXPECT_EQ(FailureOf([&] { ToInteger(text); }), (Failure{"run-time", "Invalid integer", ""})) << text;
}

TEST(ValueTest, ToBooleanIsExact)
{
    EXPECT_TRUE(ToBoolean("yes"));
    EXPECT_FALSE(ToBoolean("no"));
    for (const char* text : {"Yes", "true", "1", "", "yes ", "NO"})
        EXPECT_EQ(FailureOf([&] { ToBoolean(text); }),
                  (Failure{"run-time", "Invalid boolean (should be 'yes' or 'no')", ""}))
            << text;
}

TEST(ValueTest, ToLowerChangesAsciiLettersOnly)
{
    EXPECT_EQ(ToLower("RecT_9.-Z@[\xC9]"), "rect_9.-z@[\xC9]");
}

TEST(ValueTest, ValuesConvertByKind)
{
    Value none;
    EXPECT_EQ(none.kind, Value::Kind::kNone);
    EXPECT_EQ(none.ToText(), "");
    EXPECT_FALSE(none.ToBoolean());
    EXPECT_EQ(none.ToNumber(), 0.0);

    Value number;
    number.SetNumber(2.0 / 3);
    EXPECT_EQ(number.ToText(), "0.6666666666667");
    EXPECT_TRUE(number.ToBoolean());

    Value boolean;
    boolean.SetBoolean(true);
    EXPECT_EQ(boolean.ToText(), "yes");
    EXPECT_EQ(boolean.ToNumber(), 1.0);
    boolean.SetBoolean(false);
    EXPECT_EQ(boolean.ToText(), "no");

    Value text;
    text.SetText("12.5");
    EXPECT_EQ(text.ToNumber(), 12.5);
    EXPECT_EQ(FailureOf([&] { text.ToBoolean(); }).message, "Invalid boolean (should be 'yes' or 'no')");
    text.SetText("yes");
    EXPECT_TRUE(text.ToBoolean());
    EXPECT_EQ(FailureOf([&] { text.ToNumber(); }).message, "Invalid number");
}

TEST(ValueTest, NumericViewAcceptsWholeNumbersOnly)
{
    double number = 0;
    Value value;
    value.SetText("2");
    EXPECT_TRUE(value.GetNumeric(number));
    EXPECT_EQ(number, 2);
    value.SetText("2 ");
    EXPECT_FALSE(value.GetNumeric(number));
    value.SetBoolean(true);
    EXPECT_FALSE(value.GetNumeric(number));
    value.SetNumber(-3);
    EXPECT_TRUE(value.GetNumeric(number));
    EXPECT_EQ(number, -3);
    EXPECT_FALSE(Value().GetNumeric(number));
}

} // namespace
} // namespace ORDO

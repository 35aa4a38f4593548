#include "frame/decimal.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/frame/printers.h"

namespace velaqm {
namespace {

Decimal D(std::string_view text) {
    const std::optional<Decimal> value = Decimal::Parse(text);
    if (!value) throw std::invalid_argument("not a decimal: " + std::string(text));
    return *value;
}

TEST(Decimal, ParseReadsCompleteNumbersAndRoundsTo28Digits) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"12", "12"},
        {" -0.5 ", "-0.5"},
        {"+3", "3"},
        {"1.5e3", "1500"},
        {"1.25E-2", "0.0125"},
        {".5", "0.5"},
        {"00012.3400", "12.34"},
        {"-0.000", "0"},
        {"1e-28", "0.0000000000000000000000000001"},
        {"1e-29", "0"},
        {"2.5e-28", "0.0000000000000000000000000002"},  // half to even
        {"3.5e-28", "0.0000000000000000000000000004"},
        {"2.50000000000000000000000000000000000000000000001e-28",
         "0.0000000000000000000000000003"},  // digits far beyond the 28th still count
        {"9999999999999999999999999999", "9999999999999999999999999999"},
        {"1.23456789012345678901234567891", "1.234567890123456789012345679"},
        {"0.000000000000000000000000000000001e5", "0.0000000000000000000000000001"},
        {"1e-1000", "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<Decimal> value = Decimal::Parse(c.text);
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->ToString(), c.expected);
    }
}

TEST(Decimal, ParseRefusesAnythingButOneNumber) {
    for (const char* text : {"", "   ", "12abc", "1e", "1e+", ".", "-", "+", "1 2", "1..2", "e5",
                             "abc", "--1", "0x10", "1,5", "- 1", "1e5.5"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(Decimal::Parse(text).has_value());
    }
}

TEST(Decimal, WholePartBeyond28DigitsOverflows) {
    for (const char* text :
         {"1e28", "12345678901234567890123456789", "9999999999999999999999999999.5", "-1e1000"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(Decimal::Parse(text), std::overflow_error);
    }
    EXPECT_THROW(D("9999999999999999999999999999") + D("1"), std::overflow_error);
    EXPECT_THROW(D("5000000000000000000000000000") * D("2"), std::overflow_error);
    EXPECT_THROW(D("9999999999999999999999999999") * D("-9999999999999999999999999999"),
                 std::overflow_error);
    EXPECT_THROW(D("1000000000000000000000000000") / D("0.01"), std::overflow_error);
}

TEST(Decimal, ArithmeticIsExactThenRoundedHalfToEven) {
    const struct {
        const char* a;
        char op;
        const char* b;
        const char* expected;
    } cases[] = {
        {"0.1", '+', "0.2", "0.3"},
        {"-0.5", '+', "0.5", "0"},
        {"1.005", '-', "2", "-0.995"},
        {"1", '-', "0.0000000000000000000000000001", "0.9999999999999999999999999999"},
        {"10", '-', "0.0000000000000000000000000001", "10"},
        {"1000000000000000000000000000", '+', "0.5", "1000000000000000000000000000"},
        {"1000000000000000000000000000", '+', "1.5", "1000000000000000000000000002"},
        {"1234567890.123456789", '*', "1234567890.123456789", "1524157875323883675.019051999"},
        {"12345678901234.5678", '*', "-0.000987654321", "-12193263112.4828531222374638"},
        {"0.0000000000000000000000000001", '*', "0.5", "0"},
        {"0.0000000000000000000000000001", '*', "1.5", "0.0000000000000000000000000002"},
        {"9999999999999999999999999999", '*', "0.0000000000000000000000000001",
         "0.9999999999999999999999999999"},
        {"1", '/', "3", "0.3333333333333333333333333333"},
        {"2", '/', "3", "0.6666666666666666666666666667"},
        {"1", '/', "7", "0.1428571428571428571428571429"},
        {"-7", '/', "2", "-3.5"},
        {"7.77", '/', "0.0003", "25900"},
        {"1", '/', "0.001", "1000"},
        {"0.0000000000000000000000000001", '/', "4", "0"},
        {"0.0000000000000000000000000003", '/', "2", "0.0000000000000000000000000002"},
        // Mantissas wider than 64 bits, and a divisor just past 32 bits.
        {"-9999999999999999999999999999", '*', "-0.9999999999999999999999999999",
         "9999999999999999999999999998"},
        {"1234567890123.456789012345678", '*', "9876543210987.654321098765432",
         "12193263113702179522618503.26"},
        {"-0.1234567890123456789012345678", '*', "9876543210.987654321098765432",
         "-1219326311.370217952261850326"},
        {"9999999999999999999999999999", '/', "3333333333333333333333333333", "3"},
        {"9999999999999999999999999998", '/', "9999999999999999999999999999",
         "0.9999999999999999999999999999"},
        {"1234567890123456789012345678", '/', "9876543210987654321098765432",
         "0.1249999988609375000142382812"},
        {"1", '/', "9999999999999999999999999999", "0.0000000000000000000000000001"},
        {"18446744073709551616", '/', "4294967297", "4294967295.000000000232830644"},
        {"18446744073709551616", '-', "0.0000000018446744073709551616", "18446744073709551616"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " " + c.op + " " + c.b);
        const Decimal a = D(c.a);
        const Decimal b = D(c.b);
        const Decimal result = c.op == '+'   ? a + b
                               : c.op == '-' ? a - b
                               : c.op == '*' ? a * b
                                             : a / b;
        EXPECT_EQ(result.ToString(), c.expected);
    }
}

TEST(Decimal, SharesAddUpExactly) {
    Decimal total = D("33.33");
    total += D("33.33");
    total += D("33.34");
    EXPECT_EQ(total, Decimal(100));
    EXPECT_EQ(total.ToString(), "100");
}

TEST(Decimal, DivisionByZeroIsRefused) {
    EXPECT_THROW(D("1") / D("0.000"), std::domain_error);
}

TEST(Decimal, RoundsHalfToEvenAtAnyPlace) {
    const struct {
        const char* value;
        int places;
        const char* expected;
    } cases[] = {
        {"2.5", 0, "2"},      {"3.5", 0, "4"},      {"-2.5", 0, "-2"},        {"-3.5", 0, "-4"},
        {"2.675", 2, "2.68"}, {"2.665", 2, "2.66"}, {"2.6651", 2, "2.67"},    {"0.05", 1, "0"},
        {"-0.05", 1, "0"},    {"9.95", 1, "10"},    {"1.2345", 10, "1.2345"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " to " + std::to_string(c.places));
        EXPECT_EQ(D(c.value).Round(c.places).ToString(), c.expected);
    }
    EXPECT_THROW(D("1.5").Round(-1), std::invalid_argument);
}

TEST(Decimal, ToInt64RoundsHalfToEvenWithin64Bits) {
    constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
    constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
    const struct {
        const char* value;
        std::int64_t expected;
    } cases[] = {
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"-3.5", -4},
        {"2.5000000000000000000000001", 3},
        {"9223372036854775807", kMax},
        {"-9223372036854775808", kMin},
        {"-9223372036854775808.5", kMin},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(D(c.value).ToInt64(), c.expected);
    }
    for (const char* value : {"9223372036854775807.5", "-9223372036854775809", "1e27"}) {
        SCOPED_TRACE(value);
        EXPECT_THROW(D(value).ToInt64(), std::overflow_error);
    }
}

TEST(Decimal, ComparesValuesWhateverTheScale) {
    EXPECT_EQ(D("1.50"), D("1.5"));
    EXPECT_EQ(D("0.000"), Decimal());
    EXPECT_EQ(D("-0"), D("0"));
    // Each entry is smaller than the next.
    const std::vector<Decimal> ascending = {D("-1e27"),
                                            D("-2"),
                                            D("-1.5"),
                                            D("-0.0000000000000000000000000001"),
                                            D("0"),
                                            D("1e-28"),
                                            D("0.09"),
                                            D("0.1"),
                                            D("1"),
                                            D("1.000000000000000000000000001"),
                                            D("9999999999999999999999999999")};
    for (std::size_t i = 0; i + 1 < ascending.size(); ++i) {
        SCOPED_TRACE(ascending[i].ToString() + " < " + ascending[i + 1].ToString());
        EXPECT_LT(ascending[i], ascending[i + 1]);
        EXPECT_GT(ascending[i + 1], ascending[i]);
        EXPECT_NE(ascending[i], ascending[i + 1]);
    }
}

TEST(Decimal, FromDoubleGoesThroughFifteenDigits) {
    const struct {
        double value;
        const char* expected;
    } cases[] = {
        {0.1, "0.1"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {123456789.123456789, "123456789.123457"},
        {-2.5, "-2.5"},
        {1e20, "100000000000000000000"},
        {1.5e-7, "0.00000015"},
        {-0.0, "0"},
        {1e-30, "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(Decimal::FromDouble(c.value).ToString(), c.expected);
    }
    for (double value : {1e28, -1e300, std::numeric_limits<double>::infinity(),
                         std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_THROW(Decimal::FromDouble(value), std::overflow_error);
    }
    EXPECT_EQ(D("0.1").ToDouble(), 0.1);
    EXPECT_EQ(D("-1.5e3").ToDouble(), -1500.0);
}

}  // namespace
}  // namespace velaqm

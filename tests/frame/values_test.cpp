#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string>

#include "frame/collections.h"
#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/variant.h"
#include "tests/frame/printers.h"

namespace velaqm {
namespace {

Decimal D(std::string_view text) {
    return *Decimal::Parse(text);
}

// Runs call and returns the HostError number it throws, or 0 when it throws nothing.
std::int32_t ErrorNumber(const std::function<void()>& call) {
    try {
        call();
    } catch (const HostError& e) {
        return e.Number();
    }
    return 0;
}

TEST(Variant, ExactAccessRefusesAnotherKind) {
    const Variant values[] = {Variant(),         kNull,          true, 7, 2.5, D("1"), "text",
                              Date(2009, 10, 1), NewDictionary()};
    const std::function<void(const Variant&)> accessors[] = {
        [](const Variant& v) { v.AsBool(); },   [](const Variant& v) { v.AsLong(); },
        [](const Variant& v) { v.AsDouble(); }, [](const Variant& v) { v.AsDecimal(); },
        [](const Variant& v) { v.AsString(); }, [](const Variant& v) { v.AsDate(); },
        [](const Variant& v) { v.AsObject(); },
    };
    // accessors[i] fits values[i + 2]; every other pairing is a type mismatch.
    for (std::size_t v = 0; v < std::size(values); ++v) {
        for (std::size_t a = 0; a < std::size(accessors); ++a) {
            SCOPED_TRACE("value " + std::to_string(v) + ", accessor " + std::to_string(a));
            const std::int32_t expected = v == a + 2 ? 0 : kErrTypeMismatch;
            EXPECT_EQ(ErrorNumber([&] { accessors[a](values[v]); }), expected);
        }
    }
}

// An object known only by member names, which stands in for a dictionary when used as one.
class LateBound final : public Object {
  public:
    std::string TypeName() const override { return "Item"; }
    std::shared_ptr<Object> AsContract(const std::type_info& contract) const override {
        return contract == typeid(Dictionary) ? std::shared_ptr<Object>(NewDictionary()) : nullptr;
    }
};

TEST(Variant, ObjectAsTakesTheObjectOrWhatItStandsInFor) {
    const DictionaryPtr dictionary = NewDictionary();
    EXPECT_EQ(Variant(ObjectPtr(dictionary)).ObjectAs<Dictionary>(), dictionary);
    EXPECT_EQ(Variant(ObjectPtr(dictionary)).ObjectAs<Vector>(), nullptr);

    const Variant lateBound(ObjectPtr(std::make_shared<LateBound>()));
    EXPECT_NE(lateBound.ObjectAs<Dictionary>(), nullptr);
    EXPECT_EQ(lateBound.ObjectAs<Vector>(), nullptr) << "it refuses what it cannot stand in for";

    EXPECT_EQ(Variant("text").ObjectAs<Dictionary>(), nullptr);
    EXPECT_EQ(Variant::Nothing().ObjectAs<Dictionary>(), nullptr);
}

TEST(Variant, EqualMeansSameKindAndValue) {
    const DictionaryPtr dictionary = NewDictionary();
    const struct {
        Variant a, b;
        bool equal;
    } cases[] = {
        {Variant(), Variant(), true},
        {Variant(), kNull, false},
        {Variant(), 0, false},
        {1, 1.0, false},
        {1, true, false},
        {D("1.50"), D("1.5"), true},
        {"a", "A", false},
        {"a", "a", true},
        {Date(2009, 10, 1), Date(2009, 10, 1), true},
        {Date(2009, 10, 1), "2009-10-01", false},
        {dictionary, dictionary, true},
        {dictionary, NewDictionary(), false},
        {Variant::Nothing(), Variant::Nothing(), true},
        {Variant::Nothing(), Variant(), false},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(cases[i].a == cases[i].b, cases[i].equal);
    }
}

TEST(Convert, NumberValueReadsTheLeadingNumber) {
    const struct {
        Variant value;
        double expected;
    } cases[] = {
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {Variant(), 0},
        {kNull, 0},
        {true, -1},
        {false, 0},
        {" 12 ", 12},
        {" -1.5e2x", -150},
        {"+3", 3},
        {"1e", 1},
        {".5", 0.5},
        {"-.5", -0.5},
        {"1 2", 1},
        {"1e-400", 0},
        {7, 7},
        {D("2.5"), 2.5},
        {Date(1899, 12, 30), 0},
        {Date(1900, 1, 1), 2},
        {Date(1899, 12, 31, 12, 0, 0), 1.5},
        {Date(1899, 12, 29, 6, 0, 0), -1.25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Text(c.value));
        EXPECT_EQ(NumberValue(c.value), c.expected);
    }
    EXPECT_EQ(ErrorNumber([] { NumberValue("1e999"); }), kErrOverflow);
    EXPECT_EQ(ErrorNumber([] { NumberValue(NewDictionary()); }), kErrTypeMismatch);
}

TEST(Convert, WholeNumberRoundsHalfToEven) {
    const struct {
        Variant value;
        std::int64_t expected;
    } cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4},
        {0.5, 0},
        {1.5, 2},
        {2.4999, 2},
        {-0.4, 0},
        {"2.5", 2},
        {"3.5abc", 4},
        {"2.50000000000000000001", 3},
        {D("2.5000000000000000000000001"), 3},
        {true, -1},
        {"", 0},
        {kNull, 0},
        {-7, -7},
        {9.2e18, 9200000000000000000},
        {-9223372036854775808.0, std::numeric_limits<std::int64_t>::min()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Text(c.value));
        EXPECT_EQ(WholeNumber(c.value), c.expected);
    }
    for (const Variant& value : {Variant(9.3e18), Variant(-1e300), Variant(std::nan("")),
                                 Variant("1e30"), Variant(D("1e27")), Variant("1e999")}) {
        SCOPED_TRACE(Text(value));
        EXPECT_EQ(ErrorNumber([&] { WholeNumber(value); }), kErrOverflow);
    }
}

TEST(Convert, LongNumberHoldsThirtyTwoBitsAndNoMore) {
    EXPECT_EQ(LongNumber(Variant("2147483647")), 2147483647);
    EXPECT_EQ(LongNumber(Variant(-2147483648.0)), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(LongNumber(Variant("2.5")), 2);
    EXPECT_EQ(LongNumber(Variant()), 0);
    for (const Variant& value : {Variant(2147483648.0), Variant("-2147483649")}) {
        SCOPED_TRACE(Text(value));
        EXPECT_EQ(ErrorNumber([&] { LongNumber(value); }), kErrOverflow);
    }
}

TEST(Convert, IndexNumberRefusesWhatNoPositionHolds) {
    constexpr auto kNone = std::numeric_limits<std::size_t>::max();
    constexpr std::int64_t kPast32Bits = std::int64_t{1} << 32;
    const struct {
        Variant value;
        std::size_t expected;
    } cases[] = {
        {0, 0},
        {7, 7},
        {"12", 12},
        {2.5, 2},
        {-0.4, 0},
        {-1, kNone},
        {-2147483648.0, kNone},
        // Wraps to 0 if taken modulo 2^32 in a 32-bit build.
        {static_cast<double>(kPast32Bits),
         sizeof(std::size_t) == 8 ? static_cast<std::size_t>(kPast32Bits) : kNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Text(c.value));
        EXPECT_EQ(IndexNumber(c.value), c.expected);
    }
    EXPECT_EQ(ErrorNumber([] { IndexNumber(1e30); }), kErrOverflow);
}

TEST(Convert, IsNumericWantsOneCompleteNumber) {
    for (const Variant& value : {Variant(" 12 "), Variant("-1.5"), Variant("1e3"), Variant("+3"),
                                 Variant("1."), Variant(".5"), Variant("\t4\t"), Variant(3),
                                 Variant(2.5), Variant(D("1")), Variant(true)}) {
        SCOPED_TRACE(Text(value));
        EXPECT_TRUE(IsNumeric(value));
    }
    for (const Variant& value :
         {Variant(""), Variant("   "), Variant("12abc"), Variant(), Variant(kNull), Variant("1 2"),
          Variant("1e"), Variant("."), Variant("-"), Variant("abc"), Variant("1e999"),
          Variant(Date(2009, 10, 1)), Variant::Nothing(), Variant(NewDictionary())}) {
        SCOPED_TRACE(Text(value));
        EXPECT_FALSE(IsNumeric(value));
    }
}

TEST(Convert, TextShowsFifteenSignificantDigits) {
    const struct {
        Variant value;
        const char* expected;
    } cases[] = {
        {0.1 + 0.2, "0.3"},
        {1e20, "100000000000000000000"},
        {1.5e-7, "0.00000015"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {123456789012345678.0, "123456789012346000"},
        {-2.5, "-2.5"},
        {100.0, "100"},
        {0.0, "0"},
        {-0.0, "0"},
        {1e-28, "0.0000000000000000000000000001"},
        {1e28, "1E+28"},
        {-1.5e-30, "-1.5E-30"},
        {-7, "-7"},
        {D("1.50"), "1.5"},
        {D("0.1234567890123456789"), "0.1234567890123456789"},
        {true, "True"},
        {false, "False"},
        {kNull, ""},
        {Variant(), ""},
        {Date(2009, 10, 1), "2009-10-01"},
        {Date(2009, 10, 1, 8, 0, 0), "2009-10-01 08:00:00"},
        {"abc", "abc"},
        {NewVector(), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(Text(c.value), c.expected);
    }
}

TEST(Convert, FormattedDoublesReadBackAsTheSameNumber) {
    for (double value :
         {0.1, -2.5, 1e20, 1.5e-7, 123456.789, 1e28, -1.5e-30, 1e300, 2.2250738585072e-308}) {
        const std::string text = FormatDouble(value);
        SCOPED_TRACE(text);
        EXPECT_EQ(LeadingNumber(text), std::strtod(text.c_str(), nullptr));
        EXPECT_NEAR(LeadingNumber(text), value, std::fabs(value) * 1e-14);
    }
}

TEST(Convert, ToDateReadsDatesAndDateText) {
    EXPECT_EQ(ToDate("2009-9-30"), Date(2009, 9, 30));
    EXPECT_EQ(ToDate("2009/10/01 08:00"), Date(2009, 10, 1, 8, 0, 0));
    EXPECT_EQ(ToDate(Date(2009, 10, 1)), Date(2009, 10, 1));
    for (const Variant& value : {Variant(40000.0), Variant(""), Variant(kNull), Variant(),
                                 Variant("2009-2-30"), Variant(NewDictionary())}) {
        SCOPED_TRACE(Text(value));
        EXPECT_FALSE(ToDate(value).has_value());
    }
}

TEST(Convert, ToDecimalIsExact) {
    const struct {
        Variant value;
        const char* expected;
    } cases[] = {
        {"12.345abc", "12.345"},
        {"abc", "0"},
        {"", "0"},
        {kNull, "0"},
        {Variant(), "0"},
        {true, "-1"},
        {5, "5"},
        {" 1e3 ", "1000"},
        {"0.1234567890123456789", "0.1234567890123456789"},
        {0.1, "0.1"},
        {1.0 / 3, "0.333333333333333"},
        {Date(1899, 12, 31, 12, 0, 0), "1.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(ToDecimal(c.value).ToString(), c.expected);
    }
    EXPECT_EQ(ToDecimal(33.33) + ToDecimal("33.33") + ToDecimal(33.34), Decimal(100));
    EXPECT_EQ(ErrorNumber([] { ToDecimal("1e30"); }), kErrOverflow);
    EXPECT_EQ(ErrorNumber([] { ToDecimal(1e30); }), kErrOverflow);
    EXPECT_EQ(ErrorNumber([] { ToDecimal(NewVector()); }), kErrTypeMismatch);
}

TEST(Convert, TruthIsANonZeroNumberValue) {
    const struct {
        Variant value;
        bool expected;
    } cases[] = {
        {"abc", false},  {"0", false},       {"0.0", false},     {"1", true},
        {"-1", true},    {" 2x", true},      {0.5, true},        {0.0, false},
        {D("0"), false}, {D("1e-28"), true}, {Variant(), false}, {kNull, false},
        {true, true},    {false, false},     {"True", false},    {Date(1899, 12, 30), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Text(c.value));
        EXPECT_EQ(Truth(c.value), c.expected);
    }
}

}  // namespace
}  // namespace velaqm

#include "frame/int128.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iomanip>
#include <limits>
#include <sstream>
#include <string>
#include <type_traits>

// The same cases run over the compiler's own 128-bit integers, which vouches for the expected
// values, and over the portable halves in the portable test program. Shifts and comparisons
// are left to the decimal tests, which run over the portable halves too and catch their faults.
#if defined(VELAQM_PORTABLE_INT128)
static_assert(std::is_class_v<velaqm::UInt128> && std::is_class_v<velaqm::Int128>,
              "the portable build must not fall back to the compiler's 128-bit integers");
#endif

namespace velaqm {
namespace {

constexpr UInt128 U(std::uint64_t high, std::uint64_t low) {
    return MakeUInt128(high, low);
}

constexpr std::uint64_t kOnes = ~std::uint64_t{0};
constexpr UInt128 kMax = U(kOnes, kOnes);
constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();

// Both halves in hex, so a failure shows which half is wrong.
std::string Hex(UInt128 value) {
    std::ostringstream out;
    out << std::hex << std::uppercase << std::setfill('0') << std::setw(16)
        << static_cast<std::uint64_t>(value >> 64) << '\'' << std::setw(16)
        << static_cast<std::uint64_t>(value);
    return out.str();
}

std::string Hex(Int128 value) {
    return Hex(static_cast<UInt128>(value));
}

TEST(Int128, AddAndSubtractCarryBetweenHalves) {
    const struct {
        UInt128 a;
        char op;
        UInt128 b;
        UInt128 expected;
    } cases[] = {
        {U(0, kOnes), '+', 1, U(1, 0)},
        {U(0, kOnes), '+', U(0, kOnes), U(1, kOnes - 1)},
        {U(7, 0x8000000000000000), '+', U(1, 0x8000000000000000), U(9, 0)},
        {kMax, '+', 1, 0},
        {U(1, 0), '-', 1, U(0, kOnes)},
        {U(5, 3), '-', U(2, 7), U(2, kOnes - 3)},
        {0, '-', 1, kMax},
        {U(2, 7), '-', U(5, 3), U(kOnes - 2, 4)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hex(c.a) + " " + c.op + " " + Hex(c.b));
        EXPECT_EQ(Hex(c.op == '+' ? c.a + c.b : c.a - c.b), Hex(c.expected));
    }
    UInt128 counter = U(0, kOnes);
    EXPECT_EQ(Hex(++counter), Hex(U(1, 0)));
}

TEST(Int128, MultipliesAcrossBothHalvesModulo128Bits) {
    const UInt128 tenTo19 = 10'000'000'000'000'000'000u;
    const UInt128 tenTo38 = U(0x4B3B4CA85A86C47A, 0x098A224000000000);
    const struct {
        UInt128 a;
        UInt128 b;
        UInt128 expected;
    } cases[] = {
        {U(0, kOnes), U(0, kOnes), U(kOnes - 1, 1)},
        {U(0, 0xFFFFFFFF), U(0, 0xFFFFFFFF), U(0, 0xFFFFFFFE00000001)},
        {U(0, kOnes), U(0, 0xFFFFFFFF00000001), U(0xFFFFFFFF00000000, 0x00000000FFFFFFFF)},
        {tenTo19, tenTo19, tenTo38},
        {U(0x204FCE5E, 0x3E25026110000000), 10'000'000'000u, tenTo38},  // 10^28 * 10^10
        {U(0x0123456789ABCDEF, 0xFEDCBA9876543210), U(0, 0xFFFFFFFF00000001),
         U(0x7654321001234567, 0x8888888876543210)},
        {U(1, 1), U(1, 1), U(2, 1)},  // 2^128 falls off
        {kMax, kMax, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hex(c.a) + " * " + Hex(c.b));
        EXPECT_EQ(Hex(c.a * c.b), Hex(c.expected));
        EXPECT_EQ(Hex(c.b * c.a), Hex(c.expected));
    }
}

TEST(Int128, DividesByNarrowAndWideDivisors) {
    const UInt128 tenTo38 = U(0x4B3B4CA85A86C47A, 0x098A224000000000);
    const struct {
        UInt128 a;
        UInt128 b;
        UInt128 quotient;
        UInt128 remainder;
    } cases[] = {
        {100, 7, 14, 2},
        {tenTo38, 10, U(0x0785EE10D5DA46D9, 0x00F436A000000000), 0},
        {kMax, 10, U(0x1999999999999999, 0x9999999999999999), 5},
        {U(1, 0), U(0, 0xFFFFFFFF), U(0, 0x100000001), 1},
        {U(1, 0), U(0, 0x100000000), U(0, 0x100000000), 0},
        {tenTo38, U(0, 0x8AC7230489E80007), U(0, 0x8AC7230489E7FFF9), 0x31},  // 10^19 + 7
        {U(kOnes, 0), U(0, kOnes), U(1, 0), 0},
        {U(0x4B3B4CA85A86C47A, 0x098A224000003039), U(1, 1), U(0, 0x4B3B4CA85A86C479),
         U(0, 0xBE4ED597A5796BC0)},
        {tenTo38, U(0x204FCE5E, 0x3E2502610FFFFFFF), 10'000'000'000u, 10'000'000'000u},
        {U(3, 5), U(2, 3), 1, U(1, 2)},
        {kMax, U(0x8000000000000000, 0), 1, U(0x7FFFFFFFFFFFFFFF, kOnes)},
        {U(1, 0), U(1, 1), 0, U(1, 0)},
        {5, U(1, 0), 0, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hex(c.a) + " / " + Hex(c.b));
        EXPECT_EQ(Hex(c.a / c.b), Hex(c.quotient));
        EXPECT_EQ(Hex(c.a % c.b), Hex(c.remainder));
    }
}

TEST(Int128, NegativeValuesAreTwosComplement) {
    const struct {
        Int128 value;
        UInt128 bits;
    } cases[] = {
        {-1, kMax},
        {kMin64, U(kOnes, 0x8000000000000000)},
        {-Int128(0), 0},
        {-Int128(kMin64), U(0, 0x8000000000000000)},
        {-static_cast<Int128>(U(1, 0)), U(kOnes, 0)},  // the borrow reaches the high half
        {-static_cast<Int128>(U(kOnes, 1)), U(0, kOnes)},
        {std::numeric_limits<std::uint64_t>::max(), U(0, kOnes)},  // unsigned: no sign to extend
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Hex(c.bits));
        EXPECT_EQ(Hex(c.value), Hex(c.bits));
        EXPECT_TRUE(static_cast<Int128>(c.bits) == c.value);
    }
    EXPECT_EQ(Hex(UInt128(-2)), Hex(U(kOnes, kOnes - 1)));  // signed sources are sign-extended
    EXPECT_EQ(static_cast<std::int64_t>(Int128(-5)), -5);
    EXPECT_EQ(static_cast<std::uint64_t>(U(5, 7)), 7u);  // a narrowing cast keeps the low bits
    EXPECT_EQ(Hex(UInt128(0) - static_cast<UInt128>(-Int128(12345))), Hex(U(0, 12345)));
}

}  // namespace
}  // namespace velaqm

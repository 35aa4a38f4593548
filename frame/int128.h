// The 128-bit integers behind Decimal: the compiler's own where it has them, otherwise (MSVC) two
// 64-bit halves with the operations Decimal uses. Defining VELAQM_PORTABLE_INT128 forces the
// halves, so they are tested where the compiler has its own.
#pragma once

#include <bit>
#include <compare>
#include <concepts>
#include <cstdint>
#include <type_traits>

namespace velaqm {

#if defined(__SIZEOF_INT128__) && !defined(VELAQM_PORTABLE_INT128)

// __extension__ keeps -Wpedantic quiet about the compiler's 128-bit integers.
__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

#else

class Int128;

// Wraps around modulo 2^128 like the built-in unsigned types; shift counts are 0..127 and
// division by zero is undefined, as for them.
class UInt128 {
  public:
    constexpr UInt128() = default;
    // Implicit and sign-extending, as a built-in integer converts.
    template <std::integral T>
    constexpr UInt128(T value)  // NOLINT(google-explicit-constructor)
        : m_low(static_cast<std::uint64_t>(value)) {
        if constexpr (std::is_signed_v<T>) {
            if (value < 0) m_high = ~std::uint64_t{0};
        }
    }
    // The same bits read as unsigned.
    explicit constexpr UInt128(Int128 value);

    // Keeps the low bits, as a cast between built-in integers does.
    template <std::integral T>
    requires(!std::same_as<T, bool>) explicit constexpr operator T() const {
        return static_cast<T>(m_low);
    }

    friend constexpr UInt128 operator+(UInt128 a, UInt128 b) {
        const std::uint64_t low = a.m_low + b.m_low;
        return UInt128(a.m_high + b.m_high + (low < a.m_low ? 1 : 0), low);
    }
    friend constexpr UInt128 operator-(UInt128 a, UInt128 b) {
        return UInt128(a.m_high - b.m_high - (a.m_low < b.m_low ? 1 : 0), a.m_low - b.m_low);
    }
    friend constexpr UInt128 operator*(UInt128 a, UInt128 b) {
        UInt128 product = MultiplyHalves(a.m_low, b.m_low);
        // Of the cross terms only their low halves land below bit 128.
        product.m_high += a.m_low * b.m_high + a.m_high * b.m_low;
        return product;
    }
    friend constexpr UInt128 operator/(UInt128 a, UInt128 b) {
        Divide(a, b);
        return a;
    }
    friend constexpr UInt128 operator%(UInt128 a, UInt128 b) { return Divide(a, b); }
    friend constexpr UInt128 operator&(UInt128 a, UInt128 b) {
        return UInt128(a.m_high & b.m_high, a.m_low & b.m_low);
    }
    friend constexpr UInt128 operator|(UInt128 a, UInt128 b) {
        return UInt128(a.m_high | b.m_high, a.m_low | b.m_low);
    }
    // Shifting a 64-bit half by 64 is undefined, hence the cases.
    friend constexpr UInt128 operator<<(UInt128 a, int count) {
        if (count == 0) return a;
        if (count >= 64) return UInt128(a.m_low << (count - 64), 0);
        return UInt128((a.m_high << count) | (a.m_low >> (64 - count)), a.m_low << count);
    }
    friend constexpr UInt128 operator>>(UInt128 a, int count) {
        if (count == 0) return a;
        if (count >= 64) return UInt128(0, a.m_high >> (count - 64));
        return UInt128(a.m_high >> count, (a.m_low >> count) | (a.m_high << (64 - count)));
    }

    constexpr UInt128& operator+=(UInt128 b) { return *this = *this + b; }
    constexpr UInt128& operator-=(UInt128 b) { return *this = *this - b; }
    constexpr UInt128& operator*=(UInt128 b) { return *this = *this * b; }
    constexpr UInt128& operator/=(UInt128 b) { return *this = *this / b; }
    constexpr UInt128& operator%=(UInt128 b) { return *this = *this % b; }
    constexpr UInt128& operator++() { return *this += 1; }

    friend constexpr bool operator==(const UInt128&, const UInt128&) = default;
    friend constexpr std::strong_ordering operator<=>(const UInt128&, const UInt128&) = default;

  private:
    friend class Int128;

    constexpr UInt128(std::uint64_t high, std::uint64_t low) : m_high(high), m_low(low) {}

    // The full product of two halves, from 32-bit pieces so that no partial product overflows.
    static constexpr UInt128 MultiplyHalves(std::uint64_t a, std::uint64_t b) {
        constexpr std::uint64_t kMask = 0xFFFFFFFF;
        const std::uint64_t lowLow = (a & kMask) * (b & kMask);
        const std::uint64_t highLow = (a >> 32) * (b & kMask);
        const std::uint64_t lowHigh = (a & kMask) * (b >> 32);
        const std::uint64_t highHigh = (a >> 32) * (b >> 32);
        // At most (2^32 - 1) * 2 + (2^32 - 1)^2 = 2^64 - 1.
        const std::uint64_t middle = (lowLow >> 32) + (highLow & kMask) + lowHigh;
        return UInt128(highHigh + (highLow >> 32) + (middle >> 32),
                       (middle << 32) | (lowLow & kMask));
    }

    static constexpr int LeadingZeros(UInt128 value) {
        return value.m_high != 0 ? std::countl_zero(value.m_high)
                                 : 64 + std::countl_zero(value.m_low);
    }

    // Leaves the quotient in `value` and returns the remainder.
    static constexpr UInt128 Divide(UInt128& value, UInt128 divisor) {
        if (value.m_high == 0 && divisor.m_high == 0) {
            const std::uint64_t remainder = value.m_low % divisor.m_low;
            value.m_low /= divisor.m_low;
            return remainder;
        }
        if (divisor.m_high == 0 && divisor.m_low <= 0xFFFFFFFF) {
            // Decimal divides by 10 all the time: 32-bit digits keep every step within 64 bits.
            const std::uint64_t d = divisor.m_low;
            std::uint64_t remainder = value.m_high % d;
            value.m_high /= d;
            const std::uint64_t upper = (remainder << 32) | (value.m_low >> 32);
            remainder = upper % d;
            const std::uint64_t lower = (remainder << 32) | (value.m_low & 0xFFFFFFFF);
            value.m_low = ((upper / d) << 32) | (lower / d);
            return lower % d;
        }
        if (value < divisor) {
            const UInt128 remainder = value;
            value = 0;
            return remainder;
        }
        // Shift and subtract, one quotient bit per step from the highest one possible.
        const int shift = LeadingZeros(divisor) - LeadingZeros(value);
        UInt128 shifted = divisor << shift;
        UInt128 remainder = value;
        UInt128 quotient;
        for (int bit = shift; bit >= 0; --bit) {
            const bool fits = remainder >= shifted;
            if (fits) remainder -= shifted;
            quotient = (quotient << 1) | UInt128(0, fits ? 1 : 0);
            shifted = shifted >> 1;
        }
        value = quotient;
        return remainder;
    }

    // High half first, so that the defaulted comparisons compare values.
    std::uint64_t m_high = 0;
    std::uint64_t m_low = 0;
};

// Two's complement over the same 128 bits. Decimal only keeps its signed mantissa in it, so
// arithmetic goes through UInt128 and this offers just sign, negation and conversions.
class Int128 {
  public:
    constexpr Int128() = default;
    template <std::integral T>
    constexpr Int128(T value)  // NOLINT(google-explicit-constructor)
        : Int128(UInt128(value)) {}
    // The same bits read as two's complement.
    explicit constexpr Int128(UInt128 bits)
        : m_high(static_cast<std::int64_t>(bits.m_high)), m_low(bits.m_low) {}

    template <std::integral T>
    requires(!std::same_as<T, bool>) explicit constexpr operator T() const {
        return static_cast<T>(m_low);
    }

    // Like the built-in type, the most negative value has no opposite (here it stays itself).
    friend constexpr Int128 operator-(Int128 value) { return Int128(UInt128(0) - UInt128(value)); }

    friend constexpr bool operator==(const Int128&, const Int128&) = default;
    // The high half holds the sign, so comparing the halves in order compares the values.
    friend constexpr std::strong_ordering operator<=>(const Int128&, const Int128&) = default;

  private:
    friend class UInt128;

    std::int64_t m_high = 0;
    std::uint64_t m_low = 0;
};

constexpr UInt128::UInt128(Int128 value)
    : m_high(static_cast<std::uint64_t>(value.m_high)), m_low(value.m_low) {}

#endif

// From its two halves, for constants that read best in hex.
constexpr UInt128 MakeUInt128(std::uint64_t high, std::uint64_t low) {
    return (static_cast<UInt128>(high) << 64) | low;
}

}  // namespace velaqm

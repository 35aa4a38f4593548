// Exact decimal numbers with 28 significant digits, the host's currency and quantity type.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "frame/int128.h"

namespace velaqm {

class Decimal {
  public:
    static constexpr int kMaxDigits = 28;
    static constexpr int kMaxScale = 28;

    constexpr Decimal() = default;
    Decimal(std::int64_t whole);  // NOLINT(google-explicit-constructor): a whole number is exact

    // "12", "-0.5", " 1.25e3 "; nullopt for anything that is not one complete number. Digits
    // beyond the 28th are rounded half to even; throws std::overflow_error when the whole part
    // needs more than 28 digits.
    static std::optional<Decimal> Parse(std::string_view text);
    // Through the double's 15-significant-digit text, so 0.1 becomes exactly 0.1. Throws
    // std::overflow_error for infinities, NaN and magnitudes of 1e28 and beyond.
    static Decimal FromDouble(double value);

    // Shortest text: no trailing zeros, "." as decimal point, no exponent.
    std::string ToString() const;
    double ToDouble() const;
    // Rounded half to even to the given number of decimal places (0..28; std::invalid_argument
    // for a negative count).
    Decimal Round(int places = 0) const;
    bool IsZero() const { return m_mantissa == 0; }
    bool IsNegative() const { return m_mantissa < 0; }
    // Whole part after rounding half to even; throws std::overflow_error outside 64 bits.
    std::int64_t ToInt64() const;

    Decimal operator-() const;
    // Results are rounded half to even to 28 significant digits and 28 places; a whole part
    // beyond 28 digits throws std::overflow_error.
    friend Decimal operator+(const Decimal& a, const Decimal& b);
    friend Decimal operator-(const Decimal& a, const Decimal& b);
    friend Decimal operator*(const Decimal& a, const Decimal& b);
    // Throws std::domain_error on division by zero.
    friend Decimal operator/(const Decimal& a, const Decimal& b);
    Decimal& operator+=(const Decimal& b) { return *this = *this + b; }
    Decimal& operator-=(const Decimal& b) { return *this = *this - b; }
    Decimal& operator*=(const Decimal& b) { return *this = *this * b; }
    Decimal& operator/=(const Decimal& b) { return *this = *this / b; }

    friend bool operator==(const Decimal& a, const Decimal& b);
    friend std::strong_ordering operator<=>(const Decimal& a, const Decimal& b);

  private:
    constexpr Decimal(Int128 mantissa, int scale) : m_mantissa(mantissa), m_scale(scale) {}

    // Stored without trailing zeros after the point (1.50 is kept as 15, scale 1).
    Int128 m_mantissa = 0;  // value = m_mantissa / 10^m_scale
    int m_scale = 0;
};

// Length of the number at the start of text: an optional sign, digits with an optional point
// ("1.", ".5"), and an exponent only when it has digits ("1e3"; in "1e" the number is "1").
// 0 when text does not start with a number; blanks are not skipped.
std::size_t NumberPrefixLength(std::string_view text);

}  // namespace velaqm

#include "frame/decimal.h"
#include "frame/text_util.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <utility>

namespace velaqm {

namespace {

constexpr UInt128 Pow10(int n) {
    UInt128 result = 1;
    for (int i = 0; i < n; ++i)
        result *= 10;
    return result;
}

// Every stored mantissa stays below this bound: 28 significant digits.
constexpr UInt128 kMantissaLimit = Pow10(Decimal::kMaxDigits);

UInt128 Magnitude(Int128 value) {
    return value < 0 ? UInt128(0) - static_cast<UInt128>(value) : static_cast<UInt128>(value);
}

[[noreturn]] void ThrowOverflow() {
    throw std::overflow_error("Decimal overflow");
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// An unsigned 256-bit magnitude: wide enough for the product of two mantissas or for a mantissa
// moved 28 places to the left, so intermediate results are exact before they are rounded.
class Wide {
  public:
    Wide() = default;
    explicit Wide(UInt128 value)
        : m_limbs{static_cast<std::uint64_t>(value), static_cast<std::uint64_t>(value >> 64), 0,
                  0} {}

    static Wide Product(UInt128 a, UInt128 b) {
        const std::array<std::uint64_t, 2> x{static_cast<std::uint64_t>(a),
                                             static_cast<std::uint64_t>(a >> 64)};
        const std::array<std::uint64_t, 2> y{static_cast<std::uint64_t>(b),
                                             static_cast<std::uint64_t>(b >> 64)};
        Wide result;
        for (std::size_t i = 0; i < 2; ++i) {
            UInt128 carry = 0;
            for (std::size_t j = 0; j < 2; ++j) {
                const UInt128 t = static_cast<UInt128>(x[i]) * y[j] + result.m_limbs[i + j] + carry;
                result.m_limbs[i + j] = static_cast<std::uint64_t>(t);
                carry = t >> 64;
            }
            result.m_limbs[i + 2] = static_cast<std::uint64_t>(carry);
        }
        return result;
    }

    bool IsZero() const {
        return std::all_of(m_limbs.begin(), m_limbs.end(), [](std::uint64_t l) { return l == 0; });
    }

    // Only meaningful when the value fits in 128 bits.
    UInt128 Low() const { return (static_cast<UInt128>(m_limbs[1]) << 64) | m_limbs[0]; }

    friend std::strong_ordering operator<=>(const Wide& a, const Wide& b) {
        for (std::size_t i = a.m_limbs.size(); i-- > 0;) {
            if (a.m_limbs[i] != b.m_limbs[i]) return a.m_limbs[i] <=> b.m_limbs[i];
        }
        return std::strong_ordering::equal;
    }

    Wide& operator+=(const Wide& other) {
        UInt128 carry = 0;
        for (std::size_t i = 0; i < m_limbs.size(); ++i) {
            const UInt128 t = static_cast<UInt128>(m_limbs[i]) + other.m_limbs[i] + carry;
            m_limbs[i] = static_cast<std::uint64_t>(t);
            carry = t >> 64;
        }
        return *this;
    }

    // Requires *this >= other.
    Wide& operator-=(const Wide& other) {
        std::uint64_t borrow = 0;
        for (std::size_t i = 0; i < m_limbs.size(); ++i) {
            const std::uint64_t a = m_limbs[i];
            const std::uint64_t b = other.m_limbs[i];
            m_limbs[i] = a - b - borrow;
            borrow = (a < b || (a == b && borrow)) ? 1 : 0;
        }
        return *this;
    }

    void MultiplyBy10() {
        UInt128 carry = 0;
        for (auto& limb : m_limbs) {
            const UInt128 t = static_cast<UInt128>(limb) * 10 + carry;
            limb = static_cast<std::uint64_t>(t);
            carry = t >> 64;
        }
    }

    // Divides in place and returns the remainder (the digit that falls off).
    unsigned DivideBy10() {
        std::uint64_t remainder = 0;
        for (std::size_t i = m_limbs.size(); i-- > 0;) {
            const UInt128 current = (static_cast<UInt128>(remainder) << 64) | m_limbs[i];
            m_limbs[i] = static_cast<std::uint64_t>(current / 10);
            remainder = static_cast<std::uint64_t>(current % 10);
        }
        return static_cast<unsigned>(remainder);
    }

  private:
    std::array<std::uint64_t, 4> m_limbs{};  // least significant first
};

struct Rounded {
    Int128 mantissa;
    int scale;
};

// Brings an exact magnitude with `scale` places to at most 28 significant digits and at most
// maxScale places, half to even. `sticky` says non-zero digits were already cut off below the
// magnitude (a division remainder), which turns an exact half into more than a half.
Rounded RoundToFit(bool negative, Wide magnitude, int scale, bool sticky,
                   int maxScale = Decimal::kMaxScale) {
    if (magnitude.IsZero()) return {0, 0};
    if (scale < 0) {
        if (scale < -Decimal::kMaxDigits) ThrowOverflow();
        for (; scale < 0; ++scale)
            magnitude.MultiplyBy10();
    }
    const Wide limit(kMantissaLimit);
    unsigned lastDropped = 0;
    while (scale > maxScale || magnitude >= limit) {
        if (scale == 0) ThrowOverflow();
        sticky = sticky || lastDropped != 0;
        lastDropped = magnitude.DivideBy10();
        --scale;
        // Everything left lies more than one digit below the last place kept: it rounds to 0.
        if (magnitude.IsZero() && scale > maxScale) return {0, 0};
    }
    UInt128 kept = magnitude.Low();
    if (lastDropped > 5 || (lastDropped == 5 && (sticky || (kept & 1) != 0))) {
        ++kept;
        if (kept == kMantissaLimit) {
            if (scale == 0) ThrowOverflow();
            kept /= 10;
            --scale;
        }
    }
    while (scale > 0 && kept % 10 == 0) {
        kept /= 10;
        --scale;
    }
    if (kept == 0) return {0, 0};
    const Int128 signedValue = static_cast<Int128>(kept);
    return {negative ? -signedValue : signedValue, scale};
}

Wide Aligned(Int128 mantissa, int scale, int toScale) {
    return Wide::Product(Magnitude(mantissa), Pow10(toScale - scale));
}

// Parses text already known to be one complete number (see NumberPrefixLength).
Rounded ParseNumber(std::string_view text) {
    bool negative = false;
    std::size_t pos = 0;
    if (text[pos] == '+' || text[pos] == '-') negative = text[pos++] == '-';

    // Keeps the first significant digits exactly; later ones only matter for rounding.
    constexpr int kKeptDigits = 40;
    Wide digits;
    int kept = 0;
    long long exponent = 0;  // value = digits * 10^exponent
    bool sticky = false;
    bool afterPoint = false;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '.') {
            afterPoint = true;
            continue;
        }
        if (!IsDigit(c)) break;
        if (kept == 0 && c == '0') {
            if (afterPoint) --exponent;
            continue;
        }
        if (kept < kKeptDigits) {
            digits.MultiplyBy10();
            digits += Wide(static_cast<UInt128>(c - '0'));
            ++kept;
            if (afterPoint) --exponent;
        } else {
            sticky = sticky || c != '0';
            if (!afterPoint) ++exponent;
        }
    }
    if (pos < text.size()) {  // exponent
        ++pos;
        bool negativeExponent = false;
        if (text[pos] == '+' || text[pos] == '-') negativeExponent = text[pos++] == '-';
        long long value = 0;
        for (; pos < text.size(); ++pos) {
            value = std::min(value * 10 + (text[pos] - '0'), 1'000'000LL);
        }
        exponent += negativeExponent ? -value : value;
    }
    if (digits.IsZero()) return {0, 0};
    // Far below the 28th place the value rounds to zero; far above it cannot be represented.
    if (exponent < -(Decimal::kMaxScale + kKeptDigits + 2)) return {0, 0};
    if (exponent > Decimal::kMaxDigits) ThrowOverflow();
    return RoundToFit(negative, digits, static_cast<int>(-exponent), sticky);
}

}  // namespace

std::size_t NumberPrefixLength(std::string_view text) {
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
    std::size_t digits = 0;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos)
        ++digits;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        for (; pos < text.size() && IsDigit(text[pos]); ++pos)
            ++digits;
    }
    if (digits == 0) return 0;
    const std::size_t mantissaEnd = pos;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        ++pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
        const std::size_t exponentStart = pos;
        while (pos < text.size() && IsDigit(text[pos]))
            ++pos;
        if (pos == exponentStart) return mantissaEnd;
    }
    return pos;
}

Decimal::Decimal(std::int64_t whole) : m_mantissa(whole), m_scale(0) {}

std::optional<Decimal> Decimal::Parse(std::string_view text) {
    text = TrimView(text);
    if (text.empty() || NumberPrefixLength(text) != text.size()) return std::nullopt;
    const Rounded r = ParseNumber(text);
    return Decimal(r.mantissa, r.scale);
}

Decimal Decimal::FromDouble(double value) {
    if (!std::isfinite(value)) ThrowOverflow();
    // 15 significant digits: the digits a double holds reliably, and what the host shows.
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, 14);
    const Rounded r = ParseNumber(std::string_view(buffer.data(), result.ptr - buffer.data()));
    return Decimal(r.mantissa, r.scale);
}

std::string Decimal::ToString() const {
    std::string digits;
    for (UInt128 rest = Magnitude(m_mantissa); rest != 0; rest /= 10) {
        digits.push_back(static_cast<char>('0' + static_cast<int>(rest % 10)));
    }
    const auto scale = static_cast<std::size_t>(m_scale);
    if (digits.size() <= scale) digits.append(scale - digits.size() + 1, '0');
    std::reverse(digits.begin(), digits.end());
    if (scale > 0) digits.insert(digits.end() - static_cast<std::ptrdiff_t>(scale), '.');
    if (m_mantissa < 0) digits.insert(digits.begin(), '-');
    return digits;
}

double Decimal::ToDouble() const {
    const std::string text = ToString();
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

Decimal Decimal::Round(int places) const {
    if (places < 0) throw std::invalid_argument("Decimal::Round: negative number of places");
    if (places >= m_scale) return *this;
    const Rounded r =
        RoundToFit(m_mantissa < 0, Wide(Magnitude(m_mantissa)), m_scale, false, places);
    return Decimal(r.mantissa, r.scale);
}

std::int64_t Decimal::ToInt64() const {
    const Decimal whole = Round(0);
    if (whole.m_mantissa < std::numeric_limits<std::int64_t>::min() ||
        whole.m_mantissa > std::numeric_limits<std::int64_t>::max()) {
        ThrowOverflow();
    }
    return static_cast<std::int64_t>(whole.m_mantissa);
}

Decimal Decimal::operator-() const {
    return Decimal(-m_mantissa, m_scale);
}

Decimal operator+(const Decimal& a, const Decimal& b) {
    const int scale = std::max(a.m_scale, b.m_scale);
    Wide x = Aligned(a.m_mantissa, a.m_scale, scale);
    const Wide y = Aligned(b.m_mantissa, b.m_scale, scale);
    bool negative = a.m_mantissa < 0;
    if ((a.m_mantissa < 0) == (b.m_mantissa < 0)) {
        x += y;
    } else if (x >= y) {
        x -= y;
    } else {
        Wide difference = y;
        difference -= x;
        x = difference;
        negative = b.m_mantissa < 0;
    }
    const Rounded r = RoundToFit(negative, x, scale, false);
    return Decimal(r.mantissa, r.scale);
}

Decimal operator-(const Decimal& a, const Decimal& b) {
    return a + -b;
}

Decimal operator*(const Decimal& a, const Decimal& b) {
    const bool negative = (a.m_mantissa < 0) != (b.m_mantissa < 0);
    const Wide product = Wide::Product(Magnitude(a.m_mantissa), Magnitude(b.m_mantissa));
    const Rounded r = RoundToFit(negative, product, a.m_scale + b.m_scale, false);
    return Decimal(r.mantissa, r.scale);
}

Decimal operator/(const Decimal& a, const Decimal& b) {
    if (b.IsZero()) throw std::domain_error("Decimal division by zero");
    const bool negative = (a.m_mantissa < 0) != (b.m_mantissa < 0);
    const UInt128 divisor = Magnitude(b.m_mantissa);
    UInt128 quotient = Magnitude(a.m_mantissa) / divisor;
    UInt128 remainder = Magnitude(a.m_mantissa) % divisor;
    // Long division, one digit at a time, until the quotient has a digit beyond what can be
    // kept; the remainder then only decides how that digit rounds.
    int scale = a.m_scale - b.m_scale;
    while (remainder != 0 && quotient < kMantissaLimit && scale <= Decimal::kMaxScale) {
        remainder *= 10;
        quotient = quotient * 10 + remainder / divisor;
        remainder %= divisor;
        ++scale;
    }
    const Rounded r = RoundToFit(negative, Wide(quotient), scale, remainder != 0);
    return Decimal(r.mantissa, r.scale);
}

bool operator==(const Decimal& a, const Decimal& b) {
    return (a <=> b) == 0;
}

std::strong_ordering operator<=>(const Decimal& a, const Decimal& b) {
    const auto sign = [](const Decimal& d) { return d.m_mantissa < 0 ? -1 : d.IsZero() ? 0 : 1; };
    if (sign(a) != sign(b) || sign(a) == 0) return sign(a) <=> sign(b);
    const int scale = std::max(a.m_scale, b.m_scale);
    const auto magnitudes =
        Aligned(a.m_mantissa, a.m_scale, scale) <=> Aligned(b.m_mantissa, b.m_scale, scale);
    return sign(a) > 0 ? magnitudes : 0 <=> magnitudes;
}

}  // namespace velaqm

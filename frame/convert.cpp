#include "frame/convert.h"
#include "frame/text_util.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

#include "frame/host_error.h"

namespace velaqm {

namespace {

// Beyond these decimal exponents a double reads in exponent form ("1.5E+30"); inside them every
// value the Decimal type can hold reads positionally, the way the host shows amounts.
constexpr int kPositionalMinExponent = -Decimal::kMaxScale;
constexpr int kPositionalMaxExponent = Decimal::kMaxDigits - 1;

constexpr double kSecondsPerDay = 24 * 60 * 60;

[[noreturn]] void ThrowOverflow() {
    throw HostError(kErrOverflow, "", "Overflow");
}
[[noreturn]] void ThrowTypeMismatch() {
    throw HostError(kErrTypeMismatch, "", "Type mismatch");
}

// The number text at the start of text after leading blanks; empty when there is none.
std::string_view LeadingNumberText(std::string_view text) {
    text = TrimView(text);
    return text.substr(0, NumberPrefixLength(text));
}

// Rough decimal exponent of a number text: enough to tell a value beyond double's range from
// one below it.
long long OrderOfMagnitude(std::string_view number) {
    long long order = 0;
    bool significant = false;
    bool afterPoint = false;
    std::size_t pos = 0;
    for (; pos < number.size() && number[pos] != 'e' && number[pos] != 'E'; ++pos) {
        const char c = number[pos];
        if (c == '.') {
            afterPoint = true;
        } else if (c >= '1' && c <= '9' && !significant) {
            significant = true;
            if (!afterPoint) ++order;
        } else if (c >= '0' && c <= '9') {
            if (significant && !afterPoint) ++order;
            if (!significant && afterPoint) --order;
        }
    }
    if (!significant) return 0;
    long long exponent = 0;
    bool negative = false;
    for (++pos; pos < number.size(); ++pos) {
        if (number[pos] == '-') negative = true;
        if (number[pos] >= '0' && number[pos] <= '9')
            exponent = std::min(exponent * 10 + (number[pos] - '0'), 1'000'000LL);
    }
    return order + (negative ? -exponent : exponent);
}

// A complete number text as a double; nullopt when it is too large for one. Values too small
// for a double read as zero.
std::optional<double> ParseDouble(std::string_view number) {
    const bool negative = !number.empty() && number.front() == '-';
    if (!number.empty() && (number.front() == '+' || number.front() == '-'))
        number.remove_prefix(1);
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (OrderOfMagnitude(number) > 0) return std::nullopt;
        value = 0;
    }
    return negative ? -value : value;
}

// The host's date number: days since 1899-12-30, the time as a fraction that always points away
// from that day (so 1899-12-29 06:00 is -1.25).
double DateNumber(const Date& date) {
    static const Date kDayZero(1899, 12, 30);
    const double days = kDayZero.DaysUntil(date);
    const double fraction =
        (date.Hour() * 3600 + date.Minute() * 60 + date.Second()) / kSecondsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

double RoundHalfEven(double value) {
    const double magnitude = std::fabs(value);
    const double whole = std::floor(magnitude);
    const double fraction = magnitude - whole;  // exact for any non-negative double
    double rounded = whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0)) rounded = whole + 1;
    return std::copysign(rounded, value);
}

template <class F>
auto OverflowAsHostError(F f) {
    try {
        return f();
    } catch (const std::overflow_error&) {
        ThrowOverflow();
    }
}

Decimal DecimalOfText(std::string_view text) {
    const std::string_view number = LeadingNumberText(text);
    if (number.empty()) return Decimal();
    return OverflowAsHostError([&] { return *Decimal::Parse(number); });
}

}  // namespace

double NumberValue(const Variant& value) {
    switch (value.Type()) {
        case VarType::Empty:
        case VarType::Null:
            return 0;
        case VarType::Boolean:
            return value.AsBool() ? -1 : 0;
        case VarType::Long:
            return value.AsLong();
        case VarType::Double:
            return value.AsDouble();
        case VarType::Decimal:
            return value.AsDecimal().ToDouble();
        case VarType::String:
            return LeadingNumber(value.AsString());
        case VarType::Date:
            return DateNumber(value.AsDate());
        case VarType::Object:
            break;
    }
    ThrowTypeMismatch();
}

std::int64_t WholeNumber(const Variant& value) {
    // Decimals and text round exactly; going through a double could turn 2.5000000000000001
    // into an exact half.
    if (value.Type() == VarType::Decimal || value.Type() == VarType::String) {
        const Decimal exact = ToDecimal(value);
        return OverflowAsHostError([&] { return exact.ToInt64(); });
    }
    const double rounded = RoundHalfEven(NumberValue(value));
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    if (!(rounded >= -kLimit && rounded < kLimit)) ThrowOverflow();
    return static_cast<std::int64_t>(rounded);
}

std::int32_t LongNumber(const Variant& value) {
    const std::int64_t number = WholeNumber(value);
    if (!std::in_range<std::int32_t>(number)) ThrowOverflow();
    return static_cast<std::int32_t>(number);
}

std::size_t IndexNumber(const Variant& value) {
    const std::int64_t number = WholeNumber(value);
    return std::in_range<std::size_t>(number) ? static_cast<std::size_t>(number)
                                              : std::numeric_limits<std::size_t>::max();
}

bool IsNumeric(const Variant& value) {
    if (value.IsNumber()) return true;
    if (!value.IsString()) return false;
    const std::string_view text = TrimView(value.AsString());
    return !text.empty() && NumberPrefixLength(text) == text.size() &&
           ParseDouble(text).has_value();
}

std::string Text(const Variant& value) {
    switch (value.Type()) {
        case VarType::Boolean:
            return value.AsBool() ? "True" : "False";
        case VarType::Long:
            return std::to_string(value.AsLong());
        case VarType::Double:
            return FormatDouble(value.AsDouble());
        case VarType::Decimal:
            return value.AsDecimal().ToString();
        case VarType::String:
            return value.AsString();
        case VarType::Date:
            return value.AsDate().ToString();
        case VarType::Empty:
        case VarType::Null:
        case VarType::Object:
            break;
    }
    return "";
}

std::optional<Date> ToDate(const Variant& value) {
    if (value.Type() == VarType::Date) return value.AsDate();
    if (value.IsString()) return Date::Parse(value.AsString());
    return std::nullopt;
}

Decimal ToDecimal(const Variant& value) {
    switch (value.Type()) {
        case VarType::Empty:
        case VarType::Null:
            return Decimal();
        case VarType::Boolean:
            return Decimal(value.AsBool() ? -1 : 0);
        case VarType::Long:
            return Decimal(value.AsLong());
        case VarType::Double:
            return OverflowAsHostError([&] { return Decimal::FromDouble(value.AsDouble()); });
        case VarType::Decimal:
            return value.AsDecimal();
        case VarType::String:
            return DecimalOfText(value.AsString());
        case VarType::Date:
            return Decimal::FromDouble(DateNumber(value.AsDate()));
        case VarType::Object:
            break;
    }
    ThrowTypeMismatch();
}

bool Truth(const Variant& value) {
    if (value.Type() == VarType::Decimal) return !value.AsDecimal().IsZero();
    return NumberValue(value) != 0;
}

double LeadingNumber(std::string_view text) {
    const std::string_view number = LeadingNumberText(text);
    if (number.empty()) return 0;
    const std::optional<double> parsed = ParseDouble(number);
    if (!parsed) ThrowOverflow();
    return *parsed;
}

std::string FormatDouble(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";

    // "d.dddddddddddddde±x": the 15 significant digits the host shows.
    std::array<char, 40> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, 14);
    const std::string_view scientific(buffer.data(), result.ptr - buffer.data());
    const bool negative = scientific.front() == '-';
    const std::size_t ePos = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(negative ? 1 : 0, ePos - (negative ? 1 : 0))) {
        if (c != '.') digits.push_back(c);
    }
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    if (digits == "0") return "0";
    int exponent = 0;
    std::string_view exponentText = scientific.substr(ePos + 1);
    if (exponentText.front() == '+') exponentText.remove_prefix(1);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

    std::string text = negative ? "-" : "";
    if (exponent < kPositionalMinExponent || exponent > kPositionalMaxExponent) {
        text += digits.front();
        if (digits.size() > 1) text.append(".").append(digits, 1);
        text += exponent < 0 ? "E-" : "E+";
        text += std::to_string(std::abs(exponent));
    } else if (exponent < 0) {
        text.append("0.").append(static_cast<std::size_t>(-exponent - 1), '0').append(digits);
    } else {
        const auto wholeDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= wholeDigits) {
            text += digits + std::string(wholeDigits - digits.size(), '0');
        } else {
            text += digits.substr(0, wholeDigits) + "." + digits.substr(wholeDigits);
        }
    }
    return text;
}

}  // namespace velaqm

// Every conversion of a Variant that the plug-ins rely on, with the host's meanings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "frame/variant.h"

namespace velaqm {

// Empty, Null and "" are 0; text is read by its leading number ("12abc" is 12, "abc" is 0);
// True is -1; a date is its day count from 1899-12-30 (with the time as a fraction). Throws
// HostError 13 ("Type mismatch") for an object and HostError 6 ("Overflow") for text beyond
// a double ("1e999").
double NumberValue(const Variant& value);

// The number value rounded half to even; throws HostError 6 ("Overflow") outside 64 bits.
// Decimals and text are rounded exactly, not through a double.
std::int64_t WholeNumber(const Variant& value);

// The whole number as a Long (32 bits); HostError 6 ("Overflow") beyond it.
std::int32_t LongNumber(const Variant& value);

// The whole number as a position or a count. One that std::size_t cannot hold (a negative one,
// or one past 2^32 - 1 in a 32-bit build) becomes SIZE_MAX, which no collection reaches, so the
// caller's range check refuses it rather than a wrapped value naming another item.
std::size_t IndexNumber(const Variant& value);

// Text that is one complete number within a double's range (blanks around allowed), or a
// Boolean, Long, Double or Decimal; never Empty, Null, a date or an object.
bool IsNumeric(const Variant& value);

// Numbers with at most 15 significant digits, no trailing zeros, "." as decimal point;
// dates "YYYY-MM-DD" (plus " HH:MM:SS" when the time is not midnight); Null and Empty read "";
// True "True" and False "False"; an object "" .
std::string Text(const Variant& value);

// A date from a Date value or from "YYYY-MM-DD", "YYYY/MM/DD", "YYYY-M-D" text with an optional
// time; nullopt for anything else.
std::optional<Date> ToDate(const Variant& value);

// Exact decimal: numbers and numeric text exactly; a Double through its 15-digit text;
// Empty, Null and "" are 0; other text is read by its leading number. Throws HostError 6
// ("Overflow") beyond 28 digits and HostError 13 ("Type mismatch") for an object.
Decimal ToDecimal(const Variant& value);

// A non-zero number value (so the text "True" is false: its number value is 0).
bool Truth(const Variant& value);

// The leading number of a text ("12abc" is 12, " -1.5e2x" is -150, "abc" is 0); throws
// HostError 6 ("Overflow") beyond a double.
double LeadingNumber(std::string_view text);

// A double as text with at most 15 significant digits, no trailing zeros. Magnitudes the
// Decimal type covers (decimal exponent -28..27) are written out ("100000000000000000000",
// "0.00000015"); beyond them the host's exponent form ("1.5E+30", "2E-29"). Infinities and NaN
// read "Infinity", "-Infinity" and "NaN".
std::string FormatDouble(double value);

}  // namespace velaqm

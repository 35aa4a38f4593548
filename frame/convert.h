// Every conversion of a Variant that the plug-ins rely on, with the host's meanings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "frame/variant.h"

namespace velaqm {

// Empty, Null and "" are 0; text is read by its leading number ("12abc" is 12, "abc" is 0);
// True is -1; a date is its day count from 1899-12-30 (with the time as a fraction).
double NumberValue(const Variant& value);

// The number value rounded half to even; throws HostError 6 ("Overflow") outside 64 bits.
std::int64_t WholeNumber(const Variant& value);

// Text that is one complete number (blanks around allowed), or a number; never Empty or Null.
bool IsNumeric(const Variant& value);

// Numbers with at most 15 significant digits, no trailing zeros, "." as decimal point;
// dates "YYYY-MM-DD" (plus " HH:MM:SS" when the time is not midnight); Null and Empty read "";
// True "True" and False "False"; an object "" .
std::string Text(const Variant& value);

// A date from a Date value or from "YYYY-MM-DD", "YYYY/MM/DD", "YYYY-M-D" text with an optional
// time; nullopt for anything else.
std::optional<Date> ToDate(const Variant& value);

// Exact decimal: numbers and numeric text exactly; a Double through its 15-digit text;
// Empty, Null and "" are 0; other text is read by its leading number.
Decimal ToDecimal(const Variant& value);

// A non-zero number value.
bool Truth(const Variant& value);

// The leading number of a text ("12abc" is 12, " -1.5e2x" is -150, "abc" is 0).
double LeadingNumber(std::string_view text);

// A double as text with at most 15 significant digits, no trailing zeros.
std::string FormatDouble(double value);

}  // namespace velaqm

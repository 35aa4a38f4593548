// The one way values enter SQL text. Text becomes a quoted literal with its single quotes
// doubled, numbers are written from a parsed number, dates as quoted ISO text, and names taken
// from the catalog (tables, columns) must be plain identifiers. Raw input is never spliced.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "frame/date.h"
#include "frame/variant.h"

namespace velaqm {

// 'O''Brien'
std::string SqlText(std::string_view text);
// The number value of the value, as a number literal ("12abc" is 12, "" is 0).
std::string SqlNumber(const Variant& value);
// The whole number of the value (rounded half to even).
std::string SqlWhole(const Variant& value);
// '2009-09-30 08:00:00'
std::string SqlDate(const Date& date);
// A table or column name from the catalog; throws HostError when it is not a plain identifier
// (letters, digits, "_", "#", "." between parts).
std::string SqlName(std::string_view name);

// SQL text from a template: each place-holder %1 to %9 becomes the value of that number, which
// one of the functions above has made. Any other "%" stays as it is.
std::string SqlFormat(std::string_view sqlTemplate, std::initializer_list<std::string_view> values);

}  // namespace velaqm

// Readable values in test failure messages instead of gtest's byte dumps.
#pragma once

#include <ostream>

#include "frame/convert.h"
#include "frame/date.h"
#include "frame/decimal.h"
#include "frame/variant.h"

namespace velaqm {

inline void PrintTo(const Decimal& value, std::ostream* out) {
    *out << value.ToString();
}

inline void PrintTo(const Date& value, std::ostream* out) {
    *out << value.ToStorageString();
}

inline void PrintTo(const Variant& value, std::ostream* out) {
    static const char* const kKinds[] = {"Empty",   "Null",   "Boolean", "Long",  "Double",
                                         "Decimal", "String", "Date",    "Object"};
    *out << kKinds[static_cast<int>(value.Type())] << " " << Text(value);
}

}  // namespace velaqm

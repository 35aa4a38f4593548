#include "frame/sql_text.h"

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/text_util.h"

namespace velaqm {

std::string SqlText(std::string_view text) {
    // A char, not a literal: GCC 12 -O3 warns falsely (-Wrestrict) on "x" + string&&.
    return '\'' + ReplaceAll(std::string(text), "'", "''") + '\'';
}

std::string SqlNumber(const Variant& value) {
    // Text of the parsed number: never the caller's characters.
    return ToDecimal(Variant(NumberValue(value))).ToString();
}

std::string SqlWhole(const Variant& value) {
    return std::to_string(WholeNumber(value));
}

std::string SqlDate(const Date& date) {
    // A char, not a literal: GCC 12 -O3 warns falsely (-Wrestrict) on "x" + string&&.
    return '\'' + date.ToStorageString() + '\'';
}

std::string SqlName(std::string_view name) {
    bool partStart = true;
    for (char c : name) {
        const bool letter =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '#';
        const bool digit = c >= '0' && c <= '9';
        if (c == '.' && !partStart) {
            partStart = true;
        } else if (letter || (digit && !partStart)) {
            partStart = false;
        } else {
            throw HostError(kErrInvalidCall, "VelaQMBillEvent",
                            "Not a table or column name: " + std::string(name));
        }
    }
    if (partStart)
        throw HostError(kErrInvalidCall, "VelaQMBillEvent",
                        "Not a table or column name: " + std::string(name));
    return std::string(name);
}

}  // namespace velaqm

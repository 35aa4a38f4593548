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

std::string SqlFormat(std::string_view sqlTemplate,
                      std::initializer_list<std::string_view> values) {
    std::string sql;
    sql.reserve(sqlTemplate.size());
    for (std::size_t i = 0; i < sqlTemplate.size(); ++i) {
        const char c = sqlTemplate[i];
        const bool placeHolder = c == '%' && i + 1 < sqlTemplate.size() &&
                                 sqlTemplate[i + 1] >= '1' && sqlTemplate[i + 1] <= '9';
        if (!placeHolder) {
            sql += c;
            continue;
        }
        const auto index = static_cast<std::size_t>(sqlTemplate[++i] - '1');
        if (index >= values.size())
            throw HostError(kErrInvalidCall, "VelaQMBillEvent",
                            "The SQL template has no value for %" + std::to_string(index + 1));
        sql += values.begin()[index];
    }
    return sql;
}

}  // namespace velaqm

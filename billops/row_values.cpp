#include "billops/row_values.h"

#include <set>

#include "billops/bill_values.h"
#include "frame/convert.h"

namespace velaqm {

std::vector<std::string> ColumnValues(BillEvent& bill, std::string_view key) {
    const BillValues values(bill);
    std::vector<std::string> column;
    for (int row = 1; row <= values.EntryRows(); ++row)
        column.push_back(Text(values.Entry(key, row)));
    return column;
}

std::optional<int> OtherRowHolding(std::span<const std::string> values, int row,
                                   std::string_view value) {
    if (value.empty()) return std::nullopt;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int other = static_cast<int>(i) + 1;
        if (other != row && values[i] == value) return other;
    }
    return std::nullopt;
}

bool HasRepeatedValue(std::span<const std::string> values) {
    std::set<std::string_view> seen;
    for (const std::string& value : values)
        if (!value.empty() && !seen.insert(value).second) return true;
    return false;
}

}  // namespace velaqm

// One entry column's values compared across rows: the rules of the bills whose rows each name a
// thing once (an evaluation item, a grade product, a supplier). Values compare as text, exactly.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "frame/host_bill.h"

namespace velaqm {

// The value ("FFLD", as text) of the column in every entry row, row 1 first.
std::vector<std::string> ColumnValues(BillEvent& bill, std::string_view key);

// The first row (counted from 1) other than `row` that holds `value`; none for an empty value.
std::optional<int> OtherRowHolding(std::span<const std::string> values, int row,
                                   std::string_view value);

// Whether two rows hold the same value, empty values aside.
bool HasRepeatedValue(std::span<const std::string> values);

}  // namespace velaqm

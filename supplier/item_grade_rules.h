// The rules of the item grade bill over plain values: a grade product is neither the main item
// nor entered twice, a grade occurs once among the main item and its rows, and every grade
// product's unit lies in the main item's unit group.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velaqm {

// Why a grade product typed into a row is refused.
enum class ProductRefusal { kNone, kMainItem, kRepeated };

// The product of `row` (rows counted from 1) against the main item and the other rows, all
// compared as text. A main item of "" or "0" is not set; an empty product is not checked.
ProductRefusal GradeProductRefusal(std::string_view mainItem, std::span<const std::string> products,
                                   int row);

// True when the grade typed into `row` (0 for the main item's own grade) is already given: a
// row's grade by the main item or another row, the main item's grade by any row. A grade that is
// empty after trimming is never refused.
bool GradeRepeated(std::string_view grade, std::string_view mainGrade,
                   std::span<const std::string> rowGrades, int row);

// The first row (from 1) whose product is the main item; 0 when none or the main item is not set.
int FirstRowNamingMainItem(std::string_view mainItem, std::span<const std::string> products);

// The rows (from 1) whose unit is set (not 0) and not one of the units of the group.
std::vector<int> RowsOutsideUnitGroup(std::span<const std::int64_t> units,
                                      std::span<const std::int64_t> group);

}  // namespace velaqm

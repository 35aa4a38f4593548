#include "supplier/item_grade_rules.h"

#include <algorithm>

#include "billops/row_values.h"
#include "frame/text_util.h"

namespace velaqm {

namespace {
bool MainItemSet(std::string_view mainItem) {
    return !mainItem.empty() && mainItem != "0";
}
}  // namespace

ProductRefusal GradeProductRefusal(std::string_view mainItem, std::span<const std::string> products,
                                   int row) {
    if (row < 1 || row > static_cast<int>(products.size())) return ProductRefusal::kNone;
    const std::string& product = products[row - 1];
    if (product.empty()) return ProductRefusal::kNone;
    if (MainItemSet(mainItem) && product == mainItem) return ProductRefusal::kMainItem;
    if (OtherRowHolding(products, row, product)) return ProductRefusal::kRepeated;
    return ProductRefusal::kNone;
}

bool GradeRepeated(std::string_view grade, std::string_view mainGrade,
                   std::span<const std::string> rowGrades, int row) {
    if (Trim(grade).empty()) return false;
    if (row != 0 && grade == mainGrade) return true;
    return OtherRowHolding(rowGrades, row, grade).has_value();
}

int FirstRowNamingMainItem(std::string_view mainItem, std::span<const std::string> products) {
    if (!MainItemSet(mainItem)) return 0;
    const auto found = std::find(products.begin(), products.end(), mainItem);
    return found == products.end() ? 0 : static_cast<int>(found - products.begin()) + 1;
}

std::vector<int> RowsOutsideUnitGroup(std::span<const std::int64_t> units,
                                      std::span<const std::int64_t> group) {
    std::vector<int> rows;
    for (std::size_t i = 0; i < units.size(); ++i)
        if (units[i] != 0 && std::find(group.begin(), group.end(), units[i]) == group.end())
            rows.push_back(static_cast<int>(i) + 1);
    return rows;
}

}  // namespace velaqm

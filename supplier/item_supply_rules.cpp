#include "supplier/item_supply_rules.h"

#include "frame/convert.h"
#include "frame/decimal.h"

namespace velaqm {

namespace {
const Decimal kWholeShare{100};
}  // namespace

std::optional<std::string_view> OrderShareRefusal(std::span<const Variant> shares) {
    Decimal total;
    for (const Variant& share : shares)
        total += ToDecimal(share);
    if (total < kWholeShare) return "订货比例之和不能小于100";
    if (total > kWholeShare) return "订货比例之和不能大于100";
    return std::nullopt;
}

bool SupplierRepeated(std::span<const std::string> suppliers, int row) {
    if (row < 1 || row > static_cast<int>(suppliers.size())) return false;
    const std::string& supplier = suppliers[row - 1];
    if (supplier.empty()) return false;
    for (int other = 1; other <= static_cast<int>(suppliers.size()); ++other)
        if (other != row && suppliers[other - 1] == supplier) return true;
    return false;
}

bool NeedsNoScheme(const Variant& checkMode) {
    return NumberValue(checkMode) == kNoInspectionMode;
}

std::optional<Variant> SchemeToCheck(const Variant& scheme) {
    if (Text(scheme).empty() || NumberValue(scheme) == 0) return std::nullopt;
    return Variant(WholeNumber(scheme));
}

}  // namespace velaqm

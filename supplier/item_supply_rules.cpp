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

bool NeedsNoScheme(const Variant& checkMode) {
    return NumberValue(checkMode) == kNoInspectionMode;
}

std::optional<Variant> SchemeToCheck(const Variant& scheme) {
    if (Text(scheme).empty() || NumberValue(scheme) == 0) return std::nullopt;
    return Variant(WholeNumber(scheme));
}

}  // namespace velaqm

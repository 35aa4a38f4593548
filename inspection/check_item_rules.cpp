#include "inspection/check_item_rules.h"

#include "billops/entry_rows.h"
#include "frame/convert.h"

namespace velaqm {

std::optional<std::int16_t> QtyDecimalOf(const Variant& analysisMethod) {
    if (!IsNumeric(analysisMethod)) return std::nullopt;
    return NumberValue(analysisMethod) == kQuantitativeAnalysis ? 2 : 0;
}

std::vector<DialogItem> ItemDialogData(const CheckItemFacts& item) {
    return {
        {"FParentNumber", Variant(item.parentNumber)},
        {"FGroupNumber", Variant(item.number)},
        {"FItemID", Variant(item.id)},
        {"FName", Variant(item.name)},
    };
}

}  // namespace velaqm

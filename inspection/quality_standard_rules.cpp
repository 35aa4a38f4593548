#include "inspection/quality_standard_rules.h"

#include "frame/convert.h"
#include "frame/host_bill.h"
#include "frame/sql_text.h"
#include "frame/text_util.h"

namespace velaqm {

std::vector<CellText> TargetCells(double target) {
    if (target == 0) return {};
    const std::string limit = Text(Variant(target));
    return {{"FUpperLimitQty", limit}, {"FLowerLimitQty", limit}, {"FUpperLimit", limit},
            {"FLowerLimit", limit},    {"FLowerTolerance", "0"},  {"FUpperTolerance", "0"}};
}

ChangeRule ChangeRuleOf(std::string_view fieldKey) {
    if (IsSchemeField(fieldKey)) return ChangeRule::kSchemeCheck;
    if (EqualsNoCase(fieldKey, "FQCItemID")) return ChangeRule::kRowRule;
    if (EqualsNoCase(fieldKey, "FTargetQty")) return ChangeRule::kTargetRule;
    return ChangeRule::kNone;
}

bool IsSchemeField(std::string_view fieldKey) {
    return EqualsNoCase(fieldKey, "FQCSchemeNo");
}

std::optional<std::string> SchemeNumberToCheck(std::string_view typed) {
    std::string number = Trim(typed);
    if (number.empty()) return std::nullopt;
    return number;
}

std::string SchemeFilter(std::string_view number) {
    return "FBillNo = " + SqlText(number);
}

LoadState LoadStateOf(int billStatus, bool mutexSuccess, double checker) {
    return {.lockSchemeField = billStatus == bill_status::kEdit,
            .refreshDisplay = !mutexSuccess || checker > 0,
            .hideAuditTools = billStatus == bill_status::kView || !mutexSuccess};
}

bool OffersSchemeLookUp(bool mutexSuccess, double checker) {
    return mutexSuccess && checker == 0;
}

}  // namespace velaqm

#include "billops/audit_state.h"

#include <algorithm>
#include <array>

#include "billops/bill_tools.h"

namespace velaqm {

namespace {

// The bills whose source-bill selection goes away with the row tools.
constexpr std::array kClassesWithSelectBill = {1001907, 1001905, 1001902, 1001911};

bool HasSelectBillTool(int classTypeId) {
    return std::find(kClassesWithSelectBill.begin(), kClassesWithSelectBill.end(), classTypeId) !=
           kClassesWithSelectBill.end();
}

void SetBoth(ToolSettings& settings, std::string_view property, bool value) {
    settings.push_back({tool::kUnCheck, property, value});
    settings.push_back({tool::kCheck, property, value});
}

}  // namespace

bool IsAudited(double checker) {
    return checker > 0;
}

bool IsReadOnly(const BillFacts& bill) {
    return IsAudited(bill.checker) || !bill.heldHere;
}

bool FieldsLocked(const BillFacts& bill) {
    return IsReadOnly(bill) || bill.billStatus == bill_status::kView;
}

bool OffersAuditTools(const BillFacts& bill) {
    return bill.heldHere && bill.mode != bill_mode::kNone;
}

ToolSettings AuditMenuState(const BillFacts& bill, bool keepRowTools) {
    ToolSettings settings;
    if (bill.multiCheckRunning && bill.billStatus != bill_status::kView)
        SetBoth(settings, kVisible, false);
    SetBoth(settings, kEnabled,
            bill.billStatus != bill_status::kView && bill.billStatus != bill_status::kNew);
    if (!keepRowTools) {
        settings.push_back({tool::kAddRow, kVisible, false});
        settings.push_back({tool::kDelRow, kVisible, false});
    }
    if (!IsReadOnly(bill)) return settings;
    for (std::string_view key : tool::kRowTools)
        settings.push_back({key, kVisible, false});
    settings.push_back({tool::kFileSave, kEnabled, false});
    settings.push_back({tool::kDataLookUp, kEnabled, false});
    if (HasSelectBillTool(bill.classTypeId))
        settings.push_back({tool::kSelectBill, kVisible, false});
    if (!bill.heldHere) SetBoth(settings, kEnabled, false);
    return settings;
}

}  // namespace velaqm

// The audit rules of a shown bill, as pure decisions over what the plug-in read of it: whether
// it is audited, whether it may be edited, and which tools its audit state leaves. The plug-ins
// read the facts (billops/audit_tools.h) and apply the answers.
#pragma once

#include <string_view>
#include <vector>

#include "frame/host_bill.h"

namespace velaqm {

// What the rules know of a shown bill.
struct BillFacts {
    int classTypeId = 0;
    int billStatus = bill_status::kView;
    int mode = bill_mode::kNone;
    bool heldHere = true;  // BillCtl.MutexSuccess: this client holds the bill's edit lock
    double checker = 0;    // FCheckerID, the auditor's user ID, as a number (0 when empty)
    bool multiCheckRunning = false;  // a multi-level audit runs on the bill
};

// A bill is audited while its checker is set (a user ID, 1 or more).
bool IsAudited(double checker);
// The bill may not be edited here: it is audited, or another user holds it.
bool IsReadOnly(const BillFacts& bill);
// The fields stay locked on a read-only bill and on a bill opened for viewing.
bool FieldsLocked(const BillFacts& bill);
// The audit tools are offered only to the user who holds the bill, on a new or existing bill
// being worked on.
bool OffersAuditTools(const BillFacts& bill);

// One setting of a toolbar tool through SetBarStatus.
struct ToolSetting {
    std::string_view key;
    std::string_view property;  // kVisible or kEnabled
    bool value = false;

    friend bool operator==(const ToolSetting&, const ToolSetting&) = default;
};
using ToolSettings = std::vector<ToolSetting>;

// The toolbar after a bill is loaded or created, in this order: the audit tools hidden while a
// multi-level audit runs; the audit tools enabled only for a bill being worked on; the row tools
// hidden unless kept; and on a read-only bill no row, save or lookup tools, no source selection
// for the bills that have one, and no audit tools for a bill another user holds.
ToolSettings AuditMenuState(const BillFacts& bill, bool keepRowTools);

}  // namespace velaqm

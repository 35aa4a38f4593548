// The bill toolbar and locks of the audit state, shared by the bill and list plug-ins: the audit
// tools, the toolbar after a load, the whole-bill field lock and the checker lock. The rules
// themselves are in billops/audit_state.h; these read the bill and apply them.
#pragma once

#include <string_view>

#include "billops/audit_state.h"
#include "billops/bill_tools.h"
#include "frame/host_bill.h"
#include "frame/host_toolbar.h"

namespace velaqm {

// Bill toolbar initialisation: shows the un-audit and audit tools.
void ShowAuditTools(const ActiveBarPtr& oActiveBar);

// What the audit rules need of the shown bill.
BillFacts ReadBillFacts(BillEvent& bill);

// Each setting through SetBarStatus, in order.
void ApplyToolSettings(BillEvent& bill, const ToolSettings& settings);

// The toolbar state after a bill is loaded or created (AuditMenuState).
void SetAuditMenuState(BillEvent& bill, bool& keepRowTools);

// The audit tools are shown only to the user who holds the bill, on a bill being worked on, and
// hidden otherwise.
void ShowAuditToolsToEditor(BillEvent& bill, const BillFacts& facts);

// Locks or unlocks every field of the bill.
void LockBillFields(BillEvent& bill, bool locked);

// The checker lock rule: the bill's lock switch is on while the checker, read by key, says the
// bill is audited.
void ApplyCheckerLock(BillEvent& bill);

// Copies the audit tools of the source toolbar into a list toolbar.
void AddAuditToolsToListBar(ActiveBar& listBar, ActiveBar& sourceBar);

// Inserts the tool into the toolbar and into the band at the 0-based position, with its picture;
// each step that fails is skipped.
void InsertToolIntoBand(ActiveBar& bar, std::string_view bandName, const ToolPtr& tool,
                        int position);

}  // namespace velaqm

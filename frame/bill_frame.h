// The toolbar frame shared by the bill and list plug-ins: the audit tools, the state of the
// bill toolbar after a load, the whole-bill field lock and the checker lock.
#pragma once

#include <string_view>

#include "frame/host_bill.h"
#include "frame/host_toolbar.h"

namespace velaqm {

namespace tool {
inline constexpr std::string_view kCheck = "mnuEditCheck";
inline constexpr std::string_view kUnCheck = "mnuEditUnCheck";
inline constexpr std::string_view kAddRow = "mnuEditAddRow";
inline constexpr std::string_view kDelRow = "mnuEditDelRow";
inline constexpr std::string_view kDelEntry = "mnuEditDelEntry";
inline constexpr std::string_view kCopyRow = "mnuCopyRow";
inline constexpr std::string_view kBatchFillField = "mnuBatchFillField";
inline constexpr std::string_view kFileSave = "mnuFileSave";
inline constexpr std::string_view kDataLookUp = "mnuDataLookUp";
inline constexpr std::string_view kSelectBill = "mnuSelectBill";
}  // namespace tool

// Bill toolbar initialisation: shows the un-audit and audit tools.
void ShowAuditTools(const ActiveBarPtr& oActiveBar);

// The toolbar state after a bill is loaded or created: audit tools by multi-level audit and
// bill status, row tools by the flag, and the row, save and lookup tools of an audited bill or
// of a bill another user holds.
void SetAuditMenuState(BillEvent& bill, bool& keepRowTools);

// Locks or unlocks every field of the bill.
void LockBillFields(BillEvent& bill, bool locked);

// The checker lock rule: the bill is locked while its checker is set (1 or more).
void ApplyCheckerLock(BillEvent& bill);

// The checker of the shown bill, read from the head field "FCheckerID" (0 when empty).
double CheckerValue(BillEvent& bill);

// Copies the audit tools of the source toolbar into a list toolbar.
void AddAuditToolsToListBar(ActiveBar& listBar, ActiveBar& sourceBar);

// Inserts the tool into the toolbar and into the band at the 0-based position, with its picture;
// each step that fails is skipped.
void InsertToolIntoBand(ActiveBar& bar, std::string_view bandName, const ToolPtr& tool,
                        int position);

}  // namespace velaqm

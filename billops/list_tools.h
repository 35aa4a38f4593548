// The list toolbar of the bills whose plug-in also serves their list: the audit tools copied in
// where the list is shown for work, tools hidden, the audit and delete commands on the selected
// bills, and the bills of another class shown in the host's bill lookup.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "frame/collections.h"
#include "frame/host_bill.h"
#include "frame/host_toolbar.h"

namespace velaqm {

// The audit tools copied into the list bar when the list is shown for work (show mode 0 or 1).
// True when they were.
bool AddListAuditTools(ListEvents& list, ActiveBar& listBar);

void HideTools(ActiveBar& bar, std::initializer_list<std::string_view> keys);

// Audit, un-audit and delete of the selected bills. True when the tool is one of the three;
// Cancel is set for delete, so that the host does not delete again.
bool ClickListAuditTool(ListEvents& list, std::string_view toolName, bool& Cancel);

// The first selected row of the list (its data dictionary), null when none is selected.
DictionaryPtr CurrentListRow(ListEvents& list);

// The bills of the class meeting the filter, shown in the host's bill lookup on one page under
// the name (in the user's language), head and entries.
void ShowBillsInLookUp(int classTypeId, std::string_view name, const std::string& filter);

}  // namespace velaqm

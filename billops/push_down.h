// Pushing a bill down to the next bill type, and selecting source bills into a bill.
#pragma once

#include "frame/host_bill.h"

namespace velaqm {

// True when exactly one bill is selected and it is audited; otherwise false, after a message
// unless the bill no longer exists.
bool CanPushDown(ListEvents& list);

// Lets the user choose bills of the source type and fills the bill from them, as the host's
// own source selection does.
void SelectSourceBills(BillEvent& bill, int sourceBillType);

}  // namespace velaqm

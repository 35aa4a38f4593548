// Deletion (删除) of the bills selected in a list: the rights check, the user's confirmation,
// the network task lock per bill, the refusal of audited bills, the host's deletion, the
// messages or result list, and the user-action log.
#pragma once

#include <string>

#include "frame/collections.h"
#include "frame/host_bill.h"
#include "frame/variant.h"

namespace velaqm {

// Deletes the selected bills after the user confirmed; refreshes the list when one went.
void DeleteSelectedBills(ListEvents& list);

// Has the host delete one bill with its entries: the localized "成功！", or "失败！" followed
// by the host's reason. Never throws.
std::string DeleteOneBill(int classTypeId, const DictionaryPtr& classType, const Variant& billId,
                          const DictionaryPtr& tableInfo, const VectorPtr& classTypeEntry);

}  // namespace velaqm

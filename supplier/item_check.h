// The check that the item grade and the item supply share: a bill may not be the second saved
// record of its item. It answers True when the item already has one, and also when the check
// could not be made, so that nothing is saved unchecked.
#pragma once

#include <functional>
#include <string_view>

#include "frame/variant.h"

namespace velaqm {

// Looks for a saved record of the item (read from the bill by `itemId`) in the table through the
// planning component; tells the user when one exists (duplicateMessage), when the read gives no
// recordset, or when the bill or the component fails.
bool ItemAlreadyRecorded(std::string_view table, const std::function<Variant()>& itemId,
                         std::string_view duplicateMessage);

}  // namespace velaqm

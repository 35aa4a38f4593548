// Linked bills: from one bill of a list, the bills of other classes that it was made from or
// that were made from it, shown in the host's bill lookup.
#pragma once

#include <string_view>

#include "frame/collections.h"
#include "frame/host_bill.h"
#include "frame/variant.h"

namespace velaqm {

// The pages the bill lookup shows: each definition names the list's head column that holds the
// link ("FieldName"), the linked class ("FClassID", negative for the list of that class) and the
// linked bills' column that the value is compared with ("FSourFilter"). The definitions that
// have a linked value receive "FName" and "Filter" and are shown; without any, the user is told
// so. The selection must hold exactly one bill.
void ShowLinkedBills(ListEvents& list, const VectorPtr& links);

// Shows the host's bill lookup over the class's template with these pages (a Dictionary of
// page dictionaries: "FClassID", "FName", "Filter" from MakeLookupParams, in the order given).
void OpenBillLookUp(int classTypeId, const DictionaryPtr& params);
// The class type's attributes ("FName", "FTableName", ...), empty for an unknown class.
DictionaryPtr GetClassTypeInfo(int classTypeId);
// The view settings of one lookup page: "SelectPage", "FilterString", "HeadSort", "EntrySort".
DictionaryPtr MakeLookupParams(std::string_view selectPage, std::string_view filter,
                               std::string_view headSort, std::string_view entrySort);

}  // namespace velaqm

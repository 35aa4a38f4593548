// Source bills: finding the bills a typed number on a source-bill lookup stands for, and
// filling a bill's pages from the source bills the user chose.
#pragma once

#include <string_view>

#include "frame/collections.h"
#include "frame/host_bill.h"
#include "frame/variant.h"

namespace velaqm {

// The lookup type of a lookup into another bill.
inline constexpr int kLookupSourceBill = 100;

// The search statement over the source bill's tables ("v1" the head, "u1" the entry), by the
// class of the looked-up bill. `entryTable` is "" for a bill without entries.
std::string SourceBillStatement(int lookupClassId, std::string_view headTable,
                                std::string_view entryTable, std::string_view condition);

// The source bills whose number is the one typed into the lookup field (`value` is its value
// dictionary): one Dictionary per row with "FInterID" and, where the source has entries,
// "FEntryID". Only for lookup type 100; null for any other type. When no bill matches, the
// field is cleared (value, number and text, marked as changed) and null comes back; a source
// table or column that does not exist matches nothing.
VectorPtr FindSourceBills(BillEvent& bill, const DictionaryPtr& lookup, const DictionaryPtr& value);

// The target rows filled from the chosen source bills, to be handed to BillCtl.DoFilldata:
// "Page" + i a Dictionary of key -> value dictionary for a head page, a Vector of such rows for
// an entry page. `linkKey` names the class link (a source class ID or a link key such as
// "FReqBillNo_16"); `selected` holds the chosen rows ("FInterID", "FEntryID"); `result` is
// filled further when given, else made. Only the pages whose number occurs in `pageFilter`
// are filled; "" fills every page.
DictionaryPtr FillFromSourceBills(BillEvent& bill, const Variant& linkKey,
                                  const VectorPtr& selected, const DictionaryPtr& page,
                                  DictionaryPtr result, std::string_view pageFilter);

// A source value as a value dictionary of the target field: the value, and for a lookup field
// its record's number and text.
DictionaryPtr PackValue(const DictionaryPtr& field, const Variant& value);

}  // namespace velaqm

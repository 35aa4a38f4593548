// How Show takes the host object it is handed.
#pragma once

#include <memory>

#include "frame/host_bill.h"
#include "frame/variant.h"

namespace velaqm {

// The bill object of a bill-only plug-in: Nothing clears the member; an object that is no bill
// object is a type mismatch, as assigning it to a typed event member is.
BillEventPtr BillObjectOf(const Variant& oBillInterface);

// For plug-ins that serve both views: the object goes to the bill member when its type name is
// "BillEvent" (any case), to the list member when it is "ListEvents"; any other object is
// ignored and Show returns without effect.
struct BillOrList {
    BillEventPtr bill;
    ListEventsPtr list;
};
BillOrList SortBillOrList(const Variant& oBillInterface);

}  // namespace velaqm

// The seam between the COM server and the host-object adapters: the contract object (bill,
// list, toolbar, dictionary, ...) that stands for an IDispatch the host hands in.
#pragma once

#include <oaidl.h>

#include "frame/object.h"

namespace velaqm::com {

// Null (Nothing) for a null pointer and, until the adapters exist, for every host object.
ObjectPtr AdaptHostObject(IDispatch* object);

}  // namespace velaqm::com

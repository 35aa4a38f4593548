// The seam between the COM server and the host-object adapters: the contract object (bill,
// list, toolbar, dictionary, ...) that stands for an IDispatch the host hands in.
#pragma once

#include <oaidl.h>

#include <memory>

#include "frame/object.h"

namespace velaqm::com {

// The adapter of the object's kind (bill, list) or a late-bound host object; null (Nothing)
// for a null pointer.
ObjectPtr AdaptHostObject(IDispatch* object);

// The host object as the contract T (a tool, a menu bar); null for a null pointer, a HostError
// for an object that cannot be one.
template <class T>
std::shared_ptr<T> AdaptHostObjectAs(IDispatch* object);

}  // namespace velaqm::com

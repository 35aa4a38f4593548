// The COM face of the library's own dictionaries and vectors, for the host components they are
// handed to (the parameter set of an audit, for one): an IDispatch that answers to the member
// names the name table gives the host's Dictionary and Vector, and writes through to the
// plug-in's object. Coming back, the face gives up the very object it stands for.
#pragma once

#include <oaidl.h>

#include "frame/object.h"
#include "typelib/com_raii.h"
#include "typelib/name_table.h"

namespace velaqm::com {

// The face of a LocalDictionary or LocalVector; null for any other object.
ComPtr<IDispatch> LocalDispatchOf(const ObjectPtr& object, const NameTable& names);
// The object behind one of those faces; null when the IDispatch is not one.
ObjectPtr LocalObjectBehind(IDispatch* face);

}  // namespace velaqm::com

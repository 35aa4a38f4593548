// The host's service components seen through their contracts: the object created for a ProgID
// is wrapped in the adapter of that class name.
#pragma once

#include <oaidl.h>

#include <string_view>

#include "frame/object.h"
#include "typelib/com_raii.h"
#include "typelib/name_table.h"

namespace velaqm::com {

// The adapter of the component class (compared without regard to case); a DispatchObject for
// a class the plug-ins have no contract for.
ObjectPtr AdaptComponent(std::string_view progId, ComPtr<IDispatch> object, const NameTable& names);

}  // namespace velaqm::com

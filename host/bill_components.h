// The substitutes of the host's components that change saved bills as a whole.
#pragma once

#include "frame/object.h"

namespace velaqm::host {

class Session;

// VelaMClass.ClassUpdate: deletes a bill with its entries.
ObjectPtr MakeClassUpdate(Session& session);

}  // namespace velaqm::host

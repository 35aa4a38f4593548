// The quality module's calculation component of the substitute host.
#pragma once

#include "frame/object.h"

namespace velaqm::host {

class Session;

// VelaMQMDataAccess.DataUpDate over the session's database.
ObjectPtr MakeDataUpDate(Session& session);

}  // namespace velaqm::host

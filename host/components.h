// The substitutes of the host's service components, over the session's database.
#pragma once

#include <string_view>

#include "frame/object.h"

namespace velaqm::host {

class Session;

// The component registered under the class name (compared without regard to case); throws
// HostError 429 for a class the substitute host does not offer.
ObjectPtr CreateComponent(Session& session, std::string_view progId);

}  // namespace velaqm::host

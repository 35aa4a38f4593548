#include "host/db/db_error.h"

#include <string>

#include "frame/host_error.h"

namespace velaqm::host {

void ThrowDatabaseError(std::string_view message, std::string_view context) {
    std::string description(message);
    description += " [";
    description += context;
    description += "]";
    throw HostError(kDatabaseErrorNumber, std::string(kDatabaseErrorSource), description);
}

}  // namespace velaqm::host

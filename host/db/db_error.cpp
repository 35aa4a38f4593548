#include "host/db/db_error.h"

#include <string>

namespace velaqm::host {

namespace {

std::string Describe(std::string_view message, std::string_view context) {
    std::string description(message);
    description += " [";
    description += context;
    description += "]";
    return description;
}

}  // namespace

DatabaseError::DatabaseError(std::string_view message, std::string_view context)
    : HostError(kDatabaseErrorNumber, std::string(kDatabaseErrorSource),
                Describe(message, context)),
      m_message(message) {}

void ThrowDatabaseError(std::string_view message, std::string_view context) {
    throw DatabaseError(message, context);
}

}  // namespace velaqm::host

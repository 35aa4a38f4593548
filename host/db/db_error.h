// The one shape of database errors in the substitute host, matching what the host's ADO
// connection raises: number -2147217900 (DB_E_ERRORSINCOMMAND), source
// "VelaConnection.Appconnection", description the message followed by " [" + the statement (or
// the database file) + "]".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "frame/host_error.h"

namespace velaqm::host {

inline constexpr std::int32_t kDatabaseErrorNumber = -2147217900;
inline constexpr std::string_view kDatabaseErrorSource = "VelaConnection.Appconnection";

// A database error that keeps its message apart from its context, so that the dialect can say
// it again about the SQL Server statement a translated one came from.
class DatabaseError : public HostError {
  public:
    DatabaseError(std::string_view message, std::string_view context);
    const std::string& Message() const { return m_message; }

  private:
    std::string m_message;
};

// Throws the DatabaseError `message [context]`.
[[noreturn]] void ThrowDatabaseError(std::string_view message, std::string_view context);

}  // namespace velaqm::host

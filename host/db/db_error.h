// The one shape of database errors in the substitute host, matching what the host's ADO
// connection raises: number -2147217900 (DB_E_ERRORSINCOMMAND), source
// "VelaConnection.Appconnection", description the message followed by " [" + the statement (or
// the database file) + "]".
#pragma once

#include <cstdint>
#include <string_view>

namespace velaqm::host {

inline constexpr std::int32_t kDatabaseErrorNumber = -2147217900;
inline constexpr std::string_view kDatabaseErrorSource = "VelaConnection.Appconnection";

// Throws the HostError `message [context]`.
[[noreturn]] void ThrowDatabaseError(std::string_view message, std::string_view context);

}  // namespace velaqm::host

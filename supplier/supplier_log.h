// The operation log of the supplier-quality bills. An entry is written only when the login's
// subsystem is purchasing ("cg") or quality ("qm"), each with its own function code.
#pragma once

#include <string_view>

namespace velaqm {

struct LogCodes {
    std::string_view purchasing;
    std::string_view quality;
};

// The code for a subsystem ("SubID", any letter case); empty for any other subsystem.
std::string_view LogCodeFor(std::string_view subId, const LogCodes& codes);

// Writes the entry (kind 5) under the login's subsystem, when that subsystem has a code.
void WriteSupplierLog(std::string_view text, const LogCodes& codes);

}  // namespace velaqm

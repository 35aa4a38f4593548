// Reading a list of toolbar settings in the tests of the rules that make one.
#pragma once

#include <optional>
#include <string_view>

#include "billops/audit_state.h"

namespace velaqm::testing {

// The last setting of a tool property in the list, as the toolbar ends up; nullopt when the list
// leaves it alone.
inline std::optional<bool> Setting(const ToolSettings& settings, std::string_view key,
                                   std::string_view property) {
    std::optional<bool> value;
    for (const ToolSetting& s : settings)
        if (s.key == key && s.property == property) value = s.value;
    return value;
}

}  // namespace velaqm::testing

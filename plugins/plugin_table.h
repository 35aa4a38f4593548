// The plug-in registry: each class name with its factory. The COM server and the substitute
// host both create plug-ins through this one table.
#pragma once

#include <span>
#include <string_view>

#include "frame/plugin.h"

namespace velaqm {

std::span<const PluginEntry> PluginTable();
// The entry of a class name (compared without regard to case); null when there is none.
const PluginEntry* FindPlugin(std::string_view className);

}  // namespace velaqm

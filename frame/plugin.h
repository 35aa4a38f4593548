// The frame every plug-in class follows: the host creates it by class name, hands it the bill
// or list object once through Show, and from then on drives it through events.
#pragma once

#include <memory>
#include <string_view>

#include "frame/variant.h"

namespace velaqm {

class Plugin {
  public:
    virtual ~Plugin() = default;
    // The only public method: receives the host bill object (or list object).
    virtual void Show(const Variant& oBillInterface) = 0;
};

// The plug-ins of the item grade and item supply bills also answer whether the bill's item
// already has a saved record; a check that could not be made answers True as well.
class ItemCheckPlugin : public Plugin {
  public:
    virtual bool CheckItemUniq() = 0;
};

// One row of the plug-in registry: {class name, factory}. COM and the substitute host both
// create plug-ins through the one table of these (plugins/plugin_table.h).
struct PluginEntry {
    std::string_view className;
    std::unique_ptr<Plugin> (*create)();
};

template <class T>
std::unique_ptr<Plugin> MakePlugin() {
    return std::make_unique<T>();
}

}  // namespace velaqm

#include "host/form_support.h"

#include "frame/text_util.h"
#include "host/action_refused.h"
#include "plugins/plugin_table.h"

namespace velaqm::host {

namespace {
constexpr std::string_view kPluginPrefix = "VelaQMBillEvent.";
}

HostToolPtr RequireUsable(const HostToolPtr& tool, std::string_view key, std::string_view what) {
    const std::string named = "the " + std::string(what) + " " + std::string(key);
    if (!tool) throw ActionRefused("there is no " + std::string(what) + " " + std::string(key));
    if (!tool->Visible()) throw ActionRefused(named + " is hidden");
    if (!tool->Enabled()) throw ActionRefused(named + " is disabled");
    return tool;
}

std::unique_ptr<Plugin> AttachPluginOf(Session& session, std::string_view progId,
                                       const Variant& hostObject) {
    if (progId.empty()) return nullptr;
    std::string_view className = progId;
    if (className.size() > kPluginPrefix.size() &&
        EqualsNoCase(className.substr(0, kPluginPrefix.size()), kPluginPrefix))
        className.remove_prefix(kPluginPrefix.size());
    const PluginEntry* entry = FindPlugin(className);
    if (!entry) {
        session.ShowHostError("The plug-in " + std::string(progId) + " is not registered");
        return nullptr;
    }
    std::unique_ptr<Plugin> plugin = entry->create();
    try {
        plugin->Show(hostObject);
    } catch (const std::exception& e) {
        session.ShowHostError(e.what());
    }
    return plugin;
}

}  // namespace velaqm::host

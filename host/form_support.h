// What the bill form and the bill list share: events raised to the subscribed sinks, tools a
// person may click, the plug-in of a class, and the transcript of tool states.
#pragma once

#include <algorithm>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frame/host_error.h"
#include "frame/plugin.h"
#include "host/parts/toolbar.h"
#include "host/session.h"

namespace velaqm::host {

// Raises an event on every subscribed sink, over a copy of the list (a handler may
// unsubscribe). An error a handler passes back to the host is shown as the host shows it.
template <class Sink, class Call>
void RaiseToSinks(Session& session, const std::vector<Sink*>& sinks, std::string_view event,
                  Call&& call) {
    const std::vector<Sink*> snapshot = sinks;
    for (Sink* sink : snapshot) {
        if (std::find(sinks.begin(), sinks.end(), sink) == sinks.end()) continue;
        try {
            call(*sink);
        } catch (const HostError& e) {
            session.ShowHostError(e.Description());
        } catch (const std::exception& e) {
            session.ShowHostError(std::string(event) + ": " + e.what());
        }
    }
}

template <class Sink>
void AddSink(std::vector<Sink*>& sinks, Sink* sink) {
    if (sink && std::find(sinks.begin(), sinks.end(), sink) == sinks.end()) sinks.push_back(sink);
}

// The tool a person clicks; ActionRefused when it is missing, hidden or disabled.
// `what` names it in the refusal ("tool", "menu item").
HostToolPtr RequireUsable(const HostToolPtr& tool, std::string_view key, std::string_view what);

// A new plug-in for the class's ProgID ("VelaQMBillEvent.<Class>"), handed the host object
// through Show; null when the class has none. A failing Show is shown as a host error.
std::unique_ptr<Plugin> AttachPluginOf(Session& session, std::string_view progId,
                                       const Variant& hostObject);

// Writes every Visible/Enabled change of the bar's tools to the session's transcript.
template <class Bar>
void ObserveTools(Session& session, Bar& bar) {
    bar.SetObserver([&session](const std::string& key, std::string_view property, bool value) {
        session.Log().Add(EntryKind::Tool,
                          key + " " + std::string(property) + "=" + (value ? "true" : "false"));
    });
}

}  // namespace velaqm::host

// The plug-in side of a host object's events, shared by the adapters of objects that raise them.
#pragma once

#include <oaidl.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "typelib/event_connection.h"

namespace velaqm::com {

// The plug-in sinks of one host object's events, and the one connection they share while
// any is subscribed.
template <class Sink>
class Subscribers {
  public:
    // Subscribes the sink; the first one opens the connection to the host object.
    void Add(Sink* sink, IDispatch* host, EventDelivery delivery) {
        if (!sink || std::find(m_sinks.begin(), m_sinks.end(), sink) != m_sinks.end()) return;
        if (!m_connection) m_connection = ConnectEvents(host, std::move(delivery));
        m_sinks.push_back(sink);
    }
    void Remove(Sink* sink) {
        std::erase(m_sinks, sink);
        if (m_sinks.empty()) m_connection.reset();
    }
    // Calls every sink, over a copy of the list: a handler may unsubscribe. The copy of the
    // usual one or two sinks stays on the stack, which keeps an event free of allocation.
    template <class Call>
    void Each(Call&& call) const {
        Sink* local[kOnStack];
        std::vector<Sink*> heap;
        std::span<Sink* const> snapshot;
        if (m_sinks.size() <= kOnStack) {
            std::copy(m_sinks.begin(), m_sinks.end(), local);
            snapshot = {local, m_sinks.size()};
        } else {
            heap = m_sinks;
            snapshot = heap;
        }
        for (Sink* sink : snapshot)
            if (std::find(m_sinks.begin(), m_sinks.end(), sink) != m_sinks.end()) call(*sink);
    }

  private:
    static constexpr std::size_t kOnStack = 8;
    std::vector<Sink*> m_sinks;
    std::unique_ptr<EventConnection> m_connection;
};

}  // namespace velaqm::com

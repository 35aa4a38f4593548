// The plug-in side of a host object's events: a sink object the host calls through its
// connection point. The source interface is found through the object's IProvideClassInfo (the
// default source interface of its class), and its type information maps each DISPID to the
// event's name, so events arrive by name as the plug-ins' handlers expect them.
#pragma once

#include <oaidl.h>
#include <ocidl.h>

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "typelib/com_raii.h"

namespace velaqm::com {

// Receives one event: its name and its arguments in declaration order (a by-reference argument
// as VT_BYREF, so that the receiver can write it back).
using EventDelivery = std::function<void(std::string_view event, std::span<VARIANT*> args)>;

class EventSink;

// A subscription that lasts as long as the object: Unadvise on destruction, and the sink stops
// delivering even if the host keeps a reference to it.
class EventConnection {
  public:
    // Throws ComError when the object offers no events to subscribe to.
    EventConnection(IDispatch* source, EventDelivery delivery);
    ~EventConnection();
    EventConnection(const EventConnection&) = delete;
    EventConnection& operator=(const EventConnection&) = delete;

  private:
    ComPtr<IConnectionPoint> m_point;
    ComPtr<EventSink> m_sink;
    DWORD m_cookie = 0;
};

// The event connection of a host object; an object whose events cannot be subscribed is the
// automation error 459 (HostError), as assigning it to an event member is.
std::unique_ptr<EventConnection> ConnectEvents(IDispatch* object, EventDelivery delivery);

// Writes a Boolean back into a by-reference argument (VT_BYREF|VT_BOOL or VT_BYREF|VT_VARIANT).
void WriteBackBool(VARIANT* argument, bool value);
// Reads a Boolean argument, by value or by reference.
bool ReadBool(const VARIANT* argument);

}  // namespace velaqm::com

#include "typelib/event_connection.h"

#include <olectl.h>

#include <atomic>
#include <map>
#include <utility>
#include <vector>

#include "frame/host_error.h"
#include "typelib/com_error.h"
#include "typelib/untyped_dispatch.h"

namespace velaqm::com {

// The sink the host calls: IDispatch under the source interface's IID, delivering by name.
class EventSink final : public UntypedDispatch {
  public:
    EventSink(IID source, std::map<DISPID, std::string> names, EventDelivery delivery)
        : UntypedDispatch(source),
          m_source(source),
          m_names(std::move(names)),
          m_delivery(std::move(delivery)) {}

    // After Unadvise the host may still hold the sink; it then delivers nothing.
    void Disconnect() noexcept { m_delivery = nullptr; }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID,
                                            DISPID*) noexcept override {
        return E_NOTIMPL;
    }
    // A handler's error goes back to the host that raised the event, as DISP_E_EXCEPTION.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                     EXCEPINFO* exception, UINT*) noexcept override {
        return AsDispatchException(Deliver(id, params), exception);
    }

  private:
    HRESULT Deliver(DISPID id, DISPPARAMS* params) noexcept {
        return Guard(m_source, [&]() -> HRESULT {
            const auto name = m_names.find(id);
            if (!m_delivery || name == m_names.end()) return S_OK;  // events nobody handles
            // An event's few arguments are listed on the stack, in declaration order.
            const UINT count = params ? params->cArgs : 0;
            VARIANT* local[kArgsOnStack];
            std::vector<VARIANT*> heap;
            VARIANT** args = local;
            if (count > kArgsOnStack) {
                heap.resize(count);
                args = heap.data();
            }
            for (UINT i = 0; i < count; ++i)
                args[i] = &params->rgvarg[count - 1 - i];
            m_delivery(name->second, std::span<VARIANT*>(args, count));
            return S_OK;
        });
    }

    static constexpr UINT kArgsOnStack = 16;

    ~EventSink() override = default;

    IID m_source;
    std::map<DISPID, std::string> m_names;
    EventDelivery m_delivery;
};

namespace {

// The default source interface of the object's class and its event names by DISPID.
ComPtr<ITypeInfo> SourceInterface(IDispatch* source) {
    const auto classInfo = ComPtr<IDispatch>::copy(source).query<IProvideClassInfo>();
    ComPtr<ITypeInfo> coclass;
    Check(classInfo->GetClassInfo(coclass.put()), "GetClassInfo");
    TYPEATTR* attributes = nullptr;
    Check(coclass->GetTypeAttr(&attributes), "GetTypeAttr");
    const WORD implemented = attributes->cImplTypes;
    coclass->ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < implemented; ++i) {
        INT flags = 0;
        if (FAILED(coclass->GetImplTypeFlags(i, &flags))) continue;
        if ((flags & IMPLTYPEFLAG_FSOURCE) && (flags & IMPLTYPEFLAG_FDEFAULT)) {
            HREFTYPE ref = 0;
            Check(coclass->GetRefTypeOfImplType(i, &ref), "GetRefTypeOfImplType");
            ComPtr<ITypeInfo> events;
            Check(coclass->GetRefTypeInfo(ref, events.put()), "GetRefTypeInfo");
            return events;
        }
    }
    throw ComError(CONNECT_E_NOCONNECTION, "the object's class has no default event interface");
}

std::map<DISPID, std::string> EventNames(ITypeInfo& events) {
    std::map<DISPID, std::string> names;
    TYPEATTR* attributes = nullptr;
    Check(events.GetTypeAttr(&attributes), "GetTypeAttr");
    const WORD functions = attributes->cFuncs;
    events.ReleaseTypeAttr(attributes);
    for (UINT i = 0; i < functions; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(events.GetFuncDesc(i, &function))) continue;
        Bstr name;
        UINT found = 0;
        if (SUCCEEDED(events.GetNames(function->memid, name.put(), 1, &found)) && found == 1)
            names[function->memid] = Utf8Of(name.view());
        events.ReleaseFuncDesc(function);
    }
    return names;
}

IID GuidOf(ITypeInfo& info) {
    TYPEATTR* attributes = nullptr;
    Check(info.GetTypeAttr(&attributes), "GetTypeAttr");
    const IID iid = attributes->guid;
    info.ReleaseTypeAttr(attributes);
    return iid;
}

}  // namespace

EventConnection::EventConnection(IDispatch* source, EventDelivery delivery) {
    const ComPtr<ITypeInfo> events = SourceInterface(source);
    const IID iid = GuidOf(*events.get());
    const auto container = ComPtr<IDispatch>::copy(source).query<IConnectionPointContainer>();
    Check(container->FindConnectionPoint(iid, m_point.put()), "FindConnectionPoint");
    m_sink = ComPtr<EventSink>::attach(
        new EventSink(iid, EventNames(*events.get()), std::move(delivery)));
    Check(m_point->Advise(m_sink.get(), &m_cookie), "Advise");
}

std::unique_ptr<EventConnection> ConnectEvents(IDispatch* object, EventDelivery delivery) {
    try {
        return std::make_unique<EventConnection>(object, std::move(delivery));
    } catch (const ComError&) {
        throw HostError(459, "VelaQMBillEvent",
                        "Object or class does not support the set of events");
    }
}

EventConnection::~EventConnection() {
    m_sink->Disconnect();
    m_point->Unadvise(m_cookie);
}

void WriteBackBool(VARIANT* argument, bool value) {
    const VARIANT_BOOL flag = value ? VARIANT_TRUE : VARIANT_FALSE;
    if (V_VT(argument) == (VT_BYREF | VT_BOOL)) {
        *V_BOOLREF(argument) = flag;
    } else if (V_VT(argument) == (VT_BYREF | VT_VARIANT)) {
        VARIANT* target = V_VARIANTREF(argument);
        ClearVariant(*target);
        V_VT(target) = VT_BOOL;
        V_BOOL(target) = flag;
    }
}

bool ReadBool(const VARIANT* argument) {
    // The forms hosts and scripts pass a Boolean in, read without a conversion.
    if (V_VT(argument) == VT_BOOL) return V_BOOL(argument) != VARIANT_FALSE;
    if (V_VT(argument) == (VT_BYREF | VT_BOOL) && V_BOOLREF(argument))
        return *V_BOOLREF(argument) != VARIANT_FALSE;
    if (V_VT(argument) == (VT_BYREF | VT_VARIANT) && V_VARIANTREF(argument) &&
        V_VT(V_VARIANTREF(argument)) == VT_BOOL)
        return V_BOOL(V_VARIANTREF(argument)) != VARIANT_FALSE;
    com::Variant converted;
    return SUCCEEDED(
               VariantChangeType(converted.put(), const_cast<VARIANT*>(argument), 0, VT_BOOL)) &&
           V_BOOL(&converted.get()) != VARIANT_FALSE;
}

}  // namespace velaqm::com

// A fake host object for the adapter tests and the COM benchmark: IDispatch over a table of
// members, with type information from fake_host.idl, class information and a connection point.
#pragma once

#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "typelib/com_raii.h"
#include "typelib/name_table.h"
#include "typelib/ref_counted.h"

namespace velaqm::com::testing {

// One member of a fake: its arguments in reading order, the result slot (null when the caller
// wants none) and the exception slot for DISP_E_EXCEPTION.
using FakeMember =
    std::function<HRESULT(std::span<VARIANT*> args, VARIANT* result, EXCEPINFO* error)>;

FakeMember Returns(LONG value);
FakeMember ReturnsText(std::wstring text);

// What a sink reported through EXCEPINFO when it answered an event with DISP_E_EXCEPTION.
struct SinkFailure {
    HRESULT scode = S_OK;
    std::wstring source;
    std::wstring description;
};

// A host object: IDispatch over its member table, with optional type information, class
// information and a connection point for one source interface. It counts the references to
// itself and the names it was asked to resolve.
class FakeHostObject final
    : public RefCounted<IDispatch, IProvideClassInfo, IConnectionPointContainer> {
  public:
    static ComPtr<FakeHostObject> Make(ComPtr<ITypeInfo> type, ComPtr<ITypeInfo> coclass = {},
                                       IID source = IID_NULL) {
        return ComPtr<FakeHostObject>::attach(
            new FakeHostObject(std::move(type), std::move(coclass), source));
    }

    // Lets the object be sited as an ActiveX control: it answers IOleObject, doing nothing.
    void ActAsControl() { m_control = true; }

    void Add(std::wstring name, DISPID id, FakeMember member) {
        m_members[id] = {std::move(name), std::move(member)};
    }
    // The DISPID after the highest one in use (1 for the first member).
    DISPID NextFreeId() const { return m_members.empty() ? 1 : m_members.rbegin()->first + 1; }

    // Calls are recorded for the tests to read back; a benchmark turns that off so that a long
    // loop neither grows the record nor pays for it.
    void SetRecording(bool on) { m_recording = on; }
    // The first sink subscribed, for calling it directly as the host does (null when none).
    IDispatch* FirstSink() const {
        return m_sinks.empty() ? nullptr : m_sinks.begin()->second.get();
    }

    int NamesAsked() const { return m_namesAsked; }
    const std::vector<std::wstring>& Called() const { return m_called; }
    const std::vector<std::vector<std::wstring>>& CallArgs() const { return m_callArgs; }
    using RefCounted::References;
    std::size_t SinkCount() const { return m_sinks.size(); }

    // Raises an event on every sink, as the host does: over a copy of its sink list, with the
    // arguments given in reading order (borrowed, not owned). The result is the last sink's; a
    // sink's DISP_E_EXCEPTION is kept in `failure` when one is given.
    HRESULT Fire(DISPID id, std::vector<VARIANT> args, SinkFailure* failure = nullptr) {
        std::vector<VARIANT> reversed(args.rbegin(), args.rend());
        HRESULT hr = S_OK;
        std::vector<ComPtr<IDispatch>> sinks;
        for (const auto& [cookie, sink] : m_sinks)
            sinks.push_back(sink);
        for (const auto& sink : sinks) {
            DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
            EXCEPINFO error{};
            UINT badArgument = 0;
            hr = sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr,
                              &error, &badArgument);
            const Bstr source = Bstr::attach(error.bstrSource);
            const Bstr description = Bstr::attach(error.bstrDescription);
            Bstr::attach(error.bstrHelpFile);
            if (hr == DISP_E_EXCEPTION && failure)
                *failure = {error.scode, std::wstring(source.view()),
                            std::wstring(description.view())};
        }
        return hr;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch)
            *object = static_cast<IDispatch*>(this);
        else if (iid == IID_IProvideClassInfo && m_class)
            *object = static_cast<IProvideClassInfo*>(this);
        else if (iid == IID_IConnectionPointContainer && m_source != IID_NULL)
            *object = static_cast<IConnectionPointContainer*>(this);
        else if (iid == IID_IOleObject && m_control)
            *object = static_cast<IOleObject*>(&m_ole);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
        *count = m_type ? 1 : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept override {
        *info = nullptr;
        if (!m_type || index != 0) return DISP_E_BADINDEX;
        m_type.copy_to(info);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) noexcept override {
        ++m_namesAsked;
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            for (const auto& [id, member] : m_members)
                if (lstrcmpiW(member.first.c_str(), names[i]) == 0) ids[i] = id;
            if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* error, UINT*) noexcept override {
        const auto found = m_members.find(id);
        if (found == m_members.end()) return DISP_E_MEMBERNOTFOUND;
        std::vector<VARIANT*> args;
        for (UINT i = params->cArgs; i > 0; --i)
            args.push_back(&params->rgvarg[i - 1]);
        if (m_recording) Record(found->second.first, args);
        return found->second.second(args, result, error);
    }

    // IProvideClassInfo
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) noexcept override {
        m_class.copy_to(info);
        return S_OK;
    }

    // IConnectionPointContainer
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid,
                                                  IConnectionPoint** point) noexcept override {
        *point = nullptr;
        if (iid != m_source) return CONNECT_E_NOCONNECTION;
        ComPtr<IConnectionPoint>::copy(&m_point).copy_to(point);
        return S_OK;
    }

  private:
    void Record(const std::wstring& member, std::span<VARIANT*> args) {
        m_called.push_back(member);
        std::vector<std::wstring> texts;
        for (VARIANT* arg : args) {
            // Objects are not read: converting one would call into it.
            const VARTYPE type = V_VT(arg) & VT_TYPEMASK;
            Variant text;
            if (type == VT_DISPATCH || type == VT_UNKNOWN) {
                texts.push_back(L"<object>");
                continue;
            }
            texts.push_back(
                SUCCEEDED(VariantChangeType(text.put(), arg, 0, VT_BSTR))
                    ? std::wstring(V_BSTR(&text.get()), SysStringLen(V_BSTR(&text.get())))
                    : L"?");
        }
        m_callArgs.push_back(std::move(texts));
    }

    // The connection point lives inside the object and shares its reference count.
    class Point final : public IConnectionPoint {
      public:
        explicit Point(FakeHostObject& owner) : m_owner(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override {
            if (!object) return E_POINTER;
            *object = nullptr;
            if (iid != IID_IUnknown && iid != IID_IConnectionPoint) return E_NOINTERFACE;
            *object = static_cast<IConnectionPoint*>(this);
            AddRef();
            return S_OK;
        }
        ULONG STDMETHODCALLTYPE AddRef() noexcept override { return m_owner.AddRef(); }
        ULONG STDMETHODCALLTYPE Release() noexcept override { return m_owner.Release(); }
        HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) noexcept override {
            *iid = m_owner.m_source;
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE
        GetConnectionPointContainer(IConnectionPointContainer** container) noexcept override {
            ComPtr<IConnectionPointContainer>::copy(&m_owner).copy_to(container);
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) noexcept override {
            if (!sink || !cookie) return E_POINTER;
            ComPtr<IDispatch> events;
            if (FAILED(sink->QueryInterface(m_owner.m_source, events.put_void())))
                return CONNECT_E_CANNOTCONNECT;
            *cookie = ++m_owner.m_lastCookie;
            m_owner.m_sinks[*cookie] = std::move(events);
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) noexcept override {
            return m_owner.m_sinks.erase(cookie) ? S_OK : CONNECT_E_NOCONNECTION;
        }
        HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) noexcept override {
            return E_NOTIMPL;
        }

      private:
        FakeHostObject& m_owner;
    };

    // The control side: a container may site, size and activate it; nothing shows.
    class OleObject final : public IOleObject {
      public:
        explicit OleObject(FakeHostObject& owner) : m_owner(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override {
            return m_owner.QueryInterface(iid, object);
        }
        ULONG STDMETHODCALLTYPE AddRef() noexcept override { return m_owner.AddRef(); }
        ULONG STDMETHODCALLTYPE Release() noexcept override { return m_owner.Release(); }
        HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) noexcept override {
            m_site = ComPtr<IOleClientSite>::copy(site);
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) noexcept override {
            m_site.copy_to(site);
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) noexcept override {
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE Close(DWORD) noexcept override { return S_OK; }
        HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) noexcept override {
            return E_NOTIMPL;
        }
        HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) noexcept override {
            return E_NOTIMPL;
        }
        HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) noexcept override {
            return E_NOTIMPL;
        }
        HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) noexcept override {
            return E_NOTIMPL;
        }
        HRESULT STDMETHODCALLTYPE DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND,
                                         LPCRECT) noexcept override {
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) noexcept override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE Update() noexcept override { return S_OK; }
        HRESULT STDMETHODCALLTYPE IsUpToDate() noexcept override { return S_OK; }
        HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID*) noexcept override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) noexcept override {
            return E_NOTIMPL;
        }
        HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) noexcept override { return S_OK; }
        HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL*) noexcept override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) noexcept override {
            return E_NOTIMPL;
        }
        HRESULT STDMETHODCALLTYPE Unadvise(DWORD) noexcept override { return E_NOTIMPL; }
        HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) noexcept override {
            return E_NOTIMPL;
        }
        HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) noexcept override {
            *status = 0;
            return S_OK;
        }
        HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) noexcept override {
            return E_NOTIMPL;
        }

      private:
        FakeHostObject& m_owner;
        ComPtr<IOleClientSite> m_site;
    };

    FakeHostObject(ComPtr<ITypeInfo> type, ComPtr<ITypeInfo> coclass, IID source)
        : m_type(std::move(type)), m_class(std::move(coclass)), m_source(source) {}
    ~FakeHostObject() override = default;

    ComPtr<ITypeInfo> m_type;
    ComPtr<ITypeInfo> m_class;
    IID m_source;
    Point m_point{*this};
    bool m_control = false;
    OleObject m_ole{*this};
    std::map<DISPID, std::pair<std::wstring, FakeMember>> m_members;
    std::map<DWORD, ComPtr<IDispatch>> m_sinks;
    DWORD m_lastCookie = 0;
    int m_namesAsked = 0;
    bool m_recording = true;
    std::vector<std::wstring> m_called;
    std::vector<std::vector<std::wstring>> m_callArgs;
};

// The fake host's type library, beside the running program.
ComPtr<ITypeLib> FakeTypeLibrary();
ComPtr<ITypeInfo> FakeType(std::wstring_view name);
IID GuidOf(const ComPtr<ITypeInfo>& info);

// A fake bill as the ERP client makes it: the class BillEvent with its event interface.
ComPtr<FakeHostObject> FakeBill();
// A fake list-selection control: the class ICList with its action event (DISPID kDoAction).
inline constexpr DISPID kDoAction = 1;
ComPtr<FakeHostObject> FakeListControl();
// The same control from a client whose action event is RunAction (at DISPID kDoAction).
ComPtr<FakeHostObject> FakeRenamedListControl();

inline ComPtr<IDispatch> AsDispatch(const ComPtr<FakeHostObject>& fake) {
    return ComPtr<IDispatch>::copy(fake.get());
}

// The default name table. Adapters keep a reference to theirs, which must outlive them as the
// process's own table does.
const NameTable& DefaultNames();

}  // namespace velaqm::com::testing

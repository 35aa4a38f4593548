// The COM object of a plug-in class. It owns the plug-in and offers the class's dual interfaces,
// whose IDispatch half runs through the type information of the DLL's own type library, so the
// type library stays the one description of every member.
#pragma once

#include <windows.h>

#include <oaidl.h>
#include <ocidl.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "frame/plugin.h"
#include "frame/reject_strategy.h"
#include "typelib/VelaQMBillEvent.h"
#include "typelib/com_classes.h"
#include "typelib/com_error.h"
#include "typelib/com_raii.h"
#include "typelib/module.h"
#include "typelib/ref_counted.h"

namespace velaqm::com {

// One dual interface of an object. Each lives in its own part so that an object with two duals
// (the reject strategies) answers each IDispatch with the right type information.
class InterfacePart {
  public:
    virtual ~InterfacePart() = default;
    virtual const IID& Iid() const noexcept = 0;
    // The pointer handed out for Iid().
    virtual void* Interface() noexcept = 0;
};

class PluginObject final : public RefCounted<ISupportErrorInfo, IProvideClassInfo> {
  public:
    PluginObject(const ComClass& cls, std::unique_ptr<Plugin> plugin);

    // Interfaces are added default first; the default one also answers IID_IDispatch.
    template <class Part>
    void AddInterface() {
        m_interfaces.push_back(std::make_unique<Part>(*this));
    }
    ComPtr<ITypeInfo> TypeInfoOf(REFGUID guid) const;

    // Hands the host object to the plug-in through the host adapters.
    void Show(IDispatch* host);
    // The item check of a plug-in that has one; False for any other.
    bool CheckItemUniq();
    // The plug-in as a reject strategy, and as one with the public property m_BillStatusExt;
    // a HostError for a plug-in that is none.
    IRejectCO& RejectStrategy() const;
    StatusKeepingStrategy& StatusKeeping() const;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;
    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) noexcept override;
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) noexcept override;

  private:
    ~PluginObject() override;

    ModuleRef m_moduleRef;  // first in, last out: the DLL stays until everything else is gone
    const ComClass& m_class;
    ComPtr<ITypeLib> m_typeLib;
    std::unique_ptr<Plugin> m_plugin;
    std::vector<std::unique_ptr<InterfacePart>> m_interfaces;
};

// IUnknown by delegation to the object, IDispatch through the interface's type information.
template <class Itf>
class DualInterface : public Itf, public InterfacePart {
  public:
    explicit DualInterface(PluginObject& owner)
        : m_owner(owner), m_typeInfo(owner.TypeInfoOf(__uuidof(Itf))) {}

    const IID& Iid() const noexcept override { return __uuidof(Itf); }
    void* Interface() noexcept override { return static_cast<Itf*>(this); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override {
        return m_owner.QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return m_owner.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() noexcept override { return m_owner.Release(); }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        m_typeInfo.copy_to(info);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) noexcept override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        return m_typeInfo->GetIDsOfNames(names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argError) noexcept override {
        if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
        // The error object of an earlier call must not pass for this call's.
        SetErrorInfo(0, nullptr);
        return m_typeInfo->Invoke(static_cast<Itf*>(this), id, flags, params, result, exception,
                                  argError);
    }

  protected:
    // A member's body behind the exception barrier, its errors naming this interface.
    template <class Body>
    HRESULT Member(Body&& body) noexcept {
        return Guard(__uuidof(Itf), std::forward<Body>(body));
    }

    PluginObject& m_owner;

  private:
    ComPtr<ITypeInfo> m_typeInfo;
};

template <class Itf>
class ShowMembers final : public DualInterface<Itf> {
  public:
    using DualInterface<Itf>::DualInterface;
    HRESULT STDMETHODCALLTYPE Show(IDispatch* oBillInterface) noexcept override {
        return this->Member([&] { this->m_owner.Show(oBillInterface); });
    }
};

// The item grade and item supply classes: Show, and the check whether the bill's item already
// has a saved record.
template <class Itf>
class ItemCheckMembers final : public DualInterface<Itf> {
  public:
    using DualInterface<Itf>::DualInterface;
    HRESULT STDMETHODCALLTYPE Show(IDispatch* oBillInterface) noexcept override {
        return this->Member([&] { this->m_owner.Show(oBillInterface); });
    }
    HRESULT STDMETHODCALLTYPE CheckItemUniq(VARIANT_BOOL* result) noexcept override {
        if (!result) return E_POINTER;
        *result = VARIANT_FALSE;
        return this->Member(
            [&] { *result = this->m_owner.CheckItemUniq() ? VARIANT_TRUE : VARIANT_FALSE; });
    }
};

template <class Itf>
class NoMembers final : public DualInterface<Itf> {
  public:
    using DualInterface<Itf>::DualInterface;
};

// The reject strategy interface: each member reaches the plug-in's strategy.
class RejectStrategyMembers final : public DualInterface<_IRejectCO> {
  public:
    using DualInterface::DualInterface;
    HRESULT STDMETHODCALLTYPE Show(IDispatch* oBillInterface) noexcept override;
    HRESULT STDMETHODCALLTYPE SetRequestBillNo() noexcept override;
    HRESULT STDMETHODCALLTYPE Dispose() noexcept override;
    HRESULT STDMETHODCALLTYPE MenuBarClick(IDispatch* XPFTool,
                                           VARIANT_BOOL* Cancel) noexcept override;
    HRESULT STDMETHODCALLTYPE MenuBarInitialize(IDispatch* oMenuBar) noexcept override;
    HRESULT STDMETHODCALLTYPE BeforeSave(VARIANT_BOOL* bCancel) noexcept override;
    HRESULT STDMETHODCALLTYPE BeforLoadBillFillData() noexcept override;
    HRESULT STDMETHODCALLTYPE GetRejectQty() noexcept override;
};

// The public property of the strategies, kept by the plug-in.
template <class Itf>
class BillStatusExtMembers : public DualInterface<Itf> {
  public:
    using DualInterface<Itf>::DualInterface;
    HRESULT STDMETHODCALLTYPE get_m_BillStatusExt(LONG* value) noexcept override {
        if (!value) return E_POINTER;
        *value = 0;
        return this->Member([&] { *value = this->m_owner.StatusKeeping().BillStatusExt(); });
    }
    HRESULT STDMETHODCALLTYPE put_m_BillStatusExt(LONG value) noexcept override {
        return this->Member([&] { this->m_owner.StatusKeeping().SetBillStatusExt(value); });
    }
};

class ComRejectMembers final : public BillStatusExtMembers<_CComRejectCO> {
  public:
    using BillStatusExtMembers::BillStatusExtMembers;
    HRESULT STDMETHODCALLTYPE MyCDec(VARIANT pVar, VARIANT* result) noexcept override;
};

class PoRejectMembers final : public BillStatusExtMembers<_CPoRejectCO> {
  public:
    using BillStatusExtMembers::BillStatusExtMembers;
};

// The CreateObjectFn of a class whose object offers Interfaces (default first).
template <class... Interfaces>
HRESULT CreatePluginObject(const ComClass& cls, std::unique_ptr<Plugin> plugin, REFIID iid,
                           void** object) noexcept {
    return Guard(__uuidof(IClassFactory), [&] {
        if (!object) return E_POINTER;
        *object = nullptr;
        auto created = ComPtr<PluginObject>::attach(new PluginObject(cls, std::move(plugin)));
        (created->AddInterface<Interfaces>(), ...);
        return created->QueryInterface(iid, object);
    });
}

}  // namespace velaqm::com

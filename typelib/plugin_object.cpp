#include "typelib/plugin_object.h"

#include "frame/host_error.h"
#include "typelib/com_variant.h"
#include "typelib/host_adapters.h"

namespace velaqm::com {

PluginObject::PluginObject(const ComClass& cls, std::unique_ptr<Plugin> plugin)
    : m_class(cls), m_typeLib(LoadOwnTypeLib()), m_plugin(std::move(plugin)) {}

PluginObject::~PluginObject() = default;

ComPtr<ITypeInfo> PluginObject::TypeInfoOf(REFGUID guid) const {
    ComPtr<ITypeInfo> info;
    Check(m_typeLib->GetTypeInfoOfGuid(guid, info.put()), "GetTypeInfoOfGuid");
    return info;
}

void PluginObject::Show(IDispatch* host) {
    // A class whose plug-in is not built yet accepts the object and ignores it.
    if (!m_plugin) return;
    m_plugin->Show(velaqm::Variant(AdaptHostObject(host)));
}

bool PluginObject::CheckItemUniq() {
    auto* checked = dynamic_cast<ItemCheckPlugin*>(m_plugin.get());
    return checked && checked->CheckItemUniq();
}

IRejectCO& PluginObject::RejectStrategy() const {
    if (auto* strategy = dynamic_cast<IRejectCO*>(m_plugin.get())) return *strategy;
    throw HostError(kErrNoSuchMember, "VelaQMBillEvent",
                    "Object doesn't support this property or method");
}

StatusKeepingStrategy& PluginObject::StatusKeeping() const {
    if (auto* strategy = dynamic_cast<StatusKeepingStrategy*>(m_plugin.get())) return *strategy;
    throw HostError(kErrNoSuchMember, "VelaQMBillEvent",
                    "Object doesn't support this property or method");
}

HRESULT PluginObject::QueryInterface(REFIID iid, void** object) noexcept {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISupportErrorInfo))
        *object = static_cast<ISupportErrorInfo*>(this);
    else if (IsEqualIID(iid, IID_IProvideClassInfo))
        *object = static_cast<IProvideClassInfo*>(this);
    else if (IsEqualIID(iid, IID_IDispatch) && !m_interfaces.empty())
        *object = m_interfaces.front()->Interface();
    for (const auto& part : m_interfaces)
        if (!*object && IsEqualIID(iid, part->Iid())) *object = part->Interface();
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

HRESULT PluginObject::InterfaceSupportsErrorInfo(REFIID iid) noexcept {
    for (const auto& part : m_interfaces)
        if (IsEqualIID(iid, part->Iid())) return S_OK;
    return S_FALSE;
}

HRESULT PluginObject::GetClassInfo(ITypeInfo** info) noexcept {
    if (!info) return E_POINTER;
    *info = nullptr;
    return m_typeLib->GetTypeInfoOfGuid(m_class.clsid, info);
}

HRESULT RejectStrategyMembers::Show(IDispatch* oBillInterface) noexcept {
    return Member([&] { m_owner.Show(oBillInterface); });
}

HRESULT RejectStrategyMembers::SetRequestBillNo() noexcept {
    return Member([&] { m_owner.RejectStrategy().SetRequestBillNo(); });
}

HRESULT RejectStrategyMembers::Dispose() noexcept {
    return Member([&] { m_owner.RejectStrategy().Dispose(); });
}

HRESULT RejectStrategyMembers::MenuBarClick(IDispatch* XPFTool, VARIANT_BOOL* Cancel) noexcept {
    return Member([&] {
        if (!Cancel) return E_POINTER;
        bool cancel = *Cancel != VARIANT_FALSE;
        m_owner.RejectStrategy().MenuBarClick(AdaptHostObjectAs<Tool>(XPFTool), cancel);
        *Cancel = cancel ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT RejectStrategyMembers::MenuBarInitialize(IDispatch* oMenuBar) noexcept {
    return Member(
        [&] { m_owner.RejectStrategy().MenuBarInitialize(AdaptHostObjectAs<MenuBar>(oMenuBar)); });
}

HRESULT RejectStrategyMembers::BeforeSave(VARIANT_BOOL* bCancel) noexcept {
    return Member([&] {
        if (!bCancel) return E_POINTER;
        bool cancel = *bCancel != VARIANT_FALSE;
        m_owner.RejectStrategy().BeforeSave(cancel);
        *bCancel = cancel ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    });
}

HRESULT RejectStrategyMembers::BeforLoadBillFillData() noexcept {
    return Member([&] { m_owner.RejectStrategy().BeforLoadBillFillData(); });
}

HRESULT RejectStrategyMembers::GetRejectQty() noexcept {
    return Member([&] { m_owner.RejectStrategy().GetRejectQty(); });
}

HRESULT ComRejectMembers::MyCDec(VARIANT pVar, VARIANT* result) noexcept {
    return Member([&] {
        if (!result) return E_POINTER;
        VariantInit(result);
        ToVariant(velaqm::Variant(velaqm::MyCDec(FromVariant(pVar)))).detach_to(result);
        return S_OK;
    });
}

}  // namespace velaqm::com

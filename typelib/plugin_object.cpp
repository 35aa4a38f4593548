#include "typelib/plugin_object.h"

#include "frame/convert.h"
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
    return S_OK;
}

HRESULT RejectStrategyMembers::Dispose() noexcept {
    return S_OK;
}

HRESULT RejectStrategyMembers::MenuBarClick(IDispatch*, VARIANT_BOOL*) noexcept {
    return S_OK;
}

HRESULT RejectStrategyMembers::MenuBarInitialize(IDispatch*) noexcept {
    return S_OK;
}

HRESULT RejectStrategyMembers::BeforeSave(VARIANT_BOOL*) noexcept {
    return S_OK;
}

HRESULT RejectStrategyMembers::BeforLoadBillFillData() noexcept {
    return S_OK;
}

HRESULT RejectStrategyMembers::GetRejectQty() noexcept {
    return S_OK;
}

// The common strategy's quantity conversion, here until reject/ has CComRejectCO: 0 for Null
// and for anything that is not numeric, otherwise the exact decimal.
HRESULT ComRejectMembers::MyCDec(VARIANT pVar, VARIANT* result) noexcept {
    return Member([&] {
        if (!result) return E_POINTER;
        VariantInit(result);
        const velaqm::Variant value = FromVariant(pVar);
        const velaqm::Variant converted =
            IsNumeric(value) ? velaqm::Variant(ToDecimal(value)) : velaqm::Variant(0);
        ToVariant(converted).detach_to(result);
        return S_OK;
    });
}

}  // namespace velaqm::com

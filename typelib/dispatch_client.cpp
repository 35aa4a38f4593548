#include "typelib/dispatch_client.h"

#include <ocidl.h>

#include <atomic>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

#include "frame/host_error.h"
#include "frame/text_util.h"
#include "typelib/com_error.h"
#include "typelib/com_variant.h"

namespace velaqm::com {

namespace {

std::atomic<std::size_t> g_resolved{0};

// DISPIDs by type and upper-cased member: the same for every object of a type.
std::map<std::pair<std::string, std::string>, DISPID>& TypeCache() {
    static std::map<std::pair<std::string, std::string>, DISPID> cache;
    return cache;
}

std::string GuidText(const GUID& guid) {
    wchar_t text[64] = {};
    StringFromGUID2(guid, text, 64);
    return Utf8Of(text);
}

// The error a failing Invoke reports, as the host raised it.
[[noreturn]] void ThrowInvokeError(HRESULT hr, EXCEPINFO& info, std::string_view member) {
    if (hr == DISP_E_EXCEPTION) {
        if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
        const Bstr source = Bstr::attach(info.bstrSource);
        const Bstr description = Bstr::attach(info.bstrDescription);
        const Bstr helpFile = Bstr::attach(info.bstrHelpFile);
        const std::int32_t number =
            info.scode != 0 ? ErrNumberOf(info.scode) : static_cast<std::int32_t>(info.wCode);
        throw HostError(number, Utf8Of(source.view()), Utf8Of(description.view()));
    }
    if (hr == DISP_E_MEMBERNOTFOUND || hr == DISP_E_UNKNOWNNAME)
        throw HostError(kErrNoSuchMember, std::string(member),
                        "Object doesn't support this property or method: " + std::string(member));
    throw HostError(ErrNumberOf(hr), std::string(member),
                    "Automation error calling " + std::string(member));
}

std::string NameOf(ITypeInfo& info) {
    Bstr name;
    if (FAILED(info.GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr)))
        return "";
    return Utf8Of(name.view());
}

}  // namespace

std::size_t ResolvedNameCount() {
    return g_resolved.load();
}

DispatchClient::DispatchClient(ComPtr<IDispatch> object) : m_object(std::move(object)) {
    if (!m_object)
        throw HostError(kErrObjectNotSet, "VelaQMBillEvent",
                        "Object variable or With block variable not set");
    UINT count = 0;
    ComPtr<ITypeInfo> info;
    if (SUCCEEDED(m_object->GetTypeInfoCount(&count)) && count > 0 &&
        SUCCEEDED(m_object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put())) && info) {
        TYPEATTR* attributes = nullptr;
        if (SUCCEEDED(info->GetTypeAttr(&attributes)) && attributes) {
            m_typeKey = GuidText(attributes->guid);
            info->ReleaseTypeAttr(attributes);
        }
        m_typeName = NameOf(*info.get());
        // A type without its own GUID cannot share a cache with other types.
        if (m_typeKey == GuidText(GUID_NULL)) m_typeKey.clear();
    }
    // The class's name, as the automation runtime's TypeName reports it when the object
    // describes its class; else the interface's name without its leading underscore.
    if (const auto classInfo = m_object.try_query<IProvideClassInfo>()) {
        ComPtr<ITypeInfo> coclass;
        if (SUCCEEDED(classInfo->GetClassInfo(coclass.put())) && coclass)
            m_typeName = NameOf(*coclass.get());
    }
    if (!m_typeName.empty() && m_typeName.front() == '_') m_typeName.erase(0, 1);
}

DISPID DispatchClient::Resolve(std::string_view member) const {
    for (const auto& [name, id] : m_recent)
        if (EqualsNoCase(name, member)) return id;
    const DISPID id = ResolveShared(member);
    m_recent.emplace_back(std::string(member), id);
    return id;
}

DISPID DispatchClient::ResolveShared(std::string_view member) const {
    const std::string key = UpperAscii(member);
    if (m_typeKey.empty()) {
        if (const auto found = m_ownCache.find(key); found != m_ownCache.end())
            return found->second;
    } else if (const auto found = TypeCache().find({m_typeKey, key}); found != TypeCache().end()) {
        return found->second;
    }
    std::wstring wide = WideOf(member);
    LPOLESTR names[] = {wide.data()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(m_object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        throw HostError(kErrNoSuchMember, std::string(member),
                        "Object doesn't support this property or method: " + std::string(member));
    ++g_resolved;
    (m_typeKey.empty() ? m_ownCache[key] : TypeCache()[{m_typeKey, key}]) = id;
    return id;
}

velaqm::Variant DispatchClient::Invoke(std::string_view member, WORD flags,
                                       std::span<const Arg> args) const {
    const DISPID id = Resolve(member);
    // Automation takes the arguments last to first; a by-reference argument points at a
    // VARIANT of ours that the member may overwrite.
    std::vector<com::Variant> values;
    values.reserve(args.size());
    for (const Arg& arg : args)
        values.push_back(ToVariant(arg.Value()));
    std::vector<VARIANT> passed(args.size());
    for (std::size_t i = 0; i < args.size(); ++i) {
        VARIANT& slot = passed[args.size() - 1 - i];
        VariantInit(&slot);
        if (args[i].Target()) {
            V_VT(&slot) = VT_BYREF | VT_VARIANT;
            V_VARIANTREF(&slot) = const_cast<VARIANT*>(&values[i].get());
        } else {
            slot = values[i].get();  // borrowed: `values` keeps ownership
        }
    }
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{passed.data(), nullptr, static_cast<UINT>(passed.size()), 0};
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    com::Variant result;
    EXCEPINFO info{};
    UINT badArgument = 0;
    const HRESULT hr = m_object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                        result.put(), &info, &badArgument);
    if (FAILED(hr)) ThrowInvokeError(hr, info, member);
    for (std::size_t i = 0; i < args.size(); ++i)
        if (velaqm::Variant* target = args[i].Target()) *target = FromVariant(values[i].get());
    return FromVariant(result.get());
}

velaqm::Variant DispatchClient::Call(std::string_view member,
                                     std::initializer_list<Arg> args) const {
    return Invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {args.begin(), args.size()});
}

velaqm::Variant DispatchClient::Get(std::string_view property,
                                    std::initializer_list<Arg> args) const {
    return Invoke(property, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {args.begin(), args.size()});
}

void DispatchClient::Put(std::string_view property, const velaqm::Variant& value) const {
    const Arg arg(value);
    Invoke(property, value.IsObject() ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, {&arg, 1});
}

void DispatchClient::Put(std::string_view property, const velaqm::Variant& index,
                         const velaqm::Variant& value) const {
    const Arg args[] = {Arg(index), Arg(value)};
    Invoke(property, value.IsObject() ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT, args);
}

}  // namespace velaqm::com

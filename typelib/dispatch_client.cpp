#include "typelib/dispatch_client.h"

#include <ocidl.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "frame/host_error.h"
#include "frame/text_util.h"
#include "typelib/com_error.h"
#include "typelib/com_variant.h"

namespace velaqm::com {

namespace {

std::atomic<std::size_t> g_resolved{0};

// The process's caches are shared by every apartment that loaded the server.
class Lock {
  public:
    explicit Lock(SRWLOCK& lock) : m_lock(lock) { AcquireSRWLockExclusive(&m_lock); }
    ~Lock() { ReleaseSRWLockExclusive(&m_lock); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

  private:
    SRWLOCK& m_lock;
};

struct TypeMember {
    GUID type;
    std::string member;  // upper-cased
};

struct TypeMemberLess {
    bool operator()(const TypeMember& a, const TypeMember& b) const {
        const int type = std::memcmp(&a.type, &b.type, sizeof(GUID));
        return type != 0 ? type < 0 : a.member < b.member;
    }
};

// DISPIDs by type and upper-cased member: the same for every object of a type.
class DispidCache {
  public:
    bool Find(const TypeMember& key, DISPID& id) {
        const Lock lock(m_lock);
        const auto found = m_ids.find(key);
        if (found == m_ids.end()) return false;
        id = found->second;
        return true;
    }
    void Add(TypeMember key, DISPID id) {
        const Lock lock(m_lock);
        m_ids[std::move(key)] = id;
    }

  private:
    SRWLOCK m_lock = SRWLOCK_INIT;
    std::map<TypeMember, DISPID, TypeMemberLess> m_ids;
};

DispidCache& TypeCache() {
    static DispidCache cache;
    return cache;
}

std::string NameOf(ITypeInfo& info) {
    Bstr name;
    if (FAILED(info.GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr)))
        return "";
    return Utf8Of(name.view());
}

// What a client reads of a type: its name, and its GUID when it has one.
struct TypeFacts {
    std::string name;
    GUID guid{};
    bool hasGuid = false;
};

TypeFacts ReadTypeFacts(ITypeInfo& info) {
    TypeFacts facts;
    TYPEATTR* attributes = nullptr;
    if (SUCCEEDED(info.GetTypeAttr(&attributes)) && attributes) {
        facts.guid = attributes->guid;
        facts.hasGuid = true;
        info.ReleaseTypeAttr(attributes);
    }
    facts.name = NameOf(info);
    return facts;
}

// The facts of each ITypeInfo, read once for the process: a host passes a new object with
// every toolbar click, and reading its type each time cost more than delivering the event.
// An entry keeps its ITypeInfo alive, so that the address cannot come back as another type,
// until the server is about to be unloaded.
class TypeFactsCache {
  public:
    void Clear() noexcept {
        std::vector<Entry> entries;
        {
            const Lock lock(m_lock);
            entries.swap(m_entries);
            m_next = 0;
        }
        // Released outside the lock: a Release may call back into the server.
    }

    TypeFacts Of(ITypeInfo& info) {
        {
            const Lock lock(m_lock);
            for (const Entry& entry : m_entries)
                if (entry.info.get() == &info) return entry.facts;
        }
        TypeFacts facts = ReadTypeFacts(info);
        const Lock lock(m_lock);
        Entry entry{ComPtr<ITypeInfo>::copy(&info), facts};
        if (m_entries.size() < kLimit) {
            m_entries.push_back(std::move(entry));
        } else {
            m_entries[m_next] = std::move(entry);
            m_next = (m_next + 1) % kLimit;
        }
        return facts;
    }

  private:
    static constexpr std::size_t kLimit = 64;  // far more types than a host passes around
    struct Entry {
        ComPtr<ITypeInfo> info;
        TypeFacts facts;
    };
    SRWLOCK m_lock = SRWLOCK_INIT;
    std::vector<Entry> m_entries;
    std::size_t m_next = 0;
};

// Never destroyed: nothing may call into another component while the process exits.
TypeFactsCache& TypeFactsOfProcess() {
    static auto* cache = new TypeFactsCache;
    return *cache;
}

TypeFacts FactsOf(ITypeInfo& info) {
    return TypeFactsOfProcess().Of(info);
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

// The arguments of one call as automation takes them, last to first. Each converted value is
// ours and freed at the end; a by-reference argument points the member at it. The usual few
// stay on the stack.
class PassedArgs {
  public:
    explicit PassedArgs(std::span<const Arg> args) : m_count(args.size()) {
        if (m_count > kOnStack) {
            m_heap = std::make_unique<VARIANT[]>(2 * m_count);
            m_owned = m_heap.get();
            m_passed = m_owned + m_count;
        }
        try {
            for (; m_filled < m_count; ++m_filled) {
                VARIANT& owned = m_owned[m_filled];
                ToVariant(args[m_filled].Value()).detach_to(&owned);
                VARIANT& slot = m_passed[m_count - 1 - m_filled];
                if (args[m_filled].Target()) {
                    V_VT(&slot) = VT_BYREF | VT_VARIANT;
                    V_VARIANTREF(&slot) = &owned;
                } else {
                    slot = owned;  // borrowed: `owned` keeps it
                }
            }
        } catch (...) {
            ClearFilled();  // no destructor runs for a constructor that throws
            throw;
        }
    }
    ~PassedArgs() { ClearFilled(); }
    PassedArgs(const PassedArgs&) = delete;
    PassedArgs& operator=(const PassedArgs&) = delete;

    VARIANT* Passed() noexcept { return m_passed; }
    UINT Count() const noexcept { return static_cast<UINT>(m_count); }
    const VARIANT& Owned(std::size_t i) const noexcept { return m_owned[i]; }

  private:
    void ClearFilled() noexcept {
        for (std::size_t i = 0; i < m_filled; ++i)
            ClearVariant(m_owned[i]);
    }

    static constexpr std::size_t kOnStack = 8;
    std::size_t m_count;
    std::size_t m_filled = 0;
    VARIANT m_stack[2 * kOnStack];
    std::unique_ptr<VARIANT[]> m_heap;
    VARIANT* m_owned = m_stack;
    VARIANT* m_passed = m_stack + kOnStack;
};

}  // namespace

std::size_t ResolvedNameCount() {
    return g_resolved.load();
}

void ReleaseHostTypeInfo() noexcept {
    TypeFactsOfProcess().Clear();
}

DispatchClient::DispatchClient(ComPtr<IDispatch> object) : m_object(std::move(object)) {
    if (!m_object)
        throw HostError(kErrObjectNotSet, "VelaQMBillEvent",
                        "Object variable or With block variable not set");
    UINT count = 0;
    ComPtr<ITypeInfo> info;
    if (SUCCEEDED(m_object->GetTypeInfoCount(&count)) && count > 0 &&
        SUCCEEDED(m_object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put())) && info) {
        TypeFacts facts = FactsOf(*info.get());
        // A type without its own GUID cannot share a cache with other types.
        m_sharedType = facts.hasGuid && facts.guid != GUID_NULL;
        m_type = facts.guid;
        m_typeName = std::move(facts.name);
    }
    // The class's name, as the automation runtime's TypeName reports it when the object
    // describes its class; else the interface's name without its leading underscore.
    if (const auto classInfo = m_object.try_query<IProvideClassInfo>()) {
        ComPtr<ITypeInfo> coclass;
        if (SUCCEEDED(classInfo->GetClassInfo(coclass.put())) && coclass)
            m_typeName = FactsOf(*coclass.get()).name;
    }
    if (!m_typeName.empty() && m_typeName.front() == '_') m_typeName.erase(0, 1);
}

inline DISPID DispatchClient::Resolve(std::string_view member) const {
    for (const auto& [name, id] : m_recent)
        if (name == member) return id;
    return ResolveNew(member);
}

// A spelling this client has not used yet: the same member in another letter case needs no
// new lookup.
DISPID DispatchClient::ResolveNew(std::string_view member) const {
    DISPID id = DISPID_UNKNOWN;
    bool known = false;
    for (const auto& [name, cached] : m_recent) {
        if (EqualsNoCase(name, member)) {
            id = cached;
            known = true;
            break;
        }
    }
    if (!known) id = ResolveShared(member);
    m_recent.emplace_back(std::string(member), id);
    return id;
}

DISPID DispatchClient::ResolveShared(std::string_view member) const {
    TypeMember key{m_type, UpperAscii(member)};
    DISPID id = DISPID_UNKNOWN;
    if (!m_sharedType) {
        if (const auto found = m_ownCache.find(key.member); found != m_ownCache.end())
            return found->second;
    } else if (TypeCache().Find(key, id)) {
        return id;
    }
    std::wstring wide = WideOf(member);
    LPOLESTR names[] = {wide.data()};
    if (FAILED(m_object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)))
        throw HostError(kErrNoSuchMember, std::string(member),
                        "Object doesn't support this property or method: " + std::string(member));
    ++g_resolved;
    if (m_sharedType)
        TypeCache().Add(std::move(key), id);
    else
        m_ownCache[std::move(key.member)] = id;
    return id;
}

inline velaqm::Variant DispatchClient::InvokeWith(DISPID id, std::string_view member, WORD flags,
                                                  VARIANT* args, UINT count) const {
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{args, nullptr, count, 0};
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
    const VARIANT& value = result.get();
    // A Long, the commonest result, without the call.
    if (V_VT(&value) == VT_I4) return static_cast<std::int32_t>(V_I4(&value));
    return FromVariant(value);
}

velaqm::Variant DispatchClient::Invoke(std::string_view member, WORD flags,
                                       std::span<const Arg> args) const {
    const DISPID id = Resolve(member);
    // Most calls take no argument: they need no buffer for them, nor its stack.
    if (args.empty()) return InvokeWith(id, member, flags, nullptr, 0);
    return InvokeWithArgs(id, member, flags, args);
}

velaqm::Variant DispatchClient::InvokeWithArgs(DISPID id, std::string_view member, WORD flags,
                                               std::span<const Arg> args) const {
    PassedArgs passed(args);
    velaqm::Variant result = InvokeWith(id, member, flags, passed.Passed(), passed.Count());
    for (std::size_t i = 0; i < args.size(); ++i)
        if (velaqm::Variant* target = args[i].Target()) *target = FromVariant(passed.Owned(i));
    return result;
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

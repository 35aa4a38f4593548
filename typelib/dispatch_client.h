// Late-bound calls on a host object by member name, as a VB client makes them. The DISPID of a
// member is resolved once per (object type, member) and cached for the process; an object
// without type information caches its own. A failing call becomes the HostError of the host's
// number, source and description.
#pragma once

#include <oaidl.h>

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "frame/variant.h"
#include "typelib/com_raii.h"

namespace velaqm::com {

// One argument of a call: by value, or by reference when the member writes it back.
class Arg {
  public:
    Arg(const velaqm::Variant& value) : m_value(&value) {}  // NOLINT(google-explicit-constructor)
    static Arg ByRef(velaqm::Variant& value) { return Arg(value, true); }

    const velaqm::Variant& Value() const { return *m_value; }
    velaqm::Variant* Target() const { return m_target; }

  private:
    Arg(velaqm::Variant& value, bool) : m_value(&value), m_target(&value) {}
    const velaqm::Variant* m_value;
    velaqm::Variant* m_target = nullptr;
};

class DispatchClient {
  public:
    explicit DispatchClient(ComPtr<IDispatch> object);

    // A method call; its result (Empty for a Sub).
    velaqm::Variant Call(std::string_view member, std::initializer_list<Arg> args = {}) const {
        return Invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {args.begin(), args.size()});
    }
    // A property read, with its arguments for an indexed property (Item(key)).
    velaqm::Variant Get(std::string_view property, std::initializer_list<Arg> args = {}) const {
        return Invoke(property, DISPATCH_PROPERTYGET | DISPATCH_METHOD,
                      {args.begin(), args.size()});
    }
    // A property write; an object value is assigned by reference (Set), as VB does.
    void Put(std::string_view property, const velaqm::Variant& value) const;
    // An indexed property write: property(index) = value.
    void Put(std::string_view property, const velaqm::Variant& index,
             const velaqm::Variant& value) const;

    IDispatch* Raw() const { return m_object.get(); }
    // The name of the object's type as its type information gives it ("" without one).
    const std::string& TypeName() const { return m_typeName; }

  private:
    DISPID Resolve(std::string_view member) const;
    DISPID ResolveNew(std::string_view member) const;
    DISPID ResolveShared(std::string_view member) const;
    velaqm::Variant Invoke(std::string_view member, WORD flags, std::span<const Arg> args) const;
    velaqm::Variant InvokeWithArgs(DISPID id, std::string_view member, WORD flags,
                                   std::span<const Arg> args) const;
    velaqm::Variant InvokeWith(DISPID id, std::string_view member, WORD flags, VARIANT* args,
                               UINT count) const;

    ComPtr<IDispatch> m_object;
    GUID m_type{};              // keys the process's DISPID cache when m_sharedType
    bool m_sharedType = false;  // false without type information or for a type without a GUID
    std::string m_typeName;
    mutable std::unordered_map<std::string, DISPID> m_ownCache;  // for untyped objects
    // The members this client called, by the callers' exact spelling, so that the usual call
    // finds its DISPID with a short comparison and no allocation: most calls repeat one.
    mutable std::vector<std::pair<std::string, DISPID>> m_recent;
};

// How many DISPIDs the process resolved through GetIDsOfNames (for the tests of the cache).
std::size_t ResolvedNameCount();

// Gives back the host's type information the process keeps for the type names of host
// objects, when the server is about to be unloaded; the names are read again when needed.
void ReleaseHostTypeInfo() noexcept;

}  // namespace velaqm::com

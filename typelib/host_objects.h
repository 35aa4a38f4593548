// The host's objects seen through the contracts of the plug-ins: each adapter turns a contract
// call into a late-bound call on the host's IDispatch, by the member's own name or, for an
// operation known only by its role, by the name the name table gives it.
#pragma once

#include <oaidl.h>

#include <memory>
#include <string>
#include <typeinfo>

#include "frame/collections.h"
#include "frame/convert.h"
#include "frame/host_bill.h"
#include "frame/host_error.h"
#include "frame/host_services.h"
#include "frame/host_toolbar.h"
#include "typelib/com_raii.h"
#include "typelib/dispatch_client.h"
#include "typelib/name_table.h"

namespace velaqm::com {

// A host object of a type the plug-ins take as it comes; the adapters below take it over when a
// contract asks for more.
class DispatchObject : public Object {
  public:
    DispatchObject(ComPtr<IDispatch> object, const NameTable& names)
        : m_client(std::move(object)), m_names(names) {}
    std::string TypeName() const override { return m_client.TypeName(); }
    // Used as a value contract (a field-info dictionary read out of a host dictionary, a tool
    // out of a vector), the object stands in through that contract's adapter, as VB lets it.
    // Bills and lists are told by their type names when they arrive, never by use.
    ObjectPtr AsContract(const std::type_info& contract) const override;
    const DispatchClient& Client() const { return m_client; }

  private:
    DispatchClient m_client;
    const NameTable& m_names;
};

// Every adapter keeps the client of its host object and a reference to the name table, which
// must outlive it (the process's table does).
class Adapted {
  public:
    Adapted(ComPtr<IDispatch> object, const NameTable& names)
        : m_host(std::move(object)), m_names(names) {}
    // Takes over the client of a host object already read (its type needs no second look).
    Adapted(DispatchClient client, const NameTable& names)
        : m_host(std::move(client)), m_names(names) {}
    IDispatch* HostObject() const { return m_host.Raw(); }

  protected:
    const DispatchClient& Host() const { return m_host; }
    std::string_view Role(RoleName role) const { return m_names.MemberOf(role); }
    const NameTable& Names() const { return m_names; }

  private:
    DispatchClient m_host;
    const NameTable& m_names;
};

// The host's own IDispatch behind an adapted object; null for the library's own objects.
IDispatch* HostDispatchOf(const Object& object);

// The contract object for a host object: an adapter of the kind the object's type names
// (BillEvent, ListEvents), or a DispatchObject.
ObjectPtr AdaptDispatch(ComPtr<IDispatch> object, const NameTable& names);

// The adapter of the contract over a host object, bills and lists included; null for a contract
// no adapter serves.
ObjectPtr AdapterOf(const std::type_info& contract, const DispatchObject& object,
                    const NameTable& names);

// The value as the contract T: a plug-in object of that kind as it is, a host object through
// T's adapter, null for Nothing; HostError 13 ("Type mismatch") for anything else.
template <class T>
std::shared_ptr<T> Expect(const velaqm::Variant& value, const NameTable& names) {
    if (value.IsNothing() || value.IsEmpty()) return nullptr;
    if (auto ready = value.ObjectAs<T>()) return ready;
    if (const auto dispatch = value.ObjectAs<DispatchObject>())
        if (auto adapter = AdapterOf(typeid(T), *dispatch, names))
            return std::static_pointer_cast<T>(std::move(adapter));
    throw HostError(kErrTypeMismatch, "VelaQMBillEvent", "Type mismatch");
}

// The members of a bill template (DataSrv) over the host's object, for the bill's own template
// and for the templates the plug-ins make (VelaClassTpl.DataSrv).
template <class Contract>
class DataSrvAdapterOf : public Contract, public Adapted {
  public:
    using Adapted::Adapted;
    int ClassTypeID() const override {
        return static_cast<int>(WholeNumber(Host().Get("ClassTypeID")));
    }
    velaqm::Variant ClassType(std::string_view key) const override {
        return Host().Get("ClassType", {velaqm::Variant(key)});
    }
    DictionaryPtr ClassType() const override {
        return Expect<Dictionary>(Host().Get("ClassType"), Names());
    }
    VectorPtr ClassTypeEntry() const override {
        return Expect<Vector>(Host().Get("ClassTypeEntry"), Names());
    }
    DictionaryPtr TableInfo() const override {
        return Expect<Dictionary>(Host().Get("TableInfo"), Names());
    }
    velaqm::Variant TableInfo(std::string_view key) const override {
        return Host().Get("TableInfo", {velaqm::Variant(key)});
    }
    velaqm::Variant GetEmptyBill() override { return Host().Call("GetEmptyBill"); }
    DictionaryPtr GetEmptyData(int page) override {
        return Expect<Dictionary>(Host().Call("GetEmptyData", {velaqm::Variant(page)}), Names());
    }
    std::string GetExistBillNo(const velaqm::Variant& billId, std::string& caption) override {
        velaqm::Variant text(caption);
        const velaqm::Variant number = Host().Call("GetExistBillNo", {billId, Arg::ByRef(text)});
        caption = Text(text);
        return Text(number);
    }
};

}  // namespace velaqm::com

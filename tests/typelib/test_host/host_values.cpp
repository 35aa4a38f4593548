#include "host_values.h"

#include "fake_host.h"
#include "script_call.h"

namespace velaqm::testhost {

namespace {

Entries::iterator Find(Entries& entries, std::wstring_view key) {
    for (auto entry = entries.begin(); entry != entries.end(); ++entry)
        if (CompareStringOrdinal(entry->first.data(), static_cast<int>(entry->first.size()),
                                 key.data(), static_cast<int>(key.size()), TRUE) == CSTR_EQUAL)
            return entry;
    return entries.end();
}

com::Variant CopyOf(const VARIANT& value) {
    return com::Variant::copy_ind(value);
}

}  // namespace

com::Variant ObjectValue(IDispatch* object) {
    com::Variant value;
    VARIANT* slot = value.put();
    V_VT(slot) = VT_DISPATCH;
    V_DISPATCH(slot) = ComPtr<IDispatch>::copy(object).detach();
    return value;
}

ComPtr<IDispatch> NewDictionary(Entries initial) {
    return NewDictionary(std::make_shared<Entries>(std::move(initial)));
}

ComPtr<IDispatch> NewDictionary(std::shared_ptr<Entries> entries) {
    auto dictionary = NewScriptObject();
    AddMember(*dictionary, L"Item", [entries](Call& call) {
        const std::wstring key = call.Text(0);
        auto found = Find(*entries, key);
        if (call.Count() == 2) {
            if (found == entries->end())
                entries->emplace_back(key, CopyOf(call.Value(1)));
            else
                found->second = CopyOf(call.Value(1));
        } else if (found != entries->end()) {
            call.Return(found->second.get());
        }
    });
    AddMember(*dictionary, L"Exists", [entries](Call& call) {
        call.Return(Find(*entries, call.Text(0)) != entries->end());
    });
    AddMember(*dictionary, L"Remove", [entries](Call& call) {
        const auto found = Find(*entries, call.Text(0));
        if (found != entries->end()) entries->erase(found);
    });
    AddMember(*dictionary, L"Count",
              [entries](Call& call) { call.Return(static_cast<LONG>(entries->size())); });
    AddMember(*dictionary, L"Clear", [entries](Call&) { entries->clear(); });
    AddMember(*dictionary, L"Keys", [entries](Call& call) {
        std::vector<com::Variant> keys;
        for (const auto& entry : *entries)
            keys.push_back(TextValue(entry.first));
        call.Return(NewVector(std::move(keys)).get());
    });
    return ComPtr<IDispatch>::copy(dictionary.get());
}

ComPtr<IDispatch> NewVector(std::vector<com::Variant> initial) {
    return NewVector(std::make_shared<std::vector<com::Variant>>(std::move(initial)));
}

ComPtr<IDispatch> NewVector(std::shared_ptr<std::vector<com::Variant>> items) {
    auto vector = NewScriptObject();
    AddMember(*vector, L"Item", [items](Call& call) {
        const LONG index = call.Long(0);
        if (index < 1 || index > static_cast<LONG>(items->size()))
            throw ScriptError("vector index out of range");
        auto& item = (*items)[static_cast<std::size_t>(index - 1)];
        if (call.Count() == 2)
            item = CopyOf(call.Value(1));
        else
            call.Return(item.get());
    });
    AddMember(*vector, L"Size",
              [items](Call& call) { call.Return(static_cast<LONG>(items->size())); });
    AddMember(*vector, L"Insert", [items](Call& call) { items->push_back(CopyOf(call.Value(0))); });
    AddMember(*vector, L"Clear", [items](Call&) { items->clear(); });
    return ComPtr<IDispatch>::copy(vector.get());
}

}  // namespace velaqm::testhost

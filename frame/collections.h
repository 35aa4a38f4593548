// The host's keyed value object and list object. Both are shared by reference: a plug-in that
// writes into a field-data dictionary changes what the host sees.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "frame/object.h"
#include "frame/variant.h"

namespace velaqm {

// Text keys compared without regard to letter case; insertion order kept.
class Dictionary : public Object {
  public:
    std::string TypeName() const override { return "Dictionary"; }

    // The value under key; Empty when the key is absent.
    Variant Item(std::string_view key) const;
    // Adds the key or replaces its value (the key keeps its first spelling and position).
    void SetItem(std::string_view key, Variant value);
    bool Exists(std::string_view key) const;
    // Later entries keep their order; an absent key is no error.
    void Remove(std::string_view key);
    void Clear();
    std::size_t Count() const { return m_entries.size(); }

    // Entries in insertion order, as the host enumerates them.
    const std::vector<std::pair<std::string, Variant>>& Entries() const { return m_entries; }

  private:
    static std::string Fold(std::string_view key);
    void Reindex();

    std::vector<std::pair<std::string, Variant>> m_entries;
    std::unordered_map<std::string, std::size_t> m_index;
};

// Indexed from 1; Size is the count.
class Vector : public Object {
  public:
    std::string TypeName() const override { return "Vector"; }

    std::size_t Size() const { return m_items.size(); }
    // Item, SetItem and Remove throw HostError 9 ("Subscript out of range") outside 1..Size.
    const Variant& Item(std::size_t index) const;
    void SetItem(std::size_t index, Variant value);
    // Appends at the end.
    void Insert(Variant value) { m_items.push_back(std::move(value)); }
    // Inserts before position index (1..Size+1; HostError 9 outside).
    void Insert(std::size_t index, Variant value);
    void Remove(std::size_t index);
    void Clear() { m_items.clear(); }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

  private:
    std::vector<Variant> m_items;
};

using DictionaryPtr = std::shared_ptr<Dictionary>;
using VectorPtr = std::shared_ptr<Vector>;

inline DictionaryPtr NewDictionary() {
    return std::make_shared<Dictionary>();
}
inline VectorPtr NewVector() {
    return std::make_shared<Vector>();
}

}  // namespace velaqm

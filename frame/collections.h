// The host's keyed value object and list object. Both are shared by reference: a plug-in that
// writes into a field-data dictionary changes what the host sees. They are interfaces because
// the host's own objects stand behind them on Windows; LocalDictionary and LocalVector are the
// library's own, made by NewDictionary and NewVector.
#pragma once

#include <cstddef>
#include <iterator>
#include <memory>
#include <optional>
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
    virtual Variant Item(std::string_view key) const = 0;
    // Adds the key or replaces its value (the key keeps its first spelling and position).
    virtual void SetItem(std::string_view key, Variant value) = 0;
    virtual bool Exists(std::string_view key) const = 0;
    // Later entries keep their order; an absent key is no error.
    virtual void Remove(std::string_view key) = 0;
    virtual void Clear() = 0;
    virtual std::size_t Count() const = 0;
    // The entries in insertion order, as the host enumerates them (a copy).
    virtual std::vector<std::pair<std::string, Variant>> Entries() const = 0;
};

// Indexed from 1; Size is the count.
class Vector : public Object {
  public:
    std::string TypeName() const override { return "Vector"; }

    virtual std::size_t Size() const = 0;
    // Item, SetItem and Remove throw HostError 9 ("Subscript out of range") outside 1..Size.
    virtual Variant Item(std::size_t index) const = 0;
    virtual void SetItem(std::size_t index, Variant value) = 0;
    // Appends at the end.
    virtual void Insert(Variant value) = 0;
    // Inserts before position index (1..Size+1; HostError 9 outside).
    virtual void Insert(std::size_t index, Variant value) = 0;
    virtual void Remove(std::size_t index) = 0;
    virtual void Clear() = 0;

    // Walks the items from 1 to Size, each read through Item.
    class Iterator {
      public:
        using iterator_category = std::input_iterator_tag;
        using value_type = Variant;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Variant;
        Iterator(const Vector* vector, std::size_t index) : m_vector(vector), m_index(index) {}
        Variant operator*() const { return m_vector->Item(m_index); }
        Iterator& operator++() {
            ++m_index;
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++m_index;
            return before;
        }
        bool operator==(const Iterator& other) const { return m_index == other.m_index; }

      private:
        const Vector* m_vector;
        std::size_t m_index;
    };
    Iterator begin() const { return Iterator(this, 1); }
    Iterator end() const { return Iterator(this, Size() + 1); }
};

class LocalDictionary final : public Dictionary {
  public:
    Variant Item(std::string_view key) const override;
    void SetItem(std::string_view key, Variant value) override;
    bool Exists(std::string_view key) const override;
    void Remove(std::string_view key) override;
    void Clear() override;
    std::size_t Count() const override { return m_entries.size(); }
    std::vector<std::pair<std::string, Variant>> Entries() const override { return m_entries; }

  private:
    // From this many keys on, they are found through an index of their folded forms.
    static constexpr std::size_t kIndexedFrom = 24;
    static std::string Fold(std::string_view key);
    static bool SameKey(std::string_view a, std::string_view b);
    std::optional<std::size_t> Position(std::string_view key) const;
    void Reindex();

    std::vector<std::pair<std::string, Variant>> m_entries;
    std::unordered_map<std::string, std::size_t> m_index;
};

class LocalVector final : public Vector {
  public:
    std::size_t Size() const override { return m_items.size(); }
    Variant Item(std::size_t index) const override;
    void SetItem(std::size_t index, Variant value) override;
    void Insert(Variant value) override { m_items.push_back(std::move(value)); }
    void Insert(std::size_t index, Variant value) override;
    void Remove(std::size_t index) override;
    void Clear() override { m_items.clear(); }

  private:
    std::vector<Variant> m_items;
};

using DictionaryPtr = std::shared_ptr<Dictionary>;
using VectorPtr = std::shared_ptr<Vector>;

inline DictionaryPtr NewDictionary() {
    return std::make_shared<LocalDictionary>();
}
inline VectorPtr NewVector() {
    return std::make_shared<LocalVector>();
}

}  // namespace velaqm

#include "frame/collections.h"

#include <algorithm>

#include "frame/host_error.h"

namespace velaqm {

namespace {

[[noreturn]] void ThrowSubscript() {
    throw HostError(kErrSubscript, "", "Subscript out of range");
}

// ASCII folding only: the host's field keys are ASCII, and other bytes of UTF-8 keys must match
// exactly.
char FoldChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string LocalDictionary::Fold(std::string_view key) {
    std::string folded(key);
    for (char& c : folded)
        c = FoldChar(c);
    return folded;
}

bool LocalDictionary::SameKey(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return FoldChar(x) == FoldChar(y); });
}

void LocalDictionary::Reindex() {
    m_index.clear();
    if (m_entries.size() < kIndexedFrom) return;
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_index.emplace(Fold(m_entries[i].first), i);
}

// A small dictionary (a value's FFLD/FDSP/FFND, a bill row) is searched in order: no index node
// to allocate for each key.
std::optional<std::size_t> LocalDictionary::Position(std::string_view key) const {
    if (!m_index.empty()) {
        const auto found = m_index.find(Fold(key));
        return found == m_index.end() ? std::nullopt : std::optional(found->second);
    }
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (SameKey(m_entries[i].first, key)) return i;
    return std::nullopt;
}

Variant LocalDictionary::Item(std::string_view key) const {
    const auto found = Position(key);
    return found ? m_entries[*found].second : Variant();
}

void LocalDictionary::SetItem(std::string_view key, Variant value) {
    if (const auto found = Position(key)) {
        m_entries[*found].second = std::move(value);
        return;
    }
    m_entries.emplace_back(std::string(key), std::move(value));
    if (!m_index.empty())
        m_index.emplace(Fold(key), m_entries.size() - 1);
    else if (m_entries.size() >= kIndexedFrom)
        Reindex();
}

bool LocalDictionary::Exists(std::string_view key) const {
    return Position(key).has_value();
}

void LocalDictionary::Remove(std::string_view key) {
    const auto found = Position(key);
    if (!found) return;
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(*found));
    Reindex();
}

void LocalDictionary::Clear() {
    m_entries.clear();
    m_index.clear();
}

Variant LocalVector::Item(std::size_t index) const {
    if (index < 1 || index > m_items.size()) ThrowSubscript();
    return m_items[index - 1];
}

void LocalVector::SetItem(std::size_t index, Variant value) {
    if (index < 1 || index > m_items.size()) ThrowSubscript();
    m_items[index - 1] = std::move(value);
}

void LocalVector::Insert(std::size_t index, Variant value) {
    if (index < 1 || index > m_items.size() + 1) ThrowSubscript();
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(index - 1), std::move(value));
}

void LocalVector::Remove(std::size_t index) {
    if (index < 1 || index > m_items.size()) ThrowSubscript();
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(index - 1));
}

}  // namespace velaqm

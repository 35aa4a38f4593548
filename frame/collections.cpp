#include "frame/collections.h"

#include "frame/host_error.h"

namespace velaqm {

namespace {

[[noreturn]] void ThrowSubscript() {
    throw HostError(kErrSubscript, "", "Subscript out of range");
}

}  // namespace

// ASCII folding only: the host's field keys are ASCII, and other bytes of UTF-8 keys must match
// exactly.
std::string LocalDictionary::Fold(std::string_view key) {
    std::string folded(key);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}

void LocalDictionary::Reindex() {
    m_index.clear();
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_index.emplace(Fold(m_entries[i].first), i);
}

Variant LocalDictionary::Item(std::string_view key) const {
    const auto found = m_index.find(Fold(key));
    return found == m_index.end() ? Variant() : m_entries[found->second].second;
}

void LocalDictionary::SetItem(std::string_view key, Variant value) {
    std::string folded = Fold(key);
    // Replacing a value, the common case, allocates no index node.
    if (const auto found = m_index.find(folded); found != m_index.end()) {
        m_entries[found->second].second = std::move(value);
        return;
    }
    m_index.emplace(std::move(folded), m_entries.size());
    m_entries.emplace_back(std::string(key), std::move(value));
}

bool LocalDictionary::Exists(std::string_view key) const {
    return m_index.contains(Fold(key));
}

void LocalDictionary::Remove(std::string_view key) {
    const auto found = m_index.find(Fold(key));
    if (found == m_index.end()) return;
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(found->second));
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

#include "host/transcript.h"

#include <algorithm>

namespace velaqm::host {

std::string_view Transcript::KindName(EntryKind kind) {
    switch (kind) {
        case EntryKind::Message:
            return "message";
        case EntryKind::Tool:
            return "tool";
        case EntryKind::Field:
            return "field";
        case EntryKind::Value:
            return "value";
        case EntryKind::Sql:
            return "sql";
        case EntryKind::Log:
            return "log";
        case EntryKind::Form:
            return "form";
        case EntryKind::Pointer:
            return "pointer";
        case EntryKind::Note:
            return "note";
    }
    return "?";
}

void Transcript::Add(EntryKind kind, std::string text) {
    if (m_echo) *m_echo << "  " << KindName(kind) << ": " << text << '\n';
    m_entries.push_back({kind, std::move(text)});
}

void Transcript::AddMessage(std::string text, int flags, std::string title) {
    // A char, not a literal: GCC 12 -O3 warns falsely (-Wrestrict) on "x" + string&&.
    Add(EntryKind::Message, '[' + std::to_string(flags) + "] " + title + ": " + text);
    m_messages.push_back({std::move(text), flags, std::move(title), false});
}

MessageBoxRecord* Transcript::OldestUnread() {
    auto found = std::find_if(m_messages.begin(), m_messages.end(),
                              [](const MessageBoxRecord& m) { return !m.read; });
    return found == m_messages.end() ? nullptr : &*found;
}

std::size_t Transcript::UnreadCount() const {
    return static_cast<std::size_t>(std::count_if(
        m_messages.begin(), m_messages.end(), [](const MessageBoxRecord& m) { return !m.read; }));
}

}  // namespace velaqm::host

// What a person at the substitute host would have seen: messages with their flags, tool and
// field state changes, values written, SQL the plug-ins issued, log entries. Scenarios read the
// message boxes from it; `--transcript` prints all of it as it happens.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace velaqm::host {

enum class EntryKind { Message, Tool, Field, Value, Sql, Log, Form, Pointer, Note };

struct TranscriptEntry {
    EntryKind kind;
    std::string text;
};

// A message box, or a result list, as the person saw it.
struct MessageBoxRecord {
    std::string text;
    int flags = 0;
    std::string title;
    bool read = false;
};

class Transcript {
  public:
    // Every entry is also written to `echo` as it is added, when set.
    void SetEcho(std::ostream* echo) { m_echo = echo; }

    void Add(EntryKind kind, std::string text);
    void AddMessage(std::string text, int flags, std::string title);

    const std::vector<TranscriptEntry>& Entries() const { return m_entries; }
    std::vector<MessageBoxRecord>& Messages() { return m_messages; }
    // The oldest message box not yet read; null when every one was read.
    MessageBoxRecord* OldestUnread();
    std::size_t UnreadCount() const;

    static std::string_view KindName(EntryKind kind);

  private:
    std::vector<TranscriptEntry> m_entries;
    std::vector<MessageBoxRecord> m_messages;
    std::ostream* m_echo = nullptr;
};

}  // namespace velaqm::host

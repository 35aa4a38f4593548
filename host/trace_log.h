// The host's trace log: one JSON object per line, a "start" and an "end" per traced procedure.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string_view>

namespace velaqm::host {

class TraceLog {
  public:
    // Appends to the file; throws HostError when it cannot be opened.
    explicit TraceLog(const std::filesystem::path& file);

    int Start(std::string_view text);
    void End(int handle, int result);

  private:
    std::ofstream m_out;
    int m_lastHandle = 0;
    std::map<int, std::chrono::steady_clock::time_point> m_started;
};

// The text as a JSON string literal.
std::string JsonString(std::string_view text);

}  // namespace velaqm::host

#include "host/trace_log.h"

#include <cstdio>

#include "frame/host_error.h"

namespace velaqm::host {

std::string JsonString(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                json += "\\\"";
                break;
            case '\\':
                json += "\\\\";
                break;
            case '\n':
                json += "\\n";
                break;
            case '\r':
                json += "\\r";
                break;
            case '\t':
                json += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    json += escaped;
                } else {
                    json += c;
                }
        }
    }
    return json + "\"";
}

TraceLog::TraceLog(const std::filesystem::path& file) : m_out(file, std::ios::app) {
    if (!m_out)
        throw HostError(kErrInvalidCall, "CVLogMsg.Log",
                        "Cannot open the trace log " + file.string());
}

int TraceLog::Start(std::string_view text) {
    const int handle = ++m_lastHandle;
    m_started[handle] = std::chrono::steady_clock::now();
    m_out << "{\"event\":\"start\",\"handle\":" << handle << ",\"text\":" << JsonString(text)
          << "}\n";
    m_out.flush();
    return handle;
}

void TraceLog::End(int handle, int result) {
    long long micros = -1;
    if (const auto started = m_started.find(handle); started != m_started.end()) {
        micros = std::chrono::duration_cast<std::chrono::microseconds>(
                     std::chrono::steady_clock::now() - started->second)
                     .count();
        m_started.erase(started);
    }
    m_out << "{\"event\":\"end\",\"handle\":" << handle << ",\"result\":" << result
          << ",\"microseconds\":" << micros << "}\n";
    m_out.flush();
}

}  // namespace velaqm::host

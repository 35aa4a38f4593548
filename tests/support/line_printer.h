// Test cases printed as one line of printable ASCII (other bytes as \xNN): parameterized tests
// are named after their printed case, and gtest would otherwise dump the bytes of the struct,
// padding and unused string buffers included.
#pragma once

#include <cstdio>
#include <ostream>
#include <string_view>

namespace velaqm::testing {

inline void PrintLine(std::string_view text, std::ostream* out) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            *out << "\\n";
        } else if (c == '\r') {
            *out << "\\r";
        } else if (c == '\\') {
            *out << "\\\\";
        } else if (byte >= 0x20 && byte < 0x7f) {
            *out << c;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            *out << escaped;
        }
    }
}

}  // namespace velaqm::testing

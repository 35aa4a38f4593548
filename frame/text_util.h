// Small text helpers shared by the frame (ASCII case rules, as the host compares keys).
#pragma once

#include <string>
#include <string_view>

namespace velaqm {

// Without the blanks (spaces and tabs) at either end.
std::string_view TrimView(std::string_view text);
std::string Trim(std::string_view text);
std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Replaces every occurrence of `from` in `text`.
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);

}  // namespace velaqm

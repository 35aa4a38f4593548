// Character classes and text helpers shared by the parts of the SQL Server dialect: the
// tokenizer, the splitter and the statement rewriter.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "host/db/db_error.h"

namespace velaqm::host::dialect {

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
// Bytes of multi-byte UTF-8 characters count as letters: names may be Chinese.
inline bool IsWordStart(char c) {
    return IsAsciiLetter(c) || c == '_' || c == '@' || c == '#' ||
           static_cast<unsigned char>(c) >= 0x80;
}
inline bool IsWordChar(char c) {
    return IsWordStart(c) || IsDigit(c) || c == '$';
}
inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

inline std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

inline std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

template <std::size_t N>
inline bool OneOf(std::string_view key, const std::array<std::string_view, N>& set) {
    return std::find(set.begin(), set.end(), key) != set.end();
}

// The body of a quoted token without its quotes, escapes undone.
inline std::string Unquote(std::string_view text) {
    if (text.empty()) return {};
    char open = text.front();
    if (open == 'N' || open == 'n') {
        text.remove_prefix(1);
        open = '\'';
    }
    const char close = open == '[' ? ']' : open;
    std::string out;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        out += text[i];
        if (text[i] == close) ++i;  // a doubled closing quote stands for one
    }
    return out;
}

inline std::string QuoteString(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

// A refusal of the text as a whole (before it is split into statements).
[[noreturn]] inline void RefuseText(std::string_view message, std::string_view sql) {
    ThrowDatabaseError(message, sql);
}

// Index just past a nested /* */ comment that starts at `i`.
std::size_t SkipBlockComment(std::string_view sql, std::size_t i);
// The layout between two tokens with its comments replaced by blanks.
std::string CleanGap(std::string_view gap);

}  // namespace velaqm::host::dialect

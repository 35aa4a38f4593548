// The tokenizer of the SQL Server dialect: T-SQL's lexical rules (names, [brackets], strings
// with N prefix, numbers, nested comments), with source offsets kept for the splitter.
#include <array>
#include <cctype>
#include <utility>

#include "host/db/dialect.h"
#include "host/db/dialect_lexical.h"

namespace velaqm::host {

namespace dialect {

std::size_t SkipBlockComment(std::string_view sql, std::size_t i) {
    int depth = 0;
    while (i < sql.size()) {
        if (sql.compare(i, 2, "/*") == 0) {
            ++depth;
            i += 2;
        } else if (sql.compare(i, 2, "*/") == 0) {
            i += 2;
            if (--depth == 0) return i;
        } else {
            ++i;
        }
    }
    RefuseText("Missing end comment mark '*/'.", sql);
}

namespace {

std::size_t SkipQuoted(std::string_view sql, std::size_t i, char close, std::string_view what) {
    for (++i; i < sql.size(); ++i) {
        if (sql[i] != close) continue;
        if (i + 1 < sql.size() && sql[i + 1] == close) {
            ++i;
            continue;
        }
        return i + 1;
    }
    RefuseText(std::string(what), sql);
}

}  // namespace

std::string CleanGap(std::string_view gap) {
    std::string out;
    for (std::size_t i = 0; i < gap.size();) {
        if (gap.compare(i, 2, "--") == 0) {
            while (i < gap.size() && gap[i] != '\n' && gap[i] != '\r')
                ++i;
        } else if (gap.compare(i, 2, "/*") == 0) {
            i = SkipBlockComment(gap, i);
            out += ' ';
        } else {
            out += gap[i++];
        }
    }
    return out;
}

}  // namespace dialect

using namespace dialect;

namespace {

// Index just past the number at `i`: 0x and hex digits, or digits with a decimal point and an
// exponent.
std::size_t NumberEnd(std::string_view sql, std::size_t i) {
    const std::size_t size = sql.size();
    if (sql.compare(i, 2, "0x") == 0 || sql.compare(i, 2, "0X") == 0) {
        i += 2;
        while (i < size && std::isxdigit(static_cast<unsigned char>(sql[i])))
            ++i;
        return i;
    }
    while (i < size && IsDigit(sql[i]))
        ++i;
    if (i < size && sql[i] == '.') ++i;
    while (i < size && IsDigit(sql[i]))
        ++i;
    if (i < size && (sql[i] == 'e' || sql[i] == 'E')) {
        std::size_t exponent = i + 1;
        if (exponent < size && (sql[exponent] == '+' || sql[exponent] == '-')) ++exponent;
        if (exponent < size && IsDigit(sql[exponent])) {
            i = exponent;
            while (i < size && IsDigit(sql[i]))
                ++i;
        }
    }
    return i;
}

// The kind of the token that starts at `i` and the index just past it.
std::pair<TokenKind, std::size_t> ReadToken(std::string_view sql, std::size_t i) {
    const char c = sql[i];
    const char next = i + 1 < sql.size() ? sql[i + 1] : '\0';
    if ((c == 'N' || c == 'n') && next == '\'')
        return {
            TokenKind::kString,
            SkipQuoted(sql, i + 1, '\'', "Unclosed quotation mark after the character string.")};
    if (c == '\'')
        return {TokenKind::kString,
                SkipQuoted(sql, i, '\'', "Unclosed quotation mark after the character string.")};
    if (c == '"')
        return {TokenKind::kQuotedName,
                SkipQuoted(sql, i, '"', "Unclosed quotation mark before a name.")};
    if (c == '[')
        return {TokenKind::kQuotedName, SkipQuoted(sql, i, ']', "Unclosed bracket after a name.")};
    if (IsDigit(c) || (c == '.' && IsDigit(next))) return {TokenKind::kNumber, NumberEnd(sql, i)};
    if (IsWordStart(c)) {
        std::size_t end = i;
        while (end < sql.size() && IsWordChar(sql[end]))
            ++end;
        return {TokenKind::kWord, end};
    }
    static constexpr std::array<std::string_view, 7> kPairs = {
        "<=", ">=", "<>", "!=", "!<", "!>", "::"};
    return {TokenKind::kPunct, i + (OneOf(sql.substr(i, 2), kPairs) ? 2 : 1)};
}

}  // namespace

std::vector<Token> Tokenize(std::string_view sql) {
    // SQLite ends a statement's text at a NUL: what follows one would silently not run.
    if (sql.find('\0') != std::string_view::npos)
        RefuseText("Incorrect syntax near a NUL character.", sql);
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < sql.size();) {
        if (IsBlank(sql[i])) {
            ++i;
        } else if (sql.compare(i, 2, "--") == 0) {
            while (i < sql.size() && sql[i] != '\n' && sql[i] != '\r')
                ++i;
        } else if (sql.compare(i, 2, "/*") == 0) {
            i = SkipBlockComment(sql, i);
        } else {
            const auto [kind, end] = ReadToken(sql, i);
            tokens.push_back(Token{kind, sql.substr(i, end - i), i});
            i = end;
        }
    }
    return tokens;
}

}  // namespace velaqm::host

// The tokenizer of the SQL Server dialect: T-SQL's lexical rules (names, [brackets], strings
// with N prefix, numbers, nested comments), with source offsets kept for the splitter.
#include <array>
#include <cctype>

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

std::vector<Token> Tokenize(std::string_view sql) {
    // SQLite ends a statement's text at a NUL: what follows one would silently not run.
    if (sql.find('\0') != std::string_view::npos)
        RefuseText("Incorrect syntax near a NUL character.", sql);
    std::vector<Token> tokens;
    std::size_t i = 0;
    const std::size_t n = sql.size();
    while (i < n) {
        const char c = sql[i];
        const char next = i + 1 < n ? sql[i + 1] : '\0';
        if (IsBlank(c)) {
            ++i;
            continue;
        }
        if (c == '-' && next == '-') {
            while (i < n && sql[i] != '\n' && sql[i] != '\r')
                ++i;
            continue;
        }
        if (c == '/' && next == '*') {
            i = SkipBlockComment(sql, i);
            continue;
        }
        const std::size_t start = i;
        TokenKind kind = TokenKind::kPunct;
        if ((c == 'N' || c == 'n') && next == '\'') {
            kind = TokenKind::kString;
            i = SkipQuoted(sql, i + 1, '\'', "Unclosed quotation mark after the character string.");
        } else if (c == '\'') {
            kind = TokenKind::kString;
            i = SkipQuoted(sql, i, '\'', "Unclosed quotation mark after the character string.");
        } else if (c == '"') {
            kind = TokenKind::kQuotedName;
            i = SkipQuoted(sql, i, '"', "Unclosed quotation mark before a name.");
        } else if (c == '[') {
            kind = TokenKind::kQuotedName;
            i = SkipQuoted(sql, i, ']', "Unclosed bracket after a name.");
        } else if (c == '0' && (next == 'x' || next == 'X')) {
            kind = TokenKind::kNumber;
            i += 2;
            while (i < n && std::isxdigit(static_cast<unsigned char>(sql[i])))
                ++i;
        } else if (IsDigit(c) || (c == '.' && IsDigit(next))) {
            kind = TokenKind::kNumber;
            while (i < n && IsDigit(sql[i]))
                ++i;
            if (i < n && sql[i] == '.') ++i;
            while (i < n && IsDigit(sql[i]))
                ++i;
            if (i < n && (sql[i] == 'e' || sql[i] == 'E')) {
                std::size_t e = i + 1;
                if (e < n && (sql[e] == '+' || sql[e] == '-')) ++e;
                if (e < n && IsDigit(sql[e])) {
                    i = e;
                    while (i < n && IsDigit(sql[i]))
                        ++i;
                }
            }
        } else if (IsWordStart(c)) {
            kind = TokenKind::kWord;
            while (i < n && IsWordChar(sql[i]))
                ++i;
        } else {
            static constexpr std::array<std::string_view, 7> kPairs = {
                "<=", ">=", "<>", "!=", "!<", "!>", "::"};
            const std::string_view two = sql.substr(i, 2);
            i += OneOf(two, kPairs) ? 2 : 1;
        }
        tokens.push_back(Token{kind, sql.substr(start, i - start), start});
    }
    return tokens;
}

}  // namespace velaqm::host

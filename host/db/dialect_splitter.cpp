// The splitter of the SQL Server dialect: a batch into statements, at ";" and GO and before
// statement keywords, since the plug-ins' batches have no semicolons.
#include <array>
#include <string>

#include "host/db/dialect.h"
#include "host/db/dialect_lexical.h"

namespace velaqm::host {

using namespace dialect;

namespace {

constexpr std::array<std::string_view, 23> kStatementStarts = {
    "SELECT", "INSERT", "UPDATE",  "DELETE",   "CREATE", "DROP",  "ALTER",    "TRUNCATE",
    "SET",    "EXEC",   "EXECUTE", "DECLARE",  "PRINT",  "IF",    "WHILE",    "RETURN",
    "USE",    "BEGIN",  "COMMIT",  "ROLLBACK", "MERGE",  "GRANT", "RAISERROR"};

// What the splitter has seen of the statement it is in, to tell whether a statement keyword
// at depth 0 continues it.
struct StatementSoFar {
    std::string lead;  // its first keyword
    bool sawSelect = false, sawValues = false, sawSet = false;

    // `key` comes after `prev`; `beforeColumn` when COLUMN follows it (ALTER ... ALTER COLUMN).
    bool Continues(const std::string& key, const std::string& prev, bool beforeColumn) {
        bool continues = false;
        if (key == "SELECT") {
            continues = prev == "UNION" || prev == "ALL" || prev == "EXCEPT" ||
                        prev == "INTERSECT" || (lead == "CREATE" && prev == "AS") ||
                        (lead == "INSERT" && !sawSelect && !sawValues) ||
                        (lead == "WITH" && !sawSelect);
            sawSelect = sawSelect || continues;
        } else if (key == "SET") {
            continues = lead == "UPDATE" && !sawSet;
            sawSet = sawSet || continues;
        } else if (key == "INSERT" || key == "UPDATE" || key == "DELETE") {
            continues = prev == "ON" || (lead == "WITH" && !sawSelect);
            sawSelect = sawSelect || (lead == "WITH");
        } else if (key == "EXEC" || key == "EXECUTE") {
            continues = lead == "INSERT";
        } else if (key == "IF") {
            continues = lead == "DROP" || lead == "CREATE";
        } else if (key == "DROP") {
            continues = lead == "ALTER";
        } else if (key == "ALTER") {
            continues = lead == "ALTER" && beforeColumn;
        }
        return continues;
    }
};

std::string TokenKey(const Token& token) {
    return token.kind == TokenKind::kWord ? Upper(token.text) : std::string(token.text);
}

}  // namespace

// Statement boundaries: ";" and GO at depth 0, and a statement keyword at depth 0 that does
// not continue the statement before it (the SELECT of INSERT ... SELECT, the SET of UPDATE,
// a SELECT after UNION, ...). Statement keywords are never taken as implicit aliases.
std::vector<StatementRange> SplitStatements(const std::vector<Token>& tokens,
                                            std::string_view sql) {
    std::vector<StatementRange> out;
    std::size_t start = 0;
    int depth = 0;
    StatementSoFar current;
    auto close = [&](std::size_t end, std::size_t next) {
        if (end > start) out.push_back({start, end});
        start = next;
        current = {};
    };
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& tok = tokens[i];
        const std::string key = TokenKey(tok);
        if (tok.kind == TokenKind::kPunct) {
            if (key == "(") ++depth;
            if (key == ")" && --depth < 0) RefuseText("Incorrect syntax near ')'.", sql);
            if (key == ";" && depth == 0) close(i, i + 1);
            continue;
        }
        if (tok.kind != TokenKind::kWord || depth != 0) continue;
        if (i == start) {
            current.lead = key;
            if (key == "GO") close(i, i + 1);
            continue;
        }
        if (key == "GO") {
            close(i, i + 1);
            continue;
        }
        if (key == "VALUES") current.sawValues = true;
        const std::string prev = TokenKey(tokens[i - 1]);
        if (!OneOf(key, kStatementStarts) || prev == ".") continue;
        const bool beforeColumn =
            key == "ALTER" && i + 1 < tokens.size() && Upper(tokens[i + 1].text) == "COLUMN";
        if (!current.Continues(key, prev, beforeColumn)) close(i, i);
        if (i == start) current.lead = key;
    }
    close(tokens.size(), tokens.size());
    return out;
}

}  // namespace velaqm::host

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

}  // namespace

// Statement boundaries: ";" and GO at depth 0, and a statement keyword at depth 0 that does
// not continue the statement before it (the SELECT of INSERT ... SELECT, the SET of UPDATE,
// a SELECT after UNION, ...). Statement keywords are never taken as implicit aliases.
std::vector<StatementRange> SplitStatements(const std::vector<Token>& tokens,
                                            std::string_view sql) {
    std::vector<StatementRange> out;
    std::size_t start = 0;
    int depth = 0;
    std::string lead;
    bool sawSelect = false, sawValues = false, sawSet = false;
    auto close = [&](std::size_t end, std::size_t next) {
        if (end > start) out.push_back({start, end});
        start = next;
        lead.clear();
        sawSelect = sawValues = sawSet = false;
    };
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const Token& tok = tokens[i];
        const std::string key =
            tok.kind == TokenKind::kWord ? Upper(tok.text) : std::string(tok.text);
        if (tok.kind == TokenKind::kPunct) {
            if (key == "(") ++depth;
            if (key == ")" && --depth < 0) RefuseText("Incorrect syntax near ')'.", sql);
            if (key == ";" && depth == 0) close(i, i + 1);
            continue;
        }
        if (tok.kind != TokenKind::kWord || depth != 0) continue;
        if (i == start) {
            lead = key;
            if (key == "GO") close(i, i + 1);
            continue;
        }
        const std::string prev = tokens[i - 1].kind == TokenKind::kWord
                                     ? Upper(tokens[i - 1].text)
                                     : std::string(tokens[i - 1].text);
        if (key == "GO") {
            close(i, i + 1);
            continue;
        }
        if (key == "VALUES") sawValues = true;
        if (!OneOf(key, kStatementStarts) || prev == ".") continue;
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
            continues =
                lead == "ALTER" && i + 1 < tokens.size() && Upper(tokens[i + 1].text) == "COLUMN";
        }
        if (!continues) close(i, i);
        if (i == start) lead = key;
    }
    close(tokens.size(), tokens.size());
    return out;
}

}  // namespace velaqm::host

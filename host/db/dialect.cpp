#include "host/db/dialect.h"

#include <array>
#include <utility>

#include "host/db/dialect_lexical.h"
#include "host/db/dialect_rewriter.h"

namespace velaqm::host {

using namespace dialect;

namespace {

// SQL Server's names of the functions the translation calls, for messages.
constexpr std::array<std::pair<std::string_view, std::string_view>, 12> kFunctionNames = {{
    {kGetDateFunction, "GETDATE"},
    {kConvertFunction, "CONVERT"},
    {kLeftFunction, "LEFT"},
    {kRightFunction, "RIGHT"},
    {kDateAddFunction, "DATEADD"},
    {kDateDiffFunction, "DATEDIFF"},
    {kDatePartFunction, "DATEPART"},
    {kAddFunction, "+"},
    {kNonZeroFunction, "/"},
    {kIntegerAverageFunction, "AVG"},
    {"ifnull", "ISNULL"},
    {"last_insert_rowid", "@@IDENTITY"},
}};

std::string SqlServerName(std::string_view function) {
    for (const auto& [internal, name] : kFunctionNames)
        if (Lower(function) == internal) return std::string(name);
    return Upper(function);
}

// The quoted token of "near \"X\": syntax error" or "unrecognized token: \"X\"".
std::string_view QuotedPart(std::string_view message) {
    const auto open = message.find('"');
    const auto close = message.rfind('"');
    if (open == std::string_view::npos || close <= open) return {};
    return message.substr(open + 1, close - open - 1);
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
    return !part.empty() && Upper(text).find(Upper(part)) != std::string::npos;
}

}  // namespace

std::optional<TranslatedStatement> RewriteStatement(const std::vector<Token>& tokens,
                                                    StatementRange range, std::string_view sql,
                                                    const SchemaInfo& schema) {
    if (range.first >= range.last || range.last > tokens.size()) return std::nullopt;
    Toks toks;
    toks.reserve(range.last - range.first);
    for (std::size_t i = range.first; i < range.last; ++i) {
        const Token& tok = tokens[i];
        std::string gap;
        if (i > range.first) {
            const std::size_t prevEnd = tokens[i - 1].offset + tokens[i - 1].text.size();
            gap = CleanGap(sql.substr(prevEnd, tok.offset - prevEnd));
        }
        toks.push_back(MakeTok(tok.kind, std::string(tok.text), std::move(gap)));
    }
    const Token& first = tokens[range.first];
    const Token& last = tokens[range.last - 1];
    const std::string_view source =
        sql.substr(first.offset, last.offset + last.text.size() - first.offset);
    return StatementRewriter(std::move(toks), source, schema).Run();
}

std::vector<TranslatedStatement> TranslateBatch(std::string_view sqlServerText,
                                                const SchemaInfo& schema) {
    const std::vector<Token> tokens = Tokenize(sqlServerText);
    std::vector<TranslatedStatement> out;
    for (const StatementRange& range : SplitStatements(tokens, sqlServerText))
        if (auto statement = RewriteStatement(tokens, range, sqlServerText, schema))
            out.push_back(std::move(*statement));
    return out;
}

std::string DescribeSqliteError(std::string_view sqliteMessage, std::string_view source) {
    const std::string_view message = sqliteMessage;
    if (message.ends_with("syntax error") || message.starts_with("unrecognized token")) {
        const std::string_view near = QuotedPart(message);
        if (ContainsIgnoringCase(source, near))
            return "Incorrect syntax near '" + std::string(near) + "'.";
        return "Incorrect syntax in the statement.";
    }
    if (message == "incomplete input") return "Incorrect syntax near the end of the statement.";
    if (message.starts_with("no such function: "))
        return "SQL Server function not supported by the substitute host: " +
               SqlServerName(message.substr(18));
    if (message.starts_with("wrong number of arguments to function ")) {
        std::string_view name = message.substr(38);
        if (name.ends_with("()")) name.remove_suffix(2);
        return "Wrong number of arguments to the function " + SqlServerName(name) + ".";
    }
    std::string out(message);
    for (const auto& [internal, name] : kFunctionNames) {
        if (!internal.starts_with("tsql_")) continue;
        for (auto at = out.find(internal); at != std::string::npos;
             at = out.find(internal, at + name.size()))
            out.replace(at, internal.size(), name);
    }
    return out;
}

}  // namespace velaqm::host

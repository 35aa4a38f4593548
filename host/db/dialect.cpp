#include "host/db/dialect.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <utility>

#include "host/db/db_error.h"
#include "host/db/sqlite.h"

namespace velaqm::host {

namespace {

// --- Characters and words -----------------------------------------------------------------

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
// Bytes of multi-byte UTF-8 characters count as letters: names may be Chinese.
bool IsWordStart(char c) {
    return IsAsciiLetter(c) || c == '_' || c == '@' || c == '#' ||
           static_cast<unsigned char>(c) >= 0x80;
}
bool IsWordChar(char c) {
    return IsWordStart(c) || IsDigit(c) || c == '$';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

template <std::size_t N>
bool OneOf(std::string_view key, const std::array<std::string_view, N>& set) {
    return std::find(set.begin(), set.end(), key) != set.end();
}

// The body of a quoted token without its quotes, escapes undone.
std::string Unquote(std::string_view text) {
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

std::string QuoteString(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

// --- Tokenizer ----------------------------------------------------------------------------

[[noreturn]] void RefuseText(std::string_view message, std::string_view sql) {
    ThrowDatabaseError(message, sql);
}

// Index just past a nested /* */ comment that starts at `i`.
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

// The layout between two tokens with its comments replaced by blanks.
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

// --- Statement tokens ---------------------------------------------------------------------

struct Tok {
    TokenKind kind;
    std::string text;  // output text
    std::string gap;   // layout before the token
    std::string key;   // upper-case word or bare name; the text itself for other kinds
};
using Toks = std::vector<Tok>;

std::string KeyOf(TokenKind kind, std::string_view text) {
    switch (kind) {
        case TokenKind::kWord:
            return Upper(text);
        case TokenKind::kQuotedName:
            return Upper(Unquote(text));
        default:
            return std::string(text);
    }
}

Tok MakeTok(TokenKind kind, std::string text, std::string gap = " ") {
    std::string key = KeyOf(kind, text);
    return Tok{kind, std::move(text), std::move(gap), std::move(key)};
}
Tok Word(std::string text, std::string gap = " ") {
    return MakeTok(TokenKind::kWord, std::move(text), std::move(gap));
}
Tok Punct(std::string text, std::string gap = "") {
    return MakeTok(TokenKind::kPunct, std::move(text), std::move(gap));
}

constexpr std::array<std::string_view, 9> kComparisons = {"=",  "<>", "!=", "<", ">",
                                                          "<=", ">=", "!<", "!>"};
constexpr std::array<std::string_view, 4> kDateTypes = {"DATETIME", "SMALLDATETIME", "DATE",
                                                        "DATETIME2"};
constexpr std::array<std::string_view, 6> kCharTypes = {"CHAR",     "VARCHAR", "NCHAR",
                                                        "NVARCHAR", "TEXT",    "NTEXT"};
constexpr std::array<std::string_view, 12> kOtherTypes = {
    "INT",     "INTEGER", "BIGINT",     "SMALLINT", "TINYINT", "DECIMAL",
    "NUMERIC", "MONEY",   "SMALLMONEY", "FLOAT",    "REAL",    "BIT"};
// The styles of CONVERT between dates and text that the substitute host knows.
constexpr std::array<int, 9> kStyles = {20, 21, 23, 102, 108, 111, 112, 120, 121};
// Words after which a string cannot be a column alias: it is an operand.
constexpr std::array<std::string_view, 31> kOperandKeywords = {
    "SELECT", "DISTINCT", "ALL",    "AND",  "OR",     "NOT",    "IS",       "IN",
    "LIKE",   "BETWEEN",  "WHEN",   "THEN", "ELSE",   "CASE",   "AS",       "ON",
    "BY",     "WHERE",    "FROM",   "SET",  "VALUES", "EXISTS", "ESCAPE",   "TOP",
    "UNION",  "INTO",     "HAVING", "JOIN", "RETURN", "EXCEPT", "INTERSECT"};
// Clause keywords that tell which clause of a query a token stands in.
constexpr std::array<std::string_view, 17> kClauseKeywords = {
    "SELECT", "FROM", "WHERE", "GROUP",     "HAVING", "ORDER",  "SET",    "VALUES", "INTO",
    "ON",     "JOIN", "UNION", "INTERSECT", "EXCEPT", "UPDATE", "DELETE", "INSERT"};
constexpr std::array<std::string_view, 8> kSessionOptions = {
    "NOCOUNT",    "ANSI_NULLS", "ANSI_WARNINGS", "QUOTED_IDENTIFIER",
    "ARITHABORT", "XACT_ABORT", "ANSI_PADDING",  "CONCAT_NULL_YIELDS_NULL"};
constexpr std::array<std::string_view, 5> kTableHints = {"NOLOCK", "READUNCOMMITTED", "ROWLOCK",
                                                         "UPDLOCK", "HOLDLOCK"};

std::string DatePartName(std::string_view word) {
    const std::string key = Upper(word);
    if (key == "YEAR" || key == "YY" || key == "YYYY") return "year";
    if (key == "MONTH" || key == "MM" || key == "M") return "month";
    if (key == "DAY" || key == "DD" || key == "D") return "day";
    if (key == "HOUR" || key == "HH") return "hour";
    if (key == "MINUTE" || key == "MI" || key == "N") return "minute";
    if (key == "SECOND" || key == "SS" || key == "S") return "second";
    return {};
}

class StatementRewriter {
  public:
    StatementRewriter(Toks tokens, std::string_view source, const SchemaInfo& schema)
        : t(std::move(tokens)), m_source(source), m_schema(schema) {}

    std::optional<TranslatedStatement> Run();

  private:
    [[noreturn]] void Refuse(std::string_view what) const {
        ThrowDatabaseError(
            "SQL Server construct not supported by the substitute host: " + std::string(what),
            m_source);
    }

    std::size_t Size() const { return t.size(); }
    bool W(std::size_t i, std::string_view keyword) const {
        return i < t.size() && t[i].kind == TokenKind::kWord && t[i].key == keyword;
    }
    bool P(std::size_t i, std::string_view punct) const {
        return i < t.size() && t[i].kind == TokenKind::kPunct && t[i].key == punct;
    }
    bool IsName(std::size_t i) const {
        return i < t.size() &&
               (t[i].kind == TokenKind::kWord || t[i].kind == TokenKind::kQuotedName);
    }
    std::size_t Close(std::size_t open) const;
    std::size_t Open(std::size_t close) const;
    // Depth-1 ranges between `open` and its closing parenthesis, split at commas.
    std::vector<std::pair<std::size_t, std::size_t>> Arguments(std::size_t open) const;
    // The next index at the depth of `from` where `stop` holds; Size() when none, or the index
    // of the parenthesis that closes the enclosing group.
    template <class Pred>
    std::size_t FindAtDepth(std::size_t from, Pred stop) const;
    void Replace(std::size_t first, std::size_t last, Toks with);
    Toks Copy(std::size_t first, std::size_t last) const {
        return Toks(t.begin() + static_cast<std::ptrdiff_t>(first),
                    t.begin() + static_cast<std::ptrdiff_t>(last));
    }

    void RefuseUnsupported();
    bool IsDroppableSet() const;
    void RewriteNames();
    void CheckOperators();
    void NormalizeComparedDates();
    void NormalizeLiteral(std::size_t i);
    bool IsDateCall(std::size_t name) const;
    bool DateOperandEndingAt(std::size_t j) const;
    bool DateOperandStartingAt(std::size_t j) const;
    void RewriteTop();
    void RewriteFunctions();
    void RewriteConvert(std::size_t i);
    void RewriteCast(std::size_t i);
    struct TargetType {
        std::string name;
        std::string length = "NULL";
    };
    TargetType ParseType(std::size_t first, std::size_t last) const;
    void DropMax();
    void DropTableHints();
    bool InSelectList(std::size_t i) const;
    bool EndsExpression(std::size_t j) const;
    void RewriteAliases();
    void RewriteCreate();
    void RewriteSelectInto();
    void RewriteInsert();
    void RewriteDelete();
    void RewriteUpdate();
    void NormalizeAssignments(std::size_t set, std::size_t end, std::string_view table);
    std::string Emit() const;

    Toks t;
    std::string_view m_source;
    const SchemaInfo& m_schema;
    TranslatedStatement m_result;
};

std::size_t StatementRewriter::Close(std::size_t open) const {
    int depth = 0;
    for (std::size_t i = open; i < t.size(); ++i) {
        if (P(i, "(")) ++depth;
        if (P(i, ")") && --depth == 0) return i;
    }
    Refuse("unbalanced parentheses");
}

std::size_t StatementRewriter::Open(std::size_t close) const {
    int depth = 0;
    for (std::size_t i = close + 1; i-- > 0;) {
        if (P(i, ")")) ++depth;
        if (P(i, "(") && --depth == 0) return i;
    }
    Refuse("unbalanced parentheses");
}

std::vector<std::pair<std::size_t, std::size_t>> StatementRewriter::Arguments(
    std::size_t open) const {
    std::vector<std::pair<std::size_t, std::size_t>> args;
    const std::size_t close = Close(open);
    std::size_t start = open + 1;
    int depth = 0;
    for (std::size_t i = open + 1; i < close; ++i) {
        if (P(i, "(")) ++depth;
        if (P(i, ")")) --depth;
        if (depth == 0 && P(i, ",")) {
            args.emplace_back(start, i);
            start = i + 1;
        }
    }
    if (start < close || !args.empty()) args.emplace_back(start, close);
    return args;
}

template <class Pred>
std::size_t StatementRewriter::FindAtDepth(std::size_t from, Pred stop) const {
    int depth = 0;
    for (std::size_t i = from; i < t.size(); ++i) {
        if (P(i, "(")) {
            ++depth;
        } else if (P(i, ")")) {
            if (depth == 0) return i;
            --depth;
        } else if (depth == 0 && stop(i)) {
            return i;
        }
    }
    return t.size();
}

void StatementRewriter::Replace(std::size_t first, std::size_t last, Toks with) {
    if (!with.empty() && first < t.size()) with.front().gap = t[first].gap;
    t.erase(t.begin() + static_cast<std::ptrdiff_t>(first),
            t.begin() + static_cast<std::ptrdiff_t>(last));
    t.insert(t.begin() + static_cast<std::ptrdiff_t>(first), with.begin(), with.end());
}

std::string StatementRewriter::Emit() const {
    std::string out;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (i > 0) out += t[i].gap;
        out += t[i].text;
    }
    return out;
}

// --- Refusals -----------------------------------------------------------------------------

void StatementRewriter::RefuseUnsupported() {
    static constexpr std::array<std::string_view, 15> kProcedural = {
        "EXEC",  "EXECUTE", "DECLARE",  "PRINT", "IF",    "WHILE", "RETURN",   "USE",
        "BEGIN", "COMMIT",  "ROLLBACK", "MERGE", "GRANT", "GOTO",  "RAISERROR"};
    if (t[0].kind == TokenKind::kWord && OneOf(t[0].key, kProcedural))
        Refuse(t[0].key + " (procedural T-SQL, stored procedures and transactions)");
    for (std::size_t i = 0; i < t.size(); ++i) {
        const Tok& k = t[i];
        if (k.kind == TokenKind::kNumber && k.text.size() > 1 &&
            (k.text[1] == 'x' || k.text[1] == 'X'))
            Refuse("binary literal " + k.text);
        if (k.kind == TokenKind::kPunct && k.text == "?") Refuse("parameter marker ?");
        if (k.kind != TokenKind::kWord) continue;
        if (k.key == "EXEC" || k.key == "EXECUTE") Refuse("EXEC");
        if (k.key == "APPLY" || k.key == "PIVOT" || k.key == "UNPIVOT") Refuse(k.key);
        if ((k.key == "IDENTITY" || k.key == "OPTION") && P(i + 1, "(")) Refuse(k.key + "(...)");
        if (k.key == "FOR" && (W(i + 1, "XML") || W(i + 1, "JSON") || W(i + 1, "BROWSE")))
            Refuse("FOR " + t[i + 1].key);
    }
}

bool StatementRewriter::IsDroppableSet() const {
    return t.size() == 3 && t[1].kind == TokenKind::kWord && OneOf(t[1].key, kSessionOptions) &&
           (W(2, "ON") || W(2, "OFF"));
}

// --- Names and literals -------------------------------------------------------------------

void StatementRewriter::RewriteNames() {
    for (std::size_t i = 0; i < t.size(); ++i) {
        Tok& k = t[i];
        if (k.kind == TokenKind::kQuotedName && k.text.front() == '[') {
            k.text = QuoteName(Unquote(k.text));
        } else if (k.kind == TokenKind::kString && k.text.front() != '\'') {
            k.text.erase(0, 1);  // N'...': SQLite strings are Unicode already
        } else if (k.kind == TokenKind::kWord && k.text.front() == '#') {
            k.text = QuoteName(k.text);
        } else if (k.kind == TokenKind::kWord && k.text.front() == '@') {
            if (k.key == "@@IDENTITY") {
                Replace(i, i + 1, {Word("last_insert_rowid"), Punct("("), Punct(")")});
            } else if (k.key == "@@ROWCOUNT") {
                Replace(i, i + 1, {Word("changes"), Punct("("), Punct(")")});
            } else {
                Refuse("variable " + k.text);
            }
        }
    }
    // dbo.Table: the one schema there is.
    for (std::size_t i = 0; i + 2 < t.size(); ++i)
        if (IsName(i) && t[i].key == "DBO" && P(i + 1, ".") && IsName(i + 2) && !P(i - 1, ".")) {
            std::string gap = t[i].gap;
            t.erase(t.begin() + static_cast<std::ptrdiff_t>(i),
                    t.begin() + static_cast<std::ptrdiff_t>(i + 2));
            t[i].gap = gap;
        }
}

void StatementRewriter::CheckOperators() {
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (P(i, "+") && ((i > 0 && t[i - 1].kind == TokenKind::kString) ||
                          (i + 1 < t.size() && t[i + 1].kind == TokenKind::kString)))
            Refuse("string concatenation with + (SQLite's + adds numbers)");
        if (W(i, "LIKE") && i + 1 < t.size() && t[i + 1].kind == TokenKind::kString &&
            t[i + 1].text.find('[') != std::string::npos)
            Refuse("LIKE pattern with [ ] character classes");
        if (P(i, "!<")) t[i] = Punct(">=", t[i].gap);
        if (P(i, "!>")) t[i] = Punct("<=", t[i].gap);
    }
}

void StatementRewriter::NormalizeLiteral(std::size_t i) {
    if (auto date = ParseSqlDate(Unquote(t[i].text)))
        t[i].text = QuoteString(date->ToStorageString());
}

bool StatementRewriter::IsDateCall(std::size_t name) const {
    if (!P(name + 1, "(") || t[name].kind != TokenKind::kWord) return false;
    const std::string& key = t[name].key;
    if (key == "GETDATE" || key == "DATEADD") return true;
    if (key == "CONVERT")
        return W(name + 2, "DATETIME") || W(name + 2, "SMALLDATETIME") || W(name + 2, "DATE") ||
               W(name + 2, "DATETIME2");
    if (key == "CAST") {
        const std::size_t close = Close(name + 1);
        for (std::size_t i = close; i > name + 1; --i)
            if (W(i, "AS"))
                return W(i + 1, "DATETIME") || W(i + 1, "SMALLDATETIME") || W(i + 1, "DATE") ||
                       W(i + 1, "DATETIME2");
    }
    return false;
}

bool StatementRewriter::DateOperandEndingAt(std::size_t j) const {
    if (j >= t.size()) return false;
    if (W(j, "CURRENT_TIMESTAMP")) return true;
    if (P(j, ")")) {
        const std::size_t open = Open(j);
        return open > 0 && IsDateCall(open - 1);
    }
    return IsName(j) && m_schema.IsDateColumnName(t[j].key);
}

bool StatementRewriter::DateOperandStartingAt(std::size_t j) const {
    if (j >= t.size()) return false;
    if (W(j, "CURRENT_TIMESTAMP")) return true;
    if (P(j + 1, "(")) return IsDateCall(j);
    if (!IsName(j)) return false;
    std::size_t k = j;
    while (P(k + 1, ".") && IsName(k + 2))
        k += 2;
    return !P(k + 1, "(") && m_schema.IsDateColumnName(t[k].key);
}

void StatementRewriter::NormalizeComparedDates() {
    auto comparison = [&](std::size_t i) {
        return i < t.size() && t[i].kind == TokenKind::kPunct && OneOf(t[i].key, kComparisons);
    };
    auto beforeBetween = [&](std::size_t between) {
        std::size_t x = between - 1;
        if (W(x, "NOT")) --x;
        return between > 0 && DateOperandEndingAt(x);
    };
    for (std::size_t i = 1; i < t.size(); ++i) {
        if (t[i].kind != TokenKind::kString) continue;
        bool date = (i >= 2 && comparison(i - 1) && DateOperandEndingAt(i - 2)) ||
                    (comparison(i + 1) && DateOperandStartingAt(i + 2)) ||
                    (W(i + 1, "BETWEEN") && DateOperandStartingAt(i + 2)) ||
                    (W(i - 1, "BETWEEN") && beforeBetween(i - 1));
        if (!date && W(i - 1, "AND")) {
            // The upper bound of BETWEEN: back over the lower bound to the BETWEEN.
            static constexpr std::array<std::string_view, 11> kStops = {
                "AND",  "OR",     "WHERE", "ON",     "WHEN", "THEN",
                "ELSE", "SELECT", "SET",   "HAVING", "NOT"};
            for (std::size_t k = i - 1; k-- > 0;) {
                if (P(k, ")")) {
                    k = Open(k);
                    continue;
                }
                if (W(k, "BETWEEN")) {
                    date = beforeBetween(k);
                    break;
                }
                if (P(k, "(") || P(k, ",") ||
                    (t[k].kind == TokenKind::kWord && OneOf(t[k].key, kStops)))
                    break;
            }
        }
        if (date) NormalizeLiteral(i);
    }
}

// --- TOP ----------------------------------------------------------------------------------

void StatementRewriter::RewriteTop() {
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (!W(i, "TOP")) continue;
        std::size_t select = i - 1;
        if (W(select, "ALL") || W(select, "DISTINCT")) --select;
        if (i == 0 || !W(select, "SELECT")) Refuse("TOP outside a SELECT");
        Toks count;
        std::size_t end = 0;
        if (P(i + 1, "(")) {
            end = Close(i + 1) + 1;
            count = Copy(i + 1, end);
        } else if (i + 1 < t.size() && t[i + 1].kind == TokenKind::kNumber) {
            end = i + 2;
            count = Copy(i + 1, end);
        } else {
            Refuse("TOP without a count");
        }
        if (W(end, "PERCENT")) Refuse("TOP ... PERCENT");
        if (W(end, "WITH") && W(end + 1, "TIES")) Refuse("TOP ... WITH TIES");
        const std::size_t stop = FindAtDepth(end, [&](std::size_t k) {
            if (W(k, "UNION") || W(k, "EXCEPT") || W(k, "INTERSECT"))
                Refuse("TOP in a query combined with " + t[k].key);
            return false;
        });
        count.front().gap = " ";
        count.insert(count.begin(), Word("LIMIT"));
        t.insert(t.begin() + static_cast<std::ptrdiff_t>(stop), count.begin(), count.end());
        const std::string gap = t[i].gap;
        t.erase(t.begin() + static_cast<std::ptrdiff_t>(i),
                t.begin() + static_cast<std::ptrdiff_t>(end));
        if (i < t.size() && t[i].gap.empty()) t[i].gap = gap;
        --i;
    }
}

// --- Functions ----------------------------------------------------------------------------

StatementRewriter::TargetType StatementRewriter::ParseType(std::size_t first,
                                                           std::size_t last) const {
    if (first >= last || t[first].kind != TokenKind::kWord) Refuse("a conversion without a type");
    TargetType target{t[first].key};
    const bool isChar = OneOf(target.name, kCharTypes);
    const bool isDecimal = target.name == "DECIMAL" || target.name == "NUMERIC";
    if (!isChar && !OneOf(target.name, kDateTypes) && !OneOf(target.name, kOtherTypes))
        Refuse("conversion to " + t[first].text);
    if (isChar) target.length = "30";
    if (isDecimal) target.length = "0";
    if (target.name == "MONEY" || target.name == "SMALLMONEY") target.length = "4";
    if (first + 1 == last) return target;
    if (!P(first + 1, "(") || Close(first + 1) + 1 != last) Refuse("type " + t[first].text);
    const auto args = Arguments(first + 1);
    if ((isChar || isDecimal) && args.empty()) Refuse("type " + t[first].text + " with no length");
    auto number = [&](std::pair<std::size_t, std::size_t> arg) {
        if (arg.second != arg.first + 1 || t[arg.first].kind != TokenKind::kNumber)
            Refuse("type " + t[first].text + " with that length");
        return t[arg.first].text;
    };
    if (isChar) {
        target.length =
            args.size() == 1 && W(args[0].first, "MAX") && args[0].second == args[0].first + 1
                ? "NULL"
                : number(args.at(0));
    } else if (isDecimal) {
        target.length = args.size() == 2 ? number(args[1]) : "0";
        number(args.at(0));
    }
    return target;
}

void StatementRewriter::RewriteConvert(std::size_t i) {
    const std::size_t close = Close(i + 1);
    const auto args = Arguments(i + 1);
    if (args.size() < 2 || args.size() > 3)
        Refuse("CONVERT with " + std::to_string(args.size()) + " arguments");
    const TargetType target = ParseType(args[0].first, args[0].second);
    std::string style = "NULL";
    if (args.size() == 3) {
        const auto [first, last] = args[2];
        if (last != first + 1 || t[first].kind != TokenKind::kNumber)
            Refuse("CONVERT with a style that is not a number");
        const std::string& text = t[first].text;
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() ||
            std::find(kStyles.begin(), kStyles.end(), value) == kStyles.end())
            Refuse("CONVERT style " + text);
        style = t[first].text;
    }
    Toks out{Word(std::string(kConvertFunction)),
             Punct("("),
             MakeTok(TokenKind::kString, QuoteString(target.name), ""),
             Punct(","),
             MakeTok(TokenKind::kNumber, target.length, " "),
             Punct(",")};
    Toks expr = Copy(args[1].first, args[1].second);
    if (expr.empty()) Refuse("CONVERT of nothing");
    if (expr.front().gap.empty()) expr.front().gap = " ";
    out.insert(out.end(), expr.begin(), expr.end());
    out.push_back(Punct(","));
    out.push_back(MakeTok(TokenKind::kNumber, style, " "));
    out.push_back(Punct(")"));
    Replace(i, close + 1, std::move(out));
}

void StatementRewriter::RewriteCast(std::size_t i) {
    const std::size_t close = Close(i + 1);
    std::size_t as = 0;
    int depth = 0;
    for (std::size_t k = i + 2; k < close; ++k) {
        if (P(k, "(")) ++depth;
        if (P(k, ")")) --depth;
        if (depth == 0 && W(k, "AS")) as = k;
    }
    if (as == 0) Refuse("CAST without AS");
    const TargetType target = ParseType(as + 1, close);
    Toks out{Word(std::string(kConvertFunction)),
             Punct("("),
             MakeTok(TokenKind::kString, QuoteString(target.name), ""),
             Punct(","),
             MakeTok(TokenKind::kNumber, target.length, " "),
             Punct(",")};
    Toks expr = Copy(i + 2, as);
    if (expr.empty()) Refuse("CAST of nothing");
    expr.front().gap = " ";
    out.insert(out.end(), expr.begin(), expr.end());
    out.push_back(Punct(","));
    out.push_back(MakeTok(TokenKind::kNumber, "NULL", " "));
    out.push_back(Punct(")"));
    Replace(i, close + 1, std::move(out));
}

void StatementRewriter::RewriteFunctions() {
    // Backwards, so that a call inside another's arguments is rewritten first.
    for (std::size_t i = t.size(); i-- > 0;) {
        if (t[i].kind != TokenKind::kWord) continue;
        const std::string key = t[i].key;
        const bool call = P(i + 1, "(");
        if (key == "ISNULL") {
            if (!call) Refuse("ISNULL without arguments");
            t[i].text = "ifnull";
        } else if (key == "GETDATE" && call) {
            if (!P(i + 2, ")")) Refuse("GETDATE with arguments");
            t[i].text = kGetDateFunction;
        } else if (key == "CURRENT_TIMESTAMP") {
            Replace(i, i + 1, {Word(std::string(kGetDateFunction)), Punct("("), Punct(")")});
        } else if (key == "CONVERT" && call) {
            RewriteConvert(i);
        } else if (key == "CAST" && call) {
            RewriteCast(i);
        } else if ((key == "LEFT" || key == "RIGHT") && call) {
            t[i].text = key == "LEFT" ? kLeftFunction : kRightFunction;
        } else if ((key == "DATEADD" || key == "DATEDIFF") && call) {
            const auto args = Arguments(i + 1);
            if (args.size() != 3 || args[0].second != args[0].first + 1)
                Refuse(key + " with those arguments");
            const std::string part = DatePartName(t[args[0].first].text);
            if (part.empty()) Refuse(key + " of " + t[args[0].first].text);
            t[args[0].first] = MakeTok(TokenKind::kString, QuoteString(part), t[args[0].first].gap);
            t[i].text = key == "DATEADD" ? kDateAddFunction : kDateDiffFunction;
        }
    }
}

void StatementRewriter::DropMax() {
    for (std::size_t i = 0; i + 2 < t.size(); ++i)
        if (P(i, "(") && W(i + 1, "MAX") && P(i + 2, ")"))
            t.erase(t.begin() + static_cast<std::ptrdiff_t>(i),
                    t.begin() + static_cast<std::ptrdiff_t>(i + 3));
}

// Locking hints mean nothing to a single-connection SQLite database.
void StatementRewriter::DropTableHints() {
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (!W(i, "WITH") || !P(i + 1, "(")) continue;
        const std::size_t close = Close(i + 1);
        bool hints = close > i + 2;
        for (std::size_t k = i + 2; k < close && hints; ++k)
            hints = P(k, ",") || (t[k].kind == TokenKind::kWord && OneOf(t[k].key, kTableHints));
        if (hints)
            t.erase(t.begin() + static_cast<std::ptrdiff_t>(i),
                    t.begin() + static_cast<std::ptrdiff_t>(close + 1));
    }
}

// --- Column aliases -----------------------------------------------------------------------

bool StatementRewriter::InSelectList(std::size_t i) const {
    for (std::size_t k = i; k-- > 0;) {
        if (P(k, ")")) {
            k = Open(k);
            continue;
        }
        if (P(k, "(")) return false;
        if (t[k].kind == TokenKind::kWord && OneOf(t[k].key, kClauseKeywords))
            return t[k].key == "SELECT";
    }
    return false;
}

bool StatementRewriter::EndsExpression(std::size_t j) const {
    switch (t[j].kind) {
        case TokenKind::kQuotedName:
        case TokenKind::kNumber:
        case TokenKind::kString:
            return true;
        case TokenKind::kPunct:
            return t[j].key == ")";
        case TokenKind::kWord:
            return !OneOf(t[j].key, kOperandKeywords);
    }
    return false;
}

void StatementRewriter::RewriteAliases() {
    auto endsItem = [&](std::size_t j) {
        return j >= t.size() || P(j, ",") || P(j, ")") || W(j, "FROM") || W(j, "INTO") ||
               W(j, "UNION") || W(j, "EXCEPT") || W(j, "INTERSECT") || W(j, "WHERE") ||
               W(j, "ORDER") || W(j, "GROUP");
    };
    for (std::size_t i = 1; i < t.size(); ++i) {
        // alias = expression, and 'alias' = expression, at the start of a select item
        const bool itemStart =
            P(i - 1, ",") || W(i - 1, "SELECT") || W(i - 1, "DISTINCT") || W(i - 1, "ALL");
        if (itemStart && P(i + 1, "=") &&
            (t[i].kind == TokenKind::kString || t[i].kind == TokenKind::kQuotedName ||
             (t[i].kind == TokenKind::kWord && !OneOf(t[i].key, kOperandKeywords))) &&
            InSelectList(i)) {
            const std::string name = t[i].kind == TokenKind::kWord ? t[i].text : Unquote(t[i].text);
            const std::size_t end = FindAtDepth(i + 2, endsItem);
            t.insert(t.begin() + static_cast<std::ptrdiff_t>(end),
                     {Word("AS"), MakeTok(TokenKind::kQuotedName, QuoteName(name))});
            const std::string gap = t[i].gap;
            t.erase(t.begin() + static_cast<std::ptrdiff_t>(i),
                    t.begin() + static_cast<std::ptrdiff_t>(i + 2));
            t[i].gap = gap;
            continue;
        }
        if (t[i].kind != TokenKind::kString || !InSelectList(i)) continue;
        if (W(i - 1, "AS")) {
            t[i] = MakeTok(TokenKind::kQuotedName, QuoteName(Unquote(t[i].text)), t[i].gap);
        } else if (EndsExpression(i - 1) && !itemStart && endsItem(i + 1)) {
            const std::string gap = t[i].gap.empty() ? " " : t[i].gap;
            t[i] = MakeTok(TokenKind::kQuotedName, QuoteName(Unquote(t[i].text)), " ");
            t.insert(t.begin() + static_cast<std::ptrdiff_t>(i), Word("AS", gap));
            ++i;
        }
    }
}

// --- Statements ---------------------------------------------------------------------------

void StatementRewriter::RewriteCreate() {
    const bool table = W(1, "TABLE");
    if (table && IsName(2) && t[2].key.front() == '#') {
        m_result.createsTempTable = Unquote(t[2].text);
        t.insert(t.begin() + 1, Word("TEMP"));
    } else if (!W(1, "TEMP") && !W(1, "TEMPORARY")) {
        m_result.changesSchema = true;
    }
    for (const Tok& k : t)
        if (k.kind == TokenKind::kWord && k.text.starts_with("tsql_"))
            Refuse("SQL Server functions in a table definition");
}

void StatementRewriter::RewriteSelectInto() {
    const std::size_t into = FindAtDepth(1, [&](std::size_t k) { return W(k, "INTO"); });
    if (!W(into, "INTO")) return;
    std::size_t last = into + 1;
    if (!IsName(last)) Refuse("SELECT ... INTO without a table");
    while (P(last + 1, ".") && IsName(last + 2))
        last += 2;
    Toks name = Copy(into + 1, last + 1);
    const bool temp = t[into + 1].key.front() == '#';
    if (temp)
        m_result.createsTempTable = Unquote(t[into + 1].text);
    else
        m_result.changesSchema = true;
    t.erase(t.begin() + static_cast<std::ptrdiff_t>(into),
            t.begin() + static_cast<std::ptrdiff_t>(last + 1));
    Toks head{Word("CREATE", "")};
    if (temp) head.push_back(Word("TEMP"));
    head.push_back(Word("TABLE"));
    name.front().gap = " ";
    head.insert(head.end(), name.begin(), name.end());
    head.push_back(Word("AS"));
    t.front().gap = " ";
    t.insert(t.begin(), head.begin(), head.end());
}

void StatementRewriter::RewriteInsert() {
    if (!W(1, "INTO")) t.insert(t.begin() + 1, Word("INTO"));
    std::size_t k = 2;
    if (!IsName(k)) return;
    while (P(k + 1, ".") && IsName(k + 2))
        k += 2;
    const std::string table = t[k].key;
    std::vector<std::string> columns;
    std::size_t after = k + 1;
    if (P(after, "(")) {
        for (const auto& [first, last] : Arguments(after))
            columns.push_back(last == first + 1 && IsName(first) ? t[first].key : std::string());
        after = Close(after) + 1;
    } else {
        columns = m_schema.Columns(table);
    }
    if (!W(after, "VALUES")) return;
    for (std::size_t open = after + 1; P(open, "(");) {
        const auto values = Arguments(open);
        for (std::size_t v = 0; v < values.size() && v < columns.size(); ++v)
            if (values[v].second == values[v].first + 1 &&
                t[values[v].first].kind == TokenKind::kString &&
                m_schema.IsDateColumn(table, columns[v]))
                NormalizeLiteral(values[v].first);
        open = Close(open) + 1;
        if (!P(open, ",")) break;
        ++open;
    }
}

void StatementRewriter::RewriteDelete() {
    if (W(1, "TOP")) Refuse("DELETE TOP");
    const std::size_t from = W(1, "FROM") ? 2 : 1;
    const std::size_t second = FindAtDepth(from, [&](std::size_t k) { return W(k, "FROM"); });
    if (second < t.size() && W(second, "FROM")) Refuse("DELETE with a joined FROM clause");
    if (from == 1) t.insert(t.begin() + 1, Word("FROM"));
}

void StatementRewriter::NormalizeAssignments(std::size_t set, std::size_t end,
                                             std::string_view table) {
    std::size_t start = set + 1;
    while (start < end) {
        std::size_t stop = FindAtDepth(start, [&](std::size_t k) { return P(k, ","); });
        stop = std::min(stop, end);
        std::size_t column = start;
        while (P(column + 1, ".") && IsName(column + 2))
            column += 2;
        if (IsName(column) && P(column + 1, "=") && stop == column + 3 &&
            t[column + 2].kind == TokenKind::kString && m_schema.IsDateColumn(table, t[column].key))
            NormalizeLiteral(column + 2);
        start = stop + 1;
    }
}

// UPDATE alias SET ... FROM Table alias JOIN ... becomes SQLite's UPDATE Table AS alias SET ...
// FROM <the other tables> WHERE <the join conditions> AND <the condition>: SQLite's FROM may
// not repeat the target, its ON clauses cannot see the target, and its SET targets are bare.
void StatementRewriter::RewriteUpdate() {
    if (W(1, "TOP")) Refuse("UPDATE TOP");
    if (!IsName(1)) return;
    std::size_t targetEnd = 1;
    while (P(targetEnd + 1, ".") && IsName(targetEnd + 2))
        targetEnd += 2;
    const std::string target = t[targetEnd].key;
    const std::size_t set = targetEnd + 1;
    if (!W(set, "SET")) return;
    const std::size_t from = FindAtDepth(set + 1, [&](std::size_t k) { return W(k, "FROM"); });
    const std::size_t where = FindAtDepth(set + 1, [&](std::size_t k) { return W(k, "WHERE"); });
    if (from >= t.size() || !W(from, "FROM")) {
        NormalizeAssignments(set, std::min(where, t.size()), target);
        return;
    }

    struct Item {
        std::size_t first, last;   // the table (or derived table) and its alias
        std::string table, alias;  // keys
        std::string join;          // "" for the first, "," or INNER, LEFT, ...
        std::size_t onFirst = 0, onLast = 0;
    };
    std::vector<Item> items;
    const std::size_t fromEnd = where;
    std::size_t k = from + 1;
    std::string join;
    while (k < fromEnd) {
        Item item;
        item.join = join;
        item.first = k;
        if (P(k, "(")) {
            k = Close(k) + 1;
        } else {
            while (P(k + 1, ".") && IsName(k + 2))
                k += 2;
            item.table = t[k].key;
            ++k;
        }
        if (W(k, "AS")) ++k;
        if (k < fromEnd && IsName(k) && !W(k, "INNER") && !W(k, "JOIN") && !W(k, "LEFT") &&
            !W(k, "RIGHT") && !W(k, "FULL") && !W(k, "CROSS") && !W(k, "ON")) {
            item.alias = t[k].key;
            ++k;
        }
        item.last = k;
        if (W(k, "ON")) {
            item.onFirst = k + 1;
            k = FindAtDepth(k + 1, [&](std::size_t j) {
                return P(j, ",") || W(j, "JOIN") || W(j, "INNER") || W(j, "LEFT") ||
                       W(j, "RIGHT") || W(j, "FULL") || W(j, "CROSS");
            });
            k = std::min(k, fromEnd);
            item.onLast = k;
            if (item.onLast == item.onFirst) Refuse("JOIN with an empty ON");
        }
        items.push_back(item);
        if (k >= fromEnd) break;
        if (P(k, ",")) {
            join = ",";
            ++k;
            continue;
        }
        join = t[k].key;
        if (W(k, "LEFT") || W(k, "RIGHT") || W(k, "FULL")) {
            ++k;
            if (W(k, "OUTER")) ++k;
        } else if (W(k, "INNER") || W(k, "CROSS")) {
            ++k;
        }
        if (!W(k, "JOIN")) Refuse("FROM clause of an UPDATE");
        if (join == "JOIN") join = "INNER";
        ++k;
    }
    auto isTarget = [&](const Item& item) {
        return item.alias.empty() ? item.table == target : item.alias == target;
    };
    const auto found = std::find_if(items.begin(), items.end(), isTarget);
    if (found == items.end()) {
        NormalizeAssignments(set, from, target);
        return;
    }
    for (const Item& item : items) {
        if (item.join == "RIGHT" || item.join == "FULL")
            Refuse("UPDATE with " + item.join + " JOIN");
        if (item.join == "LEFT" && item.onFirst == 0) Refuse("LEFT JOIN without ON");
    }
    if (found->join == "LEFT" || found->table.empty()) Refuse("UPDATE of that joined table");
    NormalizeAssignments(set, from, found->table);

    Toks out{t[0]};
    std::size_t tableEnd = found->first;
    while (P(tableEnd + 1, ".") && IsName(tableEnd + 2))
        tableEnd += 2;
    Toks table = Copy(found->first, tableEnd + 1);
    table.front().gap = t[1].gap;
    out.insert(out.end(), table.begin(), table.end());
    if (!found->alias.empty()) {
        out.push_back(Word("AS"));
        out.push_back(MakeTok(t[found->last - 1].kind, t[found->last - 1].text));
    }
    // SET list with the targets unqualified
    for (std::size_t j = set; j < from; ++j) {
        const bool itemStart = W(j - 1, "SET") || P(j - 1, ",");
        if (itemStart && IsName(j) && P(j + 1, ".") && IsName(j + 2) && P(j + 3, "=") &&
            t[j].key == target) {
            Tok column = t[j + 2];
            column.gap = t[j].gap;
            out.push_back(column);
            j += 2;
            continue;
        }
        out.push_back(t[j]);
    }
    std::vector<Toks> conditions;
    bool firstRemaining = true;
    Toks fromList;
    for (const Item& item : items) {
        const bool moveOn = item.join != "LEFT";
        if (item.onFirst != 0 && moveOn) conditions.push_back(Copy(item.onFirst, item.onLast));
        if (&item == &*found) continue;
        Toks part = Copy(item.first, item.last);
        if (firstRemaining) {
            part.front().gap = " ";
        } else if (item.join == "LEFT") {
            fromList.push_back(Word("LEFT"));
            fromList.push_back(Word("JOIN"));
            part.front().gap = " ";
        } else {
            fromList.push_back(Punct(","));
            part.front().gap = " ";
        }
        firstRemaining = false;
        fromList.insert(fromList.end(), part.begin(), part.end());
        if (item.join == "LEFT") {
            fromList.push_back(Word("ON"));
            Toks on = Copy(item.onFirst, item.onLast);
            on.front().gap = " ";
            fromList.insert(fromList.end(), on.begin(), on.end());
        }
    }
    if (!fromList.empty()) {
        out.push_back(t[from]);
        out.insert(out.end(), fromList.begin(), fromList.end());
    }
    if (where + 1 == t.size()) Refuse("WHERE without a condition");
    if (where < t.size()) conditions.push_back(Copy(where + 1, t.size()));
    if (!conditions.empty()) {
        out.push_back(where < t.size() ? t[where] : Word("WHERE"));
        out.back().gap = fromList.empty() && where < t.size() ? t[where].gap : " ";
        for (std::size_t c = 0; c < conditions.size(); ++c) {
            if (c > 0) out.push_back(Word("AND"));
            out.push_back(Punct("(", " "));
            conditions[c].front().gap = "";
            out.insert(out.end(), conditions[c].begin(), conditions[c].end());
            out.push_back(Punct(")"));
        }
    }
    t = std::move(out);
}

std::optional<TranslatedStatement> StatementRewriter::Run() {
    m_result.source = std::string(m_source);
    const std::string lead = t[0].kind == TokenKind::kWord ? t[0].key : std::string();
    RefuseUnsupported();
    if (lead == "SET") {
        if (IsDroppableSet()) return std::nullopt;
        Refuse("SET " + (t.size() > 1 ? t[1].text : std::string()));
    }
    RewriteNames();
    CheckOperators();
    NormalizeComparedDates();
    RewriteTop();
    RewriteFunctions();
    DropMax();
    DropTableHints();
    RewriteAliases();
    if (lead == "CREATE") {
        RewriteCreate();
    } else if (lead == "DROP" || lead == "ALTER") {
        const std::size_t name = W(2, "IF") ? 4 : 2;
        m_result.changesSchema = !(IsName(name) && t[name].key.front() == '#');
    } else if (lead == "SELECT") {
        RewriteSelectInto();
    } else if (lead == "INSERT") {
        RewriteInsert();
    } else if (lead == "DELETE") {
        RewriteDelete();
    } else if (lead == "UPDATE") {
        RewriteUpdate();
    } else if (lead == "TRUNCATE" && W(1, "TABLE")) {
        t[0] = Word("DELETE", "");
        t[1] = Word("FROM", t[1].gap);
    }
    m_result.sql = Emit();
    return m_result;
}

// --- Splitting ----------------------------------------------------------------------------

constexpr std::array<std::string_view, 23> kStatementStarts = {
    "SELECT", "INSERT", "UPDATE",  "DELETE",   "CREATE", "DROP",  "ALTER",    "TRUNCATE",
    "SET",    "EXEC",   "EXECUTE", "DECLARE",  "PRINT",  "IF",    "WHILE",    "RETURN",
    "USE",    "BEGIN",  "COMMIT",  "ROLLBACK", "MERGE",  "GRANT", "RAISERROR"};

struct Range {
    std::size_t first, last;
};

// Statement boundaries: ";" and GO at depth 0, and a statement keyword at depth 0 that does
// not continue the statement before it (the SELECT of INSERT ... SELECT, the SET of UPDATE,
// a SELECT after UNION, ...). Statement keywords are never taken as implicit aliases.
std::vector<Range> Split(const std::vector<Token>& tokens, std::string_view sql) {
    std::vector<Range> out;
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
        }
        if (!continues) close(i, i);
        if (i == start) lead = key;
    }
    close(tokens.size(), tokens.size());
    return out;
}

}  // namespace

// --- Public -------------------------------------------------------------------------------

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

void SchemaInfo::AddColumn(std::string_view table, std::string_view column, bool isDate) {
    m_tables[Lower(table)].push_back(Column{std::string(column), isDate});
    auto [it, added] = m_dateByName.try_emplace(Lower(column), isDate);
    if (!added) it->second = it->second && isDate;
}

bool SchemaInfo::IsDateColumn(std::string_view table, std::string_view column) const {
    const auto found = m_tables.find(Lower(table));
    if (found == m_tables.end()) return IsDateColumnName(column);
    const std::string name = Lower(column);
    for (const Column& c : found->second)
        if (Lower(c.name) == name) return c.isDate;
    return false;
}

bool SchemaInfo::IsDateColumnName(std::string_view column) const {
    const auto found = m_dateByName.find(Lower(column));
    return found != m_dateByName.end() && found->second;
}

std::vector<std::string> SchemaInfo::Columns(std::string_view table) const {
    std::vector<std::string> names;
    if (const auto found = m_tables.find(Lower(table)); found != m_tables.end())
        for (const Column& c : found->second)
            names.push_back(Upper(c.name));
    return names;
}

std::vector<TranslatedStatement> TranslateBatch(std::string_view sqlServerText,
                                                const SchemaInfo& schema) {
    const std::vector<Token> tokens = Tokenize(sqlServerText);
    std::vector<TranslatedStatement> out;
    for (const Range& range : Split(tokens, sqlServerText)) {
        Toks toks;
        toks.reserve(range.last - range.first);
        for (std::size_t i = range.first; i < range.last; ++i) {
            const Token& tok = tokens[i];
            std::string gap;
            if (i > range.first) {
                const std::size_t prevEnd = tokens[i - 1].offset + tokens[i - 1].text.size();
                gap = CleanGap(sqlServerText.substr(prevEnd, tok.offset - prevEnd));
            }
            toks.push_back(MakeTok(tok.kind, std::string(tok.text), std::move(gap)));
        }
        const Token& first = tokens[range.first];
        const Token& last = tokens[range.last - 1];
        const std::string_view source =
            sqlServerText.substr(first.offset, last.offset + last.text.size() - first.offset);
        if (auto statement = StatementRewriter(std::move(toks), source, schema).Run())
            out.push_back(std::move(*statement));
    }
    return out;
}

std::optional<Date> ParseSqlDate(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    std::string cleaned(text);
    // YYYYMMDD
    if (cleaned.size() >= 8 && std::all_of(cleaned.begin(), cleaned.begin() + 8, IsDigit) &&
        (cleaned.size() == 8 || cleaned[8] == ' ' || cleaned[8] == 'T'))
        cleaned = cleaned.substr(0, 4) + "-" + cleaned.substr(4, 2) + "-" + cleaned.substr(6);
    // ISO 8601's T between day and time
    if (const auto t = cleaned.find('T'); t != std::string::npos && t > 0 &&
                                          IsDigit(cleaned[t - 1]) && t + 1 < cleaned.size() &&
                                          IsDigit(cleaned[t + 1]))
        cleaned[t] = ' ';
    // fractions of a second
    if (const auto colon = cleaned.rfind(':'); colon != std::string::npos)
        if (const auto dot = cleaned.find('.', colon); dot != std::string::npos) {
            std::size_t end = dot + 1;
            while (end < cleaned.size() && IsDigit(cleaned[end]))
                ++end;
            if (end == cleaned.size()) cleaned.erase(dot);
        }
    return Date::Parse(cleaned);
}

}  // namespace velaqm::host

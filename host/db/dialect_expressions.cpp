#include <algorithm>
#include <array>
#include <string>

#include "host/db/dialect_rewriter.h"
#include "host/db/dialect_types.h"

namespace velaqm::host::dialect {

namespace {

constexpr std::array<std::string_view, 9> kComparisons = {"=",  "<>", "!=", "<", ">",
                                                          "<=", ">=", "!<", "!>"};
constexpr std::array<std::string_view, 12> kOtherTypes = {
    "INT",     "INTEGER", "BIGINT",     "SMALLINT", "TINYINT", "DECIMAL",
    "NUMERIC", "MONEY",   "SMALLMONEY", "FLOAT",    "REAL",    "BIT"};
// The styles of CONVERT between dates and text that the substitute host knows.
constexpr std::array<int, 9> kStyles = {20, 21, 23, 102, 108, 111, 112, 120, 121};
constexpr std::array<std::string_view, 15> kTableHints = {
    "NOLOCK",   "READUNCOMMITTED", "READCOMMITTED", "REPEATABLEREAD", "SERIALIZABLE",
    "ROWLOCK",  "PAGLOCK",         "TABLOCK",       "TABLOCKX",       "UPDLOCK",
    "HOLDLOCK", "XLOCK",           "NOWAIT",        "READPAST",       "READCOMMITTEDLOCK"};

// SQL Server's date parts and their abbreviations, by the name the functions take.
std::string DatePartName(std::string_view word) {
    struct Part {
        std::string_view name;
        std::array<std::string_view, 3> spellings;
    };
    static constexpr std::array<Part, 11> kParts = {{
        {"year", {"YEAR", "YY", "YYYY"}},
        {"quarter", {"QUARTER", "QQ", "Q"}},
        {"month", {"MONTH", "MM", "M"}},
        {"dayofyear", {"DAYOFYEAR", "DY", "Y"}},
        {"day", {"DAY", "DD", "D"}},
        {"week", {"WEEK", "WK", "WW"}},
        {"weekday", {"WEEKDAY", "DW", "W"}},
        {"hour", {"HOUR", "HH", "HH"}},
        {"minute", {"MINUTE", "MI", "N"}},
        {"second", {"SECOND", "SS", "S"}},
        {"millisecond", {"MILLISECOND", "MS", "MS"}},
    }};
    const std::string key = Upper(word);
    for (const Part& part : kParts)
        if (OneOf(key, part.spellings)) return std::string(part.name);
    return {};
}

// The parts DATEADD and DATEDIFF know.
constexpr std::array<std::string_view, 6> kCountedParts = {"year", "month",  "day",
                                                           "hour", "minute", "second"};

// Functions whose result is a number whatever their arguments.
constexpr std::array<std::string_view, 17> kNumericFunctions = {
    "COUNT",  "SUM",   "AVG", "ABS",   "ROUND",   "LEN",      "CHARINDEX", "DATALENGTH",
    "YEAR",   "MONTH", "DAY", "FLOOR", "CEILING", "DATEDIFF", "DATEPART",  "LAST_INSERT_ROWID",
    "CHANGES"};

// Functions whose result is a whole number.
constexpr std::array<std::string_view, 10> kIntegerFunctions = {
    "COUNT", "LEN", "CHARINDEX", "DATALENGTH", "YEAR",
    "MONTH", "DAY", "DATEDIFF",  "DATEPART",   "LAST_INSERT_ROWID"};

// Types with a fraction: SQL Server divides them without truncating.
constexpr std::array<std::string_view, 6> kDecimalTypes = {"DECIMAL",    "NUMERIC", "MONEY",
                                                           "SMALLMONEY", "FLOAT",   "REAL"};

// Functions whose result has the type of their first argument (ISNULL as the translation
// names it, and the divisor guard).
constexpr std::array<std::string_view, 8> kSameTypeFunctions = {
    "SUM", "MIN", "MAX", "ABS", "ROUND", "AVG", "ISNULL", "TSQL_NONZERO"};

// SQL Server collations by what they do to case: case-insensitive ones are the host's text
// collation; case-sensitive and binary ones still ignore trailing blanks, as SQLite's RTRIM.
std::string CollationFor(std::string_view sqlServerName) {
    const std::string key = Upper(sqlServerName);
    if (key.find("_CS") != std::string::npos || key.ends_with("_BIN") || key.ends_with("_BIN2"))
        return "RTRIM";
    return std::string(kTextCollation);
}

}  // namespace

void StatementRewriter::NormalizeLiteral(std::size_t i) {
    if (auto stored = StoredDateText(Unquote(t[i].text))) t[i].text = QuoteString(*stored);
}

bool StatementRewriter::IsDateCall(std::size_t name) const {
    if (!P(name + 1, "(") || t[name].kind != TokenKind::kWord) return false;
    const std::string& key = t[name].key;
    if (key == "GETDATE" || key == "DATEADD") return true;
    if (key == "CONVERT") return IsDateTypeAt(name + 2);
    if (key == "CAST") {
        const std::size_t close = Close(name + 1);
        for (std::size_t i = close; i > name + 1; --i)
            if (W(i, "AS")) return IsDateTypeAt(i + 1);
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

// --- Functions ----------------------------------------------------------------------------

StatementRewriter::TargetType StatementRewriter::ParseType(std::size_t first,
                                                           std::size_t last) const {
    if (first >= last || t[first].kind != TokenKind::kWord) Refuse("a conversion without a type");
    TargetType target{t[first].key};
    const bool isChar = IsCharTypeName(target.name);
    const bool isDecimal = target.name == "DECIMAL" || target.name == "NUMERIC";
    if (!isChar && !IsDateTypeName(target.name) && !OneOf(target.name, kOtherTypes))
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
        if (last != first + 1 || t[first].kind != TokenKind::kNumber ||
            t[first].text.find_first_not_of("0123456789") != std::string::npos ||
            t[first].text.size() > 3)
            Refuse("CONVERT with a style that is not a number");
        const int value = std::stoi(t[first].text);
        if (std::find(kStyles.begin(), kStyles.end(), value) == kStyles.end())
            Refuse("CONVERT style " + t[first].text);
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
        } else if ((key == "DATEADD" || key == "DATEDIFF" || key == "DATEPART") && call) {
            RewriteDatePartCall(i);
        } else if (key == "AVG" && call) {
            RewriteAverage(i);
        }
    }
}

void StatementRewriter::DropMax() {
    for (std::size_t i = 0; i + 2 < t.size(); ++i)
        if (P(i, "(") && W(i + 1, "MAX") && P(i + 2, ")"))
            t.erase(t.begin() + static_cast<std::ptrdiff_t>(i),
                    t.begin() + static_cast<std::ptrdiff_t>(i + 3));
}

bool StatementRewriter::IsHintList(std::size_t open) const {
    const std::size_t close = Close(open);
    bool hints = close > open + 1;
    for (std::size_t k = open + 1; k < close && hints; ++k)
        hints = P(k, ",") || (t[k].kind == TokenKind::kWord && OneOf(t[k].key, kTableHints));
    return hints;
}

// Locking hints mean nothing to a single-connection SQLite database: "t WITH (NOLOCK)" and the
// older "t (NOLOCK)", after a table or its alias.
void StatementRewriter::DropTableHints() {
    for (std::size_t i = 0; i < t.size(); ++i) {
        std::size_t first = i;
        if (W(i, "WITH") && P(i + 1, "(")) {
            ++i;
        } else if (!(P(i, "(") && i > 0 && IsName(i - 1) &&
                     !OneOf(t[i - 1].key, kOperandKeywords))) {
            continue;
        }
        if (!IsHintList(i)) continue;
        const std::size_t close = Close(i);
        t.erase(t.begin() + static_cast<std::ptrdiff_t>(first),
                t.begin() + static_cast<std::ptrdiff_t>(close + 1));
        i = first - 1;
    }
}

// DATEADD(part, n, d), DATEDIFF(part, a, b), DATEPART(part, d): the part becomes its name as
// text for the registered function.
void StatementRewriter::RewriteDatePartCall(std::size_t i) {
    const std::string key = t[i].key;
    const auto args = Arguments(i + 1);
    const std::size_t count = key == "DATEPART" ? 2 : 3;
    if (args.size() != count || args[0].second != args[0].first + 1)
        Refuse(key + " with those arguments");
    const std::string part = DatePartName(t[args[0].first].text);
    if (part.empty() || (key != "DATEPART" && !OneOf(part, kCountedParts)))
        Refuse(key + " of " + t[args[0].first].text);
    t[args[0].first] = MakeTok(TokenKind::kString, QuoteString(part), t[args[0].first].gap);
    t[i].text = key == "DATEADD"    ? kDateAddFunction
                : key == "DATEDIFF" ? kDateDiffFunction
                                    : kDatePartFunction;
}

// AVG of whole numbers stays whole in SQL Server; SQLite's avg always gives a float.
void StatementRewriter::RewriteAverage(std::size_t i) {
    const std::size_t close = Close(i + 1);
    std::size_t first = i + 2;
    if (W(first, "DISTINCT") || W(first, "ALL")) ++first;
    if (first < close && IsIntegerOperand(first, close)) t[i].text = kIntegerAverageFunction;
}

// COLLATE with a SQL Server collation name: the host's collation of the same sensitivity.
void StatementRewriter::RewriteCollations() {
    for (std::size_t i = 0; i + 1 < t.size(); ++i)
        if (W(i, "COLLATE") && IsName(i + 1))
            t[i + 1] = Word(CollationFor(t[i + 1].key), t[i + 1].gap);
}

// SQL Server compares text literals by the database's collation whatever they meet; SQLite
// uses a column's collation, and binary order for anything else. A text literal compared with
// a call, an expression or another literal (ISNULL(FNumber, '') = 'b', 'A ' = 'a') takes the
// host's collation; one compared with a column keeps the column's, so indexes still serve.
void StatementRewriter::CollateComparedText() {
    auto comparison = [&](std::size_t i) {
        return i < t.size() && t[i].kind == TokenKind::kPunct && OneOf(t[i].key, kComparisons);
    };
    auto plain = [&](std::size_t j) {
        return t[j].kind == TokenKind::kNumber || (IsName(j) && !P(j + 1, "(") && !W(j, "END") &&
                                                   !W(j, "CASE") && !W(j - 1, "COLLATE"));
    };
    for (std::size_t i = 1; i < t.size(); ++i) {
        if (t[i].kind != TokenKind::kString || ParseSqlDate(Unquote(t[i].text))) continue;
        const bool before = i >= 2 && comparison(i - 1) && !plain(i - 2);
        const bool after = comparison(i + 1) && i + 2 < t.size() && !plain(i + 2);
        if (!before && !after) continue;
        t.insert(t.begin() + static_cast<std::ptrdiff_t>(i + 1),
                 {Word("COLLATE"), Word(std::string(kTextCollation))});
        i += 2;
    }
}

// --- Arithmetic ---------------------------------------------------------------------------
//
// SQL Server decides what + does by the types of its operands (text and text joins, anything
// with a number adds) and refuses a division by zero; SQLite's + always adds and x / 0 is
// NULL. Operands are found by T-SQL's precedence: a factor is a primary with its signs, a term
// factors joined by * / %, a sum terms joined by + -, left to right.

bool StatementRewriter::IsBinaryOperator(std::size_t i) const {
    return i > 0 && i < t.size() && t[i].kind == TokenKind::kPunct && EndsExpression(i - 1) &&
           !W(i - 1, "CASE");
}

std::size_t StatementRewriter::PrimaryEnd(std::size_t i) const {
    if (i >= t.size()) return i;
    const Tok& k = t[i];
    if (P(i, "(")) return Close(i) + 1;
    if (k.kind == TokenKind::kNumber || k.kind == TokenKind::kString) return i + 1;
    if (W(i, "CASE")) {
        int depth = 0;
        for (std::size_t j = i; j < t.size(); ++j) {
            if (W(j, "CASE")) ++depth;
            if (W(j, "END") && --depth == 0) return j + 1;
        }
        return i;
    }
    if (!IsName(i) || (k.kind == TokenKind::kWord && OneOf(k.key, kOperandKeywords))) return i;
    std::size_t j = i;
    while (P(j + 1, ".") && IsName(j + 2))
        j += 2;
    if (P(j + 1, "(")) return Close(j + 1) + 1;
    return j + 1;
}

std::size_t StatementRewriter::FactorEnd(std::size_t i) const {
    std::size_t j = i;
    while (P(j, "-") || P(j, "+") || P(j, "~"))
        ++j;
    const std::size_t end = PrimaryEnd(j);
    if (end == j) return i;
    if (W(end, "COLLATE") && IsName(end + 1)) return end + 2;
    return end;
}

std::size_t StatementRewriter::TermEnd(std::size_t i) const {
    std::size_t end = FactorEnd(i);
    while (end > i && (P(end, "*") || P(end, "/") || P(end, "%"))) {
        const std::size_t next = FactorEnd(end + 1);
        if (next == end + 1) break;
        end = next;
    }
    return end;
}

// The first token of the factor that ends at `last`; `last + 1` when no factor ends there.
std::size_t StatementRewriter::FactorStart(std::size_t last) const {
    if (last >= t.size()) return last + 1;
    std::size_t first = last;
    if (W(last, "END")) {
        int depth = 0;
        for (std::size_t j = last + 1; j-- > 0;) {
            if (W(j, "END")) ++depth;
            if (W(j, "CASE") && --depth == 0) {
                first = j;
                break;
            }
        }
        if (!W(first, "CASE")) return last + 1;
    } else if (P(last, ")")) {
        first = Open(last);
        if (first > 0 && IsName(first - 1) && !OneOf(t[first - 1].key, kOperandKeywords))
            --first;  // a call
    } else if (t[last].kind != TokenKind::kNumber && t[last].kind != TokenKind::kString &&
               !IsName(last)) {
        return last + 1;
    } else if (t[last].kind == TokenKind::kWord && OneOf(t[last].key, kOperandKeywords)) {
        return last + 1;
    }
    while (first >= 2 && P(first - 1, ".") && IsName(first - 2))
        first -= 2;
    while (first > 0 && (P(first - 1, "-") || P(first - 1, "+") || P(first - 1, "~")) &&
           !IsBinaryOperator(first - 1))
        --first;
    return first;
}

std::size_t StatementRewriter::TermStart(std::size_t last) const {
    std::size_t first = FactorStart(last);
    while (first <= last && first >= 2 &&
           (P(first - 1, "*") || P(first - 1, "/") || P(first - 1, "%"))) {
        const std::size_t before = FactorStart(first - 2);
        if (before > first - 2) break;
        first = before;
    }
    return first;
}

std::size_t StatementRewriter::SumStart(std::size_t last) const {
    std::size_t first = TermStart(last);
    while (first <= last && first >= 2 && (P(first - 1, "+") || P(first - 1, "-")) &&
           IsBinaryOperator(first - 1)) {
        const std::size_t before = TermStart(first - 2);
        if (before > first - 2) break;
        first = before;
    }
    return first;
}

// An operand SQL Server takes for a number: a numeric literal or column, a numeric function,
// or arithmetic other than a + that joins texts.
bool StatementRewriter::IsNumericOperand(std::size_t first, std::size_t end) const {
    while (end > first + 1 && P(first, "(") && Close(first) == end - 1) {
        ++first;
        --end;
    }
    while (first < end && (P(first, "-") || P(first, "+")))
        ++first;
    if (first >= end) return false;
    if (end == first + 1 && t[first].kind == TokenKind::kNumber) return true;
    std::size_t last = first;
    while (P(last + 1, ".") && IsName(last + 2))
        last += 2;
    if (last + 1 == end && IsName(last)) {
        return m_schema.IsNumericColumnName(t[last].key);
    }
    if (P(last + 1, "(") && Close(last + 1) + 1 == end)
        return t[last].kind == TokenKind::kWord && OneOf(t[last].key, kNumericFunctions);
    int depth = 0;
    for (std::size_t i = first; i < end; ++i) {
        if (P(i, "(")) ++depth;
        if (P(i, ")")) --depth;
        if (depth == 0 && (P(i, "*") || P(i, "/") || P(i, "%") || P(i, "-") || P(i, "+")) &&
            IsBinaryOperator(i))
            return true;  // a + still here is one that adds
    }
    return false;
}

// An operand whose SQL Server type is a whole number: whole-number literals and columns
// combined by arithmetic.
bool StatementRewriter::IsIntegerOperand(std::size_t first, std::size_t end) const {
    bool sawValue = false;
    for (std::size_t i = first; i < end; ++i) {
        const Tok& k = t[i];
        if (k.kind == TokenKind::kPunct) {
            if (!OneOf(k.key,
                       std::array<std::string_view, 8>{"(", ")", "+", "-", "*", "/", "%", "."}))
                return false;
        } else if (k.kind == TokenKind::kNumber) {
            if (k.text.find_first_of(".eExX") != std::string::npos) return false;
            sawValue = true;
        } else if (IsName(i) && P(i + 1, "(")) {
            if (k.kind != TokenKind::kWord || !OneOf(k.key, kIntegerFunctions)) return false;
            i = Close(i + 1);
            sawValue = true;
        } else if (IsName(i)) {
            if (P(i + 1, ".")) continue;  // a qualifier
            if (!m_schema.IsWholeNumberColumnName(k.key)) return false;
            sawValue = true;
        } else {
            return false;
        }
    }
    return sawValue;
}

// a + b becomes tsql_add(a, b) unless both operands are numbers, where SQLite's + is SQL
// Server's.
void StatementRewriter::RewriteAdditions() {
    for (std::size_t i = 1; i < t.size(); ++i) {
        if (!P(i, "+") || !IsBinaryOperator(i)) continue;
        const std::size_t first = SumStart(i - 1);
        const std::size_t end = TermEnd(i + 1);
        if (first >= i || end == i + 1) continue;
        if (IsNumericOperand(first, i) && IsNumericOperand(i + 1, end)) continue;
        Toks left = Copy(first, i);
        Toks right = Copy(i + 1, end);
        left.front().gap = "";
        right.front().gap = " ";
        Toks call{Word(std::string(kAddFunction)), Punct("(")};
        call.insert(call.end(), left.begin(), left.end());
        call.push_back(Punct(","));
        call.insert(call.end(), right.begin(), right.end());
        call.push_back(Punct(")"));
        Replace(first, end, std::move(call));
        i = first + 1;
    }
}

// An operand whose SQL Server type has a fraction: a literal with a decimal point or
// exponent, a column declared DECIMAL, NUMERIC, MONEY, FLOAT or REAL, a CAST or CONVERT to one
// of those, SUM, MIN, MAX, ABS, ROUND, AVG or ISNULL of such an operand, or arithmetic with one.
// The type of anything else (CASE, a subquery, a column of unknown or differing types) is not
// known here, and such an operand divides as SQLite's values do.
bool StatementRewriter::IsDecimalOperand(std::size_t first, std::size_t end) const {
    bool decimal = false;
    for (std::size_t i = first;;) {
        const std::size_t next = FactorEnd(i);
        if (next == i || next > end) return false;
        decimal = decimal || IsDecimalFactor(i, next);
        if (next == end) return decimal;
        if (!(P(next, "*") || P(next, "/") || P(next, "%") || P(next, "+") || P(next, "-")))
            return false;
        i = next + 1;
    }
}

bool StatementRewriter::IsDecimalFactor(std::size_t first, std::size_t end) const {
    while (first < end && (P(first, "-") || P(first, "+")))
        ++first;
    if (first >= end) return false;
    if (P(first, "("))
        return Close(first) + 1 == end && !W(first + 1, "SELECT") &&
               IsDecimalOperand(first + 1, end - 1);
    if (t[first].kind == TokenKind::kNumber)
        return end == first + 1 && t[first].text.find_first_of(".eE") != std::string::npos;
    std::size_t last = first;
    while (P(last + 1, ".") && IsName(last + 2))
        last += 2;
    if (last + 1 == end && IsName(last)) return m_schema.IsFractionalColumnName(t[last].key);
    if (!P(last + 1, "(") || Close(last + 1) + 1 != end || t[last].kind != TokenKind::kWord)
        return false;
    const std::string& name = t[last].key;
    if (name == "TSQL_CONVERT")
        return t[last + 2].kind == TokenKind::kString &&
               OneOf(Unquote(t[last + 2].text), kDecimalTypes);
    if (name == "CAST") return W(end - 2, "REAL");  // a divisor made fractional below
    if (!OneOf(name, kSameTypeFunctions)) return false;
    const auto args = Arguments(last + 1);
    return !args.empty() && IsDecimalOperand(args[0].first, args[0].second);
}

// x / y and x % y: the divisor goes through tsql_nonzero unless it is a non-zero number. A
// decimal stores a whole value as an integer, so where either operand of / is a decimal
// (IsDecimalOperand), the divisor is made a float for SQLite not to divide as integers.
void StatementRewriter::GuardDivisors() {
    for (std::size_t i = 1; i < t.size(); ++i) {
        if (!(P(i, "/") || P(i, "%")) || !IsBinaryOperator(i)) continue;
        const std::size_t end = FactorEnd(i + 1);
        if (end == i + 1) continue;
        const bool decimal =
            P(i, "/") && (IsDecimalOperand(i + 1, end) || IsDecimalOperand(TermStart(i - 1), i));
        std::size_t number = i + 1;
        while (number < end && (P(number, "-") || P(number, "+")))
            ++number;
        const bool literal = number + 1 == end && t[number].kind == TokenKind::kNumber;
        if (literal && t[number].text.find_first_of("123456789") != std::string::npos) {
            if (decimal && t[number].text.find_first_of(".eE") == std::string::npos)
                t[number] = MakeTok(TokenKind::kNumber, t[number].text + ".0", t[number].gap);
            continue;
        }
        Toks divisor = Copy(i + 1, end);
        divisor.front().gap = "";
        Toks call{Word(std::string(kNonZeroFunction), t[i + 1].gap), Punct("(")};
        call.insert(call.end(), divisor.begin(), divisor.end());
        call.push_back(Punct(")"));
        if (decimal && !(literal && t[number].text.find_first_of(".eE") != std::string::npos)) {
            call.front().gap = "";
            call.insert(call.begin(), {Word("CAST", t[i + 1].gap), Punct("(")});
            call.insert(call.end(), {Word("AS"), Word("REAL"), Punct(")")});
        }
        t.erase(t.begin() + static_cast<std::ptrdiff_t>(i + 1),
                t.begin() + static_cast<std::ptrdiff_t>(end));
        t.insert(t.begin() + static_cast<std::ptrdiff_t>(i + 1), call.begin(), call.end());
    }
}

}  // namespace velaqm::host::dialect

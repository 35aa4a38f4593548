#include <algorithm>
#include <array>
#include <string>

#include "host/db/dialect_rewriter.h"
#include "host/db/dialect_types.h"

namespace velaqm::host::dialect {

namespace {

constexpr std::array<std::string_view, 12> kOtherTypes = {
    "INT",     "INTEGER", "BIGINT",     "SMALLINT", "TINYINT", "DECIMAL",
    "NUMERIC", "MONEY",   "SMALLMONEY", "FLOAT",    "REAL",    "BIT"};
constexpr std::array<std::string_view, 15> kTableHints = {
    "NOLOCK",   "READUNCOMMITTED", "READCOMMITTED", "REPEATABLEREAD", "SERIALIZABLE",
    "ROWLOCK",  "PAGLOCK",         "TABLOCK",       "TABLOCKX",       "UPDLOCK",
    "HOLDLOCK", "XLOCK",           "NOWAIT",        "READPAST",       "READCOMMITTEDLOCK"};

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

// --- Functions ----------------------------------------------------------------------------

StatementRewriter::TargetType StatementRewriter::ParseType(std::size_t first,
                                                           std::size_t last) const {
    if (first >= last || m_tokens[first].kind != TokenKind::kWord)
        Refuse("a conversion without a type");
    TargetType target{m_tokens[first].key};
    const bool isChar = IsCharTypeName(target.name);
    const bool isDecimal = target.name == "DECIMAL" || target.name == "NUMERIC";
    if (!isChar && !IsDateTypeName(target.name) && !OneOf(target.name, kOtherTypes))
        Refuse("conversion to " + m_tokens[first].text);
    if (isChar) target.length = "30";
    if (isDecimal) target.length = "0";
    if (target.name == "MONEY" || target.name == "SMALLMONEY") target.length = "4";
    if (first + 1 == last) return target;
    if (!IsPunct(first + 1, "(") || Close(first + 1) + 1 != last)
        Refuse("type " + m_tokens[first].text);
    const auto args = Arguments(first + 1);
    if ((isChar || isDecimal) && args.empty())
        Refuse("type " + m_tokens[first].text + " with no length");
    auto number = [&](std::pair<std::size_t, std::size_t> arg) {
        if (arg.second != arg.first + 1 || m_tokens[arg.first].kind != TokenKind::kNumber)
            Refuse("type " + m_tokens[first].text + " with that length");
        return m_tokens[arg.first].text;
    };
    if (isChar) {
        target.length =
            args.size() == 1 && IsWord(args[0].first, "MAX") && args[0].second == args[0].first + 1
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
    const std::string style =
        args.size() == 3 ? ConvertStyle(args[2].first, args[2].second) : "NULL";
    Toks expr = Copy(args[1].first, args[1].second);
    if (expr.empty()) Refuse("CONVERT of nothing");
    if (expr.front().gap.empty()) expr.front().gap = " ";
    Replace(i, close + 1, ConvertCall(target, std::move(expr), style));
}

void StatementRewriter::RewriteCast(std::size_t i) {
    const std::size_t close = Close(i + 1);
    std::size_t as = 0;
    int depth = 0;
    for (std::size_t k = i + 2; k < close; ++k) {
        if (IsPunct(k, "(")) ++depth;
        if (IsPunct(k, ")")) --depth;
        if (depth == 0 && IsWord(k, "AS")) as = k;
    }
    if (as == 0) Refuse("CAST without AS");
    const TargetType target = ParseType(as + 1, close);
    Toks expr = Copy(i + 2, as);
    if (expr.empty()) Refuse("CAST of nothing");
    expr.front().gap = " ";
    Replace(i, close + 1, ConvertCall(target, std::move(expr), "NULL"));
}

// tsql_convert('type', length, expr, style)
Toks StatementRewriter::ConvertCall(const TargetType& target, Toks expr, std::string style) const {
    Toks out{Word(std::string(kConvertFunction)),
             Punct("("),
             MakeTok(TokenKind::kString, QuoteString(target.name), ""),
             Punct(","),
             MakeTok(TokenKind::kNumber, target.length, " "),
             Punct(",")};
    out.insert(out.end(), expr.begin(), expr.end());
    out.push_back(Punct(","));
    out.push_back(MakeTok(TokenKind::kNumber, std::move(style), " "));
    out.push_back(Punct(")"));
    return out;
}

void StatementRewriter::RewriteFunctions() {
    // Backwards, so that a call inside another's arguments is rewritten first.
    for (std::size_t i = m_tokens.size(); i-- > 0;) {
        if (m_tokens[i].kind != TokenKind::kWord) continue;
        const std::string key = m_tokens[i].key;
        const bool call = IsPunct(i + 1, "(");
        if (key == "ISNULL") {
            if (!call) Refuse("ISNULL without arguments");
            m_tokens[i].text = "ifnull";
        } else if (key == "GETDATE" && call) {
            if (!IsPunct(i + 2, ")")) Refuse("GETDATE with arguments");
            m_tokens[i].text = kGetDateFunction;
        } else if (key == "CURRENT_TIMESTAMP") {
            Replace(i, i + 1, {Word(std::string(kGetDateFunction)), Punct("("), Punct(")")});
        } else if (key == "CONVERT" && call) {
            RewriteConvert(i);
        } else if (key == "CAST" && call) {
            RewriteCast(i);
        } else if ((key == "LEFT" || key == "RIGHT") && call) {
            m_tokens[i].text = key == "LEFT" ? kLeftFunction : kRightFunction;
        } else if ((key == "DATEADD" || key == "DATEDIFF" || key == "DATEPART") && call) {
            RewriteDatePartCall(i);
        } else if (key == "AVG" && call) {
            RewriteAverage(i);
        }
    }
}

void StatementRewriter::DropMax() {
    for (std::size_t i = 0; i + 2 < m_tokens.size(); ++i)
        if (IsPunct(i, "(") && IsWord(i + 1, "MAX") && IsPunct(i + 2, ")"))
            m_tokens.erase(m_tokens.begin() + static_cast<std::ptrdiff_t>(i),
                           m_tokens.begin() + static_cast<std::ptrdiff_t>(i + 3));
}

bool StatementRewriter::IsHintList(std::size_t open) const {
    const std::size_t close = Close(open);
    bool hints = close > open + 1;
    for (std::size_t k = open + 1; k < close && hints; ++k)
        hints = IsPunct(k, ",") ||
                (m_tokens[k].kind == TokenKind::kWord && OneOf(m_tokens[k].key, kTableHints));
    return hints;
}

// Locking hints mean nothing to a single-connection SQLite database: "t WITH (NOLOCK)" and the
// older "t (NOLOCK)", after a table or its alias.
void StatementRewriter::DropTableHints() {
    for (std::size_t i = 0; i < m_tokens.size(); ++i) {
        std::size_t first = i;
        if (IsWord(i, "WITH") && IsPunct(i + 1, "(")) {
            ++i;
        } else if (!(IsPunct(i, "(") && i > 0 && IsName(i - 1) &&
                     !OneOf(m_tokens[i - 1].key, kOperandKeywords))) {
            continue;
        }
        if (!IsHintList(i)) continue;
        const std::size_t close = Close(i);
        m_tokens.erase(m_tokens.begin() + static_cast<std::ptrdiff_t>(first),
                       m_tokens.begin() + static_cast<std::ptrdiff_t>(close + 1));
        i = first - 1;
    }
}

// AVG of whole numbers stays whole in SQL Server; SQLite's avg always gives a float.
void StatementRewriter::RewriteAverage(std::size_t i) {
    const std::size_t close = Close(i + 1);
    std::size_t first = i + 2;
    if (IsWord(first, "DISTINCT") || IsWord(first, "ALL")) ++first;
    if (first < close && IsIntegerOperand(first, close)) m_tokens[i].text = kIntegerAverageFunction;
}

// COLLATE with a SQL Server collation name: the host's collation of the same sensitivity.
void StatementRewriter::RewriteCollations() {
    for (std::size_t i = 0; i + 1 < m_tokens.size(); ++i)
        if (IsWord(i, "COLLATE") && IsName(i + 1))
            m_tokens[i + 1] = Word(CollationFor(m_tokens[i + 1].key), m_tokens[i + 1].gap);
}

// SQL Server compares text literals by the database's collation whatever they meet; SQLite
// uses a column's collation, and binary order for anything else. A text literal compared with
// a call, an expression or another literal (ISNULL(FNumber, '') = 'b', 'A ' = 'a') takes the
// host's collation; one compared with a column keeps the column's, so indexes still serve.
void StatementRewriter::CollateComparedText() {
    auto comparison = [&](std::size_t i) {
        return i < m_tokens.size() && m_tokens[i].kind == TokenKind::kPunct &&
               OneOf(m_tokens[i].key, kComparisons);
    };
    auto plain = [&](std::size_t j) {
        return m_tokens[j].kind == TokenKind::kNumber ||
               (IsName(j) && !IsPunct(j + 1, "(") && !IsWord(j, "END") && !IsWord(j, "CASE") &&
                !IsWord(j - 1, "COLLATE"));
    };
    for (std::size_t i = 1; i < m_tokens.size(); ++i) {
        if (m_tokens[i].kind != TokenKind::kString || ParseSqlDate(Unquote(m_tokens[i].text)))
            continue;
        const bool before = i >= 2 && comparison(i - 1) && !plain(i - 2);
        const bool after = comparison(i + 1) && i + 2 < m_tokens.size() && !plain(i + 2);
        if (!before && !after) continue;
        m_tokens.insert(m_tokens.begin() + static_cast<std::ptrdiff_t>(i + 1),
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
    return i > 0 && i < m_tokens.size() && m_tokens[i].kind == TokenKind::kPunct &&
           EndsExpression(i - 1) && !IsWord(i - 1, "CASE");
}

std::size_t StatementRewriter::PrimaryEnd(std::size_t i) const {
    if (i >= m_tokens.size()) return i;
    const Tok& token = m_tokens[i];
    if (IsPunct(i, "(")) return Close(i) + 1;
    if (token.kind == TokenKind::kNumber || token.kind == TokenKind::kString) return i + 1;
    if (IsWord(i, "CASE")) {
        int depth = 0;
        for (std::size_t j = i; j < m_tokens.size(); ++j) {
            if (IsWord(j, "CASE")) ++depth;
            if (IsWord(j, "END") && --depth == 0) return j + 1;
        }
        return i;
    }
    if (!IsName(i) || (token.kind == TokenKind::kWord && OneOf(token.key, kOperandKeywords)))
        return i;
    const std::size_t j = LastNamePart(i);
    if (IsPunct(j + 1, "(")) return Close(j + 1) + 1;
    return j + 1;
}

std::size_t StatementRewriter::FactorEnd(std::size_t i) const {
    std::size_t j = i;
    while (IsPunct(j, "-") || IsPunct(j, "+") || IsPunct(j, "~"))
        ++j;
    const std::size_t end = PrimaryEnd(j);
    if (end == j) return i;
    if (IsWord(end, "COLLATE") && IsName(end + 1)) return end + 2;
    return end;
}

std::size_t StatementRewriter::TermEnd(std::size_t i) const {
    std::size_t end = FactorEnd(i);
    while (end > i && (IsPunct(end, "*") || IsPunct(end, "/") || IsPunct(end, "%"))) {
        const std::size_t next = FactorEnd(end + 1);
        if (next == end + 1) break;
        end = next;
    }
    return end;
}

// The first token of the factor that ends at `last`; `last + 1` when no factor ends there.
std::size_t StatementRewriter::FactorStart(std::size_t last) const {
    if (last >= m_tokens.size()) return last + 1;
    std::size_t first = last;
    if (IsWord(last, "END")) {
        int depth = 0;
        for (std::size_t j = last + 1; j-- > 0;) {
            if (IsWord(j, "END")) ++depth;
            if (IsWord(j, "CASE") && --depth == 0) {
                first = j;
                break;
            }
        }
        if (!IsWord(first, "CASE")) return last + 1;
    } else if (IsPunct(last, ")")) {
        first = Open(last);
        if (first > 0 && IsName(first - 1) && !OneOf(m_tokens[first - 1].key, kOperandKeywords))
            --first;  // a call
    } else if (m_tokens[last].kind != TokenKind::kNumber &&
               m_tokens[last].kind != TokenKind::kString && !IsName(last)) {
        return last + 1;
    } else if (m_tokens[last].kind == TokenKind::kWord &&
               OneOf(m_tokens[last].key, kOperandKeywords)) {
        return last + 1;
    }
    while (first >= 2 && IsPunct(first - 1, ".") && IsName(first - 2))
        first -= 2;
    while (first > 0 &&
           (IsPunct(first - 1, "-") || IsPunct(first - 1, "+") || IsPunct(first - 1, "~")) &&
           !IsBinaryOperator(first - 1))
        --first;
    return first;
}

std::size_t StatementRewriter::TermStart(std::size_t last) const {
    std::size_t first = FactorStart(last);
    while (first <= last && first >= 2 &&
           (IsPunct(first - 1, "*") || IsPunct(first - 1, "/") || IsPunct(first - 1, "%"))) {
        const std::size_t before = FactorStart(first - 2);
        if (before > first - 2) break;
        first = before;
    }
    return first;
}

std::size_t StatementRewriter::SumStart(std::size_t last) const {
    std::size_t first = TermStart(last);
    while (first <= last && first >= 2 && (IsPunct(first - 1, "+") || IsPunct(first - 1, "-")) &&
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
    while (end > first + 1 && IsPunct(first, "(") && Close(first) == end - 1) {
        ++first;
        --end;
    }
    while (first < end && (IsPunct(first, "-") || IsPunct(first, "+")))
        ++first;
    if (first >= end) return false;
    if (end == first + 1 && m_tokens[first].kind == TokenKind::kNumber) return true;
    const std::size_t last = LastNamePart(first);
    if (last + 1 == end && IsName(last)) {
        return m_schema.IsNumericColumnName(m_tokens[last].key);
    }
    if (IsPunct(last + 1, "(") && Close(last + 1) + 1 == end)
        return m_tokens[last].kind == TokenKind::kWord &&
               OneOf(m_tokens[last].key, kNumericFunctions);
    int depth = 0;
    for (std::size_t i = first; i < end; ++i) {
        if (IsPunct(i, "(")) ++depth;
        if (IsPunct(i, ")")) --depth;
        if (depth == 0 &&
            (IsPunct(i, "*") || IsPunct(i, "/") || IsPunct(i, "%") || IsPunct(i, "-") ||
             IsPunct(i, "+")) &&
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
        const Tok& token = m_tokens[i];
        if (token.kind == TokenKind::kPunct) {
            if (!OneOf(token.key,
                       std::array<std::string_view, 8>{"(", ")", "+", "-", "*", "/", "%", "."}))
                return false;
        } else if (token.kind == TokenKind::kNumber) {
            if (token.text.find_first_of(".eExX") != std::string::npos) return false;
            sawValue = true;
        } else if (IsName(i) && IsPunct(i + 1, "(")) {
            if (token.kind != TokenKind::kWord || !OneOf(token.key, kIntegerFunctions))
                return false;
            i = Close(i + 1);
            sawValue = true;
        } else if (IsName(i)) {
            if (IsPunct(i + 1, ".")) continue;  // a qualifier
            if (!m_schema.IsWholeNumberColumnName(token.key)) return false;
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
    for (std::size_t i = 1; i < m_tokens.size(); ++i) {
        if (!IsPunct(i, "+") || !IsBinaryOperator(i)) continue;
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
        if (!(IsPunct(next, "*") || IsPunct(next, "/") || IsPunct(next, "%") ||
              IsPunct(next, "+") || IsPunct(next, "-")))
            return false;
        i = next + 1;
    }
}

bool StatementRewriter::IsDecimalFactor(std::size_t first, std::size_t end) const {
    while (first < end && (IsPunct(first, "-") || IsPunct(first, "+")))
        ++first;
    if (first >= end) return false;
    if (IsPunct(first, "("))
        return Close(first) + 1 == end && !IsWord(first + 1, "SELECT") &&
               IsDecimalOperand(first + 1, end - 1);
    if (m_tokens[first].kind == TokenKind::kNumber)
        return end == first + 1 && m_tokens[first].text.find_first_of(".eE") != std::string::npos;
    const std::size_t last = LastNamePart(first);
    if (last + 1 == end && IsName(last)) return m_schema.IsFractionalColumnName(m_tokens[last].key);
    if (!IsPunct(last + 1, "(") || Close(last + 1) + 1 != end ||
        m_tokens[last].kind != TokenKind::kWord)
        return false;
    const std::string& name = m_tokens[last].key;
    if (name == "TSQL_CONVERT")
        return m_tokens[last + 2].kind == TokenKind::kString &&
               OneOf(Unquote(m_tokens[last + 2].text), kDecimalTypes);
    if (name == "CAST") return IsWord(end - 2, "REAL");  // a divisor made fractional below
    if (!OneOf(name, kSameTypeFunctions)) return false;
    const auto args = Arguments(last + 1);
    return !args.empty() && IsDecimalOperand(args[0].first, args[0].second);
}

// x / y and x % y: the divisor goes through tsql_nonzero unless it is a non-zero number. A
// decimal stores a whole value as an integer, so where either operand of / is a decimal
// (IsDecimalOperand), the divisor is made a float for SQLite not to divide as integers.
void StatementRewriter::GuardDivisors() {
    for (std::size_t i = 1; i < m_tokens.size(); ++i) {
        if (!(IsPunct(i, "/") || IsPunct(i, "%")) || !IsBinaryOperator(i)) continue;
        const std::size_t end = FactorEnd(i + 1);
        if (end == i + 1) continue;
        const bool decimal = IsPunct(i, "/") && (IsDecimalOperand(i + 1, end) ||
                                                 IsDecimalOperand(TermStart(i - 1), i));
        std::size_t number = i + 1;
        while (number < end && (IsPunct(number, "-") || IsPunct(number, "+")))
            ++number;
        const bool literal = number + 1 == end && m_tokens[number].kind == TokenKind::kNumber;
        if (literal && m_tokens[number].text.find_first_of("123456789") != std::string::npos) {
            if (decimal && m_tokens[number].text.find_first_of(".eE") == std::string::npos)
                m_tokens[number] =
                    MakeTok(TokenKind::kNumber, m_tokens[number].text + ".0", m_tokens[number].gap);
            continue;
        }
        Toks divisor = Copy(i + 1, end);
        divisor.front().gap = "";
        Toks call{Word(std::string(kNonZeroFunction), m_tokens[i + 1].gap), Punct("(")};
        call.insert(call.end(), divisor.begin(), divisor.end());
        call.push_back(Punct(")"));
        if (decimal &&
            !(literal && m_tokens[number].text.find_first_of(".eE") != std::string::npos)) {
            call.front().gap = "";
            call.insert(call.begin(), {Word("CAST", m_tokens[i + 1].gap), Punct("(")});
            call.insert(call.end(), {Word("AS"), Word("REAL"), Punct(")")});
        }
        m_tokens.erase(m_tokens.begin() + static_cast<std::ptrdiff_t>(i + 1),
                       m_tokens.begin() + static_cast<std::ptrdiff_t>(end));
        m_tokens.insert(m_tokens.begin() + static_cast<std::ptrdiff_t>(i + 1), call.begin(),
                        call.end());
    }
}

}  // namespace velaqm::host::dialect

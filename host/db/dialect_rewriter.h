// The statement rewriter of the SQL Server dialect: one statement's tokens, rewritten in place
// into SQLite's dialect. Statement shapes (TOP, SELECT ... INTO, #temp tables, aliases) are in
// dialect_rewriter.cpp, UPDATE ... FROM in dialect_update_from.cpp; dates in
// dialect_dates.cpp; other expressions (functions, operators, table hints, collations) in
// dialect_expressions.cpp.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/db/db_error.h"
#include "host/db/dialect.h"
#include "host/db/dialect_lexical.h"
#include "host/db/dialect_types.h"
#include "host/db/dialect_update_from.h"

namespace velaqm::host::dialect {

struct Tok {
    TokenKind kind;
    std::string text;  // output text
    std::string gap;   // layout before the token
    std::string key;   // upper-case word or bare name; the text itself for other kinds
};
using Toks = std::vector<Tok>;

inline std::string KeyOf(TokenKind kind, std::string_view text) {
    switch (kind) {
        case TokenKind::kWord:
            return Upper(text);
        case TokenKind::kQuotedName:
            return Upper(Unquote(text));
        default:
            return std::string(text);
    }
}

inline Tok MakeTok(TokenKind kind, std::string text, std::string gap = " ") {
    std::string key = KeyOf(kind, text);
    return Tok{kind, std::move(text), std::move(gap), std::move(key)};
}
inline Tok Word(std::string text, std::string gap = " ") {
    return MakeTok(TokenKind::kWord, std::move(text), std::move(gap));
}
inline Tok Punct(std::string text, std::string gap = "") {
    return MakeTok(TokenKind::kPunct, std::move(text), std::move(gap));
}

// Operators that compare two operands.
inline constexpr std::array<std::string_view, 9> kComparisons = {"=",  "<>", "!=", "<", ">",
                                                                 "<=", ">=", "!<", "!>"};
// Words after which a string cannot be a column alias: it is an operand.
inline constexpr std::array<std::string_view, 31> kOperandKeywords = {
    "SELECT", "DISTINCT", "ALL",    "AND",  "OR",     "NOT",    "IS",       "IN",
    "LIKE",   "BETWEEN",  "WHEN",   "THEN", "ELSE",   "CASE",   "AS",       "ON",
    "BY",     "WHERE",    "FROM",   "SET",  "VALUES", "EXISTS", "ESCAPE",   "TOP",
    "UNION",  "INTO",     "HAVING", "JOIN", "RETURN", "EXCEPT", "INTERSECT"};

class StatementRewriter {
  public:
    StatementRewriter(Toks tokens, std::string_view source, const SchemaInfo& schema)
        : m_tokens(std::move(tokens)), m_source(source), m_schema(schema) {}

    std::optional<TranslatedStatement> Run();

  private:
    [[noreturn]] void Refuse(std::string_view what) const {
        ThrowDatabaseError(
            "SQL Server construct not supported by the substitute host: " + std::string(what),
            m_source);
    }

    std::size_t Size() const { return m_tokens.size(); }
    bool IsWord(std::size_t i, std::string_view keyword) const {
        return i < m_tokens.size() && m_tokens[i].kind == TokenKind::kWord &&
               m_tokens[i].key == keyword;
    }
    bool IsPunct(std::size_t i, std::string_view punct) const {
        return i < m_tokens.size() && m_tokens[i].kind == TokenKind::kPunct &&
               m_tokens[i].key == punct;
    }
    bool IsDateTypeAt(std::size_t i) const {
        return i < m_tokens.size() && m_tokens[i].kind == TokenKind::kWord &&
               IsDateTypeName(m_tokens[i].key);
    }
    bool IsName(std::size_t i) const {
        return i < m_tokens.size() &&
               (m_tokens[i].kind == TokenKind::kWord || m_tokens[i].kind == TokenKind::kQuotedName);
    }
    // The last part of the dotted name (owner.table, alias.column) that starts at `first`.
    std::size_t LastNamePart(std::size_t first) const {
        std::size_t last = first;
        while (IsPunct(last + 1, ".") && IsName(last + 2))
            last += 2;
        return last;
    }
    std::size_t Close(std::size_t open) const;
    std::size_t Open(std::size_t close) const;
    // Depth-1 ranges between `open` and its closing parenthesis, split at commas.
    std::vector<std::pair<std::size_t, std::size_t>> Arguments(std::size_t open) const;
    // The next index at the depth of `from` where `stop` holds; Size() when none, or the index
    // of the parenthesis that closes the enclosing group.
    template <class Pred>
    std::size_t FindAtDepth(std::size_t from, Pred stop) const {
        int depth = 0;
        for (std::size_t i = from; i < m_tokens.size(); ++i) {
            if (IsPunct(i, "(")) {
                ++depth;
            } else if (IsPunct(i, ")")) {
                if (depth == 0) return i;
                --depth;
            } else if (depth == 0 && stop(i)) {
                return i;
            }
        }
        return m_tokens.size();
    }
    void Replace(std::size_t first, std::size_t last, Toks with);
    Toks Copy(std::size_t first, std::size_t last) const {
        return Toks(m_tokens.begin() + static_cast<std::ptrdiff_t>(first),
                    m_tokens.begin() + static_cast<std::ptrdiff_t>(last));
    }

    // Statement shapes (dialect_rewriter.cpp)
    void RefuseUnsupported();
    bool IsDroppableSet() const;
    void RewriteNames();
    void CheckOperators();
    void RewriteTop();
    bool InSelectList(std::size_t i) const;
    bool EndsExpression(std::size_t j) const;
    void RewriteAliases();
    void RewriteCreate();
    void CollateTextColumns();
    void CollateTextColumn(std::size_t first, std::size_t last);
    void RewriteAlterTable();
    void RewriteSelectInto();
    void RewriteInsert();
    void RewriteDelete();

    // UPDATE (dialect_update_from.cpp)
    void RewriteUpdate();
    void NormalizeAssignments(std::size_t set, std::size_t end, std::string_view table);
    std::optional<UpdateFrom> ParseUpdate() const;
    std::vector<UpdateSource> ReadUpdateSources(std::size_t first, std::size_t end) const;
    UpdateSource ReadUpdateSource(std::size_t first, std::size_t end) const;
    std::pair<std::string, std::size_t> ReadJoin(std::size_t at) const;
    void RefuseUntranslatableUpdate(const UpdateFrom& update) const;
    Toks EmitUpdateFrom(const UpdateFrom& update) const;
    Toks UpdateTarget(const UpdateSource& updated) const;
    void AppendBareSetList(const UpdateFrom& update, Toks& out) const;
    Toks OtherSources(const UpdateFrom& update) const;
    void AppendConditions(const UpdateFrom& update, bool noOtherSources, Toks& out) const;

    std::string Emit() const;

    // Dates (dialect_dates.cpp)
    void NormalizeComparedDates();
    void NormalizeLiteral(std::size_t i);
    bool IsDateCall(std::size_t name) const;
    bool DateOperandEndingAt(std::size_t j) const;
    bool DateOperandStartingAt(std::size_t j) const;
    std::string ConvertStyle(std::size_t first, std::size_t last) const;
    void RewriteDatePartCall(std::size_t i);

    // Expressions (dialect_expressions.cpp)
    void RewriteFunctions();
    void RewriteConvert(std::size_t i);
    void RewriteCast(std::size_t i);
    void RewriteAverage(std::size_t i);
    struct TargetType {
        std::string name;
        std::string length = "NULL";
    };
    TargetType ParseType(std::size_t first, std::size_t last) const;
    Toks ConvertCall(const TargetType& target, Toks expr, std::string style) const;
    void DropMax();
    void DropTableHints();
    bool IsHintList(std::size_t open) const;
    void RewriteCollations();
    void CollateComparedText();
    // Operands of arithmetic, as token ranges: [first, end).
    std::size_t PrimaryEnd(std::size_t i) const;
    std::size_t FactorEnd(std::size_t i) const;
    std::size_t TermEnd(std::size_t i) const;
    std::size_t FactorStart(std::size_t last) const;
    std::size_t TermStart(std::size_t last) const;
    std::size_t SumStart(std::size_t last) const;
    bool IsBinaryOperator(std::size_t i) const;
    bool IsNumericOperand(std::size_t first, std::size_t end) const;
    bool IsIntegerOperand(std::size_t first, std::size_t end) const;
    bool IsDecimalOperand(std::size_t first, std::size_t end) const;
    bool IsDecimalFactor(std::size_t first, std::size_t end) const;
    void RewriteAdditions();
    void GuardDivisors();

    Toks m_tokens;
    std::string_view m_source;
    const SchemaInfo& m_schema;
    TranslatedStatement m_result;
};

}  // namespace velaqm::host::dialect

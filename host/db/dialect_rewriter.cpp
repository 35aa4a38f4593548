#include <algorithm>
#include <array>

#include "host/db/dialect_rewriter.h"
#include "host/db/dialect_types.h"
#include "host/db/sqlite.h"

namespace velaqm::host::dialect {

namespace {

// Clause keywords that tell which clause of a query a token stands in.
constexpr std::array<std::string_view, 17> kClauseKeywords = {
    "SELECT", "FROM", "WHERE", "GROUP",     "HAVING", "ORDER",  "SET",    "VALUES", "INTO",
    "ON",     "JOIN", "UNION", "INTERSECT", "EXCEPT", "UPDATE", "DELETE", "INSERT"};
constexpr std::array<std::string_view, 8> kSessionOptions = {
    "NOCOUNT",    "ANSI_NULLS", "ANSI_WARNINGS", "QUOTED_IDENTIFIER",
    "ARITHABORT", "XACT_ABORT", "ANSI_PADDING",  "CONCAT_NULL_YIELDS_NULL"};

}  // namespace

std::size_t StatementRewriter::Close(std::size_t open) const {
    int depth = 0;
    for (std::size_t i = open; i < m_tokens.size(); ++i) {
        if (IsPunct(i, "(")) ++depth;
        if (IsPunct(i, ")") && --depth == 0) return i;
    }
    Refuse("unbalanced parentheses");
}

std::size_t StatementRewriter::Open(std::size_t close) const {
    int depth = 0;
    for (std::size_t i = close + 1; i-- > 0;) {
        if (IsPunct(i, ")")) ++depth;
        if (IsPunct(i, "(") && --depth == 0) return i;
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
        if (IsPunct(i, "(")) ++depth;
        if (IsPunct(i, ")")) --depth;
        if (depth == 0 && IsPunct(i, ",")) {
            args.emplace_back(start, i);
            start = i + 1;
        }
    }
    if (start < close || !args.empty()) args.emplace_back(start, close);
    return args;
}

void StatementRewriter::Replace(std::size_t first, std::size_t last, Toks with) {
    if (!with.empty() && first < m_tokens.size()) with.front().gap = m_tokens[first].gap;
    m_tokens.erase(m_tokens.begin() + static_cast<std::ptrdiff_t>(first),
                   m_tokens.begin() + static_cast<std::ptrdiff_t>(last));
    m_tokens.insert(m_tokens.begin() + static_cast<std::ptrdiff_t>(first), with.begin(),
                    with.end());
}

std::string StatementRewriter::Emit() const {
    std::string out;
    for (std::size_t i = 0; i < m_tokens.size(); ++i) {
        if (i > 0) out += m_tokens[i].gap;
        out += m_tokens[i].text;
    }
    return out;
}

// --- Refusals -----------------------------------------------------------------------------

void StatementRewriter::RefuseUnsupported() {
    static constexpr std::array<std::string_view, 15> kProcedural = {
        "EXEC",  "EXECUTE", "DECLARE",  "PRINT", "IF",    "WHILE", "RETURN",   "USE",
        "BEGIN", "COMMIT",  "ROLLBACK", "MERGE", "GRANT", "GOTO",  "RAISERROR"};
    if (m_tokens[0].kind == TokenKind::kWord && OneOf(m_tokens[0].key, kProcedural))
        Refuse(m_tokens[0].key + " (procedural T-SQL, stored procedures and transactions)");
    static constexpr std::array<std::string_view, 5> kRoutines = {"PROCEDURE", "PROC", "FUNCTION",
                                                                  "TRIGGER", "TYPE"};
    if ((IsWord(0, "CREATE") || IsWord(0, "ALTER")) && m_tokens.size() > 1 &&
        OneOf(m_tokens[1].key, kRoutines))
        Refuse(m_tokens[0].key + " " + m_tokens[1].key +
               " (stored procedures, functions and triggers)");
    if (IsWord(0, "ALTER") && IsWord(1, "TABLE"))
        for (std::size_t i = 3; i + 1 < m_tokens.size(); ++i)
            if (IsWord(i, "ALTER") && IsWord(i + 1, "COLUMN"))
                Refuse("ALTER TABLE ... ALTER COLUMN");
    for (std::size_t i = 0; i < m_tokens.size(); ++i) {
        const Tok& token = m_tokens[i];
        if (token.kind == TokenKind::kNumber && token.text.size() > 1 &&
            (token.text[1] == 'x' || token.text[1] == 'X'))
            Refuse("binary literal " + token.text);
        if (token.kind == TokenKind::kPunct && token.text == "?") Refuse("parameter marker ?");
        if (token.kind != TokenKind::kWord) continue;
        if (token.key == "EXEC" || token.key == "EXECUTE") Refuse("EXEC");
        if (token.key == "APPLY" || token.key == "PIVOT" || token.key == "UNPIVOT")
            Refuse(token.key);
        if ((token.key == "IDENTITY" || token.key == "OPTION") && IsPunct(i + 1, "("))
            Refuse(token.key + "(...)");
        if (token.key == "FOR" &&
            (IsWord(i + 1, "XML") || IsWord(i + 1, "JSON") || IsWord(i + 1, "BROWSE")))
            Refuse("FOR " + m_tokens[i + 1].key);
        if ((token.key == "OFFSET" && (IsWord(i + 2, "ROWS") || IsWord(i + 2, "ROW"))) ||
            (token.key == "FETCH" && (IsWord(i + 1, "NEXT") || IsWord(i + 1, "FIRST"))))
            Refuse("OFFSET ... FETCH (use TOP)");
        if (token.key == "OUTPUT" && (IsWord(i + 1, "INSERTED") || IsWord(i + 1, "DELETED")))
            Refuse("the OUTPUT clause");
    }
}

bool StatementRewriter::IsDroppableSet() const {
    return m_tokens.size() == 3 && m_tokens[1].kind == TokenKind::kWord &&
           OneOf(m_tokens[1].key, kSessionOptions) && (IsWord(2, "ON") || IsWord(2, "OFF"));
}

// --- Names and literals -------------------------------------------------------------------

void StatementRewriter::RewriteNames() {
    for (std::size_t i = 0; i < m_tokens.size(); ++i) {
        Tok& token = m_tokens[i];
        if (token.kind == TokenKind::kQuotedName && token.text.front() == '[') {
            token.text = QuoteName(Unquote(token.text));
        } else if (token.kind == TokenKind::kString && token.text.front() != '\'') {
            token.text.erase(0, 1);  // N'...': SQLite strings are Unicode already
        } else if (token.kind == TokenKind::kWord && token.text.front() == '#') {
            token.text = QuoteName(token.text);
        } else if (token.kind == TokenKind::kWord && token.text.front() == '@') {
            if (token.key == "@@IDENTITY") {
                Replace(i, i + 1, {Word("last_insert_rowid"), Punct("("), Punct(")")});
            } else if (token.key == "@@ROWCOUNT") {
                Replace(i, i + 1, {Word("changes"), Punct("("), Punct(")")});
            } else {
                Refuse("variable " + token.text);
            }
        }
    }
    // dbo.Table: the one schema there is.
    for (std::size_t i = 0; i + 2 < m_tokens.size(); ++i)
        if (IsName(i) && m_tokens[i].key == "DBO" && IsPunct(i + 1, ".") && IsName(i + 2) &&
            !IsPunct(i - 1, ".")) {
            std::string gap = m_tokens[i].gap;
            m_tokens.erase(m_tokens.begin() + static_cast<std::ptrdiff_t>(i),
                           m_tokens.begin() + static_cast<std::ptrdiff_t>(i + 2));
            m_tokens[i].gap = gap;
        }
}

void StatementRewriter::CheckOperators() {
    for (std::size_t i = 0; i < m_tokens.size(); ++i) {
        if (IsWord(i, "LIKE") && i + 1 < m_tokens.size() &&
            m_tokens[i + 1].kind == TokenKind::kString &&
            m_tokens[i + 1].text.find('[') != std::string::npos)
            Refuse("LIKE pattern with [ ] character classes");
        if (IsPunct(i, "!<")) m_tokens[i] = Punct(">=", m_tokens[i].gap);
        if (IsPunct(i, "!>")) m_tokens[i] = Punct("<=", m_tokens[i].gap);
    }
}

// --- TOP ----------------------------------------------------------------------------------

void StatementRewriter::RewriteTop() {
    for (std::size_t i = 0; i < m_tokens.size(); ++i) {
        if (!IsWord(i, "TOP")) continue;
        std::size_t select = i - 1;
        if (IsWord(select, "ALL") || IsWord(select, "DISTINCT")) --select;
        if (i == 0 || !IsWord(select, "SELECT")) Refuse("TOP outside a SELECT");
        Toks count;
        std::size_t end = 0;
        if (IsPunct(i + 1, "(")) {
            end = Close(i + 1) + 1;
            count = Copy(i + 1, end);
        } else if (i + 1 < m_tokens.size() && m_tokens[i + 1].kind == TokenKind::kNumber) {
            end = i + 2;
            count = Copy(i + 1, end);
        } else {
            Refuse("TOP without a count");
        }
        if (IsWord(end, "PERCENT")) Refuse("TOP ... PERCENT");
        if (IsWord(end, "WITH") && IsWord(end + 1, "TIES")) Refuse("TOP ... WITH TIES");
        const std::size_t stop = FindAtDepth(end, [&](std::size_t k) {
            if (IsWord(k, "UNION") || IsWord(k, "EXCEPT") || IsWord(k, "INTERSECT"))
                Refuse("TOP in a query combined with " + m_tokens[k].key);
            return false;
        });
        count.front().gap = " ";
        count.insert(count.begin(), Word("LIMIT"));
        m_tokens.insert(m_tokens.begin() + static_cast<std::ptrdiff_t>(stop), count.begin(),
                        count.end());
        const std::string gap = m_tokens[i].gap;
        m_tokens.erase(m_tokens.begin() + static_cast<std::ptrdiff_t>(i),
                       m_tokens.begin() + static_cast<std::ptrdiff_t>(end));
        if (i < m_tokens.size() && m_tokens[i].gap.empty()) m_tokens[i].gap = gap;
        --i;
    }
}

// --- Column aliases -----------------------------------------------------------------------

bool StatementRewriter::InSelectList(std::size_t i) const {
    for (std::size_t k = i; k-- > 0;) {
        if (IsPunct(k, ")")) {
            k = Open(k);
            continue;
        }
        if (IsPunct(k, "(")) return false;
        if (m_tokens[k].kind == TokenKind::kWord && OneOf(m_tokens[k].key, kClauseKeywords))
            return m_tokens[k].key == "SELECT";
    }
    return false;
}

bool StatementRewriter::EndsExpression(std::size_t j) const {
    switch (m_tokens[j].kind) {
        case TokenKind::kQuotedName:
        case TokenKind::kNumber:
        case TokenKind::kString:
            return true;
        case TokenKind::kPunct:
            return m_tokens[j].key == ")";
        case TokenKind::kWord:
            return !OneOf(m_tokens[j].key, kOperandKeywords);
    }
    return false;
}

void StatementRewriter::RewriteAliases() {
    auto endsItem = [&](std::size_t j) {
        return j >= m_tokens.size() || IsPunct(j, ",") || IsPunct(j, ")") || IsWord(j, "FROM") ||
               IsWord(j, "INTO") || IsWord(j, "UNION") || IsWord(j, "EXCEPT") ||
               IsWord(j, "INTERSECT") || IsWord(j, "WHERE") || IsWord(j, "ORDER") ||
               IsWord(j, "GROUP");
    };
    for (std::size_t i = 1; i < m_tokens.size(); ++i) {
        // alias = expression, and 'alias' = expression, at the start of a select item
        const bool itemStart = IsPunct(i - 1, ",") || IsWord(i - 1, "SELECT") ||
                               IsWord(i - 1, "DISTINCT") || IsWord(i - 1, "ALL");
        if (itemStart && IsPunct(i + 1, "=") &&
            (m_tokens[i].kind == TokenKind::kString || m_tokens[i].kind == TokenKind::kQuotedName ||
             (m_tokens[i].kind == TokenKind::kWord && !OneOf(m_tokens[i].key, kOperandKeywords))) &&
            InSelectList(i)) {
            const std::string name =
                m_tokens[i].kind == TokenKind::kWord ? m_tokens[i].text : Unquote(m_tokens[i].text);
            const std::size_t end = FindAtDepth(i + 2, endsItem);
            m_tokens.insert(m_tokens.begin() + static_cast<std::ptrdiff_t>(end),
                            {Word("AS"), MakeTok(TokenKind::kQuotedName, QuoteName(name))});
            const std::string gap = m_tokens[i].gap;
            m_tokens.erase(m_tokens.begin() + static_cast<std::ptrdiff_t>(i),
                           m_tokens.begin() + static_cast<std::ptrdiff_t>(i + 2));
            m_tokens[i].gap = gap;
            continue;
        }
        if (m_tokens[i].kind != TokenKind::kString || !InSelectList(i)) continue;
        if (IsWord(i - 1, "AS")) {
            m_tokens[i] = MakeTok(TokenKind::kQuotedName, QuoteName(Unquote(m_tokens[i].text)),
                                  m_tokens[i].gap);
        } else if (EndsExpression(i - 1) && !itemStart && endsItem(i + 1)) {
            const std::string gap = m_tokens[i].gap.empty() ? " " : m_tokens[i].gap;
            m_tokens[i] =
                MakeTok(TokenKind::kQuotedName, QuoteName(Unquote(m_tokens[i].text)), " ");
            m_tokens.insert(m_tokens.begin() + static_cast<std::ptrdiff_t>(i), Word("AS", gap));
            ++i;
        }
    }
}

// --- Statements ---------------------------------------------------------------------------

void StatementRewriter::RewriteCreate() {
    const bool table = IsWord(1, "TABLE");
    if (table && IsName(2) && m_tokens[2].key.front() == '#') {
        m_result.createsTempTable = Unquote(m_tokens[2].text);
        m_tokens.insert(m_tokens.begin() + 1, Word("TEMP"));
    } else if (!IsWord(1, "TEMP") && !IsWord(1, "TEMPORARY")) {
        m_result.changesSchema = true;
    }
    for (std::size_t i = 0; i < m_tokens.size(); ++i)
        if (m_tokens[i].kind == TokenKind::kWord && m_tokens[i].text.starts_with("tsql_") &&
            !IsWord(i - 1, "COLLATE"))
            Refuse("SQL Server functions in a table definition");
    if (table) CollateTextColumns();
}

// Text columns of a table created through the dialect compare as the seeded tables' do,
// unless their definition names a collation.
void StatementRewriter::CollateTextColumns() {
    std::size_t open = 2;
    while (open < m_tokens.size() && !IsPunct(open, "(")) {
        if (IsWord(open, "AS")) return;  // CREATE TABLE ... AS SELECT: no definitions
        ++open;
    }
    if (open >= m_tokens.size()) return;
    const auto columns = Arguments(open);
    for (auto column = columns.rbegin(); column != columns.rend(); ++column)
        CollateTextColumn(column->first, column->second);
}

void StatementRewriter::CollateTextColumn(std::size_t first, std::size_t last) {
    if (last < first + 2 || !IsName(first) || m_tokens[first + 1].kind != TokenKind::kWord ||
        !IsCharTypeName(m_tokens[first + 1].key))
        return;
    for (std::size_t k = first; k < last; ++k)
        if (IsWord(k, "COLLATE")) return;
    std::size_t after = first + 2;
    if (IsPunct(after, "(")) after = Close(after) + 1;
    m_tokens.insert(m_tokens.begin() + static_cast<std::ptrdiff_t>(after),
                    {Word("COLLATE"), Word(std::string(kTextCollation))});
}

// ALTER TABLE t ADD c type: a text column takes the host's collation as in CREATE TABLE.
// SQLite adds one column per statement.
void StatementRewriter::RewriteAlterTable() {
    const std::size_t add = LastNamePart(2) + 1;
    if (!IsWord(add, "ADD")) return;
    const std::size_t first = IsWord(add + 1, "COLUMN") ? add + 2 : add + 1;
    if (FindAtDepth(first, [&](std::size_t k) { return IsPunct(k, ","); }) < m_tokens.size())
        Refuse("ALTER TABLE ... ADD of several columns");
    CollateTextColumn(first, m_tokens.size());
}

void StatementRewriter::RewriteSelectInto() {
    const std::size_t into = FindAtDepth(1, [&](std::size_t k) { return IsWord(k, "INTO"); });
    if (!IsWord(into, "INTO")) return;
    if (!IsName(into + 1)) Refuse("SELECT ... INTO without a table");
    const std::size_t last = LastNamePart(into + 1);
    Toks name = Copy(into + 1, last + 1);
    const bool temp = m_tokens[into + 1].key.front() == '#';
    if (temp)
        m_result.createsTempTable = Unquote(m_tokens[into + 1].text);
    else
        m_result.changesSchema = true;
    m_tokens.erase(m_tokens.begin() + static_cast<std::ptrdiff_t>(into),
                   m_tokens.begin() + static_cast<std::ptrdiff_t>(last + 1));
    Toks target = name;
    target.front().gap = "";
    for (const Tok& token : target)
        m_result.intoTable += token.gap + token.text;
    m_result.intoQuery = Emit();
    Toks head{Word("CREATE", "")};
    if (temp) head.push_back(Word("TEMP"));
    head.push_back(Word("TABLE"));
    name.front().gap = " ";
    head.insert(head.end(), name.begin(), name.end());
    head.push_back(Word("AS"));
    m_tokens.front().gap = " ";
    m_tokens.insert(m_tokens.begin(), head.begin(), head.end());
}

void StatementRewriter::RewriteInsert() {
    if (!IsWord(1, "INTO")) m_tokens.insert(m_tokens.begin() + 1, Word("INTO"));
    if (!IsName(2)) return;
    const std::size_t tableLast = LastNamePart(2);
    const std::string table = m_tokens[tableLast].key;
    std::vector<std::string> columns;
    std::size_t after = tableLast + 1;
    if (IsPunct(after, "(")) {
        for (const auto& [first, last] : Arguments(after))
            columns.push_back(last == first + 1 && IsName(first) ? m_tokens[first].key
                                                                 : std::string());
        after = Close(after) + 1;
    } else {
        columns = m_schema.Columns(table);
    }
    if (!IsWord(after, "VALUES")) return;
    for (std::size_t open = after + 1; IsPunct(open, "(");) {
        const auto values = Arguments(open);
        for (std::size_t column = 0; column < values.size() && column < columns.size(); ++column)
            if (values[column].second == values[column].first + 1 &&
                m_tokens[values[column].first].kind == TokenKind::kString &&
                m_schema.IsDateColumn(table, columns[column]))
                NormalizeLiteral(values[column].first);
        open = Close(open) + 1;
        if (!IsPunct(open, ",")) break;
        ++open;
    }
}

void StatementRewriter::RewriteDelete() {
    if (IsWord(1, "TOP")) Refuse("DELETE TOP");
    const std::size_t from = IsWord(1, "FROM") ? 2 : 1;
    const std::size_t second = FindAtDepth(from, [&](std::size_t k) { return IsWord(k, "FROM"); });
    if (second < m_tokens.size() && IsWord(second, "FROM"))
        Refuse("DELETE with a joined FROM clause");
    if (from == 1) m_tokens.insert(m_tokens.begin() + 1, Word("FROM"));
}

std::optional<TranslatedStatement> StatementRewriter::Run() {
    m_result.source = std::string(m_source);
    const std::string lead = m_tokens[0].kind == TokenKind::kWord ? m_tokens[0].key : std::string();
    RefuseUnsupported();
    if (lead == "SET") {
        if (IsDroppableSet()) return std::nullopt;
        Refuse("SET " + (m_tokens.size() > 1 ? m_tokens[1].text : std::string()));
    }
    RewriteNames();
    RewriteCollations();
    DropTableHints();
    CheckOperators();
    NormalizeComparedDates();
    RewriteTop();
    RewriteFunctions();
    RewriteAdditions();
    GuardDivisors();
    DropMax();
    RewriteAliases();
    CollateComparedText();
    if (lead == "CREATE") {
        RewriteCreate();
    } else if (lead == "DROP" || lead == "ALTER") {
        const std::size_t name = IsWord(2, "IF") ? 4 : 2;
        m_result.changesSchema = !(IsName(name) && m_tokens[name].key.front() == '#');
        if (lead == "ALTER" && IsWord(1, "TABLE")) RewriteAlterTable();
    } else if (lead == "SELECT") {
        RewriteSelectInto();
    } else if (lead == "INSERT") {
        RewriteInsert();
    } else if (lead == "DELETE") {
        RewriteDelete();
    } else if (lead == "UPDATE") {
        RewriteUpdate();
    } else if (lead == "TRUNCATE" && IsWord(1, "TABLE")) {
        m_tokens[0] = Word("DELETE", "");
        m_tokens[1] = Word("FROM", m_tokens[1].gap);
    }
    m_result.sql = Emit();
    return m_result;
}

}  // namespace velaqm::host::dialect

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
    static constexpr std::array<std::string_view, 5> kRoutines = {"PROCEDURE", "PROC", "FUNCTION",
                                                                  "TRIGGER", "TYPE"};
    if ((W(0, "CREATE") || W(0, "ALTER")) && t.size() > 1 && OneOf(t[1].key, kRoutines))
        Refuse(t[0].key + " " + t[1].key + " (stored procedures, functions and triggers)");
    if (W(0, "ALTER") && W(1, "TABLE"))
        for (std::size_t i = 3; i + 1 < t.size(); ++i)
            if (W(i, "ALTER") && W(i + 1, "COLUMN")) Refuse("ALTER TABLE ... ALTER COLUMN");
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
        if ((k.key == "OFFSET" && (W(i + 2, "ROWS") || W(i + 2, "ROW"))) ||
            (k.key == "FETCH" && (W(i + 1, "NEXT") || W(i + 1, "FIRST"))))
            Refuse("OFFSET ... FETCH (use TOP)");
        if (k.key == "OUTPUT" && (W(i + 1, "INSERTED") || W(i + 1, "DELETED")))
            Refuse("the OUTPUT clause");
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
        if (W(i, "LIKE") && i + 1 < t.size() && t[i + 1].kind == TokenKind::kString &&
            t[i + 1].text.find('[') != std::string::npos)
            Refuse("LIKE pattern with [ ] character classes");
        if (P(i, "!<")) t[i] = Punct(">=", t[i].gap);
        if (P(i, "!>")) t[i] = Punct("<=", t[i].gap);
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
    for (std::size_t i = 0; i < t.size(); ++i)
        if (t[i].kind == TokenKind::kWord && t[i].text.starts_with("tsql_") && !W(i - 1, "COLLATE"))
            Refuse("SQL Server functions in a table definition");
    if (table) CollateTextColumns();
}

// Text columns of a table created through the dialect compare as the seeded tables' do,
// unless their definition names a collation.
void StatementRewriter::CollateTextColumns() {
    std::size_t open = 2;
    while (open < t.size() && !P(open, "(")) {
        if (W(open, "AS")) return;  // CREATE TABLE ... AS SELECT: no definitions
        ++open;
    }
    if (open >= t.size()) return;
    const auto columns = Arguments(open);
    for (auto column = columns.rbegin(); column != columns.rend(); ++column)
        CollateTextColumn(column->first, column->second);
}

void StatementRewriter::CollateTextColumn(std::size_t first, std::size_t last) {
    if (last < first + 2 || !IsName(first) || t[first + 1].kind != TokenKind::kWord ||
        !IsCharTypeName(t[first + 1].key))
        return;
    for (std::size_t k = first; k < last; ++k)
        if (W(k, "COLLATE")) return;
    std::size_t after = first + 2;
    if (P(after, "(")) after = Close(after) + 1;
    t.insert(t.begin() + static_cast<std::ptrdiff_t>(after),
             {Word("COLLATE"), Word(std::string(kTextCollation))});
}

// ALTER TABLE t ADD c type: a text column takes the host's collation as in CREATE TABLE.
// SQLite adds one column per statement.
void StatementRewriter::RewriteAlterTable() {
    std::size_t add = 2;
    while (P(add + 1, ".") && IsName(add + 2))
        add += 2;
    ++add;
    if (!W(add, "ADD")) return;
    const std::size_t first = W(add + 1, "COLUMN") ? add + 2 : add + 1;
    if (FindAtDepth(first, [&](std::size_t k) { return P(k, ","); }) < t.size())
        Refuse("ALTER TABLE ... ADD of several columns");
    CollateTextColumn(first, t.size());
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
    Toks target = name;
    target.front().gap = "";
    for (const Tok& k : target)
        m_result.intoTable += k.gap + k.text;
    m_result.intoQuery = Emit();
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
        const std::size_t name = W(2, "IF") ? 4 : 2;
        m_result.changesSchema = !(IsName(name) && t[name].key.front() == '#');
        if (lead == "ALTER" && W(1, "TABLE")) RewriteAlterTable();
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

}  // namespace velaqm::host::dialect

// The UPDATE ... FROM rewrite of the statement rewriter: reading the statement into an
// UpdateFrom, and writing SQLite's statement from it (dialect_update_from.h).
#include <algorithm>
#include <array>
#include <tuple>

#include "host/db/dialect_rewriter.h"

namespace velaqm::host::dialect {

namespace {

constexpr std::array<std::string_view, 6> kJoinWords = {"INNER", "JOIN", "LEFT",
                                                        "RIGHT", "FULL", "CROSS"};

bool IsJoinWord(const Tok& token) {
    return token.kind == TokenKind::kWord && OneOf(token.key, kJoinWords);
}

void Append(Toks& out, const Toks& more) {
    out.insert(out.end(), more.begin(), more.end());
}

}  // namespace

// A date literal assigned to a date column takes the stored form; an UPDATE whose FROM names
// its target becomes SQLite's UPDATE ... FROM.
void StatementRewriter::RewriteUpdate() {
    if (IsWord(1, "TOP")) Refuse("UPDATE TOP");
    const std::optional<UpdateFrom> update = ParseUpdate();
    if (!update) return;
    if (!update->updated) {
        NormalizeAssignments(update->set, update->setEnd, update->target);
        return;
    }
    RefuseUntranslatableUpdate(*update);
    NormalizeAssignments(update->set, update->setEnd, update->sources[*update->updated].table);
    m_tokens = EmitUpdateFrom(*update);
}

// Items "column = 'text'" of the SET list after `set`, up to `end`, whose column of `table`
// holds dates.
void StatementRewriter::NormalizeAssignments(std::size_t set, std::size_t end,
                                             std::string_view table) {
    std::size_t start = set + 1;
    while (start < end) {
        std::size_t stop = FindAtDepth(start, [&](std::size_t k) { return IsPunct(k, ","); });
        stop = std::min(stop, end);
        const std::size_t column = LastNamePart(start);
        if (IsName(column) && IsPunct(column + 1, "=") && stop == column + 3 &&
            m_tokens[column + 2].kind == TokenKind::kString &&
            m_schema.IsDateColumn(table, m_tokens[column].key))
            NormalizeLiteral(column + 2);
        start = stop + 1;
    }
}

// --- Reading ------------------------------------------------------------------------------

// UPDATE name SET ... [FROM ...] [WHERE ...]; nullopt for any other shape, which stays as
// written.
std::optional<UpdateFrom> StatementRewriter::ParseUpdate() const {
    if (!IsName(1)) return std::nullopt;
    UpdateFrom update;
    const std::size_t targetLast = LastNamePart(1);
    update.target = m_tokens[targetLast].key;
    update.set = targetLast + 1;
    if (!IsWord(update.set, "SET")) return std::nullopt;
    const std::size_t from =
        FindAtDepth(update.set + 1, [&](std::size_t k) { return IsWord(k, "FROM"); });
    update.where = FindAtDepth(update.set + 1, [&](std::size_t k) { return IsWord(k, "WHERE"); });
    if (!IsWord(from, "FROM")) {
        update.setEnd = std::min(update.where, Size());
        return update;
    }
    update.from = from;
    update.setEnd = from;
    update.sources = ReadUpdateSources(from + 1, update.where);
    const auto named =
        std::find_if(update.sources.begin(), update.sources.end(),
                     [&](const UpdateSource& source) { return source.IsNamedBy(update.target); });
    if (named != update.sources.end())
        update.updated = static_cast<std::size_t>(named - update.sources.begin());
    return update;
}

// The FROM list in [first, end): sources joined by commas and JOINs.
std::vector<UpdateSource> StatementRewriter::ReadUpdateSources(std::size_t first,
                                                               std::size_t end) const {
    std::vector<UpdateSource> sources;
    std::string join;
    for (std::size_t k = first; k < end;) {
        UpdateSource source = ReadUpdateSource(k, end);
        source.join = join;
        k = source.End();
        sources.push_back(std::move(source));
        if (k >= end) break;
        std::tie(join, k) = ReadJoin(k);
    }
    return sources;
}

// A table or derived table at `first`, its alias and its ON condition.
UpdateSource StatementRewriter::ReadUpdateSource(std::size_t first, std::size_t end) const {
    UpdateSource source;
    source.first = first;
    std::size_t k = first;
    if (IsPunct(k, "(")) {
        k = Close(k) + 1;
    } else {
        k = LastNamePart(k);
        source.table = m_tokens[k].key;
        ++k;
    }
    if (IsWord(k, "AS")) ++k;
    if (k < end && IsName(k) && !IsJoinWord(m_tokens[k]) && !IsWord(k, "ON")) {
        source.alias = m_tokens[k].key;
        ++k;
    }
    source.last = k;
    if (!IsWord(k, "ON")) return source;
    source.onFirst = k + 1;
    source.onLast = std::min(
        FindAtDepth(k + 1,
                    [&](std::size_t j) { return IsPunct(j, ",") || IsJoinWord(m_tokens[j]); }),
        end);
    if (source.onLast == source.onFirst) Refuse("JOIN with an empty ON");
    return source;
}

// The join at `at` between two sources ("," or [INNER|CROSS|LEFT|RIGHT|FULL [OUTER]] JOIN),
// as UpdateSource::join names it, and the index after it.
std::pair<std::string, std::size_t> StatementRewriter::ReadJoin(std::size_t at) const {
    if (IsPunct(at, ",")) return {",", at + 1};
    std::string join = m_tokens[at].key;
    if (IsWord(at, "LEFT") || IsWord(at, "RIGHT") || IsWord(at, "FULL")) {
        ++at;
        if (IsWord(at, "OUTER")) ++at;
    } else if (IsWord(at, "INNER") || IsWord(at, "CROSS")) {
        ++at;
    }
    if (!IsWord(at, "JOIN")) Refuse("FROM clause of an UPDATE");
    if (join == "JOIN") join = "INNER";
    return {join, at + 1};
}

// What SQLite's UPDATE ... FROM cannot say: an outer join other than a LEFT JOIN of another
// table, a derived table as the target.
void StatementRewriter::RefuseUntranslatableUpdate(const UpdateFrom& update) const {
    for (const UpdateSource& source : update.sources) {
        if (source.join == "RIGHT" || source.join == "FULL")
            Refuse("UPDATE with " + source.join + " JOIN");
        if (source.join == "LEFT" && !source.HasOn()) Refuse("LEFT JOIN without ON");
    }
    const UpdateSource& updated = update.sources[*update.updated];
    if (updated.join == "LEFT" || updated.table.empty()) Refuse("UPDATE of that joined table");
    if (update.where + 1 == Size()) Refuse("WHERE without a condition");
}

// --- Writing ------------------------------------------------------------------------------

Toks StatementRewriter::EmitUpdateFrom(const UpdateFrom& update) const {
    Toks out = UpdateTarget(update.sources[*update.updated]);
    AppendBareSetList(update, out);
    const Toks others = OtherSources(update);
    if (!others.empty()) {
        out.push_back(m_tokens[update.from]);
        Append(out, others);
    }
    AppendConditions(update, others.empty(), out);
    return out;
}

// UPDATE Table [AS alias]
Toks StatementRewriter::UpdateTarget(const UpdateSource& updated) const {
    Toks out{m_tokens[0]};
    Toks table = Copy(updated.first, LastNamePart(updated.first) + 1);
    table.front().gap = m_tokens[1].gap;
    Append(out, table);
    if (!updated.alias.empty()) {
        const Tok& alias = m_tokens[updated.last - 1];
        out.push_back(Word("AS"));
        out.push_back(MakeTok(alias.kind, alias.text));
    }
    return out;
}

// The SET list with "target.column =" written "column =".
void StatementRewriter::AppendBareSetList(const UpdateFrom& update, Toks& out) const {
    for (std::size_t j = update.set; j < update.from; ++j) {
        const bool itemStart = IsWord(j - 1, "SET") || IsPunct(j - 1, ",");
        if (itemStart && IsName(j) && IsPunct(j + 1, ".") && IsName(j + 2) && IsPunct(j + 3, "=") &&
            m_tokens[j].key == update.target) {
            Tok column = m_tokens[j + 2];
            column.gap = m_tokens[j].gap;
            out.push_back(std::move(column));
            j += 2;
            continue;
        }
        out.push_back(m_tokens[j]);
    }
}

// The sources other than the target, joined by commas; a LEFT JOIN keeps its ON.
Toks StatementRewriter::OtherSources(const UpdateFrom& update) const {
    Toks list;
    for (std::size_t index = 0; index < update.sources.size(); ++index) {
        if (index == *update.updated) continue;
        const UpdateSource& source = update.sources[index];
        const bool left = source.join == "LEFT";
        if (!list.empty() && left) {
            list.push_back(Word("LEFT"));
            list.push_back(Word("JOIN"));
        } else if (!list.empty()) {
            list.push_back(Punct(","));
        }
        Toks part = Copy(source.first, source.last);
        part.front().gap = " ";
        Append(list, part);
        if (left) {
            list.push_back(Word("ON"));
            Toks on = Copy(source.onFirst, source.onLast);
            on.front().gap = " ";
            Append(list, on);
        }
    }
    return list;
}

// WHERE (on) AND (on) ... AND (condition): the ON conditions of the inner joins, then the
// statement's own.
void StatementRewriter::AppendConditions(const UpdateFrom& update, bool noOtherSources,
                                         Toks& out) const {
    std::vector<Toks> conditions;
    for (const UpdateSource& source : update.sources)
        if (source.HasOn() && source.join != "LEFT")
            conditions.push_back(Copy(source.onFirst, source.onLast));
    const bool hasWhere = update.where < Size();
    if (hasWhere) conditions.push_back(Copy(update.where + 1, Size()));
    if (conditions.empty()) return;
    out.push_back(hasWhere ? m_tokens[update.where] : Word("WHERE"));
    out.back().gap = noOtherSources && hasWhere ? m_tokens[update.where].gap : " ";
    for (Toks& condition : conditions) {
        if (&condition != &conditions.front()) out.push_back(Word("AND"));
        out.push_back(Punct("(", " "));
        condition.front().gap = "";
        Append(out, condition);
        out.push_back(Punct(")"));
    }
}

}  // namespace velaqm::host::dialect

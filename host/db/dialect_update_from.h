// UPDATE ... FROM as the statement rewriter reads it (dialect_update_from.cpp). SQL Server's
//   UPDATE alias SET ... FROM Table alias JOIN ... ON ... WHERE ...
// is read into an UpdateFrom, then written as SQLite's
//   UPDATE Table AS alias SET ... FROM <the other tables> WHERE <the join conditions> AND ...
// since SQLite's FROM may not repeat the target, its ON clauses cannot see the target, and its
// SET targets are bare. Positions are indices into the statement's tokens; names are keys.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velaqm::host::dialect {

// One table of the FROM list.
struct UpdateSource {
    std::size_t first = 0, last = 0;  // the table (or derived table) and its alias
    std::string table;                // empty for a derived table
    std::string alias;
    std::string join;  // "" for the first, "," or INNER, LEFT, RIGHT, FULL, CROSS
    std::size_t onFirst = 0, onLast = 0;  // its ON condition; onFirst is 0 when it has none

    bool HasOn() const { return onFirst != 0; }
    // Just past the source and its ON condition.
    std::size_t End() const { return HasOn() ? onLast : last; }
    // Whether the name after UPDATE means this source.
    bool IsNamedBy(std::string_view target) const {
        return alias.empty() ? table == target : alias == target;
    }
};

struct UpdateFrom {
    std::string target;      // the name after UPDATE: a table, or an alias FROM gives
    std::size_t set = 0;     // the SET keyword
    std::size_t setEnd = 0;  // just past the SET list: FROM, WHERE or the end
    std::size_t from = 0;    // the FROM keyword; 0 when there is none
    std::size_t where = 0;   // the WHERE keyword, or the statement's size when there is none
    std::vector<UpdateSource> sources;
    std::optional<std::size_t> updated;  // the source `target` names, if FROM has it
};

}  // namespace velaqm::host::dialect

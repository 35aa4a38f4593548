// SQL Server's type names that the dialect and the database tell apart, each set written once:
// the translator, the registered functions and the reading of columns agree on what a date
// and a text type are.
#pragma once

#include <algorithm>
#include <array>
#include <string_view>

namespace velaqm::host {

// Types whose values are dates: stored as 'YYYY-MM-DD HH:MM:SS' text, read back as dates.
inline constexpr std::array<std::string_view, 4> kDateTypeNames = {"DATETIME", "SMALLDATETIME",
                                                                   "DATE", "DATETIME2"};
// Types of text, which take the host's text collation.
inline constexpr std::array<std::string_view, 6> kCharTypeNames = {"CHAR",     "VARCHAR", "NCHAR",
                                                                   "NVARCHAR", "TEXT",    "NTEXT"};

// `name` in upper case, as SQL Server's type names are compared here.
inline bool IsDateTypeName(std::string_view name) {
    return std::find(kDateTypeNames.begin(), kDateTypeNames.end(), name) != kDateTypeNames.end();
}
inline bool IsCharTypeName(std::string_view name) {
    return std::find(kCharTypeNames.begin(), kCharTypeNames.end(), name) != kCharTypeNames.end();
}

}  // namespace velaqm::host

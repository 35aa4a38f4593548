// `velaqm sql`: SQL Server text run on a database file through the host's dialect layer.
#pragma once

#include <filesystem>
#include <ostream>
#include <string_view>

#include "host/db/database.h"

namespace velaqm::cli {

// The result set as tab-separated text with a header row. NULL is an empty field; a tab, a
// line break or a backslash inside a value is written \t, \n, \r or \\.
void WriteTabSeparated(const host::ResultSet& result, std::ostream& out);
// The result set as {"columns":[...],"rows":[[...],...]}: NULL as null, numbers as numbers,
// dates and text as strings.
void WriteJson(const host::ResultSet& result, std::ostream& out);

// Runs the statement and prints the last result set; a batch that returns none prints nothing.
// An error goes to `err` and gives 2.
int RunSql(const std::filesystem::path& database, std::string_view statement, bool json,
           std::ostream& out, std::ostream& err);

}  // namespace velaqm::cli

// The host's own reads and writes: native SQLite text with bound parameters, never spliced.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "frame/variant.h"
#include "host/db/database.h"

namespace velaqm::host {

using Row = std::vector<Variant>;

std::vector<Row> QueryRows(Database& db, std::string_view sql,
                           std::initializer_list<Variant> params = {});
// The first column of the first row; Empty when there is no row.
Variant QueryValue(Database& db, std::string_view sql, std::initializer_list<Variant> params = {});
void RunNative(Database& db, std::string_view sql, std::initializer_list<Variant> params = {});

}  // namespace velaqm::host

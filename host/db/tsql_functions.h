// SQL Server's functions as SQLite functions, for the statements the dialect translates:
// GETDATE (the session's clock), CONVERT and CAST (tsql_convert, with the date styles the
// plug-ins use), LEN, CHARINDEX, LEFT, RIGHT, DATEADD, DATEDIFF, DATEPART, YEAR, MONTH, DAY,
// DATALENGTH, and the arithmetic SQLite does otherwise (+ joining texts, refused division by
// zero, AVG of whole numbers). All are registered SQLITE_DIRECTONLY: they serve top-level
// statements, never views, triggers or defaults.
#pragma once

#include <functional>

#include "frame/date.h"

struct sqlite3;

namespace velaqm::host {

// `now` answers GETDATE(); it must stay valid while the connection is open.
void RegisterSqlServerFunctions(sqlite3* db, const std::function<Date()>* now);

// The collation of text columns (kTextCollation): case-insensitive for ASCII letters, trailing
// blanks ignored. Every connection registers it, since the seeded tables' text columns and
// their indexes use it.
void RegisterTextCollation(sqlite3* db);

}  // namespace velaqm::host

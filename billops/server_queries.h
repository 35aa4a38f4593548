// Reads that belong to no one bill: the client's local switch database, today's date at the
// server, a name of the quality module's table QMaInfo, the system parameters, and queries.
#pragma once

#include <string>
#include <string_view>

#include "frame/date.h"
#include "frame/host_services.h"

namespace velaqm {

// A connection string that opens the switch database ("ErpSwitch.sss", else
// "erpSystem\ErpSwitch.sss", in the client's folder), or "" when there is none or it cannot be
// opened. A read-only file is made writable first.
std::string OpenSwitchDatabase();
// The connection string that opened the Jet file (the 3.51 provider first, then 4.0), or ""
// after telling the user that the file cannot be opened.
std::string OpenJetDatabase(std::string_view path);
// The server's date (no time of day); the client's when the server gives none. A failing read
// is shown to the user and also gives the client's date.
Date GetServerDate();
// "FName" of the QMaInfo record of the class type and number, or "".
std::string GetQMaInfoName(int classTypeId, std::string_view number);
// A system parameter of the "IC" category, as the quality module's data access reads it.
std::string GetSystemValue(std::string_view name);
// True when the statement returns at least one row.
bool RecordExists(std::string_view sql);
// The statement run on the connection; null when it returns no recordset.
RecordsetPtr RunQuery(std::string_view sql);
// The recordset has a current row.
bool HasRow(const RecordsetPtr& rows);

}  // namespace velaqm

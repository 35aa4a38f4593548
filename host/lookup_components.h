// The substitutes of the host's class-info, template, bill-lookup and quality data-access
// components, and how the substitute reaches a class's bill tables: through its list template
// (ICListTemplate), its transaction type (ICTransactiontype) or its own template, with the head
// reachable as "v1" and the entries as "u1" as well as by their own names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "frame/collections.h"
#include "frame/object.h"
#include "host/db/database.h"

namespace velaqm::host {

class Session;

// The tables of the bills of a class or list, as the lookups and links read them.
struct BillTables {
    std::string name;  // the class's name in the session's language, else the list's
    std::string head;
    std::string entry;       // "" for a bill without entries
    std::string key;         // the head's internal ID, which the entries repeat
    std::string billNo;      // the number column of the head, "" when it has none
    std::string listFilter;  // the list template's own condition
};

// By a class type, list template or transaction type ID; a negative ID stands for the list of
// that class. nullopt when the catalog knows none of them.
std::optional<BillTables> ResolveBillTables(Session& session, int classId);

// The chosen rows ("FInterID", or "FID", and for entry rows "FEntryID") as a condition on the key
// expression of the head and on "u1.FEntryID"; "1=0" for none.
std::string ChosenRowsCondition(const VectorPtr& chosen, const std::string& keyExpr,
                                bool withEntries);
bool HasColumn(Database& db, std::string_view table, std::string_view column);
// The head's internal ID column: FInterID when the head has it, else FID.
std::string JoinKeyOf(Database& db, std::string_view head);
// True when SQL text names a column of the entries, as "u1." or by the entry table's name.
bool NamesEntries(const BillTables& tables, std::string_view sql);
// "SELECT select FROM head [WHERE where] [ORDER BY orderBy]", joined to the entries (one row per
// entry) when any part names them. The parts may name the head "v1" and the entries "u1", as
// the plug-ins' filters do, or the tables by their own names; unqualified columns stay
// unambiguous wherever the entries are not named.
std::string BillQuery(const BillTables& tables, std::string_view select, std::string_view where,
                      std::string_view orderBy);

ObjectPtr MakeClassInfo(Session& session);
ObjectPtr MakeClassTemplate(Session& session);
ObjectPtr MakeBillLookUp(Session& session);
ObjectPtr MakeDataInfo(Session& session);

}  // namespace velaqm::host

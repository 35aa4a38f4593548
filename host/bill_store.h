// Loading a bill from its class's tables and saving it back, one transaction per save.
#pragma once

#include "frame/collections.h"
#include "host/catalog.h"
#include "host/db/database.h"

namespace velaqm::host {

// The bill data of a saved bill: "PageCount", "Page1" (field key to value set) and, for a bill
// with an entry page, "Page2" (a Vector of rows, each field key to value set). Lookup fields get
// their number and display text from the looked-up table. Throws HostError when there is no
// such bill.
DictionaryPtr LoadBill(Database& db, const ClassDef& def, int billId);

// Writes the bill in one transaction and returns its internal ID (a new bill gets one more than
// the largest in its head table). A failure rolls everything back and throws.
int SaveBill(Database& db, const ClassDef& def, const DictionaryPtr& data, int billId);

// The number a new bill of the class is offered: its prefix and the next internal ID in six
// digits, or the first free number after that when a bill holds it already.
std::string ProposedBillNumber(Database& db, const ClassDef& def);

// Whether a bill other than `billId` holds the bill number (compared as the number column
// compares: case and trailing blanks aside). An empty number is never taken.
bool BillNumberTaken(Database& db, const ClassDef& def, std::string_view number, int billId);

// The value set of a lookup field for a stored value: number and display text from the
// looked-up table ("" when the record is not there).
void ResolveLookup(Database& db, const FieldDef& field, const DictionaryPtr& value);

// True when a row of the entry page holds any value.
bool RowHoldsData(const DictionaryPtr& row);

}  // namespace velaqm::host

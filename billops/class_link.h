// Filling a bill from rows of another class through the host's class link, which knows for
// each field of the bill the source column that fills it.
#pragma once

#include "frame/collections.h"
#include "frame/host_bill.h"
#include "frame/host_services.h"

namespace velaqm {

// One Dictionary per record (column name -> value), in the recordset's order; empty for a null
// or empty recordset.
VectorPtr RowDictionaries(const RecordsetPtr& rows);

// The bill filled from the rows ("FInterID" or "FID", and "FEntryID" for entry rows) of bills
// of the source class: the class link builds the data and the bill control fills it in.
void FillThroughClassLink(BillEvent& bill, int sourceClassTypeId, const VectorPtr& rows);

}  // namespace velaqm

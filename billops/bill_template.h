// What the list operations read from a bill template: the number field and the head table.
#pragma once

#include <string>
#include <string_view>

#include "frame/host_bill.h"
#include "frame/host_services.h"

namespace velaqm {

// The column of the bill number: the "FFieldName" of the template's "BillNoField" field.
std::string NumberFieldName(const DataSrv& billTemplate);
// The head table: page 2's table when page 2 is a head page ("FEntryType" 0), else page 1's.
std::string HeadTableName(const DataSrv& billTemplate);

// "select FCheckerID,<number field> as FBillNo from <head table> where FID=<id>" for one bill;
// `where` is the text between the table and the ID, as each operation words it.
RecordsetPtr ReadCheckerAndNumber(const DataSrv& billTemplate, const Variant& billId,
                                  std::string_view where = " where FID=");

}  // namespace velaqm

// Loading a bill from its class's tables and saving it back, one transaction per save.
#pragma once

#include <cstdint>
#include <string_view>

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
// A source-bill lookup holds the number as typed or filled in; it shows the source bill's name
// when the source names its bills apart from their numbers and the number is found.
void ShowSourceBill(Database& db, const FieldDef& field, const DictionaryPtr& value);

// Database type codes read as numbers: the integer, float, decimal, money and bit types (ADO's
// codes and SQL Server's system type IDs).
bool IsNumericType(int valueType);

// What a numeric field of the substitute's SQLite tables keeps exactly. A whole number is bound
// as a 64-bit integer, so the client's decimal(28,10) quantity fields keep their 18 whole digits;
// a number with a fraction is stored as a REAL, which keeps 15 significant digits, so such a
// number may have at most kFractionDigits in all (and no more places than the type has).
struct NumberLimits {
    static constexpr int kFractionDigits = 15;
    std::int64_t min = 0;
    std::int64_t max = 0;
    int places = 0;   // decimal places the type keeps; 0 for whole numbers only
    int digits = 18;  // significant digits of any value (15 for the float types)
};
NumberLimits NumberLimitsOf(int valueType);

// Why typed text cannot go into a numeric field of the type, or None when it can.
enum class TypedNumberProblem {
    None,
    NotANumber,
    OutOfRange,
    WholeOnly,
    TooManyPlaces,
    TooManyDigits
};
TypedNumberProblem CheckTypedNumber(int valueType, std::string_view text);

// True when a row of the entry page holds any value.
bool RowHoldsData(const DictionaryPtr& row);

}  // namespace velaqm::host

// The rules of the reject processing bill, as pure decisions over what the strategy read of the
// bill: the statements that propose its reject quantity and find its receipt's number, and the
// check that the rows' defect quantities add up to the reject quantity.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "frame/decimal.h"
#include "frame/variant.h"

namespace velaqm {

// The receipt row's open nonconforming quantity (not passed less committed), or the inspection's
// not-passed quantity when that is smaller: one row with "FRejectQtyTmp".
std::string RejectQtyStatement(std::int32_t requestBillId, std::int32_t checkBillId);

// The requesting receipt to look up: none for Null, for what is not a number and for an ID of 0
// or less (or one beyond a Long).
std::optional<std::int32_t> RequestedReceipt(const Variant& requestBillId);
std::string RequestBillNoStatement(std::int32_t requestBillId);

// A proposed reject quantity replaces the bill's only when it is greater than 0.
bool ReplacesRejectQty(const Variant& proposed);

// One entry row as the defect check reads it.
struct DefectRow {
    Variant handling;  // FDefectHandlingID
    Variant quantity;  // FDefectQty
};

// The sum of the defect quantities of the rows that have a defect handling, wherever they stand.
Decimal DefectTotal(const std::vector<DefectRow>& rows);
// The rows' defect quantities add up exactly to the bill's reject quantity (empty counts as 0).
bool DefectsAddUp(const Variant& rejectQty, const std::vector<DefectRow>& rows);

}  // namespace velaqm

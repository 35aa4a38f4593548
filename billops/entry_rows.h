// The entry rows of the inspection bills: which rows are filled, the cells a filled row keeps
// open on a locked bill, the display settings of a quantitative check item's cells, and the
// rule that a bill keeps at least one row.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "frame/host_bill.h"
#include "frame/host_toolbar.h"

namespace velaqm {

// The analysis method of a check item measured against a target and limits.
inline constexpr int kQuantitativeAnalysis = 10;

// The entry rows (counted from 1) whose value of the key is not empty, wherever they stand.
std::vector<int> FilledRows(BillEvent& bill, std::string_view key);

// On a bill being edited or looked at (mode 1 or 2): the key column is locked, and in every
// filled row the open columns and every user-defined column of the entry page are unlocked, so
// that only what is recorded against a row can be typed.
void OpenFilledRowCells(BillEvent& bill, std::string_view lockedColumn,
                        std::span<const std::string_view> openColumns);

// A quantitative check item's row: the number in the FBaseProperty column of the row is handed
// to the host's cell setting of each of the columns. Rows of other analysis methods are left
// alone; a setting that fails does not stop the others.
void ApplyBaseProperty(BillEvent& bill, int row, std::span<const std::string_view> columns);

// The row-delete tool on a bill whose last filled row it would remove: refused with a message.
// True when refused.
bool RefuseLastRowDelete(BillEvent& bill, std::string_view key, bool& Cancel);

}  // namespace velaqm

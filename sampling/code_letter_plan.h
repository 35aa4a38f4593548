// The code-letter method of the sampling standard: its entry rows come from the lot-size/code
// letter table for the inspection level, and each row's sample quantity and Ac/Re from the
// sampling plans of the strictness and AQL, read in one batch.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/host_bill.h"

namespace velaqm {

// The AQL as its column token: "." becomes "_" ("1.0" is "1_0", "10" stays "10").
std::string AqlToken(std::string_view aql);
// The letter column of an inspection level ("C2" is "FC2"); "" for anything but the seven.
std::string LetterColumn(std::string_view level);

// The plan batch for the level, strictness and AQL token. Throws HostError when a name it would
// splice is not a plain identifier.
std::string CodeLetterPlanSql(std::string_view level, std::string_view strictness,
                              std::string_view aqlToken);

// The entry rows counted as filled: those whose lot size, read as a number, is not 0.
int FilledEntryRows(BillEvent& bill);

// Writes one entry row from (field key, value) pairs: row 1 replaces the page's first row, a
// later row is inserted at its position. False for a row or page that does not exist.
bool WriteEntryRow(BillEvent& bill, int page, int row,
                   const std::vector<std::pair<std::string, Variant>>& values);

// Rebuilds the entry rows from the code-letter table for the level; true when a row was written.
bool WriteCodeLetterRows(BillEvent& bill, std::string_view level);

// Brings the code-letter rows up to date with the head's level, strictness and AQL; with
// `reloadRows` the rows are generated afresh first. Does nothing for another method.
void RefreshAcRe(BillEvent& bill, bool reloadRows);

// What the open range's lot size counts as when a sample is capped.
inline constexpr std::int64_t kOpenRangeCap = 9999999;

// The sample quantity of a range: the whole lot when it is smaller than the plan's sample.
std::int64_t SampleQuantity(std::optional<std::int64_t> lotSize, std::int64_t planSample);

}  // namespace velaqm

// The rules of the item supply bill over plain values: the order shares of its suppliers add up
// to exactly 100, a supplier is entered once, and a check mode without inspection names no
// scheme.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "frame/variant.h"

namespace velaqm {

// The check mode whose deliveries are taken without inspection: its rows have no scheme.
inline constexpr int kNoInspectionMode = 352;

// The refusal of the rows' order shares (each row's value as stored; empty counts as 0),
// added exactly: under 100 or over 100; nothing when they add up to 100.
std::optional<std::string_view> OrderShareRefusal(std::span<const Variant> shares);

// True when a row other than `row` (rows counted from 1) holds the supplier, compared as text.
// An empty supplier is never repeated.
bool SupplierRepeated(std::span<const std::string> suppliers, int row);

// True when the row's check mode is the one without inspection.
bool NeedsNoScheme(const Variant& checkMode);

// The scheme of a row to look for: its whole number, or nothing when the row names none
// (empty, or the ID 0 the host keeps for an emptied cell).
std::optional<Variant> SchemeToCheck(const Variant& scheme);

}  // namespace velaqm

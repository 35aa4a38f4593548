// The rules of the item supply bill over plain values: the order shares of its suppliers add up
// to exactly 100, and a check mode without inspection names no scheme.
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

// True when the row's check mode is the one without inspection.
bool NeedsNoScheme(const Variant& checkMode);

// The scheme of a row to look for: its whole number, or nothing when the row names none
// (empty, or the ID 0 the host keeps for an emptied cell).
std::optional<Variant> SchemeToCheck(const Variant& scheme);

}  // namespace velaqm

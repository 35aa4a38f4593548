// The filter of a lookup field: SQL condition text whose place-holders
// "GetFldValue(key,mode)" stand for values of the open bill. Expanding it puts each field's value
// in as an SQL literal, or neutralises the condition, or drops the whole filter, by the mode.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/collections.h"
#include "frame/host_bill.h"
#include "frame/variant.h"

namespace velaqm {

// The stored value ("FFLD") of a field: the head for row 0, an entry row for 1 or more; Empty
// for a negative row.
Variant GetFieldValue(BillEvent& bill, std::string_view key, int row);

// The place-holders of a filter, each the exact text from "GetFldValue(" to the next ")",
// in order of appearance (the function name in any letter case).
std::vector<std::string> ExtractFieldCalls(std::string_view filter);

// How a place-holder treats an empty field.
namespace fld_mode {
inline constexpr int kNeutralise = 0;  // the condition holds for every row ("... or 1=1")
inline constexpr int kDropFilter = 1;  // the whole filter goes
}  // namespace fld_mode

enum class FieldValueKind { Number, Date, Text };
// By the database type code of the field ("FValueType").
FieldValueKind ValueKindOf(int valueType);

// A field's value as an SQL literal; `filled` is false for an empty value (0, no date, blank).
struct FieldLiteral {
    std::string text;
    bool filled = false;
};
FieldLiteral MakeFieldLiteral(FieldValueKind kind, const Variant& raw);

// What the place-holder becomes by its mode; nullopt when the whole filter is dropped.
std::optional<std::string> PlaceholderText(const FieldLiteral& literal, int mode);

// What a place-holder reads of a field: its type code and stored value.
struct FieldReading {
    int valueType = 200;
    Variant raw;
};
// nullopt for a key the bill does not have.
using FieldReader = std::function<std::optional<FieldReading>(std::string_view key)>;

// The filter that selects nothing: what a place-holder naming no field of the bill leaves.
inline constexpr std::string_view kNoRowsFilter = "1=0";

// The trimmed filter with every place-holder replaced, "" when it is dropped.
std::string ExpandFilterText(std::string_view filter, const FieldReader& read);
// The same over the bill's own fields.
std::string ExpandFilterText(std::string_view filter, BillEvent& bill);
// The lookup definition's "FFilter" expanded over the bill.
std::string ExpandFilter(const DictionaryPtr& lookup, BillEvent& bill);

}  // namespace velaqm

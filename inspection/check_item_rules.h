// The check item's rules that need no host: the decimal places its analysis method calls for,
// the note of the item import template, and what the check-value dialog is given.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/variant.h"

namespace velaqm {

// The decimal places of an item's quantities: 2 for the quantitative analysis (method 10), 0
// for any other number; nullopt for a method that is not numeric (nothing is to change).
std::optional<std::int16_t> QtyDecimalOf(const Variant& analysisMethod);

// The lines of the item import template's note, in order, before translation.
// clang-format off
inline constexpr std::array<std::string_view, 3> kExportNoteLines = {
    "本模板用于检验项目导入；",
    "对基础资料（如分析方法），请输入代码，模板本身不校验代码的有效性，录入时，请确保代码在系统中有效；",
    "导入时支持默认值和携带，因此，对有携带关系或默认值的字段，可省略。",
};
// clang-format on

// What the check item is, as the check-value command reads it.
struct CheckItemFacts {
    std::int32_t id = 0;  // 0 while the item is not saved
    std::string number;
    std::string parentNumber;
    std::string name;
};

// One item of the dictionary the check-value dialog is given.
struct DialogItem {
    std::string_view key;
    Variant value;
};

// The dialog's data for a saved item, in the order the dialog reads it: the parent number, the
// item's own number as the group number, its internal ID and its name.
std::vector<DialogItem> ItemDialogData(const CheckItemFacts& item);

}  // namespace velaqm

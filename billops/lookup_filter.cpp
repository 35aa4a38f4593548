#include "billops/lookup_filter.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <exception>
#include <utility>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/sql_text.h"
#include "frame/text_util.h"

namespace velaqm {

namespace {

constexpr std::string_view kCallStart = "getfldvalue(";

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The position of the next "GetFldValue(" at or after `from`, in any letter case.
std::size_t FindCall(std::string_view text, std::size_t from) {
    const auto at = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(),
                                kCallStart.begin(), kCallStart.end(),
                                [](char a, char b) { return Lower(a) == b; });
    return at == text.end() ? std::string_view::npos : static_cast<std::size_t>(at - text.begin());
}

// The place-holder starting at `start`: its length, or npos when no ")" closes it.
std::size_t CallLength(std::string_view text, std::size_t start) {
    const std::size_t close = text.find(')', start + kCallStart.size());
    return close == std::string_view::npos ? close : close - start + 1;
}

struct FieldCall {
    std::string key;
    int mode = 0;
};

// "GetFldValue(FItemID,0)" as key and mode; nullopt without a key or a whole-number mode.
std::optional<FieldCall> ParseFieldCall(std::string_view call) {
    const std::string_view inner =
        call.substr(kCallStart.size(), call.size() - kCallStart.size() - 1);
    const std::size_t comma = inner.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const std::string key = Trim(inner.substr(0, comma));
    const std::string mode = Trim(inner.substr(comma + 1));
    if (key.empty() || !IsNumeric(mode)) return std::nullopt;
    return FieldCall{key, static_cast<int>(WholeNumber(mode))};
}

std::string SlashDate(const Date& date) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%04d/%02d/%02d", date.Year(), date.Month(),
                  date.Day());
    return text.data();
}

}  // namespace

Variant GetFieldValue(BillEvent& bill, std::string_view key, int row) {
    if (row < 0) return Variant();
    return bill.GetDataFld(bill.GetFieldInfoByKey(key, "", 0), row)->Item("FFLD");
}

std::vector<std::string> ExtractFieldCalls(std::string_view filter) {
    std::vector<std::string> calls;
    for (std::size_t at = FindCall(filter, 0); at != std::string_view::npos;) {
        const std::size_t length = CallLength(filter, at);
        if (length == std::string_view::npos) break;
        calls.emplace_back(filter.substr(at, length));
        at = FindCall(filter, at + length);
    }
    return calls;
}

FieldValueKind ValueKindOf(int valueType) {
    constexpr std::array kNumbers = {104, 106, 62, 56, 60, 108, 59, 52, 48};
    constexpr std::array kDates = {61, 189};
    if (std::find(kNumbers.begin(), kNumbers.end(), valueType) != kNumbers.end())
        return FieldValueKind::Number;
    if (std::find(kDates.begin(), kDates.end(), valueType) != kDates.end())
        return FieldValueKind::Date;
    return FieldValueKind::Text;
}

FieldLiteral MakeFieldLiteral(FieldValueKind kind, const Variant& raw) {
    switch (kind) {
        case FieldValueKind::Number: {
            std::string number = SqlNumber(raw);
            const bool filled = number != "0";
            return {std::move(number), filled};
        }
        case FieldValueKind::Date: {
            const std::optional<Date> date = Trim(Text(raw)).empty() ? std::nullopt : ToDate(raw);
            if (!date) return {"NULL", false};
            return {SqlText(SlashDate(*date)), true};
        }
        case FieldValueKind::Text:
            break;
    }
    const std::string text = Trim(Text(raw));
    if (text.empty()) return {"''", false};
    return {SqlText(text), true};
}

std::optional<std::string> PlaceholderText(const FieldLiteral& literal, int mode) {
    if (literal.filled) return literal.text;
    if (mode == fld_mode::kNeutralise) return literal.text + " or 1=1";
    if (mode == fld_mode::kDropFilter) return std::nullopt;
    return literal.text;
}

std::string ExpandFilterText(std::string_view filter, const FieldReader& read) {
    const std::string trimmed = Trim(filter);
    // Each place-holder's text once, with what it becomes.
    std::vector<std::pair<std::string, std::string>> replacements;
    for (const std::string& call : ExtractFieldCalls(trimmed)) {
        const bool known = std::any_of(replacements.begin(), replacements.end(),
                                       [&](const auto& r) { return EqualsNoCase(r.first, call); });
        if (known) continue;
        const std::optional<FieldCall> parsed = ParseFieldCall(call);
        const std::optional<FieldReading> field =
            parsed ? read(parsed->key) : std::optional<FieldReading>();
        if (!field) return std::string(kNoRowsFilter);
        const std::optional<std::string> text = PlaceholderText(
            MakeFieldLiteral(ValueKindOf(field->valueType), field->raw), parsed->mode);
        if (!text) return "";
        replacements.emplace_back(call, *text);
    }
    if (replacements.empty()) return trimmed;

    // One pass over the filter, so that a value holding place-holder text is never expanded.
    std::string expanded;
    std::size_t copied = 0;
    for (std::size_t at = FindCall(trimmed, 0); at != std::string_view::npos;) {
        const std::size_t length = CallLength(trimmed, at);
        if (length == std::string_view::npos) break;
        const std::string_view call = std::string_view(trimmed).substr(at, length);
        const auto found = std::find_if(replacements.begin(), replacements.end(),
                                        [&](const auto& r) { return EqualsNoCase(r.first, call); });
        expanded.append(trimmed, copied, at - copied);
        expanded += found->second;
        copied = at + length;
        at = FindCall(trimmed, copied);
    }
    expanded.append(trimmed, copied);
    return expanded;
}

std::string ExpandFilterText(std::string_view filter, BillEvent& bill) {
    return ExpandFilterText(filter, [&bill](std::string_view key) -> std::optional<FieldReading> {
        // A key the bill does not have, or one it cannot read in the head, names no field.
        try {
            const DictionaryPtr info = bill.GetFieldInfoByKey(key, "", 0);
            if (!info) return std::nullopt;
            const DictionaryPtr value = bill.GetDataFld(info, 0);
            return FieldReading{static_cast<int>(WholeNumber(info->Item("FValueType"))),
                                value ? value->Item("FFLD") : Variant()};
        } catch (const HostError&) {
            return std::nullopt;
        }
    });
}

std::string ExpandFilter(const DictionaryPtr& lookup, BillEvent& bill) {
    return ExpandFilterText(Text(lookup->Item("FFilter")), bill);
}

}  // namespace velaqm

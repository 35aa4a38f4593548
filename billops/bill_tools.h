// The keys of the bill toolbar's tools that the plug-ins set, and the two tool properties.
#pragma once

#include <array>
#include <string_view>

namespace velaqm {

namespace tool {
inline constexpr std::string_view kCheck = "mnuEditCheck";
inline constexpr std::string_view kUnCheck = "mnuEditUnCheck";
inline constexpr std::string_view kAddRow = "mnuEditAddRow";
inline constexpr std::string_view kDelRow = "mnuEditDelRow";
inline constexpr std::string_view kDelEntry = "mnuEditDelEntry";
inline constexpr std::string_view kCopyRow = "mnuCopyRow";
inline constexpr std::string_view kBatchFillField = "mnuBatchFillField";
inline constexpr std::string_view kFileSave = "mnuFileSave";
inline constexpr std::string_view kDataLookUp = "mnuDataLookUp";
inline constexpr std::string_view kSelectBill = "mnuSelectBill";
inline constexpr std::string_view kEdit = "mnuEdit";
inline constexpr std::string_view kCopy = "mnuEditCopy";
inline constexpr std::string_view kCopyEntry = "mnuEditCopyEntry";
inline constexpr std::string_view kDelete = "mnuEditDelete";
inline constexpr std::string_view kViewSourceBill = "mnuDataViewPrvBill";

// The tools that change the entry rows: hidden on a bill that may not be edited.
inline constexpr std::array kRowTools = {kAddRow, kDelRow, kDelEntry, kCopyRow, kBatchFillField};
}  // namespace tool

// The tool properties of SetBarStatus.
inline constexpr std::string_view kVisible = "Visible";
inline constexpr std::string_view kEnabled = "Enabled";

}  // namespace velaqm

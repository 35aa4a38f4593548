// The quality standard's rules that need no host: the cells a row's target quantity writes, the
// rule a changed field calls for, the condition a typed scheme number is looked up by, and what
// a load and the entry of the scheme field make of the toolbar and the locks.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velaqm {

// The inspection scheme a quality standard is filled from.
inline constexpr int kInspectionSchemeClass = 45;

// The eight value columns of an entry row, in the order a quantitative row's cells are set up.
inline constexpr std::array<std::string_view, 8> kValueColumns = {
    "FTargetQty",  "FLowerLimitQty", "FUpperLimitQty",  "FTarget",
    "FLowerLimit", "FUpperLimit",    "FLowerTolerance", "FUpperTolerance"};

// One cell of a row and the text written into it.
struct CellText {
    std::string_view key{};
    std::string text{};

    friend bool operator==(const CellText&, const CellText&) = default;
};

// A target quantity other than 0 becomes both limits of the quantity and of the target, with no
// tolerance either side; 0 writes nothing. In the order the cells are written.
std::vector<CellText> TargetCells(double target);

// What a change of a field asks for; field keys compare without regard to case.
enum class ChangeRule { kNone, kSchemeCheck, kRowRule, kTargetRule };
ChangeRule ChangeRuleOf(std::string_view fieldKey);

bool IsSchemeField(std::string_view fieldKey);

// The typed scheme number as it is looked up: without surrounding blanks; nullopt when nothing
// is left, which is not looked up at all.
std::optional<std::string> SchemeNumberToCheck(std::string_view typed);

// The condition the schemes are searched by: the number as a quoted literal, so that whatever
// was typed is looked up exactly.
std::string SchemeFilter(std::string_view number);

// What a load makes of the bill: the scheme field is locked on a bill being edited, the display
// is refreshed on an audited bill or one another user holds, and the audit tools are hidden on
// a bill looked at or held by another user.
struct LoadState {
    bool lockSchemeField = false;
    bool refreshDisplay = false;
    bool hideAuditTools = false;

    friend bool operator==(const LoadState&, const LoadState&) = default;
};
LoadState LoadStateOf(int billStatus, bool mutexSuccess, double checker);

// Entering the scheme field offers the lookup tool only to the user who holds an unaudited bill.
bool OffersSchemeLookUp(bool mutexSuccess, double checker);

}  // namespace velaqm

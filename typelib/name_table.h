// The host member names of the operations the plug-ins know only by role (the form object,
// the mode value, reading a head value, ...), of the host's Dictionary and Vector and of the
// list-selection control, and the ProgID of the toolbar control. The defaults are the client's
// usual names; a deployment whose client names them otherwise puts a file
// `VelaQMBillEvent.names` beside the DLL, one `role = HostMember` per line, `#` comments.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <iterator>
#include <string>
#include <string_view>

#include "frame/host_services.h"

namespace velaqm::com {

// A role and its default host member: the part of the role after the dot unless stated.
struct RoleEntry {
    constexpr RoleEntry(const char* role)  // NOLINT(google-explicit-constructor)
        : name(role), member(AfterDot(name)) {}
    constexpr RoleEntry(const char* role, std::string_view defaultMember)
        : name(role), member(defaultMember) {}

    std::string_view name;
    std::string_view member;

  private:
    static constexpr std::string_view AfterDot(std::string_view role) {
        const auto dot = role.find('.');
        return dot == std::string_view::npos ? role : role.substr(dot + 1);
    }
};

// Every role the table knows. Besides members, the ProgID of a client class the library creates
// under a name of its own choosing is a role: the code keeps asking for its own name.
inline constexpr RoleEntry kRoles[] = {
    "BillCtl",
    "Mode",
    "GetHeadValue",
    "SetValueByKey",
    "SetFieldText",
    "SetCellValue",
    "EnableField",
    "LockCell",
    "SetCellSetting",
    "RefreshDisplay",
    "LockBill",
    "ClearPage",
    "EntryPages",
    "ToolIndex",
    "BillData",
    "SetSelectMode",
    "GetEntryValue",
    "EntryRowCount",
    "MenuBar",
    "ActiveControl",
    "Dictionary.Item",
    "Dictionary.Exists",
    "Dictionary.Remove",
    "Dictionary.Count",
    "Dictionary.Keys",
    "Dictionary.Clear",
    "Vector.Item",
    "Vector.Size",
    "Vector.Insert",
    "Vector.Remove",
    "Vector.Clear",
    "EntryColumn.Row",
    "EntryColumn.Value",
    "EntryColumn.DisplayFlag",
    "ListControl.OK",
    "ListControl.ListInfo",
    "ListControl.CloseList",
    "ListControl.DoAction",
    "Tools.InsertBefore",
    RoleEntry("ToolbarControl.ProgID", progid::kToolbarControl),
};
inline constexpr std::size_t kRoleCount = std::size(kRoles);

// The position of a role in kRoles; kRoleCount when the table does not know it.
constexpr std::size_t RoleIndex(std::string_view role) {
    for (std::size_t i = 0; i < kRoleCount; ++i)
        if (kRoles[i].name == role) return i;
    return kRoleCount;
}

// A role as the adapters write it in code, found in kRoles when compiling: reading its member on
// every host call is then an array index, not a search by text.
class RoleName {
  public:
    template <std::size_t N>
    consteval RoleName(const char (&role)[N])  // NOLINT(google-explicit-constructor)
        : m_text(role, N - 1), m_index(RoleIndex(m_text)) {
        // A role missing from kRoles would send its own text to the host as a member name.
        if (m_index == kRoleCount) throw "not a role of kRoles";
    }
    std::string_view Text() const { return m_text; }
    std::size_t Index() const { return m_index; }

  private:
    std::string_view m_text;
    std::size_t m_index;
};

class NameTable {
  public:
    // The defaults.
    NameTable();

    // The defaults with the lines of a names file over them; throws std::runtime_error naming
    // the file and line for a line that is not "role = name" or names an unknown role.
    static NameTable Parse(std::string_view text, std::string_view origin);
    // Parse of the file when it exists, else the defaults.
    static NameTable Load(const std::filesystem::path& file);

    // The host member (or ProgID) for a role ("GetHeadValue", "Dictionary.Item", ...); the role
    // itself when the table does not know it. The text lives as long as the table (or the role).
    std::string_view Member(std::string_view role) const;
    // The same for a role written in code.
    std::string_view MemberOf(RoleName role) const {
        return m_members[role.Index()];  // a RoleName is always one of kRoles
    }

  private:
    std::array<std::string, kRoleCount> m_members;  // by the role's index in kRoles
};

}  // namespace velaqm::com

// The host member names of the operations the plug-ins know only by role (the form object,
// the mode value, reading a head value, ...) and of the host's Dictionary and Vector. The
// defaults are the role names themselves; a deployment whose host names them otherwise puts a
// file `VelaQMBillEvent.names` beside the DLL, one `role = HostMember` per line, `#` comments.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace velaqm::com {

class NameTable {
  public:
    // The defaults.
    NameTable();

    // The defaults with the lines of a names file over them; throws std::runtime_error naming
    // the file and line for a line that is not "role = name" or names an unknown role.
    static NameTable Parse(std::string_view text, std::string_view origin);
    // Parse of the file when it exists, else the defaults.
    static NameTable Load(const std::filesystem::path& file);

    // The host member for a role ("GetHeadValue", "Dictionary.Item", ...); the role itself
    // when the table does not know it. The text lives as long as the table (or the role).
    std::string_view Member(std::string_view role) const;

  private:
    std::map<std::string, std::string, std::less<>> m_members;
};

}  // namespace velaqm::com

#include "typelib/name_table.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "frame/text_util.h"

namespace velaqm::com {

NameTable::NameTable() {
    for (std::size_t i = 0; i < kRoleCount; ++i)
        m_members[i] = kRoles[i].member;
}

NameTable NameTable::Parse(std::string_view text, std::string_view origin) {
    NameTable table;
    std::istringstream lines{std::string(text)};
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed.front() == '#') continue;
        const auto equals = trimmed.find('=');
        const std::string role = equals == std::string::npos ? "" : Trim(trimmed.substr(0, equals));
        const std::string member =
            equals == std::string::npos ? "" : Trim(trimmed.substr(equals + 1));
        const auto where = std::string(origin) + ":" + std::to_string(number) + ": ";
        if (role.empty() || member.empty())
            throw std::runtime_error(where + "expected \"role = HostMember\"");
        const std::size_t known = RoleIndex(role);
        if (known == kRoleCount) throw std::runtime_error(where + "unknown role " + role);
        table.m_members[known] = member;
    }
    return table;
}

NameTable NameTable::Load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return NameTable();
    std::ostringstream text;
    text << in.rdbuf();
    return Parse(text.str(), file.filename().string());
}

std::string_view NameTable::Member(std::string_view role) const {
    const std::size_t known = RoleIndex(role);
    return known < kRoleCount ? std::string_view(m_members[known]) : role;
}

}  // namespace velaqm::com

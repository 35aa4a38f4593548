// Where the build leaves what the tests read: the velaqm command's folder, with the seeded
// database and the string tables beside it. The path is compiled in, so that a test program
// runs from any working folder, not only from the build directory.
#pragma once

#include <filesystem>

namespace velaqm::testing {

inline std::filesystem::path ProgramDir() {
    return VELAQM_TEST_PROGRAM_DIR;
}
inline std::filesystem::path SeedDatabase() {
    return ProgramDir() / "velaqm.db";
}
inline std::filesystem::path ResourceDir() {
    return ProgramDir() / "resources";
}

}  // namespace velaqm::testing

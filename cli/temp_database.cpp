#include "cli/temp_database.h"

#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>

namespace velaqm::cli {

TempDatabase::TempDatabase(const std::filesystem::path& seed) {
    std::string name = (std::filesystem::temp_directory_path() / "velaqm-XXXXXX.db").string();
    const int fd = mkstemps(name.data(), 3);
    if (fd < 0) throw std::runtime_error("cannot create a temporary database in " + name);
    close(fd);
    m_path = name;
    std::error_code error;
    std::filesystem::copy_file(seed, m_path, std::filesystem::copy_options::overwrite_existing,
                               error);
    if (error) {
        std::filesystem::remove(m_path, error);
        throw std::runtime_error("cannot copy the seeded database " + seed.string() + ": " +
                                 error.message());
    }
}

TempDatabase::~TempDatabase() {
    // SQLite's side files go with the database.
    std::error_code ignored;
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        std::filesystem::remove(m_path.string() + suffix, ignored);
}

}  // namespace velaqm::cli

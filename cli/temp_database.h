// A private copy of the seeded database for one scenario file, so that every file starts from
// the same data and leaves nothing behind, not even when the process is interrupted.
#pragma once

#include <cstddef>
#include <filesystem>

namespace velaqm::cli {

class TempDatabase {
  public:
    // Copies `seed` to a new file in the system's temporary directory; throws
    // std::runtime_error when either cannot be done. While the copy lives, SIGINT and SIGTERM
    // remove it and its side files, then end the process as the signal would.
    explicit TempDatabase(const std::filesystem::path& seed);
    ~TempDatabase();
    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

  private:
    std::filesystem::path m_path;
    std::size_t m_slot;  // where the signal handler finds the path
};

}  // namespace velaqm::cli

// A private copy of the seeded database for one scenario file, so that every file starts from
// the same data and leaves nothing behind.
#pragma once

#include <filesystem>

namespace velaqm::cli {

class TempDatabase {
  public:
    // Copies `seed` to a new file in the system's temporary directory; throws
    // std::runtime_error when either cannot be done.
    explicit TempDatabase(const std::filesystem::path& seed);
    ~TempDatabase();
    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

}  // namespace velaqm::cli

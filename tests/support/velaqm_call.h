// The velaqm command called in-process as a user calls it, and a scratch folder for the files
// it reads: for the tests of the command's output and exit status.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/app.h"
#include "tests/support/build_paths.h"

namespace velaqm::testing {

struct Outcome {
    int exit;
    std::string out;
    std::string err;
};

// `interactive`: as typed at a terminal rather than fed from a pipe.
inline Outcome Velaqm(const std::vector<std::string>& args, const std::string& input = "",
                      bool interactive = false) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code = cli::Main(args, ProgramDir(), {in, out, err, interactive});
    return {code, out.str(), err.str()};
}

// A scratch folder, removed with the test.
class Scratch {
  public:
    Scratch() {
        std::string name = (std::filesystem::temp_directory_path() / "velaqm-test-XXXXXX").string();
        m_dir = mkdtemp(name.data());
    }
    ~Scratch() { std::filesystem::remove_all(m_dir); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    const std::filesystem::path& Dir() const { return m_dir; }
    std::string Write(const std::string& name, const std::string& text) const {
        const auto path = m_dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    std::string Folder(const std::string& name) const {
        std::filesystem::create_directory(m_dir / name);
        return (m_dir / name).string();
    }

  private:
    std::filesystem::path m_dir;
};

}  // namespace velaqm::testing

// The `velaqm` command: run, shell, demo, sql and help.
#pragma once

#include <filesystem>
#include <istream>
#include <ostream>
#include <span>
#include <string>

namespace velaqm::cli {

inline constexpr int kExitPassed = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Console {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool interactive = false;  // the input is a terminal: the shell prompts
};

// `args` are the arguments after the program name; `programDir` holds the seeded database,
// the string tables and the demo scenarios. Returns the exit code.
int Main(std::span<const std::string> args, const std::filesystem::path& programDir,
         Console console);

}  // namespace velaqm::cli

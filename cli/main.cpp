// The velaqm command. It finds the seeded database, the string tables and the demo scenarios in
// its own program directory.
#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "cli/app.h"

namespace {

std::filesystem::path ProgramDir(const char* argv0) {
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) return self.parent_path();
    return std::filesystem::absolute(argv0, error).parent_path();
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const velaqm::cli::Console console{std::cin, std::cout, std::cerr, isatty(STDIN_FILENO) == 1};
    return velaqm::cli::Main(args, ProgramDir(argv[0]), console);
}

// velaqm_seed OUT.db FILE.sql...: builds the substitute host's seeded database from the seed
// scripts, in the order given. The database is built under a temporary name and renamed when
// every script ran, so a failed seed leaves no half-built database behind.
#include <unistd.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "host/db/database.h"

namespace {

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void Seed(const std::filesystem::path& temp, const std::vector<std::filesystem::path>& scripts) {
    velaqm::host::Database db(temp, velaqm::host::OpenMode::kCreate);
    auto transaction = db.BeginTransaction();
    for (const auto& script : scripts) {
        try {
            db.ExecuteNative(ReadFile(script));
        } catch (const std::exception& e) {
            throw std::runtime_error(script.string() + ": " + e.what());
        }
    }
    transaction.Commit();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: velaqm_seed OUT.db FILE.sql...\n";
        return 2;
    }
    const std::filesystem::path out = argv[1];
    const std::vector<std::filesystem::path> scripts(argv + 2, argv + argc);
    std::filesystem::path temp = out;
    temp += ".seeding." + std::to_string(::getpid());
    std::error_code ec;
    try {
        std::filesystem::remove(temp, ec);
        Seed(temp, scripts);
        std::filesystem::rename(temp, out);
    } catch (const std::exception& e) {
        std::filesystem::remove(temp, ec);
        std::cerr << "velaqm_seed: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

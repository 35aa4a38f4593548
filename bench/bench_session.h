// A session of the substitute host on a fresh copy of the seeded database beside the velaqm
// command, for the benchmarks.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "host/session.h"

namespace velaqm::bench {

class BenchSession {
  public:
    BenchSession() {
        namespace fs = std::filesystem;
        const fs::path cli = fs::canonical("/proc/self/exe").parent_path().parent_path() / "cli";
        m_file = fs::temp_directory_path() / ("velaqm-bench-" + std::to_string(getpid()) + ".db");
        fs::copy_file(cli / "velaqm.db", m_file, fs::copy_options::overwrite_existing);
        host::SessionOptions options;
        options.database = m_file;
        options.programDir = cli;
        options.resourceDir = cli / "resources";
        session = std::make_unique<host::Session>(options);
    }
    ~BenchSession() {
        session.reset();
        std::filesystem::remove(m_file);
    }
    BenchSession(const BenchSession&) = delete;
    BenchSession& operator=(const BenchSession&) = delete;

    void AddBills(int count) {
        auto transaction = session->Db().BeginTransaction();
        for (int id = 1; id <= count; ++id)
            session->Db().ExecuteNative(
                "INSERT INTO QMClientServiceLog (FID, FBillNo, FCheckerID) VALUES (" +
                std::to_string(id) + ", 'KF" + std::to_string(100000 + id) + "', 0)");
        transaction.Commit();
    }
    std::unique_ptr<host::Session> session;

  private:
    std::filesystem::path m_file;
};

}  // namespace velaqm::bench

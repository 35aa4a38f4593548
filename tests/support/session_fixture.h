// A substitute-host session on a fresh copy of the seeded database, for tests that need the
// real host: forms, components and database.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "frame/convert.h"
#include "host/session.h"
#include "tests/support/build_paths.h"

namespace velaqm::testing {

class SessionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        namespace fs = std::filesystem;
        const fs::path seeded = SeedDatabase();
        ASSERT_TRUE(fs::exists(seeded)) << "no seeded database at " << seeded;
        m_dbFile = fs::temp_directory_path() / ("velaqm-test-" + std::to_string(getpid()) + "-" +
                                                std::to_string(++s_count) + ".db");
        fs::copy_file(seeded, m_dbFile, fs::copy_options::overwrite_existing);
        host::SessionOptions options;
        options.database = m_dbFile;
        options.programDir = ProgramDir();
        options.resourceDir = ResourceDir();
        session = std::make_unique<host::Session>(options);
    }

    void TearDown() override {
        session.reset();
        std::error_code ignored;
        std::filesystem::remove(m_dbFile, ignored);
    }

    // The first column of the first row of a query, as text ("" when no row).
    std::string Query(std::string_view sql) {
        auto result = session->Db().Execute(sql);
        if (result.rows.empty() || result.rows.front().empty()) return "";
        return Text(result.rows.front().front());
    }

    // Starts the session afresh with `folder` as the client program's folder.
    void UseClientDirectory(const std::filesystem::path& folder) {
        host::SessionOptions options = session->Options();
        options.programDir = folder;
        Restart(options);
    }
    // Starts the session afresh, tracing into `file`.
    void UseTraceFile(const std::filesystem::path& file) {
        host::SessionOptions options = session->Options();
        options.traceFile = file;
        Restart(options);
    }
    void Restart(const host::SessionOptions& options) {
        session.reset();
        session = std::make_unique<host::Session>(options);
    }

    // The oldest unread message box, marked read ("" when none).
    std::string NextMessage() {
        auto* message = session->Log().OldestUnread();
        if (!message) return "";
        message->read = true;
        return message->text;
    }

    std::unique_ptr<host::Session> session;

  private:
    std::filesystem::path m_dbFile;
    static inline int s_count = 0;
};

}  // namespace velaqm::testing

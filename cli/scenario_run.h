// Running scenario files: each on its own session and database, one PASS or FAIL line each.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "cli/scenario.h"
#include "host/session.h"

namespace velaqm::cli {

class TempDatabase;

struct RunSettings {
    std::filesystem::path programDir;               // holds velaqm.db, resources/ and demo/
    std::string language = "chs";                   // of `login` when it names none
    std::optional<std::filesystem::path> database;  // --db: used in place of a fresh copy
    std::optional<std::filesystem::path> traceFile;
    std::optional<std::filesystem::path> clientDir;  // --client-dir: else programDir
    bool transcript = false;

    std::filesystem::path SeedDatabase() const { return programDir / "velaqm.db"; }
};

// The database one file or one shell works on: a fresh copy of the seed, or the --db file.
class WorkingDatabase {
  public:
    explicit WorkingDatabase(const RunSettings& settings);
    ~WorkingDatabase();
    WorkingDatabase(const WorkingDatabase&) = delete;
    WorkingDatabase& operator=(const WorkingDatabase&) = delete;
    const std::filesystem::path& Path() const { return m_path; }

  private:
    std::unique_ptr<TempDatabase> m_copy;
    std::filesystem::path m_path;
};

host::SessionOptions SessionOptionsFor(const RunSettings& settings,
                                       const std::filesystem::path& database,
                                       std::ostream* transcriptEcho);

// Why a database file cannot be worked on (missing, a folder, empty, read-only or in a read-only
// folder, not a database, no bill catalog); nullopt when it can. Nothing is written to the file.
std::optional<std::string> DatabaseFileProblem(const std::filesystem::path& file);
bool IsReadOnlyFile(const std::filesystem::path& file);

// The text of a scenario file; nullopt when it cannot be read.
std::optional<std::string> ReadTextFile(const std::filesystem::path& file);

struct FileOutcome {
    bool passed = false;
    std::string report;  // "PASS file" or "FAIL file:line: what was expected, what was found"
};

// Runs a parsed script on a session of its own. Throws std::exception only when the session
// cannot start (the database or the trace file).
FileOutcome RunScript(const Script& script, const RunSettings& settings, std::ostream& out);

}  // namespace velaqm::cli

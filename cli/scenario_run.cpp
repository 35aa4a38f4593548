#include "cli/scenario_run.h"

#include <unistd.h>

#include <fstream>
#include <sstream>

#include "cli/echo.h"
#include "cli/runner.h"
#include "cli/temp_database.h"
#include "frame/convert.h"
#include "frame/host_error.h"
#include "host/db/sqlite.h"

namespace velaqm::cli {

WorkingDatabase::WorkingDatabase(const RunSettings& settings) {
    if (settings.database) {
        m_path = *settings.database;
        return;
    }
    m_copy = std::make_unique<TempDatabase>(settings.SeedDatabase());
    m_path = m_copy->Path();
}

WorkingDatabase::~WorkingDatabase() = default;

host::SessionOptions SessionOptionsFor(const RunSettings& settings,
                                       const std::filesystem::path& database,
                                       std::ostream* transcriptEcho) {
    host::SessionOptions options;
    options.database = database;
    options.programDir = settings.clientDir.value_or(settings.programDir);
    options.resourceDir = settings.programDir / "resources";
    options.traceFile = settings.traceFile;
    options.transcriptEcho = transcriptEcho;
    return options;
}

bool IsReadOnlyFile(const std::filesystem::path& file) {
    // Root may write anywhere; a file nobody may write to is still meant to stay unchanged.
    using std::filesystem::perms;
    const perms mode = std::filesystem::status(file).permissions();
    const bool anyWrite =
        (mode & (perms::owner_write | perms::group_write | perms::others_write)) != perms::none;
    return !anyWrite || access(file.c_str(), W_OK) != 0;
}

std::optional<std::string> DatabaseFileProblem(const std::filesystem::path& file) {
    const std::string name = Echo(file.string());
    std::error_code error;
    if (!std::filesystem::exists(file, error)) return "the database " + name + " does not exist";
    if (std::filesystem::is_directory(file, error))
        return "the database " + name + " is a folder, not a file";
    if (!std::filesystem::is_regular_file(file, error))
        return "the database " + name + " is not a file";
    if (std::filesystem::file_size(file, error) == 0)
        return "the database " + name + " is empty; give a copy of the seeded database velaqm.db";
    if (IsReadOnlyFile(file)) return "the database " + name + " is read-only";
    // SQLite keeps its write-ahead log and lock files beside the database.
    const std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
    if (access(folder.c_str(), W_OK) != 0)
        return "the folder " + Echo(folder.string()) + " of the database " + name +
               " is read-only; the database needs to write its log files beside it";
    try {
        host::Connection connection(file, host::OpenMode::kReadOnly);
        host::Statement probe(connection,
                              "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                              "name IN ('ICClassType', 'ICClassTableInfo')");
        probe.Step();
        if (NumberValue(probe.Column(0)) < 2)
            return "the database " + name +
                   " has no bill catalog (ICClassType, ICClassTableInfo); give a copy of the "
                   "seeded database velaqm.db";
    } catch (const HostError& e) {
        return "the file " + name + " is not a database (" + Echo(e.Description()) + ")";
    }
    return std::nullopt;
}

std::optional<std::string> ReadTextFile(const std::filesystem::path& file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error)) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

FileOutcome RunScript(const Script& script, const RunSettings& settings, std::ostream& out) {
    if (settings.transcript) out << "== " << script.file << '\n';
    const WorkingDatabase database(settings);
    host::Session session(
        SessionOptionsFor(settings, database.Path(), settings.transcript ? &out : nullptr));
    ScenarioRunner runner(session, out, settings.transcript, settings.language);
    int line = 0;
    try {
        for (const Command& command : script.commands) {
            line = command.line;
            runner.Run(command);
        }
        line = script.lineCount;
        runner.Finish();
    } catch (const ScenarioFailure& failure) {
        const int blamed = failure.Line() > 0 ? failure.Line() : line;
        return {false,
                "FAIL " + script.file + ":" + std::to_string(blamed) + ": " + failure.Message()};
    }
    return {true, "PASS " + script.file};
}

}  // namespace velaqm::cli

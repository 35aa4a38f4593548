// What a person waits for: `velaqm run` of a one-line scenario as a whole process, the copy of
// the seeded database included (target: under 50 ms). The in-process figure beside it shows how
// much of that is the process itself.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/scenario.h"
#include "cli/scenario_run.h"

extern char** environ;

namespace {

// The velaqm command of the same build: VELAQM_EXE, else cli/velaqm beside this bench/ folder.
std::filesystem::path VelaqmExecutable() {
    if (const char* configured = std::getenv("VELAQM_EXE")) return configured;
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "cli" /
           "velaqm";
}

// A one-line scenario in a temporary file, removed at the end.
class OneLineScenario {
  public:
    OneLineScenario() {
        std::string name =
            (std::filesystem::temp_directory_path() / "velaqm-bench-XXXXXX.vqs").string();
        const int fd = mkstemps(name.data(), 4);
        if (fd >= 0) close(fd);
        m_path = name;
        std::ofstream(m_path) << kText;
    }
    ~OneLineScenario() { std::filesystem::remove(m_path); }
    const std::filesystem::path& Path() const { return m_path; }

    static constexpr const char* kText = "new 1001910\n";

  private:
    std::filesystem::path m_path;
};

// Runs the command with its output thrown away; returns its exit status.
int RunQuietly(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_VelaqmRunProcess(benchmark::State& state) {
    const OneLineScenario scenario;
    const std::vector<std::string> args{VelaqmExecutable().string(), "run",
                                        scenario.Path().string()};
    if (RunQuietly(args) != 0) {
        state.SkipWithError("velaqm run did not pass; is the velaqm command built?");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(RunQuietly(args));
}
BENCHMARK(BM_VelaqmRunProcess)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_RunScriptInProcess(benchmark::State& state) {
    velaqm::cli::RunSettings settings;
    settings.programDir = VelaqmExecutable().parent_path();
    std::vector<velaqm::cli::ScriptError> errors;
    const auto script = velaqm::cli::ParseScript(OneLineScenario::kText, "bench.vqs", errors);
    for (auto _ : state) {
        std::ostringstream out;
        benchmark::DoNotOptimize(velaqm::cli::RunScript(script, settings, out).passed);
    }
}
BENCHMARK(BM_RunScriptInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

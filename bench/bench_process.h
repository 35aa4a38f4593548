// The velaqm command of the same build, run as a whole process by the benchmarks.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace velaqm::bench {

// VELAQM_EXE, else cli/velaqm beside this bench/ folder.
inline std::filesystem::path VelaqmExecutable() {
    if (const char* configured = std::getenv("VELAQM_EXE")) return configured;
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / "cli" /
           "velaqm";
}

// A file under the temporary folder, removed at the end.
class TempFile {
  public:
    TempFile(std::string_view suffix, std::string_view text) {
        std::string name =
            (std::filesystem::temp_directory_path() / "velaqm-bench-XXXXXX").string();
        name += suffix;
        const int fd = mkstemps(name.data(), static_cast<int>(suffix.size()));
        if (fd >= 0) close(fd);
        m_path = name;
        std::ofstream(m_path, std::ios::binary) << text;
    }
    ~TempFile() {
        std::error_code ignored;
        for (const char* side : {"", "-wal", "-shm", "-journal"})
            std::filesystem::remove(m_path.string() + side, ignored);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    const std::filesystem::path& Path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};

// Starts the command with its output thrown away; -1 when it cannot start.
inline pid_t StartQuietly(const std::vector<std::string>& args) {
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
    return spawned == 0 ? pid : -1;
}

// The exit status of a started command; -1 when it did not exit normally.
inline int ExitStatus(pid_t pid) {
    if (pid < 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline int RunQuietly(const std::vector<std::string>& args) {
    return ExitStatus(StartQuietly(args));
}

}  // namespace velaqm::bench

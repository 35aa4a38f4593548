// An interrupted velaqm leaves no copy of the database behind: `velaqm shell` as a process,
// stopped by SIGINT or SIGTERM while it works on its copy (tests run in the build directory,
// where the command is built as cli/velaqm).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/build_paths.h"

namespace velaqm::cli {
namespace {

namespace fs = std::filesystem;

// `velaqm shell` with its input and output on pipes and its temporary files in `tmpDir`.
class ShellProcess {
  public:
    explicit ShellProcess(const fs::path& tmpDir) {
        int toChild[2];
        int fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
        // Prepared before fork: the child only calls what is safe between fork and exec.
        const std::string tmp = "TMPDIR=" + tmpDir.string();
        const std::string velaqm = (velaqm::testing::ProgramDir() / "velaqm").string();
        std::vector<char*> env{const_cast<char*>(tmp.c_str()), nullptr};
        m_pid = fork();
        if (m_pid == 0) {
            dup2(toChild[0], STDIN_FILENO);
            dup2(fromChild[1], STDOUT_FILENO);
            close(toChild[1]);
            close(fromChild[0]);
            sigset_t none;
            sigemptyset(&none);
            sigprocmask(SIG_SETMASK, &none, nullptr);
            signal(SIGINT, SIG_DFL);
            signal(SIGTERM, SIG_DFL);
            execle(velaqm.c_str(), "velaqm", "shell", static_cast<char*>(nullptr), env.data());
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        m_in = toChild[1];
        m_out = fromChild[0];
    }
    ~ShellProcess() {
        if (m_in >= 0) close(m_in);
        if (m_out >= 0) close(m_out);
        if (m_pid > 0 && !m_waited) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }

    bool Started() const { return m_pid > 0; }

    // Sends a line and reads the output up to `until`; false when the shell ended first.
    bool Type(const std::string& line, const std::string& until) {
        if (write(m_in, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
            return false;
        std::string output;
        char buffer[256];
        while (output.find(until) == std::string::npos) {
            const ssize_t got = read(m_out, buffer, sizeof buffer);
            if (got <= 0) return false;
            output.append(buffer, static_cast<std::size_t>(got));
        }
        return true;
    }

    // Signals the process and returns its wait status.
    int Stop(int signalNumber) {
        kill(m_pid, signalNumber);
        int status = 0;
        waitpid(m_pid, &status, 0);
        m_waited = true;
        return status;
    }

  private:
    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    bool m_waited = false;
};

std::vector<fs::path> FilesIn(const fs::path& dir, const std::string& extension = "") {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(dir))
        if (extension.empty() || entry.path().extension() == extension)
            files.push_back(entry.path());
    return files;
}

TEST(InterruptedShell, SigintAndSigtermRemoveTheDatabaseCopyAndItsSideFiles) {
    ASSERT_TRUE(fs::exists(velaqm::testing::ProgramDir() / "velaqm"));
    for (const int signalNumber : {SIGINT, SIGTERM}) {
        std::string name = (fs::temp_directory_path() / "velaqm-signal-XXXXXX").string();
        const fs::path tmpDir = mkdtemp(name.data());
        {
            ShellProcess shell(tmpDir);
            ASSERT_TRUE(shell.Started());
            ASSERT_TRUE(shell.Type("new 1001910\nexpect no message\n", "ok\n"));
            const std::vector<fs::path> copies = FilesIn(tmpDir, ".db");
            ASSERT_EQ(copies.size(), 1u) << "the shell works on one copy";
            // SQLite's side files, as a write-ahead log or an open transaction leaves them.
            for (const char* suffix : {"-wal", "-shm", "-journal"})
                if (!fs::exists(copies.front().string() + suffix))
                    std::ofstream(copies.front().string() + suffix) << "x";

            const int status = shell.Stop(signalNumber);
            ASSERT_TRUE(WIFSIGNALED(status)) << "ends as the signal would";
            EXPECT_EQ(WTERMSIG(status), signalNumber);
        }
        EXPECT_TRUE(FilesIn(tmpDir).empty()) << "signal " << signalNumber;
        fs::remove_all(tmpDir);
    }
}

}  // namespace
}  // namespace velaqm::cli

#include "cli/shell.h"

#include <string>

#include "cli/app.h"
#include "cli/runner.h"
#include "frame/text_util.h"

namespace velaqm::cli {

namespace {

constexpr std::string_view kShellFile = "shell";

void PrintCommands(std::ostream& out) {
    out << "Commands:\n";
    for (const CommandHelp& help : ScenarioCommandHelp())
        out << "  " << help.usage << "\n      " << help.meaning << '\n';
    out << "  help | quit | exit\n";
}

// Runs one typed command and prints its outcome: new message boxes, "ok" for a met
// expectation, the failure otherwise. False when the command failed.
bool RunTyped(ScenarioRunner& runner, const Command& command, std::ostream& out) {
    bool succeeded = true;
    try {
        runner.Run(command);
        if (command.verb.starts_with("expect ")) out << "ok\n";
    } catch (const ScenarioFailure& failure) {
        out << "FAIL: " << failure.Message() << '\n';
        succeeded = false;
    }
    for (const std::string& message : runner.TakeNewMessages())
        out << "message: " << message << '\n';
    return succeeded;
}

}  // namespace

int RunShell(const RunSettings& settings, std::istream& in, std::ostream& out, bool interactive) {
    const bool prompt = interactive;
    const WorkingDatabase database(settings);
    host::Session session(
        SessionOptionsFor(settings, database.Path(), settings.transcript ? &out : nullptr));
    ScenarioRunner runner(session, out, false, settings.language);
    if (prompt) out << "velaqm shell: scenario commands, `help` for the list, `quit` to end.\n";

    bool failed = false;
    bool scriptError = false;
    std::string line;
    for (int number = 1;; ++number) {
        if (prompt) out << "velaqm> " << std::flush;
        if (!std::getline(in, line)) break;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string typed = Trim(line);
        if (typed == "quit" || typed == "exit") break;
        if (typed == "help") {
            PrintCommands(out);
            continue;
        }
        try {
            if (const auto command = ParseLine(line, std::string(kShellFile), number))
                failed = !RunTyped(runner, *command, out) || failed;
        } catch (const ScriptError& error) {
            out << "error: " << error.Message() << '\n';
            scriptError = true;
        }
    }
    if (prompt) out << '\n';
    if (interactive) return kExitPassed;
    return scriptError ? kExitUsage : failed ? kExitFailed : kExitPassed;
}

}  // namespace velaqm::cli

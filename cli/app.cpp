#include "cli/app.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <vector>

#include "cli/scenario.h"
#include "cli/scenario_run.h"
#include "cli/shell.h"
#include "cli/sql_command.h"

namespace velaqm::cli {

namespace {

constexpr std::string_view kOverview =
    R"(velaqm: the substitute host of the quality plug-ins, driven by scenarios.

Usage:
  velaqm run [--transcript] [--lang chs|en] [--db FILE] [--trace FILE] FILE...
  velaqm shell [--transcript] [--lang chs|en] [--db FILE] [--trace FILE]
  velaqm demo [--lang chs|en] [--db FILE] [--trace FILE]
  velaqm sql --db FILE [--json] "STATEMENT"
  velaqm help [COMMAND]

  run     runs scenario files, each on a fresh copy of the seeded database
  shell   the scenario commands typed one at a time
  demo    runs the bundled demo scenarios with their transcripts
  sql     runs SQL Server text on a database file and prints the last result set

`velaqm help run` lists the scenario commands.
Exit status: 0 all passed, 1 a scenario failed, 2 a usage, script or file error.
)";

constexpr std::string_view kRunHelp = R"(Usage: velaqm run [OPTIONS] FILE...

Runs each scenario file on a fresh copy of the seeded database and prints one line per file,
"PASS file" or "FAIL file:line: what was expected, what was found", then "N passed, N failed".
Every file is parsed before any runs: a script error is reported as "file:line: what is wrong"
and nothing runs.

Options:
  --transcript     print every visible effect: commands, messages, tools, fields, values, SQL
  --lang chs|en    the language of `login` when it names none (default chs)
  --db FILE        work on this database file in place instead of fresh copies
  --trace FILE     append the host's trace log (JSON lines) to FILE

Exit status: 0 when every file passes, 1 when one fails, 2 on a usage, script or file error.
)";

constexpr std::string_view kScenarioHelp = R"(
Scenario files are UTF-8 text, one command per line. `#` at the start of a word starts a
comment; arguments are separated by blanks; an argument with blanks is written in double quotes
(\" and \\ inside); key=value is an option (quote a value that holds "="). A message box that
asks with no `answer` queued, a selection window with no `choose`, a message left unread or an
answer left unused at the end of the file are failures.

Commands:
)";

constexpr std::string_view kShellHelp = R"(Usage: velaqm shell [OPTIONS]

Reads scenario commands from the input, one per line, on a fresh copy of the seeded database
(or the --db file). After each command the message boxes it showed are printed; a met
expectation prints "ok", a failure "FAIL: ..." and the shell goes on. `help` lists the
commands; `quit`, `exit` or the end of input ends the shell.

Options: --transcript, --lang chs|en, --db FILE, --trace FILE (as for `velaqm run`).
)";

constexpr std::string_view kDemoHelp = R"(Usage: velaqm demo [OPTIONS]

Runs the bundled demo scenarios (demo/*.vqs beside the program, in name order) with their
transcripts, then prints "N passed, N failed". Exit status as for `velaqm run`.

Options: --lang chs|en, --db FILE, --trace FILE (as for `velaqm run`).
)";

constexpr std::string_view kSqlHelp = R"(Usage: velaqm sql --db FILE [--json] "STATEMENT"

Runs SQL Server text (one statement or a batch) on an existing database file through the host's
dialect layer and prints the last result set: a header row and one line per row, separated by
tabs; NULL is an empty field; a tab, line break or backslash in a value is written \t, \n, \r,
\\. With --json: {"columns":[...],"rows":[[...],...]} with NULL as null and numbers as numbers.
A batch that returns no result set (INSERT, UPDATE, ...) prints nothing.
Errors go to the standard error and give exit status 2.
)";

struct Options {
    RunSettings settings;
    bool help = false;
    bool json = false;
    std::vector<std::string> files;
};

struct CommandSpec {
    std::string_view name;
    std::string_view help;
    std::vector<std::string_view> flags;  // the options the command accepts
};

const std::vector<CommandSpec>& Commands() {
    static const std::vector<CommandSpec> commands{
        {"run", kRunHelp, {"--transcript", "--lang", "--db", "--trace"}},
        {"shell", kShellHelp, {"--transcript", "--lang", "--db", "--trace"}},
        {"demo", kDemoHelp, {"--lang", "--db", "--trace"}},
        {"sql", kSqlHelp, {"--db", "--json"}},
    };
    return commands;
}

const CommandSpec* FindCommand(std::string_view name) {
    const auto& commands = Commands();
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [&](const CommandSpec& c) { return c.name == name; });
    return found == commands.end() ? nullptr : &*found;
}

void PrintHelp(const CommandSpec& command, std::ostream& out) {
    out << command.help;
    if (command.name != "run") return;
    out << kScenarioHelp;
    for (const CommandHelp& help : ScenarioCommandHelp())
        out << "  " << help.usage << "\n      " << help.meaning << '\n';
}

int UsageError(const CommandSpec& command, const std::string& what, std::ostream& err) {
    err << "velaqm " << command.name << ": " << what << "\nTry `velaqm help " << command.name
        << "`.\n";
    return kExitUsage;
}

// The options of one command; nullopt and a message when they are wrong.
std::optional<Options> ParseOptions(const CommandSpec& command, std::span<const std::string> args,
                                    std::ostream& err) {
    Options options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (optionsEnded || arg.size() < 2 || !arg.starts_with("-")) {
            options.files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        std::optional<std::string> value;
        if (const auto equals = arg.find('='); equals != std::string::npos) {
            value = arg.substr(equals + 1);
            arg.resize(equals);
        }
        if (std::find(command.flags.begin(), command.flags.end(), arg) == command.flags.end()) {
            UsageError(command, "unknown option " + arg, err);
            return std::nullopt;
        }
        const bool takesValue = arg != "--transcript" && arg != "--json";
        if (takesValue && !value) {
            if (i + 1 == args.size()) {
                UsageError(command, arg + " needs a value", err);
                return std::nullopt;
            }
            value = args[++i];
        }
        if (!takesValue && value) {
            UsageError(command, arg + " takes no value", err);
            return std::nullopt;
        }
        if (arg == "--transcript") options.settings.transcript = true;
        if (arg == "--json") options.json = true;
        if (arg == "--db") options.settings.database = *value;
        if (arg == "--trace") options.settings.traceFile = *value;
        if (arg == "--lang") {
            if (*value != "chs" && *value != "en") {
                UsageError(command, "--lang takes chs or en, not " + *value, err);
                return std::nullopt;
            }
            options.settings.language = *value;
        }
    }
    return options;
}

// What must be in place before any scenario runs; a message when it is not.
std::optional<std::string> EnvironmentProblem(const RunSettings& settings) {
    if (settings.database) return DatabaseFileProblem(*settings.database);
    std::error_code error;
    if (!std::filesystem::is_regular_file(settings.SeedDatabase(), error))
        return "the seeded database " + settings.SeedDatabase().string() + " is missing";
    return std::nullopt;
}

std::optional<std::string> TraceFileProblem(const RunSettings& settings) {
    if (!settings.traceFile) return std::nullopt;
    std::ofstream probe(*settings.traceFile, std::ios::app);
    if (!probe) return "cannot write the trace log " + settings.traceFile->string();
    return std::nullopt;
}

// Reads and parses every file first, so that a script error runs nothing.
std::optional<std::vector<Script>> LoadScripts(const std::vector<std::string>& files,
                                               std::ostream& err) {
    std::vector<Script> scripts;
    bool allGood = true;
    for (const std::string& file : files) {
        const auto text = ReadTextFile(file);
        if (!text) {
            err << "velaqm: cannot read the scenario file " << file << '\n';
            allGood = false;
            continue;
        }
        std::vector<ScriptError> errors;
        scripts.push_back(ParseScript(*text, file, errors));
        for (const ScriptError& error : errors)
            err << error.Report() << '\n';
        allGood = allGood && errors.empty();
    }
    if (!allGood) return std::nullopt;
    return scripts;
}

int RunScripts(const std::vector<Script>& scripts, const RunSettings& settings, Console console) {
    int passed = 0;
    int failed = 0;
    for (const Script& script : scripts) {
        try {
            const FileOutcome outcome = RunScript(script, settings, console.out);
            console.out << outcome.report << std::endl;
            ++(outcome.passed ? passed : failed);
        } catch (const std::exception& e) {
            console.err << "velaqm: " << script.file << ": the session cannot start: " << e.what()
                        << '\n';
            return kExitUsage;
        }
    }
    console.out << passed << " passed, " << failed << " failed" << std::endl;
    return failed == 0 ? kExitPassed : kExitFailed;
}

// Checks the environment, then loads and runs the files.
int RunFiles(const CommandSpec& command, const Options& options, Console console) {
    if (const auto problem = EnvironmentProblem(options.settings)) {
        console.err << "velaqm " << command.name << ": " << *problem << '\n';
        return kExitUsage;
    }
    const auto scripts = LoadScripts(options.files, console.err);
    if (!scripts) return kExitUsage;
    if (const auto problem = TraceFileProblem(options.settings)) {
        console.err << "velaqm " << command.name << ": " << *problem << '\n';
        return kExitUsage;
    }
    return RunScripts(*scripts, options.settings, console);
}

int Run(const CommandSpec& command, Options options, Console console) {
    if (options.files.empty()) return UsageError(command, "no scenario file given", console.err);
    return RunFiles(command, options, console);
}

int Demo(const CommandSpec& command, Options options, Console console) {
    if (!options.files.empty())
        return UsageError(command, "takes no file: " + options.files.front(), console.err);
    const std::filesystem::path folder = options.settings.programDir / "demo";
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.path().extension() == ".vqs") options.files.push_back(entry.path().string());
    if (options.files.empty()) {
        console.err << "velaqm demo: no demo scenarios in " << folder.string() << '\n';
        return kExitUsage;
    }
    std::sort(options.files.begin(), options.files.end());
    options.settings.transcript = true;
    return RunFiles(command, options, console);
}

int Shell(const CommandSpec& command, const Options& options, Console console) {
    if (!options.files.empty())
        return UsageError(command, "takes no file: " + options.files.front(), console.err);
    for (const auto& problem :
         {EnvironmentProblem(options.settings), TraceFileProblem(options.settings)})
        if (problem) {
            console.err << "velaqm shell: " << *problem << '\n';
            return kExitUsage;
        }
    try {
        return RunShell(options.settings, console.in, console.out, console.interactive);
    } catch (const std::exception& e) {
        console.err << "velaqm shell: the session cannot start: " << e.what() << '\n';
        return kExitUsage;
    }
}

int Sql(const CommandSpec& command, const Options& options, Console console) {
    if (!options.settings.database)
        return UsageError(command, "--db FILE is required", console.err);
    if (options.files.size() != 1)
        return UsageError(command, "give exactly one STATEMENT (quote it)", console.err);
    return RunSql(*options.settings.database, options.files.front(), options.json, console.out,
                  console.err);
}

int Help(std::span<const std::string> args, Console console) {
    if (args.empty()) {
        console.out << kOverview;
        return kExitPassed;
    }
    const CommandSpec* command = FindCommand(args.front());
    if (!command) {
        console.err << "velaqm help: no command " << args.front() << '\n';
        return kExitUsage;
    }
    PrintHelp(*command, console.out);
    return kExitPassed;
}

}  // namespace

int Main(std::span<const std::string> args, const std::filesystem::path& programDir,
         Console console) {
    if (args.empty()) {
        console.err << kOverview;
        return kExitUsage;
    }
    const std::string& name = args.front();
    if (name == "--help" || name == "-h" || name == "help") return Help(args.subspan(1), console);
    const CommandSpec* command = FindCommand(name);
    if (!command) {
        console.err << "velaqm: unknown command " << name << "\nTry `velaqm --help`.\n";
        return kExitUsage;
    }
    auto options = ParseOptions(*command, args.subspan(1), console.err);
    if (!options) return kExitUsage;
    if (options->help) {
        PrintHelp(*command, console.out);
        return kExitPassed;
    }
    options->settings.programDir = programDir;
    if (name == "run") return Run(*command, std::move(*options), console);
    if (name == "demo") return Demo(*command, std::move(*options), console);
    if (name == "shell") return Shell(*command, *options, console);
    return Sql(*command, *options, console);
}

}  // namespace velaqm::cli

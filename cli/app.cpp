#include "cli/app.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <vector>

#include "cli/echo.h"
#include "cli/plan_command.h"
#include "cli/scenario.h"
#include "cli/scenario_run.h"
#include "cli/shell.h"
#include "cli/sql_command.h"

namespace velaqm::cli {

namespace {

constexpr std::string_view kOverview =
    R"(velaqm: the substitute host of the quality plug-ins, driven by scenarios.

Usage:
  velaqm run [--transcript] [--lang chs|en] [--db FILE] [--trace FILE] [--client-dir DIR] FILE...
  velaqm shell [--transcript] [--lang chs|en] [--db FILE] [--trace FILE] [--client-dir DIR]
  velaqm demo [--lang chs|en] [--db FILE] [--trace FILE] [--client-dir DIR]
  velaqm sql --db FILE [--json] "STATEMENT"
  velaqm plan LOT LEVEL STRICTNESS AQL [--db FILE] [--json] [--svg FILE] [--lang chs|en]
  velaqm help [COMMAND]

  run     runs scenario files, each on a fresh copy of the seeded database
  shell   the scenario commands typed one at a time
  demo    runs the bundled demo scenarios with their transcripts
  sql     runs SQL Server text on a database file and prints the last result set
  plan    the sampling plan of a lot and its operating characteristic curve

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
  --client-dir DIR the client program's folder, where the switch database (ErpSwitch.sss) is
                   looked for (default: the folder of velaqm)

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

Exit status: 0 when typed at a terminal. When the input is not a terminal (a pipe or a file),
as for `velaqm run`: 0 when every command succeeded, 1 when one failed, 2 when a line was a
script error (or the database cannot be used).

Options: --transcript, --lang chs|en, --db FILE, --trace FILE, --client-dir DIR (as for
`velaqm run`).
)";

constexpr std::string_view kDemoHelp = R"(Usage: velaqm demo [OPTIONS]

Runs the bundled demo scenarios (demo/*.vqs beside the program, in name order) with their
transcripts, then prints "N passed, N failed". Exit status as for `velaqm run`.

Options: --lang chs|en, --db FILE, --trace FILE, --client-dir DIR (as for `velaqm run`).
)";

constexpr std::string_view kSqlHelp = R"(Usage: velaqm sql --db FILE [--json] "STATEMENT"

Runs SQL Server text (one statement or a batch) on an existing database file through the host's
dialect layer and prints the last result set: a header row and one line per row, separated by
tabs; NULL is an empty field; a tab, line break or backslash in a value is written \t, \n, \r,
\\. With --json: {"columns":[...],"rows":[[...],...]} with NULL as null and numbers as numbers.
A batch that returns no result set (INSERT, UPDATE, ...) prints nothing.
Only --db, --json and --help (also as --db=FILE) are options; any other argument is the
statement, so one may begin with a comment: velaqm sql --db F "-- why
select 1". `--` ends the options: velaqm sql --db F -- "--json".
Errors go to the standard error and give exit status 2.
)";

constexpr std::string_view kPlanHelp =
    R"(Usage: velaqm plan LOT LEVEL STRICTNESS AQL [--db FILE] [--json] [--svg FILE] [--lang chs|en]

Reads the single sampling plan of a lot from the code-letter tables, as the sampling standard's
code-letter method reads it, and shows what it does: how likely a lot of a given quality is to
be accepted (the operating characteristic).

  LOT         the lot size, a whole number of at least 1
  LEVEL       I, II, III, S-1, S-2, S-3, S-4, or the records' numbers C1, C2, C3, S1 to S4
  STRICTNESS  normal, tightened, reduced, or the records' numbers YGD01 to YGD03
  AQL         an AQL as the records number it, 0.010 to 1000 ("1" is taken for "1.0")

Printed: the lot's code letter; the plan after the tables' arrows are followed (its letter, the
sample size n, capped by the lot, and Ac and Re); the model of the curve (binomial for percent
nonconforming up to AQL 10, Poisson for nonconformities per hundred units above it,
hypergeometric when the sample is the whole lot or more than a tenth of it); Pa at the AQL; the
quality accepted with 95% probability (p95, the producer's risk point) and with 10% (p10, the
consumer's risk point); and Pa over 21 even steps of p, from 0 to where acceptance has all but
ended. p is in percent, or per hundred units above AQL 10.

Options:
  --json         one JSON object instead: lot, level, strictness, aql, letter, plan_letter, n,
                 ac, re, pa_at_aql, p95, p10, model and curve (an array of {p, pa})
  --svg FILE     also draws the curve as an SVG chart into FILE, with the AQL and both risk
                 points marked (nothing is drawn when the tables hold no plan)
  --lang chs|en  the language of the captions (default chs)
  --db FILE      read the tables of this database instead of a copy of the seeded one

Exit status: 0 when the plan was shown (or the tables were found to hold none), 2 for an
argument the command cannot take (the message names it and the values it accepts) or a
database or chart file that cannot be used.
)";

struct Options {
    RunSettings settings;
    bool help = false;
    bool json = false;
    std::optional<std::string> svg;
    std::vector<std::string> files;
};

struct CommandInfo {
    std::string_view name;
    std::string_view help;
    std::vector<std::string_view> flags;  // the options the command accepts
};

const std::vector<CommandInfo>& Commands() {
    static const std::vector<CommandInfo> commands{
        {"run", kRunHelp, {"--transcript", "--lang", "--db", "--trace", "--client-dir"}},
        {"shell", kShellHelp, {"--transcript", "--lang", "--db", "--trace", "--client-dir"}},
        {"demo", kDemoHelp, {"--lang", "--db", "--trace", "--client-dir"}},
        {"sql", kSqlHelp, {"--db", "--json"}},
        {"plan", kPlanHelp, {"--db", "--json", "--svg", "--lang"}},
    };
    return commands;
}

const CommandInfo* FindCommand(std::string_view name) {
    const auto& commands = Commands();
    const auto found = std::find_if(commands.begin(), commands.end(),
                                    [&](const CommandInfo& c) { return c.name == name; });
    return found == commands.end() ? nullptr : &*found;
}

void PrintHelp(const CommandInfo& command, std::ostream& out) {
    out << command.help;
    if (command.name != "run") return;
    out << kScenarioHelp;
    for (const CommandHelp& help : ScenarioCommandHelp())
        out << "  " << help.usage << "\n      " << help.meaning << '\n';
}

// A command line the command does not accept.
struct UsageProblem {
    std::string what;
};

void SetOption(Options& options, std::string_view flag, const std::string& value) {
    if (flag == "--transcript") options.settings.transcript = true;
    if (flag == "--json") options.json = true;
    if (flag == "--db") options.settings.database = value;
    if (flag == "--trace") options.settings.traceFile = value;
    if (flag == "--client-dir") options.settings.clientDir = value;
    if (flag == "--svg") options.svg = value;
    if (flag == "--lang") {
        if (value != "chs" && value != "en")
            throw UsageProblem{"--lang takes chs or en, not " + Echo(value)};
        options.settings.language = value;
    }
}

// Options as `--flag VALUE` or `--flag=VALUE` of the command's own option names, and --help;
// every other argument (and all after `--`) is a file or a statement, so that a statement may
// begin with a `--` comment. Throws UsageProblem.
Options ParseOptions(const CommandInfo& command, std::span<const std::string> args) {
    Options options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            options.files.insert(options.files.end(), args.begin() + i + 1, args.end());
            break;
        }
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        const auto equals = arg.find('=');
        const std::string flag = arg.substr(0, equals);
        if (std::find(command.flags.begin(), command.flags.end(), flag) == command.flags.end()) {
            options.files.push_back(arg);
            continue;
        }
        std::optional<std::string> value;
        if (equals != std::string::npos) value = arg.substr(equals + 1);
        const bool takesValue = flag != "--transcript" && flag != "--json";
        if (!takesValue && value) throw UsageProblem{flag + " takes no value"};
        if (takesValue && !value) {
            if (i + 1 == args.size()) throw UsageProblem{flag + " needs a value"};
            value = args[++i];
        }
        SetOption(options, flag, value.value_or(""));
    }
    return options;
}

// Something the command needs that is not there (a file, the seeded database): exit 2.
struct SetupProblem {
    std::string what;
};

// What must be in place before any scenario runs; nothing is written before it is checked.
void RequireDatabase(const RunSettings& settings) {
    if (settings.database) {
        if (auto problem = DatabaseFileProblem(*settings.database)) throw SetupProblem{*problem};
        return;
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(settings.SeedDatabase(), error))
        throw SetupProblem{"the seeded database " + Echo(settings.SeedDatabase().string()) +
                           " is missing"};
}

void RequireTraceFile(const RunSettings& settings) {
    if (!settings.traceFile) return;
    std::ofstream probe(*settings.traceFile, std::ios::app);
    if (!probe)
        throw SetupProblem{"cannot write the trace log " + Echo(settings.traceFile->string())};
}

// Reads and parses every file first, so that a script error runs nothing.
std::vector<Script> LoadScripts(const std::vector<std::string>& files, std::ostream& err) {
    std::vector<Script> scripts;
    bool allGood = true;
    for (const std::string& file : files) {
        const auto text = ReadTextFile(file);
        if (!text) {
            err << "velaqm: cannot read the scenario file " << Echo(file)
                << (file.starts_with("-") ? " (it is no option of velaqm run)" : "") << '\n';
            allGood = false;
            continue;
        }
        std::vector<ScriptError> errors;
        scripts.push_back(ParseScript(*text, file, errors));
        for (const ScriptError& error : errors)
            err << error.Report() << '\n';
        allGood = allGood && errors.empty();
    }
    if (!allGood) throw SetupProblem{"nothing was run"};
    return scripts;
}

int RunScripts(const std::vector<Script>& scripts, const RunSettings& settings, Console console) {
    int passed = 0;
    int failed = 0;
    for (const Script& script : scripts) {
        FileOutcome outcome;
        try {
            outcome = RunScript(script, settings, console.out);
        } catch (const std::exception& e) {
            throw SetupProblem{Echo(script.file) + ": the session cannot start: " + ErrorText(e)};
        }
        console.out << outcome.report << std::endl;
        ++(outcome.passed ? passed : failed);
    }
    console.out << passed << " passed, " << failed << " failed" << std::endl;
    return failed == 0 ? kExitPassed : kExitFailed;
}

int RunFiles(const Options& options, Console console) {
    RequireDatabase(options.settings);
    const std::vector<Script> scripts = LoadScripts(options.files, console.err);
    RequireTraceFile(options.settings);
    return RunScripts(scripts, options.settings, console);
}

int Run(const Options& options, Console console) {
    if (options.files.empty()) throw UsageProblem{"no scenario file given"};
    return RunFiles(options, console);
}

// The demo scenarios beside the program, in name order.
std::vector<std::string> DemoFiles(const std::filesystem::path& programDir) {
    const std::filesystem::path folder = programDir / "demo";
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.path().extension() == ".vqs") files.push_back(entry.path().string());
    if (files.empty()) throw SetupProblem{"no demo scenarios in " + folder.string()};
    std::sort(files.begin(), files.end());
    return files;
}

// An argument of a command that takes none: a mistyped option, most likely.
[[noreturn]] void RefuseOperand(const std::string& arg) {
    if (arg.starts_with("-")) throw UsageProblem{"unknown option " + Echo(arg)};
    throw UsageProblem{"takes no file: " + Echo(arg)};
}

int Demo(Options options, Console console) {
    if (!options.files.empty()) RefuseOperand(options.files.front());
    options.files = DemoFiles(options.settings.programDir);
    options.settings.transcript = true;
    return RunFiles(options, console);
}

int Shell(const Options& options, Console console) {
    if (!options.files.empty()) RefuseOperand(options.files.front());
    RequireDatabase(options.settings);
    RequireTraceFile(options.settings);
    try {
        return RunShell(options.settings, console.in, console.out, console.interactive);
    } catch (const std::exception& e) {
        throw SetupProblem{"the session cannot start: " + ErrorText(e)};
    }
}

int Sql(const Options& options, Console console) {
    if (!options.settings.database) throw UsageProblem{"--db FILE is required"};
    if (options.files.size() > 1 && options.files.front().starts_with("-"))
        throw UsageProblem{"unknown option " + Echo(options.files.front())};
    if (options.files.size() != 1) throw UsageProblem{"give exactly one STATEMENT (quote it)"};
    return RunSql(*options.settings.database, options.files.front(), options.json, console.out,
                  console.err);
}

// The operands are the plan's four values; a negative lot size is a value, not an option.
int Plan(const Options& options, Console console) {
    for (const std::string& operand : options.files)
        if (operand.starts_with("--")) throw UsageProblem{"unknown option " + Echo(operand)};
    if (options.files.size() != 4)
        throw UsageProblem{"give LOT LEVEL STRICTNESS AQL, four values, not " +
                           std::to_string(options.files.size())};
    RequireDatabase(options.settings);
    const PlanArguments arguments{.lot = options.files[0],
                                  .level = options.files[1],
                                  .strictness = options.files[2],
                                  .aql = options.files[3],
                                  .json = options.json,
                                  .svg = options.svg};
    try {
        return RunPlan(arguments, options.settings, console.out);
    } catch (const PlanArgumentError& problem) {
        throw UsageProblem{problem.what()};
    } catch (const std::exception& e) {
        throw SetupProblem{ErrorText(e)};
    }
}

int Help(std::span<const std::string> args, Console console) {
    if (args.empty()) {
        console.out << kOverview;
        return kExitPassed;
    }
    const CommandInfo* command = FindCommand(args.front());
    if (!command) {
        console.err << "velaqm help: no command " << Echo(args.front()) << '\n';
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
    const CommandInfo* command = FindCommand(name);
    if (!command) {
        console.err << "velaqm: unknown command " << Echo(name) << "\nTry `velaqm --help`.\n";
        return kExitUsage;
    }
    try {
        Options options = ParseOptions(*command, args.subspan(1));
        if (options.help) {
            PrintHelp(*command, console.out);
            return kExitPassed;
        }
        options.settings.programDir = programDir;
        if (name == "run") return Run(std::move(options), console);
        if (name == "demo") return Demo(std::move(options), console);
        if (name == "shell") return Shell(options, console);
        if (name == "plan") return Plan(options, console);
        return Sql(options, console);
    } catch (const UsageProblem& problem) {
        console.err << "velaqm " << name << ": " << problem.what << "\nTry `velaqm help " << name
                    << "`.\n";
        return kExitUsage;
    } catch (const SetupProblem& problem) {
        console.err << "velaqm " << name << ": " << problem.what << '\n';
        return kExitUsage;
    }
}

}  // namespace velaqm::cli

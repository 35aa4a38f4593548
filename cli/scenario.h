// The scenario language: one command per line, `#` starts a comment, arguments separated by
// blanks, double quotes around an argument with blanks (`\"` and `\\` inside), `key=value`
// options. Parsing checks every command's shape before anything runs, so a script error never
// leaves a scenario half done.
#pragma once

#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velaqm::cli {

struct Argument {
    std::string text;
    bool quoted = false;  // `formula "cancel"` is a formula text, `formula cancel` is not
};

struct Command {
    std::string verb;  // "open", "expect value", "expect no message", ...
    std::vector<Argument> args;
    std::map<std::string, std::string> options;
    std::string file;
    int line = 0;
    std::string source;  // the line as written, without its comment

    const std::string& Arg(std::size_t index) const { return args.at(index).text; }
    bool HasArg(std::size_t index) const { return index < args.size(); }
    std::optional<std::string> Option(std::string_view name) const;
    // A whole-number option known to be valid (the parser checked it).
    std::optional<int> IntOption(std::string_view name) const;
};

// A line the language does not accept: reported as `file:line: what is wrong`.
class ScriptError : public std::runtime_error {
  public:
    ScriptError(std::string file, int line, const std::string& what);
    const std::string& File() const { return m_file; }
    int Line() const { return m_line; }
    // What is wrong, whole: what() ends at a NUL byte that the line may hold.
    const std::string& Message() const { return m_message; }
    // "file:line: what is wrong"
    std::string Report() const;

  private:
    std::string m_file;
    int m_line;
    std::string m_message;
};

struct Script {
    std::string file;
    std::vector<Command> commands;
    int lineCount = 0;
};

// One line; nullopt for a blank or comment line. Throws ScriptError.
std::optional<Command> ParseLine(std::string_view line, const std::string& file, int lineNumber);
// A whole scenario text; every refused line is collected in `errors` (the script is then not
// to be run).
Script ParseScript(std::string_view text, const std::string& file,
                   std::vector<ScriptError>& errors);

// The usage line and meaning of every command, in the order the help lists them.
struct CommandHelp {
    std::string_view usage;
    std::string_view meaning;
};
std::span<const CommandHelp> ScenarioCommandHelp();

// One entry of `select` (BILLNO or BILLNO/ENTRY); the parser has checked the form.
struct SelectedRow {
    std::string billNo;
    int entry = 0;
};
std::vector<SelectedRow> SplitSelection(std::string_view text);
std::vector<std::string> SplitList(std::string_view text);

}  // namespace velaqm::cli

// The scenario language: a whole file of lines, as `velaqm run` reads it. Every line is
// either a command or a ScriptError; a command's own readers (options, selections, lists)
// take whatever the parser let through, and its source line parses to the same command again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "cli/scenario.h"

namespace {

void Check(bool holds) {
    if (!holds) std::abort();
}

void ReadCommand(const velaqm::cli::Command& command) {
    for (const auto& [name, value] : command.options)
        (void)command.IntOption(name);
    if (command.verb == "select") (void)velaqm::cli::SplitSelection(command.Arg(0));
    if (command.verb == "choose") (void)velaqm::cli::SplitList(command.Arg(0));

    const auto again = velaqm::cli::ParseLine(command.source, command.file, command.line);
    Check(again.has_value());
    Check(again->verb == command.verb && again->options == command.options);
    Check(again->args.size() == command.args.size());
    for (std::size_t i = 0; i < command.args.size(); ++i)
        Check(again->args[i].text == command.args[i].text &&
              again->args[i].quoted == command.args[i].quoted);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<velaqm::cli::ScriptError> errors;
    const velaqm::cli::Script script = velaqm::cli::ParseScript(text, "fuzz.vqs", errors);
    for (const velaqm::cli::ScriptError& error : errors)
        (void)error.Report();
    for (const velaqm::cli::Command& command : script.commands)
        ReadCommand(command);
    return 0;
}

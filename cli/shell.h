// `velaqm shell`: the scenario commands typed one at a time, with what they did printed.
#pragma once

#include <istream>
#include <ostream>

#include "cli/scenario_run.h"

namespace velaqm::cli {

// Reads commands until `quit`, `exit` or the end of input. A script error or a failure is
// printed and the shell goes on. `prompt` is false when the input is not a terminal.
int RunShell(const RunSettings& settings, std::istream& in, std::ostream& out, bool prompt);

}  // namespace velaqm::cli

// `velaqm shell`: the scenario commands typed one at a time, with what they did printed.
#pragma once

#include <istream>
#include <ostream>

#include "cli/scenario_run.h"

namespace velaqm::cli {

// Reads commands until `quit`, `exit` or the end of input. A script error or a failure is
// printed and the shell goes on. `interactive` is true when the input is a terminal: the shell
// prompts and returns 0; fed from a pipe or a file it returns what `velaqm run` would: 1 when a
// command failed, 2 when a line was a script error.
int RunShell(const RunSettings& settings, std::istream& in, std::ostream& out, bool interactive);

}  // namespace velaqm::cli

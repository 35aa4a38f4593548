// How the velaqm command repeats what it was given in its messages: never the whole of a huge
// argument, and never cut short at a NUL byte.
#pragma once

#include <cstddef>
#include <exception>
#include <string>
#include <string_view>

namespace velaqm::cli {

// Beyond this many bytes an echoed argument is shortened.
inline constexpr std::size_t kEchoLimit = 300;

// User input as a message repeats it: a NUL byte reads "\0"; text beyond kEchoLimit bytes is
// cut at a character boundary and ends with "... (N bytes)".
std::string Echo(std::string_view input);

// The whole text of an error: the description of a HostError, the message of the scenario and
// host errors, what() of anything else. Unlike what(), it goes on past a NUL byte.
std::string ErrorText(const std::exception& error);

}  // namespace velaqm::cli

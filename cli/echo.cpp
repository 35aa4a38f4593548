#include "cli/echo.h"

#include "cli/runner.h"
#include "cli/scenario.h"
#include "frame/host_error.h"
#include "host/action_refused.h"

namespace velaqm::cli {

namespace {

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

std::string Echo(std::string_view input) {
    std::string_view kept = input;
    if (input.size() > kEchoLimit) {
        std::size_t end = kEchoLimit;
        while (end > 0 && IsContinuationByte(input[end]))
            --end;
        kept = input.substr(0, end);
    }
    std::string echoed;
    echoed.reserve(kept.size() + 32);
    for (const char c : kept) {
        if (c == '\0')
            echoed += "\\0";
        else
            echoed += c;
    }
    if (kept.size() < input.size()) echoed += "... (" + std::to_string(input.size()) + " bytes)";
    return echoed;
}

std::string ErrorText(const std::exception& error) {
    if (const auto* host = dynamic_cast<const HostError*>(&error)) return host->Description();
    if (const auto* failure = dynamic_cast<const ScenarioFailure*>(&error))
        return failure->Message();
    if (const auto* script = dynamic_cast<const ScriptError*>(&error)) return script->Message();
    if (const auto* refused = dynamic_cast<const host::ActionRefused*>(&error))
        return refused->Message();
    return error.what();
}

}  // namespace velaqm::cli

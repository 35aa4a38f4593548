// The login property string ("SubID=qm;UserID=16394;ConnectString={...};...") as the host hands
// it over: the first line of the input is the key asked for, the rest the property string.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "frame/host_error.h"
#include "frame/login.h"

namespace {

void ReadParsed(const velaqm::ParsedProps& props) {
    // Asking for a key the string lacks is the caller's error, reported as a HostError.
    try {
        (void)props.ParsedUserName();
    } catch (const velaqm::HostError&) {
    }
    try {
        (void)props.ParsedUserID();
    } catch (const velaqm::HostError&) {
    }
    try {
        (void)props.ParsedConnectString();
    } catch (const velaqm::HostError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const auto newline = input.find('\n');
    const std::string_view key = input.substr(0, newline);
    const std::string_view props =
        newline == std::string_view::npos ? input : input.substr(newline + 1);

    for (std::string_view wanted : {key, std::string_view("ConnectString"),
                                    std::string_view("UserID"), std::string_view("Language")}) {
        (void)velaqm::ReadPropValue(props, wanted);
        (void)velaqm::ReadPropValueSimple(props, wanted);
    }
    velaqm::ParsedProps parsed;
    parsed.ParsePropsString(props);
    ReadParsed(parsed);
    return 0;
}

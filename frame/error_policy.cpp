#include "frame/error_policy.h"

#include "frame/messages.h"
#include "frame/platform.h"

namespace velaqm {

HostError AsHostError(const std::exception& error) {
    if (const auto* hostError = dynamic_cast<const HostError*>(&error)) return *hostError;
    return HostError(kErrUnexpected, "VelaQMBillEvent", error.what());
}

void ShowTrappedError(std::string_view prefix, const HostError& error) {
    ShowMessage(std::string(prefix) + error.Description(), kMsgInformation);
}

}  // namespace velaqm

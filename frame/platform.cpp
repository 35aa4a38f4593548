#include "frame/platform.h"

namespace velaqm {

namespace {
Platform* g_platform = nullptr;
}

void InstallPlatform(Platform* platform) {
    g_platform = platform;
}

Platform& CurrentPlatform() {
    if (!g_platform)
        throw HostError(kErrCannotCreate, "VelaQMBillEvent", "No host runtime is installed");
    return *g_platform;
}

}  // namespace velaqm

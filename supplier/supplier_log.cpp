#include "supplier/supplier_log.h"

#include <string>

#include "billops/audit.h"
#include "frame/login.h"
#include "frame/text_util.h"

namespace velaqm {

namespace {
// The kind of the user-action log's entries for a bill created or saved.
constexpr int kBillEntryKind = 5;
}  // namespace

std::string_view LogCodeFor(std::string_view subId, const LogCodes& codes) {
    const std::string sub = LowerAscii(subId);
    if (sub == "cg") return codes.purchasing;
    if (sub == "qm") return codes.quality;
    return {};
}

void WriteSupplierLog(std::string_view text, const LogCodes& codes) {
    const std::string_view code = LogCodeFor(GetPropValue("SubID"), codes);
    if (!code.empty()) WriteActionLog(kBillEntryKind, text, code);
}

}  // namespace velaqm

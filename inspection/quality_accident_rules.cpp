#include "inspection/quality_accident_rules.h"

#include <cstdint>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/sql_text.h"

namespace velaqm {

namespace {

constexpr std::string_view kOperationsOfRouting =
    "FInterID in (SELECT FOperID FROM t_routingoper  WHERE FInterID= %1)";

// The routing as the 32-bit ID the filter names; 0 for what cannot be one.
std::int32_t RoutingId(const Variant& routing) {
    if (!IsNumeric(routing)) return 0;
    try {
        return LongNumber(routing);
    } catch (const HostError&) {
        return 0;
    }
}

}  // namespace

std::string WorkProcessFilter(const Variant& routing) {
    if (routing.IsNull() || routing.IsEmpty() || (routing.IsString() && routing.AsString().empty()))
        return "";
    return SqlFormat(kOperationsOfRouting, {SqlWhole(Variant(RoutingId(routing)))});
}

}  // namespace velaqm

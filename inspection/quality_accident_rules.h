// The quality accident's rule that needs no host: which operations the work-process lookup
// offers for the routing chosen in the head.
#pragma once

#include <string>

#include "frame/variant.h"

namespace velaqm {

// The lookup filter of the work process for a routing's internal ID: its operations, through
// t_routingoper. No routing (Null, Empty or "") gives "", which lifts the filter. A value that
// is no whole number within 32 bits (text such as "x' OR '1'='1", a number out of range) reads
// as routing 0, which has no operations: the lookup offers nothing rather than an earlier
// routing's operations or all of them.
std::string WorkProcessFilter(const Variant& routing);

}  // namespace velaqm

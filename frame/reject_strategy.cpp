#include "frame/reject_strategy.h"

#include <exception>

#include "frame/convert.h"

namespace velaqm {

Decimal MyCDec(const Variant& pVar) {
    if (!IsNumeric(pVar)) return Decimal();
    try {
        return ToDecimal(pVar);
    } catch (const std::exception&) {
        return Decimal();
    }
}

}  // namespace velaqm

#include "frame/plugin_show.h"

#include "frame/host_error.h"
#include "frame/text_util.h"

namespace velaqm {

BillEventPtr BillObjectOf(const Variant& oBillInterface) {
    if (oBillInterface.IsNothing()) return nullptr;
    auto bill = oBillInterface.ObjectAs<BillEvent>();
    if (!bill) throw HostError(kErrTypeMismatch, "VelaQMBillEvent", "Type mismatch");
    return bill;
}

BillOrList SortBillOrList(const Variant& oBillInterface) {
    BillOrList sorted;
    const ObjectPtr& object = oBillInterface.IsObject() ? oBillInterface.AsObject() : nullptr;
    if (!object) return sorted;
    const std::string typeName = UpperAscii(object->TypeName());
    if (typeName == UpperAscii("BillEvent"))
        sorted.bill = std::dynamic_pointer_cast<BillEvent>(object);
    else if (typeName == UpperAscii("ListEvents"))
        sorted.list = std::dynamic_pointer_cast<ListEvents>(object);
    return sorted;
}

}  // namespace velaqm

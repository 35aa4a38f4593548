#include "frame/host_forms.h"

namespace velaqm {

std::string_view NameOf(ListSelProperty property) {
    switch (property) {
        case ListSelProperty::ListShowStatus:
            return "ListShowStatus";
        case ListSelProperty::DestBillTransType:
            return "DestBillTransType";
        case ListSelProperty::ListID:
            return "ListID";
        case ListSelProperty::TranType:
            return "TranType";
        case ListSelProperty::BaseInfo:
            return "BaseInfo";
        case ListSelProperty::MultiSelect:
            return "MultiSelect";
        case ListSelProperty::CanSelectMultiRow:
            return "CanSelectMultiRow";
        case ListSelProperty::Filter:
            return "Filter";
        case ListSelProperty::LocalCnn:
            return "LocalCnn";
        case ListSelProperty::SystemName:
            return "SystemName";
        case ListSelProperty::SelectFlag:
            return "SelectFlag";
    }
    return "";
}

}  // namespace velaqm

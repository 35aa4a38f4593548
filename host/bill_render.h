// A bill form as the transcript prints it (`show`): the heading, the head fields with their
// switches, the entry rows that hold data, and the tools.
#pragma once

#include <string>

#include "host/bill_controls.h"
#include "host/bill_field_states.h"
#include "host/bill_form_values.h"
#include "host/catalog.h"

namespace velaqm::host {

// The heading line's part that only the form knows: the class's name in the session's language,
// how the bill is named, and whether a plug-in locked it.
struct BillHeading {
    std::string className;
    std::string status;  // " new bill", " bill 12", ...
    bool locked = false;
};

std::string RenderBill(const BillHeading& heading, const ClassDef& def,
                       const BillFormValues& values, const BillFieldStates& fields,
                       const BillControls& controls);

}  // namespace velaqm::host

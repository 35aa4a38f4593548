// The substitute of the host's list-selection control (`VelaList.ICList`): it loads the saved
// bills of a list that meet the list's and the caller's filters, and takes the scenario's
// `choose` as the person's pick in its window.
#pragma once

#include "frame/object.h"

namespace velaqm::host {

class Session;

ObjectPtr MakeListSelControl(Session& session);

}  // namespace velaqm::host

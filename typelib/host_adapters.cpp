#include "typelib/host_adapters.h"

namespace velaqm::com {

ObjectPtr AdaptHostObject(IDispatch*) {
    return nullptr;
}

}  // namespace velaqm::com

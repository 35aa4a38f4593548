#include "typelib/host_adapters.h"

#include "typelib/com_platform.h"
#include "typelib/host_objects.h"

namespace velaqm::com {

ObjectPtr AdaptHostObject(IDispatch* object) {
    // The first host object a plug-in receives is also the moment it needs its platform.
    const ComPlatform& platform = EnsureComPlatform();
    return AdaptDispatch(ComPtr<IDispatch>::copy(object), platform.Names());
}

}  // namespace velaqm::com

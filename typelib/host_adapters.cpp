#include "typelib/host_adapters.h"

#include "frame/host_toolbar.h"
#include "typelib/com_platform.h"
#include "typelib/host_objects.h"

namespace velaqm::com {

ObjectPtr AdaptHostObject(IDispatch* object) {
    // The first host object a plug-in receives is also the moment it needs its platform.
    const ComPlatform& platform = EnsureComPlatform();
    return AdaptDispatch(ComPtr<IDispatch>::copy(object), platform.Names());
}

template <class T>
std::shared_ptr<T> AdaptHostObjectAs(IDispatch* object) {
    return Expect<T>(velaqm::Variant(AdaptHostObject(object)), EnsureComPlatform().Names());
}
template std::shared_ptr<Tool> AdaptHostObjectAs<Tool>(IDispatch*);
template std::shared_ptr<MenuBar> AdaptHostObjectAs<MenuBar>(IDispatch*);

}  // namespace velaqm::com

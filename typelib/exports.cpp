// The four entry points of the in-process server, exported through VelaQMBillEvent.def.
#include <windows.h>

#include <olectl.h>

#include "typelib/class_factory.h"
#include "typelib/com_error.h"
#include "typelib/dispatch_client.h"
#include "typelib/module.h"
#include "typelib/registration.h"

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) noexcept {
    return velaqm::com::GetClassObject(clsid, iid, object);
}

STDAPI DllCanUnloadNow() noexcept {
    if (!velaqm::com::ModuleIdle()) return S_FALSE;
    velaqm::com::ReleaseHostTypeInfo();
    return S_OK;
}

STDAPI DllRegisterServer() noexcept {
    return velaqm::com::GuardExport([] { return velaqm::com::RegisterServer(); });
}

STDAPI DllUnregisterServer() noexcept {
    return velaqm::com::GuardExport([] { return velaqm::com::UnregisterServer(); });
}

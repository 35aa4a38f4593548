// The four entry points of the in-process server, exported through VelaQMBillEvent.def.
#include <windows.h>

#include <olectl.h>

#include "typelib/class_factory.h"
#include "typelib/com_error.h"
#include "typelib/module.h"
#include "typelib/registration.h"

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) noexcept {
    return velaqm::com::GetClassObject(clsid, iid, object);
}

STDAPI DllCanUnloadNow() noexcept {
    return velaqm::com::ModuleIdle() ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() noexcept {
    return velaqm::com::GuardExport([] { return velaqm::com::RegisterServer(); });
}

STDAPI DllUnregisterServer() noexcept {
    return velaqm::com::GuardExport([] { return velaqm::com::UnregisterServer(); });
}

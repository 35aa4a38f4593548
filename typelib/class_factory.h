// The class factory of every class in the class table.
#pragma once

#include <windows.h>

namespace velaqm::com {

// DllGetClassObject: the factory of a class of this server, as the interface `iid`.
HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) noexcept;

}  // namespace velaqm::com

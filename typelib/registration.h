// Self-registration under HKEY_CLASSES_ROOT: every class's CLSID and ProgIDs, and the type
// library. Registering is all or nothing: when a write fails, the keys this registration created
// are deleted again and the failure is returned, so a server without write access to the
// registry is never left half-registered.
#pragma once

#include <windows.h>

namespace velaqm::com {

HRESULT RegisterServer();
// Removes what RegisterServer writes; keys already gone are no failure.
HRESULT UnregisterServer();

}  // namespace velaqm::com

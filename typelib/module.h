// The server's own bookkeeping: the live objects and client locks that keep the DLL loaded, and
// the module file that holds the type library.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string>

#include "typelib/com_raii.h"

namespace velaqm::com {

// Held by every object and class factory of the server for as long as it lives.
class ModuleRef {
  public:
    ModuleRef() noexcept;
    ~ModuleRef();
    ModuleRef(const ModuleRef&) = delete;
    ModuleRef& operator=(const ModuleRef&) = delete;
};

// IClassFactory::LockServer.
void LockModule(bool lock) noexcept;
// True when no object, factory or lock remains (DllCanUnloadNow).
bool ModuleIdle() noexcept;

// The module this code was loaded from (the DLL, or a test program), whose resources it loads.
HMODULE ThisModule();
// The file this code was loaded from: the DLL, or a test program linked with the same code.
std::wstring ModulePath();
// The type library embedded in that file, loaded without touching the registry, so that the
// objects work whether the server is registered or not.
ComPtr<ITypeLib> LoadOwnTypeLib();
// A copy of the library's attributes (GUID, version, locale, system kind).
TLIBATTR LibAttrOf(ITypeLib& typeLib);

}  // namespace velaqm::com

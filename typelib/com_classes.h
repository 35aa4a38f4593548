// The one table of the server's classes. DllGetClassObject, registration and the tests all read
// it; the type library declares the same classes with the same GUIDs.
#pragma once

#include <windows.h>

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "frame/plugin.h"

namespace velaqm::com {

struct ComClass;

// Builds the COM object of a class around its plug-in (null when the class has none yet) and
// hands out the interface `iid`.
using CreateObjectFn = HRESULT (*)(const ComClass& cls, std::unique_ptr<Plugin> plugin, REFIID iid,
                                   void** object);

struct ComClass {
    std::string_view name;  // the plug-in's class name, also the coclass name
    const CLSID& clsid;
    const IID& defaultIid;  // _<name>
    CreateObjectFn create;
};

inline constexpr std::wstring_view kLibraryName = L"VelaQMBillEvent";

std::span<const ComClass> ComClasses();
// The class of a CLSID; null when the server has none.
const ComClass* FindComClass(REFCLSID clsid);

// "VelaQMBillEvent.<Class>", the version-independent ProgID, and the versioned one.
std::wstring ProgIdOf(const ComClass& cls);
std::wstring VersionedProgIdOf(const ComClass& cls);

}  // namespace velaqm::com

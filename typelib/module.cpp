#include "typelib/module.h"

#include <atomic>

namespace velaqm::com {

namespace {
std::atomic<long> g_liveObjects{0};
std::atomic<long> g_locks{0};

}  // namespace

HMODULE ThisModule() {
    HMODULE module = nullptr;
    const DWORD flags =
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!GetModuleHandleExW(flags, reinterpret_cast<LPCWSTR>(&g_liveObjects), &module))
        throw ComError(HRESULT_FROM_WIN32(GetLastError()), "GetModuleHandleExW");
    return module;
}

ModuleRef::ModuleRef() noexcept {
    ++g_liveObjects;
}

ModuleRef::~ModuleRef() {
    --g_liveObjects;
}

void LockModule(bool lock) noexcept {
    if (lock)
        ++g_locks;
    else
        --g_locks;
}

bool ModuleIdle() noexcept {
    return g_liveObjects == 0 && g_locks <= 0;
}

std::wstring ModulePath() {
    const HMODULE module = ThisModule();
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD length = GetModuleFileNameW(module, path.data(), size);
        if (length == 0) throw ComError(HRESULT_FROM_WIN32(GetLastError()), "GetModuleFileNameW");
        if (length < size) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

ComPtr<ITypeLib> LoadOwnTypeLib() {
    ComPtr<ITypeLib> typeLib;
    Check(LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, typeLib.put()), "LoadTypeLibEx");
    return typeLib;
}

TLIBATTR LibAttrOf(ITypeLib& typeLib) {
    TLIBATTR* attr = nullptr;
    Check(typeLib.GetLibAttr(&attr), "GetLibAttr");
    const TLIBATTR copy = *attr;
    typeLib.ReleaseTLibAttr(attr);
    return copy;
}

}  // namespace velaqm::com

#include "typelib/registration.h"

#include <cwchar>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "typelib/com_classes.h"
#include "typelib/com_raii.h"
#include "typelib/module.h"

namespace velaqm::com {

namespace {

class RegKey {
  public:
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey() {
        if (m_key) RegCloseKey(m_key);
    }
    HKEY get() const { return m_key; }
    HKEY* put() { return &m_key; }

  private:
    HKEY m_key = nullptr;
};

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

// "1.0": type library versions are written in hexadecimal.
std::wstring VersionText(const TLIBATTR& attr) {
    wchar_t text[16] = {};
    std::swprintf(text, 16, L"%x.%x", attr.wMajorVerNum, attr.wMinorVerNum);
    return text;
}

bool KeyExists(const std::wstring& path) {
    RegKey key;
    return RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

struct Value {
    const wchar_t* name;  // null: the key's default value
    std::wstring data;
};

// The keys one registration created, deleted again unless the registration completes.
class CreatedKeys {
  public:
    CreatedKeys() = default;
    CreatedKeys(const CreatedKeys&) = delete;
    CreatedKeys& operator=(const CreatedKeys&) = delete;
    ~CreatedKeys() {
        for (auto key = m_created.rbegin(); key != m_created.rend(); ++key)
            RegDeleteTreeW(HKEY_CLASSES_ROOT, key->c_str());
    }

    void Write(const std::wstring& path, std::initializer_list<Value> values) {
        RegKey key;
        DWORD disposition = 0;
        Win32(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_SET_VALUE, nullptr, key.put(), &disposition),
              "RegCreateKeyExW");
        if (disposition == REG_CREATED_NEW_KEY) m_created.push_back(path);
        for (const Value& value : values) {
            const auto bytes = static_cast<DWORD>((value.data.size() + 1) * sizeof(wchar_t));
            Win32(RegSetValueExW(key.get(), value.name, 0, REG_SZ,
                                 reinterpret_cast<const BYTE*>(value.data.c_str()), bytes),
                  "RegSetValueExW");
        }
    }
    // A key that a system call is about to create: it goes too if the registration fails.
    void Expect(const std::wstring& path) {
        if (!KeyExists(path)) m_created.push_back(path);
    }
    void Commit() { m_created.clear(); }

  private:
    static void Win32(LSTATUS status, const char* what) {
        if (status != ERROR_SUCCESS) throw ComError(HRESULT_FROM_WIN32(status), what);
    }

    std::vector<std::wstring> m_created;
};

void WriteClassKeys(CreatedKeys& keys, const ComClass& cls, const std::wstring& modulePath,
                    const std::wstring& libid, const std::wstring& version) {
    const std::wstring clsid = GuidText(cls.clsid);
    const std::wstring clsidKey = L"CLSID\\" + clsid;
    const std::wstring progId = ProgIdOf(cls);
    const std::wstring versioned = VersionedProgIdOf(cls);
    keys.Write(clsidKey, {{nullptr, progId}});
    keys.Write(clsidKey + L"\\InprocServer32",
               {{nullptr, modulePath}, {L"ThreadingModel", L"Apartment"}});
    keys.Write(clsidKey + L"\\ProgID", {{nullptr, versioned}});
    keys.Write(clsidKey + L"\\VersionIndependentProgID", {{nullptr, progId}});
    keys.Write(clsidKey + L"\\TypeLib", {{nullptr, libid}});
    keys.Write(clsidKey + L"\\Version", {{nullptr, version}});
    keys.Write(progId, {{nullptr, progId}});
    keys.Write(progId + L"\\CLSID", {{nullptr, clsid}});
    keys.Write(progId + L"\\CurVer", {{nullptr, versioned}});
    keys.Write(versioned, {{nullptr, progId}});
    keys.Write(versioned + L"\\CLSID", {{nullptr, clsid}});
}

}  // namespace

HRESULT RegisterServer() {
    std::wstring modulePath = ModulePath();
    const ComPtr<ITypeLib> typeLib = LoadOwnTypeLib();
    const TLIBATTR attr = LibAttrOf(*typeLib.get());
    const std::wstring libid = GuidText(attr.guid);
    const std::wstring version = VersionText(attr);

    CreatedKeys keys;
    for (const ComClass& cls : ComClasses())
        WriteClassKeys(keys, cls, modulePath, libid, version);
    keys.Expect(L"TypeLib\\" + libid);
    for (const ComClass& cls : ComClasses())
        keys.Expect(L"Interface\\" + GuidText(cls.defaultIid));
    Check(RegisterTypeLib(typeLib.get(), modulePath.data(), nullptr), "RegisterTypeLib");
    keys.Commit();
    return S_OK;
}

HRESULT UnregisterServer() {
    HRESULT result = S_OK;
    const auto remove = [&result](const std::wstring& path) {
        const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND && SUCCEEDED(result))
            result = HRESULT_FROM_WIN32(status);
    };
    for (const ComClass& cls : ComClasses()) {
        remove(L"CLSID\\" + GuidText(cls.clsid));
        remove(ProgIdOf(cls));
        remove(VersionedProgIdOf(cls));
    }

    const ComPtr<ITypeLib> typeLib = LoadOwnTypeLib();
    const TLIBATTR attr = LibAttrOf(*typeLib.get());
    if (KeyExists(L"TypeLib\\" + GuidText(attr.guid) + L"\\" + VersionText(attr))) {
        const HRESULT hr = UnRegisterTypeLib(attr.guid, attr.wMajorVerNum, attr.wMinorVerNum,
                                             attr.lcid, attr.syskind);
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
    }
    return result;
}

}  // namespace velaqm::com

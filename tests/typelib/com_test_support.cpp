#include "com_test_support.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace velaqm::com::testing {

ScratchClassesRoot::ScratchClassesRoot()
    : m_path(L"Software\\VelaQMBillEventTest" + std::to_wstring(GetCurrentProcessId())) {
    RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &m_root, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, m_root), ERROR_SUCCESS);
}

ScratchClassesRoot::~ScratchClassesRoot() {
    RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    RegCloseKey(m_root);
    RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
}

void ScratchClassesRoot::Block(const std::wstring& path) {
    // A volatile key takes no lasting subkeys: every write below it fails.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(m_root, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

SharedTurn::SharedTurn(const std::wstring& name)
    : m_mutex(CreateMutexW(nullptr, FALSE, (L"Local\\VelaQMBillEvent.Tests." + name).c_str())) {
    if (!m_mutex) Check(HRESULT_FROM_WIN32(GetLastError()), "CreateMutexW");
    // WAIT_ABANDONED too gives the turn: the program that held it ended without releasing it.
    WaitForSingleObject(m_mutex, INFINITE);
}

SharedTurn::~SharedTurn() {
    ReleaseMutex(m_mutex);
    CloseHandle(m_mutex);
}

RegisteredObject::RegisteredObject(std::wstring progId, ComPtr<IDispatch> object)
    : m_turn(progId), m_progId(std::move(progId)), m_object(std::move(object)) {
    Check(CoCreateGuid(&m_clsid), "CoCreateGuid");
    const std::wstring clsid = GuidText(m_clsid);
    RegSetValueW(HKEY_CLASSES_ROOT, (m_progId + L"\\CLSID").c_str(), REG_SZ, clsid.c_str(),
                 static_cast<DWORD>(clsid.size() * sizeof(wchar_t)));
    Check(CoRegisterClassObject(m_clsid, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie),
          "CoRegisterClassObject");
}

RegisteredObject::~RegisteredObject() {
    CoRevokeClassObject(m_cookie);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, m_progId.c_str());
}

HRESULT STDMETHODCALLTYPE RegisteredObject::QueryInterface(REFIID iid, void** object) noexcept {
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RegisteredObject::CreateInstance(IUnknown* outer, REFIID iid,
                                                           void** object) noexcept {
    if (outer) return CLASS_E_NOAGGREGATION;
    return m_object->QueryInterface(iid, object);
}

bool ClassesKeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::wstring ClassesValue(const std::wstring& path, const wchar_t* name) {
    wchar_t data[1024] = {};
    DWORD size = sizeof(data);
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), *name ? name : nullptr, RRF_RT_REG_SZ,
                     nullptr, data, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return data;
}

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

const ComClass& ClassNamed(std::string_view name) {
    for (const ComClass& cls : ComClasses())
        if (cls.name == name) return cls;
    throw std::invalid_argument("no class " + std::string(name));
}

ComPtr<IDispatch> Create(const ComClass& cls) {
    ComPtr<IClassFactory> factory;
    Check(DllGetClassObject(cls.clsid, IID_IClassFactory, factory.put_void()), "DllGetClassObject");
    ComPtr<IDispatch> object;
    Check(factory->CreateInstance(nullptr, IID_IDispatch, object.put_void()), "CreateInstance");
    return object;
}

CallResult Call(IDispatch* object, const wchar_t* member, WORD flags,
                std::initializer_list<const VARIANT*> args) {
    CallResult result;
    DISPID id = 0;
    auto* name = const_cast<LPOLESTR>(member);
    result.hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result.hr)) return result;

    std::vector<VARIANT> reversed;  // shallow copies: the caller keeps ownership
    for (auto arg = std::rbegin(args); arg != std::rend(args); ++arg)
        reversed.push_back(**arg);
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        params.rgdispidNamedArgs = &putId;
        params.cNamedArgs = 1;
    }
    EXCEPINFO exception{};
    UINT argError = 0;
    result.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                               result.value.put(), &exception, &argError);
    result.scode = exception.scode;
    result.source = Bstr::attach(exception.bstrSource);
    result.description = Bstr::attach(exception.bstrDescription);
    Bstr::attach(exception.bstrHelpFile);
    return result;
}

CallResult PutProperty(IDispatch* object, const wchar_t* member, const VARIANT& value) {
    return Call(object, member, DISPATCH_PROPERTYPUT, {&value});
}

com::Variant LongValue(LONG value) {
    com::Variant result;
    VARIANT* out = result.put();
    V_VT(out) = VT_I4;
    V_I4(out) = value;
    return result;
}

com::Variant TextValue(std::wstring_view text) {
    com::Variant result;
    VARIANT* out = result.put();
    V_BSTR(out) = Bstr(text).detach();
    V_VT(out) = VT_BSTR;
    return result;
}

com::Variant ObjectValue(IDispatch* object) {
    com::Variant result;
    VARIANT* out = result.put();
    V_DISPATCH(out) = ComPtr<IDispatch>::copy(object).detach();
    V_VT(out) = VT_DISPATCH;
    return result;
}

com::Variant BoolRef(VARIANT_BOOL* target) {
    com::Variant result;
    VARIANT* out = result.put();
    V_BOOLREF(out) = target;
    V_VT(out) = VT_BYREF | VT_BOOL;
    return result;
}

}  // namespace velaqm::com::testing

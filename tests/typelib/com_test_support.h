// Shared pieces of the COM server tests: the apartment, a registry root of the test's own, and
// late-bound calls as a script makes them.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "typelib/com_classes.h"
#include "typelib/com_raii.h"

namespace velaqm::com::testing {

// Each test runs in a single-threaded apartment, as the host's forms do.
class ComTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override { CoUninitialize(); }
};

// Redirects HKEY_CLASSES_ROOT of this process to a fresh key of its own for the test's lifetime,
// so registration runs for real without touching the machine's classes.
class ScratchClassesRoot {
  public:
    ScratchClassesRoot();
    ~ScratchClassesRoot();
    ScratchClassesRoot(const ScratchClassesRoot&) = delete;
    ScratchClassesRoot& operator=(const ScratchClassesRoot&) = delete;

    // A key under the scratch root whose subkeys cannot be created, as a registry without write
    // access refuses them.
    void Block(const std::wstring& path);

  private:
    std::wstring m_path;
    HKEY m_root = nullptr;
};

// The turn of this process at something every test program of a run shares (ctest runs them
// side by side): a named system mutex, held while the object lives.
class SharedTurn {
  public:
    explicit SharedTurn(const std::wstring& name);
    ~SharedTurn();
    SharedTurn(const SharedTurn&) = delete;
    SharedTurn& operator=(const SharedTurn&) = delete;

  private:
    HANDLE m_mutex = nullptr;
};

// A class of this process's own under a ProgID, handing out one prepared object, as a client
// component registered under that name would; the ProgID and the class go with the helper.
// The ProgID lives in the registry all test programs share, so they take turns at each ProgID.
class RegisteredObject final : public IClassFactory {
  public:
    RegisteredObject(std::wstring progId, ComPtr<IDispatch> object);
    ~RegisteredObject();
    RegisteredObject(const RegisteredObject&) = delete;
    RegisteredObject& operator=(const RegisteredObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 2; }  // owned by the test
    ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid,
                                             void** object) noexcept override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) noexcept override { return S_OK; }

  private:
    SharedTurn m_turn;  // first: taken before the ProgID is written, released after it is gone
    std::wstring m_progId;
    ComPtr<IDispatch> m_object;
    CLSID m_clsid{};
    DWORD m_cookie = 0;
};

bool ClassesKeyExists(const std::wstring& path);
// The string value of a key under HKEY_CLASSES_ROOT ("" names the default value); "<missing>"
// when there is none.
std::wstring ClassesValue(const std::wstring& path, const wchar_t* name = L"");

std::wstring GuidText(REFGUID guid);

const ComClass& ClassNamed(std::string_view name);
ComPtr<IDispatch> Create(const ComClass& cls);

// IDispatch::Invoke by member name, as a script calls: arguments in reading order.
struct CallResult {
    HRESULT hr = E_FAIL;
    com::Variant value;
    // From EXCEPINFO when hr is DISP_E_EXCEPTION.
    SCODE scode = S_OK;
    Bstr source;
    Bstr description;
};
CallResult Call(IDispatch* object, const wchar_t* member, WORD flags,
                std::initializer_list<const VARIANT*> args = {});
CallResult PutProperty(IDispatch* object, const wchar_t* member, const VARIANT& value);

com::Variant LongValue(LONG value);
com::Variant TextValue(std::wstring_view text);
com::Variant ObjectValue(IDispatch* object);
com::Variant BoolRef(VARIANT_BOOL* target);

}  // namespace velaqm::com::testing

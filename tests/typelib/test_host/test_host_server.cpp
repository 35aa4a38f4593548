// The test host as an in-process COM server: its classes by CLSID and ProgID, a class factory,
// and registration under HKEY_CLASSES_ROOT for regsvr32.
#include <windows.h>

#include <objbase.h>

#include <array>
#include <exception>
#include <string>

#include "test_host.h"
#include "typelib/ref_counted.h"

namespace velaqm::testhost {
namespace {

struct HostClass {
    const wchar_t* progId;
    CLSID clsid;
    ComPtr<IDispatch> (*create)();
};

// The Host object, then the client's components that the plug-ins create by ProgID.
const std::array<HostClass, 13> kClasses{{
    {L"VelaQMTestHost.Host",
     {0xf54f5204, 0x5198, 0x4582, {0xa5, 0xa6, 0x6d, 0x71, 0x25, 0xd6, 0x03, 0x2d}},
     NewHost},
    {L"VelaProps.ShareProps",
     {0xc472cc0d, 0x9b61, 0x4ee2, {0x8e, 0x48, 0x69, 0x91, 0x9c, 0xc8, 0x1e, 0x3d}},
     NewShareProps},
    {L"VelaGLView.GLData",
     {0x2d054d0d, 0x152d, 0x4038, {0x9e, 0xa7, 0x88, 0xa0, 0x6d, 0x94, 0xbe, 0x5c}},
     NewGLData},
    {L"VelaMQMDataAccess.cBillSimpleCheck",
     {0x3cd0a246, 0xd686, 0x4c67, {0xba, 0xee, 0xa8, 0xe7, 0xc8, 0xfd, 0xdc, 0x7a}},
     NewBillSimpleCheck},
    {L"VelaResLoader.Loader",
     {0x17197613, 0xa5ab, 0x488b, {0x9f, 0x70, 0x35, 0xc4, 0x9b, 0x43, 0x5b, 0x8b}},
     NewResLoader},
    {L"VelaLangInfo.LangInfo",
     {0x7ac9b8f0, 0xc0a4, 0x4517, {0x85, 0x1c, 0xef, 0xb3, 0x8e, 0xc1, 0xa9, 0x4c}},
     NewLangInfo},
    {L"VelaConnection.Appconnection",
     {0xa8f2b2b9, 0x76ea, 0x4e59, {0x8d, 0xfc, 0x2f, 0x9e, 0xab, 0x58, 0x93, 0x7e}},
     NewAppConnection},
    {L"VelaMShopRpt.data",
     {0x800d974d, 0x3d62, 0x40d5, {0xb4, 0x33, 0xbc, 0x14, 0xbd, 0x68, 0x12, 0x09}},
     NewShopRptData},
    {L"VelaMQMDataAccess.DataInfo",
     {0x24b8dc06, 0x5d1b, 0x4c27, {0x8c, 0xbe, 0x5f, 0x8e, 0x91, 0xeb, 0x7b, 0x60}},
     NewDataInfo},
    {L"VelaClassLink.ClassLink",
     {0x005dbbd7, 0x92f9, 0x4d9e, {0x83, 0x69, 0xae, 0xc7, 0x34, 0x1a, 0xe0, 0xc8}},
     NewClassLink},
    {L"VelaMQMGrading.CGetGradingData",
     {0x39134c5b, 0x801d, 0x445c, {0x90, 0xfb, 0x84, 0x86, 0xd3, 0xc2, 0x6d, 0x10}},
     NewGradingData},
    {L"VelaMPlanMrp.MrpRuntime",
     {0xbf7c3862, 0x48d3, 0x4ee4, {0xa9, 0x3e, 0x1f, 0x19, 0xcd, 0x0d, 0xb8, 0xcf}},
     NewMrpRuntime},
    {L"VelaQMItemDialog.cQMItemDialog",
     {0x6e0b2a41, 0x3c5d, 0x4f7e, {0x9a, 0x18, 0x52, 0xd4, 0x0c, 0x7b, 0xe3, 0x96}},
     NewItemDialog},
}};

class Factory final : public com::RefCounted<IClassFactory> {
  public:
    explicit Factory(const HostClass& cls) : m_class(cls) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid,
                                             void** object) noexcept override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        try {
            return m_class.create()->QueryInterface(iid, object);
        } catch (const std::exception&) {
            return E_FAIL;
        }
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) noexcept override { return S_OK; }

  private:
    ~Factory() override = default;
    const HostClass& m_class;
};

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

LSTATUS SetValue(const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                     nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status;
}

}  // namespace
}  // namespace velaqm::testhost

using namespace velaqm::testhost;

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    for (const HostClass& cls : kClasses) {
        if (cls.clsid != clsid) continue;
        const auto factory = ComPtr<IClassFactory>::attach(new (std::nothrow) Factory(cls));
        if (!factory) return E_OUTOFMEMORY;
        return factory->QueryInterface(iid, object);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

// The host's state lives as long as the process: the DLL stays loaded.
extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    const std::wstring file = ModuleFile();
    for (const HostClass& cls : kClasses) {
        const std::wstring clsid = GuidText(cls.clsid);
        const std::wstring key = L"CLSID\\" + clsid;
        for (LSTATUS status : {SetValue(key, nullptr, cls.progId),
                               SetValue(key + L"\\InprocServer32", nullptr, file),
                               SetValue(key + L"\\InprocServer32", L"ThreadingModel", L"Apartment"),
                               SetValue(key + L"\\ProgID", nullptr, cls.progId),
                               SetValue(std::wstring(cls.progId) + L"\\CLSID", nullptr, clsid)})
            if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
    }
    return S_OK;
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    for (const HostClass& cls : kClasses) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + GuidText(cls.clsid)).c_str());
        RegDeleteTreeW(HKEY_CLASSES_ROOT, cls.progId);
    }
    return S_OK;
}

#include "fake_host.h"

#include <stdexcept>

namespace velaqm::com::testing {

FakeMember Returns(LONG value) {
    return [value](std::span<VARIANT*>, VARIANT* result, EXCEPINFO*) {
        if (result) {
            VariantInit(result);
            V_VT(result) = VT_I4;
            V_I4(result) = value;
        }
        return S_OK;
    };
}

FakeMember ReturnsText(std::wstring text) {
    return [text](std::span<VARIANT*>, VARIANT* result, EXCEPINFO*) {
        if (result) {
            VariantInit(result);
            V_BSTR(result) = Bstr(text).detach();
            V_VT(result) = VT_BSTR;
        }
        return S_OK;
    };
}

ComPtr<ITypeLib> FakeTypeLibrary() {
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring path = program;
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"fake_host.tlb";
    ComPtr<ITypeLib> library;
    Check(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put()), "LoadTypeLibEx");
    return library;
}

ComPtr<ITypeInfo> FakeType(std::wstring_view name) {
    const ComPtr<ITypeLib> library = FakeTypeLibrary();
    for (UINT i = 0; i < library->GetTypeInfoCount(); ++i) {
        Bstr found;
        Check(
            library->GetDocumentation(static_cast<INT>(i), found.put(), nullptr, nullptr, nullptr),
            "GetDocumentation");
        if (found.view() != name) continue;
        ComPtr<ITypeInfo> info;
        Check(library->GetTypeInfo(i, info.put()), "GetTypeInfo");
        return info;
    }
    throw std::invalid_argument("no fake type " + Utf8Of(name));
}

IID GuidOf(const ComPtr<ITypeInfo>& info) {
    TYPEATTR* attributes = nullptr;
    Check(info->GetTypeAttr(&attributes), "GetTypeAttr");
    const IID guid = attributes->guid;
    info->ReleaseTypeAttr(attributes);
    return guid;
}

ComPtr<FakeHostObject> FakeBill() {
    return FakeHostObject::Make(FakeType(L"_BillHost"), FakeType(L"BillEvent"),
                                GuidOf(FakeType(L"__BillEvent")));
}

namespace {

ComPtr<FakeHostObject> ListControlOf(std::wstring_view coclass, std::wstring_view events) {
    auto control =
        FakeHostObject::Make(FakeType(L"_ICList"), FakeType(coclass), GuidOf(FakeType(events)));
    control->ActAsControl();
    return control;
}

}  // namespace

ComPtr<FakeHostObject> FakeListControl() {
    return ListControlOf(L"ICList", L"__ICList");
}

ComPtr<FakeHostObject> FakeRenamedListControl() {
    return ListControlOf(L"ICListRenamed", L"__ICListRenamed");
}

const NameTable& DefaultNames() {
    static const NameTable names;
    return names;
}

}  // namespace velaqm::com::testing

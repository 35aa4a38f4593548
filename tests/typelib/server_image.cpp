#include "server_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

#include "com_test_support.h"

namespace velaqm::com::testing {
namespace {

// The system DLLs a COM server of this kind may import. A MinGW runtime DLL (libstdc++-6,
// libgcc_s_*, libwinpthread-1) would be missing on the client's machine: the build links them
// statically, and a change that lost that would show here.
constexpr std::array<std::string_view, 11> kWindowsDlls{
    "kernel32.dll", "user32.dll",  "gdi32.dll",    "advapi32.dll", "ole32.dll",  "oleaut32.dll",
    "shell32.dll",  "shlwapi.dll", "comctl32.dll", "version.dll",  "msvcrt.dll",
};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

}  // namespace

std::filesystem::path DllBesideProgram() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return std::filesystem::path(path).parent_path() / L"VelaQMBillEvent.dll";
}

std::vector<std::string> ForeignImports(const std::vector<std::string>& dlls) {
    std::vector<std::string> foreign;
    for (const std::string& dll : dlls)
        if (std::find(kWindowsDlls.begin(), kWindowsDlls.end(), Lower(dll)) == kWindowsDlls.end())
            foreign.push_back(dll);
    return foreign;
}

void ExpectServerImage(const PeImage& image, std::uint16_t machine, std::uint16_t optionalMagic) {
    EXPECT_EQ(image.Machine(), machine);
    EXPECT_EQ(image.OptionalMagic(), optionalMagic);
    // Plain names: the 32-bit linker would otherwise export the stdcall names, _Name@n, which
    // neither the client's CoCreateInstance nor regsvr32 look for.
    const std::vector<std::string> entryPoints{"DllCanUnloadNow", "DllGetClassObject",
                                               "DllRegisterServer", "DllUnregisterServer"};
    std::vector<std::string> exports = image.ExportNames();
    std::sort(exports.begin(), exports.end());
    EXPECT_EQ(exports, entryPoints);
    const std::vector<std::string> imports = image.ImportDlls();
    EXPECT_FALSE(imports.empty());
    EXPECT_EQ(ForeignImports(imports), std::vector<std::string>{})
        << "DLLs beside Windows among the imports";
    // The type library the objects load from their own file; "MSFT" opens the format.
    const auto typeLibrary = image.Resource("TYPELIB", 1);
    ASSERT_TRUE(typeLibrary.has_value()) << "no TYPELIB resource 1";
    EXPECT_EQ(std::string(typeLibrary->begin(),
                          typeLibrary->begin() + std::min<std::size_t>(4, typeLibrary->size())),
              "MSFT");
}

std::map<std::string, TypeIdentity> TypesOf(ITypeLib& library) {
    std::map<std::string, TypeIdentity> types;
    for (UINT i = 0; i < library.GetTypeInfoCount(); ++i) {
        Bstr name;
        Check(library.GetDocumentation(static_cast<INT>(i), name.put(), nullptr, nullptr, nullptr),
              "GetDocumentation");
        TYPEKIND kind{};
        Check(library.GetTypeInfoType(i, &kind), "GetTypeInfoType");
        ComPtr<ITypeInfo> info;
        Check(library.GetTypeInfo(i, info.put()), "GetTypeInfo");
        TYPEATTR* attr = nullptr;
        Check(info->GetTypeAttr(&attr), "GetTypeAttr");
        const GUID guid = attr->guid;
        info->ReleaseTypeAttr(attr);
        types.emplace(Utf8Of(name.view()), TypeIdentity{kind, Utf8Of(GuidText(guid))});
    }
    return types;
}

void PrintTo(const TypeIdentity& type, std::ostream* out) {
    *out << "{kind " << static_cast<int>(type.kind) << ", " << type.guid << "}";
}

}  // namespace velaqm::com::testing

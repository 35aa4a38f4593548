// com/dll32_image: the 32-bit VelaQMBillEvent.dll, the one the ERP client (a 32-bit process)
// loads, checked by reading it, since this machine cannot run 32-bit code. Its image must show
// what the 64-bit suite checks on the 64-bit DLL, and its type library must be the 32-bit build
// of the same library: every type with the name and GUID it has in the 64-bit DLL beside this
// program. Run as `dll32_image_tests PATH-OF-THE-32-BIT-DLL`.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "com_test_support.h"
#include "server_image.h"
#include "typelib/module.h"

namespace velaqm::com::testing {
namespace {

std::filesystem::path g_dll32;

class Dll32ImageTest : public ComTest {};

TEST_F(Dll32ImageTest, IsAnX86ImageExportingThePlainEntryPointsAndImportingOnlyWindows) {
    ExpectServerImage(PeImage::Read(g_dll32), kMachineI386, kOptionalMagicPe32);
}

TEST_F(Dll32ImageTest, CarriesThe32BitBuildOfThe64BitTypeLibrary) {
    ComPtr<ITypeLib> library64;
    ASSERT_EQ(LoadTypeLibEx(DllBesideProgram().c_str(), REGKIND_NONE, library64.put()), S_OK);
    ComPtr<ITypeLib> library32;
    ASSERT_EQ(LoadTypeLibEx(g_dll32.c_str(), REGKIND_NONE, library32.put()), S_OK);

    const TLIBATTR attr64 = LibAttrOf(*library64.get());
    const TLIBATTR attr32 = LibAttrOf(*library32.get());
    EXPECT_EQ(attr64.syskind, SYS_WIN64);
    EXPECT_EQ(attr32.syskind, SYS_WIN32);
    EXPECT_EQ(GuidText(attr32.guid), GuidText(attr64.guid));
    EXPECT_EQ(attr32.wMajorVerNum, attr64.wMajorVerNum);
    EXPECT_EQ(attr32.wMinorVerNum, attr64.wMinorVerNum);

    const auto types = TypesOf(*library32.get());
    EXPECT_EQ(types, TypesOf(*library64.get()));
    // Each class of the class table, with its default interface _<Class>; so an empty or cut
    // library cannot pass by matching another.
    EXPECT_EQ(types.size(), 2 * ComClasses().size());
    for (const ComClass& cls : ComClasses()) {
        SCOPED_TRACE(std::string(cls.name));
        const auto coclass = types.find(std::string(cls.name));
        ASSERT_NE(coclass, types.end());
        EXPECT_EQ(coclass->second, (TypeIdentity{TKIND_COCLASS, Utf8Of(GuidText(cls.clsid))}));
        const auto defaultInterface = types.find("_" + std::string(cls.name));
        ASSERT_NE(defaultInterface, types.end());
        EXPECT_EQ(defaultInterface->second,
                  (TypeIdentity{TKIND_DISPATCH, Utf8Of(GuidText(cls.defaultIid))}));
    }
}

}  // namespace
}  // namespace velaqm::com::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: dll32_image_tests PATH-OF-THE-32-BIT-VelaQMBillEvent.dll\n");
        return 2;
    }
    velaqm::com::testing::g_dll32 = argv[1];
    return RUN_ALL_TESTS();
}

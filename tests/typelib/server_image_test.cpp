// The server DLL beside the program read as a file: the image checks that com/dll32_image makes
// on the 32-bit DLL, here on the DLL of the program's own platform.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "com_test_support.h"
#include "server_image.h"
#include "typelib/module.h"

namespace velaqm::com::testing {
namespace {

constexpr bool k64Bit = sizeof(void*) == 8;

TEST(ServerImageTest, IsAnImageOfThisPlatformExportingThePlainEntryPointsAndImportingOnlyWindows) {
    ExpectServerImage(PeImage::Read(DllBesideProgram()), k64Bit ? kMachineAmd64 : kMachineI386,
                      k64Bit ? kOptionalMagicPe32Plus : kOptionalMagicPe32);
}

class ServerTypeLibraryTest : public ComTest {};

TEST_F(ServerTypeLibraryTest, IsBuiltForThisPlatform) {
    ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadTypeLibEx(DllBesideProgram().c_str(), REGKIND_NONE, library.put()), S_OK);
    EXPECT_EQ(LibAttrOf(*library.get()).syskind, k64Bit ? SYS_WIN64 : SYS_WIN32);
}

TEST(ForeignImportsTest, NamesEveryDllThatIsNotPartOfWindows) {
    struct Case {
        std::vector<std::string> imports;
        std::vector<std::string> foreign;
    };
    const Case cases[] = {
        {{"KERNEL32.dll", "msvcrt.dll", "ole32.dll", "OLEAUT32.dll", "USER32.dll", "ADVAPI32.dll"},
         {}},
        // Case does not matter to the loader, nor here.
        {{"kernel32.DLL", "Msvcrt.Dll"}, {}},
        // The MinGW runtime, which the client's machine does not have.
        {{"KERNEL32.dll", "libstdc++-6.dll", "libgcc_s_dw2-1.dll", "libwinpthread-1.dll"},
         {"libstdc++-6.dll", "libgcc_s_dw2-1.dll", "libwinpthread-1.dll"}},
        {{"libgcc_s_seh-1.dll"}, {"libgcc_s_seh-1.dll"}},
        // A name that merely begins like a system DLL's.
        {{"kernel32.dll.evil", "user32"}, {"kernel32.dll.evil", "user32"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ForeignImports(c.imports), c.foreign);
}

}  // namespace
}  // namespace velaqm::com::testing

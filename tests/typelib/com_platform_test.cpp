// The platform of the plug-ins inside the client: file attributes and the client's folder, as
// the switch database needs them, and components created under the deployment's ProgIDs.
#include "typelib/com_platform.h"

#include <windows.h>

#include <olectl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "com_test_support.h"
#include "fake_host.h"
#include "frame/host_error.h"
#include "frame/host_services.h"
#include "tests/support/host_error_of.h"
#include "typelib/com_raii.h"
#include "typelib/host_objects.h"

namespace velaqm::com::testing {
namespace {

using velaqm::testing::HostErrorOf;

TEST(ComPlatformTest, FileAttributesAreReadAndSetAsTheClientDoes) {
    ComPlatform platform{NameTable()};
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("velaqm-attr-" + std::to_string(GetCurrentProcessId()));
    std::ofstream(file) << "switch";
    const std::string path = Utf8Of(file.wstring());

    ASSERT_TRUE(platform.GetAttr(path).has_value());
    platform.SetAttr(path, kFileReadOnly);
    EXPECT_TRUE(*platform.GetAttr(path) & kFileReadOnly);
    platform.SetAttr(path, kFileArchive);
    EXPECT_FALSE(*platform.GetAttr(path) & kFileReadOnly);
    std::filesystem::remove(file);

    EXPECT_FALSE(platform.GetAttr(path).has_value()) << "no such file";
    EXPECT_FALSE(platform.GetAttr(Utf8Of(std::filesystem::temp_directory_path().wstring())))
        << "a folder is no file";
    EXPECT_THROW(platform.SetAttr(path, kFileArchive), HostError);
}

// The program carries the library's resources (VelaQMBillEvent.rc), as the DLL does.
TEST(ComPlatformTest, TheLibrarysBitmapBecomesAPictureAndAnUnknownOneIsNotFound) {
    ComPlatform platform{NameTable()};
    const ObjectPtr picture = platform.LoadResPicture(1);
    ASSERT_NE(picture, nullptr);
    const auto dispatch = std::dynamic_pointer_cast<DispatchObject>(picture);
    ASSERT_NE(dispatch, nullptr) << "an OLE picture the client can draw";
    EXPECT_TRUE(ComPtr<IDispatch>::copy(dispatch->Client().Raw()).try_query<IPictureDisp>());
    EXPECT_EQ(HostErrorOf([&] { platform.LoadResPicture(99); }).Number(), kErrResourceNotFound);
}

TEST(ComPlatformTest, TheClientFolderIsTheProgramsFolder) {
    ComPlatform platform{NameTable()};
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    EXPECT_EQ(platform.ClientDirectory(),
              Utf8Of(std::filesystem::path(program).parent_path().wstring()));
}

using ComPlatformCreateTest = ComTest;

// The toolbar control's ProgID is the deployment's to name: COM is asked for the table's ProgID,
// and a failure names the one it tried.
TEST_F(ComPlatformCreateTest, TheToolbarControlIsCreatedUnderTheNameTablesProgId) {
    const std::wstring renamedBar = L"VelaQMTest.Bar" + std::to_wstring(GetCurrentProcessId());
    const std::string overrideLine = "ToolbarControl.ProgID = " + Utf8Of(renamedBar);
    struct Case {
        const char* what;
        std::string names;
        std::wstring registeredAs;
        bool created;
        std::string tried;
    };
    const Case cases[] = {
        {"today's name", "", L"VelaActiveBar.ActiveBar", true, ""},
        {"the deployment's name", overrideLine, renamedBar, true, ""},
        {"not today's name once renamed", overrideLine, L"VelaActiveBar.ActiveBar", false,
         Utf8Of(renamedBar)},
        {"nothing registered", "", L"VelaQMTest.Unrelated", false, "VelaActiveBar.ActiveBar"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto bar = FakeHostObject::Make(nullptr);
        const RegisteredObject registered(c.registeredAs, AsDispatch(bar));
        ComPlatform platform{NameTable::Parse(c.names, "VelaQMBillEvent.names")};
        if (c.created) {
            const ObjectPtr object = platform.CreateObject(progid::kToolbarControl);
            ASSERT_TRUE(object);
            EXPECT_EQ(HostDispatchOf(*object), static_cast<IDispatch*>(bar.get()));
            continue;
        }
        const HostError error =
            HostErrorOf([&] { platform.CreateObject(progid::kToolbarControl); });
        EXPECT_EQ(error.Number(), kErrCannotCreate);
        EXPECT_EQ(error.Description(), "ActiveX component can't create object: " + c.tried);
    }
}

TEST_F(ComPlatformCreateTest, OtherClassesKeepTheirProgIdWhenTheToolbarIsRenamed) {
    const auto displayer = FakeHostObject::Make(nullptr);
    const RegisteredObject registered(L"VelaDisplayer.DispBuilder", AsDispatch(displayer));
    ComPlatform platform{NameTable::Parse("ToolbarControl.ProgID = AcmeBar.Toolbar", "test")};
    const velaqm::Variant created(platform.CreateObject(progid::kDispBuilder));
    EXPECT_NE(created.ObjectAs<DispBuilder>(), nullptr);
}

}  // namespace
}  // namespace velaqm::com::testing

// The platform of the plug-ins inside the client: file attributes and the client's folder, as
// the switch database needs them.
#include "typelib/com_platform.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "frame/host_error.h"
#include "typelib/com_raii.h"

namespace velaqm::com::testing {
namespace {

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

TEST(ComPlatformTest, TheClientFolderIsTheProgramsFolder) {
    ComPlatform platform{NameTable()};
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    EXPECT_EQ(platform.ClientDirectory(),
              Utf8Of(std::filesystem::path(program).parent_path().wstring()));
}

}  // namespace
}  // namespace velaqm::com::testing

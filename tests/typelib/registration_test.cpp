// DllRegisterServer and DllUnregisterServer against a classes root of the test's own: what a
// client needs to find each class is written, unregistering takes all of it away again, and a
// registration that cannot write leaves nothing behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <olectl.h>

#include "com_test_support.h"
#include "typelib/VelaQMBillEvent.h"
#include "typelib/module.h"

namespace velaqm::com::testing {
namespace {

std::wstring Wide(std::string_view text) {
    return std::wstring(text.begin(), text.end());
}

std::wstring ProgId(const ComClass& cls) {
    return L"VelaQMBillEvent." + Wide(cls.name);
}

// Every key a registration of this server may leave behind.
std::vector<std::wstring> KeysOfTheServer() {
    std::vector<std::wstring> keys{L"TypeLib\\" + GuidText(LIBID_VelaQMBillEvent)};
    for (const ComClass& cls : ComClasses()) {
        keys.push_back(L"CLSID\\" + GuidText(cls.clsid));
        keys.push_back(ProgId(cls));
        keys.push_back(ProgId(cls) + L".1");
        keys.push_back(L"Interface\\" + GuidText(cls.defaultIid));
    }
    return keys;
}

void ExpectNoKeyOfTheServer() {
    for (const std::wstring& key : KeysOfTheServer())
        EXPECT_FALSE(ClassesKeyExists(key)) << Utf8Of(key);
}

using RegistrationTest = ComTest;

TEST_F(RegistrationTest, RegistersEveryClassAndUnregisteringRemovesIt) {
    ScratchClassesRoot root;
    ASSERT_EQ(DllRegisterServer(), S_OK);
    const std::wstring server = ModulePath();
    for (const ComClass& cls : ComClasses()) {
        SCOPED_TRACE(std::string(cls.name));
        const std::wstring clsid = GuidText(cls.clsid);
        const std::wstring clsidKey = L"CLSID\\" + clsid;
        EXPECT_EQ(ClassesValue(ProgId(cls) + L"\\CLSID"), clsid);
        EXPECT_EQ(ClassesValue(ProgId(cls) + L"\\CurVer"), ProgId(cls) + L".1");
        EXPECT_EQ(ClassesValue(ProgId(cls) + L".1\\CLSID"), clsid);
        EXPECT_EQ(ClassesValue(clsidKey + L"\\InprocServer32"), server);
        EXPECT_EQ(ClassesValue(clsidKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
        EXPECT_EQ(ClassesValue(clsidKey + L"\\ProgID"), ProgId(cls) + L".1");
        EXPECT_EQ(ClassesValue(clsidKey + L"\\VersionIndependentProgID"), ProgId(cls));
        EXPECT_EQ(ClassesValue(clsidKey + L"\\TypeLib"), GuidText(LIBID_VelaQMBillEvent));
        EXPECT_EQ(ClassesValue(L"Interface\\" + GuidText(cls.defaultIid) + L"\\TypeLib"),
                  GuidText(LIBID_VelaQMBillEvent));
    }
    // The system files the type library under the platform of the process that registered it.
    const std::wstring platform = sizeof(void*) == 4 ? L"win32" : L"win64";
    EXPECT_EQ(
        ClassesValue(L"TypeLib\\" + GuidText(LIBID_VelaQMBillEvent) + L"\\1.0\\0\\" + platform),
        server);

    EXPECT_EQ(DllUnregisterServer(), S_OK);
    ExpectNoKeyOfTheServer();
    EXPECT_EQ(DllUnregisterServer(), S_OK) << "unregistering twice";
}

TEST_F(RegistrationTest, ARegistrationThatCannotWriteFailsAndLeavesNothingBehind) {
    // Refused at the first key, and at the type library after every class key is written.
    for (const wchar_t* refused : {L"CLSID", L"TypeLib"}) {
        SCOPED_TRACE(Utf8Of(refused));
        ScratchClassesRoot root;
        root.Block(refused);
        EXPECT_TRUE(FAILED(DllRegisterServer()));
        ExpectNoKeyOfTheServer();
    }
}

}  // namespace
}  // namespace velaqm::com::testing

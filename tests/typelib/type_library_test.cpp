// The type library inside the DLL: the library ID the IDL declares (widl has been seen to write
// a wrong one), and exactly the classes of the class table with the members of each.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "com_test_support.h"
#include "server_image.h"
#include "typelib/VelaQMBillEvent.h"
#include "typelib/module.h"

namespace velaqm::com::testing {
namespace {

// The attributes of a type, copied out so that nothing stays to release.
TYPEATTR AttrOf(ITypeInfo& info) {
    TYPEATTR* attr = nullptr;
    Check(info.GetTypeAttr(&attr), "GetTypeAttr");
    const TYPEATTR copy = *attr;
    info.ReleaseTypeAttr(attr);
    return copy;
}

std::string NameOf(ITypeInfo& info, MEMBERID member = MEMBERID_NIL) {
    Bstr name;
    Check(info.GetDocumentation(member, name.put(), nullptr, nullptr, nullptr), "GetDocumentation");
    return Utf8Of(name.view());
}

ComPtr<ITypeInfo> ImplType(ITypeInfo& info, UINT index) {
    HREFTYPE ref = 0;
    Check(info.GetRefTypeOfImplType(index, &ref), "GetRefTypeOfImplType");
    ComPtr<ITypeInfo> implemented;
    Check(info.GetRefTypeInfo(ref, implemented.put()), "GetRefTypeInfo");
    return implemented;
}

// The member names of an interface in declaration order; a property's get and put count once.
std::vector<std::string> MembersOf(ITypeInfo& dispatchView) {
    ComPtr<ITypeInfo> vtableView = ImplType(dispatchView, static_cast<UINT>(-1));
    std::vector<std::string> names;
    for (UINT i = 0; i < AttrOf(*vtableView.get()).cFuncs; ++i) {
        FUNCDESC* func = nullptr;
        Check(vtableView->GetFuncDesc(i, &func), "GetFuncDesc");
        const MEMBERID member = func->memid;
        vtableView->ReleaseFuncDesc(func);
        std::string name = NameOf(*vtableView.get(), member);
        if (names.empty() || names.back() != name) names.push_back(std::move(name));
    }
    return names;
}

struct Coclass {
    CLSID clsid;
    bool creatable;
    std::vector<ComPtr<ITypeInfo>> interfaces;  // the default one first
};

std::map<std::string, Coclass> CoclassesOf(ITypeLib& library) {
    std::map<std::string, Coclass> coclasses;
    for (UINT i = 0; i < library.GetTypeInfoCount(); ++i) {
        ComPtr<ITypeInfo> info;
        Check(library.GetTypeInfo(i, info.put()), "GetTypeInfo");
        const TYPEATTR attr = AttrOf(*info.get());
        if (attr.typekind != TKIND_COCLASS) continue;
        Coclass coclass{attr.guid, (attr.wTypeFlags & TYPEFLAG_FCANCREATE) != 0, {}};
        for (UINT impl = 0; impl < attr.cImplTypes; ++impl) {
            INT flags = 0;
            Check(info->GetImplTypeFlags(impl, &flags), "GetImplTypeFlags");
            auto implemented = ImplType(*info.get(), impl);
            if (flags & IMPLTYPEFLAG_FDEFAULT)
                coclass.interfaces.insert(coclass.interfaces.begin(), implemented);
            else
                coclass.interfaces.push_back(implemented);
        }
        coclasses.emplace(NameOf(*info.get()), std::move(coclass));
    }
    return coclasses;
}

class TypeLibraryTest : public ComTest {
  protected:
    void SetUp() override {
        ComTest::SetUp();
        ASSERT_EQ(LoadTypeLibEx(DllBesideProgram().c_str(), REGKIND_NONE, library.put()), S_OK);
    }
    ComPtr<ITypeLib> library;
};

TEST_F(TypeLibraryTest, TheDllCarriesTheDeclaredLibraryIdAndVersion) {
    const TLIBATTR attr = LibAttrOf(*library.get());
    EXPECT_EQ(GuidText(attr.guid), GuidText(LIBID_VelaQMBillEvent));
    EXPECT_EQ(attr.wMajorVerNum, 1);
    EXPECT_EQ(attr.wMinorVerNum, 0);
    Bstr name;
    ASSERT_EQ(library->GetDocumentation(-1, name.put(), nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(Utf8Of(name.view()), "VelaQMBillEvent");
}

TEST_F(TypeLibraryTest, DeclaresTheClassTableAsCreatableClassesWithTheirDefaultInterfaces) {
    const auto coclasses = CoclassesOf(*library.get());
    ASSERT_EQ(coclasses.size(), ComClasses().size());
    for (const ComClass& cls : ComClasses()) {
        SCOPED_TRACE(std::string(cls.name));
        const auto found = coclasses.find(std::string(cls.name));
        ASSERT_NE(found, coclasses.end());
        EXPECT_EQ(GuidText(found->second.clsid), GuidText(cls.clsid));
        EXPECT_TRUE(found->second.creatable);
        ASSERT_FALSE(found->second.interfaces.empty());
        ITypeInfo& defaultInterface = *found->second.interfaces.front().get();
        EXPECT_EQ(GuidText(AttrOf(defaultInterface).guid), GuidText(cls.defaultIid));
        EXPECT_EQ(NameOf(defaultInterface), "_" + std::string(cls.name));
        EXPECT_TRUE(AttrOf(defaultInterface).wTypeFlags & TYPEFLAG_FDUAL);
    }
}

TEST_F(TypeLibraryTest, EachInterfaceCarriesExactlyThePublicMembersOfItsClass) {
    const std::vector<std::string> show{"Show"};
    const std::vector<std::string> itemCheck{"Show", "CheckItemUniq"};
    const std::vector<std::string> strategy{
        "Show",       "SetRequestBillNo",      "Dispose",     "MenuBarClick", "MenuBarInitialize",
        "BeforeSave", "BeforLoadBillFillData", "GetRejectQty"};
    const std::map<std::string, std::vector<std::vector<std::string>>> expected{
        {"SampleStandard", {show}},
        {"SamplingLogEvent", {show}},
        {"QualityStandard", {show}},
        {"CCheckItem", {show}},
        {"WatchLogEvent", {show}},
        {"CSampleDestroy", {show}},
        {"QMAccident", {show}},
        {"ClientServiceLog", {show}},
        {"EvaProjExt", {show}},
        {"SupplierEvaExt", {show}},
        {"CItemGrade", {itemCheck}},
        {"cItemSupply", {itemCheck}},
        {"CRejectPro", {show}},
        {"IRejectCO", {strategy}},
        {"CComRejectCO", {{"m_BillStatusExt", "MyCDec"}, strategy}},
        {"CPoRejectCO", {{"m_BillStatusExt"}, strategy}},
        {"CRejRule", {{}}},
    };
    for (const auto& [name, coclass] : CoclassesOf(*library.get())) {
        SCOPED_TRACE(name);
        std::vector<std::vector<std::string>> members;
        for (const auto& implemented : coclass.interfaces)
            members.push_back(MembersOf(*implemented.get()));
        EXPECT_EQ(members, expected.at(name));
    }
}

}  // namespace
}  // namespace velaqm::com::testing

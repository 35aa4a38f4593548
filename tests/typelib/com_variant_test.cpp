// Values crossing between VARIANTs and the plug-ins' Variant keep their kind and exact value.
#include "typelib/com_variant.h"
#include "frame/collections.h"
#include "frame/convert.h"
#include "typelib/dispatch_client.h"

#include <gtest/gtest.h>

#include <memory>

#include "com_test_support.h"
#include "frame/host_error.h"

namespace velaqm::com::testing {
namespace {

TEST(ComVariant, PluginValuesRoundTripExactly) {
    const velaqm::Variant values[] = {
        velaqm::Variant(),
        velaqm::Variant(kNull),
        velaqm::Variant(true),
        velaqm::Variant(-42),
        velaqm::Variant(0.1),
        velaqm::Variant(*Decimal::Parse("-1234567890123456789.012345678")),
        velaqm::Variant("质量标准 QS-01"),
        velaqm::Variant(""),
        velaqm::Variant(Date(2009, 10, 1, 13, 5, 9)),
        velaqm::Variant(Date(1899, 12, 30)),
        velaqm::Variant::Nothing(),
    };
    for (const velaqm::Variant& value : values) {
        SCOPED_TRACE(static_cast<int>(value.Type()));
        EXPECT_EQ(FromVariant(ToVariant(value).get()), value);
    }
}

TEST(ComVariant, ScriptValuesArriveAsTheKindThePluginsUse) {
    com::Variant value;
    VARIANT* v = value.put();
    V_VT(v) = VT_I2;
    V_I2(v) = -7;
    EXPECT_EQ(FromVariant(value.get()), velaqm::Variant(-7));

    v = value.put();
    V_VT(v) = VT_CY;
    V_CY(v).int64 = 123456;  // 12.3456
    EXPECT_EQ(FromVariant(value.get()), velaqm::Variant(*Decimal::Parse("12.3456")));

    // A variable a script passes by reference.
    const com::Variant text = TextValue(L"FBillNo");
    v = value.put();
    V_VT(v) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(v) = const_cast<VARIANT*>(&text.get());
    EXPECT_EQ(FromVariant(value.get()), velaqm::Variant("FBillNo"));
    value.put();  // a reference owns nothing: leave it before text goes

    v = value.put();
    V_VT(v) = VT_ERROR;
    V_ERROR(v) = DISP_E_PARAMNOTFOUND;
    EXPECT_TRUE(FromVariant(value.get()).IsEmpty()) << "a missing optional argument";
}

TEST(ComVariant, WhatNoPluginValueCanHoldIsATypeMismatch) {
    com::Variant error;
    V_VT(error.put()) = VT_ERROR;
    try {
        FromVariant(error.get());
        ADD_FAILURE() << "no error";
    } catch (const HostError& e) {
        EXPECT_EQ(e.Number(), kErrTypeMismatch);
    }

    class Plain final : public Object {
        std::string TypeName() const override { return "Plain"; }
    };
    EXPECT_THROW(ToVariant(velaqm::Variant(std::make_shared<Plain>())), HostError);
}

TEST(ComVariant, ADictionaryOfTheLibraryCrossesAsAFaceThatWritesThrough) {
    const DictionaryPtr params = NewDictionary();
    params->SetItem("ReturnString", "");
    const com::Variant face = ToVariant(velaqm::Variant(params));
    ASSERT_EQ(V_VT(&face.get()), VT_DISPATCH);
    const DispatchClient client(ComPtr<IDispatch>::copy(V_DISPATCH(&face.get())));
    client.Put("Item", velaqm::Variant("ReturnString"), velaqm::Variant("审核成功！"));
    EXPECT_EQ(params->Item("returnstring"), velaqm::Variant("审核成功！"));
    EXPECT_TRUE(Truth(client.Call("Exists", {velaqm::Variant("RETURNSTRING")})));
    EXPECT_EQ(WholeNumber(client.Get("Count")), 1);
    EXPECT_EQ(FromVariant(face.get()).ObjectAs<Dictionary>(), params)
        << "the same object comes back";
    EXPECT_THROW(client.Call("NoSuchMember"), HostError);
}

}  // namespace
}  // namespace velaqm::com::testing

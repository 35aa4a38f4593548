// Late-bound calls and event delivery where they keep their own storage to stay fast: the
// per-client member list, the arguments of a call, the snapshot of an event's subscribers, the
// cancel flag read without a conversion, and the role names looked up when compiling.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "com_test_support.h"
#include "fake_host.h"
#include "frame/convert.h"
#include "frame/events.h"
#include "typelib/dispatch_client.h"
#include "typelib/event_connection.h"
#include "typelib/host_objects.h"
#include "typelib/name_table.h"

namespace velaqm::com::testing {
namespace {

using V = velaqm::Variant;

using DispatchClientTest = ComTest;

TEST_F(DispatchClientTest, ANameInReusedStorageCallsTheMemberItNowSpells) {
    // Both names must be new to the type: DISPIDs are cached per type for the process.
    const auto fake = FakeHostObject::Make(FakeType(L"BillEvents"));
    fake->Add(L"ReusedNameAlpha", 60, Returns(1));
    fake->Add(L"ReusedNameGamma", 61, Returns(3));
    const DispatchClient client(AsDispatch(fake));

    // One buffer, rewritten in place between the calls: same address, same length.
    char name[] = "ReusedNameAlpha";
    EXPECT_EQ(WholeNumber(client.Call(std::string_view(name))), 1);
    std::memcpy(name + 10, "Gamma", 5);
    EXPECT_EQ(WholeNumber(client.Call(std::string_view(name))), 3);
    EXPECT_EQ(fake->Called(), (std::vector<std::wstring>{L"ReusedNameAlpha", L"ReusedNameGamma"}));
}

TEST_F(DispatchClientTest, TheTypeInformationKeptForTypeNamesIsGivenBackBeforeUnloading) {
    const ComPtr<ITypeInfo> type = FakeType(L"ListEvents");
    ReleaseHostTypeInfo();
    const auto references = [&] {
        type->AddRef();
        return type->Release();
    };
    const ULONG before = references();
    {
        const auto fake = FakeHostObject::Make(type);
        EXPECT_EQ(DispatchClient(AsDispatch(fake)).TypeName(), "ListEvents");
    }
    ReleaseHostTypeInfo();  // as DllCanUnloadNow does when nothing of the server is left
    EXPECT_EQ(references(), before);
    // And read again when next needed.
    const auto again = FakeHostObject::Make(type);
    EXPECT_EQ(DispatchClient(AsDispatch(again)).TypeName(), "ListEvents");
}

// A member that checks its arguments 2..n-1 are the numbers 2..n-1, writes its name's text
// into the by-reference first and last, and returns how many it got.
FakeMember CountsAndWritesBothEnds() {
    return [](std::span<VARIANT*> args, VARIANT* result, EXCEPINFO*) {
        const std::size_t n = args.size();
        if (n < 2 || V_VT(args[0]) != (VT_BYREF | VT_VARIANT) ||
            V_VT(args[n - 1]) != (VT_BYREF | VT_VARIANT))
            return E_INVALIDARG;
        for (std::size_t i = 1; i + 1 < n; ++i)
            if (V_VT(args[i]) != VT_I4 || V_I4(args[i]) != static_cast<LONG>(i + 1))
                return E_INVALIDARG;
        ClearVariant(*V_VARIANTREF(args[0]));
        ClearVariant(*V_VARIANTREF(args[n - 1]));
        TextValue(L"first").detach_to(V_VARIANTREF(args[0]));
        TextValue(L"last").detach_to(V_VARIANTREF(args[n - 1]));
        V_VT(result) = VT_I4;
        V_I4(result) = static_cast<LONG>(n);
        return S_OK;
    };
}

TEST_F(DispatchClientTest, ManyArgumentsKeepTheirOrderAndByReferenceOnesComeBack) {
    const auto fake = FakeHostObject::Make(nullptr);
    fake->Add(L"Eight", 1, CountsAndWritesBothEnds());
    fake->Add(L"Eleven", 2, CountsAndWritesBothEnds());
    const DispatchClient client(AsDispatch(fake));

    V first("a");
    V last("b");
    EXPECT_EQ(WholeNumber(client.Call("Eight", {Arg::ByRef(first), V(2), V(3), V(4), V(5), V(6),
                                                V(7), Arg::ByRef(last)})),
              8);
    EXPECT_EQ(Text(first), "first");
    EXPECT_EQ(Text(last), "last");

    first = V("a");
    last = V("b");
    EXPECT_EQ(WholeNumber(client.Call("Eleven", {Arg::ByRef(first), V(2), V(3), V(4), V(5), V(6),
                                                 V(7), V(8), V(9), V(10), Arg::ByRef(last)})),
              11);
    EXPECT_EQ(Text(first), "first");
    EXPECT_EQ(Text(last), "last");
}

TEST_F(DispatchClientTest, ACancelFlagReadsAsTheHostOrAScriptPassesIt) {
    VARIANT_BOOL yes = VARIANT_TRUE;
    VARIANT_BOOL no = VARIANT_FALSE;
    VARIANT byValue;
    VariantInit(&byValue);
    V_VT(&byValue) = VT_BOOL;
    V_BOOL(&byValue) = VARIANT_TRUE;
    const Variant refYes = BoolRef(&yes);
    const Variant refNo = BoolRef(&no);
    EXPECT_TRUE(ReadBool(&byValue));
    EXPECT_TRUE(ReadBool(&refYes.get()));
    EXPECT_FALSE(ReadBool(&refNo.get()));

    // Through VT_BYREF|VT_VARIANT, holding a Boolean or a number.
    Variant inner;
    VARIANT* slot = inner.put();
    VARIANT byVariant;
    VariantInit(&byVariant);
    V_VT(&byVariant) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&byVariant) = slot;
    V_VT(slot) = VT_BOOL;
    V_BOOL(slot) = VARIANT_TRUE;
    EXPECT_TRUE(ReadBool(&byVariant));
    V_BOOL(slot) = VARIANT_FALSE;
    EXPECT_FALSE(ReadBool(&byVariant));
    V_VT(slot) = VT_I4;
    V_I4(slot) = -1;
    EXPECT_TRUE(ReadBool(&byVariant));
    V_I4(slot) = 0;
    EXPECT_FALSE(ReadBool(&byVariant));
}

// The DISPID fake_host.idl gives the bill's AfterLoadBill.
constexpr DISPID kAfterLoadBill = 9;

class EventSubscribersTest : public ComTest, public ::testing::WithParamInterface<int> {};

TEST_P(EventSubscribersTest, AMemberUnsubscribedByAnEarlierHandlerIsNotCalled) {
    const int count = GetParam();
    const auto bill = FakeBill();
    {
        const auto adapted =
            V(AdaptDispatch(AsDispatch(bill), DefaultNames())).ObjectAs<BillEvent>();
        std::vector<int> loads(static_cast<std::size_t>(count));
        std::vector<std::unique_ptr<EventMember<BillEvent>>> members;
        for (int i = 0; i < count; ++i) {
            members.push_back(std::make_unique<EventMember<BillEvent>>(BillEventHandlers{
                .AfterLoadBill =
                    [&, i] {
                        ++loads[static_cast<std::size_t>(i)];
                        if (i == 0) members.back()->Reset();
                    },
            }));
            *members.back() = adapted;
        }
        EXPECT_EQ(bill->SinkCount(), 1u);
        bill->Fire(kAfterLoadBill, {});
        std::vector<int> expected(static_cast<std::size_t>(count), 1);
        expected.back() = 0;
        EXPECT_EQ(loads, expected);

        bill->Fire(kAfterLoadBill, {});
        expected.assign(static_cast<std::size_t>(count), 2);
        expected.back() = 0;
        EXPECT_EQ(loads, expected);
    }
    EXPECT_EQ(bill->SinkCount(), 0u);
    EXPECT_EQ(bill->References(), 1u);
}

// A few members, and more than an event copies on the stack.
INSTANTIATE_TEST_SUITE_P(Members, EventSubscribersTest, ::testing::Values(3, 12));

TEST(NameTableTest, ARoleReadsItsMemberByTextAndFromCode) {
    const NameTable defaults;
    EXPECT_EQ(defaults.Member("Vector.Size"), "Size");
    EXPECT_EQ(defaults.MemberOf("Vector.Size"), "Size");
    EXPECT_EQ(defaults.MemberOf("Dictionary.Clear"), "Clear");

    const NameTable renamed =
        NameTable::Parse("Dictionary.Item = Entry\nVector.Clear = RemoveAll\n", "test");
    EXPECT_EQ(renamed.Member("Dictionary.Item"), "Entry");
    EXPECT_EQ(renamed.MemberOf("Dictionary.Item"), "Entry");
    EXPECT_EQ(renamed.MemberOf("Vector.Clear"), "RemoveAll");
    EXPECT_EQ(renamed.MemberOf("Vector.Item"), "Item");
    EXPECT_EQ(renamed.MemberOf("EntryColumn.DisplayFlag"), "DisplayFlag");
    // A role the table does not know is its own member when read by text; in code it does not
    // compile.
    EXPECT_EQ(renamed.Member("NoSuchRole"), "NoSuchRole");
    EXPECT_THROW(NameTable::Parse("Grid.Row = Row", "test"), std::runtime_error);
}

TEST(NameTableTest, TheListControlsMembersAndTheToolbarsProgIdDefaultToTodaysNames) {
    const NameTable defaults;
    const std::pair<std::string_view, std::string_view> expected[] = {
        {"ListControl.OK", "OK"},
        {"ListControl.ListInfo", "ListInfo"},
        {"ListControl.CloseList", "CloseList"},
        {"ListControl.DoAction", "DoAction"},
        {"ToolbarControl.ProgID", "VelaActiveBar.ActiveBar"},
    };
    for (const auto& [role, member] : expected)
        EXPECT_EQ(defaults.Member(role), member) << role;

    const NameTable renamed = NameTable::Parse(
        "ToolbarControl.ProgID = AcmeBar.Toolbar\nListControl.OK = Confirmed\n", "test");
    EXPECT_EQ(renamed.MemberOf("ToolbarControl.ProgID"), "AcmeBar.Toolbar");
    EXPECT_EQ(renamed.MemberOf("ListControl.OK"), "Confirmed");
    EXPECT_EQ(renamed.MemberOf("ListControl.CloseList"), "CloseList");
}

}  // namespace
}  // namespace velaqm::com::testing

// The host's objects through the adapters, against fake host objects: IDispatch over a table of
// members, with type information from fake_host.idl. Which adapter a type gets, that member names
// are resolved once per type and through the name table, how a host's errors arrive, and that a
// bill's events reach an event member and leave nothing subscribed or referenced behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

#include "com_test_support.h"
#include "fake_host.h"
#include "frame/convert.h"
#include "frame/events.h"
#include "frame/host_error.h"
#include "frame/host_toolbar.h"
#include "tests/support/host_error_of.h"
#include "typelib/dispatch_client.h"
#include "typelib/host_adapters.h"
#include "typelib/host_objects.h"
#include "typelib/name_table.h"

namespace velaqm::com::testing {
namespace {

using V = velaqm::Variant;

using velaqm::testing::HostErrorOf;

using HostObjectTest = ComTest;

TEST_F(HostObjectTest, TheTypeNameChoosesTheAdapterInAnyLetterCase) {
    const NameTable names;
    // Named through IDispatch::GetTypeInfo only: "_billevent".
    const auto lowerBill = FakeHostObject::Make(FakeType(L"_billevent"));
    // Named through IProvideClassInfo: the class BillEvent, whose interface is _BillHost.
    const auto classBill = FakeBill();
    const auto list = FakeHostObject::Make(FakeType(L"ListEvents"));
    const auto nearMiss = FakeHostObject::Make(FakeType(L"BillEvents"));
    const auto untyped = FakeHostObject::Make(nullptr);

    for (const auto& bill : {lowerBill, classBill}) {
        const V adapted(AdaptDispatch(AsDispatch(bill), names));
        ASSERT_NE(adapted.ObjectAs<BillEvent>(), nullptr);
        EXPECT_EQ(adapted.ObjectAs<ListEvents>(), nullptr);
        EXPECT_EQ(adapted.AsObject()->TypeName(), "BillEvent");
        // The adapter hands the host its own object back.
        EXPECT_EQ(HostDispatchOf(*adapted.AsObject()), static_cast<IDispatch*>(bill.get()));
    }

    const V listAdapted(AdaptDispatch(AsDispatch(list), names));
    EXPECT_NE(listAdapted.ObjectAs<ListEvents>(), nullptr);
    EXPECT_EQ(listAdapted.ObjectAs<BillEvent>(), nullptr);

    const V generic(AdaptDispatch(AsDispatch(nearMiss), names));
    EXPECT_EQ(generic.ObjectAs<BillEvent>(), nullptr);
    ASSERT_NE(generic.ObjectAs<DispatchObject>(), nullptr);
    EXPECT_EQ(generic.AsObject()->TypeName(), "BillEvents");

    const V plain(AdaptHostObject(AsDispatch(untyped).get()));
    ASSERT_NE(plain.ObjectAs<DispatchObject>(), nullptr);
    EXPECT_EQ(plain.AsObject()->TypeName(), "");

    EXPECT_EQ(AdaptHostObject(nullptr), nullptr);
}

TEST_F(HostObjectTest, AMemberIsResolvedOncePerTypeAndNeverAcrossTypes) {
    // Two objects of one type, then another type whose member of the same name has its own
    // DISPID: the cache must give each type its own.
    const auto first = FakeHostObject::Make(FakeType(L"BillEvents"));
    const auto second = FakeHostObject::Make(FakeType(L"BillEvents"));
    const auto other = FakeHostObject::Make(FakeType(L"ListEvents"));
    for (const auto& fake : {first, second})
        fake->Add(L"ResolvedOnceProbe", 40, Returns(40));
    other->Add(L"Unrelated", 40, Returns(-1));
    other->Add(L"ResolvedOnceProbe", 41, Returns(41));

    const std::size_t before = ResolvedNameCount();
    const DispatchClient a(AsDispatch(first));
    const DispatchClient b(AsDispatch(second));
    EXPECT_EQ(WholeNumber(a.Call("ResolvedOnceProbe")), 40);
    EXPECT_EQ(WholeNumber(b.Call("resolvedonceprobe")), 40);
    EXPECT_EQ(WholeNumber(a.Get("RESOLVEDONCEPROBE")), 40);
    EXPECT_EQ(first->NamesAsked() + second->NamesAsked(), 1);
    EXPECT_EQ(ResolvedNameCount() - before, 1u);
    EXPECT_EQ(second->Called(), std::vector<std::wstring>{L"ResolvedOnceProbe"});

    const DispatchClient c(AsDispatch(other));
    EXPECT_EQ(WholeNumber(c.Call("ResolvedOnceProbe")), 41);
    EXPECT_EQ(other->NamesAsked(), 1);
}

TEST_F(HostObjectTest, ObjectsWithoutTypeInformationResolveEachForItself) {
    const auto first = FakeHostObject::Make(nullptr);
    const auto second = FakeHostObject::Make(nullptr);
    first->Add(L"Probe", 7, Returns(7));
    second->Add(L"Probe", 8, Returns(8));
    const DispatchClient a(AsDispatch(first));
    const DispatchClient b(AsDispatch(second));
    EXPECT_EQ(WholeNumber(a.Call("Probe")), 7);
    EXPECT_EQ(WholeNumber(a.Call("Probe")), 7);
    EXPECT_EQ(WholeNumber(b.Call("Probe")), 8);
    EXPECT_EQ(first->NamesAsked(), 1);
    EXPECT_EQ(second->NamesAsked(), 1);
}

TEST_F(HostObjectTest, TheBillsRoleOperationsCallTheNameTablesMembers) {
    const auto bill = FakeBill();
    bill->Add(L"Mode", 1, Returns(1));
    bill->Add(L"FormMode", 2, Returns(2));
    bill->Add(L"GetHeadValue", 3, ReturnsText(L"default"));
    bill->Add(L"HeadText", 4, ReturnsText(L"renamed"));

    const V byDefault(AdaptDispatch(AsDispatch(bill), DefaultNames()));
    EXPECT_EQ(byDefault.ObjectAs<BillEvent>()->Mode(), 1);
    EXPECT_EQ(Text(byDefault.ObjectAs<BillEvent>()->GetHeadValue("FBillNo")), "default");

    const NameTable renamed =
        NameTable::Parse("# this host's names\nMode = FormMode\nGetHeadValue = HeadText\n", "test");
    const V adapted(AdaptDispatch(AsDispatch(bill), renamed));
    EXPECT_EQ(adapted.ObjectAs<BillEvent>()->Mode(), 2);
    EXPECT_EQ(Text(adapted.ObjectAs<BillEvent>()->GetHeadValue("FBillNo")), "renamed");

    EXPECT_EQ(bill->Called(),
              (std::vector<std::wstring>{L"Mode", L"GetHeadValue", L"FormMode", L"HeadText"}));
    // A head value is read by key at the head row.
    EXPECT_EQ(bill->CallArgs().back(), (std::vector<std::wstring>{L"FBillNo", L"-1", L"1"}));
}

TEST_F(HostObjectTest, ArgumentsGoInReadingOrderAndByReferenceOnesComeBack) {
    const auto dataSrv = FakeHostObject::Make(FakeType(L"BillEvents"));
    dataSrv->Add(L"GetExistBillNo", 3, [](std::span<VARIANT*> args, VARIANT* result, EXCEPINFO*) {
        // The caption is written through the reference, as the host's ByRef parameter is.
        if (args.size() != 2 || V_VT(args[1]) != (VT_BYREF | VT_VARIANT)) return E_INVALIDARG;
        VARIANT* caption = V_VARIANTREF(args[1]);
        Variant previous;
        *previous.put() = *caption;  // owns the old value from here on
        TextValue(L"采购订单").detach_to(caption);
        TextValue(L"PO-0001").detach_to(result);
        return S_OK;
    });
    const auto adapted =
        Expect<DataSrv>(V(AdaptDispatch(AsDispatch(dataSrv), DefaultNames())), DefaultNames());
    ASSERT_NE(adapted, nullptr);
    std::string caption = "before";
    EXPECT_EQ(adapted->GetExistBillNo(V(1001), caption), "PO-0001");
    EXPECT_EQ(caption, "采购订单");
    EXPECT_EQ(dataSrv->CallArgs().back(), (std::vector<std::wstring>{L"1001", L"before"}));
}

// The deferred fill-in of the failures below, called with the system's calling convention.
HRESULT STDMETHODCALLTYPE FillLockedError(EXCEPINFO* info) {
    info->bstrSource = Bstr(L"VelaERP.BillHost").detach();
    info->bstrDescription = Bstr(L"单据已被他人锁定").detach();
    return S_OK;
}

// A host member that fails as a VB component does: DISP_E_EXCEPTION with the error in EXCEPINFO,
// filled at once or through the deferred fill-in.
FakeMember Fails(SCODE scode, WORD code, bool deferred) {
    return [=](std::span<VARIANT*>, VARIANT*, EXCEPINFO* error) {
        *error = EXCEPINFO{};
        error->scode = scode;
        error->wCode = code;
        if (deferred)
            error->pfnDeferredFillIn = FillLockedError;
        else
            FillLockedError(error);
        return DISP_E_EXCEPTION;
    };
}

TEST_F(HostObjectTest, AHostErrorArrivesWithItsNumberSourceAndDescription) {
    const SCODE vbError = MAKE_HRESULT(1, FACILITY_CONTROL, 1234);
    struct Case {
        const char* what;
        FakeMember member;
        std::int32_t number;
    };
    const Case cases[] = {
        {"EXCEPINFO filled", Fails(vbError, 0, false), 1234},
        {"EXCEPINFO filled on demand", Fails(vbError, 0, true), 1234},
        {"a number in wCode", Fails(0, 1234, false), 1234},
        {"an HRESULT of the host", Fails(E_ACCESSDENIED, 0, false),
         static_cast<std::int32_t>(E_ACCESSDENIED)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto bill = FakeBill();
        bill->Add(L"RefreshBill", 12, c.member);
        const auto adapted =
            V(AdaptDispatch(AsDispatch(bill), DefaultNames())).ObjectAs<BillEvent>();
        const HostError error = HostErrorOf([&] { adapted->RefreshBill(); });
        EXPECT_EQ(error.Number(), c.number);
        EXPECT_EQ(error.Source(), "VelaERP.BillHost");
        EXPECT_EQ(error.Description(), "单据已被他人锁定");
    }
}

TEST_F(HostObjectTest, AnUnknownMemberIsError438NamingTheMember) {
    const auto bill = FakeBill();
    const NameTable renamed = NameTable::Parse("LockBill = LockForm", "test");
    const auto adapted = V(AdaptDispatch(AsDispatch(bill), renamed)).ObjectAs<BillEvent>();

    const HostError unknown = HostErrorOf([&] { adapted->RefreshBill(); });
    EXPECT_EQ(unknown.Number(), 438);
    EXPECT_NE(unknown.Description().find("RefreshBill"), std::string::npos);
    // The message names the member the host was asked for, after the name table.
    const HostError renamedError = HostErrorOf([&] { adapted->LockBill(true); });
    EXPECT_EQ(renamedError.Number(), 438);
    EXPECT_NE(renamedError.Description().find("LockForm"), std::string::npos);

    // Resolved, but refused when called: the same error.
    bill->Add(L"FireAfterSelBill", 13, [](std::span<VARIANT*>, VARIANT*, EXCEPINFO*) {
        return static_cast<HRESULT>(DISP_E_MEMBERNOTFOUND);
    });
    const HostError refused = HostErrorOf([&] { adapted->FireAfterSelBill(3); });
    EXPECT_EQ(refused.Number(), 438);
    EXPECT_NE(refused.Description().find("FireAfterSelBill"), std::string::npos);
}

// The DISPIDs fake_host.idl gives the bill's events.
constexpr DISPID kAfterNewBill = 5;
constexpr DISPID kAfterLoadBill = 9;
constexpr DISPID kBarClick = 2;
constexpr DISPID kBeforeSelBills = 14;

VARIANT Borrowed(const Variant& value) {
    return value.get();
}

TEST_F(HostObjectTest, ABillsEventsReachTheEventMemberByNameAndCancelGoesBack) {
    const auto bill = FakeBill();
    const auto tool = FakeHostObject::Make(FakeType(L"BillEvents"));
    tool->Add(L"Name", 1, ReturnsText(L"mnuSave"));

    int loads = 0;
    int newBills = 0;
    std::vector<std::string> clickedTools;
    std::vector<bool> cancelSeen;
    {
        EventMember<BillEvent> member(BillEventHandlers{
            .AfterLoadBill = [&] { ++loads; },
            .AfterNewBill = [&] { ++newBills; },
            .BarClick =
                [&](const ToolPtr& clicked, bool& cancel) {
                    clickedTools.push_back(clicked ? clicked->Name() : "<none>");
                    cancelSeen.push_back(cancel);
                    cancel = true;
                },
        });
        member = V(AdaptDispatch(AsDispatch(bill), DefaultNames())).ObjectAs<BillEvent>();
        ASSERT_TRUE(member);
        EXPECT_EQ(bill->SinkCount(), 1u);

        EXPECT_EQ(bill->Fire(kAfterLoadBill, {}), S_OK);
        EXPECT_EQ(loads, 1);
        EXPECT_EQ(newBills, 0);

        // Cancel as VT_BYREF|VT_BOOL, as the ERP client passes it.
        VARIANT_BOOL cancel = VARIANT_FALSE;
        const Variant toolArg = ObjectValue(tool.get());
        const Variant cancelArg = BoolRef(&cancel);
        EXPECT_EQ(bill->Fire(kBarClick, {Borrowed(toolArg), Borrowed(cancelArg)}), S_OK);
        EXPECT_EQ(cancel, VARIANT_TRUE);

        // And as VT_BYREF|VT_VARIANT holding a Boolean, as a script host passes it.
        Variant inner;
        VARIANT* innerSlot = inner.put();
        V_VT(innerSlot) = VT_BOOL;
        V_BOOL(innerSlot) = VARIANT_FALSE;
        VARIANT byVariant;
        VariantInit(&byVariant);
        V_VT(&byVariant) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(&byVariant) = innerSlot;
        EXPECT_EQ(bill->Fire(kBarClick, {Borrowed(toolArg), byVariant}), S_OK);
        EXPECT_EQ(V_VT(&inner.get()), VT_BOOL);
        EXPECT_EQ(V_BOOL(&inner.get()), VARIANT_TRUE);

        EXPECT_EQ(clickedTools, (std::vector<std::string>{"mnuSave", "mnuSave"}));
        EXPECT_EQ(cancelSeen, (std::vector<bool>{false, false}));

        member.Reset();
        EXPECT_EQ(bill->SinkCount(), 0u);
        EXPECT_EQ(bill->Fire(kAfterLoadBill, {}), S_OK);
        EXPECT_EQ(loads, 1);
    }
    // Every reference the adapters took to the bill and to the tool is given back.
    EXPECT_EQ(bill->References(), 1u);
    EXPECT_EQ(tool->References(), 1u);
}

// The filter a handler rewrites reaches the host's own variable, whether the host passes it as
// BSTR* or as a VARIANT by reference.
TEST_F(HostObjectTest, ARewrittenSelectionFilterGoesBackToTheHost) {
    const auto bill = FakeBill();
    EventMember<BillEvent> member(BillEventHandlers{
        .BeforeSelBills =
            [](int type, const DataSrvPtr&, const DictionaryPtr&, std::string& filter,
               const DictionaryPtr&) { filter += " AND v1.FStatus=" + std::to_string(type); },
    });
    member = V(AdaptDispatch(AsDispatch(bill), DefaultNames())).ObjectAs<BillEvent>();
    ASSERT_TRUE(member);

    const Variant type = LongValue(1001906);
    VARIANT nothing;
    VariantInit(&nothing);
    V_VT(&nothing) = VT_DISPATCH;
    V_DISPATCH(&nothing) = nullptr;

    BSTR text = SysAllocString(L"v1.FCheckerID>0");
    VARIANT byString;
    VariantInit(&byString);
    V_VT(&byString) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&byString) = &text;
    EXPECT_EQ(bill->Fire(kBeforeSelBills, {Borrowed(type), nothing, nothing, byString, nothing}),
              S_OK);
    EXPECT_STREQ(text, L"v1.FCheckerID>0 AND v1.FStatus=1001906");
    SysFreeString(text);

    VARIANT inner;
    VariantInit(&inner);
    V_VT(&inner) = VT_BSTR;
    V_BSTR(&inner) = SysAllocString(L"FID>0");
    VARIANT byVariant;
    VariantInit(&byVariant);
    V_VT(&byVariant) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&byVariant) = &inner;
    EXPECT_EQ(bill->Fire(kBeforeSelBills, {Borrowed(type), nothing, nothing, byVariant, nothing}),
              S_OK);
    EXPECT_EQ(V_VT(&inner), VT_BSTR);
    EXPECT_STREQ(V_BSTR(&inner), L"FID>0 AND v1.FStatus=1001906");
    VariantClear(&inner);
    member.Reset();
}

TEST_F(HostObjectTest, AnUntypedHostObjectStandsInForTheValueContractItIsUsedAs) {
    // A field info as it comes out of a host dictionary: no type the adapters know.
    const auto object = FakeHostObject::Make({});
    object->Add(L"Count", 1, Returns(2));
    {
        const V value(AdaptDispatch(AsDispatch(object), DefaultNames()));
        const auto dictionary = value.ObjectAs<Dictionary>();
        ASSERT_TRUE(dictionary);
        EXPECT_EQ(dictionary->Count(), 2u);
        EXPECT_EQ(HostDispatchOf(*dictionary), static_cast<IDispatch*>(object.get()));
        EXPECT_FALSE(value.ObjectAs<BillEvent>()) << "a bill is told by its type name only";
        EXPECT_FALSE(value.ObjectAs<ListEvents>());
    }
    EXPECT_EQ(object->References(), 1u);
}

TEST_F(HostObjectTest, AHandlersErrorGoesBackToTheHostThatRaisedTheEvent) {
    const auto bill = FakeBill();
    {
        EventMember<BillEvent> member(BillEventHandlers{
            .AfterLoadBill = [] { throw HostError(5, "Plugin", "Invalid procedure call"); },
        });
        member = V(AdaptDispatch(AsDispatch(bill), DefaultNames())).ObjectAs<BillEvent>();
        SinkFailure failure;
        EXPECT_EQ(bill->Fire(kAfterLoadBill, {}, &failure), DISP_E_EXCEPTION);
        EXPECT_EQ(failure.scode, MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, 5));
        EXPECT_EQ(failure.source, L"Plugin");
        EXPECT_EQ(failure.description, L"Invalid procedure call");
    }
    EXPECT_EQ(bill->References(), 1u);
}

TEST_F(HostObjectTest, ABillWhoseEventsCannotBeSubscribedLeavesTheMemberEmpty) {
    // Named a bill, but with neither class information nor connection points.
    const auto bill = FakeHostObject::Make(FakeType(L"_billevent"));
    {
        EventMember<BillEvent> member(BillEventHandlers{.AfterLoadBill = [] {}});
        try {
            member = V(AdaptDispatch(AsDispatch(bill), DefaultNames())).ObjectAs<BillEvent>();
            ADD_FAILURE() << "no error";
        } catch (const HostError& e) {
            EXPECT_EQ(e.Number(), 459);
        }
        EXPECT_FALSE(member);
    }
    EXPECT_EQ(bill->References(), 1u) << "nothing keeps the object";
}

TEST_F(HostObjectTest, APluginGivesBackEveryReferenceAfterShowEventsAndRelease) {
    const auto bill = FakeBill();
    const auto tool = FakeHostObject::Make(FakeType(L"BillEvents"));
    tool->Add(L"Name", 1, ReturnsText(L"mnuEditCheck"));
    {
        const ComPtr<IDispatch> plugin = Create(ClassNamed("ClientServiceLog"));
        const Variant billArg = ObjectValue(AsDispatch(bill).get());
        ASSERT_EQ(Call(plugin.get(), L"Show", DISPATCH_METHOD, {&billArg.get()}).hr, S_OK);
        EXPECT_EQ(bill->SinkCount(), 1u);
        // The fake lacks most of what the handlers read: their calls fail and are trapped.
        EXPECT_EQ(bill->Fire(kAfterLoadBill, {}), S_OK);
        VARIANT_BOOL cancel = VARIANT_TRUE;
        const Variant toolArg = ObjectValue(tool.get());
        const Variant cancelArg = BoolRef(&cancel);
        EXPECT_EQ(bill->Fire(kBarClick, {Borrowed(toolArg), Borrowed(cancelArg)}), S_OK);
        EXPECT_EQ(cancel, VARIANT_TRUE);
    }
    EXPECT_EQ(bill->SinkCount(), 0u);
    EXPECT_EQ(bill->References(), 1u);
    EXPECT_EQ(tool->References(), 1u);
}

TEST_F(HostObjectTest, TwoEventMembersOnOneBillShareOneConnection) {
    const auto bill = FakeBill();
    int firstLoads = 0;
    int secondLoads = 0;
    {
        const auto adapted =
            V(AdaptDispatch(AsDispatch(bill), DefaultNames())).ObjectAs<BillEvent>();
        EventMember<BillEvent> first(BillEventHandlers{.AfterLoadBill = [&] { ++firstLoads; }});
        EventMember<BillEvent> second(BillEventHandlers{.AfterLoadBill = [&] { ++secondLoads; }});
        first = adapted;
        second = adapted;
        EXPECT_EQ(bill->SinkCount(), 1u);
        bill->Fire(kAfterLoadBill, {});
        // Assigning nothing to one leaves the other subscribed.
        first.Reset();
        EXPECT_EQ(bill->SinkCount(), 1u);
        bill->Fire(kAfterLoadBill, {});
        EXPECT_EQ(firstLoads, 1);
        EXPECT_EQ(secondLoads, 2);
    }
    // The members' destruction ends the subscription.
    EXPECT_EQ(bill->SinkCount(), 0u);
    EXPECT_EQ(bill->References(), 1u);
}

}  // namespace
}  // namespace velaqm::com::testing

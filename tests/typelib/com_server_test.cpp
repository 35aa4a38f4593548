// The class factories, the module's lifetime count and late-bound calls into the objects.
#include <gtest/gtest.h>

#include <memory>

#include "com_test_support.h"
#include "frame/plugin.h"
#include "typelib/VelaQMBillEvent.h"

namespace velaqm::com::testing {
namespace {

ComPtr<IClassFactory> FactoryOf(const ComClass& cls) {
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(DllGetClassObject(cls.clsid, IID_IClassFactory, factory.put_void()), S_OK);
    return factory;
}

using ClassFactoryTest = ComTest;

TEST_F(ClassFactoryTest, EveryClassIsServedWithItsInterfacesAndOneIdentity) {
    for (const ComClass& cls : ComClasses()) {
        SCOPED_TRACE(std::string(cls.name));
        ComPtr<IUnknown> object;
        ASSERT_EQ(FactoryOf(cls)->CreateInstance(nullptr, IID_IUnknown, object.put_void()), S_OK);

        ComPtr<IUnknown> byDefaultIid;
        ASSERT_EQ(object->QueryInterface(cls.defaultIid, byDefaultIid.put_void()), S_OK);
        const auto dispatch = object.query<IDispatch>();
        EXPECT_EQ(static_cast<void*>(dispatch.get()), static_cast<void*>(byDefaultIid.get()));
        EXPECT_EQ(dispatch.query<IUnknown>().get(), object.get());

        EXPECT_EQ(object.query<ISupportErrorInfo>()->InterfaceSupportsErrorInfo(cls.defaultIid),
                  S_OK);
        ComPtr<ITypeInfo> classInfo;
        ASSERT_EQ(object.query<IProvideClassInfo>()->GetClassInfo(classInfo.put()), S_OK);
        TYPEATTR* attr = nullptr;
        ASSERT_EQ(classInfo->GetTypeAttr(&attr), S_OK);
        EXPECT_EQ(GuidText(attr->guid), GuidText(cls.clsid));
        classInfo->ReleaseTypeAttr(attr);
    }
}

TEST_F(ClassFactoryTest, RefusesWhatItCannotServe) {
    ComPtr<IUnknown> object;
    EXPECT_EQ(DllGetClassObject(IID_IDispatch, IID_IClassFactory, object.put_void()),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_FALSE(object);
    EXPECT_EQ(DllGetClassObject(CLSID_ClientServiceLog, IID_IClassFactory, nullptr), E_POINTER);

    const auto factory = FactoryOf(ClassNamed("ClientServiceLog"));
    EXPECT_EQ(factory->CreateInstance(factory.get(), IID_IUnknown, object.put_void()),
              CLASS_E_NOAGGREGATION);
    EXPECT_FALSE(object);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPersist, object.put_void()), E_NOINTERFACE);
    EXPECT_FALSE(object);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID__CRejRule, object.put_void()), E_NOINTERFACE);
}

using ModuleLifetimeTest = ComTest;

TEST_F(ModuleLifetimeTest, StaysLoadedWhileAnObjectFactoryOrLockRemains) {
    ASSERT_EQ(DllCanUnloadNow(), S_OK);
    auto factory = FactoryOf(ClassNamed("CComRejectCO"));
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);

    ComPtr<IUnknown> object;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, object.put_void()), S_OK);
    // A reference through the second dual interface keeps the object as much as the first.
    auto strategy = object.query<_IRejectCO>();
    object.reset();
    factory->LockServer(TRUE);
    factory.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);

    strategy.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);  // still locked
    FactoryOf(ClassNamed("CComRejectCO"))->LockServer(FALSE);
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

// A plug-in that records what Show hands it.
class RecordingPlugin final : public Plugin {
  public:
    explicit RecordingPlugin(std::shared_ptr<std::vector<velaqm::Variant>> shown)
        : m_shown(std::move(shown)) {}
    void Show(const velaqm::Variant& oBillInterface) override {
        m_shown->push_back(oBillInterface);
    }

  private:
    std::shared_ptr<std::vector<velaqm::Variant>> m_shown;
};

using DispatchTest = ComTest;

TEST_F(DispatchTest, ShowHandsThePluginWhatTheHostPassed) {
    const ComClass& cls = ClassNamed("ClientServiceLog");
    auto shown = std::make_shared<std::vector<velaqm::Variant>>();
    ComPtr<IDispatch> object;
    ASSERT_EQ(
        cls.create(cls, std::make_unique<RecordingPlugin>(shown), IID_IDispatch, object.put_void()),
        S_OK);

    const auto nothing = ObjectValue(nullptr);
    EXPECT_EQ(Call(object.get(), L"show", DISPATCH_METHOD, {&nothing.get()}).hr, S_OK);
    ASSERT_EQ(shown->size(), 1u);
    EXPECT_TRUE(shown->front().IsNothing());
}

TEST_F(DispatchTest, StrategiesAnswerEachDualWithItsOwnMembers) {
    const auto object = Create(ClassNamed("CComRejectCO"));
    EXPECT_EQ(Call(object.get(), L"BeforeSave", DISPATCH_METHOD).hr, DISP_E_UNKNOWNNAME);
    CallResult status = Call(object.get(), L"m_BillStatusExt", DISPATCH_PROPERTYGET);
    ASSERT_EQ(status.hr, S_OK);
    EXPECT_EQ(V_I4(&status.value.get()), -1);
    EXPECT_EQ(PutProperty(object.get(), L"m_BillStatusExt", LongValue(7).get()).hr, S_OK);
    status = Call(object.get(), L"m_BillStatusExt", DISPATCH_PROPERTYGET);
    EXPECT_EQ(V_I4(&status.value.get()), 7);

    const auto strategy = object.query<_IRejectCO>();
    ComPtr<IDispatch> strategyDispatch;
    ASSERT_EQ(strategy->QueryInterface(IID__IRejectCO, strategyDispatch.put_void()), S_OK);
    // Shown no bill, the strategy's proposal fails inside its own trap.
    EXPECT_EQ(Call(strategyDispatch.get(), L"GetRejectQty", DISPATCH_METHOD).hr, S_OK);
    EXPECT_EQ(Call(strategyDispatch.get(), L"m_BillStatusExt", DISPATCH_PROPERTYGET).hr,
              DISP_E_UNKNOWNNAME);

    const auto purchaseOrder = Create(ClassNamed("CPoRejectCO"));
    status = Call(purchaseOrder.get(), L"m_BillStatusExt", DISPATCH_PROPERTYGET);
    EXPECT_EQ(V_I4(&status.value.get()), 0);
}

}  // namespace
}  // namespace velaqm::com::testing

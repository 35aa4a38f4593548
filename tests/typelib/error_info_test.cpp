// Errors thrown by plug-in code leave the server as an HRESULT with IErrorInfo, and the number,
// source and description arrive intact, through late binding and through the vtable alike.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>

#include "com_test_support.h"
#include "frame/host_error.h"
#include "frame/plugin.h"
#include "typelib/VelaQMBillEvent.h"
#include "typelib/com_error.h"

namespace velaqm::com::testing {
namespace {

class ThrowingPlugin final : public Plugin {
  public:
    explicit ThrowingPlugin(std::function<void()> fail) : m_fail(std::move(fail)) {}
    void Show(const velaqm::Variant&) override { m_fail(); }

  private:
    std::function<void()> m_fail;
};

struct ErrorCase {
    const char* what;
    std::function<void()> fail;
    HRESULT hr;
    std::int32_t number;  // as the host reads it back
    std::string source;
    std::string description;
};

std::vector<ErrorCase> Cases() {
    return {
        {"a VB run-time error",
         [] { throw HostError(5, "VelaQMBillEvent.QualityStandard", "Invalid procedure call"); },
         static_cast<HRESULT>(0x800A0005), 5, "VelaQMBillEvent.QualityStandard",
         "Invalid procedure call"},
        {"a host component's error in Chinese",
         [] {
             throw HostError(static_cast<std::int32_t>(0x80040201), "VelaMQMDataAccess",
                             "单据已被他人锁定！");
         },
         static_cast<HRESULT>(0x80040201), static_cast<std::int32_t>(0x80040201),
         "VelaMQMDataAccess", "单据已被他人锁定！"},
        {"a C++ failure", [] { throw std::runtime_error("lost connection"); }, E_FAIL,
         static_cast<std::int32_t>(E_FAIL), "VelaQMBillEvent", "lost connection"},
    };
}

ComPtr<IDispatch> ObjectFailingWith(const ErrorCase& error) {
    const ComClass& cls = ClassNamed("ClientServiceLog");
    ComPtr<IDispatch> object;
    Check(cls.create(cls, std::make_unique<ThrowingPlugin>(error.fail), IID_IDispatch,
                     object.put_void()),
          "create");
    return object;
}

using ErrorInfoTest = ComTest;

TEST_F(ErrorInfoTest, ALateBoundCallerReadsTheErrorFromExcepinfo) {
    const auto nothing = ObjectValue(nullptr);
    for (const ErrorCase& error : Cases()) {
        SCOPED_TRACE(error.what);
        const CallResult result =
            Call(ObjectFailingWith(error).get(), L"Show", DISPATCH_METHOD, {&nothing.get()});
        EXPECT_EQ(result.hr, DISP_E_EXCEPTION);
        EXPECT_EQ(result.scode, error.hr);
        EXPECT_EQ(ErrNumberOf(result.scode), error.number);
        EXPECT_EQ(Utf8Of(result.source.view()), error.source);
        EXPECT_EQ(Utf8Of(result.description.view()), error.description);
    }
}

TEST_F(ErrorInfoTest, AnEarlyBoundCallerReadsTheErrorFromIErrorInfo) {
    for (const ErrorCase& error : Cases()) {
        SCOPED_TRACE(error.what);
        const auto object = ObjectFailingWith(error).query<_ClientServiceLog>();
        EXPECT_EQ(object->Show(nullptr), error.hr);

        ComPtr<IErrorInfo> info;
        ASSERT_EQ(GetErrorInfo(0, info.put()), S_OK);
        GUID iid{};
        info->GetGUID(&iid);
        EXPECT_EQ(GuidText(iid), GuidText(IID__ClientServiceLog));
        Bstr source;
        Bstr description;
        info->GetSource(source.put());
        info->GetDescription(description.put());
        EXPECT_EQ(Utf8Of(source.view()), error.source);
        EXPECT_EQ(Utf8Of(description.view()), error.description);
    }
}

TEST(ErrorNumbers, VbNumbersTravelInTheControlFacilityAndHResultsAsThemselves) {
    struct Mapping {
        std::int32_t number;
        HRESULT hr;
    };
    for (const Mapping& m : {Mapping{5, static_cast<HRESULT>(0x800A0005)},
                             Mapping{438, static_cast<HRESULT>(0x800A01B6)},
                             Mapping{65535, static_cast<HRESULT>(0x800AFFFF)},
                             Mapping{static_cast<std::int32_t>(0x80004005), E_FAIL},
                             Mapping{static_cast<std::int32_t>(0x80070057), E_INVALIDARG}}) {
        SCOPED_TRACE(m.number);
        EXPECT_EQ(HResultOf(m.number), m.hr);
        EXPECT_EQ(ErrNumberOf(m.hr), m.number);
    }
    // No HRESULT can carry these: they leave as a plain failure rather than as a success code.
    EXPECT_EQ(HResultOf(0), E_FAIL);
    EXPECT_EQ(HResultOf(70000), E_FAIL);
}

}  // namespace
}  // namespace velaqm::com::testing

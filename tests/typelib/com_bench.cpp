// Timings of the COM adapters against a fake host, run under Wine by hand (not a test): what a
// host member call costs through the adapter next to the raw IDispatch::Invoke it makes, and
// what an event costs from the sink's Invoke to the plug-in's handler. Each figure is the median
// of several repetitions of a long loop, after a warm-up.
#include <windows.h>

#include <oleauto.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <memory>
#include <stdexcept>
#include <vector>

#include "fake_host.h"
#include "frame/convert.h"
#include "frame/events.h"
#include "frame/host_bill.h"
#include "frame/host_toolbar.h"
#include "frame/reject_strategy.h"
#include "reject/reject_pro.h"
#include "typelib/dispatch_client.h"
#include "typelib/host_objects.h"

namespace velaqm::com::testing {
namespace {

constexpr int kRepetitions = 9;
constexpr double kRepetitionSeconds = 0.1;

double Seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

// The median nanoseconds per call of `op`: the loop length is chosen so that one repetition
// lasts about kRepetitionSeconds, and the calibration run doubles as the warm-up.
template <class Op>
double NsPerOp(Op&& op) {
    std::int64_t iterations = 1;
    for (;;) {
        const double start = Seconds();
        for (std::int64_t i = 0; i < iterations; ++i)
            op();
        const double elapsed = Seconds() - start;
        if (elapsed >= kRepetitionSeconds / 4) {
            iterations = static_cast<std::int64_t>(static_cast<double>(iterations) *
                                                   kRepetitionSeconds / elapsed) +
                         1;
            break;
        }
        if (iterations >= (std::int64_t{1} << 40)) break;  // too fast to measure
        iterations *= 2;
    }
    std::vector<double> samples;
    for (int r = 0; r < kRepetitions; ++r) {
        const double start = Seconds();
        for (std::int64_t i = 0; i < iterations; ++i)
            op();
        samples.push_back((Seconds() - start) * 1e9 / static_cast<double>(iterations));
    }
    std::nth_element(samples.begin(), samples.begin() + kRepetitions / 2, samples.end());
    return samples[kRepetitions / 2];
}

// The cheapest IDispatch there is: its Invoke does nothing. The cost of calling it is the floor
// taken off the event figures, which start at the host's call.
class EmptyDispatch final : public IDispatch {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override {
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IDispatch) return E_NOINTERFACE;
        *object = static_cast<IDispatch*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return 1; }
    ULONG STDMETHODCALLTYPE Release() noexcept override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID,
                                            DISPID*) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) noexcept override {
        return S_OK;
    }
};

// The object as the compiler cannot see through it: a call on it stays a virtual call into
// another component, as it is in the host, and is never folded away.
IDispatch* Opaque(IDispatch* object) {
    IDispatch* volatile hidden = object;
    return hidden;
}

// A late-bound call as a host or a client makes it.
HRESULT RawInvoke(IDispatch* object, DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result) {
    EXCEPINFO error{};
    UINT badArgument = 0;
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, &error,
                          &badArgument);
}

// The DISPIDs fake_host.idl gives the bill's events.
constexpr DISPID kAfterLoadBill = 9;
constexpr DISPID kBarClick = 2;
constexpr DISPID kMenuBarClick = 16;

// The arguments of a click event (Tool, Cancel) as Invoke takes them, last to first: Cancel by
// reference (VT_BYREF|VT_BOOL), the tool borrowed, as the host lends it for the call.
struct ClickArguments {
    explicit ClickArguments(IDispatch* tool) {
        VariantInit(&args[0]);
        V_VT(&args[0]) = VT_BYREF | VT_BOOL;
        V_BOOLREF(&args[0]) = &cancel;
        VariantInit(&args[1]);
        V_VT(&args[1]) = VT_DISPATCH;
        V_DISPATCH(&args[1]) = tool;
    }
    ClickArguments(const ClickArguments&) = delete;  // args point at this object's cancel
    ClickArguments& operator=(const ClickArguments&) = delete;
    DISPPARAMS Params() { return {args, nullptr, 2, 0}; }

    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[2];
};

std::atomic<std::int64_t> g_observed{0};  // keeps the measured results alive

void MemberCall() {
    const auto fake = FakeBill();
    fake->SetRecording(false);
    fake->Add(L"Mode", 1, Returns(1));

    wchar_t name[] = L"Mode";
    LPOLESTR names[] = {name};
    DISPID id = DISPID_UNKNOWN;
    Check(fake->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), "GetIDsOfNames");
    IDispatch* const host = Opaque(fake.get());
    // As a client makes the call: a fresh result, read, then cleared (com::Variant::put would
    // clear it once more before the call, which no client needs).
    const double raw = NsPerOp([&] {
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        VARIANT result;
        VariantInit(&result);
        RawInvoke(host, id, DISPATCH_PROPERTYGET | DISPATCH_METHOD, none, &result);
        g_observed += V_I4(&result);
        VariantClear(&result);
    });

    const DispatchClient client(AsDispatch(fake));
    const double cached = NsPerOp([&] { g_observed += WholeNumber(client.Get("Mode")); });

    const auto bill =
        velaqm::Variant(AdaptDispatch(AsDispatch(fake), DefaultNames())).ObjectAs<BillEvent>();
    const double mode = NsPerOp([&] { g_observed += bill->Mode(); });

    std::printf("member call, raw IDispatch::Invoke (DISPID known):  %8.1f ns\n", raw);
    std::printf("member call, DispatchClient::Get(\"Mode\"):           %8.1f ns  (%.2fx raw)\n",
                cached, cached / raw);
    std::printf("member call, bill adapter Mode():                  %8.1f ns  (%.2fx raw)\n", mode,
                mode / raw);
}

void EventDelivery() {
    const auto fake = FakeBill();
    fake->SetRecording(false);
    const auto tool = FakeHostObject::Make(FakeType(L"BillEvents"));
    tool->SetRecording(false);

    std::int64_t loads = 0;
    std::int64_t clicks = 0;
    EventMember<BillEvent> member(BillEventHandlers{
        .AfterLoadBill = [&] { ++loads; },
        .BarClick =
            [&](const ToolPtr& clicked, bool& cancel) {
                clicks += clicked ? 1 : 0;
                cancel = true;
            },
    });
    member = velaqm::Variant(AdaptDispatch(AsDispatch(fake), DefaultNames())).ObjectAs<BillEvent>();
    IDispatch* const sink = Opaque(fake->FirstSink());
    if (!sink) throw std::runtime_error("the event member did not subscribe");

    EmptyDispatch empty;
    IDispatch* const nothing = Opaque(&empty);
    const double floor = NsPerOp([&] {
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        RawInvoke(nothing, kAfterLoadBill, DISPATCH_METHOD, none, nullptr);
    });

    const double afterLoad = NsPerOp([&] {
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        RawInvoke(sink, kAfterLoadBill, DISPATCH_METHOD, none, nullptr);
    });

    ClickArguments click(tool.get());
    const double barClick = NsPerOp([&] {
        click.cancel = VARIANT_FALSE;
        DISPPARAMS params = click.Params();
        RawInvoke(sink, kBarClick, DISPATCH_METHOD, params, nullptr);
    });
    if (loads == 0 || clicks == 0 || click.cancel != VARIANT_TRUE)
        throw std::runtime_error("the events did not reach their handlers");
    g_observed += loads + clicks;

    // What BarClick spends on its Tool argument: adapting a host object, whose client reads the
    // object's type information once per object.
    const double adaptTool =
        NsPerOp([&] { g_observed += AdaptDispatch(AsDispatch(tool), DefaultNames()) ? 1 : 0; });
    const double toolClient =
        NsPerOp([&] { g_observed += DispatchClient(AsDispatch(tool)).TypeName().size(); });

    std::printf("empty raw IDispatch::Invoke:            %8.1f ns\n", floor);
    std::printf("event AfterLoadBill, Invoke to handler: %8.1f ns  (adapter %.1f ns)\n", afterLoad,
                afterLoad - floor);
    std::printf("event BarClick(Tool, Cancel), same:     %8.1f ns  (adapter %.1f ns)\n", barClick,
                barClick - floor);
    std::printf("  AdaptDispatch of the Tool alone:      %8.1f ns\n", adaptTool);
    std::printf("  DispatchClient of the Tool alone:     %8.1f ns\n", toolClient);
}

// A strategy that only counts the clicks it is handed.
class CountingStrategy final : public IRejectCO {
  public:
    explicit CountingStrategy(std::int64_t& clicks) : m_clicks(clicks) {}
    void MenuBarClick(const ToolPtr& tool, bool&) override { m_clicks += tool ? 1 : 0; }

  private:
    std::int64_t& m_clicks;
};

// MenuBarClick(XPFTool, Cancel) from the sink's Invoke through the reject bill's frame to its
// strategy: the adapter work a menu-bar click costs before the strategy's own.
void StrategyMenuBarClick() {
    const auto fake = FakeBill();
    fake->SetRecording(false);
    fake->Add(L"ClassType", 77, Returns(CRejectPro::kClassTypeID));
    const auto tool = FakeHostObject::Make(FakeType(L"BillEvents"));
    tool->SetRecording(false);

    std::int64_t clicks = 0;
    CRejectPro plugin([&](std::int32_t) { return std::make_unique<CountingStrategy>(clicks); });
    plugin.Show(velaqm::Variant(AdaptDispatch(AsDispatch(fake), DefaultNames())));
    IDispatch* const sink = Opaque(fake->FirstSink());
    if (!sink) throw std::runtime_error("the reject bill did not subscribe");

    EmptyDispatch empty;
    IDispatch* const nothing = Opaque(&empty);
    const double floor = NsPerOp([&] {
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        RawInvoke(nothing, kMenuBarClick, DISPATCH_METHOD, none, nullptr);
    });
    ClickArguments click(tool.get());
    const double menuBarClick = NsPerOp([&] {
        DISPPARAMS params = click.Params();
        RawInvoke(sink, kMenuBarClick, DISPATCH_METHOD, params, nullptr);
    });
    if (clicks == 0) throw std::runtime_error("the clicks did not reach the strategy");
    g_observed += clicks;
    std::printf("event MenuBarClick to the reject strategy: %8.1f ns  (adapter %.1f ns)\n",
                menuBarClick, menuBarClick - floor);
}

}  // namespace
}  // namespace velaqm::com::testing

int main() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        std::fprintf(stderr, "CoInitializeEx failed\n");
        return 1;
    }
    int status = 0;
    try {
        velaqm::com::testing::MemberCall();
        velaqm::com::testing::EventDelivery();
        velaqm::com::testing::StrategyMenuBarClick();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "com_bench: %s\n", e.what());
        status = 1;
    }
    CoUninitialize();
    return status;
}

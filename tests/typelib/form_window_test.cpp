// The library's form window inside the client: the list-selection control sited by the
// system's control host under its ProgID, reached through its contract with its action event,
// and the modal show that ends when the form hides the window or its close box is used.
#include "typelib/form_window.h"

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
#include "tests/support/host_error_of.h"
#include "typelib/name_table.h"

namespace velaqm::com::testing {
namespace {

using V = velaqm::Variant;
using velaqm::testing::HostErrorOf;

struct WindowEvents final : FormWindowEvents {
    int resized = 0;
    int closing = 0;
    bool keepOpen = false;
    void Resize() override { ++resized; }
    void QueryUnload(bool& cancel) override {
        ++closing;
        cancel = keepOpen;
    }
};

class FormWindowTest : public ComTest {
  protected:
    void SetUp() override {
        ComTest::SetUp();
        m_control = FakeListControl();
        m_registered =
            std::make_unique<RegisteredObject>(L"VelaList.ICList", AsDispatch(m_control));
    }
    void TearDown() override {
        m_registered.reset();
        m_control = {};
        ComTest::TearDown();
    }

    ComPtr<FakeHostObject> m_control;
    std::unique_ptr<RegisteredObject> m_registered;
};

// The control raises its action event as the client's does when a button is pressed.
void RaiseAction(FakeHostObject& control, const wchar_t* name) {
    const Bstr action(name);
    VARIANT argument;
    V_VT(&argument) = VT_BSTR;
    V_BSTR(&argument) = const_cast<BSTR>(action.get());
    control.Fire(kDoAction, {argument});
}

// The control the timer raises an action of.
FakeHostObject* g_raising = nullptr;

void CALLBACK RaiseSelectOK(HWND window, UINT, UINT_PTR timer, DWORD) {
    KillTimer(window, timer);
    RaiseAction(*g_raising, L"SelectOK");
}

TEST_F(FormWindowTest, TheControlIsSitedUnderItsProgIdAndReachedThroughItsContract) {
    WindowEvents events;
    ComFormWindow window(events, DefaultNames());
    window.SetCaption("客户服务记录序时薄");
    EXPECT_EQ(window.Caption(), "客户服务记录序时薄");

    const auto list = V(window.AddControl("VelaList.ICList")).ObjectAs<ListSelControl>();
    ASSERT_TRUE(list);
    m_control->Add(L"ListID", 2, [](std::span<VARIANT*>, VARIANT*, EXCEPINFO*) { return S_OK; });
    list->SetProperty(ListSelProperty::ListID, 1001910);
    EXPECT_EQ(m_control->Called().back(), L"ListID");

    window.SetControlRect({0, 0, 120, 80});
    const ControlBounds placed = window.ControlRect();
    EXPECT_EQ(placed.left, 0);
    EXPECT_EQ(placed.width, 120);
    EXPECT_EQ(placed.height, 80);
    EXPECT_GT(window.ScaleWidth(), 0);

    EXPECT_THROW(window.AddControl("VelaList.ICList"), HostError) << "one control per window";
}

TEST_F(FormWindowTest, AnUnknownControlClassIsError429) {
    WindowEvents events;
    ComFormWindow window(events, DefaultNames());
    EXPECT_EQ(HostErrorOf([&] { window.AddControl("VelaNoSuch.Control"); }).Number(),
              kErrCannotCreate);
}

TEST_F(FormWindowTest, TheModalShowEndsWhenAnActionHandlerHidesTheWindow) {
    WindowEvents events;
    ComFormWindow window(events, DefaultNames());
    std::vector<std::string> actions;
    EventMember<ListSelControl> member({.DoAction = [&](const std::string& action) {
        actions.push_back(action);
        window.Hide();
    }});
    member = V(window.AddControl("VelaList.ICList")).ObjectAs<ListSelControl>();

    g_raising = m_control.get();
    SetTimer(window.Handle(), 1, 10, &RaiseSelectOK);
    window.ShowModal();
    EXPECT_EQ(actions, std::vector<std::string>{"SelectOK"});
    EXPECT_FALSE(IsWindowVisible(window.Handle()));
    EXPECT_GT(events.resized, 0) << "showing sizes the window";

    member.Reset();
    EXPECT_EQ(m_control->SinkCount(), 0U);
}

TEST_F(FormWindowTest, AClientThatNamesTheControlsMembersOtherwiseIsReachedThroughTheNameTable) {
    m_registered.reset();
    m_control = FakeRenamedListControl();
    m_registered = std::make_unique<RegisteredObject>(L"VelaList.ICList", AsDispatch(m_control));
    m_control->Add(L"Confirmed", 2, Returns(VARIANT_TRUE));
    m_control->Add(L"FirstEntry", 3, [](std::span<VARIANT*>, VARIANT* result, EXCEPINFO*) {
        VariantInit(result);
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = nullptr;
        return S_OK;
    });
    m_control->Add(L"Dismiss", 4, Returns(0));
    const NameTable renamed = NameTable::Parse(
        "ListControl.OK = Confirmed\n"
        "ListControl.ListInfo = FirstEntry\n"
        "ListControl.CloseList = Dismiss\n"
        "ListControl.DoAction = RunAction\n",
        "VelaQMBillEvent.names");
    WindowEvents events;
    ComFormWindow window(events, renamed);
    std::vector<std::string> actions;
    EventMember<ListSelControl> member(
        {.DoAction = [&](const std::string& action) { actions.push_back(action); }});
    member = V(window.AddControl("VelaList.ICList")).ObjectAs<ListSelControl>();

    EXPECT_TRUE(member->OK());
    EXPECT_EQ(member->ListInfo(), nullptr) << "no bill chosen";
    member->CloseList();
    EXPECT_EQ(m_control->Called(),
              (std::vector<std::wstring>{L"Confirmed", L"FirstEntry", L"Dismiss"}));

    RaiseAction(*m_control, L"SelectOK");
    EXPECT_EQ(actions, std::vector<std::string>{"SelectOK"});
}

// A timer procedure has the system's calling convention, which a lambda cannot be given.
void CALLBACK HideTheForm(HWND handle, UINT, UINT_PTR timer, DWORD) {
    KillTimer(handle, timer);
    auto* self = reinterpret_cast<ComFormWindow*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
    self->Hide();
}

TEST_F(FormWindowTest, TheCloseBoxAsksTheFormAndEndsTheShowUnlessItRefuses) {
    WindowEvents events;
    ComFormWindow window(events, DefaultNames());
    events.keepOpen = true;
    PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
    PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
    SetTimer(window.Handle(), 2, 20, HideTheForm);
    window.ShowModal();
    EXPECT_EQ(events.closing, 2) << "a refused close keeps the window until the form hides it";

    events.keepOpen = false;
    PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
    window.ShowModal();
    EXPECT_EQ(events.closing, 3);
    EXPECT_TRUE(IsWindow(window.Handle())) << "closing hides; the form's owner unloads it";
}

}  // namespace
}  // namespace velaqm::com::testing

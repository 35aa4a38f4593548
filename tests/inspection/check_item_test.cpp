// The check item in the substitute host: what happens to the command and the tool when the
// host's dialog or the library's picture cannot be had, and the cancel flag the host gets back.
#include "inspection/check_item.h"

#include <gtest/gtest.h>

#include "host/bill_form.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

constexpr int kClass = CCheckItem::kClassTypeID;

// The session, except for what a test takes away: the item dialog or the library's pictures.
class Refusing final : public Platform {
  public:
    Refusing(Platform& inner, bool dialog, bool pictures)
        : m_inner(inner), m_dialog(dialog), m_pictures(pictures) {}
    ObjectPtr CreateObject(std::string_view progId) override {
        if (m_dialog && progId == progid::kQMItemDialog)
            throw HostError(kErrCannotCreate, std::string(progId), "can't create object");
        return m_inner.CreateObject(progId);
    }
    int MessageBox(std::string_view text, int flags, std::string_view title) override {
        return m_inner.MessageBox(text, flags, title);
    }
    void SetMousePointer(int pointer) override { m_inner.SetMousePointer(pointer); }
    void DoEvents() override {}
    std::string ComputerName() override { return m_inner.ComputerName(); }
    int ProcessId() override { return m_inner.ProcessId(); }
    Date Now() override { return m_inner.Now(); }
    std::string ClientDirectory() override { return m_inner.ClientDirectory(); }
    std::optional<int> GetAttr(std::string_view path) override { return m_inner.GetAttr(path); }
    void SetAttr(std::string_view path, int attributes) override {
        m_inner.SetAttr(path, attributes);
    }
    ObjectPtr LoadResPicture(int resourceId) override {
        if (m_pictures) throw HostError(kErrResourceNotFound, "test", "no picture");
        return m_inner.LoadResPicture(resourceId);
    }
    FormWindowPtr CreateFormWindow(FormWindowEvents& events) override {
        return m_inner.CreateFormWindow(events);
    }

  private:
    Platform& m_inner;
    bool m_dialog;
    bool m_pictures;
};

// Subscribed after the plug-in: sees the cancel flag as the plug-in left it.
class CancelWatcher final : public BillEventsSink {
  public:
    void MenuBarClick(const ToolPtr& /*XPFTool*/, bool& Cancel) override { cancelled = Cancel; }
    bool cancelled = false;
};

class CheckItemTest : public testing::SessionTest {
  protected:
    void TearDown() override {
        InstallPlatform(session.get());
        SessionTest::TearDown();
    }
    host::BillForm& OpenItem(int id) { return session->OpenBill(kClass, id, false); }
};

TEST_F(CheckItemTest, TheCommandCancelsTheHostsHandlingOnlyForAnUnsavedItem) {
    CancelWatcher watcher;
    host::BillForm& fresh = session->OpenNewBill(kClass);
    fresh.Advise(&watcher);
    fresh.Click("mnuItemValue");
    EXPECT_TRUE(watcher.cancelled);
    EXPECT_EQ(session->Log().Messages().back().flags, kMsgInformation);
    EXPECT_EQ(session->Log().Messages().back().title, "岚舟提示");
    EXPECT_EQ(NextMessage(), "设置检验值与检验项目对应关系前，请先保存检验项目.");
    fresh.Unadvise(&watcher);

    host::BillForm& saved = OpenItem(2);
    saved.Advise(&watcher);
    saved.Click("mnuItemValue");
    EXPECT_FALSE(watcher.cancelled);
    EXPECT_EQ(session->TakeDialogNotes().size(), 7u);
    saved.Unadvise(&watcher);
}

TEST_F(CheckItemTest, WithoutTheDialogComponentTheCommandDoesNothingAndSaysNothing) {
    Refusing platform(*session, true, false);
    InstallPlatform(&platform);
    host::BillForm& form = OpenItem(2);
    form.Click("mnuItemValue");
    EXPECT_EQ(NextMessage(), "");
    EXPECT_TRUE(session->TakeDialogNotes().empty());
}

// The picture is loaded before the tool is placed: without it the command exists on the menu
// bar but in no band, and the form opens without a message.
TEST_F(CheckItemTest, WithoutTheLibrarysPictureTheToolStaysOutOfTheBands) {
    Refusing platform(*session, false, true);
    InstallPlatform(&platform);
    host::BillForm& form = OpenItem(2);
    EXPECT_EQ(NextMessage(), "");
    EXPECT_TRUE(form.ToolState("mnuItemValue").Visible());
    EXPECT_EQ(form.BandText("mnuData"),
              "mnuDataLookUp, mnuDataRefesh, mnuDataRedBill, mnuDataBlueBill");
}

TEST_F(CheckItemTest, TheToolCarriesTheLibrarysBitmapWithItsGreyMaskAndCaption) {
    host::BillForm& form = OpenItem(2);
    const host::HostTool& tool = form.ToolState("mnuItemValue");
    const auto picture = tool.GetPicture(0).ObjectAs<host::HostPicture>();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->ResourceId(), 1);
    EXPECT_EQ(tool.MaskColor(0), 0xC0C0C0);
    EXPECT_EQ(tool.Caption(), "检验值");
    EXPECT_EQ(tool.ToolTipText(), "检验值");
    EXPECT_EQ(tool.Description(), "检验值");
    EXPECT_TRUE(tool.BeginGroup());
}

}  // namespace
}  // namespace velaqm

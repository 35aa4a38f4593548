// Localized strings, message boxes, the hourglass, the trace log and the caller's error.
#include "frame/messages.h"

#include <gtest/gtest.h>

#include "frame/err.h"
#include "frame/platform.h"
#include "host/transcript.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

class MessagesTest : public testing::SessionTest {
  protected:
    void LoginIn(std::string language) {
        host::LoginInfo login;
        login.language = std::move(language);
        session->Login(login);
    }
    std::vector<std::string> Pointers() {
        std::vector<std::string> pointers;
        for (const auto& entry : session->Log().Entries())
            if (entry.kind == host::EntryKind::Pointer) pointers.push_back(entry.text);
        return pointers;
    }
};

TEST_F(MessagesTest, EnglishTextsGainTheBlanksTheirKindAsksFor) {
    LoginIn("en");
    EXPECT_EQ(GetLanguage(), "en");
    const std::string audited = LoadCVString("审核成功！", kTextPlain);
    EXPECT_EQ(audited.find("审核"), std::string::npos) << "translated: " << audited;
    EXPECT_EQ(LoadCVString("审核成功！ ", kTextLeadingBlank), " " + audited + " ");
    EXPECT_EQ(LoadCVString(" 审核成功！", kTextLeadingBlank), " " + audited) << "no second blank";
    EXPECT_EQ(LoadCVString("审核成功！", kTextTrailingBlank), audited + " ");
    EXPECT_EQ(LoadCVString("审核成功！", kTextBothBlanks), " " + audited + " ");
    EXPECT_EQ(LoadCVString("没有译文的文字"), "没有译文的文字") << "an untranslated text passes";
}

TEST_F(MessagesTest, ChineseTextsOnlyPassThroughTheLoader) {
    EXPECT_EQ(GetLanguage(), "chs");
    EXPECT_EQ(LoadCVString("审核成功！ ", kTextLeadingBlank), "审核成功！ ");
    EXPECT_EQ(LoadCVString("反", kTextBothBlanks), "反");
}

TEST_F(MessagesTest, FormatFillsNumberedPlaceHolders) {
    EXPECT_EQ(FormatCVString("所选[%1]单据已不存在,请检查。", {"质量标准"}),
              "所选[质量标准]单据已不存在,请检查。");
    EXPECT_EQ(FormatCVString("%2-%1-%10", {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}),
              "b-a-j");
}

TEST_F(MessagesTest, MessageBoxesCarryTheLibraryTitle) {
    EXPECT_EQ(ShowMessage("请先保存单据！", kMsgInformation), kAnswerOk);
    const auto& shown = session->Log().Messages().back();
    EXPECT_EQ(shown.title, "岚舟提示");
    EXPECT_EQ(shown.flags, 64);
    LoginIn("en");
    ShowMessage("x", kMsgInformation);
    EXPECT_NE(session->Log().Messages().back().title, "岚舟提示");
}

TEST_F(MessagesTest, AQuestionTakesTheQueuedAnswer) {
    session->QueueAnswer(kAnswerYes);
    EXPECT_EQ(ShowMessage("是否要删除?", kMsgQuestion | kMsgYesNo), kAnswerYes);
    EXPECT_TRUE(session->TakeProblems().empty());
    EXPECT_EQ(ShowMessage("是否要删除?", kMsgQuestion | kMsgYesNo), kAnswerNo);
    EXPECT_EQ(session->TakeProblems().size(), 1u) << "nobody answered the second question";
}

TEST_F(MessagesTest, TheHourglassReturnsWhenEitherOfTwoCursorsEnds) {
    {
        WaitCursor outer;
        { WaitCursor inner; }
        EXPECT_EQ(Pointers(), (std::vector<std::string>{"hourglass", "hourglass", "default"}));
    }
    EXPECT_EQ(Pointers().back(), "default");
}

TEST_F(MessagesTest, TracingIsOffWithoutATraceLog) {
    EXPECT_EQ(LogStart("VelaQMBillEvent.SampleStandard.RefreshAcRe"), 0);
    LogEnd(0, 0);
}

TEST_F(MessagesTest, TheCallersErrorSurvivesTranslationAndTracing) {
    SetErr(HostError(91, "VelaQMBillEvent", "Object variable not set"));
    const ErrState before = Err();
    LoadCVString("审核成功！");
    LogEnd(LogStart("x"), 0);
    EXPECT_EQ(Err(), before);
    ClearErr();
}

// The session, except that the form-font loader cannot be created.
class NoFontLoader final : public Platform {
  public:
    explicit NoFontLoader(Platform& inner) : m_inner(inner) {}
    ObjectPtr CreateObject(std::string_view progId) override {
        if (progId == progid::kFrmResLoader)
            throw HostError(kErrCannotCreate, std::string(progId), "can't create object");
        return m_inner.CreateObject(progId);
    }
    int MessageBox(std::string_view text, int flags, std::string_view title) override {
        return m_inner.MessageBox(text, flags, title);
    }
    void SetMousePointer(int pointer) override { m_inner.SetMousePointer(pointer); }
    void DoEvents() override { m_inner.DoEvents(); }
    std::string ComputerName() override { return m_inner.ComputerName(); }
    int ProcessId() override { return m_inner.ProcessId(); }
    Date Now() override { return m_inner.Now(); }
    std::string ClientDirectory() override { return m_inner.ClientDirectory(); }
    std::optional<int> GetAttr(std::string_view path) override { return m_inner.GetAttr(path); }
    void SetAttr(std::string_view path, int attributes) override {
        m_inner.SetAttr(path, attributes);
    }
    ObjectPtr LoadResPicture(int resourceId) override { return m_inner.LoadResPicture(resourceId); }
    FormWindowPtr CreateFormWindow(FormWindowEvents& events) override {
        return m_inner.CreateFormWindow(events);
    }

  private:
    Platform& m_inner;
};

TEST_F(MessagesTest, AFormLoadsWhenItsFontCannotBeSet) {
    ResetProcessState();
    NoFontLoader platform(*session);
    InstallPlatform(&platform);
    ClearErr();
    EXPECT_NO_THROW(SetFormFont(nullptr));
    EXPECT_EQ(Err().number, kErrCannotCreate);
    InstallPlatform(session.get());
    ClearErr();
}

}  // namespace
}  // namespace velaqm

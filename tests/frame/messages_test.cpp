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

}  // namespace
}  // namespace velaqm

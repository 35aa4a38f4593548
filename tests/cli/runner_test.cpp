// The runner against a real copy of the seeded database and the string tables the build leaves
// beside the velaqm command.
#include "cli/runner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "cli/scenario_run.h"
#include "cli/temp_database.h"
#include "frame/convert.h"
#include "frame/platform.h"
#include "host/native_sql.h"
#include "host/session.h"
#include "tests/support/build_paths.h"
#include "tests/support/line_printer.h"

namespace velaqm::cli {
namespace {

using ::testing::HasSubstr;

RunSettings TestSettings() {
    RunSettings settings;
    settings.programDir = velaqm::testing::ProgramDir();
    return settings;
}

std::string RunText(const std::string& text, RunSettings settings = TestSettings()) {
    std::vector<ScriptError> errors;
    const Script script = ParseScript(text, "t.vqs", errors);
    if (!errors.empty()) return "script error: " + errors.front().Report();
    std::ostringstream out;
    return RunScript(script, settings, out).report;
}

// A customer service log saved and reopened, its audit tools enabled.
const std::string kSavedBill =
    "new 1001910\n"
    "edit FCustomer \"Acme Ltd\"\n"
    "save\n"
    "expect saved\n"
    "open 1001910 last\n";

TEST(Runner, AuditsASavedBillAndReadsTheHostsMessage) {
    EXPECT_EQ(RunText(kSavedBill +
                      "click mnuEditCheck\n"
                      "expect message \"审核成功！\"\n"
                      "expect value FCheckerID 16394\n"
                      "expect bill locked\n"
                      "expect query \"SELECT TOP 1 FCheckerID FROM QMClientServiceLog\" 16394\n"
                      "open 1001910 KF000001\n"
                      "expect text FCustomer \"Acme Ltd\"\n"),
              "PASS t.vqs");
}

TEST(Runner, TakesTheLoginLanguageFromTheRunWhenTheLoginNamesNone) {
    RunSettings english = TestSettings();
    english.language = "en";
    const std::string audit = kSavedBill + "click mnuEditCheck\n";
    EXPECT_EQ(RunText(audit + "expect message \"Audited successfully!\"\n", english), "PASS t.vqs");
    EXPECT_EQ(RunText("login lang=en\n" + audit + "expect message \"Audited successfully!\"\n"),
              "PASS t.vqs");
    EXPECT_EQ(RunText("login lang=chs\n" + audit + "expect message \"审核成功！\"\n", english),
              "PASS t.vqs");
}

TEST(Runner, LoginWithoutRightsIsRefusedTheAudit) {
    EXPECT_EQ(RunText("login rights=none\n" + kSavedBill +
                      "click mnuEditCheck\n"
                      "expect message \"对不起，你没有相应的权限！\"\n"
                      "expect value FCheckerID 0\n"),
              "PASS t.vqs");
}

struct Failing {
    std::string script;
    std::string report;
};

void PrintTo(const Failing& c, std::ostream* out) {
    velaqm::testing::PrintLine(c.script, out);
}

class FailingScenario : public ::testing::TestWithParam<Failing> {};

TEST_P(FailingScenario, StopsAtTheLineWithWhatWasExpectedAndFound) {
    EXPECT_EQ(RunText(GetParam().script), GetParam().report);
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, FailingScenario,
    ::testing::Values(
        Failing{"new 1001910\nexpect tool mnuEditCheck enabled\nshow\n",
                "FAIL t.vqs:2: expected tool mnuEditCheck enabled, found disabled"},
        Failing{"new 1001910\nclick mnuEditCheck\n",
                "FAIL t.vqs:2: click mnuEditCheck: the tool mnuEditCheck is disabled"},
        Failing{"new 1001910\nexpect field FID enabled\n",
                "FAIL t.vqs:2: expected field FID enabled, found disabled"},
        Failing{"expect message \"x\"\n",
                "FAIL t.vqs:1: expected message \"x\", found no unread message"},
        Failing{kSavedBill + "click mnuEditCheck\nexpect message \"反审核成功！\"\n",
                "FAIL t.vqs:7: expected message \"反审核成功！\", found \"审核成功！\""},
        Failing{kSavedBill + "click mnuEditCheck\nexpect no message\n",
                "FAIL t.vqs:7: expected no message, found message \"审核成功！\""},
        // A message left unread is blamed on the command that showed it.
        Failing{kSavedBill + "click mnuEditCheck\nexpect bill locked\n\n# the end\n",
                "FAIL t.vqs:6: expected every message read by the end, found \"审核成功！\" "
                "unread"},
        Failing{"answer yes\nnew 1001910\n",
                "FAIL t.vqs:2: expected every answer and choice taken by a window, found 1 "
                "left over"},
        Failing{"open 1001910 KF999\n",
                "FAIL t.vqs:1: expected bill \"KF999\" of class 1001910, found no such bill"},
        Failing{"open 1001910 last\n",
                "FAIL t.vqs:1: expected a saved bill of class 1001910, found none"},
        Failing{"edit FCustomer x\n", "FAIL t.vqs:1: expected an open bill form, found none"},
        Failing{"new 1001910\nexpect not saved\n",
                "FAIL t.vqs:2: expected the last save to be refused, found no save tried"},
        Failing{"new 1001910\nexpect value FBillNo KF000002\n",
                "FAIL t.vqs:2: expected value of FBillNo \"KF000002\", found \"KF000001\""},
        Failing{"new 1001910\nexpect query \"SELECT COUNT(*) FROM QMClientServiceLog\" 1\n",
                "FAIL t.vqs:2: expected query result \"1\", found \"0\""}));

TEST(Runner, AHostErrorFailsTheCommandWithItsDescription) {
    EXPECT_THAT(
        RunText("sql \"SELECT nosuch FROM QMClientServiceLog\"\n"),
        HasSubstr("FAIL t.vqs:1: sql \"SELECT nosuch FROM QMClientServiceLog\": no such column"));
    EXPECT_THAT(RunText("new 4242\n"), HasSubstr("FAIL t.vqs:1: new 4242: "));
}

// A plug-in's question, asked while a command runs, needs an answer queued before it.
class RunnerOnSession : public ::testing::Test {
  protected:
    RunnerOnSession()
        : m_database(TestSettings().SeedDatabase()),
          m_session(SessionOptionsFor(TestSettings(), m_database.Path(), nullptr)),
          m_runner(m_session, m_out, false, "chs") {}

    void Run(const std::string& line) { m_runner.Run(*ParseLine(line, "t.vqs", 1)); }
    int Ask() { return m_session.MessageBox("继续吗？", kMsgQuestion | kMsgYesNo, "岚舟提示"); }

    TempDatabase m_database;
    host::Session m_session;
    std::ostringstream m_out;
    ScenarioRunner m_runner;
};

TEST_F(RunnerOnSession, AQuestionWithoutAnAnswerFailsTheCommandItCameIn) {
    Run("new 1001910");
    Ask();
    try {
        Run("show");
        FAIL() << "an unanswered question passed";
    } catch (const ScenarioFailure& failure) {
        EXPECT_THAT(failure.what(), HasSubstr("a message box asked \"继续吗？\" and no answer"));
    }
}

TEST_F(RunnerOnSession, QueuedAnswersAreGivenInOrder) {
    Run("answer no");
    Run("answer yes");
    EXPECT_EQ(Ask(), kAnswerNo);
    EXPECT_EQ(Ask(), kAnswerYes);
    Run("expect message \"继续吗？\"");
    Run("expect message \"继续吗？\"");
    EXPECT_NO_THROW(m_runner.Finish());
}

TEST_F(RunnerOnSession, ShowPrintsTheOpenForm) {
    Run("show");
    Run("new 1001910");
    Run("show");
    EXPECT_THAT(m_out.str(), HasSubstr("(no form is open)"));
    EXPECT_THAT(m_out.str(), HasSubstr("FBillNo = KF000001"));
}

TEST(WorkingDatabase, AFreshCopyLeavesTheSeedAloneAndGoesAway) {
    const auto seed = TestSettings().SeedDatabase();
    std::filesystem::path copy;
    {
        const TempDatabase database(seed);
        copy = database.Path();
        EXPECT_TRUE(std::filesystem::exists(copy));
        EXPECT_NE(std::filesystem::canonical(copy), std::filesystem::canonical(seed));
    }
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_EQ(RunText(kSavedBill), "PASS t.vqs");
    host::Database seeded(seed, host::OpenMode::kReadOnly);
    EXPECT_EQ(Text(host::QueryValue(seeded, "SELECT COUNT(*) FROM QMClientServiceLog")), "0");
}

TEST(WorkingDatabase, TheDbFileIsWorkedOnInPlace) {
    const TempDatabase database(TestSettings().SeedDatabase());
    RunSettings settings = TestSettings();
    settings.database = database.Path();
    EXPECT_EQ(RunText(kSavedBill, settings), "PASS t.vqs");
    EXPECT_EQ(RunText(kSavedBill + "expect value FBillNo KF000002\n", settings), "PASS t.vqs");
}

}  // namespace
}  // namespace velaqm::cli

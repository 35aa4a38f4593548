#include "cli/scenario.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/line_printer.h"

namespace velaqm::cli {
namespace {

using ::testing::HasSubstr;

struct Accepted {
    std::string line;
    std::string verb;
    std::vector<std::string> args;
    std::map<std::string, std::string> options;
};

void PrintTo(const Accepted& c, std::ostream* out) {
    velaqm::testing::PrintLine(c.line, out);
}

class AcceptedLine : public ::testing::TestWithParam<Accepted> {};

TEST_P(AcceptedLine, GivesVerbArgumentsAndOptions) {
    const Accepted& c = GetParam();
    const auto command = ParseLine(c.line, "t.vqs", 7);
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->verb, c.verb);
    std::vector<std::string> args;
    for (const Argument& a : command->args)
        args.push_back(a.text);
    EXPECT_EQ(args, c.args);
    EXPECT_EQ(command->options, c.options);
    EXPECT_EQ(command->line, 7);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, AcceptedLine,
    ::testing::Values(
        Accepted{"login", "login", {}, {}},
        Accepted{"login user=7 name=\"Zhang San\" lang=en rights=none",
                 "login",
                 {},
                 {{"user", "7"}, {"name", "Zhang San"}, {"lang", "en"}, {"rights", "none"}}},
        Accepted{"  new 1001910   # a comment", "new", {"1001910"}, {}},
        Accepted{"edit FContent \"say \\\"hi\\\"\"", "edit", {"FContent", "say \"hi\""}, {}},
        Accepted{"edit FPath \"C:\\\\dir\\n\"", "edit", {"FPath", "C:\\dir\n"}, {}},
        Accepted{"expect message \"one\\r\\ntwo\\r\\n\\t\"",
                 "expect message",
                 {"one\r\ntwo\r\n\\t"},
                 {}},
        Accepted{"edit FContent \"\"", "edit", {"FContent", ""}, {}},
        Accepted{"edit FNote row=2 \"a=b\"", "edit", {"FNote", "a=b"}, {{"row", "2"}}},
        Accepted{"edit FNo A#1", "edit", {"FNo", "A#1"}, {}},
        Accepted{"edit FItem id:12", "edit", {"FItem", "id:12"}, {}},
        Accepted{"sql \"SELECT '#x' FROM t\"\r", "sql", {"SELECT '#x' FROM t"}, {}},
        Accepted{"open 1001910 id=3", "open", {"1001910"}, {{"id", "3"}}},
        Accepted{"open 1001910 last", "open", {"1001910", "last"}, {}},
        Accepted{"view 1001910 KF000001", "view", {"1001910", "KF000001"}, {}},
        Accepted{"select KF01/2,KF02", "select", {"KF01/2,KF02"}, {}},
        Accepted{"choose none", "choose", {"none"}, {}},
        Accepted{"focus grid row=3", "focus", {"grid"}, {{"row", "3"}}},
        Accepted{"today 2024-02-29", "today", {"2024-02-29"}, {}},
        Accepted{"expect no message", "expect no message", {}, {}},
        Accepted{"expect not saved", "expect not saved", {}, {}},
        Accepted{"expect message \"审核成功！\"", "expect message", {"审核成功！"}, {}},
        Accepted{
            "expect cell FQty row=2 locked", "expect cell", {"FQty", "locked"}, {{"row", "2"}}},
        Accepted{"expect value FNote row=1 \"\"", "expect value", {"FNote", ""}, {{"row", "1"}}},
        Accepted{"expect rows 0", "expect rows", {"0"}, {}},
        Accepted{"expect query \"SELECT 1\" 1", "expect query", {"SELECT 1", "1"}, {}}));

TEST(ParseLine, BlankAndCommentLinesGiveNoCommand) {
    for (const char* line : {"", "   \t", "# only a comment", "   # indented comment"})
        EXPECT_FALSE(ParseLine(line, "t.vqs", 1).has_value()) << line;
}

TEST(ParseLine, KeepsTheQuotingThatTellsAKeywordFromAText) {
    EXPECT_FALSE(ParseLine("formula cancel", "t", 1)->args[0].quoted);
    EXPECT_TRUE(ParseLine("formula \"cancel\"", "t", 1)->args[0].quoted);
    EXPECT_EQ(ParseLine("new 1001910  # why", "t", 1)->source, "new 1001910");
}

struct Refused {
    std::string line;
    std::string what;
};

void PrintTo(const Refused& c, std::ostream* out) {
    velaqm::testing::PrintLine(c.line, out);
}

class RefusedLine : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedLine, IsAScriptErrorAtItsLine) {
    try {
        ParseLine(GetParam().line, "t.vqs", 4);
        FAIL() << "accepted: " << GetParam().line;
    } catch (const ScriptError& error) {
        EXPECT_THAT(error.Report(), HasSubstr("t.vqs:4: " + GetParam().what));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RefusedLine,
    ::testing::Values(Refused{"frobnicate", "unknown command \"frobnicate\""},
                      Refused{"edit FX \"abc", "unterminated quote"},
                      Refused{"edit FX \"abc\\\"", "unterminated quote"},
                      Refused{"\"new\" 1001910", "a command cannot be quoted"},
                      Refused{"new", "missing CLASS"},
                      Refused{"new abc", "CLASS must be a whole number above 0"},
                      Refused{"new 0", "CLASS must be a whole number above 0"},
                      Refused{"new 1001910 extra", "too many arguments: \"extra\""},
                      Refused{"edit FX", "missing VALUE"},
                      Refused{"edit FX row=0 v", "row must be a whole number above 0"},
                      Refused{"edit FX v a=b", "unknown option a= for edit"},
                      Refused{"answer maybe", "ANSWER must be yes|no|ok"},
                      Refused{"today 2024-02-30", "DATE must be a date YYYY-MM-DD"},
                      Refused{"today 2024-1-1", "DATE must be a date YYYY-MM-DD"},
                      Refused{"open 1001910", "open takes a bill number, last or id=N"},
                      Refused{"open 1001910 KF1 id=2", "open takes a bill number, last or id=N"},
                      Refused{"expect", "expect needs a form"},
                      Refused{"expect sideways", "unknown command \"expect sideways\""},
                      Refused{"expect no", "unknown command \"expect no\""},
                      Refused{"expect tool mnuX sideways", "STATE must be visible|hidden"},
                      Refused{"expect cell FX locked", "expect cell needs row=N"},
                      Refused{"expect rows -1", "N must be a whole number"},
                      Refused{"login lang=fr", "lang must be chs|en"},
                      Refused{"login user=1 user=2", "option user= given twice"},
                      Refused{"select KF1/x", "select: the entry row of \"KF1/x\""},
                      Refused{"select KF1,,KF2", "select: an empty bill number"},
                      Refused{"choose KF1,", "choose: an empty bill number"},
                      Refused{"focus head row=2", "focus head takes no row"},
                      Refused{"new \xff\xfe", "the line is not valid UTF-8"}));

TEST(ParseScript, CollectsEveryRefusedLineAndKeepsTheGoodOnes) {
    const std::string text =
        "\xEF\xBB\xBF# scenario\r\n"
        "new 1001910\r\n"
        "frobnicate\n"
        "\n"
        "edit FX \"open\n"
        "show";
    std::vector<ScriptError> errors;
    const Script script = ParseScript(text, "s.vqs", errors);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[0].Report(), "s.vqs:3: unknown command \"frobnicate\"");
    EXPECT_EQ(errors[1].Report(), "s.vqs:5: unterminated quote");
    ASSERT_EQ(script.commands.size(), 2u);
    EXPECT_EQ(script.commands[0].line, 2);
    EXPECT_EQ(script.commands[1].line, 6);
    EXPECT_EQ(script.lineCount, 6);
}

TEST(SplitSelection, ReadsBillsAndTheirEntryRows) {
    const auto rows = SplitSelection("KF01/2,KF02");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].billNo, "KF01");
    EXPECT_EQ(rows[0].entry, 2);
    EXPECT_EQ(rows[1].billNo, "KF02");
    EXPECT_EQ(rows[1].entry, 0);
}

}  // namespace
}  // namespace velaqm::cli

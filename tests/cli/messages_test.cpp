// What the velaqm command says when something is wrong: user input repeated short and whole
// (past a NUL byte), the shell's exit status when fed from a pipe, folders given as --db, and
// statements that begin with a comment.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/app.h"
#include "cli/echo.h"
#include "cli/sql_command.h"
#include "cli/temp_database.h"
#include "tests/support/velaqm_call.h"

namespace velaqm::cli {
namespace {

using testing::Outcome;
using testing::Scratch;
using testing::Velaqm;

using ::testing::HasSubstr;
using namespace std::string_literals;

TEST(Echo, ShowsNulBytesAndShortensHugeInputAtACharacterBoundary) {
    EXPECT_EQ(Echo("plain"), "plain");
    EXPECT_EQ(Echo("a\0b"s), "a\\0b");
    const std::string exact(kEchoLimit, 'x');
    EXPECT_EQ(Echo(exact), exact);
    EXPECT_EQ(Echo(exact + "y"), exact + "... (301 bytes)");
    // "批" is three bytes; the cut may not split it.
    const std::string wide = std::string(kEchoLimit - 1, 'x') + "批批";
    EXPECT_EQ(Echo(wide), std::string(kEchoLimit - 1, 'x') + "... (305 bytes)");
}

TEST(VelaqmMessages, AHugeArgumentIsShortenedWhereverItIsRepeated) {
    const Scratch scratch;
    const std::string huge(10 * 1024 * 1024, 'q');
    const auto script = scratch.Write("huge.vqs", "answer " + std::string(100'000, 'q') + "\n");
    const std::vector<std::vector<std::string>> commands{
        {"run", huge},
        {huge},
        {"help", huge},
        {"shell", "--" + huge},
        {"demo", huge},
        {"run", "--lang", huge, script},
        {"sql", "--db", huge, "select 1"},
        {"run", "--db", huge, script},
        {"run", script},
    };
    for (const auto& args : commands) {
        const Outcome run = Velaqm(args);
        EXPECT_EQ(run.exit, 2);
        EXPECT_LT(run.err.size(), 2 * kEchoLimit) << run.err.substr(0, 100);
        EXPECT_THAT(run.err, HasSubstr(" bytes)"));
    }
}

TEST(VelaqmMessages, AScenarioFailureGoesOnPastANulByte) {
    const Scratch scratch;
    const auto script = scratch.Write("nul.vqs",
                                      "new 1001910\n"
                                      "expect value FCustomer \"a\0b\"\n"s);
    const Outcome run = Velaqm({"run", script});
    EXPECT_EQ(run.exit, 1);
    EXPECT_THAT(run.out, HasSubstr(":2: expected value of FCustomer \"a\\0b\", found \"\"\n"));

    const auto statement = scratch.Write("sql.vqs", "sql \"select nosuch from\0 here\"\n"s);
    const Outcome sql = Velaqm({"run", statement});
    EXPECT_EQ(sql.exit, 1);
    EXPECT_THAT(sql.out, HasSubstr("sql \"select nosuch from\\0 here\": "));

    const Outcome shell = Velaqm({"shell"}, "new 1001910\nclick \"mnu\0Frob\"\n"s);
    EXPECT_THAT(shell.out, HasSubstr("mnu\\0Frob"));
}

TEST(VelaqmSql, ADatabaseErrorRepeatsTheStatementPastANulByte) {
    const TempDatabase database(testing::SeedDatabase());
    std::ostringstream out, err;
    const int code = RunSql(database.Path(), "select nosuch from\0 QMAInfo"s, false, out, err);
    EXPECT_EQ(code, 2);
    EXPECT_THAT(err.str(), HasSubstr("[select nosuch from\\0 QMAInfo]\n"));
}

TEST(VelaqmShell, FedFromAPipeItsExitStatusIsThatOfVelaqmRun) {
    struct Case {
        std::string input;
        bool interactive;
        int exit;
    };
    const std::vector<Case> cases{
        {"new 1001910\nexpect tool mnuEditCheck visible\n", false, 0},
        {"new 1001910\nexpect tool mnuEditCheck enabled\nexpect no message\n", false, 1},
        {"new 1001910\nfrobnicate\n", false, 2},
        {"frobnicate\nexpect tool mnuEditCheck enabled\n", false, 2},
        {"new 1001910\nexpect tool mnuEditCheck enabled\nfrobnicate\n", true, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Velaqm({"shell"}, c.input, c.interactive).exit, c.exit) << c.input;
}

TEST(VelaqmDb, AFolderGivenAsTheDatabaseIsNamedAsOne) {
    const Scratch scratch;
    const auto script = scratch.Write("a.vqs", "new 1001910\n");
    const std::string folder = scratch.Dir().string();
    const std::vector<std::vector<std::string>> commands{
        {"sql", "--db", folder, "select 1"},
        {"run", "--db", folder, script},
        {"shell", "--db", folder},
        {"demo", "--db", folder},
    };
    for (const auto& args : commands) {
        const Outcome run = Velaqm(args);
        EXPECT_EQ(run.exit, 2) << args.front();
        EXPECT_THAT(run.err, HasSubstr("the database " + folder + " is a folder")) << args.front();
    }
}

TEST(VelaqmSql, OnlyTheKnownOptionNamesAreOptions) {
    const TempDatabase database(testing::SeedDatabase());
    const std::string db = database.Path().string();
    const Outcome comment = Velaqm({"sql", "--db", db, "-- why\nselect 1 AS One"});
    EXPECT_EQ(comment.exit, 0) << comment.err;
    EXPECT_EQ(comment.out, "One\n1\n");
    EXPECT_EQ(Velaqm({"sql", "--db=" + db, "--json", "select 1 AS One"}).out,
              "{\"columns\":[\"One\"],\"rows\":[[1]]}\n");
    EXPECT_EQ(Velaqm({"sql", "--db", db, "--", "--json"}).exit, 0)
        << "after --, --json is the statement, a comment";
    EXPECT_THAT(Velaqm({"help", "sql"}).out, HasSubstr("`--` ends the options"));
    EXPECT_THAT(Velaqm({"sql", "--db", db, "--jsn", "select 1"}).err,
                HasSubstr("unknown option --jsn"));
}

}  // namespace
}  // namespace velaqm::cli

// The velaqm command as a user calls it: its output and exit status.
#include "cli/app.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "cli/temp_database.h"
#include "host/db/sqlite.h"
#include "tests/support/velaqm_call.h"

namespace velaqm::cli {
namespace {

using testing::Outcome;
using testing::Scratch;
using testing::Velaqm;

using ::testing::HasSubstr;

const std::string kPassing = "new 1001910\nexpect tool mnuEditCheck visible\n";
const std::string kFailing = "new 1001910\nexpect tool mnuEditCheck enabled\n";

TEST(VelaqmRun, ExitsZeroWhenEveryFilePasses) {
    const Scratch scratch;
    const auto file = scratch.Write("a.vqs", kPassing);
    const Outcome run = Velaqm({"run", file, file});
    EXPECT_EQ(run.exit, 0);
    EXPECT_EQ(run.out, "PASS " + file + "\nPASS " + file + "\n2 passed, 0 failed\n");
}

TEST(VelaqmRun, ExitsOneWhenAFileFailsAndRunsTheRest) {
    const Scratch scratch;
    const auto bad = scratch.Write("bad.vqs", kFailing);
    const auto good = scratch.Write("good.vqs", kPassing);
    const Outcome run = Velaqm({"run", bad, good});
    EXPECT_EQ(run.exit, 1);
    EXPECT_EQ(run.out, "FAIL " + bad + ":2: expected tool mnuEditCheck enabled, found disabled\n" +
                           "PASS " + good + "\n1 passed, 1 failed\n");
}

TEST(VelaqmRun, AScriptErrorAnywhereRunsNoValueAndExitsTwo) {
    const Scratch scratch;
    const auto good = scratch.Write("good.vqs", kPassing);
    const auto bad = scratch.Write("bad.vqs", "new 1001910\nfrobnicate\nanswer maybe\n");
    const Outcome run = Velaqm({"run", good, bad});
    EXPECT_EQ(run.exit, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, bad + ":2: unknown command \"frobnicate\"\n" + bad +
                           ":3: ANSWER must be yes|no|ok, not \"maybe\"\n" +
                           "velaqm run: nothing was run\n");
}

TEST(VelaqmRun, UsageAndFileErrorsExitTwo) {
    const Scratch scratch;
    const auto file = scratch.Write("a.vqs", kPassing);
    const auto notDb = scratch.Write("not.db", "hello");
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases{
        {{"run"}, "no scenario file given"},
        {{"run", "/no/such.vqs"}, "cannot read the scenario file /no/such.vqs"},
        {{"run", "--db", "/no/such.db", file}, "the database /no/such.db does not exist"},
        {{"run", "--db", notDb, file}, "is not a database"},
        {{"run", "--lang", "fr", file}, "--lang takes chs or en"},
        {{"run", "--frob", file}, "the scenario file --frob (it is no option of velaqm run)"},
        {{"shell", "--frob"}, "unknown option --frob"},
        {{"run", "--db"}, "--db needs a value"},
        {{"frob"}, "unknown command frob"},
        {{}, "Usage:"},
        {{"sql", "SELECT 1"}, "--db FILE is required"},
    };
    for (const Case& c : cases) {
        const Outcome run = Velaqm(c.args);
        EXPECT_EQ(run.exit, 2) << c.message;
        EXPECT_THAT(run.err, HasSubstr(c.message));
        EXPECT_EQ(run.out, "") << c.message;
    }
    std::ifstream untouched(notDb);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(untouched), {}), "hello");
}

std::string FileBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(VelaqmRun, ADatabaseFileThatIsNotTheHostsIsRefusedUntouched) {
    const Scratch scratch;
    const auto file = scratch.Write("a.vqs", kPassing);
    const auto empty = scratch.Write("empty.db", "");
    const auto other = scratch.Write("other.db", "");
    host::ExecuteSimple(host::Connection(other, host::OpenMode::kReadWrite),
                        "CREATE TABLE Notes (FText TEXT)");
    const std::string otherBytes = FileBytes(other);
    struct Case {
        std::string database;
        std::string message;
    };
    const std::vector<Case> cases{
        {empty, "the database " + empty + " is empty"},
        {other, "the database " + other + " has no bill catalog"},
        {scratch.Folder("folder.db"), "is a folder, not a file"},
    };
    for (const std::string command : {"run", "shell"}) {
        for (const Case& c : cases) {
            const Outcome run = command == "run" ? Velaqm({"run", "--db", c.database, file})
                                                 : Velaqm({"shell", "--db", c.database}, "save\n");
            EXPECT_EQ(run.exit, 2) << command << ' ' << c.message;
            EXPECT_THAT(run.err, HasSubstr(c.message)) << command;
        }
    }
    EXPECT_EQ(FileBytes(empty), "");
    EXPECT_EQ(FileBytes(other), otherBytes);
    EXPECT_FALSE(std::filesystem::exists(other + "-wal"));
}

TEST(VelaqmRun, TheTranscriptShowsCommandsAndWhatTheyDid) {
    const Scratch scratch;
    const auto file = scratch.Write("a.vqs", kPassing);
    const Outcome run = Velaqm({"run", "--transcript", file});
    EXPECT_EQ(run.exit, 0);
    EXPECT_THAT(run.out, HasSubstr("> new 1001910\n"));
    EXPECT_THAT(run.out, HasSubstr("  tool: mnuEditCheck Visible=true\n"));
}

TEST(VelaqmHelp, DescribesTheCommandsAndTheScenarioLanguage) {
    EXPECT_THAT(Velaqm({"--help"}).out, HasSubstr("velaqm sql --db FILE"));
    const Outcome run = Velaqm({"run", "--help"});
    EXPECT_EQ(run.exit, 0);
    EXPECT_THAT(run.out, HasSubstr("expect cell KEY row=N locked|unlocked"));
    EXPECT_EQ(Velaqm({"help", "sql"}).exit, 0);
    EXPECT_EQ(Velaqm({"help", "frob"}).exit, 2);
}

TEST(VelaqmSql, PrintsTheLastResultSetAsTextOrJson) {
    const TempDatabase database(velaqm::testing::SeedDatabase());
    const std::string db = database.Path().string();
    const std::string query =
        "SELECT FID, FName_en, NULL AS NoValue, 1.5 AS Half FROM ICClassType WHERE FID = 1001910";
    const Outcome text = Velaqm({"sql", "--db", db, query});
    EXPECT_EQ(text.exit, 0);
    EXPECT_EQ(text.out, "FID\tFName_en\tNoValue\tHalf\n1001910\tCustomer service log\t\t1.5\n");
    const Outcome json = Velaqm({"sql", "--db", db, "--json", query});
    EXPECT_EQ(json.out,
              "{\"columns\":[\"FID\",\"FName_en\",\"NoValue\",\"Half\"],"
              "\"rows\":[[1001910,\"Customer service log\",null,1.5]]}\n");
}

TEST(VelaqmSql, RunsBatchesAndReportsErrorsOnStandardError) {
    const TempDatabase database(velaqm::testing::SeedDatabase());
    const std::string db = database.Path().string();
    const Outcome insert = Velaqm(
        {"sql", "--db", db, "INSERT INTO QMClientServiceLog (FID, FBillNo) VALUES (5, 'X5')"});
    EXPECT_EQ(insert.exit, 0);
    EXPECT_EQ(insert.out, "");
    EXPECT_EQ(Velaqm({"sql", "--db", db, "SELECT TOP 1 FBillNo FROM QMClientServiceLog"}).out,
              "FBillNo\nX5\n");
    const Outcome error = Velaqm({"sql", "--db", db, "SELECT nosuch FROM QMClientServiceLog"});
    EXPECT_EQ(error.exit, 2);
    EXPECT_THAT(error.err, HasSubstr("no such column"));
}

TEST(VelaqmShell, RunsTypedCommandsAndGoesOnAfterAFailure) {
    const Outcome shell = Velaqm({"shell"},
                                 "new 1001910\n"
                                 "expect tool mnuEditCheck enabled\n"
                                 "frobnicate\n"
                                 "expect tool mnuEditCheck visible\n"
                                 "quit\n"
                                 "show\n");
    EXPECT_EQ(shell.exit, 2) << "fed from a pipe, a script error gives 2";
    EXPECT_EQ(shell.out,
              "FAIL: expected tool mnuEditCheck enabled, found disabled\n"
              "error: unknown command \"frobnicate\"\n"
              "ok\n");
}

}  // namespace
}  // namespace velaqm::cli

// The switch database, the server's date and the QMaInfo queries, on the substitute host's
// database and a client folder of the test's own.
#include "billops/server_queries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/db/sqlite.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

namespace fs = std::filesystem;
using testing::SessionTest;

class ServerQueriesTest : public SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        if (HasFatalFailure()) return;  // no session to work with: fail, do not crash
        m_folder = fs::temp_directory_path() / ("velaqm-client-" + std::to_string(getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder / "erpSystem");
        UseClientDirectory(m_folder);
    }
    void TearDown() override {
        SessionTest::TearDown();
        std::error_code ignored;
        fs::permissions(m_folder / "ErpSwitch.sss", fs::perms::owner_write, fs::perm_options::add,
                        ignored);
        fs::remove_all(m_folder, ignored);
    }

    fs::path Database(const fs::path& relative) {
        const fs::path file = m_folder / relative;
        host::Connection created(file, host::OpenMode::kCreate);
        host::Statement(created, "CREATE TABLE t_Switch (FKey TEXT)").Step();
        return file;
    }

    fs::path m_folder;
};

TEST_F(ServerQueriesTest, TheSwitchDatabaseIsTheFirstCandidateThatExists) {
    EXPECT_EQ(OpenSwitchDatabase(), "") << "no candidate: nothing, and no message";
    EXPECT_EQ(NextMessage(), "");

    Database("erpSystem/ErpSwitch.sss");
    const std::string inFolder = OpenSwitchDatabase();
    EXPECT_NE(inFolder.find("Provider=Microsoft.Jet.OLEDB.4.0"), std::string::npos) << inFolder;
    EXPECT_NE(inFolder.find("erpSystem\\ErpSwitch.sss"), std::string::npos) << inFolder;

    Database("ErpSwitch.sss");
    const std::string first = OpenSwitchDatabase();
    EXPECT_NE(first.find(m_folder.string() + "\\ErpSwitch.sss;"), std::string::npos) << first;
    EXPECT_EQ(NextMessage(), "");
}

TEST_F(ServerQueriesTest, AReadOnlySwitchDatabaseIsMadeWritableAndOpened) {
    const fs::path file = Database("ErpSwitch.sss");
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_NE(OpenSwitchDatabase(), "");
    EXPECT_NE(fs::status(file).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST_F(ServerQueriesTest, AFileThatIsNoDatabaseIsReportedAndGivesNothing) {
    std::ofstream(m_folder / "ErpSwitch.sss") << "not a database";
    EXPECT_EQ(OpenSwitchDatabase(), "");
    const std::string message = NextMessage();
    EXPECT_NE(message.find("由于你的ODBC有误，系统不能与文件:'"), std::string::npos) << message;
    EXPECT_NE(message.find("ErpSwitch.sss'建立连接。"), std::string::npos) << message;
}

TEST_F(ServerQueriesTest, AMissingJetFileIsReported) {
    EXPECT_EQ(OpenJetDatabase((m_folder / "missing.sss").string()), "");
    EXPECT_NE(NextMessage().find("missing.sss"), std::string::npos);
}

TEST_F(ServerQueriesTest, TheServerDateHasNoTimeOfDay) {
    session->SetToday(Date(2026, 3, 5, 14, 30, 10));
    EXPECT_EQ(GetServerDate(), Date(2026, 3, 5));
    EXPECT_EQ(NextMessage(), "");
}

TEST_F(ServerQueriesTest, QMaInfoQueries) {
    EXPECT_EQ(GetQMaInfoName(1001300, "YGD01"), "正常检验");
    EXPECT_EQ(GetQMaInfoName(1001300, "none"), "");
    EXPECT_EQ(GetQMaInfoName(1001304, "YGD01"), "") << "the number of another class type";
    EXPECT_EQ(GetQMaInfoName(1001300, "x' OR '1'='1"), "") << "a number is a value, never SQL";
    EXPECT_TRUE(RecordExists("SELECT FID FROM QMAInfo WHERE FID = 1"));
    EXPECT_FALSE(RecordExists("SELECT FID FROM QMAInfo WHERE FID = -1"));
    EXPECT_EQ(NextMessage(), "");
}

}  // namespace
}  // namespace velaqm

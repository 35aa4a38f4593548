// The property string readers, on well-formed and malformed strings.
#include "frame/login.h"

#include <gtest/gtest.h>

#include "frame/host_error.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

constexpr std::string_view kProps =
    "ConnectString={Provider=SQLOLEDB;Data Source=erp;Initial Catalog=a=b};SubID=qm; UserID = "
    "16394 ;"
    "UserName=morgan;SubID=cg;Language=en";

TEST(PropValueTest, ReadsKeysOfAPropertyString) {
    struct Case {
        std::string_view props;
        std::string_view key;
        std::string_view value;
    };
    const Case cases[] = {
        // A braced value keeps its ";" and "=" and loses its braces; later entries still count.
        {kProps, "ConnectString", "Provider=SQLOLEDB;Data Source=erp;Initial Catalog=a=b"},
        {kProps, "connectstring", "Provider=SQLOLEDB;Data Source=erp;Initial Catalog=a=b"},
        {kProps, "USERID", "16394"},
        {kProps, "UserName", "morgan"},
        {kProps, "SubID", "qm"},  // the first of a key given twice
        {kProps, "Language", "en"},
        {kProps, "Missing", ""},
        {"", "SubID", ""},
        // Malformed strings: read without a crash, a missing key reads "".
        {"ConnectString={no closing brace;SubID=qm", "ConnectString", "no closing brace;SubID=qm"},
        {"ConnectString={no closing brace;SubID=qm", "SubID", ""},
        {"no equals sign at all", "SubID", ""},
        {"=orphan value;SubID=qm", "SubID", ""},
        {"SubID=;UserID=1", "SubID", ""},
        {"SubID=qm;;;UserID=1", "UserID", ""},
        {"{;;;}", "SubID", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadPropValue(c.props, c.key), c.value) << c.props << " / " << c.key;
}

TEST(PropValueTest, SimpleReaderFindsTheLastEntryWithoutSemicolon) {
    EXPECT_EQ(ReadPropValueSimple(kProps, "Language"), "en");
    EXPECT_EQ(ReadPropValueSimple(kProps, "language"), "en");
    EXPECT_EQ(ReadPropValueSimple("Language=chs;", "Language"), "chs");
    EXPECT_EQ(ReadPropValueSimple("SubID=qm", "Language"), "");
    EXPECT_EQ(ReadPropValueSimple("", "Language"), "");
}

TEST(ParsedPropsTest, KeepsEveryEntryAndRefusesAMissingKey) {
    ParsedProps parsed;
    EXPECT_TRUE(parsed.ParsePropsString(kProps));
    EXPECT_EQ(parsed.ParsedUserName(), "morgan");
    EXPECT_EQ(parsed.ParsedUserID(), 16394);
    EXPECT_EQ(parsed.ParsedConnectString(),
              "Provider=SQLOLEDB;Data Source=erp;Initial Catalog=a=b");
    EXPECT_EQ(parsed.Text(), kProps);

    ParsedProps partial;
    partial.ParsePropsString("UserID=7");
    EXPECT_EQ(partial.ParsedUserID(), 7);
    EXPECT_THROW(partial.ParsedUserName(), HostError);
}

using LoginContextTest = testing::SessionTest;

TEST_F(LoginContextTest, TheHostPublishesTheLoginOfTheSession) {
    host::LoginInfo login;
    login.userId = 16395;
    login.userName = "riley";
    login.subId = "CG";
    login.language = "en";
    session->Login(login);
    EXPECT_EQ(GetPropValue("UserID"), "16395");
    EXPECT_EQ(GetPropValue("UserName"), "riley");
    EXPECT_EQ(GetPropValue("SubID"), "CG");
    EXPECT_EQ(GetPropValueSimple("Language"), "en");
    EXPECT_NE(GetPropValue("ConnectString").find("Data Source="), std::string::npos);
    EXPECT_TRUE(GetLoginObject());
    EXPECT_TRUE(NewAccessChecker());
}

}  // namespace
}  // namespace velaqm

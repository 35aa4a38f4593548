// Native queries of the substitute host against its own database.
#include "host/native_sql.h"

#include <gtest/gtest.h>

#include "frame/convert.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

using NativeSqlTest = testing::SessionTest;

TEST_F(NativeSqlTest, AValueQueryLeavesNoStatementRunning) {
    // The first of several rows: the statement is reset at once, so that a batch may drop a
    // temporary table afterwards, as the code-letter plan batch does.
    EXPECT_EQ(Text(host::QueryValue(session->Db(), "SELECT FNumber FROM QMAInfo ORDER BY FID")),
              "YGD01");
    session->Db().Execute(
        "CREATE TABLE #Probe(FID INT)\r\nSELECT * FROM #Probe\r\nDROP TABLE #Probe");
    EXPECT_EQ(Text(host::QueryValue(session->Db(), "SELECT FNumber FROM QMAInfo ORDER BY FID")),
              "YGD01");
}

}  // namespace
}  // namespace velaqm

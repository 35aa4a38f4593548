// The substitute's planning reads: a query's recordset in the server's dialect, nothing for a
// statement that returns no rows at all, and an error for a statement the database refuses.
#include <gtest/gtest.h>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/host_services.h"
#include "frame/platform.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

class MrpRuntimeTest : public testing::SessionTest {
  protected:
    static RecordsetPtr Read(std::string_view sql) {
        return CreateObject<MrpRuntime>(progid::kMrpRuntime)->GetData("", sql);
    }
};

TEST_F(MrpRuntimeTest, AQueryGivesItsRowsAndAnyOtherStatementNothing) {
    const RecordsetPtr items = Read(
        "select top 2 FItemID, ISNULL(FModel, '-') as FModel from t_ICItem where FNumber "
        "like '01.00_' order by FItemID desc");
    ASSERT_TRUE(items);
    ASSERT_FALSE(items->Eof());
    EXPECT_EQ(WholeNumber(items->Fields("fitemid")), 2);
    items->MoveNext();
    EXPECT_EQ(WholeNumber(items->Fields("FItemID")), 1);
    items->MoveNext();
    EXPECT_TRUE(items->Eof());

    const RecordsetPtr none = Read("select * from t_ICItem where FItemID = -1");
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->Eof());

    EXPECT_EQ(Read("update t_ICItem set FModel = 'x' where FItemID = 3"), nullptr);
    EXPECT_EQ(Query("select FModel from t_ICItem where FItemID = 3"), "x");
    EXPECT_THROW(Read("select FNoSuchColumn from t_ICItem"), HostError);
}

}  // namespace
}  // namespace velaqm

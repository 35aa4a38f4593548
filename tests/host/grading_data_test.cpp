// The substitute's grading-data reads: a query's rows as dictionaries.
#include <gtest/gtest.h>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/host_services.h"
#include "frame/platform.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

class GradingDataTest : public testing::SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        session->Db().Execute(
            "insert into qmsampling (FID, FBillNo, FCheckerID) values (7, 'QY-7', 16394), "
            "(8, 'QY-8', 16394)");
        session->Db().Execute(
            "insert into qmsamplingentry (FID, FEntryID, FSampleNO) values (7, 1, 'S-1'), "
            "(7, 2, 'S-2'), (7, 3, 'S-3'), (8, 1, 'S-4')");
    }
    static Variant Read(std::string_view sql) {
        return CreateObject<GradingData>(progid::kGradingData)->GetData("", sql);
    }
};

TEST_F(GradingDataTest, EachRowIsADictionaryOfItsColumnsInTheServersDialect) {
    const auto rows = Read(
                          "select top 2 a.FID, b.FEntryID, ISNULL(b.FItemID, -1) as FItemID "
                          "from qmsampling a inner join qmsamplingentry b on a.FID = b.FID "
                          "where a.FBillNo = 'qy-7' order by b.FEntryID desc")
                          .ObjectAs<Vector>();
    ASSERT_TRUE(rows);
    ASSERT_EQ(rows->Size(), 2u);
    const auto first = rows->Item(1).ObjectAs<Dictionary>();
    EXPECT_EQ(WholeNumber(first->Item("fid")), 7);
    EXPECT_EQ(WholeNumber(first->Item("FEntryID")), 3);
    EXPECT_EQ(WholeNumber(first->Item("FItemID")), -1);
    EXPECT_EQ(first->Count(), 3u);

    const auto none = Read("select FID from qmsampling where FBillNo = 'QY-9'").ObjectAs<Vector>();
    ASSERT_TRUE(none);
    EXPECT_EQ(none->Size(), 0u);
    EXPECT_TRUE(Read("update qmsampling set FNote = 'n' where FID = 8").IsEmpty());
    EXPECT_THROW(Read("select FNoSuchColumn from qmsampling"), HostError);
}

}  // namespace
}  // namespace velaqm

// The substitute's grading-data reads: a query's rows as dictionaries, which name chosen bills
// for the class link by FID and FEntryID.
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

TEST_F(GradingDataTest, ItsRowsFillADestructionRecordWithTheSamplesTheyName) {
    const auto chosen =
        Read(
            "select a.FID, a.FClassTypeID, b.FEntryID from qmsampling a inner join "
            "qmsamplingentry b on a.FID = b.FID where b.FSampleNO in ('S-1', 'S-3', 'S-4')")
            .ObjectAs<Vector>();
    auto target = CreateObject<ClassTemplate>(progid::kClassTemplate);
    target->SetClassTypeID(1001911);
    auto link = CreateObject<ClassLink>(progid::kClassLink);
    link->SetDataSrv(target);
    link->SetSRCClassTypeID(1001906);
    link->InitLinkTemplate();
    const auto data =
        link->selbills(Variant(), Variant(chosen), Variant(true)).ObjectAs<Dictionary>();
    ASSERT_TRUE(data);
    auto value = [](const DictionaryPtr& cells, std::string_view key) {
        return Text(cells->Item(key).ObjectAs<Dictionary>()->Item("FFLD"));
    };
    const auto head = data->Item("Page1").ObjectAs<Dictionary>();
    EXPECT_EQ(value(head, "FSampleNO"), "QY-7");
    EXPECT_EQ(value(head, "FSampleID"), "7");
    const auto rows = data->Item("Page2").ObjectAs<Vector>();
    ASSERT_EQ(rows->Size(), 3u);
    EXPECT_EQ(value(rows->Item(1).ObjectAs<Dictionary>(), "FSampleNO_2"), "S-1");
    EXPECT_EQ(value(rows->Item(2).ObjectAs<Dictionary>(), "FSampleNO_2"), "S-3");
    EXPECT_EQ(value(rows->Item(3).ObjectAs<Dictionary>(), "FSampleNO_2"), "S-4");
}

}  // namespace
}  // namespace velaqm

// The sampling record in the substitute host: what the scenarios cannot show well, hostile sample
// numbers, a saved record's numbers against the other records, and the list's checks on the
// selected record's own sample.
#include "sampling/sampling_log_event.h"

#include <gtest/gtest.h>

#include <string>

#include "host/bill_form.h"
#include "host/list_form.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

constexpr int kClass = SamplingLogEvent::kClassTypeID;

class SamplingLogEventTest : public testing::SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        session->SetToday(Date(2026, 12, 7));
    }
    // A saved record with one sample per number, rows 1, 2, ...
    void AddRecord(int id, const std::string& billNo, std::initializer_list<const char*> samples,
                   int checker = 0) {
        session->Db().Execute(
            "insert into qmsampling (FID, FBillNo, FSampleType, FCheckerID) "
            "values (" +
            std::to_string(id) + ", '" + billNo + "', 16, " + std::to_string(checker) + ")");
        int row = 0;
        for (const char* sample : samples)
            session->Db().Execute(
                "insert into qmsamplingentry (FID, FEntryID, FSampleNO, FSaveDT) values (" +
                std::to_string(id) + ", " + std::to_string(++row) + ", '" + sample +
                "', '2027-01-31')");
    }
    // True when the transcript has an entry containing the text.
    bool Logged(std::string_view text) {
        for (const auto& entry : session->Log().Entries())
            if (entry.text.find(text) != std::string::npos) return true;
        return false;
    }
    int Stored(const std::string& condition) {
        return std::stoi(Query("select count(*) from qmsamplingentry where " + condition));
    }
};

TEST_F(SamplingLogEventTest, HostileSampleNumbersAreStoredAndComparedExactly) {
    const std::string hostile = "S'; DROP TABLE qmsampling; --";
    AddRecord(1, "QY-1", {"O''Neil-1"});

    host::BillForm& form = session->OpenNewBill(kClass);
    form.Edit("FSampleNO", 1, "o'neil-1 ");
    EXPECT_FALSE(form.Save());
    EXPECT_EQ(NextMessage(), "第1行的样品编号已经存在，请检查!");

    form.Edit("FSampleNO", 1, hostile);
    form.Edit("FSampleNO", 2, std::string(300, 'x') + "样");
    // An injected condition matches nothing: the numbers are new.
    form.Edit("FSampleNO", 3, "x' OR '1'='1");
    ASSERT_TRUE(form.Save()) << NextMessage();
    EXPECT_EQ(Stored("FSampleNO = 'S''; DROP TABLE qmsampling; --'"), 1);
    EXPECT_EQ(Query("select count(*) from qmsampling"), "2");
    EXPECT_EQ(Query("select FSampleNO from qmsamplingentry where FEntryID = 3 and FID <> 1"),
              "x' OR '1'='1");
}

TEST_F(SamplingLogEventTest, ASavedRecordCannotTakeAnotherRecordsSampleNumber) {
    AddRecord(1, "QY-1", {"S-1"});
    AddRecord(2, "QY-2", {"S-2", "S-3"});
    host::BillForm& form = session->OpenBill(kClass, 2, false);
    // Its own numbers are no obstacle to saving it again.
    form.Edit("FNote", 0, "复核");
    ASSERT_TRUE(form.Save()) << NextMessage();

    form.Edit("FSampleNO", 2, "S-1");
    EXPECT_FALSE(form.Save());
    EXPECT_EQ(NextMessage(), "第2行的样品编号已经存在，请检查!");
    EXPECT_EQ(Stored("FSampleNO = 'S-1'"), 1);
}

TEST_F(SamplingLogEventTest, APushChecksTheSelectedRecordsOwnSample) {
    // Entry IDs restart in every record: row 1 of record 1 is destroyed, row 1 of record 2 not.
    AddRecord(1, "QY-1", {"S-1"}, 16394);
    AddRecord(2, "QY-2", {"S-2"}, 16394);
    session->Db().Execute("update qmsamplingentry set FDestoryFlag = 1 where FID = 1");

    host::ListForm& list = session->OpenList(kClass);
    list.Select({{"QY-2", 1}});
    list.Click("mnuPushBill_1001911");
    EXPECT_EQ(NextMessage(), "");
    EXPECT_TRUE(Logged("push-down of QY-2/1 to class 1001911"));

    list.Select({{"QY-1", 1}});
    list.Click("mnuPushBill_1001911");
    EXPECT_EQ(NextMessage(), "[S-1]已经销毁，不能下推！");
}

TEST_F(SamplingLogEventTest, RowsOfSeveralRecordsAreUndoneUntilAPushIsUsed) {
    AddRecord(1, "QY-1", {"S-1"});
    AddRecord(2, "QY-2", {"S-2"});
    host::ListForm& list = session->OpenList(kClass);
    list.Select({{"QY-1", 1}, {"QY-2", 1}});
    EXPECT_EQ(NextMessage(), "不能选择多单，请重新选择！");
    EXPECT_EQ(list.List()->GetSelectedBillID()->Size(), 0u);

    list.Select({{"QY-1", 1}});
    list.Click("mnuPushBill_1001907");
    EXPECT_EQ(NextMessage(), "取样记录[QY-1]还没有审核,不能下推！");
    list.Select({{"QY-1", 1}, {"QY-2", 1}});
    EXPECT_EQ(NextMessage(), "");
    EXPECT_EQ(list.List()->GetSelectedBillID()->Size(), 2u);
}

TEST_F(SamplingLogEventTest, TheSourceOfARecordWithoutOneIsNotLookedFor) {
    AddRecord(1, "QY-1", {"S-1"});
    session->Db().Execute("update qmsampling set FSampleType = 23 where FID = 1");
    host::ListForm& list = session->OpenList(kClass);
    list.Select({{"QY-1", 0}});
    list.Click("mnuDataViewPrvBill");
    EXPECT_EQ(NextMessage(), "上查无关联记录.");

    session->Db().Execute("update qmsampling set FSampleType = 16, FReqBillID = 2 where FID = 1");
    list.Click("mnuDataViewPrvBill");
    EXPECT_EQ(NextMessage(), "");
    EXPECT_TRUE(Logged("WIN000002"));
}

}  // namespace
}  // namespace velaqm

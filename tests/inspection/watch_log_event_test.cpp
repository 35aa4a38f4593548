// The observation log in the substitute host: what the scenarios cannot show well, hostile sample
// numbers, a save check that cannot be made, a sample without an item, and the last row kept.
#include "inspection/watch_log_event.h"

#include <gtest/gtest.h>

#include <string>

#include "billops/bill_tools.h"
#include "host/bill_form.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

constexpr int kClass = WatchLogEvent::kClassTypeID;

class WatchLogEventTest : public testing::SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        session->SetToday(Date(2026, 12, 7));
        session->Db().Execute(
            "insert into qmsampling (FID, FBillNo, FSamplingDT, FCheckerID) values "
            "(1, 'QY-1', '2026-12-01', 16394)");
    }
    // One sample of the audited record QY-1, of item 1 unless told, kept until the year's end.
    void AddSample(int entry, const std::string& quotedNumber, const char* item = "1") {
        session->Db().Execute(
            "insert into qmsamplingentry (FID, FEntryID, FSampleNO, FItemID, FSaveDT) values (1, " +
            std::to_string(entry) + ", " + quotedNumber + ", " + item + ", '2026-12-31')");
    }
    bool Logged(std::string_view text) {
        for (const auto& entry : session->Log().Entries())
            if (entry.text.find(text) != std::string::npos) return true;
        return false;
    }
    // Types the sample number and says whether the log took it.
    bool TakesSample(host::BillForm& form, const std::string& typed) {
        form.Edit("FSampleNo", 0, typed);
        return form.ValueText("FSampleNo", 0) == typed &&
               form.ValueText("FSampleBillNo", 0) == "QY-1";
    }
};

TEST_F(WatchLogEventTest, HostileSampleNumbersAreLookedUpExactly) {
    AddSample(1, "'O''Neil'");
    AddSample(2, "'x'' OR ''1''=''1'");
    AddSample(3, "'样品-甲'");
    host::BillForm& form = session->OpenNewBill(kClass);

    EXPECT_TRUE(TakesSample(form, "O'Neil"));
    EXPECT_TRUE(TakesSample(form, "x' OR '1'='1"));
    EXPECT_TRUE(TakesSample(form, "样品-甲"));
    for (const char* refused : {"O'Neil' --", "y' OR '1'='1", "样品-乙", "  O'Neil", "'"}) {
        EXPECT_FALSE(TakesSample(form, refused)) << refused;
        EXPECT_EQ(form.ValueText("FSampleNo", 0), "") << refused;
        EXPECT_EQ(form.ValueText("FSampleBillNo", 0), "") << refused;
    }
    EXPECT_EQ(NextMessage(), "");
}

TEST_F(WatchLogEventTest, ASaveCheckFindsTheHostileSampleItselfAndNoOther) {
    AddSample(1, "'S-1'");
    AddSample(2, "'x'' OR ''1''=''1'");
    host::BillForm& form = session->OpenNewBill(kClass);
    ASSERT_TRUE(TakesSample(form, "x' OR '1'='1"));
    form.Edit("FWatchDate", 0, "2026-12-07");
    // Only the other sample remains: a condition spliced in unquoted would still find it.
    session->Db().Execute("delete from qmsamplingentry where FEntryID = 2");
    EXPECT_FALSE(form.Save());
    EXPECT_EQ(NextMessage(), "取样编号不存在，请检查！");
}

TEST_F(WatchLogEventTest, ASaveCheckThatCannotBeMadeRefusesTheSave) {
    AddSample(1, "'S-1'");
    host::BillForm& form = session->OpenNewBill(kClass);
    ASSERT_TRUE(TakesSample(form, "S-1"));
    form.Edit("FWatchDate", 0, "2026-12-07");
    session->Db().Execute("alter table qmsamplingentry rename to qmsamplingentry_gone");
    EXPECT_FALSE(form.Save());
    const std::string message = NextMessage();
    EXPECT_EQ(message.rfind("检查出错，原因：", 0), 0u) << message;
    EXPECT_EQ(Query("select count(*) from qmwatchlog"), "0");
}

TEST_F(WatchLogEventTest, ASampleWithoutAnItemAsksForNoSchemeAndStillOpensTheCells) {
    AddSample(1, "'S-1'", "NULL");
    host::BillForm& form = session->OpenNewBill(kClass);
    EXPECT_FALSE(form.FieldLocked("FCheckItemID"));
    ASSERT_TRUE(TakesSample(form, "S-1"));
    EXPECT_EQ(form.ValueText("FSampleDate", 0), "2026-12-01");
    EXPECT_EQ(form.ValueText("FCheckProjectName", 0), "");
    EXPECT_FALSE(Logged("FItemID ="));
    // The cells are set last all the same.
    EXPECT_TRUE(form.FieldLocked("FCheckItemID"));
    EXPECT_EQ(NextMessage(), "");
}

// The row tools are hidden on this bill; a deployment that shows the delete tool still keeps
// the last check item.
TEST_F(WatchLogEventTest, TheLastFilledRowIsNotDeleted) {
    host::BillForm& form = session->OpenNewBill(kClass);
    form.SetBarStatus(tool::kDelRow, kVisible, true);
    form.Edit("FCheckItemID", 1, "JC01");
    form.Edit("FCheckItemID", 3, "JC02");
    form.FocusGrid(1);
    form.Click(tool::kDelRow);
    EXPECT_EQ(NextMessage(), "");
    EXPECT_EQ(form.RowsWithData(), 1);
    form.FocusGrid(1);
    form.Click(tool::kDelRow);
    EXPECT_EQ(NextMessage(), "不允许删除，必须保留一行.");
    EXPECT_EQ(form.RowsWithData(), 1);
}

}  // namespace
}  // namespace velaqm

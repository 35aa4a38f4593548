// The host's deletion of a whole bill: head and entries together, or nothing.
#include "host/bill_components.h"

#include <gtest/gtest.h>

#include "frame/host_services.h"
#include "frame/platform.h"
#include "host/db/database.h"
#include "tests/support/host_error_of.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

using testing::HostErrorOf;

constexpr int kSamplingStandard = 1001900;

class ClassUpdateTest : public testing::SessionTest {
  protected:
    void SetUp() override {
        SessionTest::SetUp();
        // Two sampling standards of three and two lot-size rows.
        session->Db().ExecuteNative(
            "INSERT INTO QMSampStd (FID, FBillNo) VALUES (1, 'CYBZ01'), (2, 'CYBZ02');"
            "INSERT INTO QMSampStdEntry (FID, FEntryID) VALUES (1, 1), (1, 2), (1, 3), (2, 1), "
            "(2, 2);");
    }
    void Delete(int billId) {
        CreateObject<ClassUpdate>(progid::kClassUpdate)
            ->DeleteBill(session->PropsString(), kSamplingStandard, Variant(), billId, Variant(),
                         Variant(), Variant());
    }
    std::string Rows(int billId) {
        const std::string id = std::to_string(billId);
        return Query("select count(*) from QMSampStd where FID=" + id) + "+" +
               Query("select count(*) from QMSampStdEntry where FID=" + id);
    }
};

TEST_F(ClassUpdateTest, DeletesTheHeadAndEveryEntryOfTheBillOnly) {
    Delete(1);
    EXPECT_EQ(Rows(1), "0+0");
    EXPECT_EQ(Rows(2), "1+2");
}

TEST_F(ClassUpdateTest, ARefusedRowLeavesTheBillWhole) {
    session->Db().ExecuteNative(
        "CREATE TRIGGER keep_head BEFORE DELETE ON QMSampStd "
        "BEGIN SELECT RAISE(ABORT, 'the standard is in use'); END");
    const HostError error = HostErrorOf([&] { Delete(1); });
    EXPECT_EQ(error.Description(), "the standard is in use");
    EXPECT_EQ(error.Source(), "VelaMClass.ClassUpdate");
    EXPECT_EQ(Rows(1), "1+3") << "the entries deleted before the head came back";
}

TEST_F(ClassUpdateTest, AMissingBillIsSaid) {
    EXPECT_EQ(HostErrorOf([&] { Delete(9); }).Description(), "单据不存在！");
}

TEST_F(ClassUpdateTest, ABillAnotherUserEditsIsRefusedAndTheUsersOwnLockGoesWithIt) {
    session->Db().ExecuteNative(
        "INSERT INTO t_BillMutex (FClassTypeID, FBillID, FUserID) VALUES (1001900, 1, 16395), "
        "(1001900, 2, 16394)");
    EXPECT_EQ(HostErrorOf([&] { Delete(1); }).Description(), "单据正被其他用户修改，不能删除！");
    EXPECT_EQ(Rows(1), "1+3");
    Delete(2);
    EXPECT_EQ(Rows(2), "0+0");
    EXPECT_EQ(Query("select FBillID from t_BillMutex"), "1");
}

}  // namespace
}  // namespace velaqm

// A head field that shows the bill's internal ID under a key of its own (FInterID over the head
// table's FID) reads 0 on a new bill and the ID once the bill is saved, as a field keyed FID does.
#include <gtest/gtest.h>

#include <string>

#include "host/bill_form.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

class BillIdentityTest : public testing::SessionTest {};

TEST_F(BillIdentityTest, TheInternalIDShowsUnderItsOwnKeyOnceSaved) {
    // The bill alone, without its plug-in's checks.
    session->Db().Execute("update ICClassType set FProgID = '' where FID = 1001908");
    session->Db().Execute("insert into QMItemSupplyInfo (FID, FItemID) values (4, 2)");
    host::BillForm& form = session->OpenNewBill(1001908);
    EXPECT_EQ(form.ValueText("FInterID", 0), "0");
    form.Edit("FItemID", 0, "01.001");
    ASSERT_TRUE(form.Save());
    EXPECT_EQ(form.BillId(), 5);
    EXPECT_EQ(form.ValueText("FInterID", 0), "5");
    EXPECT_EQ(Query("select FItemID from QMItemSupplyInfo where FID = 5"), "1");

    // Saved again, it stays the same bill.
    form.Edit("FItemID", 0, "01.002");
    ASSERT_TRUE(form.Save());
    EXPECT_EQ(Query("select count(*) from QMItemSupplyInfo"), "2");
    EXPECT_EQ(form.ValueText("FInterID", 0), "5");

    host::BillForm& grade = session->OpenNewBill(1001904);
    EXPECT_EQ(grade.ValueText("FID", 0), "0");
}

}  // namespace
}  // namespace velaqm

// The item grade in the substitute host: the main item looked up by its whole number, the save
// checks whose reads fail refuse the save with the reason, and a batch read that fails changes
// nothing.
#include "supplier/item_grade.h"

#include <gtest/gtest.h>

#include <string>

#include "host/bill_form.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

constexpr int kClass = CItemGrade::kClassTypeID;
constexpr std::string_view kCheckError = "[等级品]检查出错，原因：";

class ItemGradeTest : public testing::SessionTest {
  protected:
    // The last statement the plug-ins issued.
    std::string LastSql() const {
        const auto& entries = session->Log().Entries();
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
            if (entry->kind == host::EntryKind::Sql) return entry->text;
        return "";
    }
};

TEST_F(ItemGradeTest, TheMainItemIsLookedUpByItsWholeNumberWhateverTheBillHolds) {
    session->Db().Execute("insert into QMItemGrade (FID, FItemID) values (1, 4)");
    host::BillForm& form = session->OpenNewBill(kClass);
    CItemGrade grading;
    grading.Show(Variant(std::static_pointer_cast<BillEvent>(form.shared_from_this())));
    form.GetDataFld(form.GetFieldInfoByKey("FItemID", "", 0), 0)->SetItem("FFLD", "4abc");
    EXPECT_TRUE(grading.CheckItemUniq());
    EXPECT_EQ(LastSql(), "select * from QMItemGrade where fitemid= 4");
    EXPECT_EQ(NextMessage(), "已存在此等级品信息，不能重复录入!");
    form.GetDataFld(form.GetFieldInfoByKey("FItemID", "", 0), 0)->SetItem("FFLD", "5' or 1=1");
    EXPECT_FALSE(grading.CheckItemUniq());
    EXPECT_EQ(LastSql(), "select * from QMItemGrade where fitemid= 5");
    EXPECT_EQ(NextMessage(), "");
}

TEST_F(ItemGradeTest, AUnitGroupThatCannotBeReadRefusesTheSaveWithTheReason) {
    host::BillForm& form = session->OpenNewBill(kClass);
    form.Edit("FItemID", 0, "01.001");
    form.Edit("FItemIDE", 1, "01.001.A");
    form.Edit("FUnitIDE", 1, "pcs");
    session->Db().Execute("alter table t_MeasureUnit rename column FUnitGroupID to FGroup");
    EXPECT_FALSE(form.Save());
    const std::string message = NextMessage();
    EXPECT_EQ(message.rfind(kCheckError, 0), 0u) << message;
    EXPECT_EQ(Query("select count(*) from QMItemGrade"), "0");
}

TEST_F(ItemGradeTest, AMainItemWithoutAUnitGroupIsRefusedWithTheMessage) {
    host::BillForm& form = session->OpenNewBill(kClass);
    form.Edit("FItemID", 0, "02.001");  // an item without a unit
    form.Edit("FGradeE", 1, "A");
    EXPECT_FALSE(form.Save());
    EXPECT_EQ(NextMessage(), "检查物料单位组出错");
    EXPECT_EQ(NextMessage(), "");
}

TEST_F(ItemGradeTest, ABatchReadThatFailsLeavesTheTypeAsItWas) {
    host::BillForm& form = session->OpenNewBill(kClass);
    session->Db().Execute("alter table t_ICItem rename column FBatchManager to FBatches");
    form.Edit("FItemID", 0, "02.001");
    EXPECT_EQ(NextMessage(), "");
    EXPECT_FALSE(form.FieldLocked("FType"));
    EXPECT_EQ(form.ValueText("FItemID", 0), "3");
}

}  // namespace
}  // namespace velaqm

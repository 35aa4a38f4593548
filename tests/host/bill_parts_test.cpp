// The parts a bill form keeps its state in: the field switches a plug-in sets, which go back to
// the template's before each load, and the edit lock, which a form gives back only if it took it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "frame/host_error.h"
#include "host/bill_edit_lock.h"
#include "host/bill_field_states.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

std::shared_ptr<const host::ClassDef> HeadAndEntryClass() {
    auto def = std::make_shared<host::ClassDef>();
    def->id = 1009920;
    host::FieldDef note;
    note.key = "FNote";
    note.enabled = false;
    host::FieldDef qty;
    qty.key = "FQty";
    qty.page = 2;
    qty.locked = true;
    def->fields = {note, qty};
    return def;
}

TEST(BillFieldStatesTest, SwitchesGoBackToTheTemplatesWhenReset) {
    const auto def = HeadAndEntryClass();
    host::BillFieldStates states(def);
    EXPECT_FALSE(states.Enabled("FNote")) << "as the template has it before any reset";
    EXPECT_TRUE(states.Locked("fqty")) << "keys are matched without regard to case";

    const host::FieldDef& note = def->fields[0];
    states.SetEnabled(note, true);
    states.SetLocked(note, true);
    states.SetBillLocked(true);
    EXPECT_TRUE(states.Enabled("FNote"));
    EXPECT_TRUE(states.Locked("FNote"));

    states.Reset();
    EXPECT_FALSE(states.Enabled("FNote"));
    EXPECT_FALSE(states.Locked("FNote"));
    EXPECT_FALSE(states.BillLocked());
}

TEST(BillFieldStatesTest, AHeadCellLockHoldsForAnyRowAndAnEntryCellLockForItsOwn) {
    const auto def = HeadAndEntryClass();
    host::BillFieldStates states(def);
    states.LockCell(def->fields[0], 0, true);
    states.LockCell(def->fields[1], 2, true);
    EXPECT_TRUE(states.CellLocked("FNote", 1));
    EXPECT_TRUE(states.CellLocked("FNote", 7));
    EXPECT_TRUE(states.CellLocked("FQty", 2));
    EXPECT_FALSE(states.CellLocked("FQty", 1));

    states.Reset();
    EXPECT_FALSE(states.CellLocked("FQty", 2));
    EXPECT_THROW((void)states.CellLocked("FNone", 1), HostError);
}

class BillEditLockTest : public testing::SessionTest {
  protected:
    std::string Holders() {
        return Query("select group_concat(FUserID) from t_BillMutex where FBillID = 7");
    }
};

TEST_F(BillEditLockTest, AFormGivesBackOnlyTheLockItTook) {
    host::BillEditLock lock(*session, 1009920);
    lock.Adopt(lock.TryTake(7));
    EXPECT_TRUE(lock.Held());
    EXPECT_EQ(Holders(), "16394");
    lock.Release(7);
    EXPECT_EQ(Holders(), "");

    session->Db().ExecuteNative(
        "INSERT INTO t_BillMutex (FClassTypeID, FBillID, FUserID) VALUES (1009920, 7, 99)");
    lock.Adopt(lock.TryTake(7));
    EXPECT_FALSE(lock.Held()) << "another user holds the bill";
    lock.Release(7);
    EXPECT_EQ(Holders(), "99");
}

}  // namespace
}  // namespace velaqm

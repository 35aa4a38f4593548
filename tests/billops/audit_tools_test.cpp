// The audit toolbar and locks on real bill forms of a class without a plug-in, so that only the
// routine under test changes the tools; and the event members.
#include "billops/audit_tools.h"

#include <gtest/gtest.h>

#include "frame/events.h"
#include "host/bill_form.h"
#include "host/parts/toolbar.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

class AuditToolsTest : public testing::SessionTest {
  protected:
    // A copy of the customer service log's template under another class type, with no plug-in;
    // it takes the place of a template the seed may have for that class type.
    void MakeBareClass(int classTypeId) {
        const std::string id = std::to_string(classTypeId);
        session->Db().ExecuteNative("DELETE FROM ICClassType WHERE FID = " + id +
                                    "; DELETE FROM ICClassTypeEntry WHERE FParentID = " + id +
                                    "; DELETE FROM ICClassTableInfo WHERE FClassTypeID = " + id);
        session->Db().ExecuteNative(
            "INSERT INTO ICClassType (FID, FName_chs, FTableName, FObjectType, FObjectID) "
            "VALUES (" +
            id + ", 'bare', 'QMClientServiceLog', 4010, " + id +
            ");"
            "INSERT INTO ICClassTypeEntry SELECT " +
            id +
            ", FIndex, FTableName, FEntryType "
            "FROM ICClassTypeEntry WHERE FParentID = 1001910;"
            "INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, "
            "FValueType, "
            "FLookUpType, FSRCTableName, FSRCFieldName, FDSPFieldName, FFNDFieldName, FKeyWord) "
            "SELECT " +
            id +
            ", FKey, FFieldName, FPage, FIndex, FValueType, FLookUpType, "
            "FSRCTableName, FSRCFieldName, FDSPFieldName, FFNDFieldName, FKeyWord "
            "FROM ICClassTableInfo WHERE FClassTypeID = 1001910;");
    }
    host::BillForm& OpenBare(int classTypeId, int checker, bool readOnly = false) {
        MakeBareClass(classTypeId);
        session->Db().ExecuteNative(
            "INSERT INTO QMClientServiceLog (FID, FBillNo, FCheckerID) VALUES (1, 'KF000001', " +
            std::to_string(checker) + ")");
        return session->OpenBill(classTypeId, 1, readOnly);
    }
    static bool Visible(host::BillForm& form, std::string_view key) {
        return form.ToolState(key).Visible();
    }
    static bool Enabled(host::BillForm& form, std::string_view key) {
        return form.ToolState(key).Enabled();
    }
};

TEST_F(AuditToolsTest, ANewBillHasItsAuditToolsDisabledAndItsRowToolsHiddenUnlessKept) {
    MakeBareClass(1009910);
    host::BillForm& form = session->OpenNewBill(1009910);
    bool keepRowTools = false;
    SetAuditMenuState(form, keepRowTools);
    EXPECT_FALSE(Enabled(form, tool::kCheck));
    EXPECT_FALSE(Enabled(form, tool::kUnCheck));
    EXPECT_FALSE(Visible(form, tool::kAddRow));
    EXPECT_FALSE(Visible(form, tool::kDelRow));
    EXPECT_TRUE(Enabled(form, tool::kFileSave));

    form.Click("mnuFileNew");
    keepRowTools = true;
    SetAuditMenuState(form, keepRowTools);
    EXPECT_TRUE(Visible(form, tool::kAddRow));
}

TEST_F(AuditToolsTest, AnAuditedBillHeldByItsEditorKeepsAuditToolsButLosesRowAndSaveTools) {
    host::BillForm& form = OpenBare(1009910, 16394);
    bool keepRowTools = true;
    SetAuditMenuState(form, keepRowTools);
    EXPECT_TRUE(Enabled(form, tool::kCheck));
    EXPECT_TRUE(Enabled(form, tool::kUnCheck));
    for (auto key :
         {tool::kAddRow, tool::kDelRow, tool::kDelEntry, tool::kCopyRow, tool::kBatchFillField})
        EXPECT_FALSE(Visible(form, key)) << key;
    EXPECT_FALSE(Enabled(form, tool::kFileSave));
    EXPECT_FALSE(Enabled(form, tool::kDataLookUp));
    EXPECT_TRUE(Visible(form, tool::kSelectBill)) << "only four bill types lose source selection";
}

TEST_F(AuditToolsTest, SourceSelectionGoesWithTheRowToolsOfTheBillsThatHaveIt) {
    host::BillForm& form = OpenBare(1001902, 16394);
    bool keepRowTools = true;
    SetAuditMenuState(form, keepRowTools);
    EXPECT_FALSE(Visible(form, tool::kSelectBill));
}

TEST_F(AuditToolsTest, ABillHeldByAnotherUserHasNoAuditOrSave) {
    MakeBareClass(1009910);
    session->Db().ExecuteNative(
        "INSERT INTO QMClientServiceLog (FID, FBillNo) VALUES (1, 'KF000001');"
        "INSERT INTO t_BillMutex VALUES (1009910, 1, 16395);");
    host::BillForm& form = session->OpenBill(1009910, 1, false);
    bool keepRowTools = true;
    SetAuditMenuState(form, keepRowTools);
    EXPECT_FALSE(Enabled(form, tool::kCheck));
    EXPECT_FALSE(Enabled(form, tool::kUnCheck));
    EXPECT_FALSE(Enabled(form, tool::kFileSave));
    EXPECT_FALSE(Visible(form, tool::kAddRow));
}

TEST_F(AuditToolsTest, AReadOnlyBillHasBothAuditToolsDisabledEvenUnaudited) {
    host::BillForm& form = OpenBare(1009910, 0, true);
    bool keepRowTools = true;
    SetAuditMenuState(form, keepRowTools);
    EXPECT_FALSE(Enabled(form, tool::kCheck));
    EXPECT_FALSE(Enabled(form, tool::kUnCheck));
    EXPECT_TRUE(Enabled(form, tool::kFileSave));
}

TEST_F(AuditToolsTest, ARunningMultiLevelAuditHidesTheAuditTools) {
    host::BillForm& form = OpenBare(1009910, 0);
    form.SetBarStatus(tool::kCheck, "Visible", true);
    session->Db().ExecuteNative(
        "INSERT INTO t_SystemProfile VALUES ('MultiCheck', '1009910', '1')");
    bool keepRowTools = true;
    SetAuditMenuState(form, keepRowTools);
    EXPECT_FALSE(Visible(form, tool::kCheck));
    EXPECT_TRUE(Enabled(form, tool::kCheck));
}

TEST_F(AuditToolsTest, LockBillFieldsLocksTheHeadAndEveryCellOfRowOne) {
    host::BillForm& form = OpenBare(1009910, 0);
    LockBillFields(form, true);
    EXPECT_TRUE(form.FieldLocked("FID"));
    EXPECT_TRUE(form.CellLocked("FCustomer", 1));
    EXPECT_TRUE(form.CellLocked("FCheckerID", 1));
    LockBillFields(form, false);
    EXPECT_FALSE(form.FieldLocked("FID"));
    EXPECT_FALSE(form.CellLocked("FCustomer", 1));
}

TEST_F(AuditToolsTest, TheCheckerLockFollowsTheChecker) {
    host::BillForm& audited = OpenBare(1009910, 5);
    ApplyCheckerLock(audited);
    EXPECT_TRUE(audited.BillLocked());
    audited.SetValueByKey("FCheckerID", 0, -1);
    ApplyCheckerLock(audited);
    EXPECT_FALSE(audited.BillLocked());
}

TEST(ListToolbarTest, AuditToolsAreCopiedIntoTheListBandsWithTheirPictures) {
    auto list = host::MakeListToolBar({});
    host::HostActiveBar source;
    for (std::string_view key : {tool::kCheck, tool::kUnCheck}) {
        auto added = source.HostTools()->AddTool(std::string(key));
        added->SetCaption(key == tool::kCheck ? "审核" : "反审核");
        added->SetPicture(0, Variant(std::string("picture of ") + std::string(key)));
    }
    const int layoutsBefore = list->LayoutCount();
    AddAuditToolsToListBar(*list, source);
    EXPECT_EQ(list->ToolIndex("mnuEdit", tool::kCheck), 1);
    EXPECT_EQ(list->ToolIndex("mnuEdit", tool::kUnCheck), 2);
    EXPECT_EQ(list->ToolIndex("BandToolBar", tool::kCheck), 3);
    const auto check = list->FindTool(tool::kCheck);
    ASSERT_TRUE(check);
    EXPECT_EQ(check->Caption(), "审核");
    EXPECT_EQ(Text(check->GetPicture(0)), "picture of mnuEditCheck");
    EXPECT_GT(list->LayoutCount(), layoutsBefore);
    check->SetVisible(false);
    EXPECT_TRUE(source.FindTool(tool::kCheck)->Visible()) << "the list has its own copy";
}

TEST(ListToolbarTest, AMissingBandIsSkippedAndTheRestStillHappens) {
    host::HostActiveBar bar;
    auto tool = std::make_shared<host::HostTool>("mnuFormular");
    InsertToolIntoBand(bar, "noSuchBand", tool, 1);
    EXPECT_TRUE(bar.FindTool("mnuFormular"));
    EXPECT_EQ(bar.LayoutCount(), 1);
}

TEST_F(AuditToolsTest, AnEventMemberHearsEventsOnlyWhileItHoldsTheObject) {
    host::BillForm& form = OpenBare(1009910, 0);
    int clicks = 0;
    {
        EventMember<BillEvent> member{{.BarClick = [&](const ToolPtr&, bool&) { ++clicks; }}};
        member = std::static_pointer_cast<BillEvent>(form.shared_from_this());
        form.Click("mnuDataRefesh");
        EXPECT_EQ(clicks, 1);
        member.Reset();
        form.Click("mnuDataRefesh");
        EXPECT_EQ(clicks, 1);
        member = std::static_pointer_cast<BillEvent>(form.shared_from_this());
    }
    form.Click("mnuDataRefesh");
    EXPECT_EQ(clicks, 1) << "a destroyed member no longer hears events";
}

}  // namespace
}  // namespace velaqm

// The substitute host's bill form: saving in one transaction, values that are data and never
// SQL, edits a person cannot make, and sessions on unusable database files.
#include "host/bill_form.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "frame/events.h"
#include "frame/host_error.h"
#include "frame/messages.h"
#include "host/action_refused.h"
#include "host/db/sqlite.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

class BillFormTest : public testing::SessionTest {
  protected:
    // A class of its own with a head and an entry page, whose entry table refuses negative
    // quantities, and no plug-in.
    void MakeClassWithEntries() {
        session->Db().ExecuteNative(R"sql(
            CREATE TABLE T_Head (FID INTEGER PRIMARY KEY, FBillNo TEXT, FNote TEXT, FCheckerID INTEGER);
            CREATE TABLE T_Entry (FID INTEGER, FEntryID INTEGER, FQty INTEGER);
            CREATE TRIGGER T_Entry_NoNegative BEFORE INSERT ON T_Entry WHEN NEW.FQty < 0
                BEGIN SELECT RAISE(ABORT, 'negative quantity'); END;
            INSERT INTO ICClassType (FID, FName_chs, FTableName, FBillNoPrefix) VALUES (1009920, 'test', 'T_Head', 'T');
            INSERT INTO ICClassTypeEntry VALUES (1009920, 1, 'T_Head', 0), (1009920, 2, 'T_Entry', 1);
            INSERT INTO ICClassTableInfo (FClassTypeID, FKey, FFieldName, FPage, FIndex, FValueType, FKeyWord)
                VALUES (1009920, 'FID', 'FID', 1, 0, 3, ''), (1009920, 'FBillNo', 'FBillNo', 1, 1, 200, 'BILLNO'),
                       (1009920, 'FNote', 'FNote', 1, 2, 200, ''), (1009920, 'FCheckerID', 'FCheckerID', 1, 3, 3, ''),
                       (1009920, 'FQty', 'FQty', 2, 0, 3, '');
        )sql");
    }
};

TEST_F(BillFormTest, ANewBillIsSavedWithItsRowsAndGetsTheNextInternalId) {
    MakeClassWithEntries();
    session->Db().ExecuteNative("INSERT INTO T_Head (FID, FBillNo) VALUES (41, 'HAND')");
    host::BillForm& form = session->OpenNewBill(1009920);
    EXPECT_EQ(form.ValueText("FBillNo", 0), "T000042");
    form.Edit("FNote", 0, "first");
    form.Edit("FQty", 1, "5");
    form.Edit("FQty", 3, "7");
    EXPECT_TRUE(form.Save());
    EXPECT_EQ(form.BillId(), 42);
    EXPECT_EQ(Query("select FNote from T_Head where FID = 42"), "first");
    EXPECT_EQ(Query("select count(*) from T_Entry where FID = 42"), "2")
        << "empty rows are not stored";
    EXPECT_EQ(Query("select FQty from T_Entry where FID = 42 and FEntryID = 2"), "7");
    EXPECT_EQ(form.BillStatus(), 2) << "a saved bill is an existing bill";
}

TEST_F(BillFormTest, AFailedSaveLeavesTheDatabaseAsItWas) {
    MakeClassWithEntries();
    host::BillForm& form = session->OpenNewBill(1009920);
    form.Edit("FQty", 1, "5");
    form.Edit("FQty", 2, "-1");
    EXPECT_FALSE(form.Save());
    EXPECT_EQ(form.LastSave(), std::optional<bool>(false));
    EXPECT_EQ(Query("select count(*) from T_Head"), "0") << "the head row was rolled back";
    EXPECT_EQ(Query("select count(*) from T_Entry"), "0");
    const std::string shown = NextMessage();
    EXPECT_NE(shown.find("negative quantity"), std::string::npos) << shown;
    EXPECT_EQ(form.BillStatus(), 1) << "still a new bill";
}

TEST_F(BillFormTest, QuotesAndSqlInValuesAreStoredAsTyped) {
    MakeClassWithEntries();
    const std::string hostile = "O'Brien';DROP TABLE t_User;--";
    host::BillForm& form = session->OpenNewBill(1009920);
    form.Edit("FBillNo", 0, hostile);
    form.Edit("FNote", 0, "引号 ' 和 \"双引号\"");
    ASSERT_TRUE(form.Save());
    EXPECT_EQ(Query("select FBillNo from T_Head"), hostile);
    EXPECT_EQ(Query("select FNote from T_Head"), "引号 ' 和 \"双引号\"");
    EXPECT_EQ(Query("select count(*) from t_User"), "4");
    std::string caption;
    EXPECT_EQ(form.DataSrv()->GetExistBillNo(form.BillId(), caption), hostile);
    EXPECT_EQ(caption, "单据编号：");
}

TEST_F(BillFormTest, ANewBillAndItsEditLockAreSavedTogetherOrNotAtAll) {
    MakeClassWithEntries();
    session->Db().ExecuteNative(
        "CREATE TRIGGER NoLocks BEFORE INSERT ON t_BillMutex "
        "BEGIN SELECT RAISE(ABORT, 'no edit locks today'); END;");
    host::BillForm& form = session->OpenNewBill(1009920);
    form.Edit("FNote", 0, "first");
    EXPECT_FALSE(form.Save()) << "the lock could not be taken, so the save failed";
    EXPECT_NE(NextMessage().find("no edit locks today"), std::string::npos);
    EXPECT_EQ(Query("select count(*) from T_Head"), "0") << "and it committed nothing";
    EXPECT_EQ(form.BillStatus(), 1) << "still a new bill";

    session->Db().ExecuteNative("DROP TRIGGER NoLocks");
    EXPECT_TRUE(form.Save());
    EXPECT_EQ(Query("select FNote from T_Head where FID = 1"), "first");
    EXPECT_EQ(Query("select FUserID from t_BillMutex where FBillID = 1"), "16394");
}

TEST_F(BillFormTest, ASaveWaitsForTheWriteLockOfAnotherConnection) {
    MakeClassWithEntries();
    host::BillForm& form = session->OpenNewBill(1009920);
    form.Edit("FNote", 0, "after the wait");
    host::Connection other(session->Db().File(), host::OpenMode::kReadWrite);
    host::ExecuteSimple(other, "BEGIN IMMEDIATE");
    host::ExecuteSimple(other, "INSERT INTO T_Head (FID, FBillNo) VALUES (7, 'OTHER')");
    std::thread writer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        host::ExecuteSimple(other, "COMMIT");
    });
    const bool saved = form.Save();
    writer.join();
    EXPECT_TRUE(saved) << NextMessage();
    EXPECT_EQ(form.BillId(), 8) << "the number and ID are taken after the other writer's";
    EXPECT_EQ(Query("select FNote from T_Head where FID = 8"), "after the wait");
}

TEST_F(BillFormTest, EveryBillNumberColumnOfTheCatalogHasAUniqueIndex) {
    const auto classes = session->Db().ExecuteNative(
        "SELECT t.FTableName, i.FFieldName FROM ICClassType t JOIN ICClassTableInfo i "
        "ON i.FClassTypeID = t.FID AND i.FKeyWord = 'BILLNO' AND i.FPage = 1");
    ASSERT_FALSE(classes.rows.empty());
    for (const auto& row : classes.rows) {
        const std::string table = Text(row[0]);
        const std::string column = Text(row[1]);
        const auto indexed = session->Db().Prepare(
            "SELECT COUNT(*) FROM pragma_index_list(?) l JOIN pragma_index_info(l.name) c "
            "WHERE l.\"unique\" = 1 AND c.name = ? "
            "AND (SELECT COUNT(*) FROM pragma_index_info(l.name)) = 1");
        indexed->BindAll(std::vector<Variant>{table, column});
        ASSERT_TRUE(indexed->Step());
        EXPECT_EQ(Text(indexed->Column(0)), "1") << table << "." << column;
    }
}

TEST_F(BillFormTest, ALockedOrReadOnlyBillRefusesEdits) {
    MakeClassWithEntries();
    session->Db().ExecuteNative("INSERT INTO T_Head (FID, FBillNo) VALUES (1, 'T1')");
    host::BillForm& form = session->OpenBill(1009920, 1, false);
    form.LockBill(true);
    EXPECT_THROW(form.Edit("FNote", 0, "x"), host::ActionRefused);
    form.LockBill(false);
    form.EnableField(form.GetFieldInfoByKey("FNote", "", 0), false);
    EXPECT_THROW(form.Edit("FNote", 0, "x"), host::ActionRefused);
    form.EnableField(form.GetFieldInfoByKey("FNote", "", 0), true);
    form.LockCell(form.GetFieldInfoByKey("FQty", "", 0), 1, true);
    EXPECT_THROW(form.Edit("FQty", 1, "3"), host::ActionRefused);
    EXPECT_NO_THROW(form.Edit("FQty", 2, "3"));

    host::BillForm& view = session->OpenBill(1009920, 1, true);
    EXPECT_THROW(view.Edit("FNote", 0, "x"), host::ActionRefused);
    EXPECT_THROW(view.Click("mnuEditCheck"), host::ActionRefused)
        << "hidden until a plug-in shows it";
}

TEST_F(BillFormTest, ABillOpenedForEditingHoldsItsEditLockUntilClosed) {
    MakeClassWithEntries();
    session->Db().ExecuteNative("INSERT INTO T_Head (FID, FBillNo) VALUES (1, 'T1')");
    session->OpenBill(1009920, 1, false);
    EXPECT_EQ(Query("select FUserID from t_BillMutex where FBillID = 1"), "16394");
    session->CloseForm();
    EXPECT_EQ(Query("select count(*) from t_BillMutex"), "0");
}

// The copy is a new bill: the original is free for others at once, not left locked for good.
TEST_F(BillFormTest, CopyingABillGivesBackTheOriginalsEditLock) {
    MakeClassWithEntries();
    session->Db().ExecuteNative("INSERT INTO T_Head (FID, FBillNo) VALUES (1, 'T1')");
    host::BillForm& form = session->OpenBill(1009920, 1, false);
    form.SetBarStatus("mnuEditCopy", "Enabled", true);
    form.Click("mnuEditCopy");
    EXPECT_EQ(Query("select count(*) from t_BillMutex"), "0");
    EXPECT_TRUE(form.ToolState("mnuFileSave").Enabled()) << "the copy itself may be saved";
    session->CloseForm();
    EXPECT_EQ(Query("select count(*) from t_BillMutex"), "0");
}

TEST_F(BillFormTest, OpeningABillThatDoesNotExistFails) {
    MakeClassWithEntries();
    EXPECT_THROW(session->OpenBill(1009920, 99, false), HostError);
    EXPECT_EQ(session->CurrentBill(), nullptr);
    EXPECT_THROW(session->OpenNewBill(4242), HostError) << "an unknown class type";
}

TEST_F(BillFormTest, AMenuBarFormRaisesMenuBarEventsAndKeepsItsToolsThere) {
    MakeClassWithEntries();
    session->Db().ExecuteNative("UPDATE ICClassType SET FFormKind = 1 WHERE FID = 1009920");
    host::BillForm& form = session->OpenNewBill(1009920);
    int initialized = 0;
    std::vector<std::string> clicked;
    EventMember<BillEvent> member{{
        .BarClick = [&](const ToolPtr& tool, bool&) { clicked.push_back("bar " + tool->Name()); },
        .MenuBarInitialize = [&](const MenuBarPtr& bar) { initialized += bar ? 1 : 0; },
        .MenuBarClick =
            [&](const ToolPtr& tool, bool& cancel) {
                clicked.push_back("menu " + tool->Name());
                cancel = true;
            },
    }};
    member = std::static_pointer_cast<BillEvent>(form.shared_from_this());
    ASSERT_TRUE(form.MenuBar());
    form.Click("mnuFileSave");
    EXPECT_EQ(clicked, std::vector<std::string>{"menu mnuFileSave"});
    EXPECT_EQ(form.LastSave(), std::nullopt) << "a cancelled click leaves the save undone";
    form.SetBarStatus("mnuFileSave", "Enabled", false);
    EXPECT_FALSE(form.MenuBar()->Tools()->Item("mnuFileSave")->Enabled());
    EXPECT_EQ(initialized, 0) << "the menu bar was built before the member subscribed";
}

TEST_F(BillFormTest, ALinkedFillAnnouncesTheHeadAndEachRowItFilled) {
    host::BillForm& form = session->OpenNewBill(1001906);
    std::vector<std::string> filled;
    EventMember<BillEvent> member{{
        .AfterFillRow =
            [&](int row, const DictionaryPtr& page, const DictionaryPtr& cells,
                const DictionaryPtr& link) {
                const auto batch = link ? link->Item("FBatchNo").ObjectAs<Dictionary>() : nullptr;
                filled.push_back(std::to_string(row) + " " + Text(page->Item("FTableName")) + " " +
                                 (cells ? "cells" : "none") + " " +
                                 (batch ? Text(batch->Item("FFLD")) : "-"));
            },
    }};
    member = std::static_pointer_cast<BillEvent>(form.shared_from_this());
    session->QueueChoice({.kind = host::WindowChoice::Kind::Bills, .billNumbers = {"WIN000001"}});
    form.Click("mnuSelectBill");
    EXPECT_EQ(filled,
              (std::vector<std::string>{"-1 qmsampling cells -", "1 qmsamplingentry cells B0901",
                                        "2 qmsamplingentry cells B0902"}));
    // Showing the bill's own data again is no fill, and no data fills nothing.
    filled.clear();
    form.BillCtl()->DoFilldata(form.BillData());
    form.BillCtl()->DoFilldata(nullptr);
    EXPECT_TRUE(filled.empty());
    EXPECT_EQ(form.ValueText("FBatchNo", 2), "B0902");
}

TEST_F(BillFormTest, CellSettingsAreKeptPerCellUntilTheNextLoad) {
    MakeClassWithEntries();
    host::BillForm& form = session->OpenNewBill(1009920);
    form.SetCellSetting(form.GetFieldInfoByKey("FQty", "", 0), 2, 3);
    EXPECT_EQ(form.CellSetting("fqty", 2), 3);
    EXPECT_EQ(form.CellSetting("FQty", 1), std::nullopt);
    EXPECT_THROW(form.CellSetting("FNoSuchField", 1), HostError);
    form.Click("mnuFileNew");
    EXPECT_EQ(form.CellSetting("FQty", 2), std::nullopt);
}

TEST(SessionFileTest, AnUnusableDatabaseFileIsRefusedAndLeftAlone) {
    namespace fs = std::filesystem;
    host::SessionOptions options;
    options.resourceDir = velaqm::testing::ResourceDir();
    options.database = fs::temp_directory_path() / "velaqm-no-such-file.db";
    EXPECT_THROW(host::Session{options}, HostError);
    EXPECT_FALSE(fs::exists(options.database)) << "nothing is created";

    options.database = fs::temp_directory_path() / ("velaqm-not-a-db-" + std::to_string(getpid()));
    std::ofstream(options.database) << "this is not a database";
    EXPECT_THROW(host::Session{options}, HostError);
    std::ifstream in(options.database);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(text, "this is not a database");
    fs::remove(options.database);
}

TEST_F(BillFormTest, TheTraceLogWritesOneJsonLinePerEvent) {
    namespace fs = std::filesystem;
    const fs::path trace =
        fs::temp_directory_path() / ("velaqm-trace-" + std::to_string(getpid()) + ".jsonl");
    fs::remove(trace);
    host::SessionOptions options = session->Options();
    options.traceFile = trace;
    session.reset();
    session = std::make_unique<host::Session>(options);
    const int handle = LogStart("VelaQMBillEvent.SampleStandard.RefreshAcRe \"quoted\"");
    EXPECT_GT(handle, 0);
    LogEnd(handle, 0);
    std::ifstream in(trace);
    std::string start, end;
    std::getline(in, start);
    std::getline(in, end);
    EXPECT_EQ(start,
              "{\"event\":\"start\",\"handle\":" + std::to_string(handle) +
                  ",\"text\":\"VelaQMBillEvent.SampleStandard.RefreshAcRe \\\"quoted\\\"\"}");
    EXPECT_EQ(
        end.rfind("{\"event\":\"end\",\"handle\":" + std::to_string(handle) + ",\"result\":0,", 0),
        0u);
    session.reset();
    fs::remove(trace);
}

}  // namespace
}  // namespace velaqm

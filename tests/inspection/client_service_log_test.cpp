// The customer service log in the substitute host: tools, audit, the field and checker locks.
#include "inspection/client_service_log.h"

#include <gtest/gtest.h>

#include <memory>

#include "billops/audit_tools.h"
#include "host/action_refused.h"
#include "host/bill_form.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

constexpr int kClass = ClientServiceLog::kClassTypeID;

class ClientServiceLogTest : public testing::SessionTest {
  protected:
    void AddBill(int id, int checker) {
        session->Db().Execute(
            "insert into QMClientServiceLog (FID, FBillNo, FCheckerID, FCustomer) values (" +
            std::to_string(id) + ", 'KF00000" + std::to_string(id) + "', " +
            std::to_string(checker) + ", 'Acme')");
    }
    static const host::HostTool& Tool(host::BillForm& form, std::string_view key) {
        return form.ToolState(key);
    }
};

TEST_F(ClientServiceLogTest, ANewBillShowsDisabledAuditToolsAndNoRowTools) {
    host::BillForm& form = session->OpenNewBill(kClass);
    EXPECT_TRUE(Tool(form, tool::kCheck).Visible());
    EXPECT_TRUE(Tool(form, tool::kUnCheck).Visible());
    EXPECT_FALSE(Tool(form, tool::kCheck).Enabled());
    EXPECT_FALSE(Tool(form, tool::kAddRow).Visible());
    EXPECT_FALSE(form.BillLocked());
}

TEST_F(ClientServiceLogTest, AuditingAnUnsavedBillAsksToSaveFirst) {
    host::BillForm& form = session->OpenNewBill(kClass);
    form.SetBarStatus(tool::kCheck, "Enabled", true);
    form.Click("mnuEditCheck");
    EXPECT_EQ(NextMessage(), "请先保存单据！");
    EXPECT_EQ(session->Log().Messages().back().flags, 64);
}

TEST_F(ClientServiceLogTest, ASavedBillIsAuditedFromTheToolbarAndThenLocked) {
    host::BillForm& form = session->OpenNewBill(kClass);
    form.Edit("FCustomer", 0, "Acme");
    ASSERT_TRUE(form.Save());
    form.Click("mnuDataRefesh");
    EXPECT_TRUE(Tool(form, tool::kCheck).Enabled());
    EXPECT_TRUE(form.FieldEnabled("FCustomer"));
    EXPECT_FALSE(form.FieldLocked("FID"));

    form.Click("mnuEditCheck");
    EXPECT_EQ(NextMessage(), "审核成功！");
    EXPECT_EQ(form.ValueText("FCheckerID", 0), "16394");
    EXPECT_EQ(form.DisplayText("FCheckerID", 0), "morgan");
    EXPECT_TRUE(form.BillLocked());
    EXPECT_TRUE(form.FieldLocked("FID"));
    EXPECT_TRUE(form.CellLocked("FCustomer", 1));
    EXPECT_FALSE(Tool(form, tool::kFileSave).Enabled());
    EXPECT_TRUE(Tool(form, tool::kUnCheck).Enabled());
    EXPECT_EQ(Query("select FText from t_ActionLog"),
              "审核[客户服务记录],单据编号：" + form.ValueText("FBillNo", 0));
    EXPECT_EQ(Query("select FFunctionCode from t_ActionLog"), "")
        << "no code for this bill under qm";

    form.Click("mnuEditCheck");
    EXPECT_EQ(NextMessage(), "该单已经审核，不能再审核！");

    form.Click("mnuEditUnCheck");
    EXPECT_EQ(NextMessage(), "反审核成功！");
    EXPECT_FALSE(form.BillLocked());
    EXPECT_TRUE(Tool(form, tool::kFileSave).Enabled());
    EXPECT_EQ(Query("select count(*) from t_ActionLog"), "2");
}

TEST_F(ClientServiceLogTest, UnAuditingAnUnauditedBillIsRefused) {
    AddBill(1, 0);
    host::BillForm& form = session->OpenBill(kClass, 1, false);
    form.Click("mnuEditUnCheck");
    EXPECT_EQ(NextMessage(), "该单未审核，不能反审核！");
}

TEST_F(ClientServiceLogTest, WithoutTheRightNothingIsAudited) {
    AddBill(1, 0);
    host::LoginInfo login;
    login.allRights = false;
    session->Login(login);
    host::BillForm& form = session->OpenBill(kClass, 1, false);
    form.Click("mnuEditCheck");
    EXPECT_EQ(NextMessage(), "对不起，你没有相应的权限！");
    EXPECT_EQ(Query("select FCheckerID from QMClientServiceLog"), "0");

    session->Db().Execute("insert into t_AccessRight values (16394, 4010, 1001910, 1)");
    form.Click("mnuEditCheck");
    EXPECT_EQ(NextMessage(), "审核成功！");
}

TEST_F(ClientServiceLogTest, ABillHeldByAnotherUserHidesTheAuditMenusAndLocksItsFields) {
    AddBill(1, 0);
    session->Db().Execute("insert into t_BillMutex values (1001910, 1, 16395)");
    host::BillForm& form = session->OpenBill(kClass, 1, false);
    EXPECT_FALSE(Tool(form, tool::kCheck).Visible());
    EXPECT_FALSE(Tool(form, tool::kUnCheck).Visible());
    EXPECT_TRUE(form.FieldLocked("FID"));
    EXPECT_TRUE(form.CellLocked("FCustomer", 1));
    EXPECT_FALSE(form.BillLocked()) << "the checker lock follows the checker alone";
    EXPECT_FALSE(Tool(form, tool::kFileSave).Enabled());
    EXPECT_THROW(form.Edit("FCustomer", 0, "Other"), host::ActionRefused) << "head fields too";
}

TEST_F(ClientServiceLogTest, AReadOnlyBillHidesTheAuditMenusAndLocksItsFields) {
    AddBill(1, 0);
    host::BillForm& form = session->OpenBill(kClass, 1, true);
    EXPECT_FALSE(Tool(form, tool::kCheck).Visible());
    EXPECT_TRUE(form.FieldLocked("FID"));
    EXPECT_FALSE(form.BillLocked());
}

TEST_F(ClientServiceLogTest, ACopyOfAnAuditedBillIsUnlocked) {
    AddBill(1, 16394);
    host::BillForm& form = session->OpenBill(kClass, 1, false);
    EXPECT_TRUE(form.BillLocked());
    form.SetBarStatus("mnuEditCopy", "Enabled", true);
    form.Click("mnuEditCopy");
    EXPECT_FALSE(form.BillLocked());
    EXPECT_EQ(form.ValueText("FCustomer", 0), "Acme");
    EXPECT_EQ(form.ValueText("FCheckerID", 0), "");
}

TEST_F(ClientServiceLogTest, ShowWithNothingLeavesThePluginDetached) {
    ClientServiceLog plugin;
    EXPECT_NO_THROW(plugin.Show(Variant::Nothing()));
    host::BillForm& form = session->OpenNewBill(kClass);
    const std::weak_ptr<Object> watched = form.shared_from_this();
    const std::size_t subscribers = form.SubscriberCount();
    const long references = watched.use_count();
    EXPECT_THROW(plugin.Show(Variant(NewDictionary())), HostError);
    EXPECT_EQ(form.SubscriberCount(), subscribers) << "a refused object is not subscribed to";

    plugin.Show(Variant(std::static_pointer_cast<BillEvent>(form.shared_from_this())));
    EXPECT_EQ(form.SubscriberCount(), subscribers + 1);
    EXPECT_GT(watched.use_count(), references);
    plugin.Show(Variant::Nothing());
    EXPECT_EQ(form.SubscriberCount(), subscribers) << "the subscription ends";
    EXPECT_EQ(watched.use_count(), references) << "and the plug-in keeps no reference to the bill";
}

}  // namespace
}  // namespace velaqm

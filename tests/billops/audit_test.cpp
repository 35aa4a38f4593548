// Audit and un-audit: the rule tables, the task lock, and both paths on the real host.
#include "billops/audit.h"

#include <gtest/gtest.h>

#include "frame/platform.h"
#include "host/bill_form.h"
#include "host/list_form.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

using testing::SessionTest;

TEST(AuditFunctionCodeTest, ChosenBySubsystemClassAndPath) {
    struct Case {
        const char* subId;
        int classTypeId;
        bool check;
        AuditPath path;
        const char* code;
    };
    const Case cases[] = {
        {"cg", 1001901, true, AuditPath::BillForm, "K206030"},
        {"CG", 1001901, false, AuditPath::List, "K206031"},
        {"cg", 1001905, true, AuditPath::List, "K206035"},
        {"cg", 1001905, false, AuditPath::BillForm, "K206036"},
        {"cg", 1001910, true, AuditPath::BillForm, ""},
        {"qm", 1001901, true, AuditPath::BillForm, "QM008003"},
        {"qm", 1001901, false, AuditPath::BillForm, "QM008004"},
        {"Qm", 1001905, true, AuditPath::BillForm, "QM008008"},
        {"qm", 1001905, false, AuditPath::BillForm, "QM008009"},
        {"qm", 1001910, true, AuditPath::BillForm, ""},
        // The list path treats "qm" like any other subsystem.
        {"qm", 1001901, true, AuditPath::List, "XPF1001901_mnuEditCheck"},
        {"qm", 1001911, false, AuditPath::List, "XPF1001911_mnuEditUnCheck"},
        {"", 1001910, true, AuditPath::BillForm, "XPF1001910_mnuEditCheck"},
        {"hr", 1001905, false, AuditPath::BillForm, "XPF1001905_mnuEditUnCheck"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AuditFunctionCode(c.subId, c.classTypeId, c.check, c.path), c.code)
            << c.subId << " " << c.classTypeId << " " << c.check;
}

class AuditTest : public SessionTest {
  protected:
    // Saved customer service logs KF000001.. with the given checkers.
    void AddBills(std::initializer_list<int> checkers) {
        int id = 0;
        for (int checker : checkers) {
            ++id;
            session->Db().Execute(
                "insert into QMClientServiceLog (FID, FBillNo, FCheckerID) values (" +
                std::to_string(id) + ", 'KF00000" + std::to_string(id) + "', " +
                std::to_string(checker) + ")");
        }
    }
    host::ListForm& ListWith(const std::vector<std::string>& billNos) {
        host::ListForm& list = session->OpenList(1001910);
        std::vector<host::ListForm::Selection> rows;
        for (const auto& billNo : billNos)
            rows.push_back({billNo, 0});
        list.Select(rows);
        return list;
    }
    std::string Checker(int id) {
        return Query("select isnull(FCheckerID, 0) from QMClientServiceLog where FID=" +
                     std::to_string(id));
    }
};

TEST_F(AuditTest, OneSelectedBillReportsInAMessageBoxAndLogsUnderTheListCode) {
    AddBills({0});
    host::ListForm& list = ListWith({"KF000001"});
    AuditSelectedBills(list, true, false);
    EXPECT_EQ(NextMessage(), "客户服务记录[KF000001]审核成功！ ");
    EXPECT_EQ(NextMessage(), "");
    EXPECT_EQ(Checker(1), "16394");
    EXPECT_EQ(Query("select FFunctionCode from t_ActionLog"), "XPF1001910_mnuEditCheck");
    EXPECT_EQ(Query("select FText from t_ActionLog"), "审核[客户服务记录],单据编号：KF000001");
    EXPECT_EQ(Query("select count(*) from t_TaskLock"), "0") << "the task lock is released";
}

TEST_F(AuditTest, SeveralSelectedBillsReportInOneResultList) {
    AddBills({0, 7, 0});
    host::ListForm& list = ListWith({"KF000001", "KF000002", "KF000003"});
    AuditSelectedBills(list, true, false);
    EXPECT_EQ(NextMessage(),
              "客户服务记录[KF000001]审核成功|客户服务记录[KF000002]审核未成功,原因：已审核|"
              "客户服务记录[KF000003]审核成功|");
    EXPECT_EQ(Checker(2), "7") << "the audited bill is left alone";
    EXPECT_EQ(Checker(3), "16394");
    EXPECT_EQ(Query("select count(*) from t_ActionLog"), "2");
}

TEST_F(AuditTest, UnAuditOfAnUnauditedBillIsRefusedByState) {
    AddBills({0});
    host::ListForm& list = ListWith({"KF000001"});
    UnAuditSelectedBills(list, false);
    EXPECT_EQ(NextMessage(), "客户服务记录[KF000001]反审核未成功,原因：未审核！");
    EXPECT_EQ(Query("select count(*) from t_ActionLog"), "0");
}

TEST_F(AuditTest, QuietModeShowsNothingButStillAudits) {
    AddBills({0, 0});
    host::ListForm& list = ListWith({"KF000001", "KF000002"});
    AuditSelectedBills(list, true, true);
    EXPECT_EQ(NextMessage(), "");
    EXPECT_EQ(Checker(1), "16394");
    EXPECT_EQ(Checker(2), "16394");
}

TEST_F(AuditTest, ABillHeldByAnotherUsersTaskIsSkipped) {
    AddBills({0, 0});
    session->Db().Execute(
        "insert into t_TaskLock (FSubSysID, FNumber, FComputer, FBillID, FUserID) "
        "values (19, 1001910, 'other', 1, 16395)");
    host::ListForm& list = ListWith({"KF000001", "KF000002"});
    AuditSelectedBills(list, true, false);
    EXPECT_EQ(NextMessage(), "当前使用的功能与其他用户有冲突,目前无法使用!");
    EXPECT_EQ(NextMessage(), "客户服务记录[KF000002]审核成功|");
    EXPECT_EQ(Checker(1), "0");
    EXPECT_EQ(Query("select count(*) from t_TaskLock"), "1")
        << "only the other user's task remains";
}

TEST_F(AuditTest, WithoutALockForTheOperationNoTaskIsTaken) {
    AddBills({0});
    session->Db().Execute("delete from ICClassMutex where FOpareteType = 4");
    host::ListForm& list = ListWith({"KF000001"});
    AuditSelectedBills(list, true, false);
    EXPECT_EQ(NextMessage(), "客户服务记录[KF000001]审核成功！ ");
    for (const auto& entry : session->Log().Entries())
        EXPECT_EQ(entry.text.find("task lock"), std::string::npos) << entry.text;
}

TEST_F(AuditTest, NoRightStopsBeforeAnything) {
    AddBills({0});
    host::LoginInfo login;
    login.allRights = false;
    session->Login(login);
    host::ListForm& list = ListWith({"KF000001"});
    AuditSelectedBills(list, true, false);
    EXPECT_EQ(NextMessage(), "对不起，你没有相应的权限！");
    EXPECT_EQ(session->Log().Messages().back().flags, kMsgExclamation);
    EXPECT_EQ(Checker(1), "0");
}

TEST_F(AuditTest, ABillDeletedSinceTheListWasShownIsReported) {
    AddBills({0, 0});
    host::ListForm& list = ListWith({"KF000001", "KF000002"});
    session->Db().Execute("delete from QMClientServiceLog where FID = 1");
    AuditSelectedBills(list, true, false);
    EXPECT_EQ(NextMessage(),
              "所选[客户服务记录]单据已不存在,请检查。|客户服务记录[KF000002]审核成功|");
}

TEST_F(AuditTest, EnglishListMessagesAreTranslated) {
    AddBills({0});
    host::LoginInfo login;
    login.language = "en";
    session->Login(login);
    host::ListForm& list = ListWith({"KF000001"});
    AuditSelectedBills(list, true, false);
    const std::string message = NextMessage();
    EXPECT_EQ(message.find("审核"), std::string::npos) << message;
    EXPECT_NE(message.find("[KF000001]"), std::string::npos) << message;
}

TEST_F(AuditTest, AcquireTaskLockAnswersByTheLockList) {
    AddBills({0});
    VectorPtr locks = NewVector();
    EXPECT_EQ(AcquireTaskLock(Variant(locks), 4, 1), -1) << "no entry for the operation";
    DictionaryPtr entry = NewDictionary();
    entry->SetItem("FOpareteType", 4);
    entry->SetItem("FSubSysID", 0);
    entry->SetItem("FNumber", 1001910);
    locks->Insert(Variant(entry));
    EXPECT_EQ(AcquireTaskLock(Variant(locks), 4, 1), -1) << "subsystem 0 configures no lock";
    entry->SetItem("FSubSysID", 19);
    const int handle = AcquireTaskLock(Variant(locks), 4, 1);
    EXPECT_GT(handle, 0);
    EXPECT_EQ(Query("select FBillID from t_TaskLock where FTaskID=" + std::to_string(handle)), "1");
    ReleaseTaskLock(handle);
    EXPECT_EQ(Query("select count(*) from t_TaskLock"), "0");
    EXPECT_EQ(AcquireTaskLock(Variant(), 4, 1), -1) << "a template without a lock list";
}

}  // namespace
}  // namespace velaqm

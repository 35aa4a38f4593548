// Deleting the bills selected in a list, and the push-down check, on the real host.
#include "billops/list_delete.h"

#include <gtest/gtest.h>

#include "billops/audit.h"
#include "billops/push_down.h"
#include "frame/platform.h"
#include "host/list_form.h"
#include "tests/support/session_fixture.h"

namespace velaqm {
namespace {

using testing::SessionTest;

TEST(DeleteFunctionCodeTest, PurchasingHasItsOwnCodesOfTheSupplierBills) {
    EXPECT_EQ(DeleteFunctionCode("cg", 1001901), "K206032");
    EXPECT_EQ(DeleteFunctionCode("CG", 1001905), "K206037");
    EXPECT_EQ(DeleteFunctionCode("cg", 1001910), "");
    EXPECT_EQ(DeleteFunctionCode("qm", 1001901), "XPF1001901_mnuEditDelete");
    EXPECT_EQ(DeleteFunctionCode("", 1001910), "XPF1001910_mnuEditDelete");
}

class ListDeleteTest : public SessionTest {
  protected:
    // Saved customer service logs with the given numbers and checkers, FID 1, 2, ...
    void AddBills(std::initializer_list<std::pair<std::string, int>> bills) {
        int id = 0;
        for (const auto& [billNo, checker] : bills) {
            auto statement = session->Db().Prepare(
                "insert into QMClientServiceLog (FID, FBillNo, FCheckerID) values (?, ?, ?)");
            const Variant values[] = {++id, billNo, checker};
            statement->BindAll(values);
            statement->Run();
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
    // The first column of the first row of the host's own SQLite text ("" when none).
    std::string Native(std::string_view sql) {
        const auto result = session->Db().ExecuteNative(sql);
        return result.rows.empty() ? "" : Text(result.rows.front().front());
    }
    std::string Remaining() {
        return Native(
            "select group_concat(FID, ',') from (select FID from QMClientServiceLog "
            "order by FID)");
    }
    int SqlCount() {
        int count = 0;
        for (const auto& entry : session->Log().Entries())
            count += entry.kind == host::EntryKind::Sql;
        return count;
    }
    bool InTranscript(std::string_view text) {
        for (const auto& entry : session->Log().Entries())
            if (entry.text == text) return true;
        return false;
    }
    bool ListRefreshed() { return InTranscript("list refreshed"); }
    void Login(std::string subId, std::string language = "chs") {
        host::LoginInfo login;
        login.subId = std::move(subId);
        login.language = std::move(language);
        session->Login(login);
    }
};

TEST_F(ListDeleteTest, NothingSelectedNamesTheBillTypeAndAsksNothing) {
    AddBills({{"KF000001", 0}});
    host::ListForm& list = ListWith({});
    DeleteSelectedBills(list);
    EXPECT_EQ(NextMessage(), "请选择 [客户服务记录] 后，再执行删除操作！");
    EXPECT_EQ(session->Log().Messages().back().flags, kMsgInformation);
    EXPECT_EQ(NextMessage(), "");
    EXPECT_TRUE(session->TakeProblems().empty()) << "no question was asked";
    EXPECT_EQ(Remaining(), "1");
}

TEST_F(ListDeleteTest, OneConfirmedBillIsDeletedReportedLoggedAndTheListRefreshed) {
    AddBills({{"KF000001", 0}, {"KF000002", 0}});
    host::ListForm& list = ListWith({"KF000001"});
    session->QueueAnswer(kAnswerYes);
    DeleteSelectedBills(list);
    EXPECT_EQ(NextMessage(), "是否要删除所选 [客户服务记录]?  ");
    EXPECT_EQ(session->Log().Messages().front().flags, kMsgQuestion | kMsgYesNo);
    EXPECT_EQ(NextMessage(), "删除 [编号：KF000001]成功！");
    EXPECT_EQ(NextMessage(), "");
    EXPECT_TRUE(
        InTranscript("select FCheckerID,FBillNo as FBillNo from QMClientServiceLog where  FID=1"));
    EXPECT_EQ(Remaining(), "2");
    EXPECT_EQ(Native("select FFunctionCode || '/' || FKind || '/' || FText from t_ActionLog"),
              "XPF1001910_mnuEditDelete/5/删除[客户服务记录],单据编号：KF000001");
    EXPECT_EQ(Query("select count(*) from t_TaskLock"), "0") << "the task lock is released";
    EXPECT_TRUE(ListRefreshed());
}

TEST_F(ListDeleteTest, AnswerNoLeavesEverything) {
    AddBills({{"KF000001", 0}});
    host::ListForm& list = ListWith({"KF000001"});
    session->QueueAnswer(kAnswerNo);
    DeleteSelectedBills(list);
    EXPECT_EQ(NextMessage(), "是否要删除所选 [客户服务记录]?  ");
    EXPECT_EQ(NextMessage(), "");
    EXPECT_EQ(Remaining(), "1");
    EXPECT_EQ(Query("select count(*) from t_ActionLog"), "0");
}

TEST_F(ListDeleteTest, AnAuditedBillAmongSeveralIsKeptAndTheOthersGo) {
    AddBills({{"KF000001", 0}, {"KF000002", 7}, {"KF000003", 0}});
    host::ListForm& list = ListWith({"KF000001", "KF000002", "KF000003"});
    session->QueueAnswer(kAnswerYes);
    DeleteSelectedBills(list);
    NextMessage();
    EXPECT_EQ(NextMessage(),
              "删除 [编号：KF000001]成功！|删除 [编号：KF000002]失败!已审核，不能删除!|"
              "删除 [编号：KF000003]成功！|");
    EXPECT_EQ(session->Log().Messages().back().title, "提示信息|");
    EXPECT_EQ(Remaining(), "2");
    EXPECT_EQ(Query("select count(*) from t_ActionLog"), "2");
}

TEST_F(ListDeleteTest, ABillDeletedMeanwhileIsReportedAndTheLoopGoesOn) {
    AddBills({{"KF000001", 0}, {"KF000002", 0}});
    host::ListForm& list = ListWith({"KF000001", "KF000002"});
    session->Db().Execute("delete from QMClientServiceLog where FID = 1");
    session->QueueAnswer(kAnswerYes);
    DeleteSelectedBills(list);
    NextMessage();
    EXPECT_EQ(NextMessage(),
              "所选[客户服务记录]单据已不存在,请检查。|删除 [编号：KF000002]成功！|");
    EXPECT_EQ(Remaining(), "");
}

TEST_F(ListDeleteTest, OneBillDeletedMeanwhileIsAMessage) {
    AddBills({{"KF000001", 0}});
    host::ListForm& list = ListWith({"KF000001"});
    session->Db().Execute("delete from QMClientServiceLog");
    session->QueueAnswer(kAnswerYes);
    DeleteSelectedBills(list);
    NextMessage();
    EXPECT_EQ(NextMessage(), "所选[客户服务记录]单据已不存在,请检查。");
    EXPECT_FALSE(ListRefreshed()) << "nothing was deleted";
}

TEST_F(ListDeleteTest, ABillTheDatabaseRefusesStaysWholeAndTheOthersGo) {
    AddBills({{"KF000001", 0}, {"KF000002", 0}, {"KF000003", 0}});
    session->Db().ExecuteNative(
        "CREATE TRIGGER keep_two BEFORE DELETE ON QMClientServiceLog WHEN old.FID = 2 "
        "BEGIN SELECT RAISE(ABORT, 'bill 2 is referenced'); END");
    host::ListForm& list = ListWith({"KF000001", "KF000002", "KF000003"});
    session->QueueAnswer(kAnswerYes);
    DeleteSelectedBills(list);
    NextMessage();
    EXPECT_EQ(NextMessage(),
              "删除 [编号：KF000001]成功！|删除 [编号：KF000002]失败！bill 2 is referenced|"
              "删除 [编号：KF000003]成功！|");
    EXPECT_EQ(Remaining(), "2");
    EXPECT_EQ(Query("select count(*) from t_ActionLog where FText like '%KF000002'"), "0");
    EXPECT_EQ(Query("select count(*) from t_TaskLock"), "0");
}

TEST_F(ListDeleteTest, ABillAnotherUserTaskHoldsIsSkipped) {
    AddBills({{"KF000001", 0}, {"KF000002", 0}});
    session->Db().Execute(
        "insert into t_TaskLock (FSubSysID, FNumber, FComputer, FBillID, FUserID) "
        "values (19, 1001910, 'other', 1, 16395)");
    host::ListForm& list = ListWith({"KF000001", "KF000002"});
    session->QueueAnswer(kAnswerYes);
    DeleteSelectedBills(list);
    NextMessage();
    EXPECT_EQ(NextMessage(), "当前使用的功能与其他用户有冲突,目前无法使用!");
    EXPECT_EQ(NextMessage(), "删除 [编号：KF000002]成功！|");
    EXPECT_EQ(Remaining(), "1");
    EXPECT_EQ(Query("select count(*) from t_TaskLock"), "1") << "only the other user's task";
}

TEST_F(ListDeleteTest, ABillAnotherUserIsEditingIsNotDeleted) {
    AddBills({{"KF000001", 0}});
    session->Db().Execute(
        "insert into t_BillMutex (FClassTypeID, FBillID, FUserID) values (1001910, 1, 16395)");
    host::ListForm& list = ListWith({"KF000001"});
    session->QueueAnswer(kAnswerYes);
    DeleteSelectedBills(list);
    NextMessage();
    EXPECT_EQ(NextMessage(), "删除 [编号：KF000001]失败！单据正被其他用户修改，不能删除！");
    EXPECT_EQ(Remaining(), "1");
}

TEST_F(ListDeleteTest, HostileBillNumbersAreDeletedAndReportedAsStored) {
    const std::string quote = "O'Brien";
    const std::string injection = "'; DROP TABLE QMClientServiceLog; --";
    AddBills({{quote, 0}, {injection, 0}, {"KF000003", 0}});
    host::ListForm& list = ListWith({quote, injection});
    session->QueueAnswer(kAnswerYes);
    DeleteSelectedBills(list);
    NextMessage();
    EXPECT_EQ(NextMessage(),
              "删除 [编号：" + quote + "]成功！|删除 [编号：" + injection + "]成功！|");
    EXPECT_EQ(Remaining(), "3");
    EXPECT_EQ(Query("select FText from t_ActionLog order by FID desc"),
              "删除[客户服务记录],单据编号：" + injection);
}

TEST_F(ListDeleteTest, PurchasingLogsTheCustomerServiceLogWithoutACode) {
    AddBills({{"KF000001", 0}});
    Login("cg");
    host::ListForm& list = ListWith({"KF000001"});
    session->QueueAnswer(kAnswerYes);
    DeleteSelectedBills(list);
    EXPECT_EQ(Query("select FFunctionCode from t_ActionLog"), "");
    EXPECT_EQ(Query("select count(*) from t_ActionLog"), "1");
}

TEST_F(ListDeleteTest, TheDeleteRightIsNeededBeforeAnything) {
    AddBills({{"KF000001", 0}});
    host::LoginInfo login;
    login.allRights = false;
    session->Login(login);
    // The audit right alone does not let the user delete.
    session->Db().Execute(
        "insert into t_AccessRight (FUserID, FObjectType, FObjectID, "
        "FRightMask) values (16394, 4010, 1001910, 1)");
    host::ListForm& list = ListWith({"KF000001"});
    DeleteSelectedBills(list);
    EXPECT_EQ(NextMessage(), "对不起，你没有相应的权限！");
    EXPECT_EQ(session->Log().Messages().back().flags, kMsgExclamation);
    EXPECT_EQ(NextMessage(), "") << "no question was asked";
    EXPECT_EQ(Remaining(), "1");

    session->Db().Execute("update t_AccessRight set FRightMask = 65536");
    session->QueueAnswer(kAnswerYes);
    DeleteSelectedBills(list);
    NextMessage();
    EXPECT_EQ(NextMessage(), "删除 [编号：KF000001]成功！");
}

TEST_F(ListDeleteTest, EnglishMessagesAreTranslated) {
    AddBills({{"KF000001", 0}, {"KF000002", 9}});
    Login("qm", "en");
    host::ListForm& list = ListWith({"KF000001", "KF000002"});
    session->QueueAnswer(kAnswerYes);
    DeleteSelectedBills(list);
    EXPECT_EQ(NextMessage(), "Delete the selected [Customer service log]?  ");
    EXPECT_EQ(NextMessage(),
              "Delete [No.:KF000001]Succeeded!|"
              "Delete [No.:KF000002] failed! The bill is audited and cannot be deleted!|");
}

class PushDownTest : public ListDeleteTest {};

TEST_F(PushDownTest, TwoSelectedBillsAreRefusedBeforeTheDatabaseIsRead) {
    AddBills({{"KF000001", 5}, {"KF000002", 5}});
    host::ListForm& list = ListWith({"KF000001", "KF000002"});
    const int sqlBefore = SqlCount();
    EXPECT_FALSE(CanPushDown(list));
    EXPECT_EQ(NextMessage(), "不能选择多张单据，请重新选择！");
    EXPECT_EQ(SqlCount(), sqlBefore);
}

TEST_F(PushDownTest, OnlyAnAuditedBillMayBePushedDown) {
    AddBills({{"KF000001", 5}, {"KF000002", 0}});
    EXPECT_TRUE(CanPushDown(ListWith({"KF000001"})));
    EXPECT_EQ(NextMessage(), "");

    EXPECT_FALSE(CanPushDown(ListWith({"KF000002"})));
    EXPECT_EQ(NextMessage(), "客户服务记录[KF000002]还没有审核,不能下推！");
    EXPECT_EQ(session->Log().Messages().back().flags, kMsgInformation);
}

TEST_F(PushDownTest, ABillDeletedMeanwhileIsRefusedSilently) {
    AddBills({{"KF000001", 5}});
    host::ListForm& list = ListWith({"KF000001"});
    session->Db().Execute("delete from QMClientServiceLog");
    EXPECT_FALSE(CanPushDown(list));
    EXPECT_EQ(NextMessage(), "");
}

}  // namespace
}  // namespace velaqm

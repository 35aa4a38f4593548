#include "billops/list_delete.h"

#include "billops/audit.h"
#include "billops/audit_state.h"
#include "billops/bill_template.h"
#include "billops/list_results.h"
#include "frame/convert.h"
#include "frame/err.h"
#include "frame/error_policy.h"
#include "frame/host_services.h"
#include "frame/login.h"
#include "frame/messages.h"
#include "frame/platform.h"

namespace velaqm {

namespace {

// Wide enough for a bill number and the reason it was not deleted.
constexpr int kResultColumnWidth = 6000;

// What the loop needs of the template, read once.
struct ListDelete {
    const DataSrv& billTemplate;
    int classTypeId;
    std::string billName;
    std::string subId;
    ListResults& results;
    bool deleted = false;
};

bool UserConfirms(const std::string& billName) {
    return ShowMessage(LoadCVString("是否要删除所选") + " [" + billName + "]?  ",
                       kMsgQuestion | kMsgYesNo) == kAnswerYes;
}

void DeleteOneListedBill(ListDelete& run, const Variant& billId) {
    const RecordsetPtr bill = ReadCheckerAndNumber(run.billTemplate, billId, " where  FID=");
    if (!bill || bill->Eof()) {
        run.results.ReportGone(run.billName);
        return;
    }
    const TaskLock lock(run.billTemplate.ClassType("Mutex"), kLockOperationDelete, billId);
    if (!lock.Held()) return;

    const std::string billNo = Text(bill->Fields("FBillNo"));
    const std::string named = LoadCVString("删除") + LoadCVString(" [编号：") + billNo;
    if (IsAudited(NumberValue(bill->Fields("FCheckerID")))) {
        run.results.Report(named + LoadCVString("]失败！已审核，不能删除！"),
                           named + LoadCVString("]失败!已审核，不能删除!|"));
        return;
    }
    const std::string outcome =
        DeleteOneBill(run.classTypeId, run.billTemplate.ClassType(), billId,
                      run.billTemplate.TableInfo(), run.billTemplate.ClassTypeEntry());
    run.results.Report(named + "]" + outcome, named + "]" + outcome + "|");
    if (outcome != LoadCVString("成功！")) return;
    run.deleted = true;
    WriteActionLog(kLogKindBill,
                   std::string("删除") + "[" + run.billName + "]" + ",单据编号：" + billNo,
                   DeleteFunctionCode(run.subId, run.classTypeId));
}

}  // namespace

void DeleteSelectedBills(ListEvents& list) {
    const DataSrvPtr billTemplate = list.DataSrv();
    const std::string billName = Text(billTemplate->ClassType("FName"));
    if (!HasAccess(*billTemplate, kRightDelete)) {
        ShowNoRight();
        return;
    }
    const VectorPtr selected = list.List()->GetSelectedBillID();
    if (selected->Size() < 1) {
        ShowMessage(
            LoadCVString("请选择") + " [" + billName + "] " + LoadCVString("后，再执行删除操作！"),
            kMsgInformation);
        return;
    }
    if (!UserConfirms(billName)) return;

    WaitCursor hourglass;
    ListResults results(selected->Size() == 1, false);
    results.SetColWidth(1, kResultColumnWidth);
    ListDelete run{*billTemplate, billTemplate->ClassTypeID(), billName, GetPropValue("SubID"),
                   results};
    for (const Variant& billId : *selected) {
        DeleteOneListedBill(run, billId);
        CurrentPlatform().DoEvents();
    }
    results.Show();
    if (run.deleted) ResumeNext([&] { list.List()->RefreshList(); });
}

std::string DeleteOneBill(int classTypeId, const DictionaryPtr& classType, const Variant& billId,
                          const DictionaryPtr& tableInfo, const VectorPtr& classTypeEntry) {
    ClearErr();
    ResumeNext([&] {
        CreateObject<ClassUpdate>(progid::kClassUpdate)
            ->DeleteBill(GetPropsString(), classTypeId, Variant(classType), billId, Variant(),
                         Variant(tableInfo), Variant(classTypeEntry));
    });
    if (!Err().IsSet()) return LoadCVString("成功！");
    return LoadCVString("失败！") + LoadCVString(Err().description);
}

}  // namespace velaqm

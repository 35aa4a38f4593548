#include "billops/audit.h"

#include <array>
#include <utility>

#include "billops/audit_tools.h"
#include "billops/bill_template.h"
#include "billops/bill_values.h"
#include "billops/list_results.h"
#include "frame/convert.h"
#include "frame/err.h"
#include "frame/error_policy.h"
#include "frame/login.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/text_util.h"

namespace velaqm {

namespace {

constexpr int kTaskModeExclusive = 3;
constexpr std::int32_t kErrTaskConflict = 16390;

// Bills whose list messages use a name of their own instead of the template's.
constexpr std::array<std::pair<int, std::string_view>, 18> kListBillNames{{
    {1001012, "批包装指令"},
    {1001017, "偏差处理报告"},
    {1001801, "清洁方案"},
    {1001802, "库存养护记录"},
    {1001805, "包装记录"},
    {1001806, "清场记录"},
    {1001807, "包装材料物料平衡"},
    {1001808, "清洁记录"},
    {1001809, "清场方案"},
    {1001811, "成品放行审核方案"},
    {1001812, "成品放行审核单"},
    {1001814, "标签销毁记录"},
    {1001815, "合箱管理记录"},
    {1001816, "物料平衡收率表"},
    {1001818, "报损审批单"},
    {1001819, "报损销毁记录"},
    {1001828, "操作记录方案"},
    {1001829, "工序操作记录"},
}};

enum class BillOperation { Check, UnCheck, Delete };

// The purchasing module's and the quality module's own function codes of the two supplier
// bills, by operation; any other bill or subsystem logs under its toolbar tool.
struct ModuleCodes {
    int classTypeId;
    std::array<std::string_view, 3> purchasing;  // check, un-check, delete
    std::array<std::string_view, 2> quality;     // check, un-check
};
constexpr std::array<ModuleCodes, 2> kModuleCodes{{
    {1001901, {"K206030", "K206031", "K206032"}, {"QM008003", "QM008004"}},
    {1001905, {"K206035", "K206036", "K206037"}, {"QM008008", "QM008009"}},
}};
constexpr std::array<std::string_view, 3> kOperationTools{"_mnuEditCheck", "_mnuEditUnCheck",
                                                          "_mnuEditDelete"};

// Under "cg" every operation, under "qm" the bill form's audit, takes the module's code ("" for
// a bill the module has none for).
std::string FunctionCodeOf(std::string_view subId, int classTypeId, BillOperation operation,
                           AuditPath path) {
    const std::string sub = LowerAscii(subId);
    const auto index = static_cast<std::size_t>(operation);
    const bool purchasing = sub == "cg";
    const bool quality =
        sub == "qm" && path == AuditPath::BillForm && operation != BillOperation::Delete;
    if (purchasing || quality) {
        for (const ModuleCodes& codes : kModuleCodes)
            if (codes.classTypeId == classTypeId)
                return std::string(purchasing ? codes.purchasing[index] : codes.quality[index]);
        return "";
    }
    return "XPF" + std::to_string(classTypeId) + std::string(kOperationTools[index]);
}

// The parameter set of CheckBill for one bill.
DictionaryPtr CheckParams(const Variant& classTypeId, const Variant& billId, bool check) {
    DictionaryPtr params = NewDictionary();
    params->SetItem("BillClassTypeid", classTypeId);
    params->SetItem("InterID", billId);
    params->SetItem("CheckSwitch", check ? 0 : 1);
    params->SetItem("ReturnString", "");
    return params;
}

bool CallCheckBill(const DictionaryPtr& params) {
    auto service = CreateObject<BillSimpleCheck>(progid::kBillSimpleCheck);
    return service->CheckBill(GetPropsString(), params);
}

bool HasAccessTo(const Variant& objectType, const Variant& objectId, int rightKind) {
    return NewAccessChecker()->AccessCheck(objectType, objectId, rightKind);
}

std::string ComputerNameOrNoName() {
    try {
        return CurrentPlatform().ComputerName();
    } catch (const std::exception&) {
        return "NoName";
    }
}

// --- the bill form -------------------------------------------------------------------------

// The refusals before an audit: an unsaved bill, a missing right, a bill already in the state.
bool MayChangeAuditState(BillEvent& bill, bool check) {
    const BillValues values(bill);
    if (check && (values.HeadNumber("FID") == 0 || bill.BillCtl()->IsChange())) {
        Inform(LoadCVString("请先保存单据！"));
        return false;
    }
    if (!HasAccess(bill, kRightAudit)) {
        ShowNoRight();
        return false;
    }
    const bool audited = IsAudited(values.HeadNumber("FCheckerID"));
    if (check && audited) {
        Inform(LoadCVString("该单已经审核，不能再审核！"));
        return false;
    }
    if (!check && !audited) {
        Inform(LoadCVString("该单未审核，不能反审核！"));
        return false;
    }
    return true;
}

void LogBillFormAudit(BillEvent& bill, bool check) {
    std::string caption;
    const std::string billNo = bill.DataSrv()->GetExistBillNo(bill.CurBillID(), caption);
    const auto classTypeId = static_cast<int>(WholeNumber(bill.ClassType("FID")));
    const std::string code =
        AuditFunctionCode(GetPropValue("SubID"), classTypeId, check, AuditPath::BillForm);
    WriteActionLog(kLogKindBill,
                   LoadCVString(check ? "审核" : "反审核") + "[" + Text(bill.ClassType("FName")) +
                       "]," + caption + billNo,
                   code);
}

// True when the host changed the bill.
bool ChangeAuditState(BillEvent& bill, bool check) {
    if (!MayChangeAuditState(bill, check)) return false;
    WaitCursor hourglass;
    const DictionaryPtr params = CheckParams(bill.ClassType("FID"), bill.CurBillID(), check);
    const bool changed = CallCheckBill(params);
    Inform(Text(params->Item("ReturnString")));
    if (!changed) return false;
    bill.RefreshBill();
    bill.BillCtl()->SetIsok(true);
    LogBillFormAudit(bill, check);
    return true;
}

// --- the list ------------------------------------------------------------------------------

// What the list loop needs of the template, read once.
struct ListAudit {
    bool check;
    const DataSrv& billTemplate;
    int classTypeId;
    std::string billName;
    std::string subId;
    ListResults& results;
    bool changed = false;
};

void AuditOneListedBill(ListAudit& audit, const Variant& billId) {
    const RecordsetPtr bill = ReadCheckerAndNumber(audit.billTemplate, billId);
    if (!bill || bill->Eof()) {
        audit.results.ReportGone(audit.billName);
        return;
    }
    const TaskLock lock(audit.billTemplate.ClassType("Mutex"), kLockOperationAudit, billId);
    if (!lock.Held()) return;

    const bool audited = IsAudited(NumberValue(bill->Fields("FCheckerID")));
    const std::string billNo = Text(bill->Fields("FBillNo"));
    const std::string named = audit.billName + "[" + billNo + "]";
    if (audit.check == audited) {
        audit.results.Report(named + LoadCVString(audit.check ? "审核未成功,原因：已审核！"
                                                              : "反审核未成功,原因：未审核！"),
                             named +
                                 LoadCVString(audit.check ? "审核未成功,原因：已审核"
                                                          : "反审核未成功,原因：未审核") +
                                 "|");
        return;
    }
    const DictionaryPtr params = CheckParams(audit.classTypeId, billId, audit.check);
    if (!CallCheckBill(params)) {
        const std::string refused = audit.billName + Text(params->Item("ReturnString"));
        audit.results.Report(refused, refused + "|");
        return;
    }
    audit.changed = true;
    const std::string un = audit.check ? "" : LoadCVString("反");
    audit.results.Report(named + un + LoadCVString("审核成功！ ", kTextLeadingBlank),
                         named + un + LoadCVString("审核成功") + "|");
    WriteActionLog(kLogKindBill,
                   std::string(audit.check ? "" : "反") + "审核" + "[" + audit.billName + "]" +
                       ",单据编号：" + billNo,
                   AuditFunctionCode(audit.subId, audit.classTypeId, audit.check, AuditPath::List));
}

}  // namespace

void AuditBill(BillEvent& bill, bool check) {
    try {
        ChangeAuditState(bill, check);
    } catch (const std::exception& e) {
        const HostError error = AsHostError(e);
        throw HostError(error.Number(), error.Source(), LoadCVString(error.Description()));
    }
}

bool ClickAuditTool(BillEvent& bill, const ToolPtr& clicked) {
    const std::string name = clicked->Name();
    if (name == tool::kCheck)
        AuditBill(bill, true);
    else if (name == tool::kUnCheck)
        AuditBill(bill, false);
    else
        return false;
    return true;
}

void AuditSelectedBills(ListEvents& list, bool check, bool quiet) {
    const DataSrvPtr billTemplate = list.DataSrv();
    if (!HasAccess(*billTemplate, kRightAudit)) {
        ShowNoRight();
        return;
    }
    WaitCursor hourglass;
    const VectorPtr selected = list.List()->GetSelectedBillID();
    if (selected->Size() < 1) return;

    ListResults results(selected->Size() == 1, quiet);
    const int classTypeId = billTemplate->ClassTypeID();
    ListAudit audit{check,
                    *billTemplate,
                    classTypeId,
                    ListBillName(classTypeId, Text(billTemplate->ClassType("FName"))),
                    GetPropValue("SubID"),
                    results};
    for (const Variant& billId : *selected) {
        AuditOneListedBill(audit, billId);
        CurrentPlatform().DoEvents();
    }
    results.Show();
    if (audit.changed) ResumeNext([&] { list.List()->RefreshList(); });
}

void UnAuditSelectedBills(ListEvents& list, bool quiet) {
    AuditSelectedBills(list, false, quiet);
}

bool CheckBillByService(const Variant& classTypeId, const Variant& billId, bool check,
                        std::string& answer) {
    const DictionaryPtr params = CheckParams(classTypeId, billId, check);
    const bool changed = CallCheckBill(params);
    answer = Text(params->Item("ReturnString"));
    return changed;
}

bool HasAccess(const BillEvent& bill, int rightKind) {
    return HasAccessTo(bill.ClassType("FObjectType"), bill.ClassType("FObjectID"), rightKind);
}

bool HasAccess(const DataSrv& billTemplate, int rightKind) {
    return HasAccessTo(billTemplate.ClassType("FObjectType"), billTemplate.ClassType("FObjectID"),
                       rightKind);
}

void ShowNoRight() {
    ShowMessage(LoadCVString("对不起，你没有相应的权限！"), kMsgExclamation);
}

void WriteActionLog(int kind, std::string_view text, std::string_view functionCode) {
    ResumeNext([&] { NewAccessChecker()->WriteLog(functionCode, kind, text); });
    ClearErr();
}

int AcquireTaskLock(const Variant& lockList, int operationType, const Variant& billId) {
    try {
        DictionaryPtr entry;
        if (const VectorPtr locks = lockList.ObjectAs<Vector>()) {
            for (const Variant& item : *locks) {
                auto candidate = item.ObjectAs<Dictionary>();
                if (candidate && NumberValue(candidate->Item("FOpareteType")) == operationType) {
                    entry = candidate;
                    break;
                }
            }
        }
        if (!entry || NumberValue(entry->Item("FSubSysID")) <= 0) return -1;
        const int handle =
            GetLoginObject()->taskexec(static_cast<int>(WholeNumber(entry->Item("FSubSysID"))),
                                       static_cast<int>(WholeNumber(entry->Item("FNumber"))),
                                       ComputerNameOrNoName(), kTaskModeExclusive, 0, 0, billId);
        if (handle < 1)
            throw HostError(kErrTaskConflict, "MNetControl.ExecFunc",
                            LoadCVString("当前使用的功能与其他用户有冲突,目前无法使用!"));
        return handle;
    } catch (const std::exception& e) {
        Inform(LoadCVString(AsHostError(e).Description()));
        return 0;
    }
}

void ReleaseTaskLock(int handle) {
    if (handle != 0) GetLoginObject()->CommitTask(handle);
}

TaskLock::~TaskLock() {
    if (m_handle > 0) ResumeNext([&] { ReleaseTaskLock(m_handle); });
}

std::string AuditFunctionCode(std::string_view subId, int classTypeId, bool check, AuditPath path) {
    return FunctionCodeOf(subId, classTypeId, check ? BillOperation::Check : BillOperation::UnCheck,
                          path);
}

std::string DeleteFunctionCode(std::string_view subId, int classTypeId) {
    return FunctionCodeOf(subId, classTypeId, BillOperation::Delete, AuditPath::List);
}

std::string ListBillName(int classTypeId, std::string_view templateName) {
    for (const auto& [id, name] : kListBillNames)
        if (id == classTypeId) return LoadCVString(name, kTextTrailingBlank);
    return std::string(templateName);
}

}  // namespace velaqm

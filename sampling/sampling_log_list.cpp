// The sampling record's list: audit, un-audit, delete, the source and follow-up bills of a
// record, and the push of one sample on to an observation log or a destruction record.
#include <string>

#include "billops/audit.h"
#include "billops/audit_tools.h"
#include "billops/linked_bills.h"
#include "billops/list_delete.h"
#include "billops/list_results.h"
#include "billops/list_tools.h"
#include "billops/push_down.h"
#include "billops/server_queries.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/login.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/sql_text.h"
#include "sampling/sampling_log_event.h"

namespace velaqm {

namespace {

constexpr int kObservationLogClass = 1001907;
constexpr int kDestructionClass = 1001911;

constexpr std::string_view kViewFollowUps = "mnuDataViewNextBill";
constexpr std::string_view kPushToObservation = "mnuPushBill_1001907";
constexpr std::string_view kPushToDestruction = "mnuPushBill_1001911";

// The one value of the first row, or Empty.
Variant FirstValue(const std::string& sql) {
    const RecordsetPtr rows = RunQuery(sql);
    return HasRow(rows) ? rows->Fields(0) : Variant();
}

// The selected sample: its record and its entry row.
struct SelectedSample {
    Variant billId;
    Variant entryId;
};

std::optional<SelectedSample> FirstSelectedSample(ListEvents& list) {
    const VectorPtr rows = list.List()->GetSelectedBillInfo();
    if (rows->Size() == 0) return std::nullopt;
    const auto row = rows->Item(1).ObjectAs<Dictionary>();
    if (!row) return std::nullopt;
    return SelectedSample{row->Item("FID"), row->Item("FEntryID")};
}

// "where b.FID=.. and b.FEntryID=..": the selected sample's own row.
std::string SampleRowCondition(const SelectedSample& sample, std::string_view alias) {
    const std::string prefix = alias.empty() ? "" : std::string(alias) + ".";
    return " where " + prefix + "FID=" + SqlWhole(sample.billId) + " and " + prefix +
           "FEntryID=" + SqlWhole(sample.entryId);
}

// The internal IDs a query returns in its column FID, joined by ",".
std::string JoinedIds(const std::string& sql) {
    std::string ids;
    const RecordsetPtr rows = RunQuery(sql);
    for (; HasRow(rows); rows->MoveNext())
        ids += (ids.empty() ? "" : ",") + SqlWhole(rows->Fields("FID"));
    return ids;
}

DictionaryPtr FollowUpPage(int classId, std::string_view name, const std::string& filter) {
    DictionaryPtr page = NewDictionary();
    page->SetItem("FClassID", classId);
    page->SetItem("FName", LoadCVString(name));
    page->SetItem("Filter", filter);
    page->SetItem("SelectPage", ",1,2,");
    page->SetItem("FilterString", filter);
    page->SetItem("HeadSort", "");
    page->SetItem("EntrySort", "");
    return page;
}

DictionaryPtr SourceLink(int classId, std::string_view field, std::string_view filter) {
    DictionaryPtr link = NewDictionary();
    link->SetItem("FClassID", classId);
    link->SetItem("FieldName", std::string(field));
    link->SetItem("FSourFilter", std::string(filter));
    return link;
}

// Where a sample type's source bill is found: the request bill of a receipt or an inspection
// request, the work order and the production task of process sampling.
VectorPtr SourceLinks(int sampleType) {
    using namespace sample_type;
    VectorPtr links = NewVector();
    auto request = [&](int classId) {
        links->Insert(Variant(SourceLink(classId, "FReqBillID", "v1.FInterID")));
    };
    switch (sampleType) {
        case kPurchaseReceipt:
        case kOutsourcedReceipt:
            request(-702);
            break;
        case kInspectionRequest:
            request(-701);
            break;
        case kDelivery:
            request(-705);
            break;
        case kReturn:
            request(-704);
            break;
        case kProcess:
        case kOutsourcedProcess:
            links->Insert(Variant(SourceLink(-52, "FWorkOrderId", "u1.FWBInterID")));
            links->Insert(Variant(SourceLink(-85, "FManTaskID", "v1.FInterID")));
            break;
        default:
            break;
    }
    return links;
}

// --- the list un-audit ----------------------------------------------------------------------

// What the un-audit loop reads of the class once.
struct SamplingRecordClass {
    int id;
    std::string billName;
    std::string numberField;
    std::string headTable;
};

SamplingRecordClass ReadRecordClass(int classTypeId) {
    const std::string id = std::to_string(classTypeId);
    return {classTypeId,
            LoadCVString(
                Text(FirstValue("select FName_chs as Fname from ICClassType where FID=" + id))),
            Text(FirstValue("select FFieldName from ICClassTableInfo where FClassTypeID=" + id +
                            " and FKeyWord='BILLNO' ")),
            Text(FirstValue("select  top 1 FTableName from ICClassTypeEntry where FParentID=" + id +
                            "\r\n" +
                            " and ((FIndex = 2 and FEntryType = 0) or FIndex = 1 ) order by "
                            "FIndex desc "))};
}

bool SamplesFollowedUp(const Variant& billId, std::string_view table, std::string_view column) {
    return RecordExists(
        "select " + std::string(column) + " from " + std::string(table) +
        " where FSampleNO in (select t2.FSampleNO from qmsampling t1 inner join qmsamplingentry "
        "t2 on t1.fid = t2.fid where t1.FID=" +
        SqlWhole(billId) + ")");
}

// The refusal of one selected record, or "" when it may be un-audited.
std::string UnAuditRefusal(const SamplingRecordClass& records, bool audited, const Variant& billId,
                           const std::string& named) {
    if (!audited)
        return named + LoadCVString("]反审核失败，该") + records.billName + LoadCVString("未审核!");
    if (SamplesFollowedUp(billId, "qmwatchlog", "FID"))
        return named + LoadCVString("]反审核失败,存在关联的留样观察记录!");
    if (SamplesFollowedUp(billId, "QMSampleDestroyentry", "FSampleNO"))
        return named + LoadCVString("]反审核失败,存在关联的样品销毁记录!");
    return "";
}

void UnAuditOneRecord(const SamplingRecordClass& records, const DataSrv& billTemplate,
                      ListResults& results, const Variant& billId) {
    const RecordsetPtr bill =
        RunQuery("select FCheckerID," + SqlName(records.numberField) + " as FBillNo from " +
                 SqlName(records.headTable) + " where FID=" + SqlWhole(billId));
    if (!HasRow(bill)) {
        results.ReportGone(records.billName);
        return;
    }
    const TaskLock lock(billTemplate.ClassType("Mutex"), kLockOperationAudit, billId);
    if (!lock.Held()) return;
    const std::string billNo = Text(bill->Fields("FBillNo"));
    const std::string named = "[" + billNo;
    const std::string refusal =
        UnAuditRefusal(records, IsAudited(NumberValue(bill->Fields("FCheckerID"))), billId, named);
    if (!refusal.empty()) {
        results.Report(refusal, refusal + "|");
        return;
    }
    // The service's answer says whether it un-audited; its text is for the user either way.
    std::string answer;
    if (!CheckBillByService(records.id, billId, false, answer)) {
        results.Report(named + "]" + answer, named + "]" + answer + "|");
        return;
    }
    const std::string done = named + LoadCVString("]反审核成功!");
    results.Report(done, done + "|");
    WriteActionLog(kLogKindBill, std::string("反审核") + ",单据编号：" + billNo, "DJPT100001");
}

void UnAuditSamplingRecords(ListEvents& list) {
    try {
        const DataSrvPtr billTemplate = list.DataSrv();
        if (!HasAccess(*billTemplate, kRightAudit)) {
            ShowNoRight();
            return;
        }
        const VectorPtr selected = list.List()->GetSelectedBillID();
        if (selected->Size() == 0) return;
        WaitCursor hourglass;
        const SamplingRecordClass records = ReadRecordClass(billTemplate->ClassTypeID());
        ListResults results(selected->Size() == 1, false);
        for (const Variant& billId : *selected) {
            UnAuditOneRecord(records, *billTemplate, results, billId);
            CurrentPlatform().DoEvents();
        }
        results.Show();
        ResumeNext([&] { list.List()->RefreshList(); });
    } catch (const std::exception& e) {
        SetErr(AsHostError(e));
        Inform(LoadCVString("反审核错误"));
    }
}

}  // namespace

// --- handlers ----------------------------------------------------------------------------------

void SamplingLogEvent::m_listInterface_BarInitialize(const ActiveBarPtr& oActiveBar) {
    TrapSilently([&] {
        AddListAuditTools(*m_listInterface, *oActiveBar);
        HideTools(*oActiveBar, {tool::kDelEntry, tool::kCopyEntry, tool::kCopy});
    });
}

// Rows of one record at a time, until a push command lets the host take rows of several.
void SamplingLogEvent::m_listInterface_AfterSelList(const Variant&, const VectorPtr& VectList) {
    TrapSilently([&] {
        if (m_pushing || !VectList || VectList->Size() == 0) return;
        const auto first = VectList->Item(1).ObjectAs<Dictionary>();
        const auto last = VectList->Item(VectList->Size()).ObjectAs<Dictionary>();
        if (!first || !last || WholeNumber(first->Item("FID")) == WholeNumber(last->Item("FID")))
            return;
        VectList->Clear();
        Inform(LoadCVString("不能选择多单，请重新选择！"));
    });
}

void SamplingLogEvent::m_listInterface_BarClick(const ToolPtr& Tool, bool& Cancel) {
    TrapSilently([&] {
        if (Cancel) return;
        const std::string name = Tool->Name();
        if (name == tool::kViewSourceBill) {
            Cancel = true;
            ShowSourceBill();
        } else if (name == kViewFollowUps) {
            Cancel = true;
            ShowFollowUpBills();
        } else if (name == tool::kCheck) {
            AuditSelectedBills(*m_listInterface, true, false);
        } else if (name == tool::kUnCheck) {
            UnAuditSamplingRecords(*m_listInterface);
        } else if (name == tool::kDelete) {
            Cancel = true;
            DeleteSelectedBills(*m_listInterface);
        } else if (name == kPushToObservation) {
            m_pushing = true;
            Cancel = true;
            Cancel = PushDownRefused(true) || !CanPushDown(*m_listInterface);
        } else if (name == kPushToDestruction) {
            m_pushing = true;
            Cancel = true;
            Cancel = PushDownRefused(false) || !PushedRecordAudited();
        }
    });
}

// --- steps ---------------------------------------------------------------------------------------

// One sample may be pushed: not destroyed, and, when it is to be observed, not kept past its
// deadline.
bool SamplingLogEvent::PushDownRefused(bool checkExpiry) {
    const ListCtlPtr list = m_listInterface->List();
    if (list->GetSelectedBillID()->Size() > 1) {
        Inform(LoadCVString("不能选择多单，请重新选择！"));
        return true;
    }
    if (list->GetSelectedBillInfo()->Size() > 1) {
        Inform(LoadCVString("不能选择多行，请重新选择！"));
        return true;
    }
    const std::optional<SelectedSample> sample = FirstSelectedSample(*m_listInterface);
    if (!sample) return true;
    const std::string ownRow = SampleRowCondition(*sample, "");
    const RecordsetPtr row =
        RunQuery("select FDestoryFlag,FSampleNO from qmsamplingentry" + ownRow);
    if (!HasRow(row)) return false;
    const std::string sampleNo = Text(row->Fields("FSampleNO"));
    if (NumberValue(row->Fields("FDestoryFlag")) != 0) {
        Inform("[" + sampleNo + LoadCVString("]已经销毁，不能下推！"));
        return true;
    }
    if (checkExpiry && RecordExists("select FSampleNo from qmsamplingentry where FSaveDT < "
                                    "CONVERT(DATETIME,CONVERT(CHAR(10),GETDATE(),120),120) AND" +
                                    ownRow.substr(std::string_view(" where").size()))) {
        Inform("[" + sampleNo + LoadCVString("]保存期限已过，不能下推！"));
        return true;
    }
    return false;
}

// A sample is destroyed only from an audited record.
bool SamplingLogEvent::PushedRecordAudited() {
    const std::optional<SelectedSample> sample = FirstSelectedSample(*m_listInterface);
    if (!sample) return false;
    const std::string table = Text(FirstValue("select FTableName from icclasstype where FID =" +
                                              std::to_string(kClassTypeID)));
    const RecordsetPtr bill = RunQuery("select FCheckerID,FBillNo from " + SqlName(table) +
                                       "  where FID =" + SqlWhole(sample->billId));
    if (!HasRow(bill)) return false;
    if (NumberValue(bill->Fields("FCheckerID")) != 0) return true;
    Inform(LoadCVString("单据：[") + Text(bill->Fields("FBillNo")) +
           LoadCVString("]还没有审核,不能下推！"));
    return false;
}

// The observation logs and destruction records made from the selected sample.
void SamplingLogEvent::ShowFollowUpBills() {
    const std::optional<SelectedSample> sample = FirstSelectedSample(*m_listInterface);
    if (!sample) return;
    const std::string where = SampleRowCondition(*sample, "b");
    const std::string observed = JoinedIds(
        "select a.FID from qmwatchlog a inner join qmsamplingentry b on "
        "a.FSampleNo=b.FSampleNo" +
        where);
    const std::string destroyed = JoinedIds(
        "select a.* from QMSampleDestroyentry a inner join  qmsamplingentry b on "
        "a.FSampleNo=b.FSampleNO" +
        where);
    if (observed.empty() && destroyed.empty()) {
        Inform(LoadCVString("所选[取样记录]没有关联的单据"));
        return;
    }
    DictionaryPtr pages = NewDictionary();
    if (!observed.empty())
        pages->SetItem("1", Variant(FollowUpPage(kObservationLogClass, "留样观察记录",
                                                 "qmwatchlog.FID in (" + observed + ")")));
    if (!destroyed.empty())
        pages->SetItem(std::to_string(pages->Count() + 1),
                       Variant(FollowUpPage(kDestructionClass, "样品销毁记录",
                                            "QMSampleDestroyentry.FID in (" + destroyed + ")")));
    const auto first = pages->Item("1").ObjectAs<Dictionary>();
    OpenBillLookUp(static_cast<int>(WholeNumber(first->Item("FClassID"))), pages);
}

// The bill the selected record's samples were taken from.
void SamplingLogEvent::ShowSourceBill() {
    const std::optional<SelectedSample> sample = FirstSelectedSample(*m_listInterface);
    const RecordsetPtr record =
        sample ? RunQuery(
                     " SELECT FSampleType,FReqBillID,FWorkOrderID,FManTaskID FROM qmsampling "
                     "WHERE FID = " +
                     SqlWhole(sample->billId))
               : nullptr;
    const VectorPtr links =
        HasRow(record) ? SourceLinks(static_cast<int>(WholeNumber(record->Fields("FSampleType"))))
                       : NewVector();
    if (links->Size() == 0) {
        Inform(LoadCVString("上查无关联记录."));
        return;
    }
    ShowLinkedBills(*m_listInterface, links);
}

}  // namespace velaqm

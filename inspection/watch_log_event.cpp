#include "inspection/watch_log_event.h"

#include <array>

#include "billops/audit.h"
#include "billops/audit_tools.h"
#include "billops/bill_values.h"
#include "billops/class_link.h"
#include "billops/entry_rows.h"
#include "billops/push_down.h"
#include "billops/server_queries.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/plugin_show.h"
#include "frame/sql_text.h"
#include "frame/text_util.h"

namespace velaqm {

namespace {

constexpr int kSamplingRecordClass = 1001906;
constexpr int kInspectionSchemeClass = 45;

constexpr std::string_view kCheckItem = "FCheckItemID";
// The cells of a filled row that are typed into on a locked bill.
constexpr std::array<std::string_view, 5> kObservationColumns = {
    "FVatchValue", "FVatchValueID", "FVatchValueQty", "FWatchResult", "FMemo1"};
// The cells a quantitative row shows with the decimals of its FBaseProperty.
constexpr std::array<std::string_view, 4> kMeasuredColumns = {"FSpecLowerLimit", "FSpecUpperLimit",
                                                              "FVatchValue", "FObjectValue"};
// What a newly chosen scheme empties in every row: the observation of the scheme before.
constexpr std::array<std::string_view, 3> kObservationResults = {"FVatchValue", "FWatchResult",
                                                                 "FMemo1"};

std::string ProblemText(const ObservationProblem& problem) {
    switch (problem.kind) {
        case ObservationProblem::Kind::kNoCheckItem:
            return RowText(problem.row, "行检验项目不能为空，请检查!");
        case ObservationProblem::Kind::kNoObservedValue:
            return RowText(problem.row, "行观察值必须录入，请检查!");
    }
    return "";
}

}  // namespace

void WatchLogEvent::Show(const Variant& oBillInterface) {
    const BillOrList host = SortBillOrList(oBillInterface);
    if (host.bill) m_BillInterface = host.bill;
    if (host.list) m_ListInterface = host.list;
}

// --- the bill: handlers ------------------------------------------------------------------------

void WatchLogEvent::m_billinterface_AfterCopyBill() {
    ApplyCheckerLock(*m_BillInterface);
}

void WatchLogEvent::m_BillInterface_AfterFillRow(int lRow, const DictionaryPtr&,
                                                 const DictionaryPtr&, const DictionaryPtr&) {
    if (lRow != -1) ApplyRowRule(lRow);
}

void WatchLogEvent::m_BillInterface_AfterLoadBill() {
    TrapSilently([&] {
        if (m_BillInterface->Mode() != bill_mode::kNew) {
            const BillValues values(*m_BillInterface);
            for (std::string_view key : {"FSampleNo", "FCheckProjectName"})
                m_BillInterface->BillCtl()->SetLockProperty(true, values.Field(key), false);
        }
        OpenObservationCells();
        bool keepRowTools = false;
        SetAuditMenuState(*m_BillInterface, keepRowTools);
        if (!m_BillInterface->BillCtl()->MutexSuccess() || Audited())
            m_BillInterface->RefreshDisplay();
        ApplyCheckerLock(*m_BillInterface);
    });
}

void WatchLogEvent::m_billinterface_AfterNewBill() {
    TrapSilently([&] {
        bool keepRowTools = false;
        SetAuditMenuState(*m_BillInterface, keepRowTools);
        ApplyCheckerLock(*m_BillInterface);
    });
}

void WatchLogEvent::m_BillInterface_AfterSelBill(int lSelBillType) {
    TrapSilently([&] { FillAfterSelection(lSelBillType); });
}

void WatchLogEvent::m_BillInterface_BarClick(const ToolPtr& Tool, bool& Cancel) {
    TrapSilently([&] {
        if (Cancel) return;
        const std::string name = Tool->Name();
        if (name == tool::kCheck) {
            if (!DestroyedSampleRefused(true)) AuditBill(*m_BillInterface, true);
        } else if (name == tool::kUnCheck) {
            if (!DestroyedSampleRefused(false)) AuditBill(*m_BillInterface, false);
        } else if (name == tool::kDataLookUp) {
            if (EqualsNoCase(m_currentField, "FSampleNO"))
                SelectSourceBills(*m_BillInterface, kSamplingRecordClass);
            else if (EqualsNoCase(m_currentField, "FCheckProjectName"))
                SelectSourceBills(*m_BillInterface, kInspectionSchemeClass);
        } else if (name == tool::kDelRow) {
            RefuseLastRowDelete(*m_BillInterface, kCheckItem, Cancel);
        }
    });
}

void WatchLogEvent::m_BillInterface_BarInitialize(const ActiveBarPtr& oActiveBar) {
    TrapSilently([&] { ShowAuditTools(oActiveBar); });
}

// A check that cannot be made refuses the save: an unchecked log is never saved.
void WatchLogEvent::m_billinterface_BeforeSave(bool& bCancel) {
    TrapAndShow(LoadCVString("检查出错，原因："), [&] {
        bCancel = true;
        bCancel = SaveRefused();
    });
}

// The head has no row: the row rule is for the grid's rows only.
void WatchLogEvent::m_billinterface_BeginEdit(const DictionaryPtr& dct, int, int Row) {
    TrapSilently([&] {
        const std::string key = Text(dct->Item("FKey"));
        m_currentField = key;
        if ((EqualsNoCase(key, "FSampleNO") || EqualsNoCase(key, "FCheckProjectName")) &&
            m_BillInterface->BillCtl()->MutexSuccess() && !Audited())
            m_BillInterface->SetBarStatus(tool::kDataLookUp, kEnabled, true);
        if (Row >= 1) ApplyRowRule(Row);
    });
}

void WatchLogEvent::m_BillInterface_Change(const DictionaryPtr& dct, const DictionaryPtr&, int,
                                           int Row, bool&) {
    TrapSilently([&] {
        const std::string field = Text(dct->Item("FFieldName"));
        if (field == "FCheckProjectName") {
            FillScheme();
        } else if (field == "FSampleNo") {
            if (CheckSample()) FillAfterSelection(kSamplingRecordClass);
        } else if (field == kCheckItem && Row >= 1) {
            ApplyRowRule(Row);
        }
    });
}

// --- the bill: steps ---------------------------------------------------------------------------

// A typed sample must be one kept from an audited sampling record: not destroyed and not past
// its keep-until date. It fills the head through the class link; a sample that does not qualify
// starts the log again, so that nothing of an earlier sample stays behind.
bool WatchLogEvent::CheckSample() {
    const std::string sampleNo = HeadText("FSampleNO");
    if (sampleNo.empty()) {
        EmptyBill();
        return true;
    }
    const RecordsetPtr rows = RunQuery(
        " select qmsampling.FID,qmsampling.FClassTypeID,qmsamplingentry.FEntryID from qmsampling "
        " inner join qmsamplingentry  on qmsampling.FID=qmsamplingentry.FID "
        " where qmsamplingentry.FSampleNo= " +
        SqlText(sampleNo) +
        " AND QMSampling.FCheckerID<>0 AND QMSamplingentry.FDestoryFlag=0 AND "
        "(QMSamplingentry.FSaveDT >= CONVERT(DATETIME,CONVERT(CHAR(10),GETDATE(),120),120) OR "
        "QMSamplingentry.FSaveDT IS NULL)");
    if (!HasRow(rows)) {
        EmptyBill();
        return false;
    }
    const VectorPtr samples = RowDictionaries(rows);
    if (samples->Size() == 0) {
        Inform(LoadCVString("你输入的样品编号有误,请检查"));
        return false;
    }
    FillThroughClassLink(*m_BillInterface, kSamplingRecordClass, samples);
    return true;
}

// After a sample was chosen: its record and date, the scheme of its item with the check items.
// The open cells are set last whatever was filled.
void WatchLogEvent::FillAfterSelection(int sourceClassTypeId) {
    if (sourceClassTypeId == kSamplingRecordClass) {
        FillFromSampleRecord(HeadText("FSampleNo"));
        FillFromItemScheme();
    }
    OpenObservationCells();
}

void WatchLogEvent::FillFromSampleRecord(const std::string& sampleNo) {
    const RecordsetPtr record = RunQuery(
        "select  a.FBillNO,a.FSamplingDT from qmsampling a"
        " inner join qmsamplingentry b on a.FID=b.FID"
        " where  b.FSampleNo=" +
        SqlText(sampleNo));
    if (!HasRow(record)) return;
    const BillValues values(*m_BillInterface);
    const Variant billNo = record->Fields("FBillNO");
    const Variant sampled = record->Fields("FSamplingDT");
    values.SetLookup("FSampleBillNo", billNo, Text(billNo), Text(billNo));
    values.SetLookup("FSampleDate", sampled, Text(sampled), Text(sampled));
}

// An item without an ID has no scheme: nothing is asked.
void WatchLogEvent::FillFromItemScheme() {
    const std::string item = Trim(HeadText("FItemCode"));
    if (item.empty()) return;
    const RecordsetPtr scheme = RunQuery(
        "select a.FInterID,a.FBillNo,a.FSchemeName from icqcscheme a"
        " inner join t_icitem b on a.FInterID=b.FInspectionProject"
        " where  a.FStatus>0 AND b.FItemID =" +
        SqlWhole(Variant(item)));
    if (!HasRow(scheme)) return;
    const std::string number = Text(scheme->Fields("FBillNo"));
    const BillValues values(*m_BillInterface);
    values.SetLookup("FCheckProjectName", number, Text(scheme->Fields("FSchemeName")), number);
    for (int row = 1; row <= values.EntryRows(); ++row)
        for (std::string_view key : kObservationResults)
            values.ClearCell(key, row);
    FillScheme();
}

// The scheme named in the head fills the check items, when it is approved and valid today. A
// scheme that is not takes its rows with it.
void WatchLogEvent::FillScheme() {
    const std::string number = HeadText("FCheckProjectName");
    if (number.empty()) return;
    const RecordsetPtr rows = RunQuery(
        " select a.FInterID ,a.FTrantype 'FClassTypeID',b.FIdentity from IcqcScheme a"
        " inner join IcqcSchemeEntry b on a.FinterID=b.FInterID"
        " Where a.FStatus=1 AND GetDate() BETWEEN a.FValidDate AND a.FInValidDate AND "
        "a.FBillNO = " +
        SqlText(number));
    if (!HasRow(rows)) {
        m_BillInterface->SetValueByKey("FCheckProjectName", "", -1);
        m_BillInterface->ClearPage(kEntryPage);
        return;
    }
    const VectorPtr scheme = RowDictionaries(rows);
    if (scheme->Size() == 0) {
        Inform(LoadCVString("你输入的检验方案代码有错,请检查"));
        return;
    }
    FillThroughClassLink(*m_BillInterface, kInspectionSchemeClass, scheme);
}

// The log starts again from the template's empty bill; the bill keeps its number.
void WatchLogEvent::EmptyBill() {
    const auto empty = m_BillInterface->DataSrv()->GetEmptyBill().ObjectAs<Dictionary>();
    const BillCtlPtr form = m_BillInterface->BillCtl();
    form->SetData(empty);
    form->DoFilldata(empty);
}

void WatchLogEvent::OpenObservationCells() {
    OpenFilledRowCells(*m_BillInterface, kCheckItem, kObservationColumns);
}

void WatchLogEvent::ApplyRowRule(int row) {
    ApplyBaseProperty(*m_BillInterface, row, kMeasuredColumns);
}

// A destroyed sample's log stays as it is: neither audited nor un-audited.
bool WatchLogEvent::DestroyedSampleRefused(bool forAudit) {
    const RecordsetPtr flag = RunQuery("select FDestoryFlag from qmsamplingentry where FSampleNO=" +
                                       SqlText(HeadText("FSampleNO")));
    if (!HasRow(flag) || !Truth(flag->Fields(0))) return false;
    Inform(LoadCVString("样品已经销毁，不能", kTextTrailingBlank) +
           (forAudit ? "" : LoadCVString("反")) + LoadCVString("审核！"));
    return true;
}

bool WatchLogEvent::SaveRefused() {
    if (!RecordExists("select FSampleNo from QMSamplingEntry where FSampleNo=" +
                      SqlText(HeadText("FSampleNo")))) {
        Inform(LoadCVString("取样编号不存在，请检查！"));
        return true;
    }
    const BillValues values(*m_BillInterface);
    if (!ObservationDateAccepted(ToDate(values.Head("FWatchDate")),
                                 ToDate(values.Head("FSampleDate")))) {
        Inform(LoadCVString("观察日期必须大于等于取样日期，请检查！"));
        return true;
    }
    const std::vector<ObservationRow> rows = ObservationRows();
    if (const auto problem = FirstRowProblem(rows)) {
        Inform(ProblemText(*problem));
        return true;
    }
    return false;
}

bool WatchLogEvent::Audited() {
    return IsAudited(BillValues(*m_BillInterface).HeadNumber("FCheckerID"));
}

// --- reading the bill --------------------------------------------------------------------------

std::string WatchLogEvent::HeadText(std::string_view key) {
    return Text(m_BillInterface->GetHeadValue(key));
}

// The entry rows that hold data, each with its row number in the grid. The field infos are
// asked for once: a long log is read cell by cell.
std::vector<ObservationRow> WatchLogEvent::ObservationRows() {
    BillEvent& bill = *m_BillInterface;
    const BillValues values(bill);
    const BillCtlPtr form = bill.BillCtl();
    const DictionaryPtr checkItem = values.Field(kCheckItem);
    const DictionaryPtr valueId = values.Field("FVatchValueID");
    const DictionaryPtr valueQty = values.Field("FVatchValueQty");
    auto cell = [&](const DictionaryPtr& field, int row) {
        return Text(bill.GetDataFld(field, row)->Item("FFLD"));
    };
    std::vector<ObservationRow> rows;
    const int last = values.EntryRows();
    for (int row = 1; row <= last; ++row) {
        if (!form->IsHaveData(kEntryPage, row)) continue;
        rows.push_back({.row = row,
                        .checkItem = cell(checkItem, row),
                        .valueId = cell(valueId, row),
                        .valueQty = cell(valueQty, row)});
    }
    return rows;
}

}  // namespace velaqm

#include "sampling/sampling_log_event.h"

#include <array>

#include "billops/audit.h"
#include "billops/audit_tools.h"
#include "billops/bill_values.h"
#include "billops/list_selection.h"
#include "billops/server_queries.h"
#include "billops/source_bills.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/plugin_show.h"
#include "frame/sql_text.h"
#include "frame/text_util.h"

namespace velaqm {

namespace {

constexpr int kSampleTypeClass = 1001322;
constexpr std::string_view kDefaultSampleType = "001";
constexpr std::string_view kNeedFilterTool = "mnuFileNeedFilter";
constexpr int kSourceLookupType = 100;

// The head fields that say where a saved record's samples came from.
constexpr std::array<std::string_view, 4> kSourceFields = {"FSampleType", "FManTaskNo",
                                                           "FWorkOrderNo", "FReqBillNo"};

std::string SampleProblemText(const SampleProblem& problem) {
    using Kind = SampleProblem::Kind;
    const std::string row = std::to_string(problem.row);
    switch (problem.kind) {
        case Kind::kNumberStored:
            return RowText(problem.row, "行的样品编号已经存在，请检查!");
        case Kind::kNumberRepeated:
            return RowText(problem.row, "行的样品编号[") + problem.sampleNo +
                   LoadCVString("]已经存在,请检查.");
        case Kind::kKeptTooShort:
            return RowText(problem.row, "行的保存期限必须大于等于当前日期，请检查!");
        case Kind::kNoProcess:
            return LoadCVString("工序取样时[第", kTextTrailingBlank) + row +
                   LoadCVString("行]工序必须录入，请检查!");
        case Kind::kNoWorkCentre:
            return LoadCVString("工序取样时[第", kTextTrailingBlank) + row +
                   LoadCVString("行]工作中心必须录入，请检查!");
        case Kind::kNoOutsourcedProcess:
            return LoadCVString("委外工序取样时[第", kTextTrailingBlank) + row +
                   LoadCVString("行]工序必须录入，请检查!");
        case Kind::kNoVendor:
            return LoadCVString("委外工序取样时[第", kTextTrailingBlank) + row +
                   LoadCVString("行]供应商必须录入，请检查!");
    }
    return "";
}

bool IsSourceLookup(const DictionaryPtr& field) {
    return field && WholeNumber(field->Item("FLookUpType")) == kSourceLookupType;
}

}  // namespace

void SamplingLogEvent::Show(const Variant& oBillInterface) {
    const BillOrList host = SortBillOrList(oBillInterface);
    if (host.bill) m_BillInterface = host.bill;
    if (host.list) m_listInterface = host.list;
}

// --- the bill: handlers ------------------------------------------------------------------------

void SamplingLogEvent::m_BillInterface_BarInitialize(const ActiveBarPtr& oActiveBar) {
    TrapSilently([&] {
        for (std::string_view key : {tool::kUnCheck, tool::kCheck, kNeedFilterTool})
            oActiveBar->Tools()->Item(key)->SetVisible(true);
    });
}

void SamplingLogEvent::m_BillInterface_BarClick(const ToolPtr& Tool, bool& Cancel) {
    TrapSilently([&] {
        if (Cancel) return;
        const std::string name = Tool->Name();
        if (name == tool::kCheck)
            AuditBill(*m_BillInterface, true);
        else if (name == tool::kUnCheck && !UnAuditRefused())
            AuditBill(*m_BillInterface, false);
        else if (name == tool::kDataLookUp)
            LookUpSource();
    });
}

void SamplingLogEvent::m_BillInterface_AfterLoadBill() {
    TrapSilently([&] {
        SetUpSampleType();
        LockSavedSource();
        HideAuditToolsFromOthers();
        bool keepRowTools = true;
        SetAuditMenuState(*m_BillInterface, keepRowTools);
        const BillValues values(*m_BillInterface);
        if (IsAudited(values.HeadNumber("FCheckerID")) ||
            !m_BillInterface->BillCtl()->MutexSuccess())
            m_BillInterface->RefreshDisplay();
        ApplyCheckerLock(*m_BillInterface);
    });
}

void SamplingLogEvent::m_billinterface_AfterCopyBill() {
    TrapSilently([&] { ApplyCheckerLock(*m_BillInterface); });
}

void SamplingLogEvent::m_billinterface_AfterNewBill() {
    TrapSilently([&] {
        SetUpSampleType();
        bool keepRowTools = true;
        SetAuditMenuState(*m_BillInterface, keepRowTools);
        ApplyCheckerLock(*m_BillInterface);
    });
}

void SamplingLogEvent::m_BillInterface_AfterNewEmptyData() {
    TrapSilently([&] {
        const std::string name = GetQMaInfoName(kSampleTypeClass, kDefaultSampleType);
        BillValues(*m_BillInterface)
            .SetLookup("FSampleType", sample_type::kPurchaseReceipt, name,
                       std::string(kDefaultSampleType));
    });
}

void SamplingLogEvent::m_billinterface_BeginEdit(const DictionaryPtr& dct, int, int) {
    TrapSilently([&] {
        m_enteredField = dct;
        if (Text(dct->Item("FFieldName")) != "FSampleType") return;
        const DictionaryPtr type = BillValues(*m_BillInterface).Data("FSampleType");
        m_previousType = RememberedType{Text(type->Item("FFLD")), Text(type->Item("FDSP")),
                                        Text(type->Item("FFND"))};
    });
}

void SamplingLogEvent::m_billinterface_Change(const DictionaryPtr& dct, const DictionaryPtr&, int,
                                              int Row, bool&) {
    TrapSilently([&] {
        const std::string field = Text(dct->Item("FFieldName"));
        if (field == "FSampleType")
            SetUpSampleType();
        else if (EqualsNoCase(field, "FSampleNo"))
            RefuseRepeatedNumber(Row);
        else if (IsSourceLookup(dct))
            FillFromTypedSource(dct, Row);
    });
}

// A check that cannot be made refuses the save: an unchecked record is never saved.
void SamplingLogEvent::m_billinterface_BeforeSave(bool& bCancel) {
    TrapAndShow(LoadCVString("检查出错，原因："), [&] {
        bCancel = true;
        bCancel = SaveRefused();
    });
}

// --- the bill: steps ---------------------------------------------------------------------------

void SamplingLogEvent::SetUpSampleType() {
    const DictionaryPtr chosen = BillValues(*m_BillInterface).Data("FSampleType");
    const std::string id = Text(chosen->Item("FFLD"));
    if (m_BillInterface->Mode() == bill_mode::kNew && m_previousType && m_previousType->id != id)
        EmptyBillKeeping(id, Text(chosen->Item("FDSP")), Text(chosen->Item("FFND")));
    const SampleTypeForm form = SampleTypeFormOf(SampleType());
    ApplySampleTypeFields(form);
    ApplySampleTypeLookups(form);
}

// A new record that changes its kind starts again: everything but the sample type is emptied.
void SamplingLogEvent::EmptyBillKeeping(const std::string& id, const std::string& text,
                                        const std::string& number) {
    const auto empty = m_BillInterface->DataSrv()->GetEmptyBill().ObjectAs<Dictionary>();
    const BillCtlPtr form = m_BillInterface->BillCtl();
    form->SetData(empty);
    form->DoFilldata(empty);
    BillValues(*m_BillInterface).SetLookup("FSampleType", Variant(WholeNumber(id)), text, number);
}

void SamplingLogEvent::ApplySampleTypeFields(const SampleTypeForm& form) {
    const BillValues values(*m_BillInterface);
    for (std::size_t i = 0; i < kSampleTypeFields.size(); ++i) {
        const DictionaryPtr field = values.Field(kSampleTypeFields[i]);
        m_BillInterface->EnableField(field, form.enabled[i]);
        if (kSampleTypeFields[i] == "FManTaskNo" && form.manTaskLocked)
            m_BillInterface->BillCtl()->SetLockProperty(*form.manTaskLocked, field, false);
    }
}

void SamplingLogEvent::ApplySampleTypeLookups(const SampleTypeForm& form) {
    const BillValues values(*m_BillInterface);
    for (std::string_view key : form.clearedLookups) {
        const DictionaryPtr data = values.Data(key);
        if (data->Exists("FFND")) continue;
        data->SetItem("FFND", "");
        data->SetItem("FDSP", "");
    }
    for (const LookupSetting& lookup : form.lookups) {
        const DictionaryPtr info = values.Field(lookup.key);
        if (lookup.classId) info->SetItem("FLookupClassID", *lookup.classId);
        if (lookup.table) {
            const bool points = !lookup.table->empty();
            info->SetItem("FSRCTableName", std::string(*lookup.table));
            info->SetItem("FSRCFieldName", points ? "FInterID" : "");
            info->SetItem("FDSPFieldName", points ? "FBillNo" : "");
            info->SetItem("FFNDFieldName", points ? "FBillNo" : "");
        }
        if (lookup.filter) info->SetItem("FFilter", std::string(*lookup.filter));
        if (lookup.lookupType) info->SetItem("FLookupType", *lookup.lookupType);
    }
}

// A saved record keeps the source it was taken from.
void SamplingLogEvent::LockSavedSource() {
    if (m_BillInterface->Mode() != bill_mode::kExisting) return;
    const BillValues values(*m_BillInterface);
    for (std::string_view key : kSourceFields)
        m_BillInterface->BillCtl()->SetLockProperty(true, values.Field(key), false);
}

void SamplingLogEvent::HideAuditToolsFromOthers() {
    if (m_BillInterface->BillCtl()->MutexSuccess()) return;
    m_BillInterface->SetBarStatus(tool::kUnCheck, kVisible, false);
    m_BillInterface->SetBarStatus(tool::kCheck, kVisible, false);
}

bool SamplingLogEvent::SaveRefused() {
    const std::vector<SampleRow> rows = SampleRows();
    std::optional<SampleProblem> problem;
    for (const SampleRow& row : rows)
        if (!row.sampleNo.empty() && SampleNumberStored(row)) {
            problem = SampleProblem{SampleProblem::Kind::kNumberStored, row.row, row.sampleNo};
            break;
        }
    if (!problem) problem = RepeatedSampleNumber(rows);
    if (!problem) {
        const Date today = GetServerDate();
        const int type = SampleType();
        for (const SampleRow& row : rows)
            if ((problem = RowRefused(row, type, today))) break;
    }
    if (problem) Inform(SampleProblemText(*problem));
    return problem.has_value();
}

// Another sampling record holds the sample number. A new record asks every record; a saved one
// every record but itself, so that a number cannot be taken over by editing either.
bool SamplingLogEvent::SampleNumberStored(const SampleRow& row) {
    const int mode = m_BillInterface->Mode();
    if (mode != bill_mode::kNew && mode != bill_mode::kExisting) return false;
    std::string sql =
        "select FSampleNO from QMSamplingEntry where FSampleNO= " + SqlText(row.sampleNo);
    if (mode == bill_mode::kExisting) sql += " and FID<>" + SqlWhole(m_BillInterface->CurBillID());
    return RecordExists(sql);
}

void SamplingLogEvent::RefuseRepeatedNumber(int Row) {
    const BillValues values(*m_BillInterface);
    const std::string typed = Text(values.Entry("FSampleNO", Row));
    const std::optional<int> holder = RowHoldingNumber(SampleRows(), Row, typed);
    if (!holder) return;
    Inform(LoadCVString("第[") + std::to_string(Row) + LoadCVString("]行的样品编号和第[") +
           std::to_string(*holder) + LoadCVString("]行的样品编号重复，请检查!"));
    values.ClearCell("FSampleNO", Row);
    m_BillInterface->SetFieldText(values.Field("FSampleNO"), "", Row);
}

// A record whose samples are under observation or destroyed stays audited.
bool SamplingLogEvent::UnAuditRefused() {
    for (const SampleRow& row : SampleRows()) {
        if (row.sampleNo.empty()) continue;
        const std::string number = SqlText(row.sampleNo);
        const std::string at = LoadCVString("[第", kTextTrailingBlank) + std::to_string(row.row);
        if (RecordExists("select FID from qmwatchlog where FSampleNO=" + number)) {
            Inform(at + LoadCVString("行]样品编号存在关联的留样观察记录，不能反审核！"));
            return true;
        }
        if (RecordExists("select FSampleNO from QMSampleDestroyentry where FSampleNO=" + number)) {
            Inform(at + LoadCVString("行]样品编号存在关联的样品销毁记录，不能反审核！"));
            return true;
        }
    }
    return false;
}

// The lookup command on a source-bill field: the user picks the source in its list.
void SamplingLogEvent::LookUpSource() {
    if (!IsSourceLookup(m_enteredField)) return;
    const Variant chosen = ShowListSelection(
        static_cast<int>(WholeNumber(m_enteredField->Item("FLookupClassID"))),
        {.tool = std::string(kNeedFilterTool)}, Text(m_enteredField->Item("FFilter")));
    if (const auto rows = chosen.ObjectAs<Vector>(); rows && rows->Size() > 0)
        FillFromSource(m_enteredField, rows);
}

// A source-bill number typed in: the bill is filled from the source it names, or the field is
// emptied when there is none.
void SamplingLogEvent::FillFromTypedSource(const DictionaryPtr& field, int Row) {
    const VectorPtr rows =
        FindSourceBills(*m_BillInterface, field, m_BillInterface->GetDataFld(field, Row));
    if (rows && rows->Size() > 0) FillFromSource(field, rows);
}

void SamplingLogEvent::FillFromSource(const DictionaryPtr& field, const VectorPtr& chosen) {
    const std::string linkKey = SourceLinkKey(Text(field->Item("FKey")), SampleType());
    const DictionaryPtr filled =
        FillFromSourceBills(*m_BillInterface, linkKey, chosen, nullptr, nullptr, "");
    if (!filled) return;
    m_BillInterface->BillCtl()->DoFilldata(filled);
    ApplySampleTypeFields(SampleTypeFormOf(SampleType()));
}

// --- reading the bill --------------------------------------------------------------------------

int SamplingLogEvent::SampleType() {
    return static_cast<int>(BillValues(*m_BillInterface).HeadNumber("FSampleType"));
}

// The entry rows that hold data, each with its row number in the grid.
std::vector<SampleRow> SamplingLogEvent::SampleRows() {
    const BillValues values(*m_BillInterface);
    const BillCtlPtr form = m_BillInterface->BillCtl();
    std::vector<SampleRow> rows;
    for (int row = 1; row <= values.EntryRows(); ++row) {
        if (!form->IsHaveData(kEntryPage, row)) continue;
        const std::string keepUntil = Trim(Text(values.Entry("FSaveDT", row)));
        rows.push_back({.row = row,
                        .sampleNo = Text(values.Entry("FSampleNO", row)),
                        .keepUntil = keepUntil.empty() ? std::nullopt : ToDate(Variant(keepUntil)),
                        .process = Text(values.Entry("FWorkProcID", row)),
                        .workCentre = Text(values.Entry("FWorkCenterID", row)),
                        .vendor = Text(values.Entry("FVendorID", row))});
    }
    return rows;
}

}  // namespace velaqm

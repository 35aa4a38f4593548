#include "inspection/sample_destroy.h"

#include <array>

#include "billops/audit.h"
#include "billops/audit_tools.h"
#include "billops/bill_tools.h"
#include "billops/bill_values.h"
#include "billops/class_link.h"
#include "billops/entry_rows.h"
#include "billops/push_down.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/login.h"
#include "frame/platform.h"
#include "frame/plugin_show.h"
#include "frame/text_util.h"
#include "inspection/sample_destroy_rules.h"

namespace velaqm {

namespace {

// The rows' sample column, locked: samples come only from the sampling record.
constexpr std::string_view kSampleColumn = "FSampleNo_2";
// What is recorded against each sample destroyed.
constexpr std::array<std::string_view, 4> kDestructionColumns = {"FReason", "FDestroyerID",
                                                                 "FDestroyDate", "FNote"};
// How the host's selection takes the source bills it offers: one sampling record's samples.
constexpr int kSelectSamplesMode = 2;

}  // namespace

void CSampleDestroy::Show(const Variant& oBillInterface) {
    const BillOrList host = SortBillOrList(oBillInterface);
    if (host.bill) m_Bill = host.bill;
    if (host.list) m_List = host.list;
}

// --- the bill: handlers ------------------------------------------------------------------------

void CSampleDestroy::m_Bill_AfterCopyBill() {
    ApplyCheckerLock(*m_Bill);
}

void CSampleDestroy::m_Bill_AfterLoadBill() {
    TrapSilently([&] {
        LockSavedSamplingRecord();
        OpenDestructionCells();
        bool keepRowTools = false;
        SetAuditMenuState(*m_Bill, keepRowTools);
        if (!m_Bill->BillCtl()->MutexSuccess() || Audited()) m_Bill->RefreshDisplay();
        ApplyCheckerLock(*m_Bill);
    });
}

void CSampleDestroy::m_Bill_AfterSelBill(int) {
    OpenDestructionCells();
}

void CSampleDestroy::m_Bill_BeforeSelBills(int, const DataSrvPtr&, const DictionaryPtr&,
                                           std::string&, const DictionaryPtr&) {
    m_Bill->BillData()->SetItem("AddModel", false);
    m_Bill->SetSelectMode(kSelectSamplesMode);
}

void CSampleDestroy::m_Bill_AfterNewBill() {
    TrapSilently([&] {
        bool keepRowTools = false;
        SetAuditMenuState(*m_Bill, keepRowTools);
        ApplyCheckerLock(*m_Bill);
    });
}

void CSampleDestroy::m_Bill_BarClick(const ToolPtr& Tool, bool& Cancel) {
    TrapSilently([&] {
        if (Cancel) return;
        const std::string name = Tool->Name();
        if (name == tool::kCheck)
            AuditBill(*m_Bill, true);
        else if (name == tool::kUnCheck)
            AuditBill(*m_Bill, false);
        else if (name == tool::kDataLookUp && NamesSamplingRecord(m_currentField))
            SelectSourceBills(*m_Bill, kSamplingRecordClass);
        else if (name == tool::kDelRow)
            RefuseLastRowDelete(*m_Bill, kSampleColumn, Cancel);
    });
}

// The audit tools are offered; a destruction record is never copied, its samples being gone.
void CSampleDestroy::m_Bill_BarInitialize(const ActiveBarPtr& oActiveBar) {
    TrapSilently([&] {
        const ToolCollectionPtr tools = oActiveBar->Tools();
        tools->Item(tool::kUnCheck)->SetVisible(true);
        tools->Item(tool::kCheck)->SetVisible(true);
        tools->Item(tool::kCopy)->SetVisible(false);
        tools->Item(tool::kCopy)->SetEnabled(false);
    });
}

void CSampleDestroy::m_Bill_BeginEdit(const DictionaryPtr& dct, int, int) {
    TrapSilently([&] {
        if (NamesSamplingRecord(Text(dct->Item("FKey"))) && m_Bill->BillCtl()->MutexSuccess() &&
            !Audited())
            m_Bill->SetBarStatus(tool::kDataLookUp, kEnabled, true);
        m_currentField = Text(dct->Item("Fkey"));
    });
}

// A check that cannot be made leaves no number behind it: only a checked sampling record names
// the samples of a destruction record.
void CSampleDestroy::m_Bill_Change(const DictionaryPtr& dct, const DictionaryPtr&, int, int,
                                   bool&) {
    TrapSilently([&] {
        if (!NamesSamplingRecord(Text(dct->Item("FKey")))) return;
        try {
            FillFromSamplingRecord();
        } catch (const std::exception&) {
            ResumeNext([&] { ForgetSamplingRecord(); });
            throw;
        }
    });
}

// --- the bill: steps ---------------------------------------------------------------------------

void CSampleDestroy::OpenDestructionCells() {
    OpenFilledRowCells(*m_Bill, kSampleColumn, kDestructionColumns);
}

// A saved record keeps the sampling record its samples came from.
void CSampleDestroy::LockSavedSamplingRecord() {
    if (m_Bill->Mode() == bill_mode::kNew) return;
    m_Bill->BillCtl()->SetLockProperty(true, BillValues(*m_Bill).Field("FSampleNo"), false);
}

// The typed number brings in the samples of that audited sampling record not yet destroyed. A
// number that names none, or nothing typed, takes away the samples an earlier number brought.
void CSampleDestroy::FillFromSamplingRecord() {
    const std::string number = Text(m_Bill->GetHeadValue("FSampleNO"));
    if (number.empty()) {
        ForgetSamplingRecord();
        return;
    }
    const Variant found = CreateObject<GradingData>(progid::kGradingData)
                              ->GetData(GetPropsString(), UndestroyedSamplesQuery(number));
    const VectorPtr samples = found.ObjectAs<Vector>();
    if (!samples || samples->Size() == 0) {
        ForgetSamplingRecord();
        return;
    }
    FillThroughClassLink(*m_Bill, kSamplingRecordClass, samples);
    OpenDestructionCells();
}

void CSampleDestroy::ForgetSamplingRecord() {
    m_Bill->SetValueByKey("FSampleNO", "", -1);
    m_Bill->SetValueByKey("FSampleID", 0, -1);
    if (!FilledRows(*m_Bill, kSampleColumn).empty()) m_Bill->ClearPage(kEntryPage);
}

bool CSampleDestroy::Audited() {
    return IsAudited(NumberValue(m_Bill->GetHeadValue("FCheckerID")));
}

}  // namespace velaqm

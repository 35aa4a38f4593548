#include "inspection/quality_standard.h"

#include "billops/audit.h"
#include "billops/audit_tools.h"
#include "billops/bill_values.h"
#include "billops/class_link.h"
#include "billops/entry_rows.h"
#include "billops/push_down.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/login.h"
#include "frame/messages.h"
#include "frame/platform.h"
#include "frame/plugin_show.h"
#include "inspection/quality_standard_rules.h"

namespace velaqm {

void QualityStandard::Show(const Variant& oBillInterface) {
    m_billinterface = BillObjectOf(oBillInterface);
}

// --- handlers ----------------------------------------------------------------------------------

// No trap: a failure goes back to the host.
void QualityStandard::m_billinterface_AfterCopyBill() {
    ApplyCheckerLock(*m_billinterface);
}

void QualityStandard::m_BillInterface_BarInitialize(const ActiveBarPtr& oActiveBar) {
    TrapSilently([&] { ShowAuditTools(oActiveBar); });
}

void QualityStandard::m_BillInterface_BarClick(const ToolPtr& Tool, bool& Cancel) {
    TrapSilently([&] {
        if (Cancel) return;
        const std::string name = Tool->Name();
        if (name == tool::kCheck)
            AuditBill(*m_billinterface, true);
        else if (name == tool::kUnCheck)
            AuditBill(*m_billinterface, false);
        else if (name == tool::kDataLookUp && IsSchemeField(m_currentField))
            SelectSourceBills(*m_billinterface, kInspectionSchemeClass);
    });
}

void QualityStandard::m_BillInterface_AfterLoadBill() {
    TrapSilently([&] {
        const LoadState state =
            LoadStateOf(m_billStatus, m_billinterface->BillCtl()->MutexSuccess(), Checker());
        if (state.lockSchemeField)
            m_billinterface->BillCtl()->SetLockProperty(
                true, BillValues(*m_billinterface).Field("FQCSchemeNo"), false);
        if (state.refreshDisplay) m_billinterface->RefreshDisplay();
        if (state.hideAuditTools) {
            m_billinterface->SetBarStatus(tool::kUnCheck, kVisible, false);
            m_billinterface->SetBarStatus(tool::kCheck, kVisible, false);
        }
        bool keepRowTools = true;
        SetAuditMenuState(*m_billinterface, keepRowTools);
        ApplyCheckerLock(*m_billinterface);
    });
}

// No trap: a failure goes back to the host. The row rule keeps its own failures.
void QualityStandard::m_BillInterface_AfterFillRow(int lRow, const DictionaryPtr&,
                                                   const DictionaryPtr&, const DictionaryPtr&) {
    if (lRow != -1) ApplyRowRule(lRow);
}

void QualityStandard::m_billinterface_BeforLoadBillFillData() {
    TrapSilently([&] {
        if (m_billStatus == -1) m_billStatus = m_billinterface->BillStatus();
    });
}

void QualityStandard::m_billinterface_AfterNewBill() {
    TrapSilently([&] {
        bool keepRowTools = true;
        SetAuditMenuState(*m_billinterface, keepRowTools);
        ApplyCheckerLock(*m_billinterface);
    });
}

void QualityStandard::m_billinterface_BeginEdit(const DictionaryPtr& dct, int, int Row) {
    TrapSilently([&] {
        const std::string field = Text(dct->Item("FFieldName"));
        if (IsSchemeField(field)) OfferSchemeLookUp();
        // The head comes as row 0 (or -1): only grid rows have a row rule.
        if (Row >= 1) ApplyRowRule(Row);
        m_currentField = field;
    });
}

void QualityStandard::m_BillInterface_Change(const DictionaryPtr& dct, const DictionaryPtr&, int,
                                             int Row, bool&) {
    TrapSilently([&] {
        switch (ChangeRuleOf(Text(dct->Item("FFieldName")))) {
            case ChangeRule::kSchemeCheck:
                CheckScheme();
                break;
            case ChangeRule::kRowRule:
                ApplyRowRule(Row);
                break;
            case ChangeRule::kTargetRule:
                ApplyTargetRule(Row);
                break;
            case ChangeRule::kNone:
                break;
        }
    });
}

// --- steps -------------------------------------------------------------------------------------

void QualityStandard::OfferSchemeLookUp() {
    if (OffersSchemeLookUp(m_billinterface->BillCtl()->MutexSuccess(), Checker()))
        m_billinterface->SetBarStatus(tool::kDataLookUp, kEnabled, true);
}

// A typed scheme number fills the bill from that scheme; one that names no scheme is refused
// and emptied. The rows an earlier scheme filled stay: they may have been worked on since.
void QualityStandard::CheckScheme() {
    const std::optional<std::string> number =
        SchemeNumberToCheck(Text(m_billinterface->GetHeadValue("FQCSchemeNo")));
    if (!number) return;
    const auto access = CreateObject<DataInfo>(progid::kDataInfo);
    const VectorPtr schemes = access->GetQCSchemeBilldata(GetPropsString(), SchemeFilter(*number));
    if (!schemes || schemes->Size() < 1) {
        Inform(LoadCVString("对不起，你输入的质检方案单号不存在，请检查重新输入！"));
        m_billinterface->SetValueByKey("FQCSchemeNo", std::string(), -1);
        return;
    }
    FillThroughClassLink(*m_billinterface, kInspectionSchemeClass, schemes);
}

// A failure of the rule ends the rule, never the handler that applies it.
void QualityStandard::ApplyRowRule(int row) {
    ResumeNext([&] { ApplyBaseProperty(*m_billinterface, row, kValueColumns); });
}

// Each cell is written on its own: one that cannot be written does not stop the others.
void QualityStandard::ApplyTargetRule(int row) {
    const BillValues values(*m_billinterface);
    const double target = ResumeNextOr([&] { return values.EntryNumber("FTargetQty", row); }, 0.0);
    for (const CellText& cell : TargetCells(target))
        ResumeNext([&] { m_billinterface->SetFieldText(values.Field(cell.key), cell.text, row); });
}

// The checker of the head as a number: above 0 once the bill is audited.
double QualityStandard::Checker() {
    return BillValues(*m_billinterface).HeadNumber("FCheckerID");
}

}  // namespace velaqm

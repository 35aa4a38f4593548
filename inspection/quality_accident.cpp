#include "inspection/quality_accident.h"

#include "billops/audit.h"
#include "billops/audit_tools.h"
#include "billops/bill_values.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/plugin_show.h"
#include "inspection/quality_accident_rules.h"

namespace velaqm {

namespace {
constexpr std::string_view kWorkProcess = "FWorkPrc";
constexpr std::string_view kRouting = "FRoutingname";
}  // namespace

void QMAccident::Show(const Variant& oBillInterface) {
    m_billinterface = BillObjectOf(oBillInterface);
}

void QMAccident::m_billinterface_AfterCopyBill() {
    ApplyCheckerLock(*m_billinterface);
}

void QMAccident::m_BillInterface_AfterLoadBill() {
    const BillFacts bill = ReadBillFacts(*m_billinterface);
    ShowAuditToolsToEditor(*m_billinterface, bill);
    LockBillFields(*m_billinterface, FieldsLocked(bill));
    bool keepRowTools = true;
    SetAuditMenuState(*m_billinterface, keepRowTools);
    ApplyCheckerLock(*m_billinterface);
}

void QMAccident::m_billinterface_AfterNewBill() {
    ApplyCheckerLock(*m_billinterface);
}

void QMAccident::m_BillInterface_BarInitialize(const ActiveBarPtr& oActiveBar) {
    TrapSilently([&] { ShowAuditTools(oActiveBar); });
}

void QMAccident::m_BillInterface_BarClick(const ToolPtr& Tool, bool& Cancel) {
    TrapSilently([&] {
        if (!Cancel) ClickAuditTool(*m_billinterface, Tool);
    });
}

void QMAccident::m_billinterface_BeginEdit(const DictionaryPtr& dct, int /*Col*/, int /*Row*/) {
    TrapSilently([&] {
        if (Text(dct->Item("FFieldName")) == kWorkProcess) FilterWorkProcessByRouting(dct);
        DisableLookUpUnlessEditable();
    });
}

// The host's lookup of the work process then offers only the operations of the routing.
void QMAccident::FilterWorkProcessByRouting(const DictionaryPtr& dct) {
    dct->SetItem("FFilter", WorkProcessFilter(m_billinterface->GetHeadValue(kRouting)));
}

void QMAccident::DisableLookUpUnlessEditable() {
    const bool heldHere = m_billinterface->BillCtl()->MutexSuccess();
    if (!heldHere || IsAudited(BillValues(*m_billinterface).HeadNumber("FCheckerID")))
        m_billinterface->SetBarStatus(tool::kDataLookUp, kEnabled, false);
}

}  // namespace velaqm

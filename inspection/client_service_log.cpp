#include "inspection/client_service_log.h"

#include "billops/audit.h"
#include "billops/audit_tools.h"
#include "frame/error_policy.h"
#include "frame/plugin_show.h"

namespace velaqm {

void ClientServiceLog::Show(const Variant& oBillInterface) {
    m_billinterface = BillObjectOf(oBillInterface);
}

void ClientServiceLog::m_billinterface_AfterCopyBill() {
    ApplyCheckerLock(*m_billinterface);
}

void ClientServiceLog::m_BillInterface_AfterLoadBill() {
    TrapSilently([&] {
        bool keepRowTools = false;
        SetAuditMenuState(*m_billinterface, keepRowTools);
        const BillFacts bill = ReadBillFacts(*m_billinterface);
        ShowAuditMenusToEditor(bill);
        LockFieldsUnlessEditable(bill);
        ApplyCheckerLock(*m_billinterface);
    });
}

void ClientServiceLog::m_billinterface_AfterNewBill() {
    TrapSilently([&] {
        bool keepRowTools = false;
        SetAuditMenuState(*m_billinterface, keepRowTools);
        ApplyCheckerLock(*m_billinterface);
    });
}

void ClientServiceLog::m_BillInterface_BarInitialize(const ActiveBarPtr& oActiveBar) {
    TrapSilently([&] { ShowAuditTools(oActiveBar); });
}

void ClientServiceLog::m_BillInterface_BarClick(const ToolPtr& Tool, bool& Cancel) {
    TrapSilently([&] {
        if (!Cancel) ClickAuditTool(*m_billinterface, Tool);
    });
}

// The audit menus are offered only to the user who holds the bill, on a bill being worked on.
void ClientServiceLog::ShowAuditMenusToEditor(const BillFacts& bill) {
    const bool show = OffersAuditTools(bill);
    m_billinterface->SetBarStatus(tool::kUnCheck, kVisible, show);
    m_billinterface->SetBarStatus(tool::kCheck, kVisible, show);
}

void ClientServiceLog::LockFieldsUnlessEditable(const BillFacts& bill) {
    LockBillFields(*m_billinterface, FieldsLocked(bill));
}

}  // namespace velaqm

#include "inspection/client_service_log.h"

#include "billops/audit.h"
#include "frame/bill_frame.h"
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
        ShowAuditMenusToEditor();
        LockFieldsUnlessEditable();
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
void ClientServiceLog::ShowAuditMenusToEditor() {
    const bool show = m_billinterface->BillCtl()->MutexSuccess() && m_billinterface->Mode() != 0;
    m_billinterface->SetBarStatus(tool::kUnCheck, "Visible", show);
    m_billinterface->SetBarStatus(tool::kCheck, "Visible", show);
}

// Fields stay locked on a bill held by another user, on a read-only bill and on an audited one.
void ClientServiceLog::LockFieldsUnlessEditable() {
    BillEvent& bill = *m_billinterface;
    const bool locked =
        !bill.BillCtl()->MutexSuccess() || bill.BillStatus() == 0 || CheckerValue(bill) > 0;
    LockBillFields(bill, locked);
}

}  // namespace velaqm

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
        ShowAuditToolsToEditor(*m_billinterface, bill);
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

void ClientServiceLog::LockFieldsUnlessEditable(const BillFacts& bill) {
    LockBillFields(*m_billinterface, FieldsLocked(bill));
}

}  // namespace velaqm

#include "reject/reject_pro.h"

#include "billops/audit_state.h"
#include "billops/audit_tools.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/host_error.h"
#include "frame/plugin_show.h"
#include "reject/po_reject_co.h"

namespace velaqm {

std::unique_ptr<IRejectCO> CRejectPro::StrategyFor(std::int32_t classTypeId) {
    if (classTypeId == kClassTypeID) return std::make_unique<CPoRejectCO>();
    return std::make_unique<IRejectCO>();
}

CRejectPro::~CRejectPro() {
    if (m_strategy) ResumeNext([&] { m_strategy->Dispose(); });
    m_strategy.reset();
}

void CRejectPro::Show(const Variant& oBillInterface) {
    m_billinterface = BillObjectOf(oBillInterface);
    m_classTypeId = LongNumber(m_billinterface->ClassType("FID"));
    m_strategy = m_createStrategy(m_classTypeId);
    m_strategy->Show(oBillInterface);
}

// The handlers have no trap of their own: an error of the host or of the strategy goes back to
// the host's event call.

void CRejectPro::m_billinterface_MenuBarInitialize(const MenuBarPtr& oMenuBar) {
    Strategy().MenuBarInitialize(oMenuBar);
}

void CRejectPro::m_billinterface_MenuBarClick(const ToolPtr& XPFTool, bool& Cancel) {
    if (!Cancel) Strategy().MenuBarClick(XPFTool, Cancel);
}

void CRejectPro::m_billinterface_BeforLoadBillFillData() {
    Strategy().BeforLoadBillFillData();
}

void CRejectPro::m_billinterface_AfterLoadBill() {
    const BillFacts bill = ReadBillFacts(*m_billinterface);
    ShowAuditToolsToEditor(*m_billinterface, bill);
    RefreshUnlessEditable(bill);
    ApplyCheckerLock(*m_billinterface);
}

void CRejectPro::m_billinterface_AfterNewBill() {
    ApplyCheckerLock(*m_billinterface);
}

void CRejectPro::m_billinterface_AfterCopyBill() {
    ApplyCheckerLock(*m_billinterface);
}

// The selected source bill's type is not needed: the quantity is asked for first, then the
// receipt's number.
void CRejectPro::m_billinterface_AfterSelBill(int /*lSelBillType*/) {
    Strategy().GetRejectQty();
    Strategy().SetRequestBillNo();
}

void CRejectPro::m_billinterface_BeforeSave(bool& bCancel) {
    Strategy().BeforeSave(bCancel);
}

// --- steps -------------------------------------------------------------------------------------

// A bill whose Show failed has no strategy: its events fail as a call through nothing does.
IRejectCO& CRejectPro::Strategy() const {
    if (!m_strategy)
        throw HostError(kErrObjectNotSet, "VelaQMBillEvent",
                        "Object variable or With block variable not set");
    return *m_strategy;
}

// A bill held by another user or already audited is shown afresh as it stands.
void CRejectPro::RefreshUnlessEditable(const BillFacts& bill) {
    if (IsReadOnly(bill)) m_billinterface->RefreshDisplay();
}

}  // namespace velaqm

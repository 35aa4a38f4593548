#include "reject/po_reject_co.h"

#include "frame/error_policy.h"
#include "frame/host_error.h"
#include "frame/plugin_show.h"

namespace velaqm {

void CPoRejectCO::Show(const Variant& oBillInterface) {
    m_billInterface = BillObjectOf(oBillInterface);
    m_inner = std::make_unique<CComRejectCO>();
    m_inner->Show(oBillInterface);
}

void CPoRejectCO::SetRequestBillNo() {
    Inner().SetRequestBillNo();
}

void CPoRejectCO::Dispose() {
    if (m_inner) ResumeNext([&] { m_inner->Dispose(); });
    m_inner.reset();
}

void CPoRejectCO::MenuBarClick(const ToolPtr& XPFTool, bool& Cancel) {
    if (!Cancel) Inner().MenuBarClick(XPFTool, Cancel);
}

void CPoRejectCO::MenuBarInitialize(const MenuBarPtr& oMenuBar) {
    Inner().MenuBarInitialize(oMenuBar);
}

void CPoRejectCO::BeforeSave(bool& bCancel) {
    Inner().BeforeSave(bCancel);
}

void CPoRejectCO::BeforLoadBillFillData() {
    Inner().BeforLoadBillFillData();
}

void CPoRejectCO::GetRejectQty() {
    Inner().GetRejectQty();
}

CComRejectCO& CPoRejectCO::Inner() {
    if (!m_inner)
        throw HostError(kErrObjectNotSet, "VelaQMBillEvent",
                        "Object variable or With block variable not set");
    return *m_inner;
}

}  // namespace velaqm

// The purchase-order reject strategy: the bills of purchase-order reject processing follow the
// common rules, so it owns a common strategy and hands every call on to it.
#pragma once

#include <memory>

#include "frame/host_bill.h"
#include "frame/reject_strategy.h"
#include "reject/com_reject_co.h"

namespace velaqm {

class CPoRejectCO final : public StatusKeepingStrategy {
  public:
    CPoRejectCO() : StatusKeepingStrategy(0) {}

    void Show(const Variant& oBillInterface) override;
    void SetRequestBillNo() override;
    // Hands Dispose on, then lets the common strategy go even when its Dispose failed.
    void Dispose() override;
    void MenuBarClick(const ToolPtr& XPFTool, bool& Cancel) override;
    void MenuBarInitialize(const MenuBarPtr& oMenuBar) override;
    void BeforeSave(bool& bCancel) override;
    void BeforLoadBillFillData() override;
    void GetRejectQty() override;

  private:
    // The common strategy between Show and Dispose; a call outside that span is a host error.
    CComRejectCO& Inner();

    std::unique_ptr<CComRejectCO> m_inner;
    BillEventPtr m_billInterface;
};

}  // namespace velaqm

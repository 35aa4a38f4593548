// The common reject strategy: for a reject processing bill made from the incoming inspection of
// a purchase receipt. It proposes the reject quantity from the inspection and the receipt, names
// the requesting receipt, refuses a save whose rows' defect quantities do not add up to the
// reject quantity, and audits and un-audits from the menu bar.
#pragma once

#include <string_view>
#include <vector>

#include "frame/host_bill.h"
#include "frame/reject_strategy.h"
#include "reject/reject_rules.h"

namespace velaqm {

class CComRejectCO final : public StatusKeepingStrategy {
  public:
    static constexpr std::string_view kTraceTag =
        "VelaQMBillEvent.CComRejectCO.IRejectCO_GetRejectQty";

    CComRejectCO() : StatusKeepingStrategy(-1) {}

    void Show(const Variant& oBillInterface) override;
    void SetRequestBillNo() override;
    void MenuBarClick(const ToolPtr& XPFTool, bool& Cancel) override;
    void MenuBarInitialize(const MenuBarPtr& oMenuBar) override;
    void BeforeSave(bool& bCancel) override;
    void BeforLoadBillFillData() override;
    void GetRejectQty() override;

  private:
    BillEvent& Bill() const;
    void ProposeRejectQty();
    bool DefectsRefused();
    std::vector<DefectRow> ReadDefectRows();

    BillEventPtr m_billInterface;
};

}  // namespace velaqm

// The customer service log bill: audit and un-audit tools, their menu state, and the lock of a
// bill that may not be edited.
#pragma once

#include "billops/audit_state.h"
#include "frame/events.h"
#include "frame/plugin.h"

namespace velaqm {

class ClientServiceLog final : public Plugin {
  public:
    static constexpr int kClassTypeID = 1001910;

    void Show(const Variant& oBillInterface) override;

  private:
    void m_billinterface_AfterCopyBill();
    void m_BillInterface_AfterLoadBill();
    void m_billinterface_AfterNewBill();
    void m_BillInterface_BarInitialize(const ActiveBarPtr& oActiveBar);
    void m_BillInterface_BarClick(const ToolPtr& Tool, bool& Cancel);

    void LockFieldsUnlessEditable(const BillFacts& bill);

    EventMember<BillEvent> m_billinterface{{
        .AfterLoadBill = Handler(this, &ClientServiceLog::m_BillInterface_AfterLoadBill),
        .AfterNewBill = Handler(this, &ClientServiceLog::m_billinterface_AfterNewBill),
        .AfterCopyBill = Handler(this, &ClientServiceLog::m_billinterface_AfterCopyBill),
        .BarInitialize = Handler(this, &ClientServiceLog::m_BillInterface_BarInitialize),
        .BarClick = Handler(this, &ClientServiceLog::m_BillInterface_BarClick),
    }};
};

}  // namespace velaqm

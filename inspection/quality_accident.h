// The quality accident bill: audit and un-audit tools, the lock of a bill that may not be
// edited, and the work-process lookup kept to the operations of the chosen routing.
#pragma once

#include "billops/audit_state.h"
#include "frame/events.h"
#include "frame/plugin.h"

namespace velaqm {

class QMAccident final : public Plugin {
  public:
    static constexpr int kClassTypeID = 1001909;

    void Show(const Variant& oBillInterface) override;

  private:
    void m_billinterface_AfterCopyBill();
    void m_BillInterface_AfterLoadBill();
    void m_billinterface_AfterNewBill();
    void m_BillInterface_BarInitialize(const ActiveBarPtr& oActiveBar);
    void m_BillInterface_BarClick(const ToolPtr& Tool, bool& Cancel);
    void m_billinterface_BeginEdit(const DictionaryPtr& dct, int Col, int Row);

    void FilterWorkProcessByRouting(const DictionaryPtr& dct);
    void DisableLookUpUnlessEditable();

    EventMember<BillEvent> m_billinterface{{
        .AfterLoadBill = Handler(this, &QMAccident::m_BillInterface_AfterLoadBill),
        .AfterNewBill = Handler(this, &QMAccident::m_billinterface_AfterNewBill),
        .AfterCopyBill = Handler(this, &QMAccident::m_billinterface_AfterCopyBill),
        .BarInitialize = Handler(this, &QMAccident::m_BillInterface_BarInitialize),
        .BarClick = Handler(this, &QMAccident::m_BillInterface_BarClick),
        .BeginEdit = Handler(this, &QMAccident::m_billinterface_BeginEdit),
    }};
};

}  // namespace velaqm

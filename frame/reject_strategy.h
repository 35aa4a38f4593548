// The reject strategy: the object to which the reject processing bill hands its business events,
// chosen once by the bill's class type. The plain strategy (IRejectCO) has no behaviour: every
// member does nothing, and the bill behaves as the host alone defines.
#pragma once

#include <cstdint>

#include "frame/decimal.h"
#include "frame/host_toolbar.h"
#include "frame/plugin.h"
#include "frame/variant.h"

namespace velaqm {

class IRejectCO : public Plugin {
  public:
    // Receives the host bill object.
    void Show(const Variant& /*oBillInterface*/) override {}
    virtual void SetRequestBillNo() {}
    virtual void Dispose() {}
    virtual void MenuBarClick(const ToolPtr& /*XPFTool*/, bool& /*Cancel*/) {}
    virtual void MenuBarInitialize(const MenuBarPtr& /*oMenuBar*/) {}
    virtual void BeforeSave(bool& /*bCancel*/) {}
    virtual void BeforLoadBillFillData() {}
    virtual void GetRejectQty() {}
};

// A strategy class with the public property m_BillStatusExt: the bill's BillStatus once the
// strategy has read it.
class StatusKeepingStrategy : public IRejectCO {
  public:
    std::int32_t BillStatusExt() const { return m_billStatusExt; }
    void SetBillStatusExt(std::int32_t value) { m_billStatusExt = value; }

  protected:
    explicit StatusKeepingStrategy(std::int32_t initial) : m_billStatusExt(initial) {}

  private:
    std::int32_t m_billStatusExt;
};

// Every quantity the strategies compare or add: 0 for Null and for anything that is not a
// number or does not fit the decimal type, otherwise the exact decimal.
Decimal MyCDec(const Variant& pVar);

}  // namespace velaqm

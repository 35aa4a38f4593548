// The reject processing bill: how a quantity found nonconforming at incoming inspection is
// handled. The plug-in keeps the frame of the bill (audit tools, display refresh, lock) and hands
// every business event to a reject strategy chosen once, by the bill's class type.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "billops/audit_state.h"
#include "frame/events.h"
#include "frame/plugin.h"
#include "frame/reject_strategy.h"

namespace velaqm {

class CRejectPro final : public Plugin {
  public:
    static constexpr std::int32_t kClassTypeID = 1001800;

    using StrategyFactory = std::function<std::unique_ptr<IRejectCO>(std::int32_t classTypeId)>;
    // The purchase-order strategy for purchase-order reject bills; one without behaviour for any
    // other class type.
    static std::unique_ptr<IRejectCO> StrategyFor(std::int32_t classTypeId);

    CRejectPro() : CRejectPro(&StrategyFor) {}
    explicit CRejectPro(StrategyFactory createStrategy)
        : m_createStrategy(std::move(createStrategy)) {}
    // The strategy is disposed of and let go before the bill object.
    ~CRejectPro() override;
    CRejectPro(const CRejectPro&) = delete;
    CRejectPro& operator=(const CRejectPro&) = delete;

    void Show(const Variant& oBillInterface) override;

  private:
    void m_billinterface_MenuBarInitialize(const MenuBarPtr& oMenuBar);
    void m_billinterface_MenuBarClick(const ToolPtr& XPFTool, bool& Cancel);
    void m_billinterface_BeforLoadBillFillData();
    void m_billinterface_AfterLoadBill();
    void m_billinterface_AfterNewBill();
    void m_billinterface_AfterCopyBill();
    void m_billinterface_AfterSelBill(int lSelBillType);
    void m_billinterface_BeforeSave(bool& bCancel);

    IRejectCO& Strategy() const;
    void RefreshUnlessEditable(const BillFacts& bill);

    StrategyFactory m_createStrategy;
    std::int32_t m_classTypeId = 0;
    std::unique_ptr<IRejectCO> m_strategy;
    EventMember<BillEvent> m_billinterface{{
        .AfterLoadBill = Handler(this, &CRejectPro::m_billinterface_AfterLoadBill),
        .AfterNewBill = Handler(this, &CRejectPro::m_billinterface_AfterNewBill),
        .AfterCopyBill = Handler(this, &CRejectPro::m_billinterface_AfterCopyBill),
        .BeforLoadBillFillData = Handler(this, &CRejectPro::m_billinterface_BeforLoadBillFillData),
        .BeforeSave = Handler(this, &CRejectPro::m_billinterface_BeforeSave),
        .AfterSelBill = Handler(this, &CRejectPro::m_billinterface_AfterSelBill),
        .MenuBarInitialize = Handler(this, &CRejectPro::m_billinterface_MenuBarInitialize),
        .MenuBarClick = Handler(this, &CRejectPro::m_billinterface_MenuBarClick),
    }};
};

}  // namespace velaqm

// The sampling standard bill: the form follows the chosen sampling method (editable fields, row
// limits, menu items), the default inspection level and strictness are filled in, a row's
// sample-size formula is edited in the host's formula editor, the bill is checked before it is
// saved, audited and un-audited, and the code-letter method's rows come from the AQL tables.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "frame/events.h"
#include "frame/plugin.h"
#include "sampling/sample_standard_rules.h"

namespace velaqm {

class SampleStandard final : public Plugin {
  public:
    static constexpr int kClassTypeID = 1001900;

    void Show(const Variant& oBillInterface) override;

  private:
    void m_BillInterface_BarInitialize(const ActiveBarPtr& oActiveBar);
    void m_BillInterface_BarClick(const ToolPtr& Tool, bool& Cancel);
    void m_BillInterface_Change(const DictionaryPtr& dct, const DictionaryPtr& dctFld, int Col,
                                int Row, bool& Cancel);
    void m_billinterface_BeforeSave(bool& bCancel);
    void m_BillInterface_AfterLoadBill();
    void m_billinterface_AfterCopyBill();
    void m_billinterface_BeforLoadBillFillData();
    void m_billinterface_AfterNewBill();
    void m_billinterface_MenuBarClick(const ToolPtr& XPFTool, bool& Cancel);
    void m_billinterface_SaveBillSuccess(const DictionaryPtr& dctData);

    // The steps of the handlers.
    void SetUpMethod();
    void ResetForNewMethod(const std::optional<MethodForm>& form);
    void SetUpMethodForm(const MethodForm& form);
    void ApplyMethodFieldStates();
    void ApplyMenuState();
    void ApplyReadOnlyRule();
    std::string FillDefaultLevelAndStrictness();
    bool LotSizeRefused(int row);
    bool SaveRefused();
    void CleanUpAfterSave(const DictionaryPtr& dctData);
    void EditFormula();

    // Reading and writing the bill.
    int Method();
    int FilledRows();
    void ClearEntryColumn(std::string_view key);
    void Enable(std::string_view key, bool enabled);
    void Enable(std::span<const std::string_view> keys, bool enabled);

    EventMember<BillEvent> m_BillInterface{{
        .AfterLoadBill = Handler(this, &SampleStandard::m_BillInterface_AfterLoadBill),
        .AfterNewBill = Handler(this, &SampleStandard::m_billinterface_AfterNewBill),
        .AfterCopyBill = Handler(this, &SampleStandard::m_billinterface_AfterCopyBill),
        .BeforLoadBillFillData =
            Handler(this, &SampleStandard::m_billinterface_BeforLoadBillFillData),
        .BeforeSave = Handler(this, &SampleStandard::m_billinterface_BeforeSave),
        .SaveBillSuccess = Handler(this, &SampleStandard::m_billinterface_SaveBillSuccess),
        .BarInitialize = Handler(this, &SampleStandard::m_BillInterface_BarInitialize),
        .BarClick = Handler(this, &SampleStandard::m_BillInterface_BarClick),
        .MenuBarClick = Handler(this, &SampleStandard::m_billinterface_MenuBarClick),
        .Change = Handler(this, &SampleStandard::m_BillInterface_Change),
    }};
};

}  // namespace velaqm

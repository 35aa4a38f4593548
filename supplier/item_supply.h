// The item supply bill: the suppliers of one item with their order shares, check modes and
// inspection schemes. A second definition of an item is refused, the shares must add up to
// 100, a supplier is entered once, a row's scheme must exist and be valid today, and the scheme
// of a row whose check mode needs none is emptied and locked.
#pragma once

#include "frame/events.h"
#include "frame/plugin.h"

namespace velaqm {

class cItemSupply final : public ItemCheckPlugin {
  public:
    static constexpr int kClassTypeID = 1001908;

    void Show(const Variant& oBillInterface) override;
    // True when the item already has a saved definition, or when that could not be checked.
    bool CheckItemUniq() override;

  private:
    void m_Bill_BarInitialize(const ActiveBarPtr& oActiveBar);
    void m_Bill_AfterFillRow(int lRow, const DictionaryPtr& dctPage,
                             const DictionaryPtr& dctEntryData, const DictionaryPtr& dctLink);
    void m_Bill_BeginEdit(const DictionaryPtr& dct, int Col, int Row);
    void m_Bill_Change(const DictionaryPtr& dct, const DictionaryPtr& dctFld, int Col, int Row,
                       bool& Cancel);
    void m_Bill_BeforeSave(bool& bCancel);

    // The steps of the handlers.
    bool SaveRefused();
    void CheckSupplier(int row);
    void ApplyCheckMode(int row);
    void CheckScheme(int row);

    EventMember<BillEvent> m_Bill{{
        .BeforeSave = Handler(this, &cItemSupply::m_Bill_BeforeSave),
        .AfterFillRow = Handler(this, &cItemSupply::m_Bill_AfterFillRow),
        .BarInitialize = Handler(this, &cItemSupply::m_Bill_BarInitialize),
        .BeginEdit = Handler(this, &cItemSupply::m_Bill_BeginEdit),
        .Change = Handler(this, &cItemSupply::m_Bill_Change),
    }};
};

}  // namespace velaqm

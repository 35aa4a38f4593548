// The item grade bill: the grades in which one main item occurs, either as separate grade
// products (type 0) or within the item itself (any other type, for batch-managed items only).
// The type follows the item's batch management, the grade-product columns follow the type,
// grades and grade products are entered once, a main item has one grade record, and every
// grade product's unit lies in the main item's unit group.
#pragma once

#include <cstdint>

#include "frame/events.h"
#include "frame/plugin.h"

namespace velaqm {

class CItemGrade final : public ItemCheckPlugin {
  public:
    static constexpr int kClassTypeID = 1001904;

    void Show(const Variant& oBillInterface) override;
    // True when the main item already has a saved grade record, or when that could not be
    // checked.
    bool CheckItemUniq() override;

  private:
    void m_Bill_BarInitialize(const ActiveBarPtr& oActiveBar);
    void m_Bill_AfterLoadBill();
    void m_Bill_AfterNewBill();
    void m_Bill_Change(const DictionaryPtr& dct, const DictionaryPtr& dctFld, int Col, int Row,
                       bool& Cancel);
    void m_Bill_BeforeSave(bool& bCancel);

    // The steps of the handlers.
    void ApplyColumnState();
    void ApplyTypeLock();
    bool BatchManaged(std::int64_t item);
    void CheckGradeProduct(int row);
    void CheckGrade(int row);
    void FillParentGroup();
    bool SaveRefused();
    bool RowNamesMainItem();
    bool RowIncomplete();
    bool UnitOutsideGroup();
    void EmptyGradeProducts();

    EventMember<BillEvent> m_Bill{{
        .AfterLoadBill = Handler(this, &CItemGrade::m_Bill_AfterLoadBill),
        .AfterNewBill = Handler(this, &CItemGrade::m_Bill_AfterNewBill),
        .BeforeSave = Handler(this, &CItemGrade::m_Bill_BeforeSave),
        .BarInitialize = Handler(this, &CItemGrade::m_Bill_BarInitialize),
        .Change = Handler(this, &CItemGrade::m_Bill_Change),
    }};
    // The grading type last seen; a new bill starts with it.
    std::int32_t m_lastType = 0;
    // The group new records are filed under; 0 until first determined.
    std::int32_t m_parentGroup = 0;
};

}  // namespace velaqm

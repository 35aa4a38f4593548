// The quality standard bill: audit and un-audit, the lookup of the inspection scheme it is
// filled from, the fill from a scheme typed by number, the set-up of a quantitative check item's
// cells, the limits a target quantity gives, and the lock of a bill that has a checker.
#pragma once

#include <string>

#include "frame/events.h"
#include "frame/plugin.h"

namespace velaqm {

class QualityStandard final : public Plugin {
  public:
    static constexpr int kClassTypeID = 1001902;

    void Show(const Variant& oBillInterface) override;

  private:
    void m_billinterface_AfterCopyBill();
    void m_BillInterface_BarInitialize(const ActiveBarPtr& oActiveBar);
    void m_BillInterface_BarClick(const ToolPtr& Tool, bool& Cancel);
    void m_BillInterface_AfterLoadBill();
    void m_BillInterface_AfterFillRow(int lRow, const DictionaryPtr& dctPage,
                                      const DictionaryPtr& dctEntryData,
                                      const DictionaryPtr& dctLink);
    void m_billinterface_BeforLoadBillFillData();
    void m_billinterface_AfterNewBill();
    void m_billinterface_BeginEdit(const DictionaryPtr& dct, int Col, int Row);
    void m_BillInterface_Change(const DictionaryPtr& dct, const DictionaryPtr& dctFld, int Col,
                                int Row, bool& Cancel);

    // The steps of the handlers.
    void OfferSchemeLookUp();
    void CheckScheme();
    void ApplyRowRule(int row);
    void ApplyTargetRule(int row);
    double Checker();

    EventMember<BillEvent> m_billinterface{{
        .AfterLoadBill = Handler(this, &QualityStandard::m_BillInterface_AfterLoadBill),
        .AfterNewBill = Handler(this, &QualityStandard::m_billinterface_AfterNewBill),
        .AfterCopyBill = Handler(this, &QualityStandard::m_billinterface_AfterCopyBill),
        .BeforLoadBillFillData =
            Handler(this, &QualityStandard::m_billinterface_BeforLoadBillFillData),
        .AfterFillRow = Handler(this, &QualityStandard::m_BillInterface_AfterFillRow),
        .BarInitialize = Handler(this, &QualityStandard::m_BillInterface_BarInitialize),
        .BarClick = Handler(this, &QualityStandard::m_BillInterface_BarClick),
        .BeginEdit = Handler(this, &QualityStandard::m_billinterface_BeginEdit),
        .Change = Handler(this, &QualityStandard::m_BillInterface_Change),
    }};
    // The bill's status as it was before its first load; -1 until then.
    int m_billStatus = -1;
    // The field key of the cell last entered: the lookup tool looks up only the scheme field.
    std::string m_currentField;
};

}  // namespace velaqm

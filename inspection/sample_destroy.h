// The sample destruction record, bill and list. On the bill the typed sampling-record number
// brings in that record's samples not yet destroyed (or is cleared with the rows it brought),
// only the destruction cells of a filled row stay open, the bill is audited and un-audited, and
// the last row is kept. On the list: audit, un-audit, delete, and the sampling record a
// destruction record came from.
#pragma once

#include <string>

#include "frame/events.h"
#include "frame/plugin.h"

namespace velaqm {

class CSampleDestroy final : public Plugin {
  public:
    static constexpr int kClassTypeID = 1001911;

    void Show(const Variant& oBillInterface) override;

  private:
    // The bill.
    void m_Bill_AfterCopyBill();
    void m_Bill_AfterLoadBill();
    void m_Bill_AfterSelBill(int lSelBillType);
    void m_Bill_BeforeSelBills(int lSelBillType, const DataSrvPtr& oDataSrv,
                               const DictionaryPtr& dctLink, std::string& sFilter,
                               const DictionaryPtr& dctParam);
    void m_Bill_AfterNewBill();
    void m_Bill_BarClick(const ToolPtr& Tool, bool& Cancel);
    void m_Bill_BarInitialize(const ActiveBarPtr& oActiveBar);
    void m_Bill_BeginEdit(const DictionaryPtr& dct, int Col, int Row);
    void m_Bill_Change(const DictionaryPtr& dct, const DictionaryPtr& dctFld, int Col, int Row,
                       bool& Cancel);

    // The steps of the bill's handlers.
    void OpenDestructionCells();
    void LockSavedSamplingRecord();
    void FillFromSamplingRecord();
    void ForgetSamplingRecord();
    bool Audited();

    // The list.
    void m_list_BarInitialize(const ActiveBarPtr& oActiveBar);
    void m_List_BarClick(const ToolPtr& Tool, bool& Cancel);

    void ShowSamplingRecord();
    // The filter that finds the sampling record the list row's destruction record came from,
    // or "" when the row is missing or names none. Traced as a procedure.
    static std::string GetRelatedBillID(const DictionaryPtr& row);

    EventMember<BillEvent> m_Bill{{
        .AfterLoadBill = Handler(this, &CSampleDestroy::m_Bill_AfterLoadBill),
        .AfterNewBill = Handler(this, &CSampleDestroy::m_Bill_AfterNewBill),
        .AfterCopyBill = Handler(this, &CSampleDestroy::m_Bill_AfterCopyBill),
        .AfterSelBill = Handler(this, &CSampleDestroy::m_Bill_AfterSelBill),
        .BeforeSelBills = Handler(this, &CSampleDestroy::m_Bill_BeforeSelBills),
        .BarInitialize = Handler(this, &CSampleDestroy::m_Bill_BarInitialize),
        .BarClick = Handler(this, &CSampleDestroy::m_Bill_BarClick),
        .BeginEdit = Handler(this, &CSampleDestroy::m_Bill_BeginEdit),
        .Change = Handler(this, &CSampleDestroy::m_Bill_Change),
    }};

    EventMember<ListEvents> m_List{{
        .BarInitialize = Handler(this, &CSampleDestroy::m_list_BarInitialize),
        .BarClick = Handler(this, &CSampleDestroy::m_List_BarClick),
    }};

    // The key of the field last entered: the lookup command looks up the sampling record only
    // from its number.
    std::string m_currentField;
};

}  // namespace velaqm

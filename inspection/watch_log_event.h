// The retained-sample observation log, bill and list. On the bill the sample typed or chosen is
// checked and fills the head from its sampling record, the item's inspection scheme fills the
// check items, the observation cells of filled rows stay open, a log whose sample was destroyed
// is neither audited nor un-audited, and the sample, dates and rows are checked before a save.
// On the list: audit, un-audit, delete and the sampling records of a log's sample.
#pragma once

#include <string>
#include <vector>

#include "frame/events.h"
#include "frame/plugin.h"
#include "inspection/watch_log_rules.h"

namespace velaqm {

class WatchLogEvent final : public Plugin {
  public:
    static constexpr int kClassTypeID = 1001907;

    void Show(const Variant& oBillInterface) override;

  private:
    // The bill.
    void m_billinterface_AfterCopyBill();
    void m_BillInterface_AfterFillRow(int lRow, const DictionaryPtr& dctPage,
                                      const DictionaryPtr& dctEntryData,
                                      const DictionaryPtr& dctLink);
    void m_BillInterface_AfterLoadBill();
    void m_billinterface_AfterNewBill();
    void m_BillInterface_AfterSelBill(int lSelBillType);
    void m_BillInterface_BarClick(const ToolPtr& Tool, bool& Cancel);
    void m_BillInterface_BarInitialize(const ActiveBarPtr& oActiveBar);
    void m_billinterface_BeforeSave(bool& bCancel);
    void m_billinterface_BeginEdit(const DictionaryPtr& dct, int Col, int Row);
    void m_BillInterface_Change(const DictionaryPtr& dct, const DictionaryPtr& dctFld, int Col,
                                int Row, bool& Cancel);

    // The steps of the bill's handlers.
    bool CheckSample();
    void FillAfterSelection(int sourceClassTypeId);
    void FillFromSampleRecord(const std::string& sampleNo);
    void FillFromItemScheme();
    void FillScheme();
    void EmptyBill();
    void OpenObservationCells();
    void ApplyRowRule(int row);
    bool DestroyedSampleRefused(bool forAudit);
    bool SaveRefused();
    bool Audited();

    // Reading the bill.
    std::string HeadText(std::string_view key);
    std::vector<ObservationRow> ObservationRows();

    // The list.
    void m_listInterface_BarInitialize(const ActiveBarPtr& oActiveBar);
    void m_listInterface_BarClick(const ToolPtr& Tool, bool& Cancel);
    void ShowRelatedSamplingRecords();

    EventMember<BillEvent> m_BillInterface{{
        .AfterLoadBill = Handler(this, &WatchLogEvent::m_BillInterface_AfterLoadBill),
        .AfterNewBill = Handler(this, &WatchLogEvent::m_billinterface_AfterNewBill),
        .AfterCopyBill = Handler(this, &WatchLogEvent::m_billinterface_AfterCopyBill),
        .BeforeSave = Handler(this, &WatchLogEvent::m_billinterface_BeforeSave),
        .AfterSelBill = Handler(this, &WatchLogEvent::m_BillInterface_AfterSelBill),
        .AfterFillRow = Handler(this, &WatchLogEvent::m_BillInterface_AfterFillRow),
        .BarInitialize = Handler(this, &WatchLogEvent::m_BillInterface_BarInitialize),
        .BarClick = Handler(this, &WatchLogEvent::m_BillInterface_BarClick),
        .BeginEdit = Handler(this, &WatchLogEvent::m_billinterface_BeginEdit),
        .Change = Handler(this, &WatchLogEvent::m_BillInterface_Change),
    }};

    EventMember<ListEvents> m_ListInterface{{
        .BarInitialize = Handler(this, &WatchLogEvent::m_listInterface_BarInitialize),
        .BarClick = Handler(this, &WatchLogEvent::m_listInterface_BarClick),
    }};

    // The key of the field last entered: the one the lookup command looks up.
    std::string m_currentField;
};

}  // namespace velaqm

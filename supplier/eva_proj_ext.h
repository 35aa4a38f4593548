// The supplier evaluation project: the items a supplier evaluation scores, each with its weight
// and its share of the total mark. A new project takes the marks of the system parameters; a
// weight gives its share as it is typed; an item is taken once; the weights of the items add up
// to exactly 100 before a save; the project is audited from the toolbar and locked while it has
// a checker; creating and saving a project are logged.
#pragma once

#include "frame/events.h"
#include "frame/plugin.h"

namespace velaqm {

class EvaProjExt final : public Plugin {
  public:
    static constexpr int kClassTypeID = 1001901;

    void Show(const Variant& oBillInterface) override;

  private:
    void m_billinterface_BarInitialize(const ActiveBarPtr& oActiveBar);
    void m_billinterface_BarClick(const ToolPtr& Tool, bool& Cancel);
    void m_billinterface_AfterNewBill();
    void m_billinterface_AfterLoadBill();
    void m_billinterface_AfterCopyBill();
    void m_billinterface_Change(const DictionaryPtr& dct, const DictionaryPtr& dctFld, int Col,
                                int Row, bool& Cancel);
    void m_billinterface_BeforeSave(bool& bCancel);
    void m_billinterface_AfterSave(bool& bCancel);

    // The steps of the handlers.
    void FillDefaultMarks();
    void ShowShareOfWeight(int row);
    void RefuseRepeatedItem(int row);
    bool SaveRefused();
    bool RepeatedItemsRefused();

    EventMember<BillEvent> m_billinterface{{
        .AfterLoadBill = Handler(this, &EvaProjExt::m_billinterface_AfterLoadBill),
        .AfterNewBill = Handler(this, &EvaProjExt::m_billinterface_AfterNewBill),
        .AfterCopyBill = Handler(this, &EvaProjExt::m_billinterface_AfterCopyBill),
        .BeforeSave = Handler(this, &EvaProjExt::m_billinterface_BeforeSave),
        .AfterSave = Handler(this, &EvaProjExt::m_billinterface_AfterSave),
        .BarInitialize = Handler(this, &EvaProjExt::m_billinterface_BarInitialize),
        .BarClick = Handler(this, &EvaProjExt::m_billinterface_BarClick),
        .Change = Handler(this, &EvaProjExt::m_billinterface_Change),
    }};
};

}  // namespace velaqm

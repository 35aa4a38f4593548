// The check item, a master record on a menu-bar form: the decimal places follow the analysis
// method, a "check values" command opens the host's dialog of the item's check values, and the
// item import template carries its note.
#pragma once

#include <optional>

#include "frame/events.h"
#include "frame/plugin.h"
#include "inspection/check_item_rules.h"

namespace velaqm {

class CCheckItem final : public Plugin {
  public:
    static constexpr int kClassTypeID = 1001903;

    void Show(const Variant& oBillInterface) override;

  private:
    void m_billinterface_BeforeSetExportNote(const VectorPtr& vctExportNote);
    void m_BillInterface_Change(const DictionaryPtr& dct, const DictionaryPtr& dctFld, int Col,
                                int Row, bool& Cancel);
    void m_billinterface_MenuBarClick(const ToolPtr& XPFTool, bool& Cancel);
    void m_billinterface_MenuBarInitialize(const MenuBarPtr& oMenuBar);

    void ApplyDecimalRule();
    void ShowItemValues(bool& Cancel);
    std::optional<CheckItemFacts> ReadItem();

    EventMember<BillEvent> m_billinterface{{
        .MenuBarInitialize = Handler(this, &CCheckItem::m_billinterface_MenuBarInitialize),
        .MenuBarClick = Handler(this, &CCheckItem::m_billinterface_MenuBarClick),
        .Change = Handler(this, &CCheckItem::m_BillInterface_Change),
        .BeforeSetExportNote = Handler(this, &CCheckItem::m_billinterface_BeforeSetExportNote),
    }};
};

}  // namespace velaqm

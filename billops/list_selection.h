// The library's list-selection form (`frmList`): a modal window carrying the host's
// list-selection control, so that a plug-in can let the user pick bills of another list; and
// ShowListSelection, which fills it in, shows it and hands back the choice.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "frame/events.h"
#include "frame/host_forms.h"
#include "frame/variant.h"

namespace velaqm {

// How the caller wants the list opened.
struct ListSelectionOptions {
    std::string tool;     // the list tool the selection starts with ("mnuFileNeedFilter")
    int multiSelect = 0;  // not 0: several rows may be picked
};

// The rows the user picked from list `listId` (the rows meeting `filter`, an SQL condition), or
// Empty when the user picked none.
Variant ShowListSelection(int listId, const ListSelectionOptions& options, std::string_view filter);

// What the list control logs on with: the braced connection text, the user ID and the user
// name of the login property string, joined by "|".
std::string ListBaseInfo(std::string_view propsString);
// The control's select flag for the tool the selection starts with: 1 opens the list's filter
// first, 0 the list itself.
int SelectFlagOf(std::string_view tool);

class ListSelectionForm final : public Object,
                                private FormWindowEvents,
                                public std::enable_shared_from_this<ListSelectionForm> {
  public:
    std::string TypeName() const override { return "frmList"; }

    // A new form, loaded and hidden.
    static std::shared_ptr<ListSelectionForm> Load();

    // The control's settings.
    int ListShowStatus() const { return Int(ListSelProperty::ListShowStatus); }
    void SetListShowStatus(int value) { Set(ListSelProperty::ListShowStatus, value); }
    std::string DestBillTransType() const { return Text(ListSelProperty::DestBillTransType); }
    void SetDestBillTransType(std::string_view value) {
        Set(ListSelProperty::DestBillTransType, value);
    }
    int ListID() const { return Int(ListSelProperty::ListID); }
    void SetListID(int value) { Set(ListSelProperty::ListID, value); }
    int TranType() const { return Int(ListSelProperty::TranType); }
    void SetTranType(int value) { Set(ListSelProperty::TranType, value); }
    std::string BaseInfo() const { return Text(ListSelProperty::BaseInfo); }
    void SetBaseInfo(std::string_view value) { Set(ListSelProperty::BaseInfo, value); }
    int MultiSelect() const { return Int(ListSelProperty::MultiSelect); }
    void SetMultiSelect(int value) { Set(ListSelProperty::MultiSelect, value); }
    bool CanSelectMultiRow() const;
    void SetCanSelectMultiRow(bool value) { Set(ListSelProperty::CanSelectMultiRow, value); }
    std::string Filter() const { return Text(ListSelProperty::Filter); }
    void SetFilter(std::string_view value) { Set(ListSelProperty::Filter, value); }
    std::string LocalCnn() const { return Text(ListSelProperty::LocalCnn); }
    void SetLocalCnn(std::string_view value) { Set(ListSelProperty::LocalCnn, value); }
    std::string SystemName() const { return Text(ListSelProperty::SystemName); }
    void SetSystemName(std::string_view value) { Set(ListSelProperty::SystemName, value); }
    int SelectFlag() const { return Int(ListSelProperty::SelectFlag); }
    void SetSelectFlag(int value) { Set(ListSelProperty::SelectFlag, value); }

    // What the control holds.
    Variant Selected() const { return m_ICListSel->Selected(); }
    Variant GetListRs() const { return m_ICListSel->GetListRs(); }
    Variant GetListFieldsDes() const { return m_ICListSel->GetListFieldsDes(); }
    // True only after the user confirmed a selection.
    bool OK() const { return m_OK; }

    // Loads the list; the caption names it.
    void InitData();
    // Shows the form modally; returns once the user confirmed, left or closed it.
    void ShowModal();
    std::string Caption() const { return m_window->Caption(); }

  private:
    ListSelectionForm() = default;
    void Form_Load();
    void Resize() override;
    void QueryUnload(bool& cancel) override;
    void ICListSel_DoAction(const std::string& action);

    int Int(ListSelProperty property) const;
    std::string Text(ListSelProperty property) const;
    void Set(ListSelProperty property, const Variant& value) {
        m_ICListSel->SetProperty(property, value);
    }

    FormWindowPtr m_window;
    EventMember<ListSelControl> m_ICListSel{{
        .DoAction = Handler(this, &ListSelectionForm::ICListSel_DoAction),
    }};
    bool m_OK = false;
};

}  // namespace velaqm

#include "billops/list_tools.h"

#include "billops/audit.h"
#include "billops/audit_tools.h"
#include "billops/bill_tools.h"
#include "billops/linked_bills.h"
#include "billops/list_delete.h"
#include "billops/toolbar_form.h"
#include "frame/messages.h"

namespace velaqm {

bool AddListAuditTools(ListEvents& list, ActiveBar& listBar) {
    const int showMode = list.List()->ShowMode();
    if (showMode != 0 && showMode != 1) return false;
    AddAuditToolsToListBar(listBar, *ToolbarForm::Instance()->ABar());
    return true;
}

void HideTools(ActiveBar& bar, std::initializer_list<std::string_view> keys) {
    for (std::string_view key : keys)
        bar.Tools()->Item(key)->SetVisible(false);
}

bool ClickListAuditTool(ListEvents& list, std::string_view toolName, bool& Cancel) {
    if (toolName == tool::kCheck) {
        AuditSelectedBills(list, true, false);
    } else if (toolName == tool::kUnCheck) {
        UnAuditSelectedBills(list, false);
    } else if (toolName == tool::kDelete) {
        Cancel = true;
        DeleteSelectedBills(list);
    } else {
        return false;
    }
    return true;
}

DictionaryPtr CurrentListRow(ListEvents& list) {
    const VectorPtr rows = list.List()->GetSelectedBillInfo();
    return rows && rows->Size() > 0 ? rows->Item(1).ObjectAs<Dictionary>() : nullptr;
}

void ShowBillsInLookUp(int classTypeId, std::string_view name, const std::string& filter) {
    DictionaryPtr page = NewDictionary();
    page->SetItem("FClassID", classTypeId);
    page->SetItem("FName", LoadCVString(name));
    page->SetItem("Filter", Variant(MakeLookupParams(",1,2,", filter, "", "")));
    DictionaryPtr pages = NewDictionary();
    pages->SetItem("Page1", Variant(page));
    OpenBillLookUp(classTypeId, pages);
}

}  // namespace velaqm

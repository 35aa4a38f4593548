#include "frame/bill_frame.h"

#include <array>

#include "frame/convert.h"
#include "frame/error_policy.h"

namespace velaqm {

namespace {

constexpr std::string_view kVisible = "Visible";
constexpr std::string_view kEnabled = "Enabled";

// Bills whose source-bill selection goes away with the row tools.
constexpr std::array kClassesWithSelectBill = {1001907, 1001905, 1001902, 1001911};

bool HasSelectBillTool(const BillEvent& bill) {
    const auto classTypeId = static_cast<int>(WholeNumber(bill.FID()));
    for (int id : kClassesWithSelectBill)
        if (id == classTypeId) return true;
    return false;
}

void SetAuditToolsVisible(BillEvent& bill, bool visible) {
    bill.SetBarStatus(tool::kUnCheck, kVisible, visible);
    bill.SetBarStatus(tool::kCheck, kVisible, visible);
}

void SetAuditToolsEnabled(BillEvent& bill, bool enabled) {
    bill.SetBarStatus(tool::kUnCheck, kEnabled, enabled);
    bill.SetBarStatus(tool::kCheck, kEnabled, enabled);
}

void HideRowTools(BillEvent& bill) {
    bill.SetBarStatus(tool::kAddRow, kVisible, false);
    bill.SetBarStatus(tool::kDelRow, kVisible, false);
}

// An audited bill, or one another user holds, offers no row, save or lookup tools.
void LockToolsOfReadOnlyBill(BillEvent& bill, bool heldByOtherUser) {
    for (std::string_view key :
         {tool::kAddRow, tool::kDelRow, tool::kDelEntry, tool::kCopyRow, tool::kBatchFillField})
        bill.SetBarStatus(key, kVisible, false);
    bill.SetBarStatus(tool::kFileSave, kEnabled, false);
    bill.SetBarStatus(tool::kDataLookUp, kEnabled, false);
    if (HasSelectBillTool(bill)) bill.SetBarStatus(tool::kSelectBill, kVisible, false);
    if (heldByOtherUser) SetAuditToolsEnabled(bill, false);
}

}  // namespace

void ShowAuditTools(const ActiveBarPtr& oActiveBar) {
    oActiveBar->Tools()->Item(tool::kUnCheck)->SetVisible(true);
    oActiveBar->Tools()->Item(tool::kCheck)->SetVisible(true);
}

double CheckerValue(BillEvent& bill) {
    const DictionaryPtr checker = bill.GetFieldInfoByKey("FCheckerID", "", 0);
    return NumberValue(bill.GetDataFld(checker)->Item("FFld"));
}

void SetAuditMenuState(BillEvent& bill, bool& keepRowTools) {
    const int billStatus = bill.BillStatus();
    if (const MultiCheckMgrPtr multiCheck = bill.MultiCheckMgr();
        multiCheck && billStatus != 0 && multiCheck->IsRun())
        SetAuditToolsVisible(bill, false);

    SetAuditToolsEnabled(bill, !(billStatus == 0 || billStatus == 1));

    if (!keepRowTools) HideRowTools(bill);

    const bool audited = CheckerValue(bill) > 0;
    const bool heldByOtherUser = !bill.BillCtl()->MutexSuccess();
    if (audited || heldByOtherUser) LockToolsOfReadOnlyBill(bill, heldByOtherUser);
}

void LockBillFields(BillEvent& bill, bool locked) {
    bill.BillCtl()->SetLockProperty(locked, bill.GetFieldInfoByKey("FID", "", 0), false);
    for (const auto& [key, field] : bill.DataSrv()->TableInfo()->Entries()) {
        if (auto fieldInfo = field.ObjectAs<Dictionary>()) bill.LockCell(fieldInfo, 1, locked);
    }
}

void ApplyCheckerLock(BillEvent& bill) {
    bill.LockBill(WholeNumber(bill.GetHeadValue("FCheckerID")) >= 1);
}

void AddAuditToolsToListBar(ActiveBar& listBar, ActiveBar& sourceBar) {
    const ToolCollectionPtr source = sourceBar.Tools();
    InsertToolIntoBand(listBar, "mnuEdit", source->Item(tool::kUnCheck), 1);
    InsertToolIntoBand(listBar, "mnuEdit", source->Item(tool::kCheck), 1);
    InsertToolIntoBand(listBar, "BandToolBar", source->Item(tool::kCheck), 3);
}

void InsertToolIntoBand(ActiveBar& bar, std::string_view bandName, const ToolPtr& tool,
                        int position) {
    ResumeNext([&] { bar.Tools()->Insert(bar.Tools()->Count(), tool); });
    ResumeNext([&] { bar.Bands(bandName)->Tools()->Insert(position, tool); });
    ResumeNext([&] {
        const Variant picture = tool->GetPicture(0);
        if (!picture.IsNothing() && !picture.IsEmpty())
            bar.Bands(bandName)->Tools()->Item(tool->Name())->SetPicture(0, picture);
    });
    ResumeNext([&] { bar.RecalcLayout(); });
}

}  // namespace velaqm

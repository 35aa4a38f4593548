#include "billops/audit_tools.h"

#include "billops/bill_values.h"
#include "frame/convert.h"
#include "frame/error_policy.h"

namespace velaqm {

void ShowAuditTools(const ActiveBarPtr& oActiveBar) {
    oActiveBar->Tools()->Item(tool::kUnCheck)->SetVisible(true);
    oActiveBar->Tools()->Item(tool::kCheck)->SetVisible(true);
}

BillFacts ReadBillFacts(BillEvent& bill) {
    const MultiCheckMgrPtr multiCheck = bill.MultiCheckMgr();
    return {
        .classTypeId = static_cast<int>(WholeNumber(bill.FID())),
        .billStatus = bill.BillStatus(),
        .mode = bill.Mode(),
        .heldHere = bill.BillCtl()->MutexSuccess(),
        .checker = BillValues(bill).HeadNumber("FCheckerID"),
        .multiCheckRunning = multiCheck && multiCheck->IsRun(),
    };
}

void ApplyToolSettings(BillEvent& bill, const ToolSettings& settings) {
    for (const ToolSetting& setting : settings)
        bill.SetBarStatus(setting.key, setting.property, setting.value);
}

void SetAuditMenuState(BillEvent& bill, bool& keepRowTools) {
    ApplyToolSettings(bill, AuditMenuState(ReadBillFacts(bill), keepRowTools));
}

void ShowAuditToolsToEditor(BillEvent& bill, const BillFacts& facts) {
    const bool show = OffersAuditTools(facts);
    bill.SetBarStatus(tool::kUnCheck, kVisible, show);
    bill.SetBarStatus(tool::kCheck, kVisible, show);
}

void LockBillFields(BillEvent& bill, bool locked) {
    bill.BillCtl()->SetLockProperty(locked, BillValues(bill).Field("FID"), false);
    for (const auto& [key, field] : bill.DataSrv()->TableInfo()->Entries()) {
        if (auto fieldInfo = field.ObjectAs<Dictionary>()) bill.LockCell(fieldInfo, 1, locked);
    }
}

void ApplyCheckerLock(BillEvent& bill) {
    bill.LockBill(IsAudited(NumberValue(bill.GetHeadValue("FCheckerID"))));
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

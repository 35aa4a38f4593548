#include "reject/com_reject_co.h"

#include "billops/audit.h"
#include "billops/bill_tools.h"
#include "billops/server_queries.h"
#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/host_error.h"
#include "frame/messages.h"
#include "frame/plugin_show.h"
#include "reject/reject_func.h"

namespace velaqm {

namespace {
constexpr std::string_view kDefectsDoNotAddUp = "表体不良数量之和必须等于检验不良数量.";
constexpr std::string_view kSaveError = "保存出错，原因：";
constexpr int kHeadRowByKey = -1;
}  // namespace

void CComRejectCO::Show(const Variant& oBillInterface) {
    m_billInterface = BillObjectOf(oBillInterface);
}

void CComRejectCO::BeforLoadBillFillData() {
    TrapSilently([&] {
        if (BillStatusExt() == -1) SetBillStatusExt(Bill().BillCtl()->BillStatus());
    });
}

void CComRejectCO::MenuBarInitialize(const MenuBarPtr& oMenuBar) {
    const ToolCollectionPtr tools = oMenuBar->Tools();
    tools->Item(tool::kCheck)->SetVisible(true);
    tools->Item(tool::kUnCheck)->SetVisible(true);
    tools->Item(tool::kCopy)->SetVisible(false);
}

void CComRejectCO::MenuBarClick(const ToolPtr& XPFTool, bool& Cancel) {
    TrapSilently([&] {
        if (!Cancel) ClickAuditTool(Bill(), XPFTool);
    });
}

void CComRejectCO::GetRejectQty() {
    TraceScope trace(kTraceTag);
    try {
        ProposeRejectQty();
    } catch (const std::exception& e) {
        SetErr(AsHostError(e));
        trace.SetResult(1);
    }
}

void CComRejectCO::SetRequestBillNo() {
    TrapSilently([&] {
        const std::optional<std::int32_t> receipt =
            RequestedReceipt(Bill().GetHeadValue("FRequestBillID"));
        std::string billNo;
        if (receipt) {
            const QueryResult found(RunQuery(RequestBillNoStatement(*receipt)));
            if (found.HasRow()) billNo = Text(found->Fields("FBillNo"));
        }
        Bill().SetValueByKey("FRequestBillNo", Variant(billNo), kHeadRowByKey);
    });
}

// A check that fails on the way refuses the save with the reason; a bill the host already
// refused stays refused.
void CComRejectCO::BeforeSave(bool& bCancel) {
    TrapAndShow(LoadCVString(kSaveError), [&] {
        const bool refusedBefore = bCancel;
        bCancel = true;
        bCancel = DefectsRefused() || refusedBefore;
    });
}

// --- steps -------------------------------------------------------------------------------------

// A strategy shown no bill fails as a call through nothing does, inside each member's trap.
BillEvent& CComRejectCO::Bill() const {
    if (!m_billInterface)
        throw HostError(kErrObjectNotSet, "VelaQMBillEvent",
                        "Object variable or With block variable not set");
    return *m_billInterface;
}

void CComRejectCO::ProposeRejectQty() {
    const std::int32_t receipt = LongNumber(Bill().GetHeadValue("FRequestBillID"));
    const std::int32_t inspection = LongNumber(Bill().GetHeadValue("fcheckbillid"));
    const QueryResult proposal(RunQuery(RejectQtyStatement(receipt, inspection)));
    if (!proposal.HasRow()) return;
    const Variant quantity = proposal->Fields("FRejectQtyTmp");
    if (ReplacesRejectQty(quantity)) Bill().SetValueByKey("FRejectQty", quantity, kHeadRowByKey);
}

bool CComRejectCO::DefectsRefused() {
    if (DefectsAddUp(Bill().GetHeadValue("FRejectQty"), ReadDefectRows())) return false;
    Inform(LoadCVString(kDefectsDoNotAddUp));
    return true;
}

std::vector<DefectRow> CComRejectCO::ReadDefectRows() {
    std::vector<DefectRow> rows;
    const int count = Bill().EntryRowCount();
    rows.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int row = 1; row <= count; ++row)
        rows.push_back({Bill().GetEntryValue("FDefectHandlingID", row),
                        Bill().GetEntryValue("FDefectQty", row)});
    return rows;
}

}  // namespace velaqm

#include "reject/reject_rules.h"

#include "frame/convert.h"
#include "frame/error_policy.h"
#include "frame/reject_strategy.h"
#include "frame/sql_text.h"

namespace velaqm {

namespace {
constexpr std::string_view kCrLf = "\r\n";

// A row takes part when its defect handling is a number other than 0.
bool HasDefectHandling(const Variant& handling) {
    return !MyCDec(handling).IsZero();
}
}  // namespace

std::string RejectQtyStatement(std::int32_t requestBillId, std::int32_t checkBillId) {
    std::string sql;
    sql.append(" select (case when w1.FNotPassQty - isnull((u1.FAuxNotPassQty-u1.FAuxCommitQty),0)")
        .append(" < 0 then w1.FNotPassQty ")
        .append(kCrLf)
        .append(" else isnull((u1.FAuxNotPassQty-u1.FAuxCommitQty),0) end) as FRejectQtyTmp ")
        .append(kCrLf)
        .append(" from POInStockEntry u1 inner join POInStock v1")
        .append(kCrLf)
        .append(" on v1.FInterID=u1.FInterID and  v1.FTranType=702 AND v1.FCancellation=0 inner")
        .append(" join ICQCBill w1")
        .append(kCrLf)
        .append(" on w1.FInStockInterID = u1.FInterID and w1.FSerialID = u1.FEntryID and")
        .append(" w1.FCancellation=0 and ")
        .append(kCrLf)
        .append(" v1.finterid =")
        .append(SqlWhole(Variant(requestBillId)))
        .append("  and w1.finterid = ")
        .append(SqlWhole(Variant(checkBillId)));
    return sql;
}

std::optional<std::int32_t> RequestedReceipt(const Variant& requestBillId) {
    if (!IsNumeric(requestBillId)) return std::nullopt;
    const std::optional<std::int32_t> id = ResumeNextOr(
        [&] { return std::optional(LongNumber(requestBillId)); }, std::optional<std::int32_t>());
    if (!id || *id <= 0) return std::nullopt;
    return id;
}

std::string RequestBillNoStatement(std::int32_t requestBillId) {
    return "select FBillNo from POInStock where FInterID=" + SqlWhole(Variant(requestBillId));
}

bool ReplacesRejectQty(const Variant& proposed) {
    return MyCDec(proposed) > Decimal();
}

Decimal DefectTotal(const std::vector<DefectRow>& rows) {
    Decimal total;
    for (const DefectRow& row : rows)
        if (HasDefectHandling(row.handling)) total = total + MyCDec(row.quantity);
    return total;
}

bool DefectsAddUp(const Variant& rejectQty, const std::vector<DefectRow>& rows) {
    return MyCDec(rejectQty) == DefectTotal(rows);
}

}  // namespace velaqm

#include "host/supply_quality.h"

#include <memory>
#include <optional>
#include <string>

#include "frame/convert.h"
#include "frame/host_error.h"
#include "frame/host_services.h"
#include "host/native_sql.h"
#include "host/session.h"

namespace velaqm::host {

namespace {

constexpr char kSource[] = "VelaMQMDataAccess.DataUpDate";

// What a supplier delivered in a period, from the same purchase tables the evaluation's
// per-item scoring reads: inspected receipt rows of purchase orders, and audited order rows
// stocked without a receipt, which count as checked and passed.
constexpr char kInspectedReceipts[] =
    "SELECT sum(t1.FQtyPass + t1.FConPassQty), sum(t1.FQCheckQty) FROM POInStockEntry t1 "
    "INNER JOIN POInStock t2 ON t1.FInterID = t2.FInterID AND t2.FTranType = 702 "
    "INNER JOIN POOrderEntry t3 ON t1.FSourceInterID = t3.FInterID "
    "AND t1.FSourceEntryID = t3.FEntryID AND t1.FItemID = t3.FItemID "
    "INNER JOIN POOrder t4 ON t4.FInterID = t3.FInterID AND t4.FTranType = 71 "
    "AND t4.FSupplyID = t2.FSupplyID "
    "WHERE t1.FQCheckQty > 0 AND t1.FSourceTranType = 71 AND t2.FSupplyID = ? "
    "AND date(t2.FDate) BETWEEN ? AND ?";
constexpr char kStockedWithoutReceipt[] =
    "SELECT sum(t1.FStockQty) FROM POOrderEntry t1 "
    "INNER JOIN POOrder t2 ON t2.FInterID = t1.FInterID AND t2.FTranType = 71 "
    "AND t2.FCheckerID > 0 "
    "LEFT JOIN POInStockEntry t3 ON t3.FSourceInterID = t1.FInterID "
    "AND t3.FSourceEntryID = t1.FEntryID "
    "WHERE t2.FSupplyID = ? AND t1.FStockQty > 0 AND t3.FInterID IS NULL "
    "AND date(t2.FDate) BETWEEN ? AND ?";

std::string DayOf(const DictionaryPtr& period, std::string_view key) {
    const std::optional<Date> day = ToDate(period->Item(key));
    if (!day) throw HostError(kErrTypeMismatch, kSource, "Type mismatch: " + std::string(key));
    return day->ToStorageString().substr(0, 10);
}

class HostDataUpDate final : public DataUpDate {
  public:
    explicit HostDataUpDate(Session& session) : m_session(session) {}

    double score(std::string_view, const DictionaryPtr& period) override {
        if (!period) throw HostError(kErrObjectRequired, kSource, "Object required");
        const Variant supplier = LongNumber(period->Item("SupID"));
        const std::string begin = DayOf(period, "BDate");
        const std::string end = DayOf(period, "EDate");
        const Row receipts =
            QueryRows(m_session.Db(), kInspectedReceipts, {supplier, begin, end}).front();
        const Variant stocked =
            QueryValue(m_session.Db(), kStockedWithoutReceipt, {supplier, begin, end});
        const double checked = NumberValue(receipts[1]) + NumberValue(stocked);
        const double passed = NumberValue(receipts[0]) + NumberValue(stocked);
        return checked > 0 ? passed / checked : kNoSupply;
    }

  private:
    static constexpr double kNoSupply = -1;
    Session& m_session;
};

}  // namespace

ObjectPtr MakeDataUpDate(Session& session) {
    return std::make_shared<HostDataUpDate>(session);
}

}  // namespace velaqm::host

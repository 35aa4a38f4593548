// The reject processing bill: the proposal of the reject quantity and the receipt's number
// against 100,000 receipt rows and their inspections, and the defect check of a 500-row bill,
// through the substitute host and as the rule alone.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_session.h"
#include "host/bill_form.h"
#include "reject/com_reject_co.h"
#include "reject/reject_pro.h"
#include "reject/reject_rules.h"

namespace {

using velaqm::bench::BenchSession;
constexpr int kReceipts = 50000;  // two rows each
constexpr int kRows = 500;

void AddReceipts(BenchSession& bench) {
    velaqm::host::Database& db = bench.session->Db();
    auto transaction = db.BeginTransaction();
    for (int receipt = 1000; receipt < 1000 + kReceipts; ++receipt) {
        const std::string id = std::to_string(receipt);
        db.ExecuteNative("INSERT INTO POInStock (FInterID, FBillNo) VALUES (" + id + ", 'R" + id +
                         "')");
        for (int row = 1; row <= 2; ++row) {
            const std::string entry = std::to_string(row);
            db.ExecuteNative(
                "INSERT INTO POInStockEntry (FInterID, FEntryID, FAuxNotPassQty, FAuxCommitQty) "
                "VALUES (" +
                id + ", " + entry + ", 40, 10)");
            db.ExecuteNative(
                "INSERT INTO ICQCBill (FInterID, FBillNo, FInStockInterID, FSerialID, "
                "FNotPassQty) VALUES (" +
                std::to_string(receipt * 2 + row) + ", 'Q" + id + "-" + entry + "', " + id + ", " +
                entry + ", 25)");
        }
    }
    transaction.Commit();
}

velaqm::Variant BillOf(velaqm::host::BillForm& form) {
    return velaqm::Variant(std::static_pointer_cast<velaqm::BillEvent>(form.shared_from_this()));
}

void SetHead(velaqm::host::BillForm& form, std::string_view key, const velaqm::Variant& value) {
    form.GetDataFld(form.GetFieldInfoByKey(key, "", 0), 0)->SetItem("FFLD", value);
}

void BM_RejectQtyAndRequestBillNo(benchmark::State& state) {
    BenchSession bench;
    AddReceipts(bench);
    velaqm::host::BillForm& form = bench.session->OpenNewBill(velaqm::CRejectPro::kClassTypeID);
    velaqm::CComRejectCO strategy;
    strategy.Show(BillOf(form));
    const int receipt = 1000 + kReceipts / 2;
    SetHead(form, "FRequestBillID", velaqm::Variant(receipt));
    SetHead(form, "fcheckbillid", velaqm::Variant(receipt * 2 + 1));
    for (auto _ : state) {
        strategy.GetRejectQty();
        strategy.SetRequestBillNo();
    }
    if (form.ValueText("FRejectQty", 0) != "25" ||
        form.ValueText("FRequestBillNo", 0) != "R" + std::to_string(receipt))
        state.SkipWithError("the proposal was not made");
}
BENCHMARK(BM_RejectQtyAndRequestBillNo)->Unit(benchmark::kMillisecond);

void BM_DefectCheckOf500Rows(benchmark::State& state) {
    BenchSession bench;
    velaqm::host::BillForm& form = bench.session->OpenNewBill(velaqm::CRejectPro::kClassTypeID);
    form.Edit("FRejectQty", 0, std::to_string(kRows));
    for (int row = 1; row <= kRows; ++row) {
        form.Edit("FDefectHandlingID", row, "1");
        form.Edit("FDefectQty", row, "1");
    }
    velaqm::CComRejectCO strategy;
    strategy.Show(BillOf(form));
    bool cancel = false;
    for (auto _ : state) {
        strategy.BeforeSave(cancel);
        benchmark::DoNotOptimize(cancel);
    }
    if (cancel) state.SkipWithError("a bill whose rows add up was refused");
}
BENCHMARK(BM_DefectCheckOf500Rows)->Unit(benchmark::kMillisecond);

void BM_DefectRuleOf500Rows(benchmark::State& state) {
    const std::vector<velaqm::DefectRow> rows(kRows, {velaqm::Variant(1), velaqm::Variant("1.5")});
    for (auto _ : state)
        benchmark::DoNotOptimize(velaqm::DefectsAddUp(velaqm::Variant(750), rows));
}
BENCHMARK(BM_DefectRuleOf500Rows)->Unit(benchmark::kMicrosecond);

}  // namespace

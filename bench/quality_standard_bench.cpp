// The quality standard in the substitute host: a scheme of 200 check items typed into a new
// bill, which fills a row per item and sets up each quantitative row's cells; and the same fill
// followed by a target quantity typed into every row, which writes the row's limits.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_session.h"
#include "host/bill_form.h"
#include "inspection/quality_standard.h"

namespace {

using velaqm::bench::BenchSession;

constexpr int kItems = 200;

// Scheme 9, "FA-200": items alternately quantitative and qualitative.
velaqm::host::BillForm& StandardWithLargeScheme(BenchSession& bench) {
    velaqm::host::Database& db = bench.session->Db();
    auto transaction = db.BeginTransaction();
    db.ExecuteNative(
        "INSERT INTO icqcscheme (FInterID, FBillNo, FSchemeName, FStatus) "
        "VALUES (9, 'FA-200', 'bench', 1)");
    for (int entry = 1; entry <= kItems; ++entry) {
        const bool quantitative = entry % 2 == 1;
        db.ExecuteNative(
            "INSERT INTO IcqcSchemeEntry (FInterID, FEntryID, FIdentity, FQCItemID, "
            "FAnalysisMethodID, FBaseProperty, FUnitID, FTargetQty, FLowerLimitQty, "
            "FUpperLimitQty, FTarget) VALUES (9, " +
            std::to_string(entry) + ", " + std::to_string(900 + entry) + ", " +
            (quantitative ? "2, 10, 2, 1, 100, 95, 105, '100'" : "1, 20, 0, 0, 0, 0, 0, 'ok'") +
            ")");
    }
    transaction.Commit();
    return bench.session->OpenNewBill(velaqm::QualityStandard::kClassTypeID);
}

void BM_FillFromScheme200(benchmark::State& state) {
    BenchSession bench;
    velaqm::host::BillForm& form = StandardWithLargeScheme(bench);
    for (auto _ : state)
        form.Edit("FQCSchemeNo", 0, "FA-200");
    if (form.RowsWithData() != kItems) state.SkipWithError("the scheme filled no rows");
    if (form.CellSetting("FUpperTolerance", kItems - 1) != 2)
        state.SkipWithError("the quantitative rows were not set up");
}
BENCHMARK(BM_FillFromScheme200)->Unit(benchmark::kMillisecond);

void BM_FillFromScheme200AndTargetEveryRow(benchmark::State& state) {
    BenchSession bench;
    velaqm::host::BillForm& form = StandardWithLargeScheme(bench);
    for (auto _ : state) {
        form.Edit("FQCSchemeNo", 0, "FA-200");
        for (int row = 1; row <= kItems; ++row)
            form.Edit("FTargetQty", row, "5");
    }
    if (form.ValueText("FLowerLimit", kItems) != "5") state.SkipWithError("no limits written");
}
BENCHMARK(BM_FillFromScheme200AndTargetEveryRow)->Unit(benchmark::kMillisecond);

}  // namespace

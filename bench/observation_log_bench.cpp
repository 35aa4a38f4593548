// The observation log in the substitute host: the save checks of a log with 200 check-item rows,
// as pure rules and as the whole save refused by its last row (so that nothing is written: the
// sample query, the dates, and the plug-in's reading of every row through the host).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_session.h"
#include "host/bill_form.h"
#include "inspection/watch_log_event.h"
#include "inspection/watch_log_rules.h"

namespace {

using velaqm::bench::BenchSession;

constexpr int kRows = 200;

void BM_ObservationRowChecks200Rows(benchmark::State& state) {
    std::vector<velaqm::ObservationRow> rows;
    for (int row = 1; row <= kRows; ++row)
        rows.push_back({row, "2", row % 2 ? "14" : "", row % 2 ? "" : "99.5"});
    for (auto _ : state)
        benchmark::DoNotOptimize(velaqm::FirstRowProblem(rows));
}
BENCHMARK(BM_ObservationRowChecks200Rows)->Unit(benchmark::kMicrosecond);

void BM_ObservationLogSaveRefusedAtRow200(benchmark::State& state) {
    BenchSession bench;
    velaqm::host::Database& db = bench.session->Db();
    db.Execute(
        "INSERT INTO qmsampling (FID, FBillNo, FSamplingDT, FCheckerID) VALUES (1, 'QY-1', "
        "'2026-12-01', 16394)");
    db.Execute(
        "INSERT INTO qmsamplingentry (FID, FEntryID, FSampleNO, FItemID) VALUES (1, 1, 'S-1', "
        "NULL)");
    velaqm::host::BillForm& form = bench.session->OpenNewBill(velaqm::WatchLogEvent::kClassTypeID);
    // The rows first: once a sample is taken the check-item column is the scheme's.
    for (int row = 1; row <= kRows; ++row) {
        form.Edit("FCheckItemID", row, row % 2 ? "JC01" : "JC02");
        if (row < kRows) form.Edit("FVatchValueQty", row, "99.5");
    }
    form.Edit("FSampleNo", 0, "S-1");
    form.Edit("FWatchDate", 0, "2099-12-31");
    for (auto _ : state) {
        benchmark::DoNotOptimize(form.Save());
        bench.session->Log().Messages().clear();
    }
    if (form.LastSave() != false) state.SkipWithError("the save was not refused");
}
BENCHMARK(BM_ObservationLogSaveRefusedAtRow200)->Unit(benchmark::kMicrosecond);

}  // namespace

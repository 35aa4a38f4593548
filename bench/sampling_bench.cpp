// The sampling standard in the substitute host: the Ac/Re refresh of the code-letter method
// (one batch for the 15 lot-size ranges), with and without generating the rows, and the save
// checks of a sampling-table standard with 500 filled rows.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_session.h"
#include "host/bill_form.h"
#include "sampling/code_letter_plan.h"
#include "sampling/sample_standard.h"
#include "sampling/sample_standard_rules.h"
#include "sampling/sampling_log_event.h"

namespace {

using velaqm::bench::BenchSession;

velaqm::host::BillForm& CodeLetterStandard(BenchSession& bench) {
    velaqm::host::BillForm& form = bench.session->OpenNewBill(velaqm::SampleStandard::kClassTypeID);
    form.Edit("FSampMethodID", 0, "M50");
    form.Edit("FAQLID", 0, "1.0");
    return form;
}

void BM_RefreshAcRe(benchmark::State& state) {
    BenchSession bench;
    velaqm::host::BillForm& form = CodeLetterStandard(bench);
    for (auto _ : state)
        velaqm::RefreshAcRe(form, false);
    if (form.ValueText("FSampQty", 15) != "1250") state.SkipWithError("the refresh wrote nothing");
}
BENCHMARK(BM_RefreshAcRe)->Unit(benchmark::kMicrosecond);

void BM_RefreshAcReWithNewRows(benchmark::State& state) {
    BenchSession bench;
    velaqm::host::BillForm& form = CodeLetterStandard(bench);
    for (auto _ : state)
        velaqm::RefreshAcRe(form, true);
}
BENCHMARK(BM_RefreshAcReWithNewRows)->Unit(benchmark::kMicrosecond);

// The rules of the save checks over 500 filled rows that all pass.
void BM_SaveChecks500Rows(benchmark::State& state) {
    std::vector<velaqm::StandardRow> rows;
    for (int row = 1; row <= 500; ++row)
        rows.push_back({row * 100.0, "", 20.0, 1, 2});
    const velaqm::StandardHead head{velaqm::kMethodSamplingTable, 8, 1, 35};
    for (auto _ : state)
        benchmark::DoNotOptimize(velaqm::FirstSaveProblem(head, rows));
}
BENCHMARK(BM_SaveChecks500Rows)->Unit(benchmark::kMicrosecond);

// The whole save of a 500-row sampling-table standard refused by its last row, so that nothing
// is written: the plug-in's reading of every row through the host and its checks.
void BM_SaveRefusedAtRow500(benchmark::State& state) {
    BenchSession bench;
    velaqm::host::BillForm& form = bench.session->OpenNewBill(velaqm::SampleStandard::kClassTypeID);
    form.Edit("FSampMethodID", 0, "M04");
    form.Edit("FAQLID", 0, "1.0");
    for (int row = 1; row <= 500; ++row) {
        form.Edit("FLotSize", row, std::to_string(row * 100));
        form.Edit("FSampQty", row, row == 500 ? "-1" : "20");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(form.Save());
        bench.session->Log().Messages().clear();
    }
}
BENCHMARK(BM_SaveRefusedAtRow500)->Unit(benchmark::kMicrosecond);

// A saved process-sampling record with three samples; `pluginClass` is a copy of the class
// without its plug-in, so that the host's own share of a reload can be told apart.
constexpr int kWithoutPlugin = 1999906;

velaqm::host::BillForm& SamplingRecord(BenchSession& bench, int classTypeId) {
    velaqm::host::Database& db = bench.session->Db();
    db.Execute("INSERT INTO qmsampling (FID, FBillNo, FSampleType) VALUES (1, 'QY-1', 17)");
    db.Execute(
        "INSERT INTO qmsamplingentry (FID, FEntryID, FSampleNO, FWorkProcID, FWorkCenterID) "
        "VALUES (1, 1, 'S-1', 1, 1), (1, 2, 'S-2', 2, 1), (1, 3, 'S-3', 3, 2)");
    if (classTypeId == kWithoutPlugin) {
        db.Execute(
            "INSERT INTO ICClassType (FID, FName_chs, FTableName) SELECT 1999906, "
            "FName_chs, FTableName FROM ICClassType WHERE FID = 1001906");
        db.Execute(
            "INSERT INTO ICClassTypeEntry SELECT 1999906, FIndex, FTableName, FEntryType "
            "FROM ICClassTypeEntry WHERE FParentID = 1001906");
        db.Execute(
            "CREATE TEMP TABLE f AS SELECT * FROM ICClassTableInfo WHERE FClassTypeID = "
            "1001906; UPDATE f SET FClassTypeID = 1999906; INSERT INTO ICClassTableInfo "
            "SELECT * FROM f");
    }
    return bench.session->OpenBill(classTypeId, 1, false);
}

// RefreshBill of the record: the host's reload and the plug-in's AfterLoadBill (sample-type
// setup, the locks of a saved record, the menu state); and the host's reload alone.
void BM_SamplingRecordReload(benchmark::State& state) {
    BenchSession bench;
    velaqm::host::BillForm& form = SamplingRecord(bench, static_cast<int>(state.range(0)));
    for (auto _ : state)
        form.RefreshBill();
}
BENCHMARK(BM_SamplingRecordReload)
    ->Arg(velaqm::SamplingLogEvent::kClassTypeID)
    ->Arg(kWithoutPlugin)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

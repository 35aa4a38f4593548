// The sample destruction record in the substitute host: a typed sampling-record number that
// brings in the record's samples (the check through the grading data, the fill through the
// class link and the opening of each row's cells), for records of 10 and 200 samples.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_session.h"
#include "host/bill_form.h"
#include "inspection/sample_destroy.h"

namespace {

using velaqm::bench::BenchSession;

void AddSamplingRecord(BenchSession& bench, int samples) {
    velaqm::host::Database& db = bench.session->Db();
    db.Execute("INSERT INTO qmsampling (FID, FBillNo, FCheckerID) VALUES (1, 'QY-1', 16394)");
    auto transaction = db.BeginTransaction();
    for (int row = 1; row <= samples; ++row)
        db.ExecuteNative("INSERT INTO qmsamplingentry (FID, FEntryID, FSampleNO) VALUES (1, " +
                         std::to_string(row) + ", 'S-" + std::to_string(row) + "')");
    transaction.Commit();
}

void BM_SamplingRecordNumberTyped(benchmark::State& state) {
    BenchSession bench;
    const int samples = static_cast<int>(state.range(0));
    AddSamplingRecord(bench, samples);
    velaqm::host::BillForm& form = bench.session->OpenNewBill(velaqm::CSampleDestroy::kClassTypeID);
    for (auto _ : state)
        form.Edit("FSampleNO", 0, "QY-1");
    if (form.RowsWithData() != samples) state.SkipWithError("the samples were not brought in");
}
BENCHMARK(BM_SamplingRecordNumberTyped)->Arg(10)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace

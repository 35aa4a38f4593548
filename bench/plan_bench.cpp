// What a person waits for: `velaqm plan` as a whole process, the copy of the seeded database, the
// plan's queries, the curve and the chart included (target: under 50 ms). The figures beside it
// show the share of the curve's arithmetic.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_process.h"
#include "sampling/oc_curve.h"

namespace {

using velaqm::bench::RunQuietly;
using velaqm::bench::TempFile;
using velaqm::bench::VelaqmExecutable;

void RunPlan(benchmark::State& state, const std::vector<std::string>& plan) {
    const TempFile chart(".svg", "");
    std::vector<std::string> args{VelaqmExecutable().string(), "plan"};
    args.insert(args.end(), plan.begin(), plan.end());
    args.insert(args.end(), {"--svg", chart.Path().string()});
    if (RunQuietly(args) != 0) {
        state.SkipWithError("velaqm plan failed; is the velaqm command built?");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(RunQuietly(args));
}

void BM_VelaqmPlanProcess(benchmark::State& state) {
    RunPlan(state, {"1000", "II", "normal", "1.0"});
}
BENCHMARK(BM_VelaqmPlanProcess)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

// The largest sample of the tables: 3,150 units, the tightened plan of letter S.
void BM_VelaqmPlanProcessLargestSample(benchmark::State& state) {
    RunPlan(state, {"1000000", "III", "tightened", "0.025"});
}
BENCHMARK(BM_VelaqmPlanProcessLargestSample)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0)
    ->UseRealTime();

void BM_CurveAndRiskPoints(benchmark::State& state) {
    const velaqm::OcPlan plan{1000000, static_cast<int>(state.range(0)),
                              static_cast<int>(state.range(1)), velaqm::OcModel::Binomial};
    for (auto _ : state) {
        benchmark::DoNotOptimize(velaqm::QualityAcceptedWith(plan, 0.95));
        benchmark::DoNotOptimize(velaqm::QualityAcceptedWith(plan, 0.10));
        const double end = velaqm::AcceptanceEnd(plan);
        benchmark::DoNotOptimize(velaqm::OcCurve(plan, end / 200, end));
    }
}
BENCHMARK(BM_CurveAndRiskPoints)->Args({80, 2})->Args({2000, 21})->Unit(benchmark::kMicrosecond);

}  // namespace

// What a person waits for: `velaqm run` of a one-line scenario as a whole process, the copy of
// the seeded database included (target: under 50 ms). The in-process figure beside it shows how
// much of that is the process itself.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_process.h"
#include "cli/scenario.h"
#include "cli/scenario_run.h"

namespace {

using velaqm::bench::RunQuietly;
using velaqm::bench::TempFile;
using velaqm::bench::VelaqmExecutable;

constexpr const char* kOneLine = "new 1001910\n";

void BM_VelaqmRunProcess(benchmark::State& state) {
    const TempFile scenario(".vqs", kOneLine);
    const std::vector<std::string> args{VelaqmExecutable().string(), "run",
                                        scenario.Path().string()};
    if (RunQuietly(args) != 0) {
        state.SkipWithError("velaqm run did not pass; is the velaqm command built?");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(RunQuietly(args));
}
BENCHMARK(BM_VelaqmRunProcess)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

void BM_RunScriptInProcess(benchmark::State& state) {
    velaqm::cli::RunSettings settings;
    settings.programDir = VelaqmExecutable().parent_path();
    std::vector<velaqm::cli::ScriptError> errors;
    const auto script = velaqm::cli::ParseScript(kOneLine, "bench.vqs", errors);
    for (auto _ : state) {
        std::ostringstream out;
        benchmark::DoNotOptimize(velaqm::cli::RunScript(script, settings, out).passed);
    }
}
BENCHMARK(BM_RunScriptInProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

// Several users saving at once: W velaqm processes share the 200 saves of customer service logs
// into one database file between them. Target: four writers together save at least half as many
// bills a second as one writer alone.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_process.h"

namespace {

using velaqm::bench::ExitStatus;
using velaqm::bench::StartQuietly;
using velaqm::bench::TempFile;
using velaqm::bench::VelaqmExecutable;

constexpr int kSaves = 200;

std::string SavingScenario(int writer, int saves) {
    std::ostringstream text;
    for (int i = 1; i <= saves; ++i)
        text << "new 1001910\nedit FContent \"writer " << writer << " save " << i
             << "\"\nsave\nexpect saved\n";
    return text.str();
}

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void BM_ConcurrentWriters(benchmark::State& state) {
    const int writers = static_cast<int>(state.range(0));
    const std::filesystem::path velaqm = VelaqmExecutable();
    const std::string seed = ReadAll(velaqm.parent_path() / "velaqm.db");
    std::vector<std::unique_ptr<TempFile>> scenarios;
    for (int w = 1; w <= writers; ++w)
        scenarios.push_back(
            std::make_unique<TempFile>(".vqs", SavingScenario(w, kSaves / writers)));
    for (auto _ : state) {
        state.PauseTiming();
        const TempFile database(".db", seed);
        state.ResumeTiming();
        std::vector<pid_t> running;
        for (const auto& scenario : scenarios)
            running.push_back(StartQuietly({velaqm.string(), "run", "--db",
                                            database.Path().string(), scenario->Path().string()}));
        for (const pid_t pid : running)
            if (ExitStatus(pid) != 0) state.SkipWithError("a writer's save failed");
    }
    state.SetItemsProcessed(state.iterations() * kSaves);
}
BENCHMARK(BM_ConcurrentWriters)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

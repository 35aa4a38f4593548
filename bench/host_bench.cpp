// The plug-in frame at work in the substitute host: the toolbar state after a load, a whole
// load of the customer service log, and a list audit and a list deletion of many bills.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/bench_session.h"
#include "billops/audit.h"
#include "billops/audit_tools.h"
#include "billops/list_delete.h"
#include "frame/platform.h"
#include "host/bill_form.h"
#include "host/list_form.h"
#include "host/session.h"

namespace {

using velaqm::bench::BenchSession;

void BM_SetAuditMenuState(benchmark::State& state) {
    BenchSession bench;
    bench.AddBills(1);
    velaqm::host::BillForm& form = bench.session->OpenBill(1001910, 1, false);
    for (auto _ : state) {
        bool keepRowTools = false;
        velaqm::SetAuditMenuState(form, keepRowTools);
    }
}
BENCHMARK(BM_SetAuditMenuState)->Unit(benchmark::kMicrosecond);

// RefreshBill of the customer service log: the host's reload with the plug-in's AfterLoadBill.
void BM_ClientServiceLogReload(benchmark::State& state) {
    BenchSession bench;
    bench.AddBills(1);
    velaqm::host::BillForm& form = bench.session->OpenBill(1001910, 1, false);
    for (auto _ : state)
        form.RefreshBill();
}
BENCHMARK(BM_ClientServiceLogReload)->Unit(benchmark::kMicrosecond);

// The customer service log's list with its `count` bills, all selected.
velaqm::host::ListForm& ListWithAllSelected(BenchSession& bench, int count) {
    velaqm::host::ListForm& list = bench.session->OpenList(1001910);
    std::vector<velaqm::host::ListForm::Selection> rows;
    for (int id = 1; id <= count; ++id)
        rows.push_back({"KF" + std::to_string(100000 + id), 0});
    list.Select(rows);
    return list;
}

void BM_ListAuditOfSelectedBills(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        BenchSession bench;
        bench.AddBills(count);
        velaqm::host::ListForm& list = ListWithAllSelected(bench, count);
        const auto start = std::chrono::steady_clock::now();
        velaqm::AuditSelectedBills(list, true, false);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(BM_ListAuditOfSelectedBills)
    ->Arg(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Every selected bill: rights, task lock, the host's deletion in its transaction, the log line.
void BM_ListDeleteOfSelectedBills(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        BenchSession bench;
        bench.AddBills(count);
        velaqm::host::ListForm& list = ListWithAllSelected(bench, count);
        bench.session->QueueAnswer(velaqm::kAnswerYes);
        const auto start = std::chrono::steady_clock::now();
        velaqm::DeleteSelectedBills(list);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(BM_ListDeleteOfSelectedBills)
    ->Arg(1000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

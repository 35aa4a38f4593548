// Expanding a lookup filter with five place-holders over the fields of an open bill (the
// sampling standard), as a lookup does each time the user types into a source-bill field.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_session.h"
#include "billops/lookup_filter.h"
#include "frame/collections.h"
#include "host/bill_form.h"

namespace {

using velaqm::bench::BenchSession;

void BM_ExpandFilterFivePlaceHolders(benchmark::State& state) {
    BenchSession bench;
    velaqm::host::BillForm& form = bench.session->OpenNewBill(1001900);
    form.SetValueByKey("FName", "O'Brien plan", -1);
    form.SetValueByKey("FNote", "B01", -1);
    form.SetValueByKey("FDate", "2009-09-30", -1);
    velaqm::DictionaryPtr lookup = velaqm::NewDictionary();
    lookup->SetItem("FFilter",
                    "v1.FName = GetFldValue(FName,0) AND v1.FNote = GetFldValue(FNote,0) AND "
                    "v1.FDate <= GetFldValue(FDate,0) AND v1.FBillNo = GetFldValue(FBillNo,0) AND "
                    "v1.FSampMethodID = getfldvalue(FSampMethodID,2)");
    std::string expanded;
    for (auto _ : state) {
        expanded = velaqm::ExpandFilter(lookup, form);
        benchmark::DoNotOptimize(expanded);
    }
    if (expanded.find("'O''Brien plan'") == std::string::npos)
        state.SkipWithError("the filter was not expanded");
}
BENCHMARK(BM_ExpandFilterFivePlaceHolders)->Unit(benchmark::kMicrosecond);

}  // namespace

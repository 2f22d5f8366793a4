// What the strict check of XML text costs: a parse of stores of 500, 2,000 and 8,000 orders
// through the platform's document, beside the check alone on the same text.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/support/bench_machine.h"
#include "platform/xml/document.h"
#include "platform/xml/well_formed_text.h"

namespace {

void BM_ParseStore(benchmark::State& state) {
    const std::string store = bench::storeText(1, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        platform::xml::Document document;
        benchmark::DoNotOptimize(document.parse(store));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * store.size()));
}

void BM_WellFormedTextCheck(benchmark::State& state) {
    const std::string store = bench::storeText(1, static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            platform::xml::IsWellFormedText(store, platform::xml::TextEncoding::Utf8));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * store.size()));
}

BENCHMARK(BM_ParseStore)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WellFormedTextCheck)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// DownloadXml of 100 new orders (with their activities and cost lines) into stores of 500,
// 2,000 and 8,000 orders, beside the floor: one plain parse plus one serialization of the same
// store, in memory and as a load of the file plus an atomic save.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/support/bench_machine.h"
#include "platform/text_file.h"
#include "platform/xml/document.h"

namespace {

constexpr int kNewOrders = 100;

using bench::Machine;
using bench::storeText;

void BM_DownloadXml100NewOrders(benchmark::State& state) {
    const int storeOrders = static_cast<int>(state.range(0));
    Machine machine;
    const std::string store = storeText(1, storeOrders);
    const quillmere::Variant download = quillmere::Variant::text(storeText(1'000'000, kNewOrders));
    for (auto _ : state) {
        state.PauseTiming();
        platform::writeFileAtomically(machine.storeFile(), store);
        state.ResumeTiming();
        const std::string result = machine.call("DownloadXml", {download});
        benchmark::DoNotOptimize(result);
    }
    state.SetLabel(std::to_string(storeOrders) + " orders");
}

// The same floor with the file: load it and save it back atomically.
void BM_FloorLoadSave(benchmark::State& state) {
    Machine machine;
    platform::writeFileAtomically(machine.storeFile(),
                                  storeText(1, static_cast<int>(state.range(0))));
    for (auto _ : state) {
        platform::xml::Document document;
        benchmark::DoNotOptimize(document.loadFile(machine.storeFile()));
        document.save(machine.storeFile());
    }
}

BENCHMARK(BM_DownloadXml100NewOrders)
    ->Arg(500)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(bench::FloorParseSerialize)
    ->Arg(500)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorLoadSave)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

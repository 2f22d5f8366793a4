// MyActivities on stores of 500, 2,000 and 8,000 open orders (two activities each), beside the
// floor: one plain parse plus one serialization of the same store.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/support/bench_machine.h"
#include "platform/text_file.h"
#include "platform/xml/document.h"

namespace {

using bench::Machine;
using bench::storeText;

void BM_MyActivities(benchmark::State& state) {
    const int storeOrders = static_cast<int>(state.range(0));
    Machine machine;
    platform::writeFileAtomically(machine.storeFile(), storeText(1, storeOrders));
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string html = machine.call("MyActivities", {quillmere::Variant::text("")});
        bytes = html.size();
        benchmark::DoNotOptimize(html);
    }
    state.SetLabel(std::to_string(bytes) + " bytes of HTML");
}

BENCHMARK(BM_MyActivities)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(bench::FloorParseSerialize)
    ->Arg(500)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// A resident instance (the application host, `quillmere batch`) on a store of 8,000 orders:
// the tenth of ten consecutive DownloadXml calls of 10 new orders, beside its floor (one
// serialization and atomic save of the store), and MyActivities on an unchanged store, beside
// one parse of it.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/support/bench_machine.h"
#include "platform/text_file.h"
#include "platform/xml/document.h"

namespace {

constexpr int kStoreOrders = 8000;
constexpr int kNewOrders = 10;

using bench::Machine;
using bench::storeText;

quillmere::Variant downloadOf(int first) {
    return quillmere::Variant::text(storeText(first, kNewOrders));
}

// state.range(0): 1 for a resident instance, 0 for one that loads on every call.
void BM_TenthDownloadXml(benchmark::State& state) {
    Machine machine;
    machine.client->session().state.keepDocuments = state.range(0) == 1;
    const std::string store = storeText(1, kStoreOrders);
    int next = 1'000'000;
    for (auto _ : state) {
        state.PauseTiming();
        platform::writeFileAtomically(machine.storeFile(), store);
        for (int call = 0; call < 9; ++call, next += kNewOrders)
            machine.call("DownloadXml", {downloadOf(next)});
        const quillmere::Variant tenth = downloadOf(next);
        next += kNewOrders;
        state.ResumeTiming();
        const std::string result = machine.call("DownloadXml", {tenth});
        benchmark::DoNotOptimize(result);
    }
}

// The floor of the tenth download: the store after nine downloads, serialized and saved.
void BM_FloorSerializeSave(benchmark::State& state) {
    Machine machine;
    platform::xml::Document document;
    document.parse(storeText(1, kStoreOrders + 9 * kNewOrders));
    for (auto _ : state) document.save(machine.storeFile());
}

// state.range(0): 1 for a resident instance, 0 for one that loads on every call.
void BM_MyActivities(benchmark::State& state) {
    Machine machine;
    machine.client->session().state.keepDocuments = state.range(0) == 1;
    platform::writeFileAtomically(machine.storeFile(), storeText(1, kStoreOrders));
    machine.call("MyActivities", {quillmere::Variant::text("")});
    for (auto _ : state) {
        const std::string html = machine.call("MyActivities", {quillmere::Variant::text("")});
        benchmark::DoNotOptimize(html);
    }
}

void BM_FloorParse(benchmark::State& state) {
    const std::string store = storeText(1, kStoreOrders);
    for (auto _ : state) {
        platform::xml::Document document;
        benchmark::DoNotOptimize(document.parse(store));
    }
}

BENCHMARK(BM_TenthDownloadXml)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorSerializeSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MyActivities)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorParse)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

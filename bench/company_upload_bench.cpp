// The company-server stand-in taking over an upload: every record of the upload is reviewed and
// applied to the engineer's server document. Measured against the floor of parsing both
// documents and serializing the server's once.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/support/bench_machine.h"
#include "tools/company-server/core/upload_review.h"

namespace {

class KnownItems : public company_server::ItemCatalog {
  public:
    bool contains(std::string_view item) override { return item == "PMP-25"; }
};

// The store of range(0) orders with every record changed on the laptop.
std::string uploadText(int orders) {
    std::string text = bench::storeText(1, orders);
    for (size_t at = 0; (at = text.find("State=\"O\"><", at)) != std::string::npos; ++at)
        text.replace(at, 9, "State=\"M\"");
    return text;
}

void ReviewUpload(benchmark::State& state) {
    const int orders = static_cast<int>(state.range(0));
    const std::string server = bench::storeText(1, orders);
    const std::string upload = uploadText(orders);
    KnownItems items;
    for (auto _ : state) {
        platform::xml::Document uploadDocument, serverDocument;
        uploadDocument.parse(upload);
        serverDocument.parse(server);
        const auto entries =
            company_server::reviewUpload(uploadDocument.root(), serverDocument, items);
        const std::string report = company_server::reportText("upload.xml", entries);
        std::string saved = serverDocument.serialize();
        benchmark::DoNotOptimize(report);
        benchmark::DoNotOptimize(saved);
    }
    state.counters["records"] = orders * 6;
}

void FloorParseBothSerializeOne(benchmark::State& state) {
    const int orders = static_cast<int>(state.range(0));
    const std::string server = bench::storeText(1, orders);
    const std::string upload = uploadText(orders);
    for (auto _ : state) {
        platform::xml::Document uploadDocument, serverDocument;
        benchmark::DoNotOptimize(uploadDocument.parse(upload));
        benchmark::DoNotOptimize(serverDocument.parse(server));
        std::string saved = serverDocument.serialize();
        benchmark::DoNotOptimize(saved);
    }
}

BENCHMARK(ReviewUpload)->Arg(500)->Arg(2000)->Arg(4000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(FloorParseBothSerializeOne)
    ->Arg(500)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// A synchronizer run over 100,000 ERP changes spread over the 24 business objects, inside this
// process, against the floor: the same rows written straight into SQLite, one prepared upsert
// (or delete) per change inside one transaction per table.
#include <benchmark/benchmark.h>

#include "bench/support/sync_bench_machine.h"

namespace {

bench::SyncBenchMachine& machine() {
    static bench::SyncBenchMachine instance(
        bench::Database::SQLite,
        bench::generateChanges(bench::changesToRun(100000), bench::allTransfers()));
    return instance;
}

void BM_SynchronizerRun(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        machine().reset();
        state.ResumeTiming();
        machine().runInProcess();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(machine().changes()));
}
BENCHMARK(BM_SynchronizerRun)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RawSqliteUpsertFloor(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        machine().reset();
        state.ResumeTiming();
        machine().upsertFloor();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(machine().changes()));
}
BENCHMARK(BM_RawSqliteUpsertFloor)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();

// build/bin/brindlemoor --run over 1,000,000 ERP changes spread over the 24 business objects,
// with the server database and the ERP audit database on PostgreSQL (a throwaway cluster on a
// unix socket, as the tests start it), against the floor: the same rows written with one
// prepared upsert (or delete) per change, one transaction per table. Wall-clock times.
#include <benchmark/benchmark.h>

#include "bench/support/sync_bench_machine.h"

namespace {

// The exit status of a run without PostgreSQL, which ctest counts as skipped.
constexpr int kSkipped = 77;

bench::SyncBenchMachine& machine() {
    const testing_support::PostgresCluster& cluster = testing_support::PostgresCluster::shared();
    if (!cluster.skipReason().empty()) {
        std::fprintf(stderr, "skipped: %s\n", cluster.skipReason().c_str());
        std::exit(kSkipped);
    }
    static bench::SyncBenchMachine instance(
        bench::Database::PostgreSQL,
        bench::generateChanges(bench::changesToRun(1000000), bench::allTransfers()));
    return instance;
}

// Wall time as the scheduler waits for it; the program's own CPU time as a counter.
void BM_BrindlemoorRunProgram(benchmark::State& state) {
    double programCpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        machine().reset();
        state.ResumeTiming();
        programCpu += machine().runProgram();
    }
    state.counters["program_cpu_s"] =
        benchmark::Counter(programCpu, benchmark::Counter::kAvgIterations);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(machine().changes()));
}
BENCHMARK(BM_BrindlemoorRunProgram)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void BM_PostgresUpsertFloor(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        machine().reset();
        state.ResumeTiming();
        machine().upsertFloor();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(machine().changes()));
}
BENCHMARK(BM_PostgresUpsertFloor)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

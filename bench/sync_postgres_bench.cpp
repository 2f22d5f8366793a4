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

void BM_BrindlemoorRunProgram(benchmark::State& state) {
    bench::timeProgramRuns(state, machine());
}
BENCHMARK(BM_BrindlemoorRunProgram)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void BM_PostgresUpsertFloor(benchmark::State& state) {
    bench::timeUpsertFloor(state, machine());
}
BENCHMARK(BM_PostgresUpsertFloor)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

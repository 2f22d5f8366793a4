// build/bin/brindlemoor --run over 100,000 ERP changes of UNITS on SQLite, timed from outside as
// an operator's scheduler sees it (process start, start-up, reading and decoding the audit
// rows, look-ups, the change file, the log), against the floor: a plain upsert of the same rows
// in one transaction. Wall-clock times.
#include <benchmark/benchmark.h>

#include "bench/support/sync_bench_machine.h"

namespace {

bench::SyncBenchMachine& machine() {
    static bench::SyncBenchMachine instance(
        bench::Database::SQLite,
        bench::generateChanges(bench::changesToRun(100000), bench::unitsOnly()));
    return instance;
}

void BM_BrindlemoorRunProgram(benchmark::State& state) {
    bench::timeProgramRuns(state, machine());
}
BENCHMARK(BM_BrindlemoorRunProgram)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_SqliteUpsertFloor(benchmark::State& state) {
    bench::timeUpsertFloor(state, machine());
}
BENCHMARK(BM_SqliteUpsertFloor)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

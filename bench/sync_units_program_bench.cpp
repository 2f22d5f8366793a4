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
BENCHMARK(BM_BrindlemoorRunProgram)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_SqliteUpsertFloor(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        machine().reset();
        state.ResumeTiming();
        machine().upsertFloor();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(machine().changes()));
}
BENCHMARK(BM_SqliteUpsertFloor)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

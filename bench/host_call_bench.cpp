// What the host adds to a call of the component: the hop to the call thread with the JSON
// conversion, and the whole HTTP round trip of POST /api/call on the loopback interface (one
// kept-alive connection, as a browser uses).
#include <benchmark/benchmark.h>

#include <thread>

#include "bench/support/bench_machine.h"
#include "tools/quillmere/host/call_thread.h"
#include "tools/quillmere/host/host_routes.h"
#include "tools/quillmere/json_call.h"

namespace {

constexpr const char* kCall = R"(["GetVariable", "Mode"])";

void DirectInvoke(benchmark::State& state) {
    bench::Machine machine;
    for (auto _ : state)
        benchmark::DoNotOptimize(machine.call("GetVariable", {quillmere::Variant::text("Mode")}));
}

void JsonCallOnTheCallThread(benchmark::State& state) {
    bench::Machine machine;
    bench::QuietSink sink;
    quillmere::host::CallThread calls(platform::MachineRoot(machine.directory), sink);
    for (auto _ : state)
        benchmark::DoNotOptimize(calls.run([](quillmere::Client20& client) {
            return quillmere::tool::answerJsonCall(client, kCall);
        }));
}

void HttpApiCall(benchmark::State& state) {
    bench::Machine machine;
    bench::QuietSink sink;
    quillmere::host::CallThread calls(platform::MachineRoot(machine.directory), sink);
    taviro::service::LocalHttpServer server;
    const int port = server.bind(0);
    const quillmere::host::HostSettings settings{platform::MachineRoot(machine.directory),
                                                 machine.directory, machine.directory, ""};
    const quillmere::host::RequestGuard guard("token", port);
    quillmere::host::installRoutes(server, settings, guard, calls);
    std::thread serving([&server] { server.http().listen_after_bind(); });
    httplib::Client client("127.0.0.1", port);
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);  // as browsers do
    const httplib::Headers headers = {{"X-Quillmere-Token", "token"}};
    for (auto _ : state) {
        const auto answer = client.Post("/api/call", headers, kCall, "application/json");
        if (!answer || answer->status != 200) state.SkipWithError("the call failed");
        benchmark::DoNotOptimize(answer);
    }
    server.http().stop();
    serving.join();
}

BENCHMARK(DirectInvoke)->Unit(benchmark::kMicrosecond);
BENCHMARK(JsonCallOnTheCallThread)->Unit(benchmark::kMicrosecond);
BENCHMARK(HttpApiCall)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

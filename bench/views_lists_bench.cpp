// The order, activity and cost-line lists on stores of 500, 2,000 and 8,000 orders (two
// activities and one line per cost type each), beside the floor: one plain parse of the store.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "bench/support/bench_machine.h"
#include "platform/text_file.h"
#include "platform/xml/document.h"

namespace {

using quillmere::Variant;

std::string activityGroup(int number) {
    std::string group = "<ServiceOrder ID=\"SO-" + std::to_string(number) + "\" State=\"O\">";
    for (int activity = 10; activity <= 20; activity += 10) {
        group +=
            "<record Activity=\"" + std::to_string(activity) + "\" State=\"" +
            (activity == 10 ? "O" : "MU") +
            "\"><ActivityStatus>15</ActivityStatus><ActivityDescription>Replace circulation pump"
            "</ActivityDescription><ReferenceActivity>RA-PUMP</"
            "ReferenceActivity><Object>OBJ-0311-02</Object>"
            "<PlannedStartTime>20261207 0930</PlannedStartTime><PlannedFinishTime>20261207 1200"
            "</PlannedFinishTime><Remarks>none</Remarks></record>";
    }
    return group + "</ServiceOrder>";
}

std::string lineGroup(int number) {
    return "<ServiceOrder ID=\"SO-" + std::to_string(number) +
           "\" Activity=\"10\" State=\"O\"><record LineNumber=\"1\" State=\"M\"><ServiceOrder>SO-" +
           std::to_string(number) +
           "</ServiceOrder><Activity>10</Activity><LineNumber>1</LineNumber><ServiceItem>PMP-25</"
           "ServiceItem>"
           "<DeliveryType>12</DeliveryType><ActualWarehouse>W1</ActualWarehouse>"
           "<DeliveredQuantity>1</DeliveredQuantity></record></ServiceOrder>";
}

std::string storeText(int count) {
    std::string orders, activities, lines;
    for (int number = 1; number <= count; ++number) {
        orders += bench::orderRecord(number, "15");
        activities += activityGroup(number);
        lines += lineGroup(number);
    }
    return bench::storeDocument(orders, activities, lines);
}

void runList(benchmark::State& state, const char* method, std::vector<Variant> args) {
    bench::Machine machine;
    platform::writeFileAtomically(machine.storeFile(), storeText(static_cast<int>(state.range(0))));
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string html = machine.call(method, args);
        if (html.empty()) throw std::runtime_error(std::string(method) + " listed nothing");
        bytes = html.size();
        benchmark::DoNotOptimize(html);
    }
    state.SetLabel(std::to_string(bytes) + " bytes of HTML");
}

void BM_ListOrders(benchmark::State& state) {
    runList(state, "ListOrders", {});
}
void BM_ViewActivities_W(benchmark::State& state) {
    runList(state, "ViewActivities_W", {});
}
void BM_ViewCostLines_W(benchmark::State& state) {
    runList(state, "ViewCostLines_W", {Variant::text("Material")});
}

void BM_FloorParse(benchmark::State& state) {
    const std::string store = storeText(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        platform::xml::Document document;
        benchmark::DoNotOptimize(document.parse(store));
    }
}

BENCHMARK(BM_ListOrders)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewActivities_W)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ViewCostLines_W)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorParse)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

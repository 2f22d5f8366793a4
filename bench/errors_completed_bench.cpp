// deleteCompletedOrders on stores of 500, 2,000 and 8,000 open orders (two activities and one
// line per cost type each), against a server document that still lists nine orders in ten and
// of those only the first activity: a tenth of the orders and half the remaining activities
// go. Beside it the floor: one parse of the store, one of the server document and one save.
#include <benchmark/benchmark.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "bench/support/bench_machine.h"
#include "platform/text_file.h"
#include "platform/xml/document.h"

namespace {

using quillmere::Variant;

std::string orderRecord(int number) {
    std::string record = "<record ServiceOrder=\"SO-" + std::to_string(number) + "\" State=\"O\">";
    record +=
        "<OrderStatus>15</OrderStatus><Description>Boiler makes a knocking noise</Description>";
    for (int field = 2; field < 24; ++field)
        record += "<F" + std::to_string(field) + ">value " + std::to_string(field) + "</F" +
                  std::to_string(field) + ">";
    return record + "</record>";
}

std::string activityGroup(int number, int activities) {
    std::string group = "<ServiceOrder ID=\"SO-" + std::to_string(number) + "\" State=\"O\">";
    for (int activity = 1; activity <= activities; ++activity)
        group +=
            "<record Activity=\"" + std::to_string(activity * 10) +
            "\" State=\"O\"><ActivityStatus>15</ActivityStatus><ActivityDescription>Replace pump"
            "</ActivityDescription><Remarks>none</Remarks></record>";
    return group + "</ServiceOrder>";
}

std::string lineGroups(int number) {
    std::string groups;
    for (int activity = 10; activity <= 20; activity += 10)
        groups +=
            "<ServiceOrder ID=\"SO-" + std::to_string(number) + "\" Activity=\"" +
            std::to_string(activity) +
            "\" State=\"O\"><record LineNumber=\"1\" State=\"O\"><ServiceItem>PMP-25</ServiceItem>"
            "<DeliveredQuantity>1</DeliveredQuantity></record></ServiceOrder>";
    return groups;
}

std::string storeText(int count) {
    std::string orders, activities, lines;
    for (int number = 1; number <= count; ++number) {
        orders += orderRecord(number);
        activities += activityGroup(number, 2);
        lines += lineGroups(number);
    }
    return bench::storeDocument(orders, activities, lines);
}

std::string serverText(int count) {
    std::string orders, activities;
    for (int number = 1; number <= count; ++number) {
        if (number % 10 == 0) continue;
        orders += orderRecord(number);
        activities += activityGroup(number, 1);
    }
    return "<zudivevezored><ccsocservcordr>" + orders + "</ccsocservcordr><ccsocservcactv>" +
           activities + "</ccsocservcactv></zudivevezored>";
}

void BM_deleteCompletedOrders(benchmark::State& state) {
    const int orders = static_cast<int>(state.range(0));
    bench::Machine machine(bench::FieldDefinitions::None);  // needs no field definitions
    const std::string store = storeText(orders);
    std::vector<Variant> args = {Variant::text(serverText(orders))};
    for (auto _ : state) {
        state.PauseTiming();
        platform::writeFileAtomically(machine.storeFile(), store);
        state.ResumeTiming();
        const quillmere::CallOutcome outcome =
            machine.client->invoke("deleteCompletedOrders", args);
        if (!outcome.succeeded) throw std::runtime_error(outcome.description);
    }
    const std::string left = platform::readWholeFile(machine.storeFile());
    state.SetLabel(std::to_string(store.size()) + " -> " + std::to_string(left.size()) +
                   " bytes of store");
}

void BM_FloorParseParseSave(benchmark::State& state) {
    const int orders = static_cast<int>(state.range(0));
    bench::Machine machine(bench::FieldDefinitions::None);  // needs no field definitions
    const std::string store = storeText(orders);
    const std::string server = serverText(orders);
    for (auto _ : state) {
        platform::xml::Document storeDocument;
        platform::xml::Document serverDocument;
        benchmark::DoNotOptimize(storeDocument.parse(store));
        benchmark::DoNotOptimize(serverDocument.parse(server));
        storeDocument.save(machine.storeFile());
    }
}

BENCHMARK(BM_deleteCompletedOrders)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorParseParseSave)->Arg(500)->Arg(2000)->Arg(8000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

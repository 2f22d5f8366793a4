// The order, activity and cost-line lists on stores of 500, 2,000 and 8,000 orders (two
// activities and one line per cost type each), beside the floor: one plain parse of the store.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "component/core/install_paths.h"
#include "component/core/method_bindings.h"
#include "platform/messages.h"
#include "platform/text_file.h"
#include "platform/xml/document.h"

namespace {

using quillmere::Variant;

std::string orderRecord(int number) {
    std::string record = "<record ServiceOrder=\"SO-" + std::to_string(number) + "\" State=\"O\">";
    record += "<OrderStatus>15</OrderStatus><Description>Boiler makes a knocking noise</Description>"
              "<OrderDate>20261201 0915</OrderDate>";
    for (int field = 3; field < 24; ++field)
        record += "<F" + std::to_string(field) + ">value " + std::to_string(field) + "</F" + std::to_string(field) + ">";
    return record + "</record>";
}

std::string activityGroup(int number) {
    std::string group = "<ServiceOrder ID=\"SO-" + std::to_string(number) + "\" State=\"O\">";
    for (int activity = 10; activity <= 20; activity += 10) {
        group += "<record Activity=\"" + std::to_string(activity) + "\" State=\"" + (activity == 10 ? "O" : "MU") +
                 "\"><ActivityStatus>15</ActivityStatus><ActivityDescription>Replace circulation pump"
                 "</ActivityDescription><ReferenceActivity>RA-PUMP</ReferenceActivity><Object>OBJ-0311-02</Object>"
                 "<PlannedStartTime>20261207 0930</PlannedStartTime><PlannedFinishTime>20261207 1200"
                 "</PlannedFinishTime><Remarks>none</Remarks></record>";
    }
    return group + "</ServiceOrder>";
}

std::string lineGroup(int number) {
    return "<ServiceOrder ID=\"SO-" + std::to_string(number) +
           "\" Activity=\"10\" State=\"O\"><record LineNumber=\"1\" State=\"M\"><ServiceOrder>SO-" +
           std::to_string(number) +
           "</ServiceOrder><Activity>10</Activity><LineNumber>1</LineNumber><ServiceItem>PMP-25</ServiceItem>"
           "<DeliveryType>12</DeliveryType><ActualWarehouse>W1</ActualWarehouse>"
           "<DeliveredQuantity>1</DeliveredQuantity></record></ServiceOrder>";
}

std::string storeText(int count) {
    std::string orders, activities, lines;
    for (int number = 1; number <= count; ++number) {
        orders += orderRecord(number);
        activities += activityGroup(number);
        lines += lineGroup(number);
    }
    return "<zudivevezored><ccsocservcordr>" + orders + "</ccsocservcordr><ccsocservcactv>" + activities +
           "</ccsocservcactv><ccsocservcmatl>" + lines + "</ccsocservcmatl><ccsocservclabr>" + lines +
           "</ccsocservclabr><ccsocservcothr>" + lines + "</ccsocservcothr><ccsocservchra/></zudivevezored>";
}

class QuietSink : public platform::MessageSink {
public:
    void show(const std::string&, const std::string&, platform::MessageIcon) override {}
};

// A machine root with an initialized component, the delivered field definitions and a store.
struct Machine {
    explicit Machine(int orders) {
        std::string pattern = (std::filesystem::temp_directory_path() / "taviro-bench-XXXXXX").string();
        directory = ::mkdtemp(pattern.data());
        std::filesystem::create_directories(directory / "C");
        client = quillmere::CreateClient20(platform::MachineRoot(directory), sink);
        call("Initialize", {});
        std::ifstream in(std::string(TAVIRO_SOURCE_DIR) + "/data/FieldMapper.xml", std::ios::binary);
        const std::string fieldMapper((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        call("getFMapper", {Variant::text(fieldMapper), Variant::text("Yes")});
        platform::writeFileAtomically(client->session().path(quillmere::paths::kOrderStore), storeText(orders));
    }
    ~Machine() { std::filesystem::remove_all(directory); }
    std::string call(const char* method, std::vector<Variant> args) {
        const quillmere::CallOutcome outcome = client->invoke(method, args);
        if (!outcome.succeeded) throw std::runtime_error(std::string(method) + ": " + outcome.description);
        return outcome.result.asText();
    }

    std::filesystem::path directory;
    QuietSink sink;
    std::unique_ptr<quillmere::Client20> client;
};

void runList(benchmark::State& state, const char* method, std::vector<Variant> args) {
    Machine machine(static_cast<int>(state.range(0)));
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string html = machine.call(method, args);
        if (html.empty()) throw std::runtime_error(std::string(method) + " listed nothing");
        bytes = html.size();
        benchmark::DoNotOptimize(html);
    }
    state.SetLabel(std::to_string(bytes) + " bytes of HTML");
}

void BM_ListOrders(benchmark::State& state) { runList(state, "ListOrders", {}); }
void BM_ViewActivities_W(benchmark::State& state) { runList(state, "ViewActivities_W", {}); }
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

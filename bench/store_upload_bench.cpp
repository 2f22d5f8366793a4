// The upload document of a large order store: CreateXMLStringForUpdate on 8,000 orders (two
// activities each, a material and a labor line per activity) of which 10% of the records are
// changed, beside the floor: one plain parse plus one serialization of the same store.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "component/core/method_bindings.h"
#include "platform/messages.h"
#include "platform/xml/document.h"

namespace {

constexpr int kOrders = 8000;

// Every tenth record of each kind is changed on the laptop.
const char* stateOf(int index) {
    return index % 10 == 3 ? "M" : "O";
}

std::string fields(const std::string& prefix, int count) {
    std::string xml;
    for (int i = 1; i < count; ++i) {
        const std::string name = prefix + std::to_string(i);
        xml += "<" + name + ">value " + std::to_string(i) + "</" + name + ">";
    }
    return xml;
}

std::string buildStore() {
    const std::string orderFields = fields("OrderField", 24);
    const std::string activityFields = fields("ActivityField", 14);
    const std::string lineFields = fields("LineField", 10);
    std::string orders, activities, material, labor;
    int record = 0;
    for (int o = 0; o < kOrders; ++o) {
        const std::string number = std::to_string(100000 + o);
        orders += "<record ServiceOrder=\"" + number + "\" State=\"" + stateOf(record++) +
                  "\"><OrderStatus>15</OrderStatus>" + orderFields + "</record>";
        activities += "<ServiceOrder ID=\"" + number + "\" State=\"O\">";
        for (int a = 1; a <= 2; ++a) {
            const std::string activity = std::to_string(a * 10);
            activities += "<Activity Activity=\"" + activity + "\" State=\"" + stateOf(record++) +
                          "\"><ActivityStatus>15</ActivityStatus>" + activityFields + "</Activity>";
            for (std::string* lines : {&material, &labor}) {
                *lines += "<ServiceOrder ID=\"" + number + "\" Activity=\"" + activity +
                          "\" State=\"O\"><Line LineNumber=\"1\" State=\"" + stateOf(record++) +
                          "\">" + lineFields + "</Line></ServiceOrder>";
            }
        }
        activities += "</ServiceOrder>";
    }
    return "<zudivevezored><ccsocservcordr>" + orders + "</ccsocservcordr><ccsocservcactv>" +
           activities + "</ccsocservcactv><ccsocservcmatl>" + material +
           "</ccsocservcmatl><ccsocservclabr>" + labor +
           "</ccsocservclabr><ccsocservcothr/><ccsocservchra/></zudivevezored>";
}

class BenchMachine {
  public:
    BenchMachine() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "taviro-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        dir_ = pattern;
        std::filesystem::create_directories(dir_ / "C");
        client_ = quillmere::CreateClient20(platform::MachineRoot(dir_), messages_);
        std::vector<quillmere::Variant> none;
        if (!client_->invoke("Initialize", none).succeeded)
            throw std::runtime_error("Initialize failed");
        store_ = buildStore();
    }
    ~BenchMachine() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    std::filesystem::path storePath() const {
        return dir_ / "C" / "Taviro Quillmere" / "ZudivevEzored.xml";
    }
    void writeStore() const { std::ofstream(storePath(), std::ios::binary) << store_; }
    quillmere::Client20& client() { return *client_; }

  private:
    std::filesystem::path dir_;
    platform::StandardErrorMessageSink messages_;
    std::unique_ptr<quillmere::Client20> client_;
    std::string store_;
};

BenchMachine& machine() {
    static BenchMachine instance;
    return instance;
}

void BM_CreateXMLStringForUpdate(benchmark::State& state) {
    BenchMachine& m = machine();
    size_t uploadBytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        m.writeStore();  // every run finds the same unmarked store
        state.ResumeTiming();
        std::vector<quillmere::Variant> none;
        const quillmere::CallOutcome outcome = m.client().invoke("CreateXMLStringForUpdate", none);
        if (!outcome.succeeded) state.SkipWithError(outcome.description.c_str());
        uploadBytes = outcome.result.textRef().size();
    }
    state.counters["upload_bytes"] = static_cast<double>(uploadBytes);
}
BENCHMARK(BM_CreateXMLStringForUpdate)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The floor: the same store parsed from its file and serialized once.
void BM_Floor_ParseAndSerialize(benchmark::State& state) {
    BenchMachine& m = machine();
    m.writeStore();
    for (auto _ : state) {
        platform::xml::Document document;
        if (!document.loadFile(m.storePath())) state.SkipWithError("store does not load");
        benchmark::DoNotOptimize(document.serialize());
    }
}
BENCHMARK(BM_Floor_ParseAndSerialize)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();

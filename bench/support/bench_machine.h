// What the component benchmarks share: a sample order store and a throw-away machine root with
// an initialized component. Header-only, because every benchmark is its own program.
#pragma once

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "component/core/install_paths.h"
#include "component/core/method_bindings.h"
#include "platform/messages.h"
#include "platform/xml/document.h"

namespace bench {

// An open order with 21 filler fields, so that records weigh what real ones do.
inline std::string orderRecord(int number, const char* status) {
    std::string record = "<record ServiceOrder=\"SO-" + std::to_string(number) + "\" State=\"O\">";
    record += std::string("<OrderStatus>") + status + "</OrderStatus>";
    record +=
        "<Description>Boiler makes a knocking noise</Description><OrderDate>20261201 "
        "0915</OrderDate>";
    for (int field = 3; field < 24; ++field)
        record += "<F" + std::to_string(field) + ">value " + std::to_string(field) + "</F" +
                  std::to_string(field) + ">";
    return record + "</record>";
}

inline std::string activityGroup(int number) {
    std::string group = "<ServiceOrder ID=\"SO-" + std::to_string(number) + "\" State=\"O\">";
    for (int activity = 10; activity <= 20; activity += 10) {
        group +=
            "<record Activity=\"" + std::to_string(activity) +
            "\" State=\"O\"><ActivityStatus>15</ActivityStatus>"
            "<ActivityDescription>Replace circulation "
            "pump</ActivityDescription><ReferenceActivity>RA-PUMP"
            "</ReferenceActivity><Object>OBJ-0311-02</Object><PlannedStartTime>20261207 "
            "0930</PlannedStartTime>"
            "<PlannedFinishTime>20261207 1200</PlannedFinishTime><Remarks>none</Remarks></record>";
    }
    return group + "</ServiceOrder>";
}

inline std::string lineGroup(int number) {
    return "<ServiceOrder ID=\"SO-" + std::to_string(number) +
           "\" Activity=\"10\" State=\"O\"><record LineNumber=\"1\" State=\"O\"><ServiceOrder>SO-" +
           std::to_string(number) +
           "</ServiceOrder><Activity>10</Activity><LineNumber>1</LineNumber><ServiceItem>PMP-25</"
           "ServiceItem>"
           "<DeliveredQuantity>1</DeliveredQuantity></record></ServiceOrder>";
}

// The store around the given order, activity and cost-line groups (the same lines for every
// cost type).
inline std::string storeDocument(const std::string& orders, const std::string& activities,
                                 const std::string& lines) {
    return "<zudivevezored><ccsocservcordr>" + orders + "</ccsocservcordr><ccsocservcactv>" +
           activities + "</ccsocservcactv><ccsocservcmatl>" + lines +
           "</ccsocservcmatl><ccsocservclabr>" + lines + "</ccsocservclabr><ccsocservcothr>" +
           lines + "</ccsocservcothr><ccsocservchra/></zudivevezored>";
}

// Orders first..first+count-1 with two activities each and one line per cost type.
inline std::string storeText(int first, int count) {
    std::string orders, activities, lines;
    for (int number = first; number < first + count; ++number) {
        orders += orderRecord(number, "15");
        activities += activityGroup(number);
        lines += lineGroup(number);
    }
    return storeDocument(orders, activities, lines);
}

class QuietSink : public platform::MessageSink {
  public:
    void show(const std::string&, const std::string&, platform::MessageIcon) override {}
};

enum class FieldDefinitions { Delivered, None };

// A machine root with an initialized component and, unless told otherwise, the delivered field
// definitions.
struct Machine {
    explicit Machine(FieldDefinitions definitions = FieldDefinitions::Delivered) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "taviro-bench-XXXXXX").string();
        directory = ::mkdtemp(pattern.data());
        std::filesystem::create_directories(directory / "C");
        client = quillmere::CreateClient20(platform::MachineRoot(directory), sink);
        call("Initialize", {});
        if (definitions == FieldDefinitions::None) return;
        std::ifstream in(std::string(TAVIRO_SOURCE_DIR) + "/data/FieldMapper.xml",
                         std::ios::binary);
        const std::string fieldMapper((std::istreambuf_iterator<char>(in)),
                                      std::istreambuf_iterator<char>());
        call("getFMapper",
             {quillmere::Variant::text(fieldMapper), quillmere::Variant::text("Yes")});
    }
    ~Machine() { std::filesystem::remove_all(directory); }
    std::string call(const char* method, std::vector<quillmere::Variant> args) {
        const quillmere::CallOutcome outcome = client->invoke(method, args);
        if (!outcome.succeeded)
            throw std::runtime_error(std::string(method) + ": " + outcome.description);
        return outcome.result.asText();
    }
    std::filesystem::path storeFile() const {
        return client->session().path(quillmere::paths::kOrderStore);
    }

    std::filesystem::path directory;
    QuietSink sink;
    std::unique_ptr<quillmere::Client20> client;
};

// The floor the store benchmarks are measured against: one parse and one serialization of a
// store of state.range(0) orders, in memory.
inline void FloorParseSerialize(benchmark::State& state) {
    const std::string store = storeText(1, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        platform::xml::Document document;
        benchmark::DoNotOptimize(document.parse(store));
        std::string text = document.serialize();
        benchmark::DoNotOptimize(text);
    }
}

}  // namespace bench

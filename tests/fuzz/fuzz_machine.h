#pragma once
// The machine the component's fuzz targets call: master data, the delivered field definitions,
// a small order store (an order with an activity and a material line) and an upload report with
// one refused entry. reset() puts the files back before every input, so that each input meets
// the same machine and a long run does not grow them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/xml/document.h"
#include "tests/component/masterdata/masterdata_machine.h"
#include "tests/component/support/store_markup.h"

namespace fuzzing {

inline std::string_view asText(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

class FuzzMachine : public testing_support::MasterDataMachine {
  public:
    static constexpr const char* kStoreFile = "ZudivevEzored.xml";
    static constexpr const char* kReportFile = "UploadReport.xml";

    // The one machine of the process (libFuzzer calls the target many times in one process).
    static FuzzMachine& instance() {
        static FuzzMachine machine;
        return machine;
    }

    void reset() const {
        writeInstallFile(kStoreFile, smallStore());
        writeInstallFile(kReportFile, smallReport());
        writeInstallFile("log.txt", "");
    }

    // Calls a method with one text argument; failures are answers like any other. With
    // TAVIRO_FUZZ_VERBOSE set, each answer is shown (to see how deep the seeds reach).
    void callWith(const std::string& method, std::string_view argument) {
        const quillmere::CallOutcome outcome =
            invoke(method, {testing_support::text(std::string(argument))});
        if (std::getenv("TAVIRO_FUZZ_VERBOSE") != nullptr)
            std::fprintf(
                stderr, "%s: %s %s\n", method.c_str(), outcome.succeeded ? "answered" : "failed",
                (outcome.succeeded ? outcome.result.asText() : outcome.description).c_str());
    }

    // Whatever the call answered, the state files it may have written still read as XML.
    void requireStateFilesParse() const {
        for (const char* name : {kStoreFile, kReportFile}) {
            const std::string bytes = readInstallFile(name);
            platform::xml::Document document;
            if (!bytes.empty() && !document.parse(bytes)) std::abort();
        }
    }

  private:
    static std::string smallStore() {
        using namespace testing_support;
        return store({.orders = order("100", "O", "15", "<Description>pump</Description>"),
                      .activities = activityGroup("100", "O", activity("10", "O", "15")),
                      .material = lineGroup("100", "10", "O",
                                            line("1", "O", "<ServiceItem>P</ServiceItem>"))});
    }
    static std::string smallReport() {
        return "<UploadReport><Upload File=\"up1.xml\" Status=\"Error\"><Entry ID=\"1\" "
               "Order=\"100\" Activity=\"10\" CostLine=\"\" CostType=\"\" Status=\"Error\" "
               "Description=\"refused\"/></Upload></UploadReport>";
    }
};

}  // namespace fuzzing

// Two quillmere processes working on one machine root at the same time, as the engineer's
// application host and the command line do: every change that was answered as done is there at
// the end, and the provisional record numbers never repeat.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/component/support/store_markup.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_root.h"

namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;
using testing_support::ProgramRun;
using testing_support::TempRoot;

const std::string kTool = std::string(TAVIRO_BINARY_DIR) + "/bin/quillmere";

std::string callLine(const std::vector<std::string>& call) {
    return json(call).dump() + "\n";
}

std::vector<json> answers(const ProgramRun& run) {
    std::vector<json> lines;
    std::istringstream in(run.out);
    for (std::string line; std::getline(in, line);) lines.push_back(json::parse(line));
    return lines;
}

class TwoProcesses : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(tool({"call", "Initialize"}).exitCode, 0);
        fs::copy_file(std::string(TAVIRO_SOURCE_DIR) + "/data/FieldMapper.xml",
                      install("FieldMapper.xml"), fs::copy_options::overwrite_existing);
    }

    ProgramRun tool(std::vector<std::string> args, const TempRoot& scratch = scratchA,
                    const std::string& input = {}) {
        args.insert(args.begin(), {"--root", temp.dir().string()});
        return testing_support::runProgram(kTool, args, scratch.dir().string(), input);
    }

    // Runs two batches at once, each in its own process; answers both runs.
    std::pair<ProgramRun, ProgramRun> together(const std::string& first,
                                               const std::string& second) {
        ProgramRun a, b;
        std::thread other([&] { b = tool({"batch"}, scratchB, second); });
        a = tool({"batch"}, scratchA, first);
        other.join();
        return {a, b};
    }

    fs::path install(const std::string& name) const {
        return temp.dir() / "C" / "Taviro Quillmere" / name;
    }

    // The order numbers in the store file.
    std::vector<std::string> storedOrders() const {
        const std::string store = testing_support::readFile(install("ZudivevEzored.xml"));
        static const std::regex kOrder("<record ServiceOrder=\"([^\"]*)\"");
        std::vector<std::string> numbers;
        for (std::sregex_iterator it(store.begin(), store.end(), kOrder), end; it != end; ++it)
            numbers.push_back((*it)[1]);
        return numbers;
    }

    TempRoot temp;
    static inline TempRoot scratchA{false};
    static inline TempRoot scratchB{false};
};

TEST_F(TwoProcesses, RegistryChangesSurviveAViewLoopInAnotherProcess) {
    // GetVariable shows the current database only while the folder holds one.
    testing_support::writeFile(install("MasterData/any.mdb"), "");
    const int kSets = 40;
    std::string sets;
    for (int i = 0; i < kSets; ++i) {
        sets += callLine({"SetCurrentmdb", "db" + std::to_string(i) + ".mdb"});
        sets += callLine({"GetVariable", "Currentmdb"});
    }
    std::string views;
    for (int i = 0; i < 4 * kSets; ++i) views += callLine({"ListOrders"});

    const auto [setter, viewer] = together(sets, views);
    ASSERT_EQ(setter.exitCode, 0) << setter.err;
    ASSERT_EQ(viewer.exitCode, 0) << viewer.err;
    const std::vector<json> read = answers(setter);
    ASSERT_EQ(read.size(), 2u * kSets);
    for (int i = 0; i < kSets; ++i)
        EXPECT_EQ(read[2 * i + 1]["result"], "db" + std::to_string(i) + ".mdb") << "set " << i;
    EXPECT_EQ(tool({"reg", "get", "HKLM\\SOFTWARE\\Taviro\\Taviro Quillmere", "Currentmdb"}).out,
              "db" + std::to_string(kSets - 1) + ".mdb\n");
}

TEST_F(TwoProcesses, AddedRecordsAndHandedOutNumbersFromTwoStreams) {
    const int kEach = 60;
    const auto stream = [&](const std::string& name) {
        std::string lines;
        for (int i = 0; i < kEach; ++i) {
            lines += callLine({"CreateForm", "1", "", ""});
            const std::string number = "_" + name + std::to_string(i);
            lines += callLine(
                {"AddXml", "<ccsocservcordr>" +
                               testing_support::order(number, "X", "15",
                                                      "<Description>Boiler</Description>") +
                               "</ccsocservcordr>"});
        }
        return lines;
    };
    const auto [a, b] = together(stream("a"), stream("b"));
    ASSERT_EQ(a.exitCode, 0) << a.err;
    ASSERT_EQ(b.exitCode, 0) << b.err;

    std::set<std::string> handedOut;
    size_t forms = 0;
    static const std::regex kNewNumber("<td>&nbsp;(_[0-9]+)</td>");
    for (const ProgramRun* run : {&a, &b}) {
        const std::vector<json> read = answers(*run);
        ASSERT_EQ(read.size(), 2u * kEach);
        for (size_t i = 0; i < read.size(); i += 2) {
            const std::string form = read[i]["result"].get<std::string>();
            std::smatch number;
            ASSERT_TRUE(std::regex_search(form, number, kNewNumber)) << form;
            handedOut.insert(number[1]);
            ++forms;
            EXPECT_EQ(read[i + 1]["result"], "") << read[i + 1];
        }
    }
    EXPECT_EQ(handedOut.size(), forms) << "a provisional number was handed out twice";
    const std::vector<std::string> stored = storedOrders();
    EXPECT_EQ(stored.size(), 2u * kEach);
    EXPECT_EQ(std::set<std::string>(stored.begin(), stored.end()).size(), 2u * kEach);
}

TEST_F(TwoProcesses, DownloadsBesideUpdatesKeepBoth) {
    using testing_support::order;
    const std::string first =
        testing_support::store({.orders = order("1001", "O", "15", "<Remarks>r0</Remarks>")});
    ASSERT_EQ(tool({"call", "DownloadXml", first}).exitCode, 0);

    const int kDownloads = 30, kOrdersEach = 4, kUpdates = 60;
    std::string downloads;
    for (int d = 0; d < kDownloads; ++d) {
        std::string orders;
        for (int k = 0; k < kOrdersEach; ++k)
            orders += order("D" + std::to_string(d) + "-" + std::to_string(k), "O");
        downloads += callLine({"DownloadXml", testing_support::store({.orders = orders})});
    }
    std::string updates;
    for (int u = 1; u <= kUpdates; ++u)
        updates +=
            callLine({"updatexml", "<ccsocservcordr>" +
                                       order("1001", "X", "15",
                                             "<Remarks>r" + std::to_string(u) + "</Remarks>") +
                                       "</ccsocservcordr>"});

    const auto [downloader, updater] = together(downloads, updates);
    ASSERT_EQ(downloader.exitCode, 0) << downloader.err;
    ASSERT_EQ(updater.exitCode, 0) << updater.err;
    for (const json& answer : answers(updater)) EXPECT_EQ(answer["result"], "") << answer;

    EXPECT_EQ(storedOrders().size(), 1u + kDownloads * kOrdersEach);
    EXPECT_THAT(testing_support::readFile(install("ZudivevEzored.xml")),
                testing::HasSubstr("<Remarks>r" + std::to_string(kUpdates) + "</Remarks>"));
}

}  // namespace

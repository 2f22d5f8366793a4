// The sample database of data/masterdata, brought up to date with the sample change file, knows
// every master-data code of the sample orders in data/samples.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "platform/xml/document.h"
#include "tests/component/masterdata/masterdata_machine.h"

namespace {

using ::testing::HasSubstr;

using testing_support::readFile;

std::string source(const std::string& path) {
    return readFile(std::string(TAVIRO_SOURCE_DIR) + "/" + path);
}

// Order-store fields that hold master-data codes: table and key column.
const std::map<std::string, std::pair<std::string, std::string>> kCodeFields = {
    {"SoldtoAddress", {"ADDRESSES", "CADR"}},
    {"Address", {"ADDRESSES", "CADR"}},
    {"SoldtoContact", {"CONTACTS", "CCNT"}},
    {"Configuration", {"CONFIGURATIONS", "CCFG"}},
    {"ServiceCenter", {"SERVICECENTERS", "CWOC"}},
    {"ServiceArea", {"SERVICEAREAS", "CSAR"}},
    {"ServiceType", {"SERVICETYPES", "CSTP"}},
    {"ProblemPriority", {"PRIORITIES", "PRIO"}},
    {"Problem", {"PROBLEMS", "CPRL"}},
    {"Solution", {"SOLUTIONS", "CSTN"}},
    {"ServiceCar", {"SERVICECAR", "CCAR"}},
    {"InterruptionReason", {"REASONS", "CDIS"}},
    {"CancelReason", {"REASONS", "CDIS"}},
    {"ReferenceActivity", {"REFERENCEACTIVITIES", "CRAC"}},
    {"Object", {"OBJECTS", "CROB"}},
    {"ServiceKit", {"SERVICEKITS", "CSKT"}},
    {"ActualWarehouse", {"WAREHOUSES", "CWAR"}},
    {"SalesQuantityUnit", {"UNITS", "CUNI"}},
    {"Unit", {"UNITS", "CUNI"}},
    {"HourlyLaborType", {"HOURLYLABORTYPE", "CHLT"}},
    {"Task", {"TASKS", "CTSK"}},
    {"CostComponent", {"COSTCOMPONENTS", "CPCP"}},
    {"ServiceItem", {"SERVICEITEMS", "ITEM"}},
};

class SampleMasterData : public ::testing::Test {
  protected:
    SampleMasterData() {
        machine.createDatabase("SC-NORTH");
        platform::db::connect("sqlite:" + machine.databaseFile("SC-NORTH").string(), machine.root())
            ->execute(source("data/masterdata/sample-data.sql"));
        machine.selectDatabase("SC-NORTH");
    }

    std::vector<std::string> unknownCodes(const std::string& sample) {
        platform::xml::Document document;
        EXPECT_TRUE(document.parse(source(sample)));
        auto db = platform::db::connect("sqlite:" + machine.databaseFile("SC-NORTH").string(),
                                        machine.root());
        std::vector<std::string> unknown;
        for (const pugi::xpath_node& found : document.node().select_nodes("//*")) {
            const pugi::xml_node node = found.node();
            const auto field = kCodeFields.find(node.name());
            const std::string value = platform::xml::text(node);
            if (field == kCodeFields.end() || value.empty() ||
                platform::xml::firstChildElement(node))
                continue;
            const std::string key = field->first == "ServiceItem" ? "         " + value : value;
            const auto& [table, column] = field->second;
            auto lookup = db->prepare("SELECT 1 FROM " + table + " WHERE COMP = '500' AND " +
                                      column + " = ?");
            lookup->bind(0, key);
            if (lookup->query().empty()) unknown.push_back(field->first + "=" + value);
        }
        return unknown;
    }

    testing_support::MasterDataMachine machine;
};

TEST_F(SampleMasterData, KnowsTheCodesOfTheFirstDownload) {
    EXPECT_EQ(unknownCodes("data/samples/download.xml"), std::vector<std::string>{});
}

TEST_F(SampleMasterData, ChangeFileBringsWhatTheUpdatedDownloadNeeds) {
    EXPECT_NE(unknownCodes("data/samples/download-update.xml"), std::vector<std::string>{});
    EXPECT_EQ(machine.synchronize(source("data/masterdata/sample-changes.xml")), "SUCCESSFUL");
    EXPECT_THAT(machine.log(), HasSubstr("Successful Tables = 20  Failed Tables = 0"));
    EXPECT_EQ(unknownCodes("data/samples/download-update.xml"), std::vector<std::string>{});
    EXPECT_EQ(unknownCodes("data/samples/download.xml"), std::vector<std::string>{});
}

}  // namespace

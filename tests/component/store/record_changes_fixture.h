#pragma once
// Shared by the tests of record changes (update, add, delete, upload): a component on a fresh
// machine with the delivered field definitions, the order-store builders, and a local
// master-data database in a real SQLite file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "component/core/kept_documents.h"
#include "platform/db/database.h"
#include "tests/component/support/component_fixture.h"
#include "tests/component/support/store_markup.h"

namespace record_changes {

using testing_support::labelText;
using testing_support::text;

using testing_support::activity;
using testing_support::activityGroup;
using testing_support::element;
using testing_support::line;
using testing_support::lineGroup;
using testing_support::order;
using testing_support::store;
using testing_support::StoreContent;

class RecordChangesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        machine.initializeWithFieldMapper();
        resetModuleState();
    }
    void TearDown() override { resetModuleState(); }

    // The module state outlives a component object: give every test a fresh one.
    void resetModuleState() {
        machine.session().state.validation = {};
        machine.session().state.masterData.reset();
        machine.session().state.keepDocuments = false;
        quillmere::ForgetKeptDocuments(machine.session().state);
    }

    void writeStore(const std::string& xml) { machine.writeInstallFile("ZudivevEzored.xml", xml); }
    std::string storeFile() const { return machine.readInstallFile("ZudivevEzored.xml"); }
    std::string lastError() { return machine.callText("Get_Error"); }

    std::string callText(const std::string& method, const std::vector<std::string>& args = {}) {
        std::vector<quillmere::Variant> values;
        for (const std::string& a : args) values.push_back(text(a));
        return machine.callText(method, values);
    }
    quillmere::CallOutcome invoke(const std::string& method,
                                  const std::vector<std::string>& args = {}) {
        std::vector<quillmere::Variant> values;
        for (const std::string& a : args) values.push_back(text(a));
        return machine.invoke(method, values);
    }

    // Creates a master-data file with the statements and makes it the shared connection.
    void openMasterData(const std::vector<std::string>& statements) {
        const std::string path = (machine.temp().dir() / "Service.mdb").string();
        testing_support::writeFile(path, "");  // an empty file is an empty SQLite database
        {
            auto setup = platform::db::connect("sqlite:" + path, machine.root());
            for (const std::string& sql : statements) setup->execute(sql);
        }
        machine.session().state.masterData =
            platform::db::connect("sqlite:" + path, machine.root());
    }

    // The log header of a user action at the fixed clock.
    static std::string logHeader(const std::string& action) {
        return "|--------- Logged On:  12/7/2026 9:05:00 AM  For User Action: " + action +
               "  ----------\r\n";
    }

    testing_support::ComponentMachine machine;
};

}  // namespace record_changes

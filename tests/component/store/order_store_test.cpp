#include "component/store/order_store.h"

#include <gtest/gtest.h>

#include "component/store/order_status.h"
#include "component/store/store_index.h"
#include "platform/failure.h"
#include "tests/component/support/component_fixture.h"
#include "tests/support/failure_code.h"

namespace {

using quillmere::FindActivity;
using quillmere::FindActivityGroup;
using quillmere::FindLine;
using quillmere::FindLineGroup;
using quillmere::FindOrder;
using quillmere::NextRecordNumber;
using quillmere::RecordCounter;
using testing_support::ComponentMachine;
namespace xml = platform::xml;

// Two orders (the second given twice, so first-match matters), their activity groups and line
// groups; the attribute "n" tells the copies apart.
const std::string kStore =
    "<zudivevezored>"
    "<ccsocservcordr>"
    "<record ServiceOrder=\"100\" State=\"O\" n=\"a\"><OrderStatus>15</OrderStatus></record>"
    "<record ServiceOrder=\"200\" State=\"M\" n=\"b\"><OrderStatus>20</OrderStatus></record>"
    "<record ServiceOrder=\"200\" State=\"O\" n=\"c\"><OrderStatus>35</OrderStatus></record>"
    "</ccsocservcordr>"
    "<ccsocservcactv>"
    "<ServiceOrder ID=\"100\" State=\"O\"><a Activity=\"10\" State=\"O\" n=\"d\"/><a "
    "Activity=\"20\" State=\"O\" n=\"e\"/></ServiceOrder>"
    "<ServiceOrder ID=\"200\" State=\"O\"><a Activity=\"10\" State=\"O\" n=\"f\"/></ServiceOrder>"
    "</ccsocservcactv>"
    "<ccsocservcmatl>"
    "<ServiceOrder ID=\"100\" Activity=\"10\" State=\"O\"><l LineNumber=\"1\" State=\"O\" "
    "n=\"g\"/></ServiceOrder>"
    "<ServiceOrder ID=\"100\" Activity=\"20\" State=\"O\"><l LineNumber=\"1\" State=\"O\" "
    "n=\"h\"/><l LineNumber=\"2\" State=\"O\" n=\"i\"/></ServiceOrder>"
    "</ccsocservcmatl>"
    "<ccsocservclabr><ServiceOrder ID=\"100\" Activity=\"10\" State=\"O\"><l LineNumber=\"1\" "
    "State=\"O\" n=\"j\"/></ServiceOrder></ccsocservclabr>"
    "<ccsocservcothr/><ccsocservchra/>"
    "</zudivevezored>";

std::string tag(xml::Node node) {
    return node ? node.attribute("n").value() : "(none)";
}

class OrderStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { machine.call("Initialize"); }
    quillmere::Session& session() { return machine.session(); }
    ComponentMachine machine;
};

TEST_F(OrderStoreTest, LoadsAndSavesTheStoreFileUnchanged) {
    machine.writeInstallFile("ZudivevEzored.xml", kStore);
    ASSERT_TRUE(quillmere::LoadOrderStore(session()));
    machine.writeInstallFile("ZudivevEzored.xml", "");
    quillmere::SaveOrderStore(session());
    EXPECT_EQ(machine.readInstallFile("ZudivevEzored.xml"), kStore);
}

TEST_F(OrderStoreTest, FindsTheFirstMatchOfEachRecordKind) {
    xml::Document store;
    ASSERT_TRUE(store.parse(kStore));
    for (xml::Node scope : {store.node(), store.root()}) {
        EXPECT_EQ(tag(FindOrder(scope, "100")), "a");
        EXPECT_EQ(tag(FindOrder(scope, "200")), "b");
        EXPECT_EQ(tag(FindOrder(scope, "20")), "(none)");
        EXPECT_EQ(std::string(FindActivityGroup(scope, "200").attribute("ID").value()), "200");
        EXPECT_EQ(tag(FindActivity(scope, "100", "20")), "e");
        EXPECT_EQ(tag(FindActivity(scope, "200", "10")), "f");
        EXPECT_EQ(tag(FindActivity(scope, "300", "10")), "(none)");
        EXPECT_EQ(tag(FindLine(scope, quillmere::kMaterialLines, "100", "20", "2")), "i");
        EXPECT_EQ(tag(FindLine(scope, quillmere::kLaborLines, "100", "10", "1")), "j");
        EXPECT_EQ(tag(FindLine(scope, quillmere::kLaborLines, "100", "20", "1")), "(none)");
        EXPECT_FALSE(FindLineGroup(scope, quillmere::kOtherLines, "100", "10"));
    }
}

TEST_F(OrderStoreTest, LookUpsSearchEveryGroupAndTellAMissingGroupFromAMissingRecord) {
    xml::Document store;
    ASSERT_TRUE(store.parse(kStore));
    // A second group of order 100 and of its activity 10, each holding what the first lacks.
    xml::Document extra;
    ASSERT_TRUE(
        extra.parse("<ServiceOrder ID=\"100\"><a Activity=\"30\" n=\"x\"/></ServiceOrder>"));
    xml::appendCopy(FindActivityGroup(store.node(), "100").parent(), extra.root());
    ASSERT_TRUE(
        extra.parse("<ServiceOrder ID=\"100\" Activity=\"10\"><l LineNumber=\"5\" "
                    "n=\"y\"/></ServiceOrder>"));
    xml::appendCopy(FindLineGroup(store.node(), quillmere::kMaterialLines, "100", "10").parent(),
                    extra.root());

    EXPECT_EQ(tag(quillmere::LookUpActivity(store.node(), "100", "30").record), "x");
    EXPECT_EQ(tag(FindActivity(store.node(), "100", "30")), "(none)");  // first group only
    EXPECT_EQ(tag(quillmere::LookUpActivity(store.node(), "100", "10").record), "d");
    const quillmere::RecordLookup missingActivity =
        quillmere::LookUpActivity(store.node(), "100", "99");
    EXPECT_TRUE(missingActivity.groupFound);
    EXPECT_FALSE(missingActivity.record);
    EXPECT_FALSE(quillmere::LookUpActivity(store.node(), "300", "10").groupFound);

    const auto line = [&](std::string_view activity, std::string_view number) {
        return quillmere::LookUpLine(store.node(), quillmere::kMaterialLines, "100", activity,
                                     number);
    };
    EXPECT_EQ(tag(line("10", "5").record), "y");
    EXPECT_EQ(tag(line("20", "2").record), "i");
    EXPECT_TRUE(line("20", "9").groupFound);
    EXPECT_FALSE(line("30", "1").groupFound);
}

TEST_F(OrderStoreTest, TheIndexAnswersAsTheWalksAndFollowsAppendedRecords) {
    xml::Document store;
    ASSERT_TRUE(store.parse(kStore));
    quillmere::StoreIndex index(store.node());
    EXPECT_EQ(tag(index.order("200")), "b");
    EXPECT_EQ(index.activityGroup("100"), FindActivityGroup(store.node(), "100"));
    EXPECT_EQ(index.lineGroup(quillmere::kMaterialLines, "100", "20"),
              FindLineGroup(store.node(), quillmere::kMaterialLines, "100", "20"));
    EXPECT_FALSE(index.lineGroup(quillmere::kMaterialLines, "10", "020"));
    EXPECT_FALSE(index.order("300"));

    xml::Document incoming;
    ASSERT_TRUE(incoming.parse(
        "<record ServiceOrder=\"300\" n=\"k\"><OrderStatus>15</OrderStatus></record>"));
    index.addOrder(xml::appendCopy(index.container(quillmere::kOrders), incoming.root()));
    EXPECT_EQ(tag(index.order("300")), "k");
    EXPECT_EQ(tag(FindOrder(store.node(), "300")), "k");
    EXPECT_EQ(quillmere::OrderStatusOf(index.order("300")), "15");
}

TEST(OrderStatus, CodesAreComparedExactly) {
    using quillmere::OrderStatus;
    EXPECT_EQ(quillmere::ParseOrderStatus("15"), OrderStatus::Open);
    EXPECT_EQ(quillmere::ParseOrderStatus("35"), OrderStatus::Closed);
    EXPECT_EQ(quillmere::ParseOrderStatus(" 20"), std::nullopt);
    EXPECT_EQ(quillmere::ParseOrderStatus(""), std::nullopt);
    EXPECT_EQ(quillmere::StatusCode(OrderStatus::Finished), "20");
}

TEST_F(OrderStoreTest, RecordNumbersCountUpFromOnePerCounter) {
    EXPECT_EQ(NextRecordNumber(session(), RecordCounter::Order), 1);
    EXPECT_EQ(NextRecordNumber(session(), RecordCounter::Order), 2);
    EXPECT_EQ(NextRecordNumber(session(), RecordCounter::Order), 3);
    EXPECT_EQ(NextRecordNumber(session(), RecordCounter::Line), 1);
    auto counter = [&](const char* name) {
        return machine.registry()
            .valueExact(platform::Hive::LocalMachine, "SOFTWARE\\Taviro\\Taviro Quillmere", name)
            ->number;
    };
    EXPECT_EQ(counter("OrderId"), 4u);
    EXPECT_EQ(counter("ActivityId"), 1u);
    EXPECT_EQ(counter("LineId"), 2u);
}

TEST_F(OrderStoreTest, ACounterBeyondSixteenBitsOverflowsAndStays) {
    auto registry = machine.registry();
    const char* key = "SOFTWARE\\Taviro\\Taviro Quillmere";
    registry.setValue(platform::Hive::LocalMachine, key,
                      platform::RegistryValue::dword("ActivityId", 32767));
    EXPECT_EQ(NextRecordNumber(session(), RecordCounter::Activity), 32767);
    EXPECT_EQ(testing_support::failureCodeOf(
                  [&] { NextRecordNumber(session(), RecordCounter::Activity); }),
              platform::failure::kOverflow);
    EXPECT_EQ(registry.valueExact(platform::Hive::LocalMachine, key, "ActivityId")->number, 32768u);
}

TEST_F(OrderStoreTest, AMissingCounterChangesNothing) {
    machine.registry().deleteValue(platform::Hive::LocalMachine,
                                   "SOFTWARE\\Taviro\\Taviro Quillmere", "LineId");
    EXPECT_EQ(NextRecordNumber(session(), RecordCounter::Line), 0);
    EXPECT_FALSE(machine.registry().valueExact(platform::Hive::LocalMachine,
                                               "SOFTWARE\\Taviro\\Taviro Quillmere", "LineId"));
}

}  // namespace

// The ERP datasource stand-in over an audit database: what a query answers for its criteria.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/registry.h"
#include "sync/erp/datasource.h"
#include "tests/sync/support/failure_code.h"
#include "tests/sync/support/server_machine.h"

namespace {

using namespace brindlemoor::erp;
using sync_testing::ServerMachine;

class ErpAuditTest : public ::testing::Test {
  protected:
    ErpAuditTest() { machine.addCompany("500", 500); }

    // The changes a query of company 500's audit database answers.
    std::unique_ptr<ChangeStream> changesOf(const std::string& object,
                                            const AuditCriteria& criteria) {
        if (!datasource) datasource = createDatasource(machine.root());
        context.setAddress("sqlite:" + machine.auditDatabase("500").string());
        return datasource->createBusinessObject(object)->query(context, criteria);
    }

    // The keys of the changes a query answers, as "kind:key".
    std::vector<std::string> query(const std::string& object, const AuditCriteria& criteria,
                                   const std::string& keyMember) {
        const std::unique_ptr<ChangeStream> changes = changesOf(object, criteria);
        std::vector<std::string> found;
        while (changes->hasMore()) {
            const Change change = changes->next();
            found.push_back(std::to_string(change.kind) + ":" +
                            change.currentValues->get(keyMember).asText());
        }
        return found;
    }

    static AuditCriteria withBounds(const std::string& field, Value from, Value to) {
        AuditCriteria criteria;
        Parameter parameter;
        parameter.setFieldName(field);
        parameter.setFrom(std::move(from));
        parameter.setTo(std::move(to));
        criteria.addParameter(parameter);
        return criteria;
    }

    ServerMachine machine;
    std::unique_ptr<Datasource> datasource;
    ConnectionContext context;
};

TEST_F(ErpAuditTest, ChangesComeInOrderFromTheWindowStartOn) {
    machine.addChange("500", "UNITS", 2, "", R"({"cuni": "a"})", "2026-12-07 09:04:59");
    machine.addChange("500", "UNITS", 1, "", R"({"cuni": "b"})", "2026-12-07 09:05:00");
    machine.addChange("500", "PROBLEMS", 2, "", R"({"cprl": "p"})", "2026-12-07 09:06:00");
    machine.addChange("500", "UNITS", 0, "", R"({"cuni": "c"})", "2026-12-08 00:00:00");
    machine.addChange("500", "UNITS", 7, "", R"({"cuni": "d"})", "2026-12-08 00:00:00");
    AuditCriteria criteria = withBounds("cuni", Value::text(""), Value::text("zzz"));
    EXPECT_EQ(query("UNITS", criteria, "getUnit"),
              (std::vector<std::string>{"2:a", "1:b", "0:c", "7:d"}));
    Date date;
    date.setYear(126);
    date.setMonth(11);
    date.setDate(7);
    date.setHours(9);
    date.setMinutes(5);
    Period period;
    period.setFrom(date);
    criteria.setPeriod(period);
    EXPECT_EQ(query("UNITS", criteria, "getUnit"), (std::vector<std::string>{"1:b", "0:c", "7:d"}));
}

TEST_F(ErpAuditTest, DateCarriesFieldsOverLikeItsModel) {
    Date date;
    date.setYear(126);
    date.setMonth(12);  // the thirteenth month is January of the next year
    date.setDate(0);    // the day before the first
    date.setHours(24);
    EXPECT_EQ(date.localTime(), (platform::LocalDateTime{2027, 1, 1, 0, 0, 0}));
}

TEST_F(ErpAuditTest, KeysOutsideTheBoundsAreLeftOut) {
    machine.addChange("500", "SERVICEITEMS", 2, "", R"({"item": "ITEM1"})");
    machine.addChange("500", "SERVICEITEMS", 2, "", R"({"item": "~ITEM"})");
    // Item codes are compared with their blank project segment in front.
    const std::string nineBlanks(9, ' ');
    EXPECT_EQ(
        query("SERVICEITEMS",
              withBounds("item", Value::text(""), Value::text(nineBlanks + "zzzzz")), "getItem"),
        std::vector<std::string>{"2:ITEM1"});
    EXPECT_TRUE(query("SERVICEITEMS",
                      withBounds("item", Value::text("ITEM0"), Value::text("zzzzz")), "getItem")
                    .empty());

    machine.addChange("500", "OBJECTS", 2, "", R"({"ccfg": "C", "crob": "PUMP", "oseq": 99})");
    machine.addChange("500", "OBJECTS", 2, "", R"({"ccfg": "C", "crob": "pump", "oseq": 1})");
    machine.addChange("500", "OBJECTS", 2, "", R"({"ccfg": "C", "crob": "VALVE", "oseq": 100})");
    AuditCriteria objects = withBounds("crob", Value::text(""), Value::text("ZZZZZZZZZZZZZ"));
    Parameter sequence;
    sequence.setFieldName("oseq");
    sequence.setFrom(Value::number(0));
    sequence.setTo(Value::number(99));
    objects.addParameter(sequence);
    EXPECT_EQ(query("OBJECTS", objects, "GetObject"), std::vector<std::string>{"2:PUMP"});

    // Numbers compare as numbers with text bounds too.
    machine.addChange("500", "PRIORITIES", 2, "", R"({"prio": 5})");
    machine.addChange("500", "PRIORITIES", 2, "", R"({"prio": 100})");
    EXPECT_EQ(
        query("PRIORITIES", withBounds("prio", Value::text("0"), Value::text("99")), "getPriority"),
        std::vector<std::string>{"2:5"});
}

TEST_F(ErpAuditTest, RecordsAnswerTheirMembersFromTheAuditFields) {
    machine.addChange("500", "UNITS", 1, R"({"dsca": "old", "tccu": 3})",
                      R"({"cuni": "kg", "dsca": "kilogram", "tccu": 5, "extra": null})");
    machine.addChange("500", "UNITS", 2, "  ", R"({"cuni": "g"})");
    AuditCriteria criteria;
    criteria.addOutputFieldWithOldValue("dsca");
    const auto changes = changesOf("units", criteria);
    ASSERT_TRUE(changes->hasMore());
    const Change first = changes->next();
    EXPECT_EQ(first.currentValues->get("getDescription").asText(), "kilogram");
    EXPECT_TRUE(first.currentValues->get("GETPHYSICALQUANTITY").isNumber());
    EXPECT_EQ(first.currentValues->get("getPhysicalQuantity").number(), 5);
    EXPECT_TRUE(first.currentValues->get("getNothing").isEmpty());
    ASSERT_NE(first.oldValues, nullptr);
    EXPECT_EQ(first.oldValues->get("getDescription").asText(), "old");
    // Only the fields asked for with their old value have one.
    EXPECT_TRUE(first.oldValues->get("getPhysicalQuantity").isEmpty());
    const Change second = changes->next();
    EXPECT_EQ(second.oldValues, nullptr);
    EXPECT_TRUE(second.currentValues->get("getDescription").isEmpty());
    EXPECT_FALSE(changes->hasMore());
}

TEST_F(ErpAuditTest, FailuresAreTheComponentsOwn) {
    machine.addChange("500", "UNITS", 2, "", "not json");
    const auto changes = changesOf("UNITS", AuditCriteria());
    EXPECT_THROW(changes->hasMore(), DatasourceError);

    context.setAddress("");
    EXPECT_THROW(datasource->createBusinessObject("UNITS")->query(context, AuditCriteria()),
                 DatasourceError);
    EXPECT_THROW(datasource->createBusinessObject("ORDERS"), DatasourceError);
}

TEST_F(ErpAuditTest, DeeplyNestedValuesAreRefusedWithoutACrash) {
    // A field may hold a list; a value nested 100,000 levels deep is refused, not followed.
    machine.addChange("500", "UNITS", 2, "", R"({"cuni": "a", "dsca": [["x", {"y": 1}]]})");
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    machine.addChange("500", "UNITS", 2, "", R"({"cuni": "b", "dsca": )" + deep + "}");
    machine.addChange("500", "UNITS", 1, R"({"dsca": )" + deep + "}", R"({"cuni": "c"})");
    AuditCriteria criteria;
    criteria.addOutputFieldWithOldValue("dsca");
    const auto changes = changesOf("UNITS", criteria);
    ASSERT_TRUE(changes->hasMore());
    EXPECT_EQ(changes->next().currentValues->get("getDescription").asText(), R"([["x",{"y":1}]])");
    try {
        changes->hasMore();
        FAIL() << "the nested values were accepted";
    } catch (const DatasourceError& error) {
        EXPECT_EQ(error.description(),
                  "The audit record 2 of UNITS holds values nested deeper than 32 levels.");
    }
}

TEST_F(ErpAuditTest, ConnectionStringsComeFromTheRegistry) {
    datasource = createDatasource(machine.root());
    EXPECT_EQ(datasource->GetConnectionString(8), "sqlite:C:\\Data\\pentavy.mdb");
    EXPECT_EQ(datasource->GetConnectionString(2), "");
    platform::Registry(machine.root())
        .deleteKey(platform::Hive::LocalMachine,
                   "SOFTWARE\\Taviro\\Taviro Corbelline\\ConnectionStrings");
    EXPECT_EQ(sync_testing::FailureCodeOf([&] { createDatasource(machine.root()); }),
              kCannotCreateObject);
}

}  // namespace

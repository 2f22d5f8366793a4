// Field rules, date forms and the master-data look-ups of record validation.
#include "component/store/field_validation.h"

#include "component/core/field_mapper_document.h"
#include "component/store/code_lookups.h"
#include "component/store/value_checks.h"
#include "platform/failure.h"
#include "tests/component/store/record_changes_fixture.h"

namespace {

using namespace record_changes;

TEST(StoredDates, EightDigitsWithOptionalSeparatorAndTime) {
    EXPECT_EQ(quillmere::NormalizeDateTime("20240131"), "31/01/2024 00:00:00");
    EXPECT_EQ(quillmere::NormalizeDateTime("20240131 143000"), "31/01/2024 14:30:00");
    EXPECT_EQ(quillmere::NormalizeDateTime("20240131T1430"), "31/01/2024 14:30:00");
    EXPECT_EQ(quillmere::NormalizeDateTime(""), "");
    EXPECT_EQ(quillmere::NormalizeDateTime("19701231"), "");  // before 1971
    EXPECT_EQ(quillmere::NormalizeDateTime("20380101"), "");  // after 2037
    EXPECT_EQ(quillmere::NormalizeDateTime("20241301"), "");  // month 13
    EXPECT_EQ(quillmere::NormalizeDateTime("2024AB01"), "");

    EXPECT_TRUE(quillmere::IsStoredDate("20240131"));
    EXPECT_TRUE(quillmere::IsStoredDate("20240131 143000"));
    EXPECT_TRUE(quillmere::IsStoredDate("20240229"));
    EXPECT_FALSE(quillmere::IsStoredDate("20230229"));
    EXPECT_FALSE(quillmere::IsStoredDate("20240431"));
    EXPECT_FALSE(quillmere::IsStoredDate("20240100"));
    EXPECT_FALSE(quillmere::IsStoredDate("20240131 2400"));
    EXPECT_FALSE(quillmere::IsStoredDate("20240131 14:30"));
    EXPECT_FALSE(quillmere::IsStoredDate("19701231"));
}

TEST(NumericText, AcceptsWhatTheRuntimeCallsNumeric) {
    for (const char* yes : {"12", " 12 ", "-1.5", "+.5", "1e3", "2.", "1D2"})
        EXPECT_TRUE(quillmere::IsNumericText(yes)) << yes;
    for (const char* no : {"", " ", "abc", "1.2.3", "1e", "12a", ".", "1 2"})
        EXPECT_FALSE(quillmere::IsNumericText(no)) << no;
}

class FieldValidationTest : public RecordChangesTest {
  protected:
    void SetUp() override {
        RecordChangesTest::SetUp();
        ASSERT_TRUE(quillmere::LoadFieldMapperDocument(session()));
    }
    quillmere::Session& session() { return machine.session(); }
    quillmere::ValidationMemory& memory() { return session().state.validation; }

    // The message of ValidateField; "" when the value passes.
    std::string check(const std::string& kind, const std::string& field, const std::string& value,
                      const std::string& deliveryType = "") {
        std::string message = "stale";
        const bool valid =
            quillmere::ValidateField(session(), kind, field, value, message, deliveryType);
        EXPECT_EQ(valid, message.empty()) << field << "=" << value << ": " << message;
        return message;
    }

    void openSampleMasterData() {
        openMasterData({
            "CREATE TABLE UNITS (COMP TEXT, CUNI TEXT, DSCA TEXT)",
            "INSERT INTO UNITS VALUES ('100', 'KG', 'kilogram')",
            "CREATE TABLE SERVICEITEMS (COMP TEXT, ITEM TEXT, DSCA TEXT)",
            "INSERT INTO SERVICEITEMS VALUES ('100', '         ABC', 'pump')",
            "INSERT INTO SERVICEITEMS VALUES ('100', 'XYZ', 'no blanks')",
            "CREATE TABLE WAREHOUSES (COMP TEXT, CWAR TEXT, DSCA TEXT)",
            "INSERT INTO WAREHOUSES VALUES ('100', 'W1', 'main')",
            "CREATE TABLE SERVICEKITS (COMP TEXT, CSKT TEXT, DSCA TEXT)",
            "CREATE TABLE CONFIGURATIONS (COMP TEXT, CCFG TEXT, DSCA TEXT)",
            "INSERT INTO CONFIGURATIONS VALUES ('100', 'CFG1', 'boiler')",
            "CREATE TABLE OBJECTS (COMP TEXT, CCFG TEXT, CROB TEXT, OSEQ TEXT)",
            "INSERT INTO OBJECTS VALUES ('100', 'CFG1', 'OBJ', '1')",
            "CREATE TABLE REASONS (COMP TEXT, CDIS TEXT, DSCA TEXT)",
            "INSERT INTO REASONS VALUES ('100', 'R1', 'parts')",
        });
    }

    std::string required(const std::string& label) { return label + " " + labelText("SLBEU0327"); }
    std::string badDate(const std::string& label) { return label + " " + labelText("SLBEU0328"); }
};

TEST_F(FieldValidationTest, DateFieldsByRecordKind) {
    EXPECT_EQ(check("ccsocservcactv", "PlannedStartTime", ""), required("Planned Start"));
    EXPECT_EQ(check("ccsocservcactv", "PlannedFinishTime", "20241301"), badDate("Planned Finish"));
    EXPECT_EQ(check("ccsocservcactv", "ExecutionStartTime", ""), "");
    EXPECT_EQ(check("ccsocservcactv", "ExecutionStartTime", "x"), badDate("Actual Start"));
    EXPECT_EQ(check("ccsocservclabr", "StartDate", ""), required("Date"));
    // Other date fields of a labor line fail as bad dates even when empty.
    EXPECT_EQ(check("ccsocservclabr", "PlannedStartTime", ""), badDate("PlannedStartTime"));
    EXPECT_EQ(check("ccsocservcmatl", "StartDate", "x"), "");

    // An order's OrderDate counts only while the remembered status is open.
    memory().orderStatus = "20";
    EXPECT_EQ(check("ccsocservcordr", "OrderDate", ""), "");
    memory().orderStatus = "15";
    EXPECT_EQ(check("ccsocservcordr", "OrderDate", ""), required("Order Date"));
    EXPECT_EQ(check("ccsocservcordr", "OrderDate", "19701231"), badDate("Order Date"));
    EXPECT_EQ(check("ccsocservcordr", "PlannedStartTime", ""), "");
}

TEST_F(FieldValidationTest, NumbersAndRequiredTexts) {
    const std::string hours = "Hours " + labelText("SLBEU0422");
    EXPECT_EQ(check("ccsocservclabr", "EndDate", "24"), "");
    EXPECT_EQ(check("ccsocservclabr", "EndDate", "0.5"), "");
    EXPECT_EQ(check("ccsocservclabr", "EndDate", "0"), hours);
    EXPECT_EQ(check("ccsocservclabr", "EndDate", "24.5"), hours);
    EXPECT_EQ(check("ccsocservclabr", "EndDate", ""), hours);

    EXPECT_EQ(check("ccsocservcmatl", "DeliveredQuantity", "abc"),
              "DeliveredQuantity :  " + labelText("SLBEU0422"));
    EXPECT_EQ(check("ccsocservcmatl", "DeliveredQuantity", "  "), "");
    EXPECT_EQ(check("ccsocservcothr", "ActualCostPrice1", " 12.50 "), "");

    EXPECT_EQ(check("ccsocservcordr", "Description", ""), required("Description"));
    EXPECT_EQ(check("ccsocservcactv", "ActivityDescription", ""), required("Description"));
    EXPECT_EQ(check("ccsocservcordr", "Remarks", ""), "");
}

TEST_F(FieldValidationTest, InterruptionFollowsRememberedStatusAndFlag) {
    const std::string notOpen = labelText("SLBEU0329");
    EXPECT_EQ(check("ccsocservcordr", "OrderStatus", "20"), "");
    EXPECT_EQ(check("ccsocservcordr", "Interrupted", "1"), "Interrupted " + notOpen);
    EXPECT_EQ(check("ccsocservcordr", "InterruptionReason", "R1"),
              "Interruption Reason " + notOpen);
    EXPECT_EQ(check("ccsocservcordr", "InterruptionReason", ""), "");

    EXPECT_EQ(check("ccsocservcordr", "OrderStatus", "15"), "");
    EXPECT_EQ(check("ccsocservcordr", "Interrupted", "1"), "");
    EXPECT_EQ(memory().interrupted, "1");
    EXPECT_EQ(check("ccsocservcordr", "InterruptionReason", ""), required("Interruption Reason"));
    EXPECT_EQ(check("ccsocservcordr", "Interrupted", "2"), "");
    EXPECT_EQ(check("ccsocservcordr", "InterruptionReason", "R1"),
              "Interruption Reason " + labelText("SLBEU0330"));
}

TEST_F(FieldValidationTest, CodesAreLookedUpInTheLocalMasterData) {
    openSampleMasterData();
    const std::string unknown = " " + labelText("SLBEU0331");
    EXPECT_EQ(check("ccsocservcothr", "Unit", " KG "), "");
    EXPECT_EQ(check("ccsocservcothr", "Unit", "LB"), "Unit" + unknown);
    // An apostrophe is data, not SQL: the code is simply not found.
    EXPECT_EQ(check("ccsocservcothr", "Unit", "K'G"), "Unit" + unknown);
    EXPECT_EQ(check("ccsocservcothr", "Unit", "' OR '1'='1"), "Unit" + unknown);
    // Item codes are stored behind nine blanks and looked up as sent.
    EXPECT_EQ(check("ccsocservcmatl", "ServiceItem", "ABC"), "");
    EXPECT_EQ(check("ccsocservcmatl", "ServiceItem", "XYZ"), "ServiceItem" + unknown);
    EXPECT_EQ(check("ccsocservcmatl", "ServiceItem", ""), required("Item"));

    EXPECT_EQ(check("ccsocservcmatl", "ActualWarehouse", "", "12"), required("Warehouse"));
    EXPECT_EQ(check("ccsocservcmatl", "ActualWarehouse", "", "22"), "");
    EXPECT_EQ(check("ccsocservcmatl", "ActualWarehouse", "W2", "15"), "ActualWarehouse" + unknown);
    EXPECT_EQ(check("ccsocservcmatl", "ServiceKit", " ", "11"), required("Service Kit"));
    EXPECT_EQ(check("ccsocservcmatl", "ServiceKit", "K9", "12"), "ServiceKit" + unknown);
    EXPECT_EQ(check("ccsocservcactv", "ServiceKit", "K9"), "");  // kits of material lines only
}

TEST(CodeLookups, ValuesAreBoundAndReadInTheLogAsQuotedText) {
    const auto unit = quillmere::CodeLookup("Unit", " K'G ");
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->values, std::vector<std::string>{"K'G"});
    EXPECT_EQ(unit->literalText(), "select * from UNITS where CUNI ='K''G'");
    EXPECT_EQ(quillmere::CodeLookup("ServiceItem", " A?")->literalText(),
              "select * from SERVICEITEMS where ITEM ='          A?'");
    EXPECT_FALSE(quillmere::CodeLookup("Remarks", "x"));
    EXPECT_EQ(quillmere::ObjectNumberLookup("C 1", " O", " 2 ").literalText(),
              "Select * from OBJECTS where CCFG = 'C 1' and CROB = ' O' and OSEQ = '2'");
}

TEST_F(FieldValidationTest, ACodeHoldingAnApostropheIsFoundAsItIs) {
    openSampleMasterData();
    machine.session().state.masterData->execute("INSERT INTO UNITS VALUES ('100', 'K''G', 'x')");
    EXPECT_EQ(check("ccsocservcothr", "Unit", "K'G"), "");
}

TEST_F(FieldValidationTest, ObjectsBelongToTheRememberedConfiguration) {
    openSampleMasterData();
    const std::string unknownObject = labelText("SLBEU0373");
    EXPECT_EQ(check("ccsocservcordr", "Configuration", ""), required("Configuration"));
    EXPECT_EQ(check("ccsocservcactv", "Configuration", "CFG1"), "");
    EXPECT_EQ(check("ccsocservcactv", "Object", "OBJ"), "");
    EXPECT_EQ(check("ccsocservcactv", "ObjectNumber", "2"), unknownObject);
    EXPECT_EQ(check("ccsocservcactv", "ObjectNumber", ""), unknownObject);
    EXPECT_EQ(check("ccsocservcactv", "ObjectNumber", " 1 "), "");

    // A code in lower case is refused even where the database would match it.
    EXPECT_EQ(check("ccsocservcactv", "Object", "obj"), unknownObject);
    EXPECT_EQ(memory().object, "");
    EXPECT_EQ(check("ccsocservcactv", "ObjectNumber", "anything"), "");  // no object remembered

    EXPECT_EQ(check("ccsocservcactv", "Configuration", "CFG2"),
              "Configuration " + labelText("SLBEU0331"));
    EXPECT_EQ(memory().configuration, "CFG2");
    EXPECT_EQ(check("ccsocservcactv", "Object", "OBJ"), unknownObject);
}

TEST_F(FieldValidationTest, RecordIsCheckedInDocumentOrderWithItsDeliveryType) {
    openSampleMasterData();
    platform::xml::Document record;
    ASSERT_TRUE(
        record.parse("<Line><ServiceItem>ABC</ServiceItem><ActualWarehouse/>"
                     "<SalesQuantityUnit>KG</SalesQuantityUnit>"
                     "<DeliveryType>12</DeliveryType><DeliveryType>22</DeliveryType></Line>"));
    std::string message;
    EXPECT_TRUE(quillmere::ValidateRecord(session(), record.root(), "ccsocservcmatl", message));

    ASSERT_TRUE(
        record.parse("<Line><ServiceItem>ABC</ServiceItem><DeliveredQuantity>x</DeliveredQuantity>"
                     "<SalesQuantityUnit/><DeliveryType>22</DeliveryType></Line>"));
    EXPECT_FALSE(quillmere::ValidateRecord(session(), record.root(), "ccsocservcmatl", message));
    EXPECT_EQ(message, "DeliveredQuantity :  " + labelText("SLBEU0422"));
}

TEST_F(FieldValidationTest, LookUpWithoutOpenDatabaseFailsTheCall) {
    std::string message;
    EXPECT_THROW(quillmere::ValidateField(session(), "ccsocservcothr", "Unit", "KG", message, ""),
                 platform::PlatformError);
}

}  // namespace

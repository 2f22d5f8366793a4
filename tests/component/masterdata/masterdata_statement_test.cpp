// The statement texts of change-file rows, byte for byte.
#include "component/masterdata/masterdata_statement.h"

#include <gtest/gtest.h>

#include "platform/failure.h"

namespace {

using masterdata_file::ChangeRow;
using masterdata_file::RowAction;
using quillmere::BuildMasterDataStatement;
using quillmere::LiteralStatementText;
using quillmere::MasterDataStatement;

ChangeRow unitRow(RowAction action, std::string dsca = "kilogram") {
    return {action, {{"CUNI", "kg"}}, {{"DSCA", std::move(dsca)}, {"TCCU", "Mass"}}};
}

std::string literal(std::string_view table, const ChangeRow& row) {
    MasterDataStatement statement;
    BuildMasterDataStatement(table, "500", row, statement);
    return LiteralStatementText(statement);
}

TEST(MasterDataStatement, InsertUpdateDelete) {
    EXPECT_EQ(literal("UNITS", unitRow(RowAction::Insert)),
              "INSERT INTO UNITS(COMP,CUNI,DSCA,TCCU) VALUES ('500','kg','kilogram','Mass')");
    EXPECT_EQ(
        literal("UNITS", unitRow(RowAction::Modify)),
        "UPDATE UNITS SET DSCA = 'kilogram',TCCU = 'Mass' WHERE  COMP = '500' and CUNI = 'kg'");
    EXPECT_EQ(literal("UNITS", unitRow(RowAction::Delete)),
              "DELETE FROM UNITS WHERE  COMP = '500' and CUNI = 'kg'");
}

TEST(MasterDataStatement, ObjectsUseTheirThreeKeys) {
    const ChangeRow row{RowAction::Insert,
                        {{"CCFG", "CFG0001"}, {"CROB", "PUMP"}, {"OSEQ", "1"}},
                        {{"DSCA", "Pump"}, {"EMNO", ""}}};
    EXPECT_EQ(literal("OBJECTS", row),
              "INSERT INTO OBJECTS(COMP, CCFG,CROB,OSEQ,DSCA,EMNO) VALUES "
              "('500','CFG0001','PUMP','1','Pump','')");
    ChangeRow deleted = row;
    deleted.action = RowAction::Delete;
    EXPECT_EQ(literal("OBJECTS", deleted),
              "DELETE FROM OBJECTS WHERE  COMP = '500' and CCFG = 'CFG0001' and CROB = 'PUMP' "
              "and OSEQ = '1'");
}

TEST(MasterDataStatement, ValuesAreBoundNotSpliced) {
    const ChangeRow row = unitRow(RowAction::Modify, "O'Brien");
    MasterDataStatement statement;  // views into `row`
    BuildMasterDataStatement("UNITS", "500", row, statement);
    EXPECT_EQ(statement.sql, "UPDATE UNITS SET DSCA = ?,TCCU = ? WHERE  COMP = ? and CUNI = ?");
    EXPECT_EQ(statement.values, (std::vector<std::string_view>{"O'Brien", "Mass", "500", "kg"}));
    EXPECT_EQ(
        LiteralStatementText(statement),
        "UPDATE UNITS SET DSCA = 'O''Brien',TCCU = 'Mass' WHERE  COMP = '500' and CUNI = 'kg'");
}

TEST(MasterDataStatement, RowsWithoutColumnsHaveNoInsertOrUpdate) {
    ChangeRow row{RowAction::Insert, {{"CUNI", "kg"}}, {}};
    MasterDataStatement statement;
    EXPECT_THROW(BuildMasterDataStatement("UNITS", "500", row, statement), platform::PlatformError);
    row.action = RowAction::Modify;
    EXPECT_THROW(BuildMasterDataStatement("UNITS", "500", row, statement), platform::PlatformError);
    row.action = RowAction::Delete;
    BuildMasterDataStatement("UNITS", "500", row, statement);
    EXPECT_EQ(statement.sql, "DELETE FROM UNITS WHERE  COMP = ? and CUNI = ?");
}

// Names reach the statement's text, so only the table's own key and columns are accepted.
TEST(MasterDataStatement, RowsNamingUnknownColumnsHaveNoStatement) {
    MasterDataStatement statement;
    for (const ChangeRow& row :
         {ChangeRow{RowAction::Insert, {{"CUNI", "kg"}}, {{"COMP-- x", "1"}}},
          ChangeRow{RowAction::Modify, {{"CUNI", "kg"}}, {{"DSCA", "a"}, {"CPRL", "b"}}},
          ChangeRow{RowAction::Delete, {{"CUNI=CUNI OR 1", "kg"}}, {}},
          ChangeRow{RowAction::Delete, {{"CPRL", "kg"}}, {}}})
        EXPECT_THROW(BuildMasterDataStatement("UNITS", "500", row, statement),
                     platform::PlatformError);
    EXPECT_THROW(BuildMasterDataStatement("I18NText", "500", unitRow(RowAction::Delete), statement),
                 platform::PlatformError);
    // Case does not matter to the database, so it does not here.
    BuildMasterDataStatement("UNITS", "500", {RowAction::Delete, {{"cuni", "kg"}}, {}}, statement);
    EXPECT_EQ(statement.sql, "DELETE FROM UNITS WHERE  COMP = ? and cuni = ?");
}

}  // namespace

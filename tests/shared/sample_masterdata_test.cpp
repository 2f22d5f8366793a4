// The sample master data in data/masterdata follows the change file's table set: the schema's
// columns and the sample change file's elements are those of table_set.h.
#include <gtest/gtest.h>

#include "platform/db/database.h"
#include "shared/masterdata_file/change_file_reader.h"
#include "shared/masterdata_file/table_set.h"
#include "tests/support/temp_root.h"

namespace {

namespace xml = platform::xml;
using masterdata_file::TableLayout;

std::string dataFile(const std::string& name) {
    return testing_support::readFile(std::string(TAVIRO_SOURCE_DIR) + "/data/masterdata/" + name);
}

std::vector<std::string> expectedColumns(const TableLayout& layout) {
    std::vector<std::string> columns{"COMP"};
    if (layout.table == masterdata_file::kObjects)
        columns.insert(columns.end(), {"CCFG", "CROB", "OSEQ"});
    else
        columns.emplace_back(layout.keyColumn);
    for (std::string_view column : layout.columns) columns.emplace_back(column);
    return columns;
}

TEST(SampleMasterData, SchemaHasEveryClientTableWithItsColumnsInFileOrder) {
    testing_support::TempRoot temp;
    const auto file = temp.dir() / "sample.mdb";
    testing_support::writeFile(file, "");
    auto db = platform::db::connect("sqlite:" + file.string(), temp.root());
    db->execute(dataFile("schema.sql"));
    db->execute(dataFile("sample-data.sql"));
    for (const TableLayout& layout : masterdata_file::clientTables()) {
        const std::string table(layout.table);
        const auto records = db->query("SELECT * FROM " + table);
        EXPECT_EQ(records.columns(), expectedColumns(layout)) << table;
        EXPECT_FALSE(records.empty()) << table << " has no sample rows";
    }
}

TEST(SampleMasterData, ChangeFileUsesTheTableSet) {
    xml::Document document;
    ASSERT_TRUE(document.parse(dataFile("sample-changes.xml")));
    const auto sets = masterdata_file::findChangeSets(document.node());
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(masterdata_file::companyOf(sets[0]), "500");
    size_t rows = 0;
    for (xml::Node table : xml::childElements(sets[0])) {
        const TableLayout* layout = masterdata_file::findClientTable(table.name());
        ASSERT_NE(layout, nullptr) << table.name();
        for (xml::Node rowNode : xml::childElements(table)) {
            ++rows;
            EXPECT_EQ(std::string_view(rowNode.name()), layout->keyColumn);
            const auto row = masterdata_file::readRow(rowNode, layout->table);
            std::vector<std::string_view> names;
            for (const auto& column : row.columns) names.push_back(column.name);
            EXPECT_EQ(names, layout->columns) << table.name();
        }
    }
    EXPECT_GT(rows, 0u);
}

}  // namespace

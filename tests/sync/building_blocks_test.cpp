// The synchronizer's building blocks: number conversions, window starts, change-file writing,
// and the particulars table checked against the change-file layout and the ERP's members.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include "platform/failure.h"
#include "shared/masterdata_file/change_file_writer.h"
#include "shared/masterdata_file/table_set.h"
#include "sync/core/basic_conversions.h"
#include "sync/core/transfer_particulars.h"
#include "sync/core/window_start.h"
#include "sync/erp/business_objects.h"
#include "tests/support/temp_root.h"
#include "tests/sync/support/failure_code.h"

namespace {

using namespace brindlemoor;
namespace fs = std::filesystem;

using sync_testing::FailureCodeOf;

TEST(ConversionsTest, FolderNamesAndTextsBecomeNumbers) {
    EXPECT_EQ(ToLong(NumericValue("500")), 500);
    EXPECT_EQ(ToLong(NumericValue("abc")), 0);
    EXPECT_EQ(ToLong(NumericValue(" 12 3abc")), 123);
    EXPECT_EQ(ToLong(NumericValue("2.5")), 2);  // halves round to even
    EXPECT_EQ(ToLong(NumericValue("3.5")), 4);
    EXPECT_EQ(ToInteger(" 05 "), 5);
    EXPECT_EQ(ToInteger(erp::Value()), 0);
    EXPECT_EQ(ToInteger(erp::Value::text("81")), 81);
    EXPECT_EQ(FailureCodeOf([] { ToInteger(""); }), platform::failure::kTypeMismatch);
    EXPECT_EQ(FailureCodeOf([] { ToInteger("5-"); }), platform::failure::kTypeMismatch);
    EXPECT_EQ(FailureCodeOf([] { ToInteger("40000"); }), platform::failure::kOverflow);
    EXPECT_EQ(FailureCodeOf([] { ToInteger(erp::Value::number(70000)); }),
              platform::failure::kOverflow);
    EXPECT_EQ(FailureCodeOf([] { ToLong(NumericValue("99999999999")); }),
              platform::failure::kOverflow);
}

TEST(WindowStartTest, LastChangeFileByNameElseDatabaseElseEarliest) {
    testing_support::TempRoot temp;
    const fs::path folder = temp.dir() / "500";
    fs::create_directories(folder);
    const WindowStart earliest = FindWindowStart(folder);
    EXPECT_TRUE(earliest.earliest);
    EXPECT_EQ(earliest.year, 1900);

    std::ofstream(folder / "data.mdb") << "x";
    const WindowStart fromDatabase = FindWindowStart(folder);
    EXPECT_FALSE(fromDatabase.earliest);
    EXPECT_EQ(fromDatabase.hour, 0);
    EXPECT_GE(fromDatabase.year, 2000);

    std::ofstream(folder / "2026-12-07 09-05.xml") << "x";
    std::ofstream(folder / "2025-01-31 23-59.XML") << "x";
    const WindowStart fromFile = FindWindowStart(folder);
    EXPECT_EQ(fromFile.year, 2026);
    EXPECT_EQ(fromFile.month, 12);
    EXPECT_EQ(fromFile.day, 7);
    EXPECT_EQ(fromFile.hour, 9);
    EXPECT_EQ(fromFile.minute, 5);

    // Any other XML name is cut the same way, and fails when it holds no date.
    std::ofstream(folder / "notes.xml") << "x";
    EXPECT_EQ(FailureCodeOf([&] { FindWindowStart(folder); }), platform::failure::kTypeMismatch);
}

TEST(ChangeFileWriterTest, StampsFrameAndRowsAsTheReaderExpects) {
    const platform::LocalDateTime time{2002, 3, 15, 9, 5, 7};
    EXPECT_EQ(masterdata_file::FileNameStamp(time), "2002-03-15 09-05");
    EXPECT_EQ(masterdata_file::TimeAttributeStamp(time), "20020315090507");
    EXPECT_EQ(masterdata_file::FrameText("500", "20020315090507"),
              "<VOMasterData COMP=\"500\" TIME=\"20020315090507\"></VOMasterData>");

    platform::xml::Document document;
    masterdata_file::ChangeFileWriter writer(document);
    writer.begin("500", "20020315090507");
    auto units = writer.appendTable("UNITS");
    auto row = writer.appendRow(units, "CUNI", {{"ID", "a&b"}});
    writer.setStatus(row, "M");
    writer.appendColumn(row, "DSCA", "<kilo>");
    writer.appendColumn(row, "TCCU", "");
    auto sc1 = writer.serviceCenterTable("CONFIGURATIONS", "SC1");
    writer.serviceCenterTable("OBJECTS", "SC1");
    EXPECT_EQ(writer.serviceCenterTable("CONFIGURATIONS", "SC1"), sc1);
    writer.appendRow(writer.serviceCenterTable("OBJECTS", "SC1"), "CROB",
                     {{"CCFG", "C"}, {"CROB", "P"}, {"OSEQ", "1"}});
    EXPECT_EQ(
        document.serialize(),
        "<VOMasterData COMP=\"500\" TIME=\"20020315090507\"><UNITS><CUNI ID=\"a&amp;b\" "
        "STATUS=\"M\"><DSCA>&lt;kilo&gt;</DSCA><TCCU/></CUNI></UNITS>"
        "<CONFIGURATIONS SERVICECENTER=\"SC1\"/><OBJECTS SERVICECENTER=\"SC1\"><CROB CCFG=\"C\" "
        "CROB=\"P\" OSEQ=\"1\" STATUS=\"\"/></OBJECTS></VOMasterData>");
    // A new file starts afresh.
    writer.begin("501", "20020315090508");
    EXPECT_NE(writer.serviceCenterTable("CONFIGURATIONS", "SC1"), sc1);
}

TEST(ChangeFileWriterTest, CharactersXmlCannotCarryBecomeReplacementCharacters) {
    const auto carried = [](std::string_view value) {
        bool replaced = false;
        std::string text = masterdata_file::XmlCharacters(value, replaced);
        return (replaced ? "replaced:" : "kept:") + text;
    };
    const std::string fffd = "\xEF\xBF\xBD";
    EXPECT_EQ(carried("plain\ttext\r\n"), "kept:plain\ttext\r\n");
    EXPECT_EQ(carried("K\xC3\xB6ln \xE2\x82\xAC \xF0\x9F\x94\xA7"),
              "kept:K\xC3\xB6ln \xE2\x82\xAC \xF0\x9F\x94\xA7");
    EXPECT_EQ(carried("a\x01"
                      "b"),
              "replaced:a" + fffd + "b");
    EXPECT_EQ(carried(std::string_view("ab\0cd", 5)), "replaced:ab" + fffd + "cd");
    EXPECT_EQ(carried("\xEF\xBF\xBF\xEF\xBF\xBE"), "replaced:" + fffd + fffd);  // U+FFFF, U+FFFE
    // Each byte that is not part of a well-formed character is replaced on its own.
    EXPECT_EQ(carried("\xED\xA0\x80"), "replaced:" + fffd + fffd + fffd);  // a surrogate
    EXPECT_EQ(carried("\xC0\xAF"), "replaced:" + fffd + fffd);             // overlong '/'
    EXPECT_EQ(carried("x\xE2\x82"), "replaced:x" + fffd + fffd);           // cut short
    EXPECT_EQ(carried("\x80z"), "replaced:" + fffd + "z");

    platform::xml::Document document;
    masterdata_file::ChangeFileWriter writer(document);
    writer.begin("500", "20020315090507");
    auto row = writer.appendRow(writer.appendTable("UNITS"), "CUNI", {{"ID", "k\t1\n\r\x02"}});
    writer.setStatus(row, "I");
    writer.appendColumn(row, "DSCA", "line\r\nnext \"q\" > ]]>\x1F");
    EXPECT_EQ(writer.text(),
              "<VOMasterData COMP=\"500\" TIME=\"20020315090507\"><UNITS><CUNI "
              "ID=\"k&#9;1&#10;&#13;" +
                  fffd +
                  "\" STATUS=\"I\"><DSCA>line&#13;\nnext \"q\" &gt; "
                  "]]&gt;" +
                  fffd + "</DSCA></CUNI></UNITS></VOMasterData>");
    const std::vector<masterdata_file::Replacement> replaced = writer.takeReplacements();
    ASSERT_EQ(replaced.size(), 2u);
    EXPECT_EQ(replaced[0].table, "UNITS");
    EXPECT_EQ(replaced[0].key, "k\t1\n\r" + fffd);
    EXPECT_EQ(replaced[0].column, "ID");
    EXPECT_EQ(replaced[1].column, "DSCA");
    EXPECT_TRUE(writer.takeReplacements().empty());
}

TEST(TransferParticularsTest, TwentyFourTransfersInRunOrderMatchingTheChangeFile) {
    const auto& transfers = TransfersInRunOrder();
    ASSERT_EQ(transfers.size(), 24u);
    std::vector<std::string_view> clientTables;
    for (const TransferParticulars& transfer : transfers) {
        if (!transfer.toClients) {
            EXPECT_EQ(transfer.columns.size(), 1u) << transfer.name;
            continue;
        }
        clientTables.push_back(transfer.table);
        const masterdata_file::TableLayout* layout =
            masterdata_file::findClientTable(transfer.table);
        ASSERT_NE(layout, nullptr) << transfer.table;
        std::vector<std::string_view> columns;
        for (const ColumnSource& source : transfer.columns) columns.push_back(source.column);
        EXPECT_EQ(columns, layout->columns) << transfer.name;
    }
    std::vector<std::string_view> layoutTables;
    for (const auto& layout : masterdata_file::clientTables()) layoutTables.push_back(layout.table);
    EXPECT_EQ(clientTables, layoutTables);
    EXPECT_EQ(transfers[5].name, "TransferDepartments");
    EXPECT_EQ(transfers[8].name, "TransferGeneralItemData");
    EXPECT_EQ(transfers.back().name, "get_Objects");
}

TEST(TransferParticularsTest, EveryMemberReadIsAnsweredByItsBusinessObject) {
    for (const TransferParticulars& transfer : TransfersInRunOrder()) {
        const erp::BusinessObjectFields* object = erp::findBusinessObject(transfer.table);
        ASSERT_NE(object, nullptr) << transfer.table;
        std::vector<std::string_view> members(transfer.keyMembers);
        for (const ColumnSource& source : transfer.columns) {
            if (source.kind != ColumnSource::Kind::Lookup) members.push_back(source.member);
        }
        if (!transfer.serviceCenterMember.empty()) members.push_back(transfer.serviceCenterMember);
        for (std::string_view member : members) {
            const std::string_view field = erp::fieldOfMember(*object, member);
            EXPECT_FALSE(field.empty()) << transfer.name << " " << member;
            const bool requested =
                std::find(transfer.outputFields.begin(), transfer.outputFields.end(), field) !=
                    transfer.outputFields.end() ||
                std::any_of(transfer.keyParameters.begin(), transfer.keyParameters.end(),
                            [&](const KeyParameter& key) { return key.field == field; });
            EXPECT_TRUE(requested) << transfer.name << " reads " << member << " (" << field
                                   << ") without asking for it";
        }
    }
}

}  // namespace

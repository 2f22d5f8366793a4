// Whole runs over a server machine on real SQLite files and on PostgreSQL: the server database,
// the change files, the log and the progress text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>

#include "tests/sync/support/server_machine.h"
#include "tests/sync/support/stepping_clock.h"
#include "tests/sync/support/strict_xml.h"

namespace {

namespace fs = std::filesystem;
using sync_testing::Backend;
using sync_testing::ChangeFileText;
using sync_testing::EmptyTables;
using sync_testing::ServerMachine;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// The progress captions and dots of the twenty client tables, in run order.
const std::vector<std::pair<std::string, std::string>> kClientProgress = {
    {"Problems", "......"},
    {"Solutions", "......."},
    {"Addresses", "......."},
    {"Cost Components", "......."},
    {"Warehouses", "......."},
    {"Hourly Labor Types", "......."},
    {"Service Areas", "......."},
    {"Service Types", "......."},
    {"Contacts", "......."},
    {"Priorities", "......."},
    {"Reasons", "..........."},
    {"Units", "........"},
    {"Reference Activities", "......."},
    {"Tasks", "......."},
    {"Service Cars", "......."},
    {"Service Centers", "......."},
    {"Service Items", "......."},
    {"Service Kits", "......."},
    {"Configurations", "........"},
    {"Objects", "......."}};

// The log captions of all 24 transfers, in run order.
const std::vector<std::string> kLogCaptions = {
    "PROBLEMS: ",        "SOLUTIONS : ",          "ADDRESSES: ",
    "COSTCOMPONENTS: ",  "WAREHOUSES : ",         "DEPARTMENTS: ",
    "LABOR RATES: ",     "BUSINESSPARTNERS: ",    "GeneralITem Data: ",
    "HOURLYLABORTYPE: ", "SERVICEAREAS: ",        "SERVICETYPES: ",
    "CONTACTS: ",        "PRIORITIES : ",         "REASONS: ",
    "UNITS: ",           "REFERENCEACTIVITIES: ", "TASKS : ",
    "SERVICECAR : ",     "SERVICECENTERS : ",     "SERVICEITEMS: ",
    "SERVICEKITS : ",    "CONFIGURATIONS: ",      "OBJECTS : "};

const std::string kZeroCounts =
    "0 record(s) Deleted, 0 record(s) Modified, 0 Record(s) Inserted, \r\n\r\n";
const std::string kCompanyDone = "\nThe master-data file of the company has been written.\n";
const std::string kRunComplete = "The master data of all companies has been synchronized.\r\n";
const std::string kEarliest =
    "No change file and no master-data database in the company folder: the change window "
    "starts at the earliest time.\r\n";

std::string companyLine(const std::string& company) {
    return std::string(22, ' ') + "FOR COMPANY " + company + std::string(22, ' ') + "\r\n";
}

std::string unchangedCompanyProgress(const std::string& doneLine) {
    std::string text;
    for (const auto& [caption, dots] : kClientProgress) {
        text += "Synchronizing " + caption + dots + "\n" + "No changes: " + caption + " done\n";
    }
    return text + kCompanyDone + doneLine;
}

std::string unchangedCompanyLog() {
    std::string text;
    for (const std::string& caption : kLogCaptions) text += caption + "\r\n" + kZeroCounts;
    return text;
}

// The log entry of one transfer with its counts.
std::string logCounts(const std::string& caption, int deleted, int modified, int inserted) {
    return caption + "\r\n" + std::to_string(deleted) + " record(s) Deleted, " +
           std::to_string(modified) + " record(s) Modified, " + std::to_string(inserted) +
           " Record(s) Inserted, \r\n\r\n";
}

// The part of a change file from the first element named `open` to the end of `table`.
std::string element(const std::string& file, const std::string& open, const std::string& table) {
    const size_t begin = file.find("<" + open);
    if (begin == std::string::npos) return {};
    const size_t end = file.find("</" + table + ">", begin);
    if (end == std::string::npos) return {};
    return file.substr(begin, end - begin + table.size() + 3);
}

// The same runs on SQLite files and on PostgreSQL: the tests of RunTest are named after the
// database they ran on (Databases/RunTest.X/SQLite, Databases/RunTest.X/PostgreSQL).
class RunTestBase : public ::testing::Test {
  protected:
    virtual Backend backend() const = 0;
    void SetUp() override {
        if (backend() == Backend::PostgreSQL) TAVIRO_REQUIRE_POSTGRES();
        machine = std::make_unique<ServerMachine>(backend());
    }
    int run() { return machine->runHeadless(out, err); }
    // The line after a company's change file: its counts and the file.
    std::string doneLine(const std::string& folder, int company, int inserted, int modified,
                         int deleted, const std::string& stamp = "2026-12-07 09-05") const {
        return "Company " + std::to_string(company) + ": " + std::to_string(inserted) +
               " inserted, " + std::to_string(modified) + " modified, " + std::to_string(deleted) +
               " deleted; change file " +
               (machine->companyFolder(folder) / (stamp + ".xml")).string() + "\n";
    }
    // The line after a failed run's texts.
    std::string stoppedLine(const std::string& where) const {
        return "The run stopped " + where + "; the log file is " + machine->logFile().string() +
               "\n";
    }
    std::unique_ptr<ServerMachine> machine;
    std::string out;
    std::string err;
};

class RunTest : public RunTestBase, public ::testing::WithParamInterface<Backend> {
  protected:
    Backend backend() const override { return GetParam(); }
};
INSTANTIATE_TEST_SUITE_P(Databases, RunTest,
                         ::testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         [](const ::testing::TestParamInfo<Backend>& info) {
                             return info.param == Backend::SQLite ? "SQLite" : "PostgreSQL";
                         });

class SqliteRunTest : public RunTestBase {
  protected:
    Backend backend() const override { return Backend::SQLite; }
};

class PostgresRunTest : public RunTestBase {
  protected:
    Backend backend() const override { return Backend::PostgreSQL; }
};

TEST_P(RunTest, CompanyWithoutChangesGivesEmptyTablesNoChangeLinesAndZeroCounts) {
    machine->addCompany("500", 500);
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(out, "Press Synchronize to bring the master data up to date.\n" +
                       unchangedCompanyProgress(doneLine("500", 500, 0, 0, 0)));
    EXPECT_EQ(err, "");
    EXPECT_EQ(machine->changeFile("500"), ChangeFileText("500", EmptyTables()));
    EXPECT_EQ(machine->log(),
              companyLine("500") + kEarliest + unchangedCompanyLog() + kRunComplete);
}

TEST_P(RunTest, EmptyMasterDataFolderOnlyCreatesTheLog) {
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(out, "Press Synchronize to bring the master data up to date.\n");
    EXPECT_EQ(machine->log(), kRunComplete);
}

TEST_P(RunTest, SampleAuditDatabaseReachesServerAndChangeFile) {
    machine->addCompany("500", 500);
    const fs::path sample = machine->dir() / "sample-audit.db";
    const std::string generate = "bash '" TAVIRO_SOURCE_DIR
                                 "/data/server/make-sample-erp-audit.sh' '" +
                                 sample.string() + "' >/dev/null";
    ASSERT_EQ(std::system(generate.c_str()), 0);
    machine->copyChanges("500", sample);
    ASSERT_EQ(run(), 0);
    const std::string file = machine->changeFile("500");
    // kg is inserted and then modified (quantity 0 keeps the text), box inserted and deleted.
    EXPECT_EQ(element(file, "UNITS", "UNITS"),
              "<UNITS><CUNI ID=\"kg\" STATUS=\"I\"><DSCA>kilogram</DSCA><TCCU>Weight</TCCU></CUNI>"
              "<CUNI ID=\"pcs\" STATUS=\"I\"><DSCA>pieces</DSCA><TCCU>Piece</TCCU></CUNI>"
              "<CUNI ID=\"box\" STATUS=\"I\"><DSCA>box</DSCA><TCCU>Piece</TCCU></CUNI>"
              "<CUNI ID=\"kg\" STATUS=\"M\"><DSCA>Kilogram</DSCA><TCCU>Weight</TCCU></CUNI>"
              "<CUNI ID=\"box\" STATUS=\"D\"><DSCA/><TCCU/></CUNI></UNITS>");
    EXPECT_EQ(machine->serverRows("UNITS"),
              (std::vector<std::string>{"CUNI=kg|DSCA=Kilogram|TCCU=Weight",
                                        "CUNI=pcs|DSCA=pieces|TCCU=Piece"}));
    // Descriptions come from the server-only tables transferred before.
    EXPECT_THAT(file,
                HasSubstr("<CCFG ID=\"CFG0002\" STATUS=\"I\"><DSCA>Bottling line</DSCA>"
                          "<OFBP>BP0002</OFBP><BPDS>Ostermann &amp; Sons</BPDS><CWOC>SC2</CWOC>"
                          "<DCWC>Service Center South</DCWC><CSAR/><TECR/><CCNT/><CADR/><DADD/>"
                          "</CCFG>"));
    EXPECT_THAT(file, HasSubstr("<ITEM ID=\"         PUMP-100\" STATUS=\"I\">"
                                "<DSCA>Circulation pump 100 l/min</DSCA></ITEM>"));
    EXPECT_THAT(machine->log(), HasSubstr(logCounts("UNITS: ", 1, 1, 3)));
    EXPECT_THAT(out, HasSubstr("Synchronizing Units........\nUnits done\n"));
}

TEST_P(RunTest, ServerRowDecidesBetweenInsertAndModify) {
    machine->addCompany("500", 500);
    machine->executeServer("insert into PROBLEMS values ('500', 'LEAK', 'Leakage')");
    // Reported as inserted, but the server has it; reported as modified, but the server lacks it.
    machine->addChange("500", "PROBLEMS", 2, "", R"({"cprl": "LEAK", "desc": "Leak"})");
    machine->addChange("500", "PROBLEMS", 1, R"({"desc": "x"})",
                       R"({"cprl": "NOISE", "desc": "Noise"})");
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(element(machine->changeFile("500"), "PROBLEMS", "PROBLEMS"),
              "<PROBLEMS><CPRL ID=\"LEAK\" STATUS=\"M\"><DSCA>Leak</DSCA></CPRL>"
              "<CPRL ID=\"NOISE\" STATUS=\"I\"><DSCA>Noise</DSCA></CPRL></PROBLEMS>");
    EXPECT_EQ(machine->serverRows("PROBLEMS"),
              (std::vector<std::string>{"CPRL=LEAK|DSCA=Leak", "CPRL=NOISE|DSCA=Noise"}));
    EXPECT_THAT(machine->log(), HasSubstr(logCounts("PROBLEMS: ", 0, 1, 1)));
}

TEST_P(RunTest, UnchangedValuesAreKeptFromTheServer) {
    machine->addCompany("500", 500);
    machine->executeServer(
        "insert into UNITS values ('500', 'kg', 'Kilogram (server)', 'Mass');"
        "insert into UNITS values ('500', 'h', 'hour', 'Time');"
        "insert into UNITS values ('500', 'm', 'metre', NULL)");
    // Description as before and quantity 0: the server's texts stay and reach the file.
    machine->addChange("500", "UNITS", 1, R"({"dsca": "kilogram"})",
                       R"({"cuni": "kg", "dsca": " kilogram ", "tccu": 0})");
    // Quantity 7 has no text: the column is emptied.
    machine->addChange("500", "UNITS", 1, R"({"dsca": "hour"})",
                       R"({"cuni": "h", "dsca": "hours", "tccu": 7})");
    // A NULL kept by the server is an empty column element.
    machine->addChange("500", "UNITS", 1, R"({"dsca": "metre"})",
                       R"({"cuni": "m", "dsca": "metre", "tccu": 0})");
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(
        element(machine->changeFile("500"), "UNITS", "UNITS"),
        "<UNITS><CUNI ID=\"kg\" STATUS=\"M\"><DSCA>Kilogram (server)</DSCA><TCCU>Mass</TCCU></CUNI>"
        "<CUNI ID=\"h\" STATUS=\"M\"><DSCA>hours</DSCA><TCCU/></CUNI>"
        "<CUNI ID=\"m\" STATUS=\"M\"><DSCA>metre</DSCA><TCCU/></CUNI></UNITS>");
    EXPECT_EQ(machine->serverRows("UNITS"),
              (std::vector<std::string>{
                  "CUNI=h|DSCA=hours|TCCU=", "CUNI=kg|DSCA=Kilogram (server)|TCCU=Mass",
                  "CUNI=m|DSCA=metre|TCCU=NULL"}));
}

TEST_P(RunTest, EnumerationValuesBecomeLocalizedTexts) {
    machine->addCompany("500", 500);
    machine->addChange("500", "REASONS", 2, "", R"({"cdis": "R80", "dsca": "a", "rstp": 80})");
    machine->addChange("500", "REASONS", 2, "", R"({"cdis": "R81", "dsca": "b", "rstp": "81"})");
    machine->addChange("500", "SERVICETYPES", 2, "", R"({"cstp": "S12", "desc": "c", "proc": 12})");
    machine->addChange("500", "SERVICETYPES", 2, "", R"({"cstp": "S35", "desc": "d", "proc": 35})");
    machine->addChange("500", "COSTCOMPONENTS", 2, "", R"({"cpcp": "C7", "dsca": "e", "cref": 7})");
    ASSERT_EQ(run(), 0);
    const std::string file = machine->changeFile("500");
    EXPECT_THAT(
        file,
        HasSubstr(
            "<CDIS ID=\"R80\" STATUS=\"I\"><DSCA>a</DSCA><RSTP>Rejection Reason</RSTP></CDIS>"
            "<CDIS ID=\"R81\" STATUS=\"I\"><DSCA>b</DSCA><RSTP>Service Reason</RSTP></CDIS>"));
    EXPECT_THAT(
        file,
        HasSubstr(
            "<CSTP ID=\"S12\" STATUS=\"I\"><DSCA>c</DSCA><SEPR/></CSTP>"
            "<CSTP ID=\"S35\" STATUS=\"I\"><DSCA>d</DSCA><SEPR>Contract Service</SEPR></CSTP>"));
    EXPECT_THAT(
        file,
        HasSubstr("<CPCP ID=\"C7\" STATUS=\"I\"><DSCA>e</DSCA><CREF>Not Applicable</CREF></CPCP>"));
}

TEST_P(RunTest, ItemKeysCarryNineBlanksInServerAndFile) {
    machine->addCompany("500", 500);
    machine->addChange("500", "GENERALITEMDATA", 2, "",
                       R"({"item": "ITEM1", "dsca": "First item"})");
    machine->addChange("500", "SERVICEITEMS", 2, "", R"({"item": "ITEM1"})");
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(machine->serverRows("GENERALITEMDATA"),
              std::vector<std::string>{"ITEM=         ITEM1|DSCA=First item"});
    EXPECT_EQ(machine->serverRows("SERVICEITEMS"),
              std::vector<std::string>{"ITEM=         ITEM1|DSCA=First item"});
    EXPECT_EQ(
        element(machine->changeFile("500"), "SERVICEITEMS", "SERVICEITEMS"),
        "<SERVICEITEMS><ITEM ID=\"         ITEM1\" STATUS=\"I\"><DSCA>First item</DSCA></ITEM>"
        "</SERVICEITEMS>");
}

TEST_P(RunTest, ConfigurationsAndObjectsAreSplitByServiceCenter) {
    machine->addCompany("500", 500);
    machine->executeServer(
        "insert into CONFIGURATIONS (COMP, CCFG, DSCA, CWOC) values ('500', 'CFG9', 'Old', 'SC9')");
    machine->addChange("500", "CONFIGURATIONS", 2, "",
                       R"({"ccfg": "CFG1", "desc": "One", "cwoc": " SC1 "})");
    // No service center from the ERP: the server's decides (and, unchanged, stays).
    machine->addChange("500", "CONFIGURATIONS", 1, "",
                       R"({"ccfg": "CFG9", "desc": "Nine", "cwoc": ""})");
    machine->addChange("500", "CONFIGURATIONS", 2, "",
                       R"({"ccfg": "CFG2", "desc": "Two", "cwoc": "SC1"})");
    machine->addChange("500", "OBJECTS", 2, "",
                       R"({"ccfg": "CFG9", "crob": "P", "oseq": 2, "desc": "Pump"})");
    machine->addChange("500", "OBJECTS", 2, "",
                       R"({"ccfg": "CFG1", "crob": "V", "oseq": 1, "desc": "Valve"})");
    machine->addChange("500", "OBJECTS", 0, "", R"({"ccfg": "CFGX", "crob": "Z", "oseq": 3})");
    ASSERT_EQ(run(), 0);
    const std::string file = machine->changeFile("500");
    EXPECT_THAT(
        file,
        HasSubstr(
            "<SERVICEKITS/>"
            "<CONFIGURATIONS SERVICECENTER=\"SC1\"><CCFG ID=\"CFG1\" "
            "STATUS=\"I\"><DSCA>One</DSCA><OFBP/>"
            "<BPDS/><CWOC> SC1 </CWOC><DCWC/><CSAR/><TECR/><CCNT/><CADR/><DADD/></CCFG>"
            "<CCFG ID=\"CFG2\" "
            "STATUS=\"I\"><DSCA>Two</DSCA><OFBP/><BPDS/><CWOC>SC1</CWOC><DCWC/><CSAR/>"
            "<TECR/><CCNT/><CADR/><DADD/></CCFG></CONFIGURATIONS>"
            "<CONFIGURATIONS SERVICECENTER=\"SC9\"><CCFG ID=\"CFG9\" STATUS=\"M\"><DSCA>Nine</DSCA>"
            "<OFBP/><BPDS/><CWOC>SC9</CWOC><DCWC/><CSAR/><TECR/><CCNT/><CADR/><DADD/></CCFG></"
            "CONFIGURATIONS>"
            // Objects take the service center the server holds for their configuration: CFG1 is at
            // " SC1 " as the ERP wrote it, CFGX is unknown to the server.
            "<OBJECTS SERVICECENTER=\"SC9\"><CROB CCFG=\"CFG9\" CROB=\"P\" OSEQ=\"2\" STATUS=\"I\">"
            "<DSCA>Pump</DSCA><EMNO/><LOCI/><CDEL/><CCNT/></CROB></OBJECTS>"
            "<OBJECTS SERVICECENTER=\" SC1 \"><CROB CCFG=\"CFG1\" CROB=\"V\" OSEQ=\"1\" "
            "STATUS=\"I\">"
            "<DSCA>Valve</DSCA><EMNO/><LOCI/><CDEL/><CCNT/></CROB></OBJECTS>"
            "<OBJECTS SERVICECENTER=\"\"><CROB CCFG=\"CFGX\" CROB=\"Z\" OSEQ=\"3\" "
            "STATUS=\"D\"><DSCA/><EMNO/>"
            "<LOCI/><CDEL/><CCNT/></CROB></OBJECTS></VOMasterData>"));
}

// The server rows are read ahead for many changes at once; a change still sees what the
// changes before it did to the same key, also across the batches that are read.
TEST_P(RunTest, ChangesOfOneKeySeeTheChangesBeforeThem) {
    machine->addCompany("500", 500);
    constexpr int kKeys = 7;
    constexpr int kChanges = 700;  // more than two batches
    std::string expectedRows;
    std::map<std::string, std::string> present;  // key -> description
    int inserted = 0, modified = 0, deleted = 0;
    std::string changes;
    for (int n = 0; n < kChanges; ++n) {
        const std::string key = "k" + std::to_string(n % kKeys);
        const std::string description = "v" + std::to_string(n);
        // Per key: inserted, reported as inserted again, deleted, reported as modified.
        const int step = (n / kKeys) % 4;
        const int kind = step == 2 ? 0 : (step == 3 ? 1 : 2);
        changes +=
            "insert into ERPAUDIT (BUSINESSOBJECT, CHANGEDAT, KIND, OLDVALUES, NEWVALUES) "
            "values ('UNITS', '2026-12-07 08:00:00', " +
            std::to_string(kind) + ", '', '{\"cuni\": \"" + key + "\", \"dsca\": \"" + description +
            "\", \"tccu\": 0}');";
        std::string status = "D";
        if (kind != 0) status = present.count(key) ? "M" : "I";
        const std::string shown = kind == 0 ? "" : description;
        expectedRows += "<CUNI ID=\"" + key + "\" STATUS=\"" + status + "\">" +
                        (shown.empty() ? "<DSCA/>" : "<DSCA>" + shown + "</DSCA>") +
                        "<TCCU/></CUNI>";
        (status == "D" ? deleted : status == "M" ? modified : inserted)++;
        if (kind == 0) {
            present.erase(key);
        } else {
            present[key] = description;
        }
    }
    machine->executeAudit("500", changes);
    // A configuration without a service center from the ERP is filed under the one its row
    // got from the change before.
    machine->addChange("500", "CONFIGURATIONS", 2, "", R"({"ccfg": "C1", "cwoc": "SC1"})");
    machine->addChange("500", "CONFIGURATIONS", 1, "", R"({"ccfg": "C1", "desc": "One"})");
    ASSERT_EQ(run(), 0) << out;

    const std::string file = machine->changeFile("500");
    EXPECT_EQ(element(file, "UNITS", "UNITS"), "<UNITS>" + expectedRows + "</UNITS>");
    std::vector<std::string> expectedServer;
    for (const auto& [key, description] : present)
        expectedServer.push_back("CUNI=" + key + "|DSCA=" + description + "|TCCU=");
    EXPECT_EQ(machine->serverRows("UNITS"), expectedServer);
    EXPECT_THAT(machine->log(), HasSubstr(logCounts("UNITS: ", deleted, modified, inserted)));
    EXPECT_THAT(file, HasSubstr("<CONFIGURATIONS SERVICECENTER=\"SC1\"><CCFG ID=\"C1\" "
                                "STATUS=\"I\">"));
    EXPECT_THAT(file, HasSubstr("</CCFG><CCFG ID=\"C1\" STATUS=\"M\"><DSCA>One</DSCA><OFBP/>"
                                "<BPDS/><CWOC>SC1</CWOC>"));
}

// A server row whose key column is NULL is the row of no key, also when rows are read ahead.
TEST_P(RunTest, ANullKeyColumnMatchesNoKey) {
    machine->addCompany("500", 500);
    machine->executeServer(
        "insert into OBJECTS (COMP, CCFG, CROB, OSEQ, DSCA) values ('500', 'CFG1', NULL, '1', "
        "'Old')");
    machine->addChange("500", "OBJECTS", 1, "",
                       R"({"ccfg": "CFG1", "crob": "", "oseq": 1, "desc": "New"})");
    ASSERT_EQ(run(), 0) << out;
    EXPECT_THAT(machine->changeFile("500"), HasSubstr("CROB=\"\" OSEQ=\"1\" STATUS=\"I\">"));
    EXPECT_THAT(machine->log(), HasSubstr(logCounts("OBJECTS : ", 0, 0, 1)));
}

// Whatever the ERP and the server hold, the change file is well-formed XML 1.0 and its values
// read back as written, except for the characters XML cannot carry, which are logged.
TEST_P(RunTest, HostileValuesGiveAWellFormedChangeFile) {
    machine->addCompany("500", 500);
    machine->addChange("500", "UNITS", 2, "",
                       R"({"cuni": "u1", "dsca": "ctrl\u0001 and \uffff", "tccu": 0})");
    machine->addChange("500", "UNITS", 2, "",
                       R"({"cuni": "u3\t\r\n", "dsca": "two\r\nlines ]]> <&>", "tccu": 0})");
    ASSERT_EQ(run(), 0) << out;
    const fs::path file = machine->companyFolder("500") / "2026-12-07 09-05.xml";
    EXPECT_EQ(sync_testing::StrictXmlErrors(file), "");
    const std::string fffd = "\xEF\xBF\xBD";
    const std::string text = machine->changeFile("500");
    EXPECT_THAT(text, HasSubstr("<DSCA>ctrl" + fffd + " and " + fffd + "</DSCA>"));
    EXPECT_THAT(text, HasSubstr("<CUNI ID=\"u3&#9;&#13;&#10;\" STATUS=\"I\"><DSCA>two&#13;\nlines "
                                "]]&gt; &lt;&amp;&gt;</DSCA>"));
    const std::string log = machine->log();
    EXPECT_THAT(log, HasSubstr("UNITS: characters that XML cannot carry in DSCA of key u1 were "
                               "written as U+FFFD to the change file\r\n"));
    EXPECT_THAT(log, Not(HasSubstr("of key u3")));
    // The server keeps the value as delivered.
    EXPECT_THAT(machine->serverRows("UNITS")[0], HasSubstr("DSCA=ctrl\x01 and \xEF\xBF\xBF|"));
}

// SQLite keeps any bytes: a NUL and a server text that is not UTF-8 reach the server as they
// are, and the change file carries U+FFFD for them.
TEST_F(SqliteRunTest, BytesXmlCannotCarryStayInTheServerDatabase) {
    machine->addCompany("500", 500);
    machine->addChange("500", "UNITS", 2, "",
                       R"({"cuni": "u2", "dsca": "nul\u0000kept", "tccu": 0})");
    // A server text that is not UTF-8 reaches the file as the server's kept value.
    machine->executeServer(
        "insert into UNITS values ('500', 'u4', CAST(X'4F6BFF21' AS TEXT), 'Mass')");
    machine->addChange("500", "UNITS", 1, R"({"dsca": "same"})",
                       R"({"cuni": "u4", "dsca": "same", "tccu": 0})");
    ASSERT_EQ(run(), 0) << out;
    EXPECT_EQ(sync_testing::StrictXmlErrors(machine->companyFolder("500") / "2026-12-07 09-05.xml"),
              "");
    const std::string fffd = "\xEF\xBF\xBD";
    const std::string text = machine->changeFile("500");
    EXPECT_THAT(text, HasSubstr("<DSCA>nul" + fffd + "kept</DSCA>"));
    EXPECT_THAT(text, HasSubstr("<CUNI ID=\"u4\" STATUS=\"M\"><DSCA>Ok" + fffd + "!</DSCA>"));
    const std::string log = machine->log();
    EXPECT_THAT(log, HasSubstr("UNITS: characters that XML cannot carry in DSCA of key u2 were "));
    EXPECT_THAT(log, HasSubstr("UNITS: characters that XML cannot carry in DSCA of key u4 were "));
    EXPECT_EQ(machine->serverRows("UNITS")[0], std::string("CUNI=u2|DSCA=nul\0kept|TCCU=", 27));
}

// PostgreSQL cannot store a NUL in a text. The value is refused whole, not cut short: the run
// stops at it with the reason, the rows before it stay, and the company gets no change file, so
// the next run fetches the window again.
TEST_F(PostgresRunTest, ValueWithANulStopsTheRunWithTheReason) {
    machine->addCompany("500", 500);
    machine->addChange("500", "UNITS", 2, "", R"({"cuni": "kg", "dsca": "kilogram", "tccu": 5})");
    machine->addChange("500", "UNITS", 2, "",
                       R"({"cuni": "u2", "dsca": "nul\u0000kept", "tccu": 0})");
    ASSERT_EQ(run(), 3);
    EXPECT_THAT(machine->log(),
                HasSubstr("-2147467259 PostgreSQL cannot store a text that holds a NUL character "
                          "(parameter $3).\r\n"));
    EXPECT_EQ(machine->serverRows("UNITS"),
              std::vector<std::string>{"CUNI=kg|DSCA=kilogram|TCCU=Weight"});
    EXPECT_FALSE(machine->hasChangeFile("500"));
}

// A statement the server refuses ends PostgreSQL's transaction, which then keeps none of the
// table's rows: the summary counts none either.
TEST_F(PostgresRunTest, TableTheServerRolledBackCountsNoRows) {
    machine->addCompany("500", 500);
    machine->executeServer("ALTER TABLE UNITS ALTER COLUMN DSCA TYPE VARCHAR(5)");
    machine->addChange("500", "UNITS", 2, "", R"({"cuni": "kg", "dsca": "kilo", "tccu": 5})");
    machine->addChange("500", "UNITS", 2, "", R"({"cuni": "t", "dsca": "tonnes", "tccu": 5})");
    brindlemoor::HeadlessOptions options;
    options.summary = machine->dir() / "summary.json";
    ASSERT_EQ(machine->runHeadless(out, err, options), 3);
    EXPECT_THAT(machine->log(), HasSubstr("value too long for type character varying(5)"));
    EXPECT_EQ(machine->serverRows("UNITS"), std::vector<std::string>{});
    const nlohmann::json summary =
        nlohmann::json::parse(testing_support::readFile(*options.summary));
    EXPECT_EQ(
        summary["companies"][0]["tables"].back(),
        (nlohmann::json{{"table", "UNITS"}, {"inserted", 0}, {"modified", 0}, {"deleted", 0}}));
}

// A hostile audit row fails its table like any bad row: the run stops with a clear message,
// the rows before it stay applied, the company gets no change file, and nothing crashes.
TEST_P(RunTest, DeeplyNestedAuditValuesFailTheirTable) {
    machine->addCompany("500", 500);
    machine->addChange("500", "UNITS", 2, "", R"({"cuni": "kg", "dsca": "kilogram", "tccu": 5})");
    machine->addChange(
        "500", "UNITS", 2, "",
        R"({"cuni": "x", "dsca": )" + std::string(100000, '[') + std::string(100000, ']') + "}");
    ASSERT_EQ(run(), 3);
    EXPECT_THAT(machine->log(), HasSubstr(kZeroCounts + "-2147467259 The audit record 2 of UNITS "
                                                        "holds values nested deeper than 32 "
                                                        "levels.\r\nSee the log file"));
    EXPECT_EQ(machine->serverRows("UNITS"),
              std::vector<std::string>{"CUNI=kg|DSCA=kilogram|TCCU=Weight"});
    EXPECT_FALSE(machine->hasChangeFile("500"));
}

// A run killed while it saved a change file leaves a hidden temporary file; the next run of the
// company removes it, and leaves every other file alone.
TEST_P(RunTest, StaleTemporaryChangeFilesAreRemoved) {
    machine->addCompany("500", 500);
    const fs::path folder = machine->companyFolder("500");
    std::ofstream(folder / ".2026-12-07 09-01.xml.tmp123456") << "<VOMasterData";
    std::ofstream(folder / ".hidden.txt") << "x";
    ASSERT_EQ(run(), 0);
    EXPECT_FALSE(fs::exists(folder / ".2026-12-07 09-01.xml.tmp123456"));
    EXPECT_TRUE(fs::exists(folder / ".hidden.txt"));
}

TEST_P(RunTest, FolderNamesGiveCompanyNumbers) {
    machine->addCompany("abc", 0);
    machine->addCompany("0500", 500);
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(machine->changeFile("abc"), ChangeFileText("0", EmptyTables()));
    EXPECT_EQ(machine->changeFile("0500"), ChangeFileText("500", EmptyTables()));
    // Name order: 0500 before abc.
    const std::string log = machine->log();
    EXPECT_LT(log.find(companyLine("500")), log.find(companyLine("0")));
}

TEST_P(RunTest, ErrorInFifthCompanyStopsTheRunAndKeepsEarlierFiles) {
    for (int company = 501; company <= 506; ++company) {
        machine->addCompany(std::to_string(company), company);
    }
    // The fifth company's bus component cannot be reached.
    const std::string unreachable = machine->removeAuditDatabase("505");
    ASSERT_EQ(run(), 3);
    for (const char* company : {"501", "502", "503", "504"})
        EXPECT_TRUE(machine->hasChangeFile(company));
    EXPECT_FALSE(machine->hasChangeFile("505"));
    EXPECT_FALSE(machine->hasChangeFile("506"));
    const std::string address = machine->auditAddress("505");
    EXPECT_THAT(out,
                HasSubstr("Synchronizing Problems......\n"
                          "Corbelline.DatasourceConnection Bus component- The master data could "
                          "not be synchronized.\nSee the log file for details."));
    EXPECT_THAT(out, EndsWith("See the log file for details.\n" +
                              stoppedLine("at company 505 (folder 505)")));
    const std::string log = machine->log();
    EXPECT_THAT(log, HasSubstr(companyLine("505") + kEarliest + "-2147467259 "));
    EXPECT_THAT(log, HasSubstr(unreachable +
                               "\r\nSee the log file for details.\r\n"
                               "Check whether the Bus Component(LDAP)" +
                               address +
                               " is Running on the Taviro ERP Server Else start the Bus Component "
                               "on the Server\r\n"));
    EXPECT_THAT(log, Not(HasSubstr(companyLine("506"))));
    EXPECT_THAT(log, Not(HasSubstr(kRunComplete)));
}

TEST_P(RunTest, OtherErrorsAreReportedWithTheirNumberAndEarlierChangesStay) {
    machine->addCompany("500", 500);
    machine->addChange("500", "UNITS", 2, "", R"({"cuni": "kg", "dsca": "kilogram", "tccu": 5})");
    machine->addChange("500", "UNITS", 2, "", R"({"cuni": "xx", "dsca": "bad", "tccu": "heavy"})");
    ASSERT_EQ(run(), 3);
    EXPECT_EQ(out.substr(out.find("Synchronizing Units")),
              "Synchronizing Units........\nBrindlemoor Error See the log file for details.\n" +
                  stoppedLine("at company 500 (folder 500)"));
    EXPECT_THAT(machine->log(), HasSubstr("REASONS: \r\n" + kZeroCounts + "13 Type mismatch\r\n"));
    EXPECT_EQ(machine->serverRows("UNITS"),
              std::vector<std::string>{"CUNI=kg|DSCA=kilogram|TCCU=Weight"});
    EXPECT_FALSE(machine->hasChangeFile("500"));
}

// A run never replaces an earlier run's change file: the second run of a minute waits for the
// next minute, and its window starts at the first file's minute.
TEST_P(RunTest, SecondRunInAMinuteWaitsForTheNextAndKeepsTheFirstFile) {
    machine->addCompany("500", 500);
    machine->addChange("500", "PROBLEMS", 2, "", R"({"cprl": "OLD", "desc": "before"})",
                       "2026-12-07 09:04:59");
    sync_testing::SteppingClock clock({2026, 12, 7, 9, 5, 0});
    brindlemoor::HeadlessOptions options;
    options.run.clock = &clock;
    ASSERT_EQ(machine->runHeadless(out, err, options), 0);
    const std::string first = machine->changeFile("500");
    EXPECT_THAT(first, HasSubstr("ID=\"OLD\""));

    machine->addChange("500", "PROBLEMS", 2, "", R"({"cprl": "NEW", "desc": "after"})",
                       "2026-12-07 09:05:00");
    clock.set({2026, 12, 7, 9, 5, 40});
    ASSERT_EQ(machine->runHeadless(out, err, options), 0);
    EXPECT_EQ(clock.slept, std::chrono::seconds(20));
    EXPECT_THAT(out, HasSubstr("A change file of this minute exists ("));
    EXPECT_THAT(out, HasSubstr(doneLine("500", 500, 1, 0, 0, "2026-12-07 09-06")));
    EXPECT_EQ(machine->changeFile("500"), first);
    const std::string second = machine->changeFile("500", "2026-12-07 09-06");
    EXPECT_EQ(element(second, "PROBLEMS", "PROBLEMS"),
              "<PROBLEMS><CPRL ID=\"NEW\" STATUS=\"I\"><DSCA>after</DSCA></CPRL></PROBLEMS>");
    EXPECT_THAT(second, HasSubstr("TIME=\"20261207090600\""));
    // Both runs log into the file of their first minute, the second after the first.
    const std::string log = machine->log();
    EXPECT_THAT(log, StartsWith(companyLine("500")));
    EXPECT_THAT(log, EndsWith(kRunComplete));
    EXPECT_THAT(log.substr(log.find(kRunComplete)), StartsWith(kRunComplete + companyLine("500")));
}

// One run at a time on a root: a second one waits, saying so, until the first has ended.
TEST_P(RunTest, RunWaitsWhileAnotherRunHoldsTheRoot) {
    machine->addCompany("500", 500);
    auto first = std::make_unique<brindlemoor::RunLock>(machine->root());
    ASSERT_TRUE(first->tryLock());
    sync_testing::SteppingClock clock({2026, 12, 7, 9, 5, 0});
    int sleeps = 0;
    clock.onSleep = [&] {
        if (++sleeps == 3) first.reset();
    };
    brindlemoor::HeadlessOptions options;
    options.run.clock = &clock;
    ASSERT_EQ(machine->runHeadless(out, err, options), 0);
    EXPECT_EQ(sleeps, 3);
    EXPECT_THAT(out, StartsWith("Press Synchronize to bring the master data up to date.\n"
                                "Another run of brindlemoor is working on this server root; "
                                "waiting up to 180 seconds for it to end (lock file " +
                                (machine->dir() / "brindlemoor.lock").string() +
                                ").\n"
                                "Synchronizing Problems"));
    EXPECT_TRUE(machine->hasChangeFile("500"));
}

TEST_P(RunTest, SecondRunInAMinuteOfAFixedClockFailsAndKeepsTheFirstFile) {
    machine->addCompany("500", 500);
    ASSERT_EQ(run(), 0);
    const std::string first = machine->changeFile("500");
    ASSERT_EQ(run(), 3);
    EXPECT_EQ(machine->changeFile("500"), first);
    const std::string file = (machine->companyFolder("500") / "2026-12-07 09-05.xml").string();
    EXPECT_THAT(machine->log(), EndsWith(kRunComplete + "58 File already exists: " + file +
                                         " was written by an earlier run in this minute, and the "
                                         "time is fixed (TAVIRO_NOW), so this run cannot wait for "
                                         "the next minute.\r\n"));
    EXPECT_THAT(out, EndsWith("Brindlemoor Error See the log file for details.\n" +
                              stoppedLine("at company 500 (folder 500)")));
}

TEST_P(RunTest, DatabaseCreationDateStartsTheFirstWindow) {
    machine->addCompany("500", 500);
    std::ofstream(machine->companyFolder("500") / "Master.MDB") << "x";
    machine->addChange("500", "PROBLEMS", 2, "", R"({"cprl": "ANCIENT", "desc": "a"})",
                       "2001-01-01 00:00:00");
    machine->addChange("500", "PROBLEMS", 2, "", R"({"cprl": "FUTURE", "desc": "f"})",
                       "2999-01-01 00:00:00");
    ASSERT_EQ(run(), 0);
    const std::string problems = element(machine->changeFile("500"), "PROBLEMS", "PROBLEMS");
    EXPECT_THAT(problems, Not(HasSubstr("ANCIENT")));
    EXPECT_THAT(problems, HasSubstr("FUTURE"));
}

TEST_P(RunTest, ChangedDescriptionsReachTheRowsThatRepeatThem) {
    machine->addCompany("500", 500);
    machine->executeServer(
        "insert into DEPARTMENTS values ('500', 'SC1', 'North');"
        "insert into LABORRATES values ('500', 'STD', 'Standard');"
        "insert into BUSINESSPARTNERS values ('500', 'BP1', 'Acme');"
        "insert into GENERALITEMDATA values ('500', '         I1', 'Item');"
        "insert into CONFIGURATIONS (COMP, CCFG, OFBP, BPDS, CWOC, DCWC) values ('500', 'C1', "
        "'BP1', 'Acme', 'SC1', 'North');"
        "insert into SERVICECENTERS (COMP, CWOC, DSCA, CLRT, DLRT) values ('500', 'SC1', 'North', "
        "'STD', 'Standard');"
        "insert into TASKS (COMP, CTSK, CLRT, DLRT) values ('500', 'T1', 'STD', 'Standard');"
        "insert into SERVICEITEMS values ('500', '         I1', 'Item');"
        "insert into SERVICEITEMS values ('600', '         I1', 'Other company')");
    machine->addChange("500", "DEPARTMENTS", 1, "", R"({"cwoc": "SC1", "dsca": " North-East "})");
    machine->addChange("500", "LABORRATES", 1, "", R"({"clrt": "STD", "desc": "Standard 2027"})");
    machine->addChange("500", "BUSINESSPARTNERS", 1, "", R"({"bpid": "BP1", "nama": "Acme Ltd"})");
    machine->addChange("500", "GENERALITEMDATA", 1, "", R"({"item": "I1", "dsca": "Item, new"})");
    // An empty new description changes nothing.
    machine->addChange("500", "BUSINESSPARTNERS", 1, "", R"({"bpid": "BP1", "nama": "  "})");
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(machine->serverRows("CONFIGURATIONS"),
              std::vector<std::string>{
                  "CCFG=C1|DSCA=NULL|OFBP=BP1|BPDS=Acme Ltd|CWOC=SC1|"
                  "DCWC=North-East|CSAR=NULL|TECR=NULL|CCNT=NULL|CADR=NULL|DADD=NULL"});
    EXPECT_EQ(machine->serverRows("SERVICECENTERS"),
              std::vector<std::string>{
                  "CWOC=SC1|DSCA=North-East|CWAR=NULL|DWRH=NULL|CLRT=STD|DLRT=Standard 2027"});
    EXPECT_EQ(machine->serverRows("TASKS"),
              std::vector<std::string>{
                  "CTSK=T1|DSCA=NULL|CLRT=STD|DLRT=Standard 2027|CPCP=NULL|DCMP=NULL"});
    EXPECT_EQ(machine->serverRows("SERVICEITEMS"),
              std::vector<std::string>{"ITEM=         I1|DSCA=Item, new"});
    EXPECT_EQ(machine->serverRows("SERVICEITEMS", "600"),
              std::vector<std::string>{"ITEM=         I1|DSCA=Other company"});
    EXPECT_EQ(machine->serverRows("BUSINESSPARTNERS"),
              std::vector<std::string>{"BPID=BP1|NAMA=Acme Ltd"});
    EXPECT_THAT(machine->log(), HasSubstr(logCounts("BUSINESSPARTNERS: ", 0, 2, 0)));
}

TEST_P(RunTest, ModifiedCodeBringsItsDescriptionAndKeptCodeIsRefreshed) {
    machine->addCompany("500", 500);
    machine->executeServer(
        "insert into WAREHOUSES (COMP, CWAR, DSCA) values ('500', 'W1', 'One');"
        "insert into WAREHOUSES (COMP, CWAR, DSCA) values ('500', 'W2', 'Two');"
        "insert into SERVICECAR values ('500', 'CAR1', 'Van 1', 'W1', 'stale');"
        "insert into SERVICECAR values ('500', 'CAR2', 'Van 2', 'W1', 'One');"
        "insert into SERVICECAR values ('500', 'CAR3', 'Van 3', 'W9', 'kept');");
    // Warehouse as before: its current description replaces a stale one.
    machine->addChange("500", "SERVICECAR", 1, R"({"cwar": "W1"})",
                       R"({"ccar": "CAR1", "desc": "Van 1", "cwar": "W1"})");
    // A new warehouse brings its own description.
    machine->addChange("500", "SERVICECAR", 1, R"({"cwar": "W1"})",
                       R"({"ccar": "CAR2", "desc": "Van 2", "cwar": "W2"})");
    // A warehouse without description keeps the server's text.
    machine->addChange("500", "SERVICECAR", 1, R"({"cwar": "W9"})",
                       R"({"ccar": "CAR3", "desc": "Van 3", "cwar": "W9"})");
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(machine->serverRows("SERVICECAR"),
              (std::vector<std::string>{"CCAR=CAR1|DSCA=Van 1|CWAR=W1|DSCB=One",
                                        "CCAR=CAR2|DSCA=Van 2|CWAR=W2|DSCB=Two",
                                        "CCAR=CAR3|DSCA=Van 3|CWAR=W9|DSCB=kept"}));
    EXPECT_THAT(machine->changeFile("500"),
                HasSubstr("<CCAR ID=\"CAR3\" STATUS=\"M\"><DSCA>Van "
                          "3</DSCA><CWAR>W9</CWAR><DSCB>kept</DSCB></CCAR>"));
}

TEST_P(RunTest, ApostrophesInKeysAndTextsAreStoredAsGiven) {
    machine->addCompany("500", 500);
    machine->executeServer(
        "insert into CONTACTS (COMP, CCNT, SURN) values ('500', 'O''NEIL', 'O''Neil')");
    machine->addChange("500", "CONTACTS", 1, R"({"surn": "O'Neil"})",
                       R"({"ccnt": "O'NEIL", "surn": "O'Neill", "chrn": "Sean's"})");
    machine->addChange("500", "ADDRESSES", 2, "", R"({"cadr": "D'1", "nama": "Quay d'Orsay"})");
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(machine->serverRows("CONTACTS").size(), 1u);
    EXPECT_THAT(
        machine->serverRows("CONTACTS")[0],
        HasSubstr("CCNT=O'NEIL|CTIT=NULL|INIT=NULL|INSE=NULL|SURN=O'Neill|POST=NULL|CHRN=Sean's"));
    EXPECT_THAT(machine->changeFile("500"),
                HasSubstr("<CADR ID=\"D'1\" STATUS=\"I\"><NAMA>Quay d'Orsay</NAMA>"));
}

}  // namespace

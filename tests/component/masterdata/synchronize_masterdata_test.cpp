// Applying change files: statements, table selection, service centers and every outcome,
// on real SQLite files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/component/masterdata/masterdata_machine.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using testing_support::MasterDataMachine;
using Rows = std::vector<std::string>;

std::string changeSet(const std::string& tables, const std::string& company = "500") {
    return "<VOMasterData COMP=\"" + company + "\" TIME=\"20261207090500\">" + tables +
           "</VOMasterData>";
}

std::string unit(const std::string& id, const std::string& status, const std::string& dsca,
                 const std::string& tccu) {
    return "<CUNI ID=\"" + id + "\" STATUS=\"" + status + "\"><DSCA>" + dsca + "</DSCA><TCCU>" +
           tccu + "</TCCU></CUNI>";
}

std::string configuration(const std::string& id, const std::string& dsca) {
    return "<CCFG ID=\"" + id + "\" STATUS=\"I\"><DSCA>" + dsca +
           "</DSCA><OFBP>BP1</OFBP><BPDS/><CWOC>SC1</CWOC><DCWC/><CSAR/><TECR/><CCNT/><CADR/>"
           "<DADD/></CCFG>";
}

std::string object(const std::string& crob) {
    return "<CROB CCFG=\"CFG1\" CROB=\"" + crob +
           "\" OSEQ=\"1\" STATUS=\"I\"><DSCA>Pump</DSCA><EMNO/><LOCI/><CDEL/><CCNT/></CROB>";
}

class SynchronizeMasterData : public ::testing::Test {
  protected:
    MasterDataMachine machine;
};

TEST_F(SynchronizeMasterData, InsertUpdateAndDeleteInFileOrder) {
    machine.execute("INSERT INTO UNITS VALUES ('500','m','meter','Length')");
    machine.execute("INSERT INTO UNITS VALUES ('500','box','box','Count')");
    machine.execute("INSERT INTO UNITS VALUES ('600','box','box of 600','Count')");
    const std::string changes =
        changeSet("<UNITS>" + unit("kg", "I", "kilogram", "Mass") +
                  unit("m", "M", "metre", "Length") + unit("box", "D", "", "") + "</UNITS>");
    EXPECT_EQ(machine.synchronize(changes), "SUCCESSFUL");
    EXPECT_EQ(machine.rows("UNITS"),
              (Rows{"500|kg|kilogram|Mass", "500|m|metre|Length", "600|box|box of 600|Count"}));
}

TEST_F(SynchronizeMasterData, ApostrophesAndMarkupAreStoredIntact) {
    const std::string changes = changeSet(
        "<UNITS>" + unit("in", "I", "inch (O'Brien's &amp; &lt;co&gt;)", "Length") + "</UNITS>");
    EXPECT_EQ(machine.synchronize(changes), "SUCCESSFUL");
    EXPECT_EQ(machine.rows("UNITS"), Rows{"500|in|inch (O'Brien's & <co>)|Length"});
    EXPECT_THAT(machine.log(), HasSubstr("Failed Tables = 0"));
}

TEST_F(SynchronizeMasterData, RowsConvergeOnWhatTheDatabaseHolds) {
    machine.execute("INSERT INTO UNITS VALUES ('500','b','old','x')");
    machine.execute("INSERT INTO UNITS VALUES ('500','d','old','x')");
    const std::string changes =
        changeSet("<UNITS>" + unit("a", "I", "new", "x") + unit("b", "I", "again", "y") +
                  unit("c", "M", "missing", "z") + unit("d", "M", "changed", "w") +
                  unit("e", "D", "", "") + "</UNITS>");
    EXPECT_EQ(machine.synchronize(changes), "SUCCESSFUL");
    EXPECT_EQ(machine.rows("UNITS"),
              (Rows{"500|a|new|x", "500|b|again|y", "500|c|missing|z", "500|d|changed|w"}));
    EXPECT_THAT(machine.log(), HasSubstr("Successful in Table - UNITS\r\n"));
    EXPECT_THAT(machine.log(), HasSubstr("Successful Tables = 20  Failed Tables = 0\r\n"));
}

TEST_F(SynchronizeMasterData, AFailingRowStopsOnlyItsTable) {
    const std::string changes = changeSet(
        "<WAREHOUSES><CWAR ID=\"W1\" "
        "STATUS=\"I\"><DSCA>Main</DSCA><CADR/><DADD/></CWAR></WAREHOUSES>"
        "<UNITS>" +
        unit("a", "I", "first", "x") +
        "<CUNI ID=\"b\" STATUS=\"I\"><DSCA>b</DSCA><COMP-->1</COMP--></CUNI>" +
        unit("c", "I", "after", "x") +
        "</UNITS>"
        "<REASONS><CDIS ID=\"R1\" STATUS=\"I\"><DSCA>Rain</DSCA><RSTP>1</RSTP></CDIS></REASONS>");
    EXPECT_EQ(machine.synchronize(changes), "SUCCESSFUL");
    // The row before the failing one stays; the failing row and the rest of UNITS do not.
    EXPECT_EQ(machine.rows("UNITS"), (Rows{"500|a|first|x"}));
    // Tables before and after UNITS in the applying order go on.
    EXPECT_EQ(machine.rows("REASONS"), Rows{"500|R1|Rain|1"});
    EXPECT_EQ(machine.rows("WAREHOUSES"), Rows{"500|W1|Main||"});

    const std::string log = machine.log();
    EXPECT_THAT(log, HasSubstr("|--------- Logged On:  12/7/2026 9:05:00 AM  For User Action: "
                               "Synchronize Master Data  ----------\r\n"
                               "VOMasterData COMP = 500  TIME = 20261207090500\r\n"
                               "Successful in Table - HOURLYLABORTYPE\r\n"))
        << log;
    EXPECT_THAT(log, HasSubstr("Successful in Table - REASONS\r\n"
                               "Failed in Table - UNITS     Reason : INVALID DATA OPERATION\r\n"
                               "Error =   The row of table UNITS names column COMP--, which the "
                               "table does not have. (row 2)\r\n"
                               "Successful in Table - WAREHOUSES\r\n"))
        << log;
    EXPECT_THAT(log, HasSubstr("Successful in Table - SOLUTIONS\r\n"
                               "Successful Tables = 19  Failed Tables = 1\r\n"))
        << log;
}

TEST_F(SynchronizeMasterData, AFailingStatementIsLoggedAsItWasMeant) {
    machine.execute(
        "CREATE TRIGGER refuse BEFORE INSERT ON UNITS WHEN NEW.CUNI = 'b' "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_EQ(machine.synchronize(changeSet("<UNITS>" + unit("a", "I", "first", "x") +
                                            unit("b", "M", "again", "x") + "</UNITS>")),
              "SUCCESSFUL");
    // The Modify found no row and was applied as an insert: that is the statement shown.
    EXPECT_THAT(machine.log(), HasSubstr("(row 2: INSERT INTO UNITS(COMP,CUNI,DSCA,TCCU) VALUES "
                                         "('500','b','again','x'))\r\n"));
}

// The property a client relies on when a download is repeated or an earlier one failed half way:
// whatever the database held of the file before, applying it leaves the same content.
TEST_F(SynchronizeMasterData, ApplyingAFileAgainOrAfterAFailureLeavesTheSameDatabase) {
    const std::string changes = changeSet(
        "<UNITS>" + unit("a", "I", "one", "x") + unit("b", "I", "two", "x") +
        unit("a", "M", "one again", "y") + unit("c", "D", "", "") + unit("b", "D", "", "") +
        unit("b", "I", "two again", "z") + unit("d", "M", "four", "w") + "</UNITS>" +
        "<REASONS><CDIS ID=\"R1\" STATUS=\"I\"><DSCA>Rain</DSCA><RSTP>1</RSTP></CDIS>"
        "<CDIS ID=\"R2\" STATUS=\"M\"><DSCA>Snow</DSCA><RSTP>2</RSTP></CDIS></REASONS>" +
        "<OBJECTS SERVICECENTER=\"SC1\">" + object("PUMP") + "</OBJECTS>" +
        "<OBJECTS SERVICECENTER=\"SC2\">" + object("PUMP") + "</OBJECTS>");
    const auto content = [&](const std::string& database) {
        return std::vector<Rows>{machine.rows("UNITS", database), machine.rows("REASONS", database),
                                 machine.rows("OBJECTS", database)};
    };
    const std::string first = MasterDataMachine::kCurrent;
    EXPECT_EQ(machine.synchronize(changes), "SUCCESSFUL");
    const std::vector<Rows> once = content(first);
    EXPECT_EQ(once, (std::vector<Rows>{{"500|a|one again|y", "500|b|two again|z", "500|d|four|w"},
                                       {"500|R1|Rain|1", "500|R2|Snow|2"},
                                       {"500|CFG1|PUMP|1|Pump||||"}}));

    EXPECT_EQ(machine.synchronize(changes), "SUCCESSFUL");
    EXPECT_EQ(content(first), once);

    // A fresh database where the first attempt fails in the middle of UNITS.
    machine.createDatabase("SC2");
    machine.selectDatabase("SC2");
    machine.execute(
        "CREATE TRIGGER refuse BEFORE UPDATE ON UNITS BEGIN SELECT RAISE(ABORT, 'full'); END",
        "SC2");
    EXPECT_EQ(machine.synchronize(changes), "SUCCESSFUL");
    EXPECT_THAT(machine.log(), HasSubstr("Successful Tables = 19  Failed Tables = 1"));
    EXPECT_EQ(machine.rows("UNITS", "SC2"), (Rows{"500|a|one|x", "500|b|two|x"}));
    machine.execute("DROP TRIGGER refuse", "SC2");
    EXPECT_EQ(machine.synchronize(changes), "SUCCESSFUL");
    EXPECT_EQ(content("SC2"), once);
}

TEST_F(SynchronizeMasterData, ChangeSetsApplyOneAfterTheOther) {
    machine.execute("INSERT INTO SOLUTIONS VALUES ('500','S1','old')");
    const std::string first =
        changeSet("<SOLUTIONS><CSTN ID=\"S1\" STATUS=\"D\"><DSCA/></CSTN></SOLUTIONS>");
    const std::string second = changeSet(
        "<HOURLYLABORTYPE><CHLT ID=\"H1\" STATUS=\"I\"><DSCA>Normal</DSCA></CHLT></HOURLYLABORTYPE>"
        "<SOLUTIONS><CSTN ID=\"S1\" STATUS=\"I\"><DSCA>new</DSCA></CSTN></SOLUTIONS>");
    // The second insert only succeeds after the first element's delete, its last table.
    EXPECT_EQ(machine.synchronize("<Files>" + first + "<x>" + second + "</x></Files>"),
              "SUCCESSFUL");
    EXPECT_EQ(machine.rows("SOLUTIONS"), Rows{"500|S1|new"});
    EXPECT_EQ(machine.rows("HOURLYLABORTYPE"), Rows{"500|H1|Normal"});
}

TEST_F(SynchronizeMasterData, ServiceCentersSelectConfigurationsAndObjects) {
    const std::string changes =
        changeSet("<CONFIGURATIONS SERVICECENTER=\"SC2\">" + configuration("OTHER", "of SC2") +
                  "</CONFIGURATIONS>"
                  "<CONFIGURATIONS SERVICECENTER=\" SC1\">" +
                  configuration("BLANK", "leading blank") +
                  "</CONFIGURATIONS>"
                  "<CONFIGURATIONS SERVICECENTER=\"SC1\">" +
                  configuration("CFG1", "ours") +
                  "</CONFIGURATIONS>"
                  "<OBJECTS SERVICECENTER=\"SC2\">" +
                  object("THEIRS") +
                  "</OBJECTS>"
                  "<OBJECTS SERVICECENTER=\" SC1 \">" +
                  object("PUMP") + "</OBJECTS>");
    EXPECT_EQ(machine.synchronize(changes), "SUCCESSFUL");
    EXPECT_EQ(machine.rows("CONFIGURATIONS"), Rows{"500|CFG1|ours|BP1||SC1||||||"});
    EXPECT_EQ(machine.rows("OBJECTS"), Rows{"500|CFG1|PUMP|1|Pump||||"});
}

TEST_F(SynchronizeMasterData, ObjectsAreUpdatedAndDeletedByTheirThreeKeys) {
    machine.execute("INSERT INTO OBJECTS VALUES ('500','CFG1','PUMP','1','Pump','','','','')");
    machine.execute("INSERT INTO OBJECTS VALUES ('500','CFG1','PUMP','2','Pump 2','','','','')");
    machine.execute("INSERT INTO OBJECTS VALUES ('500','CFG1','FAN','1','Fan','','','','')");
    const std::string changes = changeSet(
        "<OBJECTS SERVICECENTER=\"SC1\">"
        "<CROB CCFG=\"CFG1\" CROB=\"PUMP\" OSEQ=\"2\" STATUS=\"M\"><DSCA>Pump two</DSCA><EMNO>E1"
        "</EMNO><LOCI/><CDEL/><CCNT/></CROB>"
        "<CROB CCFG=\"CFG1\" CROB=\"FAN\" OSEQ=\"1\" STATUS=\"D\"><DSCA/><EMNO/><LOCI/><CDEL/>"
        "<CCNT/></CROB></OBJECTS>");
    EXPECT_EQ(machine.synchronize(changes), "SUCCESSFUL");
    EXPECT_EQ(machine.rows("OBJECTS"),
              (Rows{"500|CFG1|PUMP|1|Pump||||", "500|CFG1|PUMP|2|Pump two|E1|||"}));
}

TEST_F(SynchronizeMasterData, OtherStatusesAreSkippedWithoutError) {
    const std::string changes = changeSet("<UNITS>" + unit("a", "X", "skipped", "x") +
                                          unit("b", "I", "kept", "x") + "</UNITS>");
    EXPECT_EQ(machine.synchronize(changes), "SUCCESSFUL");
    EXPECT_EQ(machine.rows("UNITS"), Rows{"500|b|kept|x"});
    EXPECT_THAT(machine.log(), HasSubstr("Successful Tables = 20  Failed Tables = 0"));
}

TEST_F(SynchronizeMasterData, MissingDatabaseStillSucceedsAndReportsEveryTable) {
    machine.call("SetCurrentmdb", {testing_support::text("NOPE")});
    const std::string changes = changeSet("<UNITS>" + unit("a", "I", "one", "x") + "</UNITS>");
    EXPECT_EQ(machine.synchronize(changes), "SUCCESSFUL");
    EXPECT_TRUE(machine.rows("UNITS").empty());
    const std::string log = machine.log();
    EXPECT_THAT(log, HasSubstr("Failed in Table - HOURLYLABORTYPE     Reason : "
                               "C:\\Taviro Quillmere\\MasterData\\NOPE.mdb Does not exist\r\n"
                               "Failed in Table - REFERENCEACTIVITIES     Reason : "
                               "C:\\Taviro Quillmere\\MasterData\\NOPE.mdb Does not exist\r\n"))
        << log;
    EXPECT_THAT(log, HasSubstr("Successful Tables = 0  Failed Tables = 20\r\n"));
}

TEST_F(SynchronizeMasterData, MissingCompanyFailsEveryTableButNotTheCall) {
    EXPECT_EQ(machine.synchronize("<VOMasterData><UNITS>" + unit("a", "I", "one", "x") +
                                  "</UNITS></VOMasterData>"),
              "SUCCESSFUL");
    EXPECT_TRUE(machine.rows("UNITS").empty());
    EXPECT_THAT(machine.log(), HasSubstr("Successful Tables = 0  Failed Tables = 20"));
}

TEST_F(SynchronizeMasterData, UnreadableOrEmptyTextsChangeNothing) {
    EXPECT_EQ(machine.synchronize("<VOMasterData COMP=\"500\"><UNITS>"), "INVALID XML String!!");
    EXPECT_EQ(machine.synchronize(""), "INVALID XML String!!");
    EXPECT_EQ(machine.synchronize("<Other><UNITS>" + unit("a", "I", "x", "x") + "</UNITS></Other>"),
              "SUCCESSFUL");
    EXPECT_TRUE(machine.rows("UNITS").empty());
    EXPECT_THAT(machine.log(), Not(HasSubstr("Synchronize Master Data")));
}

}  // namespace

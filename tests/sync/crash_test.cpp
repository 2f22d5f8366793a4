// kill -9 at random moments during `brindlemoor --run`: whatever moment the run dies at, every
// change file is either absent or complete, every database passes its integrity check, and the
// next run finishes the work. TAVIRO_CRASH_KILLS sets the number of kills (default 24) and
// TAVIRO_CRASH_SEED the random seed (printed with every failure).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <random>

#include "platform/db/database.h"
#include "platform/registry.h"
#include "tests/support/killed_program.h"
#include "tests/support/run_program.h"
#include "tests/sync/support/environment.h"
#include "tests/sync/support/server_machine.h"
#include "tests/sync/support/strict_xml.h"

namespace {

namespace fs = std::filesystem;
namespace db = platform::db;
using sync_testing::ServerMachine;

const std::string kProgram = std::string(TAVIRO_BINARY_DIR) + "/bin/brindlemoor";
const std::vector<std::string> kCompanies = {"500", "501", "502"};
const std::vector<std::string> kTables = {"UNITS", "ADDRESSES", "WAREHOUSES"};
const std::string kFirstMinute = "2026-12-07 09:05:00";
const std::string kChangeFileName = "2026-12-07 09-05.xml";

// A few hundred changes per company over three tables, with modifications and deletions, so
// that a run takes long enough to be killed in every phase.
std::string generatedChanges() {
    const std::string numbers =
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 250) ";
    return numbers +
           "INSERT INTO ERPAUDIT (BUSINESSOBJECT, CHANGEDAT, KIND, OLDVALUES, NEWVALUES) "
           "SELECT 'ADDRESSES', '2026-12-07 08:00:00', 2, '', json_object('cadr', 'A' || i, "
           "'nama', 'Name ' || i, 'name', 'City ' || i) FROM n;" +
           numbers +
           "INSERT INTO ERPAUDIT (BUSINESSOBJECT, CHANGEDAT, KIND, OLDVALUES, NEWVALUES) "
           "SELECT 'UNITS', '2026-12-07 08:01:00', CASE WHEN i % 10 = 0 THEN 0 WHEN i % 3 = 0 "
           "THEN 1 ELSE 2 END, '{\"dsca\": \"old\"}', json_object('cuni', 'U' || (i % 200), "
           "'dsca', 'unit ' || i, 'tccu', i % 6 + 1) FROM n;" +
           numbers +
           "INSERT INTO ERPAUDIT (BUSINESSOBJECT, CHANGEDAT, KIND, OLDVALUES, NEWVALUES) "
           "SELECT 'WAREHOUSES', '2026-12-07 08:02:00', 2, '', json_object('cwar', 'W' || i, "
           "'dsca', 'Store ' || i, 'cadr', 'A' || i) FROM n;";
}

// The server machine every kill starts from; self-contained, so that copies of its folder are
// machines of their own.
class Template {
  public:
    Template() {
        for (const std::string& company : kCompanies) {
            machine_.addCompany(company, std::stoi(company));
            const std::string windowsPath = "C:\\Data\\audit" + company + ".db";
            fs::rename(machine_.auditDatabase(company), machine_.map(windowsPath));
            sync_testing::ExecuteSql(machine_.map(windowsPath), generatedChanges());
            sync_testing::ExecuteSql(machine_.map("C:\\Data\\pentavy.mdb"),
                                     "update BISPROPERTYVALUES set VALUE = 'sqlite:" + windowsPath +
                                         "' where BISID = '" +
                                         std::to_string(1000 + std::stoi(company)) + "'");
        }
    }
    const fs::path& dir() const { return machine_.dir(); }

  private:
    ServerMachine machine_;
};

// A copy of the template machine in a folder of its own.
class Copy {
  public:
    Copy(const Template& source, const fs::path& dir) : dir_(dir), root_(dir) {
        fs::copy(source.dir(), dir_, fs::copy_options::recursive);
    }
    ~Copy() {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    const fs::path& dir() const { return dir_; }
    fs::path companyFolder(const std::string& company) const {
        return root_.map("C:\\Inetpub\\wwwroot\\MasterData\\" + company);
    }
    fs::path database(const std::string& windowsPath) const { return root_.map(windowsPath); }
    std::vector<fs::path> databases() const {
        std::vector<fs::path> files = {database("C:\\Data\\quillmere.mdb"),
                                       database("C:\\Data\\pentavy.mdb")};
        for (const std::string& company : kCompanies)
            files.push_back(database("C:\\Data\\audit" + company + ".db"));
        return files;
    }
    // The rows of the generated tables, sorted, as one text per table.
    std::vector<std::string> serverTables() const {
        std::vector<std::string> tables;
        const auto server =
            db::connect("sqlite:" + database("C:\\Data\\quillmere.mdb").string(), root_);
        for (const std::string& table : kTables) {
            const db::Recordset rows = server->query("select * from " + table);
            std::vector<std::string> lines;
            for (size_t r = 0; r < rows.rowCount(); ++r) {
                std::string line;
                for (const db::Value& value : rows.row(r)) line += value.value_or("NULL") + "|";
                lines.push_back(line);
            }
            std::sort(lines.begin(), lines.end());
            std::string text;
            for (const std::string& line : lines) text += line + "\n";
            tables.push_back(table + ":\n" + text);
        }
        return tables;
    }
    const platform::MachineRoot& root() const { return root_; }

  private:
    fs::path dir_;
    platform::MachineRoot root_;
};

testing_support::ProgramRun runToTheEnd(const Copy& machine, const std::string& now) {
    sync_testing::Environment environment;
    environment.set("TAVIRO_NOW", now.c_str());
    return testing_support::runProgram(kProgram, {"--root", machine.dir().string(), "--run"},
                                       machine.dir().string());
}

// Starts a run and kills it with SIGKILL after `delay`; true when it was still running then.
// Runs to the end (it must succeed) and answers how long the run took.
std::chrono::microseconds timedRun(const Copy& machine) {
    const auto started = std::chrono::steady_clock::now();
    const testing_support::ProgramRun run = runToTheEnd(machine, kFirstMinute);
    EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 started);
}

bool killRunAfter(const Copy& machine, std::chrono::microseconds delay) {
    sync_testing::Environment environment;
    environment.set("TAVIRO_NOW", kFirstMinute.c_str());
    return testing_support::killProgramAfter(kProgram, {"--root", machine.dir().string(), "--run"},
                                             delay);
}

std::string integrity(const Copy& machine, const fs::path& database) {
    const auto connection = db::connect("sqlite:" + database.string(), machine.root());
    return connection->query("PRAGMA integrity_check").row(0).at(0).value_or("NULL");
}

// The change files and hidden temporary files of a company folder, by name.
std::vector<std::string> xmlNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".xml") != std::string::npos) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CrashTest, KilledRunsLeaveOldOrNewFilesSoundDatabasesAndAWayOn) {
    const Template source;
    const fs::path scratch = source.dir().parent_path();
    const fs::path workDir = scratch / (source.dir().filename().string() + "-copies");
    fs::create_directories(workDir);

    // What a run that is not killed writes. The kill moments spread over the time an unbroken
    // run takes; the shorter of two runs is taken, so that a reference run slowed down by a busy
    // machine does not make most kills come after the end.
    const Copy reference(source, workDir / "reference");
    const auto runTime = std::min(timedRun(reference), timedRun(Copy(source, workDir / "timing")));
    std::map<std::string, std::string> referenceFiles;
    for (const std::string& company : kCompanies) {
        referenceFiles[company] =
            testing_support::readFile(reference.companyFolder(company) / kChangeFileName);
        ASSERT_EQ(sync_testing::StrictXmlErrors(reference.companyFolder(company) / kChangeFileName),
                  "");
    }
    const std::vector<std::string> referenceTables = reference.serverTables();

    const unsigned long kills = testing_support::environmentNumber("TAVIRO_CRASH_KILLS", 24);
    const unsigned long seed =
        testing_support::environmentNumber("TAVIRO_CRASH_SEED", std::random_device{}());
    std::mt19937_64 random(seed);
    std::uniform_int_distribution<int64_t> moment(0, runTime.count() * 11 / 10);
    int killedRunning = 0;
    for (unsigned long kill = 0; kill < kills; ++kill) {
        const std::chrono::microseconds delay(moment(random));
        SCOPED_TRACE("seed " + std::to_string(seed) + ", kill " + std::to_string(kill) + " after " +
                     std::to_string(delay.count()) + " us of " + std::to_string(runTime.count()));
        const Copy machine(source, workDir / ("kill-" + std::to_string(kill)));
        killedRunning += killRunAfter(machine, delay) ? 1 : 0;

        for (const std::string& company : kCompanies) {
            const fs::path folder = machine.companyFolder(company);
            for (const std::string& name : xmlNames(folder)) {
                if (name[0] == '.') continue;  // an unfinished save's temporary file
                ASSERT_EQ(name, kChangeFileName);
                EXPECT_EQ(testing_support::readFile(folder / name), referenceFiles[company])
                    << company;
            }
        }
        for (const fs::path& database : machine.databases())
            EXPECT_EQ(integrity(machine, database), "ok") << database;
        EXPECT_NO_THROW(platform::Registry(machine.root())
                            .values(platform::Hive::LocalMachine,
                                    "SOFTWARE\\Taviro\\Taviro Corbelline\\ConnectionStrings"));

        // The next run finishes what the killed one left: a company without its file gets the
        // same window again, and the server ends as after an unbroken run.
        const testing_support::ProgramRun next = runToTheEnd(machine, "2026-12-07 09:06:00");
        ASSERT_EQ(next.exitCode, 0) << next.out << next.err;
        for (const std::string& company : kCompanies) {
            const fs::path folder = machine.companyFolder(company);
            for (const std::string& name : xmlNames(folder)) {
                EXPECT_NE(name[0], '.') << "a stale temporary file stays: " << name;
                EXPECT_EQ(sync_testing::StrictXmlErrors(folder / name), "");
            }
        }
        EXPECT_EQ(machine.serverTables(), referenceTables);
        if (HasFailure()) break;
    }
    // Many kills must hit a run that was still working, or the test proves little. (Not most:
    // on a loaded machine the runs' length varies by more than the spread allows for.)
    EXPECT_GE(killedRunning * 4, static_cast<int>(kills));
    std::error_code ignored;
    fs::remove_all(workDir, ignored);
}

}  // namespace

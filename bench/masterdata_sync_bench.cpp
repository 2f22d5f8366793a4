// Applying a change file of 100,000 UNITS rows with Synchronize_MasterData, beside the floor: the
// same rows inserted with raw SQLite (one prepared statement, one transaction) into the same
// kind of file; and the same call as the JSON line `quillmere batch` reads (the body of the
// host's POST /api/call). All start each iteration from an empty UNITS table. The machine root lies
// in the temporary folder, or below TAVIRO_BENCH_DIR (for example a tmpfs, to take the disk out of
// the comparison).
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "component/core/method_bindings.h"
#include "component/masterdata/masterdata_update.h"
#include "platform/db/database.h"
#include "platform/xml/document.h"
#include "tools/quillmere/json_call.h"

namespace {

constexpr int kRows = 100000;

class SilentMessages : public platform::MessageSink {
  public:
    void show(const std::string&, const std::string&, platform::MessageIcon) override {}
};

struct UnitRow {
    std::string id, dsca, tccu;
};

std::vector<UnitRow> unitRows() {
    std::vector<UnitRow> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i)
        rows.push_back(
            {"U" + std::to_string(1000000 + i), "Unit number " + std::to_string(i), "Length"});
    return rows;
}

std::string changeFile(const std::vector<UnitRow>& rows) {
    std::string text = "<VOMasterData COMP=\"500\" TIME=\"20261207090500\"><UNITS>";
    for (const UnitRow& row : rows)
        text += "<CUNI ID=\"" + row.id + "\" STATUS=\"I\"><DSCA>" + row.dsca + "</DSCA><TCCU>" +
                row.tccu + "</TCCU></CUNI>";
    text += "</UNITS></VOMasterData>";
    return text;
}

std::string readSchema() {
    std::ifstream in(std::string(TAVIRO_SOURCE_DIR) + "/data/masterdata/schema.sql");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A machine with the component initialized and SC1.mdb current.
class Machine {
  public:
    Machine() {
        const char* base = std::getenv("TAVIRO_BENCH_DIR");
        const std::filesystem::path parent = base ? base : std::filesystem::temp_directory_path();
        std::string pattern = (parent / "taviro-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        dir_ = pattern;
        std::filesystem::create_directories(dir_ / "C");
        client_ = quillmere::CreateClient20(platform::MachineRoot(dir_), messages_);
        call("Initialize", {});
        database_ = client_->session().path("C:\\Taviro Quillmere\\MasterData\\SC1.mdb");
        std::ofstream(database_).close();
        platform::db::connect("sqlite:" + database_.string(), client_->session().root)
            ->execute(readSchema());
        call("SetCurrentmdb", {quillmere::Variant::text("SC1")});
        call("SetODBCDataBase", {quillmere::Variant::text("SC1.mdb")});
    }
    ~Machine() {
        client_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    quillmere::Variant call(const char* method, std::vector<quillmere::Variant> args) {
        return invoke(method, args);
    }
    // The arguments are not copied: a page hands its text over once.
    quillmere::Variant invoke(const char* method, std::vector<quillmere::Variant>& args) {
        const auto outcome = client_->invoke(method, args);
        if (!outcome.succeeded)
            throw std::runtime_error(std::string(method) + ": " + outcome.description);
        return outcome.result;
    }

    void emptyUnits() const {
        platform::db::connect("sqlite:" + database_.string(), client_->session().root)
            ->execute("DELETE FROM UNITS");
    }
    int64_t unitCount() const {
        const auto count =
            platform::db::connect("sqlite:" + database_.string(), client_->session().root)
                ->query("SELECT count(*) FROM UNITS");
        return std::stoll(*count.row(0)[0]);
    }
    quillmere::Session& session() { return client_->session(); }
    quillmere::Client20& client() { return *client_; }
    const std::filesystem::path& database() const { return database_; }

  private:
    std::filesystem::path dir_;
    std::filesystem::path database_;
    SilentMessages messages_;
    std::unique_ptr<quillmere::Client20> client_;
};

void check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db));
}

// The floor: what SQLite itself needs for these rows.
void rawInsert(const std::filesystem::path& file, const std::vector<UnitRow>& rows) {
    sqlite3* db = nullptr;
    check(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
    check(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db, "INSERT INTO UNITS(COMP,CUNI,DSCA,TCCU) VALUES (?,?,?,?)", -1,
                             &insert, nullptr),
          db);
    for (const UnitRow& row : rows) {
        sqlite3_bind_text(insert, 1, "500", 3, SQLITE_STATIC);
        sqlite3_bind_text(insert, 2, row.id.data(), static_cast<int>(row.id.size()), SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, row.dsca.data(), static_cast<int>(row.dsca.size()),
                          SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, row.tccu.data(), static_cast<int>(row.tccu.size()),
                          SQLITE_STATIC);
        check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
}

void BM_RawSqliteInsertFloor(benchmark::State& state) {
    Machine machine;
    const std::vector<UnitRow> rows = unitRows();
    for (auto _ : state) {
        state.PauseTiming();
        machine.emptyUnits();
        state.ResumeTiming();
        rawInsert(machine.database(), rows);
    }
    if (machine.unitCount() != kRows) state.SkipWithError("rows missing");
    state.SetItemsProcessed(state.iterations() * kRows);
}

// The whole public call: parsing the text, reading the rows, and every table.
void BM_SynchronizeMasterDataUnits(benchmark::State& state) {
    Machine machine;
    std::vector<quillmere::Variant> args{quillmere::Variant::text(changeFile(unitRows()))};
    for (auto _ : state) {
        state.PauseTiming();
        machine.emptyUnits();
        state.ResumeTiming();
        const auto result = machine.invoke("Synchronize_MasterData", args);
        if (result.asText() != "SUCCESSFUL") state.SkipWithError("not SUCCESSFUL");
    }
    if (machine.unitCount() != kRows) state.SkipWithError("rows missing");
    state.SetItemsProcessed(state.iterations() * kRows);
}

// The same call as a line of `quillmere batch` or the body of the host's POST /api/call: the
// JSON text is decoded and its argument handed to the method.
void BM_JsonCallSynchronizeMasterDataUnits(benchmark::State& state) {
    Machine machine;
    const std::string line =
        nlohmann::json::array({"Synchronize_MasterData", changeFile(unitRows())}).dump();
    for (auto _ : state) {
        state.PauseTiming();
        machine.emptyUnits();
        state.ResumeTiming();
        const std::string answer = quillmere::tool::answerJsonCall(machine.client(), line);
        if (answer != R"({"result":"SUCCESSFUL","byref":{}})") state.SkipWithError(answer.c_str());
    }
    if (machine.unitCount() != kRows) state.SkipWithError("rows missing");
    state.SetItemsProcessed(state.iterations() * kRows);
}

// The UNITS table alone on an already parsed change file.
void BM_ApplyMasterDataTableUnits(benchmark::State& state) {
    Machine machine;
    platform::xml::Document document;
    document.parse(changeFile(unitRows()));
    for (auto _ : state) {
        state.PauseTiming();
        machine.emptyUnits();
        state.ResumeTiming();
        const auto outcome =
            quillmere::ApplyMasterDataTable(machine.session(), document.root(), "UNITS");
        if (!outcome.applied()) state.SkipWithError(outcome.reason.c_str());
    }
    if (machine.unitCount() != kRows) state.SkipWithError("rows missing");
    state.SetItemsProcessed(state.iterations() * kRows);
}

// The fixed cost of a call: every table looks up the database and opens its connection.
void BM_SynchronizeEmptyChangeSet(benchmark::State& state) {
    Machine machine;
    const quillmere::Variant text = quillmere::Variant::text("<VOMasterData COMP=\"500\"/>");
    for (auto _ : state) machine.call("Synchronize_MasterData", {text});
}

// Parsing the change file alone, the part of the call that the floor does not have.
void BM_ParseChangeFile(benchmark::State& state) {
    const std::string text = changeFile(unitRows());
    for (auto _ : state) {
        platform::xml::Document document;
        if (!document.parse(text)) state.SkipWithError("not well-formed");
        benchmark::DoNotOptimize(document.root());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

}  // namespace

BENCHMARK(BM_SynchronizeEmptyChangeSet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseChangeFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RawSqliteInsertFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_SynchronizeMasterDataUnits)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
BENCHMARK(BM_JsonCallSynchronizeMasterDataUnits)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
BENCHMARK(BM_ApplyMasterDataTableUnits)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

BENCHMARK_MAIN();

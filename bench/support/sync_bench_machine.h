// What the synchronizer's benchmarks share: generated ERP changes, a server root with one
// company whose server and ERP audit databases are SQLite files or PostgreSQL databases, the
// run (in process, or build/bin/brindlemoor --run as a scheduler starts it) and the floor that
// writes the same rows straight into the server tables. Header-only, because every benchmark is
// its own program.
#pragma once

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/db/database.h"
#include "platform/registry.h"
#include "platform/text_file.h"
#include "shared/masterdata_file/table_set.h"
#include "sync/core/progress.h"
#include "sync/core/synchronizer.h"
#include "sync/core/transfer_particulars.h"
#include "sync/erp/business_objects.h"
#include "tests/support/postgres_cluster.h"
#include "tests/support/run_program.h"

namespace bench {

namespace fs = std::filesystem;
namespace db = platform::db;
namespace erp = brindlemoor::erp;
using brindlemoor::KeyParameter;
using brindlemoor::TransferParticulars;

// The number of changes: TAVIRO_BENCH_CHANGES when set (a smoke run), else `otherwise`.
inline size_t changesToRun(size_t otherwise) {
    const char* text = getenv("TAVIRO_BENCH_CHANGES");
    return text && *text ? std::stoul(text) : otherwise;
}

inline std::string sourceText(const std::string& relative) {
    std::ifstream in(fs::path(TAVIRO_SOURCE_DIR) / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline bool isEnumerationField(std::string_view field) {
    return field == "tccu" || field == "cref" || field == "rstp" || field == "proc";
}

// One generated change: business object, kind, key values and the record's fields.
struct GeneratedChange {
    const TransferParticulars* transfer;
    int kind;
    std::vector<std::string> key;  // as the server stores it
    std::map<std::string, std::string> texts;
    std::map<std::string, int> numbers;
};

inline std::string json(const GeneratedChange& change) {
    std::string text = "{";
    auto add = [&](const std::string& name, const std::string& value) {
        if (text.size() > 1) text += ", ";
        text += "\"" + name + "\": " + value;
    };
    for (const auto& [field, value] : change.texts) add(field, "\"" + value + "\"");
    for (const auto& [field, value] : change.numbers) add(field, std::to_string(value));
    return text + "}";
}

// `count` changes in turn over the transfers: per table mostly inserts of new keys, every
// seventh change a modification of an earlier key, every twentieth a deletion.
inline std::vector<GeneratedChange> generateChanges(
    size_t count, const std::vector<const TransferParticulars*>& transfers) {
    std::vector<GeneratedChange> changes;
    changes.reserve(count);
    std::vector<int> inserted(transfers.size(), 0);
    for (size_t n = 0; n < count; ++n) {
        const size_t t = n % transfers.size();
        const TransferParticulars& transfer = *transfers[t];
        const erp::BusinessObjectFields& object = *erp::findBusinessObject(transfer.table);
        GeneratedChange change{&transfer, 2, {}, {}, {}};
        int serial;
        if (n % 7 == 3 && inserted[t] > 0) {
            change.kind = 1;
            serial = static_cast<int>(n / 7) % inserted[t];
        } else if (n % 20 == 11 && inserted[t] > 0) {
            change.kind = 0;
            serial = inserted[t] - 1;
        } else {
            serial = inserted[t]++;
        }
        // Priorities and object sequences are numbers below 100.
        for (const KeyParameter& key : transfer.keyParameters) {
            if (key.field == "prio" || key.field == "oseq") {
                change.numbers[std::string(key.field)] = serial % 100;
            } else {
                char code[24];
                std::snprintf(code, sizeof code, "K%07d",
                              key.field == "crob" ? serial / 100 : serial);
                change.texts[std::string(key.field)] = code;
            }
        }
        for (const erp::MemberField& member : object.members) {
            const std::string field(member.field);
            if (change.texts.count(field) || change.numbers.count(field)) continue;
            if (isEnumerationField(field)) {
                change.numbers[field] = 1 + serial % 5;
            } else {
                change.texts[field] = "value " + std::to_string(n) + " of " + field;
            }
        }
        for (size_t k = 0; k < transfer.keyMembers.size(); ++k) {
            const std::string field(erp::fieldOfMember(object, transfer.keyMembers[k]));
            std::string value = change.texts.count(field) ? change.texts[field]
                                                          : std::to_string(change.numbers[field]);
            if (transfer.itemKey) value = std::string(masterdata_file::kItemCodePrefix) + value;
            change.key.push_back(value);
        }
        changes.push_back(std::move(change));
    }
    return changes;
}

inline std::vector<const TransferParticulars*> allTransfers() {
    std::vector<const TransferParticulars*> transfers;
    for (const TransferParticulars& transfer : brindlemoor::TransfersInRunOrder())
        transfers.push_back(&transfer);
    return transfers;
}

inline std::vector<const TransferParticulars*> unitsOnly() {
    return {brindlemoor::FindTransfer("get_Units")};
}

enum class Database { SQLite, PostgreSQL };

class NoProgress final : public brindlemoor::Progress {
  public:
    void setText(std::string_view) override {}
    void append(std::string_view) override {}
    void repaint() override {}
};

// A server root with company 500, built once: the ERP audit database holds the changes; the
// server database (which also holds BISPROPERTYVALUES) is made afresh from a pristine copy
// before each run.
class SyncBenchMachine {
  public:
    SyncBenchMachine(Database database, std::vector<GeneratedChange> changes)
        : database_(database), dir_(makeTemp()), root_(dir_), changes_(std::move(changes)) {
        setenv("TAVIRO_NOW", "2026-12-07 09:05:00", 1);
        fs::create_directories(dir_ / "C/wwwroot/MasterData/500");
        fs::create_directories(dir_ / "C/Corbelline/Taviro Quillmere/Brindlemoor");
        if (database_ == Database::PostgreSQL) {
            testing_support::PostgresCluster& cluster = testing_support::PostgresCluster::shared();
            if (!cluster.running()) {
                throw std::runtime_error(cluster.skipReason().empty() ? cluster.failure()
                                                                      : cluster.skipReason());
            }
            pristineDb_ = std::make_unique<testing_support::PostgresDatabase>();
            auditDb_ = std::make_unique<testing_support::PostgresDatabase>();
            serverName_ = pristineDb_->name() + "_run";
            server_ = cluster.url(serverName_);
            audit_ = auditDb_->url();
            pristine_ = pristineDb_->url();
        } else {
            pristineFile_ = dir_ / "pristine.mdb";
            platform::createEmptyFile(pristineFile_);
            platform::createEmptyFile(dir_ / "audit.db");
            server_ = "sqlite:" + (dir_ / "server.mdb").string();
            audit_ = "sqlite:" + (dir_ / "audit.db").string();
            pristine_ = "sqlite:" + pristineFile_.string();
        }
        fillPristine();
        fillAudit();
        prepareRegistry();
    }

    // TAVIRO_BENCH_KEEP=1 keeps the root (and says where), to profile a run on it by hand.
    ~SyncBenchMachine() {
        if (const char* keep = getenv("TAVIRO_BENCH_KEEP"); keep && *keep == '1') {
            std::fprintf(stderr, "kept the server root %s\n", dir_.c_str());
            if (pristineDb_) {
                std::fprintf(stderr, "kept the databases %s (pristine) and %s (ERP audit)\n",
                             pristineDb_.release()->name().c_str(),
                             auditDb_.release()->name().c_str());
            }
            return;
        }
        dropServer();
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    size_t changes() const { return changes_.size(); }
    const fs::path& dir() const { return dir_; }

    // A fresh server database, company folder and log folder for the next run.
    void reset() {
        if (database_ == Database::PostgreSQL) {
            dropServer();
            testing_support::PostgresCluster::shared().execute(
                "postgres", "CREATE DATABASE " + serverName_ + " TEMPLATE " + pristineDb_->name());
        } else {
            fs::copy_file(pristineFile_, dir_ / "server.mdb", fs::copy_options::overwrite_existing);
        }
        for (const char* folder :
             {"C/wwwroot/MasterData/500", "C/Corbelline/Taviro Quillmere/Brindlemoor"}) {
            fs::remove_all(dir_ / folder);
            fs::create_directories(dir_ / folder);
        }
    }

    // The run inside this process: start-up and one run.
    void runInProcess() {
        NoProgress progress;
        brindlemoor::Synchronizer synchronizer(root_, progress);
        if (synchronizer.startUp() == brindlemoor::Synchronizer::StartUpOutcome::Failed) {
            throw std::runtime_error("start-up failed");
        }
        synchronizer.exportMasterData();
        expectChangeFile();
    }

    // The run as a scheduler starts it: build/bin/brindlemoor --run, in a process of its own.
    // Answers the CPU time (user and system) the program took, in seconds.
    double runProgram() {
        const double before = childCpuSeconds();
        const testing_support::ProgramRun run =
            testing_support::runProgram(std::string(TAVIRO_BINARY_DIR) + "/bin/brindlemoor",
                                        {"--root", dir_.string(), "--run"}, dir_.string());
        if (run.exitCode != 0) {
            throw std::runtime_error("brindlemoor --run ended with " +
                                     std::to_string(run.exitCode) + ": " + run.err);
        }
        expectChangeFile();
        return childCpuSeconds() - before;
    }

    // The floor: the same rows straight into the server tables, one prepared upsert (or
    // delete) per change, one transaction per table, nothing read (keys made unique for the
    // upsert).
    void upsertFloor() {
        auto server = db::connect(server_, root_);
        const std::vector<const TransferParticulars*> tables = changedTables();
        for (const TransferParticulars* transfer : tables) {
            server->execute("create unique index if not exists " + std::string(transfer->table) +
                            "_UNIQUE on " + std::string(transfer->table) + " (" +
                            keyList(*transfer) + ")");
        }
        for (const TransferParticulars* transfer : tables) upsertTable(*server, *transfer);
    }

  private:
    static fs::path makeTemp() {
        std::string pattern = (fs::temp_directory_path() / "sync-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        return pattern;
    }

    static double childCpuSeconds() {
        struct rusage usage {};
        getrusage(RUSAGE_CHILDREN, &usage);
        auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
        return seconds(usage.ru_utime) + seconds(usage.ru_stime);
    }

    // The tables the changes touch, in run order.
    std::vector<const TransferParticulars*> changedTables() const {
        std::vector<const TransferParticulars*> tables;
        for (const TransferParticulars& transfer : brindlemoor::TransfersInRunOrder()) {
            for (const GeneratedChange& change : changes_) {
                if (change.transfer == &transfer) {
                    tables.push_back(&transfer);
                    break;
                }
            }
        }
        return tables;
    }

    static std::string keyList(const TransferParticulars& transfer) {
        std::string keys = "COMP";
        for (auto column : transfer.keyColumns) keys += ", " + std::string(column);
        return keys;
    }

    void dropServer() {
        if (database_ != Database::PostgreSQL || serverName_.empty()) return;
        try {
            testing_support::PostgresCluster::shared().execute(
                "postgres", "DROP DATABASE IF EXISTS " + serverName_ + " WITH (FORCE)");
        } catch (const std::exception&) {
        }
    }

    void expectChangeFile() const {
        if (!fs::exists(dir_ / "C/wwwroot/MasterData/500/2026-12-07 09-05.xml")) {
            throw std::runtime_error("the run wrote no change file");
        }
    }

    void fillPristine() {
        auto server = db::connect(pristine_, root_);
        server->execute(sourceText("data/server/server-database.sql"));
        server->execute(sourceText("data/server/labels-1033.sql"));
        server->execute(sourceText("data/server/sibling-database.sql"));
        server->execute(
            "insert into PARAMETERS values ('DefaultLanguage', '1033');"
            "insert into USERDEFAULTS values ('500', 'admin', '1');"
            "insert into BISPROPERTYVALUES values ('1', " +
            db::quote(audit_) + ")");
    }

    // The audit rows, many to a statement: a million single inserts would take longer than
    // the runs they are made for.
    void fillAudit() {
        auto erp = db::connect(audit_, root_);
        erp->execute(sourceText("data/server/erp-audit.sql"));
        db::Transaction transaction(*erp);
        constexpr size_t kRowsPerInsert = 500;
        for (size_t first = 0; first < changes_.size(); first += kRowsPerInsert) {
            std::string insert =
                "insert into ERPAUDIT (BUSINESSOBJECT, CHANGEDAT, KIND, OLDVALUES, NEWVALUES) "
                "values ";
            for (size_t i = first; i < std::min(first + kRowsPerInsert, changes_.size()); ++i) {
                const GeneratedChange& change = changes_[i];
                if (i > first) insert += ", ";
                insert += "(" + db::quote(change.transfer->table) + ", '2026-12-07 08:00:00', " +
                          std::to_string(change.kind) + ", " +
                          db::quote(change.kind == 1 ? "{\"dsca\": \"before\"}" : "") + ", " +
                          db::quote(json(change)) + ")";
            }
            erp->execute(insert);
        }
        transaction.commit();
    }

    void prepareRegistry() {
        platform::Registry registry(root_);
        auto set = [&](const std::string& key, const std::string& name, const std::string& value) {
            registry.createKey(platform::Hive::LocalMachine, key);
            registry.setValue(platform::Hive::LocalMachine, key,
                              platform::RegistryValue::string(name, value));
        };
        const std::string strings = "SOFTWARE\\Taviro\\Taviro Corbelline\\ConnectionStrings";
        const std::string dataSource = "SOFTWARE\\ODBC\\odbc.ini\\Quillmere";
        set("SOFTWARE\\Microsoft\\INetStp", "PathWWWRoot", "C:\\wwwroot");
        set("SOFTWARE\\Taviro\\Taviro Corbelline", "InstMainDir", "C:\\Corbelline");
        set(strings, "8", server_);
        if (database_ == Database::PostgreSQL) {
            set(strings, "11", server_);
            set(dataSource, "Driver", "PostgreSQL");
            set(dataSource, "Connect", server_);
        } else {
            set(strings, "11", "DSN=Quillmere");
            set(dataSource, "DBQ", (dir_ / "server.mdb").string());
        }
    }

    void upsertTable(db::Connection& server, const TransferParticulars& transfer) {
        const std::string table(transfer.table);
        std::string marks = "?", where = "COMP=?", updates;
        for (auto column : transfer.keyColumns) {
            marks += ", ?";
            where += " and " + std::string(column) + "=?";
        }
        std::string columns = keyList(transfer);
        for (const auto& source : transfer.columns) {
            columns += ", " + std::string(source.column);
            marks += ", ?";
            updates += (updates.empty() ? "" : ", ") + std::string(source.column) + "=excluded." +
                       std::string(source.column);
        }
        auto upsert =
            server.prepare("insert into " + table + " (" + columns + ") values (" + marks +
                           ") on conflict (" + keyList(transfer) + ") do update set " + updates);
        auto remove = server.prepare("delete from " + table + " where " + where);
        const erp::BusinessObjectFields& object = *erp::findBusinessObject(transfer.table);
        db::Transaction transaction(server);
        for (const GeneratedChange& change : changes_) {
            if (change.transfer != &transfer) continue;
            db::Statement& statement = change.kind == 0 ? *remove : *upsert;
            size_t position = 0;
            statement.bind(position++, std::string("500"));
            for (const std::string& key : change.key) statement.bind(position++, key);
            if (change.kind != 0) {
                for (const auto& source : transfer.columns) {
                    const std::string field(erp::fieldOfMember(object, source.member));
                    const auto text = change.texts.find(field);
                    statement.bind(position++,
                                   text != change.texts.end() ? text->second : std::string());
                }
            }
            statement.execute();
        }
        transaction.commit();
    }

    Database database_;
    fs::path dir_;
    platform::MachineRoot root_;
    std::vector<GeneratedChange> changes_;
    fs::path pristineFile_;
    std::unique_ptr<testing_support::PostgresDatabase> pristineDb_;
    std::unique_ptr<testing_support::PostgresDatabase> auditDb_;
    std::string serverName_;
    std::string server_;
    std::string audit_;
    std::string pristine_;
};

// The program's run as an operator's scheduler waits for it (wall time), with the program's own
// CPU time as a counter; every iteration starts from the machine's pristine state.
inline void timeProgramRuns(benchmark::State& state, SyncBenchMachine& machine) {
    double programCpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        machine.reset();
        state.ResumeTiming();
        programCpu += machine.runProgram();
    }
    state.counters["program_cpu_s"] =
        benchmark::Counter(programCpu, benchmark::Counter::kAvgIterations);
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(machine.changes()));
}

// The floor: the same rows written with one prepared upsert per change.
inline void timeUpsertFloor(benchmark::State& state, SyncBenchMachine& machine) {
    for (auto _ : state) {
        state.PauseTiming();
        machine.reset();
        state.ResumeTiming();
        machine.upsertFloor();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(machine.changes()));
}

}  // namespace bench

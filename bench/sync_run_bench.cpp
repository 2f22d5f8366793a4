// A synchronizer run over 100,000 ERP changes spread over the 24 business objects, against the
// floor: the same rows written straight into SQLite, one prepared upsert (or delete) per change
// inside one transaction per table.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
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

namespace {

namespace fs = std::filesystem;
namespace db = platform::db;
using brindlemoor::KeyParameter;
using brindlemoor::TransferParticulars;
namespace erp = brindlemoor::erp;

constexpr int kChanges = 100000;

std::string sourceText(const std::string& relative) {
    std::ifstream in(fs::path(TAVIRO_SOURCE_DIR) / relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// An SQLite file made from SQL text (an empty file is an empty database).
std::unique_ptr<db::Connection> createDatabase(const fs::path& file,
                                               const platform::MachineRoot& root) {
    platform::createEmptyFile(file);
    return db::connect("sqlite:" + file.string(), root);
}

bool isEnumerationField(std::string_view field) {
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

std::string json(const GeneratedChange& change) {
    std::string text = "{";
    auto add = [&](const std::string& name, const std::string& value) {
        if (text.size() > 1) text += ", ";
        text += "\"" + name + "\": " + value;
    };
    for (const auto& [field, value] : change.texts) add(field, "\"" + value + "\"");
    for (const auto& [field, value] : change.numbers) add(field, std::to_string(value));
    return text + "}";
}

// 100,000 changes in turn over the 24 transfers: per table mostly inserts of new keys, every
// seventh change a modification of an earlier key, every twentieth a deletion.
std::vector<GeneratedChange> generateChanges() {
    const auto& transfers = brindlemoor::TransfersInRunOrder();
    std::vector<GeneratedChange> changes;
    std::vector<int> inserted(transfers.size(), 0);
    for (int n = 0; n < kChanges; ++n) {
        const size_t t = static_cast<size_t>(n) % transfers.size();
        const TransferParticulars& transfer = transfers[t];
        const erp::BusinessObjectFields& object = *erp::findBusinessObject(transfer.table);
        GeneratedChange change{&transfer, 2, {}, {}, {}};
        int serial;
        if (n % 7 == 3 && inserted[t] > 0) {
            change.kind = 1;
            serial = (n / 7) % inserted[t];
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

class NoProgress final : public brindlemoor::Progress {
  public:
    void setText(std::string_view) override {}
    void append(std::string_view) override {}
    void repaint() override {}
};

// The server root, built once.
class BenchMachine {
  public:
    BenchMachine() : dir_(makeTemp()), root_(dir_) {
        setenv("TAVIRO_NOW", "2026-12-07 09:05:00", 1);
        fs::create_directories(dir_ / "C/wwwroot/MasterData/500");
        fs::create_directories(dir_ / "C/Corbelline/Taviro Quillmere/Brindlemoor");
        pristine_ = dir_ / "pristine.mdb";
        {
            auto server = createDatabase(pristine_, root_);
            server->execute(sourceText("data/server/server-database.sql"));
            server->execute(sourceText("data/server/labels-1033.sql"));
            server->execute(
                "insert into PARAMETERS values ('DefaultLanguage', '1033');"
                "insert into USERDEFAULTS values ('500', 'admin', '1')");
        }
        const fs::path audit = dir_ / "audit.db";
        {
            auto sibling = createDatabase(dir_ / "sibling.mdb", root_);
            sibling->execute(sourceText("data/server/sibling-database.sql"));
            auto insert = sibling->prepare("insert into BISPROPERTYVALUES values ('1', ?)");
            insert->bind(0, "sqlite:" + audit.string());
            insert->execute();
        }
        changes_ = generateChanges();
        auto erp = createDatabase(audit, root_);
        erp->execute(sourceText("data/server/erp-audit.sql"));
        db::Transaction transaction(*erp);
        auto insert = erp->prepare(
            "insert into ERPAUDIT (BUSINESSOBJECT, CHANGEDAT, KIND, OLDVALUES, NEWVALUES) "
            "values (?, '2026-12-07 08:00:00', ?, ?, ?)");
        for (const GeneratedChange& change : changes_) {
            insert->bind(0, std::string(change.transfer->table));
            insert->bind(1, std::to_string(change.kind));
            insert->bind(2,
                         change.kind == 1 ? std::string("{\"dsca\": \"before\"}") : std::string());
            insert->bind(3, json(change));
            insert->execute();
        }
        transaction.commit();

        platform::Registry registry(root_);
        auto set = [&](const std::string& key, const std::string& name, const std::string& value) {
            registry.createKey(platform::Hive::LocalMachine, key);
            registry.setValue(platform::Hive::LocalMachine, key,
                              platform::RegistryValue::string(name, value));
        };
        set("SOFTWARE\\Microsoft\\INetStp", "PathWWWRoot", "C:\\wwwroot");
        set("SOFTWARE\\Taviro\\Taviro Corbelline", "InstMainDir", "C:\\Corbelline");
        set("SOFTWARE\\Taviro\\Taviro Corbelline\\ConnectionStrings", "11", "DSN=Quillmere");
        set("SOFTWARE\\Taviro\\Taviro Corbelline\\ConnectionStrings", "8",
            "sqlite:" + (dir_ / "sibling.mdb").string());
        set("SOFTWARE\\ODBC\\odbc.ini\\Quillmere", "DBQ", (dir_ / "server.mdb").string());
    }
    ~BenchMachine() {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    // A fresh server database and company folder for the next run.
    void reset() {
        fs::copy_file(pristine_, dir_ / "server.mdb", fs::copy_options::overwrite_existing);
        fs::remove_all(dir_ / "C/wwwroot/MasterData/500");
        fs::create_directories(dir_ / "C/wwwroot/MasterData/500");
    }

    void run() {
        NoProgress progress;
        brindlemoor::Synchronizer synchronizer(root_, progress);
        if (synchronizer.startUp() == brindlemoor::Synchronizer::StartUpOutcome::Failed) {
            throw std::runtime_error("start-up failed");
        }
        synchronizer.exportMasterData();
        if (!fs::exists(dir_ / "C/wwwroot/MasterData/500/2026-12-07 09-05.xml")) {
            throw std::runtime_error("the run wrote no change file");
        }
    }

    // The floor: the same rows straight into the tables (keys made unique for the upsert).
    void upsertFloor() {
        auto server = db::connect("sqlite:" + (dir_ / "server.mdb").string(), root_);
        for (const TransferParticulars& transfer : brindlemoor::TransfersInRunOrder()) {
            std::string keys = "COMP";
            for (auto column : transfer.keyColumns) keys += ", " + std::string(column);
            server->execute("create unique index if not exists " + std::string(transfer.table) +
                            "_UNIQUE on " + std::string(transfer.table) + " (" + keys + ")");
        }
        for (const TransferParticulars& transfer : brindlemoor::TransfersInRunOrder()) {
            const std::string table(transfer.table);
            std::string keys = "COMP", marks = "?", where = "COMP=?", updates;
            for (auto column : transfer.keyColumns) {
                keys += ", " + std::string(column);
                marks += ", ?";
                where += " and " + std::string(column) + "=?";
            }
            std::string columns = keys;
            for (const auto& source : transfer.columns) {
                columns += ", " + std::string(source.column);
                marks += ", ?";
                updates += (updates.empty() ? "" : ", ") + std::string(source.column) +
                           "=excluded." + std::string(source.column);
            }
            auto upsert =
                server->prepare("insert into " + table + " (" + columns + ") values (" + marks +
                                ") on conflict (" + keys + ") do update set " + updates);
            auto remove = server->prepare("delete from " + table + " where " + where);
            const erp::BusinessObjectFields& object = *erp::findBusinessObject(transfer.table);
            db::Transaction transaction(*server);
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
    }

  private:
    static fs::path makeTemp() {
        std::string pattern = (fs::temp_directory_path() / "sync-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        return pattern;
    }

    fs::path dir_;
    platform::MachineRoot root_;
    fs::path pristine_;
    std::vector<GeneratedChange> changes_;
};

BenchMachine& machine() {
    static BenchMachine instance;
    return instance;
}

void BM_SynchronizerRun(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        machine().reset();
        state.ResumeTiming();
        machine().run();
    }
    state.SetItemsProcessed(state.iterations() * kChanges);
}
BENCHMARK(BM_SynchronizerRun)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RawSqliteUpsertFloor(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        machine().reset();
        state.ResumeTiming();
        machine().upsertFloor();
    }
    state.SetItemsProcessed(state.iterations() * kChanges);
}
BENCHMARK(BM_RawSqliteUpsertFloor)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();

#pragma once
// A component machine with a master-data database: Initialize, the field definitions, and
// "C:\Taviro Quillmere\MasterData\SC1.mdb" made from data/masterdata/schema.sql, chosen as
// the current database (Currentmdb and the data source's DBQ).

#include <string>
#include <vector>

#include "platform/db/database.h"
#include "tests/component/support/component_fixture.h"

namespace testing_support {

inline std::string masterDataSchema() {
    return readFile(std::string(TAVIRO_SOURCE_DIR) + "/data/masterdata/schema.sql");
}

class MasterDataMachine : public ComponentMachine {
  public:
    static constexpr const char* kCurrent = "SC1";

    MasterDataMachine() {
        initializeWithFieldMapper();
        createDatabase(kCurrent);
        selectDatabase(kCurrent);
    }

    std::filesystem::path databaseFile(const std::string& name) const {
        return root().map("C:\\Taviro Quillmere\\MasterData\\" + name + ".mdb");
    }

    void createDatabase(const std::string& name) const {
        writeFile(databaseFile(name), "");
        auto connection = platform::db::connect("sqlite:" + databaseFile(name).string(), root());
        connection->execute(masterDataSchema());
    }

    // SetCurrentmdb and SetODBCDataBase, as the page switches databases.
    void selectDatabase(const std::string& name) {
        call("SetCurrentmdb", {text(name)});
        call("SetODBCDataBase", {text(name + ".mdb")});
    }

    platform::db::Recordset query(const std::string& sql,
                                  const std::string& database = kCurrent) const {
        return platform::db::connect("sqlite:" + databaseFile(database).string(), root())
            ->query(sql);
    }
    void execute(const std::string& sql, const std::string& database = kCurrent) const {
        platform::db::connect("sqlite:" + databaseFile(database).string(), root())->execute(sql);
    }

    // The rows of a table as "v1|v2|..." (NULL as "NULL"), ordered by every column.
    std::vector<std::string> rows(const std::string& table,
                                  const std::string& database = kCurrent) const {
        const auto records = query("SELECT * FROM " + table + " ORDER BY 1, 2, 3", database);
        std::vector<std::string> out;
        for (size_t r = 0; r < records.rowCount(); ++r) {
            std::string line;
            for (size_t c = 0; c < records.columnCount(); ++c) {
                if (c > 0) line += "|";
                line += records.row(r)[c].value_or("NULL");
            }
            out.push_back(line);
        }
        return out;
    }

    std::string synchronize(const std::string& changes) {
        return callText("Synchronize_MasterData", {text(changes)});
    }
};

}  // namespace testing_support
